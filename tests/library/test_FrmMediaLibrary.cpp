// The media library window: its sources, loading, index lists, searches, layout and settings,
// and the main window's command that opens and closes it.
#include "../controls/ControlTestSupport.h"
#include "common/FrmConsole.h"
#include "common/ListView.h"
#include "common/ListViewModel.h"
#include "common/MenuArray.h"
#include "common/modListFiles.h"
#include "common/modSettings.h"
#include "controls/ctlQX_3DPanel.h"
#include "library/FrmMediaLibrary.h"
#include "media/modMedia.h"
#include "mainwindow/FrmMain.h"
#include "startup/Forms.h"
#include "support/Mp3Maker.h"
#include "support/StartupFixture.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

namespace {

QStringList entries(const QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out.append(list->item(i)->text());
    return out;
}

QStringList column(const ListViewModel& rows, int c)
{
    QStringList out;
    for (int r = 1; r <= rows.count(); ++r) out.append(rows.cell(r, c));
    return out;
}

QString selected(const QListWidget* list) { return list->currentItem() ? list->currentItem()->text() : QString(); }

// A folder of songs and playlists for the library to browse.
class LibraryFixture {
public:
    explicit LibraryFixture(QString root) : m_root(std::move(root)) {}

    QString path(const QString& relative) const { return m_root + u'/' + relative; }
    QString song(const QString& name, const QString& artist, const QString& album = {}, const QString& year = {})
    {
        QDir().mkpath(path("music"));
        const QString p = path("music/" + name);
        mp3maker::makeMp3(p, {.artist = artist, .title = name, .album = album, .year = year, .seconds = 1, .id3v1 = true, .id3v2 = false});
        return p;
    }
    // A playlist of these files as the main window saves it: number, artist ... file name.
    void playlist(const QString& name, const QStringList& files, const QString& artist = QStringLiteral("From List"))
    {
        ListViewModel list;
        list.setColumns({"No.", "Artist:", "Title:", "Year:", "Status:", "Length:", "Filename:"});
        int n = 0;
        for (const QString& f : files) list.add({QString::number(++n), artist, "T", "1990", "Play", "01:00", f});
        QDir().mkpath(path("Playlists"));
        controls_SaveListView(list, path("Playlists/" + name + ".spp"));
    }

private:
    QString m_root;
};

class MediaLibraryTest : public VeltraTest {
protected:
    void SetUp() override
    {
        VeltraTest::SetUp();
        savedMoods = MoodList;
        MoodList = QStringLiteral("Happy|Rainy Day");
        QDir(home()).mkpath("Moods");
        QDir(home()).mkpath("Playlists");
        forms().get<FrmConsole>().LoggingEnabled = true;
    }
    void TearDown() override
    {
        VeltraTest::TearDown();
        MoodList = savedMoods;
    }
    FrmMediaLibrary& library() { return forms().get<FrmMediaLibrary>(); }
    QTreeWidgetItem* nodeNamed(const QString& text)
    {
        for (int i = 1; i <= library().nodeCount(); ++i)
            if (library().node(i)->text(0) == text) return library().node(i);
        return nullptr;
    }
    void choose(const QString& text)
    {
        QTreeWidgetItem* n = nodeNamed(text);
        ASSERT_NE(n, nullptr) << text.toStdString();
        library().tvOptions->setCurrentItem(n);
        library().tvOptions_NodeClick(n);
    }
    int twipsOf(int pixels) const { return pixels * 15; }

