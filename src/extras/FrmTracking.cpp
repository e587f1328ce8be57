#include "extras/FrmTracking.h"

#include "common/ListView.h"
#include "common/modControls.h"
#include "common/modLog.h"
#include "common/modSongLists.h"
#include "controls/ctlQX_3DPanel.h"
#include "mainwindow/FrmMain.h"
#include "platform/UiServices.h"
#include "startup/Forms.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>

using namespace veltra;

namespace {
QAction* item(QMenu* menu, const char* name, const QString& caption)
{
    QAction* a = menu->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    return a;
}
} // namespace

FrmTracking::FrmTracking()
    : SongListWindow({.caption = QStringLiteral("Tracking"),
                      .heading = QStringLiteral("Most commonly played media files:"),
                      .valueHeader = QStringLiteral("Played:"),
                      .switchCaption = QStringLiteral("Always track everything played..."),
                      .switchKey = QStringLiteral("AlwaysTrackMediaFilesPlayed"),
                      .headersKey = QStringLiteral("ShowTrackingHeaders"),
                      .listFile = QStringLiteral("tracking.ssb"),
                      .clearCaption = QStringLiteral("\u00AB &Clear"),
                      .clearTitle = QStringLiteral("Clear Tracking List Confirmation"),
                      .clearText = QStringLiteral("Once the tracking list has been cleared, you will not be able to get it back.\r\n\r\n"
                                                  "Do you wish to continue?\r\n")})
{
    setObjectName(QStringLiteral("FrmTracking"));
    chkAlwaysUseTracking = switchBox();
    chkAlwaysUseTracking->setObjectName(QStringLiteral("chkAlwaysUseTracking"));

    qxpPlaylist = labelPanel("qxpPlaylist", "lblPlaylist", QStringLiteral("Playlist "), &lblPlaylist);
    addPanel(qxpPlaylist);
    cmdPlay = new QPushButton(QStringLiteral("&Play \u00BB"), this);
    cmdPlay->setObjectName(QStringLiteral("cmdPlay"));
    addButton(cmdPlay);

    mnuOptions = optionsPopup();
    mnuOptions->setObjectName(QStringLiteral("mnuOptions"));
    mnuOptions->setTitle(QStringLiteral("Options"));
    mnuResetPlayCounts = new QAction(QStringLiteral("&Reset Play Counts..."), this);
    mnuResetPlayCounts->setObjectName(QStringLiteral("mnuResetPlayCounts"));
    mnuList->insertAction(mnuClear, mnuResetPlayCounts);
    mnuList->insertSeparator(mnuClear);

    mnuMenu = new QMenu(QStringLiteral("Menu"), this);
    mnuMenu->setObjectName(QStringLiteral("mnuMenu"));
    mnuTop10Entries = item(mnuMenu, "mnuTop10Entries", QStringLiteral("Top &10 Entries..."));
    mnuTop20Entries = item(mnuMenu, "mnuTop20Entries", QStringLiteral("Top &20 Entries..."));
    mnuTop30Entries = item(mnuMenu, "mnuTop30Entries", QStringLiteral("Top &30 Entries..."));
    mnuMenu->addSeparator();
    mnuUseAllTopEntries = item(mnuMenu, "mnuUseAllTopEntries", QStringLiteral("Use &All Top Entries..."));

    connect(cmdPlay, &QPushButton::clicked, this, [this] { cmdPlay_Click(); });
    connect(mnuResetPlayCounts, &QAction::triggered, this, [this] { mnuResetPlayCounts_Click(); });
    const std::pair<QAction*, int> tops[] = {{mnuTop10Entries, 10}, {mnuTop20Entries, 20}, {mnuTop30Entries, 30}};
    for (const auto& [action, n] : tops) connect(action, &QAction::triggered, this, [this, n = n] { tracking_SendTopEntries(n); });
    connect(mnuUseAllTopEntries, &QAction::triggered, this, [this] { cmdPlay_Click(); });

    Form_Load();
}

void FrmTracking::Form_Load()
{
    loadRows();
    loadSwitch(QStringLiteral("1"));
    songlists::sortByPlayCount(rows());
    controls_SelectItem(rows(), 1);
    window_UpdateCaption();
}

