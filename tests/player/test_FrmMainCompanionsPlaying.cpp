// The companions on the real program: started through the real start-up with three MP3 files
// on the command line, the real GStreamer player on a private PulseAudio null sink and every
// timer running. While the songs play unattended, the song with a stored volume gets it, the
// song with lyrics shows them beside the player, the others close them, and each start is
// counted. Skipped where GStreamer's elements or PulseAudio are missing.
#include "common/FrmConsole.h"
#include "common/ListView.h"
#include "common/modSettings.h"
#include "extras/FrmTracking.h"
#include "library/FrmLyrics.h"
#include "platform/MediaPlayerFactory.h"
#include "platform/QtMediaPlayerControl.h"
#include "player/FrmMain.h"
#include "preferences/FrmAdjustVolumes.h"
#include "startup/Forms.h"
#include "support/Mp3Maker.h"
#include "support/PulseNullSink.h"
#include "support/StartupFixture.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSlider>
#include <QThread>

namespace {
class CompanionsPlayingTest : public StartupFixture {
protected:
    void SetUp() override
    {
        StartupFixture::SetUp();
        trayHere = 0;
        veltra::setMediaPlayerFactory(nullptr);   // the real player
        if (!veltra::QtMediaPlayerControl::isAvailable()) GTEST_SKIP() << "GStreamer or its elements are missing";
        if (!PulseNullSink::toolsPresent()) GTEST_SKIP() << "PulseAudio (pulseaudio, pactl, parec) is missing";
        QString why;
        ASSERT_TRUE(pulse.start(&why)) << why.toStdString();
    }
    void TearDown() override
    {
        forms().unloadAll();   // the player goes before its sound server
        pulse.stop();
        StartupFixture::TearDown();
    }
    QString mp3(const QString& name, const QString& lyrics)
    {
        mp3maker::Song s;
        s.artist = QStringLiteral("Band");
        s.title = name;
        s.seconds = 1.5;
        if (!lyrics.isEmpty()) s.extraFrames.append({"USLT", QByteArray("\0eng\0", 5) + lyrics.toLatin1()});
        const QString path = home(QStringLiteral("Music/") + name + QStringLiteral(".mp3"));
        EXPECT_TRUE(mp3maker::makeMp3(path, s));
        return path;
    }
    PulseNullSink pulse;
};
} // namespace

TEST_F(CompanionsPlayingTest, SongsPlayedUnattendedUseTheirVolumeLyricsAndCounts)
{
    const QString one = mp3(QStringLiteral("One"), QString());
    const QString two = mp3(QStringLiteral("Two"), QStringLiteral("Sing along\r\nla la la"));
    const QString three = mp3(QStringLiteral("Three"), QString());
    writeFile(QStringLiteral("volumes.ssb"), "\"Band\"\r\n\"Two\"\r\n\"40\"\r\n\"" + two.toUtf8() + "\"\r\n");
    settings_WriteValue(QStringLiteral("Settings"), QStringLiteral("AlwaysUseVolumeAdjusting"), QStringLiteral("1"));
    settings_WriteValue(QStringLiteral("Settings"), QStringLiteral("ShowLyricsWhenAvailable"), QStringLiteral("1"));
    settings_WriteValue(QStringLiteral("Sound"), QStringLiteral("Volume"), QStringLiteral("90"));
    start({one, two, three});

    FrmMain& m = main();
    FrmLyrics& lyrics = forms().get<FrmLyrics>();
    FrmTracking& tracking = forms().get<FrmTracking>();
    veltra::MediaPlayerControl& player = m.wmpPlayer();
    bool sawTwo = false, sawThree = false;
    QString lyricsShown;
    int volumeOfTwo = -1, sliderOfThree = -1;
    bool lyricsOpenDuringThree = true;
    QDeadlineTimer deadline(25000);
    auto finished = [&] { return sawThree && player.FileName() == QLatin1String("1"); };
    while (!finished() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
        const bool playing = player.PlayState() == veltra::MediaPlayerControl::Playing;
        if (playing && player.FileName() == two && !sawTwo) {
            sawTwo = true;
            volumeOfTwo = m.sldVolume->value();
            if (lyrics.LyricsIsOpen && lyrics.isVisible()) lyricsShown = lyrics.txtLyrics->toPlainText();
        }
        if (playing && player.FileName() == three && !sawThree) {
            sawThree = true;
            sliderOfThree = m.sldVolume->value();
            lyricsOpenDuringThree = lyrics.LyricsIsOpen;
        }
    }
    ASSERT_TRUE(sawTwo && sawThree) << "the songs did not play through";
    EXPECT_EQ(volumeOfTwo, 40);
    EXPECT_EQ(lyricsShown, QStringLiteral("Sing along\nla la la"));
    EXPECT_EQ(sliderOfThree, 90);   // the user's own volume back
    EXPECT_FALSE(lyricsOpenDuringThree);

    ASSERT_EQ(tracking.rows().count(), 3);
    for (int r = 1; r <= 3; ++r) EXPECT_EQ(tracking.rows().subItem(r, 2), QStringLiteral("01"));
    EXPECT_EQ(tracking.lblText->text(), QStringLiteral("3 most commonly played media files:"));
    EXPECT_EQ(readFile(home(QStringLiteral("tracking.ssb"))).count("\r\n"), 12);
    EXPECT_TRUE(ui.messages().isEmpty());
}
