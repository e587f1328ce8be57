// The library's menu commands, run through their menu items in the started program:
// adding files, folders and playlists, the recent lists, removing entries, import, export,
// Save As, the switches and the Help items.
#include "common/FrmConsole.h"
#include "mainwindow/FrmMessage.h"
#include "common/ListView.h"
#include "common/ListViewModel.h"
#include "common/MenuArray.h"
#include "common/modListFiles.h"
#include "common/modSettings.h"
#include "controls/ctlQX_3DPanel.h"
#include "library/FrmMediaLibrary.h"
#include "platform/MediaPlayerControl.h"
#include "mainwindow/FrmMain.h"
#include "playlisttools/FrmAddLocation.h"
#include "startup/Forms.h"
#include "support/Mp3Maker.h"
#include "support/StartupFixture.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>

using veltra::FileDialogResult;
using veltra::MsgResult;

namespace {

QStringList paths(const ListViewModel& rows, int column)
{
    QStringList out;
    for (int r = 1; r <= rows.count(); ++r) out.append(rows.cell(r, column));
    return out;
}

class LibraryCommandsTest : public StartupFixture {
protected:
    void SetUp() override
    {
        StartupFixture::SetUp();
        start();
        forms().get<FrmConsole>().LoggingEnabled = true;
        main().mnuOpenMediaLibrary->trigger();
        ui.clear();
    }
    FrmMediaLibrary& lib() { return forms().get<FrmMediaLibrary>(); }
    QStringList working() { return paths(*lib().lstvFilenames, library::ColPath); }
    QString log() { return forms().get<FrmConsole>().Text(); }
    void answerFiles(const QStringList& files) { ui.fileAnswers.push_back(FileDialogResult{false, files, 1}); }
    void addResult(const QString& path) { lib().results_Add("A", "T", "2000", "00:03", path); }
    QString recent(const char* section, int n) { return settings_ReadValue(section, "Filename" + QString::number(n)); }
};

TEST_F(LibraryCommandsTest, AddFilesTakesAHundredRefusesMoreAndRemembersASingleFile)
{
    struct Case {
        int files;
        int added;
        bool refused;
        bool recent;
    };
    const Case cases[] = {{1, 1, false, true}, {3, 3, false, false}, {100, 100, false, false}, {101, 0, true, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.files);
        settings_WriteValue("RecentMediaFiles", "Filename1", "");
        lib().mnuNew_Click();
        ui.clear();
        QStringList chosen;
        for (int i = 1; i <= c.files; ++i) chosen << home(QString("in %1/song %2.mp3").arg(c.files).arg(i));
        answerFiles(chosen);
        lib().mnuAddFiles->trigger();
        ASSERT_EQ(ui.count("open"), 1);
        EXPECT_EQ(ui.calls[0].fileRequest.title, "Add Files...");
        EXPECT_TRUE(ui.calls[0].fileRequest.multiSelect);
        EXPECT_EQ(working().size(), c.added);
        EXPECT_EQ(ui.messages().size(), c.refused ? 1 : 0);
        if (c.refused) {
            EXPECT_EQ(ui.messages()[0].title, "Add Files Error");
            EXPECT_TRUE(ui.messages()[0].text.startsWith("You have selected to many songs to add from this directory.\r\n\r\n"
                                                         "Use the 'Add Directory' option"));
            continue;
        }
        EXPECT_EQ(working(), chosen);
        EXPECT_TRUE(log().contains(chosen.last() + " added to Media Library.\r\n"));
        EXPECT_EQ(settings_ReadValue("Settings", "LastDirectoryUsed"), home(QString("in %1").arg(c.files)));
        EXPECT_EQ(recent("RecentMediaFiles", 1), c.recent ? chosen.first() : QString());
        EXPECT_EQ(lib().statusPanelText(1), "Status:  Waiting...");
    }
    // the library's and the main window's recent menus both list the single file
    EXPECT_TRUE(lib().mnuRecentMedia->at(0)->text().endsWith("song 1.mp3"));
}

TEST_F(LibraryCommandsTest, AddDirectoryReadsEachFolderByTypeAndBelowOnlyWhenAsked)
{
    for (const char* f : {"top/b.mp1", "top/c.mp3", "top/a.mp2", "top/x.wav", "top/sub/d.mp3", "top/sub/deeper/e.mp2"})
        writeFile(f, "not really audio");
    const QString top = home("top");
    const QStringList own = {top + "/c.mp3", top + "/a.mp2", top + "/b.mp1"};
    const QStringList all = own + QStringList{top + "/sub/d.mp3", top + "/sub/deeper/e.mp2"};
    // the wait window stands while files arrive
    QStringList seen;
    QObject::connect(lib().lstvFilenames, &QAbstractItemModel::rowsInserted, &lib(), [&seen] {
        seen << (forms().isLoaded<FrmMessage>() && forms().get<FrmMessage>().isVisible()
                     ? forms().get<FrmMessage>().lblLocation->text() + " / " + forms().get<FrmMessage>().lblText->text()
                     : QString("none"));
    });
    struct Case {
        const char* recursive;
        QStringList expected;
    };
    for (const Case& c : {Case{"1", all}, Case{"0", own}}) {
        SCOPED_TRACE(c.recursive);
        lib().mnuNew_Click();
        seen.clear();
        settings_WriteValue("Settings", "DoRecursiveDirectoryScan", c.recursive);
        ui.folderAnswers.push_back(top);
        lib().mnuAddDirectory->trigger();
        EXPECT_EQ(working(), c.expected);
        ASSERT_FALSE(seen.isEmpty());
        EXPECT_EQ(seen.first(), "Reading from:  " + top + " / Adding media files to library, please wait...");
        EXPECT_FALSE(forms().isLoaded<FrmMessage>());
        EXPECT_TRUE(lib().updatesEnabled());
        EXPECT_EQ(settings_ReadValue("Settings", "DirectoryPath"), top);
    }
    // the first browse started in the home folder: the stored default names no folder here
    EXPECT_EQ(ui.calls[0].text, QDir::homePath());
    // Add Location, from the library's own item: the dialog adds to the library, every folder
    // below whatever the switch says, and the tags are read and the lists rebuilt
    const QString tagged = song("tagged.mp3", "Located");
    QFile::rename(tagged, top + "/sub/deeper/tagged.mp3");
    lib().mnuNew_Click();
    ui.clear();
    int target = -1;
    ui.modalHandlers.push_back([&](QObject* form) {
        auto* dialog = qobject_cast<FrmAddLocation*>(form);
        ASSERT_TRUE(dialog);
        target = dialog->LocationTarget;
        dialog->cmbLocation->setEditText(top);
        dialog->cmdAdd->click();
    });
    lib().mnuAddLocation->trigger();
    ASSERT_EQ(ui.count("modal"), 1);
    EXPECT_EQ(target, int(FrmAddLocation::MediaLibrary));
    EXPECT_EQ(working(), own + QStringList({top + "/sub/d.mp3", top + "/sub/deeper/tagged.mp3", top + "/sub/deeper/e.mp2"}));
    EXPECT_EQ(lib().lstArtist->count(), 1);
    EXPECT_EQ(lib().lstArtist->item(0)->text(), "Located");
    EXPECT_EQ(main().rows().count(), 0);
    EXPECT_EQ(lib().statusPanelText(1), "Status:  Waiting...");
}

TEST_F(LibraryCommandsTest, PlaylistsOpenAppendAndComeBackFromTheRecentList)
{
    const QString a = song("a.mp3", "Ay"), b = song("b.mp3", "Bee"), c = song("c.mp3", "Cee");
    writePlaylist("Playlists/one.spp", {a, b});
    writePlaylist("Playlists/two.spp", {c});
    writeFile("Playlists/broken.spp", "\"1\"\r\n\"only three\"\r\n\"cells\"\r\n");
    lib().filenames_Add("/earlier.mp3");

    answerFiles({home("Playlists/one.spp")});
    lib().mnuOpen->trigger();
    EXPECT_EQ(ui.calls[0].fileRequest.title, "Open Playlist...");
    EXPECT_EQ(ui.calls[0].fileRequest.filter, "VELTRA Playlists|*.spp|");
    EXPECT_EQ(working(), QStringList({a, b}));
    EXPECT_EQ(lib().lstArtist->count(), 2);   // tags read, lists rebuilt
    answerFiles({home("Playlists/two.spp")});
    lib().mnuAddPlaylist->trigger();
    EXPECT_EQ(working(), QStringList({a, b, c}));
    EXPECT_EQ(recent("RecentPlaylists", 1), home("Playlists/two.spp"));
    EXPECT_EQ(recent("RecentPlaylists", 2), home("Playlists/one.spp"));
    EXPECT_TRUE(main().mnuRecentPlaylist->at(0)->text().endsWith("two.spp"));

    // an unreadable playlist keeps what the list held and is not remembered
    ui.clear();
    answerFiles({home("Playlists/broken.spp")});
    lib().mnuAddPlaylist->trigger();
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.messages()[0].title, "Error Loading List");
    EXPECT_EQ(working(), QStringList({a, b, c}));
    EXPECT_EQ(recent("RecentPlaylists", 1), home("Playlists/two.spp"));

