// The playlist's own events, the window's keys and layout, the sliders and the switch to the
// neighbouring playlist.
#include "common/PlaylistRow.h"
#include "common/modVB.h"
#include "MainWindowFixture.h"

#include "common/modListFiles.h"
#include "common/modSettings.h"
#include "controls/ctlQX_wScrollbar.h"
#include "player/FrmVideo.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QMimeData>
#include <QSlider>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>

namespace {

class ListTest : public MainWindowTest {
protected:
    void key(QWidget* target, int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = QString())
    {
        QKeyEvent press(QEvent::KeyPress, qtKey, modifiers, text);
        QCoreApplication::sendEvent(target, &press);
    }
    // Six rows "A" .. "F", numbered.
    void sixRows()
    {
        for (const char* a : {"A", "B", "C", "D", "E", "F"}) addRow(QString::fromLatin1(a), QStringLiteral("T"));
    }
    QStringList numbers()
    {
        QStringList out;
        for (int r = 1; r <= rows().count(); ++r) out.append(rows().text(r));
        return out;
    }
    // A playlist file of the Playlists folder with rows for these artists.
    void playlistFile(const QString& name, const QStringList& artistNames)
    {
        ListViewModel list;
        list.setColumns(PlaylistColumn::headers());
        for (const QString& a : artistNames)
            list.add({QString(), a, QStringLiteral("T"), QString(), QStringLiteral("Play"), QString(), song(name + u'-' + a)});
        QDir(home()).mkpath(QStringLiteral("Playlists"));
        ASSERT_TRUE(controls_SaveListView(list, home(QStringLiteral("Playlists/") + name + QStringLiteral(".spp"))));
    }
    QList<QAction*> visibleIn(QMenu* menu)
    {
        QList<QAction*> out;
        for (QAction* a : menu->actions())
            if (a->isVisible()) out.append(a);
        return out;
    }
};

} // namespace

// ---- sorting by the column headers ---------------------------------------------------------------

TEST_F(ListTest, HeaderClicksSortByTheirColumnAlternatingTheDirection)
{
    startDefault();
    FrmMain& m = main();
    addRow(QStringLiteral("Cold"), QStringLiteral("x"));
    addRow(QStringLiteral("abba"), QStringLiteral("z"));
    addRow(QStringLiteral("Beta"), QStringLiteral("y"));
    playRow(1);
    m.tmrPosition_Timer();
    controls_SelectItem(rows(), 3);
    m.mnuPlayNext_Click();
    ASSERT_EQ(m.PlayNextIndex, 3);

    emit m.lstvPlaylist->columnClick(2);   // as the header reports it
    EXPECT_EQ(artists(), QStringList({"abba", "Beta", "Cold"}));
    EXPECT_EQ(numbers(), QStringList({"01", "02", "03"}));
    EXPECT_TRUE(m.mnuSortViaAcending->isChecked());
    EXPECT_TRUE(m.mnuSortByArtist->isChecked());
    EXPECT_FALSE(m.mnuDontSort->isChecked());
    EXPECT_EQ(settings_ReadValue(QStringLiteral("ListSorting"), QStringLiteral("SortViaAscendingOrder")), QStringLiteral("1"));
    EXPECT_EQ(settings_ReadValue(QStringLiteral("ListSorting"), QStringLiteral("DoNotSortTheList")), QStringLiteral("0"));
    EXPECT_EQ(settings_ReadValue(QStringLiteral("ListSorting"), QStringLiteral("SortByArtist")), QStringLiteral("1"));
    // The playing row and the Play Next mark stay with their songs.
    EXPECT_EQ(m.CurrentTrack, 3);
    EXPECT_EQ(m.PlayNextIndex, 2);
    EXPECT_TRUE(m.mnuSortByTitle->isEnabled());
    EXPECT_FALSE(m.mnuShuffleThePlaylist->isEnabled());

    m.lstvPlaylist_ColumnClick(2);
    EXPECT_EQ(artists(), QStringList({"Cold", "Beta", "abba"}));
    EXPECT_TRUE(m.mnuSortViaDecending->isChecked());
    EXPECT_EQ(m.CurrentTrack, 1);
    EXPECT_EQ(m.PlayNextIndex, 2);

    // "No." and "Status:" do not sort and do not turn the direction.
    m.lstvPlaylist_ColumnClick(5);
    m.lstvPlaylist_ColumnClick(1);
    EXPECT_EQ(artists(), QStringList({"Cold", "Beta", "abba"}));
    EXPECT_TRUE(m.mnuSortViaDecending->isChecked());

    m.lstvPlaylist_ColumnClick(3);
    EXPECT_TRUE(m.mnuSortViaAcending->isChecked());
    EXPECT_TRUE(m.mnuSortByTitle->isChecked());
    EXPECT_FALSE(m.mnuSortByArtist->isChecked());
    EXPECT_EQ(artists(), QStringList({"Cold", "Beta", "abba"}));   // titles x, y, z

    // Don't Sort keeps the order and stops sorting.
    m.mnuDontSort_Click();
    EXPECT_FALSE(rows().sorted());
    EXPECT_FALSE(m.mnuSortByTitle->isEnabled());
    EXPECT_TRUE(m.mnuShuffleThePlaylist->isEnabled());
    addRow(QStringLiteral("Aaa"), QStringLiteral("a"));
    EXPECT_EQ(artists(), QStringList({"Cold", "Beta", "abba", "Aaa"}));
}

