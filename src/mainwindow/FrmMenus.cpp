#include "mainwindow/FrmMenus.h"

#include "common/MenuArray.h"
#include "common/modFiles.h"
#include "extras/FrmMini.h"
#include "platform/ProgramFolder.h"
#include "player/FrmMain.h"
#include "player/FrmVideo.h"
#include "startup/Forms.h"

#include <QAction>
#include <QLabel>
#include <QStyle>
#include <QMenu>

FrmMenus::FrmMenus()
{
    setObjectName(QStringLiteral("FrmMenus"));
    // The tray picture while muted.
    setWindowIcon(QIcon::fromTheme(QStringLiteral("audio-volume-muted"), style()->standardIcon(QStyle::SP_MediaVolumeMuted)));

    mnuSystemTray = new QMenu(QStringLiteral("SystemTray"), this);
    mnuSystemTray->setObjectName(QStringLiteral("mnuSystemTray"));
    mnuOpen = mnuSystemTray->addAction(QStringLiteral("&Open"));
    mnuOpen->setObjectName(QStringLiteral("mnuOpen"));
    mnuSystemTray->setDefaultAction(mnuOpen);
    connect(mnuOpen, &QAction::triggered, this, [this] { mnuOpen_Click(); });

    mnuRightMenu = new QMenu(QStringLiteral("RightMenu"), this);
    mnuRightMenu->setObjectName(QStringLiteral("mnuRightMenu"));
    mnuPlay2 = mnuRightMenu->addAction(QStringLiteral("&Play"));
    mnuPlay2->setObjectName(QStringLiteral("mnuPlay2"));
    mnuRightMenu->setDefaultAction(mnuPlay2);
    mnuPlayNext = mnuRightMenu->addAction(QStringLiteral("Play Ne&xt..."));
    mnuPlayNext->setObjectName(QStringLiteral("mnuPlayNext"));
    mnuRightMenu->addSeparator();
    mnuSendTo = mnuRightMenu->addMenu(QStringLiteral("S&end To:"));
    mnuSendTo->setObjectName(QStringLiteral("mnuSendTo"));
    mnuPlaylist = mnuSendTo->addMenu(QStringLiteral("&Playlist:"));
    mnuPlaylist->setObjectName(QStringLiteral("mnuPlaylist"));
    QAction* item0 = mnuPlaylist->addAction(QStringLiteral("[None]"));
    item0->setObjectName(QStringLiteral("mnuItem"));
    mnuItem = new MenuArray(this);
    mnuItem->attach(item0);
    mnuPlaylist->addSeparator();
    mnuUpdate = mnuPlaylist->addAction(QStringLiteral("&Update"));
    mnuUpdate->setObjectName(QStringLiteral("mnuUpdate"));
    connect(mnuUpdate, &QAction::triggered, this, [this] { mnuUpdate_Click(); });
    mnuRightMenu->addSeparator();
    mnuVolume = mnuRightMenu->addAction(QStringLiteral("&Volume..."));
    mnuVolume->setObjectName(QStringLiteral("mnuVolume"));
}

void FrmMenus::mnuUpdate_Click()
{
    mnuItem->unloadAbove(0);
    const QStringList names = files::listFolder(programfolder::file(QStringLiteral("Playlists")), QStringLiteral("spp"));
    int n = 0;
    for (const QString& file : names) {
        const QString name = files_GetNameWithoutExtension(file);
        if (name.toLower() == QLatin1String("default")) continue;
        QAction* a = mnuItem->load(++n);
        a->setText(name);
        a->setVisible(true);
        a->setEnabled(true);
    }
    QAction* zero = mnuItem->at(0);
    zero->setText(QStringLiteral("[None]"));
    zero->setVisible(n == 0);
    zero->setEnabled(n != 0);
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
