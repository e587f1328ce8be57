#include "support/TestEnv.h"

#include "common/modSettings.h"
#include "common/modVB.h"
#include "common/modWindows.h"
#include "extras/FrmTracking.h"
#include "mainwindow/FrmMain.h"
#include "startup/Forms.h"

#include <QAction>
#include <QGuiApplication>
#include <QScreen>
#include <QMenu>
#include <QWidget>
#include <stdexcept>

namespace {

class WindowsTest : public VeltraTest {
protected:
    void TearDown() override
    {
        modalWindowOpen = false;
        VeltraTest::TearDown();
    }
    QString settingsText() const { return QString::fromUtf8(readFile(home(QStringLiteral("settings.ini")))); }
    static int px(double twips) { return vb::TwipsToPixels(twips); }
};

// ---- Modal display ----

TEST_F(WindowsTest, ShowModalDropsAndRestoresTopmostAndSetsTheFlagOnlyMeanwhile)
{
    FrmMain& main = forms().get<FrmMain>();
    main.mnuAlwaysOnTop->setChecked(true);
    windows_SetAlwaysOnTop(&main, true);
    FrmTracking& dialog = forms().get<FrmTracking>();

    bool flagInside = false;
    bool topmostInside = true;
    QObject* shown = nullptr;
    ui.modalHandlers.push_back([&](QObject* form) {
        flagInside = modalWindowOpen;
        topmostInside = windows_IsAlwaysOnTop(&main);
        shown = form;
    });
    windows_ShowModal(dialog, &main, false);

    EXPECT_TRUE(flagInside);
    EXPECT_FALSE(topmostInside);
    EXPECT_EQ(shown, &dialog);
    EXPECT_FALSE(modalWindowOpen);
    EXPECT_TRUE(windows_IsAlwaysOnTop(&main));
    EXPECT_TRUE(forms().isLoaded<FrmTracking>());   // kept without "unload after"
}

TEST_F(WindowsTest, ShowModalUnloadsWhenAskedAndStillRestoresEverything)
{
    FrmMain& main = forms().get<FrmMain>();
    main.mnuAlwaysOnTop->setChecked(true);
    windows_SetAlwaysOnTop(&main, true);
    windows_ShowModal(forms().get<FrmTracking>(), main, true);
    EXPECT_FALSE(forms().isLoaded<FrmTracking>());
    EXPECT_FALSE(modalWindowOpen);
    EXPECT_TRUE(windows_IsAlwaysOnTop(&main));
}

TEST_F(WindowsTest, ShowModalWithoutTheCheckMarkLeavesTheOwnerAlone)
{
    FrmMain& main = forms().get<FrmMain>();
    bool topmostInside = true;
    ui.modalHandlers.push_back([&](QObject*) { topmostInside = windows_IsAlwaysOnTop(&main); });
    windows_ShowModal(forms().get<FrmTracking>(), &main, false);
    EXPECT_FALSE(topmostInside);
    EXPECT_FALSE(windows_IsAlwaysOnTop(&main));
    EXPECT_EQ(ui.count(QStringLiteral("modal")), 1);
}

TEST_F(WindowsTest, ShowModalRestoresWhenTheDialogFailsAndWhenNested)
{
    FrmMain& main = forms().get<FrmMain>();
    main.mnuAlwaysOnTop->setChecked(true);
    windows_SetAlwaysOnTop(&main, true);
    ui.modalHandlers.push_back([](QObject*) { throw std::runtime_error("dialog failed"); });
    EXPECT_THROW(windows_ShowModal(forms().get<FrmTracking>(), &main, false), std::runtime_error);
    EXPECT_FALSE(modalWindowOpen);
    EXPECT_TRUE(windows_IsAlwaysOnTop(&main));

    // A box opened from a modal window: the flag holds until the outer one closes too.
    bool afterInner = false;
    ui.modalHandlers.push_back([&](QObject*) {
        QWidget inner;
        windows_ShowModal(inner, &main, false);
        afterInner = modalWindowOpen;
    });
    windows_ShowModal(forms().get<FrmTracking>(), &main, false);
    EXPECT_TRUE(afterInner);
    EXPECT_FALSE(modalWindowOpen);
    EXPECT_TRUE(windows_IsAlwaysOnTop(&main));
}

TEST_F(WindowsTest, ADialogThatSwitchesAlwaysOnTopOffIsNotOverruled)
{
    FrmMain& main = forms().get<FrmMain>();
    main.mnuAlwaysOnTop->setChecked(true);
    windows_SetAlwaysOnTop(&main, true);
    ui.modalHandlers.push_back([&](QObject*) {
        // As the preferences' Apply does it.
        main.mnuAlwaysOnTop->setChecked(false);
        windows_SetAlwaysOnTop(&main, false);
    });
    windows_ShowModal(forms().get<FrmTracking>(), &main, false);
    EXPECT_FALSE(windows_IsAlwaysOnTop(&main));

    // Switched on meanwhile: left as the dialog set it.
    ui.modalHandlers.push_back([&](QObject*) {
        main.mnuAlwaysOnTop->setChecked(true);
        windows_SetAlwaysOnTop(&main, true);
    });
    windows_ShowModal(forms().get<FrmTracking>(), &main, false);
    EXPECT_TRUE(windows_IsAlwaysOnTop(&main));
}

TEST_F(WindowsTest, TheAlwaysOnTopItemIsTheOwnersOwnEvenInsideItsMenus)
{
    QWidget owner;
    EXPECT_EQ(windows_AlwaysOnTopItem(&owner), nullptr);
    EXPECT_EQ(windows_AlwaysOnTopItem(nullptr), nullptr);

    // A dialog parented to the owner has its own item; it is not the owner's.
    QWidget dialog(&owner, Qt::Dialog);
    auto* foreign = new QAction(&dialog);
    foreign->setObjectName(QStringLiteral("mnuAlwaysOnTop"));
    EXPECT_EQ(windows_AlwaysOnTopItem(&owner), nullptr);

    auto* menu = new QMenu(&owner);
    auto* item = new QAction(menu);
    item->setObjectName(QStringLiteral("mnuAlwaysOnTop"));
    EXPECT_EQ(windows_AlwaysOnTopItem(&owner), item);
    EXPECT_EQ(windows_AlwaysOnTopItem(&dialog), foreign);
}

TEST_F(WindowsTest, AboutBoxIsAModalDisplayWithTheOwnersStateKept)
{
    FrmMain& main = forms().get<FrmMain>();
    main.mnuAlwaysOnTop->setChecked(true);
    windows_SetAlwaysOnTop(&main, true);
    windows_ShowAboutWindows(&main, QStringLiteral("VELTRA"), QStringLiteral("Written by someone.\r\n"));
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.messages()[0].title, QStringLiteral("About VELTRA"));
    EXPECT_TRUE(ui.messages()[0].text.endsWith(QStringLiteral("Written by someone.\r\n")));
    EXPECT_FALSE(modalWindowOpen);
    EXPECT_TRUE(windows_IsAlwaysOnTop(&main));
}

