// The transport commands, the random history, the Play Next mark, and the mode menus with
// the keys they write to settings.ini.
#include "PlaybackFixture.h"

#include "common/PlaylistRow.h"
#include "common/modMath.h"
#include "common/modSettings.h"
#include "common/modTray.h"
#include "controls/ctlQX_wScrollbar.h"
#include "controls/ctlQX_wTextPanel.h"
#include "mainwindow/FrmMenus.h"
#include "player/FrmVideo.h"

#include <QSlider>

namespace {
QString playbackKey(const char* key) { return settings_ReadValue(QStringLiteral("Playback"), QString::fromLatin1(key), QStringLiteral("?")); }
} // namespace

// ---- Next and Previous --------------------------------------------------------------------------

TEST_F(PlaybackTest, NextWrapsFromTheLastRowToTheFirst)
{
    addSongs(3);
    playRow(3);
    main->mnuNextTrack_Click();
    EXPECT_EQ(player->FileName(), file(1));
    EXPECT_EQ(main->CurrentTrack, 1);
}

TEST_F(PlaybackTest, NextStartsFromTheSelectedRowOnlyWhileStopped)
{
    addSongs(5);
    playRow(2);
    controls_SelectItem(list(), 4);
    main->mnuNextTrack_Click();   // playing: from the playing row
    tick();
    EXPECT_EQ(player->FileName(), file(3));

    main->mnuStop_Click();
    tick();
    controls_SelectItem(list(), 4);
    main->mnuNextTrack_Click();   // stopped: from the selected row
    EXPECT_EQ(player->FileName(), file(5));
}

TEST_F(PlaybackTest, NextAndPreviousWithThePlayRuleOff)
{
    addSongs(4);
    settings_WriteValue(QStringLiteral("Settings"), QStringLiteral("PlayOnNextAndPrevious"), QStringLiteral("0"));
    controls_SelectItem(list(), 2);
    main->mnuNextTrack_Click();   // stopped: selected and loaded, not played
    EXPECT_EQ(list().selectedRows(), QList<int>{3});
    EXPECT_EQ(player->FileName(), file(3));
    EXPECT_FALSE(playing());
    main->mnuPrevious_Click();
    EXPECT_EQ(list().selectedRows(), QList<int>{2});
    EXPECT_FALSE(playing());

    playRow(1);
    main->mnuNextTrack_Click();   // playing: played
    EXPECT_TRUE(playing());
    EXPECT_EQ(player->FileName(), file(2));
    tick();
    main->mnuPause_Click();
    tick();
    main->mnuPrevious_Click();    // paused: played too
    EXPECT_TRUE(playing());
    EXPECT_EQ(player->FileName(), file(1));
}

TEST_F(PlaybackTest, PreviousStepsBackToTheNearestPlayRowAndWrapsAtTheTop)
{
    addSongs(6);
    setStatus(4, "Skip");
    setStatus(3, "Skip Once");
    setStatus(2, "Play Once");
    setStatus(6, "Remove");
    playRow(5);
    main->mnuPrevious_Click();
    EXPECT_EQ(player->FileName(), file(1));
    tick();
    main->mnuPrevious_Click();   // row 1: round to the last row whose status is Play
    EXPECT_EQ(player->FileName(), file(5));
    EXPECT_EQ(status(6), QStringLiteral("Remove"));
}

TEST_F(PlaybackTest, PreviousWithoutAPlayRowDoesNothing)
{
    addSongs(3);
    for (int r = 1; r <= 3; ++r) setStatus(r, r == 1 ? "Play Once" : "Skip");
    main->CurrentTrack = 2;
    main->PlayerState = FrmMain::Playback::Playing;
    player->history.clear();
    main->mnuPrevious_Click();
    EXPECT_TRUE(player->history.isEmpty());
    EXPECT_EQ(main->CurrentTrack, 2);

    // Nothing playing and nothing selected (current track 0), and an empty list.
    main->PlayerState = FrmMain::Playback::Stopped;
    list().clearSelection();
    main->mnuPrevious_Click();
    list().clear();
    main->CurrentTrack = 1;
    main->PlayerState = FrmMain::Playback::Playing;
    main->mnuPrevious_Click();
    EXPECT_TRUE(player->history.isEmpty());
    EXPECT_TRUE(ui.messages().isEmpty());
}

