#include "preferences/FrmOptions.h"

#include "common/ListView.h"
#include "common/modControls.h"
#include "platform/ProgramFolder.h"
#include "player/FrmMain.h"
#include "startup/Forms.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QRadioButton>
#include <QVBoxLayout>

FrmOptions::FrmOptions()
{
    setObjectName(QStringLiteral("FrmOptions"));
    setWindowTitle(programfolder::title() + QStringLiteral(" Options"));
    optDoNothing = new QRadioButton(QStringLiteral("&Do nothing"), this);
    optPlayLast = new QRadioButton(QStringLiteral("Play the &last playlist"), this);
    optPlayChosen = new QRadioButton(QStringLiteral("Play this &playlist:"), this);
    cmbPlaylists = new QComboBox(this);
    optDoNothing->setChecked(true);
    FrmMain& main = forms().get<FrmMain>();
    for (int i = 1; i < main.cmbPlaylists->count(); ++i) cmbPlaylists->addItem(main.cmbPlaylists->itemText(i));
    optPlayChosen->setEnabled(cmbPlaylists->count() > 0);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { cmdOK_Click(); });
    auto* layout = new QVBoxLayout(this);
    for (QWidget* w : std::initializer_list<QWidget*>{optDoNothing, optPlayLast, optPlayChosen, cmbPlaylists, buttons}) layout->addWidget(w);
}

void FrmOptions::cmdOK_Click()
{
    FrmMain& main = forms().get<FrmMain>();
    if (optPlayLast->isChecked() && main.rows().count() > 0) {
        main.player_Play(1);
    } else if (optPlayChosen->isChecked() && cmbPlaylists->currentIndex() >= 0) {
        main.cmbPlaylists->setCurrentIndex(cmbPlaylists->currentIndex() + 1);
        controls_SelectItem(main.rows(), 1);
        main.player_Play(1);
    }
    accept();
}