    LibraryFixture files{dir.path()};
    QString savedMoods;
};

TEST_F(MediaLibraryTest, TreeOffersPlaylistsAndMoodsAndLoadsOnlyChildren)
{
    files.playlist("Default", {files.song("d.mp3", "Dee")});
    files.playlist("Rock", {files.song("r.mp3", "Arr")});
    MoodList.clear();
    FrmMediaLibrary& lib = library();
    QTreeWidget* tree = lib.tvOptions;
    ASSERT_EQ(tree->topLevelItemCount(), 3);
    EXPECT_EQ(tree->topLevelItem(0)->text(0), "Now Playing:");
    EXPECT_EQ(tree->topLevelItem(1)->childCount(), 1);
    EXPECT_EQ(tree->topLevelItem(1)->child(0)->text(0), "Rock");
    EXPECT_EQ(tree->topLevelItem(2)->text(0), "Moods:");
    EXPECT_EQ(tree->topLevelItem(2)->childCount(), 0);
    EXPECT_EQ(tree->topLevelItem(0)->child(1)->text(0), "Export To VELTRA...");
    EXPECT_TRUE(tree->topLevelItem(1)->isExpanded());
    EXPECT_TRUE(tree->topLevelItem(1)->font(0).bold());
    EXPECT_EQ(tree->currentItem(), tree->topLevelItem(0));
    EXPECT_TRUE(lib.LibraryReady);
    EXPECT_EQ(lib.statusPanelText(1), "Status:  Waiting...");

    lib.filenames_Add("/kept.mp3");
    choose("Playlists:");
    EXPECT_EQ(lib.lstvFilenames->count(), 1);   // a root loads nothing

    // a playlist deleted since the tree was built: the reader says so, the library is empty
    QFile::remove(home("Playlists/Rock.spp"));
    choose("Rock");
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.messages()[0].title, "Error Loading List");
    EXPECT_EQ(lib.lstvFilenames->count(), 0);
    EXPECT_EQ(lib.lstArtist->count(), 0);
    EXPECT_EQ(lib.statusPanelText(1), "Status:  Waiting...");
}

// A source reached with the keys loads as a click on it does; Enter loads the one selected.
TEST_F(MediaLibraryTest, SourcesChosenByKeysLoad)
{
    files.playlist("Pop", {files.song("p.mp3", "Popper")});
    files.playlist("Rock", {files.song("r.mp3", "Rocker")});
    QTreeWidget* tree = library().tvOptions;
    tree->setCurrentItem(nodeNamed("Pop"));   // selected, not loaded
    const std::pair<Qt::Key, const char*> keys[] = {{Qt::Key_Down, "Rocker"}, {Qt::Key_Up, "Popper"}, {Qt::Key_Return, "Popper"}};
    for (const auto& [k, artist] : keys) {
        library().mnuNew_Click();
        QTest::keyClick(tree, k);
        EXPECT_EQ(entries(library().lstArtist), QStringList{artist}) << k;
    }
}

TEST_F(MediaLibraryTest, PlaylistRowsEnterByMeaningAndMp3RowsTakeTheirTags)
{
    const QString wma = home("music/song.wma");
    QDir().mkpath(home("music"));
    writeFile("music/song.wma", "not mpeg");
    files.playlist("Mixed", {wma, files.song("a.mp3", "Tagged", "Blue", "2001")}, "Listed Artist");
    library();
    choose("Mixed");
    EXPECT_EQ(entries(library().lstArtist), QStringList({"Listed Artist", "Tagged"}));
    EXPECT_EQ(entries(library().lstYear), QStringList({"1990", "2001"}));
    EXPECT_EQ(entries(library().lstAlbum), QStringList{"Blue"});
    EXPECT_FALSE(entries(library().lstArtist).contains("1"));
}

TEST_F(MediaLibraryTest, ArtistsIgnoreCaseAndASearchListsEveryExistingSpelling)
{
    const QString gone = files.song("gone.mp3", "nova");
    files.playlist("P", {files.song("1.mp3", "NOVA"), files.song("2.mp3", "Nova"), files.song("3.mp3", "NOVA Gold"), gone});
    QFile::remove(gone);
    FrmMediaLibrary& lib = library();
    choose("P");
    EXPECT_EQ(entries(lib.lstArtist), QStringList({"NOVA", "NOVA Gold"}));
    lib.txtSearch->setText("nova");
    EXPECT_EQ(selected(lib.lstArtist), "NOVA");
    EXPECT_EQ(column(lib.results(), library::ResArtist), QStringList({"NOVA", "Nova"}));
    EXPECT_EQ(column(lib.results(), library::ResLength), QStringList({"00:01", "00:01"}));
    lib.tmrWindowUpdate_Timer();
    EXPECT_EQ(lib.statusPanelText(2), "Songs:  2");
}

