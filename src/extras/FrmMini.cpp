#include "extras/FrmMini.h"

#include "controls/ctlQX_wScrollbar.h"
#include "platform/ProgramFolder.h"

FrmMini::FrmMini()
{
    setObjectName(QStringLiteral("FrmMini"));
    setWindowTitle(programfolder::title());
    qxsVolume = new ctlQX_wScrollbar(this);
    qxsVolume->setObjectName(QStringLiteral("qxsVolume"));
    qxsVolume->setMin(0);
    qxsVolume->setMax(100);
}
