// The mini-mode window in the program as start-up leaves it, on the fake player: entered
// through the main window's menu item, its timers running in the event loop.
#include "common/ListViewModel.h"
#include "common/modControls.h"
#include "common/modSettings.h"
#include "common/modTray.h"
#include "common/modVB.h"
#include "common/modWindows.h"
#include "controls/ctlQX_Digital.h"
#include "controls/ctlQX_wImageButton.h"
#include "controls/ctlQX_wPanel.h"
#include "controls/ctlQX_wScrollbar.h"
#include "extras/FrmMini.h"
#include "mainwindow/FrmMenus.h"
#include "platform/MediaPlayerControl.h"
#include "mainwindow/FrmMain.h"
#include "startup/Forms.h"
#include "startup/modMain.h"
#include "support/StartupFixture.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QSlider>
#include <QTimer>

using vb::TwipsToPixels;

class MiniModeTest : public StartupFixture {
protected:
    FrmMini& mini() { return forms().get<FrmMini>(); }
    veltra::FakeMediaPlayerControl& player() { return static_cast<veltra::FakeMediaPlayerControl&>(main().wmpPlayer()); }
    // The program started and switched to mini mode from the main window's menu.
    FrmMini& enter()
    {
        if (!forms().isLoaded<FrmMain>()) start();
        main().mnuSwitchToMiniMode->trigger();
        return mini();
    }
    // Rows 1..n "Artist" / "Title<n>", row `play` playing a song of `seconds`.
    void playRow(int rows, int play, double seconds, const QString& title = QStringLiteral("Title"))
    {
        for (int r = 1; r <= rows; ++r) main().playlist_AddSong(QStringLiteral("Artist"), title, QString(), song(QStringLiteral("s%1.mp3").arg(r)));
        controls_RenumberItems(main().rows());
        player().nextDuration = seconds;
        controls_SelectItem(main().rows(), play);
        main().player_Play(1);
    }
    static void mouse(QWidget* target, QEvent::Type type, QPoint at, Qt::MouseButton button)
    {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
        QMouseEvent e(type, at, target->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : button, held, Qt::NoModifier);
        QApplication::sendEvent(target, &e);
    }
    static void key(QWidget* target, int k)
    {
        QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier);
        QApplication::sendEvent(target, &press);
    }
};

