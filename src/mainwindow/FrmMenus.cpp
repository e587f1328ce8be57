#include "mainwindow/FrmMenus.h"

#include "extras/FrmMini.h"
#include "player/FrmMain.h"
#include "player/FrmVideo.h"
#include "startup/Forms.h"

#include <QAction>
#include <QLabel>
#include <QMenu>

FrmMenus::FrmMenus()
{
    setObjectName(QStringLiteral("FrmMenus"));

    mnuSystemTray = new QMenu(QStringLiteral("SystemTray"), this);
    mnuSystemTray->setObjectName(QStringLiteral("mnuSystemTray"));
    mnuOpen = mnuSystemTray->addAction(QStringLiteral("&Open"));
    mnuOpen->setObjectName(QStringLiteral("mnuOpen"));
    mnuSystemTray->setDefaultAction(mnuOpen);
    connect(mnuOpen, &QAction::triggered, this, [this] { mnuOpen_Click(); });
}

void FrmMenus::mnuOpen_Click()
{
    FrmMain& main = forms().get<FrmMain>();
    const bool mini = main.mnuSwitchToMiniMode->isChecked();
    QWidget* front = &main;
    if (mini) {
        FrmMini& window = forms().get<FrmMini>();
        window.setWindowState(window.windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
        window.show();
        front = &window;
    } else {
        Qt::WindowStates state = main.windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
        if (main.WasMaximized) state |= Qt::WindowMaximized;
        main.setWindowState(state);
        main.show();
    }
    if (forms().isLoaded<FrmVideo>()) {
        FrmVideo& video = forms().get<FrmVideo>();
        const Qt::WindowStates normal = video.windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
        if (video.VideoIsOpen) {
            video.setWindowState(normal);
            video.show();
        }
        video.setWindowState(normal);
    }
    front->show();
    front->raise();
    front->activateWindow();
    main.WindowShown = true;
}

QLabel* FrmMenus::hiddenLabel(const char* name)
{
    auto* label = new QLabel(this);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->hide();
    return label;
}
