// Start-up that loses nothing: where the single-instance lock lives, what a second start
// brings forward, a session ending while a start-up box is open, playlists that fail to
// load, and a desktop without a notification area.
#include "common/FrmConsole.h"
#include "common/ListView.h"
#include "common/PlaylistRow.h"
#include "common/modControls.h"
#include "common/modListFiles.h"
#include "common/modSettings.h"
#include "common/modTray.h"
#include "extras/FrmMini.h"
#include "platform/MediaPlayerControl.h"
#include "mainwindow/FrmMain.h"
#include "startup/Forms.h"
#include "startup/SingleInstance.h"
#include "startup/modMain.h"
#include "support/StartupFixture.h"

#include "platform/ProgramFolder.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QLocalServer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <thread>

#include <sys/stat.h>
#include <unistd.h>

namespace {

class SafeStartTest : public StartupFixture {
protected:
    QString defaultSpp() const { return home("Playlists/default.spp"); }
    QStringList logLines() const { return forms().get<FrmConsole>().Text().split("\r\n", Qt::SkipEmptyParts); }
};

// ---- where the lock and the socket live ---------------------------------------------------

class InstanceFolderTest : public VeltraTest {
protected:
    void TearDown() override
    {
        if (had) qputenv("XDG_RUNTIME_DIR", old);
        else qunsetenv("XDG_RUNTIME_DIR");
        VeltraTest::TearDown();
    }
    const bool had = qEnvironmentVariableIsSet("XDG_RUNTIME_DIR");
    const QByteArray old = qgetenv("XDG_RUNTIME_DIR");
};

TEST_F(InstanceFolderTest, TheUsersOwnRuntimeFolderOrElseTheProgramFolderNeverTmp)
{
    QTemporaryDir runtime;
    const QByteArray path = QFile::encodeName(runtime.path());
    const struct {
        const char* what;
        int mode;          // -1: the variable is not set
        uid_t owner;
        bool usesRuntime;
    } cases[] = {
        {"private and ours", 0700, ::getuid(), true},
        {"others may enter", 0755, ::getuid(), false},
        {"another user's", 0700, 65534, false},
        {"not set", -1, ::getuid(), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.mode < 0) {
            qunsetenv("XDG_RUNTIME_DIR");
        } else {
            qputenv("XDG_RUNTIME_DIR", path);
            ASSERT_EQ(::chmod(path.constData(), mode_t(c.mode)), 0);
            if (::chown(path.constData(), c.owner, gid_t(-1)) != 0) GTEST_SKIP() << "cannot give the folder away (not root)";
        }
        SingleInstance instance(home());
        const QString folder = c.usesRuntime ? runtime.path() : QDir(home()).absolutePath();
        EXPECT_EQ(SingleInstance::folderFor(home()), folder);
        EXPECT_TRUE(instance.lockPath().startsWith(folder + u'/')) << instance.lockPath().toStdString();
        EXPECT_TRUE(instance.serverName().startsWith(folder + u'/'));
        EXPECT_TRUE(instance.claim());
        EXPECT_TRUE(QFile::exists(instance.lockPath()));
        EXPECT_TRUE(QFile::exists(instance.serverName()));
        [[maybe_unused]] int back = ::chown(path.constData(), ::getuid(), gid_t(-1));
    }
}

// A program folder several users share (mode 1777), where another user has left files under
// the very names our lock and socket would take.
TEST_F(InstanceFolderTest, AnotherUsersFilesUnderOurNamesNeitherStopUsNorLetASecondStartThrough)
{
    qunsetenv("XDG_RUNTIME_DIR");
    ASSERT_EQ(::chmod(QFile::encodeName(home()).constData(), 01777), 0);
    const struct {
        const char* what;
        bool lock;
        bool socket;
    } cases[] = {{"a lock", true, false}, {"a socket", false, true}, {"both", true, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QStringList foreign;
        {
            const SingleInstance probe(home());
            if (c.lock) foreign << probe.lockPath();
            if (c.socket) foreign << probe.serverName();
        }
        for (const QString& path : foreign) {
            writeFile(QDir(home()).relativeFilePath(path), "12345\nveltra\nelsewhere\n");
            if (::chown(QFile::encodeName(path).constData(), 12345, gid_t(-1)) != 0)
                GTEST_SKIP() << "cannot give a file to another user (not root)";
        }
        {
            SingleInstance first(home());
            ASSERT_TRUE(first.claim());
            EXPECT_FALSE(foreign.contains(first.lockPath()));
            EXPECT_EQ(QFileInfo(first.lockPath()).ownerId(), ::getuid());
            auto* server = first.findChild<QLocalServer*>();
            ASSERT_NE(server, nullptr);   // a later start can reach it
            EXPECT_TRUE(server->isListening());
            EXPECT_FALSE(foreign.contains(first.serverName()));
            SingleInstance second(home());
            EXPECT_FALSE(second.claim());
        }
        for (const QString& path : foreign) {
            EXPECT_EQ(QFileInfo(path).ownerId(), 12345u);   // left as it was
            EXPECT_EQ(readFile(path), "12345\nveltra\nelsewhere\n");
            QFile::remove(path);
        }
    }
}

TEST_F(InstanceFolderTest, AStartWhileTheFirstIsNotYetListeningWaitsForItInsteadOfRunningToo)
{
    qunsetenv("XDG_RUNTIME_DIR");
    // The first start holds the lock but opens its socket only a moment later.
    SingleInstance first(home());
    ASSERT_TRUE(first.claim());
    auto* server = first.findChild<QLocalServer*>();
    ASSERT_NE(server, nullptr);
    server->close();
    bool activated = false;
    first.setActivateHandler([&] { activated = true; });

    std::atomic<int> answer{-1};
    std::thread later([&] {
        SingleInstance second(programfolder::path());
        answer = second.activateRunning() ? 1 : 0;
    });
    processEvents(400);
    ASSERT_TRUE(server->listen(first.serverName()));
    QDeadlineTimer deadline(SingleInstance::kConnectWaitMs + 3000);
    while (answer < 0 && !deadline.hasExpired()) processEvents(20);
    later.join();
    processEvents(50);
    EXPECT_EQ(answer, 1);   // it ends, having asked the first
    EXPECT_TRUE(activated);
}

// ---- a second start ---------------------------------------------------------------------------

// The second start's request, answered from the running program's event loop.
void askFromALaterStart()
{
    SingleInstance later(programfolder::path());
    ASSERT_FALSE(later.claim());
    bool asked = false;
    QTimer::singleShot(0, [&] { asked = later.activateRunning(); });
    processEvents(1500);
    EXPECT_TRUE(asked);
}

TEST_F(SafeStartTest, ASecondStartBringsTheWindowBackFromTheTrayAsTheTraysOpenDoes)
{
    start();
    FrmMain& m = main();
    m.Form_QueryUnload(FrmMain::FormControlMenu);   // closed to the tray
    ASSERT_FALSE(m.isVisible());
    ASSERT_FALSE(m.WindowShown);
    askFromALaterStart();
    EXPECT_TRUE(m.isVisible());
    EXPECT_FALSE(m.isMinimized());
    EXPECT_TRUE(m.WindowShown);   // the keys work again
}

TEST_F(SafeStartTest, ASecondStartInMiniModeBringsTheMiniWindowAndLeavesTheMainOneHidden)
{
    start();
    FrmMain& m = main();
    // In mini mode: the main window hidden, the mini window shown (minimised here).
    m.mnuSwitchToMiniMode->setChecked(true);
    m.hide();
    FrmMini& mini = forms().get<FrmMini>();
    mini.showMinimized();
    ASSERT_FALSE(m.isVisible());
    askFromALaterStart();
    EXPECT_TRUE(mini.isVisible());
    EXPECT_FALSE(mini.isMinimized());
    EXPECT_FALSE(m.isVisible());
    EXPECT_TRUE(m.mnuSwitchToMiniMode->isChecked());
}

// ---- the session ends while start-up waits on a box -------------------------------------------

// Answers boxes as the recording services do, but ends the session while the one named is open.
class EndingUi : public veltra::RecordingUiServices {
public:
    QString endOn;
    veltra::MsgResult msgBox(const QString& text, veltra::MsgButtons buttons, veltra::MsgIcon icon, const QString& title) override
    {
        const veltra::MsgResult r = RecordingUiServices::msgBox(text, buttons, icon, title);
        if (title == endOn) startup::endSession();
        return r;
    }
};

TEST_F(SafeStartTest, SessionEndDuringTheListErrorBoxKeepsTheBrokenListAndTheSettings)
{
    EndingUi ending;
    ending.endOn = "Error Loading List";
    veltra::setUiServices(&ending);
    const QByteArray broken = "\"01\"\r\n\"A\"\r\n\"T\"\r\n";   // a record cut short
    writeFile("Playlists/default.spp", broken);
    writeFile("settings.ini", "[Sound]\r\nVolume=80\r\nBalance=20\r\n[Playback]\r\nPlaylistUsed=Mine\r\n"
                              "[ColumnHeaders_MainWindow]\r\nArtist=4000\r\n");
    start();
    ASSERT_EQ(ending.messages().size(), 1);
    EXPECT_TRUE(startup::quitting());
    EXPECT_EQ(readFile(defaultSpp()), broken);
    EXPECT_EQ(settings_ReadValue("Sound", "Volume", ""), QStringLiteral("80"));
    EXPECT_EQ(settings_ReadValue("Sound", "Balance", ""), QStringLiteral("20"));
    EXPECT_EQ(settings_ReadValue("Playback", "PlaylistUsed", ""), QStringLiteral("Mine"));
    EXPECT_EQ(settings_ReadValue("ColumnHeaders_MainWindow", "Artist", ""), QStringLiteral("4000"));
    EXPECT_EQ(settings_ReadValue("ColumnHeaders_MainWindow", "Title", "none"), QStringLiteral("none"));
    EXPECT_EQ(settings_ReadValue("Appearance", "Fontsize", "none"), QStringLiteral("none"));
    veltra::setUiServices(&ui);
}

// The desktop session ends (SIGTERM) while start-up reads the tags of the command line's
// songs: the list is saved whole, tags and numbers, once they are read; nothing plays.
TEST_F(SafeStartTest, SessionEndWhileTheCommandLinesSongsAreReadSavesThemWhole)
{
    QStringList songs;
    for (int i = 1; i <= 3; ++i) songs << song(QStringLiteral("s%1.mp3").arg(i), QStringLiteral("Artist %1").arg(i));
    QThread::msleep(60);   // reading lets events in at its first song
    QTimer::singleShot(0, qApp, [] { startup::endSession(); });   // as the signal's notifier does
    start(songs);
    EXPECT_TRUE(startup::quitting());
    EXPECT_NE(main().wmpPlayer().PlayState(), veltra::MediaPlayerControl::State::Playing);
    ListViewModel saved;
    saved.setColumns(PlaylistColumn::headers());
    ASSERT_TRUE(controls_LoadListView(saved, defaultSpp()));
    ASSERT_EQ(saved.count(), 3);
    for (int r = 1; r <= 3; ++r) {
        EXPECT_EQ(saved.text(r), QStringLiteral("0%1").arg(r));
        EXPECT_EQ(saved.subItem(r, PlaylistColumn::Artist), QStringLiteral("Artist %1").arg(r));
        EXPECT_EQ(saved.subItem(r, PlaylistColumn::Filename), songs[r - 1]);
    }
}

// ---- playlists that fail to load --------------------------------------------------------------

TEST_F(SafeStartTest, ABrokenPlaylistOnTheCommandLineLeavesTheRowsAndDefaultListAsTheyWere)
{
    const QStringList songs = {song("a.mp3"), song("b.mp3")};
    writePlaylist("Playlists/default.spp", songs);
    writeFile("broken.spp", "\"01\"\r\n\"A\"\r\n");
    start({home("broken.spp")});
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.messages().first().title, QStringLiteral("Error Loading List"));
    EXPECT_EQ(main().rows().count(), 2);
    main().mnuExit_Click();
    ListViewModel saved;
    saved.setColumns(PlaylistColumn::headers());
    ASSERT_TRUE(controls_LoadListView(saved, defaultSpp()));
    ASSERT_EQ(saved.count(), 2);
    EXPECT_EQ(saved.subItem(1, PlaylistColumn::Filename), songs[0]);
    EXPECT_EQ(saved.subItem(2, PlaylistColumn::Filename), songs[1]);
}

TEST_F(SafeStartTest, ABrokenPlaylistChosenInTheBoxLeavesTheRowsAndWritesNoOpenedLine)
{
    writePlaylist("Playlists/default.spp", {song("a.mp3"), song("b.mp3")});
    writeFile("Playlists/Broken.spp", "\"01\"\r\n\"A\"\r\n");
    start();
    FrmMain& m = main();
    forms().get<FrmConsole>().LoggingEnabled = true;
    const int broken = m.cmbPlaylists->findText("Broken");
    ASSERT_GT(broken, 0);
    m.cmbPlaylists->setCurrentIndex(broken);
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.messages().first().title, QStringLiteral("Error Loading List"));
    EXPECT_EQ(m.rows().count(), 2);
    EXPECT_EQ(m.rows().subItem(1, PlaylistColumn::Filename), home("music/a.mp3"));
    EXPECT_TRUE(logLines().filter(" opened.").isEmpty());
}

