// The library's menu commands: filling the working list from files, folders, playlists and
// the recent lists, saving and exporting the results, removing entries, the moods' send-to
// menu, the view switches and the Help items.
#include "library/FrmMediaLibrary.h"

#include "common/FrmConsole.h"
#include "common/modAddFiles.h"
#include "mainwindow/FrmMessage.h"
#include "common/ListView.h"
#include "common/PlaylistRow.h"
#include "common/ListViewModel.h"
#include "common/MenuArray.h"
#include "common/modControls.h"
#include "common/modFiles.h"
#include "common/modFolders.h"
#include "common/modMoodFiles.h"
#include "common/modPlaylistFiles.h"
#include "common/modRecent.h"
#include "common/modSettings.h"
#include "common/modVB.h"
#include "platform/WebPages.h"
#include "common/modWindows.h"
#include "extras/FrmCheckForUpdates.h"
#include "controls/ctlQX_3DPanel.h"
#include "extras/FrmTracking.h"
#include "library/FrmEditMoods.h"
#include "mainwindow/FrmMenus.h"
#include "platform/ProgramFolder.h"
#include "platform/UiServices.h"
#include "mainwindow/FrmMain.h"
#include "playlisttools/FrmAddLocation.h"
#include "preferences/FrmAdjustVolumes.h"
#include "preferences/FrmPreferences.h"
#include "startup/Forms.h"

#include <QAction>
#include <QDir>
#include <QHash>
#include <QMenu>
#include <QStatusBar>

using namespace veltra;

namespace {
const QString kSettings = QStringLiteral("MediaLibrarySettings");
const QString kReading = QStringLiteral("Status:  Reading data, please wait...");
const QString kWaiting = QStringLiteral("Status:  Waiting...");
const QString kAdded = QStringLiteral(" added to Media Library.");

void message(const QString& first, const QString& second, MsgIcon icon, const QString& title)
{
    msgBox(first + QStringLiteral("\r\n\r\n") + second + QStringLiteral("\r\n"), MsgButtons::OK, icon, title);
}

void writeLog(const QString& line) { forms().get<FrmConsole>().window_WriteLog(line); }

FrmMain* mainWindow() { return forms().isLoaded<FrmMain>() ? &forms().get<FrmMain>() : nullptr; }

// Where a folder dialog starts for a folder kept in [Settings].
QString folderSetting(const QString& key)
{
    return directory_StartFolder(settings_ReadValue(QStringLiteral("Settings"), key, QStringLiteral("C:\\")));
}

QString recentEntry(const QString& section, int index)
{
    return files_RemoveTrailingNull(settings_ReadValue(section, QStringLiteral("Filename") + QString::number(index + 1), QString()));
}
} // namespace

