// The main window's construction: its controls, the menu bar built from its table, the
// toolbar, the status bar and the wiring of the commands; the file map is in FrmMain.h.
#include "mainwindow/FrmMain.h"

#include "common/ListView.h"
#include "common/MenuArray.h"
#include "common/MenuTable.h"
#include "common/PlaylistRow.h"
#include "common/modControls.h"
#include "common/modVB.h"
#include "controls/ctlQX_wScrollbar.h"
#include "media/clsID3v1.h"
#include "media/clsID3v2.h"
#include "platform/MediaPlayerControl.h"
#include "platform/ProgramFolder.h"
#include "platform/WindowPlace.h"
#include "player/FrmVideo.h"
#include "startup/Forms.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QSlider>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

FrmMain::FrmMain()
{
    setObjectName(QStringLiteral("FrmMain"));
    setWindowTitle(programfolder::title());
    resize(760, 480);
    createMenuBar();
    createControls();
    connectCommands();
    connectWindow();
    followRows();
    connectSequence();
    connectFileLists();
    // Its normal place and size survive a trip to the tray or to mini mode while maximised.
    windowplace::followPlace(this);
}

FrmMain::~FrmMain()
{
    // The window's event hook uses the list and the other controls it watches: it goes
    // before they do, so no event of their destruction reaches it.
    delete findChild<QObject*>(QStringLiteral("FrmMainEventHook"), Qt::FindDirectChildrenOnly);
}

