// What the library window browses: the source tree, loading a playlist or a mood into the
// working list, the tags, the artist, year and album lists, and the search.
#include "library/FrmMediaLibrary.h"

#include "common/FrmConsole.h"
#include "common/ListView.h"
#include "common/ListViewModel.h"
#include "common/modControls.h"
#include "common/modFiles.h"
#include "common/modListFiles.h"
#include "common/modMoodFiles.h"
#include "common/modVB.h"
#include "media/modMedia.h"
#include "platform/ProgramFolder.h"
#include "platform/TextFile.h"
#include "startup/Forms.h"

#include <QAction>
#include <QFont>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QSignalBlocker>
#include <QTreeWidget>

namespace {
constexpr int KeyRole = Qt::UserRole;       // a root's key
constexpr int FileRole = Qt::UserRole + 1;  // a playlist node's file

const QString kNowPlaying = QStringLiteral("NowPlaying");
const QString kPlaylists = QStringLiteral("Playlists");
const QString kMoods = QStringLiteral("Moods");
const QString kReading = QStringLiteral("Status:  Reading data, please wait...");
const QString kWaiting = QStringLiteral("Status:  Waiting...");
} // namespace

FrmMediaLibrary::Busy::Busy(FrmMediaLibrary& form) : m_form(form) { ++m_form.m_busy; }

FrmMediaLibrary::Busy::~Busy()
{
    if (--m_form.m_busy == 0 && m_form.m_closing) forms().unloadLater<FrmMediaLibrary>();
}

ListViewModel& FrmMediaLibrary::results() const { return lstvResults->items(); }

library::Yield FrmMediaLibrary::rowYield()
{
    // Events run between rows; a closed window ends the loop.
    return [this] {
        vb::DoEventsThrottled();
        return !m_closing;
    };
}

// ---- the source tree ------------------------------------------------------------------------------

QTreeWidgetItem* FrmMediaLibrary::node(int index) const
{
    return index >= 1 && index <= m_nodes.size() ? m_nodes[index - 1] : nullptr;
}

QString FrmMediaLibrary::parentKey(const QTreeWidgetItem* node)
{
    return node && node->parent() ? node->parent()->data(0, KeyRole).toString() : QString();
}

QTreeWidgetItem* FrmMediaLibrary::addNode(QTreeWidgetItem* parent, const QString& key, const QString& text)
{
    // Only roots carry a key: a playlist named like a mood or a root still has its own node.
    auto* n = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tvOptions);
    n->setText(0, text);
    if (!parent) n->setData(0, KeyRole, key);
    m_nodes.append(n);
    return n;
}

void FrmMediaLibrary::library_Setup()
{
    tvOptions->clear();
    m_nodes.clear();
    QTreeWidgetItem* nowPlaying = addNode(nullptr, kNowPlaying, QStringLiteral("Now Playing:"));
    QTreeWidgetItem* playlists = addNode(nullptr, kPlaylists, QStringLiteral("Playlists:"));
    QTreeWidgetItem* moods = addNode(nullptr, kMoods, QStringLiteral("Moods:"));
    addNode(nowPlaying, QString(), QStringLiteral("Import Current Playlist..."));
    addNode(nowPlaying, QString(), QStringLiteral("Export To ") + programfolder::title() + QStringLiteral("..."));
    if (!MoodList.isEmpty())
        for (const QString& name : MoodList.split(u'|')) addNode(moods, name, name);
    // listed in name order, which is also the order shown
    for (const QString& file : library::playlistFiles(programfolder::file(kPlaylists)))
        addNode(playlists, QString(), files_GetNameWithoutExtension(file))->setData(0, FileRole, file);
    for (QTreeWidgetItem* root : {nowPlaying, playlists, moods}) {
        QFont bold = root->font(0);
        bold.setBold(true);
        root->setFont(0, bold);
        root->setExpanded(true);
    }
}

void FrmMediaLibrary::tvOptions_NodeClick(QTreeWidgetItem* clicked)
{
    if (!clicked || !clicked->parent()) return;   // a root loads nothing
    window_SelectOption(parentKey(clicked));
}

void FrmMediaLibrary::tvOptions_DblClick()
{
    const QTreeWidgetItem* selected = tvOptions->currentItem();
    if (!selected) return;
    const QString text = selected->text(0);
    if (text == QLatin1String("Import Current Playlist...")) {
        if (mnuImportCurrentPlaylist->isEnabled()) mnuImportCurrentPlaylist_Click();
    } else if (text == QStringLiteral("Export To ") + programfolder::title() + QStringLiteral("...")) {
        if (mnuExportToVELTRA->isEnabled()) mnuExportToVELTRA_Click();
    }
}

