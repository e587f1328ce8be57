#include "controls/ctlQX_wLine3D.h"

#include "common/modVB.h"

#include <QPainter>

ctlQX_wLine3D::ctlQX_wLine3D(QWidget* parent) : SkinnedControl(parent)
{
    resize(vb::TwipsToPixels(855), vb::TwipsToPixels(255));
}

double ctlQX_wLine3D::ScaleHeight() const
{
    return m_userScaleHeight > 0 ? m_userScaleHeight : SkinnedControl::ScaleHeight();
}

void ctlQX_wLine3D::UserControl_Resize()
{
    m_line1.x2 = ScaleWidth();
    m_line2.x2 = ScaleWidth();
    // The lines keep their place in a height of 255 units, whatever the real height.
    m_userScaleHeight = 255;
    update();
}

void ctlQX_wLine3D::resizeEvent(QResizeEvent*) { UserControl_Resize(); }

void ctlQX_wLine3D::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const double pxX = 1.0 / vb::TwipsPerPixel;
    const double pxY = height() / ScaleHeight();
    drawLine(p, m_line1, pxX, pxY);
    drawLine(p, m_line2, pxX, pxY);
}
