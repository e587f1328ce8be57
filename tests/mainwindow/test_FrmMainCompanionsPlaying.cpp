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
#include "platform/GstMediaPlayerControl.h"
#include "mainwindow/FrmMain.h"
#include "preferences/FrmAdjustVolumes.h"
#include "startup/Forms.h"
#include "support/Mp3Maker.h"
#include "support/PulseNullSink.h"
#include "support/RealPlayerFixture.h"
#include "support/StartupFixture.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSlider>
#include <QThread>

namespace {
class CompanionsPlayingTest : public RealPlayerFixture<StartupFixture> {
protected:
    void SetUp() override
    {
        RealPlayerFixture::SetUp();
        trayHere = 0;
    }
    QString mp3(const QString& name, const QByteArray& lyrics)
    {
        mp3maker::Song s{.artist = "Band", .title = name, .seconds = 1.5};
        if (!lyrics.isEmpty()) s.extraFrames.append({"USLT", QByteArray("\0eng\0", 5) + lyrics});
        const QString path = home("Music/" + name + ".mp3");
        EXPECT_TRUE(mp3maker::makeMp3(path, s));
        return path;
    }
};
} // namespace

TEST_F(CompanionsPlayingTest, SongsPlayedUnattendedUseTheirVolumeLyricsAndCounts)
{
    const QString one = mp3("One", {}), two = mp3("Two", "Sing along\r\nla la la"), three = mp3("Three", {});
    writeFile("volumes.ssb", "\"Band\"\r\n\"Two\"\r\n\"40\"\r\n\"" + two.toUtf8() + "\"\r\n");
    settings_WriteValue("Settings", "AlwaysUseVolumeAdjusting", "1");
    settings_WriteValue("Settings", "ShowLyricsWhenAvailable", "1");
    settings_WriteValue("Sound", "Volume", "90");
    start({one, two, three});

    FrmMain& m = main();
    FrmLyrics& lyrics = forms().get<FrmLyrics>();
    FrmTracking& tracking = forms().get<FrmTracking>();
    veltra::MediaPlayerControl& player = m.wmpPlayer();
    // What the window shows when each song has started.
    struct Seen {
        bool started = false;
        int volume = -1;
        bool lyricsOpen = false;
        QString lyrics;
    } seen[3];
    const QString songs[3] = {one, two, three};
    QDeadlineTimer deadline(25000);
    while (!(seen[2].started && player.FileName() == QLatin1String("1")) && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
        for (int i = 0; i < 3; ++i)
            if (!seen[i].started && player.FileName() == songs[i] && player.PlayState() == veltra::MediaPlayerControl::State::Playing)
                seen[i] = {true, m.sldVolume->value(), lyrics.LyricsIsOpen && lyrics.isVisible(), lyrics.txtLyrics->toPlainText()};
    }
    ASSERT_TRUE(seen[1].started && seen[2].started) << "the songs did not play through";
    EXPECT_FALSE(seen[0].lyricsOpen);
    EXPECT_EQ(seen[1].volume, 40);
    EXPECT_TRUE(seen[1].lyricsOpen);
    EXPECT_EQ(seen[1].lyrics, "Sing along\nla la la");
    EXPECT_EQ(seen[2].volume, 90);   // the user's own volume back
    EXPECT_FALSE(seen[2].lyricsOpen);

    ASSERT_EQ(tracking.rows().count(), 3);
    for (int r = 1; r <= 3; ++r) EXPECT_EQ(tracking.rows().subItem(r, 2), "01");
    EXPECT_EQ(tracking.lblText->text(), "3 most commonly played media files:");
    EXPECT_EQ(readFile(home("tracking.ssb")).count("\r\n"), 12);
    EXPECT_TRUE(ui.messages().isEmpty());
}
