#include "platform/TaskbarEntry.h"

#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QVariant>
#include <QWidget>

#include "platform/X11WindowManager.h"

namespace {

const char* const kWish = "veltraTaskbarHidden";
const char* const kWatcher = "veltraTaskbarWatcher";

// A _NET_WM_STATE client message to the root window: the only way a window manager takes a
// state change of a mapped window.
void askWindowManager(QWidget* window, bool hidden)
{
#ifdef VELTRA_HAVE_X11
    if (!window || !window->isVisible()) return;
    Display* d = x11wm::display();
    const Window w = d ? x11wm::windowOf(window) : 0;
    if (!w) return;
    x11wm::ask(d, w, "_NET_WM_STATE",
               {hidden ? 1 : 0,   // add / remove
                long(XInternAtom(d, "_NET_WM_STATE_SKIP_TASKBAR", False)), long(XInternAtom(d, "_NET_WM_STATE_SKIP_PAGER", False)),
                1});              // asked by a normal program
#else
    (void)window;
    (void)hidden;
#endif
}

// Asks again after each showing: the show event comes before the window is mapped, so the
// request waits for the event loop.
class RemapWatcher : public QObject {
public:
    explicit RemapWatcher(QWidget* window) : QObject(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && watched == parent()) {
            QPointer<QWidget> window = static_cast<QWidget*>(watched);
            QTimer::singleShot(0, this, [window] {
                if (window && taskbarentry::isHidden(window)) askWindowManager(window, true);
            });
        }
        return false;
    }
};

} // namespace

namespace taskbarentry {

void setHidden(QWidget* window, bool hidden)
{
    if (!window) return;
    window->setProperty(kWish, hidden);
    if (!window->property(kWatcher).toBool()) {
        window->installEventFilter(new RemapWatcher(window));
        window->setProperty(kWatcher, true);
    }
    askWindowManager(window, hidden);
}

bool isHidden(const QWidget* window) { return window && window->property(kWish).toBool(); }

} // namespace taskbarentry
