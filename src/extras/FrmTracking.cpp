#include "extras/FrmTracking.h"

FrmTracking::FrmTracking()
{
    setObjectName(QStringLiteral("FrmTracking"));
    setWindowTitle(QStringLiteral("Tracking"));
}

void FrmTracking::tracking_Add(const QString&, const QString&, const QString&) {}
