// The next-track decision carried out by the main window at the end of a song (the rules
// themselves are tested on PlaybackSequence alone): the Play Next mark, the modes that act on
// the window, the play rule, lists of nothing but Skip rows, and stopping.
#include "PlaybackFixture.h"

#include "common/PlaylistRow.h"
#include "common/modSettings.h"
#include "mainwindow/FrmMenus.h"
#include "player/FrmVideo.h"

#include <QComboBox>
#include <QLabel>
#include <QSlider>

namespace {
const QString kPlayNext = QStringLiteral("Play Ne&xt...\tX");
const QString kPlayNextInUse = QStringLiteral("Play Ne&xt (In Use)...\tX");
} // namespace

TEST_F(PlaybackTest, NormalModePlaysEveryRowInTurnAndStopsAfterTheLast)
{
    addSongs(3);
    playRow(1);
    endSong();
    EXPECT_EQ(player->FileName(), file(2));
    endSong();
    EXPECT_EQ(player->FileName(), file(3));
    endSong();
    EXPECT_EQ(player->FileName(), QStringLiteral("1"));   // nothing stays loaded
    EXPECT_FALSE(playing());
    EXPECT_FALSE(list().bold(3));
    EXPECT_EQ(playedLines(), QStringList({QStringLiteral("Played A1 - T1."), QStringLiteral("Played A2 - T2."),
                                          QStringLiteral("Played A3 - T3.")}));
}

TEST_F(PlaybackTest, PlaylistRepeatStartsOverInThePlayDirection)
{
    addSongs(3);
    main->mnuPlaylistRepeat_Click();
    playRow(3);
    endSong();
    EXPECT_EQ(player->FileName(), file(1));
    EXPECT_EQ(main->CurrentTrack, 1);

    main->mnuWorkBackwardsThroughPlaylist_Click();
    endSong();   // row 1 is the end going backwards: the last row starts
    EXPECT_EQ(player->FileName(), file(3));
    EXPECT_TRUE(main->mnuPlaylistRepeat->isChecked());
}

TEST_F(PlaybackTest, PlaylistRepeatOnceStartsOverOnceThenStopsAfterEnding)
{
    addSongs(2);
    main->mnuPlaylistRepeatOnce_Click();
    playRow(2);
    endSong();
    EXPECT_EQ(player->FileName(), file(1));
    EXPECT_TRUE(main->mnuPlaylistStopAfterEnding->isChecked());
    EXPECT_FALSE(main->mnuPlaylistRepeatOnce->isChecked());
    EXPECT_EQ(settings_ReadValue(QStringLiteral("Playback"), QStringLiteral("PlaylistRepeatOnce"), QString()), QStringLiteral("0"));
    EXPECT_EQ(settings_ReadValue(QStringLiteral("Playback"), QStringLiteral("PlaylistStopAfterEnding"), QString()), QStringLiteral("1"));
    endSong();
    endSong();
    EXPECT_EQ(player->FileName(), QStringLiteral("1"));
}

TEST_F(PlaybackTest, RepeatReplaysTheSongAndRepeatOnceReturnsToNormal)
{
    addSongs(3);
    main->mnuPlayingRepeat_Click();
    playRow(1);
    endSong();
    endSong();
    EXPECT_EQ(player->FileName(), file(1));
    EXPECT_EQ(playedLines().size(), 3);

    main->mnuPlayingRepeatOnce_Click();
    endSong();
    EXPECT_EQ(player->FileName(), file(1));
    EXPECT_TRUE(main->mnuPlayingGoThroughPlaylistNormally->isChecked());
    endSong();
    EXPECT_EQ(player->FileName(), file(2));
}

TEST_F(PlaybackTest, PickRandomSongsDrawsARowUntilTheLastRowEndsTheList)
{
    addSongs(8);
    main->mnuPlayingPickRandomSongs_Click();
    playRow(1);
    endSong();
    EXPECT_TRUE(playing());
    EXPECT_EQ(main->RandomHistoryCount, 1);   // a random pick enters the history
    EXPECT_EQ(main->RandomHistory.value(1), player->FileName());

    // The last row playing is the end of the list, whatever the playback mode.
    playRow(8);
    endSong();
    EXPECT_EQ(player->FileName(), QStringLiteral("1"));
}

