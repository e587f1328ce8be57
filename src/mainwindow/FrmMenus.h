#pragma once
// The hidden window that owns the pop-up menus and the hot-key labels.
#include <QWidget>

class MenuArray;
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

    // The playlist's right-click menu (least of it so far).
    QMenu* mnuRightMenu;
    QAction* mnuPlay2;
    QAction* mnuPlayNext;
    QMenu* mnuSendTo;
    QMenu* mnuPlaylist;
    MenuArray* mnuItem;          // playlist names; element 0 "[None]"
    QAction* mnuUpdate;
    QAction* mnuVolume;

    // Rebuilds the Send To > Playlist names from the Playlists folder.
    void mnuUpdate_Click();

    // The drive-letter menu of the file menus; nothing to list on this platform yet.
    void window_InstallDrives() {}

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
    // The remembered playlist name while start-up fills the playlist box.
    QLabel* lblPlaylist = hiddenLabel("lblPlaylist");

private:
    QLabel* hiddenLabel(const char* name);
};
