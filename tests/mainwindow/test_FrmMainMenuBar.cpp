// The main window's menus after start-up: the whole menu bar, the toolbar, the pop-up menus'
// shortcut texts, the check marks a click leaves, the pop-up items' commands, the menu help
// and the menus built from bookmarks and moods.
#include "MainWindowFixture.h"
#include "support/MenuClick.h"

#include "common/MenuArray.h"
#include "common/PlaylistRow.h"
#include "common/modSettings.h"
#include "platform/ProgramFolder.h"

#include <QCoreApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

namespace {

// One line per entry: nesting dots, name, caption (TAB as \t), shortcut and flags
// (c checkable, x checked, e enabled / d disabled, h hidden).
void walk(const QList<QAction*>& actions, int depth, QStringList& out)
{
    for (QAction* a : actions) {
        const QString dots = QString(depth, u'.');
        if (a->isSeparator()) {
            out.append(dots + QStringLiteral(" -"));
            continue;
        }
        QString caption = a->text();
        caption.replace(u'\t', QStringLiteral("\\t"));
        QString flags;
        if (a->isCheckable()) flags += u'c';
        if (a->isChecked()) flags += u'x';
        flags += a->isEnabled() ? u'e' : u'd';
        if (!a->isVisible()) flags += u'h';
        out.append(QStringLiteral("%1 %2 \"%3\" [%4] %5").arg(dots, a->objectName(), caption, a->shortcut().toString(), flags));
        if (a->menu()) walk(a->menu()->actions(), depth + 1, out);
    }
}

const char* const kMenuBar[] = {
    // File
    ". mnuFile \"&File\" [] e",
    ".. mnuNew \"&New...\\tCtrl+N\" [Ctrl+N] d",
    ".. -",
    ".. mnuAddFiles \"Add &Files...\" [] e",
    ".. mnuAddPlaylist \"&Add Playlist...\" [] e",
    ".. mnuAddLocation \"Add &Location...\" [] e",
    ".. mnuAddDirectory \"Add &Directory...\" [] e",
    ".. -",
    ".. mnuOpenPlaylist \"&Open...\\tCtrl+O\" [Ctrl+O] e",
    ".. mnuOpenMood \"Open &Mood:\" [] e",
    "... mnuEditMoods \"&Edit Moods...\" [] e",
    "... -",
    "... mnuMoodOpen \"[Mood]\" [] cdh",   // hidden actions read as disabled
    "... mnuMoodOpen \"Happy\" [] cd",
    "... mnuMoodOpen \"Annoyed\" [] cd",
    "... mnuMoodOpen \"Sad\" [] cd",
    "... mnuMoodOpen \"Low\" [] cd",
    "... mnuMoodOpen \"Hyper\" [] cd",
    "... mnuMoodOpen \"Bored\" [] cd",
    "... mnuMoodOpen \"Slow\" [] cd",
    "... mnuMoodOpen \"Fast\" [] cd",
    "... mnuMoodOpen \"Angry\" [] cd",
    "... mnuMoodOpen \"Other\" [] cd",
    "... -",
    "... mnuResetMoods \"&Reset Moods...\" [] e",
    ".. mnuOpenBookmark \"Open &Bookmark:\" [] e",
    "... mnuAddSelected \"&Add Selected...\" [] d",
    "... mnuEditBookmarks \"&Edit Bookmarks...\" [] e",
    "... -",
    "... mnuBookmark \"[None]\" [] d",
    "... -",
    "... mnuClearBookmarks \"&Clear Bookmarks...\" [] e",
    ".. -",
    ".. mnuSave \"&Save...\\tCtrl+S\" [Ctrl+S] d",
    ".. mnuSavePlaylistAs \"Sa&ve As...\" [] d",
    ".. mnuSaveAsDefault \"Save As &Default...\" [] d",
    ".. -",
    ".. mnuPrint \"P&rint...\" [] d",
    ".. -",
    ".. mnuRecentMediaFiles \"Recen&t Media:\" [] e",
    "... mnuRecentMedia \"(None)\" [] d",
    ".. mnuRecentPlaylists \"&Recent Playlists:\" [] e",
    "... mnuRecentPlaylist \"(None)\" [] d",
    ".. -",
    ".. mnuPreferences \"&Preferences...\\tCtrl+P\" [Ctrl+P] e",
    ".. -",
    ".. mnuExit \"E&xit\\tAlt+F4\" [] e",
    // Playback
    ". mnuPlayback \"&Playback\" [] e",
    ".. mnuPrevious \"Pre&vious\\tV\" [] d",
    ".. -",
    ".. mnuRewind \"&Rewind\\tR\" [] d",
    ".. mnuPlay \"&Play\\tP\" [] d",
    ".. mnuPause \"Pa&use\\tU\" [] d",
    ".. mnuStop \"&Stop\\tS\" [] d",
    ".. mnuRandom \"Rando&m\\tM\" [] d",
    ".. mnuFastForward \"&Fast Forward\\tF\" [] d",
    ".. -",
    ".. mnuNextTrack \"&Next\\tN\" [] d",
    ".. mnuNextTrackAdvanced \"Next (&Advanced)\\tA\" [] d",
    ".. -",
    ".. mnuJump \"&Jump:\" [] d",
    "... mnuJumpToTime \"Jump To &Time...\\tT\" [] d",
    "... mnuJumpToMedia \"&Jump To Media...\\tJ\" [] e",
    "... mnuJumpToTrackNumber \"Jump To Track N&umber...\" [] e",
    "... -",
    "... mnuJumpForward10Tracks \"Jump Forward &10 Tracks...\" [] e",
    "... mnuJumpForward5Tracks \"Jump Forward &5 Tracks...\" [] e",
    "... mnuJumpBack5Tracks \"Jump &Back 5 Tracks...\" [] e",
    "... mnuJumpBack10Tracks \"Jump B&ack 10 Tracks...\" [] e",
    "... -",
    "... mnuJumpToCurrentlyPlaying \"Jump To &Currently Playing...\\tY\" [] d",
    "... -",
    "... mnuJumpToFirstTrack \"Jump To &First Track...\" [] e",
    "... mnuJumpToMiddleTrack \"Jump To &Middle Track...\" [] e",
    "... mnuJumpToLastTrack \"Jump To &Last Track...\" [] e",
    "... -",
    "... mnuJumpToPreviousPlaylist \"Jump To &Previous Playlist...\\tAlt+V\" [] e",
    "... mnuJumpToRandomPlaylist \"Jump To &Random Playlist...\\tAlt+M\" [] e",
    "... mnuJumpToNextPlaylist \"Jump To &Next Playlist...\\tAlt+N\" [] e",
    ".. mnuOptions \"&Options:\" [] e",
    "... mnuPlayingShuffleByArtist \"Playing:  S&huffle By Artist...\" [] ce",
    "... mnuPlayingShuffleByAlbum \"Playing:  Sh&uffle By Album...\" [] ce",
    "... mnuPlayingShuffleByYear \"Playing:  Shuffle B&y Year...\" [] ce",
    "... -",
    "... mnuPlayingIntroduction \"Playing:  &Introduction...\" [] ce",
    "... mnuPlayingRepeat \"Playing:  &Repeat...\" [] ce",
    "... mnuPlayingRepeatOnce \"Playing:  Repeat On&ce...\" [] ce",
    "... mnuPlayingStopAfterEnding \"Playing:  &Stop After Ending...\" [] ce",
    "... mnuPlayingPickRandomSongs \"Playing:  &Pick Random Songs...\" [] ce",
    "... mnuPlayingGoThroughPlaylistNormally \"Playing:  &Go Through Playlist Normally...\" [] cxe",
    "... -",
    "... mnuWorkForwardThroughList \"Work &Forward Through Playlist...\" [] cxe",
    "... mnuWorkBackwardsThroughPlaylist \"Work &Backwards Through Playlist...\" [] ce",
    "... -",
    "... mnuPlaylistRepeat \"Playlist:  Repe&at...\" [] ce",
    "... mnuPlaylistRepeatOnce \"Playlist:  Repeat O&nce...\" [] ce",
    "... mnuPlaylistStopAfterEnding \"Playlist:  S&top After Ending...\" [] cxe",
    "... mnuPlaylistPickRandomAfterEnding \"Playlist:  Pick Rando&m After Ending...\" [] ce",
    "... mnuPlaylistSwitchToNext \"Playlist:  S&witch To Next After Ending...\" [] ce",
    ".. mnuSelected \"Se&lected:\" [] d",
    "... mnuPlayNext \"Play Ne&xt...\\tX\" [] d",
    "... -",
    "... mnuStoreVolume \"Store &Volume...\" [] e",
    "... -",
    "... mnuProperties \"&Properties...\" [] e",
    ".. -",
    ".. mnuMute \"Mut&e\\tE\" [] e",
    // Arrange
    ". mnuArrange \"&Arrange\" [] e",
    ".. mnuLockPlaylist \"&Lock Playlist...\\tCtrl+L\" [Ctrl+L] cd",
    ".. -",
    ".. mnuEdit \"&Edit:\" [] e",
    "... mnuCut \"Cu&t\\tCtrl+X\" [Ctrl+X] d",
    "... mnuCopy \"&Copy...\\tCtrl+C\" [Ctrl+C] d",
    "... mnuPaste \"&Paste...\\tCtrl+V\" [Ctrl+V] d",
    "... -",
    "... mnuClear \"C&lear...\\tShift+Del\" [Shift+Del] d",
    "... -",
    "... mnuSelectAll \"Select &All...\\tCtrl+A\" [Ctrl+A] d",
    ".. mnuEntries \"E&ntries:\" [] d",
    "... mnuTagsShowTagsAsFilesAreAdded \"Tags:  Show Tags As Files Are &Added...\" [] cxe",
    "... mnuTagsShowTagsAsFilesArePlayed \"Tags:  Show Tags As Files Are &Played...\" [] ce",
    "... -",
    "... mnuTagsUseID3v2Tags \"Tags:  &Use ID3v2 Tags...\" [] ce",
    "... -",
    "... mnuPlaylistEditAllTags \"Playlist:  Edit A&ll Tags...\" [] e",
    "... mnuPlaylistRefreshTags \"Playlist:  &Refresh Tags...\\tF5\" [F5] e",
    "... mnuPlaylistRenameAllFilenames \"Playlist:  Rename All &Filenames...\" [] e",
    "... mnuPlaylistMoveMusicToFolder \"Playlist:  &Move Music To Folder...\" [] e",
    "... -",
    "... mnuSelectedCrop \"Selected:  Cr&op...\" [] e",
    "... mnuSelectedRenameFilename \"Selected:  Re&name Filename...\" [] e",
    "... -",
    "... mnuRemoveSelected \"Remove:  &Selected...\\tDel\" [Del] e",
    "... mnuRemoveAlDeadFilenames \"Remove:  &Dead Filenames...\" [] e",
    "... mnuRemoveDuplicateFilenames \"Remove:  Dupl&icate Filenames...\" [] e",
    "... mnuRemovePhysicallyDeleteSelected \"Remove:  P&hysically Delete Selected...\" [] e",
    ".. mnuPlaylists \"&Playlists:\" [] e",
    "... mnuNewPlaylist \"&New:\" [] e",
    ".... mnuGeneratePlaylist \"Playlist:  &Generate...\" [] d",
    ".... mnuUseRandomSongsForPlaylist \"Playlist:  &Use Random Songs...\" [] d",
    ".... -",
    ".... mnuManagePlaylists \"&Manage Playlists...\" [] e",
    "... -",
    "... mnuRenameCurrentPlaylist \"Current:  &Rename...\" [] d",
    "... mnuDeleteCurrentPlaylist \"Current:  &Delete...\" [] d",
    "... -",
    "... mnuDeleteAllPlaylists \"Delete &All Playlists...\" [] d",
    ".. mnuDisplay \"&Display:\" [] d",
    "... mnuChangeAppearance \"&Change Appearance...\" [] e",
    "... -",
    "... mnuFontsizeIncrease \"Fontsize:  &Increase...\\tAlt+Right\" [] e",
    "... mnuFontsizeDecrease \"Fontsize:  &Decrease...\\tAlt+Left\" [] e",
    ".. mnuSort \"&Sort:\" [] d",
    "... mnuSortByArtist \"Sort By:  &Artist...\" [] cd",
    "... mnuSortByTitle \"Sort By:  &Title...\" [] cd",
    "... mnuSortByYear \"Sort By:  &Year...\" [] cd",
    "... mnuSortByLength \"Sort By:  &Length...\" [] cd",
    "... mnuSortByFilename \"Sort By:  &Filename...\" [] cxd",
    "... -",
    "... mnuSortViaAcending \"Sort Via:  A&scending...\" [] ce",
    "... mnuSortViaDecending \"Sort Via:  D&escending...\" [] ce",
    "... mnuDontSort \"Sort Via:  D&on't Sort...\" [] cxe",
    "... -",
    "... mnuSelectedMoveUp \"Selected:  Move &Up...\\tAlt+Up\" [] d",
    "... mnuSelectedMoveDown \"Selected:  Move &Down...\\tAlt+Down\" [] d",
    "... -",
    "... mnuShuffleThePlaylist \"S&huffle The Playlist...\" [] e",
    ".. -",
    ".. mnuOpenCDPlayer \"Open &CD Player...\" [] ce",
    ".. mnuOpenMediaLibrary \"Open &Media Library...\" [] ce",
    // Window
    ". mnuWindow \"&Window\" [] e",
    ".. mnuAlwaysOnTop \"Always On &Top...\" [] ce",
    ".. mnuHideInTheTaskManager \"&Hide In The Task Manager...\" [] ce",
    ".. -",
    ".. mnuAppearance \"&Appearance:\" [] e",
    "... mnuStatusBarShowTimeElapsed \"Status Bar:  Show Time &Elapsed...\" [] cxe",
    "... mnuStatusBarShowTimeRemaining \"Status Bar:  Show Time &Remaining...\" [] ce",
    ".. mnuWindows \"Windows:\" [] e",
    "... mnuWindowsShowLyricsWhenAvailable \"Windows:  Show &Lyrics When Available...\" [] ce",
    "... mnuWindowsShowEachSongAsItsPlayed \"Windows:  &Show Each Song As It's Played...\" [] cxe",
    "... mnuWindowsDisableGlobalHotkeys \"Windows:  &Disable Global Hotkeys...\" [] ce",
    "... -",
    "... mnuWindowsEditWindowsGLobalHotkeys \"Windows:  &Edit Windows Global Hotkeys...\" [] e",
    "... -",
    "... mnuMessengerShowSongsBeingPlayed \"&Messenger:  Show Songs Being Played...\" [] ce",
    ".. mnuKeys \"Keys:\" [] e",
    "... mnuKeysUseAsShortcuts \"Keys:  Use As Shortcut Keys...\" [] cxe",
    "... mnuKeysUseAsArtistFindingKeys \"Keys:  Use As Artist Finding Keys...\" [] ce",
    ".. -",
    ".. mnuSwitchToMiniMode \"Switch To &Mini-Mode...\\tCtrl+F1\" [Ctrl+F1] ce",
    ".. -",
    ".. mnuShowToolbar \"Show &Toolbar...\\tF1\" [F1] cxe",
    ".. mnuShowStatusBar \"Show &Status Bar...\\tF2\" [F2] cxe",
    ".. mnuShowPlaylistHeaders \"Show &Playlist Headers...\\tF3\" [F3] ce",
    ".. mnuShowFilenamesColumn \"Show &Filenames Column...\\tF4\" [F4] cxe",
    ".. -",
    ".. mnuReCenterWindow \"Center &Window...\" [] e",
    // Help
    ". mnuHelp \"&Help\" [] e",
    ".. mnuConsole \"&Console...\" [] e",
    ".. mnuTracking \"&Tracking...\" [] e",
    ".. mnuVolumes \"&Volumes...\" [] e",
    ".. -",
    ".. mnuForum \"Quillonex &Forum...\" [] e",
    ".. mnuHomepage \"Quillonex &Homepage...\" [] e",
    ".. -",
    ".. mnuCheckForUpdates \"Check For &Updates...\" [] e",
    ".. -",
    ".. mnuAboutWindows \"About &Windows...\" [] e",
    ".. mnuAbout \"About &VELTRA...\" [] e",
};

} // namespace

