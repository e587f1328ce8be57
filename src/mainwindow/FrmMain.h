#pragma once
// The main window: the playlist (the rows of lstvPlaylist are the playlist), the player and
// its commands. Its handlers are split over several files, all in this folder:
//   FrmMain.cpp                      construction, the menu bar's table, controls
//   FrmMain_PlaylistRows.cpp         rows, tags into rows, dead and duplicate entries, the
//                                    playlist box, export, row colours
//   FrmMain_PlayerRoutines.cpp       playing a row, carrying out the next-track decision, stop,
//                                    the mode menus, the now-playing popup
// The rules of what plays next (modes, decision, random history) are PlaybackSequence's.
//   FrmMain_PlaybackMenu.cpp         transport commands, the Play Next mark, mode menus
//   FrmMain_Timers.cpp               position and status timer, window update timer, menu help
//   FrmMain_Layout.cpp               layout, keyboard, sliders, dynamic menus, playlist
//                                    switching, control enabling, shortcut texts
//   FrmMain_PlaylistEvents.cpp       the playlist's own events: header clicks, playing, keys,
//                                    popups, moving rows by dragging
//   FrmMain_GlobalHotKeys.cpp        the global hot keys
//   FrmMain_Closing.cpp              closing to the tray, leaving with the state saved
//   FrmMain_SortOrderAndLock.cpp     sort order and the playlist lock
//   FrmMain_OrganiseTools.cpp        opening the rename, move and tag tools
//   FrmMain_CdPlayerAndLibrary.cpp   opening the CD player and the media library
//   FrmMain_MoodEditing.cpp          editing and resetting moods
//   FrmMain_ViewSwitches.cpp         view and behaviour switches, font size, centring
//   FrmMain_WindowMenu.cpp           the other windows, mini mode, web pages, About
//   FrmMain_TagEditors.cpp           opening the tag editors and Edit Entry
//   FrmMain_CutCopyRemove.cpp        entry buffer, select all, crop, removing rows
//   FrmMain_MoveRows.cpp             moving rows up and down, shuffling
//   FrmMain_JumpMenu.cpp             the Jump submenu and its dialogs
//   FrmMain_AddSongs.cpp             Add Files, Add Directory, Add Location
//   FrmMain_FileMenuLists.cpp        recent files and playlists, bookmarks, moods
//   FrmMain_PlaylistFileCommands.cpp new, open, save, print, delete and switch playlists
//   FrmMain_GeneratePlaylists.cpp    playlists generated from the rows, random songs
//   FrmMain_PlaylistLooks.cpp        the playlist's font and colours
#include "player/PlaybackSequence.h"

#include <QMainWindow>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

class KeyStateSource;
class ListView;
class ListViewModel;
class MenuArray;
class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QSlider;
class QStatusBar;
class QDropEvent;
class QTimer;
class QToolBar;
class WaitWindow;
class clsID3v1;
class clsID3v2;

namespace veltra {
class MediaPlayerControl;
}

class FrmMain : public QMainWindow {
    Q_OBJECT
    // First of the members: the random history below lives in it.
    veltra::PlaybackSequence m_sequence;

public:
    FrmMain();
    ~FrmMain() override;

    // ---- state that several parts of the program read and write ----------------------------
    bool AppIsActive = false;
    bool LayoutReady = false;
    bool PlaylistComboReady = false;
    bool IsExiting = false;
    bool WasMaximized = false;   // maximised when it last went away: the tray, mini mode or a minimise
    bool WindowShown = false;
    int VolumeBeforeAdjust = -1;
    bool StatusBarBusy = false;
    QStringList& RandomHistory = m_sequence.history().names;   // entry 0 is always empty
    int& RandomHistoryCount = m_sequence.history().count;
    int& RandomHistoryCursor = m_sequence.history().cursor;
    int CurrentTrack = 0;         // the playing row (1-based); follows its row when rows move
    bool ResumePending = false;
    QString ResumeFilename;
    qint64 ResumePosition = 0;    // whole seconds
    // The player as the position timer last saw it (its own numbers, not the control's).
    enum class Playback { Playing = 0, Stopped = 1, Paused = 2 };
    Playback PlayerState = Playback::Stopped;
    // PlayerState, except in the moments after a start before the position timer has seen it:
    // where PlayerState still says stopped, the player's own state.
    Playback PlayerStateNow() const;
    int PlayNextIndex = 0;        // the row marked "Play Next"; follows its row; 0 for none
    QString NowPlayingInfo[3];    // artist, title, file name

