// Arranging the playlist's rows: the entry buffer (cut, copy, paste, clear), select all, crop,
// and removing rows (selected, dead, duplicate, deleted from the disk). Rows always go through
// the list's own removal, so the playing row and the Play Next mark follow them (FrmMain's
// followRows): a playing row that goes leaves the row before its place standing for it, and a
// Play Next row that goes takes its mark along.
#include "mainwindow/FrmMain.h"

#include "common/FrmConsole.h"
#include "common/ListViewModel.h"
#include "common/PlaylistRow.h"
#include "common/modControls.h"
#include "common/modFiles.h"
#include "common/modSettings.h"
#include "common/modVB.h"
#include "platform/MediaPlayerControl.h"
#include "platform/ProgramFolder.h"
#include "platform/UiServices.h"
#include "player/PlaylistBusy.h"
#include "startup/Forms.h"

#include <QAction>
#include <QHash>

using namespace veltra;

namespace {
void writeLog(const QString& line) { forms().get<FrmConsole>().window_WriteLog(line); }

// A two-sentence box: the sentences with an empty line between them.
void report(const QString& first, const QString& second, MsgIcon icon, const QString& title)
{
    msgBox(first + QStringLiteral("\r\n\r\n") + second + QStringLiteral("\r\n"), MsgButtons::OK, icon, title);
}

// The buffer keeps a row's sub-items Artist to Filename.
constexpr int kBufferedColumns = PlaylistColumn::Filename - PlaylistColumn::Artist + 1;

const QString kDeleteTitle = QStringLiteral("Physically Delete File Error");
} // namespace

// ---- entry buffer -----------------------------------------------------------------------------------

void FrmMain::mnuClear_Click() { EntryBuffer = QList<QStringList>{QStringList()}; }

void FrmMain::copySelectedRows(bool cut)
{
    if (cut && mnuLockPlaylist->isChecked()) return;
    ListViewModel& list = rows();
    const QList<int> selected = list.selectedRows();
    mnuClear_Click();   // a copy never adds to an earlier one
    for (int row : selected) {
        QStringList entry = list.cells(row).mid(PlaylistColumn::Artist, kBufferedColumns);
        while (entry.size() < kBufferedColumns) entry.append(QString());
        EntryBuffer.append(entry);
    }
    if (!cut) return;
    list.removeRowList(selected);
    controls_RenumberItems(list);
}

void FrmMain::mnuCopy_Click() { copySelectedRows(false); }
void FrmMain::mnuCut_Click() { copySelectedRows(true); }

void FrmMain::mnuPaste_Click()
{
    if (mnuLockPlaylist->isChecked()) return;
    std::vector<QStringList> added;
    for (qsizetype k = 1; k < EntryBuffer.size(); ++k) {
        const QStringList& entry = EntryBuffer[k];
        if (entry.value(kBufferedColumns - 1).isEmpty()) continue;   // no file, no row
        added.push_back(QStringList{QString()} + entry);
    }
    ListViewModel& list = rows();
    list.addRows(added);
    // A sorted list places added rows as it places any other.
    if (list.sorted() && !added.empty()) list.sortNow();
    controls_RenumberItems(list);
}