TEST_F(MainWindowTest, MenuBarAfterADefaultStartMatchesTheTree)
{
    startDefault();
    QStringList got;
    walk(main().menuBar()->actions(), 1, got);
    QStringList want;
    for (const char* line : kMenuBar) want.append(QString::fromUtf8(line));
    for (qsizetype i = 0; i < std::max(got.size(), want.size()); ++i)
        EXPECT_EQ(got.value(i).toStdString(), want.value(i).toStdString()) << "entry " << i;
}

TEST_F(MainWindowTest, StartUpShortcutTextsAreOnlyShownOnThePopUpItems)
{
    startDefault();
    FrmMenus& m = menus();
    // The playlist menu: the key after a TAB in the caption.
    const std::pair<QAction*, const char*> items[] = {
        {m.mnuPlay2, "&Play\tEnter"}, {m.mnuRemoveSelected, "Selected:  &Remove...\tDel"},
        {m.mnuSelectPlaying, "&Select Playing...\tY"}, {m.mnuJumpToMedia, "&Jump To Media...\tJ"},
        {m.mnuPlayNext, "Play Ne&xt...\tX"},
    };
    for (const auto& [a, caption] : items) {
        EXPECT_EQ(a->text(), QString::fromLatin1(caption)) << a->objectName().toStdString();
        EXPECT_TRUE(a->shortcut().isEmpty()) << a->objectName().toStdString();   // the main window's keys do it
    }
    // The tray menu: the caption alone and the key as the item's shortcut, which a panel that
    // draws the menu itself shows in its key column (that it fires nowhere the end-to-end
    // tray menu test checks).
    const std::tuple<QAction*, const char*, Qt::Key> trayItems[] = {
        {m.mnuPrevious, "Pre&vious", Qt::Key_V},      {m.mnuRewind, "&Rewind", Qt::Key_R},
        {m.mnuPlay, "&Play", Qt::Key_P},              {m.mnuPause, "Pa&use", Qt::Key_U},
        {m.mnuStop, "&Stop", Qt::Key_S},              {m.mnuRandom, "Rando&m", Qt::Key_M},
        {m.mnuFastForward, "&Fast Forward", Qt::Key_F}, {m.mnuNextTrack, "&Next", Qt::Key_N},
        {m.mnuNextTrackAdvanced, "Next (&Advanced)", Qt::Key_A},
    };
    for (const auto& [a, caption, key] : trayItems) {
        EXPECT_EQ(a->text(), QString::fromLatin1(caption)) << a->objectName().toStdString();
        EXPECT_EQ(a->shortcut(), QKeySequence(key)) << a->objectName().toStdString();
    }
    EXPECT_EQ(m.mnuRightMenu->defaultAction(), m.mnuPlay2);
    EXPECT_EQ(m.mnuSystemTray->defaultAction(), m.mnuOpen);
    // The same captions the Play Next and Mute commands write back later.
    EXPECT_EQ(main().mnuMute->text(), QStringLiteral("Mut&e\tE"));
}

