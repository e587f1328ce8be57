// The shared routines that long playlists lean on: listing a folder, logging many lines at
// once, loading a list file cell by cell straight from its bytes, changing a row's cells at once.
#include "common/FrmConsole.h"
#include "common/ListViewModel.h"
#include "common/modFiles.h"
#include "common/modListFiles.h"
#include "common/modRecent.h"
#include "common/modSettings.h"
#include "startup/Forms.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QMenu>

namespace {

class LargeListsTest : public VeltraTest {};

TEST_F(LargeListsTest, FolderListingTakesFilesOfTheExtensionInAnyCaseSortedIgnoringCase)
{
    writeFile("M/b.mp3", "x");
    writeFile("M/A.MP3", "x");
    writeFile("M/.hidden.Mp3", "x");
    writeFile("M/c.mp3.txt", "x");
    writeFile("M/sub/d.mp3", "x");
    QDir().mkpath(home("M/folder.mp3"));
    QFile::link(home("M/b.mp3"), home("M/link.mp3"));
    QFile::link(home("M/sub"), home("M/linked folder.mp3"));
    QFile::link(home("M/nothing"), home("M/broken.mp3"));
    const QString m = home("M");
    EXPECT_EQ(files::listFolder(m, "mp3"),
              QStringList({m + "/.hidden.Mp3", m + "/A.MP3", m + "/b.mp3", m + "/broken.mp3", m + "/link.mp3"}));
    EXPECT_EQ(files::listFolder(m + "/", "txt"), QStringList({m + "/c.mp3.txt"}));
    EXPECT_TRUE(files::listFolder(home("none"), "mp3").isEmpty());
    EXPECT_TRUE(files::listFolder(home("M/b.mp3"), "mp3").isEmpty());
    EXPECT_TRUE(files::listFolder(QString(), "mp3").isEmpty());
}

TEST_F(LargeListsTest, ManyLogLinesAtOnceAreWrittenAsEachWouldBe)
{
    settings_WriteValue("Settings", "RememberTheConsoleLogs", "1");
    FrmConsole& c = forms().get<FrmConsole>();
    c.window_WriteLog("first");
    c.window_WriteLogLines({"two", "thrée"});
    c.window_WriteLogLines({});
    EXPECT_EQ(c.Text(), QStringLiteral("first\r\ntwo\r\nthrée\r\n"));
    EXPECT_EQ(readFile(home("console.log")), QStringLiteral("first\r\ntwo\r\nthrée\r\n\r\n").toUtf8());

    c.LoggingEnabled = false;
    c.window_WriteLogLines({"lost"});
    EXPECT_FALSE(c.Text().contains("lost"));
}

TEST_F(LargeListsTest, ListFileWithByteOrderMarkAndRepeatedCellsLoads)
{
    const QString file = writeFile("a.ssb", "\xEF\xBB\xBF\"Play\"\r\n\"x\"\r\n\"Play\"\r\n\"y\"\r\n\"Pl\xC3\xA4y\"\r\n\"y\"\r\n");
    ListViewModel list;
    list.setColumns({"Status", "Name"});
    ASSERT_TRUE(controls_LoadListView(list, file));
    EXPECT_EQ(list.cells(1), QStringList({"Play", "x"}));
    EXPECT_EQ(list.cells(2), QStringList({"Play", "y"}));
    EXPECT_EQ(list.cells(3), QStringList({QStringLiteral("Pläy"), "y"}));
    // a shared cell changed in one row stays as it was in the other
    list.setCell(2, 0, "Skip");
    EXPECT_EQ(list.cell(1, 0), "Play");

    // an older Windows-1252 file with repeated cells
    const QString old = writeFile("b.ssb", "\"Caf\xE9\"\r\n\"x\"\r\n\"Caf\xE9\"\r\n\"y\"\r\n");
    ListViewModel older;
    older.setColumns({"Name", "Other"});
    ASSERT_TRUE(controls_LoadListView(older, old));
    EXPECT_EQ(older.cells(2), QStringList({QStringLiteral("Café"), "y"}));
}

TEST_F(LargeListsTest, SettingARowsCellsSignalsOnceForTheCellsThatChanged)
{
    ListViewModel list;
    list.setColumns({"A", "B", "C", "D"});
    list.add({"1", "2", "3", "4"});
    QList<std::pair<int, int>> changes;   // first and last column of each signal
    QObject::connect(&list, &QAbstractItemModel::dataChanged, &list,
                     [&](const QModelIndex& a, const QModelIndex& b) { changes.append({a.column(), b.column()}); });
    list.setCells(1, {"1", "x", "3", "y"});
    EXPECT_EQ(changes, (QList<std::pair<int, int>>{{1, 3}}));
    EXPECT_EQ(list.cells(1), QStringList({"1", "x", "3", "y"}));
    list.setCells(1, {"1", "x"});
    list.setCells(9, {"nothing"});
    EXPECT_EQ(changes.size(), 1);
}

TEST_F(LargeListsTest, ManyRecentFilesAtOnceEndAsIfAddedOneByOne)
{
    const int oldMax = RecentMediaMax;
    RecentMediaMax = 5;
    QMenu menu;
    MenuArray one, many;
    one.attach(menu.addAction("(None)"));
    many.attach(menu.addAction("(None)"));
    const QStringList files = {"/m/a.mp3", "/m/b.mp3", "/m/a.mp3", "/m/c.mp3", "/m/d.mp3", "/m/e.mp3", "/m/f.mp3", "/m/b.mp3"};
    auto stored = [] {
        QStringList out;
        for (int i = 1; i <= RecentMediaMax; ++i) out << settings_ReadValue("RecentMediaFiles", QStringLiteral("Filename%1").arg(i));
        return out;
    };
    recentmedia_AddFile("/m/old.mp3", one);
    for (const QString& f : files) recentmedia_AddFile(f, one);
    const QStringList oneByOne = stored();
    recentmedia_ClearEntries();
    recentmedia_AddFile("/m/old.mp3", many);
    recentmedia_AddFiles(files, many);
    EXPECT_EQ(stored(), oneByOne);
    EXPECT_EQ(stored(), QStringList({"/m/f.mp3", "/m/e.mp3", "/m/d.mp3", "/m/c.mp3", "/m/b.mp3"}));
    EXPECT_EQ(many[0]->text(), one[0]->text());
    EXPECT_EQ(many.ubound(), one.ubound());
    RecentMediaMax = oldMax;
}

} // namespace
