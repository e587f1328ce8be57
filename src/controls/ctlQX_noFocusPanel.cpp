#include "controls/ctlQX_noFocusPanel.h"

#include "common/modVB.h"

#include <QPainter>

namespace {
const QString kPanelColour = QStringLiteral("PanelColour");
}

ctlQX_noFocusPanel::ctlQX_noFocusPanel(QWidget* parent) : SkinnedControl(parent)
{
    resize(vb::TwipsToPixels(2055), vb::TwipsToPixels(1695));
}

void ctlQX_noFocusPanel::setPanelColour(OleColour colour)
{
    m_backColour = colour;
    update();
    PropertyChanged(kPanelColour);
}

const QList<SkinnedControl::Property>& ctlQX_noFocusPanel::properties() const
{
    using Self = ctlQX_noFocusPanel;
    static const QList<Property> table{
        colourProperty(kPanelColour, &Self::PanelColour, &Self::setPanelColour),
    };
    return table;
}

void ctlQX_noFocusPanel::ReadProperties(PropertyBag& PropBag)
{
    m_backColour = readColour(PropBag, kPanelColour, syscolour::ButtonFace);
    update();
}

void ctlQX_noFocusPanel::WriteProperties(PropertyBag& PropBag) const
{
    PropBag.WriteProperty(kPanelColour, m_backColour, syscolour::ButtonFace);
}

void ctlQX_noFocusPanel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), syscolour::toQColor(m_backColour));
}
