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
    QAction* mnuAbout;
    QAction* mnuAboutWindows;
    QAction* mnuPrevious;
    QAction* mnuRewind;
    QAction* mnuPlay;
    QAction* mnuPause;
    QAction* mnuStop;
    QAction* mnuRandom;
    QAction* mnuFastForward;
    QAction* mnuNextTrack;
    QAction* mnuNextTrackAdvanced;
    QAction* mnuOpen;
    QAction* mnuVolume;
    QAction* mnuExit;

    // The playlist's right-click menu; Play is its default item.
    QMenu* mnuRightMenu;
    QAction* mnuPlay2;
    QAction* mnuPlayNext;
    QAction* mnuRefresh;
    QMenu* mnuFind;
    QAction* mnuMoreOnThisArtist;
    QAction* mnuMoreOnThisYear;
    QAction* mnuJumpToMedia;
    QMenu* mnuQueue;
    QAction* mnuPlaySong;
    QAction* mnuPlayOnce;
    QAction* mnuSkip;
    QAction* mnuSkipOnce;
    QAction* mnuRemove;
    QAction* mnuPlayAll;
    QAction* mnuSkipAll;
    QAction* mnuAdvanced;
    QMenu* mnuOptions;
    QAction* mnuRemoveSelected;
    QAction* mnuSelectedCopyTAG;
    QAction* mnuRenameFilename;
    QAction* mnuSelectPlaying;
    QMenu* mnuSendTo;
    QMenu* mnuPlaylist;
    QAction* mnuUpdate;
    MenuArray* mnuItem;          // playlist names; element 0 "[None]"
    QMenu* mnuMode;
    QAction* mnuEditMoods;
    MenuArray* mnuSendToMood;    // mood names; element 0 "[Mood]"
    QAction* mnuResetMoods;
    QMenu* mnuSendToDrive;
    QAction* mnuUpdateDrives;
    MenuArray* mnuDriveLetter;   // drives; element 0 "[None]"
    QAction* mnuBookmarks;
    QAction* mnuStoreVolume;
    QAction* mnuProperties;

    // The mini-mode window's menu; Minimize is its default item.
    QMenu* mnuSystemMenu;
    QMenu* mnuWindow;
    QAction* mnuCustomise;
    QAction* mnuLockPosition;
    QAction* mnuAlwaysOnTop;
    QAction* mnuReturnToFullMode;
    QAction* mnuMinimize;

    // ---- the mini-mode window's commands, and the volume popup (FrmMenus_MiniMode.cpp) ----
    void mnuVolume_Click();
    void mnuCustomise_Click();
    void mnuLockPosition_Click();
    void mnuAlwaysOnTop_Click();
    void mnuReturnToFullMode_Click();
    void mnuMinimize_Click();

    // Rebuilds the Send To > Playlist names and the main window's playlist box from the
    // Playlists folder, keeping the playlist shown when its file is still there.
    void mnuUpdate_Click();

    // ---- Send To: playlists, moods and drives (FrmMenus_SendTo.cpp) ----
    // The Drive items afresh: one per volume songs can be copied to, its root folder kept as
    // the item's data.
    void window_RemoveDriveMenus();
    void window_InstallDrives();
    void mnuUpdateDrives_Click();
    // The selected rows copied to the drive, appended to the playlist, or added to the mood
    // of element `index`.
    void mnuDriveLetter_Click(int index);
    void mnuItem_Click(int index);
    void mnuSendToMood_Click(int index);

    // ---- the playlist menu's own commands and the pictures (FrmMenus_Right.cpp) ----
    // Pictures beside the tray menu's transport items and the playlist menu's Play item.
    void window_SetMenuImages();
    // Jump To Media opened on the selected row's artist, or year, with the results listed.
    void mnuMoreOnThisArtist_Click();
    void mnuMoreOnThisYear_Click();
    // The Advanced Queue dialog.
    void mnuAdvanced_Click();

    // Brings the player back: the main window (or the mini window in mini mode), restored
    // from minimised or from the tray and put in front.
    void mnuOpen_Click();

    // The play status written into the Status column of the selected rows, or of every row.
    void menus_SetSelectedPlayMode(const QString& status);
    void menus_SetAllPlayMode(const QString& status);
    // Artist and title of the selected rows, one line each, onto the clipboard.
    void mnuSelectedCopyTAG_Click();

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
    void connectSendTo();
    void moreOnThis(int column, int searchBy);
};
