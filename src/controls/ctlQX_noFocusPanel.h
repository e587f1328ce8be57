#pragma once
// A plain coloured area on which other controls are placed. No events.
#include "controls/SkinnedControl.h"

class ctlQX_noFocusPanel : public SkinnedControl {
    Q_OBJECT
public:
    explicit ctlQX_noFocusPanel(QWidget* parent = nullptr);

    OleColour PanelColour() const { return m_backColour; }
    void setPanelColour(OleColour colour);

    const QList<Property>& properties() const override;
    void ReadProperties(PropertyBag& PropBag) override;
    void WriteProperties(PropertyBag& PropBag) const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    OleColour m_backColour = syscolour::ButtonFace;
};
