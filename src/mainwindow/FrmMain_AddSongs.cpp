// Adding songs to the playlist: files chosen in the file dialog, a folder and the folders
// below it, and the Add Location dialog.
#include "mainwindow/FrmMain.h"

#include "common/FrmConsole.h"
#include "common/ListView.h"
#include "common/MenuArray.h"
#include "common/modAddFiles.h"
#include "common/modControls.h"
#include "common/modFiles.h"
#include "common/modFolders.h"
#include "common/modRecent.h"
#include "common/modSettings.h"
#include "common/modWindows.h"
#include "library/FrmMediaLibrary.h"
#include "mainwindow/FrmMessage.h"
#include "platform/UiServices.h"
#include "player/PlaylistBusy.h"
#include "playlisttools/FrmAddLocation.h"
#include "startup/Forms.h"

#include <QAction>
#include <exception>

using namespace veltra;

namespace {

// Above this many rows, reading every tag is asked first.
constexpr int kAskAboveRows = 200;

QString readingFrom(const QString& folder) { return QStringLiteral("Reading from:  ") + folder; }

// Sorting is held off while rows arrive and comes back however the adding ends.
class SortingHeld {
public:
    SortingHeld(FrmMain& main) : m_list(main.rows()), m_held(!main.mnuDontSort->isChecked())
    {
        if (m_held) m_list.setSorted(false);
    }
    ~SortingHeld()
    {
        if (m_held) m_list.setSorted(true);
    }
    SortingHeld(const SortingHeld&) = delete;
    SortingHeld& operator=(const SortingHeld&) = delete;

private:
    ListViewModel& m_list;
    bool m_held;
};

} // namespace

void FrmMain::mnuAddFiles_Click()
{
    const QStringList paths = addfiles::choose(QStringLiteral("Add Files To Playlist..."));
    if (paths.isEmpty()) return;

    // The log lines go out together, also for the rows added before a failure.
    QStringList lines;
    try {
        const SortingHeld sorting(*this);
        const PlaylistBusy busy(*this, QStringLiteral("Adding entries to the playlist, please wait..."));
        for (const QString& path : paths) {
            playlist_AddSong(QString(), QString(), QString(), path);
            lines.append(path + QStringLiteral(" added to playlist."));
            if (mnuTagsShowTagsAsFilesAreAdded->isChecked()) playlist_UpdateItem(rows().count(), false);
        }
        forms().get<FrmConsole>().window_WriteLogLines(lines);
        settings_WriteValue(QStringLiteral("Settings"), QStringLiteral("LastDirectoryUsed"), files_GetDirectory(paths.first()));
        // One file is one the user may want again; several chosen at once are not.
        if (paths.size() == 1) recentmedia_AddFile(paths.first(), *this);
        if (mnuOpenMediaLibrary->isChecked() && forms().isLoaded<FrmMediaLibrary>())
            recentmedia_BuildMenu(forms().get<FrmMediaLibrary>());
    } catch (const std::exception&) {
        forms().get<FrmConsole>().window_WriteLogLines(lines);
        msgBox(QStringLiteral("An error occured while trying to add the file(s).\r\n\r\nThis function will not continue.\r\n"),
               MsgButtons::OK, MsgIcon::Exclamation, QStringLiteral("Add Files Error"));
        return;
    }
    controls_RenumberItems(rows());
    playlist_CheckEntries();
}

void FrmMain::mnuAddDirectory_Click()
{
    const QString folder = directory_Browse(
        this, directory_StartFolder(settings_ReadValue(QStringLiteral("Settings"), QStringLiteral("DirectoryPath"), QStringLiteral("C:\\"))));
    if (folder.isEmpty()) return;
    std::optional<WaitWindow> wait(std::in_place, readingFrom(folder), QStringLiteral("Adding media files to playlist, please wait..."));
    settings_WriteValue(QStringLiteral("Settings"), QStringLiteral("DirectoryPath"), folder);
    playlist_AddFolderTree(folder, wait);
}

void FrmMain::playlist_AddFolderTree(const QString& folder, std::optional<WaitWindow>& wait)
{
    std::optional<PaintingFrozen> frozen(std::in_place, this);
    const int firstAdded = rows().count() + 1;
    auto addFolder = [this](const QString& f) {
        for (const char* type : {"mp3", "mp2", "mp1"}) playlist_AddDirectory(f, QString::fromLatin1(type));
    };
    addFolder(folder);
    if (settings_ReadFlag(QStringLiteral("Settings"), QStringLiteral("DoRecursiveDirectoryScan"), QStringLiteral("1")))
        for (const QString& below : directory_GetSubDirectories(folder, 1))
            if (!below.isEmpty()) addFolder(below);

    auto reading = [](bool namesOnly) {
        return namesOnly ? QStringLiteral("Reading each songs filename, please wait...")
                         : QStringLiteral("Reading each songs ID3 Tag, please wait...");
    };
    bool namesOnly = false;
    // The count is of every row, those there before included.
    if (rows().count() > kAskAboveRows) {
        // The question stands over a window that paints itself, so nothing stale shows
        // around it; the wait window comes back, painted, before the painting is held again.
        wait.reset();
        frozen.reset();
        namesOnly = msgBox(QStringLiteral("Because of number of music files you have added to the playlist, creating a full "
                                          "ID3 based playlist might take a few moments.\r\n\r\n"
                                          "Would you like to use the filenames instead for the music?\r\n"),
                           MsgButtons::YesNo, MsgIcon::Exclamation, QStringLiteral("Use Simple Filenames Confirmation"))
            == MsgResult::Yes;
        wait.emplace(readingFrom(folder), reading(namesOnly));
        repaint();   // where the question stood, before the painting is held
        frozen.emplace(this);
    } else if (wait) {
        wait->setText(reading(false));
    }
    // File names only is asked for the files added: the rows there before keep what they show.
    playlist_ShowMP3Data(namesOnly, namesOnly ? firstAdded : 1);
    controls_RenumberItems(rows());
    frozen.reset();
    // The scan's report is not to be hidden behind the wait window.
    wait.reset();
    playlist_CheckEntries();
}

void FrmMain::mnuAddLocation_Click()
{
    FrmAddLocation& dialog = forms().fresh<FrmAddLocation>();
    dialog.LocationTarget = FrmAddLocation::MainPlaylist;
    windows_ShowModal(dialog, this, true);
}
