// The File menu's lists: recent media files and playlists, bookmarks (bookmarks.sbl, one
// path per line) and moods, with the commands of their submenus.
#include "mainwindow/FrmMain.h"

#include "common/FrmConsole.h"
#include "common/ListView.h"
#include "common/MenuArray.h"
#include "common/PlaylistRow.h"
#include "common/modControls.h"
#include "common/modFiles.h"
#include "common/modLineFiles.h"
#include "common/modListFiles.h"
#include "common/modListReplace.h"
#include "common/modMoodFiles.h"
#include "common/modPlaylistFiles.h"
#include "common/modRecent.h"
#include "common/modSettings.h"
#include "common/modVB.h"
#include "common/modWindows.h"
#include "library/FrmMediaLibrary.h"
#include "platform/ProgramFolder.h"
#include "platform/UiServices.h"
#include "playlisttools/FrmEditBookmarks.h"
#include "startup/Forms.h"

#include <QAction>
#include <QMenu>
#include <QProxyStyle>

using namespace veltra;

namespace {

void writeLog(const QString& line) { forms().get<FrmConsole>().window_WriteLog(line); }

void message(const QString& first, const QString& second, MsgIcon icon, const QString& title)
{
    msgBox(first + QStringLiteral("\r\n\r\n") + second + QStringLiteral("\r\n"), MsgButtons::OK, icon, title);
}

QString bookmarksFile() { return programfolder::file(QStringLiteral("bookmarks.sbl")); }

// Entry index + 1 of a recent list ("Filename1" is element 0).
QString recentEntry(const QString& section, int index)
{
    return files_RemoveTrailingNull(settings_ReadValue(section, QStringLiteral("Filename") + QString::number(index + 1), QString()));
}

// The media library, when it is open.
FrmMediaLibrary* openLibrary(const FrmMain& main)
{
    return main.mnuOpenMediaLibrary->isChecked() && forms().isLoaded<FrmMediaLibrary>() ? &forms().get<FrmMediaLibrary>() : nullptr;
}

// The first row from the top whose file is this path; 0 when none. Two paths name the same
// file only when they are equal as texts.
int rowOfFile(const ListViewModel& list, const QString& path)
{
    for (int row = 1; row <= list.count(); ++row)
        if (list.subItem(row, PlaylistColumn::Filename) == path) return row;
    return 0;
}

// A file of one of the lists played: its row when the playlist has it, else a playlist of
// that file alone.
void playFromList(FrmMain& main, const QString& path)
{
    ListViewModel& list = main.rows();
    if (const int row = rowOfFile(list, path)) {
        main.mnuStop_Click();
        controls_SelectItem(list, row);
        main.mnuPlay_Click();
        return;
    }
    main.mnuNew_Click();
    main.playlist_AddSong(QString(), QString(), QString(), path);
    if (main.mnuTagsShowTagsAsFilesAreAdded->isChecked()) main.playlist_UpdateItem(1, false);
    controls_RenumberItems(list);
    main.window_ResetRandomFilenames();
    controls_SelectItem(list, 1);   // the row to play
    main.player_Play(1);
}

// A long list scrolls in one column, as menus do on the desktop the program comes from,
// rather than spreading over columns past the screen's edge with its last items out of reach.
class ScrollingMenuStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget, QStyleHintReturn* data) const override
    {
        return hint == SH_Menu_Scrollable ? 1 : QProxyStyle::styleHint(hint, option, widget, data);
    }
};

} // namespace

void FrmMain::connectFileLists()
{
    auto* scrolling = new ScrollingMenuStyle;
    scrolling->setParent(mnuOpenBookmark);
    mnuOpenBookmark->setStyle(scrolling);
    connect(mnuRecentMedia, &MenuArray::triggered, this, [this](int index) { mnuRecentMedia_Click(index); });
    connect(mnuRecentPlaylist, &MenuArray::triggered, this, [this](int index) { mnuRecentPlaylist_Click(index); });
    connect(mnuBookmark, &MenuArray::triggered, this, [this](int index) { mnuBookmark_Click(index); });
    connect(mnuMoodOpen, &MenuArray::triggered, this, [this](int index) { mnuMoodOpen_Click(index); });
}

void FrmMain::mnuRecentMedia_Click(int index)
{
    const QString path = recentEntry(QStringLiteral("RecentMediaFiles"), index);
    if (!path.isEmpty() && files_FileExists(path)) {
        const bool sorting = !mnuDontSort->isChecked();
        if (sorting) rows().setSorted(false);
        playFromList(*this, path);
        if (sorting) rows().setSorted(true);
        return;
    }
    message(QStringLiteral("It has been detected the recent filename you are trying to open does not exist."),
            QStringLiteral("Please check the recent file before attempting to open it."), MsgIcon::Exclamation,
            QStringLiteral("Recent Filename Not Found"));
    recentmedia_RemoveEntry(index + 1, *this);
    if (FrmMediaLibrary* library = openLibrary(*this)) recentmedia_BuildMenu(*library);
}

