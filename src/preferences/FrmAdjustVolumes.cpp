#include "preferences/FrmAdjustVolumes.h"

FrmAdjustVolumes::FrmAdjustVolumes()
{
    setObjectName(QStringLiteral("FrmAdjustVolumes"));
    setWindowTitle(QStringLiteral("Adjust Volumes"));
}
