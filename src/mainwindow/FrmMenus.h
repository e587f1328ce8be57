#pragma once
// The hidden window that owns the pop-up menus and the hot-key labels.
#include <QWidget>

class QAction;
class QMenu;

class FrmMenus : public QWidget {
    Q_OBJECT
public:
    FrmMenus();

    // The tray icon's menu; its Open item is the default (bold) one.
    QMenu* mnuSystemTray;
    QAction* mnuOpen;

    // Brings the player back: the main window (or the mini window in mini mode), restored
    // from minimised or from the tray and put in front.
    void mnuOpen_Click();
};
