// Inputs far longer than any real one, each held to what a user waits for, shown offscreen:
// start-up to the main window with a bookmarks.sbl of 1,000,000 lines (under 1 s, the
// process under 200 MB) and its Open Bookmark menu popping up (under 0.5 s); the Add
// Location dialog over a locations.log of 4,000,000 lines (under 1 s); the lyrics of a song
// whose lyrics are one line of 1,000,000 or of 30,000,000 characters without a blank, read
// and shown (under 0.5 s). The memory figures are the whole benchmark process's: run one
// benchmark alone for its own (--benchmark_filter=AMillionBookmarks).
#include "BenchHome.h"
#include "common/MenuArray.h"
#include "library/FrmLyrics.h"
#include "mainwindow/FrmMain.h"
#include "playlisttools/FrmAddLocation.h"
#include "startup/Forms.h"
#include "startup/modMain.h"
#include "support/Mp3Maker.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <benchmark/benchmark.h>
#include <sys/resource.h>

namespace {

double peakRssMB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

void settle()
{
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
}

// A line file of `lines` paths, written a piece at a time.
void writeLines(const QString& path, int lines, const char* stem)
{
    QFile f(path);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    QByteArray piece;
    for (int i = 0; i < lines; ++i) {
        piece += "/home/user/Music/Artist " + QByteArray::number(i % 300) + stem + QByteArray::number(i) + "\r\n";
        if (piece.size() > (1 << 20)) {
            f.write(piece);
            piece.clear();
        }
    }
    f.write(piece);
}

struct LongHome : BenchHome {
    ~LongHome()
    {
        forms().unloadAll();
        veltra::setUiServices(nullptr);
    }
};

void BM_StartupWithAMillionBookmarks(benchmark::State& state)
{
    LongHome home;
    writeLines(home.dir.path() + QStringLiteral("/bookmarks.sbl"), 1000000, "/Album/");
    const double before = peakRssMB();
    for (auto _ : state) {
        Main();
        settle();
        state.PauseTiming();
        if (forms().get<FrmMain>().mnuBookmark->count() != FrmMain::kBookmarksShown + 1) state.SkipWithError("menu not built");
        forms().unloadAll();
        state.ResumeTiming();
    }
    state.counters["peak_RSS_MB"] = peakRssMB();
    state.counters["RSS_before_MB"] = before;
}
BENCHMARK(BM_StartupWithAMillionBookmarks)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_OpenBookmarkMenuOfAMillionLines(benchmark::State& state)
{
    LongHome home;
    writeLines(home.dir.path() + QStringLiteral("/bookmarks.sbl"), 1000000, "/Album/");
    Main();
    settle();
    QMenu* menu = forms().get<FrmMain>().mnuOpenBookmark;
    for (auto _ : state) {
        menu->popup(QPoint(0, 0));
        settle();
        state.PauseTiming();
        if (!menu->isVisible()) state.SkipWithError("the menu did not show");
        menu->hide();
        settle();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenBookmarkMenuOfAMillionLines)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_AddLocationWithFourMillionLocations(benchmark::State& state)
{
    LongHome home;
    writeLines(FrmAddLocation::locationsFile(), 4000000, "/Album ");
    Main();
    settle();
    for (auto _ : state) {
        FrmAddLocation& dialog = forms().fresh<FrmAddLocation>();
        dialog.show();
        settle();
        state.PauseTiming();
        if (dialog.cmbLocation->count() != FrmAddLocation::kLocationsShown) state.SkipWithError("history not loaded");
        forms().unload<FrmAddLocation>();
        settle();
        state.ResumeTiming();
    }
    state.counters["peak_RSS_MB"] = peakRssMB();
}
BENCHMARK(BM_AddLocationWithFourMillionLocations)->Unit(benchmark::kMillisecond)->Iterations(5);

// Argument: the characters of the one line.
void BM_LyricsOfOneLongLine(benchmark::State& state)
{
    LongHome home;
    const QString song = home.dir.path() + QStringLiteral("/long.mp3");
    mp3maker::Song s;
    s.seconds = 1;
    s.extraFrames.append({"USLT", QByteArray("\0eng\0", 5) + QByteArray(qsizetype(state.range(0)), 'w')});
    if (!mp3maker::makeMp3(song, s)) state.SkipWithError("song not written");
    Main();
    settle();
    FrmLyrics& lyrics = forms().get<FrmLyrics>();
    for (auto _ : state) {
        lyrics.lyrics_OpenFile(song);
        settle();
        state.PauseTiming();
        if (!lyrics.isVisible() || lyrics.txtLyrics->document()->characterCount() < state.range(0)) state.SkipWithError("not shown");
        lyrics.lyrics_Close();
        lyrics.txtLyrics->clear();
        settle();
        state.ResumeTiming();
    }
    state.counters["peak_RSS_MB"] = peakRssMB();
}
BENCHMARK(BM_LyricsOfOneLongLine)->Arg(1000000)->Arg(30000000)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
