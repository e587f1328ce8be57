// Jump To Media: the search (tags or columns, modes, operators, exclusions) and the dialog
// (stored options, Select's actions).
#include "JumpFixture.h"

#include "mainwindow/FrmMenus.h"
#include "playlisttools/FrmQueue.h"

#include <algorithm>

using veltra::MsgIcon;

namespace {
class JumpSearchTest : public JumpTest {
protected:
    void SetUp() override
    {
        JumpTest::SetUp();
        addRow("col", "col", "", tagged("Music/abba.mp3", {.artist = "ABBA", .title = "Waterloo", .album = "Arrival", .year = "1976", .genre = "Pop"},
                                        {.artist = "Abba Two", .title = "Waterloo", .album = "Arrival", .year = "1977", .genre = "Rock"}));
        addRow("ABBA ", "Live", "2001", home("Music/film.wav"));
        addRow("", "", "", tagged("Music/who.mp3", {.artist = "The Who", .title = "Live at Leeds", .album = "Leeds", .year = "1970", .genre = "Rock"}));
        addRow("Gone", "Song", "", home("Other/gone.mp3"));   // deleted: no file
        addRow("Demo", "Tape", "", home("Other/demo.ogg"));
    }
};
} // namespace

TEST_F(JumpSearchTest, FindsByTagsOrColumnsWithModesOperatorsAndExclusions)
{
    enum { Whole = 0, Starts = 1, Ends = 2, Contains = 3 };
    enum { All = 0, Artist = 1, Title = 2, Year = 4, Genre = 5, Filename = 6 };
    struct Case {
        QString text;
        int mode, field;
        bool notEqual, id3v2;
        QString exclude;   // empty: exclusion off
        QStringList found;
    };
    const QString music = home("Music") + "/";
    const Case cases[] = {
        {"abba", Whole, Artist, false, false, "", {"ABBA/Waterloo"}},   // "ABBA " of the .wav row is no hit
        {music, Starts, Filename, false, false, "", {"ABBA/Waterloo", "ABBA /Live", "The Who/Live at Leeds"}},
        {"live", Contains, Title, false, false, "Live, Demo", {"The Who/Live at Leeds"}},
        {"live", Contains, All, false, false, "Live,", {"The Who/Live at Leeds"}},   // empty term: rows with an empty field go
        {"pop", Whole, Genre, false, true, "", {"Abba Two/Waterloo"}},                // genre still from ID3v1
        {"1977", Whole, Year, false, true, "", {"Abba Two/Waterloo"}},
        {"1977", Whole, Year, false, false, "", {}},
        {"zzz", Whole, Artist, true, false, "", {"ABBA/Waterloo", "ABBA /Live", "The Who/Live at Leeds", "/", "Demo/Tape"}},
        {"much longer than any field", Ends, Title, false, false, "", {}},
        {"live", Whole, All, false, false, "2001", {}},
        {"live", Whole, Title, false, false, "2001", {"ABBA /Live"}},
        {" ", Contains, All, false, false, "", {"ABBA /Live", "The Who/Live at Leeds"}},   // blanks are searched as typed
    };
    FrmJump& d = dialog();
    for (const Case& c : cases) {
        SCOPED_TRACE((c.text + " " + QString::number(c.mode) + " " + QString::number(c.field)).toStdString());
        d.chkSearchID3v2->setChecked(c.id3v2);
        d.chkNotToInclude->setChecked(!c.exclude.isEmpty());
        d.txtNotInclude->setText(c.exclude);
        search(c.text, c.mode, c.field, c.notEqual);
        EXPECT_TRUE(ui.messages().isEmpty());
        EXPECT_EQ(hits(), c.found);
        const bool any = !c.found.isEmpty();
        EXPECT_EQ(d.lblSearchResults->text(), any ? "Search Results:  " + QString::number(c.found.size()) : QString("Search Results:  None"));
        EXPECT_EQ(d.cmdSelect->isEnabled(), any);
        EXPECT_EQ(d.opFurther->at(0)->isEnabled(), any);
        if (any) {
            EXPECT_EQ(d.lstvItems->items().text(1), "01");
        }
        // the chosen mode and field are selected again, every input back
        EXPECT_EQ(d.opSearchMode->selected(), c.mode);
        EXPECT_EQ(d.opOptions->selected(), c.field);
        EXPECT_TRUE(d.cmbSearch->isEnabled() && d.cmdFind->isEnabled() && d.cmdClose->isEnabled());
    }
}