void FrmMain::createMenuBar()
{
    // The menu bar in display order: depth, member, name, caption, shortcut, check mark, command.
    static const MenuRow<FrmMain> rows[] = {
        {0, &FrmMain::mnuFile, "mnuFile", "&File"},
        {1, &FrmMain::mnuNew, "mnuNew", "&New...", "Ctrl+N", false, &FrmMain::mnuNew_Click},
        {1},
        {1, &FrmMain::mnuAddFiles, "mnuAddFiles", "Add &Files...", "", false, &FrmMain::mnuAddFiles_Click},
        {1, &FrmMain::mnuAddPlaylist, "mnuAddPlaylist", "&Add Playlist...", "", false, &FrmMain::mnuAddPlaylist_Click},
        {1, &FrmMain::mnuAddLocation, "mnuAddLocation", "Add &Location...", "", false, &FrmMain::mnuAddLocation_Click},
        {1, &FrmMain::mnuAddDirectory, "mnuAddDirectory", "Add &Directory...", "", false, &FrmMain::mnuAddDirectory_Click},
        {1},
        {1, &FrmMain::mnuOpenPlaylist, "mnuOpenPlaylist", "&Open...", "Ctrl+O", false, &FrmMain::mnuOpenPlaylist_Click},
        {1, &FrmMain::mnuOpenMood, "mnuOpenMood", "Open &Mood:"},
        {2, &FrmMain::mnuEditMoods, "mnuEditMoods", "&Edit Moods...", "", false, &FrmMain::mnuEditMoods_Click},
        {2},
        {2, &FrmMain::mnuMoodOpen, "mnuMoodOpen", "[Mood]", "", true},
        {2},
        {2, &FrmMain::mnuResetMoods, "mnuResetMoods", "&Reset Moods...", "", false, &FrmMain::mnuResetMoods_Click},
        {1, &FrmMain::mnuOpenBookmark, "mnuOpenBookmark", "Open &Bookmark:"},
        {2, &FrmMain::mnuAddSelected, "mnuAddSelected", "&Add Selected...", "", false, &FrmMain::mnuAddSelected_Click},
        {2, &FrmMain::mnuEditBookmarks, "mnuEditBookmarks", "&Edit Bookmarks...", "", false, &FrmMain::mnuEditBookmarks_Click},
        {2},
        {2, &FrmMain::mnuBookmark, "mnuBookmark", "[Bookmark]", "", false},
        {2},
        {2, &FrmMain::mnuClearBookmarks, "mnuClearBookmarks", "&Clear Bookmarks...", "", false, &FrmMain::mnuClearBookmarks_Click},
        {1},
        {1, &FrmMain::mnuSave, "mnuSave", "&Save...", "Ctrl+S", false, &FrmMain::mnuSave_Click},
        {1, &FrmMain::mnuSavePlaylistAs, "mnuSavePlaylistAs", "Sa&ve As...", "", false, &FrmMain::mnuSavePlaylistAs_Click},
        {1, &FrmMain::mnuSaveAsDefault, "mnuSaveAsDefault", "Save As &Default...", "", false, &FrmMain::mnuSaveAsDefault_Click},
        {1},
        {1, &FrmMain::mnuPrint, "mnuPrint", "P&rint...", "", false, &FrmMain::mnuPrint_Click},
        {1},
        {1, &FrmMain::mnuRecentMediaFiles, "mnuRecentMediaFiles", "Recen&t Media:"},
        {2, &FrmMain::mnuRecentMedia, "mnuRecentMedia", "<Empty>", "", false},
        {1, &FrmMain::mnuRecentPlaylists, "mnuRecentPlaylists", "&Recent Playlists:"},
        {2, &FrmMain::mnuRecentPlaylist, "mnuRecentPlaylist", "<Empty>", "", false},
        {1},
        {1, &FrmMain::mnuPreferences, "mnuPreferences", "&Preferences...", "Ctrl+P", false, &FrmMain::mnuPreferences_Click},
        {1},
        {1, &FrmMain::mnuExit, "mnuExit", "E&xit", "", false, &FrmMain::mnuExit_Click},
        {0, &FrmMain::mnuPlayback, "mnuPlayback", "&Playback"},
        {1, &FrmMain::mnuPrevious, "mnuPrevious", "Pre&vious", "", false, &FrmMain::mnuPrevious_Click},
        {1},
        {1, &FrmMain::mnuRewind, "mnuRewind", "&Rewind", "", false, &FrmMain::mnuRewind_Click},
        {1, &FrmMain::mnuPlay, "mnuPlay", "&Play", "", false, &FrmMain::mnuPlay_Click},
        {1, &FrmMain::mnuPause, "mnuPause", "Pa&use", "", false, &FrmMain::mnuPause_Click},
        {1, &FrmMain::mnuStop, "mnuStop", "&Stop", "", false, &FrmMain::mnuStop_Click},
        {1, &FrmMain::mnuRandom, "mnuRandom", "Rando&m", "", false, &FrmMain::mnuRandom_Click},
        {1, &FrmMain::mnuFastForward, "mnuFastForward", "&Fast Forward", "", false, &FrmMain::mnuFastForward_Click},
        {1},
        {1, &FrmMain::mnuNextTrack, "mnuNextTrack", "&Next", "", false, &FrmMain::mnuNextTrack_Click},
        {1, &FrmMain::mnuNextTrackAdvanced, "mnuNextTrackAdvanced", "Next (&Advanced)", "", false, &FrmMain::mnuNextTrackAdvanced_Click},
        {1},
        {1, &FrmMain::mnuJump, "mnuJump", "&Jump:"},
        {2, &FrmMain::mnuJumpToTime, "mnuJumpToTime", "Jump To &Time...", "", false, &FrmMain::mnuJumpToTime_Click},
        {2, &FrmMain::mnuJumpToMedia, "mnuJumpToMedia", "&Jump To Media...", "", false, &FrmMain::mnuJumpToMedia_Click},
        {2, &FrmMain::mnuJumpToTrackNumber, "mnuJumpToTrackNumber", "Jump To Track N&umber...", "", false, &FrmMain::mnuJumpToTrackNumber_Click},
        {2},
        {2, &FrmMain::mnuJumpForward10Tracks, "mnuJumpForward10Tracks", "Jump Forward &10 Tracks...", "", false, &FrmMain::mnuJumpForward10Tracks_Click},
        {2, &FrmMain::mnuJumpForward5Tracks, "mnuJumpForward5Tracks", "Jump Forward &5 Tracks...", "", false, &FrmMain::mnuJumpForward5Tracks_Click},
        {2, &FrmMain::mnuJumpBack5Tracks, "mnuJumpBack5Tracks", "Jump &Back 5 Tracks...", "", false, &FrmMain::mnuJumpBack5Tracks_Click},
        {2, &FrmMain::mnuJumpBack10Tracks, "mnuJumpBack10Tracks", "Jump B&ack 10 Tracks...", "", false, &FrmMain::mnuJumpBack10Tracks_Click},
        {2},
        {2, &FrmMain::mnuJumpToCurrentlyPlaying, "mnuJumpToCurrentlyPlaying", "Jump To &Currently Playing...", "", false, &FrmMain::mnuJumpToCurrentlyPlaying_Click},
        {2},
        {2, &FrmMain::mnuJumpToFirstTrack, "mnuJumpToFirstTrack", "Jump To &First Track...", "", false, &FrmMain::mnuJumpToFirstTrack_Click},
        {2, &FrmMain::mnuJumpToMiddleTrack, "mnuJumpToMiddleTrack", "Jump To &Middle Track...", "", false, &FrmMain::mnuJumpToMiddleTrack_Click},
        {2, &FrmMain::mnuJumpToLastTrack, "mnuJumpToLastTrack", "Jump To &Last Track...", "", false, &FrmMain::mnuJumpToLastTrack_Click},
        {2},
        {2, &FrmMain::mnuJumpToPreviousPlaylist, "mnuJumpToPreviousPlaylist", "Jump To &Previous Playlist...", "", false, &FrmMain::mnuJumpToPreviousPlaylist_Click},
        {2, &FrmMain::mnuJumpToRandomPlaylist, "mnuJumpToRandomPlaylist", "Jump To &Random Playlist...", "", false, &FrmMain::mnuJumpToRandomPlaylist_Click},
        {2, &FrmMain::mnuJumpToNextPlaylist, "mnuJumpToNextPlaylist", "Jump To &Next Playlist...", "", false, &FrmMain::mnuJumpToNextPlaylist_Click},
        {1, &FrmMain::mnuOptions, "mnuOptions", "&Options:"},
        {2, &FrmMain::mnuPlayingShuffleByArtist, "mnuPlayingShuffleByArtist", "Playing:  S&huffle By Artist...", "", true, &FrmMain::mnuPlayingShuffleByArtist_Click},
        {2, &FrmMain::mnuPlayingShuffleByAlbum, "mnuPlayingShuffleByAlbum", "Playing:  Sh&uffle By Album...", "", true, &FrmMain::mnuPlayingShuffleByAlbum_Click},
        {2, &FrmMain::mnuPlayingShuffleByYear, "mnuPlayingShuffleByYear", "Playing:  Shuffle B&y Year...", "", true, &FrmMain::mnuPlayingShuffleByYear_Click},
        {2},
        {2, &FrmMain::mnuPlayingIntroduction, "mnuPlayingIntroduction", "Playing:  &Introduction...", "", true, &FrmMain::mnuPlayingIntroduction_Click},
        {2, &FrmMain::mnuPlayingRepeat, "mnuPlayingRepeat", "Playing:  &Repeat...", "", true, &FrmMain::mnuPlayingRepeat_Click},
        {2, &FrmMain::mnuPlayingRepeatOnce, "mnuPlayingRepeatOnce", "Playing:  Repeat On&ce...", "", true, &FrmMain::mnuPlayingRepeatOnce_Click},
        {2, &FrmMain::mnuPlayingStopAfterEnding, "mnuPlayingStopAfterEnding", "Playing:  &Stop After Ending...", "", true, &FrmMain::mnuPlayingStopAfterEnding_Click},
        {2, &FrmMain::mnuPlayingPickRandomSongs, "mnuPlayingPickRandomSongs", "Playing:  &Pick Random Songs...", "", true, &FrmMain::mnuPlayingPickRandomSongs_Click},
        {2, &FrmMain::mnuPlayingGoThroughPlaylistNormally, "mnuPlayingGoThroughPlaylistNormally", "Playing:  &Go Through Playlist Normally...", "", true, &FrmMain::mnuPlayingGoThroughPlaylistNormally_Click},
        {2},
        {2, &FrmMain::mnuWorkForwardThroughList, "mnuWorkForwardThroughList", "Work &Forward Through Playlist...", "", true, &FrmMain::mnuWorkForwardThroughList_Click},
        {2, &FrmMain::mnuWorkBackwardsThroughPlaylist, "mnuWorkBackwardsThroughPlaylist", "Work &Backwards Through Playlist...", "", true, &FrmMain::mnuWorkBackwardsThroughPlaylist_Click},
        {2},
        {2, &FrmMain::mnuPlaylistRepeat, "mnuPlaylistRepeat", "Playlist:  Repe&at...", "", true, &FrmMain::mnuPlaylistRepeat_Click},
        {2, &FrmMain::mnuPlaylistRepeatOnce, "mnuPlaylistRepeatOnce", "Playlist:  Repeat O&nce...", "", true, &FrmMain::mnuPlaylistRepeatOnce_Click},
        {2, &FrmMain::mnuPlaylistStopAfterEnding, "mnuPlaylistStopAfterEnding", "Playlist:  S&top After Ending...", "", true, &FrmMain::mnuPlaylistStopAfterEnding_Click},
        {2, &FrmMain::mnuPlaylistPickRandomAfterEnding, "mnuPlaylistPickRandomAfterEnding", "Playlist:  Pick Rando&m After Ending...", "", true, &FrmMain::mnuPlaylistPickRandomAfterEnding_Click},
        {2, &FrmMain::mnuPlaylistSwitchToNext, "mnuPlaylistSwitchToNext", "Playlist:  S&witch To Next After Ending...", "", true, &FrmMain::mnuPlaylistSwitchToNext_Click},
        {1, &FrmMain::mnuSelected, "mnuSelected", "Se&lected:"},
        {2, &FrmMain::mnuPlayNext, "mnuPlayNext", "Play Ne&xt...", "", false, &FrmMain::mnuPlayNext_Click},
        {2},
        {2, &FrmMain::mnuStoreVolume, "mnuStoreVolume", "Store &Volume...", "", false, &FrmMain::mnuStoreVolume_Click},
        {2},
        {2, &FrmMain::mnuProperties, "mnuProperties", "&Properties...", "", false, &FrmMain::mnuProperties_Click},
        {1},
        {1, &FrmMain::mnuMute, "mnuMute", "Mut&e", "", false, &FrmMain::mnuMute_Click},
        {0, &FrmMain::mnuArrange, "mnuArrange", "&Arrange"},
        {1, &FrmMain::mnuLockPlaylist, "mnuLockPlaylist", "&Lock Playlist...", "Ctrl+L", true, &FrmMain::mnuLockPlaylist_Click},
        {1},
        {1, &FrmMain::mnuEdit, "mnuEdit", "&Edit:"},
        {2, &FrmMain::mnuCut, "mnuCut", "Cu&t", "Ctrl+X", false, &FrmMain::mnuCut_Click},
        {2, &FrmMain::mnuCopy, "mnuCopy", "&Copy...", "Ctrl+C", false, &FrmMain::mnuCopy_Click},
        {2, &FrmMain::mnuPaste, "mnuPaste", "&Paste...", "Ctrl+V", false, &FrmMain::mnuPaste_Click},
        {2},
        {2, &FrmMain::mnuClear, "mnuClear", "C&lear...", "Shift+Del", false, &FrmMain::mnuClear_Click},
        {2},
        {2, &FrmMain::mnuSelectAll, "mnuSelectAll", "Select &All...", "Ctrl+A", false, &FrmMain::mnuSelectAll_Click},
        {1, &FrmMain::mnuEntries, "mnuEntries", "E&ntries:"},
        {2, &FrmMain::mnuTagsShowTagsAsFilesAreAdded, "mnuTagsShowTagsAsFilesAreAdded", "Tags:  Show Tags As Files Are &Added...", "", true, &FrmMain::mnuTagsShowTagsAsFilesAreAdded_Click},
        {2, &FrmMain::mnuTagsShowTagsAsFilesArePlayed, "mnuTagsShowTagsAsFilesArePlayed", "Tags:  Show Tags As Files Are &Played...", "", true, &FrmMain::mnuTagsShowTagsAsFilesArePlayed_Click},
        {2},
        {2, &FrmMain::mnuTagsUseID3v2Tags, "mnuTagsUseID3v2Tags", "Tags:  &Use ID3v2 Tags...", "", true, &FrmMain::mnuTagsUseID3v2Tags_Click},
        {2},
        {2, &FrmMain::mnuPlaylistEditAllTags, "mnuPlaylistEditAllTags", "Playlist:  Edit A&ll Tags...", "", false, &FrmMain::mnuPlaylistEditAllTags_Click},
        {2, &FrmMain::mnuPlaylistRefreshTags, "mnuPlaylistRefreshTags", "Playlist:  &Refresh Tags...", "F5", false, &FrmMain::mnuPlaylistRefreshTags_Click},
        {2, &FrmMain::mnuPlaylistRenameAllFilenames, "mnuPlaylistRenameAllFilenames", "Playlist:  Rename All &Filenames...", "", false, &FrmMain::mnuPlaylistRenameAllFilenames_Click},
        {2, &FrmMain::mnuPlaylistMoveMusicToFolder, "mnuPlaylistMoveMusicToFolder", "Playlist:  &Move Music To Folder...", "", false, &FrmMain::mnuPlaylistMoveMusicToFolder_Click},
        {2},
        {2, &FrmMain::mnuSelectedCrop, "mnuSelectedCrop", "Selected:  Cr&op...", "", false, &FrmMain::mnuSelectedCrop_Click},
        {2, &FrmMain::mnuSelectedRenameFilename, "mnuSelectedRenameFilename", "Selected:  Re&name Filename...", "", false, &FrmMain::mnuSelectedRenameFilename_Click},
        {2},
        {2, &FrmMain::mnuRemoveSelected, "mnuRemoveSelected", "Remove:  &Selected...", "Del", false, &FrmMain::mnuRemoveSelected_Click},
        {2, &FrmMain::mnuRemoveAlDeadFilenames, "mnuRemoveAlDeadFilenames", "Remove:  &Dead Filenames...", "", false, &FrmMain::mnuRemoveAlDeadFilenames_Click},
        {2, &FrmMain::mnuRemoveDuplicateFilenames, "mnuRemoveDuplicateFilenames", "Remove:  Dupl&icate Filenames...", "", false, &FrmMain::mnuRemoveDuplicateFilenames_Click},
        {2, &FrmMain::mnuRemovePhysicallyDeleteSelected, "mnuRemovePhysicallyDeleteSelected", "Remove:  P&hysically Delete Selected...", "", false, &FrmMain::mnuRemovePhysicallyDeleteSelected_Click},
        {1, &FrmMain::mnuPlaylists, "mnuPlaylists", "&Playlists:"},
        {2, &FrmMain::mnuNewPlaylist, "mnuNewPlaylist", "&New:"},
        {3, &FrmMain::mnuGeneratePlaylist, "mnuGeneratePlaylist", "Playlist:  &Generate...", "", false, &FrmMain::mnuGeneratePlaylist_Click},
        {3, &FrmMain::mnuUseRandomSongsForPlaylist, "mnuUseRandomSongsForPlaylist", "Playlist:  &Use Random Songs...", "", false, &FrmMain::mnuUseRandomSongsForPlaylist_Click},
        {3},
        {3, &FrmMain::mnuManagePlaylists, "mnuManagePlaylists", "&Manage Playlists...", "", false, &FrmMain::mnuManagePlaylists_Click},
        {2},
        {2, &FrmMain::mnuRenameCurrentPlaylist, "mnuRenameCurrentPlaylist", "Current:  &Rename...", "", false, &FrmMain::mnuRenameCurrentPlaylist_Click},
        {2, &FrmMain::mnuDeleteCurrentPlaylist, "mnuDeleteCurrentPlaylist", "Current:  &Delete...", "", false, &FrmMain::mnuDeleteCurrentPlaylist_Click},
        {2},
        {2, &FrmMain::mnuDeleteAllPlaylists, "mnuDeleteAllPlaylists", "Delete &All Playlists...", "", false, &FrmMain::mnuDeleteAllPlaylists_Click},
        {1, &FrmMain::mnuDisplay, "mnuDisplay", "&Display:"},
        {2, &FrmMain::mnuChangeAppearance, "mnuChangeAppearance", "&Change Appearance...", "", false, &FrmMain::mnuChangeAppearance_Click},
        {2},
        {2, &FrmMain::mnuFontsizeIncrease, "mnuFontsizeIncrease", "Fontsize:  &Increase...", "", false, &FrmMain::mnuFontsizeIncrease_Click},
        {2, &FrmMain::mnuFontsizeDecrease, "mnuFontsizeDecrease", "Fontsize:  &Decrease...", "", false, &FrmMain::mnuFontsizeDecrease_Click},
        {1, &FrmMain::mnuSort, "mnuSort", "&Sort:"},
        {2, &FrmMain::mnuSortByArtist, "mnuSortByArtist", "Sort By:  &Artist...", "", true, &FrmMain::mnuSortByArtist_Click},
        {2, &FrmMain::mnuSortByTitle, "mnuSortByTitle", "Sort By:  &Title...", "", true, &FrmMain::mnuSortByTitle_Click},
        {2, &FrmMain::mnuSortByYear, "mnuSortByYear", "Sort By:  &Year...", "", true, &FrmMain::mnuSortByYear_Click},
        {2, &FrmMain::mnuSortByLength, "mnuSortByLength", "Sort By:  &Length...", "", true, &FrmMain::mnuSortByLength_Click},
        {2, &FrmMain::mnuSortByFilename, "mnuSortByFilename", "Sort By:  &Filename...", "", true, &FrmMain::mnuSortByFilename_Click},
        {2},
        {2, &FrmMain::mnuSortViaAcending, "mnuSortViaAcending", "Sort Via:  A&scending...", "", true, &FrmMain::mnuSortViaAcending_Click},
        {2, &FrmMain::mnuSortViaDecending, "mnuSortViaDecending", "Sort Via:  D&escending...", "", true, &FrmMain::mnuSortViaDecending_Click},
        {2, &FrmMain::mnuDontSort, "mnuDontSort", "Sort Via:  D&on't Sort...", "", true, &FrmMain::mnuDontSort_Click},
        {2},
        {2, &FrmMain::mnuSelectedMoveUp, "mnuSelectedMoveUp", "Selected:  Move &Up...", "", false, &FrmMain::mnuSelectedMoveUp_Click},
        {2, &FrmMain::mnuSelectedMoveDown, "mnuSelectedMoveDown", "Selected:  Move &Down...", "", false, &FrmMain::mnuSelectedMoveDown_Click},
        {2},
        {2, &FrmMain::mnuShuffleThePlaylist, "mnuShuffleThePlaylist", "S&huffle The Playlist...", "", false, &FrmMain::mnuShuffleThePlaylist_Click},
        {1},
        {1, &FrmMain::mnuOpenCDPlayer, "mnuOpenCDPlayer", "Open &CD Player...", "", true, &FrmMain::mnuOpenCDPlayer_Click},
        {1, &FrmMain::mnuOpenMediaLibrary, "mnuOpenMediaLibrary", "Open &Media Library...", "", true, &FrmMain::mnuOpenMediaLibrary_Click},
        {0, &FrmMain::mnuWindow, "mnuWindow", "&Window"},
        {1, &FrmMain::mnuAlwaysOnTop, "mnuAlwaysOnTop", "Always On &Top...", "", true, &FrmMain::mnuAlwaysOnTop_Click},
        {1, &FrmMain::mnuHideInTheTaskManager, "mnuHideInTheTaskManager", "&Hide In The Task Manager...", "", true, &FrmMain::mnuHideInTheTaskManager_Click},
        {1},
        {1, &FrmMain::mnuAppearance, "mnuAppearance", "&Appearance:"},
        {2, &FrmMain::mnuStatusBarShowTimeElapsed, "mnuStatusBarShowTimeElapsed", "Status Bar:  Show Time &Elapsed...", "", true, &FrmMain::mnuStatusBarShowTimeElapsed_Click},
        {2, &FrmMain::mnuStatusBarShowTimeRemaining, "mnuStatusBarShowTimeRemaining", "Status Bar:  Show Time &Remaining...", "", true, &FrmMain::mnuStatusBarShowTimeRemaining_Click},
        {1, &FrmMain::mnuWindows, "mnuWindows", "Windows:"},
        {2, &FrmMain::mnuWindowsShowLyricsWhenAvailable, "mnuWindowsShowLyricsWhenAvailable", "Windows:  Show &Lyrics When Available...", "", true, &FrmMain::mnuWindowsShowLyricsWhenAvailable_Click},
        {2, &FrmMain::mnuWindowsShowEachSongAsItsPlayed, "mnuWindowsShowEachSongAsItsPlayed", "Windows:  &Show Each Song As It's Played...", "", true, &FrmMain::mnuWindowsShowEachSongAsItsPlayed_Click},
        {2, &FrmMain::mnuWindowsDisableGlobalHotkeys, "mnuWindowsDisableGlobalHotkeys", "Windows:  &Disable Global Hotkeys...", "", true, &FrmMain::mnuWindowsDisableGlobalHotkeys_Click},
        {2},
        {2, &FrmMain::mnuWindowsEditWindowsGLobalHotkeys, "mnuWindowsEditWindowsGLobalHotkeys", "Windows:  &Edit Windows Global Hotkeys...", "", false, &FrmMain::mnuWindowsEditWindowsGLobalHotkeys_Click},
        {2},
        {2, &FrmMain::mnuMessengerShowSongsBeingPlayed, "mnuMessengerShowSongsBeingPlayed", "&Messenger:  Show Songs Being Played...", "", true, &FrmMain::mnuMessengerShowSongsBeingPlayed_Click},
        {1, &FrmMain::mnuKeys, "mnuKeys", "Keys:"},
        {2, &FrmMain::mnuKeysUseAsShortcuts, "mnuKeysUseAsShortcuts", "Keys:  Use As Shortcut Keys...", "", true, &FrmMain::mnuKeysUseAsShortcuts_Click},
        {2, &FrmMain::mnuKeysUseAsArtistFindingKeys, "mnuKeysUseAsArtistFindingKeys", "Keys:  Use As Artist Finding Keys...", "", true, &FrmMain::mnuKeysUseAsArtistFindingKeys_Click},
        {1},
        {1, &FrmMain::mnuSwitchToMiniMode, "mnuSwitchToMiniMode", "Switch To &Mini-Mode...", "Ctrl+F1", true, &FrmMain::mnuSwitchToMiniMode_Click},
        {1},
        {1, &FrmMain::mnuShowToolbar, "mnuShowToolbar", "Show &Toolbar...", "F1", true, &FrmMain::mnuShowToolbar_Click},
        {1, &FrmMain::mnuShowStatusBar, "mnuShowStatusBar", "Show &Status Bar...", "F2", true, &FrmMain::mnuShowStatusBar_Click},
        {1, &FrmMain::mnuShowPlaylistHeaders, "mnuShowPlaylistHeaders", "Show &Playlist Headers...", "F3", true, &FrmMain::mnuShowPlaylistHeaders_Click},
        {1, &FrmMain::mnuShowFilenamesColumn, "mnuShowFilenamesColumn", "Show &Filenames Column...", "F4", true, &FrmMain::mnuShowFilenamesColumn_Click},
        {1},
        {1, &FrmMain::mnuReCenterWindow, "mnuReCenterWindow", "Center &Window...", "", false, &FrmMain::mnuReCenterWindow_Click},
        {0, &FrmMain::mnuHelp, "mnuHelp", "&Help"},
        {1, &FrmMain::mnuConsole, "mnuConsole", "&Console...", "", false, &FrmMain::mnuConsole_Click},
        {1, &FrmMain::mnuTracking, "mnuTracking", "&Tracking...", "", false, &FrmMain::mnuTracking_Click},
        {1, &FrmMain::mnuVolumes, "mnuVolumes", "&Volumes...", "", false, &FrmMain::mnuVolumes_Click},
        {1},
        {1, &FrmMain::mnuForum, "mnuForum", "Quillonex &Forum...", "", false, &FrmMain::mnuForum_Click},
        {1, &FrmMain::mnuHomepage, "mnuHomepage", "Quillonex &Homepage...", "", false, &FrmMain::mnuHomepage_Click},
        {1},
        {1, &FrmMain::mnuCheckForUpdates, "mnuCheckForUpdates", "Check For &Updates...", "", false, &FrmMain::mnuCheckForUpdates_Click},
        {1},
        {1, &FrmMain::mnuAboutWindows, "mnuAboutWindows", "About &Windows...", "", false, &FrmMain::mnuAboutWindows_Click},
        {1, &FrmMain::mnuAbout, "mnuAbout", "About &VELTRA...", "", false, &FrmMain::mnuAbout_Click},
    };
    buildMenus(*this, rows, [this](const QString& caption) { return menuBar()->addMenu(caption); });
}