TEST_F(MainWindowTest, ToolbarButtonsCarryTheirKeysAndRunTheirCommands)
{
    startDefault();
    QStringList keys, tips;
    for (QAction* a : main().tbToolbar->actions()) {
        if (a->data().toString().isEmpty()) continue;
        keys.append(a->data().toString());
        tips.append(a->toolTip());
        EXPECT_FALSE(a->text().isEmpty());
    }
    EXPECT_EQ(keys, QStringList({"Previous", "Rewind", "Play", "Pause", "Stop", "FastForward", "Random", "Next", "NextAdvanced",
                                 "AddFiles", "Mute", "PreviousPlaylist", "NextPlaylist"}));
    EXPECT_EQ(tips, QStringList({"Previous", "Rewind", "Play", "Pause", "Stop", "Fast Forward", "Pick Random", "Next",
                                 "Next (Advanced)", "Add Files", "Mute", "Previous Playlist", "Next Playlist"}));

    addRow(QStringLiteral("A"), QStringLiteral("T"));
    addRow(QStringLiteral("B"), QStringLiteral("U"));
    controls_SelectItem(rows(), 1);
    main().tbToolbar_ButtonClick(QStringLiteral("Play"));
    main().tmrPosition_Timer();
    EXPECT_EQ(player().PlayState(), veltra::MediaPlayerControl::State::Playing);
    EXPECT_EQ(player().FileName(), rows().subItem(1, PlaylistColumn::Filename));
    main().tbToolbar_ButtonClick(QStringLiteral("Next"));
    EXPECT_EQ(player().FileName(), rows().subItem(2, PlaylistColumn::Filename));
    main().tbToolbar_ButtonClick(QStringLiteral("Mute"));
    EXPECT_EQ(main().mnuMute->text(), QStringLiteral("Un-Mut&e\tE"));
    main().tbToolbar_ButtonClick(QStringLiteral("Stop"));
    EXPECT_NE(player().PlayState(), veltra::MediaPlayerControl::State::Playing);
    main().tmrPosition_Timer();
    main().tbToolbar_ButtonClick(QStringLiteral("play"));   // keys are compared exactly
    EXPECT_NE(player().PlayState(), veltra::MediaPlayerControl::State::Playing);
}

