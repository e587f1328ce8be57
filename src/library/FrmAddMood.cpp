#include "library/FrmAddMood.h"

#include "common/modMoodFiles.h"
#include "common/modVB.h"
#include "controls/ctlQX_wLine3D.h"
#include "library/FrmEditMoods.h"
#include "platform/UiServices.h"
#include "startup/Forms.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace veltra;

FrmAddMood::FrmAddMood() : ToolDialog(QStringLiteral("FrmAddMood"), QStringLiteral("Add Mood"))
{
    auto* label = new QLabel(QStringLiteral("New Mood Name:"), this);
    txtName = new QLineEdit(this);
    txtName->setObjectName(QStringLiteral("txtName"));
    txtName->setMinimumWidth(vb::TwipsToPixels(4200));
    label->setBuddy(txtName);
    useFocusColours(txtName);
    uswLine = new ctlQX_wLine3D(this);
    uswLine->setObjectName(QStringLiteral("ctlQX_wLine3D1"));
    uswLine->setFixedHeight(vb::TwipsToPixels(255));
    body()->addWidget(label);
    body()->addWidget(txtName);
    body()->addWidget(uswLine);
    cmdAdd = addActionButton(QStringLiteral("cmdAdd"), QStringLiteral("&Add »"), [this] { cmdAdd_Click(); });
    txtName->setFocus();
}

void FrmAddMood::cmdAdd_Click()
{
    const QString text = txtName->text();
    auto refuse = [this](const QString& first) {
        msgBox(first + QStringLiteral("\r\n\r\nThis function will not be proformed.\r\n"), MsgButtons::OK, MsgIcon::Exclamation,
               QStringLiteral("Adding Mood Error"));
        txtName->setFocus();
    };
    if (text.isEmpty()) {
        refuse(QStringLiteral("It has been detected that you have not entered a new mood name."));
        return;
    }
    // A "|" would split the name into two moods at the next start, a separator or "." / ".."
    // would name a file outside the Moods folder.
    if (!moods_IsAcceptableName(text)) {
        refuse(QStringLiteral("It has been detected that you have entered a character that is not supported."));
        return;
    }
    const QString songs = QString::number(moods_CountSongs(moods_FilePath(text)));
    if (forms().isLoaded<FrmEditMoods>()) forms().get<FrmEditMoods>().window_AddMood(vb::ProperCase(text), songs);
    accept();
}