// ---- playing -----------------------------------------------------------------------------------------

TEST_F(ListTest, DoubleClickAndEnterPlayTheSelectedRow)
{
    startDefault();
    FrmMain& m = main();
    addRow(QStringLiteral("A"), QStringLiteral("T"));
    addRow(QStringLiteral("B"), QStringLiteral("U"));
    addRow(QStringLiteral("C"), QStringLiteral("V"));

    rows().clearSelection();
    m.lstvPlaylist_DblClick();
    EXPECT_NE(player().PlayState(), veltra::MediaPlayerControl::State::Playing);

    controls_SelectItem(rows(), 2);
    m.lstvPlaylist_DblClick();
    EXPECT_EQ(player().PlayState(), veltra::MediaPlayerControl::State::Playing);
    EXPECT_EQ(player().FileName(), rows().subItem(2, PlaylistColumn::Filename));

    controls_SelectItem(rows(), 3);
    key(m.lstvPlaylist, Qt::Key_Return);
    EXPECT_EQ(player().FileName(), rows().subItem(3, PlaylistColumn::Filename));
    m.tmrPosition_Timer();

    // A paused song waiting to be resumed is stopped first.
    m.mnuPause_Click();
    ASSERT_TRUE(m.ResumePending);
    controls_SelectItem(rows(), 1);
    player().history.clear();
    key(m.lstvPlaylist, Qt::Key_Enter);
    EXPECT_FALSE(m.ResumePending);
    EXPECT_EQ(player().history.value(0), QStringLiteral("Stop"));
    EXPECT_EQ(player().FileName(), rows().subItem(1, PlaylistColumn::Filename));
    EXPECT_EQ(player().PlayState(), veltra::MediaPlayerControl::State::Playing);
}

TEST_F(ListTest, LeftAndRightStepThroughTheRowsRoundTheEnds)
{
    startDefault();
    FrmMain& m = main();
    addRow(QStringLiteral("A"), QStringLiteral("T"));
    addRow(QStringLiteral("B"), QStringLiteral("U"));
    addRow(QStringLiteral("C"), QStringLiteral("V"));
    controls_SelectItem(rows(), 3);
    key(m.lstvPlaylist, Qt::Key_Right);
    EXPECT_EQ(rows().selectedItem(), 1);
    EXPECT_EQ(rows().selectedRows(), QList<int>({1}));
    key(m.lstvPlaylist, Qt::Key_Left);
    EXPECT_EQ(rows().selectedItem(), 3);
    key(m.lstvPlaylist, Qt::Key_Left);
    EXPECT_EQ(rows().selectedItem(), 2);
}

// ---- the window's keys ---------------------------------------------------------------------------------

TEST_F(ListTest, ArtistFindingKeysFindTheNextArtistAndWrap)
{
    startDefault();
    FrmMain& m = main();
    m.mnuKeysUseAsShortcuts->setChecked(false);
    m.mnuKeysUseAsArtistFindingKeys->setChecked(true);
    for (const char* a : {"Abba", "Beta", "Cold", "bravo", "Delta"}) addRow(QString::fromLatin1(a), QStringLiteral("T"));
    controls_SelectItem(rows(), 1);
    m.Form_KeyDown('B', 0);
    EXPECT_EQ(rows().selectedItem(), 2);
    m.Form_KeyDown('B', 0);
    EXPECT_EQ(rows().selectedItem(), 4);
    m.Form_KeyDown('B', 1);   // any Shift value
    EXPECT_EQ(rows().selectedItem(), 2);
    m.Form_KeyDown('Z', 0);
    EXPECT_EQ(rows().selectedItem(), 2);
    // Typed into the list: found there, and the list's own type-ahead does not move it on.
    key(m.lstvPlaylist, Qt::Key_D, Qt::NoModifier, QStringLiteral("d"));
    EXPECT_EQ(rows().selectedItem(), 5);
    EXPECT_EQ(rows().selectedRows(), QList<int>({5}));
    // Shortcut letters do nothing here.
    key(m.lstvPlaylist, Qt::Key_P, Qt::NoModifier, QStringLiteral("p"));
    EXPECT_NE(player().PlayState(), veltra::MediaPlayerControl::State::Playing);
    // No selection: the key is ignored.
    rows().selectionModel()->clear();
    m.Form_KeyDown('C', 0);
    EXPECT_EQ(rows().selectedCount(), 0);
}