TEST_F(PlaybackTest, PreviousFromBeyondTheLastRowStepsDownIntoTheRows)
{
    addSongs(2);
    main->CurrentTrack = 9;   // rows went since
    main->PlayerState = FrmMain::Playback::Playing;
    main->mnuPrevious_Click();
    EXPECT_EQ(player->FileName(), file(2));
}

TEST_F(PlaybackTest, NextOnAnEmptyListLoadsNothingAndEndsInPlay)
{
    main->PlayerState = FrmMain::Playback::Playing;
    main->mnuNextTrack_Click();
    EXPECT_TRUE(player->history.filter(QStringLiteral("FileName=")).isEmpty());
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.messages().first().title, QStringLiteral("Error Playing Media File"));
}

// ---- random play and its history -------------------------------------------------------------------

TEST_F(PlaybackTest, RandomHistoryIsWalkedByPreviousAndNext)
{
    addSongs(8);
    main->mnuPlayingPickRandomSongs_Click();
    const int picks[] = {6, 2, 4};   // A, B, C
    for (int r : picks) playRow(r, 0);
    ASSERT_EQ(main->RandomHistoryCount, 3);
    ASSERT_EQ(main->RandomHistoryCursor, 3);

    main->mnuPrevious_Click();
    tick();
    EXPECT_EQ(player->FileName(), file(2));   // B
    main->mnuPrevious_Click();
    tick();
    EXPECT_EQ(player->FileName(), file(6));   // A
    main->mnuNextTrack_Click();
    tick();
    EXPECT_EQ(player->FileName(), file(2));   // B
    main->mnuNextTrack_Click();
    tick();
    EXPECT_EQ(player->FileName(), file(4));   // C
    EXPECT_EQ(main->RandomHistoryCount, 3);   // replays add nothing
    main->mnuNextTrack_Click();
    tick();
    EXPECT_EQ(player->FileName(), file(5));   // out of the history: the row after the playing one

    // Replays are neither counted nor added: only three "Played" picks plus the replays' logs.
    EXPECT_EQ(main->RandomHistory.size(), 4);
}

TEST_F(PlaybackTest, HistoryEntryNoLongerInTheListIsPassedOver)
{
    addSongs(8);
    main->mnuPlayingPickRandomSongs_Click();
    playRow(3, 0);
    playRow(7, 0);
    main->window_AddRandomFilename(home(QStringLiteral("Music/gone.mp3")));
    playRow(5, 0);
    // History: s3, s7, gone, s5. Back from s5: the missing entry falls back to the normal step.
    main->mnuPrevious_Click();
    tick();
    EXPECT_EQ(main->RandomHistoryCursor, 3);
    EXPECT_EQ(player->FileName(), file(4));
    main->mnuPrevious_Click();
    tick();
    EXPECT_EQ(player->FileName(), file(7));
}

TEST_F(PlaybackTest, RandomHistoryAddAndReset)
{
    main->window_ResetRandomFilenames();
    main->window_AddRandomFilename(QStringLiteral("/m/One.mp3"));
    EXPECT_EQ(main->RandomHistoryCount, 1);
    EXPECT_EQ(main->RandomHistoryCursor, 1);
    EXPECT_EQ(main->RandomHistory, QStringList({QString(), QStringLiteral("/m/One.mp3")}));
    main->window_AddRandomFilename(QStringLiteral("/m/Two.mp3"));
    main->RandomHistoryCursor = 1;
    main->window_AddRandomFilename(QStringLiteral("/m/One.mp3"));   // known: nothing moves
    EXPECT_EQ(main->RandomHistoryCount, 2);
    EXPECT_EQ(main->RandomHistoryCursor, 1);
    main->window_AddRandomFilename(QString());   // equals the empty entry 0
    EXPECT_EQ(main->RandomHistoryCount, 2);
    // Paths differing in letter case are two files here.
    main->window_AddRandomFilename(QStringLiteral("/m/one.mp3"));
    EXPECT_EQ(main->RandomHistoryCount, 3);

    main->window_ResetRandomFilenames();
    EXPECT_EQ(main->RandomHistoryCount, 0);
    EXPECT_EQ(main->RandomHistoryCursor, 0);
    EXPECT_EQ(main->RandomHistory, QStringList{QString()});
}