void FrmMediaLibrary::connectCommands()
{
    const std::pair<QAction*, void (FrmMediaLibrary::*)()> commands[] = {
        {mnuNew, &FrmMediaLibrary::mnuNew_Click},
        {mnuAddFiles, &FrmMediaLibrary::mnuAddFiles_Click},
        {mnuAddPlaylist, &FrmMediaLibrary::mnuAddPlaylist_Click},
        {mnuAddLocation, &FrmMediaLibrary::mnuAddLocation_Click},
        {mnuAddDirectory, &FrmMediaLibrary::mnuAddDirectory_Click},
        {mnuOpen, &FrmMediaLibrary::mnuOpen_Click},
        {mnuSaveAs, &FrmMediaLibrary::mnuSaveAs_Click},
        {mnuClose, &FrmMediaLibrary::mnuClose_Click},
        {mnuEditMood, &FrmMediaLibrary::mnuEditMood_Click},
        {mnuRemoveAlDeadFilenames, &FrmMediaLibrary::mnuRemoveAlDeadFilenames_Click},
        {mnuRemoveDuplicateFilenames, &FrmMediaLibrary::mnuRemoveDuplicateFilenames_Click},
        {mnuImportCurrentPlaylist, &FrmMediaLibrary::mnuImportCurrentPlaylist_Click},
        {mnuExportToVELTRA, &FrmMediaLibrary::mnuExportToVELTRA_Click},
        {mnuUseID3v2Tags, &FrmMediaLibrary::mnuUseID3v2Tags_Click},
        {mnuResetMoods, &FrmMediaLibrary::mnuResetMoods_Click},
        {mnuRemoveSelected, &FrmMediaLibrary::mnuRemoveSelected_Click},
        {mnuAlwaysOnTop, &FrmMediaLibrary::mnuAlwaysOnTop_Click},
        {mnuShowSearchBar, &FrmMediaLibrary::mnuShowSearchBar_Click},
        {mnuShowPlaylistHeaders, &FrmMediaLibrary::mnuShowPlaylistHeaders_Click},
        {mnuShowStatusBar, &FrmMediaLibrary::mnuShowStatusBar_Click},
        {mnuReCenterWindow, &FrmMediaLibrary::mnuReCenterWindow_Click},
        {mnuConsole, &FrmMediaLibrary::mnuConsole_Click},
        {mnuPreferences, &FrmMediaLibrary::mnuPreferences_Click},
        {mnuTracking, &FrmMediaLibrary::mnuTracking_Click},
        {mnuVolumes, &FrmMediaLibrary::mnuVolumes_Click},
        {mnuForum, &FrmMediaLibrary::mnuForum_Click},
        {mnuHomepage, &FrmMediaLibrary::mnuHomepage_Click},
        {mnuCheckForUpdates, &FrmMediaLibrary::mnuCheckForUpdates_Click},
        {mnuAboutWindows, &FrmMediaLibrary::mnuAboutWindows_Click},
        {mnuAbout, &FrmMediaLibrary::mnuAbout_Click},
    };
    for (const auto& [action, handler] : commands) {
        // A switch's mark is its state: the handler sets it, not the click.
        connect(action, &QAction::triggered, this, [this, action = action, handler = handler] {
            if (action->isCheckable()) action->setChecked(!action->isChecked());
            (this->*handler)();
        });
    }
    connect(mnuRecentMedia, &MenuArray::triggered, this, [this](int index) { mnuRecentMedia_Click(index); });
    connect(mnuRecentPlaylist, &MenuArray::triggered, this, [this](int index) { mnuRecentPlaylist_Click(index); });
    connect(mnuSendToOp, &MenuArray::triggered, this, [this](int index) { mnuSendToOp_Click(index); });
    // "Check For &Updates..." comes with its own window.
}

// ---- shared steps ------------------------------------------------------------------------------------

void FrmMediaLibrary::refresh()
{
    filenames_ShowID3Data();
    library_Update();
}

void FrmMediaLibrary::addFolderTree(const QString& folder, bool below)
{
    static const char* const extensions[] = {"mp3", "mp2", "mp1"};
    auto addFolder = [this](const QString& f) {
        for (const char* ext : extensions) filenames_AddDirectory(f, QString::fromLatin1(ext));
    };
    addFolder(folder);
    if (!below) return;
    for (const QString& sub : directory_GetSubDirectories(folder, 1)) {
        // a large tree lets the window answer between folders; a close ends the scan
        vb::DoEventsThrottled();
        if (m_closing) return;
        if (!sub.isEmpty()) addFolder(sub);
    }
}

void FrmMediaLibrary::library_AddLocation(const QString& location)
{
    Busy busy(*this);
    setStatus(kReading);
    {
        const PaintingFrozen frozen(this);
        addFolderTree(location, true);
        refresh();
    }
    setStatus(kWaiting);
}

