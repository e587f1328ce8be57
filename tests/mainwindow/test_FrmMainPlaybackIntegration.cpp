// The real main window with the real GStreamer player on a private PulseAudio null sink:
// a playlist of three short MP3s plays from the first row to the last with nothing done
// between the songs, and stops after the last by the default end-of-list mode; a video in
// Full mode moves the video window's sliders; a stored volume is heard from the first sample.
// Skipped where GStreamer's elements or PulseAudio are missing.
#include "common/FrmConsole.h"
#include "common/ListView.h"
#include "common/modControls.h"
#include "common/modSettings.h"
#include "controls/ControlPiece.h"
#include "controls/ControlTestSupport.h"
#include "controls/ctlQX_wScrollbar.h"
#include "platform/MediaPlayerFactory.h"
#include "platform/GstMediaPlayerControl.h"
#include "platform/VideoFrameWidget.h"
#include "mainwindow/FrmMain.h"
#include "player/FrmVideo.h"
#include "preferences/FrmAdjustVolumes.h"
#include "startup/Forms.h"
#include "support/GeneratedMedia.h"
#include "support/Mp3Maker.h"
#include "support/PulseNullSink.h"
#include "support/RealPlayerFixture.h"
#include "support/TestEnv.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QLabel>
#include <QSlider>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cmath>

class PlaybackOnNullSinkTest : public RealPlayerFixture<VeltraTest> {
protected:

};

TEST_F(PlaybackOnNullSinkTest, PlaysThePlaylistFromTheFirstRowToTheLastUnattended)
{
    FrmMain& main = forms().get<FrmMain>();
    // The modes start-up ticks when settings.ini holds none.
    main.mnuPlayingGoThroughPlaylistNormally_Click();
    main.mnuWorkForwardThroughList_Click();
    main.mnuPlaylistStopAfterEnding_Click();
    FrmConsole& console = forms().get<FrmConsole>();
    console.LoggingEnabled = true;

    for (int i = 1; i <= 3; ++i) {
        mp3maker::Song s;
        s.seconds = 2.0;
        const QString path = home(QStringLiteral("Music/song%1.mp3").arg(i));
        ASSERT_TRUE(mp3maker::makeMp3(path, s));
        main.playlist_AddSong(QStringLiteral("Artist %1").arg(i), QStringLiteral("Title %1").arg(i), QString(), path);
    }
    controls_RenumberItems(main.rows());
    main.tmrPosition->start();   // as start-up does: PlayerState follows the player

    controls_SelectItem(main.rows(), 1);
    main.mnuPlay_Click();

    veltra::MediaPlayerControl& player = main.wmpPlayer();
    QStringList played;
    QDeadlineTimer deadline(25000);
    auto finished = [&] {
        played = console.Text().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts).filter(QStringLiteral("Played "));
        return played.size() == 3 && player.FileName() == QLatin1String("1")
               && player.PlayState() != veltra::MediaPlayerControl::State::Playing;
    };
    while (!finished() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    EXPECT_EQ(played, QStringList({QStringLiteral("Played Artist 1 - Title 1."), QStringLiteral("Played Artist 2 - Title 2."),
                                   QStringLiteral("Played Artist 3 - Title 3.")}));
    EXPECT_EQ(player.FileName(), QStringLiteral("1"));   // stopped after the last row, nothing loaded
    EXPECT_EQ(main.CurrentTrack, 3);
    EXPECT_TRUE(ui.messages().isEmpty());
    processEvents(600);   // one more position tick sees the player stopped
    EXPECT_EQ(main.PlayerState, FrmMain::Playback::Stopped);
}

