// The main window's global-key and tray-watch timers in the real program on a private X
// server: hot keys typed into another program stop playing while VELTRA is hidden in the
// tray, and a notification area that starts after VELTRA gets its icon. Skipped where Xvfb,
// XTEST, trayer or PulseAudio are missing.
#include "support/Mp3Maker.h"
#include "support/PulseNullSink.h"
#include "support/TestEnv.h"
#include "support/XvfbSession.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>
#include <functional>

#ifdef VELTRA_HAVE_XVFB_SESSION
#include <X11/Xatom.h>

namespace {

bool waitUntil(const std::function<bool()>& done, int ms)
{
    QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired()) return false;
        QThread::msleep(50);
    }
    return true;
}

// What the test sees of the X server's windows.
class Windows {
public:
    explicit Windows(const QByteArray& display) : m_x(XOpenDisplay(display.constData()))
    {
        // Windows come and go while the tree is walked: one gone meanwhile is simply not found.
        XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    }
    ~Windows()
    {
        if (m_x) XCloseDisplay(m_x);
    }

    qint64 pidOf(Window w) const
    {
        Atom type;
        int format;
        unsigned long count, after;
        unsigned char* data = nullptr;
        qint64 pid = 0;
        if (XGetWindowProperty(m_x, w, XInternAtom(m_x, "_NET_WM_PID", False), 0, 1, False, XA_CARDINAL, &type, &format, &count,
                               &after, &data) == Success && data && count == 1)
            pid = qint64(*reinterpret_cast<unsigned long*>(data));
        if (data) XFree(data);
        return pid;
    }
    QString nameOf(Window w) const
    {
        char* name = nullptr;
        QString text;
        if (XFetchName(m_x, w, &name) && name) text = QString::fromLocal8Bit(name);
        if (name) XFree(name);
        return text;
    }
    bool viewable(Window w) const
    {
        XWindowAttributes a;
        return XGetWindowAttributes(m_x, w, &a) && a.map_state == IsViewable;
    }
    // Every window, with its parent.
    QList<std::pair<Window, Window>> all() const
    {
        QList<std::pair<Window, Window>> found;
        std::function<void(Window)> walk = [&](Window w) {
            Window root, parent, *children = nullptr;
            unsigned int n = 0;
            if (!XQueryTree(m_x, w, &root, &parent, &children, &n)) return;
            for (unsigned int i = 0; i < n; ++i) {
                found.append({children[i], w});
                walk(children[i]);
            }
            if (children) XFree(children);
        };
        walk(DefaultRootWindow(m_x));
        return found;
    }
    Window named(const QString& title, qint64 pid) const
    {
        for (const auto& [w, parent] : all())
            if (pidOf(w) == pid && nameOf(w) == title) return w;
        return 0;
    }
    // A window of `pid` that sits inside a window of `panelPid`: an icon docked in the panel.
    bool dockedIn(qint64 pid, qint64 panelPid) const
    {
        QHash<Window, Window> parents;
        const auto windows = all();
        for (const auto& [w, parent] : windows) parents.insert(w, parent);
        for (const auto& [w, parent] : windows) {
            if (pidOf(w) != pid) continue;
            for (Window up = parent; up && parents.contains(up); up = parents.value(up))
                if (pidOf(up) == panelPid) return true;
        }
        return false;
    }
    // As the window manager's close button asks.
    void close(Window w) { askToClose(m_x, w); }

private:
    Display* m_x;
};

class TimersOnX11Test : public VeltraTest {
protected:
    void SetUp() override
    {
        VeltraTest::SetUp();
        for (const char* tool : {"Xvfb", "trayer"})
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) GTEST_SKIP() << tool << " is not installed";
        if (!PulseNullSink::toolsPresent()) GTEST_SKIP() << "PulseAudio is missing";
        QString why;
        ASSERT_TRUE(server.start(&why)) << why.toStdString();
        ASSERT_TRUE(pulse.start(&why)) << why.toStdString();
        windows = std::make_unique<Windows>(server.display());
    }
    void TearDown() override
    {
        for (QProcess* p : {&veltra, &panel}) {
            if (p->state() == QProcess::NotRunning) continue;
            p->terminate();
            if (!p->waitForFinished(10000)) p->kill();
            p->waitForFinished(2000);
        }
        windows.reset();
        pulse.stop();
        VeltraTest::TearDown();
    }

    QProcessEnvironment environment() const
    {
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();   // the sound server too
        e.insert(QStringLiteral("DISPLAY"), QString::fromLatin1(server.display()));
        e.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        e.insert(QStringLiteral("VELTRA_HOME"), home());
        e.insert(QStringLiteral("XDG_DATA_HOME"), home(QStringLiteral(".xdg-data")));
        e.insert(QStringLiteral("XDG_CONFIG_HOME"), home(QStringLiteral(".xdg-config")));
        return e;
    }
    void startPanel()
    {
        panel.setProcessEnvironment(environment());
        panel.start(QStringLiteral("trayer"), {QStringLiteral("--edge"), QStringLiteral("top"), QStringLiteral("--align"), QStringLiteral("right")});
        ASSERT_TRUE(panel.waitForStarted(5000));
    }
    void startVeltra()
    {
        veltra.setProcessEnvironment(environment());
        veltra.setProcessChannelMode(QProcess::MergedChannels);
        veltra.setStandardOutputFile(home(QStringLiteral("veltra-output.txt")));
        veltra.start(QStringLiteral(VELTRA_BINARY), {});
        ASSERT_TRUE(veltra.waitForStarted(5000));
    }
    QByteArray output() const { return readFile(home(QStringLiteral("veltra-output.txt"))); }
    // Streams the sound server plays: one while VELTRA plays a song.
    int playingStreams() const
    {
        QProcess pactl;
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        e.insert(QStringLiteral("PULSE_SERVER"), pulse.server());
        pactl.setProcessEnvironment(e);
        pactl.start(QStringLiteral("pactl"), {QStringLiteral("list"), QStringLiteral("short"), QStringLiteral("sink-inputs")});
        pactl.waitForFinished(5000);
        const QByteArray out = pactl.readAllStandardOutput().trimmed();
        return out.isEmpty() ? 0 : int(out.count('\n')) + 1;
    }

    Xvfb server;
    PulseNullSink pulse;
    std::unique_ptr<Windows> windows;
    QProcess panel;
    QProcess veltra;
};

