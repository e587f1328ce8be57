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
// The second press of a double click has come as a press already.
void ControlPiece::mouseDoubleClickEvent(QMouseEvent* e) { e->accept(); }
void ControlPiece::mouseMoveEvent(QMouseEvent* e) { m_owner->deliverMouse(this, e, m_pressed); }
void ControlPiece::mouseReleaseEvent(QMouseEvent* e) { m_owner->deliverMouse(this, e, m_pressed); }
