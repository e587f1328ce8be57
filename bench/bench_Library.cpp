// The media library window at size, shown offscreen: opening it over a Playlists folder of
// 200 playlists and 20 moods (the tree shown, target under 0.3 s), choosing a playlist of
// 10,000 MP3 songs in the tree (tags read, the artist, year and album lists built and the
// window answering again, under 1 s), a search that lists all 10,000 songs with their
// lengths (under 0.3 s), and the process's peak memory meanwhile (under 200 MB; run alone
// for a clean figure: --benchmark_filter=Library).
#include "BenchHome.h"
#include "common/FrmConsole.h"
#include "common/ListView.h"
#include "common/ListViewModel.h"
#include "common/modListFiles.h"
#include "common/modSettings.h"
#include "library/FrmMediaLibrary.h"
#include "media/modMedia.h"
#include "platform/ProgramFolder.h"
#include "platform/RecordingUiServices.h"
#include "startup/Forms.h"
#include "support/Mp3Maker.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <benchmark/benchmark.h>
#include <sys/resource.h>

namespace {

constexpr int kSongs = 10000;
constexpr int kPlaylists = 200;

// A program folder of its own: 200 small playlists, 20 moods, and Big.spp naming 10,000
// real MP3 files (one artist, 100 albums, 60 years), made once.
struct LibraryHome : BenchHome {
    LibraryHome()
    {
        QDir(dir.path()).mkpath(QStringLiteral("Playlists"));
        QDir(dir.path()).mkpath(QStringLiteral("Moods"));
        QDir(dir.path()).mkpath(QStringLiteral("music"));
        QStringList moods;
        for (int i = 1; i <= 20; ++i) moods.append(QStringLiteral("Mood %1").arg(i));
        MoodList = moods.join(u'|');
        const QStringList headers = {"No.", "Artist:", "Title:", "Year:", "Status:", "Length:", "Filename:"};
        for (int p = 1; p <= kPlaylists; ++p) {
            ListViewModel list;
            list.setColumns(headers);
            for (int r = 1; r <= 20; ++r)
                list.add({QString::number(r), "A", "T", "", "Play", "", QStringLiteral("/music/%1/%2.mp3").arg(p).arg(r)});
            controls_SaveListView(list, programfolder::file(QStringLiteral("Playlists/List %1.spp").arg(p, 3, 10, QLatin1Char('0'))));
        }
        QFile big(programfolder::file(QStringLiteral("Playlists/Big.spp")));
        big.open(QIODevice::WriteOnly | QIODevice::Truncate);
        for (int i = 0; i < kSongs; ++i) {
            const QString path = dir.path() + QStringLiteral("/music/song%1.mp3").arg(i, 5, 10, QLatin1Char('0'));
            mp3maker::makeMp3(path, {.artist = "Everyone", .title = "Title " + QString::number(i),
                                     .album = "Album " + QString::number(i % 100), .year = QString::number(1950 + i % 60),
                                     .seconds = 1, .bitrate = 32, .id3v1 = true});
            big.write(listfile::formatCells({QString::number(i + 1), "Everyone", "T", "", "Play", "", path}).toUtf8());
        }
    }
};

LibraryHome& libraryHome()
{
    static LibraryHome h;
    h.use();
    return h;
}

void settle() { QCoreApplication::processEvents(); }

FrmMediaLibrary& shownLibrary()
{
    FrmMediaLibrary& lib = forms().get<FrmMediaLibrary>();
    if (!lib.isVisible()) {
        lib.resize(1000, 700);
        lib.show();
        settle();
    }
    return lib;
}

QTreeWidgetItem* bigNode(FrmMediaLibrary& lib)
{
    for (int i = 1; i <= lib.nodeCount(); ++i)
        if (lib.node(i)->text(0) == QLatin1String("Big")) return lib.node(i);
    return nullptr;
}

void chooseBig(FrmMediaLibrary& lib)
{
    QTreeWidgetItem* node = bigNode(lib);
    lib.tvOptions->setCurrentItem(node);
    lib.tvOptions_NodeClick(node);
    settle();
}

double peakRssMB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

void BM_LibraryOpenTree(benchmark::State& state)
{
    libraryHome();
    for (auto _ : state) {
        state.PauseTiming();
        forms().unload<FrmMediaLibrary>();
        settle();
        state.ResumeTiming();
        shownLibrary();
    }
    if (forms().get<FrmMediaLibrary>().nodeCount() != 3 + 2 + 20 + kPlaylists + 1) state.SkipWithError("the tree is incomplete");
}
BENCHMARK(BM_LibraryOpenTree)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_LibraryChoosePlaylist10k(benchmark::State& state)
{
    libraryHome();
    FrmMediaLibrary& lib = shownLibrary();
    for (auto _ : state) chooseBig(lib);
    if (lib.lstvFilenames->count() != kSongs || lib.lstAlbum->count() != 100 || lib.lstYear->count() != 60)
        state.SkipWithError("the playlist was not indexed");
    state.counters["peak_RSS_MB"] = peakRssMB();
}
BENCHMARK(BM_LibraryChoosePlaylist10k)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_LibrarySearch10k(benchmark::State& state)
{
    libraryHome();
    FrmMediaLibrary& lib = shownLibrary();
    if (lib.lstvFilenames->count() != kSongs) chooseBig(lib);
    for (auto _ : state) {
        lib.results_Find(QStringLiteral("Everyone"), library::ColArtist);
        settle();
    }
    if (lib.results().count() != kSongs || lib.results().cell(kSongs, library::ResLength) != QLatin1String("00:01"))
        state.SkipWithError("the search did not list every song");
    state.counters["peak_RSS_MB"] = peakRssMB();
}
BENCHMARK(BM_LibrarySearch10k)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
