#include "preferences/FrmAdjustVolumes.h"

#include "common/modSettings.h"

#include <QCheckBox>
#include <QVBoxLayout>

FrmAdjustVolumes::FrmAdjustVolumes()
{
    setObjectName(QStringLiteral("FrmAdjustVolumes"));
    setWindowTitle(QStringLiteral("Adjust Volumes"));
    chkAlwaysAdjust = new QCheckBox(this);
    chkAlwaysAdjust->setObjectName(QStringLiteral("chkAlwaysAdjust"));
    chkAlwaysAdjust->setChecked(settings_ReadFlag(QStringLiteral("Settings"), QStringLiteral("AlwaysUseVolumeAdjusting"), QStringLiteral("0")));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(chkAlwaysAdjust);
}

int FrmAdjustVolumes::volumes_GetVolume(const QString&) const { return -1; }

void FrmAdjustVolumes::volumes_Add(const QString&, const QString&, int, const QString&) {}