TEST_F(ListTest, ShortcutKeysRunEnabledCommandsAndGoNoFurther)
{
    playlistFile(QStringLiteral("Pop"), {QStringLiteral("X")});
    startDefault();
    FrmMain& m = main();
    addRow(QStringLiteral("A"), QStringLiteral("T"));
    addRow(QStringLiteral("B"), QStringLiteral("U"));
    addRow(QStringLiteral("C"), QStringLiteral("V"));
    m.tmrWindowUpdate_Timer();
    m.tmrPosition_Timer();
    controls_SelectItem(rows(), 1);

    // Typed into the playlist box: the box does not pick "Pop", Play runs.
    key(m.cmbPlaylists, Qt::Key_P, Qt::NoModifier, QStringLiteral("p"));
    EXPECT_EQ(m.cmbPlaylists->currentIndex(), 0);
    EXPECT_EQ(player().FileName(), rows().subItem(1, PlaylistColumn::Filename));
    EXPECT_EQ(player().PlayState(), veltra::MediaPlayerControl::State::Playing);
    m.tmrPosition_Timer();

    m.Form_KeyDown('N', 0);
    EXPECT_EQ(player().FileName(), rows().subItem(2, PlaylistColumn::Filename));
    m.Form_KeyDown('N', 1);   // Shift alone counts as no modifier
    EXPECT_EQ(player().FileName(), rows().subItem(3, PlaylistColumn::Filename));
    m.Form_KeyDown('V', 2);   // Ctrl alone: nothing
    EXPECT_EQ(player().FileName(), rows().subItem(3, PlaylistColumn::Filename));
    m.Form_KeyDown('E', 0);
    EXPECT_EQ(m.mnuMute->text(), QStringLiteral("Un-Mut&e\tE"));
    m.Form_KeyDown('E', 0);
    m.Form_KeyDown('S', 0);
    m.tmrPosition_Timer();
    EXPECT_NE(player().PlayState(), veltra::MediaPlayerControl::State::Playing);

    // A disabled command's key does nothing: Pause while stopped.
    ASSERT_FALSE(m.mnuPause->isEnabled());
    m.Form_KeyDown(Qt::Key_U, 0);
    EXPECT_FALSE(m.ResumePending);

    // Alt+N steps to the next playlist.
    m.Form_KeyDown('N', 4);
    EXPECT_EQ(m.cmbPlaylists->currentIndex(), 1);
    EXPECT_EQ(artists(), QStringList({"X"}));

    // While the window is hidden in the tray the letters are no shortcuts.
    m.WindowShown = false;
    m.Form_KeyDown('P', 0);
    EXPECT_NE(player().PlayState(), veltra::MediaPlayerControl::State::Playing);
}

// The lock disables whole submenus (Jump, Playlists): their items' keys do nothing, though
// the items themselves stay enabled.
TEST_F(ListTest, KeysOfItemsInADisabledMenuDoNothingWhileLocked)
{
    for (const char* name : {"One", "Two", "Three"}) playlistFile(QString::fromLatin1(name), {QString::fromLatin1(name)});
    startDefault();
    FrmMain& m = main();
    m.cmbPlaylists->setCurrentIndex(m.cmbPlaylists->findText(QStringLiteral("Two")));
    ASSERT_EQ(artists(), QStringList{"Two"});
    m.tmrWindowUpdate_Timer();
    m.mnuLockPlaylist_Click();
    ASSERT_TRUE(m.mnuJumpToNextPlaylist->isEnabled() && m.mnuJumpToMedia->isEnabled());
    for (const auto& [qtKey, modifiers] : {std::pair{Qt::Key_N, Qt::AltModifier}, {Qt::Key_V, Qt::AltModifier},
                                           {Qt::Key_M, Qt::AltModifier}, {Qt::Key_J, Qt::NoModifier}}) {
        key(&m, qtKey, modifiers);
        EXPECT_EQ(m.cmbPlaylists->currentText(), QStringLiteral("Two")) << qtKey;
        EXPECT_EQ(artists(), QStringList{"Two"}) << qtKey;
    }
    EXPECT_EQ(ui.count(QStringLiteral("modal")), 0);   // no Jump To Media
}

