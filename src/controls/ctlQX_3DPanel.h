#pragma once
// A container panel framed by a 3-D edge (white top and left, shadow bottom and right);
// it forwards the mouse of its bare surface.
#include "controls/SkinnedControl.h"

class ctlQX_3DPanel : public SkinnedControl {
    Q_OBJECT
public:
    explicit ctlQX_3DPanel(QWidget* parent = nullptr);

    OleColour Background() const { return m_backColour; }
    void setBackground(OleColour colour);

    const ControlLine& llLeft() const { return m_llLeft; }
    const ControlLine& dlRight() const { return m_dlRight; }
    const ControlLine& dlBottom() const { return m_dlBottom; }
    const ControlLine& llTop() const { return m_llTop; }

    const QList<Property>& properties() const override;
    void ReadProperties(PropertyBag& PropBag) override;
    void WriteProperties(PropertyBag& PropBag) const override;

    // Frame for an inner size of W x H twips.
    void layOut(double W, double H);
    void UserControl_Resize();

signals:
    void Click();
    void MouseDown(short Button, short Shift, float X, float Y);
    void MouseMove(short Button, short Shift, float X, float Y);
    void MouseUp(short Button, short Shift, float X, float Y);

protected:
    void onMouse(QWidget* piece, MouseKind kind, const MouseArgs& args) override;
    void onClick(QWidget* piece) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    OleColour m_backColour = syscolour::ButtonFace;
    ControlLine m_llLeft{0, 2160, 0, 0, 0xFFFFFF};
    ControlLine m_dlRight{1560, 2160, 1560, 0, syscolour::ButtonShadow};
    ControlLine m_dlBottom{0, 2175, 1560, 2175, syscolour::ButtonShadow};
    ControlLine m_llTop{0, 0, 1560, 0, 0xFFFFFF};
};
