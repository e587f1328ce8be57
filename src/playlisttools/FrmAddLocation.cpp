#include "playlisttools/FrmAddLocation.h"

#include "common/modFolders.h"
#include "common/modLineFiles.h"
#include "common/modSettings.h"
#include "controls/ctlQX_wLine3D.h"
#include "library/FrmMediaLibrary.h"
#include "mainwindow/FrmMessage.h"
#include "platform/ProgramFolder.h"
#include "platform/UiServices.h"
#include "mainwindow/FrmMain.h"
#include "startup/Forms.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace veltra;

FrmAddLocation::FrmAddLocation() : ToolDialog(QStringLiteral("FrmAddLocation"), QStringLiteral("Add Location"))
{
    lblText = new QLabel(QStringLiteral("Please specify the directory location:"), this);
    lblText->setObjectName(QStringLiteral("lblText"));
    body()->addWidget(lblText);

    auto* row = new QHBoxLayout;
    cmbLocation = new QComboBox(this);
    cmbLocation->setObjectName(QStringLiteral("cmbLocation"));
    cmbLocation->setEditable(true);
    cmbLocation->setInsertPolicy(QComboBox::NoInsert);
    // What is typed is what is added: no history entry completes it behind the user's back.
    cmbLocation->setCompleter(nullptr);
    cmbLocation->setMinimumWidth(320);
    cmbLocation->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    useFocusColours(cmbLocation);
    cmdBrowse = new QPushButton(QStringLiteral("..."), this);
    cmdBrowse->setObjectName(QStringLiteral("cmdBrowse"));
    cmdBrowse->setAutoDefault(false);
    cmdBrowse->setFixedWidth(cmdBrowse->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 16);
    row->addWidget(cmbLocation, 1);
    row->addWidget(cmdBrowse);
    body()->addLayout(row);

    ctlQX_wLine3D1 = new ctlQX_wLine3D(this);
    ctlQX_wLine3D1->setObjectName(QStringLiteral("ctlQX_wLine3D1"));
    ctlQX_wLine3D1->setFixedHeight(4);
    body()->addSpacing(6);
    body()->addWidget(ctlQX_wLine3D1);

    cmdAdd = addActionButton(QStringLiteral("cmdAdd"), QStringLiteral("&Add »"), [this] { cmdAdd_Click(); });
    connect(cmdBrowse, &QPushButton::clicked, this, [this] { cmdBrowse_Click(); });

    Form_Load();
}

QString FrmAddLocation::locationsFile() { return programfolder::file(QStringLiteral("locations.log")); }

void FrmAddLocation::Form_Load()
{
    // Each whole line is one folder, commas and all. The list offers the newest folders only:
    // a history of millions would freeze the dialog, and nobody picks from one.
    QStringList history;
    if (linefile_ReadLast(locationsFile(), kLocationsShown, &history, nullptr)) {
        history.removeAll(QString());
        cmbLocation->addItems(history);
    }
    cmbLocation->setCurrentIndex(-1);
    cmbLocation->clearEditText();
}

void FrmAddLocation::cmdBrowse_Click()
{
    const QString stored = settings_ReadValue(QStringLiteral("Settings"), QStringLiteral("DirectoryPath"), QStringLiteral("C:\\"));
    const QString folder = directory_Browse(this, directory_StartFolder(stored));
    if (folder.isEmpty()) return;
    settings_WriteValue(QStringLiteral("Settings"), QStringLiteral("DirectoryPath"), folder);
    cmbLocation->setEditText(folder);
}

void FrmAddLocation::cmdAdd_Click()
{
    const QString location = cmbLocation->currentText();
    auto refuse = [this](const QString& sentence) {
        msgBox(sentence + QStringLiteral("\r\n\r\nThis function will not be proformed.\r\n"), MsgButtons::OK, MsgIcon::Exclamation,
               QStringLiteral("Adding Location Error"));
        cmbLocation->setFocus();
    };
    if (location.isEmpty()) {
        refuse(QStringLiteral("It has been detected that you have not entered a location."));
        return;
    }
    if (!directory_Exists(location)) {
        refuse(QStringLiteral("It has been detected that the location you have entered does not exist."));
        return;
    }

    hide();
    std::optional<WaitWindow> wait(std::in_place, QStringLiteral("Reading from:  ") + location,
                                   QStringLiteral("Adding media files, please wait..."));
    if (LocationTarget == MainPlaylist) {
        forms().get<FrmMain>().playlist_AddFolderTree(location, wait);
    } else if (LocationTarget == MediaLibrary && forms().isLoaded<FrmMediaLibrary>()) {
        forms().get<FrmMediaLibrary>().library_AddLocation(location);
    }
    // The history keeps each folder once. The files stay added even when it cannot be written.
    if (!linefile_HasLine(locationsFile(), location)) linefile_AppendLine(locationsFile(), location);
    wait.reset();
    accept();
}