TEST_F(MediaLibraryTest, TypedSearchTriesArtistsThenYearsThenAlbums)
{
    files.playlist("P", {files.song("a.mp3", "Alpha", "1999", "2000"), files.song("b.mp3", "Beta", "Blue", "1999"),
                         files.song("c.mp3", "Gamma", "Blue", "2000")});
    FrmMediaLibrary& lib = library();
    choose("P");

    lib.txtSearch->setText("1999");   // a year that is also an album: the year's songs only
    EXPECT_EQ(selected(lib.lstYear), "1999");
    EXPECT_EQ(column(lib.results(), library::ResArtist), QStringList{"Beta"});

    lib.txtSearch->setText("BLUE");   // only among the albums
    EXPECT_EQ(selected(lib.lstAlbum), "Blue");
    EXPECT_EQ(selected(lib.lstYear), "");
    EXPECT_EQ(column(lib.results(), library::ResArtist), QStringList({"Beta", "Gamma"}));

    lib.txtSearch->setText("Blu");    // found nowhere: selections cleared, results kept
    for (QListWidget* l : {lib.lstArtist, lib.lstYear, lib.lstAlbum}) EXPECT_TRUE(l->selectedItems().isEmpty());
    EXPECT_EQ(lib.results().count(), 2);

    // no search while the index is being rebuilt
    lib.LibraryReady = false;
    lib.results_Find("Alpha", library::ColArtist);
    EXPECT_EQ(lib.results().count(), 2);
}

TEST_F(MediaLibraryTest, SourceSearchLoadsByWholeNameAndMoodsWin)
{
    files.playlist("Rock", {files.song("r.mp3", "Arr")});
    files.playlist("Happy", {files.song("p.mp3", "From Playlist")});
    QFile mood(home("Moods/happy.mlst"));   // a mood file in another letter case
    ASSERT_TRUE(mood.open(QIODevice::WriteOnly));
    mood.write((files.song("m.mp3", "From Mood") + "\r\n").toUtf8());
    mood.close();
    FrmMediaLibrary& lib = library();
    for (const char* typed : {"Rock ", "Playlists:", "roc"}) {
        lib.txtOptionSearch->setText(typed);
        EXPECT_EQ(lib.lstvFilenames->count(), 0) << typed;
    }
    lib.txtOptionSearch->setText("rock");
    EXPECT_EQ(lib.tvOptions->currentItem()->text(0), "Rock");
    EXPECT_EQ(entries(lib.lstArtist), QStringList{"Arr"});
    lib.txtOptionSearch->setText("HAPPY");
    EXPECT_EQ(entries(lib.lstArtist), QStringList{"From Mood"});

    // a mood without a file leaves the library as it was
    choose("Rainy Day");
    EXPECT_EQ(entries(lib.lstArtist), QStringList{"From Mood"});

    // a playlist named like a mood or like a root's key still has its own node, which loads it
    files.playlist("NowPlaying", {files.song("n.mp3", "Named Like A Key")});
    lib.library_Setup();
    QTreeWidgetItem* playlists = lib.tvOptions->topLevelItem(1);
    ASSERT_EQ(playlists->childCount(), 3);
    const std::pair<int, const char*> clicks[] = {{0, "From Playlist"}, {1, "Named Like A Key"}};
    for (const auto& [child, artist] : clicks) {
        lib.tvOptions->setCurrentItem(playlists->child(child));
        lib.tvOptions_NodeClick(playlists->child(child));
        EXPECT_EQ(entries(lib.lstArtist), QStringList{artist}) << playlists->child(child)->text(0).toStdString();
    }
}

TEST_F(MediaLibraryTest, AddingAFolderLogsEachFileAndStaysInThatFolder)
{
    writeFile("music/dir/a.mp3", "");
    writeFile("music/dir/sub/b.mp3", "");
    FrmMediaLibrary& lib = library();
    lib.filenames_AddDirectory(home("music/dir"), "mp3");
    EXPECT_EQ(column(*lib.lstvFilenames, library::ColPath), QStringList{home("music/dir/a.mp3")});
    EXPECT_TRUE(forms().get<FrmConsole>().Text().contains(home("music/dir/a.mp3") + " added to Media Library.\r\n"));
    EXPECT_FALSE(forms().get<FrmConsole>().Text().contains("b.mp3"));
}

