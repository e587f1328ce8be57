#pragma once
// A flat panel with a border and inner 3-D edges, every colour a property so that a colour
// scheme can be applied at run time. It forwards the mouse; its look never changes.
#include "controls/FramedControl.h"

class ctlQX_wPanel : public FramedControl {
    Q_OBJECT
public:
    explicit ctlQX_wPanel(QWidget* parent = nullptr);

    void UserControl_Resize();

protected:
    void resizeEvent(QResizeEvent* event) override;
};
