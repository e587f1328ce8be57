#include "preferences/FrmAdjustVolumes.h"

#include "common/ListView.h"
#include "common/modControls.h"
#include "common/modSongLists.h"
#include "common/modVB.h"

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QPushButton>

#include <algorithm>

FrmAdjustVolumes::FrmAdjustVolumes()
    : SongListWindow({.caption = QStringLiteral("Adjust Volumes"),
                      .heading = QStringLiteral("Specific media volume settings:"),
                      .valueHeader = QStringLiteral("Volume:"),
                      .switchCaption = QStringLiteral("Always adjust volumes for songs in this list..."),
                      .switchKey = QStringLiteral("AlwaysUseVolumeAdjusting"),
                      .headersKey = QStringLiteral("ShowAdjustVolumesHeaders"),
                      .listFile = QStringLiteral("volumes.ssb"),
                      .clearCaption = QStringLiteral("&Clear \u00BB"),
                      .clearTitle = QStringLiteral("Clear Volumes List Confirmation"),
                      .clearText = QStringLiteral("Once the volumes list has been cleared, you will not be able to get it back.\r\n\r\n"
                                                  "Do you wish to continue?\r\n")})
{
    setObjectName(QStringLiteral("FrmAdjustVolumes"));
    chkAlwaysAdjust = switchBox();
    chkAlwaysAdjust->setObjectName(QStringLiteral("chkAlwaysAdjust"));
    mnuMenu = optionsPopup();
    mnuMenu->setObjectName(QStringLiteral("mnuMenu"));
    mnuMenu->setTitle(QStringLiteral("Menu"));
    Form_Load();
}

void FrmAdjustVolumes::Form_Load()
{
    loadRows();
    loadSwitch(QStringLiteral("0"));
    rows().setSortKey(songlists::Artist);
    rows().setSortOrder(ListViewModel::Descending);
    rows().setSorted(true);
    controls_SelectItem(rows(), 1);
}

void FrmAdjustVolumes::volumes_UpdateFilename(const QString& oldName, const QString& newName) { updateFilename(oldName, newName); }

void FrmAdjustVolumes::volumes_Add(const QString& artist, const QString& title, int volume, const QString& fileName)
{
    if (!switchOn() || fileName.isEmpty()) return;
    if (const int row = songlists::findFile(rows(), fileName)) {
        rows().setSubItem(row, songlists::Value, QString::number(volume));
    } else {
        rows().add({artist, title, QString::number(volume), fileName});
        // Sorted by the volume's text, as the list always showed it ("9" above "75" above "100").
        rows().setSortKey(songlists::Value);
        rows().setSortOrder(ListViewModel::Descending);
        rows().setSorted(true);
        rows().sortNow();
    }
    saveRows();
}

int FrmAdjustVolumes::volumes_GetVolume(const QString& fileName) const
{
    if (!switchOn() || fileName.isEmpty()) return -1;
    const int row = songlists::findFile(rows(), fileName);
    if (!row) return -1;
    bool ok = false;
    const double v = vb::ToDouble(rows().subItem(row, songlists::Value), &ok);
    return ok ? vb::CInt(std::clamp(v, 0.0, 100.0)) : -1;
}

void FrmAdjustVolumes::chkAlwaysAdjust_Click()
{
    const bool on = switchOn();
    if (!on || rows().count() > 0) setCommandsEnabled({cmdClear}, on);
    setCommandsEnabled({lstvItems, mnuRemoveSelected, mnuClear}, on);
    applySwitch();
}

QList<QObject*> FrmAdjustVolumes::rowCommands() const { return {cmdClear, mnuRemoveSelected, mnuRemoveDeadFilenames, mnuClear}; }