TEST_F(MediaLibraryTest, SavingResultsAppendsPlaylistRecords)
{
    FrmMediaLibrary& lib = library();
    lib.results_Add("A", "One", "1999", "00:01", "/m/one.mp3");
    lib.results_Add("B", "Two", "", "00:02", "/m/two.mp3");
    ASSERT_TRUE(lib.window_SavePlaylist(home("Playlists/new.spp")));
    const QStringList lines = listfile::splitLines(QString::fromUtf8(readFile(home("Playlists/new.spp"))));
    ASSERT_EQ(lines.size(), 14);
    EXPECT_EQ(lines[0], "\"\"");
    EXPECT_EQ(lines[4], "\"Play\"");
    EXPECT_EQ(lines[6], "\"/m/one.mp3\"");
    ASSERT_TRUE(lib.window_SavePlaylist(home("Playlists/new.spp")));   // earlier content kept
    EXPECT_EQ(listfile::splitLines(QString::fromUtf8(readFile(home("Playlists/new.spp")))).size(), 28);
    EXPECT_EQ(lib.statusPanelText(1), "Status:  Waiting...");
}

TEST_F(MediaLibraryTest, CountsMenusAndStoredSettings)
{
    settings_WriteValue("ColumnHeaders_MediaLibrary", "Title", "2500");
    settings_WriteValue("ColumnHeaders_MediaLibrary", "Year", "wide");
    FrmMediaLibrary& lib = library();
    EXPECT_EQ(lib.lstvResults->columnWidthTwips(library::ResTitle), 2500);
    EXPECT_EQ(lib.lstvResults->columnWidthTwips(library::ResYear), 1000);   // not a number: the default
    EXPECT_EQ(lib.mnuClose->text(), "&Close\tAlt+F4");
    EXPECT_TRUE(lib.lstvResults->hideColumnHeaders());

    lib.tmrWindowUpdate_Timer();
    EXPECT_EQ(lib.statusPanelText(2), "Songs:  None");
    for (QAction* a : {lib.mnuSaveAs, lib.mnuExportToVELTRA, lib.mnuSendTo->menuAction(), lib.mnuRemoveSelected})
        EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
    for (int i = 0; i < 12; ++i) lib.results_Add("A", "T", "", "00:01", "/x.mp3");
    lib.tmrWindowUpdate_Timer();
    EXPECT_EQ(lib.statusPanelText(2), "Songs:  12");
    for (QAction* a : {lib.mnuSaveAs, lib.mnuExportToVELTRA, lib.mnuSendTo->menuAction(), lib.mnuRemoveSelected})
        EXPECT_TRUE(a->isEnabled()) << a->objectName().toStdString();

    // the send-to menu carries the moods after its hidden design item
    EXPECT_EQ(lib.mnuSendToOp->count(), 3);
    EXPECT_EQ(lib.mnuSendToOp->at(2)->text(), "Rainy Day");
    EXPECT_FALSE(lib.mnuSendToOp->at(0)->isVisible());

    lib.lstvResults->setColumnWidthTwips(library::ResTitle, 2700);
    lib.close();
    EXPECT_EQ(settings_ReadValue("ColumnHeaders_MediaLibrary", "Title"), "2700");
    EXPECT_FALSE(settings_ReadValue("Position_MediaLibrary", "Window_Width").isEmpty());
}

TEST_F(MediaLibraryTest, LayoutFollowsTheBarsAndMinimisingMovesNothing)
{
    settings_WriteValue("MediaLibrarySettings", "ShowStatusBar", "0");
    FrmMediaLibrary& lib = library();
    lib.show();
    lib.resize(900, 600);
    processEvents();
    const int H = twipsOf(lib.picClient->height());
    const QRect tree = lib.tvOptions->geometry();
    EXPECT_FALSE(lib.sbStatusBar->isVisible());
    EXPECT_EQ(twipsOf(tree.bottom() + 1), H - 240 - twipsOf(lib.nfpSearch->height()));
    EXPECT_EQ(twipsOf(lib.nfpSearch->y()), twipsOf(tree.bottom() + 1) + 120);
    EXPECT_EQ(twipsOf(lib.lstvResults->geometry().right() + 1), twipsOf(lib.picClient->width()) - 120);

    const QList<QRect> before = {lib.tvOptions->geometry(), lib.lstvResults->geometry(), lib.lstAlbum->geometry()};
    lib.showMinimized();
    processEvents();
    lib.Form_Resize();
    EXPECT_EQ(QList<QRect>({lib.tvOptions->geometry(), lib.lstvResults->geometry(), lib.lstAlbum->geometry()}), before);
}

