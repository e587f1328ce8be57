#include "preferences/FrmVolume.h"

#include "common/ToolDialog.h"
#include "common/modVB.h"
#include "common/modWindows.h"
#include "controls/ctlQX_wLine3D.h"
#include "controls/ctlQX_wScrollbar.h"
#include "extras/FrmMini.h"
#include "mainwindow/FrmMain.h"
#include "startup/Forms.h"

#include <QAction>
#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <QSlider>

using vb::TwipsToPixels;

FrmVolume::FrmVolume()
{
    setObjectName(QStringLiteral("FrmVolume"));
    // No caption: for an empty title the window system would show the program's name.
    setWindowTitle(QStringLiteral(" "));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowCloseButtonHint);
    setFont(ToolDialog::dialogFont());
    setFixedSize(TwipsToPixels(WindowWidth), TwipsToPixels(WindowHeight));

    lblText = new QLabel(QStringLiteral("Volume:"), this);
    lblText->setObjectName(QStringLiteral("lblText"));
    lblText->move(TwipsToPixels(120), TwipsToPixels(150));
    lblText->adjustSize();
    sldVolume = new QSlider(Qt::Horizontal, this);
    sldVolume->setObjectName(QStringLiteral("sldVolume"));
    sldVolume->setRange(0, 100);
    sldVolume->setSingleStep(1);
    sldVolume->setPageStep(5);
    sldVolume->setGeometry(TwipsToPixels(840), TwipsToPixels(105), TwipsToPixels(2655), TwipsToPixels(300));
    sldVolume->installEventFilter(this);
    ctlQX_wLine3D1 = new ctlQX_wLine3D(this);
    ctlQX_wLine3D1->setObjectName(QStringLiteral("ctlQX_wLine3D1"));
    ctlQX_wLine3D1->setGeometry(0, TwipsToPixels(450), width(), TwipsToPixels(255));
    chkMute = new QCheckBox(QStringLiteral("Mute"), this);
    chkMute->setObjectName(QStringLiteral("chkMute"));
    chkMute->move(TwipsToPixels(120), TwipsToPixels(840));
    cmdClose = new QPushButton(QStringLiteral("&Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    cmdClose->setGeometry(TwipsToPixels(2400), TwipsToPixels(780), TwipsToPixels(1095), TwipsToPixels(375));
    cmdClose->setAutoDefault(false);

    connect(chkMute, &QCheckBox::clicked, this, [this] { chkMute_Click(); });
    connect(sldVolume, &QSlider::valueChanged, this, [this] {
        if (!m_loading) sldVolume_Scroll();
    });
    connect(cmdClose, &QPushButton::clicked, this, [this] { cmdClose_Click(); });
    Form_Load();
}

void FrmVolume::Form_Load()
{
    // Bottom right of the screen, frame and all; a task bar at the bottom is allowed for.
    windows_PlaceAtBottomRight(this, 500);

    FrmMain& main = forms().get<FrmMain>();
    m_loading = true;
    sldVolume->setValue(main.sldVolume->value());
    m_loading = false;
    // Only shows the state; the mute command is not run here.
    QAction* mute = main.toolbarButton(QStringLiteral("Mute"));
    const bool muted = mute && mute->isChecked();
    chkMute->setChecked(muted);
    sldVolume->setEnabled(!muted);
}

void FrmVolume::chkMute_Click()
{
    forms().get<FrmMain>().mnuMute_Click();
    sldVolume->setEnabled(!chkMute->isChecked());
}

void FrmVolume::sldVolume_Scroll()
{
    FrmMain& main = forms().get<FrmMain>();
    main.sldVolume->setValue(sldVolume->value());
    main.player_Volume(qint16(sldVolume->value()));
    if (main.mnuSwitchToMiniMode->isChecked() && forms().isLoaded<FrmMini>())
        forms().get<FrmMini>().qxsVolume->setValue(sldVolume->value());
}

void FrmVolume::cmdClose_Click() { done(QDialog::Accepted); }

bool FrmVolume::eventFilter(QObject* watched, QEvent* event)
{
    // The slider moves with the mouse only.
    if (watched == sldVolume && event->type() == QEvent::KeyPress) return true;
    return QDialog::eventFilter(watched, event);
}
