// The main window's playlist at size, shown offscreen: opening a 100,000-row playlist file
// from the playlist box (target under 1 s with painting), saving it (under 0.3 s), adding a
// folder of 10,000 MP3 files with their tags read, renumbered and scanned for dead and
// duplicate entries, with console logging on (under 1.5 s), and the process's peak memory
// with 100,000 rows shown (under 150 MB; run that benchmark alone for a clean figure), and
// a drop of 1,000 songs from the file manager.
#include "BenchHome.h"
#include "common/FrmConsole.h"
#include "common/ListView.h"
#include "common/PlaylistRow.h"
#include "common/modControls.h"
#include "common/modListFiles.h"
#include "common/modSettings.h"
#include "platform/MediaPlayerControl.h"
#include "platform/MediaPlayerFactory.h"
#include "platform/ProgramFolder.h"
#include "platform/FakeMediaPlayerControl.h"
#include "platform/RecordingUiServices.h"
#include "platform/SoundDevice.h"
#include "mainwindow/FrmMain.h"
#include "startup/Forms.h"
#include "support/Mp3Maker.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

constexpr int kRows = 100000;
constexpr int kFiles = 10000;

// One program folder for every benchmark of this file, with the recording message boxes
// and the fake player, as the tests have.
struct Home : BenchHome {
    Home()
    {
        qputenv("VELTRA_HOME", dir.path().toUtf8());
        QDir().mkpath(programfolder::file(QStringLiteral("Playlists")));
    }
};

Home& home()
{
    static Home h;
    return h;
}

void settle() { QCoreApplication::processEvents(); }

FrmMain& shownMain()
{
    home();
    FrmMain& main = forms().get<FrmMain>();
    if (!main.isVisible()) {
        main.resize(900, 650);
        main.show();
        settle();
    }
    return main;
}

// Playlists/Big.spp with 100,000 rows, written once, line by line (no list in memory, so
// the memory figure is the open playlist's).
QString bigPlaylist()
{
    static QString path;
    if (path.isEmpty()) {
        path = programfolder::file(QStringLiteral("Playlists/Big.spp"));
        QFile f(path);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        for (int i = 1; i <= kRows; ++i) {
            // albums of ten songs: artist and year shared within an album, lengths and names not
            const QString n = QString::number(i);
            const QString album = QString::number(i / 10);
            const QString artist = QStringLiteral("Artist ") + QString::number((i / 10) % 977);
            const QString length = QStringLiteral("%1:%2").arg(2 + (i * 7) % 5, 2, 10, QLatin1Char('0')).arg((i * 13) % 60, 2, 10, QLatin1Char('0'));
            const QStringList cells = {n, artist, QStringLiteral("Title number ") + n, QString::number(1960 + (i / 10) % 60),
                                       QStringLiteral("Play"), length,
                                       QStringLiteral("/home/user/Music/") + artist + QStringLiteral("/Album ") + album + u'/' + n
                                           + QStringLiteral(" - A Song.mp3")};
            f.write(listfile::formatCells(cells).toUtf8());
        }
    }
    return path;
}

// Opens Big through the playlist box, as a user choosing it does, and lets it paint.
void openBig(FrmMain& main)
{
    main.PlaylistComboReady = false;
    main.cmbPlaylists->setCurrentIndex(0);
    main.PlaylistComboReady = true;
    main.cmbPlaylists->setCurrentIndex(main.cmbPlaylists->findText(QStringLiteral("Big")));
    settle();
}

void prepareCombo(FrmMain& main)
{
    bigPlaylist();
    main.cmbPlaylists->clear();
    main.window_InstallPlaylists();
    main.PlaylistComboReady = true;
}

void BM_OpenPlaylist100k(benchmark::State& state)
{
    FrmMain& main = shownMain();
    prepareCombo(main);
    for (auto _ : state) openBig(main);
    if (main.rows().count() != kRows) state.SkipWithError("the playlist did not open");
}
BENCHMARK(BM_OpenPlaylist100k)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_SavePlaylist100k(benchmark::State& state)
{
    FrmMain& main = shownMain();
    prepareCombo(main);
    openBig(main);
    const QString path = programfolder::file(QStringLiteral("Playlists/Saved.spp"));
    for (auto _ : state) {
        if (!controls_SaveListView(main.rows(), path)) state.SkipWithError("saving failed");
    }
}
BENCHMARK(BM_SavePlaylist100k)->Unit(benchmark::kMillisecond)->Iterations(5);

// 10,000 small songs with both tags, made once.
QString songFolder()
{
    static QTemporaryDir dir;
    static bool made = false;
    if (!made) {
        for (int i = 0; i < kFiles; ++i) {
            const QString n = QString::number(i);
            mp3maker::Song song{.artist = "Artist " + QString::number(i % 300), .title = "Title " + n, .album = "Album",
                                .year = "2001", .seconds = 3, .bitrate = 64, .id3v1 = true, .padding = 256};
            mp3maker::makeMp3(dir.path() + QStringLiteral("/song%1.mp3").arg(i, 5, 10, QLatin1Char('0')), song);
        }
        made = true;
    }
    return dir.path();
}

void BM_AddFolder10k(benchmark::State& state)
{
    FrmMain& main = shownMain();
    const QString folder = songFolder();
    settings_WriteValue(QStringLiteral("Settings"), QStringLiteral("AlwaysScanPlaylistWhenAddingSongs"), QStringLiteral("1"));
    settings_WriteValue(QStringLiteral("Settings"), QStringLiteral("RememberTheConsoleLogs"), QStringLiteral("0"));
    FrmConsole& console = forms().get<FrmConsole>();
    console.LoggingEnabled = true;
    main.mnuTagsShowTagsAsFilesAreAdded->setChecked(true);
    for (auto _ : state) {
        state.PauseTiming();
        controls_ClearListView(main.rows());
        console.setText(QString());
        settle();
        state.ResumeTiming();
        main.playlist_AddDirectory(folder, QStringLiteral("mp3"));
        main.playlist_ShowMP3Data(false);
        controls_RenumberItems(main.rows());
        main.playlist_CheckEntries();
        settle();
    }
    if (main.rows().count() != kFiles || main.rows().subItem(kFiles, PlaylistColumn::Length) != QLatin1String("00:03"))
        state.SkipWithError("the folder was not added with its tags");
    state.counters["files/s"] = benchmark::Counter(double(kFiles) * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_AddFolder10k)->Unit(benchmark::kMillisecond)->Iterations(3);

double currentRssMB()
{
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly)) return 0;
    const QList<QByteArray> fields = f.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0) : 0;
}

void BM_Memory100k(benchmark::State& state)
{
    FrmMain& main = shownMain();
    prepareCombo(main);
    const double before = currentRssMB();
    for (auto _ : state) openBig(main);
    state.counters["RSS_before_MB"] = before;
    state.counters["RSS_after_MB"] = currentRssMB();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_RSS_MB"] = double(usage.ru_maxrss) / 1024.0;
    state.counters["rows"] = main.rows().count();
}
BENCHMARK(BM_Memory100k)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

namespace {
// Dropping 1,000 songs from the file manager: each is logged and entered in the recent files.
void BM_Drop1000(benchmark::State& state)
{
    FrmMain& main = shownMain();
    QStringList files = QDir(songFolder()).entryList({QStringLiteral("*.mp3")}, QDir::Files, QDir::Name).mid(0, 1000);
    for (QString& f : files) f = songFolder() + u'/' + f;
    main.mnuTagsShowTagsAsFilesAreAdded->setChecked(true);
    for (auto _ : state) {
        state.PauseTiming();
        controls_ClearListView(main.rows());
        settle();
        state.ResumeTiming();
        main.lstvPlaylist_OLEDragDrop(files);
        settle();
    }
    if (main.rows().count() != files.size()) state.SkipWithError("not every file was added");
}
BENCHMARK(BM_Drop1000)->Unit(benchmark::kMillisecond)->Iterations(2);
} // namespace
