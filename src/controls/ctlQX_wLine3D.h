#pragma once
// Horizontal etched separator: a shadow-coloured line with a white line just below it,
// always as wide as the control. No properties, no events.
#include "controls/SkinnedControl.h"

class ctlQX_wLine3D : public SkinnedControl {
    Q_OBJECT
public:
    explicit ctlQX_wLine3D(QWidget* parent = nullptr);

    const ControlLine& Line1() const { return m_line1; }
    const ControlLine& Line2() const { return m_line2; }

    // Width in twips; after the first resize the height is a scale of 255 units.
    double ScaleHeight() const override;

    void UserControl_Resize();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    ControlLine m_line1{0, 120, 840, 120, syscolour::ButtonShadow};
    ControlLine m_line2{0, 140, 840, 140, 0xFFFFFF};
    double m_userScaleHeight = 0; // 0 until the first resize: twips
};
