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

void FrmTracking::tracking_UpdateFilename(const QString& oldName, const QString& newName)
{
    if (oldName.isEmpty()) return;
    ListViewModel& list = lstvItems->items();
    for (int row = 1; row <= list.count(); ++row) {
        if (list.subItem(row, 3) == oldName) {
            list.setSubItem(row, 3, newName);
            return;
        }
    }
}
