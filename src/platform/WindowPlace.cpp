#include "platform/WindowPlace.h"

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QDeadlineTimer>
#include <QEvent>
#include <QMargins>
#include <QMoveEvent>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

// Named before Xlib comes in, which takes the word for a macro of its own.
constexpr QEvent::Type kExposeEvent = QEvent::Expose;

#include "platform/X11WindowManager.h"
#ifdef VELTRA_HAVE_X11
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <xcb/xcb.h>
#endif

namespace {

bool onX11() { return QGuiApplication::platformName() == QLatin1String("xcb"); }

// ---- what the window manager says about frames ------------------------------------------------

#ifdef VELTRA_HAVE_X11
// The 32-bit items of a property (empty when it is missing or of another kind).
std::vector<unsigned long> items(Display* d, Window w, const char* property, Atom type, long most)
{
    Atom actual = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::vector<unsigned long> out;
    if (XGetWindowProperty(d, w, XInternAtom(d, property, False), 0, most, False, type, &actual, &format, &count, &after, &data)
            == Success
        && data && format == 32) {
        const auto* values = reinterpret_cast<const unsigned long*>(data);
        out.assign(values, values + count);
    }
    if (data) XFree(data);
    return out;
}

std::optional<QMargins> extentsOf(Display* d, Window w)
{
    const auto v = items(d, w, "_NET_FRAME_EXTENTS", XA_CARDINAL, 4);
    if (v.size() != 4) return std::nullopt;
    return QMargins(int(v[0]), int(v[2]), int(v[1]), int(v[3]));   // the property: left, right, top, bottom
}
#endif

// The states the window manager keeps for the window: those that take it out of the normal
// state (maximised either way, full screen, minimised).
constexpr const char* kOutOfNormalAtoms[] = {"_NET_WM_STATE_MAXIMIZED_VERT", "_NET_WM_STATE_MAXIMIZED_HORZ",
                                        "_NET_WM_STATE_FULLSCREEN", "_NET_WM_STATE_HIDDEN"};

bool outOfNormalOnX(QWidget* window)
{
#ifdef VELTRA_HAVE_X11
    Display* d = x11wm::display();
    const Window w = x11wm::windowOf(window);
    if (!d || !w) return false;
    for (unsigned long a : items(d, w, "_NET_WM_STATE", XA_ATOM, 64))
        for (const char* name : kOutOfNormalAtoms)
            if (a == XInternAtom(d, name, False)) return true;
#else
    (void)window;
#endif
    return false;
}

// The window's own X window is on the screen (also one minimised, for some window managers).
bool viewableOnX(QWidget* window)
{
#ifdef VELTRA_HAVE_X11
    Display* d = x11wm::display();
    const Window w = x11wm::windowOf(window);
    XWindowAttributes a;
    return d && w && XGetWindowAttributes(d, w, &a) && a.map_state == IsViewable;
#else
    (void)window;
    return false;
#endif
}

// The frame the window manager put around the window (it says so while it manages it).
std::optional<QMargins> givenFrame(QWidget* window)
{
#ifdef VELTRA_HAVE_X11
    Display* d = x11wm::display();
    if (const Window w = x11wm::windowOf(window); d && w) return extentsOf(d, w);
#else
    (void)window;
#endif
    return std::nullopt;
}

// The frame the window manager will put around the window, asked before it is mapped; only
// some window managers answer.
std::optional<QMargins> askedFrame(QWidget* window)
{
#ifdef VELTRA_HAVE_X11
    Display* d = x11wm::display();
    const Window w = x11wm::windowOf(window);
    if (!d || !w) return std::nullopt;
    const auto supported = items(d, DefaultRootWindow(d), "_NET_SUPPORTED", XA_ATOM, 4096);
    if (std::find(supported.begin(), supported.end(), XInternAtom(d, "_NET_REQUEST_FRAME_EXTENTS", False)) == supported.end())
        return std::nullopt;
    // Asked afresh: what an earlier mapping left may be of other decorations.
    XDeleteProperty(d, w, XInternAtom(d, "_NET_FRAME_EXTENTS", False));
    x11wm::ask(d, w, "_NET_REQUEST_FRAME_EXTENTS", {});
    // The answer comes at once; a window manager that hangs leaves the window to the check below.
    QDeadlineTimer deadline(500);
    while (!deadline.hasExpired()) {
        if (const std::optional<QMargins> m = extentsOf(d, w)) return m;
        QThread::msleep(2);
    }
#else
    (void)window;
#endif
    return std::nullopt;
}

// The frame last seen around a window of the program: a window manager frames its windows alike.
std::optional<QMargins>& lastFrame()
{
    static std::optional<QMargins> frame;
    return frame;
}

// Shown on the screen: Qt counts a window as visible a moment before it maps it.
bool mapped(const QWidget* w) { return w->windowHandle() && w->windowHandle()->isVisible(); }

bool framed(const QWidget* w)
{
    const Qt::WindowType type = w->windowType();
    return w->isWindow() && type != Qt::Popup && type != Qt::ToolTip && type != Qt::SplashScreen
           && !w->windowFlags().testFlag(Qt::FramelessWindowHint);
}

std::optional<QMargins> likelyFrame(QWidget* window)
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w == window || !w->isVisible() || !framed(w)) continue;
        if (const std::optional<QMargins> m = givenFrame(w)) return lastFrame() = m;
    }
    return lastFrame();
}

