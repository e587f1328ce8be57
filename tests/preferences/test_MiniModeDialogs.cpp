// The volume popup and the mini-mode colours, opened from the tray menu and the mini-mode
// menu of the program as start-up leaves it.
#include "common/modSettings.h"
#include "common/modVB.h"
#include "common/modWindows.h"
#include "controls/ctlQX_Digital.h"
#include "controls/ctlQX_wPanel.h"
#include "controls/ctlQX_wScrollbar.h"
#include "extras/FrmMini.h"
#include "mainwindow/FrmMenus.h"
#include "platform/MediaPlayerControl.h"
#include "mainwindow/FrmMain.h"
#include "preferences/FrmCustomise.h"
#include "preferences/FrmVolume.h"
#include "startup/Forms.h"
#include "support/StartupFixture.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QSlider>

using vb::TwipsToPixels;

class MiniModeDialogTest : public StartupFixture {
protected:
    FrmMenus& menus() { return forms().get<FrmMenus>(); }
    QAction* muteButton() { return main().toolbarButton(QStringLiteral("Mute")); }
    // Opens a dialog through `item`; `inside` runs while it is open.
    template <class F>
    void open(QAction* item, std::function<void(F&)> inside)
    {
        ui.modalHandlers.push_back([inside](QObject* form) {
            auto* dialog = qobject_cast<F*>(form);
            ASSERT_NE(dialog, nullptr);
            inside(*dialog);
        });
        item->trigger();
        EXPECT_FALSE(forms().isLoaded<F>());   // loaded afresh for each opening
    }
};

TEST_F(MiniModeDialogTest, VolumePopupOpenedWhileMutedShowsItAndClearingUnmutes)
{
    start();
    main().mnuMute_Click();
    ASSERT_TRUE(muteButton()->isChecked());
    open<FrmVolume>(menus().mnuVolume, [&](FrmVolume& v) {
        EXPECT_TRUE(v.chkMute->isChecked());
        EXPECT_FALSE(v.sldVolume->isEnabled());
        EXPECT_TRUE(muteButton()->isChecked());   // showing the state changes nothing
        EXPECT_EQ(v.pos(), QPoint(TwipsToPixels(windows::screenWidthTwips() - FrmVolume::WindowWidth - 500),
                                  TwipsToPixels(windows::screenHeightTwips() - FrmVolume::WindowHeight - windows_GetTaskbarOffset() - 500)));
        v.chkMute->click();
        EXPECT_FALSE(muteButton()->isChecked());
        EXPECT_TRUE(v.sldVolume->isEnabled());
        EXPECT_EQ(main().wmpPlayer().Volume(), main().sldVolume->value() * 60 - 6000);
        v.chkMute->click();
        EXPECT_TRUE(muteButton()->isChecked());
        EXPECT_FALSE(v.sldVolume->isEnabled());
    });
}

TEST_F(MiniModeDialogTest, VolumePopupMovesBothOtherSlidersInMiniModeAndIgnoresKeys)
{
    start();
    main().mnuSwitchToMiniMode->trigger();
    FrmMini& mini = forms().get<FrmMini>();
    open<FrmVolume>(menus().mnuVolume, [&](FrmVolume& v) {
        EXPECT_EQ(v.sldVolume->value(), main().sldVolume->value());
        v.sldVolume->setValue(37);   // as a drag moves it
        EXPECT_EQ(main().sldVolume->value(), 37);
        EXPECT_EQ(mini.qxsVolume->value(), 37);
        EXPECT_EQ(main().wmpPlayer().Volume(), 37 * 60 - 6000);
        for (int k : {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down, Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Home, Qt::Key_End}) {
            QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier);
            QApplication::sendEvent(v.sldVolume, &press);
        }
        EXPECT_EQ(v.sldVolume->value(), 37);
        v.cmdClose->click();
        EXPECT_EQ(v.result(), int(QDialog::Accepted));
    });
}

TEST_F(MiniModeDialogTest, ColoursDefaultAndCloseWriteNothing)
{
    start();
    settings_WriteValue("MiniModeAppearance", "BackColour", "255");
    main().mnuSwitchToMiniMode->trigger();
    open<FrmCustomise>(menus().mnuCustomise, [&](FrmCustomise& c) {
        EXPECT_EQ(c.windowTitle(), QStringLiteral("Customise Mini-Mode"));
        EXPECT_EQ(c.colour(0), 255u);
        EXPECT_EQ(c.colour(6), 0xFF00u);
        // a cancelled picker keeps the box; a chosen colour fills it
        ui.colourAnswers.push_back(std::nullopt);
        c.cmdColour[1]->click();
        EXPECT_EQ(c.colour(1), 0u);
        ASSERT_FALSE(ui.calls.isEmpty());
        EXPECT_EQ(ui.calls.last().kind, QStringLiteral("colour"));
        EXPECT_EQ(ui.calls.last().title, QStringLiteral("Select Colour"));
        ui.colourAnswers.push_back(0x123456);
        c.cmdColour[1]->click();
        EXPECT_EQ(c.colour(1), 0x123456u);
        c.cmdDefault->click();
        for (int i = 0; i < FrmCustomise::ColourCount; ++i) EXPECT_EQ(c.colour(i), FrmCustomise::defaultColour(i));
        c.cmdClose->click();
    });
    EXPECT_EQ(settings_ReadValue("MiniModeAppearance", "BackColour"), QStringLiteral("255"));
    EXPECT_EQ(settings_ReadValue("MiniModeAppearance", "BorderColour", "none"), QStringLiteral("none"));
}

TEST_F(MiniModeDialogTest, ColoursSaveWritesTheNineValuesAndRepaintsTheMiniWindow)
{
    start();
    main().mnuSwitchToMiniMode->trigger();
    FrmMini& mini = forms().get<FrmMini>();
    EXPECT_EQ(mini.guiTitleBar->BackColor(), 0xC0C0C0u);
    menus().mnuAlwaysOnTop->trigger();
    open<FrmCustomise>(menus().mnuCustomise, [&](FrmCustomise& c) {
        EXPECT_FALSE(windows_IsAlwaysOnTop(&mini));   // not over its own dialog
        ui.colourAnswers.push_back(0x0000FF);
        c.cmdColour[0]->click();
        ui.colourAnswers.push_back(0x00FFFF);
        c.cmdColour[6]->click();
        c.setColour(5, 0x80000005u);   // a system colour is stored as a negative number
        c.cmdSave->click();
    });
    EXPECT_TRUE(windows_IsAlwaysOnTop(&mini));
    const std::pair<const char*, const char*> written[] = {
        {"BackColour", "255"},          {"BorderColour", "0"},          {"DarkLinesColour", "8421504"},
        {"LightLinesColour", "16777215"}, {"SlidersBackColour", "14737632"}, {"IndentBackColour", "-2147483643"},
        {"IndentFontColour", "65535"},  {"WindowFontColour", "0"},      {"WindowFontBackColour", "2512678"},
    };
    for (const auto& [key, value] : written)
        EXPECT_EQ(settings_ReadValue("MiniModeAppearance", key, "missing"), QString::fromLatin1(value)) << key;
    EXPECT_TRUE(mini.isVisible());
    EXPECT_EQ(mini.guiTitleBar->BackColor(), 0xFFu);
    EXPECT_EQ(mini.guiCenter->BackColor(), 0xFFu);
    EXPECT_EQ(mini.qxdNumber->ColourLight(), 0xFFFFu);
    EXPECT_EQ(mini.qxdNumber->BackColor(), 0x80000005u);
}
