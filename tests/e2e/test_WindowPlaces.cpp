// The real program under openbox, xfwm4, kwin_x11 and mutter: a window shown again, or made
// anew by a change of its always-on-top state, stands where it stood (the video window over restarts of
// the video, the main window over mini-mode round trips and program restarts), and the place
// saved on exit is the one the user saw. Back from mini mode the main window keeps its own
// title. The volume popup and the mini window's first place stand 500 twips inside the work
// area, frame and all.
#include "support/GeneratedMedia.h"
#include "support/Mp3Maker.h"
#include "common/modWindows.h"
#include "platform/WindowPlace.h"

#include <QApplication>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

#include <atomic>
#include <iostream>
#include <thread>
// After the above: Xlib's macros would clash with their names.
#include "e2e/DesktopFixture.h"

#ifdef VELTRA_HAVE_XVFB_SESSION
namespace {

using desktop::WindowManager;
using desktopsession::Screen;
using desktopsession::waitFor;

using desktopsession::pixels;
using desktopsession::twips;

class WindowPlaces : public desktopsession::Desktop, public ::testing::WithParamInterface<WindowManager> {
protected:
    WindowPlaces() { windowManager = GetParam(); }

    // The caption the window manager shows: its own wording where it gives one.
    QString shownTitle(Window w) const
    {
        Screen& s = *screen;
        Atom actual = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        QString visible;
        if (XGetWindowProperty(s.x(), w, s.atom("_NET_WM_VISIBLE_NAME"), 0, 1024, False, s.atom("UTF8_STRING"), &actual, &format,
                               &count, &after, &data)
                == Success
            && data && format == 8)
            visible = QString::fromUtf8(reinterpret_cast<const char*>(data), int(count));
        if (data) XFree(data);
        return visible.isEmpty() ? s.title(w) : visible;
    }

    // What a user does with the main window, each waiting until the program has done it.
    // Window > Always On Top, then Help > Console opened and closed (a dialog takes the state
    // away meanwhile).
    void alwaysOnTopAndADialog()
    {
        Screen& s = *screen;
        menu({XK_w, XK_Return});
        if (HasFatalFailure()) return;
        ASSERT_TRUE(waitFor([&] { return onTop(main); }, 10000)) << "Always On Top did not put the window on top";
        menu({XK_h, XK_c});
        if (HasFatalFailure()) return;
        Window console = 0;
        ASSERT_TRUE(waitFor(
            [&] {
                for (unsigned long c : s.clients())
                    if (s.title(Window(c)).startsWith(QLatin1String("Console")) && s.shownNormally(Window(c))) console = Window(c);
                return console != 0;
            },
            10000))
            << "no console";
        askToClose(s.x(), console);
        ASSERT_TRUE(waitFor([&] { return !s.state(console).viewable; }, 10000));
    }
    // The main window's place as the last exit saved it.
    QByteArray savedMainPlace() const
    {
        const QByteArray saved = settings();
        QByteArray section = saved.mid(saved.indexOf("[Position_MainWindow]"));
        if (const qsizetype next = section.indexOf("\r\n["); next >= 0) section.truncate(next + 2);
        return section;
    }