    // the second recent playlist replaces the list and stays second
    lib().mnuRecentPlaylist->at(1)->trigger();
    EXPECT_EQ(working(), QStringList({a, b}));
    EXPECT_EQ(recent("RecentPlaylists", 1), home("Playlists/two.spp"));
    // a deleted one is reported and leaves the list
    QFile::remove(home("Playlists/two.spp"));
    ui.clear();
    lib().mnuRecentPlaylist->at(0)->trigger();
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.messages()[0].title, "Recent Playlist Filename Not Found");
    EXPECT_EQ(recent("RecentPlaylists", 1), home("Playlists/one.spp"));
    EXPECT_EQ(working(), QStringList({a, b}));

    // recent media: a file there is added, a missing one reported and dropped
    settings_WriteValue("RecentMediaFiles", "Filename1", c);
    settings_WriteValue("RecentMediaFiles", "Filename2", home("gone.mp3"));
    lib().mnuRecentMedia_Click(0);
    EXPECT_EQ(working().last(), c);
    ui.clear();
    lib().mnuRecentMedia_Click(1);
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.messages()[0].title, "Recent Filename Not Found");
    EXPECT_EQ(recent("RecentMediaFiles", 2), QString());
}

TEST_F(LibraryCommandsTest, DuplicatesLeaveTheLastOfEachAndRemoveSelectedFollowsTheWorkingList)
{
    for (const char* p : {"/m/A.mp3", "/m/B.mp3", "/m/A.mp3", "/m/a.mp3"}) lib().filenames_Add(p);
    lib().mnuRemoveDuplicateFilenames->trigger();
    EXPECT_EQ(working(), QStringList({"/m/B.mp3", "/m/A.mp3", "/m/a.mp3"}));   // letter case tells files apart
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.messages()[0].text, "It has been detected that you had 1 duplicate filenames in the Media Library.\r\n\r\n"
                                     "These items have been removed.\r\n");
    EXPECT_EQ(ui.messages()[0].icon, int(veltra::MsgIcon::Information));
    EXPECT_TRUE(log().contains("Duplicate filenames removed from Media Librarys:  1."));
    lib().mnuRemoveDuplicateFilenames->trigger();
    EXPECT_TRUE(ui.messages()[1].text.startsWith("No duplicate filenames were found within the Media Library."));

    // a result still in the working list takes its first entry along; one that left it goes alone
    addResult("/m/A.mp3");
    addResult("/m/gone.mp3");
    lib().results().selectOnly(2);
    lib().mnuRemoveSelected->trigger();
    EXPECT_EQ(paths(lib().results(), library::ResPath), QStringList({"/m/A.mp3"}));
    EXPECT_EQ(working().size(), 3);
    lib().results().selectOnly(1);
    lib().mnuRemoveSelected->trigger();
    EXPECT_EQ(lib().results().count(), 0);
    EXPECT_EQ(working(), QStringList({"/m/B.mp3", "/m/a.mp3"}));

    // dead file names go by their Path column and are reported; the lists stay as they were
    const QString alive = song("alive.mp3", "Alive"), gone = song("gone.mp3", "Gone");
    lib().filenames_Add(alive);
    lib().filenames_Add(gone);
    lib().filenames_ShowID3Data();
    lib().library_Update();
    ui.clear();
    QFile::remove(gone);
    lib().tmrWindowUpdate_Timer();
    lib().mnuRemoveAlDeadFilenames->trigger();
    EXPECT_EQ(working(), QStringList{alive});
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_TRUE(ui.messages()[0].text.startsWith("It has been detected that you had 3 dead filenames"));
    EXPECT_EQ(lib().lstArtist->count(), 2);
}

