// The CD player kept up to date while it is open: the status bar, the commands enabled by
// whether there is a disc, following the disc from track to track, the menu help, and
// seeking with the position slider.
#include "extras/FrmCDPlayer.h"

#include "common/ListView.h"
#include "common/modControls.h"
#include "common/modVB.h"
#include "media/modMedia.h"
#include "platform/modCDAudio.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QSlider>
#include <QTimer>
#include <QToolBar>

void FrmCDPlayer::tmrWindowUpdate_Timer()
{
    // 1: the commands need a disc.
    const int count = rows().count();
    const bool disc = count > 0;
    for (int index : {1, 3, 4, 5, 7, 9, 11})
        if (QAction* b = toolbarButton(index)) b->setEnabled(disc);
    for (QAction* item : {mnuPrevious, mnuPlay, mnuPause, mnuStop, mnuNext, mnuRandom, mnuEject})
        disc ? controls_EnableMenu(item) : controls_DisableMenu(item);
    setStatusPanelText(2, disc ? QStringLiteral("Tracks:  ") + QString::number(count) : QStringLiteral("Tracks:  None"));

    // 2 and 3: the status, and the disc followed while it plays or is paused.
    if (CDState == 0 || CDState == 2) {
        if (!MenuHelpShown)
            setStatusPanelText(1, (CDState == 0 ? QStringLiteral("Status:  Playing... Audio Track ") : QStringLiteral("Status:  Paused... Audio Track "))
                                      + QString::number(CurrentCDTrack));
        followDisc();
    } else {
        if (!MenuHelpShown) setStatusPanelText(1, QStringLiteral("Status:  Stopped"));
        if (mnuShowTimeElapsed->isChecked()) setStatusPanelText(4, QStringLiteral("Elapsed:  None"));
        else if (mnuShowTimeRemaining->isChecked()) setStatusPanelText(4, QStringLiteral("Remaining:  None"));
    }

    // 4: the list stays just under the bands when they change height.
    if (mnuShowToolbar->isChecked()) {
        const int bands = cbToolbar->height() + cbControls->height();
        if (lstvPlaylist->y() != bands) {
            lstvPlaylist->move(lstvPlaylist->x(), bands);
            Form_Resize();
        }
    }
}

void FrmCDPlayer::followDisc()
{
    const QString drive = cdaudio_GetCurrentTrack();
    // The disc was taken out.
    if (drive.isEmpty()) {
        mnuStop_Click();
        return;
    }
    const int track = int(vb::Val(drive));
    if (track != CurrentCDTrack) {
        playlist_UpdatePlaylist(track);
        CurrentCDTrack = track;
    }
    // The drive stopped by itself after the last track: the end of the disc.
    if (CDState == 0 && !cdaudio_IsPlaying()) {
        mnuStop_Click();
        return;
    }
    const int position = cdaudio_GetPosition();
    const int length = cdaudio_GetTrackLength(CurrentCDTrack);
    sldPosition->setMaximum(length);
    sldPosition->setValue(cdaudio_GetPosition());
    if (mnuShowTimeElapsed->isChecked())
        setStatusPanelText(4, QStringLiteral("Elapsed:  ") + media_FormatTime(position));
    else if (mnuShowTimeRemaining->isChecked())
        setStatusPanelText(4, QStringLiteral("Remaining:  ") + media_FormatTime(cdaudio_GetTrackLength(CurrentCDTrack) - cdaudio_GetPosition()));
}

// ---- menu help --------------------------------------------------------------------------------------

void FrmCDPlayer::window_MenuHelp(QMenu* menu, QAction* item)
{
    // Each command item carries its help text; separators and other entries have none.
    const QString help = menu && item && !item->isSeparator() ? item->statusTip() : QString();
    MenuHelpShown = !help.isEmpty();
    if (MenuHelpShown) setStatusPanelText(1, help);
}

void FrmCDPlayer::tmrMenuText_Timer()
{
    // A help text whose menu went away without saying so is taken back.
    if (!MenuHelpShown) return;
    for (QAction* a : menuBar()->actions())
        if (a->menu() && a->menu()->isVisible()) return;
    MenuHelpShown = false;
}

// ---- seeking ----------------------------------------------------------------------------------------

void FrmCDPlayer::sldPosition_MouseDown()
{
    cdaudio_Pause();
    tmrWindowUpdate->stop();
}

void FrmCDPlayer::sldPosition_MouseUp()
{
    // The playing or paused track is the one sought in; a stopped disc seeks in the
    // selected track, and nothing happens without one.
    const int track = CDState == 0 || CDState == 2 ? CurrentCDTrack : selectedTrack();
    if (track >= 1) {
        const QString position = vb::FormatNumber(track, QStringLiteral("0#")) + u':' + media_FormatTime(sldPosition->value()) + QStringLiteral(":00");
        cdaudio_SeekTrack(track);
        cdaudio_SeekPosition(position);
        if (cdaudio_Play()) {
            CDState = 0;
            CDPaused = false;
        }
    } else {
        sldPosition->setValue(0);
    }
    tmrWindowUpdate->start();
}
