#pragma once
// The real program on a private X server under a real window manager (openbox, xfwm4, kwin_x11
// or mutter), with a notification area (trayer) unless a test does without: the test's own look
// at the display as a pager or a panel has it, and what a user does to windows there.
#include "e2e/EndToEndFixture.h"
#include "support/XvfbSession.h"

#ifdef VELTRA_HAVE_XVFB_SESSION
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QRect>
#include <QStandardPaths>

#include <algorithm>
#include <csignal>
#include <functional>
#include <memory>
#include <vector>

namespace desktop {
enum class WindowManager { Openbox, Xfwm4, KWin, Mutter };

inline const char* program(WindowManager wm)
{
    switch (wm) {
    case WindowManager::Xfwm4: return "xfwm4";
    case WindowManager::KWin: return "kwin_x11";
    case WindowManager::Mutter: return "mutter";
    default: return "openbox";
    }
}

inline std::string name(const ::testing::TestParamInfo<WindowManager>& info) { return program(info.param); }
inline void PrintTo(WindowManager wm, std::ostream* out) { *out << program(wm); }
} // namespace desktop

namespace desktopsession {
// A helper program on the test display, ended when the test is, with all it started, before
// the X server goes: dbus-run-session leaves the window manager it runs behind when it is
// ended, and kwin_x11, losing its display, starts itself again on the same display number,
// where the next test's X server comes up.
class Child {
public:
    ~Child() { stop(); }
    void stop()
    {
        if (m_process.state() == QProcess::NotRunning) return;
        const pid_t group = pid_t(m_process.processId());
        ::kill(-group, SIGTERM);
        if (!m_process.waitForFinished(5000)) {
            m_process.kill();
            m_process.waitForFinished(2000);
        }
        QDeadlineTimer deadline(5000);
        while (::kill(-group, 0) == 0 && !deadline.hasExpired()) QThread::msleep(10);
        ::kill(-group, SIGKILL);
    }
    // Its output goes to `log`: a pipe nobody reads fills, and the program then stops at its
    // next line (xfwm4 writes one for each ping answered without a time).
    bool start(const QString& program, const QStringList& arguments, const QProcessEnvironment& env, const QString& log)
    {
        m_process.setProcessEnvironment(env);
        m_process.setProcessChannelMode(QProcess::MergedChannels);
        m_process.setStandardOutputFile(log, QIODevice::Append);
        m_process.setChildProcessModifier([] { ::setpgid(0, 0); });
        m_process.start(program, arguments);
        return m_process.waitForStarted(10000);
    }

private:
    QProcess m_process;
};

// Windows come and go while the tree is read; a window gone meanwhile is simply not found.
inline int ignoreErrors(Display*, XErrorEvent*) { return 0; }

// The test's own look at the display, as a pager or a panel sees it.
class Screen {
public:
    explicit Screen(const QByteArray& display) : m_x(XOpenDisplay(display.constData()))
    {
        m_oldHandler = XSetErrorHandler(ignoreErrors);
    }
    ~Screen()
    {
        if (m_other) XDestroyWindow(m_x, m_other);
        if (m_x) XCloseDisplay(m_x);
        XSetErrorHandler(m_oldHandler);
    }
    Display* x() const { return m_x; }
    Window root() const { return DefaultRootWindow(m_x); }
    Atom atom(const char* name) const { return XInternAtom(m_x, name, False); }

    // The atoms (or windows) a property of 32-bit items holds.
    std::vector<unsigned long> items(Window w, const char* property, Atom type, long most = 1024) const
    {
        Atom actual = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        std::vector<unsigned long> out;
        if (XGetWindowProperty(m_x, w, atom(property), 0, most, False, type, &actual, &format, &count, &after, &data) == Success
            && data && format == 32) {
            const auto* values = reinterpret_cast<const unsigned long*>(data);
            out.assign(values, values + count);
        }
        if (data) XFree(data);
        return out;
    }

    bool windowManagerRunning() const { return !items(root(), "_NET_SUPPORTING_WM_CHECK", XA_WINDOW).empty(); }
    bool notificationAreaRunning() const { return XGetSelectionOwner(m_x, atom("_NET_SYSTEM_TRAY_S0")) != None; }

