// Reading the MPEG header and both tags of many files, as adding a folder to the playlist
// does: one thread, warm cache. Measured in one run against TagLib (tags and audio
// properties) and against a bare open and read of the same bytes. Targets: at least 2.5
// times TagLib's rate and half the bare read's.
#include "media/ByteSource.h"
#include "media/clsID3v1.h"
#include "media/clsID3v2.h"
#include "media/modMedia.h"
#include "support/Mp3Maker.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#ifdef VELTRA_HAVE_TAGLIB
#include <taglib/id3v1tag.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#endif

namespace {

constexpr int kFiles = 10000;

// The folder of songs, made once: ID3v2.3 tag with a 20 KB cover, ID3v1 tag, 3 s of audio.
const QStringList& songs()
{
    static QTemporaryDir dir;
    static QStringList paths;
    if (paths.isEmpty()) {
        QByteArray cover(20 * 1024, '\0');
        for (int i = 0; i < cover.size(); ++i) cover[i] = char((i * 131) ^ (i >> 3));
        for (int i = 0; i < kFiles; ++i) {
            const QString n = QString::number(i);
            mp3maker::Song song{.artist = "Artist " + n, .title = "Title " + n, .album = "Album " + n.left(2),
                                .year = "1999", .genre = "Rock", .comment = "Comment " + n, .seconds = 3,
                                .bitrate = 64, .id3v1 = true, .pictureBytes = cover, .padding = 1000};
            const QString path = dir.path() + QStringLiteral("/song%1.mp3").arg(i, 5, 10, QLatin1Char('0'));
            mp3maker::makeMp3(path, song);
            paths << path;
        }
    }
    return paths;
}

// One open file serves the header and both tags, as the playlist reads a song.
void readTogether(const QStringList& paths, qint64* checksum)
{
    for (const QString& path : paths) {
        media::SongFile song;
        song.open(path);
        clsID3v2 v2;
        v2.setFilename(path, song);
        clsID3v1 v1;
        v1.setFilename(path, song);
        media_ReadMP3Info(song);
        *checksum += v2.Title().size() + v1.Artist().size() + MP3Duration().toInt();
    }
}

// Each reader opens the file on its own.
void readApart(const QStringList& paths, qint64* checksum)
{
    for (const QString& path : paths) {
        clsID3v2 v2;
        v2.setFilename(path);
        clsID3v1 v1;
        v1.setFilename(path);
        media_ReadMP3Info(path);
        *checksum += v2.Title().size() + v1.Artist().size() + MP3Duration().toInt();
    }
}

// Open, read the bytes the readers need (the start, the rest of the tag and a little after
// it, the last 128 bytes), close: what no reader can beat.
void readBare(const QStringList& paths, qint64* checksum)
{
    std::vector<char> buffer(64 * 1024);
    for (const QString& path : paths) {
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat st;
        ::fstat(fd, &st);
        qint64 got = ::pread(fd, buffer.data(), std::min<qint64>(16 * 1024, st.st_size), 0);
        if (got >= 10 && std::memcmp(buffer.data(), "ID3", 3) == 0) {
            const auto* h = reinterpret_cast<const uchar*>(buffer.data());
            const qint64 end = 10 + (qint64(h[6]) << 21 | qint64(h[7]) << 14 | qint64(h[8]) << 7 | h[9]) + 8 * 1024;
            if (end > got) {
                if (qint64(buffer.size()) < end) buffer.resize(size_t(end));
                got += ::pread(fd, buffer.data() + got, size_t(std::min<qint64>(end, st.st_size) - got), got);
            }
        }
        char tail[128];
        got += ::pread(fd, tail, 128, st.st_size - 128);
        ::close(fd);
        *checksum += got + tail[0];
    }
}

template <void (*Read)(const QStringList&, qint64*)>
void BM_Read(benchmark::State& state)
{
    const QStringList& paths = songs();
    qint64 checksum = 0;
    Read(paths, &checksum); // warm the cache
    for (auto _ : state) {
        Read(paths, &checksum);
        benchmark::DoNotOptimize(checksum);
    }
    state.counters["files/s"] = benchmark::Counter(double(paths.size()) * double(state.iterations()),
                                                   benchmark::Counter::kIsRate);
}
BENCHMARK_TEMPLATE(BM_Read, readTogether)->Name("BM_ReadHeaderAndTags")->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK_TEMPLATE(BM_Read, readApart)->Name("BM_ReadHeaderAndTagsEachOpening")->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK_TEMPLATE(BM_Read, readBare)->Name("BM_BareOpenAndRead")->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

#ifdef VELTRA_HAVE_TAGLIB
// TagLib 1.x on the same songs: both tags and the audio properties.
void readTagLib(const QStringList& paths, qint64* checksum)
{
    for (const QString& path : paths) {
        TagLib::MPEG::File f(QFile::encodeName(path).constData(), true, TagLib::AudioProperties::Average);
        const TagLib::ID3v2::Tag* v2 = f.ID3v2Tag();
        const TagLib::ID3v1::Tag* v1 = f.ID3v1Tag();
        *checksum += (v2 ? v2->title().size() : 0) + (v1 ? v1->artist().size() : 0)
            + (f.audioProperties() ? f.audioProperties()->lengthInSeconds() : 0);
    }
}
BENCHMARK_TEMPLATE(BM_Read, readTagLib)->Name("BM_TagLib")->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
#endif

// Saving a tag that fits the old area of a 50 MB song: only the tag area is written.
void BM_SaveInPlace(benchmark::State& state)
{
    static QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/big.mp3");
    mp3maker::makeMp3(path, {.title = "Big", .seconds = 50 * 1024 * 1024 / 16000.0, .padding = 4000});
    clsID3v2 tag;
    tag.setFilename(path);
    int n = 0;
    for (auto _ : state) {
        tag.setTitle(QStringLiteral("Title %1").arg(++n));
        tag.Save();
    }
    state.counters["saves/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SaveInPlace)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace
