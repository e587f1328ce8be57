// Memory of the real program over many trips to the tray: `veltra` on a private X server under
// a real window manager with trayer as the notification area and a private null sink, a short
// video looping (640x360 unless VELTRA_BENCH_VIDEO gives another size), another program's window
// beside it, and the main window closed to the tray (the close box, every tenth trip Esc) and
// brought back with the video by one click on the tray icon, again and again. Prints the
// resident memory of the veltra process after trips 5, 50, 100, 200, ... and the least-squares
// slope over the second half of the trips; fails when memory still rose there.
// With "idle LOOPS" in place of a number of trips the video only starts over that often (as
// often as a run with trips saw it), for the memory of playing alone.
// VELTRA_BENCH_WRAP runs the program under a command, e.g. "heaptrack -o /tmp/veltra";
// VELTRA_BENCH_SMAPS names a folder for the program's memory maps at each checkpoint.
// bench/tray-memory runs it. Usage:
//   veltra_traymemory [TRIPS|idle LOOPS] [openbox|mutter|xfwm4|kwin_x11]   (500, mutter)
#include "support/Mp3Maker.h"

#include <QCoreApplication>
#include <QElapsedTimer>
// After the above: Xlib's macros would clash with their names.
#include "e2e/DesktopFixture.h"

#ifdef VELTRA_HAVE_XVFB_SESSION
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

using desktopsession::Screen;
using desktopsession::waitFor;
using desktop::WindowManager;

int g_trips = 500;
int g_idleLoops = 0;   // > 0: no trips, this many starts of the video
WindowManager g_windowManager = WindowManager::Mutter;

// Rising by more than this per trip over the second half counts as a leak: a tenth of the
// 100 KB a trip kept when the rise was reported. The allocator's arenas step up by a few MB at a
// time and fall back (a sawtooth), so one step alone fails nothing: memory has to rise in both
// quarters of the second half.
constexpr double kMostKbPerTrip = 10.0;

// A line of the process's status in kB: "VmRSS", or its parts "RssAnon" (the heap and other
// private memory), "RssFile" (code and files mapped) and "RssShmem" (shared memory, e.g. the
// window pictures shared with the X server).
long statusKb(qint64 pid, const QByteArray& key = "VmRSS")
{
    QFile f(QStringLiteral("/proc/%1/status").arg(pid));
    if (!f.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(key + ':')) return line.mid(key.size() + 1).trimmed().split(' ').value(0).toLong();
    return 0;
}
long residentKb(qint64 pid) { return statusKb(pid); }

// The slope of y over x by least squares.
double slope(const std::vector<std::pair<double, double>>& points)
{
    double sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (const auto& [x, y] : points) sx += x, sy += y, sxx += x * x, sxy += x * y;
    const double n = double(points.size()), d = n * sxx - sx * sx;
    return points.size() < 2 || d == 0 ? 0 : (n * sxy - sx * sy) / d;
}

// Three seconds of a moving test picture of the given size ("640x360") with a tone, as
// testmedia makes its smaller videos.
bool makeVideo(const QString& path, const QString& size, QString* why)
{
    QProcess ffmpeg;
    ffmpeg.setProcessChannelMode(QProcess::MergedChannels);
    ffmpeg.start(QStringLiteral("ffmpeg"),
                 {QStringLiteral("-hide_banner"), QStringLiteral("-loglevel"), QStringLiteral("error"), QStringLiteral("-y"),
                  QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                  QStringLiteral("testsrc=size=%1:rate=25:duration=3").arg(size), QStringLiteral("-f"), QStringLiteral("lavfi"),
                  QStringLiteral("-i"), QStringLiteral("sine=frequency=440:sample_rate=44100:duration=3"), QStringLiteral("-c:v"),
                  QStringLiteral("mpeg4"), QStringLiteral("-c:a"), QStringLiteral("libmp3lame"), QStringLiteral("-f"),
                  QStringLiteral("avi"), path});
    if (ffmpeg.waitForFinished(60000) && ffmpeg.exitStatus() == QProcess::NormalExit && ffmpeg.exitCode() == 0) return true;
    *why = QStringLiteral("ffmpeg could not make the video: ") + QString::fromLocal8Bit(ffmpeg.readAll());
    return false;
}

bool checkpoint(int trip) { return trip == 5 || trip == 50 || trip == 100 || trip % 100 == 0; }

class TrayMemory : public desktopsession::Desktop {
protected:
    TrayMemory() { windowManager = g_windowManager; }

    Window video() const
    {
        for (unsigned long c : screen->clients())
            if (screen->title(Window(c)) == QLatin1String("VELTRA Video")) return Window(c);
        return 0;
    }
    // The program started as startOnDesktop starts it, under the command VELTRA_BENCH_WRAP names
    // (heaptrack, valgrind ...) when it is set: true once the main window and the tray icon are
    // there, `pid` then the program's own process.
    bool startUnder(const QByteArray& settings, const QString& clip)
    {
        QStringList command = QString::fromLocal8Bit(qgetenv("VELTRA_BENCH_WRAP")).split(u' ', Qt::SkipEmptyParts);
        if (command.isEmpty()) return startOnDesktop(settings, {clip}) && (pid = player.processId()) > 0;
        slower = 10;
        QFile ini(home.filePath(QStringLiteral("settings.ini")));
        if (!ini.open(QIODevice::WriteOnly) || ini.write(settings) != settings.size()) return false;
        ini.close();
        QProcessEnvironment e = env();
        e.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        e.insert(QStringLiteral("DISPLAY"), QString::fromLatin1(server.display()));
        player.setProcessEnvironment(e);
        player.setProcessChannelMode(QProcess::MergedChannels);
        command << QStringLiteral(VELTRA_BINARY) << clip;
        player.start(command.takeFirst(), command);
        if (!player.waitForStarted(10000)) return false;
        return waitFor(
            [&] {
                return (main = screen->managed("VELTRA")) && screen->shownNormally(main) && (icon = screen->trayIcon())
                       && (pid = descendant(player.processId(), "veltra")) > 0;
            },
            300000);
    }
    // The process of that name the given one started, or started through others.
    static qint64 descendant(qint64 parent, const QByteArray& name)
    {
        for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
            const qint64 child = entry.toLongLong();
            if (child <= 0) continue;
            const QByteArray stat = mp3maker::readBytes(QStringLiteral("/proc/%1/stat").arg(child));
            const qsizetype close = stat.lastIndexOf(')');
            if (close < 0 || stat.mid(close + 2).split(' ').value(1).toLongLong() != parent) continue;
            if (stat.mid(stat.indexOf('(') + 1, close - stat.indexOf('(') - 1) == name) return child;
            if (const qint64 deeper = descendant(child, name)) return deeper;
        }
        return 0;
    }
    // Ends the program as the desktop ends it; its exit code.
    int end()
    {
        ::kill(pid_t(pid), SIGTERM);
        if (player.waitForFinished(60000 * slower)) return player.exitCode();
        player.kill();
        player.waitForFinished();
        return -1;
    }

    qint64 pid = 0;
    int slower = 1;   // how much longer waits may take under a wrapper

    qsizetype starts() const { return mp3maker::readBytes(home.filePath(QStringLiteral("console.log"))).count("Played "); }
};

TEST_F(TrayMemory, ResidentMemoryOverTripsToTheTray)
{
    Screen& s = *screen;
    // Another program's window, which has the focus while the player is in the tray.
    const Window other = s.mapOtherWindow();
    const QString clip = home.filePath(QStringLiteral("clip.avi"));
    QString why;
    ASSERT_TRUE(makeVideo(clip, qEnvironmentVariable("VELTRA_BENCH_VIDEO", QStringLiteral("640x360")), &why)) << why.toStdString();
    // The video over and over, its starts written to the console log.
    ASSERT_TRUE(startUnder("[Playback]\r\nPlaylistRepeat=1\r\nPlaylistStopAfterEnding=0\r\n[Settings]\r\nRememberTheConsoleLogs=1\r\n", clip))
        << player.readAll().constData();
    Window w = 0;
    ASSERT_TRUE(waitFor([&] { return (w = video()) && s.shownNormally(w); }, 20000 * slower)) << "the video did not show";
    std::printf("%s, %s, veltra pid %lld, RSS at start %ld kB\n", desktop::program(windowManager),
                g_idleLoops ? "no trips" : "trips to the tray", pid, residentKb(pid));
    std::fflush(stdout);

    std::vector<std::pair<double, double>> samples;   // (trip or loop, kB)
    const int count = g_idleLoops ? g_idleLoops : g_trips;
    // Where the memory maps go at each checkpoint, to see which of them grew.
    const QString smaps = qEnvironmentVariable("VELTRA_BENCH_SMAPS");
    QElapsedTimer sinceClick, all;
    all.start();
    const qsizetype firstStarts = starts();
    for (int n = 1; n <= count; ++n) {
        if (g_idleLoops) {
            ASSERT_TRUE(waitFor([&] { return starts() >= firstStarts + n; }, 20000 * slower)) << "the video did not start over";
        } else {
            SCOPED_TRACE(n);
            if (n % 10 == 0) {
                s.activate(main);
                ASSERT_TRUE(waitFor([&] { return s.active() == main; }, 10000 * slower)) << "the main window did not take the focus";
                Typist(server.display()).tap(XK_Escape);
            } else {
                askToClose(s.x(), main);
            }
            ASSERT_TRUE(waitFor([&] { return s.inTray(main) && !((w = video()) && s.state(w).viewable); }, 10000 * slower))
                << "the window did not go to the tray";
            // The window manager's round trips, as a user leaves them: the focus moves on to the
            // other window (mutter sometimes leaves it nowhere).
            waitFor([&] { return s.active() == other; }, 2000 * slower);
            // Past the double-click time since the click before: this one is a single click.
            if (sinceClick.isValid() && sinceClick.elapsed() < 600) QThread::msleep(600 - sinceClick.elapsed());
            s.click(icon);
            sinceClick.start();
            ASSERT_TRUE(waitFor([&] { return s.shownNormally(main) && (w = video()) && s.shownNormally(w); }, 10000 * slower))
                << "one click did not bring the windows back: main viewable " << s.state(main).viewable << ", WM_STATE "
                << s.state(main).wmState << ", video " << (w ? s.state(w).wmState : -2) << ", icon " << icon << " now " << s.trayIcon();
        }
        const long kb = residentKb(pid);
        samples.emplace_back(n, double(kb));
        if (checkpoint(n) || n == count) {
            // Read, not copied: the kernel gives such a file no size.
            if (!smaps.isEmpty())
                mp3maker::writeBytes(QStringLiteral("%1/smaps.%2").arg(smaps).arg(n, 4, 10, QChar(u'0')),
                                     mp3maker::readBytes(QStringLiteral("/proc/%1/smaps").arg(pid)));
            std::printf("  after %s %4d: VmRSS %7.1f MB  (anon %.1f, file %.1f, shmem %.1f; %lld s)\n", g_idleLoops ? "loop" : "trip", n,
                        kb / 1024.0, statusKb(pid, "RssAnon") / 1024.0, statusKb(pid, "RssFile") / 1024.0,
                        statusKb(pid, "RssShmem") / 1024.0, all.elapsed() / 1000);
            std::fflush(stdout);
        }
    }

    const auto part = [&](double from, double to) {
        return slope({samples.begin() + qsizetype(samples.size() * from), samples.begin() + qsizetype(samples.size() * to)});
    };
    const double half = part(0.5, 1), third = part(0.5, 0.75), fourth = part(0.75, 1);
    const char* unit = g_idleLoops ? "loop" : "trip";
    std::printf("slope over the second half: %+.2f kB per %s (%+.1f MB per 100); third quarter %+.2f, fourth %+.2f; video started %lld "
                "times\n",
                half, unit, half * 100 / 1024, third, fourth, starts() - firstStarts);
    const bool rising = half > kMostKbPerTrip && std::min(third, fourth) > kMostKbPerTrip;
    if (rising)
        std::printf("FAIL: memory kept rising through the second half, more than %.0f kB a %s\n", kMostKbPerTrip, unit);
    else if (half > kMostKbPerTrip)
        std::printf("PASS: memory stepped up once in the second half and stood (a quarter within %.0f kB a %s)\n", kMostKbPerTrip, unit);
    else
        std::printf("PASS: memory levelled off (second half within %.0f kB a %s)\n", kMostKbPerTrip, unit);
    std::fflush(stdout);
    EXPECT_FALSE(rising);
    EXPECT_EQ(end(), 0) << player.readAll().constData();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    int at = 1;
    if (at < argc && qstrcmp(argv[at], "idle") == 0 && at + 1 < argc) {
        g_idleLoops = std::max(1, QByteArray(argv[at + 1]).toInt());
        at += 2;
    } else if (at < argc && QByteArray(argv[at]).toInt() > 0) {
        g_trips = QByteArray(argv[at++]).toInt();
    }
    if (at < argc) {
        const QByteArray wm = argv[at];
        for (WindowManager m : {WindowManager::Openbox, WindowManager::Xfwm4, WindowManager::KWin, WindowManager::Mutter})
            if (wm == desktop::program(m)) g_windowManager = m;
    }
    return RUN_ALL_TESTS();
}

#else
#include <cstdio>
int main()
{
    std::fprintf(stderr, "built without X11 and XTEST\n");
    return 2;
}
#endif