// ---- check marks ---------------------------------------------------------------------------------

TEST_F(MainWindowTest, CheckItemsWithoutTheirCommandKeepTheirMarkWhenClicked)
{
    startDefault();
    FrmMain& m = main();
    // Items with a command get their mark from it alone: once per click, not twice.
    EXPECT_FALSE(m.mnuWindowsDisableGlobalHotkeys->isChecked());
    clickInMenu(m.mnuWindows, m.mnuWindowsDisableGlobalHotkeys);
    EXPECT_TRUE(m.mnuWindowsDisableGlobalHotkeys->isChecked());
    clickInMenu(m.mnuWindows, m.mnuWindowsDisableGlobalHotkeys);
    EXPECT_FALSE(m.mnuWindowsDisableGlobalHotkeys->isChecked());
    clickInMenu(m.mnuOptions, m.mnuPlayingRepeat);
    EXPECT_TRUE(m.mnuPlayingRepeat->isChecked());
    EXPECT_FALSE(m.mnuPlayingGoThroughPlaylistNormally->isChecked());
    clickInMenu(m.mnuOptions, m.mnuPlayingRepeat);   // a mode stays chosen
    EXPECT_TRUE(m.mnuPlayingRepeat->isChecked());
}

TEST_F(MainWindowTest, PopupItemsRunTheMainWindowsCommands)
{
    startDefault();
    FrmMain& m = main();
    FrmMenus& p = menus();
    addRow(QStringLiteral("A"), QStringLiteral("T"));
    addRow(QStringLiteral("B"), QStringLiteral("U"));
    controls_SelectItem(rows(), 1);
    m.tmrWindowUpdate_Timer();   // the pop-up items follow the main window's enabling
    p.mnuPlay->trigger();
    m.tmrPosition_Timer();
    EXPECT_EQ(player().PlayState(), veltra::MediaPlayerControl::State::Playing);
    EXPECT_EQ(player().FileName(), rows().subItem(1, 6));
    p.mnuNextTrack->trigger();
    EXPECT_EQ(player().FileName(), rows().subItem(2, 6));
    p.mnuStop->trigger();
    EXPECT_NE(player().PlayState(), veltra::MediaPlayerControl::State::Playing);
    m.tmrPosition_Timer();
    m.tmrWindowUpdate_Timer();
    p.mnuPlay2->trigger();
    EXPECT_EQ(player().PlayState(), veltra::MediaPlayerControl::State::Playing);

    // The others run the main window's handler, whatever state its own item is in: each
    // leaves its first mark (two rows selected).
    for (int r = 1; r <= 2; ++r) rows().setSelected(r, true);
    const std::pair<QAction*, const char*> forwarded[] = {
        {p.mnuAbout, "FrmAbout"},           {p.mnuAboutWindows, "About VELTRA"},
        {p.mnuJumpToMedia, "FrmJump"},      {p.mnuRenameFilename, "Rename Filename Error"},
        {p.mnuResetMoods, "Reset Moods Confirmation"}, {p.mnuProperties, "Edit ID3 Tag Error"},
    };
    for (const auto& [popup, mark] : forwarded) {
        ui.clear();
        ui.msgAnswers.push_back(veltra::MsgResult::No);
        popup->setEnabled(true);
        popup->trigger();
        ASSERT_FALSE(ui.calls.isEmpty()) << popup->objectName().toStdString();
        EXPECT_EQ(ui.calls.first().title, QString::fromLatin1(mark)) << popup->objectName().toStdString();
    }
    p.mnuBookmarks->trigger();
    EXPECT_EQ(readFile(home("bookmarks.sbl")), (rows().subItem(1, 6) + "\r\n" + rows().subItem(2, 6) + "\r\n").toUtf8());
}

