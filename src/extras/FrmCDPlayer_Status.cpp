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

namespace {
struct MenuHelp {
    int menu;
    int item;
    const char* text;
};

// By position in the menu bar's drop-downs, separators counted.
const MenuHelp kMenuHelp[] = {
    {0, 0, "Scan the CD drives available and search for an Audio CD."},
    {0, 2, "Show the preferences available in VELTRA."},
    {0, 4, "Close this window (return to the main window)."},
    {1, 0, "Select the previous song in the playlist."},
    {1, 2, "Play the song selected in the playlist."},
    {1, 3, "Pause the currently playlist song."},
    {1, 4, "Stop the song currently playing."},
    {1, 5, "Select a random song from the playlist and play it."},
    {1, 7, "Go onto the next song in the playlist."},
    {1, 9, "Eject the Audio CD in the drive being used."},
    {2, 0, "Make this window stay on top of all other open windows/programs."},
    {2, 2, "Show the time of the song as:  Elasped."},
    {2, 3, "Show the time of the song as:  Remaining."},
    {2, 5, "Show the toolbar (which contains all of the main buttons) on the window."},
    {2, 6, "Show the status bar at the bottom of the window."},
    {2, 7, "Show the headers for each section in the playlist on the window."},
    {2, 9, "Center the CD Player within the screen."},
    {3, 0, "Show all of the logs about the use of VELTRA."},
    {3, 1, "Show information about all of the media files that have been played."},
    {3, 2, "Show the media files that have specific volume settings saved for them."},
    {3, 4, "Go to the main Quillonex Forum page, where you can post comments, read news, etc."},
    {3, 5, "Go to the main Quillonex website, where you can check for updates, etc."},
    {3, 7, "Check for the lastest updates available online."},
    {3, 9, "Show information about this version of Microsoft Windows."},
    {3, 10, "Show information about this version of VELTRA."},
};
} // namespace

void FrmCDPlayer::window_MenuHelp(QMenu* menu, QAction* item)
{
    if (!menu || !item) return;
    const int menuPos = int(menuBar()->actions().indexOf(menu->menuAction()));
    const int itemPos = item->isSeparator() ? -1 : int(menu->actions().indexOf(item));
    for (const MenuHelp& h : kMenuHelp) {
        if (h.menu == menuPos && h.item == itemPos) {
            MenuHelpShown = true;
            setStatusPanelText(1, QString::fromLatin1(h.text));
            return;
        }
    }
    MenuHelpShown = false;
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
