// Opening the tools that rename and move the playlist's files, and the Save they run after
// changing rows.
#include "player/FrmMain.h"

#include "common/ListViewModel.h"
#include "common/modFiles.h"
#include "common/modListFiles.h"
#include "common/modWindows.h"
#include "library/FrmMassRenamer.h"
#include "library/FrmMoveToFolder.h"
#include "library/FrmRename.h"
#include "platform/MediaPlayerControl.h"
#include "platform/ProgramFolder.h"
#include "platform/UiServices.h"
#include "startup/Forms.h"

#include <QComboBox>

using namespace veltra;

namespace {
// The tools that change files refuse to start while a song plays or is paused.
bool refusedWhilePlaying(const MediaPlayerControl& player, const QString& title)
{
    const MediaPlayerControl::State state = player.PlayState();
    if (state != MediaPlayerControl::State::Paused && state != MediaPlayerControl::State::Playing) return false;
    msgBox(QStringLiteral("You cannot use this option while ") + programfolder::title()
               + QStringLiteral(" is playing music.\r\n\r\nThis function will not continue.\r\n"),
           MsgButtons::OK, MsgIcon::Exclamation, title);
    return true;
}
} // namespace

void FrmMain::mnuSelectedRenameFilename_Click()
{
    const QList<int> selected = rows().selectedRows();
    if (selected.isEmpty()) return;
    const QString title = QStringLiteral("Rename Filename Error");
    if (selected.size() >= 2) {
        msgBox(QStringLiteral("You have selected more than 1 song from the playlist.\r\nThis function will not continue.\r\n\r\n"),
               MsgButtons::OK, MsgIcon::Exclamation, title);
        return;
    }
    const int row = selected.first();
    const QString path = rows().subItem(row, 6);
    if (!files_FileExists(path)) {
        msgBox(QStringLiteral("The filename that you have selected from the list does not exist.\r\n\r\nThis function will not continue.\r\n"),
               MsgButtons::OK, MsgIcon::Exclamation, title);
        return;
    }
    if (wmpPlayer().FileName() == path) {
        msgBox(QStringLiteral("The filename that you have selected from the list is being used by ") + programfolder::title()
                   + QStringLiteral(".\r\n\r\nThis function will not continue.\r\n"),
               MsgButtons::OK, MsgIcon::Exclamation, title);
        return;
    }
    FrmRename& rename = forms().get<FrmRename>();
    rename.Get_Filename(path, row);
    windows_ShowModal(rename, this, true);
}

void FrmMain::mnuPlaylistRenameAllFilenames_Click()
{
    if (refusedWhilePlaying(wmpPlayer(), QStringLiteral("Rename All Filenames Error")) || rows().count() == 0) return;
    windows_ShowModal(forms().get<FrmMassRenamer>(), this, false);
}

void FrmMain::mnuPlaylistMoveMusicToFolder_Click()
{
    if (refusedWhilePlaying(wmpPlayer(), QStringLiteral("Move Music To Folder Error")) || rows().count() == 0) return;
    windows_ShowModal(forms().get<FrmMoveToFolder>(), this, false);
}

void FrmMain::mnuSave_Click()
{
    // Save As, for a playlist without a name, is the playlist commands' own.
    const QString name = cmbPlaylists->currentText();
    if (name.toLower() == QLatin1String("((select playlist))")) return;
    // written whole through a temporary file: a failed save leaves the old playlist
    controls_SaveListView(rows(), programfolder::file(QStringLiteral("Playlists/")) + name + QStringLiteral(".spp"));
}