TEST_F(PlaybackTest, RandomOnFiveRowsIsNextAndOnSixRepeatsNoneWithinARun)
{
    addSongs(5);
    playRow(2);
    main->mnuRandom_Click();
    EXPECT_EQ(player->FileName(), file(3));
    EXPECT_EQ(main->RandomHistoryCount, 0);

    addSongs(1, QStringLiteral("x"));
    math_ResetRandomHistory(0);
    for (int run = 0; run < 4; ++run) {
        QList<int> seen;
        for (int i = 0; i < 3; ++i) {
            main->mnuRandom_Click();
            tick();
            ASSERT_GE(main->CurrentTrack, 1);
            ASSERT_LE(main->CurrentTrack, 6);
            EXPECT_FALSE(seen.contains(main->CurrentTrack)) << "run " << run;
            seen << main->CurrentTrack;
        }
        EXPECT_TRUE(math::history().isEmpty());   // a full pick history is emptied
    }
    EXPECT_GE(main->RandomHistoryCount, 1);
}

// ---- seeking, pausing, muting -------------------------------------------------------------------------

TEST_F(PlaybackTest, FastForwardAndRewindStayInsideTheSong)
{
    addSongs(1);
    player->nextDuration = 180;
    playRow(1);
    player->advance(178);
    main->mnuFastForward_Click();
    EXPECT_DOUBLE_EQ(player->CurrentPosition(), 178);
    player->setCurrentPosition(175);
    main->mnuFastForward_Click();
    EXPECT_DOUBLE_EQ(player->CurrentPosition(), 180);
    EXPECT_TRUE(playing());

    player->setCurrentPosition(3);
    main->mnuRewind_Click();
    EXPECT_DOUBLE_EQ(player->CurrentPosition(), 3);
    settings_WriteValue(QStringLiteral("Settings"), QStringLiteral("RewindForwardRate"), QStringLiteral("2"));
    main->mnuRewind_Click();
    EXPECT_DOUBLE_EQ(player->CurrentPosition(), 1);

    main->mnuPause_Click();   // only while playing
    main->mnuFastForward_Click();
    main->mnuRewind_Click();
    EXPECT_DOUBLE_EQ(player->CurrentPosition(), 1);
}

TEST_F(PlaybackTest, PauseKeepsTheWholeSecondAndResumesThere)
{
    addSongs(1);
    FrmVideo& video = forms().get<FrmVideo>();
    main->mnuPause_Click();   // stopped: nothing
    EXPECT_FALSE(main->ResumePending);

    player->nextDuration = 40000;
    playRow(1);
    player->advance(33000.5);   // past what 16 bits hold; the half goes to the even second
    main->mnuPause_Click();
    EXPECT_TRUE(main->ResumePending);
    EXPECT_EQ(main->ResumePosition, 33000);
    EXPECT_EQ(main->ResumeFilename, file(1));
    EXPECT_EQ(player->PlayState(), veltra::MediaPlayerControl::State::Paused);
    EXPECT_EQ(video.qxbPause->Caption(), QStringLiteral("Play"));

    main->mnuPause_Click();
    EXPECT_TRUE(playing());
    EXPECT_DOUBLE_EQ(player->CurrentPosition(), 33000);
    EXPECT_FALSE(main->ResumePending);
    EXPECT_TRUE(main->ResumeFilename.isEmpty());
    EXPECT_EQ(video.qxbPause->Caption(), QStringLiteral("Pause"));

    player->advance(1.5);
    main->mnuPause_Click();
    EXPECT_EQ(main->ResumePosition, 33002);
}