TEST_F(PlaybackTest, ShuffleByAlbumReadsTheTagsOfTheFiles)
{
    const char* albums[] = {"Blue", "Red", "blue"};
    for (int i = 0; i < 3; ++i) {
        mp3maker::Song s;
        s.album = QString::fromLatin1(albums[i]);
        s.seconds = 0.2;
        const QString path = home(QStringLiteral("Music/album%1.mp3").arg(i + 1));
        ASSERT_TRUE(mp3maker::makeMp3(path, s));
        main->playlist_AddSong(QStringLiteral("A"), QStringLiteral("T"), QString(), path);
    }
    main->mnuTagsUseID3v2Tags->setChecked(true);
    main->mnuPlayingShuffleByAlbum_Click();
    playRow(1);
    endSong();
    EXPECT_EQ(player->FileName(), file(3));
    EXPECT_EQ(main->lblAlbum->text(), QStringLiteral("Blue"));
    EXPECT_EQ(main->lblSearch->text(), QStringLiteral("blue"));
    endSong();   // nothing further down: stopped
    EXPECT_EQ(player->FileName(), QStringLiteral("1"));
    EXPECT_FALSE(playing());
}

TEST_F(PlaybackTest, PlayRuleOffAndStoppedOnlySelectsTheFirstRow)
{
    addSongs(3);
    settings_WriteValue(QStringLiteral("Settings"), QStringLiteral("PlayOnNextAndPrevious"), QStringLiteral("0"));
    main->mnuPlaylistRepeat_Click();
    playRow(3);
    main->mnuStop_Click();
    tick();
    player->history.clear();
    main->mnuNextTrackAdvanced_Click();
    EXPECT_EQ(list().selectedRows(), QList<int>{1});
    EXPECT_EQ(player->FileName(), file(1));
    EXPECT_FALSE(player->history.contains(QStringLiteral("Play")));

    // While playing the rule lets it play.
    playRow(3);
    endSong();
    EXPECT_TRUE(playing());
    EXPECT_EQ(player->FileName(), file(1));
}

TEST_F(PlaybackTest, PlayNextMarkWinsOverEveryModeThenClears)
{
    addSongs(4);
    settings_WriteValue(QStringLiteral("Settings"), QStringLiteral("PlayOnNextAndPrevious"), QStringLiteral("0"));
    playRow(4);   // the last row: stop after ending would stop
    controls_SelectItem(list(), 2);
    main->mnuPlayNext_Click();
    ASSERT_EQ(main->PlayNextIndex, 2);
    EXPECT_EQ(main->mnuPlayNext->text(), kPlayNextInUse);
    EXPECT_EQ(forms().get<FrmMenus>().mnuPlayNext->text(), kPlayNextInUse);

    endSong();
    EXPECT_EQ(player->FileName(), file(2));
    EXPECT_TRUE(playing());
    EXPECT_EQ(main->PlayNextIndex, 0);
    EXPECT_EQ(main->mnuPlayNext->text(), kPlayNext);
    EXPECT_EQ(forms().get<FrmMenus>().mnuPlayNext->text(), kPlayNext);
    EXPECT_TRUE(list().bold(2));   // shown as the playing row
}

TEST_F(PlaybackTest, SwitchToNextPlaylistOpensTheNextOneAndPlaysItsFirstRow)
{
    writePlaylist(QStringLiteral("one"), {song(QStringLiteral("o1.mp3")), song(QStringLiteral("o2.mp3"))});
    writePlaylist(QStringLiteral("two"), {song(QStringLiteral("w1.mp3")), song(QStringLiteral("w2.mp3"))});
    installPlaylists();
    ASSERT_EQ(main->cmbPlaylists->count(), 3);
    main->mnuPlaylistSwitchToNext_Click();
    main->cmbPlaylists->setCurrentIndex(1);
    ASSERT_EQ(list().count(), 2);
    main->window_AddRandomFilename(QStringLiteral("/somewhere/x.mp3"));

    playRow(2);
    endSong();
    EXPECT_EQ(main->cmbPlaylists->currentIndex(), 2);
    EXPECT_EQ(player->FileName(), home(QStringLiteral("Music/w1.mp3")));
    EXPECT_EQ(main->RandomHistoryCount, 0);

    // The last playlist: the index cannot move, the same playlist starts over.
    playRow(2);
    endSong();
    EXPECT_EQ(main->cmbPlaylists->currentIndex(), 2);
    EXPECT_EQ(player->FileName(), home(QStringLiteral("Music/w1.mp3")));
}

TEST_F(PlaybackTest, RandomPlaylistDrawsOnlyRealPlaylists)
{
    writePlaylist(QStringLiteral("one"), {song(QStringLiteral("o1.mp3"))});
    writePlaylist(QStringLiteral("two"), {song(QStringLiteral("w1.mp3"))});
    installPlaylists();
    main->mnuPlaylistPickRandomAfterEnding_Click();
    main->cmbPlaylists->setCurrentIndex(1);
    for (int i = 0; i < 12; ++i) {
        playRow(list().count());
        endSong();
        const int picked = main->cmbPlaylists->currentIndex();
        ASSERT_TRUE(picked == 1 || picked == 2) << picked;
        EXPECT_EQ(main->cmbPlaylists->currentText(), picked == 1 ? QStringLiteral("one") : QStringLiteral("two"));
        EXPECT_TRUE(playing());
        EXPECT_EQ(player->FileName(), file(1));
    }
}

