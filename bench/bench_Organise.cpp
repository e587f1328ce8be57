// The file tools over a playlist of 10,000 tagged songs in one folder: the Mass Renamer
// giving every song a numbered name (target under 3 s), and Move Music To Folder moving
// all of them to a folder on the same file system (target under 3 s). Both with the
// dialog shown, the main window's rows re-pointed and console logging on.
#include "common/ListViewModel.h"
#include "common/modSettings.h"
#include "common/modTray.h"
#include "library/FrmMassRenamer.h"
#include "library/FrmMoveToFolder.h"
#include "platform/FakeMediaPlayerControl.h"
#include "platform/MediaPlayerFactory.h"
#include "platform/ProgramFolder.h"
#include "platform/RecordingUiServices.h"
#include "platform/SoundDevice.h"
#include "player/FrmMain.h"
#include "startup/Forms.h"
#include "startup/modMain.h"
#include "support/Mp3Maker.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int kSongs = 10000;

// A started program whose playlist holds 10,000 real MP3 files of one folder.
struct OrganiseHome {
    QTemporaryDir dir;
    veltra::RecordingUiServices ui;
    OrganiseHome()
    {
        programfolder::setPath(dir.path());
        settings_SetPath(programfolder::file(QStringLiteral("settings.ini")));
        veltra::setUiServices(&ui);
        sounddevice::setOverride([] { return true; });
        veltra::setMediaPlayerFactory([](QObject* p) { return new veltra::FakeMediaPlayerControl(p); });
        tray::setAvailabilityOverride([] { return tray::Availability::NoDesktop; });
        startup::setArguments({});
        const QString music = dir.path() + QStringLiteral("/Music");
        QDir().mkpath(music);
        // Every file has the same bytes apart from its tags.
        std::vector<QStringList> rows;
        for (int i = 1; i <= kSongs; ++i) {
            const QString path = music + QStringLiteral("/track%1.mp3").arg(i);
            mp3maker::makeMp3(path, {.artist = QStringLiteral("Band"), .title = QStringLiteral("Song %1").arg(i),
                                     .album = QStringLiteral("Album"), .seconds = 0.1, .bitrate = 32, .id3v1 = true,
                                     .id3v2 = false});
            rows.push_back({QString(), QString(), QString(), QString(), QStringLiteral("Play"), QString(), path});
        }
        Main();
        FrmMain& main = forms().get<FrmMain>();
        main.rows().addRows(rows);
        QCoreApplication::processEvents();
    }
    ~OrganiseHome()
    {
        forms().unloadAll();
        veltra::setUiServices(nullptr);
    }
};

void BM_MassRenamer10k(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto home = std::make_unique<OrganiseHome>();
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
        auto home = std::make_unique<OrganiseHome>();
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
