// The main window's timers: the player's state and the playlist's state mirrored into the
// window, and the menu help in the status bar.
#include "mainwindow/FrmMain.h"

#include "common/ListView.h"
#include "common/PlaylistRow.h"
#include "common/modControls.h"
#include "common/modSettings.h"
#include "common/modTray.h"
#include "common/modVB.h"
#include "controls/ctlQX_wScrollbar.h"
#include "mainwindow/FrmMenus.h"
#include "media/modMedia.h"
#include "platform/MediaPlayerControl.h"
#include "platform/ProgramFolder.h"
#include "player/FrmVideo.h"
#include "startup/Forms.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QSlider>
#include <QTimer>
#include <QToolBar>
#include <cmath>

using veltra::MediaPlayerControl;

namespace {
// A whole number of seconds as a 32-bit conversion makes it (halves to the even neighbour).
qint32 wholeSeconds(double seconds)
{
    if (!std::isfinite(seconds)) return 0;
    return qint32(std::clamp(vb::Round(seconds), -2147483648.0, 2147483647.0));
}

void setEnabledIfDifferent(QAction* a, bool on)
{
    if (on) controls_EnableMenu(a);
    else controls_DisableMenu(a);
}
} // namespace

// ---- position and status ----------------------------------------------------------------------

// Enabling of the commands that need a song playing (p) or playing or paused (s).
void FrmMain::enableSongCommands(bool p, bool s)
{
    FrmMenus& menus = forms().get<FrmMenus>();
    setEnabledIfDifferent(mnuJumpToTime, p);
    setEnabledIfDifferent(mnuJumpToCurrentlyPlaying, s);
    setEnabledIfDifferent(menus.mnuSelectPlaying, s);
    setEnabledIfDifferent(mnuRewind, p);
    setEnabledIfDifferent(mnuFastForward, p);
    setEnabledIfDifferent(mnuPause, s);
    setEnabledIfDifferent(mnuStop, s);
    setEnabledIfDifferent(mnuPlayNext, s);
    setEnabledIfDifferent(menus.mnuPlayNext, s);
    setEnabledIfDifferent(menus.mnuRewind, p);
    setEnabledIfDifferent(menus.mnuFastForward, p);
    setEnabledIfDifferent(menus.mnuPause, s);
    setEnabledIfDifferent(menus.mnuStop, s);
    const std::pair<const char*, bool> buttons[] = {{"Rewind", p}, {"Pause", s}, {"Stop", s}, {"FastForward", p}};
    for (const auto& [key, on] : buttons)
        if (QAction* b = toolbarButton(QString::fromLatin1(key))) b->setEnabled(on);
}