void FrmMain::createControls()
{
    // The window's inner area: the two bands at the top, the playlist below them and the
    // status bar at the bottom, placed by Form_Resize.
    picClient = new QWidget(this);
    picClient->setObjectName(QStringLiteral("picClient"));
    setCentralWidget(picClient);

    // Tool band: the transport buttons, then the position, volume and balance sliders.
    cbToolbar = new QToolBar(QStringLiteral("cbToolbar"), picClient);
    cbToolbar->setObjectName(QStringLiteral("cbToolbar"));
    cbToolbar->setMovable(false);
    cbToolbar->setFloatable(false);
    tbToolbar = new QToolBar(QStringLiteral("tbToolbar"), cbToolbar);
    tbToolbar->setObjectName(QStringLiteral("tbToolbar"));
    tbToolbar->setMovable(false);
    tbToolbar->setFloatable(false);
    tbToolbar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    tbToolbar->setIconSize(QSize(20, 20));
    struct Button {
        const char* key;
        const char* tip;
        const char* icon;
        QStyle::StandardPixmap fallback;
    };
    const Button buttons[] = {
        {"Previous", "Previous", "media-skip-backward", QStyle::SP_MediaSkipBackward},
        {"Rewind", "Rewind", "media-seek-backward", QStyle::SP_MediaSeekBackward},
        {"Play", "Play", "media-playback-start", QStyle::SP_MediaPlay},
        {"Pause", "Pause", "media-playback-pause", QStyle::SP_MediaPause},
        {"Stop", "Stop", "media-playback-stop", QStyle::SP_MediaStop},
        {"FastForward", "Fast Forward", "media-seek-forward", QStyle::SP_MediaSeekForward},
        {"Random", "Pick Random", "media-playlist-shuffle", QStyle::SP_BrowserReload},
        {"Next", "Next", "media-skip-forward", QStyle::SP_MediaSkipForward},
        {"NextAdvanced", "Next (Advanced)", "go-last", QStyle::SP_ArrowRight},
        {"AddFiles", "Add Files", "list-add", QStyle::SP_FileDialogNewFolder},
        {"Mute", "Mute", "audio-volume-muted", QStyle::SP_MediaVolumeMuted},
        {"PreviousPlaylist", "Previous Playlist", "go-previous", QStyle::SP_ArrowBack},
        {"NextPlaylist", "Next Playlist", "go-next", QStyle::SP_ArrowForward},
    };
    for (const Button& b : buttons) {
        const QString key = QString::fromLatin1(b.key);
        if (key == QLatin1String("Random") || key == QLatin1String("AddFiles") || key == QLatin1String("PreviousPlaylist"))
            tbToolbar->addSeparator();
        QAction* a = tbToolbar->addAction(controls_ThemeIcon(b.icon, b.fallback), QString::fromLatin1(b.tip));
        a->setObjectName(QStringLiteral("tb") + key);
        a->setData(key);
        a->setToolTip(QString::fromLatin1(b.tip));
        if (key == QLatin1String("Mute")) a->setCheckable(true);
        connect(a, &QAction::triggered, this, [this, key] { tbToolbar_ButtonClick(key); });
    }
    cbToolbar->addWidget(tbToolbar);

    auto* sliders = new QWidget(cbToolbar);
    sliders->setObjectName(QStringLiteral("picSliders"));
    sliders->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    auto* row = new QHBoxLayout(sliders);
    row->setContentsMargins(6, 0, 6, 0);
    row->setSpacing(4);
    auto makeSlider = [this, sliders](const char* name, int max) {
        auto* s = new QSlider(Qt::Horizontal, sliders);
        s->setObjectName(QString::fromLatin1(name));
        s->setRange(0, max);
        s->setFocusPolicy(Qt::NoFocus);
        s->installEventFilter(this);
        return s;
    };
    auto makeIcon = [sliders](const char* icon, QStyle::StandardPixmap fallback, const QString& tip) {
        auto* l = new QLabel(sliders);
        l->setPixmap(controls_ThemeIcon(icon, fallback).pixmap(16, 16));
        l->setToolTip(tip);
        return l;
    };
    sldPosition = makeSlider("sldPosition", 0);
    sldPosition->setEnabled(false);
    sldPosition->setToolTip(QStringLiteral("Position"));
    sldPosition->setMinimumWidth(120);
    sldVolume = makeSlider("sldVolume", 100);
    sldBalance = makeSlider("sldBalance", 100);
    sldVolume->setValue(50);
    sldBalance->setValue(50);
    sldVolume->setToolTip(QStringLiteral("Volume"));
    sldBalance->setToolTip(QStringLiteral("Balance"));
    sldVolume->setFixedWidth(90);
    sldBalance->setFixedWidth(64);
    row->addWidget(sldPosition, 1);
    row->addSpacing(8);
    row->addWidget(makeIcon("audio-volume-high", QStyle::SP_MediaVolume, QStringLiteral("Volume")));
    row->addWidget(sldVolume);
    row->addSpacing(6);
    auto makeText = [sliders](const char* text) {
        auto* l = new QLabel(QString::fromLatin1(text), sliders);
        l->setToolTip(QStringLiteral("Balance"));
        return l;
    };
    row->addWidget(makeText("L"));
    row->addWidget(sldBalance);
    row->addWidget(makeText("R"));
    cbToolbar->addWidget(sliders);

    // Control band: the playlist box and the Options label (placed by Form_Resize).
    cbControls = new QToolBar(QStringLiteral("cbControls"), picClient);
    cbControls->setObjectName(QStringLiteral("cbControls"));
    cbControls->setMovable(false);
    cbControls->setFloatable(false);
    uspControls = new QWidget(cbControls);
    uspControls->setObjectName(QStringLiteral("uspControls"));
    uspControls->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    cmbPlaylists = new QComboBox(uspControls);
    cmbPlaylists->setObjectName(QStringLiteral("cmbPlaylists"));
    cmbPlaylists->setToolTip(QStringLiteral("Playlists"));
    lblOptions = new QLabel(QStringLiteral("Options "), uspControls);
    lblOptions->setObjectName(QStringLiteral("lblOptions"));
    lblOptions->setCursor(Qt::PointingHandCursor);
    lblOptions->adjustSize();
    cmbPlaylists->move(vb::TwipsToPixels(60), 0);
    cmbPlaylists->resize(200, cmbPlaylists->sizeHint().height());
    uspControls->setFixedHeight(cmbPlaylists->height());
    lblOptions->move(cmbPlaylists->x() + cmbPlaylists->width() + vb::TwipsToPixels(120),
                     (cmbPlaylists->height() - lblOptions->height()) / 2);
    cbControls->addWidget(uspControls);

    // The playlist.
    lstvPlaylist = new ListView(picClient);
    lstvPlaylist->setObjectName(QStringLiteral("lstvPlaylist"));
    lstvPlaylist->setColumns(PlaylistColumn::headers());
    const double widths[PlaylistColumn::Count] = {800, 3000, 3000, 1000, 1000, 1000, 3000};
    for (int c = 0; c < PlaylistColumn::Count; ++c) lstvPlaylist->setColumnWidthTwips(c, widths[c]);
    lstvPlaylist->setMultiSelect(true);
    lstvPlaylist->setAcceptDrops(true);
    lstvPlaylist->viewport()->setAcceptDrops(true);
    lstvPlaylist->viewport()->installEventFilter(this);

    lblAlbum = new QLabel(this);
    lblAlbum->setObjectName(QStringLiteral("lblAlbum"));
    lblAlbum->hide();
    lblSearch = new QLabel(this);
    lblSearch->setObjectName(QStringLiteral("lblSearch"));
    lblSearch->hide();

    // Status bar: status text, song count, time.
    sbStatusBar = new QStatusBar(picClient);
    sbStatusBar->setObjectName(QStringLiteral("sbStatusBar"));
    sbStatusBar->setSizeGripEnabled(false);
    controls_AddStatusPanels(sbStatusBar, sbPanel, {"Status:", "Songs:  None", "Elapsed:"});
    sbPanel[1]->setMinimumWidth(vb::TwipsToPixels(1950));
    sbPanel[2]->setMinimumWidth(vb::TwipsToPixels(1950));

    auto makeTimer = [this](const char* name, int interval) {
        auto* t = new QTimer(this);
        t->setObjectName(QString::fromLatin1(name));
        t->setInterval(interval);
        return t;
    };
    tmrPosition = makeTimer("tmrPosition", 500);
    tmrMenuText = makeTimer("tmrMenuText", 1);
    tmrWindowUpdate = makeTimer("tmrWindowUpdate", 50);
    tmrSystemTrayDetect = makeTimer("tmrSystemTrayDetect", 500);
    tmrMediaKeys = makeTimer("tmrMediaKeys", 250);
    connect(tmrPosition, &QTimer::timeout, this, [this] { tmrPosition_Timer(); });
    connect(tmrWindowUpdate, &QTimer::timeout, this, [this] { tmrWindowUpdate_Timer(); });
    connect(tmrSystemTrayDetect, &QTimer::timeout, this, [this] { tmrSystemTrayDetect_Timer(); });
    connect(tmrMediaKeys, &QTimer::timeout, this, [this] { tmrMediaKeys_Timer(); });
}

