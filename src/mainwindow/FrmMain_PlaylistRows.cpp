// The playlist: adding rows, tags into rows, dead and duplicate entries, the playlist files
// of the Playlists folder, export and row colours.
#include "mainwindow/FrmMain.h"

#include "common/FrmConsole.h"
#include "common/ListView.h"
#include "common/MenuArray.h"
#include "common/PlaylistRow.h"
#include "common/modControls.h"
#include "common/modFiles.h"
#include "common/modListFiles.h"
#include "common/modListReplace.h"
#include "common/modPlaylistFiles.h"
#include "common/modRecent.h"
#include "common/modSettings.h"
#include "common/modVB.h"
#include "mainwindow/FrmMenus.h"
#include "media/MediaError.h"
#include "media/ByteSource.h"
#include "media/clsID3v1.h"
#include "media/clsID3v2.h"
#include "media/modMedia.h"
#include "platform/ProgramFolder.h"
#include "platform/UiServices.h"
#include "player/PlaylistBusy.h"
#include "player/modExport.h"
#include "startup/Forms.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHash>
#include <QFileInfo>
#include <QLabel>

using namespace veltra;

namespace {

const QStringList& acceptedExtensions()
{
    static const QStringList list = {"mp3", "mp2", "mp1", "mid", "rmi", "midi", "wav", "snd", "au", "aif",
                                     "aifc", "aiff", "wma", "avi", "wmv", "mpeg", "mpe", "mpg", "m1v", "mpa"};
    return list;
}

bool isMpegAudio(const QString& path)
{
    const QString ext = files_GetExtension(path.toLower());
    return ext == QLatin1String("mp3") || ext == QLatin1String("mp2") || ext == QLatin1String("mp1");
}

void writeLog(const QString& line) { forms().get<FrmConsole>().window_WriteLog(line); }

} // namespace

void FrmMain::playlist_AddSong(const QString& artist, const QString& title, const QString& year, const QString& filename)
{
    rows().add({QString(), artist, title, year, rowStatusText(RowStatus::Play), QString(), filename});
}

void FrmMain::playlist_AddDirectory(const QString& directory, const QString& extension)
{
    // All rows in one insertion and all log lines in one write: a folder of thousands of
    // songs is added at once.
    std::vector<QStringList> added;
    QStringList lines;
    for (const QString& path : files::listFolder(directory, extension)) {
        added.push_back({QString(), QString(), QString(), QString(), rowStatusText(RowStatus::Play), QString(), path});
        lines.append(path + QStringLiteral(" added to playlist."));
    }
    rows().addRows(added);
    forms().get<FrmConsole>().window_WriteLogLines(lines);
}

void FrmMain::lstvPlaylist_OLEDragDrop(const QStringList& files)
{
    if (files.isEmpty()) return;
    const bool sorting = !mnuDontSort->isChecked();
    // The log lines and the recent files are written once for the whole drop, as they would
    // stand after writing them file by file.
    QStringList added;
    QStringList lines;
    auto record = [&] {
        forms().get<FrmConsole>().window_WriteLogLines(lines);
        recentmedia_AddFiles(added, *this);
    };
    try {
        if (sorting) rows().setSorted(false);
        for (const QString& path : files) {
            if (path.isEmpty()) continue;
            // The first file of a type the player does not take ends the drop; so does a folder.
            const QString ext = files_GetExtension(path.toLower());
            if (!acceptedExtensions().contains(ext) || QFileInfo(path).isDir()) break;
            playlist_AddSong(QString(), QString(), QString(), path);
            if (mnuTagsShowTagsAsFilesAreAdded->isChecked()) playlist_UpdateItem(rows().count(), false);
            lines.append(path + QStringLiteral(" added to playlist."));
            added.append(path);
        }
        record();
    } catch (const std::exception&) {
        record();
        msgBox(QStringLiteral("There was an error while trying to add a music file to the playlist.\r\n\r\n"
                              "This function will not continue to add any music files to the list.\r\n"),
               MsgButtons::OK, MsgIcon::Exclamation, QStringLiteral("Adding Music Files Error"));
        return;
    }
    if (sorting) rows().setSorted(true);
    controls_RenumberItems(rows());
    playlist_CheckEntries();
}

void FrmMain::playlist_UpdateItem(int row, bool namesOnly) { updateItem(row, namesOnly, std::nullopt); }

