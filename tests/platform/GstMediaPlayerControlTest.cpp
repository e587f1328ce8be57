// The real player on GStreamer, playing through a private PulseAudio server's null sink whose
// monitor is recorded to hear what came out. Skipped where GStreamer's elements, PulseAudio
// or the tools that make the media are missing; the CI machine has them all.
#include "platform/GstMediaPlayerControl.h"
#include "platform/VideoFrameWidget.h"
#include "support/GeneratedMedia.h"
#include "support/Mp3Maker.h"
#include "support/PulseNullSink.h"
#include "support/TestEnv.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QElapsedTimer>
#include <QThread>

#include <gst/gst.h>

#include <cmath>
#include <functional>
#include <memory>

using veltra::GstMediaPlayerControl;

namespace {

bool waitFor(const std::function<bool()>& done, int ms)
{
    QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
    return true;
}

// The generated MP3s peak at half of full scale.
constexpr double kAmplitude = 0.5;
constexpr double kFullScale = 32767;

} // namespace

TEST(GstMediaPlayerControlNumbers, VolumeAndBalanceMapToLevelAndPanorama)
{
    EXPECT_DOUBLE_EQ(GstMediaPlayerControl::volumeToLevel(0), 1.0);
    EXPECT_NEAR(GstMediaPlayerControl::volumeToLevel(-2000), 0.1, 1e-12);
    EXPECT_NEAR(GstMediaPlayerControl::volumeToLevel(-6000), 0.001, 1e-12); // slider at 0
    EXPECT_NEAR(GstMediaPlayerControl::volumeToLevel(-3000), std::pow(10.0, -1.5), 1e-12);
    EXPECT_EQ(GstMediaPlayerControl::volumeToLevel(-10000), 0.0);
    EXPECT_EQ(GstMediaPlayerControl::volumeToLevel(-20000), 0.0);
    EXPECT_DOUBLE_EQ(GstMediaPlayerControl::volumeToLevel(500), 1.0); // never louder than the file

    EXPECT_EQ(GstMediaPlayerControl::balanceToPanorama(-5000), -1.0);
    EXPECT_EQ(GstMediaPlayerControl::balanceToPanorama(0), 0.0);
    EXPECT_EQ(GstMediaPlayerControl::balanceToPanorama(2500), 0.5);
    EXPECT_EQ(GstMediaPlayerControl::balanceToPanorama(5000), 1.0);
    EXPECT_EQ(GstMediaPlayerControl::balanceToPanorama(-9000), -1.0);
}

class GstMediaPlayerControlTest : public VeltraTest {
protected:
    void SetUp() override
    {
        VeltraTest::SetUp();
        if (!GstMediaPlayerControl::isAvailable()) GTEST_SKIP() << "GStreamer or its elements are missing";
        makePlayer();
    }

    void makePlayer()
    {
        player = std::make_unique<GstMediaPlayerControl>();
        QObject::connect(player.get(), &veltra::MediaPlayerControl::EndOfStream, [this] { ++ends; });
        QObject::connect(player.get(), &veltra::MediaPlayerControl::Error,
                         [this](const QString& message) { errors << message; });
    }

    void TearDown() override
    {
        player.reset();
        VeltraTest::TearDown();
    }

    std::unique_ptr<GstMediaPlayerControl> player;
    int ends = 0;
    QStringList errors;
};

// Loading waits for GStreamer's answer, so a refusal is seen right after Play, before the
// event loop runs: PlayState stays 0, and nothing is reported later as an error or an end.
TEST_F(GstMediaPlayerControlTest, AFileGStreamerRefusesIsSeenAtOnceAndLeavesThePlayerEmpty)
{
    QDir().mkpath(home(QStringLiteral("a folder.mp3")));
    const struct {
        const char* what;
        QString path;
    } refused[] = {
        {"missing", home(QStringLiteral("missing.mp3"))},
        {"words under a media name", writeFile(QStringLiteral("not a song.mp3"), QByteArray("just some words\r\n").repeated(200))},
        {"empty", writeFile(QStringLiteral("empty.mp3"), QByteArray())},
        {"a folder", home(QStringLiteral("a folder.mp3"))},
    };
    for (const auto& file : refused) {
        SCOPED_TRACE(file.what);
        QElapsedTimer took;
        took.start();
        player->setFileName(file.path);
        EXPECT_LT(took.elapsed(), GstMediaPlayerControl::kLoadWaitMs + 1000);
        player->Play();
        EXPECT_EQ(player->PlayState(), veltra::MediaPlayerControl::State::Stopped);
        EXPECT_FALSE(player->refusal().isEmpty());
        EXPECT_EQ(player->FileName(), file.path);
        GstState state = GST_STATE_VOID_PENDING;
        gst_element_get_state(player->pipeline(), &state, nullptr, 0);
        EXPECT_EQ(state, GST_STATE_NULL);
    }
    waitFor([] { return false; }, 500);
    EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
    EXPECT_EQ(ends, 0);
}

