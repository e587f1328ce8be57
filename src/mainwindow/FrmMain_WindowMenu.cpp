// The commands that open the program's other windows, switch to mini mode, open the
// project's web pages and show the About boxes. A window that exists only as a stand-in, or
// not at all yet, is left closed: its command changes nothing.
#include "mainwindow/FrmMain.h"

#include "common/FrmConsole.h"
#include "common/modSettings.h"
#include "common/modWindows.h"
#include "extras/FrmAbout.h"
#include "extras/FrmCheckForUpdates.h"
#include "extras/FrmMini.h"
#include "extras/FrmTracking.h"
#include "mainwindow/StandInWindows.h"
#include "platform/ProgramFolder.h"
#include "platform/WebPages.h"
#include "platform/WindowPlace.h"
#include "preferences/FrmAdjustVolumes.h"
#include "preferences/FrmPreferences.h"
#include "startup/Forms.h"

#include <QAction>

namespace {

// Shows the window modally over the main window; it stays loaded afterwards.
template <class F>
void showModal(FrmMain& main)
{
    if (standins::isStandIn<F>()) return;
    windows_ShowModal(forms().get<F>(), &main, false);
}

} // namespace

void FrmMain::mnuConsole_Click() { showModal<FrmConsole>(*this); }
void FrmMain::mnuTracking_Click() { showModal<FrmTracking>(*this); }
void FrmMain::mnuVolumes_Click() { showModal<FrmAdjustVolumes>(*this); }

void FrmMain::mnuPreferences_Click() { FrmPreferences::prefs_Show(this); }
void FrmMain::mnuChangeAppearance_Click() { FrmPreferences::prefs_Show(this, FrmPreferences::Appearance); }
void FrmMain::mnuWindowsEditWindowsGLobalHotkeys_Click() { FrmPreferences::prefs_Show(this, FrmPreferences::GlobalHotKeys); }

// Loaded afresh for each showing.
void FrmMain::mnuAbout_Click() { windows_ShowModal(forms().fresh<FrmAbout>(), this, true); }
void FrmMain::mnuCheckForUpdates_Click() { windows_ShowModal(forms().fresh<FrmCheckForUpdates>(), this, true); }

void FrmMain::mnuPlaylistRefreshTags_Click() { playlist_ShowMP3Data(false); }

void FrmMain::mnuSwitchToMiniMode_Click()
{
    if (standins::isStandIn<FrmMini>()) return;
    // The mini window is the one on top now; the main window gives the place up for good.
    if (mnuAlwaysOnTop->isChecked()) {
        mnuAlwaysOnTop->setChecked(false);
        windows_SetAlwaysOnTop(this, false);
        settings_WriteValue(QStringLiteral("Settings"), QStringLiteral("AlwaysOnTop"), QStringLiteral("0"));
    }
    // Back from mini mode the window is maximised if it was now, also when it went to the tray
    // before (hidden, it is as it went).
    WasMaximized = windowplace::keptState(this).testFlag(Qt::WindowMaximized);
    mnuSwitchToMiniMode->setChecked(true);
    hide();
    FrmMini::mini_Show();
}

void FrmMain::mnuAboutWindows_Click()
{
    windows_ShowAboutWindows(this, programfolder::title(),
                             QStringLiteral("Written by the ") + programfolder::title() + QStringLiteral(" developers.\r\nQuillonex\r\n"));
}

void FrmMain::mnuForum_Click() { windows_OpenURL(this, webpages::forum(), 3); }
void FrmMain::mnuHomepage_Click() { windows_OpenURL(this, webpages::homepage(), 3); }