void FrmMain::updateItem(int row, bool namesOnly, std::optional<bool> useLargerTags)
{
    ListViewModel& list = rows();
    if (row < 1 || row > list.count()) return;
    QStringList cells = list.cells(row);
    const QString path = cells.value(PlaylistColumn::Filename);
    while (cells.size() < PlaylistColumn::Count) cells.append(QString());
    if (!namesOnly && isMpegAudio(path)) {
        if (!files_FileExists(path)) {
            cells[PlaylistColumn::Artist] = cells[PlaylistColumn::Title] = QStringLiteral("[None]");
            cells[PlaylistColumn::Length].clear();
            list.setCells(row, cells);
            return;
        }
        // A tag that cannot be read gives empty texts, which become "[None]" below. One read
        // of the file serves the tags and the length.
        media::SongFile song;
        song.open(path);
        auto read = [&path, &song](auto& tag) {
            try {
                tag.setFilename(path, song);
                return true;
            } catch (const MediaError&) {
                return false;
            }
        };
        QString artist, title, year;
        if (!useLargerTags)
            useLargerTags = settings_ReadFlag(QStringLiteral("Settings"), QStringLiteral("UseLargerTAGSWhenAvailable"), QStringLiteral("0"));
        if (*useLargerTags) {
            clsID3v1& v1 = id3v1();
            clsID3v2& v2 = id3v2();
            const bool got1 = read(v1);
            const bool got2 = read(v2);
            // The ID3v2 text wins only when it is longer; equal lengths keep ID3v1.
            auto longer = [](const QString& t2, const QString& t1) { return t2.size() > t1.size() ? t2 : t1; };
            artist = longer(got2 ? v2.Artist() : QString(), got1 ? v1.Artist() : QString());
            title = longer(got2 ? v2.Title() : QString(), got1 ? v1.Title() : QString());
            year = longer(got2 ? v2.Year() : QString(), got1 ? v1.Year() : QString());
        } else if (mnuTagsUseID3v2Tags->isChecked()) {
            clsID3v2& v2 = id3v2();
            if (read(v2)) {
                artist = v2.Artist();
                title = v2.Title();
                year = v2.Year();
            }
        } else {
            clsID3v1& v1 = id3v1();
            if (read(v1)) {
                artist = v1.Artist();
                title = v1.Title();
                year = v1.Year();
            }
        }
        cells[PlaylistColumn::Artist] = artist.isEmpty() ? QStringLiteral("[None]") : artist;
        cells[PlaylistColumn::Title] = title.isEmpty() ? QStringLiteral("[None]") : title;
        cells[PlaylistColumn::Year] = year;
        releaseTags();
        media_ReadMP3Info(song);
        const QString seconds = MP3Duration();
        cells[PlaylistColumn::Length] = seconds.isEmpty() ? QString() : media_FormatTime(qint32(vb::Val(seconds)));
        list.setCells(row, cells);
        return;
    }
    if (cells[PlaylistColumn::Artist].isEmpty()) cells[PlaylistColumn::Artist] = files_GetNameWithoutExtension(path);
    cells[PlaylistColumn::Length].clear();
    list.setCells(row, cells);
}

void FrmMain::playlist_ShowMP3Data(bool namesOnly, int fromRow)
{
    PlaylistBusy busy(*this, QStringLiteral("Updating the playlist entries, please wait..."));
    // Unticked, no file is opened: every row gets at most its file name.
    const bool flag = mnuTagsShowTagsAsFilesAreAdded->isChecked() ? namesOnly : true;
    const bool useLargerTags =
        settings_ReadFlag(QStringLiteral("Settings"), QStringLiteral("UseLargerTAGSWhenAvailable"), QStringLiteral("0"));
    for (int row = std::max(1, fromRow); row <= rows().count(); ++row) {
        updateItem(row, flag, useLargerTags);
        vb::DoEventsThrottled();
    }
}

void FrmMain::playlist_CheckEntries()
{
    ListViewModel& list = rows();
    if (list.count() == 0) return;
    if (vb::Val(settings_ReadValue(QStringLiteral("Settings"), QStringLiteral("AlwaysScanPlaylistWhenAddingSongs"), QStringLiteral("0"))) == 0)
        return;
    // Of several rows naming one file only the last stays; rows whose file is gone go too.
    // Two paths are one file only when they are equal as texts.
    QHash<QString, int> remaining;
    for (int row = 1; row <= list.count(); ++row) ++remaining[list.subItem(row, PlaylistColumn::Filename)];
    QList<int> removed;
    for (int row = 1; row <= list.count(); ++row) {
        const QString path = list.subItem(row, PlaylistColumn::Filename);
        int& left = remaining[path];
        if (!files_FileExists(path) || left > 1) {
            removed.append(row);
            --left;
        }
    }
    if (removed.isEmpty()) return;
    list.removeRowList(removed);
    const QString count = QString::number(removed.size());
    msgBox(QStringLiteral("It has been detected that you had ") + count
               + QStringLiteral(" dead or duplicate filenames in the playlist.\r\n\r\nThese items have been removed.\r\n"),
           MsgButtons::OK, MsgIcon::Information, QStringLiteral("Playlist Scan Information"));
    writeLog(QStringLiteral("Dead/Duplicate filenames removed:  ") + count + u'.');
}

void FrmMain::window_RemoveFilenameMenus() { forms().get<FrmMenus>().mnuItem->unloadAbove(0); }

