#include "player/FrmMain.h"

#include "common/ListView.h"
#include "common/MenuArray.h"
#include "common/modVB.h"
#include "controls/ctlQX_wScrollbar.h"
#include "media/clsID3v1.h"
#include "media/clsID3v2.h"
#include "platform/MediaPlayerControl.h"
#include "platform/ProgramFolder.h"
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

namespace {
const QStringList kPlaylistColumns = {QStringLiteral("No."),     QStringLiteral("Artist:"), QStringLiteral("Title:"),
                                      QStringLiteral("Year:"),   QStringLiteral("Status:"), QStringLiteral("Length:"),
                                      QStringLiteral("Filename:")};

// Theme icons with the style's own as fallback.
QIcon themeIcon(const char* name, QStyle::StandardPixmap fallback)
{
    return QIcon::fromTheme(QString::fromLatin1(name), QApplication::style()->standardIcon(fallback));
}
} // namespace

FrmMain::FrmMain()
{
    setObjectName(QStringLiteral("FrmMain"));
    setWindowTitle(programfolder::title());
    resize(760, 480);
    setWindowIcon(themeIcon("multimedia-player", QStyle::SP_MediaPlay));
    createMenuBar();
    createControls();
    connectCommands();
    connectWindow();
    followRows();
}

FrmMain::~FrmMain()
{
    // The window's event hook uses the list and the other controls it watches: it goes
    // before they do, so no event of their destruction reaches it.
    delete findChild<QObject*>(QStringLiteral("FrmMainEventHook"), Qt::FindDirectChildrenOnly);
}

QAction* FrmMain::addItem(QMenu* menu, const char* name, const QString& caption, bool checkable)
{
    QAction* a = menu->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    a->setCheckable(checkable);
    a->setShortcutContext(Qt::WindowShortcut);
    return a;
}

