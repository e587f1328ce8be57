#include "playlisttools/FrmRenamePlaylist.h"

#include "common/FrmConsole.h"
#include "common/ListView.h"
#include "common/modFiles.h"
#include "common/modPlaylistFiles.h"
#include "controls/ctlQX_wLine3D.h"
#include "platform/UiServices.h"
#include "mainwindow/FrmMain.h"
#include "playlisttools/FrmManagePlaylists.h"
#include "startup/Forms.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace veltra;

namespace {
const QString kNotPerformed = QStringLiteral("\r\n\r\nThis function will not be proformed.\r\n");
} // namespace

FrmRenamePlaylist::FrmRenamePlaylist() : ToolDialog(QStringLiteral("FrmRenamePlaylist"), QStringLiteral("Rename Playlist"))
{
    lblText = new QLabel(QStringLiteral("New Playlist Name:"), this);
    lblText->setObjectName(QStringLiteral("lblText"));
    txtName = new QLineEdit(this);
    txtName->setObjectName(QStringLiteral("txtName"));
    txtName->setMinimumWidth(lblText->sizeHint().width() * 3);
    lblText->setBuddy(txtName);
    useFocusColours(txtName);
    lblDirectory = new QLabel(this);
    lblDirectory->setObjectName(QStringLiteral("lblDirectory"));
    lblDirectory->hide();
    lblFilename = new QLabel(this);
    lblFilename->setObjectName(QStringLiteral("lblFilename"));
    lblFilename->hide();
    ctlQX_wLine3D1 = new ctlQX_wLine3D(this);
    ctlQX_wLine3D1->setObjectName(QStringLiteral("ctlQX_wLine3D1"));
    ctlQX_wLine3D1->setFixedHeight(4);

    body()->addWidget(lblText);
    body()->addWidget(txtName);
    body()->addSpacing(6);
    body()->addWidget(ctlQX_wLine3D1);
    cmdRename = addActionButton(QStringLiteral("cmdRename"), QStringLiteral("&Rename »"), [this] { cmdRename_Click(); });
    setTabOrder(txtName, cmdRename);
    setTabOrder(cmdRename, cmdClose);
}

void FrmRenamePlaylist::Get_Filename(const QString& path, bool refreshMainWindow)
{
    QString directory = files_GetDirectory(path);
    if (!directory.endsWith(files::separator())) directory += files::separator();
    lblDirectory->setText(directory);
    lblFilename->setText(files_GetFileName(path));
    txtName->setText(files_GetNameWithoutExtension(path));
    m_refreshMainWindow = refreshMainWindow;
}

void FrmRenamePlaylist::cmdRename_Click()
{
    auto refuse = [this](const QString& text) {
        msgBox(text + kNotPerformed, MsgButtons::OK, MsgIcon::Exclamation, QStringLiteral("Renaming Playlist Name Error"));
        txtName->setFocus();
    };
    const QString name = txtName->text();
    if (name.isEmpty()) return refuse(QStringLiteral("It has been detected that you have not entered a new playlist name."));
    const QString directory = lblDirectory->text();
    const QString oldPath = directory + lblFilename->text();
    if (!files_FileExists(oldPath))
        return refuse(QStringLiteral("It has been detected that the playlist you are trying to rename does not exist."));
    if (!playlists::isAcceptableName(name)) return refuse(playlists::unsupportedCharacterText());
    if (files_HasAttribute(oldPath, 1)) {
        const MsgResult answer = msgBox(QStringLiteral("It has been detected that the playlist you are trying to rename is Read-Only.\r\n\r\n"
                                                       "Do you wish to continue?\r\n"),
                                        MsgButtons::YesNo, MsgIcon::Exclamation, QStringLiteral("Renaming Playlist Name Confirmation"));
        if (answer != MsgResult::Yes) return;
    }
    // A plain rename would replace a playlist of that name; this one refuses it, and a name
    // the box would hide or list twice, unless only the playlist's own letter case changes.
    const QString inUse = QStringLiteral("An error has occur while trying to rename the playlists filename.  Make sure that the file is not in use.");
    const playlists::NameCheck taken = playlists::checkName(name);
    if (taken.use == playlists::NameCheck::Reserved || (taken.use == playlists::NameCheck::Stored && !files::isSameFile(taken.file, oldPath)))
        return refuse(inUse);
    const QString newPath = directory + name + QStringLiteral(".spp");
    if (!files_RenameFile(oldPath, newPath)) return refuse(inUse);
    forms().get<FrmConsole>().window_WriteLog(QStringLiteral("Playlist ") + oldPath + QStringLiteral(" was renamed to ") + directory + name + u'.');
    if (m_refreshMainWindow) {
        window_UpdateMainWindow(newPath);
    } else if (forms().isLoaded<FrmManagePlaylists>()) {
        FrmManagePlaylists& manage = forms().get<FrmManagePlaylists>();
        if (const int row = manage.selectedRow()) manage.lstvItems->items().setText(row, name);
    }
    accept();
}

void FrmRenamePlaylist::cmdClose_Click() { reject(); }

void FrmRenamePlaylist::window_UpdateMainWindow(const QString& newPath) { forms().get<FrmMain>().playlist_RefillBox(newPath); }
