// Repairs of the main window: its event hook at exit.
#include "common/ListView.h"
#include "mainwindow/FrmMain.h"
#include "startup/Forms.h"
#include "support/TestEnv.h"

#include <QStringList>

// The hook that forwards the controls' events to the window uses the list view: it must be
// gone before the list is, or the list's last events reach freed memory at exit.
TEST_F(VeltraTest, TheWindowsEventHookGoesBeforeTheControlsItWatches)
{
    FrmMain& main = forms().get<FrmMain>();
    QObject* hook = main.findChild<QObject*>(QStringLiteral("FrmMainEventHook"), Qt::FindDirectChildrenOnly);
    ASSERT_NE(hook, nullptr);
    QStringList gone;
    QObject::connect(hook, &QObject::destroyed, [&] { gone << "hook"; });
    QObject::connect(main.lstvPlaylist, &QObject::destroyed, [&] { gone << "list"; });
    QObject::connect(main.lstvPlaylist->viewport(), &QObject::destroyed, [&] { gone << "viewport"; });
    main.show();
    main.lstvPlaylist->setFocus();
    forms().unloadAll();
    ASSERT_FALSE(gone.isEmpty());
    EXPECT_EQ(gone.first(), QStringLiteral("hook")) << gone.join(u' ').toStdString();
}

#include "PlaybackFixture.h"

// In the half second after a start the position timer has not yet seen the song: Stop, Pause
// and the transport commands ask the player itself.
TEST_F(PlaybackTest, StopRightAfterPlayStopsBeforeThePositionTimerTicked)
{
    addSongs(3);
    controls_SelectItem(list(), 1);
    main->player_Play(1);
    ASSERT_EQ(main->PlayerState, FrmMain::Playback::Stopped);   // no tick yet
    ASSERT_TRUE(playing());
    main->mnuStop_Click();
    EXPECT_FALSE(playing());
    EXPECT_EQ(player->history.last(), QStringLiteral("Unload"));

    // Next right after a start goes on from the song just started, not from the selection.
    controls_SelectItem(list(), 2);
    main->player_Play(1);
    controls_SelectItem(list(), 1);
    main->mnuNextTrack_Click();
    EXPECT_EQ(player->FileName(), file(3));
}

#include "common/ListViewModel.h"
#include "common/modControls.h"
#include "controls/ctlQX_wScrollbar.h"
#include "controls/ctlQX_wTextPanel.h"
#include "library/FrmMediaLibrary.h"
#include "mainwindow/FrmMenus.h"
#include "player/FrmVideo.h"
#include "support/StartupFixture.h"

#include <QApplication>
#include <QLabel>
#include <QStatusBar>
#include <QStyle>
#include <QTest>
#include <QToolBar>

namespace {
class MainWindowRepairsTest : public StartupFixture {};
}

// A key runs its command only while the command's item is enabled. A song just started has
// Stop and Pause enabled at once, not half a second later when the position timer ticks.
TEST_F(MainWindowRepairsTest, StopAndPauseKeysWorkRightAfterThePlayKey)
{
    using State = veltra::MediaPlayerControl::State;
    const struct {
        Qt::Key key;
        State after;
    } cases[] = {{Qt::Key_S, State::Stopped}, {Qt::Key_U, State::Paused}};
    writePlaylist("Playlists/default.spp", {song("a.mp3")});
    start();
    FrmMain& m = main();
    for (const auto& c : cases) {
        SCOPED_TRACE(QKeySequence(c.key).toString().toStdString());
        m.tmrPosition_Timer();   // stopped: the commands that need a song are off
        ASSERT_FALSE(m.mnuStop->isEnabled());
        controls_SelectItem(m.rows(), 1);
        QTest::keyClick(m.lstvPlaylist, Qt::Key_P);
        ASSERT_EQ(m.wmpPlayer().PlayState(), State::Playing);
        QTest::keyClick(m.lstvPlaylist, c.key);
        EXPECT_EQ(m.wmpPlayer().PlayState(), c.after);
        m.player_Stop();
    }
}

TEST_F(MainWindowRepairsTest, WithoutTheToolbarTheListStartsAtTheTop)
{
    writeFile("settings.ini", "[Settings]\r\nShowToolbar=0\r\n");
    start();
    FrmMain& m = main();
    processEvents(50);
    EXPECT_FALSE(m.cbToolbar->isVisible());
    EXPECT_EQ(m.lstvPlaylist->y(), 0);
    EXPECT_EQ(m.lstvPlaylist->y() + m.lstvPlaylist->height(), m.sbStatusBar->y());
}