TEST_F(SafeStartTest, FilesOnTheCommandLineAfterADefaultListThatFailedAreSaved)
{
    writeFile("Playlists/default.spp", "\"01\"\r\n");
    const QString a = song("a.mp3");
    start({a});
    ASSERT_EQ(main().rows().count(), 1);
    main().mnuExit_Click();
    const QByteArray saved = readFile(defaultSpp());
    EXPECT_EQ(saved.count('\n'), 7);
    EXPECT_TRUE(saved.contains(a.toUtf8()));
}

// ---- a desktop without a notification area ----------------------------------------------------

TEST_F(SafeStartTest, NoNotificationAreaStartsWithoutABoxAndTheIconComesWithTheTray)
{
    trayHere = int(tray::Availability::Missing);
    start({song("a.mp3")});
    EXPECT_TRUE(ui.messages().isEmpty());
    EXPECT_EQ(tray_Icon(), nullptr);
    EXPECT_EQ(main().wmpPlayer().PlayState(), veltra::MediaPlayerControl::State::Playing);   // the command line played
    trayHere = int(tray::Availability::Available);
    main().tmrSystemTrayDetect_Timer();
    EXPECT_NE(tray_Icon(), nullptr);
    EXPECT_TRUE(ui.messages().isEmpty());
}

} // namespace
