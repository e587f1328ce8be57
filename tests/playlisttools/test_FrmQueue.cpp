// Advanced Queue: the value lists, matching by tags or columns, the update.
#include "JumpFixture.h"

#include "playlisttools/FrmQueue.h"

TEST_F(JumpTest, AdvancedQueueSetsTheStatusOfEveryMatchingRow)
{
    addRow("col", "1", "", tagged("Music/a.mp3", {.artist = "Rock", .album = "Live", .year = "1990", .genre = "Rock"}));
    addRow("col", "2", "", tagged("Music/b.mp3", {.artist = "ROCK", .album = "live", .year = "1991", .genre = "Pop"}));
    addRow("Rock", "3", "1990", home("Music/c.wav"));
    addRow("rock", "4", "", home("Music/gone.mp3"));   // no file: its tag texts are empty
    FrmQueue& d = forms().fresh<FrmQueue>();
    auto values = [&d] {
        QStringList out;
        for (int i = 0; i < d.cmbSearch->count(); ++i) out << d.cmbSearch->itemText(i);
        return out;
    };
    auto statuses = [this] {
        QStringList out;
        for (int r = 1; r <= list().count(); ++r) out << status(r);
        return out;
    };
    // Artists and years from the columns; albums and genres from the tags, the first form kept.
    EXPECT_EQ(values(), QStringList({"col", "Rock"}));
    d.opOptions->at(FrmQueue::ByAlbum)->click();
    EXPECT_EQ(values(), QStringList({"Live"}));
    d.opOptions->at(FrmQueue::ByGenre)->click();
    EXPECT_EQ(values(), QStringList({"Pop", "Rock"}));
    d.opOptions->at(FrmQueue::ByYear)->click();
    EXPECT_EQ(values(), QStringList({"1990"}));

    struct Case {
        int criterion;
        QString typed;
        int status;   // index in cmbOption
        QStringList after;
    };
    const Case cases[] = {
        {FrmQueue::ByArtist, " Rock", 2, {"Play", "Play", "Play", "Play"}},
        {FrmQueue::ByArtist, "rock", 2, {"Skip", "Skip", "Skip", "Play"}},   // tags for MP3 rows, the column for others
        {FrmQueue::ByAlbum, "LIVE", 1, {"Play Once", "Play Once", "Skip", "Play"}},
        {FrmQueue::ByGenre, "rock", 4, {"Remove", "Play Once", "Skip", "Play"}},
        {FrmQueue::ByYear, "1990", 0, {"Play", "Play Once", "Play", "Play"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        d.opOptions->at(c.criterion)->click();
        d.cmbSearch->setEditText(c.typed);
        d.cmbOption->setCurrentIndex(c.status);
        d.cmdUpdate_Click();
        EXPECT_EQ(statuses(), c.after);
        EXPECT_TRUE(d.cmbSearch->currentText().isEmpty());
        EXPECT_EQ(d.opOptions->selected(), c.criterion);
        EXPECT_TRUE(d.cmdUpdate->isEnabled() && d.cmbSearch->isEnabled());
    }
    EXPECT_TRUE(ui.messages().isEmpty());

    d.cmdUpdate_Click();   // nothing typed
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.messages()[0].title, "Advanved Queuing Error");
    EXPECT_EQ(ui.messages()[0].text, "It has been detected that you have not entered anything into the search criteria section.\r\n\r\n"
                                     "Please enter a search criteria before continuing with this function.\r\n");
}