TEST_F(PlaybackTest, MuteTwiceReturnsEverything)
{
    tray::setAvailabilityOverride([] { return tray::Availability::NoDesktop; });
    tray_AddIcon(QStringLiteral("tip"), main, main->windowIcon());
    addSongs(1);
    playRow(1);
    main->sldVolume->setValue(70);
    main->player_Volume(70);
    const QString unmuted = QStringLiteral("Mut&e\tE");
    main->mnuMute->setText(unmuted);
    QAction* button = main->toolbarButton(QStringLiteral("Mute"));
    ASSERT_NE(button, nullptr);
    const qint64 ownIcon = tray_Icon()->icon().cacheKey();

    main->mnuMute_Click();
    EXPECT_EQ(main->mnuMute->text(), QStringLiteral("Un-Mut&e\tE"));
    EXPECT_EQ(player->Volume(), -6000);
    EXPECT_FALSE(main->sldVolume->isEnabled());
    EXPECT_TRUE(button->isChecked());
    EXPECT_EQ(button->toolTip(), QStringLiteral("Un-Mute"));
    EXPECT_NE(tray_Icon()->icon().cacheKey(), ownIcon);

    main->mnuMute_Click();
    EXPECT_EQ(main->mnuMute->text(), unmuted);
    EXPECT_EQ(player->Volume(), 70 * 60 - 6000);
    EXPECT_EQ(main->sldVolume->value(), 70);
    EXPECT_TRUE(main->sldVolume->isEnabled());
    EXPECT_FALSE(button->isChecked());
    EXPECT_EQ(button->toolTip(), QStringLiteral("Mute"));
    tray_RemoveIcon();
    tray::setAvailabilityOverride(nullptr);
}

TEST_F(PlaybackTest, VolumeAndBalanceMapping)
{
    main->player_Volume(0);
    EXPECT_EQ(player->Volume(), -6000);
    main->player_Volume(100);
    EXPECT_EQ(player->Volume(), 0);
    main->player_Balance(50);
    EXPECT_EQ(player->Balance(), 0);
    main->player_Balance(0);
    EXPECT_EQ(player->Balance(), -5000);
    main->player_Balance(100);
    EXPECT_EQ(player->Balance(), 5000);
}

TEST_F(PlaybackTest, StoreVolumeOnAnEmptyListOrSeveralRows)
{
    main->mnuStoreVolume_Click();   // nothing to store for, nothing shown
    EXPECT_TRUE(ui.calls.isEmpty());

    addSongs(2);
    list().setSelected(1, true);
    list().setSelected(2, true);
    main->mnuStoreVolume_Click();
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.messages().first().title, QStringLiteral("Error Storing Volume"));
    EXPECT_EQ(ui.messages().first().text,
              QStringLiteral("You have selected more than 1 song from the playlist.\r\n\r\nThis function will not continue.\r\n"));
}

// ---- the Play Next mark ---------------------------------------------------------------------------------

TEST_F(PlaybackTest, PlayNextMarkRefusalsAndNoOps)
{
    addSongs(9);
    controls_SelectItem(list(), 5);
    main->mnuPlayNext_Click();   // nothing plays
    EXPECT_EQ(main->PlayNextIndex, 0);
    EXPECT_TRUE(ui.calls.isEmpty());

    playRow(3);
    main->mnuPause_Click();
    controls_SelectItem(list(), 5);
    main->mnuPlayNext_Click();   // paused
    EXPECT_EQ(main->PlayNextIndex, 0);
    main->mnuPause_Click();

    controls_SelectItem(list(), 3);
    main->mnuPlayNext_Click();
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.messages().last().title, QStringLiteral("Error With Selected Song"));
    EXPECT_EQ(ui.messages().last().text, QStringLiteral("The song that you have selected from the playlist is currently playing.\r\n\r\n"
                                                        "Please select a different song to play next.\r\n"));

    controls_SelectItem(list(), 5);
    main->mnuPlayNext_Click();
    ASSERT_EQ(main->PlayNextIndex, 5);
    setStatus(5, "Skip");   // the Skip test comes first, even for the marked row
    main->mnuPlayNext_Click();
    ASSERT_EQ(ui.messages().size(), 2);
    EXPECT_EQ(ui.messages().last().text, QStringLiteral("The song that you have selected from the playlist is currently set to Skip.\r\n\r\n"
                                                        "Please select a different song to play next.\r\n"));
    EXPECT_EQ(main->PlayNextIndex, 5);

    list().setSelected(6, true);
    main->mnuPlayNext_Click();
    ASSERT_EQ(ui.messages().size(), 3);
    EXPECT_EQ(ui.messages().last().text,
              QStringLiteral("You have selected more than 1 song from the playlist.\r\n\r\nThis function will not continue.\r\n"));
}

