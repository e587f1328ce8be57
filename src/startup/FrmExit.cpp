#include "startup/FrmExit.h"

#include "common/modSettings.h"
#include "common/modTray.h"
#include "startup/modMain.h"

#include <QCoreApplication>
#include <QTimer>

FrmExit::FrmExit()
{
    setObjectName(QStringLiteral("FrmExit"));
    setWindowTitle(QStringLiteral("Exit"));
    tmrTimer = new QTimer(this);
    tmrTimer->setInterval(250);
    connect(tmrTimer, &QTimer::timeout, this, [this] { tmrTimer_Timer(); });
    Form_Load();
}

void FrmExit::Form_Load()
{
    Counter = 0;
    tmrTimer->start();
}

void FrmExit::tmrTimer_Timer()
{
    ++Counter;
    if (Counter == 1) {
        if (settings_ReadFlag(QStringLiteral("Settings"), QStringLiteral("UseSystemTraySupport"), QStringLiteral("1")))
            tray_RemoveIcon();
    } else if (Counter == 2) {
        tmrTimer->stop();
        startup::quit(0);
    }
}
