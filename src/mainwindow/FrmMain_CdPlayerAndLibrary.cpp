// Menu commands whose full forms come with their own windows; these do what start-up and
// the command line rely on.
#include "mainwindow/FrmMain.h"

#include "common/FrmConsole.h"
#include "common/ListView.h"
#include "common/modControls.h"
#include "common/modSettings.h"
#include "common/modWindows.h"
#include "extras/FrmCDPlayer.h"
#include "library/FrmMediaLibrary.h"
#include "startup/Forms.h"

#include <QAction>
#include <QComboBox>

void FrmMain::mnuOpenCDPlayer_Click()
{
    if (mnuOpenCDPlayer->isChecked()) {
        mnuOpenCDPlayer->setChecked(false);
        if (!forms().isLoaded<FrmCDPlayer>()) return;
        FrmCDPlayer& cd = forms().get<FrmCDPlayer>();
        windows_SavePosition(&cd, QStringLiteral("CDPlayer"), 2500);
        cd.window_Unload();
    } else {
        mnuOpenCDPlayer->setChecked(true);
        // Loading restores its position and scans the drives.
        windows_ShowInFront(&forms().get<FrmCDPlayer>(), this);
    }
}

void FrmMain::mnuOpenMediaLibrary_Click()
{
    // The check mark says whether the library is open; closing it clears the mark.
    if (mnuOpenMediaLibrary->isChecked()) {
        if (forms().isLoaded<FrmMediaLibrary>()) forms().get<FrmMediaLibrary>().close();
        mnuOpenMediaLibrary->setChecked(false);
        return;
    }
    mnuOpenMediaLibrary->setChecked(true);
    windows_ShowInFront(&forms().get<FrmMediaLibrary>(), this);
}