void FrmMain::mnuRecentPlaylist_Click(int index)
{
    const QString path = recentEntry(QStringLiteral("RecentPlaylists"), index);
    if (!path.isEmpty() && files_FileExists(path)) {
        // A playlist that does not load leaves the rows as they were; its own box said why.
        if (!controls_ReplaceListView(rows(), path)) return;
        // Only a file of the Playlists folder is one of the box's playlists: another file of
        // the same name must not make Save write over the stored one.
        QString name = playlists::isStored(path) ? path : QStringLiteral("((Select Playlist))");
        playlist_Select(name);
        controls_RenumberItems(rows());
        writeLog(files_GetNameWithoutExtension(path) + QStringLiteral(" opened."));
        window_UncheckMenus();
        window_ResetRandomFilenames();
        playlist_FollowPlayerAfterOpen();
        files_AddToRecentDocuments(path);
        return;
    }
    message(QStringLiteral("It has been detected the recent playlist filename you are trying to open does not exist."),
            QStringLiteral("Please check the recent file before attempting to open it."), MsgIcon::Exclamation,
            QStringLiteral("Recent Playlist Filename Not Found"));
    recentplaylists_RemoveEntry(index + 1, *this);
    if (FrmMediaLibrary* library = openLibrary(*this)) recentplaylists_BuildMenu(*library);
}

void FrmMain::playlist_FollowPlayerAfterOpen()
{
    PlayNextIndex = 0;
    playNextCaptions(false);
    CurrentTrack = 1;
    mnuJumpToCurrentlyPlaying_Click();
}

void FrmMain::mnuBookmark_Click(int index)
{
    // A line gone from the file since the menu was built names nothing: the playlist stays.
    const QString path = files_ReadLine(bookmarksFile(), index);
    if (path.isEmpty()) return;
    playFromList(*this, path);
}

void FrmMain::mnuMoodOpen_Click(int index)
{
    QAction* item = mnuMoodOpen->at(index);
    if (!item) return;
    const QString name = menu_ItemName(item);
    const QString file = moods_FilePath(name);
    QStringList songs;
    if (file.isEmpty() || !files_FileExists(file) || !listfile::readLines(file, &songs)) return;
    mnuNew_Click();
    for (const QString& song : songs) {
        if (song.isEmpty()) continue;
        playlist_AddSong(QString(), QString(), QString(), song);
        vb::DoEventsThrottled();
    }
    playlist_ShowMP3Data(false);
    controls_RenumberItems(rows());
    playlist_CheckEntries();
    window_UncheckMenus();
    window_ResetRandomFilenames();
    if (QAction* opened = mnuMoodOpen->at(index)) opened->setChecked(true);
    writeLog(name + QStringLiteral(" Mood opened."));
}

void FrmMain::mnuAddSelected_Click()
{
    const QString file = bookmarksFile();
    ListViewModel& list = rows();
    for (int row = 1; row <= list.count(); ++row) {
        if (!list.isSelected(row)) continue;
        const QString path = list.subItem(row, PlaylistColumn::Filename);
        if (linefile_HasLine(file, path)) {
            message(QStringLiteral("The song/video you have selected is already in the bookmarks."),
                    QStringLiteral("This song will not be copied into the bookmarks."), MsgIcon::Information,
                    QStringLiteral("Song/Video Already In Bookmarks"));
            continue;
        }
        if (!linefile_AppendLine(file, path)) {
            message(QStringLiteral("An error occured while trying to add the song/video to the bookmarks."),
                    QStringLiteral("This function will not continue."), MsgIcon::Exclamation, QStringLiteral("Bookmarks Error"));
            break;
        }
        writeLog(path + QStringLiteral(" added to the Bookmarks list."));
    }
    window_InstallBookmarks();
}

void FrmMain::mnuClearBookmarks_Click()
{
    const MsgResult answer = msgBox(QStringLiteral("Once the bookmarks have been cleared, you will not be able to get them back again.\r\n\r\n"
                                                   "Do you wish to continue?\r\n"),
                                    MsgButtons::YesNo, MsgIcon::Exclamation, QStringLiteral("Clear Bookmarks Confirmation"));
    if (answer != MsgResult::Yes) return;
    files_DeleteFile(bookmarksFile());
    window_InstallBookmarks();
}

void FrmMain::mnuEditBookmarks_Click() { windows_ShowModal(forms().fresh<FrmEditBookmarks>(), this, true); }
