// The real program under a real window manager (openbox) with a real notification area
// (trayer): the close box hides the window to the tray, and one left click on the icon brings
// it back, normal, in front and with the focus, every time; a maximised window comes back
// maximised and laid out as maximised. Every window and box carries the program's icon; the
// dialogs and boxes of fixed size can be neither maximised nor left minimised.
#include "e2e/EndToEndFixture.h"
#include "support/GeneratedMedia.h"
#include "support/Mp3Maker.h"
#include "support/XvfbSession.h"

#ifdef VELTRA_HAVE_XVFB_SESSION
#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <QElapsedTimer>
#include <QRect>
#include <QStandardPaths>

#include <algorithm>
#include <functional>
#include <memory>

namespace {

// A helper program on the test display, ended when the test is.
class Child {
public:
    ~Child()
    {
        if (m_process.state() == QProcess::NotRunning) return;
        m_process.terminate();
        if (!m_process.waitForFinished(5000)) {
            m_process.kill();
            m_process.waitForFinished(2000);
        }
    }
    bool start(const QString& program, const QStringList& arguments, const QProcessEnvironment& env)
    {
        m_process.setProcessEnvironment(env);
        m_process.setProcessChannelMode(QProcess::MergedChannels);
        m_process.start(program, arguments);
        return m_process.waitForStarted(10000);
    }

private:
    QProcess m_process;
};

// Windows come and go while the tree is read; a window gone meanwhile is simply not found.
int ignoreErrors(Display*, XErrorEvent*) { return 0; }

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

// True as soon as `done` holds; false when the time ran out first.
bool waitFor(const std::function<bool()>& done, int ms)
{
    QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired()) return false;
        QThread::msleep(10);
    }
    return true;
}

