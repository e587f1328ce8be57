// Playing a row: selection checks, missing files, the row statuses, the video window, the
// per-song volume, the tag refresh, resuming, the log line and what is recorded afterwards.
#include "PlaybackFixture.h"
#include "common/PlaylistRow.h"

#include "player/FrmVideo.h"
#include "preferences/FrmAdjustVolumes.h"

#include <QCheckBox>
#include <QSlider>

using veltra::MsgIcon;

TEST_F(PlaybackTest, EmptyPlaylistEndsInTheErrorMessage)
{
    main->player_Play(1);
    ASSERT_EQ(ui.messages().size(), 1);
    const auto m = ui.messages().first();
    EXPECT_EQ(m.title, QStringLiteral("Error Playing Media File"));
    EXPECT_EQ(m.text, QStringLiteral("An error occured while trying to play the selected media file.\r\n\r\n"
                                     "This function will not continue.\r\n"));
    EXPECT_EQ(m.icon, int(MsgIcon::Exclamation));
    EXPECT_FALSE(playing());
}

TEST_F(PlaybackTest, SeveralSelectedRowsAreRefused)
{
    addSongs(3);
    list().setSelected(1, true);
    list().setSelected(2, true);
    main->player_Play(1);
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.messages().first().title, QStringLiteral("Multiple Songs Selected"));
    EXPECT_EQ(ui.messages().first().text, QStringLiteral("You have selected more than 1 song from the playlist.\r\n\r\n"
                                                         "When playing songs, you must only select 1 song at a time.\r\n"));
    EXPECT_TRUE(player->history.isEmpty());
}

TEST_F(PlaybackTest, MissingFilesAreSkippedUpToTheFirstExistingOne)
{
    main->playlist_AddSong(QStringLiteral("Gone"), QStringLiteral("Gone"), QString(), home(QStringLiteral("Music/gone.mp3")));
    addSongs(2);
    playRow(1);
    EXPECT_EQ(player->FileName(), file(2));
    EXPECT_EQ(main->CurrentTrack, 2);
    EXPECT_EQ(list().selectedRows(), QList<int>{2});
    EXPECT_TRUE(ui.messages().isEmpty());

    // From the last row on nothing exists: the files message, nothing plays.
    main->playlist_AddSong(QStringLiteral("Gone"), QStringLiteral("Gone"), QString(), home(QStringLiteral("Music/gone2.mp3")));
    player->history.clear();
    controls_SelectItem(list(), 4);
    main->player_Play(1);
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.messages().first().title, QStringLiteral("Files In Playlist Do Not Exist"));
    EXPECT_EQ(ui.messages().first().text, QStringLiteral("It has been detected that the files in this playlist do not exist.\r\n\r\n"
                                                         "Please check the files in this playlist before continuing.\r\n"));
    EXPECT_TRUE(player->history.isEmpty());
}

TEST_F(PlaybackTest, PlayOnceRowPlaysOnceThenIsSkipped)
{
    addSongs(3);
    setStatus(2, "Play Once");
    playRow(2);
    EXPECT_EQ(player->FileName(), file(2));
    EXPECT_EQ(status(2), QStringLiteral("Skip"));

    playRow(2);
    EXPECT_EQ(player->FileName(), file(3));
    EXPECT_EQ(main->CurrentTrack, 3);
}

TEST_F(PlaybackTest, SkipOnceRowBecomesPlayAndTheNextRowPlays)
{
    addSongs(3);
    setStatus(1, "Skip Once");
    playRow(1);
    EXPECT_EQ(status(1), QStringLiteral("Play"));
    EXPECT_EQ(player->FileName(), file(2));
    EXPECT_EQ(main->CurrentTrack, 2);
}

TEST_F(PlaybackTest, SkipOnceLastRowHandsOverToTheNextTrackDecision)
{
    addSongs(3);
    main->mnuPlaylistRepeat_Click();
    playRow(2);
    setStatus(3, "Skip Once");
    endSong();   // row 3 is handed over: it becomes Play, the list repeats from row 1
    EXPECT_EQ(status(3), QStringLiteral("Play"));
    EXPECT_EQ(player->FileName(), file(1));
    EXPECT_TRUE(playing());
}

