#include "controls/ControlPiece.h"

#include "controls/SkinnedControl.h"

#include <QMouseEvent>
#include <QPainter>

ControlPiece::ControlPiece(SkinnedControl* owner, const QString& name)
    : QWidget(owner), m_owner(owner)
{
    setObjectName(name);
    setMouseTracking(true);
}

void ControlPiece::paintEvent(QPaintEvent*)
{
    if (!paint) return;
    QPainter p(this);
    paint(p);
}

void ControlPiece::mousePressEvent(QMouseEvent* e) { m_owner->deliverMouse(this, e, m_pressed); }
// Qt delivers the second press of a double click as this event alone (press, release,
// double click, release), so it is the second press: two clicks make two Clicks.
void ControlPiece::mouseDoubleClickEvent(QMouseEvent* e) { m_owner->deliverMouse(this, e, m_pressed); }
void ControlPiece::mouseMoveEvent(QMouseEvent* e) { m_owner->deliverMouse(this, e, m_pressed); }
void ControlPiece::mouseReleaseEvent(QMouseEvent* e) { m_owner->deliverMouse(this, e, m_pressed); }
