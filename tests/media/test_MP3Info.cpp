// Song length from the MPEG audio header, the time text and the number mask.
#include "media/modMedia.h"
#include "media/ByteSource.h"
#include "media/MediaError.h"
#include "media/clsID3v1.h"
#include "media/clsID3v2.h"
#include "support/Mp3Maker.h"
#include "support/TestEnv.h"
#include "TagBytes.h"

#include <QProcess>
#include <QStandardPaths>
#include <QtEndian>
#include <cmath>
#include <sys/stat.h>

using namespace tagbytes;

namespace {

class MP3InfoTest : public VeltraTest {};

QByteArray zeros(qint64 n) { return QByteArray(qsizetype(n), '\0'); }

qint64 durationOf(const QString& path)
{
    media_ReadMP3Info(path);
    return MP3Info.MP3Duration.isEmpty() ? -1 : MP3Info.MP3Duration.toLongLong();
}

TEST_F(MP3InfoTest, ByteAlignedHeaderAtStartGivesLengthFromFileSize)
{
    // FF FB 90 64: MPEG-1 Layer III, bitrate index 9 = 128 kbit/s.
    const QString path = writeFile("a.mp3", bytes({0xFF, 0xFB, 0x90, 0x64}) + zeros(4000000 - 4));
    media_ReadMP3Info(path);
    EXPECT_EQ(MP3Info.Bitrate, 128000);
    EXPECT_EQ(MP3Info.FileLength, 4000000);
    EXPECT_EQ(MP3Info.AudioStart, 0);
    EXPECT_EQ(MP3Duration(), QStringLiteral("250"));
}

TEST_F(MP3InfoTest, HeaderHalfAByteOffIsFoundByTheSecondTest)
{
    const QString path = writeFile("b.mp3", bytes({0x0F, 0xFF, 0xB9, 0x06}) + zeros(4000000 - 4));
    media_ReadMP3Info(path);
    EXPECT_EQ(MP3Info.Bitrate, 128000);
    EXPECT_EQ(MP3Info.AudioStart, 0);
    EXPECT_EQ(MP3Duration(), QStringLiteral("250"));
}

TEST_F(MP3InfoTest, DurationRoundsHalfToEven)
{
    // 128 kbit/s: 16000 bytes a second. 2.5 s rounds to 2, 3.5 s to 4.
    media_ReadMP3Info(writeFile("c.mp3", bytes({0xFF, 0xFB, 0x90, 0x64}) + zeros(40000 - 4)));
    EXPECT_EQ(MP3Duration(), QStringLiteral("2"));
    media_ReadMP3Info(writeFile("d.mp3", bytes({0xFF, 0xFB, 0x90, 0x64}) + zeros(56000 - 4)));
    EXPECT_EQ(MP3Duration(), QStringLiteral("4"));
}

TEST_F(MP3InfoTest, EveryCallStartsAfreshSoNoStaleLengthSurvives)
{
    EXPECT_EQ(durationOf(writeFile("good.mp3", mp3maker::makeMp3Bytes({.seconds = 5}))), 5);
    EXPECT_GT(MP3Info.Bitrate, 0);

    // No sync in a small file.
    media_ReadMP3Info(writeFile("nosync.mp3", QByteArray(3000, 'x')));
    EXPECT_EQ(MP3Info.Bitrate, 0);
    EXPECT_TRUE(MP3Duration().isEmpty());
    EXPECT_EQ(MP3Info.FileLength, 3000);

    // Bitrate index 15 and free format are no frames.
    media_ReadMP3Info(writeFile("bad.mp3", bytes({0xFF, 0xFB, 0xF0, 0x64}) + bytes({0xFF, 0xFB, 0x00, 0x64}) + zeros(100)));
    EXPECT_TRUE(MP3Duration().isEmpty());

    // A file that cannot be opened.
    media_ReadMP3Info(writeFile("good2.mp3", mp3maker::makeMp3Bytes({.seconds = 3})));
    media_ReadMP3Info(home("missing.mp3"));
    EXPECT_TRUE(MP3Duration().isEmpty());
    EXPECT_EQ(MP3Info.FileLength, 0);

    // Only zeros after a tag.
    media_ReadMP3Info(writeFile("zeros.mp3", tag(3, frame23("TIT2", latin1Text("x"))) + zeros(20000)));
    EXPECT_TRUE(MP3Duration().isEmpty());
}

TEST_F(MP3InfoTest, SyncIsSoughtAfterTheTagNotInsideThePicture)
{
    // A cover full of bytes that look like frame headers of another bitrate.
    QByteArray picture;
    while (picture.size() < 20000) picture += bytes({0xFF, 0xFB, 0x10, 0x00, 0xFF, 0xFB, 0x10, 0x00});
    mp3maker::Song song{.title = "T", .seconds = 10, .bitrate = 128, .id3v1 = true, .pictureBytes = picture};
    const QByteArray file = mp3maker::makeMp3Bytes(song);
    const qint64 tagLength = mp3maker::id3v2Tag(song).size();
    media_ReadMP3Info(writeFile("pic.mp3", file));
    EXPECT_EQ(MP3Info.AudioStart, tagLength);
    EXPECT_EQ(MP3Info.Bitrate, 128000);
    // The audio alone: without the 20 KB tag and the ID3v1 tag.
    EXPECT_EQ(MP3Info.AudioBytes, file.size() - tagLength - 128);
    EXPECT_EQ(MP3Duration(), QStringLiteral("10"));
}

TEST_F(MP3InfoTest, ATagRepeatedAfterTheFirstIsPassedOver)
{
    mp3maker::Song second{.title = "Second", .seconds = 9, .pictureBytes = QByteArray(30000, '\xFF')};
    const QByteArray first = mp3maker::id3v2Tag({.title = "First"});
    const QByteArray secondTag = mp3maker::id3v2Tag(second);
    media_ReadMP3Info(writeFile("twice.mp3", first + QByteArray(100, '\0') + secondTag + mp3maker::audioFrames(second)));
    EXPECT_EQ(MP3Info.AudioStart, first.size() + 100 + secondTag.size());
    EXPECT_EQ(MP3Duration(), QStringLiteral("9"));
}

TEST_F(MP3InfoTest, ZeroPaddingLongerThanTheScanIsSkipped)
{
    mp3maker::Song song{.seconds = 4};
    const QByteArray tagBytes = mp3maker::id3v2Tag(song);
    // 10 KB of zeros outside the declared tag, before the first frame.
    media_ReadMP3Info(writeFile("pad.mp3", tagBytes + zeros(10000) + mp3maker::audioFrames(song)));
    EXPECT_EQ(MP3Info.AudioStart, tagBytes.size() + 10000);
    EXPECT_EQ(MP3Duration(), QStringLiteral("4"));
}

TEST_F(MP3InfoTest, JunkBeforeTheFirstFrameDoesNotGiveAFalseHeader)
{
    mp3maker::Song song{.seconds = 6, .bitrate = 64, .id3v2 = false};
    // "?F FF FB" junk: a half-byte test would see a Layer I header; FF FB followed by
    // bytes that are no next frame must not win over the real frames either.
    const QByteArray junk = bytes({0x3F, 0xFF, 0xE3, 0x18, 0x00, 0x7F}) + bytes({0xFF, 0xFB, 0x50, 0x00}) + QByteArray(300, 'j');
    media_ReadMP3Info(writeFile("junk.mp3", junk + mp3maker::audioFrames(song)));
    EXPECT_EQ(MP3Info.AudioStart, junk.size());
    EXPECT_EQ(MP3Info.Bitrate, 64000);
    EXPECT_EQ(MP3Duration(), QStringLiteral("6"));
}

TEST_F(MP3InfoTest, ANamedPipeNeverHangsTheReaders)
{
    const QString pipe = home("pipe.mp3");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0644), 0);
    media_ReadMP3Info(pipe);
    EXPECT_TRUE(MP3Duration().isEmpty());
    clsID3v2 v2;
    v2.setFilename(pipe);
    EXPECT_FALSE(v2.HasID3v2Tag());
    clsID3v1 v1;
    EXPECT_THROW(v1.setFilename(pipe), veltra::MediaError);
    EXPECT_FALSE(media_WriteID3v1(pipe, ID3v1Fields{}));
}