    // ---- controls ------------------------------------------------------------------------
    QToolBar* cbToolbar = nullptr;
    QToolBar* tbToolbar = nullptr;
    QToolBar* cbControls = nullptr;
    QWidget* uspControls = nullptr;
    QComboBox* cmbPlaylists = nullptr;
    QLabel* lblOptions = nullptr;
    QSlider* sldPosition = nullptr;
    QSlider* sldVolume = nullptr;
    QSlider* sldBalance = nullptr;
    ListView* lstvPlaylist = nullptr;
    QWidget* picClient = nullptr;    // the window's inner area: bands, list and status bar
    QStatusBar* sbStatusBar = nullptr;
    QLabel* sbPanel[3] = {nullptr, nullptr, nullptr};   // status, song count, time
    QLabel* lblAlbum = nullptr;    // hidden: the album compared by shuffle by album
    QLabel* lblSearch = nullptr;
    QTimer* tmrPosition = nullptr;
    QTimer* tmrMenuText = nullptr;
    QTimer* tmrWindowUpdate = nullptr;
    QTimer* tmrSystemTrayDetect = nullptr;
    QTimer* tmrMediaKeys = nullptr;

    // The rows of the playlist.
    ListViewModel& rows() const;
    // The modes and the rules of what plays next; the mode menus' check marks follow it.
    veltra::PlaybackSequence& sequence() { return m_sequence; }
    // The one player of media files (hosted by the video window).
    veltra::MediaPlayerControl& wmpPlayer() const;
    // Status-bar panels, counted from 1.
    QString statusPanelText(int panel) const;
    void setStatusPanelText(int panel, const QString& text);
    // A toolbar button by its key ("Play", "Mute" ...).
    QAction* toolbarButton(const QString& key) const;
    void tbToolbar_ButtonClick(const QString& key);

