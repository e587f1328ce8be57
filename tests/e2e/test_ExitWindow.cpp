// The Exit command: the exit window's timer removes the tray icon, then ends the program.
// Once in the running event loop of a test, once in the real program under an X server,
// closed from outside as a window manager closes it.
#include "common/ListViewModel.h"
#include "common/modListFiles.h"
#include "common/modTray.h"
#include "mainwindow/FrmMain.h"
#include "startup/Forms.h"
#include "startup/FrmExit.h"
#include "startup/modMain.h"
#include "support/Mp3Maker.h"
#include "support/PulseNullSink.h"
#include "support/StartupFixture.h"
#include "support/XvfbSession.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QList>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#ifdef VELTRA_HAVE_X11
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#endif

namespace {

class ExitWindowTest : public StartupFixture {};

TEST_F(ExitWindowTest, TheTimerRemovesTheIconThenEndsTheProgramAndTheNextStartRunsWhole)
{
    start();
    ASSERT_NE(tray_Icon(), nullptr);
    main().mnuExit_Click();
    FrmExit& exitWindow = forms().get<FrmExit>();
    // What each tick left behind, seen right after it (connected after the window's own
    // handler), so a slow machine that runs both ticks in one wait still sees them apart.
    struct Tick {
        bool iconShown;
        bool quitting;
    };
    QList<Tick> ticks;
    QObject::connect(exitWindow.tmrTimer, &QTimer::timeout, &exitWindow,
                     [&ticks] { ticks.append({tray_Icon() != nullptr, startup::quitting()}); });
    QElapsedTimer clock;
    clock.start();
    while (ticks.size() < 2 && clock.elapsed() < 10000) processEvents(10);
    ASSERT_EQ(ticks.size(), 2);
    EXPECT_FALSE(ticks[0].iconShown);   // the first tick removes the icon
    EXPECT_FALSE(ticks[0].quitting);    // and leaves the program running
    EXPECT_TRUE(ticks[1].quitting);     // the second ends it
    EXPECT_EQ(exitWindow.Counter, 2);
    EXPECT_GE(clock.elapsed(), 400);   // two ticks of 250 ms

    // A later start in the same process (the tests run many) is not taken for a quit.
    forms().unloadAll();
    start();
    EXPECT_FALSE(startup::quitting());
    EXPECT_TRUE(main().isVisible());
    EXPECT_TRUE(main().tmrPosition->isActive());
    EXPECT_NE(tray_Icon(), nullptr);
}

#ifdef VELTRA_HAVE_X11
// The top-level window whose name starts with `title`, once it is on the screen.
Window findWindow(Display* display, Window parent, const char* title)
{
    Window root = 0, up = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, parent, &root, &up, &children, &count)) return 0;
    Window found = 0;
    for (unsigned int i = 0; i < count && !found; ++i) {
        XWindowAttributes attributes;
        char* name = nullptr;
        if (XGetWindowAttributes(display, children[i], &attributes) && attributes.map_state == IsViewable
            && XFetchName(display, children[i], &name) && name) {
            if (QByteArray(name).startsWith(title)) found = children[i];
        }
        if (name) XFree(name);
        if (!found) found = findWindow(display, children[i], title);
    }
    if (children) XFree(children);
    return found;
}

TEST(ExitWindowProgram, ClosingTheWindowWithoutTrayEndsTheProgramAndKeepsThePlaylist)
{
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    if (xvfb.isEmpty() || !PulseNullSink::toolsPresent()) GTEST_SKIP() << "Xvfb and a sound server are needed";
    PulseNullSink pulse;
    QString why;
    if (!pulse.start(&why)) GTEST_SKIP() << "no sound server: " << why.toStdString();

    QProcess server;
    server.start(xvfb, {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"), QStringLiteral("0"),
                        QStringLiteral("800x600x24"), QStringLiteral("-nolisten"), QStringLiteral("tcp")});
    ASSERT_TRUE(server.waitForStarted(5000));
    QByteArray number;
    QDeadlineTimer started(10000);
    while (!number.contains('\n') && !started.hasExpired()) {
        server.waitForReadyRead(200);
        number += server.readAllStandardOutput();
    }
    const QByteArray display = ':' + number.trimmed();
    ASSERT_GT(display.size(), 1);

    QTemporaryDir home;
    QDir().mkpath(home.path() + QStringLiteral("/music"));
    const QString song = home.path() + QStringLiteral("/music/kept.mp3");
    ASSERT_TRUE(mp3maker::makeMp3(song, {.artist = QStringLiteral("Kept"), .title = QStringLiteral("Song"), .seconds = 2, .id3v1 = true}));
    QFile ini(home.path() + QStringLiteral("/settings.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[Settings]\r\nUseSystemTraySupport=0\r\n");
    ini.close();

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("VELTRA_HOME"), home.path());
    env.insert(QStringLiteral("DISPLAY"), QString::fromLatin1(display));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), home.path() + QStringLiteral("/.xdg-data"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path() + QStringLiteral("/.xdg-config"));
    QProcess program;
    program.setProcessEnvironment(env);
    program.setProcessChannelMode(QProcess::MergedChannels);
    program.start(QStringLiteral(VELTRA_BINARY), {song});
    ASSERT_TRUE(program.waitForStarted(10000));

    Display* x = XOpenDisplay(display.constData());
    ASSERT_NE(x, nullptr);
    Window window = 0;
    QDeadlineTimer shown(20000);
    while (!window && !shown.hasExpired() && program.state() == QProcess::Running) {
        window = findWindow(x, DefaultRootWindow(x), "VELTRA");
        if (!window) QThread::msleep(100);
    }
    ASSERT_NE(window, 0u) << program.readAll().constData();
    QThread::msleep(500);   // initialisation ends with the timers started
    askToClose(x, window);
    QElapsedTimer closing;
    closing.start();
    const bool ended = program.waitForFinished(10000);
    XCloseDisplay(x);
    if (!ended) program.kill();
    server.terminate();
    server.waitForFinished(3000);

    ASSERT_TRUE(ended) << "the program did not end: " << program.readAll().constData();
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_GE(closing.elapsed(), 400);   // by the exit window's second tick
    ListViewModel saved;
    saved.setColumns({"No.", "Artist:", "Title:", "Year:", "Status:", "Length:", "Filename:"});
    ASSERT_TRUE(controls_LoadListView(saved, home.path() + QStringLiteral("/Playlists/default.spp")));
    ASSERT_EQ(saved.count(), 1);
    EXPECT_EQ(saved.cells(1).value(1), QStringLiteral("Kept"));
    EXPECT_EQ(saved.cells(1).value(6), song);
}
#endif

} // namespace
