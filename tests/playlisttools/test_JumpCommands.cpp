// The Jump submenu: steps of 5 and 10 rows, first, middle and last rows, Jump To Currently
// Playing after a sort, and the dialog openers' conditions.
#include "../mainwindow/PlaybackFixture.h"

#include "common/modWindows.h"
#include "player/PlaybackSequence.h"
#include "playlisttools/FrmJump.h"
#include "playlisttools/FrmJumpToNumber.h"
#include "playlisttools/FrmJumpToTime.h"
#include "playlisttools/OptionButtons.h"

#include <QComboBox>

TEST(JumpRules, EdgesOfStepsAndMiddleRows)
{
    // the steps the menu items take are tested through them below
    EXPECT_EQ(veltra::jumpRow(25, 20, 5), 0);   // a current row past the end
    const std::pair<int, int> middles[] = {{0, 0}, {1, 1}, {2, 1}, {3, 2}, {4, 2}, {5, 2}, {7, 4}, {9, 4}, {10, 5}, {11, 6}};
    for (const auto& [count, row] : middles) EXPECT_EQ(veltra::middleRow(count), row) << count;
}

// Through the menu items, as the user chooses them.
TEST_F(PlaybackTest, JumpItemsPlayTheirRows)
{
    addSongs(20);
    struct Case {
        QAction* item;
        int from, played;   // played 0: nothing happens
    };
    const Case cases[] = {
        {main->mnuJumpBack5Tracks, 6, 1},      {main->mnuJumpBack10Tracks, 6, 0},  {main->mnuJumpForward10Tracks, 10, 0},
        {main->mnuJumpForward5Tracks, 10, 15}, {main->mnuJumpForward10Tracks, 9, 19}, {main->mnuJumpToFirstTrack, 7, 1},
        {main->mnuJumpToMiddleTrack, 3, 10},   {main->mnuJumpToLastTrack, 3, 20},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item->objectName().toStdString());
        playRow(c.from);
        c.item->trigger();
        tick();
        const int expected = c.played ? c.played : c.from;
        EXPECT_EQ(main->CurrentTrack, expected);
        EXPECT_EQ(player->FileName(), file(expected));
        EXPECT_EQ(list().selectedRows(), QList<int>{expected});
        EXPECT_TRUE(playing());
    }
}

TEST_F(PlaybackTest, JumpsDropAPausedSongAndMiddleOfOneRowPlaysIt)
{
    addSongs(1);
    playRow(1);
    player->advance(30);
    main->mnuPause_Click();
    tick();
    ASSERT_TRUE(main->ResumePending);
    main->mnuJumpToMiddleTrack_Click();
    EXPECT_FALSE(main->ResumePending);
    EXPECT_TRUE(playing());
    EXPECT_EQ(player->CurrentPosition(), 0.0);   // started afresh, not resumed
    EXPECT_EQ(main->CurrentTrack, 1);
}

TEST_F(PlaybackTest, JumpToCurrentlyPlayingFindsTheSongAfterASort)
{
    addSongs(5);
    playRow(2);
    const QString playingFile = file(2);
    list().sortRows([](const QStringList& a, const QStringList& b) { return a.value(6) > b.value(6); });   // reversed
    controls_SelectItem(list(), 1);
    main->CurrentTrack = 1;   // as after a reorder that lost the row
    main->mnuJumpToCurrentlyPlaying->trigger();
    EXPECT_EQ(main->CurrentTrack, 4);
    EXPECT_EQ(file(4), playingFile);
    EXPECT_EQ(list().selectedRows(), QList<int>{4});
}

TEST_F(PlaybackTest, DialogOpenersKeepToTheirConditions)
{
    // Empty playlist, stopped: none opens.
    for (QAction* a : {main->mnuJumpToMedia, main->mnuJumpToTrackNumber, main->mnuJumpToTime}) a->trigger();
    EXPECT_EQ(ui.count("modal"), 0);

    addSongs(3);
    main->mnuJumpToTime_Click();   // stopped
    EXPECT_EQ(ui.count("modal"), 0);
    playRow(1);
    main->mnuPause_Click();
    tick();
    main->mnuJumpToTime_Click();   // paused: opens
    main->mnuJumpToTrackNumber_Click();
    main->mnuJumpToMedia_Click();
    QStringList opened;
    for (const auto& c : ui.calls)
        if (c.kind == "modal") opened << c.title;
    EXPECT_EQ(opened, QStringList({"FrmJumpToTime", "FrmJumpToNumber", "FrmJump"}));
    EXPECT_FALSE(forms().isLoaded<FrmJump>());   // released after it closed

    // A dialog loaded and searched beforehand is the one shown, results and all.
    FrmJump& filled = forms().get<FrmJump>();
    filled.cmbSearch->setEditText("s2.mp3");
    filled.opSearchMode->select(3);
    filled.opOptions->select(6);
    filled.cmdFind_Click();
    ui.modalHandlers.push_back([&filled](QObject* form) {
        EXPECT_EQ(form, &filled);
        EXPECT_EQ(filled.lstvItems->items().count(), 1);
    });
    main->mnuJumpToMedia_Click();
    EXPECT_EQ(ui.calls.last().form, &filled);
}