TEST_F(ListTest, KeysForwardedByOtherWindowsUseTheirOwnCodes)
{
    startDefault();
    FrmMain& m = main();
    addRow(QStringLiteral("A"), QStringLiteral("T"));
    addRow(QStringLiteral("B"), QStringLiteral("U"));
    controls_SelectItem(rows(), 2);
    m.tmrWindowUpdate_Timer();
    // Alt+Up arrives as Qt's key number or as the classic one; both reach Move Up's item.
    int ran = 0;
    QObject::connect(m.mnuSelectedMoveUp, &QAction::triggered, [&] { ++ran; });
    m.Form_KeyDown(Qt::Key_Up, 4);
    m.Form_KeyDown(38, 4);
    EXPECT_EQ(ran, 2);
    m.mnuSelectedMoveUp->setEnabled(false);
    m.Form_KeyDown(38, 4);
    EXPECT_EQ(ran, 2);
}

// ---- moving rows by dragging ----------------------------------------------------------------------------

TEST_F(ListTest, DraggingRowFiveOntoRowTwoMovesItThere)
{
    startDefault();
    FrmMain& m = main();
    sixRows();
    controls_SelectItem(rows(), 5);
    m.lstvPlaylist_OLEStartDrag();
    EXPECT_TRUE(m.IsDraggingRow);
    m.lstvPlaylist_RowDrop(2);
    EXPECT_EQ(artists(), QStringList({"A", "E", "B", "C", "D", "F"}));
    EXPECT_EQ(numbers(), QStringList({"01", "02", "03", "04", "05", "06"}));
    EXPECT_EQ(rows().selectedRows(), QList<int>({2}));
    EXPECT_FALSE(m.IsDraggingRow);

    controls_SelectItem(rows(), 2);   // E back down onto row 5
    m.lstvPlaylist_OLEStartDrag();
    m.lstvPlaylist_RowDrop(5);
    EXPECT_EQ(artists(), QStringList({"A", "B", "C", "D", "E", "F"}));
    EXPECT_EQ(rows().selectedRows(), QList<int>({5}));

    // Below the last row: to the end.
    controls_SelectItem(rows(), 1);
    m.lstvPlaylist_OLEStartDrag();
    m.lstvPlaylist_RowDrop(0);
    EXPECT_EQ(artists(), QStringList({"B", "C", "D", "E", "F", "A"}));

    // Onto itself: nothing moves, the numbers are rewritten.
    rows().setText(3, QStringLiteral("x"));
    controls_SelectItem(rows(), 3);
    m.lstvPlaylist_OLEStartDrag();
    m.lstvPlaylist_RowDrop(3);
    EXPECT_EQ(artists(), QStringList({"B", "C", "D", "E", "F", "A"}));
    EXPECT_EQ(rows().text(3), QStringLiteral("03"));
}

TEST_F(ListTest, PlayingRowAndPlayNextMarkFollowDraggedRows)
{
    startDefault();
    FrmMain& m = main();
    sixRows();
    playRow(3);   // C
    m.tmrPosition_Timer();
    controls_SelectItem(rows(), 6);
    m.mnuPlayNext_Click();   // F
    ASSERT_EQ(m.PlayNextIndex, 6);

    controls_SelectItem(rows(), 5);
    m.lstvPlaylist_OLEStartDrag();
    m.lstvPlaylist_RowDrop(2);
    EXPECT_EQ(artists(), QStringList({"A", "E", "B", "C", "D", "F"}));
    EXPECT_EQ(m.CurrentTrack, 4);
    EXPECT_EQ(rows().selectedItem(), 4);   // the playing row is selected again
    EXPECT_EQ(m.PlayNextIndex, 6);

    controls_SelectItem(rows(), 6);
    m.lstvPlaylist_OLEStartDrag();
    m.lstvPlaylist_RowDrop(1);
    EXPECT_EQ(artists(), QStringList({"F", "A", "E", "B", "C", "D"}));
    EXPECT_EQ(m.PlayNextIndex, 1);
    EXPECT_EQ(m.CurrentTrack, 5);
    EXPECT_EQ(rows().subItem(m.CurrentTrack, PlaylistColumn::Artist), QStringLiteral("C"));

    // The next track comes from the mark that moved with its row.
    m.player_NextTrack();
    EXPECT_EQ(player().FileName(), rows().subItem(1, PlaylistColumn::Filename));
}

