#include "controls/ctlQX_wPanel.h"

#include "common/modVB.h"

#include <QPainter>

namespace {
const QString kEnabled = QStringLiteral("Enabled");
const QString kBorderColor = QStringLiteral("BorderColor");
const QString kBackColor = QStringLiteral("BackColor");
const QString kLinesLightColor = QStringLiteral("LinesLightColor");
const QString kLinesDarkColor = QStringLiteral("LinesDarkColor");
constexpr OleColour kDefaultBack = 0xC0C0C0;
constexpr OleColour kDefaultLight = 0xFFFFFF;
constexpr OleColour kDefaultDark = 0x808080;
} // namespace

ctlQX_wPanel::ctlQX_wPanel(QWidget* parent) : SkinnedControl(parent)
{
    resize(vb::TwipsToPixels(2730), vb::TwipsToPixels(1965));
}

void ctlQX_wPanel::setBorderColor(OleColour colour)
{
    m_frame.borderColour = colour;
    update();
    PropertyChanged(kBorderColor);
}

void ctlQX_wPanel::setBackColor(OleColour colour)
{
    m_backColour = colour;
    update();
    PropertyChanged(kBackColor);
}

void ctlQX_wPanel::setLinesLightColor(OleColour colour)
{
    m_frame.lTop.colour = m_frame.lLeft.colour = colour;
    update();
    PropertyChanged(kLinesLightColor);
}

void ctlQX_wPanel::setLinesDarkColor(OleColour colour)
{
    m_frame.lBottom.colour = m_frame.lRight.colour = colour;
    update();
    PropertyChanged(kLinesDarkColor);
}

const QList<SkinnedControl::Property>& ctlQX_wPanel::properties() const
{
    using Self = ctlQX_wPanel;
    static const QList<Property> table{
        enabledProperty(),
        colourProperty(kBorderColor, &Self::BorderColor, &Self::setBorderColor),
        colourProperty(kBackColor, &Self::BackColor, &Self::setBackColor),
        colourProperty(kLinesLightColor, &Self::LinesLightColor, &Self::setLinesLightColor),
        colourProperty(kLinesDarkColor, &Self::LinesDarkColor, &Self::setLinesDarkColor),
    };
    return table;
}

void ctlQX_wPanel::ReadProperties(PropertyBag& PropBag)
{
    m_reading = true;
    setEnabled(PropBag.ReadProperty(kEnabled, true).toBool());
    m_backColour = syscolour::fromVariant(PropBag.ReadProperty(kBackColor, kDefaultBack), kDefaultBack);
    const OleColour light =
        syscolour::fromVariant(PropBag.ReadProperty(kLinesLightColor, kDefaultLight), kDefaultLight);
    m_frame.lTop.colour = m_frame.lLeft.colour = light;
    const OleColour dark =
        syscolour::fromVariant(PropBag.ReadProperty(kLinesDarkColor, kDefaultDark), kDefaultDark);
    m_frame.lBottom.colour = m_frame.lRight.colour = dark;
    m_frame.borderColour = syscolour::fromVariant(PropBag.ReadProperty(kBorderColor, 0), 0);
    m_reading = false;
    update();
}

void ctlQX_wPanel::WriteProperties(PropertyBag& PropBag) const
{
    PropBag.WriteProperty(kEnabled, Enabled(), true);
    PropBag.WriteProperty(kBackColor, m_backColour, kDefaultBack);
    PropBag.WriteProperty(kLinesLightColor, m_frame.lLeft.colour, kDefaultLight);
    PropBag.WriteProperty(kLinesDarkColor, m_frame.lBottom.colour, kDefaultDark);
    PropBag.WriteProperty(kBorderColor, m_frame.borderColour, OleColour(0));
}

void ctlQX_wPanel::UserControl_Resize()
{
    m_frame.layOut(ScaleWidth(), ScaleHeight());
    update();
}

void ctlQX_wPanel::resizeEvent(QResizeEvent*) { UserControl_Resize(); }

void ctlQX_wPanel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), syscolour::toQColor(m_backColour));
    m_frame.paint(p);
}

void ctlQX_wPanel::onMouse(QWidget*, MouseKind kind, const MouseArgs& a)
{
    switch (kind) {
    case MouseKind::Down: emit MouseDown(a.Button, a.Shift, a.X, a.Y); break;
    case MouseKind::Move: emit MouseMove(a.Button, a.Shift, a.X, a.Y); break;
    case MouseKind::Up: emit MouseUp(a.Button, a.Shift, a.X, a.Y); break;
    }
}

void ctlQX_wPanel::onClick(QWidget*) { emit Click(); }
