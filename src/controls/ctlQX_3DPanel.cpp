#include "controls/ctlQX_3DPanel.h"

#include "common/modVB.h"

#include <QPainter>

namespace {
const QString kBackground = QStringLiteral("Background");
}

ctlQX_3DPanel::ctlQX_3DPanel(QWidget* parent) : SkinnedControl(parent)
{
    resize(vb::TwipsToPixels(1815), vb::TwipsToPixels(2415));
}

void ctlQX_3DPanel::setBackground(OleColour colour)
{
    m_backColour = colour;
    update();
    PropertyChanged(kBackground);
}

const QList<SkinnedControl::Property>& ctlQX_3DPanel::properties() const
{
    using Self = ctlQX_3DPanel;
    static const QList<Property> table{
        colourProperty(kBackground, &Self::Background, &Self::setBackground),
        enabledProperty(),
    };
    return table;
}

void ctlQX_3DPanel::ReadProperties(PropertyBag& PropBag)
{
    m_reading = true;
    m_backColour = readColour(PropBag, kBackground, syscolour::ButtonFace);
    readEnabled(PropBag);
    m_reading = false;
    update();
}

void ctlQX_3DPanel::WriteProperties(PropertyBag& PropBag) const
{
    PropBag.WriteProperty(kBackground, m_backColour, syscolour::ButtonFace);
    writeEnabled(PropBag);
}

void ctlQX_3DPanel::layOut(double W, double H)
{
    m_llTop.x2 = W - m_llTop.x1;
    m_dlBottom.x2 = W - m_dlBottom.x1 + 10;
    m_dlBottom.y1 = m_dlBottom.y2 = H - 20;
    m_llLeft.y1 = H - m_llLeft.y2 - 30;
    m_dlRight.y1 = H - m_dlRight.y2 - 10;
    m_dlRight.x1 = m_dlRight.x2 = W - 20;
    update();
}

void ctlQX_3DPanel::UserControl_Resize() { layOut(ScaleWidth(), ScaleHeight()); }

void ctlQX_3DPanel::resizeEvent(QResizeEvent*) { UserControl_Resize(); }

void ctlQX_3DPanel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), syscolour::toQColor(m_backColour));
    constexpr double px = 1.0 / vb::TwipsPerPixel;
    drawLine(p, m_llLeft, px, px);
    drawLine(p, m_dlRight, px, px);
    drawLine(p, m_dlBottom, px, px);
    drawLine(p, m_llTop, px, px);
}

void ctlQX_3DPanel::onMouse(QWidget*, MouseKind kind, const MouseArgs& a)
{
    using Self = ctlQX_3DPanel;
    dispatchMouse(*this, kind, a, &Self::MouseDown, &Self::MouseMove, &Self::MouseUp);
}

void ctlQX_3DPanel::onClick(QWidget*) { emit Click(); }