    // A client window the window manager manages, by its title.
    Window managed(const char* title) const { return find(root(), [&](Window w) { return hasWmState(w) && named(w, title); }); }

    // The program's icon, embedded in the notification area's panel.
    Window trayIcon() const
    {
        const Window panel = find(root(), [&](Window w) { return classed(w, "trayer") && named(w, "panel"); });
        if (!panel) return 0;
        return find(panel, [&](Window w) { return w != panel && classed(w, "veltra"); });
    }

    struct State {
        bool viewable = false;
        long wmState = -1;   // WM_STATE: 1 normal, 3 iconic; -1 none (withdrawn)
        bool hidden = false;
        bool maximised = false;
    };
    State state(Window w) const
    {
        State s;
        XWindowAttributes a;
        s.viewable = XGetWindowAttributes(m_x, w, &a) && a.map_state == IsViewable;
        const auto wmState = items(w, "WM_STATE", atom("WM_STATE"));
        if (!wmState.empty()) s.wmState = long(wmState[0]);
        bool vertical = false, horizontal = false;
        for (unsigned long a : items(w, "_NET_WM_STATE", XA_ATOM)) {
            s.hidden = s.hidden || a == atom("_NET_WM_STATE_HIDDEN");
            vertical = vertical || a == atom("_NET_WM_STATE_MAXIMIZED_VERT");
            horizontal = horizontal || a == atom("_NET_WM_STATE_MAXIMIZED_HORZ");
        }
        s.maximised = vertical && horizontal;
        return s;
    }
    bool shownNormally(Window w) const
    {
        const State s = state(w);
        return s.viewable && s.wmState == NormalState && !s.hidden;
    }
    // The menu of the program that is open (0: none): a window of its own on the root, over
    // the others, that the window manager leaves alone (the tray icon is one too, but inside
    // the panel).
    Window menuShown() const
    {
        Window rootWindow = 0, up = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        if (!XQueryTree(m_x, root(), &rootWindow, &up, &children, &count)) return 0;
        Window shown = 0;
        for (unsigned int i = 0; i < count && !shown; ++i) {
            XWindowAttributes a;
            if (XGetWindowAttributes(m_x, children[i], &a) && a.map_state == IsViewable && a.override_redirect
                && classed(children[i], "veltra"))
                shown = children[i];
        }
        if (children) XFree(children);
        return shown;
    }
    bool inTray(Window w) const
    {
        const State s = state(w);
        return !s.viewable && s.wmState != NormalState;
    }
    Window active() const
    {
        const auto a = items(root(), "_NET_ACTIVE_WINDOW", XA_WINDOW);
        return a.empty() ? 0 : Window(a[0]);
    }
    // Whether `w` is stacked above `below` (the panel stays above both, in its own layer).
    bool above(Window w, Window below) const
    {
        const auto stacking = items(root(), "_NET_CLIENT_LIST_STACKING", XA_WINDOW);
        const auto at = [&](Window x) { return std::find(stacking.begin(), stacking.end(), x) - stacking.begin(); };
        return at(w) < qsizetype(stacking.size()) && at(below) < at(w);
    }

    // Another application's window over the whole screen, which the window manager focuses
    // while the player is away.
    Window mapOtherWindow()
    {
        m_other = XCreateSimpleWindow(m_x, root(), 0, 0, 1024, 768, 0, 0, 0);
        XStoreName(m_x, m_other, "Other");
        XMapWindow(m_x, m_other);
        XSync(m_x, False);
        return m_other;
    }

    // The windows the window manager manages, oldest first.
    std::vector<unsigned long> clients() const { return items(root(), "_NET_CLIENT_LIST", XA_WINDOW); }
    // What the window manager lets the user do with the window (its frame's buttons and menu).
    bool allows(Window w, const char* action) const
    {
        const auto actions = items(w, "_NET_WM_ALLOWED_ACTIONS", XA_ATOM);
        return std::find(actions.begin(), actions.end(), atom(action)) != actions.end();
    }
    // The caption its title bar shows.
    QString title(Window w) const
    {
        Atom actual = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        QString out;
        if (XGetWindowProperty(m_x, w, atom("_NET_WM_NAME"), 0, 1024, False, atom("UTF8_STRING"), &actual, &format, &count, &after, &data)
                == Success
            && data && format == 8)
            out = QString::fromUtf8(reinterpret_cast<const char*>(data), int(count));
        if (data) XFree(data);
        return out;
    }