void FrmMain::tmrPosition_Timer()
{
    MediaPlayerControl& player = wmpPlayer();
    FrmVideo& video = forms().get<FrmVideo>();
    ListViewModel& list = rows();

    MediaPlayerControl::State state = player.PlayState();
    enum { Playing, Paused, Stopped } branch = Stopped;
    if (state == MediaPlayerControl::State::Playing) branch = Playing;
    else if ((state = player.PlayState()) == MediaPlayerControl::State::Paused) branch = Paused;

    auto mirrorSliders = [&] {
        // Value first, then Max, in this order.
        sldPosition->setValue(wholeSeconds(player.CurrentPosition()));
        sldPosition->setMaximum(wholeSeconds(player.Duration()));
        video.qxsPosition->setValue(wholeSeconds(player.CurrentPosition()));
        video.qxsPosition->setMax(wholeSeconds(player.Duration()));
    };
    auto timePanel = [&] {
        if (mnuStatusBarShowTimeElapsed->isChecked())
            setStatusPanelText(3, QStringLiteral("Elapsed:  ") + media_FormatTime(wholeSeconds(player.CurrentPosition())));
        else if (mnuStatusBarShowTimeRemaining->isChecked())
            setStatusPanelText(3, QStringLiteral("Remaining:  ") + media_FormatTime(wholeSeconds(player.Duration() - player.CurrentPosition())));
    };
    const bool traySupport = vb::Val(settings_ReadValue(QStringLiteral("Settings"), QStringLiteral("UseSystemTraySupport"), QStringLiteral("1"))) == 1;
    auto songTexts = [&](const char* word) {
        const QString number = list.text(CurrentTrack);
        const QString song = NowPlayingInfo[0] + QStringLiteral(" - ") + NowPlayingInfo[1];
        if (!StatusBarBusy) setStatusPanelText(1, QStringLiteral("Status:  ") + QString::fromLatin1(word) + QStringLiteral("... ") + number + QStringLiteral(".  ") + song);
        if (traySupport)
            tray_SetTip(programfolder::title() + QStringLiteral(":  ") + QString::fromLatin1(word) + QStringLiteral("\r\n") + number + QStringLiteral(". ") + song);
    };

    switch (branch) {
    case Playing: {
        if (!sldPosition->isEnabled()) {
            sldPosition->setEnabled(true);
            video.qxsPosition->setEnabled(true);
        }
        // Introduction mode: each song plays up to the rate, then the next one starts. The
        // song moves on once the rate is reached (a tick may come late), and only once.
        if (m_sequence.modes().playing == veltra::PlayingMode::Introduction) {
            const qint32 rate = qint16(vb::CInt(vb::Val(settings_ReadValue(QStringLiteral("Settings"), QStringLiteral("IntroductionRate"), QStringLiteral("30")))));
            const qint32 position = wholeSeconds(player.CurrentPosition());
            const QString song = player.FileName();
            if (position < rate) {
                m_introMovedOn.clear();
            } else if (m_introMovedOn != song) {
                m_introMovedOn = song;
                player_NextTrack();
            }
        } else {
            m_introMovedOn.clear();
        }
        mirrorSliders();
        PlayerState = Playback::Playing;
        enableSongCommands(true, true);
        timePanel();
        songTexts("Playing");
        break;
    }
    case Paused:
        if (sldPosition->isEnabled()) {
            mirrorSliders();
            sldPosition->setEnabled(false);
            video.qxsPosition->setEnabled(false);
        }
        enableSongCommands(false, true);
        PlayerState = Playback::Paused;
        timePanel();
        songTexts("Paused");
        break;
    case Stopped:
        if (sldPosition->isEnabled()) {
            sldPosition->setValue(0);
            sldPosition->setMaximum(100);
            video.qxsPosition->setValue(0);
            video.qxsPosition->setMax(100);
            sldPosition->setEnabled(false);
            video.qxsPosition->setEnabled(false);
        }
        enableSongCommands(false, false);
        PlayerState = Playback::Stopped;
        if (!StatusBarBusy) setStatusPanelText(1, QStringLiteral("Status:  Stopped"));
        if (mnuStatusBarShowTimeElapsed->isChecked()) setStatusPanelText(3, QStringLiteral("Elapsed:  None"));
        else if (mnuStatusBarShowTimeRemaining->isChecked()) setStatusPanelText(3, QStringLiteral("Remaining:  None"));
        if (traySupport) tray_SetTip(programfolder::title() + QStringLiteral(":  Stopped"));
        break;
    }
}

// ---- the window's state from the playlist ----------------------------------------------------