TEST_F(LibraryCommandsTest, ImportAndExportTradePlaylistsWithTheMainWindow)
{
    const QString a = song("a.mp3", "Ay"), b = song("b.mp3", "Bee");
    main().playlist_AddSong("", "", "", a);
    main().playlist_AddSong("", "", "", b);
    lib().mnuImportCurrentPlaylist_Click();
    EXPECT_EQ(working(), QStringList({a, b}));
    EXPECT_EQ(lib().lstArtist->count(), 2);
    EXPECT_TRUE(log().contains("Playlist from the main window was imported into the Media Library."));

    // nothing to export: the main playlist stays as it is
    lib().mnuExportToVELTRA_Click();
    EXPECT_EQ(main().rows().count(), 2);
    EXPECT_FALSE(log().contains("exported"));

    main().lstvPlaylist->items().selectOnly(1);
    main().player_Play(1);
    ASSERT_EQ(main().wmpPlayer().PlayState(), veltra::MediaPlayerControl::State::Playing);
    main().tmrPosition_Timer();   // the player's state as the window shows it
    addResult(b);
    lib().tmrWindowUpdate_Timer();
    lib().mnuExportToVELTRA->trigger();
    EXPECT_NE(main().wmpPlayer().PlayState(), veltra::MediaPlayerControl::State::Playing);
    ASSERT_EQ(main().rows().count(), 1);
    EXPECT_EQ(main().rows().cell(1, 6), b);
    EXPECT_EQ(main().rows().cell(1, 1), "Bee");   // the row was filled from the file
    EXPECT_EQ(main().rows().cell(1, 4), "Play");
    EXPECT_TRUE(log().endsWith("Playlist from the Media Library was exported into the main window.\r\n"));
}

