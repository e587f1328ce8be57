#pragma once
// The hidden window that owns the pop-up menus and the hot-key labels.
#include <QWidget>

class QAction;
class QLabel;
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

    // The global hot keys' combinations, one hidden label per action (settings_LoadGlobalKeys).
    QLabel* lblMedia_PlayPause = hiddenLabel("lblMedia_PlayPause");
    QLabel* lblMedia_Stop = hiddenLabel("lblMedia_Stop");
    QLabel* lblMedia_Next = hiddenLabel("lblMedia_Next");
    QLabel* lblMedia_Previous = hiddenLabel("lblMedia_Previous");
    QLabel* lblMedia_Mute = hiddenLabel("lblMedia_Mute");
    QLabel* lblMedia_VolumeUp = hiddenLabel("lblMedia_VolumeUp");
    QLabel* lblMedia_VolumeDown = hiddenLabel("lblMedia_VolumeDown");

private:
    QLabel* hiddenLabel(const char* name);
};
