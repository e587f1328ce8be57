// The real program on a private X server with a small stand-in window manager: hiding from
// the task bar asks the window manager once the window is mapped, the Window menu's item
// switches it back through the keyboard, and Alt+F4 ends the program with the playlist kept.
#include "e2e/EndToEndFixture.h"
#include "support/Mp3Maker.h"
#include "support/Xvfb.h"

#ifdef VELTRA_HAVE_XTEST
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <functional>
#include <memory>
#include <vector>

namespace {

// Maps and places what it is asked to, and records the window-state requests it receives.
class StandInWindowManager {
public:
    struct StateRequest {
        Window window;
        long action;   // 1 add, 0 remove
        Atom first;
        Atom second;
        bool mapped;   // the window was mapped before the request came
    };

    explicit StandInWindowManager(const QByteArray& display) : m_x(XOpenDisplay(display.constData())) {}
    ~StandInWindowManager()
    {
        if (m_x) XCloseDisplay(m_x);
    }

    bool start()
    {
        if (!m_x) return false;
        XSelectInput(m_x, DefaultRootWindow(m_x), SubstructureRedirectMask | SubstructureNotifyMask);
        XSync(m_x, False);
        m_state = XInternAtom(m_x, "_NET_WM_STATE", False);
        skipTaskbar = XInternAtom(m_x, "_NET_WM_STATE_SKIP_TASKBAR", False);
        skipPager = XInternAtom(m_x, "_NET_WM_STATE_SKIP_PAGER", False);
        return true;
    }

    // Serves requests until `done` says so; false when the time ran out first.
    bool serveUntil(const std::function<bool()>& done, int ms)
    {
        QDeadlineTimer deadline(ms);
        while (!deadline.hasExpired()) {
            while (XPending(m_x)) {
                XEvent e;
                XNextEvent(m_x, &e);
                handle(e);
            }
            if (done()) return true;
            QThread::msleep(10);
        }
        return false;
    }

    // The mapped window with this name (0: none yet).
    Window named(const char* name) const
    {
        for (Window w : m_mapped) {
            char* text = nullptr;
            const bool match = XFetchName(m_x, w, &text) && text && qstrcmp(text, name) == 0;
            if (text) XFree(text);
            if (match) return w;
        }
        return 0;
    }

    void focus(Window w)
    {
        XSetInputFocus(m_x, w, RevertToParent, CurrentTime);
        XSync(m_x, False);
    }

    // Keys pressed together and let go in reverse, as a user's fingers do.
    void type(std::initializer_list<KeySym> keys)
    {
        for (KeySym k : keys) XTestFakeKeyEvent(m_x, XKeysymToKeycode(m_x, k), True, CurrentTime);
        for (auto it = std::rbegin(keys); it != std::rend(keys); ++it) XTestFakeKeyEvent(m_x, XKeysymToKeycode(m_x, *it), False, CurrentTime);
        XSync(m_x, False);
    }

    std::vector<StateRequest> requests;
    Atom skipTaskbar = 0;
    Atom skipPager = 0;

private:
    void handle(const XEvent& e)
    {
        if (e.type == MapRequest) {
            XMapWindow(m_x, e.xmaprequest.window);
            XSync(m_x, False);
            m_mapped.push_back(e.xmaprequest.window);
        } else if (e.type == ConfigureRequest) {
            const XConfigureRequestEvent& r = e.xconfigurerequest;
            XWindowChanges c{r.x, r.y, r.width, r.height, r.border_width, r.above, r.detail};
            XConfigureWindow(m_x, r.window, unsigned(r.value_mask), &c);
        } else if (e.type == UnmapNotify) {
            std::erase(m_mapped, e.xunmap.window);
        } else if (e.type == ClientMessage && e.xclient.message_type == m_state) {
            const Window w = e.xclient.window;
            const bool mapped = std::find(m_mapped.begin(), m_mapped.end(), w) != m_mapped.end();
            requests.push_back({w, e.xclient.data.l[0], Atom(e.xclient.data.l[1]), Atom(e.xclient.data.l[2]), mapped});
        }
    }

    Display* m_x;
    Atom m_state = 0;
    std::vector<Window> m_mapped;
};

class WindowManagerRequests : public EndToEnd {
protected:
    void SetUp() override
    {
        if (!Xvfb::installed()) GTEST_SKIP() << "Xvfb is not installed";
        EndToEnd::SetUp();
        if (IsSkipped()) return;
        QString why;
        ASSERT_TRUE(server.start(&why, QStringLiteral("1024x768x24"))) << why.toStdString();
        wm = std::make_unique<StandInWindowManager>(server.display());
        ASSERT_TRUE(wm->start());
    }

    Xvfb server;
    std::unique_ptr<StandInWindowManager> wm;
};

TEST_F(WindowManagerRequests, TaskBarEntryFollowsTheSwitchAndExitKeepsThePlaylist)
{
    StandInWindowManager& manager = *wm;
    QDir().mkpath(home.path() + QStringLiteral("/Playlists"));
    QFile ini(home.path() + QStringLiteral("/settings.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[Settings]\r\nHideInTheTaskManager=1\r\nUseSystemTraySupport=0\r\n");
    ini.close();
    const QString song = home.path() + QStringLiteral("/song.mp3");
    ASSERT_TRUE(mp3maker::makeMp3(song, {.artist = QStringLiteral("A"), .title = QStringLiteral("T"), .id3v1 = true}));

    QProcess p;
    QProcessEnvironment e = env();
    e.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    e.insert(QStringLiteral("DISPLAY"), QString::fromLatin1(server.display()));
    p.setProcessEnvironment(e);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral(VELTRA_BINARY), {song});
    ASSERT_TRUE(p.waitForStarted(10000));

    // Asked once the main window is mapped: off the task bar and the pager together.
    Window main = 0;
    auto asked = [&](long action) {
        main = manager.named("VELTRA");
        for (const auto& r : manager.requests)
            if (r.window == main && r.action == action && r.first == manager.skipTaskbar) return true;
        return false;
    };
    ASSERT_TRUE(manager.serveUntil([&] { return asked(1); }, 20000)) << p.readAll().constData();
    const auto& hide = manager.requests.back();
    EXPECT_EQ(hide.second, manager.skipPager);
    EXPECT_TRUE(hide.mapped);

    // Window > Hide In The Task Manager, by the keyboard: back on the task bar, and stored.
    manager.focus(main);
    manager.serveUntil([] { return false; }, 500);
    manager.type({XK_Alt_L, XK_w});
    manager.serveUntil([] { return false; }, 300);
    manager.type({XK_h});
    ASSERT_TRUE(manager.serveUntil([&] { return asked(0); }, 5000)) << p.readAll().constData();
    EXPECT_TRUE(settings().contains("HideInTheTaskManager=0\r\n"));

    // Alt+F4 is Exit: the program ends on its own and keeps the playlist.
    manager.type({XK_Alt_L, XK_F4});
    ASSERT_TRUE(manager.serveUntil([&] { return p.state() == QProcess::NotRunning || p.waitForFinished(20); }, 10000))
        << p.readAll().constData();
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 0);
    QFile spp(home.path() + QStringLiteral("/Playlists/default.spp"));
    ASSERT_TRUE(spp.open(QIODevice::ReadOnly));
    EXPECT_TRUE(spp.readAll().contains(song.toUtf8()));
}

} // namespace

#endif // VELTRA_HAVE_XTEST
