// The real program playing a song whose lyrics are one line of a million characters without
// a blank, with the lyrics window switched on: the song is heard and SIGTERM ends the program.
#include "EndToEndFixture.h"
#include "support/GeneratedMedia.h"
#include "support/Mp3Maker.h"

class LongLyricsEndToEnd : public EndToEnd {};

TEST_F(LongLyricsEndToEnd, ASongWithAMillionCharacterLyricsLinePlaysAndTheProgramEndsOnSigterm)
{
    const QString tone = home.filePath(QStringLiteral("tone.mp3"));
    QString why;
    if (!testmedia::makeStereoMp3(tone, 8, 0.5, &why))
        GTEST_SKIP() << "sox and lame are needed to make the song: " << why.toStdString();
    mp3maker::Song tag;
    tag.extraFrames.append({"USLT", QByteArray("\0eng\0", 5) + QByteArray(1000000, 'w')});
    const QString song = home.filePath(QStringLiteral("song.mp3"));
    ASSERT_TRUE(mp3maker::writeBytes(song, mp3maker::id3v2Tag(tag) + mp3maker::readBytes(tone)));
    QFile ini(home.filePath(QStringLiteral("settings.ini")));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[Settings]\r\nShowLyricsWhenAvailable=1\r\n");
    ini.close();

    ASSERT_TRUE(pulse.startRecording(&why)) << why.toStdString();
    QProcess p;
    startPlayer(p, {song});
    QThread::msleep(5000);
    ASSERT_EQ(p.state(), QProcess::Running) << p.readAll().toStdString();
    EXPECT_EQ(terminate(p), 0) << p.readAll().toStdString();
    const StereoLevels levels = StereoLevels::of(pulse.stopRecording());
    EXPECT_GT(double(levels.soundFrames) / 44100.0, 1.0);
}
