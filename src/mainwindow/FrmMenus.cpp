#include "mainwindow/FrmMenus.h"

FrmMenus::FrmMenus() { setObjectName(QStringLiteral("FrmMenus")); }
