#include "controls/SkinnedControl.h"

#include "common/modVB.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

namespace {
const QString kEnabled = QStringLiteral("Enabled");
}

SkinnedControl::SkinnedControl(QWidget* parent) : QWidget(parent)
{
    // The controls report every move, also with no button held.
    setMouseTracking(true);
}

const QList<SkinnedControl::Property>& SkinnedControl::properties() const
{
    static const QList<Property> none;
    return none;
}

QStringList SkinnedControl::propertyNames() const
{
    QStringList names;
    for (const Property& p : properties()) names.append(p.name);
    return names;
}

QVariant SkinnedControl::propertyFromLast(int position) const
{
    const auto& table = properties();
    const int i = int(table.size()) - 1 - position;
    if (position < 0 || i < 0) return {};
    return table.at(i).get(*this);
}

bool SkinnedControl::setPropertyFromLast(int position, const QVariant& value)
{
    const auto& table = properties();
    const int i = int(table.size()) - 1 - position;
    if (position < 0 || i < 0) return false;
    table.at(i).set(*this, value);
    return true;
}

SkinnedControl::Property SkinnedControl::enabledProperty()
{
    return {kEnabled, [](const SkinnedControl& c) { return QVariant(c.Enabled()); },
            [](SkinnedControl& c, const QVariant& v) { c.setEnabled(v.toBool()); }};
}

void SkinnedControl::ReadProperties(PropertyBag&) {}
void SkinnedControl::WriteProperties(PropertyBag&) const {}

void SkinnedControl::readEnabled(PropertyBag& PropBag)
{
    setEnabled(PropBag.ReadProperty(kEnabled, true).toBool());
}

void SkinnedControl::writeEnabled(PropertyBag& PropBag) const
{
    PropBag.WriteProperty(kEnabled, Enabled(), true);
}

OleColour SkinnedControl::readColour(PropertyBag& PropBag, const QString& key, OleColour defaultColour)
{
    return syscolour::fromVariant(PropBag.ReadProperty(key, defaultColour), defaultColour);
}

QPixmap SkinnedControl::readPicture(PropertyBag& PropBag, const QString& key)
{
    const QVariant v = PropBag.ReadProperty(key, QPixmap());
    return v.canConvert<QPixmap>() ? v.value<QPixmap>() : QPixmap();
}

void SkinnedControl::setEnabled(bool enabled)
{
    QWidget::setEnabled(enabled);
    syncEnabled();
}

void SkinnedControl::syncEnabled()
{
    // Follows QWidget::setEnabled from any caller; a disabled parent leaves the own state.
    const bool own = !testAttribute(Qt::WA_ForceDisabled);
    if (own == m_enabled) return;
    m_enabled = own;
    onEnabledChanged();
    PropertyChanged(kEnabled);
}

void SkinnedControl::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange) syncEnabled();
    QWidget::changeEvent(event);
}

double SkinnedControl::ScaleWidth() const { return width() * double(vb::TwipsPerPixel); }
double SkinnedControl::ScaleHeight() const { return height() * double(vb::TwipsPerPixel); }

void SkinnedControl::PropertyChanged(const QString& key)
{
    if (!m_reading) emit propertyChanged(key);
}

static short vbButtons(Qt::MouseButtons buttons)
{
    short b = 0;
    if (buttons & Qt::LeftButton) b |= 1;
    if (buttons & Qt::RightButton) b |= 2;
    if (buttons & Qt::MiddleButton) b |= 4;
    return b;
}

MouseArgs SkinnedControl::mouseArgs(const QMouseEvent* event)
{
    MouseArgs a;
    // A press reports every button held with it; a release the released button and any
    // still held; a move the buttons held.
    if (event->type() == QEvent::MouseButtonRelease)
        a.Button = vbButtons(event->buttons() | event->button());
    else
        a.Button = vbButtons(event->buttons());
    const Qt::KeyboardModifiers m = event->modifiers();
    if (m & Qt::ShiftModifier) a.Shift |= 1;
    if (m & Qt::ControlModifier) a.Shift |= 2;
    if (m & Qt::AltModifier) a.Shift |= 4;
    a.X = float(event->position().x() * vb::TwipsPerPixel);
    a.Y = float(event->position().y() * vb::TwipsPerPixel);
    return a;
}