// ---- placing ------------------------------------------------------------------------------------

// Puts the window's client area at `client`, as a place of the client area. The widget's own
// move is used, so that its geometry and its native window's agree when it is shown; it takes
// a place that way (not as the frame's) only when the place differs from the one it has.
void standAt(QWidget* window, QPoint client)
{
    const QPoint frameOffset = window->geometry().topLeft() - window->pos();   // as move() counts it
    if (window->geometry().topLeft() == client) window->move(client + QPoint(1, 0) - frameOffset);
    window->move(client - frameOffset);
}

// The client area's place that puts the frame's bottom-right corner at `corner`.
QPoint cornerPlace(const QWidget* window, QPoint corner, const QMargins& frame)
{
    return corner - QPoint(frame.right() + window->width(), frame.bottom() + window->height());
}

// Once the window manager has framed the window, a frame other than the one it was placed for
// moves it (a window manager that says nothing before mapping).
void checkWhenFramed(QWidget* window, QPoint corner, QMargins used, int tries = 40)
{
    QTimer::singleShot(25, window, [window, corner, used, tries] {
        if (!window->isVisible()) return;
        const std::optional<QMargins> frame = givenFrame(window);
        if (!frame) {
            if (tries > 1) checkWhenFramed(window, corner, used, tries - 1);
            return;
        }
        lastFrame() = frame;
        const QPoint place = cornerPlace(window, corner, *frame);
        if (*frame != used && window->geometry().topLeft() != place) standAt(window, place);
    });
}

// Qt learns a window's frame anew only when the window moves. A window the window manager frames
// where it already stood (one placed by its client area) would keep the frame Qt made out while
// it had none, and its place as the program reads and saves it would be off by the frame. The
// window manager's word on the frame is passed on as soon as it comes.
void heardState(QWidget* window);