void FrmMain::window_InstallPlaylists()
{
    FrmMenus& menus = forms().get<FrmMenus>();
    window_RemoveFilenameMenus();
    QAction* zero = menus.mnuItem->at(0);
    zero->setVisible(false);
    zero->setEnabled(true);
    const QStringList files = files::listFolder(programfolder::file(QStringLiteral("Playlists")), QStringLiteral("spp"));
    const bool ready = PlaylistComboReady;
    PlaylistComboReady = false;   // filling the box opens nothing
    cmbPlaylists->addItem(QStringLiteral("((Select Playlist))"));
    int loaded = 0;
    for (const QString& file : files) {
        const QString name = files_GetNameWithoutExtension(file);
        if (playlists::isReservedName(name)) continue;
        cmbPlaylists->addItem(name);
        QAction* item = menus.mnuItem->load(++loaded);
        menu_SetNameItem(item, name);
        item->setVisible(true);
    }
    if (loaded == 0) {
        zero->setText(QStringLiteral("[None]"));
        zero->setVisible(true);
        zero->setEnabled(false);
    }
    PlaylistComboReady = ready;
}

void FrmMain::cmbPlaylists_Click()
{
    const QString text = cmbPlaylists->currentText();
    // An emptied box (its playlists about to be filled in again) opens nothing.
    if (text == QLatin1String("((Select Playlist))") || !PlaylistComboReady || cmbPlaylists->currentIndex() < 0) return;
    // The file is opened under its real name, whatever the letter case of its extension.
    const QString path = playlists::fileOf(text);
    if (files_FileExists(path)) {
        // A playlist that does not load leaves the rows as they were; its box said why. The
        // box must not name it then, or Save would write these rows over that file.
        if (!controls_ReplaceListView(rows(), path)) {
            QString none = QStringLiteral("((Select Playlist))");
            playlist_Select(none);
            return;
        }
        window_ResetRandomFilenames();
        writeLog(path + QStringLiteral(" opened."));
        controls_SelectItem(rows(), 1);
        controls_RenumberItems(rows());
        playlist_FollowPlayerAfterOpen();
        window_UncheckMenus();
        lstvPlaylist->setFocus();
    } else {
        msgBox(QStringLiteral("It has been detected the playlist you are trying to open does not exist.\r\n\r\n"
                              "Please check the playlist file path before continuing.\r\n"),
               MsgButtons::OK, MsgIcon::Exclamation, QStringLiteral("Playlist Filename Not Found"));
        QString none = QStringLiteral("((Select Playlist))");
        playlist_Select(none);
        forms().get<FrmMenus>().mnuUpdate_Click();
    }
}

void FrmMain::playlist_Select(QString& name)
{
    name = files_GetNameWithoutExtension(name);
    cmbPlaylists->setCurrentIndex(0);
    PlaylistComboReady = false;
    int found = 0;
    for (int i = 1; i < cmbPlaylists->count(); ++i)
        if (cmbPlaylists->itemText(i) == name) found = i;
    cmbPlaylists->setCurrentIndex(found);
    PlaylistComboReady = true;
}

bool FrmMain::player_SaveHTMLPlaylist(const QString& path)
{
    PlaylistBusy busy(*this, QStringLiteral("Creating HTML playlist, please wait..."));
    return playlistexport::writeHtml(rows(), path,
                              settings_ReadValue(QStringLiteral("HTMLPlaylist"), QStringLiteral("BackgroundColour"), QStringLiteral("#000080")),
                              settings_ReadValue(QStringLiteral("HTMLPlaylist"), QStringLiteral("FontColour"), QStringLiteral("#FFFFFF")));
}

bool FrmMain::player_SaveTEXTPlaylist(const QString& path)
{
    PlaylistBusy busy(*this, QStringLiteral("Creating TEXT playlist, please wait..."));
    return playlistexport::writeText(rows(), path);
}

void FrmMain::playlist_UpdatePlaylist(int playingRow)
{
    ListViewModel& list = rows();
    auto colour = [](const char* key, const char* def) {
        return quint32(qint64(vb::Val(settings_ReadValue(QStringLiteral("Appearance"), QString::fromLatin1(key), QString::fromLatin1(def)))));
    };
    for (int i = 1; i <= list.count(); ++i) {
        if (i != PlayNextIndex && list.bold(i, 0)) {
            list.setBold(i, false);
            list.setForeColour(i, colour("FontColour", "&H80000008"));
        } else if (i == PlayNextIndex && i != playingRow && list.bold(i, 0)) {
            // The marked row played (Next reached it) and the mark stays: back to the mark's colour.
            list.setForeColour(i, colour("PlayNextFontColour", "&HC00000"));
        }
        if (i == playingRow) {
            list.setBold(i, true);
            list.setForeColour(i, colour("PlayingFontColour", "&HC0"));
        }
    }
    lstvPlaylist->viewport()->update();
}

void FrmMain::window_UncheckMenus()
{
    for (int i = 0; i <= mnuMoodOpen->ubound(); ++i)
        if (QAction* a = mnuMoodOpen->at(i)) a->setChecked(false);
}