TEST_F(JumpSearchTest, EmptyInputsStopWithOneMessageAndLeaveTheResults)
{
    FrmJump& d = dialog();
    search("abba", 0, 1);
    ASSERT_EQ(hits().size(), 1);
    search("", 0, 1);   // the dialog is hidden: message A alone
    d.chkNotToInclude->setChecked(true);
    search("abba", 0, 1);
    ASSERT_EQ(ui.messages().size(), 2);
    EXPECT_EQ(ui.messages()[0].title, "Search For Song Error");
    EXPECT_EQ(ui.messages()[0].text, "It has been detected that you have not entered anything into the search criteria section.\r\n\r\n"
                                     "Please enter a search criteria before continuing with this function.\r\n");
    EXPECT_EQ(ui.messages()[1].text, "You have not entered any data into the 'Not To Include' text field.\r\n\r\n"
                                     "Please enter some criteria before continuing with this function.\r\n");
    EXPECT_EQ(ui.messages()[1].icon, int(MsgIcon::Exclamation));
    EXPECT_EQ(hits().size(), 1);
    EXPECT_EQ(d.lblSearchResults->text(), "Search Results:  1");
    // unticking empties the exclusion box and greys it
    d.txtNotInclude->setText("x");
    d.chkNotToInclude->setChecked(false);
    EXPECT_TRUE(d.txtNotInclude->text().isEmpty());
    EXPECT_FALSE(d.txtNotInclude->isEnabled());
}

TEST_F(JumpTest, FirstUseShowsTheDesignChoices)
{
    FrmJump& d = dialog();
    EXPECT_EQ(QList<int>({d.opSearchMode->selected(), d.opOptions->selected(), d.opFurther->selected()}), QList<int>({0, 0, 0}));
    EXPECT_FALSE(d.opFurther->at(0)->isEnabled() || d.opFurther->at(3)->isEnabled() || d.cmdSelect->isEnabled());
    EXPECT_EQ(d.cmbOp->currentText(), "=");
    QStringList genres;
    for (int i = 0; i < d.cmbSearch->count(); ++i) genres << d.cmbSearch->itemText(i);
    EXPECT_EQ(genres.size(), 148);
    EXPECT_TRUE(std::is_sorted(genres.begin(), genres.end(), [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; }));
    EXPECT_TRUE(d.cmbSearch->currentText().isEmpty());
}

TEST_F(JumpTest, SelectActsOnTheChosenRowAndStoresTheOptions)
{
    addRow("Same", "Song", "", other("one.wav"));
    addRow("same", "SONG", "", other("two.wav"));
    addRow("Other", "Song", "", other("three.wav"));
    playRow(3);
    main->mnuPause_Click();   // a paused song waits to be resumed
    tick();

    FrmJump& d = dialog();
    d.opFurther->select(1);          // select and play
    search("same", 3, 1);            // Contains, Artist
    ASSERT_EQ(hits(), QStringList({"Same/Song", "same/SONG"}));
    d.lstvItems->items().selectOnly(2);
    d.cmdSelect_Click();
    EXPECT_FALSE(forms().isLoaded<FrmJump>());
    EXPECT_EQ(list().selectedRows(), QList<int>{2});   // the chosen one of two equal rows
    EXPECT_FALSE(main->ResumePending);
    EXPECT_EQ(player->FileName(), file(2));
    EXPECT_TRUE(playing());
    QStringList stored;
    for (const char* key : {"OptionSelectSong", "OptionSelectSongAndPlayIt", "OptionSelectSongAndSetItToNext", "OptionDoNothing",
                            "ModeWholeWord", "ModeStartsWith", "ModeEndsWith", "ModeContains", "SearchByAll", "SearchByArtist",
                            "SearchByTitle", "SearchByAlbum", "SearchByYear", "SearchByGenre", "SearchByFilename"})
        stored << jumpKey(key);
    EXPECT_EQ(stored.join(','), "0,-1,0,0,0,0,0,-1,0,-1,0,0,0,0,0");

    // Close stores nothing; the next opening shows the options of the last Select.
    processEvents();
    FrmJump& again = dialog();
    EXPECT_EQ(again.opSearchMode->selected(), 3);
    EXPECT_EQ(again.opOptions->selected(), 1);
    EXPECT_EQ(again.opFurther->selected(), 1);
    again.opSearchMode->at(0)->click();
    again.cmdClose_Click();
    processEvents();
    EXPECT_EQ(jumpKey("ModeContains"), "-1");
    EXPECT_EQ(dialog().currentMode(), 3);
}