    // ---- menu bar -------------------------------------------------------------------------
    QMenu* mnuFile = nullptr;
    QAction* mnuNew = nullptr;
    QAction* mnuAddFiles = nullptr;
    QAction* mnuAddPlaylist = nullptr;
    QAction* mnuAddLocation = nullptr;
    QAction* mnuAddDirectory = nullptr;
    QAction* mnuOpenPlaylist = nullptr;
    QMenu* mnuOpenMood = nullptr;
    QAction* mnuEditMoods = nullptr;
    MenuArray* mnuMoodOpen = nullptr;
    QAction* mnuResetMoods = nullptr;
    QMenu* mnuOpenBookmark = nullptr;
    QAction* mnuAddSelected = nullptr;
    QAction* mnuEditBookmarks = nullptr;
    MenuArray* mnuBookmark = nullptr;
    QAction* mnuClearBookmarks = nullptr;
    QAction* mnuSave = nullptr;
    QAction* mnuSavePlaylistAs = nullptr;
    QAction* mnuSaveAsDefault = nullptr;
    QAction* mnuPrint = nullptr;
    QMenu* mnuRecentMediaFiles = nullptr;
    MenuArray* mnuRecentMedia = nullptr;
    QMenu* mnuRecentPlaylists = nullptr;
    MenuArray* mnuRecentPlaylist = nullptr;
    QAction* mnuPreferences = nullptr;
    QAction* mnuExit = nullptr;
    QMenu* mnuPlayback = nullptr;
    QAction* mnuPrevious = nullptr;
    QAction* mnuRewind = nullptr;
    QAction* mnuPlay = nullptr;
    QAction* mnuPause = nullptr;
    QAction* mnuStop = nullptr;
    QAction* mnuRandom = nullptr;
    QAction* mnuFastForward = nullptr;
    QAction* mnuNextTrack = nullptr;
    QAction* mnuNextTrackAdvanced = nullptr;
    QMenu* mnuJump = nullptr;
    QAction* mnuJumpToTime = nullptr;
    QAction* mnuJumpToMedia = nullptr;
    QAction* mnuJumpToTrackNumber = nullptr;
    QAction* mnuJumpForward10Tracks = nullptr;
    QAction* mnuJumpForward5Tracks = nullptr;
    QAction* mnuJumpBack5Tracks = nullptr;
    QAction* mnuJumpBack10Tracks = nullptr;
    QAction* mnuJumpToCurrentlyPlaying = nullptr;
    QAction* mnuJumpToFirstTrack = nullptr;
    QAction* mnuJumpToMiddleTrack = nullptr;
    QAction* mnuJumpToLastTrack = nullptr;
    QAction* mnuJumpToPreviousPlaylist = nullptr;
    QAction* mnuJumpToRandomPlaylist = nullptr;
    QAction* mnuJumpToNextPlaylist = nullptr;
    QMenu* mnuOptions = nullptr;
    QAction* mnuPlayingShuffleByArtist = nullptr;
    QAction* mnuPlayingShuffleByAlbum = nullptr;
    QAction* mnuPlayingShuffleByYear = nullptr;
    QAction* mnuPlayingIntroduction = nullptr;
    QAction* mnuPlayingRepeat = nullptr;
    QAction* mnuPlayingRepeatOnce = nullptr;
    QAction* mnuPlayingStopAfterEnding = nullptr;
    QAction* mnuPlayingPickRandomSongs = nullptr;
    QAction* mnuPlayingGoThroughPlaylistNormally = nullptr;
    QAction* mnuWorkForwardThroughList = nullptr;
    QAction* mnuWorkBackwardsThroughPlaylist = nullptr;
    QAction* mnuPlaylistRepeat = nullptr;
    QAction* mnuPlaylistRepeatOnce = nullptr;
    QAction* mnuPlaylistStopAfterEnding = nullptr;
    QAction* mnuPlaylistPickRandomAfterEnding = nullptr;
    QAction* mnuPlaylistSwitchToNext = nullptr;
    QMenu* mnuSelected = nullptr;
    QAction* mnuPlayNext = nullptr;
    QAction* mnuStoreVolume = nullptr;
    QAction* mnuProperties = nullptr;
    QAction* mnuMute = nullptr;
    QMenu* mnuArrange = nullptr;
    QAction* mnuLockPlaylist = nullptr;
    QMenu* mnuEdit = nullptr;
    QAction* mnuCut = nullptr;
    QAction* mnuCopy = nullptr;
    QAction* mnuPaste = nullptr;
    QAction* mnuClear = nullptr;
    QAction* mnuSelectAll = nullptr;
    QMenu* mnuEntries = nullptr;
    QAction* mnuTagsShowTagsAsFilesAreAdded = nullptr;
    QAction* mnuTagsShowTagsAsFilesArePlayed = nullptr;
    QAction* mnuTagsUseID3v2Tags = nullptr;
    QAction* mnuPlaylistEditAllTags = nullptr;
    QAction* mnuPlaylistRefreshTags = nullptr;
    QAction* mnuPlaylistRenameAllFilenames = nullptr;
    QAction* mnuPlaylistMoveMusicToFolder = nullptr;
    QAction* mnuSelectedCrop = nullptr;
    QAction* mnuSelectedRenameFilename = nullptr;
    QAction* mnuRemoveSelected = nullptr;
    QAction* mnuRemoveAlDeadFilenames = nullptr;
    QAction* mnuRemoveDuplicateFilenames = nullptr;
    QAction* mnuRemovePhysicallyDeleteSelected = nullptr;
    QMenu* mnuPlaylists = nullptr;
    QMenu* mnuNewPlaylist = nullptr;
    QAction* mnuGeneratePlaylist = nullptr;
    QAction* mnuUseRandomSongsForPlaylist = nullptr;
    QAction* mnuManagePlaylists = nullptr;
    QAction* mnuRenameCurrentPlaylist = nullptr;
    QAction* mnuDeleteCurrentPlaylist = nullptr;
    QAction* mnuDeleteAllPlaylists = nullptr;
    QMenu* mnuDisplay = nullptr;
    QAction* mnuChangeAppearance = nullptr;
    QAction* mnuFontsizeIncrease = nullptr;
    QAction* mnuFontsizeDecrease = nullptr;
    QMenu* mnuSort = nullptr;
    QAction* mnuSortByArtist = nullptr;
    QAction* mnuSortByTitle = nullptr;
    QAction* mnuSortByYear = nullptr;
    QAction* mnuSortByLength = nullptr;
    QAction* mnuSortByFilename = nullptr;
    QAction* mnuSortViaAcending = nullptr;
    QAction* mnuSortViaDecending = nullptr;
    QAction* mnuDontSort = nullptr;
    QAction* mnuSelectedMoveUp = nullptr;
    QAction* mnuSelectedMoveDown = nullptr;
    QAction* mnuShuffleThePlaylist = nullptr;
    QAction* mnuOpenCDPlayer = nullptr;
    QAction* mnuOpenMediaLibrary = nullptr;
    QMenu* mnuWindow = nullptr;
    QAction* mnuAlwaysOnTop = nullptr;
    QAction* mnuHideInTheTaskManager = nullptr;
    QMenu* mnuAppearance = nullptr;
    QAction* mnuStatusBarShowTimeElapsed = nullptr;
    QAction* mnuStatusBarShowTimeRemaining = nullptr;
    QMenu* mnuWindows = nullptr;
    QAction* mnuWindowsShowLyricsWhenAvailable = nullptr;
    QAction* mnuWindowsShowEachSongAsItsPlayed = nullptr;
    QAction* mnuWindowsDisableGlobalHotkeys = nullptr;
    QAction* mnuWindowsEditWindowsGLobalHotkeys = nullptr;
    QAction* mnuMessengerShowSongsBeingPlayed = nullptr;
    QMenu* mnuKeys = nullptr;
    QAction* mnuKeysUseAsShortcuts = nullptr;
    QAction* mnuKeysUseAsArtistFindingKeys = nullptr;
    QAction* mnuSwitchToMiniMode = nullptr;
    QAction* mnuShowToolbar = nullptr;
    QAction* mnuShowStatusBar = nullptr;
    QAction* mnuShowPlaylistHeaders = nullptr;
    QAction* mnuShowFilenamesColumn = nullptr;
    QAction* mnuReCenterWindow = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuConsole = nullptr;
    QAction* mnuTracking = nullptr;
    QAction* mnuVolumes = nullptr;
    QAction* mnuForum = nullptr;
    QAction* mnuHomepage = nullptr;
    QAction* mnuCheckForUpdates = nullptr;
    QAction* mnuAboutWindows = nullptr;
    QAction* mnuAbout = nullptr;