// ---- menu help ----------------------------------------------------------------------------------

TEST_F(MainWindowTest, EveryHelpTextAppearsForItsItemAndGoesWhenTheMenuCloses)
{
    startDefault();
    FrmMain& m = main();
    m.tmrMenuText->start();
    m.setStatusPanelText(1, QStringLiteral("Status:  Stopped"));
    const std::tuple<QMenu*, QAction*, const char*> help[] = {
        {m.mnuFile, m.mnuNew, "Create a new playlist."},
        {m.mnuFile, m.mnuAddFiles, "Add files to the current playlist."},
        {m.mnuFile, m.mnuAddPlaylist, "Add an existing playlist to the current playlist."},
        {m.mnuFile, m.mnuAddLocation, "Add a saved/selected location to the current playlist."},
        {m.mnuFile, m.mnuAddDirectory, "Add a directory of audio files to the current playlist."},
        {m.mnuFile, m.mnuOpenPlaylist, "Open an existing playlist."},
        {m.mnuFile, m.mnuSave, "Save the currently open playlist (if saved)."},
        {m.mnuFile, m.mnuSavePlaylistAs, "Save the current playlist to a playlist file."},
        {m.mnuFile, m.mnuSaveAsDefault, "Set the current playlist as the default playlist used."},
        {m.mnuFile, m.mnuPrint, "Print the current playlist to a selected printer."},
        {m.mnuFile, m.mnuPreferences, "Show the preferences available in VELTRA."},
        {m.mnuFile, m.mnuExit, "Exit VELTRA."},
        {m.mnuPlayback, m.mnuPrevious, "Select the previous song in the playlist."},
        {m.mnuPlayback, m.mnuRewind, "Rewind the song by the selected seconds specified."},
        {m.mnuPlayback, m.mnuPlay, "Play the song selected in the playlist."},
        {m.mnuPlayback, m.mnuPause, "Pause the currently playlist song."},
        {m.mnuPlayback, m.mnuStop, "Stop the song currently playing."},
        {m.mnuPlayback, m.mnuRandom, "Select a random song from the playlist and play it."},
        {m.mnuPlayback, m.mnuFastForward, "Fast Forward the playing song by the selected seconds specified."},
        {m.mnuPlayback, m.mnuNextTrack, "Go onto the next song in the playlist."},
        {m.mnuPlayback, m.mnuNextTrackAdvanced, "Using the options selected, select the next song to play."},
        {m.mnuPlayback, m.mnuMute, "Mute VELTRA."},
        {m.mnuArrange, m.mnuLockPlaylist, "Lock the playlist so that no alterations can be made."},
        {m.mnuArrange, m.mnuOpenCDPlayer, "Show the CD Player, which will allow you to play audio CD's."},
        {m.mnuArrange, m.mnuOpenMediaLibrary, "Show the Media Library, which will allow you to better organize your media files."},
        {m.mnuWindow, m.mnuAlwaysOnTop, "Make this window stay on top of all other open windows/programs."},
        {m.mnuWindow, m.mnuHideInTheTaskManager, "Make sure VELTRA is not shown in the Task Manager (in the Applications section)."},
        {m.mnuWindow, m.mnuSwitchToMiniMode, "Switch from using the main window to using the Mini-Mode window."},
        {m.mnuWindow, m.mnuShowToolbar, "Show the toolbar (which contains all of the main buttons) on the main window."},
        {m.mnuWindow, m.mnuShowStatusBar, "Show the status bar at the bottom of the main window."},
        {m.mnuWindow, m.mnuShowPlaylistHeaders, "Show the headers for each section in the playlist on the main window."},
        {m.mnuWindow, m.mnuShowFilenamesColumn, "Show the filename for every song list in the playlist on the main window."},
        {m.mnuWindow, m.mnuReCenterWindow, "Center the main window within the screen."},
        {m.mnuHelp, m.mnuConsole, "Show all of the logs about the use of VELTRA."},
        {m.mnuHelp, m.mnuTracking, "Show information about all of the media files that have been played."},
        {m.mnuHelp, m.mnuVolumes, "Show the media files that have specific volume settings saved for them."},
        {m.mnuHelp, m.mnuForum, "Go to the main Quillonex Forum page, where you can post comments, read news, etc."},
        {m.mnuHelp, m.mnuHomepage, "Go to the main Quillonex website, where you can check for updates, etc."},
        {m.mnuHelp, m.mnuCheckForUpdates, "Check for the lastest updates available online."},
        {m.mnuHelp, m.mnuAboutWindows, "Show information about this version of Microsoft Windows."},
        {m.mnuHelp, m.mnuAbout, "Show information about this version of VELTRA."},
    };
    EXPECT_EQ(std::size(help), 41u);
    for (const auto& [menu, item, text] : help) {
        item->setEnabled(true);   // the style highlights enabled items only
        menu->popup(QPoint(10, 10));
        menu->setActiveAction(item);
        EXPECT_EQ(m.statusPanelText(1), QString::fromLatin1(text)) << item->objectName().toStdString();
        EXPECT_TRUE(m.StatusBarBusy);
        menu->hide();
        EXPECT_EQ(m.statusPanelText(1), QStringLiteral("Status:  Stopped")) << item->objectName().toStdString();
        EXPECT_FALSE(m.StatusBarBusy);
    }
}

