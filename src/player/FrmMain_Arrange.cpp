// Commands of the Arrange menu: the sort order, the playlist lock and the entry buffer.
#include "player/FrmMain.h"

#include "common/FrmConsole.h"
#include "common/ListView.h"
#include "common/modControls.h"
#include "common/modSettings.h"
#include "startup/Forms.h"

#include <QAction>
#include <QLabel>

namespace {
void writeLog(const QString& line) { forms().get<FrmConsole>().window_WriteLog(line); }

void writeSortOrderKeys(const char* ascending, const char* descending, const char* none)
{
    const QString section = QStringLiteral("ListSorting");
    settings_WriteValue(section, QStringLiteral("SortViaAscendingOrder"), QString::fromLatin1(ascending));
    settings_WriteValue(section, QStringLiteral("SortViaDescendingOrder"), QString::fromLatin1(descending));
    settings_WriteValue(section, QStringLiteral("DoNotSortTheList"), QString::fromLatin1(none));
}
} // namespace

// One of the three sort orders: its check mark, the three keys, and the rows sorted or left.
void FrmMain::selectSortOrder(QAction* chosen)
{
    const bool sorted = chosen != mnuDontSort;
    for (QAction* a : {mnuSortViaAcending, mnuSortViaDecending, mnuDontSort}) a->setChecked(a == chosen);
    for (QAction* a : {mnuSortByArtist, mnuSortByTitle, mnuSortByYear, mnuSortByLength, mnuSortByFilename}) a->setEnabled(sorted);
    mnuShuffleThePlaylist->setEnabled(!sorted);
    if (sorted) rows().setSortOrder(chosen == mnuSortViaAcending ? ListViewModel::Ascending : ListViewModel::Descending);
    rows().setSorted(sorted);
    writeSortOrderKeys(chosen == mnuSortViaAcending ? "1" : "0", chosen == mnuSortViaDecending ? "1" : "0", sorted ? "0" : "1");
    if (!sorted) return;
    writeLog(chosen == mnuSortViaAcending ? QStringLiteral("Sorting set to:  Ascending.") : QStringLiteral("Sorting set to:  Descending."));
    controls_RenumberItems(rows());
}

void FrmMain::mnuSortViaAcending_Click() { selectSortOrder(mnuSortViaAcending); }
void FrmMain::mnuSortViaDecending_Click() { selectSortOrder(mnuSortViaDecending); }
void FrmMain::mnuDontSort_Click() { selectSortOrder(mnuDontSort); }

// The lock's check mark and its setting; what the lock disables comes with the lock command.
void FrmMain::mnuLockPlaylist_Click()
{
    const bool lock = !mnuLockPlaylist->isChecked();
    mnuLockPlaylist->setChecked(lock);
    settings_WriteValue(QStringLiteral("Settings"), QStringLiteral("LockPlaylist"), lock ? QStringLiteral("1") : QStringLiteral("0"));
    lblOptions->setEnabled(!lock);
}

void FrmMain::mnuClear_Click() { EntryBuffer = QList<QStringList>{QStringList()}; }
