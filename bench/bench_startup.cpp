// Start-up to the main window shown, and saving on exit, with a 10,000-row default playlist.
#include "common/ListViewModel.h"
#include "common/PlaylistRow.h"
#include "common/modListFiles.h"
#include "common/modSettings.h"
#include "common/modTray.h"
#include "platform/MediaPlayerFactory.h"
#include "platform/ProgramFolder.h"
#include "platform/RecordingUiServices.h"
#include "platform/SoundDevice.h"
#include "player/FrmMain.h"
#include "startup/Forms.h"
#include "startup/modMain.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

struct StartupHome {
    QTemporaryDir dir;
    veltra::RecordingUiServices ui;
    StartupHome(int rows)
    {
        programfolder::setPath(dir.path());
        settings_SetPath(programfolder::file(QStringLiteral("settings.ini")));
        veltra::setUiServices(&ui);
        sounddevice::setOverride([] { return true; });
        veltra::setMediaPlayerFactory([](QObject* p) { return new veltra::FakeMediaPlayerControl(p); });
        tray::setAvailabilityOverride([] { return tray::Availability::NoDesktop; });
        startup::setArguments({});
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

void BM_StartupWith10000Rows(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        StartupHome home(10000);
        state.ResumeTiming();
        Main();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(forms().get<FrmMain>().rows().count());
        state.PauseTiming();
        forms().unloadAll();
        state.ResumeTiming();
    }
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

} // namespace