TEST_F(ListTest, EveryEndOfADragRestoresTheListAndFilesAreNeverARowMove)
{
    startDefault();
    FrmMain& m = main();
    sixRows();
    m.mnuSortViaAcending_Click();
    m.mnuSortByArtist_Click();
    ASSERT_TRUE(rows().sorted());

    // A drop in a sorted list: sorting comes back on, so the order is the sort's.
    controls_SelectItem(rows(), 5);
    m.lstvPlaylist_OLEStartDrag();
    m.lstvPlaylist_RowDrop(2);
    EXPECT_TRUE(rows().sorted());
    EXPECT_EQ(artists(), QStringList({"A", "B", "C", "D", "E", "F"}));

    // A drag that ends anywhere else leaves no drag and no unsorted list behind.
    controls_SelectItem(rows(), 2);
    m.lstvPlaylist_OLEStartDrag();
    rows().setSorted(false);
    m.lstvPlaylist_OLECompleteDrag();
    EXPECT_FALSE(m.IsDraggingRow);
    EXPECT_TRUE(rows().sorted());

    // A file dropped from the file manager after a drag that left its flag behind is added.
    m.resize(600, 400);
    m.show();
    processEvents(20);
    QWidget* viewport = m.lstvPlaylist->viewport();
    auto drop = [&](QMimeData* mime, Qt::DropAction action) {
        QDragEnterEvent enter(QPoint(5, 5), action, mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &enter);
        QDropEvent dropped(QPointF(5, 5), action, mime, Qt::LeftButton, Qt::NoModifier, QEvent::Drop);
        QCoreApplication::sendEvent(viewport, &dropped);
        delete mime;
    };
    m.mnuDontSort_Click();
    m.IsDraggingRow = true;
    const QString file = song(QStringLiteral("Dropped"));
    auto* urls = new QMimeData;
    urls->setUrls({QUrl::fromLocalFile(file)});
    drop(urls, Qt::CopyAction);
    EXPECT_FALSE(m.IsDraggingRow);
    EXPECT_EQ(rows().count(), 7);
    EXPECT_EQ(rows().subItem(7, PlaylistColumn::Filename), file);
    EXPECT_EQ(artists().mid(0, 6), QStringList({"A", "B", "C", "D", "E", "F"}));

    // A row dragged in from elsewhere without a drag of our own moves nothing.
    auto* row = new QMimeData;
    row->setData(QStringLiteral("application/x-veltra-playlist-row"), "1");
    drop(row, Qt::MoveAction);
    EXPECT_EQ(rows().count(), 7);
    EXPECT_EQ(artists().mid(0, 6), QStringList({"A", "B", "C", "D", "E", "F"}));
}

// The playlist only refers to dropped files: it answers a copy (or a link), never a move, so
// a file manager that was told its files moved never deletes them.
TEST_F(ListTest, DroppedFilesAreTakenAsACopyNeverAsAMove)
{
    startDefault();
    FrmMain& m = main();
    m.resize(600, 400);
    m.show();
    processEvents(20);
    QWidget* viewport = m.lstvPlaylist->viewport();
    const QString file = song(QStringLiteral("Dropped"));
    struct Case {
        Qt::DropActions offered;
        Qt::KeyboardModifiers keys;
        Qt::DropAction answer;
        int rows;
    };
    const Case cases[] = {
        {Qt::CopyAction | Qt::MoveAction, Qt::ShiftModifier, Qt::CopyAction, 1},   // Shift asks for a move
        {Qt::MoveAction | Qt::LinkAction, Qt::NoModifier, Qt::LinkAction, 2},
        {Qt::MoveAction, Qt::NoModifier, Qt::IgnoreAction, 2},                      // only a move: refused
    };
    for (const Case& c : cases) {
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(file)});
        QDragEnterEvent enter(QPoint(5, 5), c.offered, &mime, Qt::LeftButton, c.keys);
        QCoreApplication::sendEvent(viewport, &enter);
        QDropEvent dropped(QPointF(5, 5), c.offered, &mime, Qt::LeftButton, c.keys, QEvent::Drop);
        QCoreApplication::sendEvent(viewport, &dropped);
        EXPECT_EQ(enter.isAccepted() ? enter.dropAction() : Qt::IgnoreAction, c.answer) << int(c.offered);
        EXPECT_EQ(dropped.isAccepted() ? dropped.dropAction() : Qt::IgnoreAction, c.answer) << int(c.offered);
        EXPECT_EQ(rows().count(), c.rows) << int(c.offered);
    }
    EXPECT_TRUE(QFile::exists(file));
}

