#include "controls/ctlQX_hLine3D.h"

#include "common/modVB.h"

#include <QPainter>

ctlQX_hLine3D::ctlQX_hLine3D(QWidget* parent) : SkinnedControl(parent)
{
    resize(vb::TwipsToPixels(255), vb::TwipsToPixels(3255));
}

double ctlQX_hLine3D::ScaleWidth() const
{
    return m_userScaleWidth > 0 ? m_userScaleWidth : SkinnedControl::ScaleWidth();
}

void ctlQX_hLine3D::UserControl_Resize()
{
    m_line1.y2 = ScaleHeight();
    m_line2.y2 = ScaleHeight();
    // The lines keep their place in a width of 255 units, whatever the real width.
    m_userScaleWidth = 255;
    update();
}

void ctlQX_hLine3D::resizeEvent(QResizeEvent*) { UserControl_Resize(); }

void ctlQX_hLine3D::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const double pxX = width() / ScaleWidth();
    const double pxY = 1.0 / vb::TwipsPerPixel;
    drawLine(p, m_line1, pxX, pxY);
    drawLine(p, m_line2, pxX, pxY);
}