TEST_F(LibraryCommandsTest, SaveAsWritesNewFilesAndReplacesOldOnesOnlyWhenAsked)
{
    addResult("/m/one.mp3");
    const QString file = home("Playlists/saved.spp");
    answerFiles({file});
    lib().mnuSaveAs->trigger();
    EXPECT_EQ(ui.calls[0].fileRequest.title, "Save Playlist...");
    const QByteArray first = readFile(file);
    EXPECT_EQ(first, "\"\"\r\n\"A\"\r\n\"T\"\r\n\"2000\"\r\n\"Play\"\r\n\"00:03\"\r\n\"/m/one.mp3\"\r\n");
    EXPECT_TRUE(log().contains(file + " saved as playlist."));
    EXPECT_EQ(recent("RecentPlaylists", 1), file);

    addResult("/m/two.mp3");
    struct Case {
        MsgResult answer;
        bool readOnly;
        bool replaced;
        const char* error;
    };
    for (const Case& c : {Case{MsgResult::No, false, false, ""}, Case{MsgResult::Yes, true, false, "Save Playlist Error"},
                          Case{MsgResult::Yes, false, true, ""}}) {
        ui.clear();
        QFile(file).setPermissions(c.readOnly ? QFile::ReadOwner : QFile::ReadOwner | QFile::WriteOwner);
        answerFiles({file});
        ui.msgAnswers.push_back(c.answer);
        lib().mnuSaveAs->trigger();
        ASSERT_GE(ui.messages().size(), 1);
        EXPECT_EQ(ui.messages()[0].title, "Overwrite Existing File Confirmation");
        EXPECT_EQ(ui.messages().size() > 1 ? ui.messages()[1].title : QString(), QString::fromLatin1(c.error));
        const QByteArray now = readFile(file);
        EXPECT_EQ(now == first, !c.replaced);
        if (c.replaced) {
            EXPECT_TRUE(now.endsWith("\"/m/one.mp3\"\r\n\"\"\r\n\"A\"\r\n\"T\"\r\n\"2000\"\r\n\"Play\"\r\n\"00:03\"\r\n\"/m/two.mp3\"\r\n"));
        }
    }
}

