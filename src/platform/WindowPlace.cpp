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

#include "platform/X11WindowManager.h"
#ifdef VELTRA_HAVE_X11
#include <X11/Xatom.h>
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
constexpr const char* kOutOfNormal[] = {"_NET_WM_STATE_MAXIMIZED_VERT", "_NET_WM_STATE_MAXIMIZED_HORZ",
                                        "_NET_WM_STATE_FULLSCREEN", "_NET_WM_STATE_HIDDEN"};

bool outOfNormalOnX(QWidget* window)
{
#ifdef VELTRA_HAVE_X11
    Display* d = x11wm::display();
    if (!d || !window->windowHandle()) return false;
    for (unsigned long a : items(d, Window(window->winId()), "_NET_WM_STATE", XA_ATOM, 64))
        for (const char* name : kOutOfNormal)
            if (a == XInternAtom(d, name, False)) return true;
#else
    (void)window;
#endif
    return false;
}

// The frame the window manager put around the window (it says so while it manages it).
std::optional<QMargins> givenFrame(QWidget* window)
{
#ifdef VELTRA_HAVE_X11
    Display* d = x11wm::display();
    if (d && window->windowHandle()) return extentsOf(d, Window(window->winId()));
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
    if (!d || !window->windowHandle()) return std::nullopt;
    const auto supported = items(d, DefaultRootWindow(d), "_NET_SUPPORTED", XA_ATOM, 4096);
    if (std::find(supported.begin(), supported.end(), XInternAtom(d, "_NET_REQUEST_FRAME_EXTENTS", False)) == supported.end())
        return std::nullopt;
    const Window w = Window(window->winId());
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
class FrameWatch : public QAbstractNativeEventFilter {
public:
    static void install()
    {
        static FrameWatch* watch = nullptr;
        if (watch || !qApp) return;
        watch = new FrameWatch;
#ifdef VELTRA_HAVE_X11
        // Asked once: the filter sees every property change of the program's windows.
        if (Display* d = x11wm::display()) watch->m_frameExtents = XInternAtom(d, "_NET_FRAME_EXTENTS", False);
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
        // A frame taken away (the window is hidden) says nothing of the next one.
        if (!m_frameExtents || change->state != XCB_PROPERTY_NEW_VALUE || change->atom != m_frameExtents) return false;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->internalWinId() != WId(change->window)) continue;
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
};

// What a window's next showing does, and where the window stood when it was last hidden, kept
// with the window.
class NextShow : public QObject {
public:
    explicit NextShow(QWidget* window) : QObject(window)
    {
        window->installEventFilter(this);
        FrameWatch::install();
    }

    static NextShow* of(QWidget* window)
    {
        for (QObject* child : window->children())
            if (auto* found = dynamic_cast<NextShow*>(child)) return found;
        return new NextShow(window);
    }

    bool keepPlace = false;
    std::optional<QPoint> frameCorner;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != parent()) return false;
        auto* window = static_cast<QWidget*>(watched);
        if (event->type() == QEvent::Move || event->type() == QEvent::Resize || event->type() == QEvent::WindowStateChange)
            noteNormalPlaceSoon(window);
        // Sent once the window is unmapped, before the window manager's answer: the place is
        // still the one the user saw. A window manager may hand the window back at its
        // frame's place, and Qt takes that for the client area's.
        if (event->type() == QEvent::Hide) {
            m_hiddenOutOfNormal = window->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen);
            m_hiddenGeometry = window->geometry();
            m_stood.reset();
            if (!(window->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))) {
                m_stood = window->geometry().topLeft();
                m_frameOffset = window->geometry().topLeft() - window->pos();
            }
            if (framed(window))
                if (const std::optional<QMargins> m = givenFrame(window)) lastFrame() = m;
        }
        // Sent before the window is mapped, its native window made: a place set now is the one
        // the window manager first sees.
        if (event->type() == QEvent::Show && !event->spontaneous()) {
            takeNormalPlace(window);
            apply(window);
        }
        return false;
    }

private:
    void apply(QWidget* window)
    {
        const bool keep = std::exchange(keepPlace, false);
        const std::optional<QPoint> corner = std::exchange(frameCorner, std::nullopt);
        if (window->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized)) return;
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

    // A window hidden while maximised or full screen takes its normal place and size again
    // before it is mapped, unless the program placed it meanwhile; its maximised state, which
    // a new geometry takes away from the widget, stays as it was.
    void takeNormalPlace(QWidget* window)
    {
        if (!std::exchange(m_hiddenOutOfNormal, false) || mapped(window)) return;
        if (!m_normal || window->geometry() != m_hiddenGeometry) return;
        const Qt::WindowStates state = window->windowState();
        window->setGeometry(*m_normal);
        if (window->windowState() != state) window->overrideWindowState(state);
        m_stood = m_normal->topLeft();
        m_frameOffset = m_normalFrameOffset;
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
    void noteNormalPlace(QWidget* window)
    {
        if (!mapped(window) || (window->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized))
            || outOfNormalOnX(window))
            return;
        m_normal = window->geometry();
        m_normalFrameOffset = window->geometry().topLeft() - window->pos();
    }

    std::optional<QPoint> m_stood;   // the client area's place when last hidden
    QPoint m_frameOffset;
    std::optional<QRect> m_normal;   // the client area in the normal state, last seen
    QPoint m_normalFrameOffset;
    bool m_noteDue = false;
    bool m_hiddenOutOfNormal = false;   // hidden while maximised or full screen
    QRect m_hiddenGeometry;
};

} // namespace

namespace windowplace {

void followPlace(QWidget* window)
{
    if (window && onX11()) NextShow::of(window);
}

void hideMinimised(QWidget* window)
{
    if (!window) return;
    window->hide();
    if (!window->isMinimized()) window->overrideWindowState(window->windowState() | Qt::WindowMinimized);
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
