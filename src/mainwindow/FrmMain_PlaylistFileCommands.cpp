// The main window's commands on whole playlists: new, open, add, save, save as, save as
// default, print, delete, rename, manage, and switching to the next, previous or a random
// playlist of the box.
#include "mainwindow/FrmMain.h"

#include "common/FrmConsole.h"
#include "common/ListView.h"
#include "common/modControls.h"
#include "common/modFiles.h"
#include "common/modListFiles.h"
#include "common/modListReplace.h"
#include "common/modMath.h"
#include "common/modPlaylistFiles.h"
#include "common/modRecent.h"
#include "common/modSettings.h"
#include "common/modVB.h"
#include "common/modWindows.h"
#include "common/PlaylistRow.h"
#include "library/FrmMediaLibrary.h"
#include "mainwindow/FrmMenus.h"
#include "platform/MediaPlayerControl.h"
#include "platform/ProgramFolder.h"
#include "platform/UiServices.h"
#include "playlisttools/FrmManagePlaylists.h"
#include "playlisttools/FrmRenamePlaylist.h"
#include "startup/Forms.h"

#include <QAction>
#include <QComboBox>
#include <QFileInfo>

using namespace veltra;

namespace {

const QString kPlaceholder = QStringLiteral("((Select Playlist))");

void writeLog(const QString& line) { forms().get<FrmConsole>().window_WriteLog(line); }

// The file dialogs of the playlist commands start in the Playlists folder.
FileDialogRequest playlistDialog(const QString& title, const QString& filter)
{
    FileDialogRequest request;
    request.title = title;
    request.initialDir = playlists::folder();
    request.filter = programfolder::title() + filter;
    request.filterIndex = 1;
    request.flags = 4;   // no read-only box
    return request;
}

// The dialog of Open and Add Playlist.
QString choosePlaylist()
{
    const FileDialogResult chosen = ui().openFileDialog(playlistDialog(QStringLiteral("Open Playlist..."), QStringLiteral(" Playlists|*.spp|")));
    if (chosen.cancelled || chosen.files.isEmpty()) return QString();
    return chosen.files.first();
}

void saveError()
{
    msgBox(QStringLiteral("An error occured while trying to save the playlist.\r\n\r\nThis function will not continue.\r\n"),
           MsgButtons::OK, MsgIcon::Exclamation, QStringLiteral("Save Playlist Error"));
}

} // namespace

// ---- the playlist box ---------------------------------------------------------------------------

void FrmMain::playlist_RefillBox(const QString& path)
{
    PlaylistComboReady = false;   // emptying and filling the box opens nothing
    cmbPlaylists->clear();
    window_RemoveFilenameMenus();
    window_InstallPlaylists();
    // Only a file of the Playlists folder is one of the box's playlists; another file of the
    // same name elsewhere must not make Save write over the stored one.
    QString name = playlists::isStored(path) ? path : kPlaceholder;
    playlist_Select(name);
}

// ---- new, open, add ---------------------------------------------------------------------------------

void FrmMain::mnuNew_Click()
{
    player_Stop();
    PlayNextIndex = 0;
    playNextCaptions(false);
    PlaylistComboReady = false;
    cmbPlaylists->setCurrentIndex(0);
    PlaylistComboReady = true;
    writeLog(QStringLiteral("Playlist cleared."));
    controls_ClearListView(rows());   // no row left to play from: CurrentTrack follows to 0
    window_ResetRandomFilenames();
    window_UncheckMenus();
}

namespace {
// Both recent-playlist menus show a playlist opened or added.
void addRecentPlaylist(FrmMain& main, const QString& path)
{
    recentplaylists_AddFile(path, main);
    if (main.mnuOpenMediaLibrary->isChecked() && forms().isLoaded<FrmMediaLibrary>())
        recentplaylists_BuildMenu(forms().get<FrmMediaLibrary>());
}
} // namespace

