#include "extras/FrmTracking.h"

#include "common/ListView.h"

#include <QAction>
#include <QVBoxLayout>

FrmTracking::FrmTracking()
{
    setObjectName(QStringLiteral("FrmTracking"));
    setWindowTitle(QStringLiteral("Tracking"));
    mnuShowHeaders = new QAction(QStringLiteral("Show &Headers"), this);
    mnuShowHeaders->setObjectName(QStringLiteral("mnuShowHeaders"));
    mnuShowHeaders->setCheckable(true);
    lstvItems = new ListView(this);
    lstvItems->setObjectName(QStringLiteral("lstvItems"));
    lstvItems->setColumns({QStringLiteral("Artist"), QStringLiteral("Title"), QStringLiteral("Played"), QStringLiteral("Filename")});
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lstvItems);
}

void FrmTracking::tracking_Add(const QString&, const QString&, const QString&) {}