void FrmMain::connectCommands()
{
    // The playlist box opens the playlist chosen.
    connect(cmbPlaylists, qOverload<int>(&QComboBox::currentIndexChanged), this, [this] { cmbPlaylists_Click(); });
    // Sliders follow the user's drag only, never the timer's own updates. The action is
    // reported before the slider takes its new value, so the handlers run just after.
    connect(sldPosition, &QSlider::actionTriggered, this, [this] { QTimer::singleShot(0, this, [this] { sldPosition_Change(); }); });
    connect(sldVolume, &QSlider::actionTriggered, this, [this] { QTimer::singleShot(0, this, [this] { sldVolume_Change(); }); });
    connect(sldBalance, &QSlider::actionTriggered, this, [this] { QTimer::singleShot(0, this, [this] { sldBalance_Change(); }); });
}

void FrmMain::followRows()
{
    // The playing row and the Play Next mark stay with the rows they point at.
    ListViewModel& m = rows();
    connect(&m, &QAbstractItemModel::rowsInserted, this, [this](const QModelIndex&, int first, int last) {
        const int n = last - first + 1;
        if (CurrentTrack >= first + 1) CurrentTrack += n;
        if (PlayNextIndex >= first + 1) PlayNextIndex += n;
    });
    connect(&m, &QAbstractItemModel::rowsRemoved, this, [this](const QModelIndex&, int first, int last) {
        const int n = last - first + 1;
        // 1-based: rows first+1 .. last+1 went
        if (CurrentTrack > last + 1) CurrentTrack -= n;
        else if (CurrentTrack >= first + 1) {
            CurrentTrack = first;   // the row before their place
            m_sequence.currentRowGone(CurrentTrack);
        }
        if (PlayNextIndex > last + 1) PlayNextIndex -= n;
        else if (PlayNextIndex >= first + 1) {
            PlayNextIndex = 0;
            playNextCaptions(false);
        }
    });
    // Sorts and moves keep every row: the keys find them again.
    auto remember = [this] {
        m_currentKey = rows().rowKey(CurrentTrack);
        m_playNextKey = rows().rowKey(PlayNextIndex);
    };
    auto restore = [this] {
        if (m_currentKey) CurrentTrack = rows().rowOfKey(m_currentKey);
        if (m_playNextKey) PlayNextIndex = rows().rowOfKey(m_playNextKey);
        m_currentKey = m_playNextKey = 0;
    };
    connect(&m, &QAbstractItemModel::layoutAboutToBeChanged, this, remember);
    connect(&m, &QAbstractItemModel::layoutChanged, this, restore);
    // A reset may drop rows (many scattered rows removed at once, or all of them). The rows
    // that stay keep their order, so the playing row's place is after the last kept row of
    // those up to it.
    connect(&m, &QAbstractItemModel::modelAboutToBeReset, this, [this] {
        m_keysUpToCurrent.clear();
        const int n = rows().count();
        if (CurrentTrack >= 1 && CurrentTrack <= n) {
            m_keysUpToCurrent.reserve(size_t(CurrentTrack));
            for (int r = 1; r <= CurrentTrack; ++r) m_keysUpToCurrent.push_back(rows().rowKey(r));
        }
        m_playNextKey = rows().rowKey(PlayNextIndex);
    });
    connect(&m, &QAbstractItemModel::modelReset, this, [this] {
        ListViewModel& list = rows();
        if (!m_keysUpToCurrent.empty()) {
            int kept = 0;
            size_t k = 0;
            for (int r = 1; r <= list.count() && k < m_keysUpToCurrent.size(); ++r) {
                const quint64 key = list.rowKey(r);
                while (k < m_keysUpToCurrent.size() && m_keysUpToCurrent[k] != key) ++k;
                if (k == m_keysUpToCurrent.size()) break;
                kept = r;
                ++k;
            }
            CurrentTrack = list.rowOfKey(m_keysUpToCurrent.back());
            if (!CurrentTrack) {
                CurrentTrack = kept;
                m_sequence.currentRowGone(CurrentTrack);
            }
            m_keysUpToCurrent.clear();
        }
        if (m_playNextKey) {
            PlayNextIndex = list.rowOfKey(m_playNextKey);
            if (!PlayNextIndex) playNextCaptions(false);
            m_playNextKey = 0;
        }
    });
}

