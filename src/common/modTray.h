#pragma once
// The notification-area (tray) icon: its tip shows the current song, its picture the mute
// state; a double click or a left click brings the player back, the right button opens the
// tray menu of FrmMenus. While a modal window is open the icon ignores clicks.
#include <QString>
#include <QSystemTrayIcon>
#include <functional>

class QIcon;
class QWidget;

// Set by the main window's tray watch when the panel went away; cleared when an icon is added.
extern bool TrayIconLost;

// Installs the icon for `owner` (the main window). Where the desktop has no notification
// area it does nothing (TrayIconLost stays set, so the tray watch installs the icon later).
void tray_AddIcon(const QString& tip, QWidget* owner, const QIcon& icon);
// Removes the icon; harmless when none is installed.
void tray_RemoveIcon();
// The tip (cut to 255 characters).
void tray_SetTip(const QString& text);
void tray_SetIcon(const QIcon& icon);
// What a click on the icon does.
void tray_WindowProc(QSystemTrayIcon::ActivationReason reason);

QSystemTrayIcon* tray_Icon();     // null while none is installed
QWidget* tray_Owner();
QString tray_Tip();

namespace tray {
enum class Availability {
    Available,   // a notification area is there
    Missing,     // a desktop without one
    NoDesktop,   // no desktop at all (offscreen): the icon is kept but shows nowhere, silently
};
Availability availability();
// Tests decide the answer; an empty function restores the real check.
void setAvailabilityOverride(std::function<Availability()> check);
} // namespace tray