void FrmMain::tmrWindowUpdate_Timer()
{
    ListViewModel& list = rows();
    FrmMenus& menus = forms().get<FrmMenus>();
    const int count = list.count();

    AppIsActive = QApplication::activeWindow() != nullptr;

    const int selected = controls_GetSelectedCount(list);
    const QString tip = selected == 1 || count == 0 ? QString() : QStringLiteral("Songs Selected:  ") + QString::number(selected);
    if (lstvPlaylist->toolTip() != tip) lstvPlaylist->setToolTip(tip);

    const bool bufferEmpty = EntryBuffer.size() - 1 < 1;
    mnuPaste->setEnabled(!bufferEmpty);
    mnuClear->setEnabled(!bufferEmpty);

    // Rename and delete need a chosen playlist; delete-all needs any playlist.
    auto playlistCommands = [this] {
        if (cmbPlaylists->count() == 1) {
            mnuRenameCurrentPlaylist->setEnabled(false);
            mnuDeleteCurrentPlaylist->setEnabled(false);
            mnuDeleteAllPlaylists->setEnabled(false);
        } else {
            const bool chosen = cmbPlaylists->currentIndex() != 0;
            mnuRenameCurrentPlaylist->setEnabled(chosen);
            mnuDeleteCurrentPlaylist->setEnabled(chosen);
            mnuDeleteAllPlaylists->setEnabled(true);
        }
    };

    if (count == 0) {
        mnuSelectAll->setEnabled(false);
        mnuCopy->setEnabled(false);
        mnuCut->setEnabled(false);
        menus.mnuPlaySong->setChecked(true);
        for (QAction* a : {menus.mnuPlayOnce, menus.mnuSkip, menus.mnuSkipOnce, menus.mnuRemove}) a->setChecked(false);
        setStatusPanelText(2, QStringLiteral("Songs:  None"));
        window_Controls(false);
        playlistCommands();
        if (mnuLockPlaylist->isChecked()) mnuLockPlaylist_Click();
        for (QAction* a : {mnuGeneratePlaylist, mnuUseRandomSongsForPlaylist, mnuLockPlaylist, mnuSelectedMoveUp, mnuSelectedMoveDown})
            a->setEnabled(false);
    } else {
        mnuLockPlaylist->setEnabled(true);
        mnuGeneratePlaylist->setEnabled(true);
        mnuUseRandomSongsForPlaylist->setEnabled(true);
        const int current = list.selectedItem();
        if (current >= 1) {
            const RowStatus status = playlist_RowStatus(list, current);
            const std::pair<QAction*, RowStatus> marks[] = {
                {menus.mnuPlaySong, RowStatus::Play}, {menus.mnuPlayOnce, RowStatus::PlayOnce}, {menus.mnuSkip, RowStatus::Skip},
                {menus.mnuSkipOnce, RowStatus::SkipOnce}, {menus.mnuRemove, RowStatus::Remove},
            };
            if (status != RowStatus::Other)
                for (const auto& [a, s] : marks) a->setChecked(status == s);
        }
        if (count == 1) {
            mnuSelectedMoveUp->setEnabled(false);
            mnuSelectedMoveDown->setEnabled(false);
        } else if (current >= 1) {
            mnuSelectedMoveUp->setEnabled(current != 1);
            mnuSelectedMoveDown->setEnabled(current != count);
        }
        setStatusPanelText(2, QStringLiteral("Songs:  ") + QString::number(count));
        if (!mnuLockPlaylist->isChecked()) {
            window_Controls(true);
            mnuSelectAll->setEnabled(true);
            mnuCopy->setEnabled(true);
            mnuCut->setEnabled(true);
            playlistCommands();
        }
    }

    // The list starts just under the bands; a band that changed height moves it.
    if (mnuShowToolbar->isChecked()) {
        const double bands = vb::PixelsToTwips(cbToolbar->height()) + vb::PixelsToTwips(cbControls->height());
        if (bands != vb::PixelsToTwips(lstvPlaylist->y())) {
            lstvPlaylist->move(lstvPlaylist->x(), vb::TwipsToPixels(bands));
            Form_Resize();
        }
    }
}

// ---- menu help ---------------------------------------------------------------------------------------