    // The pictures the title bar and the task bar show for the window.
    std::vector<unsigned long> icon(Window w) const { return items(w, "_NET_WM_ICON", XA_CARDINAL, 1 << 20); }

    // Where the window shows the colour, as on the screen (empty: nowhere).
    QRect colourBox(Window w, unsigned long rgb) const
    {
        XWindowAttributes a;
        if (!XGetWindowAttributes(m_x, w, &a) || a.map_state != IsViewable) return {};
        XImage* image = XGetImage(m_x, w, 0, 0, unsigned(a.width), unsigned(a.height), AllPlanes, ZPixmap);
        if (!image) return {};
        QRect box;
        for (int y = 0; y < a.height; ++y)
            for (int x = 0; x < a.width; ++x)
                if ((XGetPixel(image, x, y) & 0xffffff) == rgb) box |= QRect(x, y, 1, 1);
        XDestroyImage(image);
        return box;
    }

    int width(Window w) const
    {
        XWindowAttributes a;
        return XGetWindowAttributes(m_x, w, &a) ? a.width : 0;
    }

    // Whether the program behind `w` has handled everything the X server sent it so far: it
    // answers a window manager's ping only after the events queued before it, so a request of
    // its own that one of them set off (Qt asks to activate a modal window once it sees it
    // mapped) has gone out before the answer. Qt answers as it reads the ping, but hands the
    // keys and clicks it read before to its windows only at its event loop's next turns: the
    // ping is sent again, each time after the answer, until they have had those turns.
    bool caughtUp(Window w, int ms = 10000)
    {
        QDeadlineTimer deadline(ms);
        for (int ping = 0; ping < 3; ++ping)
            if (!answersPing(w, int(std::max<qint64>(deadline.remainingTime(), 1)))) return false;
        return true;
    }
    bool answersPing(Window w, int ms)
    {
        XWindowAttributes a;
        XGetWindowAttributes(m_x, root(), &a);
        // The answer goes to the root for its substructure; the X server hands it to a client
        // that also watches the root's own structure.
        XSelectInput(m_x, root(), a.your_event_mask | SubstructureNotifyMask | StructureNotifyMask);
        XEvent e {};
        e.xclient.type = ClientMessage;
        e.xclient.window = w;
        e.xclient.message_type = atom("WM_PROTOCOLS");
        e.xclient.format = 32;
        e.xclient.data.l[0] = long(atom("_NET_WM_PING"));
        e.xclient.data.l[1] = CurrentTime;
        e.xclient.data.l[2] = long(w);
        XSendEvent(m_x, w, False, NoEventMask, &e);
        XSync(m_x, False);
        XEvent answer;
        bool answered = false;
        for (QDeadlineTimer deadline(ms); !answered && !deadline.hasExpired(); QThread::msleep(10))
            while (!answered && XCheckTypedWindowEvent(m_x, root(), ClientMessage, &answer))
                answered = answer.xclient.message_type == atom("WM_PROTOCOLS") && Window(answer.xclient.data.l[2]) == w;
        XSelectInput(m_x, root(), a.your_event_mask);
        XSync(m_x, False);
        return answered;
    }