// The bus handler drops every message; it must give back the bus's reference, or each
// message (and what it points to) lives for ever: about 130 KB a song.
TEST_F(GstMediaPlayerControlTest, MessagesDroppedFromTheBusAreReleased)
{
    GstBus* bus = gst_element_get_bus(player->pipeline());
    for (GstMessage* message : {gst_message_new_application(nullptr, gst_structure_new_empty("veltra-test")),
                                gst_message_new_eos(nullptr)}) {
        gst_message_ref(message);   // ours, to look at it afterwards
        gst_bus_post(bus, message);
        processEvents(50);          // the queued copy of the end of stream is handled
        EXPECT_EQ(GST_MINI_OBJECT_REFCOUNT_VALUE(message), 1) << GST_MESSAGE_TYPE_NAME(message);
        gst_message_unref(message);
    }
    gst_object_unref(bus);
}

// Plays through the private PulseAudio server.
class PlayerOnNullSinkTest : public GstMediaPlayerControlTest {
protected:
    void SetUp() override
    {
        VeltraTest::SetUp();
        if (!GstMediaPlayerControl::isAvailable()) GTEST_SKIP() << "GStreamer or its elements are missing";
        if (!PulseNullSink::toolsPresent()) GTEST_SKIP() << "PulseAudio (pulseaudio, pactl, parec) is missing";
        QString why;
        ASSERT_TRUE(pulse.start(&why)) << why.toStdString();
        makePlayer();
    }

    void TearDown() override
    {
        player.reset();
        pulse.stop();
        VeltraTest::TearDown();
    }

    QString stereoMp3(double seconds = 2)
    {
        if (!testmedia::toolPresent(QStringLiteral("lame"))) return QString();
        const QString path = home(QStringLiteral("stereo.mp3"));
        QString why;
        if (!testmedia::makeStereoMp3(path, seconds, kAmplitude, &why)) {
            ADD_FAILURE() << why.toStdString();
            return QString();
        }
        return path;
    }

    bool playToEnd(int ms = 20000)
    {
        const int before = ends;
        player->Play();
        return waitFor([&] { return ends > before || !errors.isEmpty(); }, ms) && errors.isEmpty();
    }

    // Plays the loaded file to its end while recording what reaches the sink.
    StereoLevels playAndRecord()
    {
        QString why;
        if (!pulse.startRecording(&why)) {
            ADD_FAILURE() << why.toStdString();
            return {};
        }
        const bool ended = playToEnd();
        EXPECT_TRUE(ended) << errors.join(u'\n').toStdString();
        // The end is reported as the last samples are played; let them reach the monitor.
        waitFor([] { return false; }, 300);
        return StereoLevels::of(pulse.stopRecording());
    }

    PulseNullSink pulse;
};

#define REQUIRE_MP3(path)                                                              \
    const QString path = stereoMp3();                                                  \
    if (path.isEmpty()) {                                                              \
        if (HasFailure()) return;                                                      \
        GTEST_SKIP() << "sox and lame are needed to make the MP3";                     \
    }