    // ---- the playlist: rows, tags, dead and duplicate entries, files, export, colours ------
    void playlist_AddSong(const QString& artist, const QString& title, const QString& year, const QString& filename);
    void playlist_AddDirectory(const QString& directory, const QString& extension);
    void lstvPlaylist_OLEDragDrop(const QStringList& files);
    void playlist_UpdateItem(int row, bool namesOnly);
    void playlist_ShowMP3Data(bool namesOnly, int fromRow = 1);   // the rows from fromRow on
    void playlist_CheckEntries();
    void window_InstallPlaylists();
    void window_RemoveFilenameMenus();
    void cmbPlaylists_Click();
    void playlist_Select(QString& name);
    // Both replace the file whole; false when it could not be written (the caller reports it).
    bool player_SaveHTMLPlaylist(const QString& path);
    bool player_SaveTEXTPlaylist(const QString& path);
    void playlist_UpdatePlaylist(int playingRow);
    void window_UncheckMenus();
    bool IsDraggingRow = false;   // a drag of rows started in the list itself
    quint64 DraggedItem = 0;      // the row being dragged (its key; it follows the row)

    // ---- the playlist's own events ----------------------------------------------------------
    void lstvPlaylist_ColumnClick(int column);            // columns count from 1
    void lstvPlaylist_DblClick();
    bool lstvPlaylist_KeyDown(int keyCode, int shift);    // true: the key was taken
    void lstvPlaylist_MouseDown(int button, int shift, const QPoint& viewportPos);
    void lstvPlaylist_OLEStartDrag();
    void lstvPlaylist_RowDrop(int targetRow);             // 0: below the last row
    void lstvPlaylist_OLECompleteDrag();                  // every end of a drag, dropped or not