TEST_F(TimersOnX11Test, GlobalStopKeysStopPlayingWhileTheWindowIsHiddenInTheTray)
{
    mp3maker::Song song;
    song.seconds = 40;
    ASSERT_TRUE(mp3maker::makeMp3(home(QStringLiteral("music/long.mp3")), song));
    const QByteArray row = "\"01\"\r\n\"A\"\r\n\"T\"\r\n\"\"\r\n\"Play\"\r\n\"\"\r\n\"" + home(QStringLiteral("music/long.mp3")).toUtf8() + "\"\r\n";

    const struct {
        const char* what;
        QByteArray keys;      // [GlobalKeys] in settings.ini
        bool mediaKey;        // the keyboard's Stop key, else Ctrl+Shift+F8
    } cases[] = {
        {"a hot key set in [GlobalKeys]", "[GlobalKeys]\r\nStopExt=Ctrl+Shift\r\nStopKey=F8\r\n", false},
        {"the media Stop key", "", true},
    };
    startPanel();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        writeFile(QStringLiteral("Playlists/default.spp"), row);
        writeFile(QStringLiteral("settings.ini"), "[Settings]\r\nPlayMusicOnStartUp=1\r\n" + c.keys);
        startVeltra();
        ASSERT_TRUE(waitUntil([&] { return playingStreams() == 1; }, 20000)) << output().constData();

        // Closed to the tray.
        Window main = 0;
        ASSERT_TRUE(waitUntil([&] { return (main = windows->named(QStringLiteral("VELTRA"), veltra.processId())) != 0; }, 10000));
        ASSERT_TRUE(waitUntil([&] { return windows->viewable(main); }, 10000));
        windows->close(main);
        ASSERT_TRUE(waitUntil([&] { return !windows->viewable(main); }, 5000));
        EXPECT_EQ(playingStreams(), 1);

        // Another program has the keyboard; the key is typed there.
        Typist typist(server.display());
        ASSERT_TRUE(typist.usable());
        typist.takeFocus();
        if (c.mediaKey) {
            KeyCode stop = typist.keycode(XF86XK_AudioStop);
            if (!stop) stop = typist.mapSpareKeycode(XF86XK_AudioStop);
            ASSERT_NE(stop, 0);
            typist.fake(stop, true);
            typist.fake(stop, false);
        } else {
            typist.down(XK_Control_L);
            typist.down(XK_Shift_L);
            typist.tap(XK_F8);
            typist.up(XK_Shift_L);
            typist.up(XK_Control_L);
        }
        EXPECT_TRUE(waitUntil([&] { return playingStreams() == 0; }, 3000)) << "still playing\n" << output().constData();
        EXPECT_FALSE(windows->viewable(main));

        ::kill(pid_t(veltra.processId()), SIGTERM);
        ASSERT_TRUE(veltra.waitForFinished(15000));
        EXPECT_EQ(veltra.exitCode(), 0) << output().constData();
    }
}

TEST_F(TimersOnX11Test, ANotificationAreaThatStartsLaterGetsTheIconWithinTwoSeconds)
{
    startVeltra();
    Window main = 0;
    ASSERT_TRUE(waitUntil([&] { return (main = windows->named(QStringLiteral("VELTRA"), veltra.processId())) != 0; }, 15000))
        << output().constData();
    ASSERT_TRUE(waitUntil([&] { return windows->viewable(main); }, 10000));
    QThread::msleep(1000);
    // No box about the missing notification area.
    EXPECT_EQ(windows->named(QStringLiteral("Error Installing System Tray Icon"), veltra.processId()), Window(0));

    startPanel();
    QThread::msleep(300);   // the panel takes the notification area
    EXPECT_TRUE(waitUntil([&] { return windows->dockedIn(veltra.processId(), panel.processId()); }, 2000))
        << "no icon in the panel";
    EXPECT_EQ(veltra.state(), QProcess::Running);
}

} // namespace
#endif