ListViewModel& FrmMain::rows() const { return lstvPlaylist->items(); }

veltra::MediaPlayerControl& FrmMain::wmpPlayer() const { return *forms().get<FrmVideo>().wmpPlayer; }

QString FrmMain::statusPanelText(int panel) const { return controls_StatusPanelText(sbPanel, panel); }

void FrmMain::setStatusPanelText(int panel, const QString& text) { controls_SetStatusPanelText(sbPanel, panel, text); }

QAction* FrmMain::toolbarButton(const QString& key) const
{
    for (QAction* a : tbToolbar->actions())
        if (a->data().toString() == key) return a;
    return nullptr;
}

void FrmMain::tbToolbar_ButtonClick(const QString& key)
{
    if (key == QLatin1String("Previous")) mnuPrevious_Click();
    else if (key == QLatin1String("Rewind")) mnuRewind_Click();
    else if (key == QLatin1String("Play")) mnuPlay_Click();
    else if (key == QLatin1String("Pause")) mnuPause_Click();
    else if (key == QLatin1String("Stop")) mnuStop_Click();
    else if (key == QLatin1String("FastForward")) mnuFastForward_Click();
    else if (key == QLatin1String("Random")) mnuRandom_Click();
    else if (key == QLatin1String("Next")) mnuNextTrack_Click();
    else if (key == QLatin1String("NextAdvanced")) mnuNextTrackAdvanced_Click();
    else if (key == QLatin1String("AddFiles")) mnuAddFiles->trigger();
    else if (key == QLatin1String("Mute")) mnuMute_Click();
    else if (key == QLatin1String("PreviousPlaylist")) player_PreviousPlaylist(false);
    else if (key == QLatin1String("NextPlaylist")) player_NextPlaylist(false);
}