    // ---- playback --------------------------------------------------------------------------
    void player_Volume(int v);
    void player_Balance(int v);
    void player_Play(int playOrigin);
    // A song's stored volume (-1 for none) put on the volume slider and the player, or the
    // user's own volume back after songs with stored ones.
    void player_AdjustVolume(int storedVolume);
    void player_NextTrack();
    void player_Stop();
    void player_ShowPlaying();
    void player_ClosePlaying();
    void window_AddRandomFilename(const QString& fileName);
    void window_ResetRandomFilenames();
    void Menu_SelectPlaybackMode(QAction* menu, const QString& key, bool directionEnabled);
    void Menu_SelectPlaylistMode(QAction* menu, const QString& key);
    void Menu_SelectSort(QAction* menu, int sortColumn, const QString& key);

    // ---- commands --------------------------------------------------------------------------
    void mnuPrevious_Click();
    void mnuRewind_Click();
    void mnuPlay_Click();
    void mnuPause_Click();
    void mnuStop_Click();
    void mnuRandom_Click();
    void mnuFastForward_Click();
    void mnuNextTrack_Click();
    void mnuNextTrackAdvanced_Click();
    void mnuMute_Click();
    void mnuStoreVolume_Click();
    void mnuPlayNext_Click();
    void mnuJumpToCurrentlyPlaying_Click();
    void mnuRemoveSelected_Click();
    void window_SetMenuImages();

    void mnuPlayingShuffleByArtist_Click();
    void mnuPlayingShuffleByAlbum_Click();
    void mnuPlayingShuffleByYear_Click();
    void mnuPlayingIntroduction_Click();
    void mnuPlayingRepeat_Click();
    void mnuPlayingRepeatOnce_Click();
    void mnuPlayingStopAfterEnding_Click();
    void mnuPlayingPickRandomSongs_Click();
    void mnuPlayingGoThroughPlaylistNormally_Click();
    void mnuWorkForwardThroughList_Click();
    void mnuWorkBackwardsThroughPlaylist_Click();
    void mnuPlaylistRepeat_Click();
    void mnuPlaylistRepeatOnce_Click();
    void mnuPlaylistStopAfterEnding_Click();
    void mnuPlaylistPickRandomAfterEnding_Click();
    void mnuPlaylistSwitchToNext_Click();
    void mnuSortByArtist_Click();
    void mnuSortByTitle_Click();
    void mnuSortByYear_Click();
    void mnuSortByLength_Click();
    void mnuSortByFilename_Click();
    void mnuSortViaAcending_Click();
    void mnuSortViaDecending_Click();
    void mnuDontSort_Click();
    void mnuLockPlaylist_Click();
    void mnuClear_Click();
    // The rows held by Cut and Copy: sub-items 1 to 6 of each; element 0 is an empty placeholder.
    QList<QStringList> EntryBuffer{QStringList()};

    // ---- arranging the playlist: entry buffer, removing, cropping, moving, shuffling ---------
    // (src/mainwindow/FrmMain_CutCopyRemove.cpp, src/mainwindow/FrmMain_MoveRows.cpp)
    void mnuCut_Click();
    void mnuCopy_Click();
    void mnuPaste_Click();
    void mnuSelectAll_Click();
    void mnuSelectedCrop_Click();
    void mnuRemoveAlDeadFilenames_Click();
    void mnuRemoveDuplicateFilenames_Click();
    void mnuRemovePhysicallyDeleteSelected_Click();
    void mnuSelectedMoveUp_Click();
    void mnuSelectedMoveDown_Click();
    void mnuShuffleThePlaylist_Click();