TEST_F(MiniModeTest, SwitchingHidesTheMainWindowAndShowsTheSkinnedWindow)
{
    FrmMini& m = enter();
    EXPECT_TRUE(main().mnuSwitchToMiniMode->isChecked());
    EXPECT_FALSE(main().isVisible());
    EXPECT_TRUE(m.isVisible());
    EXPECT_TRUE(m.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(m.size(), QSize(TwipsToPixels(3855), TwipsToPixels(2535)));
    EXPECT_EQ(m.lblPlaying->text(), QStringLiteral("Stopped"));
    EXPECT_FALSE(m.qxdNumber->Enabled());
    // the tray's Open brings the mini window back, not the main window
    m.hide();
    forms().get<FrmMenus>().mnuOpen->trigger();
    EXPECT_TRUE(m.isVisible());
    EXPECT_FALSE(main().isVisible());
}

TEST_F(MiniModeTest, PlacedInTheBottomRightCornerOrWhereItWasKeptOnScreen)
{
    const int screenW = windows::screenWidthTwips();
    const int screenH = windows::screenHeightTwips();
    struct Case {
        const char* top;
        const char* left;
        int expectLeft, expectTop;   // twips
    } cases[] = {
        {nullptr, nullptr, screenW - 3855 - 500, screenH - 2535 - windows_GetTaskbarOffset() - 500},
        {"3000", "1500", 1500, 3000},
        {"99990", "99990", screenW - 3855 - 480, screenH - 2535 - 480},   // off screen: pulled back
        {"not a number", "1500", 1500, screenH - 2535 - windows_GetTaskbarOffset() - 500},
        // wholly above and left of every screen: the default place
        {"-99999999", "-1e12", screenW - 3855 - 500, screenH - 2535 - windows_GetTaskbarOffset() - 500},
        {"-2535", "-3855", screenW - 3855 - 500, screenH - 2535 - windows_GetTaskbarOffset() - 500},
        {"-2000", "-3000", -3000, -2000},   // partly on the screen: left as it is
    };
    start();
    for (const Case& c : cases) {
        if (c.top) {
            settings_WriteValue("Position_MiniMode", "Window_Top", c.top);
            settings_WriteValue("Position_MiniMode", "Window_left", c.left);
        }
        FrmMini& m = enter();
        EXPECT_EQ(m.pos(), QPoint(TwipsToPixels(c.expectLeft), TwipsToPixels(c.expectTop))) << (c.top ? c.top : "none");
        forms().unload<FrmMini>();
    }
}

TEST_F(MiniModeTest, TheTitleBarDragsTheWindowUnlessItsPlaceIsLocked)
{
    FrmMini& m = enter();
    m.move(100, 100);
    // on the bar's own surface, right of the caption
    mouse(m.guiTitleBar, QEvent::MouseButtonPress, {150, 10}, Qt::LeftButton);
    mouse(m.guiTitleBar, QEvent::MouseMove, {180, 30}, Qt::LeftButton);
    mouse(m.guiTitleBar, QEvent::MouseButtonRelease, {180, 30}, Qt::LeftButton);
    EXPECT_EQ(m.pos(), QPoint(130, 120));
    EXPECT_FALSE(m.Dragging());

    // Locked by the setting: the left button does nothing, the right one opens the menu.
    settings_WriteValue("MiniModeSettings", "LockPosition", "1");
    forms().unload<FrmMini>();
    FrmMini& locked = enter();
    FrmMenus& menus = forms().get<FrmMenus>();
    EXPECT_TRUE(locked.PositionLocked());
    EXPECT_TRUE(menus.mnuLockPosition->isChecked());
    const QPoint before = locked.pos();
    mouse(locked.guiTitleBar, QEvent::MouseButtonPress, {150, 10}, Qt::LeftButton);
    mouse(locked.guiTitleBar, QEvent::MouseMove, {190, 40}, Qt::LeftButton);
    mouse(locked.guiTitleBar, QEvent::MouseButtonRelease, {190, 40}, Qt::LeftButton);
    EXPECT_EQ(locked.pos(), before);
    mouse(locked.guiTitleBar, QEvent::MouseButtonPress, {150, 10}, Qt::RightButton);
    EXPECT_TRUE(menus.mnuSystemMenu->isVisible());
    EXPECT_EQ(menus.mnuSystemMenu->defaultAction(), menus.mnuMinimize);
    menus.mnuSystemMenu->close();

    // The menu unlocks it again and keeps the choice.
    menus.mnuLockPosition->trigger();
    EXPECT_FALSE(locked.PositionLocked());
    EXPECT_EQ(settings_ReadValue("MiniModeSettings", "LockPosition"), QStringLiteral("0"));
    menus.mnuAlwaysOnTop->trigger();
    EXPECT_TRUE(windows_IsAlwaysOnTop(&locked));
    EXPECT_EQ(settings_ReadValue("MiniModeSettings", "AlwaysOnTop"), QStringLiteral("1"));
}

TEST_F(MiniModeTest, TheTimersMirrorThePlayerAsItPlaysPausesAndStops)
{
    writeFile("settings.ini", "[Settings]\r\nUseNumberPaddingInPlaylists=0\r\n");
    start();
    playRow(3, 3, 245);
    FrmMini& m = enter();
    player().advance(30);
    processEvents(650);   // the position timer's own tick
    EXPECT_EQ(m.lblPlaying->text(), QStringLiteral("Playing... 3.  Artist - Title (04:05)"));
    EXPECT_EQ(main().PlayerState, FrmMain::Playback::Playing);
    EXPECT_TRUE(m.qxsPosition->Enabled());
    EXPECT_TRUE(m.qxsPosition->BarVisible());
    EXPECT_EQ(m.qxsPosition->value(), 30);
    EXPECT_EQ(m.qxsPosition->Max(), 245);
    EXPECT_TRUE(m.qxdNumber->Enabled());
    EXPECT_EQ(m.qxdNumber->value(), main().mnuStatusBarShowTimeElapsed->isChecked() ? 30 : 215);

    main().mnuPause_Click();
    processEvents(650);
    EXPECT_EQ(m.lblPlaying->text(), QStringLiteral("Paused... 3.  Artist - Title (04:05)"));
    EXPECT_EQ(main().PlayerState, FrmMain::Playback::Paused);
    // the slider is frozen at the pause point and cannot be dragged
    EXPECT_FALSE(m.qxsPosition->Enabled());
    EXPECT_EQ(m.qxsPosition->value(), 30);

    // Playing again frees it; then Stop, through the main window's command.
    m.qxbButton_Click(3);
    m.tmrPosition_Timer();
    EXPECT_TRUE(m.qxsPosition->Enabled());
    m.qxbButton_Click(4);
    processEvents(650);
    EXPECT_EQ(m.lblPlaying->text(), QStringLiteral("Stopped"));
    EXPECT_EQ(main().PlayerState, FrmMain::Playback::Stopped);
    EXPECT_FALSE(m.qxsPosition->Enabled());
    EXPECT_EQ(m.qxsPosition->value(), 0);
    EXPECT_EQ(m.qxsPosition->Max(), 100);
    EXPECT_TRUE(m.qxsPosition->BarVisible());
    EXPECT_FALSE(m.qxdNumber->Enabled());
    EXPECT_EQ(m.qxdNumber->value(), 0);
    EXPECT_FALSE(m.tmrPlaying->isActive());
    EXPECT_EQ(m.lblPlayingLeft(), 50);
}

TEST_F(MiniModeTest, ALongStatusLineMovesThirtyTwipsATickAndWraps)
{
    start();
    playRow(1, 1, 60, QString(80, u'W'));
    FrmMini& m = enter();
    const double width = vb::PixelsToTwips(m.lblPlaying->width());
    const double window = vb::PixelsToTwips(m.picPlaying->width());
    ASSERT_GT(width, window);
    double expected = m.lblPlayingLeft();
    bool wrapped = false;
    for (int tick = 0; tick < 5000 && !wrapped; ++tick) {
        m.tmrPlaying_Timer();
        expected -= 30;
        if (expected <= -(width + 30)) {
            expected = window + 30;
            wrapped = true;
        }
        ASSERT_EQ(m.lblPlayingLeft(), expected) << "tick " << tick;
    }
    EXPECT_TRUE(wrapped);
    EXPECT_EQ(m.lblPlaying->x(), TwipsToPixels(window + 30));

    // A line that fits stays at its start.
    m.lblPlaying->setText(QStringLiteral("Short"));
    m.lblPlaying->adjustSize();
    m.tmrPlaying_Timer();
    EXPECT_EQ(m.lblPlayingLeft(), 50);
}

TEST_F(MiniModeTest, ButtonsRunTheMainWindowsCommandsOnlyWhileTheyAreEnabled)
{
    start();
    playRow(2, 1, 100);
    main().mnuStop_Click();
    FrmMini& m = enter();
    main().mnuPlay->setEnabled(false);
    const int calls = player().history.size();
    m.qxbButton_Click(2);
    EXPECT_EQ(player().history.size(), calls);
    m.qxbButton_Click(12);   // no such button
    m.qxbButton_Click(-1);

    // A click of the real button, with its item enabled, plays.
    main().mnuPlay->setEnabled(true);
    // on its picture, where the mouse meets it
    QWidget* picture = m.qxbButton[2]->childAt(m.qxbButton[2]->rect().center());
    ASSERT_NE(picture, nullptr);
    mouse(picture, QEvent::MouseButtonPress, {3, 3}, Qt::LeftButton);
    mouse(picture, QEvent::MouseButtonRelease, {3, 3}, Qt::LeftButton);
    EXPECT_EQ(player().PlayState(), veltra::MediaPlayerControl::State::Playing);

    // The volume slider drives the main window's and the player's.
    m.qxsVolume->setValue(40);
    m.qxsVolume_Change();
    EXPECT_EQ(main().sldVolume->value(), 40);
    EXPECT_EQ(player().Volume(), 40 * 60 - 6000);
    m.qxbButton_Click(9);
    EXPECT_TRUE(main().mnuOpenMediaLibrary->isChecked());
}

TEST_F(MiniModeTest, TheCloseImageWithTraySupportHidesItAndTheProgramRunsOn)
{
    FrmMini& m = enter();
    ASSERT_NE(tray_Icon(), nullptr);
    mouse(m.imgClose, QEvent::MouseButtonPress, {3, 3}, Qt::LeftButton);
    EXPECT_FALSE(m.isVisible());
    EXPECT_FALSE(main().isVisible());
    EXPECT_FALSE(main().IsExiting);
    EXPECT_FALSE(startup::quitting());
    EXPECT_TRUE(forms().isLoaded<FrmMini>());
    forms().get<FrmMenus>().mnuOpen->trigger();   // the tray's Open
    EXPECT_TRUE(m.isVisible());

    // Without a tray icon to come back from it is only minimised, by Escape too.
    trayHere = int(tray::Availability::Missing);
    mouse(m.imgClose, QEvent::MouseButtonPress, {3, 3}, Qt::LeftButton);
    EXPECT_TRUE(m.isVisible());
    EXPECT_TRUE(m.isMinimized());
}

TEST_F(MiniModeTest, WithoutTraySupportEscapeMinimisesAndTheCloseImageExits)
{
    writeFile("settings.ini", "[Settings]\r\nUseSystemTraySupport=0\r\n");
    FrmMini& m = enter();
    EXPECT_EQ(tray_Icon(), nullptr);
    key(&m, Qt::Key_Escape);
    EXPECT_TRUE(m.isVisible());
    EXPECT_TRUE(m.isMinimized());
    mouse(m.imgClose, QEvent::MouseButtonPress, {3, 3}, Qt::LeftButton);
    EXPECT_TRUE(main().IsExiting);
    EXPECT_FALSE(m.isVisible());
}

TEST_F(MiniModeTest, ReturningToFullModeRestoresAMaximisedMainWindowAndKeepsThePlace)
{
    start();
    main().setWindowState(Qt::WindowMaximized);
    FrmMini& m = enter();
    m.move(TwipsToPixels(1500), TwipsToPixels(3000));
    forms().get<FrmMenus>().mnuReturnToFullMode->trigger();
    EXPECT_FALSE(main().mnuSwitchToMiniMode->isChecked());
    EXPECT_TRUE(main().isVisible());
    EXPECT_TRUE(main().isMaximized());
    EXPECT_EQ(settings_ReadValue("Position_MiniMode", "Window_Top"), QStringLiteral("3000"));
    EXPECT_EQ(settings_ReadValue("Position_MiniMode", "Window_left"), QStringLiteral("1500"));
    processEvents();
    EXPECT_FALSE(forms().isLoaded<FrmMini>());
    // the next time it comes back where it was
    EXPECT_EQ(enter().pos(), QPoint(TwipsToPixels(1500), TwipsToPixels(3000)));

    // Un-maximised since a trip to the tray (which left its mark), it comes back normal.
    forms().get<FrmMenus>().mnuReturnToFullMode->trigger();
    main().window_MinimizeToTray();
    forms().get<FrmMenus>().mnuOpen_Click();
    ASSERT_TRUE(main().isMaximized());
    main().setWindowState(Qt::WindowNoState);
    enter();
    forms().get<FrmMenus>().mnuReturnToFullMode->trigger();
    EXPECT_FALSE(main().isMaximized());
}