void FrmMain::createMenuBar()
{
    QMenuBar* bar = menuBar();
    mnuFile = bar->addMenu(QStringLiteral("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuFile->menuAction()->setObjectName(QStringLiteral("mnuFile"));
    mnuNew = addItem(mnuFile, "mnuNew", QStringLiteral("&New...\tCtrl+N"), false);
    mnuNew->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    mnuFile->addSeparator();
    mnuAddFiles = addItem(mnuFile, "mnuAddFiles", QStringLiteral("Add &Files..."), false);
    mnuAddPlaylist = addItem(mnuFile, "mnuAddPlaylist", QStringLiteral("&Add Playlist..."), false);
    mnuAddLocation = addItem(mnuFile, "mnuAddLocation", QStringLiteral("Add &Location..."), false);
    mnuAddDirectory = addItem(mnuFile, "mnuAddDirectory", QStringLiteral("Add &Directory..."), false);
    mnuFile->addSeparator();
    mnuOpenPlaylist = addItem(mnuFile, "mnuOpenPlaylist", QStringLiteral("&Open...\tCtrl+O"), false);
    mnuOpenPlaylist->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    mnuOpenMood = mnuFile->addMenu(QStringLiteral("Open &Mood:"));
    mnuOpenMood->setObjectName(QStringLiteral("mnuOpenMood"));
    mnuOpenMood->menuAction()->setObjectName(QStringLiteral("mnuOpenMood"));
    mnuEditMoods = addItem(mnuOpenMood, "mnuEditMoods", QStringLiteral("&Edit Moods..."), false);
    mnuOpenMood->addSeparator();
    mnuMoodOpen = new MenuArray(this);
    mnuMoodOpen->setObjectName(QStringLiteral("mnuMoodOpen"));
    mnuMoodOpen->attach(addItem(mnuOpenMood, "mnuMoodOpen", QStringLiteral("[Mood]"), true));
    mnuOpenMood->addSeparator();
    mnuResetMoods = addItem(mnuOpenMood, "mnuResetMoods", QStringLiteral("&Reset Moods..."), false);
    mnuOpenBookmark = mnuFile->addMenu(QStringLiteral("Open &Bookmark:"));
    mnuOpenBookmark->setObjectName(QStringLiteral("mnuOpenBookmark"));
    mnuOpenBookmark->menuAction()->setObjectName(QStringLiteral("mnuOpenBookmark"));
    mnuAddSelected = addItem(mnuOpenBookmark, "mnuAddSelected", QStringLiteral("&Add Selected..."), false);
    mnuEditBookmarks = addItem(mnuOpenBookmark, "mnuEditBookmarks", QStringLiteral("&Edit Bookmarks..."), false);
    mnuOpenBookmark->addSeparator();
    mnuBookmark = new MenuArray(this);
    mnuBookmark->setObjectName(QStringLiteral("mnuBookmark"));
    mnuBookmark->attach(addItem(mnuOpenBookmark, "mnuBookmark", QStringLiteral("[Bookmark]"), false));
    mnuOpenBookmark->addSeparator();
    mnuClearBookmarks = addItem(mnuOpenBookmark, "mnuClearBookmarks", QStringLiteral("&Clear Bookmarks..."), false);
    mnuFile->addSeparator();
    mnuSave = addItem(mnuFile, "mnuSave", QStringLiteral("&Save...\tCtrl+S"), false);
    mnuSave->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    mnuSavePlaylistAs = addItem(mnuFile, "mnuSavePlaylistAs", QStringLiteral("Sa&ve As..."), false);
    mnuSaveAsDefault = addItem(mnuFile, "mnuSaveAsDefault", QStringLiteral("Save As &Default..."), false);
    mnuFile->addSeparator();
    mnuPrint = addItem(mnuFile, "mnuPrint", QStringLiteral("P&rint..."), false);
    mnuFile->addSeparator();
    mnuRecentMediaFiles = mnuFile->addMenu(QStringLiteral("Recen&t Media:"));
    mnuRecentMediaFiles->setObjectName(QStringLiteral("mnuRecentMediaFiles"));
    mnuRecentMediaFiles->menuAction()->setObjectName(QStringLiteral("mnuRecentMediaFiles"));
    mnuRecentMedia = new MenuArray(this);
    mnuRecentMedia->setObjectName(QStringLiteral("mnuRecentMedia"));
    mnuRecentMedia->attach(addItem(mnuRecentMediaFiles, "mnuRecentMedia", QStringLiteral("<Empty>"), false));
    mnuRecentPlaylists = mnuFile->addMenu(QStringLiteral("&Recent Playlists:"));
    mnuRecentPlaylists->setObjectName(QStringLiteral("mnuRecentPlaylists"));
    mnuRecentPlaylists->menuAction()->setObjectName(QStringLiteral("mnuRecentPlaylists"));
    mnuRecentPlaylist = new MenuArray(this);
    mnuRecentPlaylist->setObjectName(QStringLiteral("mnuRecentPlaylist"));
    mnuRecentPlaylist->attach(addItem(mnuRecentPlaylists, "mnuRecentPlaylist", QStringLiteral("<Empty>"), false));
    mnuFile->addSeparator();
    mnuPreferences = addItem(mnuFile, "mnuPreferences", QStringLiteral("&Preferences...\tCtrl+P"), false);
    mnuPreferences->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    mnuFile->addSeparator();
    mnuExit = addItem(mnuFile, "mnuExit", QStringLiteral("E&xit"), false);
    mnuPlayback = bar->addMenu(QStringLiteral("&Playback"));
    mnuPlayback->setObjectName(QStringLiteral("mnuPlayback"));
    mnuPlayback->menuAction()->setObjectName(QStringLiteral("mnuPlayback"));
    mnuPrevious = addItem(mnuPlayback, "mnuPrevious", QStringLiteral("Pre&vious"), false);
    mnuPlayback->addSeparator();
    mnuRewind = addItem(mnuPlayback, "mnuRewind", QStringLiteral("&Rewind"), false);
    mnuPlay = addItem(mnuPlayback, "mnuPlay", QStringLiteral("&Play"), false);
    mnuPause = addItem(mnuPlayback, "mnuPause", QStringLiteral("Pa&use"), false);
    mnuStop = addItem(mnuPlayback, "mnuStop", QStringLiteral("&Stop"), false);
    mnuRandom = addItem(mnuPlayback, "mnuRandom", QStringLiteral("Rando&m"), false);
    mnuFastForward = addItem(mnuPlayback, "mnuFastForward", QStringLiteral("&Fast Forward"), false);
    mnuPlayback->addSeparator();
    mnuNextTrack = addItem(mnuPlayback, "mnuNextTrack", QStringLiteral("&Next"), false);
    mnuNextTrackAdvanced = addItem(mnuPlayback, "mnuNextTrackAdvanced", QStringLiteral("Next (&Advanced)"), false);
    mnuPlayback->addSeparator();
    mnuJump = mnuPlayback->addMenu(QStringLiteral("&Jump:"));
    mnuJump->setObjectName(QStringLiteral("mnuJump"));
    mnuJump->menuAction()->setObjectName(QStringLiteral("mnuJump"));
    mnuJumpToTime = addItem(mnuJump, "mnuJumpToTime", QStringLiteral("Jump To &Time..."), false);
    mnuJumpToMedia = addItem(mnuJump, "mnuJumpToMedia", QStringLiteral("&Jump To Media..."), false);
    mnuJumpToTrackNumber = addItem(mnuJump, "mnuJumpToTrackNumber", QStringLiteral("Jump To Track N&umber..."), false);
    mnuJump->addSeparator();
    mnuJumpForward10Tracks = addItem(mnuJump, "mnuJumpForward10Tracks", QStringLiteral("Jump Forward &10 Tracks..."), false);
    mnuJumpForward5Tracks = addItem(mnuJump, "mnuJumpForward5Tracks", QStringLiteral("Jump Forward &5 Tracks..."), false);
    mnuJumpBack5Tracks = addItem(mnuJump, "mnuJumpBack5Tracks", QStringLiteral("Jump &Back 5 Tracks..."), false);
    mnuJumpBack10Tracks = addItem(mnuJump, "mnuJumpBack10Tracks", QStringLiteral("Jump B&ack 10 Tracks..."), false);
    mnuJump->addSeparator();
    mnuJumpToCurrentlyPlaying = addItem(mnuJump, "mnuJumpToCurrentlyPlaying", QStringLiteral("Jump To &Currently Playing..."), false);
    mnuJump->addSeparator();
    mnuJumpToFirstTrack = addItem(mnuJump, "mnuJumpToFirstTrack", QStringLiteral("Jump To &First Track..."), false);
    mnuJumpToMiddleTrack = addItem(mnuJump, "mnuJumpToMiddleTrack", QStringLiteral("Jump To &Middle Track..."), false);
    mnuJumpToLastTrack = addItem(mnuJump, "mnuJumpToLastTrack", QStringLiteral("Jump To &Last Track..."), false);
    mnuJump->addSeparator();
    mnuJumpToPreviousPlaylist = addItem(mnuJump, "mnuJumpToPreviousPlaylist", QStringLiteral("Jump To &Previous Playlist..."), false);
    mnuJumpToRandomPlaylist = addItem(mnuJump, "mnuJumpToRandomPlaylist", QStringLiteral("Jump To &Random Playlist..."), false);
    mnuJumpToNextPlaylist = addItem(mnuJump, "mnuJumpToNextPlaylist", QStringLiteral("Jump To &Next Playlist..."), false);
    mnuOptions = mnuPlayback->addMenu(QStringLiteral("&Options:"));
    mnuOptions->setObjectName(QStringLiteral("mnuOptions"));
    mnuOptions->menuAction()->setObjectName(QStringLiteral("mnuOptions"));
    mnuPlayingShuffleByArtist = addItem(mnuOptions, "mnuPlayingShuffleByArtist", QStringLiteral("Playing:  S&huffle By Artist..."), true);
    mnuPlayingShuffleByAlbum = addItem(mnuOptions, "mnuPlayingShuffleByAlbum", QStringLiteral("Playing:  Sh&uffle By Album..."), true);
    mnuPlayingShuffleByYear = addItem(mnuOptions, "mnuPlayingShuffleByYear", QStringLiteral("Playing:  Shuffle B&y Year..."), true);
    mnuOptions->addSeparator();
    mnuPlayingIntroduction = addItem(mnuOptions, "mnuPlayingIntroduction", QStringLiteral("Playing:  &Introduction..."), true);
    mnuPlayingRepeat = addItem(mnuOptions, "mnuPlayingRepeat", QStringLiteral("Playing:  &Repeat..."), true);
    mnuPlayingRepeatOnce = addItem(mnuOptions, "mnuPlayingRepeatOnce", QStringLiteral("Playing:  Repeat On&ce..."), true);
    mnuPlayingStopAfterEnding = addItem(mnuOptions, "mnuPlayingStopAfterEnding", QStringLiteral("Playing:  &Stop After Ending..."), true);
    mnuPlayingPickRandomSongs = addItem(mnuOptions, "mnuPlayingPickRandomSongs", QStringLiteral("Playing:  &Pick Random Songs..."), true);
    mnuPlayingGoThroughPlaylistNormally = addItem(mnuOptions, "mnuPlayingGoThroughPlaylistNormally", QStringLiteral("Playing:  &Go Through Playlist Normally..."), true);
    mnuOptions->addSeparator();
    mnuWorkForwardThroughList = addItem(mnuOptions, "mnuWorkForwardThroughList", QStringLiteral("Work &Forward Through Playlist..."), true);
    mnuWorkBackwardsThroughPlaylist = addItem(mnuOptions, "mnuWorkBackwardsThroughPlaylist", QStringLiteral("Work &Backwards Through Playlist..."), true);
    mnuOptions->addSeparator();
    mnuPlaylistRepeat = addItem(mnuOptions, "mnuPlaylistRepeat", QStringLiteral("Playlist:  Repe&at..."), true);
    mnuPlaylistRepeatOnce = addItem(mnuOptions, "mnuPlaylistRepeatOnce", QStringLiteral("Playlist:  Repeat O&nce..."), true);
    mnuPlaylistStopAfterEnding = addItem(mnuOptions, "mnuPlaylistStopAfterEnding", QStringLiteral("Playlist:  S&top After Ending..."), true);
    mnuPlaylistPickRandomAfterEnding = addItem(mnuOptions, "mnuPlaylistPickRandomAfterEnding", QStringLiteral("Playlist:  Pick Rando&m After Ending..."), true);
    mnuPlaylistSwitchToNext = addItem(mnuOptions, "mnuPlaylistSwitchToNext", QStringLiteral("Playlist:  S&witch To Next After Ending..."), true);
    mnuSelected = mnuPlayback->addMenu(QStringLiteral("Se&lected:"));
    mnuSelected->setObjectName(QStringLiteral("mnuSelected"));
    mnuSelected->menuAction()->setObjectName(QStringLiteral("mnuSelected"));
    mnuPlayNext = addItem(mnuSelected, "mnuPlayNext", QStringLiteral("Play Ne&xt..."), false);
    mnuSelected->addSeparator();
    mnuStoreVolume = addItem(mnuSelected, "mnuStoreVolume", QStringLiteral("Store &Volume..."), false);
    mnuSelected->addSeparator();
    mnuProperties = addItem(mnuSelected, "mnuProperties", QStringLiteral("&Properties..."), false);
    mnuPlayback->addSeparator();
    mnuMute = addItem(mnuPlayback, "mnuMute", QStringLiteral("Mut&e"), false);
    mnuArrange = bar->addMenu(QStringLiteral("&Arrange"));
    mnuArrange->setObjectName(QStringLiteral("mnuArrange"));
    mnuArrange->menuAction()->setObjectName(QStringLiteral("mnuArrange"));
    mnuLockPlaylist = addItem(mnuArrange, "mnuLockPlaylist", QStringLiteral("&Lock Playlist...\tCtrl+L"), true);
    mnuLockPlaylist->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    mnuArrange->addSeparator();
    mnuEdit = mnuArrange->addMenu(QStringLiteral("&Edit:"));
    mnuEdit->setObjectName(QStringLiteral("mnuEdit"));
    mnuEdit->menuAction()->setObjectName(QStringLiteral("mnuEdit"));
    mnuCut = addItem(mnuEdit, "mnuCut", QStringLiteral("Cu&t\tCtrl+X"), false);
    mnuCut->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));
    mnuCopy = addItem(mnuEdit, "mnuCopy", QStringLiteral("&Copy...\tCtrl+C"), false);
    mnuCopy->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    mnuPaste = addItem(mnuEdit, "mnuPaste", QStringLiteral("&Paste...\tCtrl+V"), false);
    mnuPaste->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
    mnuEdit->addSeparator();
    mnuClear = addItem(mnuEdit, "mnuClear", QStringLiteral("C&lear...\tShift+Del"), false);
    mnuClear->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_Delete));
    mnuEdit->addSeparator();
    mnuSelectAll = addItem(mnuEdit, "mnuSelectAll", QStringLiteral("Select &All...\tCtrl+A"), false);
    mnuSelectAll->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    mnuEntries = mnuArrange->addMenu(QStringLiteral("E&ntries:"));
    mnuEntries->setObjectName(QStringLiteral("mnuEntries"));
    mnuEntries->menuAction()->setObjectName(QStringLiteral("mnuEntries"));
    mnuTagsShowTagsAsFilesAreAdded = addItem(mnuEntries, "mnuTagsShowTagsAsFilesAreAdded", QStringLiteral("Tags:  Show Tags As Files Are &Added..."), true);
    mnuTagsShowTagsAsFilesArePlayed = addItem(mnuEntries, "mnuTagsShowTagsAsFilesArePlayed", QStringLiteral("Tags:  Show Tags As Files Are &Played..."), true);
    mnuEntries->addSeparator();
    mnuTagsUseID3v2Tags = addItem(mnuEntries, "mnuTagsUseID3v2Tags", QStringLiteral("Tags:  &Use ID3v2 Tags..."), true);
    mnuEntries->addSeparator();
    mnuPlaylistEditAllTags = addItem(mnuEntries, "mnuPlaylistEditAllTags", QStringLiteral("Playlist:  Edit A&ll Tags..."), false);
    mnuPlaylistRefreshTags = addItem(mnuEntries, "mnuPlaylistRefreshTags", QStringLiteral("Playlist:  &Refresh Tags...\tF5"), false);
    mnuPlaylistRefreshTags->setShortcut(QKeySequence(Qt::Key_F5));
    mnuPlaylistRenameAllFilenames = addItem(mnuEntries, "mnuPlaylistRenameAllFilenames", QStringLiteral("Playlist:  Rename All &Filenames..."), false);
    mnuPlaylistMoveMusicToFolder = addItem(mnuEntries, "mnuPlaylistMoveMusicToFolder", QStringLiteral("Playlist:  &Move Music To Folder..."), false);
    mnuEntries->addSeparator();
    mnuSelectedCrop = addItem(mnuEntries, "mnuSelectedCrop", QStringLiteral("Selected:  Cr&op..."), false);
    mnuSelectedRenameFilename = addItem(mnuEntries, "mnuSelectedRenameFilename", QStringLiteral("Selected:  Re&name Filename..."), false);
    mnuEntries->addSeparator();
    mnuRemoveSelected = addItem(mnuEntries, "mnuRemoveSelected", QStringLiteral("Remove:  &Selected...\tDel"), false);
    mnuRemoveSelected->setShortcut(QKeySequence(Qt::Key_Delete));
    mnuRemoveAlDeadFilenames = addItem(mnuEntries, "mnuRemoveAlDeadFilenames", QStringLiteral("Remove:  &Dead Filenames..."), false);
    mnuRemoveDuplicateFilenames = addItem(mnuEntries, "mnuRemoveDuplicateFilenames", QStringLiteral("Remove:  Dupl&icate Filenames..."), false);
    mnuRemovePhysicallyDeleteSelected = addItem(mnuEntries, "mnuRemovePhysicallyDeleteSelected", QStringLiteral("Remove:  P&hysically Delete Selected..."), false);
    mnuPlaylists = mnuArrange->addMenu(QStringLiteral("&Playlists:"));
    mnuPlaylists->setObjectName(QStringLiteral("mnuPlaylists"));
    mnuPlaylists->menuAction()->setObjectName(QStringLiteral("mnuPlaylists"));
    mnuNewPlaylist = mnuPlaylists->addMenu(QStringLiteral("&New:"));
    mnuNewPlaylist->setObjectName(QStringLiteral("mnuNewPlaylist"));
    mnuNewPlaylist->menuAction()->setObjectName(QStringLiteral("mnuNewPlaylist"));
    mnuGeneratePlaylist = addItem(mnuNewPlaylist, "mnuGeneratePlaylist", QStringLiteral("Playlist:  &Generate..."), false);
    mnuUseRandomSongsForPlaylist = addItem(mnuNewPlaylist, "mnuUseRandomSongsForPlaylist", QStringLiteral("Playlist:  &Use Random Songs..."), false);
    mnuNewPlaylist->addSeparator();
    mnuManagePlaylists = addItem(mnuNewPlaylist, "mnuManagePlaylists", QStringLiteral("&Manage Playlists..."), false);
    mnuPlaylists->addSeparator();
    mnuRenameCurrentPlaylist = addItem(mnuPlaylists, "mnuRenameCurrentPlaylist", QStringLiteral("Current:  &Rename..."), false);
    mnuDeleteCurrentPlaylist = addItem(mnuPlaylists, "mnuDeleteCurrentPlaylist", QStringLiteral("Current:  &Delete..."), false);
    mnuPlaylists->addSeparator();
    mnuDeleteAllPlaylists = addItem(mnuPlaylists, "mnuDeleteAllPlaylists", QStringLiteral("Delete &All Playlists..."), false);
    mnuDisplay = mnuArrange->addMenu(QStringLiteral("&Display:"));
    mnuDisplay->setObjectName(QStringLiteral("mnuDisplay"));
    mnuDisplay->menuAction()->setObjectName(QStringLiteral("mnuDisplay"));
    mnuChangeAppearance = addItem(mnuDisplay, "mnuChangeAppearance", QStringLiteral("&Change Appearance..."), false);
    mnuDisplay->addSeparator();
    mnuFontsizeIncrease = addItem(mnuDisplay, "mnuFontsizeIncrease", QStringLiteral("Fontsize:  &Increase..."), false);
    mnuFontsizeDecrease = addItem(mnuDisplay, "mnuFontsizeDecrease", QStringLiteral("Fontsize:  &Decrease..."), false);
    mnuSort = mnuArrange->addMenu(QStringLiteral("&Sort:"));
    mnuSort->setObjectName(QStringLiteral("mnuSort"));
    mnuSort->menuAction()->setObjectName(QStringLiteral("mnuSort"));
    mnuSortByArtist = addItem(mnuSort, "mnuSortByArtist", QStringLiteral("Sort By:  &Artist..."), true);
    mnuSortByTitle = addItem(mnuSort, "mnuSortByTitle", QStringLiteral("Sort By:  &Title..."), true);
    mnuSortByYear = addItem(mnuSort, "mnuSortByYear", QStringLiteral("Sort By:  &Year..."), true);
    mnuSortByLength = addItem(mnuSort, "mnuSortByLength", QStringLiteral("Sort By:  &Length..."), true);
    mnuSortByFilename = addItem(mnuSort, "mnuSortByFilename", QStringLiteral("Sort By:  &Filename..."), true);
    mnuSort->addSeparator();
    mnuSortViaAcending = addItem(mnuSort, "mnuSortViaAcending", QStringLiteral("Sort Via:  A&scending..."), true);
    mnuSortViaDecending = addItem(mnuSort, "mnuSortViaDecending", QStringLiteral("Sort Via:  D&escending..."), true);
    mnuDontSort = addItem(mnuSort, "mnuDontSort", QStringLiteral("Sort Via:  D&on't Sort..."), true);
    mnuSort->addSeparator();
    mnuSelectedMoveUp = addItem(mnuSort, "mnuSelectedMoveUp", QStringLiteral("Selected:  Move &Up..."), false);
    mnuSelectedMoveDown = addItem(mnuSort, "mnuSelectedMoveDown", QStringLiteral("Selected:  Move &Down..."), false);
    mnuSort->addSeparator();
    mnuShuffleThePlaylist = addItem(mnuSort, "mnuShuffleThePlaylist", QStringLiteral("S&huffle The Playlist..."), false);
    mnuArrange->addSeparator();
    mnuOpenCDPlayer = addItem(mnuArrange, "mnuOpenCDPlayer", QStringLiteral("Open &CD Player..."), true);
    mnuOpenMediaLibrary = addItem(mnuArrange, "mnuOpenMediaLibrary", QStringLiteral("Open &Media Library..."), true);
    mnuWindow = bar->addMenu(QStringLiteral("&Window"));
    mnuWindow->setObjectName(QStringLiteral("mnuWindow"));
    mnuWindow->menuAction()->setObjectName(QStringLiteral("mnuWindow"));
    mnuAlwaysOnTop = addItem(mnuWindow, "mnuAlwaysOnTop", QStringLiteral("Always On &Top..."), true);
    mnuHideInTheTaskManager = addItem(mnuWindow, "mnuHideInTheTaskManager", QStringLiteral("&Hide In The Task Manager..."), true);
    mnuWindow->addSeparator();
    mnuAppearance = mnuWindow->addMenu(QStringLiteral("&Appearance:"));
    mnuAppearance->setObjectName(QStringLiteral("mnuAppearance"));
    mnuAppearance->menuAction()->setObjectName(QStringLiteral("mnuAppearance"));
    mnuStatusBarShowTimeElapsed = addItem(mnuAppearance, "mnuStatusBarShowTimeElapsed", QStringLiteral("Status Bar:  Show Time &Elapsed..."), true);
    mnuStatusBarShowTimeRemaining = addItem(mnuAppearance, "mnuStatusBarShowTimeRemaining", QStringLiteral("Status Bar:  Show Time &Remaining..."), true);
    mnuWindows = mnuWindow->addMenu(QStringLiteral("Windows:"));
    mnuWindows->setObjectName(QStringLiteral("mnuWindows"));
    mnuWindows->menuAction()->setObjectName(QStringLiteral("mnuWindows"));
    mnuWindowsShowLyricsWhenAvailable = addItem(mnuWindows, "mnuWindowsShowLyricsWhenAvailable", QStringLiteral("Windows:  Show &Lyrics When Available..."), true);
    mnuWindowsShowEachSongAsItsPlayed = addItem(mnuWindows, "mnuWindowsShowEachSongAsItsPlayed", QStringLiteral("Windows:  &Show Each Song As It's Played..."), true);
    mnuWindowsDisableGlobalHotkeys = addItem(mnuWindows, "mnuWindowsDisableGlobalHotkeys", QStringLiteral("Windows:  &Disable Global Hotkeys..."), true);
    mnuWindows->addSeparator();
    mnuWindowsEditWindowsGLobalHotkeys = addItem(mnuWindows, "mnuWindowsEditWindowsGLobalHotkeys", QStringLiteral("Windows:  &Edit Windows Global Hotkeys..."), false);
    mnuWindows->addSeparator();
    mnuMessengerShowSongsBeingPlayed = addItem(mnuWindows, "mnuMessengerShowSongsBeingPlayed", QStringLiteral("&Messenger:  Show Songs Being Played..."), true);
    mnuKeys = mnuWindow->addMenu(QStringLiteral("Keys:"));
    mnuKeys->setObjectName(QStringLiteral("mnuKeys"));
    mnuKeys->menuAction()->setObjectName(QStringLiteral("mnuKeys"));
    mnuKeysUseAsShortcuts = addItem(mnuKeys, "mnuKeysUseAsShortcuts", QStringLiteral("Keys:  Use As Shortcut Keys..."), true);
    mnuKeysUseAsArtistFindingKeys = addItem(mnuKeys, "mnuKeysUseAsArtistFindingKeys", QStringLiteral("Keys:  Use As Artist Finding Keys..."), true);
    mnuWindow->addSeparator();
    mnuSwitchToMiniMode = addItem(mnuWindow, "mnuSwitchToMiniMode", QStringLiteral("Switch To &Mini-Mode...\tCtrl+F1"), true);
    mnuSwitchToMiniMode->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F1));
    mnuWindow->addSeparator();
    mnuShowToolbar = addItem(mnuWindow, "mnuShowToolbar", QStringLiteral("Show &Toolbar...\tF1"), true);
    mnuShowToolbar->setShortcut(QKeySequence(Qt::Key_F1));
    mnuShowStatusBar = addItem(mnuWindow, "mnuShowStatusBar", QStringLiteral("Show &Status Bar...\tF2"), true);
    mnuShowStatusBar->setShortcut(QKeySequence(Qt::Key_F2));
    mnuShowPlaylistHeaders = addItem(mnuWindow, "mnuShowPlaylistHeaders", QStringLiteral("Show &Playlist Headers...\tF3"), true);
    mnuShowPlaylistHeaders->setShortcut(QKeySequence(Qt::Key_F3));
    mnuShowFilenamesColumn = addItem(mnuWindow, "mnuShowFilenamesColumn", QStringLiteral("Show &Filenames Column...\tF4"), true);
    mnuShowFilenamesColumn->setShortcut(QKeySequence(Qt::Key_F4));
    mnuWindow->addSeparator();
    mnuReCenterWindow = addItem(mnuWindow, "mnuReCenterWindow", QStringLiteral("Center &Window..."), false);
    mnuHelp = bar->addMenu(QStringLiteral("&Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    mnuHelp->menuAction()->setObjectName(QStringLiteral("mnuHelp"));
    mnuConsole = addItem(mnuHelp, "mnuConsole", QStringLiteral("&Console..."), false);
    mnuTracking = addItem(mnuHelp, "mnuTracking", QStringLiteral("&Tracking..."), false);
    mnuVolumes = addItem(mnuHelp, "mnuVolumes", QStringLiteral("&Volumes..."), false);
    mnuHelp->addSeparator();
    mnuForum = addItem(mnuHelp, "mnuForum", QStringLiteral("Quillonex &Forum..."), false);
    mnuHomepage = addItem(mnuHelp, "mnuHomepage", QStringLiteral("Quillonex &Homepage..."), false);
    mnuHelp->addSeparator();
    mnuCheckForUpdates = addItem(mnuHelp, "mnuCheckForUpdates", QStringLiteral("Check For &Updates..."), false);
    mnuHelp->addSeparator();
    mnuAboutWindows = addItem(mnuHelp, "mnuAboutWindows", QStringLiteral("About &Windows..."), false);
    mnuAbout = addItem(mnuHelp, "mnuAbout", QStringLiteral("About &VELTRA..."), false);
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
        QAction* a = tbToolbar->addAction(themeIcon(b.icon, b.fallback), QString::fromLatin1(b.tip));
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
        l->setPixmap(themeIcon(icon, fallback).pixmap(16, 16));
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
    lstvPlaylist->setColumns(kPlaylistColumns);
    const double widths[] = {800, 3000, 3000, 1000, 1000, 1000, 3000};
    for (int c = 0; c < 7; ++c) lstvPlaylist->setColumnWidthTwips(c, widths[c]);
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
    const char* designTexts[] = {"Status:", "Songs:  None", "Elapsed:"};
    for (int i = 0; i < 3; ++i) {
        sbPanel[i] = new QLabel(QString::fromLatin1(designTexts[i]), sbStatusBar);
        sbPanel[i]->setObjectName(QStringLiteral("sbPanel%1").arg(i + 1));
        sbPanel[i]->setFrameShape(QFrame::StyledPanel);
        sbPanel[i]->setFrameShadow(QFrame::Sunken);
        if (i == 0) sbStatusBar->addWidget(sbPanel[i], 1);
        else sbStatusBar->addPermanentWidget(sbPanel[i]);
    }
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
    tmrSystemTrayDetect = makeTimer("tmrSystemTrayDetect", 1000);
    tmrMediaKeys = makeTimer("tmrMediaKeys", 250);
    connect(tmrPosition, &QTimer::timeout, this, [this] { tmrPosition_Timer(); });
    connect(tmrWindowUpdate, &QTimer::timeout, this, [this] { tmrWindowUpdate_Timer(); });
}

void FrmMain::connectCommands()
{
    const std::pair<QAction*, void (FrmMain::*)()> commands[] = {
        {mnuPrevious, &FrmMain::mnuPrevious_Click},
        {mnuRewind, &FrmMain::mnuRewind_Click},
        {mnuPlay, &FrmMain::mnuPlay_Click},
        {mnuPause, &FrmMain::mnuPause_Click},
        {mnuStop, &FrmMain::mnuStop_Click},
        {mnuRandom, &FrmMain::mnuRandom_Click},
        {mnuFastForward, &FrmMain::mnuFastForward_Click},
        {mnuNextTrack, &FrmMain::mnuNextTrack_Click},
        {mnuNextTrackAdvanced, &FrmMain::mnuNextTrackAdvanced_Click},
        {mnuMute, &FrmMain::mnuMute_Click},
        {mnuStoreVolume, &FrmMain::mnuStoreVolume_Click},
        {mnuPlayNext, &FrmMain::mnuPlayNext_Click},
        {mnuJumpToCurrentlyPlaying, &FrmMain::mnuJumpToCurrentlyPlaying_Click},
        {mnuRemoveSelected, &FrmMain::mnuRemoveSelected_Click},
        {mnuPlayingShuffleByArtist, &FrmMain::mnuPlayingShuffleByArtist_Click},
        {mnuPlayingShuffleByAlbum, &FrmMain::mnuPlayingShuffleByAlbum_Click},
        {mnuPlayingShuffleByYear, &FrmMain::mnuPlayingShuffleByYear_Click},
        {mnuPlayingIntroduction, &FrmMain::mnuPlayingIntroduction_Click},
        {mnuPlayingRepeat, &FrmMain::mnuPlayingRepeat_Click},
        {mnuPlayingRepeatOnce, &FrmMain::mnuPlayingRepeatOnce_Click},
        {mnuPlayingStopAfterEnding, &FrmMain::mnuPlayingStopAfterEnding_Click},
        {mnuPlayingPickRandomSongs, &FrmMain::mnuPlayingPickRandomSongs_Click},
        {mnuPlayingGoThroughPlaylistNormally, &FrmMain::mnuPlayingGoThroughPlaylistNormally_Click},
        {mnuWorkForwardThroughList, &FrmMain::mnuWorkForwardThroughList_Click},
        {mnuWorkBackwardsThroughPlaylist, &FrmMain::mnuWorkBackwardsThroughPlaylist_Click},
        {mnuPlaylistRepeat, &FrmMain::mnuPlaylistRepeat_Click},
        {mnuPlaylistRepeatOnce, &FrmMain::mnuPlaylistRepeatOnce_Click},
        {mnuPlaylistStopAfterEnding, &FrmMain::mnuPlaylistStopAfterEnding_Click},
        {mnuPlaylistPickRandomAfterEnding, &FrmMain::mnuPlaylistPickRandomAfterEnding_Click},
        {mnuPlaylistSwitchToNext, &FrmMain::mnuPlaylistSwitchToNext_Click},
        {mnuSortByArtist, &FrmMain::mnuSortByArtist_Click},
        {mnuSortByTitle, &FrmMain::mnuSortByTitle_Click},
        {mnuSortByYear, &FrmMain::mnuSortByYear_Click},
        {mnuSortByLength, &FrmMain::mnuSortByLength_Click},
        {mnuSortByFilename, &FrmMain::mnuSortByFilename_Click},
        {mnuExit, &FrmMain::mnuExit_Click},
        {mnuNew, &FrmMain::mnuNew_Click},
        {mnuWindowsDisableGlobalHotkeys, &FrmMain::mnuWindowsDisableGlobalHotkeys_Click},
        {mnuSwitchToMiniMode, &FrmMain::mnuSwitchToMiniMode_Click},
        {mnuConsole, &FrmMain::mnuConsole_Click},
        {mnuSortViaAcending, &FrmMain::mnuSortViaAcending_Click},
        {mnuSortViaDecending, &FrmMain::mnuSortViaDecending_Click},
        {mnuDontSort, &FrmMain::mnuDontSort_Click},
        {mnuLockPlaylist, &FrmMain::mnuLockPlaylist_Click},
        {mnuClear, &FrmMain::mnuClear_Click},
    };
    for (const auto& [action, handler] : commands) {
        // The check marks of mode items are the modes: the handlers set them, not the click.
        connect(action, &QAction::triggered, this, [this, action = action, handler = handler] {
            if (action->isCheckable()) action->setChecked(!action->isChecked());
            (this->*handler)();
        });
    }

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
        else if (CurrentTrack >= first + 1) CurrentTrack = first;   // the row before their place
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
            if (!CurrentTrack) CurrentTrack = kept;
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

QString FrmMain::statusPanelText(int panel) const { return panel >= 1 && panel <= 3 ? sbPanel[panel - 1]->text() : QString(); }

void FrmMain::setStatusPanelText(int panel, const QString& text)
{
    if (panel >= 1 && panel <= 3 && sbPanel[panel - 1]->text() != text) sbPanel[panel - 1]->setText(text);
}

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
        if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
            auto* e = static_cast<QDropEvent*>(event);
            if (!IsDraggingRow && e->mimeData()->hasUrls()) {
                e->acceptProposedAction();
                return true;
            }
        } else if (event->type() == QEvent::Drop) {
            auto* e = static_cast<QDropEvent*>(event);
            if (!IsDraggingRow && e->mimeData()->hasUrls()) {
                QStringList files;
                for (const QUrl& url : e->mimeData()->urls())
                    if (url.isLocalFile()) files.append(url.toLocalFile());
                e->acceptProposedAction();
                lstvPlaylist_OLEDragDrop(files);
                return true;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}
