// The CD player as a window: its view switches, layout, keys, and the list's own events.
#include "extras/FrmCDPlayer.h"

#include "common/ListView.h"
#include "common/modControls.h"
#include "common/modSettings.h"
#include "common/modVB.h"
#include "common/modWindows.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMouseEvent>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

namespace {
const QString kSettings = QStringLiteral("CDSettings");

// The classic key number of a Qt key, for the keys this window knows; 0 for others.
int keyCodeOf(int key)
{
    if (key >= 'a' && key <= 'z') return key - 'a' + 'A';
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) return key;
    if (key == Qt::Key_Return || key == Qt::Key_Enter) return 13;
    if (key == Qt::Key_Menu) return 93;
    return 0;
}

int shiftOf(Qt::KeyboardModifiers m)
{
    return (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) | (m & Qt::AltModifier ? 4 : 0);
}
} // namespace

// ---- view switches ----------------------------------------------------------------------------------

void FrmCDPlayer::mnuAlwaysOnTop_Click()
{
    const bool on = !mnuAlwaysOnTop->isChecked();
    mnuAlwaysOnTop->setChecked(on);
    windows_SetAlwaysOnTop(this, on);
    settings_WriteFlag(kSettings, QStringLiteral("AlwaysOnTop"), on);
}

void FrmCDPlayer::mnuShowTimeElapsed_Click()
{
    mnuShowTimeElapsed->setChecked(true);
    mnuShowTimeRemaining->setChecked(false);
    settings_WriteValue(kSettings, QStringLiteral("ShowTimeElapsed"), QStringLiteral("1"));
    settings_WriteValue(kSettings, QStringLiteral("ShowTimeRemaining"), QStringLiteral("0"));
}

void FrmCDPlayer::mnuShowTimeRemaining_Click()
{
    mnuShowTimeElapsed->setChecked(false);
    mnuShowTimeRemaining->setChecked(true);
    settings_WriteValue(kSettings, QStringLiteral("ShowTimeElapsed"), QStringLiteral("0"));
    settings_WriteValue(kSettings, QStringLiteral("ShowTimeRemaining"), QStringLiteral("1"));
}

void FrmCDPlayer::applyToolbar(bool shown)
{
    // Both bands go together: hiding the toolbar hides the position slider too.
    cbToolbar->setVisible(shown);
    cbControls->setVisible(shown);
    if (shown) {
        cbToolbar->move(0, 0);
        lstvPlaylist->move(0, cbToolbar->sizeHint().height() + cbControls->sizeHint().height());
    } else {
        lstvPlaylist->move(0, 0);
    }
}

void FrmCDPlayer::mnuShowToolbar_Click()
{
    const bool on = !mnuShowToolbar->isChecked();
    mnuShowToolbar->setChecked(on);
    applyToolbar(on);
    settings_WriteFlag(kSettings, QStringLiteral("ShowToolbar"), on);
    Form_Resize();
}

void FrmCDPlayer::mnuShowStatusBar_Click()
{
    const bool on = !mnuShowStatusBar->isChecked();
    mnuShowStatusBar->setChecked(on);
    sbStatusBar->setVisible(on);
    settings_WriteFlag(kSettings, QStringLiteral("ShowStatusBar"), on);
    Form_Resize();
}

void FrmCDPlayer::mnuShowPlaylistHeaders_Click()
{
    const bool on = !mnuShowPlaylistHeaders->isChecked();
    mnuShowPlaylistHeaders->setChecked(on);
    lstvPlaylist->setHideColumnHeaders(!on);
    settings_WriteFlag(kSettings, QStringLiteral("ShowPlaylistHeaders"), on);
    Form_Resize();
}

void FrmCDPlayer::mnuReCenterWindow_Click()
{
    windows_ReCenterForm(this, PositionMargin);
    windows_SavePosition(this, QString::fromLatin1(PositionName), PositionMargin);
}

// ---- layout, keys and the list ---------------------------------------------------------------------

