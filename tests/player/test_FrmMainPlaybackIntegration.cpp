// The real main window with the real GStreamer player on a private PulseAudio null sink:
// a playlist of three short MP3s plays from the first row to the last with nothing done
// between the songs, and stops after the last by the default end-of-list mode. Skipped where
// GStreamer's elements or PulseAudio are missing.
#include "common/FrmConsole.h"
#include "common/ListView.h"
#include "common/modControls.h"
#include "platform/MediaPlayerFactory.h"
#include "platform/GstMediaPlayerControl.h"
#include "platform/VideoFrameWidget.h"
#include "player/FrmMain.h"
#include "startup/Forms.h"
#include "support/Mp3Maker.h"
#include "support/PulseNullSink.h"
#include "support/TestEnv.h"

#include <QAction>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <QTimer>

class PlaybackOnNullSinkTest : public VeltraTest {
protected:
    void SetUp() override
    {
        VeltraTest::SetUp();
        veltra::setMediaPlayerFactory(nullptr);   // the real player
        if (!veltra::GstMediaPlayerControl::isAvailable()) GTEST_SKIP() << "GStreamer or its elements are missing";
        if (!PulseNullSink::toolsPresent()) GTEST_SKIP() << "PulseAudio (pulseaudio, pactl, parec) is missing";
        QString why;
        ASSERT_TRUE(pulse.start(&why)) << why.toStdString();
    }

    void TearDown() override
    {
        forms().unloadAll();   // the player goes before its sound server
        pulse.stop();
        VeltraTest::TearDown();
    }

    PulseNullSink pulse;
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