class FrameWatch : public QAbstractNativeEventFilter {
public:
    static void install()
    {
        static FrameWatch* watch = nullptr;
        if (watch || !qApp) return;
        watch = new FrameWatch;
#ifdef VELTRA_HAVE_X11
        // Asked once: the filter sees every property change of the program's windows.
        if (Display* d = x11wm::display()) {
            watch->m_frameExtents = XInternAtom(d, "_NET_FRAME_EXTENTS", False);
            watch->m_state = XInternAtom(d, "_NET_WM_STATE", False);
        }
#endif
        qApp->installNativeEventFilter(watch);
    }

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override
    {
#ifdef VELTRA_HAVE_X11
        if (type != "xcb_generic_event_t") return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7f) != XCB_PROPERTY_NOTIFY) return false;
        const auto* change = reinterpret_cast<const xcb_property_notify_event_t*>(event);
        if (m_state && change->atom == m_state) {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (x11wm::windowOf(w) == Window(change->window)) heardState(w);
            return false;
        }
        // A frame taken away (the window is hidden) says nothing of the next one.
        if (!m_frameExtents || change->state != XCB_PROPERTY_NEW_VALUE || change->atom != m_frameExtents) return false;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (x11wm::windowOf(w) != Window(change->window)) continue;
            // After Qt has taken the change in: it then reads the frame again when asked.
            QTimer::singleShot(0, w, [w] {
                if (QWindow* handle = w->windowHandle()) {
                    QMoveEvent moved(handle->position(), handle->position());
                    QCoreApplication::sendEvent(handle, &moved);
                }
            });
        }
#else
        (void)type;
        (void)message;
#endif
        return false;
    }

private:
    unsigned long m_frameExtents = 0;
    unsigned long m_state = 0;
};

constexpr Qt::WindowStates kOutOfNormalStates = Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized;
Qt::WindowStates stateOf(const QWidget* w) { return w->windowState() & kOutOfNormalStates; }

// Maximised or full screen, as the window manager says while the window is on the screen.
// Qt counts a window in the state the program gave it at once, and reads the window manager's
// answer only when the answer comes: read after the user un-maximised the window again, it
// tells Qt nothing new, and the window would stay maximised for the program alone.
std::optional<Qt::WindowStates> stateOnScreen(const QWidget* w)
{
#ifdef VELTRA_HAVE_X11
    Display* d = x11wm::display();
    const Window x = x11wm::windowOf(w);
    XWindowAttributes a;
    if (!d || !x || !XGetWindowAttributes(d, x, &a) || a.map_state != IsViewable) return std::nullopt;
    bool vertical = false, horizontal = false, full = false;
    for (unsigned long atom : items(d, x, "_NET_WM_STATE", XA_ATOM, 64)) {
        vertical = vertical || atom == XInternAtom(d, "_NET_WM_STATE_MAXIMIZED_VERT", False);
        horizontal = horizontal || atom == XInternAtom(d, "_NET_WM_STATE_MAXIMIZED_HORZ", False);
        full = full || atom == XInternAtom(d, "_NET_WM_STATE_FULLSCREEN", False);
    }
    Qt::WindowStates state;
    state.setFlag(Qt::WindowMaximized, vertical && horizontal);
    state.setFlag(Qt::WindowFullScreen, full);
    return state;
#else
    (void)w;
    return std::nullopt;
#endif
}
// The state of a window as the user sees it.
Qt::WindowStates shownState(const QWidget* w)
{
    const Qt::WindowStates state = stateOf(w);
    if (state & Qt::WindowMinimized) return state;
    return stateOnScreen(w).value_or(state);
}
// Gives the window the state (maximised, full screen, minimised, or none of these) unless it has it.
void giveState(QWidget* w, Qt::WindowStates state)
{
    state &= kOutOfNormalStates;
    if (stateOf(w) != state) w->setWindowState((w->windowState() & ~kOutOfNormalStates) | state);
}
// Where the frame's corner stands, as x() and y() count it.
QPoint cornerOf(const QWidget* w) { return {w->x(), w->y()}; }

