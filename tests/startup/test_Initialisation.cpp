#include "common/FrmConsole.h"
#include "common/ListView.h"
#include "common/PlaylistRow.h"
#include "common/modListFiles.h"
#include "common/modSettings.h"
#include "common/modTray.h"
#include "controls/ctlQX_wScrollbar.h"
#include "mainwindow/FrmMenus.h"
#include "platform/MediaPlayerControl.h"
#include "mainwindow/FrmMain.h"
#include "player/FrmVideo.h"
#include "startup/Forms.h"
#include "startup/modCommandLine.h"
#include "startup/modMain.h"
#include "support/Mp3Maker.h"
#include "support/StartupFixture.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QLabel>
#include <QPixmap>
#include <QSlider>
#include <QStatusBar>
#include <QTimer>

namespace {


class InitialisationTest : public StartupFixture {};

TEST_F(InitialisationTest, EmptySettingsFileGivesTheStartState)
{
    writeFile("settings.ini", "");
    start();
    FrmMain& m = main();
    for (const char* folder : {"Playlists", "Logs", "Moods", "Updates"}) EXPECT_TRUE(QDir(home(folder)).exists());
    EXPECT_EQ(m.rows().count(), 0);
    // handlers ran: they wrote their groups back
    EXPECT_EQ(settings_ReadValue("Playback", "PlayingGoThroughPlaylistNormally", ""), QStringLiteral("1"));
    EXPECT_EQ(settings_ReadValue("Playback", "PlayingRepeat", ""), QStringLiteral("0"));
    EXPECT_EQ(settings_ReadValue("ListSorting", "SortByFilename", ""), QStringLiteral("1"));
    EXPECT_EQ(settings_ReadValue("ListSorting", "DoNotSortTheList", ""), QStringLiteral("1"));
    for (QAction* checked : {m.mnuPlayingGoThroughPlaylistNormally, m.mnuSortByFilename, m.mnuDontSort, m.mnuPlaylistStopAfterEnding,
                             m.mnuWorkForwardThroughList, m.mnuStatusBarShowTimeElapsed, m.mnuShowToolbar, m.mnuShowStatusBar,
                             m.mnuShowFilenamesColumn, m.mnuWindowsShowEachSongAsItsPlayed, m.mnuTagsShowTagsAsFilesAreAdded,
                             m.mnuKeysUseAsShortcuts})
        EXPECT_TRUE(checked->isChecked()) << checked->objectName().toStdString();
    for (QAction* unchecked : {m.mnuPlayingRepeat, m.mnuPlaylistRepeat, m.mnuWorkBackwardsThroughPlaylist, m.mnuAlwaysOnTop,
                               m.mnuShowPlaylistHeaders, m.mnuTagsUseID3v2Tags, m.mnuWindowsDisableGlobalHotkeys})
        EXPECT_FALSE(unchecked->isChecked()) << unchecked->objectName().toStdString();
    EXPECT_TRUE(m.lstvPlaylist->hideColumnHeaders());
    EXPECT_NE(tray_Icon(), nullptr);
    EXPECT_TRUE(m.isVisible());
    EXPECT_TRUE(m.WindowShown);
    EXPECT_EQ(m.sldVolume->value(), 50);
    EXPECT_EQ(m.sldBalance->value(), 50);
    EXPECT_EQ(m.wmpPlayer().Volume(), 50 * 60 - 6000);
    EXPECT_EQ(m.wmpPlayer().Balance(), 0);
    EXPECT_EQ(m.cmbPlaylists->currentText(), QStringLiteral("((Select Playlist))"));
    // the seven hot keys default to the media keys
    EXPECT_EQ(forms().get<FrmMenus>().lblMedia_PlayPause->text(), QStringLiteral("Media:  Play/Pause"));
    EXPECT_EQ(forms().get<FrmMenus>().lblMedia_VolumeDown->text(), QStringLiteral("Media:  Volume Down"));
    // timers, the last one only while hot keys are on
    for (QTimer* t : {m.tmrPosition, m.tmrMenuText, m.tmrWindowUpdate, m.tmrSystemTrayDetect, m.tmrMediaKeys})
        EXPECT_TRUE(t->isActive()) << t->objectName().toStdString();
    // logging is back on, and nothing was logged during initialisation
    EXPECT_TRUE(forms().get<FrmConsole>().LoggingEnabled);
    EXPECT_FALSE(forms().get<FrmConsole>().Text().contains(QStringLiteral("Sort mode")));
}

TEST_F(InitialisationTest, FirstKeyOfAChainWins)
{
    writeFile("settings.ini", "[Playback]\r\nPlayingRepeat=1\r\nPlayingPickRandomSongs=1\r\nPlayingGoThroughPlaylistNormally=1\r\n"
                              "PlaylistRepeat=1\r\nPlaylistStopAfterEnding=1\r\n"
                              "[ListSorting]\r\nSortByArtist=1\r\nSortByFilename=1\r\nSortViaDescendingOrder=1\r\nDoNotSortTheList=1\r\n"
                              "[Settings]\r\nTagsShowTagsAsFilesAreAdded=0\r\nTagsShowTagsAsFilesArePlayed=0\r\nDisableGlobalHotkeys=1\r\n"
                              "KeysUseAsArtistFindingKeys=1\r\nShowTimeElapsed=0\r\nShowTimeRemaining=1\r\nAlwaysOnTop=1\r\n");
    start();
    FrmMain& m = main();
    EXPECT_TRUE(m.mnuPlayingRepeat->isChecked());
    EXPECT_FALSE(m.mnuPlayingPickRandomSongs->isChecked());
    EXPECT_EQ(settings_ReadValue("Playback", "PlayingPickRandomSongs", ""), QStringLiteral("0"));
    EXPECT_EQ(settings_ReadValue("Playback", "PlayingGoThroughPlaylistNormally", ""), QStringLiteral("0"));
    // the end-of-list chain only ticks; it writes nothing back
    EXPECT_TRUE(m.mnuPlaylistRepeat->isChecked());
    EXPECT_FALSE(m.mnuPlaylistStopAfterEnding->isChecked());
    EXPECT_EQ(settings_ReadValue("Playback", "PlaylistStopAfterEnding", ""), QStringLiteral("1"));
    EXPECT_TRUE(m.mnuSortByArtist->isChecked());
    EXPECT_EQ(settings_ReadValue("ListSorting", "SortByFilename", ""), QStringLiteral("0"));
    EXPECT_TRUE(m.mnuSortViaDecending->isChecked());
    EXPECT_EQ(settings_ReadValue("ListSorting", "DoNotSortTheList", ""), QStringLiteral("0"));
    // neither tag item was touched, so both keep their designed (unchecked) state
    EXPECT_FALSE(m.mnuTagsShowTagsAsFilesAreAdded->isChecked());
    EXPECT_FALSE(m.mnuTagsShowTagsAsFilesArePlayed->isChecked());
    EXPECT_TRUE(m.mnuKeysUseAsArtistFindingKeys->isChecked());
    EXPECT_FALSE(m.mnuKeysUseAsShortcuts->isChecked());
    EXPECT_TRUE(m.mnuStatusBarShowTimeRemaining->isChecked());
    EXPECT_TRUE(m.mnuAlwaysOnTop->isChecked());
    EXPECT_FALSE(m.tmrMediaKeys->isActive());
    EXPECT_TRUE(m.tmrPosition->isActive());
}

TEST_F(InitialisationTest, DefaultPlaylistLastPlayedAndRememberedPlaylist)
{
    const QString a = song("a.mp3", "A", "T", "2001");
    const QString b = song("b.mp3", "B", "T", "2002");
    writePlaylist("Playlists/default.spp", {a, b});
    writePlaylist("Playlists/Rock.spp", {b});
    writeFile("settings.ini", "[Playback]\r\nLastPlayed=2\r\nPlaylistUsed=Rock\r\n");
    start();
    FrmMain& m = main();
    ASSERT_EQ(m.rows().count(), 2);   // the default playlist, not Rock's rows
    EXPECT_EQ(m.rows().selectedItem(), 2);
    EXPECT_EQ(m.CurrentTrack, 2);
    EXPECT_EQ(m.cmbPlaylists->currentText(), QStringLiteral("Rock"));
    EXPECT_EQ(m.wmpPlayer().PlayState(), veltra::MediaPlayerControl::State::Stopped);
}

TEST_F(InitialisationTest, RememberedPlaylistThatIsGoneShowsFirstEntry)
{
    writeFile("settings.ini", "[Playback]\r\nPlaylistUsed=Gone\r\n");
    start();
    EXPECT_EQ(main().cmbPlaylists->currentIndex(), 0);
}

TEST_F(InitialisationTest, PlayMusicOnStartUp)
{
    const QString a = song("a.mp3", "A", "T", "");
    writePlaylist("Playlists/default.spp", {a});
    writeFile("settings.ini", "[Settings]\r\nPlayMusicOnStartUp=1\r\n");
    start();
    EXPECT_EQ(main().wmpPlayer().PlayState(), veltra::MediaPlayerControl::State::Playing);
    EXPECT_EQ(main().wmpPlayer().FileName(), a);
}

TEST(CommandLineText, BuiltFromArguments)
{
    EXPECT_EQ(commandline_FromArguments({"/music/a.mp3", "/music/b c.mp3"}, "/home/u"),
              QStringLiteral("\"/music/a.mp3\" \"/music/b c.mp3\""));
    EXPECT_EQ(commandline_FromArguments({"/systray", "/WinLoad"}, "/"), QStringLiteral("/systray /WinLoad"));
    EXPECT_EQ(commandline_FromArguments({"song.mp3"}, "/home/u/Music"), QStringLiteral("\"/home/u/Music/song.mp3\""));
    EXPECT_EQ(commandline_FromArguments({}, "/"), QString());
}

class CommandLineTest : public StartupFixture {};

TEST_F(CommandLineTest, TwoFilesClearingThePlaylist)
{
    writePlaylist("Playlists/default.spp", {home("old1.mp3"), home("old2.mp3")});
    writeFile("settings.ini", "[Settings]\r\nClearPlaylistWhenFilesAreAddedOnStartUp=1\r\n");
    const QString a = song("a.mp3", "Artist A", "Title A", "1999");
    const QString b = song("b.mp3", "Artist B", "Title B", "2000");
    start({a, b});
    FrmMain& m = main();
    ASSERT_EQ(m.rows().count(), 2);
    EXPECT_EQ(m.rows().subItem(1, PlaylistColumn::Artist), QStringLiteral("Artist A"));
    EXPECT_EQ(m.rows().text(1), QStringLiteral("01"));
    EXPECT_EQ(m.wmpPlayer().FileName(), a);
    EXPECT_EQ(m.wmpPlayer().PlayState(), veltra::MediaPlayerControl::State::Playing);
    EXPECT_TRUE(m.isVisible());
}

TEST_F(CommandLineTest, TwoFilesAppendedAfterTheDefaultPlaylist)
{
    const QString old = song("old.mp3", "Old", "Song", "");
    writePlaylist("Playlists/default.spp", {old});
    const QString a = song("a.mp3", "Artist A", "Title A", "1999");
    const QString b = song("b.mp3", "Artist B", "Title B", "2000");
    start({a, b});
    ASSERT_EQ(main().rows().count(), 3);
    EXPECT_EQ(main().wmpPlayer().FileName(), a);
    EXPECT_EQ(main().rows().selectedItem(), 2);
}

TEST_F(CommandLineTest, OnePlaylistReplacesTheDefaultOne)
{
    writePlaylist("Playlists/default.spp", {home("old.mp3")});
    const QString a = song("a.mp3", "A", "T", "");
    const QString b = song("b.mp3", "B", "T", "");
    writePlaylist("Playlists/Mine.SPP", {a, b});
    start({home("Playlists/Mine.SPP")});
    ASSERT_EQ(main().rows().count(), 2);
    EXPECT_EQ(main().cmbPlaylists->currentText(), QStringLiteral("Mine"));
    EXPECT_EQ(main().wmpPlayer().FileName(), a);
}

TEST_F(CommandLineTest, OneMediaFileReadsItsTags)
{
    const QString a = song("a.mp3", "Tagged", "Song", "1984");
    start({a});
    ASSERT_EQ(main().rows().count(), 1);
    EXPECT_EQ(main().rows().subItem(1, PlaylistColumn::Artist), QStringLiteral("Tagged"));
    EXPECT_EQ(main().rows().subItem(1, PlaylistColumn::Year), QStringLiteral("1984"));
    EXPECT_EQ(main().rows().subItem(1, PlaylistColumn::Length), QStringLiteral("00:03"));
}

TEST_F(CommandLineTest, SysTraySwitchStartsHiddenInAnyCase)
{
    start({"/SysTray"});
    EXPECT_TRUE(startup::CommandLineSwitch);
    EXPECT_FALSE(main().isVisible());
    EXPECT_NE(tray_Icon(), nullptr);
}

TEST_F(CommandLineTest, SysTrayWinLoadShowsTheOptions)
{
    start({"/systray", "/winload"});
    EXPECT_FALSE(main().isVisible());
    EXPECT_EQ(ui.count("modal"), 1);
    settings_WriteValue("Settings", "ShowOptionsWindow", "0");
}

TEST_F(CommandLineTest, SysTrayWithoutTraySupportStartsMinimised)
{
    writeFile("settings.ini", "[Settings]\r\nUseSystemTraySupport=0\r\n");
    start({"/systray"});
    EXPECT_TRUE(main().isVisible());
    EXPECT_TRUE(main().isMinimized());
    EXPECT_EQ(tray_Icon(), nullptr);
}

TEST_F(CommandLineTest, MinimizeAndPlaySwitches)
{
    const QString a = song("a.mp3", "A", "T", "");
    writePlaylist("Playlists/default.spp", {a});
    start({"/play"});
    EXPECT_EQ(main().wmpPlayer().PlayState(), veltra::MediaPlayerControl::State::Playing);
    EXPECT_TRUE(main().isVisible());
}

TEST_F(CommandLineTest, UnknownSwitchDoesNothingButShowsTheWindow)
{
    start({});
    window_ProcessCommandLine("/Nonsense");
    EXPECT_TRUE(startup::CommandLineSwitch);
    EXPECT_EQ(main().rows().count(), 0);
    // an argument that is no switch word is a path
    EXPECT_EQ(commandline_FromArguments({"/nonsense"}, "/"), QStringLiteral("\"/nonsense\""));
}

TEST_F(CommandLineTest, NewSwitchEmptiesThePlaylist)
{
    writePlaylist("Playlists/default.spp", {home("old.mp3")});
    start({"/new"});
    EXPECT_EQ(main().rows().count(), 0);
    EXPECT_TRUE(main().isVisible());
}

} // namespace

namespace {
TEST_F(InitialisationTest, PlaylistImageShownOnlyWhenTheFileExists)
{
    writeFile("settings.ini", "[Appearance]\r\nPlaylistImage=" + home("nope.png").toUtf8() + "\r\n");
    start();
    EXPECT_TRUE(main().lstvPlaylist->backgroundPicture().isNull());
}

TEST_F(InitialisationTest, PlaylistImageFromSettings)
{
    QPixmap picture(8, 8);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(home("back.png")));
    writeFile("settings.ini", "[Appearance]\r\nPlaylistImage=" + home("back.png").toUtf8() + "\r\nFont=DejaVu Sans\r\nFontsize=11\r\n");
    start();
    EXPECT_EQ(main().lstvPlaylist->backgroundPicture().size(), QSize(8, 8));
    EXPECT_EQ(main().lstvPlaylist->font().pointSizeF(), 11);
}
} // namespace
