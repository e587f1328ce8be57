#pragma once
// A top-level window's entries in the desktop's task bar and pager. On X11 desktops the
// window manager is asked for the EWMH skip-taskbar and skip-pager states; elsewhere nothing
// happens. The wish stays with the window and is asked for again each time the window is
// mapped, since a window manager drops a window's states when it is unmapped (hidden to the
// tray) and does not read a changed state property while the window is mapped.
class QWidget;

namespace taskbarentry {

void setHidden(QWidget* window, bool hidden);
// The wish last given for the window (false when none was given).
bool isHidden(const QWidget* window);

} // namespace taskbarentry
