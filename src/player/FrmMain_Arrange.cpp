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

void FrmMain::mnuSortViaAcending_Click()
{
    mnuSortViaAcending->setChecked(true);
    mnuSortViaDecending->setChecked(false);
    mnuDontSort->setChecked(false);
    for (QAction* a : {mnuSortByArtist, mnuSortByTitle, mnuSortByYear, mnuSortByLength, mnuSortByFilename}) a->setEnabled(true);
    mnuShuffleThePlaylist->setEnabled(false);
    rows().setSorted(true);
    rows().setSortOrder(ListViewModel::Ascending);
    writeSortOrderKeys("1", "0", "0");
    writeLog(QStringLiteral("Sorting set to:  Ascending."));
    controls_RenumberItems(rows());
}

void FrmMain::mnuSortViaDecending_Click()
{
    mnuSortViaAcending->setChecked(false);
    mnuSortViaDecending->setChecked(true);
    mnuDontSort->setChecked(false);
    for (QAction* a : {mnuSortByArtist, mnuSortByTitle, mnuSortByYear, mnuSortByLength, mnuSortByFilename}) a->setEnabled(true);
    mnuShuffleThePlaylist->setEnabled(false);
    rows().setSorted(true);
    rows().setSortOrder(ListViewModel::Descending);
    writeSortOrderKeys("0", "1", "0");
    writeLog(QStringLiteral("Sorting set to:  Descending."));
    controls_RenumberItems(rows());
}

void FrmMain::mnuDontSort_Click()
{
    mnuSortViaAcending->setChecked(false);
    mnuSortViaDecending->setChecked(false);
    mnuDontSort->setChecked(true);
    for (QAction* a : {mnuSortByArtist, mnuSortByTitle, mnuSortByYear, mnuSortByLength, mnuSortByFilename}) a->setEnabled(false);
    mnuShuffleThePlaylist->setEnabled(true);
    rows().setSorted(false);
    writeSortOrderKeys("0", "0", "1");
}

// The lock's check mark and its setting; what the lock disables comes with the lock command.
void FrmMain::mnuLockPlaylist_Click()
{
    const bool lock = !mnuLockPlaylist->isChecked();
    mnuLockPlaylist->setChecked(lock);
    settings_WriteValue(QStringLiteral("Settings"), QStringLiteral("LockPlaylist"), lock ? QStringLiteral("1") : QStringLiteral("0"));
    lblOptions->setEnabled(!lock);
}

void FrmMain::mnuClear_Click() { EntryBuffer = QList<QStringList>{QStringList()}; }
