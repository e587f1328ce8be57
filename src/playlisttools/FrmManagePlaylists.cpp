#include "playlisttools/FrmManagePlaylists.h"

#include "common/ListView.h"
#include "common/modControls.h"
#include "common/modFiles.h"
#include "common/modListFiles.h"
#include "common/modPlaylistFiles.h"
#include "common/modVB.h"
#include "common/modWindows.h"
#include "controls/ctlQX_3DPanel.h"
#include "mainwindow/FrmMenus.h"
#include "platform/UiServices.h"
#include "playlisttools/FrmRenamePlaylist.h"
#include "startup/Forms.h"

#include <QAction>
#include <QDateTime>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

using namespace veltra;

namespace {
constexpr int kSongsWidth = 900;   // twips

// The file's time of last change: the locale's short date (four-digit year, as the system
// shows it) and short time; a time of exactly midnight is left out.
QString dateText(const QDateTime& when)
{
    const QString date = vb::ShortDate(when.date());
    if (when.time() == QTime(0, 0)) return date;
    return date + u' ' + QLocale().toString(when.time(), QLocale::ShortFormat);
}
} // namespace

FrmManagePlaylists::FrmManagePlaylists() : ToolDialog(QStringLiteral("FrmManagePlaylists"), QStringLiteral("Manage Playlists"))
{
    lblText = new QLabel(QStringLiteral("Playlists that are already available:"));
    lblText->setObjectName(QStringLiteral("lblText"));
    const HeadingRow heading = addHeadingRow(lblText);
    qxpTop = heading.qxpTop;
    lblOptions = heading.lblOptions;
    qxpOptions = heading.qxpOptions;

    lstvItems = new ListView(this);
    lstvItems->setObjectName(QStringLiteral("lstvItems"));
    lstvItems->setColumns({QStringLiteral("Playlist Name:"), QStringLiteral("Songs:"), QStringLiteral("Created:")});
    lstvItems->setMultiSelect(false);
    // The design height in whole rows of the list's font, no row cut in half.
    lstvItems->setMinimumSize(vb::TwipsToPixels(6600), controls_WholeRowsHeight(lstvItems, vb::TwipsToPixels(3000)));
    lstvItems->resize(lstvItems->minimumSize());
    body()->addWidget(lstvItems, 1);

    cmdFinish = addActionButton(QStringLiteral("cmdFinish"), QStringLiteral("&Finish"), [this] { cmdFinish_Click(); });

    mnuMenu = new QMenu(QStringLiteral("Menu"), this);
    mnuMenu->setObjectName(QStringLiteral("mnuMenu"));
    auto item = [this](const char* name, const QString& caption) {
        QAction* a = mnuMenu->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };
    mnuDelete = item("mnuDelete", QStringLiteral("&Delete...\tDel"));
    mnuRename = item("mnuRename", QStringLiteral("&Rename..."));
    mnuLineBreak2 = mnuMenu->addSeparator();
    mnuLineBreak2->setObjectName(QStringLiteral("mnuLineBreak2"));
    mnuClear = item("mnuClear", QStringLiteral("&Clear..."));
    connect(mnuDelete, &QAction::triggered, this, [this] { mnuDelete_Click(); });
    connect(mnuRename, &QAction::triggered, this, [this] { mnuRename_Click(); });
    connect(mnuClear, &QAction::triggered, this, [this] { mnuClear_Click(); });
    useOptionsMenu(mnuMenu, qxpOptions, lstvItems);

    useDialogKey(Qt::Key_Delete, [this] { mnuDelete_Click(); });

    lstvItems->installEventFilter(this);
    Form_Load();
}

void FrmManagePlaylists::Form_Load()
{
    lstvItems->setColumnWidthTwips(1, kSongsWidth);
    // The dates in the locale's form, as wide as they need.
    const QString sample = dateText(QDateTime(QDate(2000, 12, 28), QTime(23, 58, 58)));
    const int created = lstvItems->fontMetrics().horizontalAdvance(sample + QStringLiteral("MMM"));
    lstvItems->setColumnWidthTwips(2, std::max(1800.0, vb::PixelsToTwips(created)));
    controls_SetHeaderStyle(*lstvItems);
    sizeNameColumn();
    window_ShowPlaylists();
}

void FrmManagePlaylists::sizeNameColumn()
{
    const double width = vb::PixelsToTwips(lstvItems->width()) - lstvItems->columnWidthTwips(1) - lstvItems->columnWidthTwips(2) - 360;
    if (width > 0) lstvItems->setColumnWidthTwips(0, width);
}

void FrmManagePlaylists::window_ShowPlaylists()
{
    for (const QString& file : files::listFolder(playlists::folder(), QStringLiteral("spp"))) {
        const QString name = files_GetNameWithoutExtension(file);
        if (playlists::isReservedName(name)) continue;
        // Seven lines are one playlist row.
        const double songs = vb::Round(double(files_CountLines(file)) / 7.0);
        window_AddPlaylist(name, QString::number(qint64(songs)), dateText(QFileInfo(file).lastModified()));
    }
    if (lstvItems->items().count() > 0) controls_SelectItem(lstvItems->items(), 1);
}

void FrmManagePlaylists::window_AddPlaylist(const QString& name, const QString& songs, const QString& created)
{
    lstvItems->items().add({name, songs, created});
}

int FrmManagePlaylists::selectedRow() const { return controls_SelectedRow(lstvItems->items()); }

// ---- commands ----------------------------------------------------------------------------------------

void FrmManagePlaylists::mnuDelete_Click()
{
    const int row = selectedRow();
    if (row == 0) {
        msgBox(QStringLiteral("There was an error while trying to delete the current playlist from your computer.\r\n\r\n"
                              "This function will not continue.\r\n"),
               MsgButtons::OK, MsgIcon::Exclamation, QStringLiteral("Delete Current Playlist Error"));
        return;
    }
    // The row stays listed until the dialog is opened again.
    if (playlists::deleteOne(playlists::fileOf(lstvItems->items().text(row)))) forms().get<FrmMenus>().mnuUpdate_Click();
}

void FrmManagePlaylists::mnuClear_Click()
{
    if (playlists::deleteAll()) forms().get<FrmMenus>().mnuUpdate_Click();
}

void FrmManagePlaylists::mnuRename_Click()
{
    const int row = selectedRow();
    if (row == 0) return;
    FrmRenamePlaylist& dialog = forms().fresh<FrmRenamePlaylist>();
    dialog.Get_Filename(playlists::fileOf(lstvItems->items().text(row)), false);
    windows_ShowModal(dialog, this, true);
}

void FrmManagePlaylists::cmdFinish_Click()
{
    forms().get<FrmMenus>().mnuUpdate_Click();
    accept();
}

void FrmManagePlaylists::cmdClose_Click() { reject(); }

bool FrmManagePlaylists::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lstvItems && event->type() == QEvent::Resize) sizeNameColumn();   // its width is known once laid out
    return ToolDialog::eventFilter(watched, event);
}