    // What a pager asks for when the user picks the window.
    void activate(Window w)
    {
        XEvent e {};
        e.xclient.type = ClientMessage;
        e.xclient.window = w;
        e.xclient.message_type = atom("_NET_ACTIVE_WINDOW");
        e.xclient.format = 32;
        e.xclient.data.l[0] = 2;   // from a pager
        XSendEvent(m_x, root(), False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
        XSync(m_x, False);
    }

    // A user's click (left unless told) in the middle of the window, through the X server's
    // test input.
    void click(Window w, unsigned int button = 1)
    {
        XWindowAttributes a;
        if (!XGetWindowAttributes(m_x, w, &a)) return;
        int x = 0, y = 0;
        Window child = 0;
        XTranslateCoordinates(m_x, w, root(), a.width / 2, a.height / 2, &x, &y, &child);
        XTestFakeMotionEvent(m_x, -1, x, y, CurrentTime);
        XTestFakeButtonEvent(m_x, button, True, CurrentTime);
        XTestFakeButtonEvent(m_x, button, False, CurrentTime);
        XSync(m_x, False);
    }

    // Whether the clicks so far have gone through to the windows under the pointer: a window
    // manager that focuses a window on a click (openbox) holds the pointer until it lets the
    // click go on, and keys typed meanwhile reach the program first. Nobody then holds it.
    bool clicksThrough(int ms = 10000)
    {
        for (QDeadlineTimer deadline(ms); !deadline.hasExpired(); QThread::msleep(10)) {
            if (XGrabPointer(m_x, root(), False, 0, GrabModeAsync, GrabModeAsync, None, None, CurrentTime) == GrabSuccess) {
                XUngrabPointer(m_x, CurrentTime);
                XSync(m_x, False);
                return true;
            }
        }
        return false;
    }

    // What the frame's minimise button asks of the window manager; true once the window left the
    // screen within `ms` (unmapped, or marked minimised by one that keeps it mapped). A modal
    // window of the program comes straight back, so its going is seen by its unmapping. The
    // events of the window's earlier showings, still queued, say nothing of this one.
    bool minimise(Window w, int ms)
    {
        XEvent event;
        const auto drop = [&] {
            XSync(m_x, False);
            while (XCheckWindowEvent(m_x, w, StructureNotifyMask, &event)) {}
        };
        XSelectInput(m_x, w, StructureNotifyMask);
        drop();
        XIconifyWindow(m_x, w, DefaultScreen(m_x));
        XSync(m_x, False);
        bool unmapped = false;
        bool away = false;
        for (QDeadlineTimer deadline(ms); !away && !deadline.hasExpired(); QThread::msleep(10)) {
            while (XCheckWindowEvent(m_x, w, StructureNotifyMask, &event)) unmapped = unmapped || event.type == UnmapNotify;
            const State now = state(w);
            away = unmapped || now.wmState == IconicState || now.hidden;
        }
        XSelectInput(m_x, w, NoEventMask);
        drop();
        return away;
    }

    // What the maximise button (or, with false, the restore button) asks of the window manager.
    void maximise(Window w, bool on = true)
    {
        XEvent e {};
        e.xclient.type = ClientMessage;
        e.xclient.window = w;
        e.xclient.message_type = atom("_NET_WM_STATE");
        e.xclient.format = 32;
        e.xclient.data.l[0] = on ? 1 : 0;   // add or remove
        e.xclient.data.l[1] = long(atom("_NET_WM_STATE_MAXIMIZED_VERT"));
        e.xclient.data.l[2] = long(atom("_NET_WM_STATE_MAXIMIZED_HORZ"));
        e.xclient.data.l[3] = 1;   // from an application
        XSendEvent(m_x, root(), False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
        XSync(m_x, False);
    }

private:
    Window find(Window parent, const std::function<bool(Window)>& match) const
    {
        if (match(parent)) return parent;
        Window rootWindow = 0, up = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        if (!XQueryTree(m_x, parent, &rootWindow, &up, &children, &count)) return 0;
        Window found = 0;
        for (unsigned int i = 0; i < count && !found; ++i) found = find(children[i], match);
        if (children) XFree(children);
        return found;
    }
    bool hasWmState(Window w) const { return !items(w, "WM_STATE", atom("WM_STATE")).empty(); }
    bool named(Window w, const char* title) const
    {
        char* name = nullptr;
        const bool match = XFetchName(m_x, w, &name) && name && qstrcmp(name, title) == 0;
        if (name) XFree(name);
        return match;
    }
    // The program's class (the second WM_CLASS text) is the one given.
    bool classed(Window w, const char* className) const
    {
        XClassHint hint {};
        if (!XGetClassHint(m_x, w, &hint)) return false;
        const bool match = hint.res_class && qstrcmp(hint.res_class, className) == 0;
        if (hint.res_name) XFree(hint.res_name);
        if (hint.res_class) XFree(hint.res_class);
        return match;
    }

    Display* m_x;
    Window m_other = 0;
    XErrorHandler m_oldHandler = nullptr;
};

// Twips at 96 dots per inch, as the program counts them.
constexpr int pixels(int twips) { return (twips + 7) / 15; }
constexpr int twips(int pixels) { return pixels * 15; }

// True as soon as `done` holds; false when the time ran out first.
inline bool waitFor(const std::function<bool()>& done, int ms)
{
    QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired()) return false;
        QThread::msleep(10);
    }
    return true;
}

// The desktop the tests run on: the window manager is chosen before SetUp runs. A test file
// names what it uses with using-declarations inside its own namespace, since Xlib has a
// Screen of its own.
class Desktop : public EndToEnd {
protected:
    void SetUp() override
    {
        using desktop::WindowManager;
        QStringList tools{QStringLiteral("Xvfb"), QString::fromLatin1(desktop::program(windowManager))};
        if (windowManager != WindowManager::Openbox) tools << QStringLiteral("dbus-run-session");
        if (withNotificationArea) tools << QStringLiteral("trayer");
        for (const QString& tool : tools)
            if (QStandardPaths::findExecutable(tool).isEmpty()) GTEST_SKIP() << tool.toStdString() << " is not installed";
        EndToEnd::SetUp();
        if (IsSkipped()) return;
        startDesktop();
    }

