#include "player/FrmMain.h"

#include "platform/ProgramFolder.h"

#include <QAction>

FrmMain::FrmMain()
{
    setObjectName(QStringLiteral("FrmMain"));
    setWindowTitle(programfolder::title());
    resize(760, 480);

    mnuAlwaysOnTop = new QAction(QStringLiteral("Always On &Top..."), this);
    mnuAlwaysOnTop->setObjectName(QStringLiteral("mnuAlwaysOnTop"));
    mnuAlwaysOnTop->setCheckable(true);
    mnuSwitchToMiniMode = new QAction(QStringLiteral("Switch To &Mini-Mode..."), this);
    mnuSwitchToMiniMode->setObjectName(QStringLiteral("mnuSwitchToMiniMode"));
    mnuSwitchToMiniMode->setCheckable(true);
}

FrmMain::~FrmMain() = default;