// A click on the position slider's groove moves it a page, to its end: the song ends and the
// next one starts, every time. The songs' lengths put the slider's end (the length in whole
// seconds) 23, 16, 4 and 1 ms before the song's end, onto it, and 7 ms past it. The sound
// server's clock stands still there the more often the longer the song has played.
TEST_F(PlaybackOnNullSinkTest, APageStepToTheSlidersEndStartsTheNextSong)
{
    FrmMain& main = forms().get<FrmMain>();
    main.mnuPlayingGoThroughPlaylistNormally_Click();
    main.mnuWorkForwardThroughList_Click();
    main.mnuPlaylistStopAfterEnding_Click();
    const struct {
        int frames;
        int sampleRate;
    } songs[] = {{154, 44100}, {192, 44100}, {115, 44100}, {268, 44100}, {250, 48000}, {306, 44100}};
    const int count = int(std::size(songs));
    for (int i = 0; i < count; ++i) {
        const QString path = home(QStringLiteral("Music/song%1.mp3").arg(i + 1));
        ASSERT_TRUE(mp3maker::makeMp3(path, {.seconds = songs[i].frames * 1152.0 / songs[i].sampleRate,
                                             .sampleRate = songs[i].sampleRate, .vbr = mp3maker::Vbr::Xing}));
        main.playlist_AddSong(QStringLiteral("Artist"), QStringLiteral("Title %1").arg(i + 1), QString(), path);
    }
    controls_RenumberItems(main.rows());
    // Other programs' sound on the same server, as on a desktop: the stall comes more often.
    const QString other = home(QStringLiteral("other.mp3"));
    ASSERT_TRUE(mp3maker::makeMp3(other, {.seconds = 600}));
    veltra::GstMediaPlayerControl otherPrograms[3];
    for (veltra::GstMediaPlayerControl& program : otherPrograms) {
        program.setFileName(other);
        program.Play();
    }
    main.tmrPosition->start();
    veltra::MediaPlayerControl& player = main.wmpPlayer();
    auto playing = [&](int row) {
        QDeadlineTimer deadline(6000);
        while (!deadline.hasExpired()) {
            if (main.CurrentTrack == row && player.PlayState() == veltra::MediaPlayerControl::State::Playing
                && player.Duration() > 0 && player.CurrentPosition() >= 1.5
                && main.sldPosition->maximum() == std::lround(player.Duration()))
                return true;
            processEvents(10);
        }
        return false;
    };

    for (int pass = 0; pass < 4; ++pass) {
        controls_SelectItem(main.rows(), 1);
        main.mnuPlay_Click();
        for (int row = 1; row <= count; ++row) {
            if (!playing(row)) {
                ADD_FAILURE() << "pass " << pass << ": song " << row << " did not start; song " << main.CurrentTrack
                              << " stands at " << player.CurrentPosition() << " s";
                break;
            }
            main.sldPosition->triggerAction(QAbstractSlider::SliderPageStepAdd);
        }
        QDeadlineTimer deadline(5000);   // the last song ends and the list stops
        while (player.FileName() != QLatin1String("1") && !deadline.hasExpired()) processEvents(10);
        EXPECT_EQ(player.FileName(), QStringLiteral("1"));
        main.mnuStop_Click();
        processEvents(600);   // a position tick resets the slider
    }
    EXPECT_TRUE(ui.messages().isEmpty());
}

