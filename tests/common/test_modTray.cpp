#include "support/TestEnv.h"

#include "common/modTray.h"
#include "common/modWindows.h"
#include "extras/FrmMini.h"
#include "mainwindow/FrmMenus.h"
#include "mainwindow/FrmMain.h"
#include "startup/Forms.h"

#include <QAction>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QFileInfo>
#include <QIcon>
#include <QMenu>
#include <QPixmap>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

QIcon colourIcon(Qt::GlobalColor c)
{
    QPixmap p(16, 16);
    p.fill(c);
    return QIcon(p);
}

class TrayTest : public VeltraTest {
protected:
    void TearDown() override
    {
        tray_RemoveIcon();
        tray::setAvailabilityOverride(nullptr);
        modalWindowOpen = false;
        VeltraTest::TearDown();
    }
    FrmMain& main() { return forms().get<FrmMain>(); }
};

// A desktop without a notification area: no box (it would stop every start there, command-line
// playing included), no icon, and the tray watch is left to add it later.
TEST_F(TrayTest, NoNotificationAreaAddsNothingAndSaysNothing)
{
    tray::setAvailabilityOverride([] { return tray::Availability::Missing; });
    TrayIconLost = false;
    tray_AddIcon(QString(), &main(), colourIcon(Qt::red));
    EXPECT_EQ(tray_Icon(), nullptr);
    EXPECT_TRUE(ui.calls.isEmpty());
    EXPECT_TRUE(TrayIconLost);
    tray_SetTip(QStringLiteral("tip"));   // harmless without an icon
    tray_SetIcon(colourIcon(Qt::blue));
    tray_RemoveIcon();
}

TEST_F(TrayTest, OffscreenTheIconIsKeptSilentlyAndNothingBlocks)
{
    EXPECT_EQ(tray::availability(), tray::Availability::NoDesktop);
    TrayIconLost = true;
    tray_AddIcon(QStringLiteral("VELTRA:  Stopped"), &main(), colourIcon(Qt::red));
    ASSERT_NE(tray_Icon(), nullptr);
    EXPECT_TRUE(ui.calls.isEmpty());
    EXPECT_FALSE(TrayIconLost);
    EXPECT_EQ(tray_Owner(), &main());
    EXPECT_EQ(tray_Tip(), QStringLiteral("VELTRA:  Stopped"));
    FrmMenus& menus = forms().get<FrmMenus>();
    EXPECT_EQ(tray_Icon()->contextMenu(), menus.mnuSystemTray);
    EXPECT_EQ(menus.mnuSystemTray->defaultAction(), menus.mnuOpen);
    processEvents(10);
}

TEST_F(TrayTest, AddingAgainReplacesTheIconAndRemovingTwiceIsHarmless)
{
    tray_AddIcon(QString(), &main(), colourIcon(Qt::red));
    tray_AddIcon(QString(), &main(), colourIcon(Qt::green));
    ASSERT_NE(tray_Icon(), nullptr);
    tray_RemoveIcon();
    EXPECT_EQ(tray_Icon(), nullptr);
    EXPECT_EQ(tray_Owner(), nullptr);
    tray_RemoveIcon();
}

TEST_F(TrayTest, TipIsCutAndShownWithPlainLineBreaks)
{
    tray_AddIcon(QString(), &main(), colourIcon(Qt::red));
    tray_SetTip(QStringLiteral("VELTRA:  Playing\r\n01. Artist - Title"));
    EXPECT_EQ(tray_Tip(), QStringLiteral("VELTRA:  Playing\r\n01. Artist - Title"));
    EXPECT_EQ(tray_Icon()->toolTip(), QStringLiteral("VELTRA:  Playing\n01. Artist - Title"));
    tray_SetTip(QString(300, u'x'));
    EXPECT_EQ(tray_Tip().size(), 255);

    const qint64 before = tray_Icon()->icon().cacheKey();
    tray_SetIcon(colourIcon(Qt::blue));
    EXPECT_NE(tray_Icon()->icon().cacheKey(), before);
}

TEST_F(TrayTest, ClicksDoNothingWhileAModalWindowIsOpen)
{
    FrmMain& m = main();
    tray_AddIcon(QString(), &m, colourIcon(Qt::red));
    modalWindowOpen = true;
    tray_WindowProc(QSystemTrayIcon::DoubleClick);
    tray_WindowProc(QSystemTrayIcon::Trigger);
    tray_WindowProc(QSystemTrayIcon::Context);
    EXPECT_FALSE(m.isVisible());
    EXPECT_FALSE(m.WindowShown);

    // The icon's own menu closes again when it opens meanwhile.
    QMenu* menu = forms().get<FrmMenus>().mnuSystemTray;
    menu->popup(QPoint(0, 0));
    processEvents(20);
    EXPECT_FALSE(menu->isVisible());
}

TEST_F(TrayTest, LeftClickRestoresAHiddenOrMinimisedWindowAndOnlyFocusesAShownOne)
{
    FrmMain& m = main();
    tray_AddIcon(QString(), &m, colourIcon(Qt::red));
    tray_WindowProc(QSystemTrayIcon::Trigger);   // hidden in the tray
    EXPECT_TRUE(m.isVisible());
    EXPECT_TRUE(m.WindowShown);

    m.WindowShown = false;
    tray_WindowProc(QSystemTrayIcon::Trigger);   // shown: only the focus
    EXPECT_TRUE(m.isVisible());
    EXPECT_FALSE(m.WindowShown);

    m.showMinimized();
    tray_WindowProc(QSystemTrayIcon::Trigger);
    EXPECT_FALSE(m.isMinimized());
    EXPECT_TRUE(m.WindowShown);
}