void FrmTracking::tracking_UpdateFilename(const QString& oldName, const QString& newName) { updateFilename(oldName, newName); }

void FrmTracking::tracking_Add(const QString& artist, const QString& title, const QString& fileName)
{
    if (!switchOn() || fileName.isEmpty()) return;
    if (const int row = songlists::findFile(rows(), fileName)) {
        const int played = songlists::playCount(rows().subItem(row, songlists::Value));
        rows().setSubItem(row, songlists::Value, songlists::playCountText(played + 1));
    } else {
        rows().add({artist, title, songlists::playCountText(1), fileName});
    }
    songlists::sortByPlayCount(rows());
    saveRows();
    window_UpdateCaption();
}

void FrmTracking::chkAlwaysUseTracking_Click()
{
    const bool on = switchOn();
    const QList<QObject*> commands = {cmdClear,         cmdPlay,   mnuTop10Entries, mnuTop20Entries, mnuTop30Entries,
                                      mnuUseAllTopEntries, mnuRemoveSelected, mnuClear};
    if (!on || rows().count() > 0) setCommandsEnabled(commands, on);
    setCommandsEnabled({lstvItems}, on);
    applySwitch();
}

QList<QObject*> FrmTracking::rowCommands() const
{
    return {cmdPlay,   cmdClear,          mnuTop10Entries,        mnuTop20Entries,    mnuTop30Entries,
            mnuUseAllTopEntries, mnuRemoveSelected, mnuRemoveDeadFilenames, mnuResetPlayCounts, mnuClear};
}

void FrmTracking::window_UpdateCaption()
{
    const int n = rows().count();
    lblText->setText(n == 0 ? QStringLiteral("Most commonly played media files:")
                            : QString::number(n) + QStringLiteral(" most commonly played media files:"));
}

void FrmTracking::sendToMainWindow(const QList<int>& rowsToSend, const QString& logLine)
{
    FrmMain& main = forms().get<FrmMain>();
    for (int row : rowsToSend) main.playlist_AddSong(QString(), QString(), QString(), rows().subItem(row, songlists::Filename));
    controls_RenumberItems(main.rows());
    main.playlist_ShowMP3Data(false);
    main.window_UncheckMenus();
    log_Write(logLine);
    hide();
    controls_SelectItem(main.rows(), 1);   // playing starts at the top of the new playlist
    main.player_Play(1);
}

void FrmTracking::cmdPlay_Click()
{
    if (rows().count() == 0) return;
    forms().get<FrmMain>().mnuNew_Click();
    QList<int> played;
    for (int row = 1; row <= rows().count(); ++row)
        if (songlists::playCount(rows().subItem(row, songlists::Value)) > 1) played.append(row);
    sendToMainWindow(played, QStringLiteral("Tracking list was exported into the main window."));
}

void FrmTracking::tracking_SendTopEntries(int n)
{
    forms().get<FrmMain>().mnuNew_Click();
    if (rows().count() < n) {
        cmdPlay_Click();
        return;
    }
    QList<int> top;
    for (int row = 1; row <= n; ++row) top.append(row);
    sendToMainWindow(top, QStringLiteral("Top ") + QString::number(n) + QStringLiteral(" tracks in the Tracking window were sent to the main windows playlist."));
}

void FrmTracking::mnuResetPlayCounts_Click()
{
    const MsgResult r = msgBox(QStringLiteral("Once the tracking list has been reset, you will not be able to get the orginal numbers back.\r\n\r\n"
                                              "Do you wish to continue?\r\n"),
                               MsgButtons::YesNo, MsgIcon::Exclamation, QStringLiteral("Reset Tracking List Confirmation"));
    if (r != MsgResult::Yes) return;
    for (int row = 1; row <= rows().count(); ++row) rows().setSubItem(row, songlists::Value, songlists::playCountText(0));
    saveRows();
    window_UpdateCaption();
}

void FrmTracking::lblPlaylist_MouseDown(int button)
{
    if (button == 1) popupBelow(mnuMenu, qxpPlaylist);
}

bool FrmTracking::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lblPlaylist && event->type() == QEvent::MouseButtonPress) {
        lblPlaylist_MouseDown(static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton ? 1 : 2);
        return true;
    }
    return SongListWindow::eventFilter(watched, event);
}