TEST_F(WindowsTest, SetAlwaysOnTopNeitherShowsNorHidesNorMoves)
{
    QWidget shown;
    shown.setGeometry(120, 90, 300, 200);
    shown.show();
    processEvents(20);
    const QRect before = shown.geometry();
    windows_SetAlwaysOnTop(&shown, true);
    EXPECT_TRUE(windows_IsAlwaysOnTop(&shown));
    EXPECT_TRUE(shown.isVisible());
    EXPECT_EQ(shown.geometry(), before);
    windows_SetAlwaysOnTop(&shown, false);
    EXPECT_FALSE(windows_IsAlwaysOnTop(&shown));
    EXPECT_TRUE(shown.isVisible());

    QWidget hidden;
    windows_SetAlwaysOnTop(&hidden, true);
    EXPECT_TRUE(windows_IsAlwaysOnTop(&hidden));
    EXPECT_FALSE(hidden.isVisible());
}

TEST_F(WindowsTest, ShowNoActivateShowsOnlyInModeZero)
{
    QWidget a, b;
    windows_ShowNoActivate(&b, 1);
    EXPECT_FALSE(b.isVisible());
    windows_ShowNoActivate(&a, 0);
    EXPECT_TRUE(a.isVisible());
    EXPECT_TRUE(a.testAttribute(Qt::WA_ShowWithoutActivating));
}

