// Closing the main window (to the tray), leaving the program with its state saved, and the
// tray icon's recovery when a notification area appears.
#include "mainwindow/FrmMain.h"

#include "common/ListView.h"
#include "common/PlaylistRow.h"
#include "common/modFiles.h"
#include "common/modListFiles.h"
#include "common/modSettings.h"
#include "common/modTray.h"
#include "common/modVB.h"
#include "common/modWindows.h"
#include "extras/FrmCDPlayer.h"
#include "extras/FrmMini.h"
#include "library/FrmLyrics.h"
#include "library/FrmMediaLibrary.h"
#include "mainwindow/FrmMenus.h"
#include "platform/ProgramFolder.h"
#include "platform/UiServices.h"
#include "platform/WindowPlace.h"
#include "player/FrmVideo.h"
#include "startup/Forms.h"
#include "startup/FrmExit.h"
#include "startup/modMain.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QSlider>
#include <QStyle>
#include <QSystemTrayIcon>
#include <QTimer>

#include <cerrno>

using namespace veltra;

namespace {
bool traySupport()
{
    return settings_ReadFlag(QStringLiteral("Settings"), QStringLiteral("UseSystemTraySupport"), QStringLiteral("1"));
}

// Hiding to the tray needs a notification area to come back from.
bool trayReachable()
{
    return tray::availability() == tray::Availability::Available && tray_Icon();
}
} // namespace

bool FrmMain::Form_QueryUnload(int unloadMode)
{
    switch (unloadMode) {
    case FormControlMenu:
        if (traySupport()) {
            window_MinimizeToTray();
        } else {
            IsExiting = true;
            mnuExit_Click();
        }
        return true;
    case AppWindows:
        IsExiting = true;
        window_SaveSettingsOnClose();
        startup::quit(0);
        return false;
    case FormTaskManager:
        IsExiting = true;
        mnuExit_Click();
        return true;
    default:
        return false;
    }
}

void FrmMain::closeEvent(QCloseEvent* event)
{
    if (IsExiting || !event->spontaneous()) {
        event->accept();
        return;
    }
    if (Form_QueryUnload(FormControlMenu)) event->ignore();
}

void FrmMain::window_MinimizeToTray()
{
    WasMaximized = windowplace::keptState(this).testFlag(Qt::WindowMaximized);
    // Without a notification area the window is only minimised, so it can always be reached.
    const bool toTray = trayReachable();
    // Hidden, and minimised for the program alone: a minimise the window system heard of would
    // bring the window back minimised from the tray's next Open.
    const auto putAway = [toTray](QWidget& window) {
        if (toTray) windowplace::hideMinimised(&window);
        else windowplace::minimise(&window);
    };
    if (mnuOpenMediaLibrary->isChecked() && forms().isLoaded<FrmMediaLibrary>()) putAway(forms().get<FrmMediaLibrary>());
    if (mnuOpenCDPlayer->isChecked() && forms().isLoaded<FrmCDPlayer>()) putAway(forms().get<FrmCDPlayer>());
    putAway(*this);
    if (settings_ReadFlag(QStringLiteral("Settings"), QStringLiteral("ShowMiniModeWhenWindowIsClosed"), QStringLiteral("0"))) {
        mnuSwitchToMiniMode_Click();
    } else {
        // a window that is only minimised comes back through the task bar, keys and all
        WindowShown = !toTray;
        if (forms().isLoaded<FrmVideo>()) {
            FrmVideo& video = forms().get<FrmVideo>();
            // Only hidden: a hidden window loses a minimised mark only by being mapped, so the
            // next video, which may start after the window came back without it, would show
            // its window minimised.
            if (toTray) {
                video.hide();
            } else if (video.isVisible()) {
                windowplace::minimise(&video);
            }
        }
    }
}

void FrmMain::window_CloseAll()
{
    // The media library and the CD player close with the program, keeping their positions.
    if (forms().isLoaded<FrmMediaLibrary>()) forms().get<FrmMediaLibrary>().close();
    mnuOpenMediaLibrary->setChecked(false);
    if (mnuOpenCDPlayer->isChecked() && forms().isLoaded<FrmCDPlayer>()) {
        FrmCDPlayer& cd = forms().get<FrmCDPlayer>();
        windows_SavePosition(&cd, QStringLiteral("CDPlayer"), 2500);
        cd.window_Unload();
    }
    mnuOpenCDPlayer->setChecked(false);
}

void FrmMain::window_SaveSettingsOnClose() { saveSettingsOnClose(true); }