    // ---- renaming and moving files ----------------------------------------------------------
    void mnuSelectedRenameFilename_Click();
    void mnuPlaylistRenameAllFilenames_Click();
    void mnuPlaylistMoveMusicToFolder_Click();
    // The tools that change files refuse to start while a song plays or is paused (a box
    // titled `title`); true when refused.
    bool refusedWhilePlaying(const QString& title);
    // The one selected row whose file exists and is not the player's file, or 0 after a box
    // titled `title` saying why not (nothing is said when no row is selected).
    int selectedFileRow(const QString& title, const QString& moreThanOneText);

    // ---- the Jump submenu and its dialogs (src/mainwindow/FrmMain_JumpMenu.cpp) -------------------
    void mnuJumpToTime_Click();
    void mnuJumpToMedia_Click();
    void mnuJumpToTrackNumber_Click();
    void mnuJumpForward10Tracks_Click();
    void mnuJumpForward5Tracks_Click();
    void mnuJumpBack5Tracks_Click();
    void mnuJumpBack10Tracks_Click();
    void mnuJumpToFirstTrack_Click();
    void mnuJumpToMiddleTrack_Click();
    void mnuJumpToLastTrack_Click();

    // ---- playlist files: new, open, add, save, print, delete, rename, manage, switching ----
    void mnuNew_Click();
    void mnuOpenPlaylist_Click();
    void mnuAddPlaylist_Click();
    // Writes the rows over the current playlist's file; without a current playlist, Save As.
    void mnuSave_Click();
    void mnuSavePlaylistAs_Click();
    void mnuSaveAsDefault_Click();
    void mnuPrint_Click();
    void mnuDeleteCurrentPlaylist_Click();
    void mnuDeleteAllPlaylists_Click();
    void mnuRenameCurrentPlaylist_Click();
    void mnuManagePlaylists_Click();
    void mnuJumpToNextPlaylist_Click();
    void mnuJumpToPreviousPlaylist_Click();
    void mnuJumpToRandomPlaylist_Click();
    // Refills the playlist box and the Send To playlist items from the Playlists folder and
    // shows the playlist of `path` there (the placeholder when the box has none); nothing is
    // loaded.
    void playlist_RefillBox(const QString& path);
    // Loads the playlist of box entry `index` and makes the row the play direction starts
    // from the current one, playing it when asked or by Settings/PlayPlaylistsOnSkip.
    void player_SwitchPlaylist(int index, bool playNow);

    // ---- new playlists from the rows (src/mainwindow/FrmMain_GeneratePlaylists.cpp) ----------------
    void mnuGeneratePlaylist_Click();
    void mnuUseRandomSongsForPlaylist_Click();

    // ---- the tag editors (src/mainwindow/FrmMain_TagEditors.cpp) ----------------------------------
    void mnuProperties_Click();
    void mnuPlaylistEditAllTags_Click();

    // ---- adding songs; the File menu's recent files, bookmarks and moods -----------------------
    void mnuAddFiles_Click();
    void mnuAddDirectory_Click();
    void mnuAddLocation_Click();
    // Appends the MPEG audio files of the folder (and of every folder below it when
    // DoRecursiveDirectoryScan is 1), then reads their tags, asking first when the playlist
    // has grown past 200 rows, renumbers, and checks the entries once the wait window (`wait`,
    // shown again after the question) and the held painting are gone.
    void playlist_AddFolderTree(const QString& folder, std::optional<WaitWindow>& wait);
    void mnuRecentMedia_Click(int index);
    void mnuRecentPlaylist_Click(int index);
    void mnuBookmark_Click(int index);
    void mnuMoodOpen_Click(int index);
    void mnuAddSelected_Click();
    void mnuClearBookmarks_Click();
    void mnuEditBookmarks_Click();
    // After a playlist file was opened into the rows (Open, the playlist box, the recent
    // playlists): no Play Next mark, row 1 to play from, and the song in the player found again.
    void playlist_FollowPlayerAfterOpen();
    void connectFileLists();   // the menu arrays' clicks

