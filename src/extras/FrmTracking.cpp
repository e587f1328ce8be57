#include "extras/FrmTracking.h"

FrmTracking::FrmTracking()
{
    setObjectName(QStringLiteral("FrmTracking"));
    setWindowTitle(QStringLiteral("Tracking"));
}
