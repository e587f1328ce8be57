#include "playlisttools/FrmJumpToTime.h"

#include "common/modVB.h"
#include "media/modMedia.h"
#include "platform/MediaPlayerControl.h"
#include "platform/UiServices.h"
#include "mainwindow/FrmMain.h"
#include "startup/Forms.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace veltra;

namespace {
QLineEdit* timeBox(QWidget* parent, const char* name)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setAlignment(Qt::AlignCenter);
    box->setFixedWidth(vb::TwipsToPixels(435));
    return box;
}
} // namespace

FrmJumpToTime::FrmJumpToTime() : ToolDialog(QStringLiteral("FrmJumpToTime"), QStringLiteral("Jump To Time"))
{
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Specify the new time:"), this));
    row->addStretch(1);
    txtMins = timeBox(this, "txtMins");
    txtSecs = timeBox(this, "txtSecs");
    auto* dots = new QLabel(QStringLiteral(":"), this);
    dots->setObjectName(QStringLiteral("lblDots"));
    QFont bold = dots->font();
    bold.setBold(true);
    dots->setFont(bold);
    row->addWidget(txtMins);
    row->addWidget(dots);
    row->addWidget(txtSecs);
    row->addWidget(new QLabel(QStringLiteral("mm:ss"), this));
    body()->addLayout(row);
    addSeparator(QStringLiteral("ctlQX_wLine3D1"));
    lblLength = new QLabel(QStringLiteral("Length:  00:00"), this);
    lblLength->setObjectName(QStringLiteral("lblLength"));
    body()->addWidget(lblLength);
    addSeparator(QStringLiteral("ctlQX_wLine3D2"));

    for (QLineEdit* box : {txtMins, txtSecs}) {
        useFocusColours(box);
        useNumberBox(box, 2);
    }
    cmdJump = addActionButton(QStringLiteral("cmdJump"), QStringLiteral("&Jump »"), [this] { cmdJump_Click(); });
    setTabOrder(txtMins, txtSecs);
    setTabOrder(txtSecs, cmdJump);
    setTabOrder(cmdJump, cmdClose);
    Form_Load();
    txtMins->setFocus();
}

void FrmJumpToTime::Form_Load()
{
    const double duration = forms().get<FrmMain>().wmpPlayer().Duration();
    lblLength->setText(QStringLiteral("Length:  ") + media_FormatTime(qint32(vb::Round(duration))));
}

void FrmJumpToTime::cmdJump_Click()
{
    auto refuse = [](const QString& first, const QString& second) {
        msgBox(first + QStringLiteral("\r\n\r\n") + second + QStringLiteral("\r\n"), MsgButtons::OK, MsgIcon::Exclamation,
               QStringLiteral("Jump To Time Error"));
    };
    const QString notContinue = QStringLiteral("This function will not continue.");
    if (txtMins->text().isEmpty()) {
        refuse(QStringLiteral("It has been detected that you have not entered anything into the Minutes section."), notContinue);
        txtMins->setFocus();
        return;
    }
    if (txtSecs->text().isEmpty()) {
        refuse(QStringLiteral("It has been detected that you have not entered anything into the Seconds section."), notContinue);
        txtSecs->setFocus();
        return;
    }
    // The boxes hold at most two digits each.
    const int minutes = txtMins->text().toInt();
    const int seconds = txtSecs->text().toInt();
    if (seconds > 59) {
        refuse(QStringLiteral("It has been detected that the seconds you have entered are invalid."), notContinue);
        txtSecs->setFocus();
        return;
    }
    FrmMain& main = forms().get<FrmMain>();
    if (main.PlayerStateNow() != FrmMain::Playback::Playing) {
        refuse(QStringLiteral("It has been detected that the player is no longer playing any music."),
               QStringLiteral("This function will not be proformed."));
        return;
    }
    MediaPlayerControl& player = main.wmpPlayer();
    const int target = minutes * 60 + seconds;
    if (target > player.Duration()) {
        refuse(QStringLiteral("The time that you have entered is larger than the duration of the song/video."), notContinue);
        txtSecs->setFocus();
        return;
    }
    player.setCurrentPosition(double(target));
    accept();
}