TEST_F(ListTest, APressAndMoveOnARowDragsThatRowAndTheDragAlwaysEnds)
{
    startDefault();
    FrmMain& m = main();
    sixRows();
    m.mnuSortViaAcending_Click();
    m.resize(700, 500);
    m.show();
    processEvents(20);
    QWidget* viewport = m.lstvPlaylist->viewport();
    const QPoint row5 = m.lstvPlaylist->visualRect(rows().index(4, 1)).center();
    const QPoint row6 = m.lstvPlaylist->visualRect(rows().index(5, 1)).center();
    ASSERT_GE((row6 - row5).manhattanLength(), QApplication::startDragDistance());
    auto mouse = [&](QEvent::Type type, QPoint at, Qt::MouseButtons held) {
        QMouseEvent e(type, QPointF(at), QPointF(viewport->mapToGlobal(at)), Qt::LeftButton, held, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &e);
    };
    mouse(QEvent::MouseButtonPress, row5, Qt::LeftButton);
    ASSERT_EQ(rows().selectedItem(), 5);
    rows().setSorted(false);   // as a move under way leaves it
    // The drag starts here; without a drop target it ends at once, and the end is handled.
    mouse(QEvent::MouseMove, row6, Qt::LeftButton);
    EXPECT_FALSE(m.IsDraggingRow);
    EXPECT_TRUE(rows().sorted());
    EXPECT_EQ(rows().selectedRows(), QList<int>({5}));   // the list did not select along the way
    EXPECT_EQ(artists(), QStringList({"A", "B", "C", "D", "E", "F"}));
}

// ---- pop-ups ---------------------------------------------------------------------------------------------

TEST_F(ListTest, RightButtonAndMenuKeyOpenTheRightMenu)
{
    startDefault();
    FrmMain& m = main();
    FrmMenus& p = menus();
    m.tmrMenuText->start();

    // An empty list offers only the adding and opening items of the File menu.
    const int allVisible = int(visibleIn(m.mnuFile).size());
    m.lstvPlaylist_MouseDown(2, 0, QPoint(5, 5));
    ASSERT_TRUE(m.mnuFile->isVisible());
    const QList<QAction*> shown = visibleIn(m.mnuFile);
    ASSERT_EQ(shown.size(), 6);
    EXPECT_EQ(shown[0], m.mnuAddFiles);
    EXPECT_EQ(shown[3], m.mnuAddDirectory);
    EXPECT_TRUE(shown[4]->isSeparator());
    EXPECT_EQ(shown[5], m.mnuOpenPlaylist);
    EXPECT_EQ(m.mnuFile->defaultAction(), m.mnuAddFiles);
    EXPECT_FALSE(m.tmrMenuText->isActive());
    m.mnuFile->hide();
    EXPECT_EQ(visibleIn(m.mnuFile).size(), allVisible);
    EXPECT_EQ(m.mnuFile->defaultAction(), nullptr);
    EXPECT_TRUE(m.tmrMenuText->isActive());
    EXPECT_TRUE(m.mnuOpenMood->menuAction()->isVisible());

    // With rows: the playlist's own menu, Play as its default item.
    addRow(QStringLiteral("A"), QStringLiteral("T"));
    m.lstvPlaylist_MouseDown(1, 0, QPoint(5, 5));
    EXPECT_FALSE(p.mnuRightMenu->isVisible());
    m.lstvPlaylist_MouseDown(2, 0, QPoint(5, 5));
    EXPECT_TRUE(p.mnuRightMenu->isVisible());
    EXPECT_EQ(p.mnuRightMenu->defaultAction(), p.mnuPlay2);
    p.mnuRightMenu->hide();
    key(m.lstvPlaylist, Qt::Key_Menu);
    EXPECT_TRUE(p.mnuRightMenu->isVisible());
    p.mnuRightMenu->hide();
}

TEST_F(ListTest, OptionsLabelOpensThePlaylistsMenuUnlessLocked)
{
    startDefault();
    FrmMain& m = main();
    m.lblOptions_MouseDown(2, 0, 1, 1);
    EXPECT_FALSE(m.mnuPlaylists->isVisible());
    m.lblOptions_MouseDown(1, 0, 1, 1);
    EXPECT_TRUE(m.mnuPlaylists->isVisible());
    m.mnuPlaylists->hide();
    addRow(QStringLiteral("A"), QStringLiteral("T"));
    m.mnuLockPlaylist_Click();
    m.lblOptions_MouseDown(1, 0, 1, 1);
    EXPECT_FALSE(m.mnuPlaylists->isVisible());
}

