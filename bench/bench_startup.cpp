// Start-up to the main window shown, and saving on exit, with a 10,000-row default playlist.
#include "BenchHome.h"
#include "common/ListViewModel.h"
#include "common/PlaylistRow.h"
#include "common/modListFiles.h"
#include "common/modSettings.h"
#include "common/modTray.h"
#include "platform/MediaPlayerFactory.h"
#include "platform/ProgramFolder.h"
#include "platform/FakeMediaPlayerControl.h"
#include "platform/RecordingUiServices.h"
#include "platform/SoundDevice.h"
#include "mainwindow/FrmMain.h"
#include "startup/Forms.h"
#include "startup/modMain.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

struct StartupHome : BenchHome {
    StartupHome(int rows)
    {
        QDir().mkpath(dir.path() + QStringLiteral("/Playlists"));
        ListViewModel list;
        list.setColumns(PlaylistColumn::headers());
        std::vector<QStringList> all;
        for (int i = 1; i <= rows; ++i)
            all.push_back({QString::number(i), QStringLiteral("Artist %1").arg(i % 300), QStringLiteral("Title number %1").arg(i),
                           QStringLiteral("1999"), QStringLiteral("Play"), QStringLiteral("03:45"),
                           QStringLiteral("/home/user/Music/Artist %1/Album/%2 - Title number %2.mp3").arg(i % 300).arg(i)});
        list.addRows(all);
        controls_SaveListView(list, dir.path() + QStringLiteral("/Playlists/default.spp"));
    }
    ~StartupHome()
    {
        forms().unloadAll();
        veltra::setUiServices(nullptr);
    }
};

// Start-up to the main window shown, timed from Main on a program folder `prepare` fills.
template <class Prepare>
void timeStartups(benchmark::State& state, int rows, Prepare prepare)
{
    for (auto _ : state) {
        state.PauseTiming();
        StartupHome home(rows);
        prepare(home.dir.path());
        state.ResumeTiming();
        Main();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(forms().get<FrmMain>().rows().count());
        state.PauseTiming();
        forms().unloadAll();
        state.ResumeTiming();
    }
}

void BM_StartupWith10000Rows(benchmark::State& state)
{
    timeStartups(state, 10000, [](const QString&) {});
}
BENCHMARK(BM_StartupWith10000Rows)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_SaveOnExitWith10000Rows(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        StartupHome home(10000);
        Main();
        state.ResumeTiming();
        forms().get<FrmMain>().window_SaveSettingsOnClose();
        state.PauseTiming();
        forms().unloadAll();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SaveOnExitWith10000Rows)->Unit(benchmark::kMillisecond)->Iterations(5);


// Start-up with a 5 MB settings.ini (the usual keys, then many more a long life leaves
// behind) and a 100,000-line bookmarks.sbl. Target: under 0.5 s.
void writeBigSettingsAndBookmarks(const QString& folder)
{
    QByteArray ini = "; VELTRA Settings:\r\n\r\n[Settings]\r\nUseSystemTraySupport=1\r\nWriteConsoleLogs=1\r\n"
                     "[Sound]\r\nVolume=40\r\nBalance=50\r\n";
    for (int s = 0; ini.size() < 5 * 1024 * 1024; ++s) {
        ini += "[Position_Window" + QByteArray::number(s) + "]\r\n";
        for (int k = 0; k < 500; ++k)
            ini += "SomeRememberedValueNumber" + QByteArray::number(k) + "=/home/user/Music/Some Artist/Some Album/"
                + QByteArray::number(k) + ".mp3\r\n";
    }
    QFile f(folder + QStringLiteral("/settings.ini"));
    f.open(QIODevice::WriteOnly);
    f.write(ini);
    f.close();
    QByteArray marks;
    for (int i = 0; i < 100000; ++i)
        marks += "/home/user/Music/Artist " + QByteArray::number(i % 300) + "/Album/" + QByteArray::number(i) + ".mp3\r\n";
    QFile b(folder + QStringLiteral("/bookmarks.sbl"));
    b.open(QIODevice::WriteOnly);
    b.write(marks);
}

void BM_StartupWithBigSettingsAndBookmarks(benchmark::State& state)
{
    timeStartups(state, 10, writeBigSettingsAndBookmarks);
}
BENCHMARK(BM_StartupWithBigSettingsAndBookmarks)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