// ---- Positions ----

TEST_F(WindowsTest, NormalPositionRoundTripsInTwipsWithTheLowerCaseLeftKey)
{
    QWidget w;
    w.move(100, 80);
    w.resize(400, 300);
    windows_SavePosition(&w, QStringLiteral("MainWindow"), 1500);

    const QString ini = settingsText();
    EXPECT_TRUE(ini.contains(QStringLiteral("[Position_MainWindow]")));
    EXPECT_TRUE(ini.contains(QStringLiteral("Window_left=1500")));
    EXPECT_TRUE(ini.contains(QStringLiteral("Window_Top=1200")));
    EXPECT_TRUE(ini.contains(QStringLiteral("Window_Height=4500")));
    EXPECT_TRUE(ini.contains(QStringLiteral("Window_Width=6000")));
    EXPECT_TRUE(ini.contains(QStringLiteral("Window_Maximized=0")));
    EXPECT_FALSE(ini.contains(QStringLiteral("Window_Left=")));

    QWidget back;
    windows_LoadPosition(&back, QStringLiteral("MainWindow"), 1500);
    EXPECT_EQ(back.pos(), QPoint(100, 80));
    EXPECT_EQ(back.size(), QSize(400, 300));
    EXPECT_FALSE(back.isMaximized());
}

TEST_F(WindowsTest, MaximisedWindowComesBackMaximisedWithTheMarginRectangle)
{
    const int margin = 1500;
    QWidget w;
    w.move(0, 0);
    w.resize(500, 400);
    w.setWindowState(Qt::WindowMaximized);
    windows_SavePosition(&w, QStringLiteral("CDPlayer"), margin);
    const QString section = QStringLiteral("Position_CDPlayer");
    EXPECT_EQ(settings_ReadValue(section, QStringLiteral("Window_Maximized")), QStringLiteral("1"));
    EXPECT_EQ(settings_ReadValue(section, QStringLiteral("Window_Top")), QStringLiteral("1500"));
    EXPECT_EQ(settings_ReadValue(section, QStringLiteral("Window_left")), QStringLiteral("1500"));
    // From the maximised window's own top and left (its frame may sit above the screen).
    EXPECT_EQ(settings_ReadValue(section, QStringLiteral("Window_Height")),
              QString::number(windows::screenHeightTwips() - w.y() * 15 - margin));
    EXPECT_EQ(settings_ReadValue(section, QStringLiteral("Window_Width")),
              QString::number(windows::screenWidthTwips() - w.x() * 15 - margin));

    QWidget back;
    windows_LoadPosition(&back, QStringLiteral("CDPlayer"), margin);
    EXPECT_TRUE(back.isMaximized());
    back.setWindowState(Qt::WindowNoState);
    EXPECT_EQ(back.pos(), QPoint(px(margin), px(margin)));
    EXPECT_EQ(back.size(), QSize(px(windows::screenWidthTwips() - 2 * margin), px(windows::screenHeightTwips() - 2 * margin)));
}

TEST_F(WindowsTest, FirstStartFillsTheScreenLessTheMargin)
{
    QWidget w;
    windows_LoadPosition(&w, QStringLiteral("MediaLibrary"), 1800);
    EXPECT_EQ(w.pos(), QPoint(120, 120));
    EXPECT_EQ(w.size(), QSize(px(windows::screenWidthTwips() - 3600), px(windows::screenHeightTwips() - 3600)));
    EXPECT_FALSE(w.isMaximized());
}