TEST_F(PlaybackTest, PlayNextMarkMovesAndUnmarks)
{
    addSongs(9);
    settings_WriteValue(QStringLiteral("Appearance"), QStringLiteral("PlayNextFontColour"), QStringLiteral("255"));
    settings_WriteValue(QStringLiteral("Appearance"), QStringLiteral("FontColour"), QStringLiteral("4210752"));
    playRow(1);
    FrmMenus& menus = forms().get<FrmMenus>();

    controls_SelectItem(list(), 5);
    main->mnuPlayNext_Click();
    EXPECT_EQ(list().foreColour(5, PlaylistColumn::Number), 255u);
    EXPECT_EQ(list().foreColour(5, PlaylistColumn::Filename), 255u);
    controls_SelectItem(list(), 8);
    main->mnuPlayNext_Click();
    EXPECT_EQ(main->PlayNextIndex, 8);
    EXPECT_EQ(list().foreColour(5, PlaylistColumn::Year), 4210752u);
    EXPECT_EQ(list().foreColour(8, PlaylistColumn::Status), 255u);
    EXPECT_EQ(main->mnuPlayNext->text(), QStringLiteral("Play Ne&xt (In Use)...\tX"));
    EXPECT_EQ(menus.mnuPlayNext->text(), QStringLiteral("Play Ne&xt (In Use)...\tX"));

    main->mnuPlayNext_Click();   // the same row again: no mark
    EXPECT_EQ(main->PlayNextIndex, 0);
    EXPECT_EQ(list().foreColour(8, PlaylistColumn::Number), 4210752u);
    EXPECT_EQ(main->mnuPlayNext->text(), QStringLiteral("Play Ne&xt...\tX"));
    EXPECT_EQ(menus.mnuPlayNext->text(), QStringLiteral("Play Ne&xt...\tX"));
}

// Next reaches the marked row and plays it; the mark stays. Once the next song starts, only
// that song's row has the playing colour, and the marked row has the mark's again.
TEST_F(PlaybackTest, MarkedRowPlayedByNextTakesBackTheMarkColour)
{
    addSongs(3);
    playRow(1);
    controls_SelectItem(list(), 2);
    main->mnuPlayNext_Click();
    for (int row : {2, 3}) {
        main->mnuNextTrack->trigger();
        tick();
        ASSERT_EQ(main->CurrentTrack, row);
    }
    EXPECT_EQ(main->PlayNextIndex, 2);
    EXPECT_EQ(list().foreColour(2, PlaylistColumn::Title), 0xC00000u);
    EXPECT_EQ(list().foreColour(3, PlaylistColumn::Title), 0xC0u);
}

TEST_F(PlaybackTest, JumpToCurrentlyPlayingDoesNothingWhileStopped)
{
    addSongs(4);
    playRow(2);
    const QString playingFile = file(2);
    list().moveRows(QList<int>{2}, 5);   // the playing row goes to the end
    controls_SelectItem(list(), 1);
    main->CurrentTrack = 1;
    main->mnuJumpToCurrentlyPlaying_Click();
    EXPECT_EQ(main->CurrentTrack, 4);
    EXPECT_EQ(file(4), playingFile);
    EXPECT_EQ(list().selectedRows(), QList<int>{4});

    main->mnuStop_Click();
    tick();
    ASSERT_EQ(main->PlayerState, FrmMain::Playback::Stopped);
    main->CurrentTrack = 1;
    main->mnuJumpToCurrentlyPlaying_Click();
    EXPECT_EQ(main->CurrentTrack, 1);
}

// ---- the mode menus -------------------------------------------------------------------------------------

