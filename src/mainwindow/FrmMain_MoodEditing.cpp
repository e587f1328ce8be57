// The mood commands of the File menu that other windows run too.
#include "mainwindow/FrmMain.h"

#include "library/FrmEditMoods.h"
#include "media/modMedia.h"

void FrmMain::mnuEditMoods_Click() { FrmEditMoods::window_Open(this); }

void FrmMain::mnuResetMoods_Click()
{
    media_ResetMoods();
    // Whatever the answer: items whose song list is gone are disabled.
    window_RemoveMoodMenus();
    window_InstallMoods();
    window_UpdateMoods();
}