TEST_F(PlaybackTest, SkipLastRowHandsOverAndARunOfSkipRowsToTheEndPlaysNothing)
{
    addSongs(4);
    setStatus(4, "Skip");
    playRow(4);   // stopped, last row skipped: Next wraps to row 1
    EXPECT_EQ(player->FileName(), file(1));

    main->mnuStop_Click();
    tick();
    setStatus(2, "Skip");
    setStatus(3, "Skip");
    player->history.clear();
    playRow(2);
    EXPECT_FALSE(player->history.contains(QStringLiteral("Play")));
    EXPECT_EQ(list().selectedRows(), QList<int>{4});
}

TEST_F(PlaybackTest, RemoveRowPlaysAndLeavesTheListThenItsFollowerPlaysNext)
{
    addSongs(4);
    setStatus(2, "Remove");
    const QString removed = file(2), follower = file(3);
    playRow(2);
    EXPECT_EQ(player->FileName(), removed);
    EXPECT_TRUE(playing());
    ASSERT_EQ(list().count(), 3);
    EXPECT_EQ(file(2), follower);
    EXPECT_EQ(list().text(2), QStringLiteral("02"));   // renumbered
    EXPECT_EQ(playedLines(), QStringList{QStringLiteral("Played A2 - T2.")});

    endSong();
    EXPECT_EQ(player->FileName(), follower);
}

TEST_F(PlaybackTest, RemoveRowTagRefreshAndRetryLeaveTheRowThatSlidUpAlone)
{
    main->playlist_AddSong(QStringLiteral("A1"), QStringLiteral("T1"), QString(), song(QStringLiteral("one.mp3")));
    main->playlist_AddSong(QStringLiteral("A2"), QStringLiteral("T2"), QString(),
                           song(QStringLiteral("two.mp3"), QStringLiteral("Tag Artist"), QStringLiteral("Tag Title")));
    main->playlist_AddSong(QStringLiteral("A3"), QStringLiteral("T3"), QStringLiteral("1999"), song(QStringLiteral("three.mp3")));
    controls_RenumberItems(list());
    main->mnuTagsShowTagsAsFilesArePlayed->setChecked(true);
    main->mnuTagsUseID3v2Tags->setChecked(true);
    setStatus(2, "Remove");
    const QString playingFile = file(2);
    player->refusePlays = 1;   // the first start fails: the one retry runs

    playRow(2);
    ASSERT_EQ(list().count(), 2);
    EXPECT_EQ(list().subItem(2, PlaylistColumn::Artist), QStringLiteral("A3"));
    EXPECT_EQ(list().subItem(2, PlaylistColumn::Title), QStringLiteral("T3"));
    EXPECT_EQ(list().subItem(2, PlaylistColumn::Year), QStringLiteral("1999"));
    const QStringList loads = player->history.filter(QStringLiteral("FileName="));
    EXPECT_EQ(loads, QStringList({QStringLiteral("FileName=") + playingFile, QStringLiteral("FileName=") + playingFile}));
    EXPECT_TRUE(playing());
}

TEST_F(PlaybackTest, TagRefreshReadsTheFileByItsOwnPath)
{
    // A path with capitals: its lower-cased copy names no file on Linux.
    const QString path = home(QStringLiteral("Music/Upper Case/Song.MP3"));
    mp3maker::Song s;
    s.artist = QStringLiteral("Tag Artist");
    s.year = QStringLiteral("2001");
    s.id3v1 = true;
    s.id3v2 = false;
    ASSERT_TRUE(mp3maker::makeMp3(path, s));
    main->playlist_AddSong(QStringLiteral("Old"), QStringLiteral("Old"), QString(), path);
    main->mnuTagsShowTagsAsFilesArePlayed->setChecked(true);
    main->mnuTagsUseID3v2Tags->setChecked(false);

    playRow(1);
    EXPECT_TRUE(ui.messages().isEmpty());
    EXPECT_EQ(list().subItem(1, PlaylistColumn::Artist), QStringLiteral("Tag Artist"));
    EXPECT_EQ(list().subItem(1, PlaylistColumn::Title), QStringLiteral("[None]"));   // no title in the tag
    EXPECT_EQ(list().subItem(1, PlaylistColumn::Year), QStringLiteral("2001"));
    // The log line names the row's texts as they were when the song started.
    EXPECT_EQ(playedLines(), QStringList{QStringLiteral("Played Old - Old.")});
}