TEST_F(ListTest, RightMenuQueueItemsWriteTheStatusOfRows)
{
    startDefault();
    FrmMenus& p = menus();
    sixRows();
    rows().clearSelection();
    rows().setSelected(2, true);
    rows().setSelected(4, true);
    p.mnuSkipOnce->trigger();
    QStringList statuses;
    for (int r = 1; r <= 6; ++r) statuses.append(rows().subItem(r, PlaylistColumn::Status));
    EXPECT_EQ(statuses, QStringList({"Play", "Skip Once", "Play", "Skip Once", "Play", "Play"}));
    p.mnuSkipAll->trigger();
    for (int r = 1; r <= 6; ++r) EXPECT_EQ(rows().subItem(r, PlaylistColumn::Status), QStringLiteral("Skip"));
    p.mnuPlayAll->trigger();
    for (int r = 1; r <= 6; ++r) EXPECT_EQ(rows().subItem(r, PlaylistColumn::Status), QStringLiteral("Play"));
}

// ---- layout -------------------------------------------------------------------------------------------------

TEST_F(ListTest, ResizeLaysOutTheWindowInTwips)
{
    startDefault();
    FrmMain& m = main();
    m.resize(900, 520);
    m.show();
    processEvents(20);
    ListView& list = *m.lstvPlaylist;
    int others = 0;
    for (int c = 0; c < 6; ++c) others += list.columnWidth(c);
    EXPECT_EQ(list.width(), m.picClient->width());
    double othersTwips = 0;
    for (int c = 0; c < 6; ++c) othersTwips += list.columnWidthTwips(c);
    EXPECT_EQ(list.columnWidth(6), vb::TwipsToPixels(vb::PixelsToTwips(list.width()) - othersTwips - 360));
    EXPECT_EQ(m.cmbPlaylists->width(), m.cbToolbar->width() - m.cmbPlaylists->x() - m.uspControls->x() - m.lblOptions->width() - 36);
    EXPECT_EQ(m.lblOptions->x(), m.cmbPlaylists->x() + m.cmbPlaylists->width() + 8);
    EXPECT_EQ(m.sbPanel[0]->minimumWidth(), m.frameGeometry().width() - 130 - 130 - 28);
    EXPECT_EQ(m.sbStatusBar->y() + m.sbStatusBar->height(), m.picClient->height());
    EXPECT_EQ(list.y() + list.height(), m.sbStatusBar->y());

    // Without the status bar the list reaches the bottom.
    m.mnuShowStatusBar->setChecked(false);
    m.sbStatusBar->hide();
    m.Form_Resize();
    EXPECT_EQ(list.y() + list.height(), m.picClient->height());

    // With the Filename column off it is 0 wide and the others keep their widths.
    m.mnuShowFilenamesColumn->setChecked(false);
    m.resize(700, 520);
    processEvents(20);
    EXPECT_EQ(list.columnWidth(6), 0);
    int after = 0;
    for (int c = 0; c < 6; ++c) after += list.columnWidth(c);
    EXPECT_EQ(after, others);

    // Narrower than the columns: column 7 is left alone, the rest still runs.
    m.mnuShowFilenamesColumn->setChecked(true);
    list.setColumnWidth(6, 50);
    m.resize(300, 520);
    processEvents(20);
    EXPECT_EQ(list.columnWidth(6), 50);
    EXPECT_EQ(list.width(), m.picClient->width());

    // Not laid out while the window is being set up.
    m.LayoutReady = false;
    list.resize(10, 10);
    m.Form_Resize();
    EXPECT_EQ(list.width(), 10);
}

// ---- sliders --------------------------------------------------------------------------------------------------

TEST_F(ListTest, SlidersActOnThePlayerOnlyWhenTheUserMovesThem)
{
    startDefault();
    FrmMain& m = main();
    FrmVideo& video = forms().get<FrmVideo>();
    addRow(QStringLiteral("A"), QStringLiteral("T"));
    playRow(1);
    m.tmrPosition_Timer();

    m.sldVolume->setValue(30);
    m.sldVolume_Change();
    EXPECT_EQ(player().Volume(), 30 * 60 - 6000);
    EXPECT_EQ(video.qxsVolume->value(), 30);
    m.sldBalance->setValue(80);
    m.sldBalance_Change();
    EXPECT_EQ(player().Balance(), 3000);
    EXPECT_EQ(video.qxsBalance->value(), 80);

    // A move of the user's (a step of the slider) follows once the slider has its value.
    m.sldVolume->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    processEvents();
    EXPECT_EQ(player().Volume(), 31 * 60 - 6000);
    EXPECT_EQ(video.qxsVolume->value(), 31);

    m.sldPosition->setValue(42);
    m.sldPosition_Change();
    EXPECT_EQ(player().CurrentPosition(), 42.0);

    // The timer's own updates of the slider do not seek.
    player().history.clear();
    player().setCurrentPosition(60);
    player().history.clear();
    m.tmrPosition_Timer();
    processEvents();
    EXPECT_EQ(m.sldPosition->value(), 60);
    EXPECT_TRUE(player().history.isEmpty());

    // The keyboard does not move them.
    const int before = m.sldVolume->value();
    key(m.sldVolume, Qt::Key_Right);
    key(m.sldVolume, Qt::Key_PageUp);
    EXPECT_EQ(m.sldVolume->value(), before);
}