TEST_F(PlaybackTest, EachPlaybackModeWritesItsKeyAndSetsTheDirectionItems)
{
    struct Mode {
        void (FrmMain::*click)();
        QAction* FrmMain::*item;
        const char* key;
        bool direction;
    };
    const Mode modes[] = {
        {&FrmMain::mnuPlayingShuffleByArtist_Click, &FrmMain::mnuPlayingShuffleByArtist, "PlayingShuffleByArtist", false},
        {&FrmMain::mnuPlayingShuffleByAlbum_Click, &FrmMain::mnuPlayingShuffleByAlbum, "PlayingShuffleByAlbum", false},
        {&FrmMain::mnuPlayingShuffleByYear_Click, &FrmMain::mnuPlayingShuffleByYear, "PlayingShuffleByYear", false},
        {&FrmMain::mnuPlayingIntroduction_Click, &FrmMain::mnuPlayingIntroduction, "PlayingIntroduction", true},
        {&FrmMain::mnuPlayingRepeat_Click, &FrmMain::mnuPlayingRepeat, "PlayingRepeat", false},
        {&FrmMain::mnuPlayingRepeatOnce_Click, &FrmMain::mnuPlayingRepeatOnce, "PlayingRepeatOnce", false},
        {&FrmMain::mnuPlayingStopAfterEnding_Click, &FrmMain::mnuPlayingStopAfterEnding, "PlayingStopAfterEnding", false},
        {&FrmMain::mnuPlayingPickRandomSongs_Click, &FrmMain::mnuPlayingPickRandomSongs, "PlayingPickRandomSongs", false},
        {&FrmMain::mnuPlayingGoThroughPlaylistNormally_Click, &FrmMain::mnuPlayingGoThroughPlaylistNormally,
         "PlayingGoThroughPlaylistNormally", true},
    };
    main->mnuWorkBackwardsThroughPlaylist_Click();
    for (const Mode& m : modes) {
        (main->*m.click)();
        (main->*m.click)();   // again: the same state
        for (const Mode& other : modes) {
            EXPECT_EQ((main->*other.item)->isChecked(), &other == &m) << m.key << " / " << other.key;
            EXPECT_EQ(playbackKey(other.key), &other == &m ? QStringLiteral("1") : QStringLiteral("0")) << m.key << " / " << other.key;
        }
        EXPECT_EQ(main->mnuWorkForwardThroughList->isEnabled(), m.direction) << m.key;
        EXPECT_EQ(main->mnuWorkBackwardsThroughPlaylist->isEnabled(), m.direction) << m.key;
        // The direction marks stay as they were.
        EXPECT_FALSE(main->mnuWorkForwardThroughList->isChecked());
        EXPECT_TRUE(main->mnuWorkBackwardsThroughPlaylist->isChecked());
    }
}

TEST_F(PlaybackTest, EndOfListModesAndDirectionWriteTheirKeys)
{
    struct Mode {
        void (FrmMain::*click)();
        QAction* FrmMain::*item;
        const char* key;
    };
    const Mode modes[] = {
        {&FrmMain::mnuPlaylistRepeat_Click, &FrmMain::mnuPlaylistRepeat, "PlaylistRepeat"},
        {&FrmMain::mnuPlaylistRepeatOnce_Click, &FrmMain::mnuPlaylistRepeatOnce, "PlaylistRepeatOnce"},
        {&FrmMain::mnuPlaylistStopAfterEnding_Click, &FrmMain::mnuPlaylistStopAfterEnding, "PlaylistStopAfterEnding"},
        {&FrmMain::mnuPlaylistPickRandomAfterEnding_Click, &FrmMain::mnuPlaylistPickRandomAfterEnding, "PlaylistPickRandomAfterEnding"},
        {&FrmMain::mnuPlaylistSwitchToNext_Click, &FrmMain::mnuPlaylistSwitchToNext, "PlaylistSwitchToNext"},
    };
    // A settings file with two "1" keys in the group is repaired by the first choice.
    settings_WriteValue(QStringLiteral("Playback"), QStringLiteral("PlaylistRepeat"), QStringLiteral("1"));
    for (const Mode& m : modes) {
        (main->*m.click)();
        for (const Mode& other : modes) {
            EXPECT_EQ((main->*other.item)->isChecked(), &other == &m) << m.key;
            EXPECT_EQ(playbackKey(other.key), &other == &m ? QStringLiteral("1") : QStringLiteral("0")) << m.key << " / " << other.key;
        }
    }

    main->mnuWorkBackwardsThroughPlaylist_Click();
    main->mnuWorkBackwardsThroughPlaylist_Click();
    EXPECT_FALSE(main->mnuWorkForwardThroughList->isChecked());
    EXPECT_TRUE(main->mnuWorkBackwardsThroughPlaylist->isChecked());
    EXPECT_EQ(settings_ReadValue(QStringLiteral("PlayMode"), QStringLiteral("WorkForwardThroughList"), QString()), QStringLiteral("0"));
    EXPECT_EQ(settings_ReadValue(QStringLiteral("PlayMode"), QStringLiteral("WorkBackwardsThroughPlaylist"), QString()), QStringLiteral("1"));
    // Called directly while disabled (as the preferences do), the marks still move.
    main->mnuPlayingRepeat_Click();
    main->mnuWorkForwardThroughList_Click();
    EXPECT_TRUE(main->mnuWorkForwardThroughList->isChecked());
    EXPECT_EQ(settings_ReadValue(QStringLiteral("PlayMode"), QStringLiteral("WorkForwardThroughList"), QString()), QStringLiteral("1"));
}