void FrmMain::mnuSelectAll_Click()
{
    ListViewModel& list = rows();
    if (list.count() == 0) return;
    const QItemSelection all(list.index(0, 0), list.index(list.count() - 1, std::max(0, list.columnCount() - 1)));
    list.selectionModel()->select(all, QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

void FrmMain::mnuSelectedCrop_Click()
{
    if (mnuLockPlaylist->isChecked()) return;
    ListViewModel& list = rows();
    if (list.count() == 0) return;
    QList<int> unselected;
    for (int row = 1; row <= list.count(); ++row)
        if (!list.isSelected(row)) unselected.append(row);
    list.removeRowList(unselected);
    controls_RenumberItems(list);
}

// ---- removing rows ------------------------------------------------------------------------------------

void FrmMain::removeSelectedRows(bool keepPlayingRow)
{
    ListViewModel& list = rows();
    QList<int> going = list.selectedRows();
    if (keepPlayingRow && !m_sequence.position(CurrentTrack).gone) going.removeAll(CurrentTrack);
    list.removeRowList(going);
    controls_RenumberItems(list);
}

bool FrmMain::songInPlayer()
{
    const MediaPlayerControl::State state = wmpPlayer().PlayState();
    return state == MediaPlayerControl::State::Playing || state == MediaPlayerControl::State::Paused;
}

void FrmMain::selectPlayingRow()
{
    ListViewModel& list = rows();
    if (CurrentTrack >= 1 && CurrentTrack <= list.count() && !m_sequence.position(CurrentTrack).gone) {
        controls_SelectItem(list, CurrentTrack);
        playlist_UpdatePlaylist(CurrentTrack);
    } else {
        mnuJumpToCurrentlyPlaying_Click();
    }
}

void FrmMain::mnuRemoveSelected_Click()
{
    if (mnuLockPlaylist->isChecked()) return;
    ListViewModel& list = rows();
    const bool playing = songInPlayer();
    const int current = list.selectedItem();
    removeSelectedRows(playing);
    if (playing) selectPlayingRow();
    else if (list.count() > 0 && current >= 1) controls_SelectItem(list, std::min(current, list.count()));
}

void FrmMain::mnuRemoveAlDeadFilenames_Click()
{
    if (mnuLockPlaylist->isChecked()) return;
    ListViewModel& list = rows();
    if (list.count() == 0) return;
    const PlaylistBusy busy(*this, QStringLiteral("Removing dead entries from the playlist, please wait..."));
    QList<int> dead;
    for (int row = 1; row <= list.count(); ++row)
        if (!files_FileExists(list.subItem(row, PlaylistColumn::Filename))) dead.append(row);
    const int n = list.removeRowList(dead);
    const QString title = QStringLiteral("Remove Dead Filenames Information");
    if (n == 0) {
        report(QStringLiteral("No dead filenames were found within the playlist."),
               QStringLiteral("No items have been removed from the playlist."), MsgIcon::Information, title);
        return;
    }
    controls_RenumberItems(list);
    report(QStringLiteral("It has been detected that you had ") + QString::number(n) + QStringLiteral(" dead filenames in the playlist."),
           QStringLiteral("These items have been removed."), MsgIcon::Information, title);
    writeLog(QStringLiteral("Dead filenames removed:  ") + QString::number(n) + u'.');
}

void FrmMain::mnuRemoveDuplicateFilenames_Click()
{
    if (mnuLockPlaylist->isChecked()) return;
    ListViewModel& list = rows();
    if (list.count() == 0) return;
    const PlaylistBusy busy(*this, QStringLiteral("Removing duplicate entries from the playlist, please wait..."));
    // Of the rows naming one file only the bottom-most stays; two paths name one file only
    // when they are equal as texts.
    QHash<QString, int> remaining;
    for (int row = 1; row <= list.count(); ++row) ++remaining[list.subItem(row, PlaylistColumn::Filename)];
    QList<int> repeats;
    for (int row = 1; row <= list.count(); ++row) {
        int& left = remaining[list.subItem(row, PlaylistColumn::Filename)];
        if (left > 1) {
            repeats.append(row);
            --left;
        }
    }
    const int n = list.removeRowList(repeats);
    const QString title = QStringLiteral("Remove Duplicate Filenames Information");
    if (n == 0) {
        report(QStringLiteral("No duplicate filenames were found within the playlist."),
               QStringLiteral("No items have been removed from the playlist."), MsgIcon::Information, title);
        return;
    }
    controls_RenumberItems(list);
    report(QStringLiteral("It has been detected that you had ") + QString::number(n) + QStringLiteral(" duplicate filenames in the playlist."),
           QStringLiteral("These items have been removed."), MsgIcon::Information, title);
    writeLog(QStringLiteral("Duplicate filenames removed:  ") + QString::number(n) + u'.');
}

void FrmMain::mnuRemovePhysicallyDeleteSelected_Click()
{
    if (mnuLockPlaylist->isChecked()) return;
    ListViewModel& list = rows();
    const QList<int> selected = list.selectedRows();
    if (selected.isEmpty()) return;   // nothing chosen, nothing deleted
    int current = list.selectedItem();
    if (!list.isSelected(current)) current = selected.first();
    const QString inPlayer = wmpPlayer().FileName();
    const QString path = list.subItem(current, PlaylistColumn::Filename);
    if (!files_FileExists(path)) {
        report(QStringLiteral("The filename that you have selected from the list does not exist."),
               QStringLiteral("This function will not continue."), MsgIcon::Exclamation, kDeleteTitle);
        return;
    }
    if (path == inPlayer) {
        report(QStringLiteral("The filename that you have selected from the list is being used by ") + programfolder::title() + u'.',
               QStringLiteral("This function will not continue."), MsgIcon::Exclamation, kDeleteTitle);
        return;
    }

    // The rows are remembered by their keys: the boxes below let timers and songs move on.
    QStringList files;
    std::vector<quint64> keys;
    for (int row : selected) {
        const QString file = list.subItem(row, PlaylistColumn::Filename);
        if (file == inPlayer) continue;
        files.append(file);
        keys.push_back(list.rowKey(row));
    }
    const QString question = QStringLiteral("You are about to physically delete these files from your computer:\r\n\r\n")
                             + files.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n\r\nDo you wish to continue?\r\n");
    if (msgBox(question, MsgButtons::YesNo, MsgIcon::Exclamation, QStringLiteral("Physically Delete Files Confirmation")) != MsgResult::Yes)
        return;

    for (const quint64 key : keys) {
        const int row = list.rowOfKey(key);
        if (row < 1) continue;
        const QString file = list.subItem(row, PlaylistColumn::Filename);
        if (file == wmpPlayer().FileName()) continue;   // it may have started meanwhile
        if (files_FileExists(file)) {
            const bool toTrash = vb::Val(settings_ReadValue(QStringLiteral("Settings"), QStringLiteral("SendMediaFilesToRecycleBin"), QStringLiteral("1"))) == 1;
            if (toTrash) files_DeleteToRecycleBin(file, false, false);
            else files_DeleteFile(file);
        }
        // A file that is still there (read-only, or the trash refused it) keeps its row.
        if (files_FileExists(file)) continue;
        const int stillAt = list.rowOfKey(key);
        if (stillAt >= 1) list.remove(stillAt);
        writeLog(file + QStringLiteral(" was physically deleted from playlist."));
    }
}
