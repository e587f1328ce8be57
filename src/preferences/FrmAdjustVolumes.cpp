#include "preferences/FrmAdjustVolumes.h"

#include "common/ListView.h"
#include "common/modSettings.h"

#include <QAction>

#include <QCheckBox>
#include <QVBoxLayout>

FrmAdjustVolumes::FrmAdjustVolumes()
{
    setObjectName(QStringLiteral("FrmAdjustVolumes"));
    setWindowTitle(QStringLiteral("Adjust Volumes"));
    chkAlwaysAdjust = new QCheckBox(this);
    chkAlwaysAdjust->setObjectName(QStringLiteral("chkAlwaysAdjust"));
    chkAlwaysAdjust->setChecked(settings_ReadFlag(QStringLiteral("Settings"), QStringLiteral("AlwaysUseVolumeAdjusting"), QStringLiteral("0")));
    mnuShowHeaders = new QAction(QStringLiteral("Show &Headers"), this);
    mnuShowHeaders->setObjectName(QStringLiteral("mnuShowHeaders"));
    mnuShowHeaders->setCheckable(true);
    lstvItems = new ListView(this);
    lstvItems->setObjectName(QStringLiteral("lstvItems"));
    lstvItems->setColumns({QStringLiteral("Artist"), QStringLiteral("Title"), QStringLiteral("Volume"), QStringLiteral("Filename")});
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(chkAlwaysAdjust);
    layout->addWidget(lstvItems);
}

int FrmAdjustVolumes::volumes_GetVolume(const QString&) const { return -1; }

void FrmAdjustVolumes::volumes_Add(const QString&, const QString&, int, const QString&) {}

void FrmAdjustVolumes::volumes_UpdateFilename(const QString& oldName, const QString& newName)
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
