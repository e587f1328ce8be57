#include "startup/LayerWiring.h"

#include "common/modTray.h"
#include "common/modWindows.h"
#include "extras/FrmMini.h"
#include "mainwindow/FrmMenus.h"
#include "mainwindow/FrmMain.h"
#include "startup/Forms.h"

#include <QAction>
#include <QMenu>

namespace startup {

void wireLowerLayers()
{
    tray::setRoutes({
        .open = [] { forms().get<FrmMenus>().mnuOpen_Click(); },
        .frontWindow = []() -> QWidget* {
            FrmMain& main = forms().get<FrmMain>();
            if (main.mnuSwitchToMiniMode->isChecked()) return &forms().get<FrmMini>();
            return &main;
        },
        .menu = [] {
            FrmMenus& menus = forms().get<FrmMenus>();
            menus.mnuSystemTray->setDefaultAction(menus.mnuOpen);
            return menus.mnuSystemTray;
        },
    });
    windows::setFormUnloader([](QWidget* form) { forms().unload(form); });
}

} // namespace startup