    // ---- window ----------------------------------------------------------------------------
    // Keys of the window, also forwarded by the video, lyrics and mini windows. Key codes are
    // the classic virtual-key numbers (65 'A', 37 Left, 13 Enter ...); Qt key numbers are
    // taken too. Shift: 1 Shift, 2 Ctrl, 4 Alt, added up.
    void Form_KeyDown(int keyCode, int shift);
    void Form_Resize();
    void cbControls_HeightChanged();
    void lblOptions_MouseDown(int button, int shift, float x, float y);
    void sldPosition_Change();
    void sldVolume_Change();
    void sldBalance_Change();
    void player_NextPlaylist(bool playNow);
    void player_PreviousPlaylist(bool playNow);
    void window_Controls(bool enabled);
    void window_AddShortcutTexts();
    // The bookmark menu shows the newest kBookmarksShown lines of bookmarks.sbl, each element
    // numbered by its line; element 0 above them counts the older ones.
    static constexpr int kBookmarksShown = 1000;
    void window_InstallBookmarks();
    void window_RemoveBookmarkMenus();
    void window_InstallMoods();
    void window_RemoveMoodMenus();
    void window_UpdateMoods();

    // ---- start-up, closing and the tray --------------------------------------------------------
    enum UnloadMode { FormControlMenu = 0, FormCode = 1, AppWindows = 2, FormTaskManager = 3 };
    // Returns true when the close is cancelled.
    bool Form_QueryUnload(int unloadMode);
    void window_MinimizeToTray();
    void window_SaveSettingsOnClose();
    void window_CloseAll();
    // Writes the rows to Playlists/default.spp (an empty playlist removes it). False when the
    // file could not be written: the log, standard error and `reason` (the system's words) say why.
    bool window_SaveDefaultPlaylist(QString* reason = nullptr);
    void mnuExit_Click();
    void tmrSystemTrayDetect_Timer();
    void mnuEditMoods_Click();
    void mnuResetMoods_Click();
    void mnuOpenCDPlayer_Click();
    void mnuOpenMediaLibrary_Click();
    void mnuSwitchToMiniMode_Click();
    void mnuWindowsDisableGlobalHotkeys_Click();
    void mnuConsole_Click();
    // The playlist did not load at start: an unchanged playlist is not saved over it on exit.
    bool DefaultPlaylistLoadFailed = false;
    // Start-up has put the stored playlist, volume, balance, columns and so on in place; until
    // then leaving writes nothing.
    bool StartupStateApplied = false;
    bool PlaylistChangedSinceStart = false;
    void startWatchingPlaylistChanges();

    // ---- view and behaviour switches, font size, centring (src/mainwindow/FrmMain_ViewSwitches.cpp) ----
    void mnuAlwaysOnTop_Click();
    void mnuHideInTheTaskManager_Click();
    void mnuShowToolbar_Click();
    void mnuShowStatusBar_Click();
    void mnuShowPlaylistHeaders_Click();
    void mnuShowFilenamesColumn_Click();
    void mnuStatusBarShowTimeElapsed_Click();
    void mnuStatusBarShowTimeRemaining_Click();
    void mnuWindowsShowEachSongAsItsPlayed_Click();
    void mnuWindowsShowLyricsWhenAvailable_Click();
    void mnuMessengerShowSongsBeingPlayed_Click();
    void mnuKeysUseAsShortcuts_Click();
    void mnuKeysUseAsArtistFindingKeys_Click();
    void mnuTagsShowTagsAsFilesAreAdded_Click();
    void mnuTagsShowTagsAsFilesArePlayed_Click();
    void mnuTagsUseID3v2Tags_Click();
    void mnuFontsizeIncrease_Click();
    void mnuFontsizeDecrease_Click();
    void mnuReCenterWindow_Click();
    // The mark, the two bands and the playlist's top (right below the bands, or the top of the
    // window); the caller lays the window out.
    void window_ShowToolbar(bool show);