// The modes are the sequence's; the menus show them, whoever changes them.
TEST_F(PlaybackTest, ModeMenusFollowTheSequence)
{
    using namespace veltra;
    main->mnuPlaylistSwitchToNext->trigger();   // a click, as Qt delivers it
    EXPECT_EQ(main->sequence().modes().endOfList, EndOfListMode::SwitchToNext);
    EXPECT_TRUE(main->mnuPlaylistSwitchToNext->isChecked());
    main->mnuPlaylistSwitchToNext->trigger();   // the ticked item clicked again stays ticked
    EXPECT_TRUE(main->mnuPlaylistSwitchToNext->isChecked());
    EXPECT_EQ(main->sequence().modes().endOfList, EndOfListMode::SwitchToNext);

    main->sequence().setModes(PlaybackModes{PlayingMode::Repeat, PlayDirection::Backward, false, EndOfListMode::Repeat});
    EXPECT_TRUE(main->mnuPlayingRepeat->isChecked());
    EXPECT_FALSE(main->mnuPlayingGoThroughPlaylistNormally->isChecked());
    EXPECT_TRUE(main->mnuWorkBackwardsThroughPlaylist->isChecked());
    EXPECT_FALSE(main->mnuWorkForwardThroughList->isChecked());
    EXPECT_FALSE(main->mnuWorkBackwardsThroughPlaylist->isEnabled());
    EXPECT_TRUE(main->mnuPlaylistRepeat->isChecked());
    EXPECT_FALSE(main->mnuPlaylistSwitchToNext->isChecked());
}

TEST_F(PlaybackTest, SortByLengthWritesItsKeySetsTheKeyLogsAndRenumbers)
{
    addSongs(3);
    list().setText(1, QStringLiteral("7"));
    main->mnuSortByLength_Click();
    EXPECT_EQ(list().sortKey(), 5);
    EXPECT_TRUE(main->mnuSortByLength->isChecked());
    EXPECT_FALSE(main->mnuSortByFilename->isChecked());
    for (const char* key : {"SortByArtist", "SortByTitle", "SortByYear", "SortByFilename"})
        EXPECT_EQ(settings_ReadValue(QStringLiteral("ListSorting"), QString::fromLatin1(key), QString()), QStringLiteral("0")) << key;
    EXPECT_EQ(settings_ReadValue(QStringLiteral("ListSorting"), QStringLiteral("SortByLength"), QString()), QStringLiteral("1"));
    EXPECT_EQ(logLines().last(), QStringLiteral("Sort mode set to:  Length."));
    EXPECT_EQ(list().text(1), QStringLiteral("01"));
    EXPECT_EQ(list().text(3), QStringLiteral("03"));
}

TEST_F(PlaybackTest, VideoWindowSlidersDriveTheMainSlidersAndThePlayer)
{
    addSongs(1);
    playRow(1);
    FrmVideo& video = forms().get<FrmVideo>();
    video.qxsVolume->setValue(100);
    video.qxsVolume_Change();
    EXPECT_EQ(main->sldVolume->value(), 100);
    EXPECT_EQ(player->Volume(), 0);
    video.qxsBalance->setValue(0);
    video.qxsBalance_Change();
    EXPECT_EQ(main->sldBalance->value(), 0);
    EXPECT_EQ(player->Balance(), -5000);
    video.qxsPosition->setValue(42);
    video.qxsPosition_Change();
    EXPECT_DOUBLE_EQ(player->CurrentPosition(), 42);

    video.qxbPause_Click();
    EXPECT_TRUE(main->ResumePending);
    video.qxbPause_Click();
    EXPECT_TRUE(playing());
    tick();
    video.qxbStopVideo_Click();
    EXPECT_FALSE(playing());
    EXPECT_EQ(player->FileName(), QStringLiteral("1"));
}
