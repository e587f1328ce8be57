#include "player/FrmMain.h"

#include "platform/ProgramFolder.h"

FrmMain::FrmMain()
{
    setObjectName(QStringLiteral("FrmMain"));
    setWindowTitle(programfolder::title());
    resize(760, 480);
}

FrmMain::~FrmMain() = default;