QString FrmMediaLibrary::playlistDialog(bool save)
{
    FileDialogRequest request;
    request.title = save ? QStringLiteral("Save Playlist...") : QStringLiteral("Open Playlist...");
    request.initialDir = programfolder::file(QStringLiteral("Playlists"));
    request.flags = 4;
    request.filter = programfolder::title() + (save ? QStringLiteral(" Playlist|*.spp|") : QStringLiteral(" Playlists|*.spp|"));
    request.filterIndex = 1;
    if (save) request.defaultExt = QStringLiteral("spp");
    const FileDialogResult answer = save ? ui().saveFileDialog(request) : ui().openFileDialog(request);
    if (answer.cancelled || answer.files.isEmpty()) return QString();
    return answer.files.first();
}

bool FrmMediaLibrary::loadPlaylistFile(const QString& file, bool replaceRows)
{
    if (replaceRows) controls_ClearListView(*lstvFilenames);
    // A file that cannot be read adds nothing and leaves the rows already there.
    if (!library::loadPlaylist(*lstvFilenames, file)) return false;
    refresh();
    return true;
}

void FrmMediaLibrary::addRecentPlaylist(const QString& file)
{
    recentplaylists_AddFile(file, *this);
    if (FrmMain* main = mainWindow()) recentplaylists_BuildMenu(*main);
}

// ---- File -------------------------------------------------------------------------------------------

void FrmMediaLibrary::mnuAddFiles_Click()
{
    const QStringList paths = addfiles::choose(QStringLiteral("Add Files..."));
    if (paths.isEmpty()) return;
    Busy busy(*this);
    setStatus(kReading);
    QStringList logLines;
    for (const QString& path : paths) {
        filenames_Add(path);
        logLines.append(path + kAdded);
    }
    forms().get<FrmConsole>().window_WriteLogLines(logLines);
    settings_WriteValue(QStringLiteral("Settings"), QStringLiteral("LastDirectoryUsed"), files_GetDirectory(paths.last()));
    // A single file is one the user may want again; a handful chosen at once is not.
    if (paths.size() == 1) recentmedia_AddFile(paths.first(), *this);
    if (FrmMain* main = mainWindow()) recentmedia_BuildMenu(*main);
    refresh();
    setStatus(kWaiting);
}

void FrmMediaLibrary::mnuAddPlaylist_Click()
{
    const QString file = playlistDialog(false);
    if (file.isEmpty()) return;
    Busy busy(*this);
    setStatus(kReading);
    if (loadPlaylistFile(file, false)) addRecentPlaylist(file);
    setStatus(kWaiting);
}

void FrmMediaLibrary::mnuAddLocation_Click()
{
    FrmAddLocation& dialog = forms().fresh<FrmAddLocation>();
    dialog.LocationTarget = FrmAddLocation::MediaLibrary;
    windows_ShowModal(dialog, this, true);
}

void FrmMediaLibrary::mnuAddDirectory_Click()
{
    const QString folder = directory_Browse(this, folderSetting(QStringLiteral("DirectoryPath")));
    if (folder.isEmpty()) return;
    Busy busy(*this);
    // The wait window comes first: while it is painted, the library also repaints where the
    // folder dialog was, before its painting is held.
    WaitWindow wait(QStringLiteral("Reading from:  ") + folder, QStringLiteral("Adding media files to library, please wait..."));
    const PaintingFrozen frozen(this);
    settings_WriteValue(QStringLiteral("Settings"), QStringLiteral("DirectoryPath"), folder);
    addFolderTree(folder, settings_ReadFlag(QStringLiteral("Settings"), QStringLiteral("DoRecursiveDirectoryScan"), QStringLiteral("1")));
    wait.setText(QStringLiteral("Reading each songs ID3 Tag, please wait..."));
    refresh();
}

void FrmMediaLibrary::mnuOpen_Click()
{
    const QString file = playlistDialog(false);
    if (file.isEmpty()) return;
    Busy busy(*this);
    mnuNew_Click();
    setStatus(kReading);
    if (loadPlaylistFile(file, true)) {
        addRecentPlaylist(file);
        files_AddToRecentDocuments(file);
    }
    setStatus(kWaiting);
}

