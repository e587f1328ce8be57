#pragma once
// Common ground of the framed panel and the framed buttons: a back colour under the edge
// frame, the colour properties of both and the bag keys that keep them, and the mouse events.
#include "controls/EdgeFrame.h"
#include "controls/SkinnedControl.h"

class FramedControl : public SkinnedControl {
    Q_OBJECT
public:
    OleColour BorderColor() const { return m_frame.borderColour; }
    void setBorderColor(OleColour colour);
    OleColour BackColor() const { return m_backColour; }
    void setBackColor(OleColour colour);
    OleColour LinesLightColor() const { return m_frame.lTop.colour; }
    void setLinesLightColor(OleColour colour);
    OleColour LinesDarkColor() const { return m_frame.lBottom.colour; }
    void setLinesDarkColor(OleColour colour);

    const EdgeFrame& frame() const { return m_frame; }

    // Enabled, BorderColor, BackColor, LinesLightColor, LinesDarkColor: the last properties
    // of every framed control, which puts its own in front of them.
    const QList<Property>& properties() const override;
    void ReadProperties(PropertyBag& PropBag) override;
    void WriteProperties(PropertyBag& PropBag) const override;

signals:
    void Click();
    void MouseDown(short Button, short Shift, float X, float Y);
    void MouseMove(short Button, short Shift, float X, float Y);
    void MouseUp(short Button, short Shift, float X, float Y);

protected:
    // `light` and `dark` are the keepers of the light and dark colours (see lLight).
    explicit FramedControl(QWidget* parent, const ControlLine& light = {0, 0, 0, 0, 0xFFFFFF},
                           const ControlLine& dark = {0, 0, 0, 0, 0x808080});

    // The keepers hold the light and dark colours also while the edges show a button's
    // pressed look, in which they trade colours.
    const ControlLine& lLight() const { return m_lLight; }
    const ControlLine& lDark() const { return m_lDark; }
    void drawRaised();
    void drawPressed();

    void layOutFrame(double W, double H) { m_frame.layOut(W, H); }

    // Enabled, BackColor, LinesLightColor, LinesDarkColor, BorderColor, in this order.
    void readFrame(PropertyBag& PropBag);
    void writeFrame(PropertyBag& PropBag) const;

    // The mouse goes on to the signals as it comes.
    void onMouse(QWidget* piece, MouseKind kind, const MouseArgs& args) override;
    void onClick(QWidget* piece) override;
    void paintEvent(QPaintEvent* event) override;

private:
    OleColour m_backColour = 0xC0C0C0;
    EdgeFrame m_frame;
    ControlLine m_lLight;
    ControlLine m_lDark;
};
