#include "common/modTray.h"

#include <QSystemTrayIcon>

namespace {
QSystemTrayIcon*& icon()
{
    static QSystemTrayIcon* i = nullptr;
    return i;
}
} // namespace

QSystemTrayIcon* tray_Icon() { return icon(); }

void tray_RemoveIcon()
{
    if (!icon()) return;
    icon()->hide();
    delete icon();
    icon() = nullptr;
}
