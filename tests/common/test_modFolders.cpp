#include "support/TestEnv.h"

#include "common/modFolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

class FoldersTest : public VeltraTest {
protected:
    QString mk(const QString& relative) const
    {
        QDir().mkpath(home(relative));
        return home(relative);
    }
};

TEST_F(FoldersTest, DirectSubfoldersInNameOrderIgnoringCase)
{
    const QString root = mk(QStringLiteral("lib"));
    for (const char* d : {"c", "B", "a", "b", ".hidden"}) mk(QStringLiteral("lib/") + QString::fromLatin1(d));
    writeFile(QStringLiteral("lib/file.mp3"), "x");
    const QStringList expected = {root + "/a", root + "/B", root + "/b", root + "/c"};
    EXPECT_EQ(directory_GetSubDirectories(root, 0), expected);
    EXPECT_EQ(directory_GetSubDirectories(root + u'/', 0), expected);   // no second separator
}

TEST_F(FoldersTest, RecursionListsDirectOnesFirstThenDeeper)
{
    const QString root = mk(QStringLiteral("lib"));
    mk(QStringLiteral("lib/b/b2"));
    mk(QStringLiteral("lib/a/a1/a11"));
    mk(QStringLiteral("lib/a/a2"));
    EXPECT_EQ(directory_GetSubDirectories(root, 1),
              (QStringList{root + "/a", root + "/b", root + "/a/a1", root + "/a/a2", root + "/a/a1/a11", root + "/b/b2"}));
    EXPECT_EQ(directory_GetSubDirectories(root, 0), (QStringList{root + "/a", root + "/b"}));
}

TEST_F(FoldersTest, LinksNeitherLoopNorRepeatAFolder)
{
    const QString root = mk(QStringLiteral("lib"));
    mk(QStringLiteral("lib/a/inner"));
    const QString outside = mk(QStringLiteral("elsewhere"));
    ASSERT_TRUE(QFile::link(root, root + QStringLiteral("/a/up")));           // a loop back to the top
    ASSERT_TRUE(QFile::link(root + QStringLiteral("/a"), root + QStringLiteral("/z")));   // a second way to "a"
    ASSERT_TRUE(QFile::link(outside, root + QStringLiteral("/m")));           // a folder elsewhere, once
    const QStringList found = directory_GetSubDirectories(root, 1);
    EXPECT_EQ(found, (QStringList{root + "/a", root + "/m", root + "/a/inner"}));
}

TEST_F(FoldersTest, NothingForMissingBlankOrEmptyFolders)
{
    EXPECT_TRUE(directory_GetSubDirectories(home(QStringLiteral("missing")), 1).isEmpty());
    EXPECT_TRUE(directory_GetSubDirectories(QStringLiteral("  "), 1).isEmpty());
    EXPECT_TRUE(directory_GetSubDirectories(QString(), 1).isEmpty());
    EXPECT_TRUE(directory_GetSubDirectories(mk(QStringLiteral("empty")), 1).isEmpty());
    EXPECT_TRUE(directory_GetSubDirectories(writeFile(QStringLiteral("f.txt"), "x"), 1).isEmpty());
}

TEST_F(FoldersTest, ExistsAndCreate)
{
    const QString file = writeFile(QStringLiteral("f.txt"), "x");
    EXPECT_TRUE(directory_Exists(home()));
    EXPECT_TRUE(directory_Exists(file));
    EXPECT_FALSE(directory_Exists(home(QStringLiteral("nope"))));
    EXPECT_FALSE(directory_Exists(QString()));

    directory_Create(home(QStringLiteral("Playlists")));
    EXPECT_TRUE(QFileInfo(home(QStringLiteral("Playlists"))).isDir());
    directory_Create(home(QStringLiteral("Playlists")));   // exists: nothing happens
    directory_Create(home(QStringLiteral("a/b/c")));        // one level only
    EXPECT_FALSE(QFileInfo::exists(home(QStringLiteral("a/b/c"))));
}

TEST_F(FoldersTest, BrowseAsksThroughTheUiServices)
{
    ui.folderAnswers.push_back(QStringLiteral("/music"));
    EXPECT_EQ(directory_Browse(nullptr, QStringLiteral("/start")), QStringLiteral("/music"));
    EXPECT_EQ(directory_Browse(nullptr, QStringLiteral("/start")), QString());   // cancelled
    ASSERT_EQ(ui.count(QStringLiteral("folder")), 2);
    EXPECT_EQ(ui.calls[0].title, QStringLiteral("Please select the directory and then click OK:"));
    EXPECT_EQ(ui.calls[0].text, QStringLiteral("/start"));
}

} // namespace