TEST_F(MediaLibraryTest, MenuHelpAndTheResultsPopup)
{
    FrmMediaLibrary& lib = library();
    lib.show();
    processEvents();
    lib.mnuWindow->popup(lib.mapToGlobal(QPoint(0, 0)));
    lib.mnuWindow->setActiveAction(lib.mnuAlwaysOnTop);
    EXPECT_EQ(lib.statusPanelText(1), "Make this window stay on top of all other open windows/programs.");
    EXPECT_TRUE(lib.MenuHelpShown);
    lib.mnuWindow->hide();
    EXPECT_EQ(lib.statusPanelText(1), "Status:  Waiting...");
    EXPECT_FALSE(lib.MenuHelpShown);

    // the context-menu key on an empty results list does nothing; with songs it opens Selected
    lib.lstvResults->setFocus();
    QKeyEvent menuKey(QEvent::KeyPress, Qt::Key_Menu, Qt::NoModifier);
    QCoreApplication::sendEvent(lib.lstvResults, &menuKey);
    EXPECT_FALSE(lib.mnuSelected->isVisible());
    lib.results_Add("A", "T", "", "00:01", "/x.mp3");
    QCoreApplication::sendEvent(lib.lstvResults, &menuKey);
    EXPECT_TRUE(lib.mnuSelected->isVisible());
    lib.mnuSelected->hide();
}

// ---- through the running program ---------------------------------------------------------------------

class MediaLibraryProgramTest : public StartupFixture {
protected:
    FrmMediaLibrary& library() { return forms().get<FrmMediaLibrary>(); }
    LibraryFixture files{dir.path()};
};

TEST_F(MediaLibraryProgramTest, CommandLineOpensItAndTheMenuClosesIt)
{
    start({"/ml"});
    ASSERT_TRUE(forms().isLoaded<FrmMediaLibrary>());
    EXPECT_TRUE(library().isVisible());
    EXPECT_TRUE(main().mnuOpenMediaLibrary->isChecked());
    main().mnuOpenMediaLibrary->trigger();
    processEvents();
    EXPECT_FALSE(forms().isLoaded<FrmMediaLibrary>());
    EXPECT_FALSE(main().mnuOpenMediaLibrary->isChecked());
    EXPECT_FALSE(settings_ReadValue("Position_MediaLibrary", "Window_Top").isEmpty());
    main().mnuOpenMediaLibrary->trigger();
    EXPECT_TRUE(forms().isLoaded<FrmMediaLibrary>());
    EXPECT_TRUE(main().mnuOpenMediaLibrary->isChecked());
}

TEST_F(MediaLibraryProgramTest, MoodFilesAreFoundIgnoringCaseEverywhere)
{
    writeFile("settings.ini", "[Advanced]\r\nMoods=Rainy Day|Happy\r\n");
    QDir(home()).mkpath("Moods");
    const QString s = files.song("m.mp3", "Drizzle");
    writeFile("Moods/rainy day.mlst", (s + "\r\n").toUtf8());
    start();
    EXPECT_TRUE(main().mnuMoodOpen->at(1)->isEnabled());    // Rainy Day
    EXPECT_FALSE(main().mnuMoodOpen->at(2)->isEnabled());   // Happy has no file
    main().mnuOpenMediaLibrary->trigger();
    library().txtOptionSearch->setText("rainy day");
    EXPECT_EQ(entries(library().lstArtist), QStringList{"Drizzle"});
    ui.msgAnswers.push_back(veltra::MsgResult::Yes);
    media_ResetMoods();
    EXPECT_FALSE(QFile::exists(home("Moods/rainy day.mlst")));
}

