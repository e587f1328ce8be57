#pragma once
// Vertical etched separator: a shadow-coloured line with a white line just right of it,
// always as tall as the control. No properties, no events.
#include "controls/SkinnedControl.h"

class ctlQX_hLine3D : public SkinnedControl {
    Q_OBJECT
public:
    explicit ctlQX_hLine3D(QWidget* parent = nullptr);

    const ControlLine& Line1() const { return m_line1; }
    const ControlLine& Line2() const { return m_line2; }

    // Height in twips; after the first resize the width is a scale of 255 units.
    double ScaleWidth() const override;

    void UserControl_Resize();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    ControlLine m_line1{120, 0, 120, 3240, syscolour::ButtonShadow};
    ControlLine m_line2{140, -120, 140, 3240, 0xFFFFFF};
    double m_userScaleWidth = 0; // 0 until the first resize: twips
};