TEST_F(MainWindowTest, SubmenuHeadersAndTheirItemsHaveNoHelp)
{
    startDefault();
    FrmMain& m = main();
    m.tmrMenuText->start();
    m.setStatusPanelText(1, QStringLiteral("Status:  Stopped"));
    m.mnuFile->popup(QPoint(10, 10));
    m.mnuFile->setActiveAction(m.mnuAddFiles);
    ASSERT_TRUE(m.StatusBarBusy);
    m.mnuFile->setActiveAction(m.mnuOpenMood->menuAction());   // a submenu header releases the panel
    EXPECT_FALSE(m.StatusBarBusy);
    EXPECT_EQ(m.statusPanelText(1), QStringLiteral("Status:  Stopped"));
    emit m.mnuPlayback->hovered(m.mnuJumpToTime);                  // an item inside a submenu
    EXPECT_FALSE(m.StatusBarBusy);
    EXPECT_EQ(m.statusPanelText(1), QStringLiteral("Status:  Stopped"));
    m.mnuFile->hide();

    // While the position timer sees the panel claimed it leaves it alone.
    m.mnuHelp->popup(QPoint(10, 10));
    m.mnuHelp->setActiveAction(m.mnuAbout);
    m.tmrPosition_Timer();
    EXPECT_EQ(m.statusPanelText(1), QStringLiteral("Show information about this version of VELTRA."));
    m.mnuHelp->hide();

    // Menu help is off while its timer is (the File menu borrowed as a pop-up).
    m.tmrMenuText->stop();
    m.mnuFile->popup(QPoint(10, 10));
    m.mnuFile->setActiveAction(m.mnuNew);
    EXPECT_FALSE(m.StatusBarBusy);
    m.mnuFile->hide();
}