void FrmMain::mnuOpenPlaylist_Click()
{
    const QString path = choosePlaylist();
    if (path.isEmpty()) return;
    // A playlist that does not load leaves the rows as they were; its own box said why.
    if (!controls_ReplaceListView(rows(), path)) return;
    window_ResetRandomFilenames();
    addRecentPlaylist(*this, path);
    controls_RenumberItems(rows());
    playlist_CheckEntries();
    window_UncheckMenus();
    playlist_FollowPlayerAfterOpen();   // as when the box opens a playlist
    QString name = playlists::isStored(path) ? path : kPlaceholder;
    playlist_Select(name);
    files_AddToRecentDocuments(path);
    writeLog(files_GetNameWithoutExtension(path) + QStringLiteral(" opened."));
}

void FrmMain::mnuAddPlaylist_Click()
{
    const QString path = choosePlaylist();
    if (path.isEmpty()) return;
    if (!controls_LoadListView(rows(), path)) return;   // its own box said why; nothing was added
    addRecentPlaylist(*this, path);
    controls_RenumberItems(rows());
    playlist_CheckEntries();
    writeLog(path + QStringLiteral(" added onto to the current playlist (") + cmbPlaylists->currentText() + QStringLiteral(")."));
}

// ---- saving --------------------------------------------------------------------------------------------

void FrmMain::mnuSave_Click()
{
    const QString name = cmbPlaylists->currentText();
    if (name.toLower() == QLatin1String("((select playlist))")) {
        mnuSavePlaylistAs_Click();
        return;
    }
    // Written whole through a temporary file: a failed save leaves the old playlist.
    if (!playlists::write(rows(), playlists::fileOf(name))) saveError();
}

void FrmMain::mnuSaveAsDefault_Click()
{
    if (rows().count() > 0 && !playlists::write(rows(), playlists::folder() + QStringLiteral("/default.spp"))) saveError();
    window_UncheckMenus();
}

void FrmMain::mnuSavePlaylistAs_Click()
{
    FileDialogRequest request =
        playlistDialog(QStringLiteral("Save Playlist..."), QStringLiteral(" Playlist|*.spp|HTML Playlist|*.html|TEXT Playlist|*.txt|"));
    request.defaultExt = QStringLiteral("spp");   // while the playlist type is chosen
    const FileDialogResult chosen = ui().saveFileDialog(request);
    if (chosen.cancelled || chosen.files.isEmpty() || chosen.files.first().isEmpty()) return;
    enum class Kind { Playlist, Html, Text };
    const Kind kind = chosen.filterIndex == 2 ? Kind::Html : chosen.filterIndex == 3 ? Kind::Text : Kind::Playlist;
    // A playlist gets its ".spp" and never takes a name the box would hide or list twice.
    const QString path = kind == Kind::Playlist ? playlists::saveAsTarget(chosen.files.first()) : chosen.files.first();
    if (path.isEmpty()) return;

    const bool existed = QFileInfo::exists(path);
    if (existed) {
        const MsgResult answer = msgBox(QStringLiteral("The filename you have entered/selected already exists.\r\n\r\n"
                                                       "Would you like to overwrite this file?\r\n"),
                                        MsgButtons::YesNo, MsgIcon::Exclamation, QStringLiteral("Overwrite Existing File Confirmation"));
        if (answer != MsgResult::Yes) return;
        // Replaced whole, never deleted first: a file the user may not write stays as it is.
        if (!playlists::mayReplace(path)) {
            saveError();
            return;
        }
    }
    switch (kind) {
    case Kind::Html:
        if (!player_SaveHTMLPlaylist(path)) return saveError();
        writeLog(path + QStringLiteral(" saved as HTML playlist."));
        return;
    case Kind::Text:
        if (!player_SaveTEXTPlaylist(path)) return saveError();
        writeLog(path + QStringLiteral(" saved as TEXT playlist."));
        return;
    case Kind::Playlist:
        break;
    }
    if (!playlists::write(rows(), path)) return saveError();
    writeLog(path + QStringLiteral(" saved as playlist."));
    if (!existed) {
        // A new playlist: the box and both recent-playlist menus list it.
        playlist_RefillBox(path);
        addRecentPlaylist(*this, path);
    } else {
        QString name = playlists::isStored(path) ? path : kPlaceholder;
        playlist_Select(name);
    }
    window_UncheckMenus();
}

// ---- printing ---------------------------------------------------------------------------------------------