    // ---- the other windows, web pages, About (src/mainwindow/FrmMain_WindowMenu.cpp) ----------
    void mnuPreferences_Click();
    void mnuChangeAppearance_Click();
    void mnuWindowsEditWindowsGLobalHotkeys_Click();
    void mnuTracking_Click();
    void mnuVolumes_Click();
    void mnuCheckForUpdates_Click();
    void mnuPlaylistRefreshTags_Click();
    void mnuAboutWindows_Click();
    void mnuAbout_Click();
    void mnuForum_Click();
    void mnuHomepage_Click();

    // ---- the playlist's looks, as start-up and the preferences set them (src/mainwindow/FrmMain_PlaylistLooks.cpp) ----
    // Font (a size of 0 or less keeps the font's own) and colours of the playlist and its box.
    void window_SetPlaylistLooks(const QString& fontName, double fontSize, quint32 back, quint32 fore);

    // ---- global hot keys ---------------------------------------------------------------------
    void tmrMediaKeys_Timer();
    void player_CaptureHotkeys(bool enabled);
    void window_CheckGlobalKey(int key, int ctrl, int shift, int alt, int win, const QString& name);
    void window_UseGlobalKey(const QString& combination);

    // ---- timers ----------------------------------------------------------------------------
    void tmrPosition_Timer();
    void tmrWindowUpdate_Timer();
    // Menu help: the highlighted item's description in status panel 1, from the menus'
    // hover signal; the status text comes back when the menu closes. tmrMenuText running is
    // the switch (off while the File menu is borrowed as a pop-up).
    void window_MenuHelp(QMenu* menu, QAction* item);
    void window_MenuClosed();
    void tmrMenuText_Timer();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createMenuBar();   // from its table, one row per entry
    void createControls();
    void connectCommands();
    void connectWindow();
    void alignBars();
    void setMenuPictures();
    bool formKeyDown(int keyCode, int shift);
    bool windowEvent(QObject* watched, QEvent* event);
    void popupFileMenu(const QPoint& globalPos);
    void startRowDrag();
    bool rowDragEvent(QDropEvent* event);
    void followRows();
    void updateItem(int row, bool namesOnly, std::optional<bool> useLargerTags);   // unset: read the setting
    clsID3v1& id3v1();
    clsID3v2& id3v2();
    void releaseTags();
    void playNextCaptions(bool inUse);
    void startByPlayRule(int playOrigin = 1);
    bool resumePaused();
    void selectModeAfterwards(const veltra::NextStep& step);
    void selectSortOrder(QAction* chosen);
    bool stepRandomHistory(int step);
    void handOffSkippedRow();
    void stopAndUnload();
    void saveSettingsOnClose(bool writePlaylist);
    void comeBackAfterExitRefused();
    bool m_exitQuestionOpen = false;
    // The commands that need a song playing (p) or playing or paused (s), as the position
    // timer enables them; a song just started enables them at once.
    void enableSongCommands(bool p, bool s);
    void startOfList();
    QString albumOf(const QString& file);
    void connectSequence();
    void showModes();
    // Arranging: the rows go as the playlist's own (the playing row and the Play Next mark
    // follow them); `keepPlayingRow` keeps the playing row while a song plays or is paused.
    void removeSelectedRows(bool keepPlayingRow);
    // The player plays or pauses a song: its row is the playing row (after Stop the file
    // stays loaded, but no row plays).
    bool songInPlayer();
    // The playing row selected and coloured; found by its file when no row stands for it.
    void selectPlayingRow();
    void copySelectedRows(bool cut);
    void moveSelectedRow(int step);
    void setLockedControls(bool locked);

    std::shared_ptr<KeyStateSource> m_keys;
    bool m_capturingKeys = false;
    std::unique_ptr<clsID3v1> m_id3v1;
    std::unique_ptr<clsID3v2> m_id3v2;
    quint64 m_currentKey = 0;       // rows followed through reordering
    quint64 m_playNextKey = 0;
    std::vector<quint64> m_keysUpToCurrent;   // rows 1..CurrentTrack while the rows are reset
    QString m_introMovedOn;         // the song that introduction mode has already moved on from
    bool m_menuHelpShown = false;
    QString m_statusBeforeHelp;
    QPoint m_dragStart;
    int m_dragPressRow = 0;
};
