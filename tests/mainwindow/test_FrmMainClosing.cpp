#include "common/FrmConsole.h"
#include "common/ListView.h"
#include "common/PlaylistRow.h"
#include "common/modListFiles.h"
#include "common/modSettings.h"
#include "common/modTray.h"
#include "platform/MediaPlayerControl.h"
#include "platform/KeyStateSource.h"
#include "platform/FakeKeyStateSource.h"
#include "library/FrmMediaLibrary.h"
#include "mainwindow/FrmMain.h"
#include "mainwindow/FrmMenus.h"
#include "startup/Forms.h"
#include "startup/FrmExit.h"
#include "startup/modMain.h"
#include "support/Mp3Maker.h"
#include "support/StartupFixture.h"
#include "support/Unreadable.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QSlider>
#include <QTimer>

#include <random>

#include <sys/stat.h>

namespace {


class ClosingTest : public StartupFixture {
protected:
    QString defaultSpp() const { return home("Playlists/default.spp"); }
};

TEST_F(ClosingTest, ExitSavesPlaylistAndState)
{
    start();
    FrmMain& m = main();
    m.playlist_AddSong("A", "T", "", song("a.mp3"));
    m.playlist_AddSong("B", "T", "", song("b.mp3"));
    m.rows().selectOnly(2);
    m.sldVolume->setValue(70);
    m.sldBalance->setValue(30);
    m.mnuExit_Click();
    EXPECT_TRUE(m.IsExiting);
    EXPECT_TRUE(forms().isLoaded<FrmExit>());

    ListViewModel saved;
    saved.setColumns(PlaylistColumn::headers());
    ASSERT_TRUE(controls_LoadListView(saved, defaultSpp()));
    EXPECT_EQ(saved.count(), 2);
    EXPECT_EQ(settings_ReadValue("Sound", "Volume", ""), QStringLiteral("70"));
    EXPECT_EQ(settings_ReadValue("Sound", "Balance", ""), QStringLiteral("30"));
    EXPECT_EQ(settings_ReadValue("ColumnHeaders_MainWindow", "Artist", ""), QStringLiteral("3000"));
    EXPECT_EQ(settings_ReadValue("ColumnHeaders_MainWindow", "Number", ""), QStringLiteral("800"));
    EXPECT_EQ(settings_ReadValue("Playback", "LastPlayed", ""), QStringLiteral("2"));
    EXPECT_EQ(settings_ReadValue("Playback", "PlaylistUsed", "x"), QString());   // "((Select Playlist))"
    EXPECT_FALSE(settings_ReadValue("Position_MainWindow", "Window_Top", "").isEmpty());
    EXPECT_EQ(settings_ReadValue("Position_MainWindow", "Window_Maximized", ""), QStringLiteral("0"));
    EXPECT_FALSE(m.tmrPosition->isActive());
    EXPECT_FALSE(m.tmrMediaKeys->isActive());
}

TEST_F(ClosingTest, ExitWithAnEmptyPlaylistRemovesDefaultPlaylist)
{
    writeFile("Playlists/default.spp", "");
    writeFile("settings.ini", "[Playback]\r\nLastPlayed=5\r\n");
    start();
    main().mnuExit_Click();
    EXPECT_FALSE(QFile::exists(defaultSpp()));
    EXPECT_EQ(settings_ReadValue("Playback", "LastPlayed", ""), QStringLiteral("5"));
}

TEST_F(ClosingTest, PlaylistThatFailedToLoadIsNotOverwrittenUnlessChanged)
{
    // a record cut short: the load fails and the file must survive an exit
    const QByteArray broken = "\"01\"\r\n\"A\"\r\n\"T\"\r\n";
    writeFile("Playlists/default.spp", broken);
    start();
    EXPECT_EQ(main().rows().count(), 0);
    main().mnuExit_Click();
    EXPECT_EQ(readFile(defaultSpp()), broken);
}

TEST_F(ClosingTest, RandomBytesWhoseFieldsFillWholeRecordsAreRefusedAndKept)
{
    std::mt19937 random(14);
    QByteArray junk(200'000, '\0');
    for (char& b : junk) b = char(random() & 0xFF);
    writeFile("Playlists/default.spp", junk);
    start();
    EXPECT_EQ(main().rows().count(), 0);
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.messages().first().title, QStringLiteral("Error Loading List"));
    main().mnuExit_Click();
    EXPECT_EQ(readFile(defaultSpp()), junk);
}

TEST_F(ClosingTest, ChangedPlaylistReplacesOneThatFailedToLoad)
{
    writeFile("Playlists/default.spp", "\"01\"\r\n");
    start();
    main().playlist_AddSong("A", "T", "", song("a.mp3"));
    main().mnuExit_Click();
    EXPECT_EQ(readFile(defaultSpp()).count('\n'), 7);
}

// Exit when Playlists/default.spp cannot be written: asked before anything is stopped or
// closed; No leaves the program running as it was, with the window back; Yes exits and the
// old file stays whole. Run through the menus' own actions.
TEST_F(ClosingTest, ExitThatCannotWriteThePlaylistAsksAndNoKeepsEverythingRunning)
{
    const QByteArray old = "\"01\"\r\n\"Old\"\r\n\"T\"\r\n\"\"\r\n\"Play\"\r\n\"\"\r\n\"/old.mp3\"\r\n";
    const struct {
        const char* what;
        bool readOnlyFolder;   // else a file stands where the folder was
        bool fromTray;         // Exit from the tray's menu with the window hidden, else File > Exit
        const char* reason;
    } cases[] = {
        {"a folder that may not be written to", true, false, "Permission denied"},
        {"a file in the folder's place", false, true, "Not a directory"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        forms().unloadAll();
        QDir(home("Playlists")).removeRecursively();
        QFile::remove(home("Playlists"));
        if (c.readOnlyFolder) writeFile("Playlists/default.spp", old);
        start();
        ui.clear();
        FrmMain& m = main();
        m.playlist_AddSong("A", "T", "", song("a.mp3"));
        m.playlist_AddSong("B", "T", "", song("b.mp3"));
        const int shown = m.rows().count();
        m.rows().selectOnly(1);
        m.mnuPlay_Click();
        m.sldVolume->setValue(70);
        m.mnuOpenMediaLibrary_Click();
        if (c.fromTray) m.Form_QueryUnload(FrmMain::FormControlMenu);
        if (!c.readOnlyFolder) {
            ASSERT_TRUE(QDir(home("Playlists")).removeRecursively());
            writeFile("Playlists", "not a folder");
        }
        QAction* exit = c.fromTray ? forms().get<FrmMenus>().mnuExit : m.mnuExit;
        {
            // As root every folder may be written: the exit runs as an ordinary user would.
            const Unreadable asUser({}, {home()});
            if (c.readOnlyFolder) ::chmod(QFile::encodeName(home("Playlists")).constData(), 0555);
            ui.msgAnswers.push_back(veltra::MsgResult::No);
            exit->trigger();
        }
        ::chmod(QFile::encodeName(home("Playlists")).constData(), 0755);
        processEvents(50);
        ASSERT_EQ(ui.messages().size(), 1);
        const auto asked = ui.messages().first();
        EXPECT_EQ(asked.title, QStringLiteral("Exit Confirmation"));
        EXPECT_EQ(asked.icon, int(veltra::MsgIcon::Exclamation));
        EXPECT_EQ(asked.buttons, int(veltra::MsgButtons::YesNo));
        EXPECT_EQ(asked.text, QStringLiteral("The playlist could not be saved to ") + defaultSpp() + ": " + c.reason
                                  + ".\r\n\r\nDo you want to exit anyway? Choose No to go back and save the playlist with Save As.\r\n");
        EXPECT_TRUE(forms().get<FrmConsole>().Text().contains("The playlist could not be saved to " + defaultSpp() + ": " + c.reason + "."));
        // nothing stopped, closed or hidden for good
        EXPECT_FALSE(m.IsExiting);
        EXPECT_FALSE(forms().isLoaded<FrmExit>());
        EXPECT_TRUE(m.isVisible());
        EXPECT_TRUE(m.WindowShown);
        EXPECT_EQ(m.rows().count(), shown);
        EXPECT_EQ(m.wmpPlayer().PlayState(), veltra::MediaPlayerControl::State::Playing);
        EXPECT_TRUE(m.tmrPosition->isActive());
        EXPECT_TRUE(m.tmrWindowUpdate->isActive());
        EXPECT_TRUE(m.mnuOpenMediaLibrary->isChecked());
        EXPECT_TRUE(forms().get<FrmMediaLibrary>().isVisible());
        EXPECT_NE(tray_Icon(), nullptr);

        // Yes: the program ends without the playlist, the old file whole, the rest saved.
        if (c.readOnlyFolder) ::chmod(QFile::encodeName(home("Playlists")).constData(), 0555);
        {
            const Unreadable asUser({}, {home()});
            ui.msgAnswers.push_back(veltra::MsgResult::Yes);
            exit->trigger();
        }
        ::chmod(QFile::encodeName(home("Playlists")).constData(), 0755);
        EXPECT_EQ(ui.messages().size(), 2);
        EXPECT_TRUE(m.IsExiting);
        EXPECT_TRUE(forms().isLoaded<FrmExit>());
        EXPECT_FALSE(m.tmrPosition->isActive());
        EXPECT_EQ(m.wmpPlayer().PlayState(), veltra::MediaPlayerControl::State::Stopped);
        EXPECT_EQ(settings_ReadValue("Sound", "Volume", ""), QStringLiteral("70"));
        if (c.readOnlyFolder) EXPECT_EQ(readFile(defaultSpp()), old);
        else EXPECT_EQ(readFile(home("Playlists")), "not a folder");
    }
}

// At a session end nobody can answer: the failure and its reason go to the log and to
// standard error, and the rest is saved.
TEST_F(ClosingTest, SessionEndThatCannotWriteThePlaylistSaysWhyInTheLogAndOnStandardError)
{
    start();
    main().playlist_AddSong("A", "T", "", song("a.mp3"));
    ASSERT_TRUE(QDir(home("Playlists")).removeRecursively());
    writeFile("Playlists", "not a folder");
    main().sldVolume->setValue(70);
    testing::internal::CaptureStderr();
    startup::endSession();
    const std::string err = testing::internal::GetCapturedStderr();
    const QString line = "The playlist could not be saved to " + defaultSpp() + ": Not a directory.";
    EXPECT_EQ(QString::fromStdString(err), "veltra: " + line + "\n");
    EXPECT_TRUE(forms().get<FrmConsole>().Text().contains(line + "\r\n"));
    EXPECT_TRUE(ui.messages().isEmpty());
    EXPECT_TRUE(main().IsExiting);
    EXPECT_EQ(settings_ReadValue("Sound", "Volume", ""), QStringLiteral("70"));
}

// Nor is a box shown at a session end: what it would say goes there too.
TEST_F(ClosingTest, SessionEndThatCannotDeleteTheEmptiedPlaylistSaysSoWithoutABox)
{
    writeFile("Playlists/default.spp", "\"01\"\r\n\"A\"\r\n\"T\"\r\n\"\"\r\n\"Play\"\r\n\"\"\r\n\"/a.mp3\"\r\n");
    start();
    main().mnuNew_Click();
    ::chmod(QFile::encodeName(home("Playlists")).constData(), 0555);
    testing::internal::CaptureStderr();
    {
        const Unreadable asUser({}, {home()});
        startup::endSession();
    }
    const std::string err = testing::internal::GetCapturedStderr();
    ::chmod(QFile::encodeName(home("Playlists")).constData(), 0755);
    const QString line = "Deleting File Error: There was an error while trying to delete the following file: " + defaultSpp()
                         + " Please check that the file is not being used by another program or user.";
    EXPECT_EQ(QString::fromStdString(err), "veltra: " + line + "\n");
    EXPECT_TRUE(forms().get<FrmConsole>().Text().contains(line + "\r\n"));
    EXPECT_TRUE(ui.messages().isEmpty());
}

TEST_F(ClosingTest, CloseBoxHidesToTheTray)
{
    start();
    FrmMain& m = main();
    ASSERT_NE(tray_Icon(), nullptr);
    EXPECT_TRUE(m.Form_QueryUnload(FrmMain::FormControlMenu));
    EXPECT_FALSE(m.isVisible());
    EXPECT_FALSE(m.WindowShown);
    EXPECT_FALSE(m.IsExiting);
}

TEST_F(ClosingTest, CloseBoxWithoutANotificationAreaMinimises)
{
    start();
    trayHere = (int)tray::Availability::Missing;
    FrmMain& m = main();
    EXPECT_TRUE(m.Form_QueryUnload(FrmMain::FormControlMenu));
    EXPECT_TRUE(m.isVisible());
    EXPECT_TRUE(m.isMinimized());
    EXPECT_TRUE(m.WindowShown);
}

TEST_F(ClosingTest, CloseBoxWithoutTraySupportExits)
{
    writeFile("settings.ini", "[Settings]\r\nUseSystemTraySupport=0\r\n");
    start();
    main().Form_QueryUnload(FrmMain::FormControlMenu);
    EXPECT_TRUE(main().IsExiting);
    EXPECT_TRUE(forms().isLoaded<FrmExit>());
}

TEST_F(ClosingTest, SessionEndSavesLikeExit)
{
    start();
    main().playlist_AddSong("A", "T", "", song("a.mp3"));
    startup::endSession();
    EXPECT_TRUE(main().IsExiting);
    EXPECT_TRUE(QFile::exists(defaultSpp()));
}

TEST_F(ClosingTest, TrayRecoveryInstallsTheIconWhenATrayAppears)
{
    trayHere = (int)tray::Availability::NoDesktop;
    start();
    tray_RemoveIcon();
    trayHere = (int)tray::Availability::Missing;
    main().tmrSystemTrayDetect_Timer();
    EXPECT_TRUE(TrayIconLost);
    EXPECT_EQ(tray_Icon(), nullptr);
    trayHere = (int)tray::Availability::Available;
    main().tmrSystemTrayDetect_Timer();
    EXPECT_NE(tray_Icon(), nullptr);
    EXPECT_FALSE(TrayIconLost);
    EXPECT_TRUE(ui.messages().isEmpty());
}

TEST_F(ClosingTest, NoTrayRecoveryWithoutTraySupport)
{
    writeFile("settings.ini", "[Settings]\r\nUseSystemTraySupport=0\r\n");
    start();
    main().tmrSystemTrayDetect_Timer();
    EXPECT_EQ(tray_Icon(), nullptr);
}

TEST_F(ClosingTest, GlobalKeysRunTheirActions)
{
    auto keys = std::make_shared<FakeKeyStateSource>();
    keystate::ScopedTestSource scoped(keys);
    start();
    FrmMain& m = main();
    m.playlist_AddSong("A", "T", "", song("a.mp3"));
    m.playlist_AddSong("B", "T", "", song("b.mp3"));
    m.rows().selectOnly(1);
    m.window_UseGlobalKey(QStringLiteral("media:  play/pause"));
    EXPECT_EQ(m.wmpPlayer().PlayState(), veltra::MediaPlayerControl::State::Playing);
    m.tmrPosition_Timer();
    m.window_UseGlobalKey(QStringLiteral("Media:  Next"));
    EXPECT_EQ(m.CurrentTrack, 2);
    m.sldVolume->setValue(100);
    m.window_UseGlobalKey(QStringLiteral("Media:  Volume Up"));
    EXPECT_EQ(m.sldVolume->value(), 100);
    m.window_UseGlobalKey(QStringLiteral("Media:  Volume Down"));
    EXPECT_EQ(m.sldVolume->value(), 99);
    EXPECT_EQ(m.wmpPlayer().Volume(), 99 * 60 - 6000);

    // a press seen by the poll on the timer's tick
    keys->tap(keystate::vk::MediaStop);
    m.tmrPosition_Timer();
    m.tmrMediaKeys_Timer();
    EXPECT_EQ(m.wmpPlayer().PlayState(), veltra::MediaPlayerControl::State::Stopped);
}

} // namespace

namespace {
TEST_F(ClosingTest, EscapeActsLikeTheCloseBox)
{
    start();
    FrmMain& m = main();
    m.Form_KeyDown(27, 0);
    EXPECT_FALSE(m.isVisible());
    EXPECT_FALSE(m.WindowShown);
    EXPECT_FALSE(m.IsExiting);
}
} // namespace
