#include "platform/HeldKeys.h"

#include "platform/KeyStateSource.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>

namespace {

// Keycodes from the desktop are below 256; a key without one is known by Qt's key code.
constexpr quint32 kByQtKey = 0x80000000u;

quint32 keyOf(const QKeyEvent& k)
{
    return k.nativeScanCode() != 0 ? k.nativeScanCode() : kByQtKey | quint32(k.key());
}

bool isModifierKey(int key)
{
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock: return true;
    default: return false;
    }
}

} // namespace

HeldKeys::HeldKeys(std::shared_ptr<KeyStateSource> desktop) : m_desktop(std::move(desktop))
{
    if (QCoreApplication* app = QCoreApplication::instance()) app->installEventFilter(this);
    m_ask = new QTimer(this);
    m_ask->setInterval(100);
    connect(m_ask, &QTimer::timeout, this, [this] { askAnew(true); });
}

HeldKeys::~HeldKeys()
{
    if (QCoreApplication* app = QCoreApplication::instance()) app->removeEventFilter(this);
}

std::shared_ptr<KeyStateSource> HeldKeys::desktopKeyboard()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return nullptr;
    return keystate::create();
}

bool HeldKeys::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        // A key event reaches its window first, then the widget with the focus: it is
        // judged once, at the window.
        if (watched->isWindowType() && event->spontaneous()) {
            const bool taken = swallowed(watched, static_cast<QKeyEvent*>(event));
            if (m_desktop && !m_held.empty() && !m_ask->isActive()) m_ask->start();
            return taken;
        }
        return false;
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
        if (watched->isWidgetType() && static_cast<QWidget*>(watched)->isWindow()) askAnew();
        return false;
    case QEvent::ApplicationStateChange:
        askAnew();
        return false;
    default: return false;
    }
}

bool HeldKeys::swallowed(QObject* window, QKeyEvent* event)
{
    const quint32 key = keyOf(*event);
    m_heard.insert(key);
    if (event->type() == QEvent::KeyRelease) {
        // The desktop repeats a key by letting it go and pressing it again at once: such a
        // release leaves the key held. One pressed before the program had the focus is
        // first seen so, and its press went to no window of ours.
        if (event->isAutoRepeat()) {
            m_held.try_emplace(key);
        } else {
            const auto held = m_held.find(key);
            m_lastRelease = {key, event->timestamp(), held != m_held.end() ? held->second : nullptr};
            if (held != m_held.end()) m_held.erase(held);
        }
        return false;
    }
    // A shortcut check and the press after it (unless a shortcut took the key) are one press
    // and go to one window. Qt's own repeat mark on a press is not relied on: it outlives a
    // release that went to another program. Its mark on a release is missing when the press
    // after it had not come in yet; that press has the release's time.
    auto held = m_held.find(key);
    if (held == m_held.end() && event->timestamp() != 0 && m_lastRelease.key == key && m_lastRelease.time == event->timestamp())
        held = m_held.emplace(key, m_lastRelease.window).first;
    const bool modifier = isModifierKey(event->key());
    // The desktop repeats only the key pressed last: a key pressed again after another one is
    // pressed anew, even where its release went unseen (its window closed on the press).
    const bool pressedLast = m_lastPressed == key;
    if (!modifier) m_lastPressed = key;
    if (held != m_held.end() && !modifier && !pressedLast) {
        held->second = window;
        return false;
    }
    if (held == m_held.end()) {
        m_held.emplace(key, window);
        return false;
    }
    if (modifier || held->second == window) return false;
    // The key went down anew, by the desktop's word, though no release came in between: it
    // went to the window the first press closed, or was lost. A press of its own, here.
    if (wentDownAnew(key, *event)) {
        held->second = window;
        return false;
    }
    event->accept();   // a shortcut check accepted runs no shortcut
    return true;
}

bool HeldKeys::wentDownAnew(quint32 key, const QKeyEvent& event) const
{
    if (!m_desktop || key >= 256 || event.timestamp() == 0) return false;
    return m_desktop->nativeKeyWentDownAt(int(key), event.timestamp()).value_or(false);
}

void HeldKeys::askAnew(bool quietOnly)
{
    if (m_held.empty()) {
        m_ask->stop();
        m_heard.clear();
        return;
    }
    const std::optional<std::bitset<256>> down = m_desktop ? m_desktop->nativeKeysDown() : std::nullopt;
    // A key still heard from since the last look may have events of its own waiting behind the
    // desktop's answer (the repeats of a key let go a moment ago): it is asked about next time.
    const std::set<quint32> heard = std::exchange(m_heard, {});
    for (auto it = m_held.begin(); it != m_held.end();) {
        const bool stillDown = (quietOnly && heard.count(it->first)) || (down && it->first < down->size() && down->test(it->first));
        it = stillDown ? std::next(it) : m_held.erase(it);
    }
}