TEST_F(TrayTest, DoubleClickOpensAndRestoresAMaximisedWindowMaximised)
{
    FrmMain& m = main();
    m.WasMaximized = true;
    tray_AddIcon(QString(), &m, colourIcon(Qt::red));
    tray_WindowProc(QSystemTrayIcon::DoubleClick);
    EXPECT_TRUE(m.isVisible());
    EXPECT_TRUE(m.isMaximized());
    EXPECT_TRUE(m.WindowShown);
}

TEST_F(TrayTest, InMiniModeTheClickActsOnTheMiniWindow)
{
    FrmMain& m = main();
    m.mnuSwitchToMiniMode->setChecked(true);
    tray_AddIcon(QString(), &m, colourIcon(Qt::red));
    tray_WindowProc(QSystemTrayIcon::Trigger);
    ASSERT_TRUE(forms().isLoaded<FrmMini>());
    EXPECT_TRUE(forms().get<FrmMini>().isVisible());
    EXPECT_FALSE(m.isVisible());
    EXPECT_TRUE(m.WindowShown);
}

TEST_F(TrayTest, RightClickWithoutTheIconsOwnMenuPopsTheTrayMenu)
{
    FrmMenus& menus = forms().get<FrmMenus>();
    tray_WindowProc(QSystemTrayIcon::Context);   // no icon: the program shows the menu itself
    EXPECT_TRUE(menus.mnuSystemTray->isVisible());
    EXPECT_EQ(menus.mnuSystemTray->defaultAction(), menus.mnuOpen);
    menus.mnuSystemTray->close();

    tray_AddIcon(QString(), &main(), colourIcon(Qt::red));
    tray_WindowProc(QSystemTrayIcon::Context);   // the panel shows the icon's menu
    EXPECT_FALSE(menus.mnuSystemTray->isVisible());
    tray_WindowProc(QSystemTrayIcon::MiddleClick);
    EXPECT_FALSE(main().isVisible());
}

TEST_F(TrayTest, TheOpenCommandOfTheTrayMenu)
{
    FrmMain& m = main();
    forms().get<FrmMenus>().mnuOpen->trigger();
    EXPECT_TRUE(m.isVisible());
    EXPECT_TRUE(m.WindowShown);
}

// ---- On a real desktop ----

// Runs in a child process on an X display with a notification area (see below).
TEST_F(TrayTest, DISABLED_ShowsInARealNotificationArea)
{
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
    QDeadlineTimer deadline(10000);
    while (tray::availability() != tray::Availability::Available && !deadline.hasExpired()) processEvents(100);
    ASSERT_EQ(tray::availability(), tray::Availability::Available);
    tray_AddIcon(QStringLiteral("VELTRA:  Stopped"), &main(), colourIcon(Qt::red));
    ASSERT_NE(tray_Icon(), nullptr);
    deadline.setRemainingTime(10000);
    while (tray_Icon()->geometry().isEmpty() && !deadline.hasExpired()) processEvents(100);
    EXPECT_TRUE(tray_Icon()->isVisible());
    EXPECT_FALSE(tray_Icon()->geometry().isEmpty());
    EXPECT_TRUE(ui.messages().isEmpty());
    tray_RemoveIcon();
}

TEST(TrayDesktop, IconShowsUnderXvfbWithAPanel)
{
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    const QString panel = QStandardPaths::findExecutable(QStringLiteral("trayer"));
    if (xvfb.isEmpty() || panel.isEmpty()) GTEST_SKIP() << "Xvfb and trayer are needed";

    // Xvfb picks a free display and names it on its standard output.
    QProcess server;
    server.start(xvfb, {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"), QStringLiteral("0"),
                        QStringLiteral("800x600x24"), QStringLiteral("-nolisten"), QStringLiteral("tcp")});
    ASSERT_TRUE(server.waitForStarted(5000));
    QByteArray number;
    QDeadlineTimer deadline(10000);
    while (!number.contains('\n') && !deadline.hasExpired()) {
        server.waitForReadyRead(200);
        number += server.readAllStandardOutput();
    }
    const QString display = u':' + QString::fromLatin1(number.trimmed());
    ASSERT_GT(display.size(), 1) << "Xvfb named no display";

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display);
    QProcess tray;
    tray.setProcessEnvironment(env);
    tray.start(panel, {QStringLiteral("--edge"), QStringLiteral("top"), QStringLiteral("--align"), QStringLiteral("right")});
    ASSERT_TRUE(tray.waitForStarted(5000));

    QProcess child;
    env.insert(QStringLiteral("VELTRA_TEST_QPA"), QStringLiteral("xcb"));
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_also_run_disabled_tests"),
                 QStringLiteral("--gtest_filter=TrayTest.DISABLED_ShowsInARealNotificationArea")});
    const bool finished = child.waitForFinished(60000);
    const QString output = QString::fromLocal8Bit(child.readAll());
    if (!finished) child.kill();

    tray.terminate();
    tray.waitForFinished(3000);
    server.terminate();
    server.waitForFinished(3000);

    ASSERT_TRUE(finished) << output.toStdString();
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("[  PASSED  ] 1 test"))) << output.toStdString();
}

} // namespace