TEST_F(JumpTest, StoredChoicesAreReadBack)
{
    addRow("A", "T", "", home("a.wav"));
    tick();   // stopped: Play Next disabled
    settings_WriteValue("JumpToMedia", "ModeWholeWord", "-1");
    settings_WriteValue("JumpToMedia", "ModeContains", "-1");
    settings_WriteValue("JumpToMedia", "SearchByAll", "0");
    settings_WriteValue("JumpToMedia", "OptionSelectSong", "0");
    settings_WriteValue("JumpToMedia", "OptionSelectSongAndSetItToNext", "-1");
    FrmJump& d = dialog();   // stopped: Play Next is disabled
    EXPECT_EQ(d.opSearchMode->selected(), 3);
    EXPECT_EQ(d.currentMode(), 3);
    EXPECT_EQ(d.opOptions->selected(), -1);   // no field stored as chosen
    EXPECT_EQ(d.opFurther->selected(), 0);
    search("a", 0, 0);
    EXPECT_EQ(hits().size(), 1);
    EXPECT_FALSE(d.opFurther->at(2)->isEnabled());
    EXPECT_TRUE(d.opFurther->at(1)->isEnabled());
    // Select without a chosen hit: message D, nothing else
    d.cmdSelect_Click();
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.messages()[0].title, "Jumping To Song Error");
    EXPECT_TRUE(forms().isLoaded<FrmJump>());
}

TEST_F(JumpTest, PlayNextOptionMarksTheRowWhenAvailable)
{
    for (const char* name : {"a.wav", "b.wav", "c.wav"}) addRow("X", QString::fromLatin1(name), "", other(QString::fromLatin1(name)));
    playRow(1);
    FrmJump& d = dialog();
    search("c.wav", 0, 2);
    EXPECT_TRUE(d.opFurther->at(2)->isEnabled());
    d.opFurther->at(2)->click();
    d.lstvItems->items().selectOnly(1);
    d.cmdSelect_Click();
    EXPECT_EQ(main->PlayNextIndex, 3);
    EXPECT_EQ(main->CurrentTrack, 1);
    EXPECT_EQ(forms().get<FrmMenus>().mnuPlayNext->text(), "Play Ne&xt (In Use)...\tX");
}

// Rows beyond any 16-bit count are searched, selected and queued.
TEST_F(JumpTest, DialogsWorkOnAHundredThousandRows)
{
    std::vector<QStringList> rows;
    rows.reserve(100000);
    for (int i = 1; i <= 100000; ++i)
        rows.push_back({QString(), "A" + QString::number(i), "T", "", "Play", "", "/m/" + QString::number(i) + ".ogg"});
    list().addRows(rows);
    search("a99999", 0, 1);
    ASSERT_EQ(hits(), QStringList{"A99999/T"});
    dialog().lstvItems->items().selectOnly(1);
    dialog().cmdSelect_Click();
    EXPECT_EQ(list().selectedRows(), QList<int>{99999});

    FrmQueue& q = forms().fresh<FrmQueue>();
    EXPECT_EQ(q.cmbSearch->count(), 100000);
    q.cmbSearch->setEditText("a99999");
    q.cmbOption->setCurrentIndex(2);
    q.cmdUpdate_Click();
    EXPECT_EQ(status(99999), "Skip");
    EXPECT_EQ(status(99998), "Play");
}
