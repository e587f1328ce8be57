#include "platform/HeldKeys.h"

#include "platform/KeyStateSource.h"

#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
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

bool isMovingKey(int key)
{
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End: return true;
    default: return false;
    }
}

// 0: not a place to type; 1: a one-line field (Return answers its window); 2: a text of lines.
int textField(const QWidget* w)
{
    if (const auto* e = qobject_cast<const QLineEdit*>(w)) return e->isReadOnly() ? 0 : 1;
    if (const auto* e = qobject_cast<const QAbstractSpinBox*>(w)) return e->isReadOnly() ? 0 : 1;
    if (const auto* e = qobject_cast<const QPlainTextEdit*>(w)) return e->isReadOnly() ? 0 : 2;
    if (const auto* e = qobject_cast<const QTextEdit*>(w)) return e->isReadOnly() ? 0 : 2;
    return 0;
}

// What a held key's repeats may still do: type and edit in a text field, move through a list,
// a text or a menu. Everything else would run a command again.
bool mayRepeat(const QKeyEvent& k)
{
    const int key = k.key();
    if (isModifierKey(key)) return true;
    if (k.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
    if (QApplication::activePopupWidget()) return isMovingKey(key);
    QWidget* focus = QApplication::focusWidget();
    if (const int field = textField(focus)) {
        if (key == Qt::Key_Escape) return false;
        if (key == Qt::Key_Return || key == Qt::Key_Enter) return field == 2;
        return true;
    }
    return isMovingKey(key) && qobject_cast<QAbstractScrollArea*>(focus);
}

} // namespace

HeldKeys::HeldKeys(std::shared_ptr<KeyStateSource> desktop) : m_desktop(std::move(desktop))
{
    if (QCoreApplication* app = QCoreApplication::instance()) app->installEventFilter(this);
}

HeldKeys::~HeldKeys()
{
    if (QCoreApplication* app = QCoreApplication::instance()) app->removeEventFilter(this);
}

std::shared_ptr<KeyStateSource> HeldKeys::desktopKeyboard()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return nullptr;
    return keystate::createForQueries();
}

bool HeldKeys::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        // A key event reaches its window first, then the widget with the focus: it is
        // judged once, at the window.
        if (watched->isWindowType() && event->spontaneous()) return swallowed(static_cast<QKeyEvent*>(event));
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

bool HeldKeys::swallowed(QKeyEvent* event)
{
    const quint32 key = keyOf(*event);
    if (event->type() == QEvent::KeyRelease) {
        // The desktop repeats a key by letting it go and pressing it again at once: such a
        // release leaves the key held, also one pressed before the program had the focus.
        if (event->isAutoRepeat()) {
            m_held.insert(key);
        } else {
            m_held.erase(key);
            m_lastRelease = {key, event->timestamp()};
        }
        if (m_overridden == key) m_overridden = 0;
        return false;
    }
    // The shortcut check comes first and its press after it (unless a shortcut took the key):
    // both are the one press. Qt's own repeat mark on a press is not relied on: it outlives a
    // release that went to another program. Its mark on a release is missing when the press
    // after it had not come in yet; that press has the release's time.
    bool held = m_held.count(key) != 0
                || (event->timestamp() != 0 && m_lastRelease == std::pair{key, event->timestamp()});
    if (event->type() == QEvent::ShortcutOverride) {
        m_overridden = held ? 0 : key;
    } else {
        if (m_overridden == key) held = false;
        m_overridden = 0;
    }
    m_held.insert(key);
    if (!held || mayRepeat(*event)) return false;
    event->accept();   // a shortcut check accepted runs no shortcut
    return true;
}

void HeldKeys::askAnew()
{
    if (m_held.empty()) return;
    const std::optional<std::bitset<256>> down = m_desktop ? m_desktop->nativeKeysDown() : std::nullopt;
    for (auto it = m_held.begin(); it != m_held.end();) {
        const bool stillDown = down && *it < down->size() && down->test(*it);
        it = stillDown ? std::next(it) : m_held.erase(it);
    }
}