void FrmMediaLibrary::window_SelectOption(const QString& key)
{
    const QTreeWidgetItem* selected = tvOptions->currentItem();
    if (!selected) return;
    Busy busy(*this);
    if (key == kPlaylists) {
        // A playlist whose file has gone still empties the library: the list reader says why.
        QString file = selected->data(0, FileRole).toString();
        if (file.isEmpty()) file = programfolder::file(kPlaylists + u'/' + selected->text(0) + QStringLiteral(".spp"));
        mnuNew_Click();
        setStatus(kReading);
        controls_ClearListView(*lstvFilenames);
        library::loadPlaylist(*lstvFilenames, file);
        filenames_ShowID3Data();
        library_Update();
        setStatus(kWaiting);
    } else if (key == kMoods) {
        // A mood without songs leaves the library as it was.
        const QString file = moods_FilePath(selected->text(0));
        if (!files_FileExists(file)) return;
        setStatus(kReading);
        mnuNew_Click();
        mood_Open(file);
        filenames_ShowID3Data();
        library_Update();
        setStatus(kWaiting);
    }
}

void FrmMediaLibrary::txtOptionSearch_Change()
{
    const QString typed = txtOptionSearch->text().toLower();
    if (typed.isEmpty()) return;
    for (const char* root : {"now playing:", "playlists:", "moods:"})
        if (typed == QLatin1String(root)) return;
    // the first node by index: moods come before playlists of the same name
    for (QTreeWidgetItem* n : std::as_const(m_nodes)) {
        if (n->text(0).toLower() != typed) continue;
        tvOptions->setCurrentItem(n);
        window_SelectOption(parentKey(n));
        return;
    }
}

// ---- the working list ---------------------------------------------------------------------------------

void FrmMediaLibrary::mnuNew_Click()
{
    LibraryReady = false;
    {
        const QSignalBlocker a(lstArtist), y(lstYear), l(lstAlbum);
        lstArtist->clear();
        lstYear->clear();
        lstAlbum->clear();
    }
    controls_ClearListView(*lstvFilenames);
    controls_ClearListView(results());
    ++m_searchSerial;   // a search still running belongs to the library just emptied
    LibraryReady = true;
}

void FrmMediaLibrary::mood_Open(const QString& file)
{
    Busy busy(*this);
    QStringList lines;
    if (!listfile::readLines(file, &lines)) return;
    for (const QString& line : std::as_const(lines)) {
        vb::DoEventsThrottled();
        if (m_closing) return;
        filenames_Add(line);
    }
}

bool FrmMediaLibrary::mood_Save(const QString& file)
{
    QStringList paths;
    paths.reserve(lstvFilenames->count());
    for (int row = 1; row <= lstvFilenames->count(); ++row) paths.append(lstvFilenames->cell(row, library::ColPath));
    return moods_WriteSongs(file, paths);
}

void FrmMediaLibrary::filenames_Add(const QString& path) { lstvFilenames->add(library::rowForFile(path)); }

void FrmMediaLibrary::filenames_AddDirectory(const QString& directory, const QString& extension)
{
    QStringList logLines;
    for (const QString& path : library::directoryFiles(directory, extension)) {
        filenames_Add(path);
        logLines.append(path + QStringLiteral(" added to Media Library."));
    }
    if (!logLines.isEmpty()) forms().get<FrmConsole>().window_WriteLogLines(logLines);
}

void FrmMediaLibrary::filenames_ShowID3Data()
{
    Busy busy(*this);
    library::showID3Data(*lstvFilenames, mnuUseID3v2Tags->isChecked(), rowYield());
}

// ---- the index ------------------------------------------------------------------------------------------

void FrmMediaLibrary::library_Update()
{
    Busy busy(*this);
    library::Index index;
    for (;;) {
        for (QListWidget* list : {lstArtist, lstYear, lstAlbum}) {
            list->setEnabled(false);
            const QSignalBlocker quiet(list);
            list->clear();
        }
        LibraryReady = false;
        // Rows removed while events ran (the library emptied, another source loaded) make
        // what was gathered stale: it starts again on what the list holds now.
        const quint64 removals = m_listRemovals;
        const bool whole = library::buildIndex(*lstvFilenames, &index, [this, removals] {
            vb::DoEventsThrottled();
            return !m_closing && m_listRemovals == removals;
        });
        if (whole || m_closing) break;
    }
    showIndex(index);
    for (QListWidget* list : {lstArtist, lstYear, lstAlbum}) list->setEnabled(true);
    LibraryReady = true;
}

