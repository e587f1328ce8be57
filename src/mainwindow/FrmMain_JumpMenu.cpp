// The Jump submenu of the Playback menu: steps of 5 or 10 rows, the first, middle and last
// rows, and the three jump dialogs.
#include "common/ListViewModel.h"
#include "common/PlaylistRow.h"
#include "common/modControls.h"
#include "common/modWindows.h"
#include "platform/MediaPlayerControl.h"
#include "mainwindow/FrmMain.h"
#include "playlisttools/FrmJump.h"
#include "playlisttools/FrmJumpToNumber.h"
#include "playlisttools/FrmJumpToTime.h"
#include "startup/Forms.h"

namespace {
// Plays `row` from a jump: a paused song waiting to be resumed is dropped first, since Play
// would resume it instead. `load` puts the row's file into the player and makes the row
// current before the play rule runs, as the steps do.
void playJumpTarget(FrmMain& main, int row, bool load)
{
    if (row < 1) return;
    if (main.ResumePending) main.player_Stop();
    ListViewModel& list = main.rows();
    if (load) {
        main.wmpPlayer().setFileName(list.subItem(row, PlaylistColumn::Filename));
        main.CurrentTrack = row;
    }
    controls_SelectItem(list, row);
    main.player_Play(1);
}
} // namespace

void FrmMain::mnuJumpToTime_Click()
{
    if (PlayerStateNow() == Playback::Stopped) return;
    windows_ShowModal(forms().fresh<FrmJumpToTime>(), this, true);
}

void FrmMain::mnuJumpToMedia_Click()
{
    if (rows().count() == 0) return;
    // A dialog already loaded, filled and searched before it is shown, is shown as it is.
    FrmJump& dialog = forms().get<FrmJump>();
    if (dialog.isVisible()) return;
    windows_ShowModal(dialog, this, true);
}

void FrmMain::mnuJumpToTrackNumber_Click()
{
    if (rows().count() == 0) return;
    windows_ShowModal(forms().fresh<FrmJumpToNumber>(), this, true);
}

void FrmMain::mnuJumpForward10Tracks_Click() { playJumpTarget(*this, veltra::jumpRow(CurrentTrack, rows().count(), 10), true); }
void FrmMain::mnuJumpForward5Tracks_Click() { playJumpTarget(*this, veltra::jumpRow(CurrentTrack, rows().count(), 5), true); }
void FrmMain::mnuJumpBack5Tracks_Click() { playJumpTarget(*this, veltra::jumpRow(CurrentTrack, rows().count(), -5), true); }
void FrmMain::mnuJumpBack10Tracks_Click() { playJumpTarget(*this, veltra::jumpRow(CurrentTrack, rows().count(), -10), true); }
void FrmMain::mnuJumpToFirstTrack_Click() { playJumpTarget(*this, rows().count() > 0 ? 1 : 0, false); }
void FrmMain::mnuJumpToMiddleTrack_Click() { playJumpTarget(*this, veltra::middleRow(rows().count()), false); }
void FrmMain::mnuJumpToLastTrack_Click() { playJumpTarget(*this, rows().count(), false); }
