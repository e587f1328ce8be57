// The playlist's own events: a header click sorts, a double click or Enter plays, Left and
// Right step through the rows, the right button or the menu key opens a pop-up, and a row
// dragged within the list moves.
#include "mainwindow/FrmMain.h"

#include "common/ListView.h"
#include "common/PlaylistRow.h"
#include "common/modControls.h"
#include "mainwindow/FrmMenus.h"
#include "startup/Forms.h"

#include <QAction>
#include <QDrag>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QTimer>
#include <memory>

namespace {
// What a row dragged inside the list carries; files from the file manager carry URLs.
const QString kRowFormat = QStringLiteral("application/x-veltra-playlist-row");
} // namespace

// ---- sorting -----------------------------------------------------------------------------------------

void FrmMain::lstvPlaylist_ColumnClick(int column)
{
    // `column` counts the headers from 1; "No." and "Status:" do not sort.
    const int k = column - 1;
    if (k < PlaylistColumn::Artist || k > PlaylistColumn::Filename || k == PlaylistColumn::Status) return;
    if (mnuDontSort->isChecked()) mnuSortViaAcending_Click();
    else if (mnuSortViaAcending->isChecked()) mnuSortViaDecending_Click();
    else mnuSortViaAcending_Click();
    switch (k) {
    case PlaylistColumn::Artist: mnuSortByArtist_Click(); break;
    case PlaylistColumn::Title: mnuSortByTitle_Click(); break;
    case PlaylistColumn::Year: mnuSortByYear_Click(); break;
    case PlaylistColumn::Length: mnuSortByLength_Click(); break;
    case PlaylistColumn::Filename: mnuSortByFilename_Click(); break;
    default: break;
    }
}

// ---- playing -----------------------------------------------------------------------------------------

void FrmMain::lstvPlaylist_DblClick()
{
    if (rows().count() == 0 || !controls_HasSelectedItem(rows())) return;
    if (ResumePending) mnuStop_Click();
    mnuPlay_Click();
}

bool FrmMain::lstvPlaylist_KeyDown(int keyCode, int)
{
    ListViewModel& list = rows();
    switch (keyCode) {
    case 39:
    case 37: {
        const int n = list.count();
        const int selected = list.selectedItem();
        if (n > 0 && selected >= 1) {
            int next = keyCode == 39 ? selected + 1 : selected - 1;
            if (next > n) next = 1;
            if (next < 1) next = n;
            controls_SelectItem(list, next);
        }
        return true;
    }
    case 13:
        lstvPlaylist_DblClick();
        return true;
    case 93: {
        const QPoint corner = picClient->mapToGlobal(lstvPlaylist->pos());
        if (list.count() > 0) forms().get<FrmMenus>().mnuRightMenu->popup(corner);
        else popupFileMenu(corner);
        return true;
    }
    default: return false;
    }
}

// ---- pop-ups ---------------------------------------------------------------------------------------------

void FrmMain::lstvPlaylist_MouseDown(int button, int, const QPoint& viewportPos)
{
    if (button != 2) return;   // the right button alone
    const QPoint at = lstvPlaylist->viewport()->mapToGlobal(viewportPos);
    if (rows().count() > 0) forms().get<FrmMenus>().mnuRightMenu->popup(at);
    else popupFileMenu(at);
}

void FrmMain::popupFileMenu(const QPoint& globalPos)
{
    // An empty playlist offers the File menu's adding and opening items only.
    const bool helpWasOn = tmrMenuText->isActive();
    tmrMenuText->stop();
    const QList<QAction*> all = mnuFile->actions();
    const qsizetype lastAdd = all.indexOf(mnuAddDirectory);
    QList<QAction*> kept = {mnuAddFiles, mnuAddPlaylist, mnuAddLocation, mnuAddDirectory, mnuOpenPlaylist};
    if (lastAdd >= 0 && lastAdd + 1 < all.size()) kept.append(all[lastAdd + 1]);
    QList<QAction*> hidden;
    for (QAction* a : all)
        if (a->isVisible() && !kept.contains(a)) {
            a->setVisible(false);
            hidden.append(a);
        }
    mnuFile->setDefaultAction(mnuAddFiles);

    auto link = std::make_shared<QMetaObject::Connection>();
    *link = connect(mnuFile, &QMenu::aboutToHide, this, [this, hidden, helpWasOn, link] {
        disconnect(*link);
        for (QAction* a : hidden) a->setVisible(true);
        mnuFile->setDefaultAction(nullptr);
        if (helpWasOn) tmrMenuText->start();
        window_SetMenuImages();
    });
    mnuFile->popup(globalPos);
}

// ---- moving a row by dragging ----------------------------------------------------------------------

void FrmMain::lstvPlaylist_OLEStartDrag()
{
    IsDraggingRow = true;
    DraggedItem = rows().rowKey(rows().selectedItem());
}

void FrmMain::lstvPlaylist_RowDrop(int targetRow)
{
    if (!IsDraggingRow) return;
    ListViewModel& list = rows();
    const bool sorting = !mnuDontSort->isChecked();
    if (sorting) list.setSorted(false);
    const int dragged = list.rowOfKey(DraggedItem);
    if (dragged >= 1) {
        const int n = list.count();
        // A drop below the last row moves the row to the end.
        const int target = targetRow >= 1 && targetRow <= n ? targetRow : n;
        if (target != dragged) {
            list.moveRows(QList<int>{dragged}, target < dragged ? target : target + 1);
            controls_SelectItem(list, list.rowOfKey(DraggedItem));
        }
    }
    if (sorting) list.setSorted(true);
    controls_RenumberItems(list);
    IsDraggingRow = false;
    DraggedItem = 0;
    mnuJumpToCurrentlyPlaying_Click();
}

void FrmMain::lstvPlaylist_OLECompleteDrag()
{
    // However the drag ended, the list is not left in the middle of a move.
    IsDraggingRow = false;
    DraggedItem = 0;
    if (!mnuDontSort->isChecked() && !rows().sorted()) rows().setSorted(true);
}

void FrmMain::startRowDrag()
{
    lstvPlaylist_OLEStartDrag();
    auto* mime = new QMimeData;
    mime->setData(kRowFormat, QByteArray::number(DraggedItem));
    auto* drag = new QDrag(lstvPlaylist);
    drag->setMimeData(mime);
    drag->exec(Qt::MoveAction);
    lstvPlaylist_OLECompleteDrag();
}

bool FrmMain::rowDragEvent(QDropEvent* event)
{
    const QMimeData* mime = event->mimeData();
    if (!mime->hasFormat(kRowFormat)) {
        // Files from the file manager are never a row move, whatever a drag left behind.
        if (IsDraggingRow && mime->hasUrls()) lstvPlaylist_OLECompleteDrag();
        return false;
    }
    if (!IsDraggingRow || event->source() != lstvPlaylist) {
        event->ignore();
        return true;
    }
    event->setDropAction(Qt::MoveAction);
    event->accept();
    if (event->type() == QEvent::Drop) lstvPlaylist_RowDrop(lstvPlaylist->hitTest(event->position().toPoint()));
    return true;
}