void FrmMediaLibrary::showIndex(const library::Index& index)
{
    const std::pair<QListWidget*, const QStringList*> lists[] = {
        {lstArtist, &index.artists}, {lstYear, &index.years}, {lstAlbum, &index.albums}};
    for (const auto& [list, values] : lists) {
        const QSignalBlocker quiet(list);
        list->clear();
        list->addItems(*values);
    }
}

void FrmMediaLibrary::selectEntry(QListWidget* list, int row)
{
    const QSignalBlocker quiet(list);
    list->setCurrentRow(row);
}

void FrmMediaLibrary::clearOtherSelections(QListWidget* keep)
{
    for (QListWidget* list : {lstArtist, lstYear, lstAlbum}) {
        if (list == keep) continue;
        const QSignalBlocker quiet(list);
        list->setCurrentRow(-1);
        list->clearSelection();
    }
}

void FrmMediaLibrary::indexList_Click(QListWidget* list, int column)
{
    const QListWidgetItem* entry = list->currentItem();
    if (entry) results_Find(entry->text(), column);
}

void FrmMediaLibrary::lstArtist_Click() { indexList_Click(lstArtist, library::ColArtist); }
void FrmMediaLibrary::lstYear_Click() { indexList_Click(lstYear, library::ColYear); }
void FrmMediaLibrary::lstAlbum_Click() { indexList_Click(lstAlbum, library::ColAlbum); }
void FrmMediaLibrary::lstArtist_GotFocus() { clearOtherSelections(lstArtist); }
void FrmMediaLibrary::lstYear_GotFocus() { clearOtherSelections(lstYear); }
void FrmMediaLibrary::lstAlbum_GotFocus() { clearOtherSelections(lstAlbum); }

// ---- searching ----------------------------------------------------------------------------------------------

void FrmMediaLibrary::results_Add(const QString& artist, const QString& title, const QString& year, const QString& length,
                                  const QString& path)
{
    results().add({artist, title, year, length, path});
}

void FrmMediaLibrary::results_Find(const QString& value, int column)
{
    if (!LibraryReady) return;   // the index is being rebuilt: the request is dropped
    Busy busy(*this);
    const quint64 mine = ++m_searchSerial;
    controls_ClearListView(results());
    // A newer search, or an emptied library, ends this one: its remaining matches would
    // only be appended to results that are no longer its own.
    library::findResults(
        *lstvFilenames, value, column,
        [this, mine] {
            vb::DoEventsThrottled();
            return !m_closing && m_searchSerial == mine;
        },
        [this](const QStringList& row) { results_Add(row[0], row[1], row[2], row[3], row[4]); });
}

void FrmMediaLibrary::txtSearch_Change()
{
    const QString typed = txtSearch->text();
    const std::tuple<QListWidget*, int> lists[] = {
        {lstArtist, library::ColArtist}, {lstYear, library::ColYear}, {lstAlbum, library::ColAlbum}};
    for (const auto& [list, column] : lists) {
        const int found = controls_ListFindExact(list, typed);
        if (found >= 0) {
            selectEntry(list, found);
            results_Find(list->item(found)->text(), column);
            return;
        }
        selectEntry(list, -1);
        const QSignalBlocker quiet(list);
        list->clearSelection();
    }
}

bool FrmMediaLibrary::window_SavePlaylist(const QString& file, bool replace)
{
    setStatus(QStringLiteral("Status:  Saving playlist..."));
    const QString records = library::playlistRecords(results());
    if (!(replace ? textfile::writeAtomic(file, records) : textfile::append(file, records))) return false;
    setStatus(kWaiting);
    return true;
}

// ---- the results' pop-up menu ----------------------------------------------------------------------------

void FrmMediaLibrary::popupSelected(const QPoint& globalPos) { mnuSelected->popup(globalPos); }

bool FrmMediaLibrary::lstvResults_KeyDown(int keyCode, int)
{
    if (keyCode != 93) return false;
    if (results().count() >= 1) popupSelected(picClient->mapToGlobal(lstvResults->geometry().topLeft()));
    return true;
}

void FrmMediaLibrary::lstvResults_MouseDown(int button, int, const QPoint& viewportPos)
{
    if (button != 2 || results().count() == 0) return;
    popupSelected(lstvResults->viewport()->mapToGlobal(viewportPos));
}
