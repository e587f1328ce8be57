// One open file serving the MPEG header and both tags gives what three separate reads give.
#include "media/ByteSource.h"
#include "media/MediaError.h"
#include "media/clsID3v1.h"
#include "media/clsID3v2.h"
#include "media/modMedia.h"
#include "support/Mp3Maker.h"
#include "support/TestEnv.h"
#include "TagBytes.h"

namespace {

class SongFileTest : public VeltraTest {};

struct Read {
    QStringList texts;
    bool raised1 = false;
    bool raised2 = false;
};

template <class Open>
Read readAll(const QString& path, Open open)
{
    Read r;
    clsID3v1 v1;
    clsID3v2 v2;
    media::SongFile song;
    const bool shared = open(song);
    try {
        shared ? v1.setFilename(path, song) : v1.setFilename(path);
    } catch (const veltra::MediaError&) {
        r.raised1 = true;
    }
    try {
        shared ? v2.setFilename(path, song) : v2.setFilename(path);
    } catch (const veltra::MediaError&) {
        r.raised2 = true;
    }
    shared ? media_ReadMP3Info(song) : media_ReadMP3Info(path);
    r.texts << v1.Title() << v1.Artist() << v1.Genre() << v2.Title() << v2.Artist() << v2.Album()
            << v2.id3v2_GetTagText(QStringLiteral("APIC"), 1).left(40) << QString::number(v2.FrameCount())
            << MP3Info.MP3Duration << QString::number(MP3Info.Bitrate) << QString::number(MP3Info.AudioStart)
            << QString::number(MP3Info.AudioBytes) << QString::number(MP3Info.FileLength);
    return r;
}

TEST_F(SongFileTest, OneReadGivesWhatSeparateReadsGive)
{
    using namespace tagbytes;
    const QByteArray cover(60 * 1024, '\x42');
    const QList<QPair<QString, QByteArray>> files = {
        {"full.mp3", mp3maker::makeMp3Bytes({.artist = "A", .title = "T", .album = "Al", .genre = "Rock", .seconds = 3,
                                             .id3v1 = true, .pictureBytes = cover, .padding = 500})},
        {"small.mp3", mp3maker::makeMp3Bytes({.title = "Small", .seconds = 1})},
        {"v1only.mp3", mp3maker::makeMp3Bytes({.title = "One", .seconds = 2, .id3v1 = true, .id3v2 = false})},
        {"older.mp3", olderTag(frame23("TIT2", latin1Text("Older")), 4096) + audio(40)},
        {"tiny.mp3", QByteArray("ID3")},
        {"empty.mp3", QByteArray()},
    };
    for (const auto& [name, bytes] : files) {
        SCOPED_TRACE(name.toStdString());
        const QString path = writeFile(name, bytes);
        const Read apart = readAll(path, [](media::SongFile&) { return false; });
        const Read together = readAll(path, [&](media::SongFile& s) {
            s.open(path);
            return true;
        });
        EXPECT_EQ(together.texts, apart.texts);
    }
    // a song that cannot be opened: the same errors and the same empty results
    const QString missing = home("missing.mp3");
    const Read apart = readAll(missing, [](media::SongFile&) { return false; });
    const Read together = readAll(missing, [&](media::SongFile& s) { return !s.open(missing) || true; });
    EXPECT_TRUE(together.raised1 && apart.raised1);
    EXPECT_EQ(together.raised2, apart.raised2);
    EXPECT_EQ(together.texts, apart.texts);
}

} // namespace
