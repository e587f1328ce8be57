#pragma once
// The notification-area (tray) icon: its tip shows the current song, its picture the mute
// state; a double click or a left click brings the player back, the right button opens the
// tray menu. While a modal window is open the icon ignores clicks. The icon knows no window:
// where its clicks lead is given by the start-up wiring (tray::setRoutes).
#include <QString>
#include <QSystemTrayIcon>
#include <functional>

class QIcon;
class QMenu;
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

// Where the icon's clicks lead; a route left empty does nothing.
struct Routes {
    std::function<void()> open;              // brings the player back (the tray menu's Open)
    std::function<QWidget*()> frontWindow;   // the player's window now: the main or the mini-mode window
    std::function<QMenu*()> menu;            // the icon's menu, with its Open item the default
};
void setRoutes(Routes routes);
} // namespace tray
