#include "common/FrmConsole.h"
#include "common/modSettings.h"
#include "extras/FrmTracking.h"
#include "library/FrmLyrics.h"
#include "mainwindow/FrmMenus.h"
#include "platform/SoundDevice.h"
#include "mainwindow/FrmMain.h"
#include "player/FrmVideo.h"
#include "preferences/FrmAdjustVolumes.h"
#include "startup/Forms.h"
#include "startup/FrmExit.h"
#include "startup/SingleInstance.h"
#include "support/ForeignLockNames.h"
#include "startup/modMain.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTimer>

#include <optional>

#include <sys/stat.h>
#include <unistd.h>

namespace {

class StartupTest : public VeltraTest {
protected:
    QByteArray ini() const { return readFile(home("settings.ini")); }
};

TEST_F(StartupTest, FirstStartInAnEmptyFolder)
{
    ASSERT_EQ(Main(), StartResult::Running);
    EXPECT_TRUE(ini().startsWith("; VELTRA Settings:\r\n\r\n[VELTRA]\r\nVersion=1.4\r\nBuild=#312\r\nBetaInformation=Beta 5\r\n"))
        << ini().constData();

    // the resident windows exist; only the main window shows
    EXPECT_TRUE(forms().isLoaded<FrmMain>());
    EXPECT_TRUE(forms().isLoaded<FrmConsole>());
    EXPECT_TRUE(forms().isLoaded<FrmTracking>());
    EXPECT_TRUE(forms().isLoaded<FrmAdjustVolumes>());
    EXPECT_TRUE(forms().isLoaded<FrmMenus>());
    EXPECT_TRUE(forms().isLoaded<FrmVideo>());
    EXPECT_TRUE(forms().isLoaded<FrmLyrics>());
    EXPECT_TRUE(forms().get<FrmMain>().isVisible());
    EXPECT_EQ(forms().get<FrmMain>().windowTitle(), QStringLiteral("VELTRA"));
    EXPECT_FALSE(forms().get<FrmVideo>().isVisible());
    EXPECT_FALSE(forms().get<FrmVideo>().VideoIsOpen);
    EXPECT_FALSE(forms().get<FrmLyrics>().LyricsIsOpen);
    EXPECT_FALSE(forms().get<FrmConsole>().isVisible());

    // the start line and the rule of 97 dashes
    const QStringList lines = forms().get<FrmConsole>().Text().split(QStringLiteral("\r\n"));
    ASSERT_GE(lines.size(), 2);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^VELTRA started at \\d{1,2}:\\d{2}:\\d{2}.* / .+\\.$")).match(lines[0]).hasMatch()) << lines[0].toStdString();
    EXPECT_EQ(lines[1], QString(97, u'-'));
    for (const char* folder : {"Playlists", "Logs", "Moods", "Updates"}) EXPECT_TRUE(QDir(home(folder)).exists()) << folder;
    EXPECT_TRUE(ui.calls.isEmpty());
}

TEST_F(StartupTest, ExistingEmptySettingsFileGetsNoHeader)
{
    writeFile("settings.ini", "");
    ASSERT_EQ(Main(), StartResult::Running);
    EXPECT_TRUE(ini().startsWith("[VELTRA]\r\nVersion=1.4\r\n")) << ini().constData();
}

TEST_F(StartupTest, VersionKeysReplacedAtEveryStart)
{
    writeFile("settings.ini", "; mine\r\n\r\n[VELTRA]\r\nVersion=0.9\r\nBuild=#1\r\nBetaInformation=Beta 1\r\n");
    ASSERT_EQ(Main(), StartResult::Running);
    EXPECT_TRUE(ini().startsWith("; mine\r\n\r\n[VELTRA]\r\nVersion=1.4\r\nBuild=#312\r\nBetaInformation=Beta 5\r\n"));
}

TEST_F(StartupTest, NoSoundDeviceEndsBeforeWritingAnything)
{
    sounddevice::setOverride([] { return false; });
    EXPECT_EQ(Main(), StartResult::NoSoundDevice);
    EXPECT_FALSE(QFile::exists(home("settings.ini")));
    ASSERT_EQ(ui.messages().size(), 1);
    const auto m = ui.messages().first();
    EXPECT_EQ(m.title, QStringLiteral("Sound Error"));
    EXPECT_EQ(m.text, QStringLiteral("It has been detected you have no sound devices currently installed.\r\n\r\nVELTRA will now close.\r\n"));
    EXPECT_EQ(m.icon, int(veltra::MsgIcon::Exclamation));
    EXPECT_FALSE(forms().isLoaded<FrmMain>());
}

TEST_F(StartupTest, SecondInstanceEndsSilentlyUnlessAllowed)
{
    SingleInstance other(home());
    ASSERT_TRUE(other.claim());   // the program already runs on this folder
    writeFile("settings.ini", "; VELTRA Settings:\r\n\r\n");
    EXPECT_EQ(Main(), StartResult::AlreadyRunning);
    EXPECT_EQ(ini(), QByteArray("; VELTRA Settings:\r\n\r\n"));
    EXPECT_FALSE(forms().isLoaded<FrmMain>());
    EXPECT_TRUE(ui.calls.isEmpty());

    settings_WriteValue("Settings", "AllowMultipleInstances", "1");
    EXPECT_EQ(Main(), StartResult::Running);
    EXPECT_TRUE(ini().contains("Version=1.4"));
}

// A program folder several users share (mode 1777, no private runtime folder), where another
// user has made every name our lock (or our socket) could take: the start says so, naming the
// folder and the user, and ends without writing anything.
TEST_F(StartupTest, AnotherUsersFilesUnderEveryNameEndTheStartWithAMessage)
{
    struct RuntimeUnset {
        const bool had = qEnvironmentVariableIsSet("XDG_RUNTIME_DIR");
        const QByteArray old = qgetenv("XDG_RUNTIME_DIR");
        RuntimeUnset() { qunsetenv("XDG_RUNTIME_DIR"); }
        ~RuntimeUnset()
        {
            if (had) qputenv("XDG_RUNTIME_DIR", old);
        }
    } runtimeUnset;
    ASSERT_EQ(::chmod(QFile::encodeName(home()).constData(), 01777), 0);
    const QString folder = QDir(home()).absolutePath();
    const struct {
        const char* what;
        const char* suffix;
        bool oursRuns;
        QString text;
    } cases[] = {
        {"every lock name", ".lock", false,
         "It has been detected that the files VELTRA needs in the folder " + folder
             + " to run only once belong to another user (12345).\r\n\r\nVELTRA will now close.\r\n"},
        {"every socket name, ours running", ".socket", true,
         "It has been detected that VELTRA is already running, but the files it needs in the folder " + folder
             + " to be brought to the front belong to another user (12345).\r\n\r\nThis start of VELTRA will now close.\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ui.clear();
        const QStringList foreign = foreignnames::make(home(), c.suffix, "12345\nveltra\nelsewhere\n");
        if (foreign.isEmpty()) GTEST_SKIP() << "cannot give a file to another user (not root)";
        std::optional<SingleInstance> ours;
        if (c.oursRuns) {
            ASSERT_TRUE(ours.emplace(home()).claim());
        }
        EXPECT_EQ(Main(), StartResult::InstanceBlocked);
        EXPECT_FALSE(QFile::exists(home("settings.ini")));
        EXPECT_FALSE(forms().isLoaded<FrmMain>());
        ASSERT_EQ(ui.messages().size(), 1);
        EXPECT_EQ(ui.messages().first().title, QStringLiteral("Single Instance Error"));
        EXPECT_EQ(ui.messages().first().text, c.text);
        EXPECT_EQ(ui.messages().first().icon, int(veltra::MsgIcon::Exclamation));
        for (const QString& path : foreign) {
            EXPECT_EQ(QFileInfo(path).ownerId(), 12345u);   // left as they were
            QFile::remove(path);
        }
    }
}

TEST_F(StartupTest, RunningInstanceIsActivated)
{
    ASSERT_EQ(Main(), StartResult::Running);
    FrmMain& main = forms().get<FrmMain>();
    main.showMinimized();
    // a later start asks through the instance socket; answer it from the event loop
    SingleInstance later(home());
    EXPECT_FALSE(later.claim());
    bool asked = false;
    QTimer::singleShot(0, [&] { asked = later.activateRunning(); });
    processEvents(1500);
    EXPECT_TRUE(asked);
    EXPECT_FALSE(main.isMinimized());
}

TEST_F(StartupTest, ExitWindowEndsInTwoTicks)
{
    FrmExit& exitForm = forms().get<FrmExit>();
    EXPECT_TRUE(exitForm.tmrTimer->isActive());
    EXPECT_EQ(exitForm.tmrTimer->interval(), 250);
    exitForm.tmrTimer_Timer();
    EXPECT_EQ(exitForm.Counter, 1);
    EXPECT_TRUE(exitForm.tmrTimer->isActive());
    exitForm.tmrTimer_Timer();
    EXPECT_EQ(exitForm.Counter, 2);
    EXPECT_FALSE(exitForm.tmrTimer->isActive());
}

} // namespace
