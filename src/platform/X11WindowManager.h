#pragma once
// Qt's own X11 connection, and requests to the window manager over it. Include it after the
// Qt headers: Xlib's macros clash with their names.
#ifdef VELTRA_HAVE_X11
#include <X11/Xlib.h>

#include <initializer_list>

class QWidget;

namespace x11wm {

// The display Qt talks to, or null when the program does not run on X11.
Display* display();
// A client message about `about` sent to the root window, the way a window manager takes a
// program's requests.
void ask(Display* d, Window about, const char* message, std::initializer_list<long> data);
// The X window that shows the widget now (0: none). Qt may make a window's native window anew
// (on a change of its flags, or where the program does), and the widget's own id then still
// names the old one.
Window windowOf(const QWidget* widget);

} // namespace x11wm
#endif
