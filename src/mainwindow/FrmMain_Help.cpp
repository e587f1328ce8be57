// The Help menu's own windows: the update check and the about box, each loaded afresh and
// shown modally over the main window.
#include "player/FrmMain.h"

#include "common/modWindows.h"
#include "extras/FrmAbout.h"
#include "extras/FrmCheckForUpdates.h"
#include "startup/Forms.h"

void FrmMain::mnuCheckForUpdates_Click() { windows_ShowModal(forms().fresh<FrmCheckForUpdates>(), this, true); }

void FrmMain::mnuAbout_Click() { windows_ShowModal(forms().fresh<FrmAbout>(), this, true); }