class TrayClick : public EndToEnd {
protected:
    void SetUp() override
    {
        for (const char* tool : {"Xvfb", "openbox", "trayer"})
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                GTEST_SKIP() << tool << " is not installed";
        EndToEnd::SetUp();
        if (IsSkipped()) return;
        QString why;
        ASSERT_TRUE(server.start(&why, QStringLiteral("1024x768x24"))) << why.toStdString();
        screen = std::make_unique<Screen>(server.display());
        ASSERT_NE(screen->x(), nullptr);
        int event = 0, error = 0, major = 0, minor = 0;
        if (!XTestQueryExtension(screen->x(), &event, &error, &major, &minor)) GTEST_SKIP() << "the X server has no XTEST";

        // The desktop's own programs, with their settings kept out of the user's home.
        QProcessEnvironment desktop = env();
        desktop.insert(QStringLiteral("DISPLAY"), QString::fromLatin1(server.display()));
        desktop.insert(QStringLiteral("HOME"), home.path());
        ASSERT_TRUE(windowManager.start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")}, desktop));
        ASSERT_TRUE(waitFor([&] { return screen->windowManagerRunning(); }, 20000)) << "openbox did not start";
        ASSERT_TRUE(panel.start(QStringLiteral("trayer"), {QStringLiteral("--edge"), QStringLiteral("top"), QStringLiteral("--align"),
                                                           QStringLiteral("right")},
                                desktop));
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
        return waitFor([&] { return (main = screen->managed("VELTRA")) && screen->shownNormally(main) && (icon = screen->trayIcon()); }, 30000);
    }

    // The main window has the focus and has kept it a while, before keys go to its menus: the
    // window shown last may take the focus a moment after it appears, and would close a menu
    // then. The main window is asked again each second.
    bool focusMain()
    {
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

    Xvfb server;
    std::unique_ptr<Screen> screen;
    Child windowManager;
    Child panel;
    QProcess player;
    Window main = 0;
    Window icon = 0;
};

// The playlist's own colour (magenta, as the settings write it), which only the playlist and
// the playlists box show.
constexpr unsigned long kListRgb = 0xff00ff;
constexpr const char* kListColourSettings = "[Appearance]\r\nBackgroundColour=16711935\r\n";

TEST_F(TrayClick, OneLeftClickOnTheIconBringsTheClosedWindowBackEveryTime)
{
    Screen& s = *screen;
    const Window other = s.mapOtherWindow();
    ASSERT_TRUE(startOnDesktop(kListColourSettings)) << player.readAll().constData();

    // Closed and brought back: with the window manager's round trips in between, as a user
    // does it, not faster than a double click.
    const auto closeAndClickOnce = [&](int round) {
        SCOPED_TRACE(round);
        askToClose(s.x(), main);
        ASSERT_TRUE(waitFor([&] { return s.inTray(main); }, 10000)) << "the close box did not hide the window";
        ASSERT_TRUE(waitFor([&] { return s.active() == other; }, 10000)) << "the other window did not get the focus";
        QThread::msleep(600);   // past the double-click time: the next click is a single one
        s.click(icon);
        ASSERT_TRUE(waitFor([&] { return s.shownNormally(main); }, 10000))
            << "one click left the window away: viewable " << s.state(main).viewable << ", WM_STATE " << s.state(main).wmState
            << ", hidden " << s.state(main).hidden;
        EXPECT_TRUE(waitFor([&] { return s.active() == main && s.above(main, other); }, 10000))
            << "back, but behind the other window or without the focus";
    };
    for (int round = 1; round <= 10; ++round) {
        closeAndClickOnce(round);
        if (HasFatalFailure()) return;
    }

    // A maximised window that was away comes back maximised and laid out as after a plain
    // maximise: the playlist reaches the right edge and the status bar, with no band of bare
    // window. Away in the tray, or minimised while the window manager maximised it (the size
    // then changes while the window counts as minimised).
    s.maximise(main);
    ASSERT_TRUE(waitFor([&] { return s.state(main).maximised; }, 10000));
    QRect maximisedList;
    ASSERT_TRUE(waitFor([&] { return (maximisedList = s.colourBox(main, kListRgb)).right() >= s.width(main) - 4; }, 10000))
        << "maximised, the playlist covers " << maximisedList.width() << "x" << maximisedList.height();
    const struct {
        const char* how;
        std::function<void()> awayAndBack;
    } comebacks[] = {
        {"from the tray", [&] { closeAndClickOnce(11); }},
        {"maximised while minimised",
         [&] {
             s.maximise(main, false);
             ASSERT_TRUE(waitFor([&] { return !s.state(main).maximised; }, 10000));
             XIconifyWindow(s.x(), main, DefaultScreen(s.x()));
             ASSERT_TRUE(waitFor([&] { return s.state(main).wmState == IconicState; }, 10000));
             s.maximise(main);
             ASSERT_TRUE(waitFor([&] { return s.state(main).maximised; }, 10000));
             s.activate(main);
             ASSERT_TRUE(waitFor([&] { return s.shownNormally(main); }, 10000));
         }},
    };
    for (const auto& comeback : comebacks) {
        SCOPED_TRACE(comeback.how);
        comeback.awayAndBack();
        if (HasFatalFailure()) return;
        EXPECT_TRUE(waitFor([&] { return s.state(main).maximised; }, 10000));
        QRect list;
        EXPECT_TRUE(waitFor([&] { return (list = s.colourBox(main, kListRgb)) == maximisedList; }, 10000))
            << "back, the playlist covers " << list.width() << "x" << list.height() << ", not " << maximisedList.width() << "x"
            << maximisedList.height();
    }

    EXPECT_EQ(terminate(player), 0) << player.readAll().constData();
}

// A Return press whose release never reaches the program: it answers the "Song/Video Already In
// Mood" box, then stays down while the box is gone and the focus goes to another program and
// back, the desktop repeating it all the while. Clicks on rows then only select them, nothing
// plays on its own, and the item under the pointer in the File menu is not picked: the playlist
// is kept. Once the key came up in the other program, a real press plays the selected row, once.
TEST_F(TrayClick, AReturnWhoseReleaseNeverCameRunsNothingMore)
{
    Screen& s = *screen;
    QStringList songs;
    for (int i = 1; i <= 3; ++i) {
        songs << home.filePath(QStringLiteral("song%1.mp3").arg(i));
        ASSERT_TRUE(mp3maker::makeMp3(songs.last(), {.artist = QStringLiteral("Artist%1").arg(i), .title = QStringLiteral("Title%1").arg(i), .seconds = 120, .id3v1 = true}));
    }
    ASSERT_TRUE(QDir().mkpath(home.filePath(QStringLiteral("Moods"))));
    ASSERT_TRUE(mp3maker::writeBytes(home.filePath(QStringLiteral("Moods/Happy.mlst")), QFile::encodeName(songs[0]) + "\r\n"));
    ASSERT_TRUE(startOnDesktop(QByteArray(kListColourSettings) + "[Settings]\r\nRememberTheConsoleLogs=1\r\n", songs))
        << player.readAll().constData();
    const auto log = [&] { return mp3maker::readBytes(home.filePath(QStringLiteral("console.log"))); };

    // The rows, as the screen shows them: the playlist's colour around them, the selected row a
    // band of another colour across the list's left edge (row 1 at the start, as it plays).
    const auto selectedBand = [&] {
        const QRect list = s.colourBox(main, kListRgb);
        std::pair<int, int> band{0, 0};
        XImage* image = list.isEmpty() ? nullptr : XGetImage(s.x(), main, list.left() + 1, list.top(), 1, unsigned(list.height()), AllPlanes, ZPixmap);
        if (!image) return band;
        for (int y = 0; y < list.height(); ++y) {
            const bool selected = (XGetPixel(image, 0, y) & 0xffffff) != kListRgb;
            if (selected && band.second == 0) band = {list.top() + y, list.top() + y + 1};
            else if (selected && band.second == list.top() + y) ++band.second;
        }
        XDestroyImage(image);
        return band;
    };
    std::pair<int, int> first;
    ASSERT_TRUE(waitFor([&] { return (first = selectedBand()).second > first.first; }, 10000)) << "no row selected";
    const int rowHeight = first.second - first.first;
    const auto rowTop = [&](int row) { return first.first + (row - 1) * rowHeight; };
    Typist keys(server.display());
    const auto pointAt = [&](int x, int y) {
        XTestFakeMotionEvent(s.x(), -1, x, y, CurrentTime);
        XSync(s.x(), False);
    };
    const auto clickAt = [&](int windowX, int windowY) {
        int x = 0, y = 0;
        Window child = 0;
        XTranslateCoordinates(s.x(), main, s.root(), windowX, windowY, &x, &y, &child);
        pointAt(x, y);
        XTestFakeButtonEvent(s.x(), 1, True, CurrentTime);
        XTestFakeButtonEvent(s.x(), 1, False, CurrentTime);
        XSync(s.x(), False);
    };
    const auto clickRow = [&](int row) {
        clickAt(s.colourBox(main, kListRgb).center().x(), rowTop(row) + rowHeight / 2);
        EXPECT_TRUE(waitFor([&] { return selectedBand().first == rowTop(row); }, 5000)) << "row " << row << " was not selected";
        QThread::msleep(600);   // the next click is a single one
    };
    const auto focusOn = [&](Window w) {
        s.activate(w);
        ASSERT_TRUE(waitFor([&] { return s.active() == w; }, 10000));
        QThread::msleep(300);
    };

    focusOn(main);
    clickRow(1);
    keys.tap(XK_Menu);   // the playlist menu: Send To, Mood, Happy
    ASSERT_TRUE(waitFor([&] { return s.menuShown(); }, 10000)) << "the playlist menu did not open";
    for (KeySym k : {XK_e, XK_m, XK_Down, XK_Return}) {
        keys.tap(k);
        QThread::msleep(200);
    }
    Window box = 0;
    ASSERT_TRUE(waitFor([&] { return (box = s.managed("Song/Video Already In Mood")) && s.active() == box; }, 10000));
    const qsizetype played = log().count("Played ");

    keys.down(XK_Return);
    EXPECT_TRUE(waitFor([&] { return !s.managed("Song/Video Already In Mood"); }, 10000)) << "Return did not answer the box";
    const Window other = s.mapOtherWindow();
    focusOn(other);
    focusOn(main);
    clickRow(2);
    clickRow(3);
    // The File menu opened with the mouse (another key would end the desktop's repeat), the
    // pointer resting on its first item, New.
    clickAt(16, 8);   // the menu bar's first title
    Window menu = 0;
    XWindowAttributes at {};
    EXPECT_TRUE(waitFor([&] { return (menu = s.menuShown()) && XGetWindowAttributes(s.x(), menu, &at); }, 5000))
        << "the File menu did not open";
    pointAt(at.x + 30, at.y + 8);
    pointAt(at.x + 40, at.y + 12);
    QThread::msleep(1500);
    keys.tap(XK_Escape);
    QThread::msleep(500);
    EXPECT_EQ(log().count("Played "), played) << "rows played with the key held";
    EXPECT_FALSE(log().contains("Playlist cleared.")) << "the held key picked File > New";

    focusOn(other);
    keys.up(XK_Return);   // to the other program
    focusOn(main);
    clickRow(2);
    keys.tap(XK_Return);
    EXPECT_TRUE(waitFor([&] { return log().count("Played ") == played + 1; }, 5000)) << "a real press after the key came up did not play";
    QThread::msleep(1000);
    EXPECT_EQ(log().count("Played "), played + 1);
    EXPECT_TRUE(log().contains("Played Artist2 - Title2.\r\n")) << log().constData();

    EXPECT_EQ(terminate(player), 0) << player.readAll().constData();
    const QByteArray saved = mp3maker::readBytes(home.filePath(QStringLiteral("Playlists/default.spp")));
    for (const QString& song : songs) EXPECT_TRUE(saved.contains(QFile::encodeName(song))) << saved.constData();
}

// The lyrics window, the media library, the CD player, and a box shown while the main window
// is in the tray (with no window of the program to belong to) show the main window's icon.
TEST_F(TrayClick, EveryWindowAndBoxCarriesTheProgramsIcon)
{
    Screen& s = *screen;
    const QString tone = home.filePath(QStringLiteral("tone.mp3"));
    QString why;
    if (!testmedia::makeStereoMp3(tone, 60, 0.5, &why)) GTEST_SKIP() << "sox and lame are needed to make the song: " << why.toStdString();
    mp3maker::Song tag;
    tag.extraFrames.append({"USLT", QByteArray("\0eng\0", 5) + "la la la"});
    const QString song = home.filePath(QStringLiteral("song.mp3"));
    ASSERT_TRUE(mp3maker::writeBytes(song, mp3maker::id3v2Tag(tag) + mp3maker::readBytes(tone)));
    ASSERT_TRUE(startOnDesktop("[Settings]\r\nShowLyricsWhenAvailable=1\r\n", {song})) << player.readAll().constData();
    const auto programIcon = s.icon(main);
    ASSERT_FALSE(programIcon.empty());

    Typist keys(server.display());
    const auto arrangeMenu = [&](KeySym item) {
        ASSERT_TRUE(focusMain());
        keys.down(XK_Alt_L);
        keys.tap(XK_a);
        keys.up(XK_Alt_L);
        ASSERT_TRUE(waitFor([&] { return s.menuShown(); }, 10000)) << "the Arrange menu did not open";
        keys.tap(item);
    };
    const QString playlists = home.filePath(QStringLiteral("Playlists"));
    const struct {
        const char* title;
        std::function<void()> bringUp;
    } windows[] = {
        {"VELTRA Lyrics", [] {}},   // the song's lyrics open it
        {"Media Library", [&] { arrangeMenu(XK_m); }},
        {"CD Player", [&] { arrangeMenu(XK_c); }},
        // Exit from the tray's menu, while the playlist cannot be saved, asks first.
        {"Exit Confirmation",
         [&] {
             askToClose(s.x(), main);
             ASSERT_TRUE(waitFor([&] { return s.inTray(main); }, 10000));
             ASSERT_TRUE(QDir(playlists).removeRecursively());
             QFile blocker(playlists);
             ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
             s.click(icon, 3);
             QThread::msleep(500);
             keys.tap(XK_x);
         }},
    };
    for (const auto& w : windows) {
        SCOPED_TRACE(w.title);
        w.bringUp();
        if (HasFatalFailure()) return;
        Window shown = 0;
        ASSERT_TRUE(waitFor([&] { return (shown = s.managed(w.title)) && s.shownNormally(shown); }, 20000)) << player.readAll().constData();
        EXPECT_EQ(s.icon(shown), programIcon);
    }
    EXPECT_EQ(terminate(player), 0) << player.readAll().constData();
}

// The dialogs and boxes of fixed size offer neither maximise nor resizing in their frame, and a
// minimise the window manager offers anyway (openbox keeps it for every dialog) is undone: the
// window comes back at once, with the main window it took along. The volume popup has no caption.
TEST_F(TrayClick, FixedSizeWindowsCanBeNeitherMaximisedNorLeftMinimised)
{
    Screen& s = *screen;
    const QString song = home.filePath(QStringLiteral("song.mp3"));
    ASSERT_TRUE(mp3maker::makeMp3(song, {.artist = QStringLiteral("A"), .title = QStringLiteral("T"), .seconds = 4}));
    // A stored playlist, made current by Jump To Next Playlist, for Rename Playlist.
    ASSERT_TRUE(QDir(home.path()).mkpath(QStringLiteral("Playlists")));
    ASSERT_TRUE(mp3maker::writeBytes(home.filePath(QStringLiteral("Playlists/Mine.spp")),
                                     "\"01\"\r\n\"A\"\r\n\"T\"\r\n\"2000\"\r\n\"Play\"\r\n\"00:04\"\r\n\"" + song.toUtf8() + "\"\r\n"));
    ASSERT_TRUE(startOnDesktop("", {song})) << player.readAll().constData();

    Typist keys(server.display());
    const auto pause = [] { QThread::msleep(300); };
    // Keys typed into the main window's menus: Alt with the first, then the others.
    const auto menu = [&](std::initializer_list<KeySym> path) {
        ASSERT_TRUE(focusMain());
        keys.down(XK_Alt_L);
        keys.tap(*path.begin());
        keys.up(XK_Alt_L);
        ASSERT_TRUE(waitFor([&] { return s.menuShown(); }, 10000)) << "the menu did not open";
        for (auto key = path.begin() + 1; key != path.end(); ++key) {
            pause();
            keys.tap(*key);
        }
    };
    const struct {
        const char* what;
        QString title;
        std::function<void()> bringUp;
    } windows[] = {
        {"Jump To Media", QStringLiteral("Jump To Media"), [&] { menu({XK_p, XK_j, XK_j}); }},
        {"Add Location", QStringLiteral("Add Location"), [&] { menu({XK_f, XK_l}); }},
        {"Rename Playlist", QStringLiteral("Rename Playlist"),
         [&] {
             menu({XK_p, XK_j, XK_n});
             QThread::msleep(1000);
             menu({XK_a, XK_p, XK_r});
         }},
        {"a message box", QStringLiteral("Delete All Playlists Confirmation"), [&] { menu({XK_a, XK_p, XK_a}); }},
        {"the volume popup", QString(),
         [&] {
             s.click(icon, 3);
             ASSERT_TRUE(waitFor([&] { return s.menuShown(); }, 10000)) << "the tray menu did not open";
             pause();
             keys.tap(XK_Up);   // "Exit"
             keys.tap(XK_Up);   // "Volume..."
             keys.tap(XK_Return);
         }},
    };
    for (const auto& w : windows) {
        SCOPED_TRACE(w.what);
        const auto before = s.clients();
        w.bringUp();
        if (HasFatalFailure()) return;
        Window shown = 0;
        ASSERT_TRUE(waitFor(
            [&] {
                for (unsigned long c : s.clients())
                    if (std::find(before.begin(), before.end(), c) == before.end() && s.shownNormally(Window(c))) shown = Window(c);
                return shown != 0;
            },
            20000))
            << player.readAll().constData();
        EXPECT_EQ(s.title(shown).trimmed().toStdString(), w.title.toStdString());
        EXPECT_TRUE(s.allows(shown, "_NET_WM_ACTION_CLOSE"));
        for (const char* action : {"_NET_WM_ACTION_MAXIMIZE_HORZ", "_NET_WM_ACTION_MAXIMIZE_VERT", "_NET_WM_ACTION_RESIZE"})
            EXPECT_FALSE(s.allows(shown, action)) << action;

        XIconifyWindow(s.x(), shown, DefaultScreen(s.x()));
        XSync(s.x(), False);
        waitFor([&] { return !s.shownNormally(shown); }, 2000);
        EXPECT_TRUE(waitFor([&] { return s.shownNormally(shown) && s.shownNormally(main); }, 10000))
            << "left minimised: WM_STATE " << s.state(shown).wmState << ", the main window's " << s.state(main).wmState;

        askToClose(s.x(), shown);
        ASSERT_TRUE(waitFor([&] { return !s.state(shown).viewable; }, 10000)) << "the close box did not close it";
    }
    EXPECT_EQ(terminate(player), 0) << player.readAll().constData();
}

} // namespace

#endif // VELTRA_HAVE_XVFB_SESSION
