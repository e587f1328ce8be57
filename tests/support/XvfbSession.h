#pragma once
// A private X server (Xvfb) for tests on a real display, and another X client that holds the
// input focus and types through XTEST.
#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QThread>

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
#include <X11/extensions/record.h>
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

// The presses of one key the X server sends to one program (the client of `window`), counted as
// they go out: the desktop's repeats of a held key are the server's own, so they are seen here
// and nowhere else, however late the program gets to them.
class KeyPresses {
public:
    KeyPresses(const QByteArray& display, Window window, KeyCode key)
        : m_control(XOpenDisplay(display.constData())), m_data(XOpenDisplay(display.constData())), m_key(key)
    {
        int major = 0, minor = 0;
        if (!m_control || !m_data || !XRecordQueryVersion(m_control, &major, &minor)) return;
        XRecordRange* range = XRecordAllocRange();
        if (!range) return;
        range->delivered_events.first = range->delivered_events.last = KeyPress;
        XRecordClientSpec client = window;   // the client that made it
        m_context = XRecordCreateContext(m_control, 0, &client, 1, &range, 1);
        XFree(range);
        XSync(m_control, False);
        if (!m_context || !XRecordEnableContextAsync(m_data, m_context, intercepted, reinterpret_cast<XPointer>(this))) return;
        // Counting from here on: the server says when it starts recording.
        for (int tries = 0; !m_started && tries < 1000; ++tries) {
            XRecordProcessReplies(m_data);
            if (!m_started) QThread::msleep(5);
        }
    }
    ~KeyPresses()
    {
        if (m_context) {
            XRecordDisableContext(m_control, m_context);
            XRecordFreeContext(m_control, m_context);
            XSync(m_control, False);
        }
        if (m_data) XCloseDisplay(m_data);
        if (m_control) XCloseDisplay(m_control);
    }
    KeyPresses(const KeyPresses&) = delete;
    KeyPresses& operator=(const KeyPresses&) = delete;

    bool usable() const { return m_started; }
    // Those sent so far: all up to a request of another client that the server has answered.
    int count()
    {
        if (m_started) XRecordProcessReplies(m_data);
        return m_count;
    }

private:
    static void intercepted(XPointer self, XRecordInterceptData* data)
    {
        auto* me = reinterpret_cast<KeyPresses*>(self);
        if (data->category == XRecordStartOfData) me->m_started = true;
        // An event as sent: its type, then its detail, the keycode.
        if (data->category == XRecordFromServer && data->data_len * 4 >= 32 && (data->data[0] & 0x7f) == KeyPress
            && data->data[1] == me->m_key)
            ++me->m_count;
        XRecordFreeData(data);
    }

    Display* m_control;
    Display* m_data;
    KeyCode m_key;
    XRecordContext m_context = 0;
    bool m_started = false;
    int m_count = 0;
};
#endif
