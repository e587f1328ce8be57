#include "extras/FrmMini.h"

#include "platform/ProgramFolder.h"

FrmMini::FrmMini()
{
    setObjectName(QStringLiteral("FrmMini"));
    setWindowTitle(programfolder::title());
}