// Full mode: as the position timer runs, the video window's position slider follows the
// video; its volume slider drives the main window's and the player, and the main window's
// balance slider moves the video window's.
TEST_F(PlaybackOnNullSinkTest, TheVideoWindowsSlidersFollowTheVideoAndTheMainWindow)
{
    QString why;
    QDir().mkpath(home(QStringLiteral("Music")));
    const QString clip = home(QStringLiteral("Music/clip.mpg"));
    if (!testmedia::make(QStringLiteral("mpg"), clip, 4, &why)) GTEST_SKIP() << why.toStdString();
    settings_WriteValue(QStringLiteral("Settings"), QStringLiteral("StartVideoinFullModeWhenPlayingVideo"), QStringLiteral("1"));
    FrmMain& main = forms().get<FrmMain>();
    FrmVideo& video = forms().get<FrmVideo>();
    main.sldVolume->setValue(50);
    video.qxsVolume->setValue(50);
    main.playlist_AddSong(QStringLiteral("Clip"), QStringLiteral("Test picture"), QString(), clip);
    controls_RenumberItems(main.rows());
    main.tmrPosition->start();
    controls_SelectItem(main.rows(), 1);
    main.mnuPlay_Click();

    QDeadlineTimer deadline(15000);
    while (video.qxsPosition->value() < 2 && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    ASSERT_GE(video.qxsPosition->value(), 2);
    EXPECT_TRUE(video.isVisible());
    EXPECT_TRUE(video.isMaximized());
    EXPECT_EQ(video.qxsPosition->Max(), 4);   // the clip's length in whole seconds
    EXPECT_GT(video.qxsPosition->thumbPosition(), 0);
    for (QWidget* w : std::initializer_list<QWidget*>{video.lblVolume, video.qxsVolume, video.lblBalance, video.qxsBalance,
                                                      video.lblPosition, video.qxsPosition})
        EXPECT_TRUE(w->isVisible()) << w->objectName().toStdString();

    QWidget* track = video.qxsVolume->picBack();
    const int grip = video.qxsVolume->thumbPosition() + video.qxsVolume->thumbWidth() / 2;
    controltest::press(track, {grip, 6});
    controltest::move(track, {video.qxsVolume->trackWidth() / 4, 6});
    controltest::release(track, {video.qxsVolume->trackWidth() / 4, 6});
    processEvents(20);
    const int volume = video.qxsVolume->value();
    EXPECT_LT(volume, 40);
    EXPECT_EQ(main.sldVolume->value(), volume);
    EXPECT_EQ(main.wmpPlayer().Volume(), volume * 60 - 6000);

    main.sldBalance->setValue(50);
    main.sldBalance->triggerAction(QAbstractSlider::SliderPageStepAdd);
    processEvents(50);
    EXPECT_GT(main.sldBalance->value(), 50);
    EXPECT_EQ(video.qxsBalance->value(), main.sldBalance->value());
}

// The first 200 ms of each song on the sink, 20 ms at a time, at the level it should have: the
// stored volume (18 on the slider, 49.2 dB down) from the first sample, then the user's own
// again from the first sample of a song with none stored.
TEST_F(PlaybackOnNullSinkTest, AStoredVolumeIsHeardFromTheFirstSample)
{
    if (!testmedia::toolPresent(QStringLiteral("lame")) || !testmedia::toolPresent(QStringLiteral("sox"))) GTEST_SKIP() << "sox and lame are needed to make the MP3s";
    FrmMain& main = forms().get<FrmMain>();
    FrmAdjustVolumes& volumes = forms().get<FrmAdjustVolumes>();
    volumes.chkAlwaysAdjust->setChecked(true);
    volumes.chkAlwaysAdjust_Click();
    QDir().mkpath(home(QStringLiteral("Music")));
    const QString stored = home(QStringLiteral("Music/stored.mp3")), own = home(QStringLiteral("Music/own.mp3"));
    QString why;
    ASSERT_TRUE(testmedia::makeStereoMp3(stored, 1.5, 0.5, &why)) << why.toStdString();
    ASSERT_TRUE(testmedia::makeStereoMp3(own, 1.5, 0.5, &why)) << why.toStdString();
    main.playlist_AddSong(QStringLiteral("Quiet"), QStringLiteral("Stored"), QString(), stored);
    main.playlist_AddSong(QStringLiteral("Loud"), QStringLiteral("Own"), QString(), own);
    controls_RenumberItems(main.rows());
    volumes.volumes_Add(QStringLiteral("Quiet"), QStringLiteral("Stored"), 18, stored);
    main.sldVolume->setValue(100);
    main.player_Volume(100);

    constexpr double kPeak = 0.5 * 32767;
    const struct {
        int row;
        double peak;
    } songs[] = {{1, kPeak * std::pow(10.0, (18 * 60 - 6000) / 2000.0)}, {2, kPeak}};
    for (const auto& song : songs) {
        SCOPED_TRACE(song.row);
        ASSERT_TRUE(pulse.startRecording(&why)) << why.toStdString();
        controls_SelectItem(main.rows(), song.row);
        main.mnuPlay_Click();
        QDeadlineTimer deadline(10000);
        while (main.wmpPlayer().CurrentPosition() < 0.6 && !deadline.hasExpired()) processEvents(10);
        main.mnuStop_Click();
        processEvents(300);   // what was under way reaches the monitor before the next song
        const QByteArray samples = pulse.stopRecording();
        const auto* frames = reinterpret_cast<const qint16*>(samples.constData());
        const qsizetype count = samples.size() / 4;
        qsizetype first = 0;   // the first sample heard (the sink renders nothing before it)
        while (first < count && std::max(std::abs(frames[2 * first]), std::abs(frames[2 * first + 1])) <= 8) ++first;
        constexpr qsizetype kBlock = 882;   // 20 ms
        ASSERT_GE(count - first, 10 * kBlock);
        for (int b = 0; b < 10; ++b) {
            int peak = 0;
            for (qsizetype i = first + b * kBlock; i < first + (b + 1) * kBlock; ++i)
                peak = std::max({peak, std::abs(int(frames[2 * i])), std::abs(int(frames[2 * i + 1]))});
            EXPECT_GT(peak, song.peak * 0.7) << "block " << b;
            EXPECT_LT(peak, song.peak * 1.3) << "block " << b;
        }
    }
    EXPECT_TRUE(ui.messages().isEmpty());
}
