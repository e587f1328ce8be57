#pragma once
// The notification-area icon.
class QSystemTrayIcon;

QSystemTrayIcon* tray_Icon();     // null while none is installed
void tray_RemoveIcon();
