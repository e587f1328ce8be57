#include "startup/LayerWiring.h"

#include "common/modAssociations.h"
#include "common/modTray.h"
#include "common/modWindows.h"
#include "extras/FrmMini.h"
#include "mainwindow/FrmMenus.h"
#include "mainwindow/FrmMain.h"
#include "startup/Forms.h"

#include <QAction>
#include <QBuffer>
#include <QIcon>
#include <QMenu>
#include <QPixmap>

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
    // The program's icon is the main window's, in each size it comes in.
    associations::setIconImages([] {
        QList<QPair<int, QByteArray>> images;
        if (!forms().isLoaded<FrmMain>()) return images;
        const QIcon icon = forms().get<FrmMain>().windowIcon();
        for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
            const QPixmap pixmap = icon.pixmap(QSize(size, size), 1.0);
            if (pixmap.width() != size || pixmap.height() != size) continue;   // never scaled up
            QByteArray png;
            QBuffer buffer(&png);
            if (buffer.open(QIODevice::WriteOnly) && pixmap.save(&buffer, "PNG")) images.append({size, png});
        }
        return images;
    });
}

} // namespace startup
