#pragma once
// Synthetic mouse input and event recording for the skinned-control tests.
#include "controls/SkinnedControl.h"

#include <QCoreApplication>
#include <QImage>
#include <QMouseEvent>
#include <QStringList>
#include <QWidget>
#include <QWindow>

#include <ostream>

// Readable QString values in test failure messages.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace controltest {

// Sends a mouse event to the window holding `target`, at `local` in target's pixels, so
// that Qt picks the piece under the point and keeps the press grab, as with a real mouse.
inline void mouse(QWidget* target, QEvent::Type type, QPoint local, Qt::MouseButton button,
                  Qt::MouseButtons buttons, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QWidget* top = target->window();
    if (!top->isVisible()) top->show();
    const QPointF inWindow = target->mapTo(top, QPointF(local));
    const QPointF global = target->mapToGlobal(QPointF(local));
    QMouseEvent ev(type, inWindow, inWindow, global, button, buttons, mods);
    QCoreApplication::sendEvent(top->windowHandle(), &ev);
}

inline void press(QWidget* w, QPoint p, Qt::MouseButton b = Qt::LeftButton,
                  Qt::MouseButtons held = Qt::NoButton, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    mouse(w, QEvent::MouseButtonPress, p, b, held | b, mods);
}
inline void move(QWidget* w, QPoint p, Qt::MouseButtons held = Qt::LeftButton)
{
    mouse(w, QEvent::MouseMove, p, Qt::NoButton, held);
}
inline void release(QWidget* w, QPoint p, Qt::MouseButton b = Qt::LeftButton,
                    Qt::MouseButtons stillHeld = Qt::NoButton)
{
    mouse(w, QEvent::MouseButtonRelease, p, b, stillHeld);
}
inline void click(QWidget* w, QPoint p, Qt::MouseButton b = Qt::LeftButton)
{
    press(w, p, b);
    release(w, p, b);
}

// Records the events of a control as lines such as "MouseDown 1 0 150 75".
template <class C>
void recordMouse(C* c, QStringList& log)
{
    auto line = [&log](const char* name) {
        return [&log, name](short b, short s, float x, float y) {
            log << QStringLiteral("%1 %2 %3 %4 %5").arg(QLatin1String(name)).arg(b).arg(s).arg(x).arg(y);
        };
    };
    QObject::connect(c, &C::MouseDown, c, line("MouseDown"));
    QObject::connect(c, &C::MouseMove, c, line("MouseMove"));
    QObject::connect(c, &C::MouseUp, c, line("MouseUp"));
}

template <class C>
void recordClick(C* c, QStringList& log)
{
    QObject::connect(c, &C::Click, c, [&log] { log << QStringLiteral("Click"); });
}

inline void recordChanges(SkinnedControl* c, QStringList& log)
{
    QObject::connect(c, &SkinnedControl::propertyChanged, c,
                     [&log](const QString& key) { log << key; });
}

// Event names only ("MouseDown", "Click" …).
inline QStringList names(const QStringList& log)
{
    QStringList out;
    for (const QString& l : log) out << l.section(u' ', 0, 0);
    return out;
}

inline QImage image(QWidget* w) { return w->grab().toImage().convertToFormat(QImage::Format_RGB32); }

inline QRgb rgbOf(OleColour c) { return syscolour::toQColor(c).rgb() | 0xFF000000u; }

} // namespace controltest