TEST_F(PlayerOnNullSinkTest, PlaysAStereoMp3ToItsEndWithThePositionAdvancing)
{
    REQUIRE_MP3(mp3);
    player->setFileName(mp3);
    EXPECT_EQ(player->FileName(), mp3);
    EXPECT_EQ(player->PlayState(), veltra::MediaPlayerControl::State::Stopped);
    // Loading opens the file: its length is known before it plays.
    ASSERT_TRUE(waitFor([&] { return player->Duration() > 0; }, 10000));
    EXPECT_NEAR(player->Duration(), 2.0, 0.15);

    QString why;
    ASSERT_TRUE(pulse.startRecording(&why)) << why.toStdString();
    player->Play();
    EXPECT_EQ(player->PlayState(), veltra::MediaPlayerControl::State::Playing);
    ASSERT_TRUE(waitFor([&] { return player->CurrentPosition() >= 0.5; }, 10000));
    EXPECT_LT(player->CurrentPosition(), 2.0);
    EXPECT_EQ(player->PlayState(), veltra::MediaPlayerControl::State::Playing);
    EXPECT_EQ(ends, 0);

    ASSERT_TRUE(waitFor([&] { return ends > 0 || !errors.isEmpty(); }, 20000));
    EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
    waitFor([] { return false; }, 300);
    const StereoLevels levels = StereoLevels::of(pulse.stopRecording());
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(player->PlayState(), veltra::MediaPlayerControl::State::Stopped);
    EXPECT_NEAR(player->CurrentPosition(), player->Duration(), 0.01);

    // Both channels sounded at the file's own level for about the file's length.
    EXPECT_NEAR(levels.peakLeft, kAmplitude * kFullScale, 0.1 * kAmplitude * kFullScale);
    EXPECT_NEAR(levels.peakRight, kAmplitude * kFullScale, 0.1 * kAmplitude * kFullScale);
    EXPECT_NEAR(levels.soundFrames / 44100.0, 2.0, 0.2);

    // Played to the end, Play starts it again from the beginning.
    ASSERT_TRUE(playToEnd()) << errors.join(u'\n').toStdString();
    EXPECT_EQ(ends, 2);
}

TEST_F(PlayerOnNullSinkTest, BalanceFullyToOneSideSilencesTheOtherChannel)
{
    REQUIRE_MP3(mp3);
    player->setBalance(-5000);
    EXPECT_EQ(player->Balance(), -5000);
    player->setFileName(mp3);
    StereoLevels levels = playAndRecord();
    EXPECT_GT(levels.soundFrames, 44100);
    EXPECT_NEAR(levels.peakLeft, kAmplitude * kFullScale, 0.1 * kAmplitude * kFullScale);
    EXPECT_EQ(levels.peakRight, 0);

    // Set while loaded, the other way round.
    player->setBalance(5000);
    levels = playAndRecord();
    EXPECT_GT(levels.soundFrames, 44100);
    EXPECT_EQ(levels.peakLeft, 0);
    EXPECT_NEAR(levels.peakRight, kAmplitude * kFullScale, 0.1 * kAmplitude * kFullScale);
}

TEST_F(PlayerOnNullSinkTest, TheMuteLevelIsSilenceAndTheVolumeSlidersMinimumIsVeryQuiet)
{
    REQUIRE_MP3(mp3);
    player->setVolume(-10000);
    player->setFileName(mp3);
    StereoLevels levels = playAndRecord();
    EXPECT_GT(levels.frames, 44100 * 3 / 2); // the recording covered the song
    EXPECT_EQ(levels.peakLeft, 0);
    EXPECT_EQ(levels.peakRight, 0);

    // 0 on the volume slider: 60 dB down, a thousandth of the level.
    player->setVolume(-6000);
    EXPECT_EQ(player->Volume(), -6000);
    levels = playAndRecord();
    const double expected = kAmplitude * kFullScale / 1000;
    EXPECT_GT(levels.peakLeft, expected / 2);
    EXPECT_LT(levels.peakLeft, expected * 2);
    EXPECT_GT(levels.peakRight, expected / 2);
    EXPECT_LT(levels.peakRight, expected * 2);
}

TEST_F(PlayerOnNullSinkTest, ASeekAskedRightAfterLoadingIsAppliedOnceTheFileIsReady)
{
    REQUIRE_MP3(mp3);
    // The resume of a paused song: FileName, Play, CurrentPosition in a row.
    player->setFileName(mp3);
    player->Play();
    player->setCurrentPosition(1.2);
    EXPECT_DOUBLE_EQ(player->CurrentPosition(), 1.2);
    double lowest = 10;
    ASSERT_TRUE(waitFor(
        [&] {
            lowest = std::min(lowest, player->CurrentPosition());
            return player->CurrentPosition() >= 1.4 || ends > 0;
        },
        10000));
    EXPECT_GE(lowest, 1.15);
    EXPECT_EQ(ends, 0);

    // Paused, the position stands still; Play goes on from there to the end.
    player->Pause();
    EXPECT_EQ(player->PlayState(), veltra::MediaPlayerControl::State::Paused);
    waitFor([] { return false; }, 200);
    const double held = player->CurrentPosition();
    waitFor([] { return false; }, 500);
    EXPECT_NEAR(player->CurrentPosition(), held, 0.05);
    EXPECT_LT(held, 2.0);
    ASSERT_TRUE(playToEnd()) << errors.join(u'\n').toStdString();
    EXPECT_EQ(ends, 1);
}

// A seek into the last milliseconds, onto the end or past it ends the file as its natural end
// does. The sound server's clock sometimes stands still there, the more often the longer the
// song has played, so each seek is tried 20 times, the five side by side on their own players.
TEST_F(PlayerOnNullSinkTest, ASeekToTheEndOrPastItEndsTheFile)
{
    const QString mp3 = home(QStringLiteral("tail.mp3"));
    ASSERT_TRUE(mp3maker::makeMp3(mp3, {.seconds = 3.0}));
    struct Seek {
        const char* what;
        double fromEnd;
        std::unique_ptr<GstMediaPlayerControl> player = std::make_unique<GstMediaPlayerControl>();
        int tries = 0, ends = 0;
        QElapsedTimer sought{};
        void start(const QString& path)
        {
            player->setFileName(path);
            player->Play();
            sought.invalidate();
        }
    } seeks[] = {{"20 ms before the end", -0.020}, {"5 ms before the end", -0.005}, {"1 ms before the end", -0.001},
                 {"the end", 0}, {"past the end", 1.0}};
    for (Seek& seek : seeks) {
        QObject::connect(seek.player.get(), &veltra::MediaPlayerControl::EndOfStream, [&seek] { ++seek.ends; });
        QObject::connect(seek.player.get(), &veltra::MediaPlayerControl::Error,
                         [this](const QString& message) { errors << message; });
        seek.start(mp3);
    }
    const bool done = waitFor(
        [&] {
            bool all = true;
            for (Seek& seek : seeks) {
                if (seek.tries == 20) continue;
                all = false;
                if (!seek.sought.isValid()) {
                    if (seek.player->Duration() > 0 && seek.player->CurrentPosition() >= 1.0) {
                        seek.player->setCurrentPosition(seek.player->Duration() + seek.fromEnd);
                        seek.sought.start();
                    }
                } else if (seek.player->PlayState() == veltra::MediaPlayerControl::State::Stopped
                           || seek.sought.hasExpired(5000)) {
                    if (++seek.tries < 20) seek.start(mp3);
                }
            }
            return all;
        },
        300000);
    ASSERT_TRUE(done);
    waitFor([] { return false; }, 300);   // no second end comes after
    for (const Seek& seek : seeks) {
        SCOPED_TRACE(seek.what);
        EXPECT_EQ(seek.ends, 20);
        EXPECT_EQ(seek.player->PlayState(), veltra::MediaPlayerControl::State::Stopped);
    }
    EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
}

TEST_F(PlayerOnNullSinkTest, StopEndsPlayingWithoutAnEndOfStreamAndPlayStartsFromTheBeginning)
{
    REQUIRE_MP3(mp3);
    player->setFileName(mp3);
    player->Play();
    ASSERT_TRUE(waitFor([&] { return player->CurrentPosition() >= 0.5; }, 10000));
    player->Stop();
    EXPECT_EQ(player->PlayState(), veltra::MediaPlayerControl::State::Stopped);
    EXPECT_EQ(player->CurrentPosition(), 0.0);
    EXPECT_NEAR(player->Duration(), 2.0, 0.15);
    waitFor([] { return false; }, 2500);
    EXPECT_EQ(ends, 0);

    player->Play();
    EXPECT_EQ(player->PlayState(), veltra::MediaPlayerControl::State::Playing);
    ASSERT_TRUE(waitFor([&] { return player->CurrentPosition() > 0.1; }, 10000));
    EXPECT_LT(player->CurrentPosition(), 1.5);
    ASSERT_TRUE(waitFor([&] { return ends > 0; }, 20000));
    EXPECT_EQ(ends, 1);
}

TEST_F(PlayerOnNullSinkTest, TheEndOfAFileIsNotReportedOnceTheNextFileIsLoaded)
{
    REQUIRE_MP3(first);
    QString why;
    const QString second = home(QStringLiteral("second.mp3"));
    ASSERT_TRUE(testmedia::makeStereoMp3(second, 1, kAmplitude, &why)) << why.toStdString();

    player->setFileName(first);
    player->Play();
    // The first file ends while the GUI thread is busy: its end waits in the event queue.
    QThread::msleep(3500);
    player->setFileName(second);
    player->Play();
    waitFor([] { return false; }, 300);
    EXPECT_EQ(ends, 0);
    EXPECT_EQ(player->PlayState(), veltra::MediaPlayerControl::State::Playing);
    ASSERT_TRUE(waitFor([&] { return ends > 0; }, 20000));
    EXPECT_EQ(ends, 1);
    EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
}

