#include "controls/FramedButton.h"

#include "common/modVB.h"
#include "controls/ControlPiece.h"

FramedButton::FramedButton(QWidget* parent, const QString& pieceName, const ControlLine& light,
                           const ControlLine& dark)
    : FramedControl(parent, light, dark), m_piece(new ControlPiece(this, pieceName))
{
}

void FramedButton::UserControl_Resize()
{
    const double W = ScaleWidth(), H = ScaleHeight();
    layOutFrame(W, H);
    const float pw = float(m_piece->width() * vb::TwipsPerPixel);
    const float ph = float(m_piece->height() * vb::TwipsPerPixel);
    m_pieceLeft = float(W) / 2 - pw / 2;
    m_pieceTop = float(H) / 2 - ph / 2;
    m_piece->move(toPixels(m_pieceLeft, 1.0 / vb::TwipsPerPixel),
                  toPixels(m_pieceTop, 1.0 / vb::TwipsPerPixel));
    update();
}

void FramedButton::resizeEvent(QResizeEvent*) { UserControl_Resize(); }

void FramedButton::UserControl_MouseDown(short Button, short Shift, float X, float Y)
{
    emit MouseDown(Button, Shift, X, Y);
    showPressedLook();
}

void FramedButton::UserControl_MouseMove(short Button, short Shift, float X, float Y)
{
    emit MouseMove(Button, Shift, X, Y);
}

void FramedButton::UserControl_MouseUp(short Button, short Shift, float X, float Y)
{
    emit MouseUp(Button, Shift, X, Y);
    showRaisedLook();
    m_lastButton = Button;
}

void FramedButton::UserControl_Click()
{
    if (m_lastButton == 1) emit Click();
}

void FramedButton::onMouse(QWidget*, MouseKind kind, const MouseArgs& a)
{
    dispatchMouse(*this, kind, a, &FramedButton::UserControl_MouseDown,
                  &FramedButton::UserControl_MouseMove, &FramedButton::UserControl_MouseUp);
}

void FramedButton::onClick(QWidget*) { UserControl_Click(); }