void FrmMediaLibrary::mnuSaveAs_Click()
{
    const QString chosen = playlistDialog(true);
    if (chosen.isEmpty()) return;
    // The playlist gets its ".spp" and never takes a name the box would hide or list twice.
    const QString file = playlists::saveAsTarget(chosen);
    if (file.isEmpty()) return;
    auto failed = [] {
        message(QStringLiteral("An error occured while trying to save the playlist."), QStringLiteral("This function will not continue."),
                MsgIcon::Exclamation, QStringLiteral("Save Playlist Error"));
    };
    if (!files_FileExists(file)) {
        if (!window_SavePlaylist(file)) {
            failed();
            return;
        }
        writeLog(file + QStringLiteral(" saved as playlist."));
        forms().get<FrmMenus>().mnuUpdate_Click();
        addRecentPlaylist(file);
        files_AddToRecentDocuments(file);
        return;
    }
    const MsgResult answer = msgBox(QStringLiteral("The filename you have entered/selected already exists.\r\n\r\n"
                                                   "Would you like to overwrite this file?\r\n"),
                                    MsgButtons::YesNo, MsgIcon::Exclamation, QStringLiteral("Overwrite Existing File Confirmation"));
    if (answer != MsgResult::Yes) return;
    // A read-only file is not replaced, nor a folder; the new playlist takes the old one's
    // place only once it has been written whole.
    if (files_HasAttribute(file, 1) || files_HasAttribute(file, 16) || !window_SavePlaylist(file, true)) {
        failed();
        return;
    }
    files_AddToRecentDocuments(file);
    writeLog(file + QStringLiteral(" saved as playlist."));
}

void FrmMediaLibrary::mnuRecentMedia_Click(int index)
{
    const QString file = recentEntry(QStringLiteral("RecentMediaFiles"), index);
    if (files_FileExists(file)) {
        filenames_Add(file);
        writeLog(file + kAdded);
        return;
    }
    message(QStringLiteral("It has been detected the recent filename you are trying to open does not exist."),
            QStringLiteral("Please check the recent file before attempting to open it."), MsgIcon::Exclamation,
            QStringLiteral("Recent Filename Not Found"));
    recentmedia_RemoveEntry(index + 1, *this);
    if (FrmMain* main = mainWindow()) recentmedia_BuildMenu(*main);
}

void FrmMediaLibrary::mnuRecentPlaylist_Click(int index)
{
    const QString file = recentEntry(QStringLiteral("RecentPlaylists"), index);
    if (files_FileExists(file)) {
        Busy busy(*this);
        mnuNew_Click();
        setStatus(kReading);
        // the list keeps its order: a recent playlist opened again does not move up
        if (loadPlaylistFile(file, true)) files_AddToRecentDocuments(file);
        setStatus(kWaiting);
        return;
    }
    message(QStringLiteral("It has been detected the recent playlist filename you are trying to open does not exist."),
            QStringLiteral("Please check the recent file before attempting to open it."), MsgIcon::Exclamation,
            QStringLiteral("Recent Playlist Filename Not Found"));
    recentplaylists_RemoveEntry(index + 1, *this);
    if (FrmMain* main = mainWindow()) recentplaylists_BuildMenu(*main);
}

// ---- Arrange ------------------------------------------------------------------------------------------

void FrmMediaLibrary::mnuEditMood_Click() { FrmEditMoods::window_Open(this); }

void FrmMediaLibrary::mnuRemoveAlDeadFilenames_Click() { controls_RemoveDeadFiles(*lstvFilenames, library::ColPath); }

