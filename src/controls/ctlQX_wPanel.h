#pragma once
// A flat panel with a border and inner 3-D edges, every colour a property so that a colour
// scheme can be applied at run time. It forwards the mouse; its look never changes.
#include "controls/EdgeFrame.h"
#include "controls/SkinnedControl.h"

class ctlQX_wPanel : public SkinnedControl {
    Q_OBJECT
public:
    explicit ctlQX_wPanel(QWidget* parent = nullptr);

    OleColour BorderColor() const { return m_frame.borderColour; }
    void setBorderColor(OleColour colour);
    OleColour BackColor() const { return m_backColour; }
    void setBackColor(OleColour colour);
    OleColour LinesLightColor() const { return m_frame.lTop.colour; }
    void setLinesLightColor(OleColour colour);
    OleColour LinesDarkColor() const { return m_frame.lBottom.colour; }
    void setLinesDarkColor(OleColour colour);

    const EdgeFrame& frame() const { return m_frame; }

    const QList<Property>& properties() const override;
    void ReadProperties(PropertyBag& PropBag) override;
    void WriteProperties(PropertyBag& PropBag) const override;

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
    OleColour m_backColour = 0xC0C0C0;
    EdgeFrame m_frame;
};
