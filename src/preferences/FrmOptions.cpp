#include "preferences/FrmOptions.h"

#include "common/FrmConsole.h"
#include "common/ListViewModel.h"
#include "common/modControls.h"
#include "common/modFiles.h"
#include "common/modListReplace.h"
#include "common/modPlaylistFiles.h"
#include "common/modSettings.h"
#include "common/modVB.h"
#include "controls/ctlQX_wLine3D.h"
#include "platform/ProgramFolder.h"
#include "platform/UiServices.h"
#include "mainwindow/FrmMain.h"
#include "startup/Forms.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>


using namespace veltra;

namespace {
const QString kSettings = QStringLiteral("Settings");
const QString kShowOptions = QStringLiteral("ShowOptionsWindow");

ctlQX_wLine3D* line(QWidget* parent, const char* name)
{
    auto* l = new ctlQX_wLine3D(parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setFixedHeight(vb::TwipsToPixels(255));
    return l;
}
} // namespace

FrmOptions::FrmOptions() : ToolDialog(QStringLiteral("FrmOptions"), programfolder::title() + QStringLiteral(" Options"))
{
    static const char* const captions[3] = {"Option:  Play this playlist...", "Option:  Play playlist last used...",
                                            "Option:  Do nothing..."};
    QVBoxLayout* body = this->body();
    for (int i = 0; i < 3; ++i) {
        opOption[i] = new QRadioButton(QString::fromLatin1(captions[i]), this);
        opOption[i]->setObjectName(QStringLiteral("opOption%1").arg(i));
        body->addWidget(opOption[i]);
        if (i == 0) {
            lblText = new QLabel(QStringLiteral("Select playlist:"), this);
            lblText->setObjectName(QStringLiteral("lblText"));
            cmbPlaylist = new QComboBox(this);
            cmbPlaylist->setObjectName(QStringLiteral("cmbPlaylist"));
            cmbPlaylist->setMinimumWidth(vb::TwipsToPixels(3600));
            auto* row = new QHBoxLayout;
            row->addSpacing(20);
            row->addWidget(lblText);
            row->addWidget(cmbPlaylist, 1);
            body->addLayout(row);
        }
    }
    opOption[0]->setChecked(true);
    lblPlaylist = new QLabel(this);
    lblPlaylist->setObjectName(QStringLiteral("lblPlaylist"));
    lblPlaylist->hide();
    ctlQX_wLine3D1 = line(this, "ctlQX_wLine3D1");
    body->addWidget(ctlQX_wLine3D1);
    chkOption = new QCheckBox(QStringLiteral("Always show this window..."), this);
    chkOption->setObjectName(QStringLiteral("chkOption"));
    body->addWidget(chkOption);
    ctlQX_wLine3D2 = line(this, "ctlQX_wLine3D2");
    body->addWidget(ctlQX_wLine3D2);

    cmdNext = addActionButton(QStringLiteral("cmdNext"), QStringLiteral("&Next »"), [this] { cmdNext_Click(); });
    connect(chkOption, &QCheckBox::clicked, this, [this] { chkOption_Click(); });
    Form_Load();
}

void FrmOptions::options_FillPlaylists()
{
    cmbPlaylist->addItem(QString::fromLatin1(NoPlaylist));
    // The playlist kept between runs is never offered.
    for (const QString& file : files::listFolder(programfolder::file(QStringLiteral("Playlists")), QStringLiteral("spp"))) {
        const QString name = files_GetNameWithoutExtension(file);
        if (!playlists::isReservedName(name)) cmbPlaylist->addItem(name);
    }
}

void FrmOptions::Form_Load()
{
    options_FillPlaylists();
    cmbPlaylist->setCurrentIndex(0);
    chkOption->setChecked(vb::CInt(vb::Val(settings_ReadValue(kSettings, kShowOptions, QStringLiteral("1")))) == 1);
}

void FrmOptions::chkOption_Click() { settings_WriteFlag(kSettings, kShowOptions, chkOption->isChecked()); }

bool FrmOptions::playChosenPlaylist()
{
    if (cmbPlaylist->currentIndex() <= 0) {
        msgBox(QStringLiteral("It has been detected that you have not selected a playlist.\r\n\r\nThis function will not be proformed.\r\n"),
               MsgButtons::OK, MsgIcon::Exclamation, programfolder::title() + QStringLiteral(" Options Error"));
        return false;
    }
    const QString path = programfolder::file(QStringLiteral("Playlists/") + cmbPlaylist->currentText() + QStringLiteral(".spp"));
    lblPlaylist->setText(path);

    // A file that does not load (the list reader said why) leaves the main playlist, its
    // name and the player as they were.
    FrmMain& main = forms().get<FrmMain>();
    ListViewModel& list = main.rows();
    if (!controls_ReplaceListView(list, path)) return false;
    QString name = path;
    main.playlist_Select(name);
    forms().get<FrmConsole>().window_WriteLog(path + QStringLiteral(" opened."));
    controls_SelectItem(list, 1);
    main.CurrentTrack = 1;
    controls_RenumberItems(list);
    main.player_Play(1);
    return true;
}

void FrmOptions::cmdNext_Click()
{
    if (opOption[0]->isChecked()) {
        if (!playChosenPlaylist()) return;   // the window stays for another choice
    } else if (opOption[1]->isChecked()) {
        hide();
        FrmMain& main = forms().get<FrmMain>();
        controls_SelectItem(main.rows(), 1);
        main.player_Play(1);
    }
    done(QDialog::Accepted);
}

void FrmOptions::cmdClose_Click() { reject(); }