// Takes away what the X window may still carry of a state from before it was hidden: the window
// manager may have left its states there (some do), which Qt merges into those it maps the
// window with, and Qt's last word on it may have been iconic.
void clearLeftStates(QWidget* window)
{
#ifdef VELTRA_HAVE_X11
    Display* d = x11wm::display();
    const Window w = x11wm::windowOf(window);
    if (!d || !w) return;
    std::vector<unsigned long> states = items(d, w, "_NET_WM_STATE", XA_ATOM, 64);
    const auto dropped = [&](unsigned long a) {
        const auto is = [&](const char* name) { return a == XInternAtom(d, name, False); };
        return is("_NET_WM_STATE_HIDDEN") || is("_NET_WM_STATE_FULLSCREEN") || is("_NET_WM_STATE_MAXIMIZED_VERT")
               || is("_NET_WM_STATE_MAXIMIZED_HORZ");
    };
    const auto end = std::remove_if(states.begin(), states.end(), dropped);
    if (end != states.end()) {
        states.erase(end, states.end());
        XChangeProperty(d, w, XInternAtom(d, "_NET_WM_STATE", False), XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(states.data()), int(states.size()));
    }
    if (XWMHints* hints = XGetWMHints(d, w)) {
        if ((hints->flags & StateHint) && hints->initial_state == IconicState) {
            hints->initial_state = NormalState;
            XSetWMHints(d, w, hints);
        }
        XFree(hints);
    }
    XFlush(d);
#else
    (void)window;
#endif
}

// Qt takes a hidden window for minimised (it was when it was hidden): it would map the window
// so at its next showing, or, given another state, map it at once to take that away, before the
// window is placed. The window's native window is made anew, Qt's minimise left out, at its next
// showing; the program keeps the minimise meanwhile. Not while Qt shows the window: making its
// native window anew hides it.
void dropMinimise(QWidget* window)
{
    QWindow* handle = window->windowHandle();
    if (!window->isHidden() || !handle || !(handle->windowStates() & Qt::WindowMinimized)) return;
    const Qt::WindowStates state = handle->windowStates() & ~Qt::WindowMinimized;
    handle->destroy();
    handle->setWindowStates(state);
}

// What the program keeps of a window (its state and its place in the normal state), and what its
// next showing does, kept with the window.
class NextShow : public QObject {
public:
    explicit NextShow(QWidget* window) : QObject(window)
    {
        window->installEventFilter(this);
        FrameWatch::install();
    }

    static NextShow* find(const QWidget* window)
    {
        for (QObject* child : window->children())
            if (auto* found = dynamic_cast<NextShow*>(child)) return found;
        return nullptr;
    }
    static NextShow* of(QWidget* window)
    {
        if (NextShow* found = find(window)) return found;
        return new NextShow(window);
    }

    bool keepPlace = false;
    std::optional<QPoint> frameCorner;