namespace {
struct MenuHelp {
    int menu;
    int item;
    const char* text;
};

// By position in the menu bar's drop-downs, separators and submenu headers counted.
const MenuHelp kMenuHelp[] = {
    {0, 0, "Create a new playlist."},
    {0, 2, "Add files to the current playlist."},
    {0, 3, "Add an existing playlist to the current playlist."},
    {0, 4, "Add a saved/selected location to the current playlist."},
    {0, 5, "Add a directory of audio files to the current playlist."},
    {0, 7, "Open an existing playlist."},
    {0, 11, "Save the currently open playlist (if saved)."},
    {0, 12, "Save the current playlist to a playlist file."},
    {0, 13, "Set the current playlist as the default playlist used."},
    {0, 15, "Print the current playlist to a selected printer."},
    {0, 20, "Show the preferences available in VELTRA."},
    {0, 22, "Exit VELTRA."},
    {1, 0, "Select the previous song in the playlist."},
    {1, 2, "Rewind the song by the selected seconds specified."},
    {1, 3, "Play the song selected in the playlist."},
    {1, 4, "Pause the currently playlist song."},
    {1, 5, "Stop the song currently playing."},
    {1, 6, "Select a random song from the playlist and play it."},
    {1, 7, "Fast Forward the playing song by the selected seconds specified."},
    {1, 9, "Go onto the next song in the playlist."},
    {1, 10, "Using the options selected, select the next song to play."},
    {1, 16, "Mute VELTRA."},
    {2, 0, "Lock the playlist so that no alterations can be made."},
    {2, 8, "Show the CD Player, which will allow you to play audio CD's."},
    {2, 9, "Show the Media Library, which will allow you to better organize your media files."},
    {3, 0, "Make this window stay on top of all other open windows/programs."},
    {3, 1, "Make sure VELTRA is not shown in the Task Manager (in the Applications section)."},
    {3, 7, "Switch from using the main window to using the Mini-Mode window."},
    {3, 9, "Show the toolbar (which contains all of the main buttons) on the main window."},
    {3, 10, "Show the status bar at the bottom of the main window."},
    {3, 11, "Show the headers for each section in the playlist on the main window."},
    {3, 12, "Show the filename for every song list in the playlist on the main window."},
    {3, 14, "Center the main window within the screen."},
    {4, 0, "Show all of the logs about the use of VELTRA."},
    {4, 1, "Show information about all of the media files that have been played."},
    {4, 2, "Show the media files that have specific volume settings saved for them."},
    {4, 4, "Go to the main Quillonex Forum page, where you can post comments, read news, etc."},
    {4, 5, "Go to the main Quillonex website, where you can check for updates, etc."},
    {4, 7, "Check for the lastest updates available online."},
    {4, 9, "Show information about this version of Microsoft Windows."},
    {4, 10, "Show information about this version of VELTRA."},
};

QList<QAction*> visibleEntries(const QWidget* w)
{
    QList<QAction*> out;
    for (QAction* a : w->actions())
        if (a->isVisible()) out.append(a);
    return out;
}
} // namespace

void FrmMain::window_MenuHelp(QMenu* menu, QAction* item)
{
    if (!tmrMenuText->isActive() || !menu || !item) return;
    const int menuPos = int(visibleEntries(menuBar()).indexOf(menu->menuAction()));
    // Only the drop-down's own items have help; a submenu's items report to it too.
    const int itemPos = item->isSeparator() || item->menu() ? -1 : int(visibleEntries(menu).indexOf(item));
    const char* text = nullptr;
    if (menuPos >= 0 && itemPos >= 0)
        for (const MenuHelp& h : kMenuHelp)
            if (h.menu == menuPos && h.item == itemPos) {
                text = h.text;
                break;
            }
    if (text) {
        if (!m_menuHelpShown) m_statusBeforeHelp = statusPanelText(1);
        m_menuHelpShown = true;
        setStatusPanelText(1, QString::fromLatin1(text));
        StatusBarBusy = true;
    } else {
        window_MenuClosed();
    }
}

void FrmMain::window_MenuClosed()
{
    if (!m_menuHelpShown) return;
    m_menuHelpShown = false;
    StatusBarBusy = false;
    setStatusPanelText(1, m_statusBeforeHelp);
}

void FrmMain::tmrMenuText_Timer()
{
    // A help text whose menu went away without saying so is taken back.
    if (!m_menuHelpShown) return;
    for (QAction* a : menuBar()->actions())
        if (a->menu() && a->menu()->isVisible()) return;
    window_MenuClosed();
}