TEST_F(LibraryCommandsTest, SwitchesChangeTheViewAndAreStored)
{
    FrmMediaLibrary& l = lib();
    struct Case {
        QAction* item;
        const char* key;
        std::function<bool()> shown;
    };
    const Case cases[] = {
        {l.mnuShowSearchBar, "ShowSearchBar", [&l] { return l.nfpSearch->isVisible(); }},
        {l.mnuShowStatusBar, "ShowStatusBar", [&l] { return l.sbStatusBar->isVisible(); }},
        {l.mnuShowPlaylistHeaders, "ShowPlaylistHeaders", [&l] { return !l.lstvResults->hideColumnHeaders(); }},
        {l.mnuAlwaysOnTop, "AlwaysOnTop", [&l] { return bool(l.windowFlags() & Qt::WindowStaysOnTopHint); }},
        {l.mnuUseID3v2Tags, "UseID3v2Tags", [] { return true; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        for (int round = 0; round < 2; ++round) {
            const bool before = c.item->isChecked();
            c.item->trigger();
            EXPECT_EQ(c.item->isChecked(), !before);
            EXPECT_EQ(settings_ReadValue("MediaLibrarySettings", c.key), before ? "0" : "1");
            if (c.item != l.mnuUseID3v2Tags) {
                EXPECT_EQ(c.shown(), !before);
            }
        }
    }
    // the tag source switch reads the working list's tags again, from the chosen tag
    const QString s = home("v2only.mp3");
    mp3maker::makeMp3(s, {.artist = "Only In Two", .seconds = 1, .id3v1 = false, .id3v2 = true});
    l.filenames_Add(s);
    for (const char* expected : {"Only In Two", ""}) {
        l.mnuUseID3v2Tags->trigger();
        EXPECT_EQ(l.lstvFilenames->cell(1, library::ColArtist), expected);
    }
    l.mnuReCenterWindow->trigger();
    EXPECT_FALSE(settings_ReadValue("Position_MediaLibrary", "Window_Width").isEmpty());
}

TEST_F(LibraryCommandsTest, HelpItemsOpenTheirWindowsAndPages)
{
    lib().mnuConsole->trigger();
    lib().mnuTracking->trigger();
    lib().mnuVolumes->trigger();
    lib().mnuForum->trigger();
    lib().mnuHomepage->trigger();
    QStringList opened;
    for (const auto& call : ui.calls)
        if (call.kind == "modal") opened << call.title;
    EXPECT_EQ(opened, QStringList({"FrmConsole", "FrmTracking", "FrmAdjustVolumes"}));
    EXPECT_EQ(ui.openedUrls.size(), 2);
    EXPECT_NE(ui.openedUrls.value(0), ui.openedUrls.value(1));
}

} // namespace