// A list whose only playable rows are Skip rows, with modes that would hand over without end.
TEST_F(PlaybackTest, SkipOnlyListWithRepeatStopsInsteadOfGoingRound)
{
    addSongs(1);
    setStatus(1, "Skip");
    main->mnuPlaylistRepeat_Click();
    playRow(1);
    EXPECT_FALSE(player->history.contains(QStringLiteral("Play")));
    EXPECT_EQ(player->FileName(), QStringLiteral("1"));

    main->mnuPlaylistRepeatOnce_Click();
    player->history.clear();
    playRow(1);
    EXPECT_FALSE(player->history.contains(QStringLiteral("Play")));

    // Backwards through three Skip rows: the hand-off meets Previous, which finds no Play row.
    list().clear();
    addSongs(3, QStringLiteral("b"));
    for (int r = 1; r <= 3; ++r) setStatus(r, "Skip");
    main->mnuPlaylistRepeat_Click();
    main->mnuWorkBackwardsThroughPlaylist_Click();
    player->history.clear();
    playRow(3);
    EXPECT_FALSE(player->history.contains(QStringLiteral("Play")));
}

TEST_F(PlaybackTest, SkipOnlyPlaylistsWithSwitchToNextStop)
{
    writePlaylist(QStringLiteral("one"), {song(QStringLiteral("o1.mp3"))}, QStringLiteral("Skip"));
    writePlaylist(QStringLiteral("two"), {song(QStringLiteral("w1.mp3"))}, QStringLiteral("Skip"));
    installPlaylists();
    main->mnuPlaylistSwitchToNext_Click();
    main->cmbPlaylists->setCurrentIndex(1);
    playRow(1);
    EXPECT_EQ(main->cmbPlaylists->currentIndex(), 2);
    EXPECT_FALSE(player->history.contains(QStringLiteral("Play")));
    EXPECT_EQ(player->FileName(), QStringLiteral("1"));
}

TEST_F(PlaybackTest, SkipHandOffStillReachesAPlayableRow)
{
    addSongs(3);
    setStatus(1, "Skip");
    setStatus(3, "Skip");
    main->mnuPlaylistRepeat_Click();
    playRow(3);   // handed over; Next wraps to row 1, skipped down to row 2
    EXPECT_EQ(player->FileName(), file(2));
    EXPECT_TRUE(playing());
    endSong();    // row 3 skipped at the end: the list repeats, row 1 skipped, row 2 again
    EXPECT_EQ(player->FileName(), file(2));
    EXPECT_TRUE(playing());
    EXPECT_EQ(playedLines().size(), 2);
}

TEST_F(PlaybackTest, StopClearsTheSongTheResumeAndTheMark)
{
    addSongs(3);
    const QString avi = writeFile(QStringLiteral("Music/clip.avi"), "RIFF");
    main->playlist_AddSong(QStringLiteral("V"), QStringLiteral("V"), QString(), avi);
    playRow(4);
    player->advance(20);
    tick();
    controls_SelectItem(list(), 2);
    main->mnuPlayNext_Click();
    ASSERT_EQ(main->PlayNextIndex, 2);
    main->mnuPause_Click();
    tick();

    main->mnuStop_Click();
    EXPECT_FALSE(playing());
    EXPECT_EQ(player->FileName(), QStringLiteral("1"));
    EXPECT_FALSE(main->ResumePending);
    EXPECT_EQ(main->ResumePosition, 0);
    EXPECT_TRUE(main->ResumeFilename.isEmpty());
    EXPECT_EQ(main->PlayNextIndex, 0);
    EXPECT_EQ(main->mnuPlayNext->text(), kPlayNext);
    EXPECT_EQ(list().foreColour(2, PlaylistColumn::Filename), quint32(0x80000008));
    EXPECT_EQ(main->sldPosition->value(), 0);
    EXPECT_FALSE(forms().get<FrmVideo>().VideoIsOpen);
    EXPECT_FALSE(list().bold(4));
}

TEST_F(PlaybackTest, StopWhileStoppedChangesNothing)
{
    addSongs(3);
    main->PlayNextIndex = 2;
    main->ResumePending = true;
    ASSERT_EQ(main->PlayerState, FrmMain::Playback::Stopped);
    player->history.clear();
    main->player_Stop();
    EXPECT_EQ(main->PlayNextIndex, 2);
    EXPECT_TRUE(main->ResumePending);
    EXPECT_TRUE(player->history.isEmpty());
}