    windowplace::Kept kept(const QWidget* window) const
    {
        if (!m_away) return {m_pending.value_or(shownState(window)), cornerOf(window), window->size()};
        // Placed by the program while hidden: there it comes back.
        if (window->geometry() != m_awayGeometry) return {m_state, cornerOf(window), window->size()};
        return {m_state, m_pos, m_size};
    }
    bool away() const { return m_away; }
    void setState(Qt::WindowStates state)
    {
        m_state = state & kOutOfNormalStates;
        m_minimisedByMark = false;
    }
    // The program's own minimised mark on a window it hid; `only` when the window was not
    // minimised before.
    void markMinimised(bool only)
    {
        m_state |= Qt::WindowMinimized;
        m_minimisedByMark = only;
    }
    void bringIn(Qt::WindowStates state) { m_bring = state & kOutOfNormalStates; }
    // The window manager changed the window's states: what it says now, while it shows the window.
    void heard(const QWidget* window)
    {
        if (m_away) return;
        if (const std::optional<Qt::WindowStates> now = stateOnScreen(window)) {
            m_onScreen = now;
            ++m_heard;
        }
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != parent()) {
            // The window is on the screen, in the window manager's hands: it now takes the state
            // it was brought back in.
            if (event->type() == kExposeEvent && m_pending && static_cast<QWindow*>(watched)->isExposed())
                QTimer::singleShot(0, this, [this] { applyPending(); });
            return false;
        }
        auto* window = static_cast<QWidget*>(watched);
        const QEvent::Type type = event->type();
        if (m_away) {
            // While the program holds it hidden, only the program changes what is kept.
            if (type == QEvent::WindowStateChange && !event->spontaneous()) setState(window->windowState());
            if ((type == QEvent::Move || type == QEvent::Resize) && event->spontaneous()) m_awayGeometry = window->geometry();
        } else if (type == QEvent::Move && event->spontaneous() && m_settleAt) {
            // The window manager's late word on the unmap before this showing (the client handed
            // back at its frame's place) would have it come back a title bar higher.
            const QPoint at = *std::exchange(m_settleAt, std::nullopt);
            if (window->geometry().topLeft() == at - m_frameOffset && !m_frameOffset.isNull()) standAt(window, at);
            else noteNormalPlaceSoon(window);
        } else if (type == QEvent::WindowStateChange && !event->spontaneous()) {
            m_askedAt = m_heard;
            noteRestore(window, static_cast<QWindowStateChangeEvent*>(event)->oldState());
            noteNormalPlaceSoon(window);
        } else if (type == QEvent::Move || type == QEvent::Resize || type == QEvent::WindowStateChange) {
            if (type == QEvent::WindowStateChange) {
                noteRestore(window, static_cast<QWindowStateChangeEvent*>(event)->oldState());
                m_askedAt.reset();
            } else {
                m_restoreDue = false;
            }
            // The window manager gave the state it is to be brought back in: nothing is left to ask.
            if (type == QEvent::WindowStateChange && event->spontaneous() && m_pending && (stateOf(window) & *m_pending) == *m_pending)
                m_pending.reset();
            noteNormalPlaceSoon(window);
        }
        // Sent once the window is unmapped, before the window manager's answer: the state, place
        // and size are still the ones the user saw. A window manager may hand the window back at
        // its frame's place, and Qt takes that for the client area's.
        if (type == QEvent::Hide && !event->spontaneous() && !m_away) {
            m_away = true;
            m_settleAt.reset();
            Qt::WindowStates state = m_pending.value_or(stateOf(window));
            // The window manager answered the program's last change, and changed the state
            // again since (the user did), before Qt read the first answer: Qt then heard nothing.
            if (!m_pending && m_askedAt && m_heard - *m_askedAt >= 2 && m_onScreen)
                state = (state & Qt::WindowMinimized) | *m_onScreen;
            setState(state);
            m_pending.reset();
            m_askedAt.reset();
            m_pos = cornerOf(window);
            m_size = window->size();
            m_awayGeometry = window->geometry();
            m_stood.reset();
            if (!(m_state & kOutOfNormalStates)) {
                // Un-maximised, and hidden before Qt took in the place and size the window
                // manager gave back: those are the ones it had before its maximise.
                if (!std::exchange(m_restoreDue, false) || !m_normal) {
                    m_normal = window->geometry();
                    m_normalFrameOffset = window->geometry().topLeft() - window->pos();
                }
                m_pos = m_normal->topLeft() - m_normalFrameOffset;
                m_size = m_normal->size();
                m_stood = m_normal->topLeft();
                m_frameOffset = m_normalFrameOffset;
            }
            if (framed(window))
                if (const std::optional<QMargins> m = givenFrame(window)) lastFrame() = m;
            QTimer::singleShot(0, this, [this, window] {
                if (m_away) dropMinimise(window);
            });
        }
        // Sent before the window is mapped, its native window made: a place and state set now
        // are the ones the window manager first sees.
        if (type == QEvent::Show && !event->spontaneous()) {
            const bool wasAway = m_away;
            comeBack(window);
            apply(window);
            m_settleAt.reset();
            if (wasAway && m_stood && !(window->windowState() & kOutOfNormalStates) && window->geometry().topLeft() == *m_stood)
                m_settleAt = m_stood;
        }
        return false;
    }