    // The desktop anew, for a test that wants each of its steps on one that nothing came before.
    void restartDesktop()
    {
        if (player.state() != QProcess::NotRunning) terminate(player);
        panel.stop();
        windowManagerProcess.stop();
        screen.reset();
        server.stop();
        startDesktop();
    }

    void startDesktop()
    {
        using desktop::WindowManager;
        main = icon = 0;
        QString why;
        ASSERT_TRUE(server.start(&why, QStringLiteral("1024x768x24"))) << why.toStdString();
        screen = std::make_unique<Screen>(server.display());
        ASSERT_NE(screen->x(), nullptr);
        int event = 0, error = 0, major = 0, minor = 0;
        if (!XTestQueryExtension(screen->x(), &event, &error, &major, &minor)) GTEST_SKIP() << "the X server has no XTEST";

        // The desktop's own programs, with their settings kept out of the user's home.
        QProcessEnvironment session = env();
        session.insert(QStringLiteral("DISPLAY"), QString::fromLatin1(server.display()));
        session.insert(QStringLiteral("HOME"), home.path());
        session.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        session.insert(QStringLiteral("KWIN_COMPOSE"), QStringLiteral("N"));   // no compositing: software GL is slow
        // No accessibility bus: xfwm4 would start one (and its registry), outliving the test.
        session.insert(QStringLiteral("NO_AT_BRIDGE"), QStringLiteral("1"));
        session.insert(QStringLiteral("GTK_A11Y"), QStringLiteral("none"));
        // kwin_x11 restarts itself after a crash, as it may crash when its display goes.
        session.insert(QStringLiteral("KDE_DEBUG"), QStringLiteral("1"));
        const QString wmLog = home.filePath(QStringLiteral("window-manager.log"));
        switch (windowManager) {
        case WindowManager::Openbox:
            ASSERT_TRUE(windowManagerProcess.start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")}, session, wmLog));
            break;
        // Both keep their settings behind a session bus of their own.
        case WindowManager::Xfwm4:
            ASSERT_TRUE(windowManagerProcess.start(QStringLiteral("dbus-run-session"),
                                                   {QStringLiteral("--"), QStringLiteral("xfwm4"), QStringLiteral("--compositor=off"),
                                                    QStringLiteral("--sm-client-disable")},
                                                   session, wmLog));
            break;
        case WindowManager::KWin:
            ASSERT_TRUE(windowManagerProcess.start(QStringLiteral("dbus-run-session"),
                                                   {QStringLiteral("--"), QStringLiteral("kwin_x11"), QStringLiteral("--replace")}, session, wmLog));
            break;
        // GNOME's, as an X11 window manager and compositor (its GL through the X server's GLX).
        case WindowManager::Mutter:
            ASSERT_TRUE(windowManagerProcess.start(QStringLiteral("dbus-run-session"),
                                                   {QStringLiteral("--"), QStringLiteral("mutter"), QStringLiteral("--x11"),
                                                    QStringLiteral("--replace"), QStringLiteral("--sm-disable")},
                                                   session, wmLog));
            break;
        }
        ASSERT_TRUE(waitFor([&] { return screen->windowManagerRunning(); }, 30000)) << desktop::program(windowManager) << " did not start";
        QThread::msleep(500);   // settled: its decorations loaded
        if (!withNotificationArea) return;
        ASSERT_TRUE(panel.start(QStringLiteral("trayer"), {QStringLiteral("--edge"), QStringLiteral("top"), QStringLiteral("--align"),
                                                           QStringLiteral("right")},
                                session, home.filePath(QStringLiteral("panel.log"))));
        ASSERT_TRUE(waitFor([&] { return screen->notificationAreaRunning(); }, 20000)) << "trayer did not start";
    }

    void TearDown() override
    {
        if (player.state() != QProcess::NotRunning) terminate(player);
    }

    // The program on the test desktop, on a program folder holding these settings; true once
    // its main window is shown and its icon is in the notification area.
    bool startOnDesktop(const QByteArray& settings, const QStringList& arguments = {})
    {
        QFile ini(home.filePath(QStringLiteral("settings.ini")));
        if (!ini.open(QIODevice::WriteOnly) || ini.write(settings) != settings.size()) return false;
        ini.close();
        QProcessEnvironment e = env();
        e.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        e.insert(QStringLiteral("DISPLAY"), QString::fromLatin1(server.display()));
        player.setProcessEnvironment(e);
        player.setProcessChannelMode(QProcess::MergedChannels);
        player.start(QStringLiteral(VELTRA_BINARY), arguments);
        if (!player.waitForStarted(10000)) return false;
        return waitFor([&] { return (main = screen->managed("VELTRA")) && screen->shownNormally(main) && (!withNotificationArea || (icon = screen->trayIcon())); }, 30000);
    }

    // The main window has the focus and has kept it a while, before keys go to its menus: the
    // window shown last may take the focus a moment after it appears, and would close a menu
    // then. The main window is asked again each second.
    bool focusMain()
    {
        // First the program catches up with what came before: Qt, handed a focus change it has
        // not yet read, may take the window that had the keys for the active one.
        screen->caughtUp(main);
        QElapsedTimer asked, kept;
        return waitFor(
            [&] {
                if (screen->active() == main) {
                    if (!kept.isValid()) kept.start();
                    return kept.elapsed() >= 300;
                }
                kept.invalidate();
                if (!asked.isValid() || asked.elapsed() > 1000) screen->activate(main), asked.start();
                return false;
            },
            10000);
    }

    // Keys typed into the main window's menus: Alt with the first, then the others.
    void menu(std::initializer_list<KeySym> path)
    {
        ASSERT_TRUE(focusMain());
        Typist keys(server.display());
        keys.down(XK_Alt_L);
        keys.tap(*path.begin());
        keys.up(XK_Alt_L);
        ASSERT_TRUE(waitFor([&] { return screen->menuShown(); }, 10000)) << "the menu did not open";
        for (auto key = path.begin() + 1; key != path.end(); ++key) {
            // The menu mapped is not yet the menu taking keys: the program first answers.
            screen->caughtUp(main);
            QThread::msleep(300);
            keys.tap(*key);
        }
    }

    // Where the window's frame stands on the screen: its client area grown by the frame the
    // window manager says it drew (none when it says nothing).
    QRect frameOf(Window w) const
    {
        Screen& s = *screen;
        XWindowAttributes a;
        if (!XGetWindowAttributes(s.x(), w, &a)) return {};
        int x = 0, y = 0;
        Window child = 0;
        XTranslateCoordinates(s.x(), w, s.root(), 0, 0, &x, &y, &child);
        const auto e = s.items(w, "_NET_FRAME_EXTENTS", XA_CARDINAL);
        const QMargins frame = e.size() == 4 ? QMargins(int(e[0]), int(e[2]), int(e[1]), int(e[3])) : QMargins();
        return QRect(x, y, a.width, a.height).marginsAdded(frame);
    }

    // The program started, its main window framed.
    bool start(const QByteArray& settings, const QStringList& arguments = {})
    {
        return startOnDesktop(settings, arguments) && waitFor([&] { return framed(main); }, 10000);
    }
    QSize clientSize(Window w) const
    {
        XWindowAttributes a;
        return XGetWindowAttributes(screen->x(), w, &a) ? QSize(a.width, a.height) : QSize();
    }
    bool framed(Window w) const { return screen->items(w, "_NET_FRAME_EXTENTS", XA_CARDINAL).size() == 4; }
    // Where the frame stands once the window manager is done placing it.
    QPoint settledPlace(Window w) const
    {
        QPoint last = frameOf(w).topLeft();
        int same = 0;
        waitFor(
            [&] {
                QThread::msleep(100);
                const QPoint now = frameOf(w).topLeft();
                same = now == last ? same + 1 : 0;
                last = now;
                return same >= 2;
            },
            3000);
        return last;
    }

    bool onTop(Window w) const
    {
        const auto states = screen->items(w, "_NET_WM_STATE", XA_ATOM);
        return std::find(states.begin(), states.end(), screen->atom("_NET_WM_STATE_ABOVE")) != states.end();
    }

    // The program's shown windows titled "VELTRA" of the given kind: the main window, or the
    // small mini window.
    Window shownVeltra(bool mini) const
    {
        for (unsigned long c : screen->clients()) {
            const Window w = Window(c);
            if (screen->title(w) == QLatin1String("VELTRA") && screen->shownNormally(w) && (screen->width(w) < 400) == mini) return w;
        }
        return 0;
    }

    void clickAt(Window w, int x, int y)
    {
        Screen& s = *screen;
        int rootX = 0, rootY = 0;
        Window child = 0;
        XTranslateCoordinates(s.x(), w, s.root(), x, y, &rootX, &rootY, &child);
        XTestFakeMotionEvent(s.x(), -1, rootX, rootY, CurrentTime);
        XTestFakeButtonEvent(s.x(), 1, True, CurrentTime);
        XTestFakeButtonEvent(s.x(), 1, False, CurrentTime);
        XSync(s.x(), False);
    }

    // One left click on the tray's icon, past the double-click time, and the main window back.
    void clickIcon()
    {
        QThread::msleep(600);
        screen->click(icon);
        ASSERT_TRUE(waitFor([&] { return (main = shownVeltra(false)) != 0; }, 10000)) << "the tray's icon did not bring it back";
    }
    // The frame's close box, and the main window in the tray.
    void closeToTheTray()
    {
        askToClose(screen->x(), main);
        ASSERT_TRUE(waitFor([&] { return screen->inTray(main); }, 10000)) << "the close box did not hide the window";
    }
    // Window > Switch To Mini-Mode: the mini window.
    Window toMiniMode()
    {
        Window mini = 0;
        menu({XK_w, XK_m});
        if (HasFatalFailure()) return 0;
        EXPECT_TRUE(waitFor([&] { return (mini = shownVeltra(true)) && !shownVeltra(false); }, 10000)) << "no mini mode";
        QThread::msleep(300);
        return mini;
    }
    // The mini window's "Return To Full Mode" button (index 11), and the main window back.
    void backFromMiniMode(Window mini)
    {
        clickAt(mini, pixels(3240 + 375 / 2), pixels(360 + 600 + 225 / 2));
        ASSERT_TRUE(waitFor([&] { return (main = shownVeltra(false)) != 0; }, 10000)) << "the main window did not come back";
    }


    Xvfb server;
    std::unique_ptr<Screen> screen;
    desktop::WindowManager windowManager = desktop::WindowManager::Openbox;
    bool withNotificationArea = true;
    Child windowManagerProcess;
    Child panel;
    QProcess player;
    Window main = 0;
    Window icon = 0;
};

} // namespace desktopsession

#endif // VELTRA_HAVE_XVFB_SESSION
