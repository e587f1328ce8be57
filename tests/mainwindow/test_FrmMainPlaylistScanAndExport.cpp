// The dead and duplicate scan, the playlist files of the Playlists folder in the main window,
// the HTML and TEXT exports, row colours, and the playing row and Play Next mark following
// their rows.
#include "mainwindow/PlaylistTestSupport.h"

#include "common/MenuArray.h"
#include "common/PlaylistRow.h"
#include "common/modControls.h"
#include "common/modListFiles.h"
#include "common/modSettings.h"
#include "mainwindow/FrmMenus.h"
#include "platform/MediaPlayerControl.h"

#include <QAction>
#include <QComboBox>
#include <QFile>

namespace {

// ---- dead and duplicate entries -----------------------------------------------------------

class ScanTest : public PlaylistTest {
protected:
    void SetUp() override
    {
        PlaylistTest::SetUp();
        settings_WriteValue("Settings", "AlwaysScanPlaylistWhenAddingSongs", "1");
    }
    QString boxText(int n)
    {
        return QStringLiteral("It has been detected that you had %1 dead or duplicate filenames in the playlist.\r\n\r\n"
                              "These items have been removed.\r\n")
            .arg(n);
    }
};

TEST_F(ScanTest, OnlyExactRepeatsAreDuplicatesAndTheLastOneStays)
{
    const QString lower = song("Music/a.mp3");
    const QString upper = song("Music/A.MP3");   // another file on this system
    addRows({lower, upper, lower});
    rows().setSubItem(3, PlaylistColumn::Artist, "the last");
    main().playlist_CheckEntries();
    EXPECT_EQ(column(6), QStringList({upper, lower}));
    EXPECT_EQ(rows().subItem(2, PlaylistColumn::Artist), "the last");
    ASSERT_EQ(ui.messages().size(), 1);
    const auto box = ui.messages().first();
    EXPECT_EQ(box.title, "Playlist Scan Information");
    EXPECT_EQ(box.text, boxText(1));
    EXPECT_EQ(box.icon, int(veltra::MsgIcon::Information));
    EXPECT_EQ(box.buttons, int(veltra::MsgButtons::OK));
    EXPECT_TRUE(log().endsWith("Dead/Duplicate filenames removed:  1.\r\n"));
    // the rows are left for the caller to renumber
    EXPECT_EQ(column(0), QStringList({"", ""}));
}

TEST_F(ScanTest, DeadRowsAndRepeatsGoTogether)
{
    const QString x = song("Music/x.mp3"), y = song("Music/y.mp3"), z = song("Music/z.mp3");
    addRows({x, y, home("Music/dead.mp3"), x, z, x});
    main().playlist_CheckEntries();
    EXPECT_EQ(column(6), QStringList({y, z, x}));
    EXPECT_EQ(ui.messages().value(0).text, boxText(3));
}

TEST_F(ScanTest, OneMissingFileIsRemoved)
{
    const QString x = song("Music/x.mp3");
    addRows({x, home("Music/missing.mp3")});
    main().playlist_CheckEntries();
    EXPECT_EQ(column(6), QStringList({x}));
    EXPECT_EQ(ui.messages().value(0).text, boxText(1));
}

TEST_F(ScanTest, AllDeadListEndsEmpty)
{
    for (int i = 0; i < 40; ++i) addRows({home(QStringLiteral("Music/gone%1.mp3").arg(i))});
    main().playlist_CheckEntries();
    EXPECT_EQ(rows().count(), 0);
    EXPECT_EQ(ui.messages().value(0).text, boxText(40));
}

TEST_F(ScanTest, SettingOffOrEmptyListDoesNothing)
{
    main().playlist_CheckEntries();   // empty
    settings_WriteValue("Settings", "AlwaysScanPlaylistWhenAddingSongs", "0");
    addRows({home("Music/gone.mp3"), home("Music/gone.mp3")});
    main().playlist_CheckEntries();
    EXPECT_EQ(rows().count(), 2);
    // any number other than zero switches the scan on
    settings_WriteValue("Settings", "AlwaysScanPlaylistWhenAddingSongs", "2");
    main().playlist_CheckEntries();
    EXPECT_EQ(rows().count(), 0);
    EXPECT_EQ(ui.count("msgBox"), 1);
}

TEST_F(ScanTest, CleanListShowsNoBox)
{
    addRows({song("Music/x.mp3"), song("Music/y.mp3")});
    main().playlist_CheckEntries();
    EXPECT_EQ(rows().count(), 2);
    EXPECT_EQ(ui.count("msgBox"), 0);
    EXPECT_FALSE(log().contains("Dead/Duplicate"));
}

// ---- playlist files -----------------------------------------------------------------------

class PlaylistFilesTest : public PlaylistTest {
protected:
    QString playlistFile(const QString& name, const QStringList& files)
    {
        ListViewModel m;
        m.setColumns(PlaylistColumn::headers());
        for (const QString& f : files) m.add({"9", "Artist of " + files_name(f), "T", "2000", "Play", "01:00", f});
        const QString path = home("Playlists/" + name);
        QDir().mkpath(home("Playlists"));
        EXPECT_TRUE(controls_SaveListView(m, path));
        return path;
    }
    static QString files_name(const QString& f) { return f.section('/', -1); }
    QStringList comboTexts()
    {
        QStringList out;
        for (int i = 0; i < main().cmbPlaylists->count(); ++i) out << main().cmbPlaylists->itemText(i);
        return out;
    }
    void install()
    {
        main().cmbPlaylists->clear();
        main().window_InstallPlaylists();
        main().PlaylistComboReady = true;
    }
    void choose(const QString& name) { main().cmbPlaylists->setCurrentIndex(main().cmbPlaylists->findText(name)); }
    MenuArray& menu() { return *forms().get<FrmMenus>().mnuItem; }
};

TEST_F(PlaylistFilesTest, ComboAndMenuListThePlaylistsButNeverTheDefaultOne)
{
    playlistFile("Default.spp", {"/m/d.mp3"});
    playlistFile("Rock.SPP", {"/m/r.mp3"});
    playlistFile("Jazz.spp", {"/m/j.mp3"});
    writeFile("Playlists/readme.txt", "x");
    install();
    EXPECT_EQ(comboTexts(), QStringList({"((Select Playlist))", "Jazz", "Rock"}));
    EXPECT_EQ(main().cmbPlaylists->currentIndex(), 0);
    EXPECT_EQ(menu().ubound(), 2);
    EXPECT_EQ(menu()[1]->text(), "Jazz");
    EXPECT_EQ(menu()[2]->text(), "Rock");
    EXPECT_TRUE(menu()[1]->isVisible());
    EXPECT_FALSE(menu()[0]->isVisible());

    // filling it again leaves no stale menu items
    QFile::remove(home("Playlists/Jazz.spp"));
    install();
    EXPECT_EQ(comboTexts(), QStringList({"((Select Playlist))", "Rock"}));
    EXPECT_EQ(menu().ubound(), 1);
    EXPECT_EQ(menu()[1]->text(), "Rock");
}

TEST_F(PlaylistFilesTest, NoPlaylistsLeaveOneEntryAndADisabledNoneItem)
{
    install();   // no Playlists folder
    EXPECT_EQ(comboTexts(), QStringList({"((Select Playlist))"}));
    EXPECT_EQ(menu().ubound(), 0);
    EXPECT_TRUE(menu()[0]->isVisible());
    EXPECT_FALSE(menu()[0]->isEnabled());
    EXPECT_EQ(menu()[0]->text(), "[None]");

    playlistFile("DEFAULT.spp", {"/m/d.mp3"});
    install();
    EXPECT_EQ(comboTexts(), QStringList({"((Select Playlist))"}));
}

TEST_F(PlaylistFilesTest, ChoosingAnEntryReplacesTheRowsAndLogsTheFile)
{
    const QString rock = playlistFile("Rock.SPP", {"/m/r1.mp3", "/m/r2.mp3", "/m/r3.mp3"});
    install();
    addRows({"/m/old.mp3"});
    main().PlayNextIndex = 1;
    main().mnuPlayNext->setText("Play Ne&xt (In Use)...\tX");
    main().RandomHistory = QStringList({"", "/m/old.mp3"});
    main().RandomHistoryCount = 1;
    main().mnuMoodOpen->load(1)->setChecked(true);
    main().mnuMoodOpen->at(0)->setChecked(true);

    choose("Rock");
    EXPECT_EQ(column(6), QStringList({"/m/r1.mp3", "/m/r2.mp3", "/m/r3.mp3"}));
    EXPECT_EQ(column(0), QStringList({"01", "02", "03"}));
    EXPECT_EQ(column(1).first(), "Artist of r1.mp3");
    EXPECT_TRUE(log().contains(rock + " opened.\r\n"));
    EXPECT_EQ(rows().selectedItem(), 1);
    EXPECT_EQ(main().CurrentTrack, 1);
    EXPECT_EQ(main().PlayNextIndex, 0);
    EXPECT_EQ(main().mnuPlayNext->text(), "Play Ne&xt...\tX");
    EXPECT_EQ(forms().get<FrmMenus>().mnuPlayNext->text(), "Play Ne&xt...\tX");
    EXPECT_EQ(main().RandomHistoryCount, 0);
    EXPECT_FALSE(main().mnuMoodOpen->at(0)->isChecked());
    EXPECT_FALSE(main().mnuMoodOpen->at(1)->isChecked());
    // opening does not play
    EXPECT_NE(main().wmpPlayer().PlayState(), veltra::MediaPlayerControl::State::Playing);
    EXPECT_EQ(ui.count("msgBox"), 0);
}

TEST_F(PlaylistFilesTest, NothingOpensWhileTheBoxIsNotReadyOrNothingIsChosen)
{
    playlistFile("Rock.spp", {"/m/r1.mp3"});
    install();
    addRows({"/m/old.mp3"});
    main().PlaylistComboReady = false;
    choose("Rock");
    EXPECT_EQ(column(6), QStringList({"/m/old.mp3"}));
    main().PlaylistComboReady = true;
    choose("((Select Playlist))");
    main().cmbPlaylists_Click();
    EXPECT_EQ(column(6), QStringList({"/m/old.mp3"}));
}

TEST_F(PlaylistFilesTest, PlaylistDeletedMeanwhileWarnsAndResetsTheBox)
{
    playlistFile("Rock.spp", {"/m/r1.mp3"});
    playlistFile("Jazz.spp", {"/m/j1.mp3"});
    install();
    addRows({"/m/old.mp3"});
    QFile::remove(home("Playlists/Rock.spp"));
    choose("Rock");
    ASSERT_EQ(ui.messages().size(), 1);
    const auto box = ui.messages().first();
    EXPECT_EQ(box.title, "Playlist Filename Not Found");
    EXPECT_EQ(box.text, "It has been detected the playlist you are trying to open does not exist.\r\n\r\n"
                        "Please check the playlist file path before continuing.\r\n");
    EXPECT_EQ(box.icon, int(veltra::MsgIcon::Exclamation));
    EXPECT_EQ(main().cmbPlaylists->currentIndex(), 0);
    EXPECT_EQ(column(6), QStringList({"/m/old.mp3"}));
    // the Send To menu was rebuilt from the folder
    EXPECT_EQ(menu().ubound(), 1);
    EXPECT_EQ(menu()[1]->text(), "Jazz");
}

TEST_F(PlaylistFilesTest, SelectShowsANameWithoutOpeningIt)
{
    const QString rock = playlistFile("Rock.spp", {"/m/r1.mp3"});
    playlistFile("Jazz.spp", {"/m/j1.mp3"});
    install();
    addRows({"/m/old.mp3"});
    QString name = rock;
    main().playlist_Select(name);
    EXPECT_EQ(name, "Rock");
    EXPECT_EQ(main().cmbPlaylists->currentText(), "Rock");
    EXPECT_TRUE(main().PlaylistComboReady);
    EXPECT_EQ(column(6), QStringList({"/m/old.mp3"}));

    name = "Blues";
    main().playlist_Select(name);
    EXPECT_EQ(main().cmbPlaylists->currentIndex(), 0);
    name = "jazz";
    main().playlist_Select(name);
    EXPECT_EQ(main().cmbPlaylists->currentIndex(), 0);
    EXPECT_EQ(column(6), QStringList({"/m/old.mp3"}));
}

// ---- export ---------------------------------------------------------------------------------

class ExportThroughWindowTest : public PlaylistTest {
protected:
    void SetUp() override
    {
        PlaylistTest::SetUp();
        rows().add({"01", "Simon & Garfunkel", "The <Boxer>", "", "Play", "", "/m/a.mp3"});
        rows().add({"02", "[None]", "[None]", "", "Play", "", "/m/b.mp3"});
    }
};

TEST_F(ExportThroughWindowTest, TextReplacesTheFileWhileTheWindowIsBusy)
{
    const QString path = writeFile("out/list.txt", "an older export\r\n");
    bool ok = false;
    const auto seen = seenDuring([&] { ok = main().player_SaveTEXTPlaylist(path); });
    EXPECT_TRUE(ok);
    ASSERT_TRUE(seen);
    EXPECT_TRUE(seen->busy);
    EXPECT_TRUE(seen->hourglass);
    EXPECT_EQ(seen->status, "Creating TEXT playlist, please wait...");
    EXPECT_FALSE(main().StatusBarBusy);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(readFile(path), QByteArray("01.  Simon & Garfunkel - The <Boxer>\r\n02.  [None] - [None]\r\n"));

    // a folder that cannot be written to is reported to the caller
    EXPECT_FALSE(main().player_SaveTEXTPlaylist(home("no/such/folder/list.txt")));
    EXPECT_FALSE(main().StatusBarBusy);
}

TEST_F(ExportThroughWindowTest, HtmlUsesTheColourSettingsAndTheFileName)
{
    settings_WriteValue("HTMLPlaylist", "BackgroundColour", "black");
    settings_WriteValue("HTMLPlaylist", "FontColour", "#00FF00");
    const QString path = writeFile("out/Party & Friends.html", "old");
    bool ok = false;
    const auto seen = seenDuring([&] { ok = main().player_SaveHTMLPlaylist(path); });
    EXPECT_TRUE(ok);
    ASSERT_TRUE(seen);
    EXPECT_TRUE(seen->busy);
    EXPECT_EQ(seen->status, "Creating HTML playlist, please wait...");
    EXPECT_FALSE(main().StatusBarBusy);
    const QByteArray bytes = readFile(path);
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF<html>\r\n"));
    const QStringList lines = QString::fromUtf8(bytes.mid(3)).split("\r\n");
    EXPECT_EQ(lines.value(3), "<title>Party &amp; Friends</title>");
    EXPECT_EQ(lines.value(6), "<body bgcolor=\"black\" link=\"#00FF00\" vlink=\"#00FF00\" alink=\"#00FF00\" text=\"#00FF00\">");
    EXPECT_EQ(lines.value(10), "01.  Simon &amp; Garfunkel - The &lt;Boxer&gt;<br>");
    EXPECT_EQ(lines.value(11), "02.  [None] - [None]<br>");
    EXPECT_EQ(lines.value(15), "Songs in playlist:  2<br>");
    EXPECT_EQ(lines.size(), 23);   // 22 lines, each ended by CR LF
}

// ---- row colours ----------------------------------------------------------------------------

class RowColoursTest : public PlaylistTest {
protected:
    static constexpr quint32 WindowText = 0x80000008u;
    void SetUp() override
    {
        PlaylistTest::SetUp();
        for (int i = 1; i <= 4; ++i) rows().add({"", "A", "T", "", "Play", "", QStringLiteral("/m/%1.mp3").arg(i)});
    }
    void expectRow(int row, bool bold, quint32 colour)
    {
        for (int c = 0; c < 7; ++c) {
            EXPECT_EQ(rows().bold(row, c), bold) << "row " << row << " column " << c;
            EXPECT_EQ(rows().foreColour(row, c), colour) << "row " << row << " column " << c;
        }
    }
};

TEST_F(RowColoursTest, PlayingRowIsBoldInItsColourAndTheOldOneIsReset)
{
    main().playlist_UpdatePlaylist(1);
    expectRow(1, true, 192);
    main().playlist_UpdatePlaylist(3);
    expectRow(1, false, WindowText);
    expectRow(3, true, 192);
    expectRow(2, false, ListViewModel::NoColour);   // never bold: left alone

    main().playlist_UpdatePlaylist(0);
    expectRow(3, false, WindowText);
    for (int r = 1; r <= 4; ++r) EXPECT_FALSE(rows().bold(r));
    main().playlist_UpdatePlaylist(99);
    for (int r = 1; r <= 4; ++r) EXPECT_FALSE(rows().bold(r));
}

TEST_F(RowColoursTest, PlayNextRowKeepsItsLooks)
{
    main().playlist_UpdatePlaylist(2);                     // row 2 played before ...
    main().PlayNextIndex = 2;                              // ... and is now marked Play Next
    rows().setForeColour(2, 0xC00000);
    main().playlist_UpdatePlaylist(4);
    expectRow(2, true, 0xC00000);
    expectRow(4, true, 192);
    // a row that was only coloured by Play Next keeps its colour until it is bold once
    rows().setForeColour(1, 0xC00000);
    main().PlayNextIndex = 1;
    main().playlist_UpdatePlaylist(3);
    expectRow(1, false, 0xC00000);
}

TEST_F(RowColoursTest, ChangedColourSettingsApplyAtTheNextCall)
{
    main().playlist_UpdatePlaylist(1);
    settings_WriteValue("Appearance", "PlayingFontColour", "65280");
    settings_WriteValue("Appearance", "FontColour", "255");
    main().playlist_UpdatePlaylist(2);
    expectRow(1, false, 255);
    expectRow(2, true, 65280);
    // a system colour stored as the settings keep it (a negative number)
    settings_WriteValue("Appearance", "FontColour", "-2147483640");
    main().playlist_UpdatePlaylist(3);
    expectRow(2, false, WindowText);
}

// ---- the playing row and the Play Next mark follow their rows ---------------------------------

class FollowRowsTest : public PlaylistTest {
protected:
    void SetUp() override
    {
        PlaylistTest::SetUp();
        for (int i = 1; i <= 10; ++i) rows().add({"", QString::number(i), "", "", "Play", "", QStringLiteral("/m/%1.mp3").arg(i)});
        main().CurrentTrack = 5;
        main().PlayNextIndex = 8;
        main().mnuPlayNext->setText("Play Ne&xt (In Use)...\tX");
    }
    QString artistOf(int row) { return rows().subItem(row, PlaylistColumn::Artist); }
};

TEST_F(FollowRowsTest, InsertsAndRemovalsAroundTheRowsShiftThem)
{
    rows().insert(1, {"", "new"});
    EXPECT_EQ(artistOf(main().CurrentTrack), "5");
    EXPECT_EQ(artistOf(main().PlayNextIndex), "8");
    rows().insert(8, {"", "between"});   // after the playing row, before the Play Next row
    EXPECT_EQ(artistOf(main().CurrentTrack), "5");
    EXPECT_EQ(artistOf(main().PlayNextIndex), "8");
    main().playlist_AddSong("end", "", "", "/m/end.mp3");
    rows().removeRange(1, 3);
    EXPECT_EQ(artistOf(main().CurrentTrack), "5");
    EXPECT_EQ(artistOf(main().PlayNextIndex), "8");
    EXPECT_EQ(main().mnuPlayNext->text(), "Play Ne&xt (In Use)...\tX");
}

TEST_F(FollowRowsTest, RemovedPlayNextRowClearsTheMark)
{
    rows().remove(8);
    EXPECT_EQ(main().PlayNextIndex, 0);
    EXPECT_EQ(main().mnuPlayNext->text(), "Play Ne&xt...\tX");
    EXPECT_EQ(forms().get<FrmMenus>().mnuPlayNext->text(), "Play Ne&xt...\tX");
    EXPECT_EQ(artistOf(main().CurrentTrack), "5");
}

TEST_F(FollowRowsTest, RemovedPlayingRowLeavesTheRowBeforeItsPlace)
{
    rows().removeRange(4, 6);
    EXPECT_EQ(main().CurrentTrack, 3);
    EXPECT_EQ(artistOf(main().PlayNextIndex), "8");
    main().CurrentTrack = 1;
    rows().remove(1);
    EXPECT_EQ(main().CurrentTrack, 0);
}

TEST_F(FollowRowsTest, SortsAndMovesCarryTheRowsAlong)
{
    rows().setSortKey(1);
    rows().setSortOrder(ListViewModel::Descending);
    rows().sortNow();   // "9", "8", ... "10", "1" by text
    EXPECT_EQ(artistOf(main().CurrentTrack), "5");
    EXPECT_EQ(artistOf(main().PlayNextIndex), "8");
    rows().moveRows(QList<int>{main().CurrentTrack}, 1);
    EXPECT_EQ(main().CurrentTrack, 1);
    EXPECT_EQ(artistOf(main().PlayNextIndex), "8");
}

TEST_F(FollowRowsTest, ScanRemovingManyScatteredRowsKeepsThePlaceOfThePlayingRow)
{
    // Every odd row names a missing file; the scan removes them in one go.
    controls_ClearListView(rows());
    settings_WriteValue("Settings", "AlwaysScanPlaylistWhenAddingSongs", "1");
    const QString live = song("Music/live.mp3");
    for (int i = 1; i <= 100; ++i)
        rows().add({"", QString::number(i), "", "", "Play", "", i % 2 ? home(QStringLiteral("Music/dead%1.mp3").arg(i)) : live});
    for (int i = 1; i <= 100; ++i)
        if (i % 2 == 0) rows().setSubItem(i, PlaylistColumn::Filename, song(QStringLiteral("Music/live%1.mp3").arg(i)));
    main().CurrentTrack = 51;     // dead: the row before its place is old row 50
    main().PlayNextIndex = 61;    // dead too
    main().playlist_CheckEntries();
    ASSERT_EQ(rows().count(), 50);
    EXPECT_EQ(artistOf(main().CurrentTrack), "50");
    EXPECT_EQ(main().PlayNextIndex, 0);
    EXPECT_EQ(main().mnuPlayNext->text(), "Play Ne&xt...\tX");

    main().CurrentTrack = 30;     // old row 60, alive
    main().PlayNextIndex = 40;    // old row 80
    QList<int> gone;
    for (int r = 1; r <= 50; r += 2) gone << r;
    rows().removeRowList(gone);
    EXPECT_EQ(artistOf(main().CurrentTrack), "60");
    EXPECT_EQ(artistOf(main().PlayNextIndex), "80");

    controls_ClearListView(rows());
    EXPECT_EQ(main().CurrentTrack, 0);
    EXPECT_EQ(main().PlayNextIndex, 0);
}

TEST_F(FollowRowsTest, RowsBeyondThe16BitRangeAreFollowed)
{
    std::vector<QStringList> many(40000, QStringList({"", "x", "", "", "Play", "", "/m/x.mp3"}));
    rows().addRows(many);
    main().CurrentTrack = 40005;
    rows().insert(1, {"", "first"});
    EXPECT_EQ(main().CurrentTrack, 40006);
    rows().removeRange(1, 2);
    EXPECT_EQ(main().CurrentTrack, 40004);
}

} // namespace