void FrmMain::saveSettingsOnClose(bool writePlaylist)
{
    player_Stop();
    if (!StartupStateApplied) {
        // The session ended while start-up still waited (a box open over a broken list):
        // the window holds defaults, not the user's state, so nothing is written over it.
        tmrMediaKeys->stop();
        tmrPosition->stop();
        tmrWindowUpdate->stop();
        return;
    }
    forms().get<FrmVideo>().video_SaveSize();
    forms().get<FrmLyrics>().lyrics_SaveSize();
    tmrMediaKeys->stop();
    tmrPosition->stop();
    tmrWindowUpdate->stop();
    if (mnuSwitchToMiniMode->isChecked() && forms().isLoaded<FrmMini>()) forms().get<FrmMini>().hide();
    window_CloseAll();

    // Nobody is there to answer now: a playlist that cannot be written is only reported.
    if (writePlaylist) window_SaveDefaultPlaylist();

    settings_WriteValue(QStringLiteral("Appearance"), QStringLiteral("Fontsize"), vb::CStr(lstvPlaylist->font().pointSizeF()));
    settings_WriteValue(QStringLiteral("Sound"), QStringLiteral("Volume"), QString::number(sldVolume->value()));
    settings_WriteValue(QStringLiteral("Sound"), QStringLiteral("Balance"), QString::number(sldBalance->value()));
    // Every column but the file name, which takes the width left over.
    const char* columns[PlaylistColumn::Filename] = {"Number", "Artist", "Title", "Year", "Status", "Length"};
    for (int c = 0; c < PlaylistColumn::Filename; ++c)
        settings_WriteValue(QStringLiteral("ColumnHeaders_MainWindow"), QString::fromLatin1(columns[c]), vb::CStr(lstvPlaylist->columnWidthTwips(c)));
    if (rows().count() >= 1) {
        const int selected = rows().selectedItem();
        if (selected >= 1) settings_WriteValue(QStringLiteral("Playback"), QStringLiteral("LastPlayed"), QString::number(selected));
    }
    const QString used = cmbPlaylists->currentText();
    settings_WriteValue(QStringLiteral("Playback"), QStringLiteral("PlaylistUsed"),
                        used.toLower() == QLatin1String("((select playlist))") ? QString() : used);
    windows_SavePosition(this, QStringLiteral("MainWindow"), 1500);
}

bool FrmMain::window_SaveDefaultPlaylist(QString* reason)
{
    // The playlist kept between runs. It is written whole through a temporary file, so it is
    // never missing or half-written; a playlist that failed to load at start is not replaced
    // by an empty one unless the user changed the playlist since. Before start-up put the
    // stored state in place there is nothing of the user's to keep.
    if (!StartupStateApplied || (DefaultPlaylistLoadFailed && !PlaylistChangedSinceStart)) return true;
    const QString defaultPlaylist = programfolder::file(QStringLiteral("Playlists/default.spp"));
    if (rows().count() == 0) {
        if (files_FileExists(defaultPlaylist)) files_DeleteFile(defaultPlaylist);
        return true;
    }
    errno = 0;
    if (controls_SaveListView(rows(), defaultPlaylist)) return true;
    // The failed call's own error: the writer leaves it as the system gave it.
    const int error = errno;
    const QString why = error ? qt_error_string(error) : QStringLiteral("Unknown error");
    const QString line = QStringLiteral("The playlist could not be saved to ") + QDir::toNativeSeparators(defaultPlaylist)
                         + QStringLiteral(": ") + why + u'.';
    startup::tellLogAndStandardError(line);
    if (reason) *reason = why;
    return false;
}

void FrmMain::comeBackAfterExitRefused()
{
    IsExiting = false;
    // Exit may have come from the tray or the mini window: the window comes back as the tray's
    // Open brings it, so the playlist can be saved elsewhere.
    if (isHidden() || isMinimized() || mnuSwitchToMiniMode->isChecked()) {
        forms().get<FrmMenus>().mnuOpen_Click();
        return;
    }
    raise();
    activateWindow();
}

void FrmMain::mnuExit_Click()
{
    // An Exit chosen again while its question waits adds nothing.
    if (m_exitQuestionOpen) return;
    // The playlist is written before anything is stopped, hidden or closed: when it cannot be,
    // the user may still stay with everything as it was and save it elsewhere.
    QString reason;
    if (!window_SaveDefaultPlaylist(&reason)) {
        m_exitQuestionOpen = true;
        const MsgResult answer =
            msgBox(QStringLiteral("The playlist could not be saved to ")
                       + QDir::toNativeSeparators(programfolder::file(QStringLiteral("Playlists/default.spp"))) + QStringLiteral(": ")
                       + reason + QStringLiteral(".\r\n\r\nDo you want to exit anyway? Choose No to go back and save the playlist with Save As.\r\n"),
                   MsgButtons::YesNo, MsgIcon::Exclamation, QStringLiteral("Exit Confirmation"));
        m_exitQuestionOpen = false;
        if (startup::quitting()) return;   // the session ended meanwhile and saved what it could
        if (answer != MsgResult::Yes) {
            comeBackAfterExitRefused();
            return;
        }
    }
    hide();
    saveSettingsOnClose(false);
    IsExiting = true;
    forms().get<FrmExit>();   // its timer ends the program
}

void FrmMain::tmrSystemTrayDetect_Timer()
{
    // Only while tray support is on: when a notification area appears (again), the icon is
    // (re)installed, which is also how a program started hidden at log-on gets its icon.
    if (!traySupport()) return;
    if (tray::availability() != tray::Availability::Available) {
        TrayIconLost = true;
        return;
    }
    if (!TrayIconLost && tray_Icon()) return;
    const bool playing = PlayerState == Playback::Playing || PlayerState == Playback::Paused;
    if (playing) tmrPosition->stop();
    tray_RemoveIcon();
    const bool muted = mnuMute->text() != QStringLiteral("Mut&e\tE");
    tray_AddIcon(QString(), this, muted ? forms().get<FrmMenus>().windowIcon() : windowIcon());
    if (playing) tmrPosition->start();
}

void FrmMain::startWatchingPlaylistChanges()
{
    ListViewModel& m = rows();
    auto changed = [this] { PlaylistChangedSinceStart = true; };
    connect(&m, &QAbstractItemModel::rowsInserted, this, changed);
    connect(&m, &QAbstractItemModel::rowsRemoved, this, changed);
    connect(&m, &QAbstractItemModel::dataChanged, this, changed);
    connect(&m, &QAbstractItemModel::layoutChanged, this, changed);
    connect(&m, &QAbstractItemModel::modelReset, this, changed);
}
