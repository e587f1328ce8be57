// Reading the MPEG header and both tags of many files, as adding a folder to the playlist
// does: one thread, warm cache. Target: at least 50,000 files a second.
#include "media/clsID3v1.h"
#include "media/clsID3v2.h"
#include "media/modMedia.h"
#include "support/Mp3Maker.h"

#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

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

void readAll(const QStringList& paths, qint64* checksum)
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

void BM_ReadHeaderAndTags(benchmark::State& state)
{
    const QStringList& paths = songs();
    qint64 checksum = 0;
    readAll(paths, &checksum); // warm the cache
    for (auto _ : state) {
        readAll(paths, &checksum);
        benchmark::DoNotOptimize(checksum);
    }
    state.counters["files/s"] = benchmark::Counter(double(paths.size()) * double(state.iterations()),
                                                   benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ReadHeaderAndTags)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

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