TEST_F(PlayerOnNullSinkTest, UnloadEmptiesThePlayerWithoutOpeningAFileOfTheNameItKeeps)
{
    REQUIRE_MP3(mp3);
    // A playable file named "1" in the working folder: the name stop-and-unload leaves.
    ASSERT_TRUE(QFile::copy(mp3, home(QStringLiteral("1"))));
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(home()));
    player->setFileName(mp3);
    player->Play();
    ASSERT_TRUE(waitFor([&] { return player->CurrentPosition() >= 0.3; }, 10000));

    player->Unload(QStringLiteral("1"));
    EXPECT_EQ(player->FileName(), QStringLiteral("1"));
    EXPECT_EQ(player->PlayState(), veltra::MediaPlayerControl::State::Stopped);
    EXPECT_EQ(player->Duration(), 0.0);
    player->Play();
    EXPECT_EQ(player->PlayState(), veltra::MediaPlayerControl::State::Stopped);
    waitFor([] { return false; }, 500);
    GstState state = GST_STATE_VOID_PENDING;
    gst_element_get_state(player->pipeline(), &state, nullptr, 0);
    EXPECT_EQ(state, GST_STATE_NULL);
    EXPECT_EQ(player->CurrentPosition(), 0.0);
    EXPECT_EQ(ends, 0);
    EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
    QDir::setCurrent(before);
}

// Trouble after the file was accepted (here the sound server goes away mid-song) comes as one
// Error with GStreamer's reason; the player stands stopped and reports no end.
TEST_F(PlayerOnNullSinkTest, AnErrorWhilePlayingIsReportedOnceAndStopsThePlayer)
{
    REQUIRE_MP3(mp3);
    player->setFileName(mp3);
    player->Play();
    ASSERT_TRUE(waitFor([&] { return player->CurrentPosition() >= 0.3; }, 10000));
    pulse.stop();
    ASSERT_TRUE(waitFor([&] { return !errors.isEmpty(); }, 10000));
    waitFor([] { return false; }, 500);
    EXPECT_EQ(errors.size(), 1) << errors.join(u'\n').toStdString();
    EXPECT_FALSE(errors.value(0).isEmpty());
    EXPECT_EQ(player->PlayState(), veltra::MediaPlayerControl::State::Stopped);
    EXPECT_EQ(ends, 0);
}

// Every type the playlist accepts plays to its end: sound from the sink, pictures in the
// video widget.
class EveryMediaTypeTest : public PlayerOnNullSinkTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(EveryMediaTypeTest, PlaysToItsEnd)
{
    const QString extension = QString::fromLatin1(GetParam());
    const QString tool = testmedia::toolFor(extension);
    if (!testmedia::toolPresent(tool)) GTEST_SKIP() << tool.toStdString() << " is needed to make the file";
    const QString path = home(QStringLiteral("song.") + extension);
    QString why;
    ASSERT_TRUE(testmedia::make(extension, path, 1.0, &why)) << why.toStdString();

    auto* picture = qobject_cast<veltra::VideoFrameWidget*>(player->videoWidget());
    ASSERT_NE(picture, nullptr);
    player->setFileName(path);
    const StereoLevels levels = playAndRecord();
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(player->PlayState(), veltra::MediaPlayerControl::State::Stopped);
    EXPECT_GT(player->Duration(), 0.5);
    EXPECT_LT(player->Duration(), 1.6);
    if (testmedia::hasSound(extension)) {
        EXPECT_GT(std::max(levels.peakLeft, levels.peakRight), 300) << "no sound came out";
        EXPECT_GT(levels.soundFrames, 44100 / 2);
    }
    if (testmedia::isVideo(extension)) {
        EXPECT_GT(picture->framesShown(), 5u);
        EXPECT_EQ(picture->frame().size(), QSize(160, 120));
    } else {
        EXPECT_EQ(picture->framesShown(), 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(Types, EveryMediaTypeTest,
                         ::testing::Values("mp3", "mp2", "mp1", "mid", "rmi", "midi", "wav", "snd", "au", "aif",
                                           "aifc", "aiff", "wma", "avi", "wmv", "mpeg", "mpe", "mpg", "m1v", "mpa"),
                         [](const ::testing::TestParamInfo<const char*>& info) { return std::string(info.param); });
