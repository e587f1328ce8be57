// The CD player playing a simulated disc digitally into a private PulseAudio null sink,
// driven through its menu and its timers in the running event loop.
#include "common/ListViewModel.h"
#include "extras/FrmCDPlayer.h"
#include "platform/CdTestSupport.h"
#include "platform/GstCdAudioOutput.h"
#include "mainwindow/FrmMain.h"
#include "startup/Forms.h"
#include "support/PulseNullSink.h"
#include "support/StartupFixture.h"

#include <QAction>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QProcess>

#include <cmath>

namespace {
// The pitch of the left channel from its rising zero crossings, over the frames that sound.
double pitchOf(const QByteArray& s16Stereo)
{
    const auto* samples = reinterpret_cast<const qint16*>(s16Stereo.constData());
    const qint64 frames = s16Stereo.size() / 4;
    qint64 first = -1, last = -1, rises = 0;
    for (qint64 i = 1; i < frames; ++i) {
        if (samples[2 * (i - 1)] < 0 && samples[2 * i] >= 0) {
            if (first < 0) first = i;
            last = i;
            ++rises;
        }
    }
    return rises > 1 ? (rises - 1) * double(cd::SampleRate) / double(last - first) : 0;
}
} // namespace

class CdPlayerSoundTest : public StartupFixture, protected SimulatedCd {
protected:
    void SetUp() override
    {
        StartupFixture::SetUp();
        if (!cd::GstCdAudioOutput::isAvailable()) GTEST_SKIP() << "GStreamer's appsrc or an audio sink is missing";
        if (!PulseNullSink::toolsPresent()) GTEST_SKIP() << "PulseAudio (pulseaudio, pactl, parec) is missing";
        QString why;
        ASSERT_TRUE(pulse.start(&why)) << why.toStdString();
        installCd();
        cdaudio::install(sim, std::make_unique<cd::GstCdAudioOutput>());
    }
    void TearDown() override
    {
        StartupFixture::TearDown();
        uninstallCd();
        pulse.stop();
    }

    bool waitFor(const std::function<bool()>& done, int ms)
    {
        QDeadlineTimer deadline(ms);
        while (!done()) {
            if (deadline.hasExpired()) return false;
            processEvents(20);
        }
        return true;
    }

    PulseNullSink pulse;
};

TEST_F(CdPlayerSoundTest, TheDiscIsHeardWhilePlayingAndStoppingGivesSilence)
{
    drives({{20, 20, 20}});
    start();
    main().mnuOpenCDPlayer->trigger();
    FrmCDPlayer& cd = forms().get<FrmCDPlayer>();
    ASSERT_EQ(cd.rows().count(), 3);

    QString why;
    ASSERT_TRUE(pulse.startRecording(&why)) << why.toStdString();
    QElapsedTimer playing;
    playing.start();
    cd.rows().selectOnly(2);
    cd.mnuPlay->trigger();
    EXPECT_EQ(cd.CDState, 0);
    // The status timer shows the position heard, not what was read ahead.
    ASSERT_TRUE(waitFor([&] { return cd.statusPanelText(4) == QLatin1String("Elapsed:  00:02"); }, 20000))
        << cd.statusPanelText(4).toStdString();
    EXPECT_EQ(cd.statusPanelText(1), QStringLiteral("Status:  Playing... Audio Track 2"));
    cd.mnuStop->trigger();
    const double playedFor = playing.elapsed() / 1000.0;
    EXPECT_EQ(cd.CDState, 1);
    processEvents(1000);
    const QByteArray played = pulse.stopRecording();

    const StereoLevels levels = StereoLevels::of(played);
    const int amplitude = cd::SimulatedCdDrives::ToneAmplitude;
    EXPECT_NEAR(levels.peakLeft, amplitude, amplitude / 10);
    EXPECT_NEAR(levels.peakRight, amplitude, amplitude / 10);
    // Sound from the play to the stop, and none in the second after it.
    const double heard = double(levels.soundFrames) / cd::SampleRate;
    EXPECT_GT(heard, 1.5);
    EXPECT_LT(heard, playedFor + 0.3);
    // Track 2's own tone: the sectors of the track chosen were the ones played.
    EXPECT_NEAR(pitchOf(played), 220.0 * std::pow(2.0, 1.0 / 6.0), 3.0);

    // Stopped, nothing plays into the sink any more.
    QProcess pactl;
    pactl.start(QStringLiteral("pactl"), {QStringLiteral("-s"), pulse.server(), QStringLiteral("list"), QStringLiteral("short"),
                                          QStringLiteral("sink-inputs")});
    ASSERT_TRUE(pactl.waitForFinished(5000));
    EXPECT_EQ(pactl.readAllStandardOutput().trimmed(), QByteArray());
    ASSERT_TRUE(pulse.startRecording(&why)) << why.toStdString();
    processEvents(500);
    const StereoLevels after = StereoLevels::of(pulse.stopRecording());
    EXPECT_EQ(after.peakLeft, 0);
    EXPECT_EQ(after.peakRight, 0);
    EXPECT_EQ(cd.statusPanelText(1), QStringLiteral("Status:  Stopped"));
}