// ---- next and previous playlist -----------------------------------------------------------------------------

TEST_F(ListTest, NextAndPreviousPlaylistStepThroughTheBoxWithoutWrapping)
{
    playlistFile(QStringLiteral("Alpha"), {QStringLiteral("A1"), QStringLiteral("A2")});
    playlistFile(QStringLiteral("Beta"), {QStringLiteral("B1"), QStringLiteral("B2"), QStringLiteral("B3")});
    startDefault();
    FrmMain& m = main();
    ASSERT_EQ(m.cmbPlaylists->count(), 3);
    m.RandomHistoryCount = 2;

    m.player_NextPlaylist(false);
    EXPECT_EQ(m.cmbPlaylists->currentText(), QStringLiteral("Alpha"));
    EXPECT_EQ(artists(), QStringList({"A1", "A2"}));
    EXPECT_EQ(m.CurrentTrack, 1);
    EXPECT_EQ(rows().selectedRows(), QList<int>({1}));
    EXPECT_EQ(player().FileName(), rows().subItem(1, PlaylistColumn::Filename));
    EXPECT_NE(player().PlayState(), veltra::MediaPlayerControl::State::Playing);   // PlayPlaylistsOnSkip is off
    EXPECT_EQ(m.RandomHistoryCount, 0);

    m.tbToolbar_ButtonClick(QStringLiteral("NextPlaylist"));
    EXPECT_EQ(m.cmbPlaylists->currentText(), QStringLiteral("Beta"));
    EXPECT_EQ(artists(), QStringList({"B1", "B2", "B3"}));

    // The last playlist: nothing at all happens.
    controls_SelectItem(rows(), 2);
    player().history.clear();
    m.player_NextPlaylist(true);
    EXPECT_EQ(m.cmbPlaylists->currentText(), QStringLiteral("Beta"));
    EXPECT_EQ(rows().selectedItem(), 2);
    EXPECT_TRUE(player().history.isEmpty());

    // Backwards through the list: the last row of the new playlist, and play now.
    m.mnuWorkBackwardsThroughPlaylist_Click();
    m.player_PreviousPlaylist(true);
    EXPECT_EQ(m.cmbPlaylists->currentText(), QStringLiteral("Alpha"));
    EXPECT_EQ(m.CurrentTrack, 2);
    EXPECT_EQ(player().FileName(), rows().subItem(2, PlaylistColumn::Filename));
    EXPECT_EQ(player().PlayState(), veltra::MediaPlayerControl::State::Playing);

    // The first playlist: previous does nothing, also from the toolbar.
    m.tbToolbar_ButtonClick(QStringLiteral("PreviousPlaylist"));
    EXPECT_EQ(m.cmbPlaylists->currentText(), QStringLiteral("Alpha"));

    // PlayPlaylistsOnSkip starts the song after a switch by the toolbar.
    m.mnuStop_Click();
    settings_WriteValue(QStringLiteral("Settings"), QStringLiteral("PlayPlaylistsOnSkip"), QStringLiteral("1"));
    m.mnuWorkForwardThroughList_Click();
    m.tbToolbar_ButtonClick(QStringLiteral("NextPlaylist"));
    EXPECT_EQ(m.cmbPlaylists->currentText(), QStringLiteral("Beta"));
    EXPECT_EQ(player().FileName(), rows().subItem(1, PlaylistColumn::Filename));
    EXPECT_EQ(player().PlayState(), veltra::MediaPlayerControl::State::Playing);
}

TEST_F(ListTest, SwitchingToAnEmptyPlaylistOnlyResetsTheRandomHistory)
{
    writeFile(QStringLiteral("Playlists/Empty.spp"), QByteArray());
    startDefault();
    FrmMain& m = main();
    m.RandomHistoryCount = 3;
    m.CurrentTrack = 0;
    m.player_NextPlaylist(false);
    EXPECT_EQ(m.cmbPlaylists->currentText(), QStringLiteral("Empty"));
    EXPECT_EQ(rows().count(), 0);
    EXPECT_EQ(m.RandomHistoryCount, 0);
    EXPECT_TRUE(player().history.filter(QStringLiteral("FileName=")).isEmpty());
}