void FrmMediaLibrary::mnuRemoveDuplicateFilenames_Click()
{
    ListViewModel& working = *lstvFilenames;
    if (working.count() == 0) return;
    // Of every group of equal paths the last row stays; the others go, the order kept.
    QHash<QString, int> last;
    for (int row = 1; row <= working.count(); ++row) last.insert(working.cell(row, library::ColPath), row);
    QList<int> duplicates;
    for (int row = 1; row <= working.count(); ++row)
        if (last.value(working.cell(row, library::ColPath)) != row) duplicates.append(row);
    const int removed = working.removeRowList(duplicates);
    const QString title = QStringLiteral("Remove Duplicate Filenames Information");
    if (removed > 0) {
        message(QStringLiteral("It has been detected that you had ") + QString::number(removed)
                    + QStringLiteral(" duplicate filenames in the Media Library."),
                QStringLiteral("These items have been removed."), MsgIcon::Information, title);
        writeLog(QStringLiteral("Duplicate filenames removed from Media Librarys:  ") + QString::number(removed) + u'.');
    } else {
        message(QStringLiteral("No duplicate filenames were found within the Media Library."),
                QStringLiteral("No items have been removed from the Media Library."), MsgIcon::Information, title);
    }
}

void FrmMediaLibrary::mnuImportCurrentPlaylist_Click()
{
    FrmMain* main = mainWindow();
    if (!main || main->rows().count() == 0) return;
    Busy busy(*this);
    mnuNew_Click();
    setStatus(QStringLiteral("Status:  Importing main playlist..."));
    controls_ClearListView(*lstvFilenames);
    const ListViewModel& playlist = main->rows();
    std::vector<QStringList> rows;
    rows.reserve(size_t(playlist.count()));
    for (int row = 1; row <= playlist.count(); ++row) rows.push_back(library::rowForFile(playlist.cell(row, PlaylistColumn::Filename)));
    lstvFilenames->addRows(rows);
    refresh();
    writeLog(QStringLiteral("Playlist from the main window was imported into the Media Library."));
    setStatus(kWaiting);
}

void FrmMediaLibrary::mnuExportToVELTRA_Click()
{
    FrmMain* main = mainWindow();
    if (!main || results().count() == 0) return;
    // Taken before the main window's work lets events run.
    std::vector<QStringList> songs;
    for (int row = 1; row <= results().count(); ++row) songs.push_back(results().cells(row));
    main->mnuNew_Click();
    for (const QStringList& song : songs)
        main->playlist_AddSong(song.value(library::ResArtist), song.value(library::ResTitle), song.value(library::ResYear),
                               song.value(library::ResPath));
    controls_RenumberItems(main->rows());
    main->playlist_ShowMP3Data(false);
    main->window_UncheckMenus();
    writeLog(QStringLiteral("Playlist from the Media Library was exported into the main window."));
}

void FrmMediaLibrary::mnuUseID3v2Tags_Click()
{
    toggleSwitch(mnuUseID3v2Tags, "UseID3v2Tags");
    filenames_ShowID3Data();
}

void FrmMediaLibrary::mnuSendToOp_Click(int index)
{
    ListViewModel& list = results();
    const QList<int> chosen = list.selectedRows();
    QAction* item = mnuSendToOp->at(index);
    if (list.count() == 0 || chosen.isEmpty() || !item) return;
    const int row = list.isSelected(list.selectedItem()) ? list.selectedItem() : chosen.first();
    const QString mood = menu_ItemName(item);
    const QString path = list.cell(row, library::ResPath);
    const QString file = moods_FilePath(mood);
    if (file.isEmpty()) return;   // a name no file of the Moods folder can have
    if (moods_HasSong(file, path)) {
        message(QStringLiteral("The song/video you have selected is already in this mood."),
                QStringLiteral("Please selected a different song/video before continuing."), MsgIcon::Information,
                QStringLiteral("Song/Video Already In Mood"));
        return;
    }
    if (!moods_AddSong(file, path)) {
        message(QStringLiteral("An error occured while trying to add the song/video to this mood."),
                QStringLiteral("This function will not continue."), MsgIcon::Exclamation, QStringLiteral("Send To Mood Error"));
        return;
    }
    writeLog(path + QStringLiteral(" added to '") + mood + QStringLiteral("' Mood."));
    if (FrmMain* main = mainWindow()) main->window_UpdateMoods();
}

