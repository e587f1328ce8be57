#include "player/FrmPlaying.h"

#include "common/modWindows.h"
#include "mainwindow/FrmMenus.h"
#include "startup/Forms.h"

#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>

FrmPlaying::FrmPlaying()
{
    setObjectName(QStringLiteral("FrmPlaying"));
    // An ordinary window, not a tool window: kwin_x11 shows a program's tool windows only while
    // the program is active, and the popup comes when it is not. It has no task-bar entry.
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    windows_SetTaskbarVisible(this, false);
    setFont(QFont(QStringLiteral("Tahoma"), 10));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0xFF, 0xFF, 0xE1));
    setPalette(pal);
    resize(300, 40);
    lblText = new QLabel(this);
    lblText->setObjectName(QStringLiteral("lblText"));
    lblText->setAttribute(Qt::WA_TransparentForMouseEvents);
    tmrTimer = new QTimer(this);
    tmrTimer->setInterval(1000);
    connect(tmrTimer, &QTimer::timeout, this, [this] { tmrTimer_Timer(); });
    Form_Load();
}

void FrmPlaying::Form_Load()
{
    TickCount = 0;
    const QRect screen = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->geometry() : QRect(0, 0, 1024, 768);
    move(screen.width() / 2 - width() / 2, screen.height() / 2 - height() / 2);
}

void FrmPlaying::tmrTimer_Timer()
{
    ++TickCount;
    if (TickCount >= 3) {
        tmrTimer->stop();
        forms().unloadLater<FrmPlaying>();
    }
}

void FrmPlaying::Form_Click()
{
    forms().unloadLater<FrmPlaying>();
    forms().get<FrmMenus>().mnuOpen_Click();
}

void FrmPlaying::lblText_Click() { Form_Click(); }

void FrmPlaying::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) Form_Click();
}