TEST_F(MP3InfoTest, VariableBitrateLengthComesFromTheFrameCount)
{
    // Frames alternate between 32 and 320 kbit/s; the first frame's bitrate says nothing.
    mp3maker::Song xing{.seconds = 30, .vbr = mp3maker::Vbr::Xing, .vbrBitrates = {32, 320, 32, 32}};
    media_ReadMP3Info(writeFile("xing.mp3", mp3maker::makeMp3Bytes(xing)));
    EXPECT_EQ(MP3Info.VbrFrames, mp3maker::frameCount(xing));
    EXPECT_EQ(MP3Duration(), QStringLiteral("30"));

    mp3maker::Song vbri{.seconds = 45, .sampleRate = 48000, .vbr = mp3maker::Vbr::Vbri, .vbrBitrates = {320, 32}};
    media_ReadMP3Info(writeFile("vbri.mp3", mp3maker::makeMp3Bytes(vbri)));
    EXPECT_EQ(MP3Info.VbrFrames, mp3maker::frameCount(vbri));
    EXPECT_EQ(MP3Info.SampleRate, 48000);
    EXPECT_EQ(MP3Duration(), QStringLiteral("45"));

    mp3maker::Song info{.seconds = 12, .bitrate = 192, .id3v1 = true, .vbr = mp3maker::Vbr::Xing};
    media_ReadMP3Info(writeFile("info.mp3", mp3maker::makeMp3Bytes(info)));
    EXPECT_EQ(MP3Duration(), QStringLiteral("12"));
}

