// The file tools over a playlist of 10,000 tagged songs in one folder: the Mass Renamer
// giving every song a numbered name (target under 3 s), and Move Music To Folder moving
// all of them to a folder on the same file system (target under 3 s). Both with the
// dialog shown, the main window's rows re-pointed and console logging on.
#include "PlaylistHome.h"
#include "library/FrmMassRenamer.h"
#include "library/FrmMoveToFolder.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <benchmark/benchmark.h>

namespace {

constexpr int kSongs = 10000;

// Every file has the same bytes apart from its tags.
std::unique_ptr<PlaylistHome> organiseHome()
{
    return std::make_unique<PlaylistHome>(kSongs, [](int i) {
        return mp3maker::Song{.artist = QStringLiteral("Band"), .title = QStringLiteral("Song %1").arg(i),
                              .album = QStringLiteral("Album"), .seconds = 0.1, .bitrate = 32, .id3v1 = true, .id3v2 = false};
    });
}

void BM_MassRenamer10k(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto home = organiseHome();
        FrmMassRenamer& dialog = forms().get<FrmMassRenamer>();
        dialog.chkAddNumbers->setChecked(true);
        dialog.show();
        QCoreApplication::processEvents();
        state.ResumeTiming();
        dialog.cmdRename_Click();
        state.PauseTiming();
        if (!QFile::exists(home->dir.path() + QStringLiteral("/Music/10000 - Band - Song 10000.mp3")))
            state.SkipWithError("not renamed");
        home.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_MassRenamer10k)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_MoveToFolder10k(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto home = organiseHome();
        FrmMoveToFolder& dialog = forms().get<FrmMoveToFolder>();
        const QString out = home->dir.path() + QStringLiteral("/Out");
        QDir().mkpath(out);
        dialog.txtSearch->setText(QStringLiteral("band"));
        dialog.txtDestination->setText(out);
        dialog.show();
        QCoreApplication::processEvents();
        state.ResumeTiming();
        dialog.cmdMove_Click();
        state.PauseTiming();
        if (QDir(out).entryList(QDir::Files).size() != kSongs) state.SkipWithError("not moved");
        home.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_MoveToFolder10k)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
