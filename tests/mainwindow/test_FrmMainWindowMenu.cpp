// The window commands: the refusals while music plays, openers of windows not built yet,
// mini mode, the web pages, About Windows and Exit.
#include "mainwindow/MainWindowFixture.h"

#include "common/FrmConsole.h"
#include "common/modSettings.h"
#include "common/modWindows.h"
#include "extras/FrmMini.h"
#include "extras/FrmTracking.h"
#include "library/FrmMassRenamer.h"
#include "library/FrmMassTagEditor.h"
#include "library/FrmMoveToFolder.h"
#include "platform/WebPages.h"
#include "preferences/FrmAdjustVolumes.h"
#include "startup/FrmExit.h"

#include <QMenuBar>


namespace {

class WindowCommandTest : public MainWindowTest {};

TEST_F(WindowCommandTest, FileToolsRefuseWhilePlayingOrPausedAndWaitForRows)
{
    startDefault();
    FrmMain& m = main();
    struct Tool {
        QAction* item;
        const char* title;
        const char* window;   // the window that opens when stopped with rows
    };
    const Tool tools[] = {
        {m.mnuPlaylistEditAllTags, "Edit All ID3 Tags Error", "FrmMassTagEditor"},
        {m.mnuPlaylistMoveMusicToFolder, "Move Music To Folder Error", "FrmMoveToFolder"},
        {m.mnuPlaylistRenameAllFilenames, "Rename All Filenames Error", "FrmMassRenamer"},
    };
    for (const Tool& t : tools) {
        ui.clear();
        clickInMenu(m.mnuEntries, t.item);   // stopped, no rows: nothing at all
        EXPECT_TRUE(ui.calls.isEmpty()) << t.title;

        addRow(QStringLiteral("A"), QStringLiteral("T"));
        playRow(1);
        clickInMenu(m.mnuEntries, t.item);
        m.mnuPause_Click();
        clickInMenu(m.mnuEntries, t.item);
        ASSERT_EQ(ui.messages().size(), 2) << t.title;
        for (const auto& box : ui.messages()) {
            EXPECT_EQ(box.title, QString::fromLatin1(t.title));
            EXPECT_EQ(box.text, QStringLiteral("You cannot use this option while VELTRA is playing music.\r\n\r\nThis function will not continue.\r\n"));
            EXPECT_EQ(box.icon, int(veltra::MsgIcon::Exclamation));
        }
        EXPECT_EQ(ui.count(QStringLiteral("modal")), 0);

        m.tmrPosition_Timer();   // Stop acts on the state the timer saw
        m.mnuStop_Click();
        ui.clear();
        clickInMenu(m.mnuEntries, t.item);
        EXPECT_TRUE(ui.messages().isEmpty()) << t.title;
        ASSERT_EQ(ui.count(QStringLiteral("modal")), 1) << t.title;
        EXPECT_EQ(ui.calls.last().title, QString::fromLatin1(t.window));   // the form's name; it may be gone by now
        m.mnuNew_Click();
    }
}

TEST_F(WindowCommandTest, BuiltWindowsOpenModallyOverTheMainWindow)
{
    startDefault();
    FrmMain& m = main();
    m.show();
    EXPECT_TRUE(ui.calls.isEmpty());
    EXPECT_TRUE(m.isVisible());

    // Built windows open modally over the main window.
    const std::pair<QAction*, QWidget*> built[] = {
        {m.mnuConsole, &forms().get<FrmConsole>()},
        {m.mnuTracking, &forms().get<FrmTracking>()},
        {m.mnuVolumes, &forms().get<FrmAdjustVolumes>()},
    };
    for (const auto& [item, window] : built) {
        clickInMenu(m.mnuHelp, item);
        ASSERT_EQ(ui.calls.size(), 1) << item->objectName().toStdString();
        EXPECT_EQ(ui.calls[0].kind, QStringLiteral("modal"));
        EXPECT_EQ(ui.calls[0].form, window);
        ui.clear();
    }
}

TEST_F(WindowCommandTest, MiniModeTakesAlwaysOnTopAwayAndHidesTheMainWindow)
{
    startDefault();
    FrmMain& m = main();
    m.show();
    m.mnuAlwaysOnTop_Click();
    ASSERT_TRUE(windows_IsAlwaysOnTop(&m));
    clickInMenu(m.mnuWindow, m.mnuSwitchToMiniMode);
    EXPECT_FALSE(m.mnuAlwaysOnTop->isChecked());
    EXPECT_FALSE(windows_IsAlwaysOnTop(&m));
    EXPECT_EQ(settings_ReadValue(QStringLiteral("Settings"), QStringLiteral("AlwaysOnTop"), QString()), QStringLiteral("0"));
    EXPECT_TRUE(m.mnuSwitchToMiniMode->isChecked());
    EXPECT_FALSE(m.isVisible());
    EXPECT_TRUE(forms().get<FrmMini>().isVisible());
}

TEST_F(WindowCommandTest, WebPagesAndAboutWindows)
{
    startDefault();
    FrmMain& m = main();
    clickInMenu(m.mnuHelp, m.mnuForum);
    clickInMenu(m.mnuHelp, m.mnuHomepage);
    EXPECT_EQ(ui.openedUrls, QStringList({webpages::forum(), webpages::homepage()}));
    EXPECT_TRUE(webpages::forum().startsWith(QLatin1String("https://")));

    menus().mnuAboutWindows->trigger();   // the tray menu's item runs the same command
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.messages()[0].title, QStringLiteral("About VELTRA"));
    EXPECT_TRUE(ui.messages()[0].text.endsWith(QStringLiteral("\r\n\r\nWritten by the VELTRA developers.\r\nQuillonex\r\n")));
}

TEST_F(WindowCommandTest, ExitHidesTheWindowSavesAndHandsOverToTheExitWindow)
{
    startDefault();
    FrmMain& m = main();
    m.show();
    addRow(QStringLiteral("A"), QStringLiteral("T"));
    clickInMenu(m.mnuFile, m.mnuExit);
    EXPECT_FALSE(m.isVisible());
    EXPECT_TRUE(m.IsExiting);
    EXPECT_TRUE(forms().isLoaded<FrmExit>());
    EXPECT_TRUE(forms().get<FrmExit>().tmrTimer->isActive());
    EXPECT_TRUE(QFile::exists(home(QStringLiteral("Playlists/default.spp"))));
}

} // namespace