private:
    // The state and place the window is mapped in.
    void comeBack(QWidget* window)
    {
        const bool wasAway = std::exchange(m_away, false);
        const bool placedMeanwhile = wasAway && window->geometry() != m_awayGeometry;
        Qt::WindowStates state = stateOf(window);
        if (wasAway) state = m_minimisedByMark ? m_state & ~Qt::WindowMinimized : m_state;
        if (m_bring) state = *std::exchange(m_bring, std::nullopt);
        m_minimisedByMark = false;
        if (mapped(window)) return;

        // The place in the normal state: where the program put it meanwhile, else where it last
        // stood normal (one never shown normal has the place it was given before its maximise).
        std::optional<QRect> normal = placedMeanwhile ? std::optional<QRect>(window->geometry()) : m_normal;
        if (!normal && window->normalGeometry().isValid()) normal = window->normalGeometry();
        const Qt::WindowStates first = state & Qt::WindowMinimized;
        if (!(state & Qt::WindowMinimized)) clearLeftStates(window);
        giveState(window, first);
        // Qt maps the window in its native window's state, which the window manager may have left
        // other than the widget's.
        if (QWindow* handle = window->windowHandle(); handle && !(handle->windowStates() & Qt::WindowMinimized)
                                                      && (handle->windowStates() & kOutOfNormalStates) != first)
            handle->setWindowStates(first);
        if (normal && !(state & Qt::WindowMinimized) && (wasAway || (state & (Qt::WindowMaximized | Qt::WindowFullScreen)))
            && window->geometry() != *normal) {
            window->setGeometry(*normal);
            m_stood = normal->topLeft();
            m_frameOffset = m_normalFrameOffset;
        }
        if (state & (Qt::WindowMaximized | Qt::WindowFullScreen)) {
            m_pending = state;
            if (QWindow* handle = window->windowHandle()) handle->installEventFilter(this);
        }
    }

    void applyPending()
    {
        auto* window = static_cast<QWidget*>(parent());
        if (!m_pending || m_away || !window->windowHandle() || !window->windowHandle()->isExposed()) return;
        const Qt::WindowStates state = *std::exchange(m_pending, std::nullopt);
        giveState(window, state);
    }

    void apply(QWidget* window)
    {
        const bool keep = std::exchange(keepPlace, false);
        const std::optional<QPoint> corner = std::exchange(frameCorner, std::nullopt);
        if (window->windowState() & kOutOfNormalStates) return;
        // A window without a frame by its own wish gets none (a window manager's estimate
        // before mapping may not know that wish).
        if (corner && framed(window)) {
            std::optional<QMargins> frame = askedFrame(window);
            const bool sure = frame.has_value();
            if (!sure) frame = likelyFrame(window);
            const QMargins used = frame.value_or(QMargins());
            if (!used.isNull()) standAt(window, cornerPlace(window, *corner, used));
            if (!sure) checkWhenFramed(window, *corner, used);
            return;
        }
        // A window not shown since it was placed keeps the place it was given.
        if (!keep || !m_stood) return;
        QPoint place = window->geometry().topLeft();
        // Moved by the window manager alone while hidden, not by the program.
        if (place == *m_stood || place == *m_stood - m_frameOffset) place = *m_stood;
        standAt(window, place);
    }

    // The place and size in the normal state, noted once Qt has taken in all of a change: the
    // window manager's word on a maximise may come after the new size.
    void noteNormalPlaceSoon(QWidget* window)
    {
        if (std::exchange(m_noteDue, true)) return;
        QTimer::singleShot(0, this, [this, window] {
            m_noteDue = false;
            noteNormalPlace(window);
        });
    }
    // Taken out of maximised or full screen: until Qt has the place and size the window manager
    // gives back, its geometry is still the one of the state the window left.
    void noteRestore(const QWidget* window, Qt::WindowStates old)
    {
        m_restoreDue = (old & (Qt::WindowMaximized | Qt::WindowFullScreen)) && !(stateOf(window) & kOutOfNormalStates) && m_normal
                       && window->geometry() != *m_normal;
    }
    void noteNormalPlace(QWidget* window)
    {
        if (m_restoreDue || m_away || !mapped(window) || (window->windowState() & kOutOfNormalStates) || outOfNormalOnX(window)) return;
        m_normal = window->geometry();
        m_normalFrameOffset = window->geometry().topLeft() - window->pos();
    }

    // Kept while the program holds the window hidden.
    bool m_away = false;
    Qt::WindowStates m_state;
    bool m_minimisedByMark = false;
    QPoint m_pos;
    QSize m_size;
    QRect m_awayGeometry;   // as the program left it, or the window manager's doing since

    std::optional<Qt::WindowStates> m_bring;     // the state bringBack asks of the next showing
    std::optional<Qt::WindowStates> m_pending;   // maximised or full screen once on the screen

    std::optional<Qt::WindowStates> m_onScreen;   // the window manager's last word while it showed the window
    int m_heard = 0;                              // how many words it said
    std::optional<int> m_askedAt;                 // when the program last changed the state, unanswered to Qt

    std::optional<QPoint> m_stood;   // the client area's place when last hidden
    std::optional<QPoint> m_settleAt;   // where a window just shown again stands, until the window manager's first move
    QPoint m_frameOffset;
    std::optional<QRect> m_normal;   // the client area in the normal state, last seen
    bool m_restoreDue = false;       // un-maximised, the normal place and size not yet heard
    QPoint m_normalFrameOffset;
    bool m_noteDue = false;
};