void FrmMain::mnuPrint_Click()
{
    const QString title = programfolder::title();
    if (!ui().printDialog(QStringLiteral("Print ") + title + QStringLiteral(" Playlist..."), 1)) return;
    const QString font = lstvPlaylist->font().family();
    QList<PrintLine> lines;
    lines.append({title + QStringLiteral(" Playlist:"), 10, false, font});
    lines.append({QString(), 10, false, font});
    const ListViewModel& list = rows();
    for (int row = 1; row <= list.count(); ++row)
        lines.append({list.text(row) + QStringLiteral(" - ") + list.subItem(row, PlaylistColumn::Artist) + QStringLiteral(" - ")
                          + list.subItem(row, PlaylistColumn::Title),
                      10, false, font});
    if (!ui().print(lines)) {
        msgBox(QStringLiteral("The playlist could not be printed.\r\n\r\nThis function will not continue.\r\n"), MsgButtons::OK,
               MsgIcon::Exclamation, QStringLiteral("Print Playlist Error"));
        return;
    }
    writeLog(QStringLiteral("Current playlist printed at ") + vb::TimeText() + u'.');
}

// ---- deleting, renaming, managing -------------------------------------------------------------------------

void FrmMain::mnuDeleteCurrentPlaylist_Click()
{
    const int index = cmbPlaylists->currentIndex();
    if (index < 1) return;
    if (!playlists::deleteOne(playlists::fileOf(cmbPlaylists->currentText()))) return;
    // Taking the entry out of the box opens no other playlist.
    PlaylistComboReady = false;
    cmbPlaylists->removeItem(index);
    controls_ClearListView(rows());
    cmbPlaylists->setCurrentIndex(0);
    PlaylistComboReady = true;
}

void FrmMain::mnuDeleteAllPlaylists_Click()
{
    if (playlists::deleteAll()) forms().get<FrmMenus>().mnuUpdate_Click();
}

void FrmMain::mnuRenameCurrentPlaylist_Click()
{
    if (cmbPlaylists->currentIndex() < 1) return;
    FrmRenamePlaylist& dialog = forms().fresh<FrmRenamePlaylist>();
    dialog.Get_Filename(playlists::fileOf(cmbPlaylists->currentText()), true);
    windows_ShowModal(dialog, this, true);
}

void FrmMain::mnuManagePlaylists_Click() { windows_ShowModal(forms().fresh<FrmManagePlaylists>(), this, true); }

// ---- switching playlists -------------------------------------------------------------------------------------

void FrmMain::mnuJumpToNextPlaylist_Click() { player_NextPlaylist(false); }

void FrmMain::mnuJumpToPreviousPlaylist_Click() { player_PreviousPlaylist(false); }

void FrmMain::mnuJumpToRandomPlaylist_Click()
{
    // Any stored playlist but the one shown; none, nothing to do.
    QList<int> entries;
    for (int i = 1; i < cmbPlaylists->count(); ++i)
        if (i != cmbPlaylists->currentIndex()) entries.append(i);
    if (entries.isEmpty()) return;
    const int pick = math_GetRandomNumber(int(entries.size()), 0, false, 20);
    player_SwitchPlaylist(entries.value(pick - 1, entries.first()), false);
}

void FrmMain::player_SwitchPlaylist(int index, bool playNow)
{
    if (index < 1 || index >= cmbPlaylists->count()) return;
    playlist_UpdatePlaylist(0);
    const QString name = cmbPlaylists->itemText(index);
    cmbPlaylists->setCurrentIndex(index);   // the box's handler loads it
    // A missing file put the box back on the placeholder; an empty list has no row to start.
    ListViewModel& list = rows();
    if (cmbPlaylists->currentText() != name || list.count() == 0) return;
    CurrentTrack = sequence().startRow();
    wmpPlayer().setFileName(list.subItem(CurrentTrack, PlaylistColumn::Filename));
    controls_SelectItem(list, CurrentTrack);
    window_ResetRandomFilenames();
    if (playNow || settings_ReadFlag(QStringLiteral("Settings"), QStringLiteral("PlayPlaylistsOnSkip"), QStringLiteral("0")))
        player_Play(1);
}
