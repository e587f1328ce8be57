// The playlist menu's Send To branches: the selected rows appended to another playlist file,
// their files added to a mood's song list, or copied to the root folder of a drive.
#include "mainwindow/FrmMenus.h"

#include "common/FrmConsole.h"
#include "common/ListViewModel.h"
#include "common/MenuArray.h"
#include "common/PlaylistRow.h"
#include "common/modFiles.h"
#include "common/modLineFiles.h"
#include "common/modListFiles.h"
#include "common/modMoodFiles.h"
#include "common/modPlaylistFiles.h"
#include "platform/TextFile.h"
#include "platform/UiServices.h"
#include "platform/Volumes.h"
#include "mainwindow/FrmMain.h"
#include "startup/Forms.h"

#include <QAction>
#include <QFileInfo>
#include <QSet>
#include <optional>

using namespace veltra;

namespace {

void writeLog(const QString& line) { forms().get<FrmConsole>().window_WriteLog(line); }

void message(const QString& first, const QString& second, MsgIcon icon, const QString& title)
{
    msgBox(first + QStringLiteral("\r\n\r\n") + second + QStringLiteral("\r\n"), MsgButtons::OK, icon, title);
}

// The selected rows' cells, top to bottom, taken before the first message box: the boxes
// let timers run, and a row played meanwhile may leave the list.
QList<QStringList> selectedRecords()
{
    const ListViewModel& list = forms().get<FrmMain>().rows();
    QList<QStringList> out;
    for (int row : list.selectedRows()) {
        QStringList cells = list.cells(row);
        while (cells.size() < PlaylistColumn::Count) cells.append(QString());
        out.append(cells.mid(0, PlaylistColumn::Count));
    }
    return out;
}

// The Filename field of every record of a playlist file; nullopt when it cannot be read.
std::optional<QSet<QString>> filenamesIn(const QString& file)
{
    QString text;
    if (textfile::readState(file, &text) != textfile::ReadState::Read) return std::nullopt;
    const QStringList fields = listfile::readFields(text);
    QSet<QString> out;
    for (qsizetype i = PlaylistColumn::Filename; i < fields.size(); i += PlaylistColumn::Count) out.insert(fields[i]);
    return out;
}

// One record appended to a list file, starting on a line of its own.
bool appendRecord(const QString& file, const QStringList& cells)
{
    QString lines = listfile::formatCells(cells);
    lines.chop(2);   // the line routine ends the last line itself
    return linefile_AppendLine(file, lines);
}

} // namespace

void FrmMenus::connectSendTo()
{
    connect(mnuItem, &MenuArray::triggered, this, [this](int index) { mnuItem_Click(index); });
    connect(mnuSendToMood, &MenuArray::triggered, this, [this](int index) { mnuSendToMood_Click(index); });
    connect(mnuDriveLetter, &MenuArray::triggered, this, [this](int index) { mnuDriveLetter_Click(index); });
}

// ---- drives ---------------------------------------------------------------------------------------------

void FrmMenus::window_RemoveDriveMenus() { mnuDriveLetter->unloadAbove(0); }

void FrmMenus::window_InstallDrives()
{
    window_RemoveDriveMenus();
    QAction* zero = mnuDriveLetter->at(0);
    zero->setVisible(false);
    zero->setEnabled(true);
    int loaded = 0;
    for (const volumes::Volume& volume : volumes::list()) {
        QAction* item = mnuDriveLetter->load(++loaded);
        if (!item) continue;
        item->setText(menu_Caption(volume.rootPath) + QStringLiteral("   (") + volumes::typeName(volume) + u')');
        item->setData(volume.rootPath);
        item->setVisible(true);
        item->setEnabled(true);
    }
}

void FrmMenus::mnuUpdateDrives_Click() { window_InstallDrives(); }