clsID3v1& FrmMain::id3v1()
{
    if (!m_id3v1) m_id3v1 = std::make_unique<clsID3v1>();
    return *m_id3v1;
}

clsID3v2& FrmMain::id3v2()
{
    if (!m_id3v2) m_id3v2 = std::make_unique<clsID3v2>();
    return *m_id3v2;
}

void FrmMain::releaseTags()
{
    m_id3v1.reset();
    m_id3v2.reset();
}

bool FrmMain::eventFilter(QObject* watched, QEvent* event)
{
    // The sliders ignore the keyboard entirely.
    if ((watched == sldPosition || watched == sldVolume || watched == sldBalance)
        && (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease))
        return true;
    if (lstvPlaylist && watched == lstvPlaylist->viewport()) {
        // Dropped files are only referred to: taken as a copy or a link, never as a move,
        // which would tell the file manager to delete them.
        auto takeWithoutMoving = [](QDropEvent* e) {
            for (const Qt::DropAction a : {Qt::CopyAction, Qt::LinkAction}) {
                if (e->possibleActions() & a) {
                    e->setDropAction(a);
                    e->accept();
                    return true;
                }
            }
            e->ignore();
            return false;
        };
        if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
            auto* e = static_cast<QDropEvent*>(event);
            if (!IsDraggingRow && e->mimeData()->hasUrls()) {
                takeWithoutMoving(e);
                return true;
            }
        } else if (event->type() == QEvent::Drop) {
            auto* e = static_cast<QDropEvent*>(event);
            if (!IsDraggingRow && e->mimeData()->hasUrls()) {
                if (!takeWithoutMoving(e)) return true;
                QStringList files;
                for (const QUrl& url : e->mimeData()->urls())
                    if (url.isLocalFile()) files.append(url.toLocalFile());
                lstvPlaylist_OLEDragDrop(files);
                return true;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}