void SkinnedControl::deliverMouse(QWidget* piece, QMouseEvent* event, bool& pressed)
{
    event->accept();
    const MouseArgs args = mouseArgs(event);
    QPointer<QWidget> guard(piece);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:   // the second press of a double click
        pressed = true;
        onMouse(piece, MouseKind::Down, args);
        break;
    case QEvent::MouseMove:
        onMouse(piece, MouseKind::Move, args);
        break;
    case QEvent::MouseButtonRelease: {
        const bool click = pressed && event->buttons() == Qt::NoButton
            && piece->rect().contains(event->position().toPoint());
        if (event->buttons() == Qt::NoButton) pressed = false;
        onMouse(piece, MouseKind::Up, args);
        // The host may have closed the window in its MouseUp handler.
        if (click && guard) onClick(piece);
        break;
    }
    default:
        break;
    }
}

void SkinnedControl::onMouse(QWidget*, MouseKind, const MouseArgs&) {}
void SkinnedControl::onClick(QWidget*) {}

bool SkinnedControl::passedOnByChild(QMouseEvent* event) const
{
    // A child control that ignores the mouse hands its events on to us; they are the
    // child's, not the surface's. Once the surface holds the press, all are ours.
    const bool press = event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick;
    if (!press && m_surfacePressed) return false;
    return childAt(event->position().toPoint()) != nullptr;
}

void SkinnedControl::surfaceMouse(QMouseEvent* event)
{
    if (passedOnByChild(event)) {
        event->accept();
        return;
    }
    deliverMouse(this, event, m_surfacePressed);
}

void SkinnedControl::mousePressEvent(QMouseEvent* e) { surfaceMouse(e); }
// Qt delivers the second press of a double click as this event alone (press, release,
// double click, release), so it is handled as that press.
void SkinnedControl::mouseDoubleClickEvent(QMouseEvent* e) { surfaceMouse(e); }
void SkinnedControl::mouseMoveEvent(QMouseEvent* e) { surfaceMouse(e); }
void SkinnedControl::mouseReleaseEvent(QMouseEvent* e) { surfaceMouse(e); }

int SkinnedControl::toPixels(double units, double pixelsPerUnit)
{
    const double px = vb::Round(units * pixelsPerUnit);
    if (px > 1e6) return 1000000;
    if (px < -1e6) return -1000000;
    return int(px);
}

void SkinnedControl::drawLine(QPainter& painter, const ControlLine& line, double pxX, double pxY)
{
    const int xa = toPixels(line.x1, pxX), ya = toPixels(line.y1, pxY);
    const int xb = toPixels(line.x2, pxX), yb = toPixels(line.y2, pxY);
    const QColor c = syscolour::toQColor(line.colour);
    if (ya == yb) {
        if (xb > xa) painter.fillRect(xa, ya, xb - xa, 1, c);
        else if (xa > xb) painter.fillRect(xb + 1, ya, xa - xb, 1, c);
    } else if (xa == xb) {
        if (yb > ya) painter.fillRect(xa, ya, 1, yb - ya, c);
        else painter.fillRect(xa, yb + 1, 1, ya - yb, c);
    } else {
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(QPen(c, 0));
        painter.drawLine(xa, ya, xb, yb);
        painter.restore();
    }
}

void SkinnedControl::drawOutline(QPainter& painter, OleColour colour, int x, int y, int w, int h)
{
    if (w <= 0 || h <= 0) return;
    const QColor c = syscolour::toQColor(colour);
    painter.fillRect(x, y, w, 1, c);
    painter.fillRect(x, y + h - 1, w, 1, c);
    painter.fillRect(x, y, 1, h, c);
    painter.fillRect(x + w - 1, y, 1, h, c);
}