TEST_F(PlaybackTest, VideoWindowShowsForVideoTypesOnly)
{
    const QString avi = writeFile(QStringLiteral("Music/clip.avi"), "RIFF");
    const QString mpgUpper = writeFile(QStringLiteral("Music/CLIP2.MPG"), "mpeg");
    main->playlist_AddSong(QStringLiteral("V"), QStringLiteral("1"), QString(), avi);
    addSongs(1);
    main->playlist_AddSong(QStringLiteral("V"), QStringLiteral("2"), QString(), mpgUpper);
    FrmVideo& video = forms().get<FrmVideo>();

    playRow(1);
    EXPECT_TRUE(video.VideoIsOpen);
    EXPECT_TRUE(video.isVisible());
    playRow(2);
    EXPECT_FALSE(video.VideoIsOpen);
    EXPECT_FALSE(video.isVisible());
    EXPECT_TRUE(playing());
    playRow(3);
    EXPECT_TRUE(video.VideoIsOpen);
    main->mnuStop_Click();
    EXPECT_FALSE(video.VideoIsOpen);
}

TEST_F(PlaybackTest, StoredVolumesInARowKeepTheUsersOwnVolume)
{
    main->sldVolume->setValue(80);
    main->player_AdjustVolume(30);   // song A
    EXPECT_EQ(main->sldVolume->value(), 30);
    EXPECT_EQ(player->Volume(), 30 * 60 - 6000);
    EXPECT_EQ(main->VolumeBeforeAdjust, 80);
    main->player_AdjustVolume(50);   // song B
    EXPECT_EQ(main->sldVolume->value(), 50);
    EXPECT_EQ(main->VolumeBeforeAdjust, 80);
    main->player_AdjustVolume(-1);   // song C: none stored
    EXPECT_EQ(main->sldVolume->value(), 80);
    EXPECT_EQ(player->Volume(), 80 * 60 - 6000);
    EXPECT_EQ(main->VolumeBeforeAdjust, -1);
    main->player_AdjustVolume(-1);
    EXPECT_EQ(main->sldVolume->value(), 80);
}

TEST_F(PlaybackTest, StartingASongWithoutAStoredVolumeRestoresTheUsersVolume)
{
    addSongs(1);
    main->sldVolume->setValue(30);
    main->VolumeBeforeAdjust = 80;
    forms().get<FrmAdjustVolumes>().chkAlwaysAdjust->setChecked(false);
    playRow(1);
    EXPECT_EQ(main->sldVolume->value(), 30);   // the per-song volumes are off

    forms().get<FrmAdjustVolumes>().chkAlwaysAdjust->setChecked(true);
    playRow(1);
    EXPECT_EQ(main->sldVolume->value(), 80);
    EXPECT_EQ(main->VolumeBeforeAdjust, -1);
}

TEST_F(PlaybackTest, ResumedSongRestartsAtItsWholeSecondUnloggedAndUncounted)
{
    addSongs(2);
    playRow(1);
    player->advance(12.5);
    main->mnuPause_Click();
    tick();
    ASSERT_TRUE(main->ResumePending);
    const int logged = playedLines().size();

    playRow(2);   // Play while a song waits: that song goes on instead
    EXPECT_EQ(player->FileName(), file(1));
    EXPECT_DOUBLE_EQ(player->CurrentPosition(), 12.0);
    EXPECT_TRUE(playing());
    EXPECT_FALSE(main->ResumePending);
    EXPECT_TRUE(main->ResumeFilename.isEmpty());
    EXPECT_EQ(playedLines().size(), logged);
    EXPECT_EQ(main->RandomHistoryCount, 0);
}

TEST_F(PlaybackTest, PlayingLogsTheRowAndOnlyRandomPicksEnterTheHistory)
{
    addSongs(3);
    playRow(1, 1);
    playRow(2, 2);
    EXPECT_EQ(main->RandomHistoryCount, 0);
    playRow(3, 0);
    EXPECT_EQ(main->RandomHistoryCount, 1);
    EXPECT_EQ(main->RandomHistory.value(1), file(3));   // kept as it is, letter case and all
    EXPECT_EQ(playedLines(), QStringList({QStringLiteral("Played A1 - T1."), QStringLiteral("Played A2 - T2."),
                                          QStringLiteral("Played A3 - T3.")}));
    EXPECT_EQ(main->NowPlayingInfo[0], QStringLiteral("A3"));
    EXPECT_EQ(main->NowPlayingInfo[1], QStringLiteral("T3"));
    EXPECT_EQ(main->NowPlayingInfo[2], file(3));
    EXPECT_TRUE(list().bold(3));
    EXPECT_FALSE(list().bold(2));
}