void FrmMenus::mnuDriveLetter_Click(int index)
{
    QAction* item = mnuDriveLetter->at(index);
    if (!item) return;
    const QString drive = item->data().toString();
    for (const QStringList& record : selectedRecords()) {
        const QString path = record[PlaylistColumn::Filename];
        if (!QFileInfo(drive).isDir()) {
            // The drive went away after the menu was built.
            message(QStringLiteral("An error occured while trying to copy your music to the specified path."),
                    QStringLiteral("This function will not continue."), MsgIcon::Exclamation, QStringLiteral("Error Copying Music To Drive"));
            return;
        }
        if (!QFileInfo(path).isFile()) {
            msgBox(QStringLiteral("One of the selected filenames in the playlist cannot be copied because it does not exist:\r\n\r\n") + path
                       + QStringLiteral("\r\n\r\nThis file will not be copied to the selected drive.\r\n"),
                   MsgButtons::OK, MsgIcon::Exclamation, QStringLiteral("Error Copying Music To Driv"));
            continue;
        }
        // The same file there already needs no copy; another file of that name is the user's
        // own and goes only after Yes.
        const QString target = volumes::pathIn(drive, files_GetFileName(path));
        if (QFileInfo(target).isFile()) {
            if (files::sameBytes(path, target)) continue;
            if (msgBox(QStringLiteral("A different file of the same name is already on the selected drive:\r\n\r\n") + target
                           + QStringLiteral("\r\n\r\nWould you like to replace it?\r\n"),
                       MsgButtons::YesNo, MsgIcon::Exclamation, QStringLiteral("Replace File On Drive Confirmation"))
                != MsgResult::Yes)
                continue;
        }
        // A failed copy has said in its own box that the command ends here; the songs
        // copied before stay. Only a copy made is logged.
        if (!files_CopyFile(path, target)) return;
        writeLog(path + QStringLiteral(" copy to '") + drive + QStringLiteral("' drive."));
    }
}

// ---- playlists ------------------------------------------------------------------------------------------

void FrmMenus::mnuItem_Click(int index)
{
    QAction* item = mnuItem->at(index);
    if (!item) return;
    const QString name = menu_ItemName(item);
    const QString file = playlists::fileOf(name);
    std::optional<QSet<QString>> held;
    for (const QStringList& record : selectedRecords()) {
        if (!QFileInfo(file).isFile()) {
            message(QStringLiteral("It has been detected the playlist you are trying to access does not exist."),
                    QStringLiteral("Please check the playlist file path before continuing."), MsgIcon::Exclamation,
                    QStringLiteral("Playlist Filename Not Found"));
            return;
        }
        if (!held) held = filenamesIn(file);
        const QString path = record[PlaylistColumn::Filename];
        if (held && held->contains(path)) {
            message(QStringLiteral("The song/video you have selected is already in this playlist."),
                    QStringLiteral("This song will not be copied into the playlist."), MsgIcon::Information,
                    QStringLiteral("Song/Video Already In Playlist"));
            continue;
        }
        // A playlist that cannot be read could not be checked, and one that cannot be written
        // takes nothing: either way nothing more is tried.
        if (!held || !appendRecord(file, record)) {
            message(QStringLiteral("An error occured while trying to add the song/video to the playlist."),
                    QStringLiteral("This function will not continue."), MsgIcon::Exclamation, QStringLiteral("Send To Playlist Error"));
            return;
        }
        held->insert(path);
        writeLog(path + QStringLiteral(" added to '") + name + QStringLiteral("' Playlist."));
    }
}

// ---- moods ----------------------------------------------------------------------------------------------

void FrmMenus::mnuSendToMood_Click(int index)
{
    QAction* item = mnuSendToMood->at(index);
    if (!item) return;
    const QString mood = menu_ItemName(item);
    const QString file = moods_FilePath(mood);
    if (file.isEmpty()) return;
    for (const QStringList& record : selectedRecords()) {
        const QString path = record[PlaylistColumn::Filename];
        if (moods_HasSong(file, path)) {
            message(QStringLiteral("The song/video you have selected is already in this mood."),
                    QStringLiteral("This song will not be copied into the mood."), MsgIcon::Information,
                    QStringLiteral("Song/Video Already In Mood"));
            continue;
        }
        if (!moods_AddSong(file, path)) {
            message(QStringLiteral("An error occured while trying to add the song/video to this mood."),
                    QStringLiteral("This function will not continue."), MsgIcon::Exclamation, QStringLiteral("Send To Mood Error"));
            break;
        }
        writeLog(path + QStringLiteral(" added to '") + mood + QStringLiteral("' Mood."));
    }
    forms().get<FrmMain>().window_UpdateMoods();
}
