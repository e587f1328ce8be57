// Window handlers that the main-window work completes (layout, keys, dynamic menus, sort
// order); these are their least forms.
#include "player/FrmMain.h"

#include "common/ListView.h"
#include "common/modSettings.h"

#include <QAction>

void FrmMain::Form_Resize() {}
void FrmMain::window_AddShortcutTexts() {}
void FrmMain::window_InstallMoods() {}
void FrmMain::window_InstallBookmarks() {}
void FrmMain::window_UpdateMoods() {}

static void selectSortOrder(FrmMain& m, QAction* item, const char* key)
{
    for (QAction* a : {m.mnuSortViaAcending, m.mnuSortViaDecending, m.mnuDontSort}) a->setChecked(a == item);
    for (const char* k : {"SortViaAscendingOrder", "SortViaDescendingOrder", "DoNotSortTheList"})
        settings_WriteFlag(QStringLiteral("ListSorting"), QString::fromLatin1(k), qstrcmp(k, key) == 0);
}

void FrmMain::mnuSortViaAcending_Click()
{
    selectSortOrder(*this, mnuSortViaAcending, "SortViaAscendingOrder");
    rows().setSortOrder(ListViewModel::Ascending);
    rows().setSorted(true);
}

void FrmMain::mnuSortViaDecending_Click()
{
    selectSortOrder(*this, mnuSortViaDecending, "SortViaDescendingOrder");
    rows().setSortOrder(ListViewModel::Descending);
    rows().setSorted(true);
}

void FrmMain::mnuDontSort_Click()
{
    selectSortOrder(*this, mnuDontSort, "DoNotSortTheList");
    rows().setSorted(false);
}
