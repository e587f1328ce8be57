#include "playlisttools/FrmJumpToNumber.h"

#include "common/ListViewModel.h"
#include "common/modControls.h"
#include "common/modVB.h"
#include "platform/UiServices.h"
#include "mainwindow/FrmMain.h"
#include "playlisttools/OptionButtons.h"
#include "startup/Forms.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace veltra;

namespace {
const QString kSection = QStringLiteral("JumpToTrackNumber");
const QStringList kKeys = {QStringLiteral("OptionSelectSong"), QStringLiteral("OptionSelectSongAndPlayIt"),
                           QStringLiteral("OptionSelectSongAndSetItToNext")};
enum Further { SelectSong = 0, SelectAndPlay = 1, SelectAndPlayNext = 2 };
} // namespace

FrmJumpToNumber::FrmJumpToNumber() : ToolDialog(QStringLiteral("FrmJumpToNumber"), QStringLiteral("Jump To Track Number"))
{
    body()->addWidget(new QLabel(QStringLiteral("Enter playlist track number:"), this));
    txtNum = new QLineEdit(this);
    txtNum->setObjectName(QStringLiteral("txtNum"));
    txtNum->setMinimumWidth(vb::TwipsToPixels(4200));
    useFocusColours(txtNum);
    useNumberBox(txtNum);
    body()->addWidget(txtNum);
    addSeparator(QStringLiteral("ctlQX_wLine3D1"));
    opFurther = new OptionButtons(this);
    const char* captions[] = {"Option:  Select song...", "Option:  Select song and play it...",
                              "Option:  Select song and set it to be played next..."};
    for (int i = 0; i < 3; ++i) {
        auto* b = new QRadioButton(QString::fromLatin1(captions[i]), this);
        b->setObjectName(QStringLiteral("opFurther%1").arg(i));
        body()->addWidget(opFurther->add(b));
    }
    addSeparator(QStringLiteral("ctlQX_wLine3D2"));
    cmdJump = addActionButton(QStringLiteral("cmdJump"), QStringLiteral("&Jump »"), [this] { cmdJump_Click(); });
    setTabOrder(txtNum, opFurther->at(0));
    setTabOrder(opFurther->at(0), opFurther->at(1));
    setTabOrder(opFurther->at(1), opFurther->at(2));
    setTabOrder(opFurther->at(2), cmdJump);
    setTabOrder(cmdJump, cmdBack);
    setTabOrder(cmdBack, cmdClose);
    opFurther->at(SelectSong)->setChecked(true);   // the design state
    Form_Load();
    txtNum->setFocus();
}

void FrmJumpToNumber::Form_Load()
{
    opFurther->restore(kSection, kKeys, {QStringLiteral("1"), QStringLiteral("0"), QStringLiteral("0")});
    const bool playNext = forms().get<FrmMain>().mnuPlayNext->isEnabled();
    opFurther->at(SelectAndPlayNext)->setEnabled(playNext);
    if (opFurther->isSelected(SelectAndPlayNext) && !playNext) opFurther->select(SelectSong);
}

void FrmJumpToNumber::cmdJump_Click()
{
    auto refuse = [this](const QString& first, const QString& second) {
        msgBox(first + QStringLiteral("\r\n\r\n") + second + QStringLiteral("\r\n"), MsgButtons::OK, MsgIcon::Exclamation,
               QStringLiteral("Jump To Track Number Error"));
        txtNum->setFocus();
    };
    if (txtNum->text().isEmpty()) {
        refuse(QStringLiteral("it has been detected that you have not entered a playlist number."),
               QStringLiteral("This function will not be proformed."));
        return;
    }
    FrmMain& main = forms().get<FrmMain>();
    ListViewModel& list = main.rows();
    // The box takes digits only; a number too long for any playlist is as invalid as one past its end.
    bool ok = false;
    const qint64 number = txtNum->text().toLongLong(&ok);
    if (!ok || number < 1 || number > list.count()) {
        refuse(QStringLiteral("It has been detected that the track number you have entered is invalid."),
               QStringLiteral("This function will not continue."));
        return;
    }
    const int row = int(number);
    controls_SelectItem(list, row);
    if (opFurther->isSelected(SelectAndPlay)) {
        if (main.ResumePending) main.mnuStop_Click();
        main.player_Play(1);
    }
    if (opFurther->isSelected(SelectAndPlayNext) && main.mnuPlayNext->isEnabled()) main.mnuPlayNext_Click();
    opFurther->store(kSection, kKeys);
    accept();
}
