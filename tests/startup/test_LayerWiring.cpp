// Layers run one way: the lower folders include no header of the windows or of start-up, and
// start-up connects their hooks (the tray icon, the modal-dialog routine) to the windows.
#include "common/modTray.h"
#include "common/modWindows.h"
#include "mainwindow/FrmMenus.h"
#include "mainwindow/FrmMain.h"
#include "preferences/FrmOptions.h"
#include "startup/Forms.h"
#include "support/StartupFixture.h"

#include <QDirIterator>
#include <QFile>
#include <QMenu>
#include <QRegularExpression>

namespace {

const char* const kLowerFolders[] = {"common", "controls", "media", "platform"};

// An include of a folder above the lower layers, however the path is written.
const QRegularExpression kUpwardInclude(
    QStringLiteral(R"(^\s*#\s*include\s*["<](?:\.\./|\./)*(?:src/)?(player|mainwindow|startup|library|preferences|extras|playlisttools)/)"));

TEST(Layers, TheUpwardIncludePatternSeesEveryWayOfWritingIt)
{
    const std::pair<const char*, bool> lines[] = {
        {"#include \"mainwindow/FrmMain.h\"", true},
        {"  #  include <startup/Forms.h>", true},
        {"#include \"../mainwindow/FrmMenus.h\"", true},
        {"#include \"src/extras/FrmMini.h\"", true},
        {"#include \"common/modTray.h\"", false},
        {"#include \"platform/UiServices.h\"", false},
        {"// the tray menu of mainwindow/FrmMain.h", false},
    };
    for (const auto& [line, upward] : lines) EXPECT_EQ(kUpwardInclude.match(QString::fromLatin1(line)).hasMatch(), upward) << line;
}

TEST(Layers, LowerFoldersIncludeNothingFromAbove)
{
    QStringList found;
    int files = 0;
    for (const char* folder : kLowerFolders) {
        QDirIterator it(QStringLiteral(VELTRA_SOURCE_DIR "/src/") + QString::fromLatin1(folder), {"*.h", "*.cpp"}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
            ++files;
            int n = 0;
            while (!f.atEnd()) {
                const QString line = QString::fromUtf8(f.readLine());
                ++n;
                if (kUpwardInclude.match(line).hasMatch())
                    found.append(path.mid(int(qstrlen(VELTRA_SOURCE_DIR)) + 1) + u':' + QString::number(n) + u' ' + line.trimmed());
            }
        }
    }
    EXPECT_GT(files, 50);
    EXPECT_TRUE(found.isEmpty()) << found.join(u'\n').toStdString();
}

// ---- the wiring, through the real start-up ----

class LayerWiringTest : public StartupFixture {};

TEST_F(LayerWiringTest, StartUpConnectsTheTrayIconAndTheDialogRoutineToTheWindows)
{
    // Nothing connected before the program starts.
    tray::setRoutes({});
    windows::setFormUnloader(nullptr);
    start({"/systray", "/winload"});
    EXPECT_EQ(ui.count("modal"), 1);
    EXPECT_FALSE(forms().isLoaded<FrmOptions>());   // unloaded after its modal showing

    ASSERT_NE(tray_Icon(), nullptr);
    FrmMenus& menus = forms().get<FrmMenus>();
    EXPECT_EQ(tray_Icon()->contextMenu(), menus.mnuSystemTray);
    EXPECT_FALSE(main().isVisible());
    emit tray_Icon()->activated(QSystemTrayIcon::Trigger);   // the icon's own click
    EXPECT_TRUE(main().isVisible());
    EXPECT_TRUE(main().WindowShown);

    // Without the panel's own menu the program pops the tray menu itself, Open in bold.
    tray_Icon()->setContextMenu(nullptr);
    menus.mnuSystemTray->setDefaultAction(nullptr);
    emit tray_Icon()->activated(QSystemTrayIcon::Context);
    EXPECT_TRUE(menus.mnuSystemTray->isVisible());
    EXPECT_EQ(menus.mnuSystemTray->defaultAction(), menus.mnuOpen);
    menus.mnuSystemTray->close();
}

} // namespace