    // Where the work area ends on the right and at the bottom.
    QPoint workAreaEnd() const
    {
        const auto area = screen->items(screen->root(), "_NET_WORKAREA", XA_CARDINAL);
        if (area.size() >= 4) return QPoint(int(area[0] + area[2]), int(area[1] + area[3]));
        return QPoint(1024, 768);
    }
};

// S and P, typed three times, stop the video and start it again: its window comes back where it
// stood, on top of the others each time.
TEST_P(WindowPlaces, TheVideoWindowStaysWhereItStoodOverRestartsOfTheVideo)
{
    Screen& s = *screen;
    const QString video = home.filePath(QStringLiteral("clip.mpg"));
    QString why;
    if (!testmedia::make(QStringLiteral("mpg"), video, 30, &why)) GTEST_SKIP() << "no video: " << why.toStdString();
    ASSERT_TRUE(start("", {video})) << player.readAll().constData();
    Window shown = 0;
    ASSERT_TRUE(waitFor([&] { return (shown = s.managed("VELTRA Video")) && s.shownNormally(shown) && framed(shown) && onTop(shown); }, 20000));
    const QPoint first = settledPlace(shown);

    Typist keys(server.display());
    for (int start = 1; start <= 3; ++start) {
        SCOPED_TRACE(start);
        ASSERT_TRUE(focusMain());
        keys.tap(XK_s);
        ASSERT_TRUE(waitFor([&] { return !s.managed("VELTRA Video") || !s.shownNormally(s.managed("VELTRA Video")); }, 10000))
            << "Stop left the video window up";
        ASSERT_TRUE(focusMain());
        keys.tap(XK_p);
        ASSERT_TRUE(waitFor([&] { return (shown = s.managed("VELTRA Video")) && s.shownNormally(shown); }, 10000))
            << "Play did not bring the video window back";
        QPoint now;
        EXPECT_TRUE(waitFor([&] { return (now = frameOf(shown).topLeft()) == first; }, 5000))
            << "the frame went from " << first.x() << "," << first.y() << " to " << now.x() << "," << now.y();
        EXPECT_TRUE(waitFor([&] { return onTop(shown); }, 5000)) << "the video window is not on top";
    }
    EXPECT_EQ(terminate(player), 0) << player.readAll().constData();
}

// Mini mode and back, with the main window an ordinary window and always on top, each followed
// by a restart: the main window stands where it stood, keeps its title, and the place saved on
// exit is that place, where the next start puts it. Always on top, a modal dialog (which takes
// that state away meanwhile) and a stay in the tray leave it in place too.
TEST_P(WindowPlaces, TheMainWindowStaysWhereItStoodOverMiniModeAndRestarts)
{
    ASSERT_TRUE(start("")) << player.readAll().constData();
    const QPoint first = settledPlace(main);
    const auto expectWhereItStood = [&](const char* after) {
        QPoint now;
        EXPECT_TRUE(waitFor([&] { return (now = frameOf(main).topLeft()) == first; }, 5000))
            << after << ", the frame went from " << first.x() << "," << first.y() << " to " << now.x() << "," << now.y();
    };
    for (const bool alwaysOnTop : {false, true}) {
        SCOPED_TRACE(alwaysOnTop ? "always on top" : "an ordinary window");
        if (alwaysOnTop) {
            alwaysOnTopAndADialog();
            if (HasFatalFailure()) return;
            closeToTheTray();
            if (HasFatalFailure()) return;
            clickIcon();
            if (HasFatalFailure()) return;
            expectWhereItStood("back from the tray");
            EXPECT_TRUE(waitFor([&] { return onTop(main); }, 5000)) << "back from the tray, not on top";
        }
        const Window mini = toMiniMode();
        if (HasFatalFailure()) return;
        backFromMiniMode(mini);
        if (HasFatalFailure()) return;
        expectWhereItStood("back from mini mode");
        EXPECT_FALSE(onTop(main)) << "mini mode leaves the main window an ordinary window";
        EXPECT_FALSE(shownVeltra(true)) << "the mini window is still shown";
        EXPECT_EQ(shownTitle(main).toStdString(), "VELTRA");

        EXPECT_EQ(terminate(player), 0) << player.readAll().constData();
        const QByteArray section = savedMainPlace();
        const QByteArray place = "Window_Top=" + QByteArray::number(twips(first.y())) + "\r\nWindow_left=" + QByteArray::number(twips(first.x()));
        EXPECT_TRUE(section.contains(place)) << "saved\n" << section.constData() << "not\n" << place.constData();
        const QByteArray saved = settings();
        ASSERT_TRUE(start(saved)) << player.readAll().constData();
        const QPoint next = settledPlace(main);
        EXPECT_EQ(next, first) << "the next start put it at " << next.x() << "," << next.y();
    }
    EXPECT_EQ(terminate(player), 0) << player.readAll().constData();
}

// The close box, and at once (as soon as the window has gone) one click on the tray's icon, six
// times over: the main window comes back where it stood each time, and Exit saves that place.
TEST_P(WindowPlaces, TheMainWindowBroughtBackAtOnceFromTheTrayStaysWhereItStood)
{
    Screen& s = *screen;
    ASSERT_TRUE(start("")) << player.readAll().constData();
    const QPoint first = settledPlace(main);
    for (int pair = 1; pair <= 6; ++pair) {
        SCOPED_TRACE(pair);
        QThread::msleep(600);   // past the double-click time, so the click is a single one
        askToClose(s.x(), main);
        ASSERT_TRUE(waitFor([&] { return !s.state(main).viewable; }, 10000)) << "the close box did not hide the window";
        s.click(icon);
        ASSERT_TRUE(waitFor([&] { return s.shownNormally(main); }, 10000)) << "the click did not bring it back";
        const QPoint now = settledPlace(main);
        EXPECT_EQ(now, first) << "back at " << now.x() << "," << now.y() << ", not " << first.x() << "," << first.y();
    }
    menu({XK_f, XK_x});
    if (HasFatalFailure()) return;
    ASSERT_TRUE(player.waitForFinished(15000)) << "File > Exit did not end the program";
    const QByteArray place = "Window_Top=" + QByteArray::number(twips(first.y())) + "\r\nWindow_left=" + QByteArray::number(twips(first.x()));
    EXPECT_TRUE(savedMainPlace().contains(place)) << "saved\n" << savedMainPlace().constData();
}

// The volume popup (from the tray's menu) and the mini window, at their first place: their
// outer edges 500 twips (33 pixels) from the work area's right and bottom edges.
TEST_P(WindowPlaces, TheVolumePopupAndTheMiniWindowStandInsideTheWorkArea)
{
    Screen& s = *screen;
    ASSERT_TRUE(start("")) << player.readAll().constData();
    // The window's outer edges end 500 twips short of the work area's right and bottom edges.
    const auto insideByInset = [&](Window w, const char* what) {
        const QPoint end = workAreaEnd();
        QPoint gap;
        const bool inside = waitFor(
            [&] {
                const QRect frame = frameOf(w);
                gap = QPoint(end.x() - (frame.right() + 1), end.y() - (frame.bottom() + 1));
                return std::abs(gap.x() - pixels(500)) <= 1 && std::abs(gap.y() - pixels(500)) <= 1;
            },
            5000);
        return inside ? ::testing::AssertionSuccess()
                      : ::testing::AssertionFailure() << what << " ends " << gap.x() << " pixels from the right and " << gap.y()
                                                      << " from the bottom";
    };

    Typist keys(server.display());
    ASSERT_TRUE(focusMain());   // settled: the focus coming late would close the menu
    s.click(icon, 3);
    ASSERT_TRUE(waitFor([&] { return s.menuShown(); }, 10000)) << "the tray menu did not open";
    QThread::msleep(300);
    keys.tap(XK_Up);   // "Exit"
    keys.tap(XK_Up);   // "Volume..."
    keys.tap(XK_Return);
    Window popup = 0;
    waitFor(
        [&] {
            const Window w = s.managed(" ");
            return (popup = w && s.shownNormally(w) ? w : 0) != 0;
        },
        10000);
    ASSERT_TRUE(popup) << "no volume popup";
    EXPECT_TRUE(insideByInset(popup, "the popup's frame"));
    askToClose(s.x(), popup);
    ASSERT_TRUE(waitFor([&] { return !s.state(popup).viewable; }, 10000));

    menu({XK_w, XK_m});   // Window > Switch To Mini-Mode
    if (HasFatalFailure()) return;
    Window mini = 0;
    ASSERT_TRUE(waitFor([&] { return (mini = shownVeltra(true)) != 0; }, 10000)) << "no mini mode";
    EXPECT_TRUE(insideByInset(mini, "the mini window"));
    EXPECT_EQ(terminate(player), 0) << player.readAll().constData();
}

// The video window after a trip to the tray, the main window going there and coming back (one
// click on the icon, the tray menu's Open, or through mini mode): a video stopped before shows
// its window at the next play, not minimised, where it stood, and no empty window comes up
// before; one maximised while playing comes back with the main window in the normal state, at
// its size and place from before the maximise, which its Normal button keeps.
TEST_P(WindowPlaces, AVideoAfterATripToTheTrayShowsItsWindowWhereItStood)
{
    Screen& s = *screen;
    QStringList clips;
    for (const char* name : {"clip1.avi", "clip2.avi"}) {
        clips << home.filePath(QString::fromLatin1(name));
        QString why;
        if (!testmedia::make(QStringLiteral("avi"), clips.last(), 30, &why)) GTEST_SKIP() << "no video: " << why.toStdString();
    }
    const QString song = home.filePath(QStringLiteral("song.mp3"));
    ASSERT_TRUE(mp3maker::makeMp3(song, {.artist = QStringLiteral("A"), .title = QStringLiteral("T"), .seconds = 60}));
    Typist keys(server.display());
    const auto typeIn = [&](Window w, KeySym key) {
        s.activate(w);
        ASSERT_TRUE(waitFor([&] { return s.active() == w; }, 10000));
        QThread::msleep(300);
        keys.tap(key);
    };
    Window video = 0, mini = 0;
    const auto videoUp = [&] { return (video = s.managed("VELTRA Video")) && s.state(video).viewable; };
    const auto escape = [&] {
        typeIn(main, XK_Escape);
        ASSERT_TRUE(waitFor([&] { return s.inTray(main); }, 10000)) << "Esc did not hide the window";
    };
    const auto trayOpen = [&] {
        QThread::msleep(600);
        s.click(icon, 3);
        ASSERT_TRUE(waitFor([&] { return s.menuShown(); }, 10000)) << "the tray menu did not open";
        QThread::msleep(300);
        keys.tap(XK_o);   // "&Open"
        ASSERT_TRUE(waitFor([&] { return (main = shownVeltra(false)) != 0; }, 10000)) << "Open did not bring the window back";
    };
    // The mini window closed to the tray, and one click on the icon.
    const auto throughMiniMode = [&] {
        mini = toMiniMode();
        if (HasFatalFailure()) return;
        askToClose(s.x(), mini);
        ASSERT_TRUE(waitFor([&] { return !s.state(mini).viewable; }, 10000)) << "the mini window's close box left it up";
        QThread::msleep(600);
        s.click(icon);
        ASSERT_TRUE(waitFor([&] { return (mini = shownVeltra(true)) != 0; }, 10000)) << "the icon did not bring the mini window back";
    };

    const struct {
        const char* what;
        QStringList files;
        bool maximised;   // the video maximised and playing when the main window goes; else stopped
        std::function<void()> away, back;
    } trips[] = {
        {"stopped, the close box, one click on the icon", {clips[0], song}, false, [&] { closeToTheTray(); }, [&] { clickIcon(); }},
        {"stopped, the close box, the tray menu's Open", {clips[0], song}, false, [&] { closeToTheTray(); }, trayOpen},
        {"stopped, through mini mode", {clips[0], song}, false, [] {}, throughMiniMode},
        {"maximised and playing, Esc, one click on the icon", {clips[0], clips[1]}, true, escape, [&] { clickIcon(); }},
    };
    for (const auto& trip : trips) {
        SCOPED_TRACE(trip.what);
        mini = 0;
        ASSERT_TRUE(QDir(home.filePath(QStringLiteral("Playlists"))).removeRecursively());
        ASSERT_TRUE(start("", trip.files)) << player.readAll().constData();
        const auto videoShown = [&] { return videoUp() && s.shownNormally(video) && framed(video) && onTop(video); };
        ASSERT_TRUE(waitFor(videoShown, 20000)) << "the video did not show its window";
        const QPoint place = settledPlace(video);
        const QSize size = clientSize(video);
        if (trip.maximised) {
            s.maximise(video);
            ASSERT_TRUE(waitFor([&] { return s.state(video).maximised; }, 10000)) << "the video window was not maximised";
        } else {
            typeIn(main, XK_s);
            ASSERT_TRUE(waitFor([&] { return !videoUp(); }, 10000)) << "Stop left the video window up";
        }
        trip.away();
        if (HasFatalFailure()) return;
        ASSERT_TRUE(waitFor([&] { return !videoUp(); }, 10000)) << "the video window stayed up";
        trip.back();
        if (HasFatalFailure()) return;
        if (!trip.maximised) {
            QThread::msleep(1000);
            EXPECT_FALSE(videoUp()) << "an empty video window came up";
            typeIn(mini ? mini : main, XK_p);
        }
        ASSERT_TRUE(waitFor(videoShown, 10000)) << "the video window is not shown: viewable " << s.state(video).viewable
                                                 << ", WM_STATE " << s.state(video).wmState << ", hidden " << s.state(video).hidden;
        const auto whereItStood = [&](const char* when) {
            QRect now;
            return waitFor(
                       [&] {
                           now = QRect(frameOf(video).topLeft(), clientSize(video));
                           return !s.state(video).maximised && now == QRect(place, size);
                       },
                       5000)
                       ? ::testing::AssertionSuccess()
                       : ::testing::AssertionFailure() << when << " maximised " << s.state(video).maximised << ", at " << now.x() << ","
                                                       << now.y() << " " << now.width() << "x" << now.height() << ", not " << place.x()
                                                       << "," << place.y() << " " << size.width() << "x" << size.height();
        };
        EXPECT_TRUE(whereItStood("back,"));
        if (trip.maximised) {
            clickAt(video, size.width() - 28, size.height() - 14);   // its Normal button
            QThread::msleep(500);
            EXPECT_TRUE(whereItStood("after Normal,"));
        }
        EXPECT_EQ(terminate(player), 0) << player.readAll().constData();
    }
}

// A maximised main window away in mini mode, or in the tray (also always on top, after a
// dialog): it comes back maximised, and un-maximised it takes its normal place and size again.
// Exit saves that place and size.
TEST_P(WindowPlaces, AMaximisedMainWindowKeepsItsNormalSizeThroughTheTrayAndMiniMode)
{
    Screen& s = *screen;
    const struct {
        const char* what;
        std::function<void()> before, away, back;   // before: with the window maximised
        bool backMaximised;
    } trips[] = {
        {"mini mode", [] {}, [] {}, [&] { backFromMiniMode(toMiniMode()); }, true},
        {"the tray", [] {}, [&] { closeToTheTray(); }, [&] { clickIcon(); }, true},
        {"always on top, a dialog and the tray", [&] { alwaysOnTopAndADialog(); }, [&] { closeToTheTray(); }, [&] { clickIcon(); }, true},
    };
    for (const auto& trip : trips) {
        SCOPED_TRACE(trip.what);
        ASSERT_TRUE(start("")) << player.readAll().constData();
        const QPoint place = settledPlace(main);
        const QSize size = clientSize(main);
        s.maximise(main);
        ASSERT_TRUE(waitFor([&] { return s.state(main).maximised; }, 10000)) << "the window was not maximised";
        for (const auto& step : {trip.before, trip.away, trip.back}) {
            step();
            if (HasFatalFailure()) return;
        }
        // Back maximised only once it is on the screen, normal at its normal place first.
        EXPECT_TRUE(waitFor([&] { return s.shownNormally(main) && s.state(main).maximised == trip.backMaximised; }, 10000))
            << "back, maximised " << s.state(main).maximised;
        if (s.state(main).maximised) {
            s.maximise(main, false);
            ASSERT_TRUE(waitFor([&] { return !s.state(main).maximised; }, 10000)) << "the window stayed maximised";
        }
        QRect now;
        EXPECT_TRUE(waitFor([&] { return (now = QRect(frameOf(main).topLeft(), clientSize(main))) == QRect(place, size); }, 5000))
            << "normal, at " << now.x() << "," << now.y() << " " << now.width() << "x" << now.height() << ", not " << place.x() << ","
            << place.y() << " " << size.width() << "x" << size.height();
        EXPECT_TRUE(s.caughtUp(main)) << "the program does not answer";
        EXPECT_FALSE(s.state(main).maximised) << "maximised again";
        EXPECT_TRUE(QRect(frameOf(main).topLeft(), clientSize(main)) == QRect(place, size)) << "moved again";

        EXPECT_EQ(terminate(player), 0) << player.readAll().constData();
        const QByteArray section = savedMainPlace();
        for (const QByteArray& line : {"Window_Top=" + QByteArray::number(twips(place.y())), "Window_left=" + QByteArray::number(twips(place.x())),
                                       "Window_Height=" + QByteArray::number(twips(size.height())),
                                       "Window_Width=" + QByteArray::number(twips(size.width())), QByteArray("Window_Maximized=0")})
            EXPECT_TRUE(section.contains(line + "\r\n")) << "saved\n" << section.constData() << "not " << line.constData();
    }
}

// Run by the test below in a process of its own on its desktop: the program maximises a window,
// and the user un-maximises it before the program has read the window manager's answer (the
// program was busy). Hidden then, it counts as normal, and it comes back normal. So also once
// Always On Top and a trip to the tray have made its native window anew.
TEST(WindowStateHeardLate, DISABLED_TheUsersLastWordCountsAtHide)
{
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
    Screen s(qgetenv("DISPLAY"));
    QWidget window;
    window.setWindowTitle(QStringLiteral("Late word"));
    window.resize(320, 240);
    windowplace::followPlace(&window);
    window.show();
    Window w = 0;
    const auto turning = [](const std::function<bool()>& done) {
        return waitFor([&] {
            QCoreApplication::processEvents();
            return done();
        }, 10000);
    };
    // Every event the window manager sent so far read: its ping answers come after them.
    const auto caughtUp = [&] {
        std::atomic<bool> done = false, answered = false;
        std::thread pinger([&] {
            answered = s.caughtUp(w);
            done = true;
        });
        turning([&] { return done.load(); });
        pinger.join();
        return answered.load();
    };
    const auto shown = [&] {
        return turning([&] {
            w = window.windowHandle() && window.windowHandle()->handle() ? Window(window.windowHandle()->winId()) : 0;
            return w && s.shownNormally(w) && window.windowHandle()->isExposed();
        }) && caughtUp();
    };
    ASSERT_TRUE(shown());
    const QSize normal = window.size();
    for (const char* trip : {"first shown", "always on top, back from the tray"}) {
        SCOPED_TRACE(trip);
        if (trip[0] == 'a') {
            const Window old = w;
            windows_SetAlwaysOnTop(&window, true);
            windowplace::hideMinimised(&window);
            ASSERT_TRUE(turning([&] { return !s.state(old).viewable; }));
            windowplace::bringBack(&window, Qt::WindowNoState);
            ASSERT_TRUE(shown());
            ASSERT_NE(w, old) << "the trip made no native window anew";
        }
        window.setWindowState(Qt::WindowMaximized);
        XFlush(static_cast<Display*>(qApp->nativeInterface<QNativeInterface::QX11Application>()->display()));
        ASSERT_TRUE(waitFor([&] { return s.state(w).maximised; }, 10000)) << "the window manager did not maximise it";
        s.maximise(w, false);
        ASSERT_TRUE(waitFor([&] { return !s.state(w).maximised; }, 10000)) << "the window manager did not un-maximise it";
        ASSERT_TRUE(caughtUp());
        ASSERT_TRUE(turning([&] { return window.size() == normal; }));
        if (!window.isMaximized()) std::cout << "Qt heard the un-maximise itself\n";

        window.hide();
        EXPECT_FALSE(windowplace::keptState(&window) & Qt::WindowMaximized);
        window.show();
        ASSERT_TRUE(shown());
        EXPECT_FALSE(s.state(w).maximised) << "it came back maximised";
        EXPECT_EQ(window.size(), normal);
    }
}

TEST_P(WindowPlaces, AStateTheUserGaveBeforeTheProgramReadTheWindowManagersAnswerCounts)
{
    QProcessEnvironment e = env();
    e.insert(QStringLiteral("DISPLAY"), QString::fromLatin1(server.display()));
    e.insert(QStringLiteral("VELTRA_TEST_QPA"), QStringLiteral("xcb"));
    QProcess child;
    child.setProcessEnvironment(e);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_also_run_disabled_tests"),
                                                          QStringLiteral("--gtest_filter=WindowStateHeardLate.*")});
    const bool finished = child.waitForFinished(90000);
    const std::string output = child.readAll().toStdString();
    if (!finished) child.kill();
    ASSERT_TRUE(finished) << output;
    EXPECT_EQ(child.exitCode(), 0) << output;
    EXPECT_NE(output.find("[  PASSED  ] 1 test"), std::string::npos) << output;
}

INSTANTIATE_TEST_SUITE_P(, WindowPlaces,
                         ::testing::Values(WindowManager::Openbox, WindowManager::Xfwm4, WindowManager::KWin, WindowManager::Mutter),
                         desktop::name);

} // namespace

#endif // VELTRA_HAVE_XVFB_SESSION