// ---- bookmarks and moods ---------------------------------------------------------------------------

TEST_F(MainWindowTest, BookmarksFileBecomesTheBookmarkMenu)
{
    writeFile(QStringLiteral("bookmarks.sbl"), "/music/one/First Song.mp3\r\n/music/two/Second Song.mp3\r\n/music/Third.mp3\r\n");
    FrmMain& m = main();
    m.window_InstallBookmarks();
    ASSERT_EQ(m.mnuBookmark->ubound(), 3);
    EXPECT_FALSE(m.mnuBookmark->at(0)->isVisible());
    EXPECT_EQ(m.mnuBookmark->at(1)->text(), QStringLiteral("First Song.mp3"));
    EXPECT_EQ(m.mnuBookmark->at(2)->text(), QStringLiteral("Second Song.mp3"));
    EXPECT_EQ(m.mnuBookmark->at(3)->text(), QStringLiteral("Third.mp3"));
    for (int i = 1; i <= 3; ++i) EXPECT_TRUE(m.mnuBookmark->at(i)->isVisible() && m.mnuBookmark->at(i)->isEnabled());
    // In the menu, in the file's order, between the separators.
    const QList<QAction*> items = m.mnuOpenBookmark->actions();
    const qsizetype first = items.indexOf(m.mnuBookmark->at(0));
    EXPECT_EQ(items.value(first + 1), m.mnuBookmark->at(1));
    EXPECT_EQ(items.value(first + 3), m.mnuBookmark->at(3));
    EXPECT_TRUE(items.value(first + 4)->isSeparator());

    // Rebuilding leaves no stale element; an empty file shows the disabled placeholder.
    writeFile(QStringLiteral("bookmarks.sbl"), "");
    m.window_InstallBookmarks();
    EXPECT_EQ(m.mnuBookmark->ubound(), 0);
    EXPECT_TRUE(m.mnuBookmark->at(0)->isVisible());
    EXPECT_FALSE(m.mnuBookmark->at(0)->isEnabled());
    EXPECT_EQ(m.mnuBookmark->at(0)->text(), QStringLiteral("[None]"));
    QFile::remove(home(QStringLiteral("bookmarks.sbl")));
    m.window_InstallBookmarks();
    EXPECT_EQ(m.mnuBookmark->ubound(), 0);
    EXPECT_EQ(m.mnuBookmark->at(0)->text(), QStringLiteral("[None]"));
}

