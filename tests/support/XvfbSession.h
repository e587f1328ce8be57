#pragma once
// A private X server (Xvfb) for tests on a real display, and another X client that holds the
// input focus and types through XTEST.
#include <QByteArray>
#include <QProcess>
#include <QString>

#include "support/Xvfb.h"

#ifdef VELTRA_HAVE_X11
#include <X11/Xlib.h>

// What a window manager sends when the user closes a window.
inline void askToClose(Display* display, Window window)
{
    XEvent event {};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XSync(display, False);
}
#endif

#if defined(VELTRA_HAVE_X11) && defined(VELTRA_HAVE_XTEST)
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <X11/XF86keysym.h>
#define VELTRA_HAVE_XVFB_SESSION 1

// Another X client: owns a window with the input focus and types through XTEST.
class Typist {
public:
    explicit Typist(const QByteArray& display) : m_x(XOpenDisplay(display.constData())) {}
    ~Typist()
    {
        if (m_x) XCloseDisplay(m_x);
    }
    bool usable() const
    {
        int event, error, major, minor;
        return m_x && XTestQueryExtension(m_x, &event, &error, &major, &minor);
    }

    // Maps a window of its own and gives it the focus.
    Window takeFocus()
    {
        const Window root = DefaultRootWindow(m_x);
        const Window window = XCreateSimpleWindow(m_x, root, 0, 0, 100, 100, 0, 0, 0);
        XSelectInput(m_x, window, StructureNotifyMask);
        XMapWindow(m_x, window);
        XEvent event;
        do XWindowEvent(m_x, window, StructureNotifyMask, &event);
        while (event.type != MapNotify);
        XSetInputFocus(m_x, window, RevertToParent, CurrentTime);
        XSync(m_x, False);
        return window;
    }

    Window focus() const
    {
        Window window = 0;
        int revert = 0;
        XGetInputFocus(m_x, &window, &revert);
        return window;
    }

    // Gives a keycode that carries no keysym the one keysym given; returns it (0: none free).
    KeyCode mapSpareKeycode(KeySym keysym)
    {
        int minKeycode = 0, maxKeycode = 0, per = 0;
        XDisplayKeycodes(m_x, &minKeycode, &maxKeycode);
        KeySym* syms = XGetKeyboardMapping(m_x, KeyCode(minKeycode), maxKeycode - minKeycode + 1, &per);
        KeyCode spare = 0;
        for (int keycode = maxKeycode; keycode >= minKeycode && !spare; --keycode) {
            bool empty = true;
            for (int i = 0; i < per; ++i) empty = empty && syms[(keycode - minKeycode) * per + i] == NoSymbol;
            if (empty) spare = KeyCode(keycode);
        }
        XFree(syms);
        if (!spare) return 0;
        XChangeKeyboardMapping(m_x, spare, 1, &keysym, 1);
        XSync(m_x, False);
        return spare;
    }

    KeyCode keycode(KeySym keysym) const { return XKeysymToKeycode(m_x, keysym); }
    void down(KeySym keysym) { fake(keycode(keysym), true); }
    void up(KeySym keysym) { fake(keycode(keysym), false); }
    void tap(KeySym keysym)
    {
        down(keysym);
        up(keysym);
    }
    void fake(KeyCode keycode, bool down)
    {
        XTestFakeKeyEvent(m_x, keycode, down ? True : False, CurrentTime);
        XSync(m_x, False);
    }

private:
    Display* m_x;
};
#endif