void FrmMediaLibrary::mnuResetMoods_Click()
{
    if (FrmMain* main = mainWindow()) main->mnuResetMoods_Click();
}

void FrmMediaLibrary::mnuRemoveSelected_Click()
{
    ListViewModel& list = results();
    const QList<int> chosen = list.selectedRows();
    if (chosen.isEmpty()) return;
    const int row = list.isSelected(list.selectedItem()) ? list.selectedItem() : chosen.first();
    const QString path = list.cell(row, library::ResPath);
    controls_RemoveSelectedItems(list);
    // the song's first entry in the working list, when it is still there
    for (int r = 1; r <= lstvFilenames->count(); ++r) {
        if (lstvFilenames->cell(r, library::ColPath) != path) continue;
        lstvFilenames->remove(r);
        break;
    }
    library_Update();
}

// ---- Window ---------------------------------------------------------------------------------------------

bool FrmMediaLibrary::toggleSwitch(QAction* item, const char* key)
{
    return controls_ToggleMenu(item, kSettings, QString::fromLatin1(key));
}

void FrmMediaLibrary::mnuAlwaysOnTop_Click() { windows_SetAlwaysOnTop(this, toggleSwitch(mnuAlwaysOnTop, "AlwaysOnTop")); }

void FrmMediaLibrary::mnuShowSearchBar_Click()
{
    nfpSearch->setVisible(toggleSwitch(mnuShowSearchBar, "ShowSearchBar"));
    Form_Resize();
}

void FrmMediaLibrary::mnuShowPlaylistHeaders_Click()
{
    lstvResults->setHideColumnHeaders(!toggleSwitch(mnuShowPlaylistHeaders, "ShowPlaylistHeaders"));
    Form_Resize();
}

void FrmMediaLibrary::mnuShowStatusBar_Click()
{
    sbStatusBar->setVisible(toggleSwitch(mnuShowStatusBar, "ShowStatusBar"));
    Form_Resize();
}

void FrmMediaLibrary::mnuReCenterWindow_Click()
{
    windows_ReCenterForm(this, 1800);
    windows_SavePosition(this, QStringLiteral("MediaLibrary"), 1800);
}

// ---- Help -------------------------------------------------------------------------------------------------

// Shown over the library itself, which leaves its always-on-top state meanwhile, so that a
// library kept on top never hides the window it opened.
void FrmMediaLibrary::mnuConsole_Click() { windows_ShowModal(forms().get<FrmConsole>(), this, false); }
void FrmMediaLibrary::mnuPreferences_Click() { FrmPreferences::prefs_Show(this); }
void FrmMediaLibrary::mnuTracking_Click() { windows_ShowModal(forms().get<FrmTracking>(), this, false); }
void FrmMediaLibrary::mnuVolumes_Click() { windows_ShowModal(forms().get<FrmAdjustVolumes>(), this, false); }
void FrmMediaLibrary::mnuForum_Click() { windows_OpenURL(this, webpages::forum(), 3); }
void FrmMediaLibrary::mnuHomepage_Click() { windows_OpenURL(this, webpages::homepage(), 3); }
void FrmMediaLibrary::mnuCheckForUpdates_Click() { windows_ShowModal(forms().fresh<FrmCheckForUpdates>(), this, true); }

// The main window's own About commands, whatever they show.
void FrmMediaLibrary::mnuAboutWindows_Click()
{
    if (FrmMain* main = mainWindow()) main->mnuAboutWindows->trigger();
}

void FrmMediaLibrary::mnuAbout_Click()
{
    if (FrmMain* main = mainWindow()) main->mnuAbout->trigger();
}