// Real clicks through the event loop: a source chosen in the tree, an artist chosen in its
// list, and a second artist chosen while the first search is still going.
TEST_F(MediaLibraryProgramTest, ClicksLoadSearchAndANewerSearchEndsTheOlder)
{
    const QString a = files.song("a.mp3", "Many");
    const QString b = files.song("b.mp3", "Few");
    QStringList paths(20000, a);
    paths << b << b;
    files.playlist("Big", paths);
    start();
    main().mnuOpenMediaLibrary->trigger();
    FrmMediaLibrary& lib = library();
    processEvents();

    QTreeWidgetItem* big = lib.tvOptions->topLevelItem(1)->child(0);
    controltest::click(lib.tvOptions->viewport(), lib.tvOptions->visualItemRect(big).center());
    ASSERT_EQ(lib.lstvFilenames->count(), 20002);
    ASSERT_EQ(entries(lib.lstArtist), QStringList({"Few", "Many"}));
    EXPECT_TRUE(lib.LibraryReady);
    EXPECT_TRUE(lib.lstArtist->isEnabled());

    QListWidget* artists = lib.lstArtist;
    auto clickArtist = [artists](int row) {
        controltest::click(artists->viewport(), artists->visualItemRect(artists->item(row)).center());
    };
    // while "Many" is being searched, "Few" is chosen: only its songs are listed
    QTimer::singleShot(0, artists, [&] { clickArtist(0); });
    clickArtist(1);
    processEvents();
    EXPECT_EQ(selected(artists), "Few");
    EXPECT_EQ(column(lib.results(), library::ResArtist), QStringList({"Few", "Few"}));
    lib.tmrWindowUpdate_Timer();
    EXPECT_EQ(lib.statusPanelText(2), "Songs:  2");
}

// A real double-click on the tree's Import and Export nodes runs those commands, only while
// their menu items are enabled.
TEST_F(MediaLibraryProgramTest, DoubleClicksOnTheNowPlayingNodesImportAndExport)
{
    const QString a = files.song("a.mp3", "Imported"), b = files.song("b.mp3", "Exported");
    start();
    main().mnuOpenMediaLibrary->trigger();
    FrmMediaLibrary& lib = library();
    processEvents();
    QTreeWidget* tree = lib.tvOptions;
    auto doubleClick = [tree](int child) {
        QTreeWidgetItem* node = tree->topLevelItem(0)->child(child);
        const QPoint at = tree->visualItemRect(node).center();
        controltest::click(tree->viewport(), at);
        controltest::mouse(tree->viewport(), QEvent::MouseButtonDblClick, at, Qt::LeftButton, Qt::LeftButton);
        controltest::release(tree->viewport(), at);
        processEvents();
    };

    lib.filenames_Add("/kept.mp3");
    lib.tmrWindowUpdate_Timer();   // the main playlist is empty: Import is disabled
    doubleClick(0);
    EXPECT_EQ(column(*lib.lstvFilenames, library::ColPath), QStringList{"/kept.mp3"});

    main().playlist_AddSong("", "", "", a);
    lib.tmrWindowUpdate_Timer();
    doubleClick(0);
    EXPECT_EQ(column(*lib.lstvFilenames, library::ColPath), QStringList{a});
    EXPECT_EQ(entries(lib.lstArtist), QStringList{"Imported"});

    doubleClick(1);   // no results: Export is disabled and the main playlist stays
    EXPECT_EQ(main().rows().count(), 1);
    lib.results_Add("Exported", "T", "", "00:03", b);
    lib.tmrWindowUpdate_Timer();
    doubleClick(1);
    ASSERT_EQ(main().rows().count(), 1);
    EXPECT_EQ(main().rows().cell(1, 6), b);
}

// Closing the window in the middle of a load ends the load; the window goes once it has.
TEST_F(MediaLibraryProgramTest, ClosingDuringALoadEndsItAndThenUnloads)
{
    files.playlist("Big", QStringList(20000, files.song("a.mp3", "Many")));
    start();
    main().mnuOpenMediaLibrary->trigger();
    FrmMediaLibrary& lib = library();
    QTimer::singleShot(0, &lib, [&lib] { lib.close(); });
    lib.tvOptions->setCurrentItem(lib.tvOptions->topLevelItem(1)->child(0));
    lib.tvOptions_NodeClick(lib.tvOptions->currentItem());
    // the load stopped at the close: the rows are in, the index was never built
    EXPECT_EQ(lib.lstvFilenames->count(), 20000);
    EXPECT_EQ(lib.lstArtist->count(), 0);
    EXPECT_FALSE(lib.isVisible());
    EXPECT_FALSE(main().mnuOpenMediaLibrary->isChecked());
    EXPECT_FALSE(forms().isLoaded<FrmMediaLibrary>());   // unloaded once the load returned
    processEvents();
    main().mnuOpenMediaLibrary->trigger();   // a fresh window opens
    EXPECT_TRUE(library().isVisible());
}

} // namespace