TEST_F(MP3InfoTest, ReadsFromMemoryAsFromFiles)
{
    const QByteArray file = mp3maker::makeMp3Bytes({.seconds = 7, .sampleRate = 32000, .id3v1 = true});
    media::MemorySource source(file);
    media_ReadMP3Info(source);
    EXPECT_EQ(MP3Info.SampleRate, 32000);
    EXPECT_EQ(MP3Duration(), QStringLiteral("7"));
}

TEST_F(MP3InfoTest, BitrateTableHoldsTheStandardValues)
{
    media_InitBitrateTable();
    EXPECT_EQ(BitrateTable[7][1], 32);   // first row
    EXPECT_EQ(BitrateTable[1][1], 8);
    EXPECT_EQ(BitrateTable[7][14], 448); // last row: 448,384,320,256,160,160
    EXPECT_EQ(BitrateTable[6][14], 384);
    EXPECT_EQ(BitrateTable[5][14], 320);
    EXPECT_EQ(BitrateTable[3][14], 256);
    EXPECT_EQ(BitrateTable[2][14], 160);
    EXPECT_EQ(BitrateTable[1][14], 160);
    EXPECT_EQ(BitrateTable[5][9], 128);
    EXPECT_EQ(BitrateTable[3][9], 144);
    for (int c = 1; c <= 7; ++c) EXPECT_EQ(BitrateTable[c][15], 0);
    for (int i = 1; i <= 15; ++i) EXPECT_EQ(BitrateTable[4][i], 0);
}

TEST_F(MP3InfoTest, ShiftNibbleRealignsByHalfAByte)
{
    EXPECT_EQ(media_ShiftNibble(bytes({0x0F, 0xFF, 0xB9})), bytes({0xFF, 0xFB}));
    EXPECT_EQ(media_ShiftNibble(bytes({0x12, 0x34, 0x56})), bytes({0x23, 0x45}));
}

TEST(MediaTimeText, FormatTime)
{
    EXPECT_EQ(media_FormatTime(0), QStringLiteral("00:00"));
    EXPECT_EQ(media_FormatTime(59), QStringLiteral("00:59"));
    EXPECT_EQ(media_FormatTime(600), QStringLiteral("10:00"));
    EXPECT_EQ(media_FormatTime(3725), QStringLiteral("62:05"));
    EXPECT_EQ(media_FormatTime(6000), QStringLiteral("100:00"));
}

TEST(MediaTimeText, NumberFormatIsAsWideAsTheNumber)
{
    EXPECT_EQ(media_GetNumberFormat(0), QStringLiteral("#"));
    EXPECT_EQ(media_GetNumberFormat(7), QStringLiteral("#"));
    EXPECT_EQ(media_GetNumberFormat(10), QStringLiteral("0#"));
    EXPECT_EQ(media_GetNumberFormat(12), QStringLiteral("0#"));
    EXPECT_EQ(media_GetNumberFormat(250), QStringLiteral("00#"));
}

// ---- against ffprobe, on files made here and by encoders ----------------------------------

QString tool(const char* name) { return QStandardPaths::findExecutable(QString::fromLatin1(name)); }

double ffprobeSeconds(const QString& path)
{
    QProcess p;
    p.start(tool("ffprobe"), {"-v", "error", "-show_entries", "format=duration", "-of", "default=nw=1:nk=1", path});
    if (!p.waitForFinished(30000)) return -1;
    bool ok = false;
    const double d = QString::fromLatin1(p.readAllStandardOutput()).trimmed().toDouble(&ok);
    return ok ? d : -1;
}