TEST_F(MainWindowRepairsTest, TheVideoWindowOpensAboveTheStatusBarAndStaysHiddenWhenRestoredFromTheTray)
{
    start();
    FrmMain& m = main();
    FrmVideo& video = forms().get<FrmVideo>();
    // Its bottom right corner at the main window's, just above the status bar.
    EXPECT_EQ(video.y() + video.height(), m.y() + m.height() - m.sbStatusBar->sizeHint().height());
    m.Form_QueryUnload(FrmMain::FormControlMenu);
    forms().get<FrmMenus>().mnuOpen_Click();
    processEvents(20);
    EXPECT_TRUE(m.isVisible());
    EXPECT_FALSE(video.isVisible());
}

TEST_F(MainWindowRepairsTest, AnOpenMediaLibraryGoesToTheTrayAndComesBackWithTheMainWindow)
{
    start();
    FrmMain& m = main();
    m.mnuOpenMediaLibrary_Click();
    FrmMediaLibrary& library = forms().get<FrmMediaLibrary>();
    processEvents(20);
    ASSERT_TRUE(library.isVisible());
    m.Form_QueryUnload(FrmMain::FormControlMenu);   // the close box: to the tray
    processEvents(20);
    EXPECT_FALSE(m.isVisible());
    EXPECT_FALSE(library.isVisible());
    forms().get<FrmMenus>().mnuOpen->trigger();   // the tray menu's Open
    processEvents(20);
    EXPECT_TRUE(m.isVisible());
    EXPECT_TRUE(library.isVisible());
    EXPECT_FALSE(library.isMinimized());
}

TEST_F(MainWindowRepairsTest, InFullModeTheThreeSlidersAndLabelsDoNotOverlap)
{
    start();
    FrmVideo& video = forms().get<FrmVideo>();
    video.VideoIsOpen = true;
    video.resize(1000, 600);
    video.setWindowState(Qt::WindowMaximized);
    video.show();
    processEvents(50);
    video.tmrWindowUpdate_Timer();
    const QList<QWidget*> row = {video.lblVolume, video.qxsVolume, video.lblBalance, video.qxsBalance, video.lblPosition, video.qxsPosition};
    for (int i = 0; i < row.size(); ++i) {
        SCOPED_TRACE(row[i]->objectName().toStdString() + " " + std::to_string(i));
        EXPECT_TRUE(row[i]->isVisible());
        EXPECT_GT(row[i]->width(), 0);
        if (i + 1 < row.size()) {
            EXPECT_LE(row[i]->geometry().right(), row[i + 1]->x());
        }
    }
    for (QLabel* label : {video.lblVolume, video.lblBalance, video.lblPosition})
        EXPECT_GE(label->width(), label->sizeHint().width()) << label->text().toStdString();   // not cut
    EXPECT_LE(video.qxsPosition->geometry().right(), video.qxbPause->x());
    video.VideoIsOpen = false;
}

TEST_F(VeltraTest, MenuPicturesOnTheItemsAndAnAddPictureForAddFiles)
{
    FrmMain& m = forms().get<FrmMain>();
    const QList<QAction*> items = {m.mnuNew, m.mnuAddFiles, m.mnuOpenPlaylist, m.mnuSave, m.mnuPrint, m.mnuExit, m.mnuPrevious,
                                   m.mnuRewind, m.mnuPlay, m.mnuPause, m.mnuStop, m.mnuRandom, m.mnuFastForward, m.mnuNextTrack,
                                   m.mnuNextTrackAdvanced, m.mnuMute, m.mnuReCenterWindow, m.mnuTracking, m.mnuAbout};
    for (QAction* a : items) a->setIcon(QIcon());
    m.window_SetMenuImages();
    for (QAction* a : items) EXPECT_FALSE(a->icon().isNull()) << a->objectName().toStdString();
    const QImage eject = QIcon::fromTheme("media-eject", QApplication::style()->standardIcon(QStyle::SP_DirOpenIcon)).pixmap(16).toImage();
    EXPECT_NE(m.mnuAddFiles->icon().pixmap(16).toImage(), eject);
}

TEST(ListViewSorting, TextColumnsSortAsTheLanguageDoesIgnoringCase)
{
    ListViewModel list;
    list.setColumns({"No.", "Artist:"});
    for (const char* artist : {"Zebra", "Łódź", "apple", "Über", "Mango", "banana", "Ulm"}) list.add({"", QString::fromUtf8(artist)});
    list.setSortKey(1);
    list.setSorted(true);
    QStringList order;
    for (int r = 1; r <= list.count(); ++r) order << list.subItem(r, 1);
    EXPECT_EQ(order, QStringList({"apple", "banana", "Łódź", "Mango", "Über", "Ulm", "Zebra"}));
}
