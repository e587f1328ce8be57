// The mini-mode window's menu (its place, its topmost state, its colours, the way back to the
// full window) and the tray menu's volume popup.
#include "mainwindow/FrmMenus.h"

#include "common/modSettings.h"
#include "common/modWindows.h"
#include "extras/FrmMini.h"
#include "mainwindow/FrmMain.h"
#include "preferences/FrmCustomise.h"
#include "preferences/FrmVolume.h"
#include "startup/Forms.h"

#include <QAction>

namespace {
const QString kMiniSettings = QStringLiteral("MiniModeSettings");

FrmMini* miniWindow() { return forms().isLoaded<FrmMini>() ? &forms().get<FrmMini>() : nullptr; }
} // namespace

void FrmMenus::mnuVolume_Click() { windows_ShowModal(forms().fresh<FrmVolume>(), &forms().get<FrmMain>(), true); }

void FrmMenus::mnuCustomise_Click()
{
    FrmMini* mini = miniWindow();
    // A topmost mini window would hide the dialog it opened.
    const bool onTop = mnuAlwaysOnTop->isChecked();
    if (onTop) windows_SetAlwaysOnTop(mini, false);
    windows_ShowModal(forms().fresh<FrmCustomise>(), mini, true);
    if (onTop && (mini = miniWindow())) windows_SetAlwaysOnTop(mini, true);
}

void FrmMenus::mnuLockPosition_Click()
{
    const bool locked = !mnuLockPosition->isChecked();
    mnuLockPosition->setChecked(locked);
    if (FrmMini* mini = miniWindow()) mini->setPositionLocked(locked);
    settings_WriteFlag(kMiniSettings, QStringLiteral("LockPosition"), locked);
}

void FrmMenus::mnuAlwaysOnTop_Click()
{
    const bool onTop = !mnuAlwaysOnTop->isChecked();
    mnuAlwaysOnTop->setChecked(onTop);
    if (FrmMini* mini = miniWindow()) windows_SetAlwaysOnTop(mini, onTop);
    settings_WriteFlag(kMiniSettings, QStringLiteral("AlwaysOnTop"), onTop);
}

void FrmMenus::mnuReturnToFullMode_Click()
{
    if (FrmMini* mini = miniWindow()) mini->qxbButton_Click(11);
}

void FrmMenus::mnuMinimize_Click()
{
    if (FrmMini* mini = miniWindow()) mini->setWindowState(mini->windowState() | Qt::WindowMinimized);
}
