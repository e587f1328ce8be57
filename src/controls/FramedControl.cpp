#include "controls/FramedControl.h"

#include <QPainter>

namespace {
const QString kBorderColor = QStringLiteral("BorderColor");
const QString kBackColor = QStringLiteral("BackColor");
const QString kLinesLightColor = QStringLiteral("LinesLightColor");
const QString kLinesDarkColor = QStringLiteral("LinesDarkColor");
constexpr OleColour kDefaultBack = 0xC0C0C0;
constexpr OleColour kDefaultLight = 0xFFFFFF;
constexpr OleColour kDefaultDark = 0x808080;
} // namespace

FramedControl::FramedControl(QWidget* parent, const ControlLine& light, const ControlLine& dark)
    : SkinnedControl(parent), m_lLight(light), m_lDark(dark)
{
}

void FramedControl::setBorderColor(OleColour colour)
{
    m_frame.borderColour = colour;
    update();
    PropertyChanged(kBorderColor);
}

void FramedControl::setBackColor(OleColour colour)
{
    m_backColour = colour;
    update();
    PropertyChanged(kBackColor);
}

void FramedControl::setLinesLightColor(OleColour colour)
{
    m_frame.lTop.colour = m_frame.lLeft.colour = m_lLight.colour = colour;
    update();
    PropertyChanged(kLinesLightColor);
}

void FramedControl::setLinesDarkColor(OleColour colour)
{
    m_frame.lBottom.colour = m_frame.lRight.colour = m_lDark.colour = colour;
    update();
    PropertyChanged(kLinesDarkColor);
}

void FramedControl::drawRaised()
{
    m_frame.colourEdges(m_lLight.colour, m_lDark.colour);
    update();
}

void FramedControl::drawPressed()
{
    m_frame.colourEdges(m_lDark.colour, m_lLight.colour);
    update();
}

const QList<SkinnedControl::Property>& FramedControl::properties() const
{
    using Self = FramedControl;
    static const QList<Property> table{
        enabledProperty(),
        colourProperty(kBorderColor, &Self::BorderColor, &Self::setBorderColor),
        colourProperty(kBackColor, &Self::BackColor, &Self::setBackColor),
        colourProperty(kLinesLightColor, &Self::LinesLightColor, &Self::setLinesLightColor),
        colourProperty(kLinesDarkColor, &Self::LinesDarkColor, &Self::setLinesDarkColor),
    };
    return table;
}

void FramedControl::readFrame(PropertyBag& PropBag)
{
    readEnabled(PropBag);
    m_backColour = readColour(PropBag, kBackColor, kDefaultBack);
    m_frame.lTop.colour = m_frame.lLeft.colour = m_lLight.colour =
        readColour(PropBag, kLinesLightColor, kDefaultLight);
    m_frame.lBottom.colour = m_frame.lRight.colour = m_lDark.colour =
        readColour(PropBag, kLinesDarkColor, kDefaultDark);
    m_frame.borderColour = readColour(PropBag, kBorderColor, 0);
}

void FramedControl::writeFrame(PropertyBag& PropBag) const
{
    writeEnabled(PropBag);
    PropBag.WriteProperty(kBackColor, m_backColour, kDefaultBack);
    // The keepers hold the colours also while the edges show the pressed look.
    PropBag.WriteProperty(kLinesLightColor, m_lLight.colour, kDefaultLight);
    PropBag.WriteProperty(kLinesDarkColor, m_lDark.colour, kDefaultDark);
    PropBag.WriteProperty(kBorderColor, m_frame.borderColour, OleColour(0));
}

void FramedControl::ReadProperties(PropertyBag& PropBag)
{
    m_reading = true;
    readFrame(PropBag);
    m_reading = false;
    update();
}

void FramedControl::WriteProperties(PropertyBag& PropBag) const { writeFrame(PropBag); }

void FramedControl::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), syscolour::toQColor(m_backColour));
    m_frame.paint(p);
}

void FramedControl::onMouse(QWidget*, MouseKind kind, const MouseArgs& a)
{
    using Self = FramedControl;
    dispatchMouse(*this, kind, a, &Self::MouseDown, &Self::MouseMove, &Self::MouseUp);
}

void FramedControl::onClick(QWidget*) { emit Click(); }
