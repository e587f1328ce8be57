#include "support/TestEnv.h"

#include "common/MenuArray.h"
#include "common/modRecent.h"
#include "common/modSettings.h"

#include <QAction>
#include <QMenu>

namespace {

// A window with the two recent menus as the main window holds them.
struct RecentWindow {
    QMenu media;
    QMenu playlists;
    MenuArray mnuRecentMedia;
    MenuArray mnuRecentPlaylist;
    RecentWindow()
    {
        media.addAction(QStringLiteral("before"));
        mnuRecentMedia.attach(media.addAction(QStringLiteral("(None)")));
        media.addSeparator();
        media.addAction(QStringLiteral("after"));
        mnuRecentPlaylist.attach(playlists.addAction(QStringLiteral("(None)")));
    }
    static QStringList captions(const MenuArray& a)
    {
        QStringList out;
        for (int i = 0; i <= a.ubound(); ++i)
            if (a.exists(i) && a[i]->isVisible()) out.append(a[i]->text());
        return out;
    }
};

class RecentTest : public VeltraTest {
protected:
    void SetUp() override
    {
        VeltraTest::SetUp();
        RecentMediaMax = 30;
        RecentPlaylistsMax = 30;
    }
    static QString entry(int n, const QString& section = QStringLiteral("RecentMediaFiles"))
    {
        return settings_ReadValue(section, QStringLiteral("Filename") + QString::number(n));
    }
    static QString song(int n) { return QStringLiteral("/music/song%1.mp3").arg(n); }
};

TEST_F(RecentTest, EmptyListShowsOneDisabledNoneItem)
{
    RecentWindow w;
    recentmedia_BuildMenu(w);
    EXPECT_TRUE(recentmedia_IsEmpty());
    EXPECT_EQ(recentmedia_CountEntries(), 0);
    EXPECT_EQ(w.mnuRecentMedia.count(), 1);
    EXPECT_EQ(w.mnuRecentMedia[0]->text(), QStringLiteral("(None)"));
    EXPECT_FALSE(w.mnuRecentMedia[0]->isEnabled());
    EXPECT_TRUE(w.mnuRecentMedia[0]->isVisible());
}

TEST_F(RecentTest, AddingPutsTheFileFirstAndNumbersTheMenu)
{
    RecentWindow w;
    for (int i = 1; i <= 3; ++i) recentmedia_AddFile(song(i), w);
    EXPECT_EQ(entry(1), song(3));
    EXPECT_EQ(entry(3), song(1));
    EXPECT_EQ(RecentWindow::captions(w.mnuRecentMedia),
              (QStringList{"1.  song3.mp3", "2.  song2.mp3", "3.  song1.mp3"}));
    EXPECT_TRUE(w.mnuRecentMedia[0]->isEnabled());
    // The items stay together where element 0 was designed.
    const QList<QAction*> actions = w.media.actions();
    EXPECT_EQ(actions[1], w.mnuRecentMedia[0]);
    EXPECT_EQ(actions[2], w.mnuRecentMedia[1]);
    EXPECT_EQ(actions[3], w.mnuRecentMedia[2]);
    EXPECT_EQ(actions[5]->text(), QStringLiteral("after"));
}

TEST_F(RecentTest, ADuplicateChangesNothingEvenWhenNotFirst)
{
    RecentWindow w;
    for (int i = 1; i <= 3; ++i) recentmedia_AddFile(song(i), w);
    const QString before = QString::fromUtf8(readFile(home(QStringLiteral("settings.ini"))));
    recentmedia_AddFile(song(1), w);
    EXPECT_EQ(QString::fromUtf8(readFile(home(QStringLiteral("settings.ini")))), before);
    EXPECT_EQ(entry(3), song(1));

    // On this system a path in other letter case is another file.
    recentmedia_AddFile(song(1).toUpper(), w);
    EXPECT_EQ(entry(1), song(1).toUpper());
    EXPECT_EQ(recentmedia_CountEntries(), 4);
}

TEST_F(RecentTest, AFullListDropsTheOldest)
{
    RecentMediaMax = 10;
    RecentWindow w;
    for (int i = 1; i <= 11; ++i) recentmedia_AddFile(song(i), w);
    EXPECT_EQ(entry(1), song(11));
    EXPECT_EQ(entry(10), song(2));
    EXPECT_EQ(entry(11), QString());
    EXPECT_EQ(recentmedia_CountEntries(), 10);
    const QStringList captions = RecentWindow::captions(w.mnuRecentMedia);
    ASSERT_EQ(captions.size(), 10);
    EXPECT_EQ(captions.first(), QStringLiteral("01.  song11.mp3"));
    EXPECT_EQ(captions.last(), QStringLiteral("10.  song2.mp3"));
}

TEST_F(RecentTest, NineEntriesAreNumberedWithoutPadding)
{
    RecentWindow w;
    for (int i = 1; i <= 9; ++i) recentmedia_AddFile(song(i), w);
    const QStringList captions = RecentWindow::captions(w.mnuRecentMedia);
    EXPECT_EQ(captions.first(), QStringLiteral("1.  song9.mp3"));
    EXPECT_EQ(captions.last(), QStringLiteral("9.  song1.mp3"));
    // Rebuilding after the tenth reuses the loaded items.
    recentmedia_AddFile(song(10), w);
    EXPECT_EQ(w.mnuRecentMedia.count(), 10);
    EXPECT_EQ(RecentWindow::captions(w.mnuRecentMedia)[9], QStringLiteral("10.  song1.mp3"));
}

TEST_F(RecentTest, AGapEndsTheMenu)
{
    const QString s = QStringLiteral("RecentMediaFiles");
    settings_WriteValue(s, QStringLiteral("Filename1"), song(1));
    settings_WriteValue(s, QStringLiteral("Filename2"), song(2));
    settings_WriteValue(s, QStringLiteral("Filename4"), song(4));
    RecentWindow w;
    recentmedia_BuildMenu(w);
    EXPECT_EQ(recentmedia_CountEntries(), 2);
    EXPECT_EQ(RecentWindow::captions(w.mnuRecentMedia), (QStringList{"1.  song1.mp3", "2.  song2.mp3"}));
    EXPECT_FALSE(recentmedia_IsEmpty());

    // Only a gap first: the list is not empty, but the menu shows "(None)".
    settings_WriteValue(s, QStringLiteral("Filename1"), QString());
    recentmedia_BuildMenu(w);
    EXPECT_EQ(RecentWindow::captions(w.mnuRecentMedia), QStringList{"(None)"});
}

TEST_F(RecentTest, RemovingMovesTheLaterEntriesUp)
{
    RecentMediaMax = 4;
    RecentWindow w;
    for (int i = 1; i <= 4; ++i) recentmedia_AddFile(song(i), w);
    recentmedia_RemoveEntry(2, w);   // song3
    EXPECT_EQ(entry(1), song(4));
    EXPECT_EQ(entry(2), song(2));
    EXPECT_EQ(entry(3), song(1));
    EXPECT_EQ(entry(4), QString());
    EXPECT_EQ(RecentWindow::captions(w.mnuRecentMedia), (QStringList{"1.  song4.mp3", "2.  song2.mp3", "3.  song1.mp3"}));
    EXPECT_FALSE(w.mnuRecentMedia.exists(3));
}

TEST_F(RecentTest, ClearingAndTrailingNulls)
{
    RecentWindow w;
    for (int i = 1; i <= 3; ++i) recentmedia_AddFile(song(i), w);
    recentmedia_ClearEntries();
    EXPECT_TRUE(recentmedia_IsEmpty());
    recentmedia_ClearMenu(w);
    EXPECT_EQ(RecentWindow::captions(w.mnuRecentMedia), QStringList{"(None)"});
    EXPECT_EQ(w.mnuRecentMedia.count(), 1);

    settings_WriteValue(QStringLiteral("RecentMediaFiles"), QStringLiteral("Filename5"), QString(QChar(0)));
    EXPECT_TRUE(recentmedia_IsEmpty());
}

TEST_F(RecentTest, LoweringTheCapacityLeavesLaterEntriesUnread)
{
    RecentWindow w;
    for (int i = 1; i <= 12; ++i) recentmedia_AddFile(song(i), w);
    RecentMediaMax = 10;
    recentmedia_BuildMenu(w);
    EXPECT_EQ(recentmedia_CountEntries(), 10);
    EXPECT_EQ(w.mnuRecentMedia.count(), 10);
    EXPECT_EQ(entry(12), song(1));   // still in the file
    recentmedia_ClearEntries();
    EXPECT_EQ(entry(12), song(1));
}

TEST_F(RecentTest, PlaylistsHaveTheirOwnSectionAndMenu)
{
    RecentWindow w;
    recentplaylists_AddFile(QStringLiteral("/p/Rock & Roll.spp"), w);
    recentmedia_BuildMenu(w);
    EXPECT_EQ(entry(1, QStringLiteral("RecentPlaylists")), QStringLiteral("/p/Rock & Roll.spp"));
    EXPECT_EQ(entry(1), QString());
    EXPECT_EQ(recentplaylists_CountEntries(), 1);
    EXPECT_EQ(RecentWindow::captions(w.mnuRecentPlaylist), QStringList{"1.  Rock && Roll.spp"});
    EXPECT_EQ(RecentWindow::captions(w.mnuRecentMedia), QStringList{"(None)"});

    recentplaylists_RemoveEntry(1, w);
    EXPECT_TRUE(recentplaylists_IsEmpty());
    recentplaylists_ClearEntries();
    recentplaylists_ClearMenu(w);
    EXPECT_EQ(RecentWindow::captions(w.mnuRecentPlaylist), QStringList{"(None)"});
}

TEST_F(RecentTest, ChoosingAnItemReportsItsIndex)
{
    RecentWindow w;
    for (int i = 1; i <= 3; ++i) recentmedia_AddFile(song(i), w);
    QList<int> chosen;
    QObject::connect(&w.mnuRecentMedia, &MenuArray::triggered, [&](int index) { chosen.append(index); });
    w.mnuRecentMedia[2]->trigger();
    w.mnuRecentMedia[0]->trigger();
    EXPECT_EQ(chosen, (QList<int>{2, 0}));
}

TEST_F(RecentTest, MenuArrayLoadsAfterTheLastAndUnloads)
{
    QMenu menu;
    QAction* first = menu.addAction(QStringLiteral("Mood"));
    first->setCheckable(true);
    QAction* tail = menu.addAction(QStringLiteral("tail"));
    MenuArray a;
    a.attach(first);
    EXPECT_EQ(a.ubound(), 0);
    EXPECT_EQ(a.load(0), nullptr);   // taken
    QAction* one = a.load(1);
    ASSERT_NE(one, nullptr);
    EXPECT_TRUE(one->isCheckable());
    EXPECT_EQ(one->text(), QStringLiteral("Mood"));
    a.load(2);
    EXPECT_EQ(menu.actions(), (QList<QAction*>{first, one, a[2], tail}));
    a.unload(1);
    EXPECT_FALSE(a.exists(1));
    EXPECT_EQ(a.ubound(), 2);
    EXPECT_EQ(a.count(), 2);
    a.unload(0);   // the designed element stays
    EXPECT_TRUE(a.exists(0));
    a.unloadAbove(0);
    EXPECT_EQ(menu.actions(), (QList<QAction*>{first, tail}));
}

} // namespace