void heardState(QWidget* window)
{
    if (NextShow* next = NextShow::find(window)) next->heard(window);
}

} // namespace

namespace windowplace {

void followPlace(QWidget* window)
{
    if (window && onX11()) NextShow::of(window);
}

Kept kept(const QWidget* window)
{
    if (!window) return {};
    if (const NextShow* next = NextShow::find(window)) return next->kept(window);
    return {stateOf(window), cornerOf(window), window->size()};
}

void hideMinimised(QWidget* window)
{
    if (!window) return;
    const bool minimised = window->isMinimized();
    window->hide();
    if (!minimised) window->overrideWindowState(window->windowState() | Qt::WindowMinimized);
    if (NextShow* next = NextShow::find(window)) next->markMinimised(!minimised);
}

void raiseWithoutFocus(QWidget* window)
{
    if (!window || !window->isVisible()) return;
#ifdef VELTRA_HAVE_X11
    if (Display* d = x11wm::display(); const Window w = d ? x11wm::windowOf(window) : 0) {
        x11wm::ask(d, w, "_NET_RESTACK_WINDOW", {2, 0, Above});   // from a pager, above all
        return;
    }
#endif
    window->raise();
}

void minimise(QWidget* window)
{
    if (!window) return;
#ifdef VELTRA_HAVE_X11
    // The window manager alone is asked; it keeps the other states and says so, Qt follows.
    Display* d = x11wm::display();
    if (d && mapped(window) && !window->isMinimized() && (stateOf(window) & (Qt::WindowMaximized | Qt::WindowFullScreen))) {
        x11wm::ask(d, x11wm::windowOf(window), "WM_CHANGE_STATE", {IconicState});
        return;
    }
#endif
    window->showMinimized();
}

void bringBack(QWidget* window, Qt::WindowStates state)
{
    if (!window) return;
    NextShow* next = NextShow::find(window);
    if (next && window->isHidden()) {
        dropMinimise(window);
        next->bringIn(state);
        window->show();
        return;
    }
    // A window manager that keeps a minimised window mapped (mutter) takes no new mapping for the
    // way back, only an activation.
    const bool mappedWhileMinimised = window->isMinimized() && viewableOnX(window);
    giveState(window, state);
    window->show();
    if (mappedWhileMinimised && !(state & Qt::WindowMinimized)) window->activateWindow();
}

void setKeptState(QWidget* window, Qt::WindowStates state)
{
    if (!window) return;
    NextShow* next = NextShow::find(window);
    if (next && window->isHidden() && next->away()) {
        next->setState(state);
        return;
    }
    giveState(window, state);
}

void keepPlaceAtNextShow(QWidget* window)
{
    if (!window || !onX11()) return;
    NextShow::of(window)->keepPlace = true;
}

void putFrameCornerAtNextShow(QWidget* window, QPoint bottomRight)
{
    if (!window || !onX11()) return;
    NextShow::of(window)->frameCorner = bottomRight;
}

} // namespace windowplace