bool run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    return p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// A stereo 16-bit WAV of a tone.
QByteArray wav(int seconds, int rate, int channels)
{
    const quint32 frames = quint32(seconds * rate);
    const quint32 dataBytes = frames * 2 * quint32(channels);
    QByteArray b("RIFF");
    auto le32 = [&](quint32 v) { b.append(char(v)).append(char(v >> 8)).append(char(v >> 16)).append(char(v >> 24)); };
    auto le16 = [&](quint16 v) { b.append(char(v)).append(char(v >> 8)); };
    le32(36 + dataBytes);
    b.append("WAVEfmt ");
    le32(16); le16(1); le16(quint16(channels)); le32(quint32(rate)); le32(quint32(rate * 2 * channels)); le16(quint16(2 * channels)); le16(16);
    b.append("data");
    le32(dataBytes);
    for (quint32 i = 0; i < frames; ++i) {
        // a tone that changes pitch, so VBR encoders vary the bitrate
        const double f = 220.0 + 660.0 * ((i / rate) % 3);
        const auto s = qint16(8000 * std::sin(2 * M_PI * f * i / rate) * ((i / (rate / 4)) % 2 ? 1.0 : 0.2));
        for (int c = 0; c < channels; ++c) le16(quint16(s));
    }
    return b;
}

TEST_F(MP3InfoTest, LengthIsWithinOneSecondOfFfprobe)
{
    if (tool("ffprobe").isEmpty()) GTEST_SKIP() << "ffprobe is not installed";
    QStringList files;
    QByteArray picture(20000, '\0');
    for (int i = 0; i < picture.size(); i += 4) picture[i] = '\xFF', picture[i + 1] = '\xFB';
    const QList<mp3maker::Song> songs = {
        {.seconds = 61, .bitrate = 128},
        {.title = "Cover", .seconds = 95, .bitrate = 320, .sampleRate = 48000, .id3v1 = true, .pictureBytes = picture},
        {.seconds = 33, .bitrate = 32, .sampleRate = 32000, .id3v2 = false},
        {.seconds = 40, .id3v1 = true, .vbr = mp3maker::Vbr::Xing, .vbrBitrates = {32, 256, 320, 64}},
        {.seconds = 52, .sampleRate = 48000, .vbr = mp3maker::Vbr::Vbri, .vbrBitrates = {320, 32, 32}},
        {.title = "Padded", .seconds = 20, .padding = 9000},
    };
    for (int i = 0; i < songs.size(); ++i) {
        const QString path = home(QStringLiteral("made%1.mp3").arg(i));
        ASSERT_TRUE(mp3maker::makeMp3(path, songs[i]));
        files << path;
    }

    const QString lame = tool("lame");
    if (!lame.isEmpty()) {
        const QString stereo = writeFile("tone.wav", wav(37, 44100, 2));
        const QString mono = writeFile("mono.wav", wav(23, 22050, 1));
        const QList<QStringList> runs = {
            {"--quiet", "-b", "128", stereo, home("lame_cbr.mp3")},
            {"--quiet", "-V", "2", stereo, home("lame_vbr.mp3")},
            {"--quiet", "-V", "6", "--add-id3v2", "--tt", "Title", "--ta", "Artist", stereo, home("lame_vbr_tag.mp3")},
            {"--quiet", "-b", "64", "-t", stereo, home("lame_noinfo.mp3")},
            {"--quiet", "-b", "48", mono, home("lame_mpeg2.mp3")},
            {"--quiet", "--resample", "8", "-b", "16", mono, home("lame_mpeg25.mp3")},
            {"--quiet", "--abr", "96", stereo, home("lame_abr.mp3")},
        };
        for (const QStringList& args : runs) {
            ASSERT_TRUE(run(lame, args)) << args.join(' ').toStdString();
            files << args.last();
        }
    }
    const QString ffmpeg = tool("ffmpeg");
    if (!ffmpeg.isEmpty()) {
        const QString out = home("ffmpeg_v24.mp3");
        if (run(ffmpeg, {"-v", "error", "-y", "-f", "lavfi", "-i", "sine=frequency=440:duration=19", "-ac", "2",
                         "-codec:a", "libmp3lame", "-q:a", "4", "-metadata", "title=Grüße", out}))
            files << out;
    }

    for (const QString& f : files) {
        const double expected = ffprobeSeconds(f);
        ASSERT_GT(expected, 0) << f.toStdString();
        media_ReadMP3Info(f);
        ASSERT_FALSE(MP3Duration().isEmpty()) << f.toStdString();
        EXPECT_LE(std::abs(MP3Duration().toDouble() - expected), 1.0)
            << f.toStdString() << ": " << MP3Duration().toStdString() << " vs ffprobe " << expected;
    }
}

} // namespace