void FrmCDPlayer::Form_Resize()
{
    controls_PlaceBars(picClient, {cbToolbar, cbControls}, sbStatusBar);
    if (!WindowLoaded) return;   // minimised too: see FrmMain::Form_Resize
    const int width = picClient->width();

    using vb::PixelsToTwips;
    using vb::TwipsToPixels;
    const double inner = PixelsToTwips(picClient->height());
    const double listTop = PixelsToTwips(lstvPlaylist->y());
    const double height = mnuShowStatusBar->isChecked() ? inner - listTop - PixelsToTwips(sbStatusBar->height()) : inner - listTop;
    lstvPlaylist->resize(width, height >= 0 ? TwipsToPixels(height) : lstvPlaylist->height());
    const double title = PixelsToTwips(lstvPlaylist->width()) - lstvPlaylist->columnWidthTwips(0) - lstvPlaylist->columnWidthTwips(2) - 360;
    if (title >= 0) lstvPlaylist->setColumnWidthTwips(1, title);

    const double margin = isMaximized() ? 160 : 420;
    double panel1 = PixelsToTwips(frameGeometry().width()) - margin;
    for (int i = 1; i < 4; ++i) panel1 -= PixelsToTwips(sbPanel[i]->minimumWidth());
    if (panel1 >= 0) sbPanel[0]->setMinimumWidth(TwipsToPixels(panel1));
}

bool FrmCDPlayer::Form_KeyDown(int keyCode, int shift)
{
    // Ctrl alone leaves the letters to the menu shortcuts (Ctrl+P is Preferences).
    if (shift == 2) return false;
    QAction* item = nullptr;
    switch (keyCode) {
    case 'M': item = mnuRandom; break;
    case 'V': item = mnuPrevious; break;
    case 'P': item = mnuPlay; break;
    case 'U': item = mnuPause; break;
    case 'S': item = mnuStop; break;
    case 'N': item = mnuNext; break;
    case 'E': item = mnuEject; break;   // as its item's caption says
    default: return false;
    }
    if (item->isEnabled()) item->trigger();
    return true;
}

bool FrmCDPlayer::lstvPlaylist_KeyDown(int keyCode, int)
{
    if (keyCode == 13) {
        playSelected();
        return true;
    }
    if (keyCode == 93) {
        popupPlayback(lstvPlaylist->mapToGlobal(QPoint(0, 0)));
        return true;
    }
    return false;
}

void FrmCDPlayer::lstvPlaylist_DblClick() { playSelected(); }

void FrmCDPlayer::lstvPlaylist_MouseDown(int button, const QPoint& viewportPos)
{
    if (button == 2) popupPlayback(lstvPlaylist->viewport()->mapToGlobal(viewportPos));
}

void FrmCDPlayer::popupPlayback(const QPoint& globalPos)
{
    mnuPlayback->setDefaultAction(mnuPlay);
    mnuPlayback->popup(globalPos);
}

bool FrmCDPlayer::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        // The window sees its controls' keys first; a key the list passed on was seen already.
        if (watched == this && QApplication::focusWidget() == lstvPlaylist) return false;
        if (watched != this && watched != lstvPlaylist) return false;
        auto* k = static_cast<QKeyEvent*>(event);
        const int code = keyCodeOf(k->key());
        const int shift = shiftOf(k->modifiers());
        if (code && Form_KeyDown(code, shift)) return true;
        return watched == lstvPlaylist && code && lstvPlaylist_KeyDown(code, shift);
    }
    case QEvent::Resize:
        if (watched == picClient) Form_Resize();
        return false;
    case QEvent::MouseButtonPress: {
        auto* m = static_cast<QMouseEvent*>(event);
        if (watched == sldPosition) {
            sldPosition_MouseDown();
        } else if (watched == lstvPlaylist->viewport() && m->button() == Qt::RightButton) {
            // After the list has selected the row under the pointer.
            const QPoint p = m->position().toPoint();
            QTimer::singleShot(0, this, [this, p] { lstvPlaylist_MouseDown(2, p); });
        }
        return false;
    }
    case QEvent::MouseButtonRelease:
        // After the slider has taken the value it was let go at.
        if (watched == sldPosition) QTimer::singleShot(0, this, [this] { sldPosition_MouseUp(); });
        return false;
    case QEvent::MouseButtonDblClick:
        if (watched == lstvPlaylist->viewport() && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            QTimer::singleShot(0, this, [this] { lstvPlaylist_DblClick(); });
        return false;
    default:
        return QMainWindow::eventFilter(watched, event);
    }
}