TEST_F(MainWindowTest, MoodsAppearInBothMenusEnabledByTheirFiles)
{
    settings_WriteValue(QStringLiteral("Advanced"), QStringLiteral("Moods"), QStringLiteral("Happy|Sad"));
    writeFile(QStringLiteral("Moods/Happy.mlst"), "/music/a.mp3\r\n");
    FrmMain& m = main();
    m.window_InstallMoods();
    m.window_UpdateMoods();
    MenuArray* sendTo = menus().mnuSendToMood;
    ASSERT_EQ(m.mnuMoodOpen->ubound(), 2);
    ASSERT_EQ(sendTo->ubound(), 2);
    EXPECT_FALSE(m.mnuMoodOpen->at(0)->isVisible());
    EXPECT_FALSE(sendTo->at(0)->isVisible());
    EXPECT_EQ(m.mnuMoodOpen->at(1)->text(), QStringLiteral("Happy"));
    EXPECT_EQ(m.mnuMoodOpen->at(2)->text(), QStringLiteral("Sad"));
    EXPECT_EQ(sendTo->at(1)->text(), QStringLiteral("Happy"));
    EXPECT_EQ(sendTo->at(2)->text(), QStringLiteral("Sad"));
    EXPECT_TRUE(m.mnuMoodOpen->at(1)->isEnabled());
    EXPECT_FALSE(m.mnuMoodOpen->at(2)->isEnabled());
    EXPECT_TRUE(sendTo->at(1)->isEnabled() && sendTo->at(2)->isEnabled());   // any mood can be sent to

    // A mood file made later is picked up by the next update.
    writeFile(QStringLiteral("Moods/Sad.mlst"), "/music/b.mp3\r\n");
    m.window_UpdateMoods();
    EXPECT_TRUE(m.mnuMoodOpen->at(2)->isEnabled());

    m.mnuMoodOpen->at(1)->setChecked(true);
    m.window_UncheckMenus();
    EXPECT_FALSE(m.mnuMoodOpen->at(1)->isChecked());

    m.window_RemoveMoodMenus();
    EXPECT_EQ(m.mnuMoodOpen->ubound(), 0);
    EXPECT_EQ(sendTo->ubound(), 0);
    m.window_RemoveMoodMenus();   // only element 0 left: nothing to do
    EXPECT_EQ(m.mnuMoodOpen->count(), 1);

    // An empty mood list gives no mood at all.
    settings_WriteValue(QStringLiteral("Advanced"), QStringLiteral("Moods"), QString());
    m.window_InstallMoods();
    EXPECT_EQ(m.mnuMoodOpen->ubound(), 0);
    EXPECT_FALSE(m.mnuMoodOpen->at(0)->isVisible());
}

TEST_F(MainWindowTest, MenuItemsCarryPictures)
{
    FrmMain& m = main();
    for (QAction* a : {m.mnuNew, m.mnuAddFiles, m.mnuOpenPlaylist, m.mnuSave, m.mnuPrint, m.mnuExit, m.mnuPrevious, m.mnuRewind,
                       m.mnuPlay, m.mnuPause, m.mnuStop, m.mnuRandom, m.mnuFastForward, m.mnuNextTrack, m.mnuNextTrackAdvanced,
                       m.mnuMute, m.mnuReCenterWindow, m.mnuTracking, m.mnuAbout})
        EXPECT_FALSE(a->icon().isNull()) << a->objectName().toStdString();
    EXPECT_TRUE(m.mnuAboutWindows->icon().isNull());
}
