// Opening the tools that rename, move and re-tag the playlist's files.
#include "mainwindow/FrmMain.h"

#include "common/ListViewModel.h"
#include "common/PlaylistRow.h"
#include "common/modFiles.h"
#include "common/modWindows.h"
#include "library/FrmMassRenamer.h"
#include "library/FrmMoveToFolder.h"
#include "library/FrmRename.h"
#include "platform/MediaPlayerControl.h"
#include "platform/ProgramFolder.h"
#include "platform/UiServices.h"
#include "startup/Forms.h"


using namespace veltra;

// The tools that change files refuse to start while a song plays or is paused.
bool FrmMain::refusedWhilePlaying(const QString& title)
{
    const MediaPlayerControl::State state = wmpPlayer().PlayState();
    if (state != MediaPlayerControl::State::Paused && state != MediaPlayerControl::State::Playing) return false;
    msgBox(QStringLiteral("You cannot use this option while ") + programfolder::title()
               + QStringLiteral(" is playing music.\r\n\r\nThis function will not continue.\r\n"),
           MsgButtons::OK, MsgIcon::Exclamation, title);
    return true;
}

int FrmMain::selectedFileRow(const QString& title, const QString& moreThanOneText)
{
    const QList<int> selected = rows().selectedRows();
    if (selected.isEmpty()) return 0;
    if (selected.size() >= 2) {
        msgBox(moreThanOneText, MsgButtons::OK, MsgIcon::Exclamation, title);
        return 0;
    }
    const int row = selected.first();
    const QString path = rows().subItem(row, PlaylistColumn::Filename);
    if (!files_FileExists(path)) {
        msgBox(QStringLiteral("The filename that you have selected from the list does not exist.\r\n\r\nThis function will not continue.\r\n"),
               MsgButtons::OK, MsgIcon::Exclamation, title);
        return 0;
    }
    if (wmpPlayer().FileName() == path) {
        msgBox(QStringLiteral("The filename that you have selected from the list is being used by ") + programfolder::title()
                   + QStringLiteral(".\r\n\r\nThis function will not continue.\r\n"),
               MsgButtons::OK, MsgIcon::Exclamation, title);
        return 0;
    }
    return row;
}

void FrmMain::mnuSelectedRenameFilename_Click()
{
    const int row = selectedFileRow(QStringLiteral("Rename Filename Error"),
                                    QStringLiteral("You have selected more than 1 song from the playlist.\r\nThis function will not continue.\r\n\r\n"));
    if (row == 0) return;
    FrmRename& rename = forms().get<FrmRename>();
    rename.Get_Filename(rows().subItem(row, PlaylistColumn::Filename), row);
    windows_ShowModal(rename, this, true);
}

void FrmMain::mnuPlaylistRenameAllFilenames_Click()
{
    if (refusedWhilePlaying(QStringLiteral("Rename All Filenames Error")) || rows().count() == 0) return;
    windows_ShowModal(forms().get<FrmMassRenamer>(), this, false);
}

void FrmMain::mnuPlaylistMoveMusicToFolder_Click()
{
    if (refusedWhilePlaying(QStringLiteral("Move Music To Folder Error")) || rows().count() == 0) return;
    windows_ShowModal(forms().get<FrmMoveToFolder>(), this, false);
}
