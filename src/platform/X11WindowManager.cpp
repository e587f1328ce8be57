#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

#include "platform/X11WindowManager.h"

#ifdef VELTRA_HAVE_X11
namespace x11wm {

Window windowOf(const QWidget* widget)
{
    const QWindow* handle = widget ? widget->windowHandle() : nullptr;
    return handle && handle->handle() ? Window(handle->winId()) : 0;
}

Display* display()
{
    auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->display() : nullptr;
}

void ask(Display* d, Window about, const char* message, std::initializer_list<long> data)
{
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = about;
    e.xclient.message_type = XInternAtom(d, message, False);
    e.xclient.format = 32;
    int i = 0;
    for (long value : data) e.xclient.data.l[i++] = value;
    XSendEvent(d, DefaultRootWindow(d), False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
    XFlush(d);
}

} // namespace x11wm
#endif
