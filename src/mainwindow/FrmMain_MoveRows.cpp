// Reordering the playlist by hand: moving the selected row up or down and shuffling. The rows
// move whole, so the playing row and the Play Next mark stay with their songs.
#include "mainwindow/FrmMain.h"

#include "common/FrmConsole.h"
#include "common/ListViewModel.h"
#include "common/modControls.h"
#include "common/modMath.h"
#include "common/modVB.h"
#include "startup/Forms.h"

#include <QAction>

#include <numeric>


void FrmMain::moveSelectedRow(int step)
{
    if (mnuLockPlaylist->isChecked()) return;   // the window's Alt+Up and Alt+Down reach here too
    ListViewModel& list = rows();
    const QList<int> selected = list.selectedRows();
    if (selected.isEmpty()) return;
    int row = list.selectedItem();
    if (!list.isSelected(row)) row = selected.first();
    const int target = row + step;
    if (target < 1 || target > list.count()) return;

    // With one row selectable the moved row ends up selected alone.
    list.setMultiSelect(false);
    list.moveRows(QList<int>{row}, step < 0 ? target : target + 1);
    playlist_UpdatePlaylist(songInPlayer() && !m_sequence.position(CurrentTrack).gone ? CurrentTrack : 0);
    controls_SelectItem(list, target);
    controls_RenumberItems(list);
    list.setMultiSelect(true);
}

void FrmMain::mnuSelectedMoveUp_Click() { moveSelectedRow(-1); }
void FrmMain::mnuSelectedMoveDown_Click() { moveSelectedRow(1); }

void FrmMain::mnuShuffleThePlaylist_Click()
{
    if (mnuLockPlaylist->isChecked()) return;
    ListViewModel& list = rows();
    const int n = list.count();
    // Passes of swaps with random partners, worked out on the positions and then applied at
    // once. The generator was seeded from the clock when the program started.
    std::vector<int> order(static_cast<size_t>(n));
    std::iota(order.begin(), order.end(), 0);
    const int passes = math_GetRandomNumber(10, 0, false, 0);
    for (int pass = 0; pass < passes && n > 0; ++pass) {
        for (int i = 1; i <= n; ++i) {
            const int j = math_GetRandomNumber(n, 0, false, 0);
            if (j != i) std::swap(order[size_t(i - 1)], order[size_t(j - 1)]);
        }
    }
    list.reorder(order);   // the "No." texts go with their rows
    if (songInPlayer()) selectPlayingRow();
    forms().get<FrmConsole>().window_WriteLog(QStringLiteral("Playlist was shuffled at ") + vb::TimeOfDay() + u'.');
}