TEST_F(WindowsTest, StoredValuesWithFractionsAndBadValues)
{
    const QString s = QStringLiteral("Position_MainWindow");
    settings_WriteValue(s, QStringLiteral("Window_Top"), QStringLiteral("1500.4"));
    settings_WriteValue(s, QStringLiteral("Window_left"), QStringLiteral("x"));    // no number: the default
    settings_WriteValue(s, QStringLiteral("Window_Height"), QStringLiteral(""));   // empty: the default
    settings_WriteValue(s, QStringLiteral("Window_Width"), QStringLiteral("3000"));
    QWidget w;
    windows_LoadPosition(&w, QStringLiteral("MainWindow"), 750);
    EXPECT_EQ(w.y(), 100);
    EXPECT_EQ(w.x(), 50);
    EXPECT_EQ(w.height(), px(windows::screenHeightTwips() - 1500.4 - 750));
    EXPECT_EQ(w.width(), 200);
}

TEST_F(WindowsTest, StoredPositionOffASmallerScreenComesBackOnIt)
{
    // Rectangles saved on a larger monitor, brought back on this screen.
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const struct {
        const char* name;
        QRect stored;
        QRect expected;
    } cases[] = {
        {"fits: kept exactly", {100, 80, 400, 300}, {100, 80, 400, 300}},
        {"beyond the right and bottom", {screen.width() + 500, screen.height() + 200, 400, 300},
         {screen.width() - 400, screen.height() - 300, 400, 300}},
        {"half off the right", {screen.width() - 100, 50, 400, 300}, {screen.width() - 400, 50, 400, 300}},
        {"left of and above the screen", {-900, -700, 400, 300}, {0, 0, 400, 300}},
        {"larger than the screen", {50, 50, screen.width() + 600, screen.height() + 400}, {0, 0, screen.width(), screen.height()}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString s = QStringLiteral("Position_MainWindow");
        settings_WriteValue(s, QStringLiteral("Window_left"), c.stored.x() * 15);
        settings_WriteValue(s, QStringLiteral("Window_Top"), c.stored.y() * 15);
        settings_WriteValue(s, QStringLiteral("Window_Width"), c.stored.width() * 15);
        settings_WriteValue(s, QStringLiteral("Window_Height"), c.stored.height() * 15);
        QWidget w;
        windows_LoadPosition(&w, QStringLiteral("MainWindow"), 1500);
        EXPECT_EQ(w.geometry(), c.expected.translated(c.stored == c.expected ? QPoint() : screen.topLeft()));
    }
}

TEST_F(WindowsTest, MinimisedWindowWritesNothing)
{
    QWidget w;
    w.setWindowState(Qt::WindowMinimized);
    windows_SavePosition(&w, QStringLiteral("MainWindow"), 1500);
    EXPECT_FALSE(settingsText().contains(QStringLiteral("Position_MainWindow")));
}

TEST_F(WindowsTest, KeepOnScreenPullsBackOnlyWindowsBeyondTheEdges)
{
    const int sw = px(windows::screenWidthTwips());
    const int sh = px(windows::screenHeightTwips());
    QWidget w;
    w.resize(200, 100);
    w.move(sw + 10, sh);
    windows_KeepFormOnScreen(&w);
    EXPECT_EQ(w.pos(), QPoint(sw - 200 - 32, sh - 100 - 32));

    w.move(-50, 40);
    windows_KeepFormOnScreen(&w);
    EXPECT_EQ(w.pos(), QPoint(-50, 40));
}

TEST_F(WindowsTest, ReCenterRestoresAndInsetsByTheMargin)
{
    QWidget w;
    w.setWindowState(Qt::WindowMaximized);
    windows_ReCenterForm(&w, 1500);
    EXPECT_FALSE(w.isMaximized());
    EXPECT_EQ(w.pos(), QPoint(100, 100));
    EXPECT_EQ(w.size(), QSize(px(windows::screenWidthTwips() - 3000), px(windows::screenHeightTwips() - 3000)));
}

TEST_F(WindowsTest, TaskbarOffsetIsNeverNegative) { EXPECT_GE(windows_GetTaskbarOffset(), 0); }

// ---- Shell, system and texts ----

TEST_F(WindowsTest, AddressesAndMailGoThroughTheUiServices)
{
    windows_OpenURL(nullptr, QStringLiteral("https://example.org/forum"), 3);
    windows_OpenMail(nullptr, QStringLiteral("someone@example.org"), QStringLiteral("VELTRA"), 3);
    ASSERT_EQ(ui.openedUrls.size(), 2);
    EXPECT_EQ(ui.openedUrls[0], QStringLiteral("https://example.org/forum"));
    EXPECT_EQ(ui.openedUrls[1], QStringLiteral("mailto:someone@example.org?SUBJECT=VELTRA"));
}

TEST_F(WindowsTest, MessengerTextsOfPlayingAndStopping)
{
    const QString playing = windows_MessengerText(QStringLiteral("Artist"), QStringLiteral("Title"), QStringLiteral("Music"),
                                                  QString(), QStringLiteral("{1} - {0}"), true);
    EXPECT_EQ(playing, QStringLiteral("\\0Music\\01\\0{1} - {0}\\0Artist\\0Title\\0\\0") + QChar(0));
    const QString stopped =
        windows_MessengerText(QString(), QString(), QStringLiteral("Music"), QString(), QStringLiteral("{0} - {1}"), false);
    EXPECT_EQ(stopped, QStringLiteral("\\0Music\\00\\0{0} - {1}\\0\\0\\0\\0") + QChar(0));
    // Nothing receives it here, and nothing complains.
    windows_SendMessengerNowPlaying(QStringLiteral("A"), QStringLiteral("T"), QStringLiteral("Music"), QString(),
                                    QStringLiteral("{1} - {0}"), true);
    EXPECT_TRUE(ui.calls.isEmpty());
}

TEST_F(WindowsTest, ThemeManifestTextIsBuiltButNeverWritten)
{
    const QString text = windows_ThemeManifestText(QStringLiteral("veltra.exe"), QStringLiteral("VELTRA"));
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 23);   // 22 lines, each ended by CR LF
    EXPECT_TRUE(lines.last().isEmpty());
    EXPECT_EQ(lines[0], QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"));
    EXPECT_EQ(lines[5], QStringLiteral("    name=\"veltra.exe\""));
    EXPECT_EQ(lines[8], QStringLiteral("<description>VELTRA Windows Theme File</description>"));
    EXPECT_EQ(lines[12], QStringLiteral("            type=\"win32\""));
    EXPECT_EQ(lines[17], QStringLiteral("            language=\"*\""));
    EXPECT_EQ(lines[18], QStringLiteral("        />"));
    EXPECT_EQ(lines[21], QStringLiteral("</assembly>"));

    windows_CreateThemeManifest(QStringLiteral("veltra.exe"), QStringLiteral("VELTRA"));
    EXPECT_FALSE(QFileInfo::exists(home(QStringLiteral("veltra.exe.manifest"))));
    EXPECT_TRUE(ui.messages().isEmpty());
}

TEST_F(WindowsTest, SystemQuestionsAnswerWithoutBlocking)
{
    EXPECT_FALSE(windows_GetOSName().isEmpty());
    EXPECT_TRUE(windows_HasSoundCard());   // the test environment provides one
    (void)windows_IsConnectedToInternet();
    windows_EnableScreenSaver(false);
    EXPECT_FALSE(windows_ScreenSaverEnabled());
    windows_EnableScreenSaver(true);
    EXPECT_TRUE(windows_ScreenSaverEnabled());
}

} // namespace
