#pragma once
// A push button showing a centred text inside the framed-panel frame; while a mouse button
// is held on it the light and dark edges swap so that it looks pressed.
#include "controls/EdgeFrame.h"
#include "controls/SkinnedControl.h"

#include <QFont>

class ControlPiece;

class ctlQX_wTextPanel : public SkinnedControl {
    Q_OBJECT
public:
    explicit ctlQX_wTextPanel(QWidget* parent = nullptr);

    QFont Font() const { return m_font; }
    void setFont(const QFont& font);
    OleColour ForeColor() const { return m_foreColour; }
    void setForeColor(OleColour colour);
    QString Caption() const { return m_caption; }
    void setCaption(const QString& caption);
    OleColour BorderColor() const { return m_frame.borderColour; }
    void setBorderColor(OleColour colour);
    OleColour BackColor() const { return m_backColour; }
    void setBackColor(OleColour colour);
    OleColour LinesLightColor() const { return m_frame.lTop.colour; }
    void setLinesLightColor(OleColour colour);
    OleColour LinesDarkColor() const { return m_frame.lBottom.colour; }
    void setLinesDarkColor(OleColour colour);

    const EdgeFrame& frame() const { return m_frame; }
    const ControlLine& lLight() const { return m_lLight; }
    const ControlLine& lDark() const { return m_lDark; }
    ControlPiece* lblCaption() const { return m_lblCaption; }
    // The label's place in twips, as the layout computed it.
    float lblCaptionLeft() const { return m_lblLeft; }
    float lblCaptionTop() const { return m_lblTop; }
    short lastButton() const { return m_lastButton; }

    const QList<Property>& properties() const override;
    void ReadProperties(PropertyBag& PropBag) override;
    void WriteProperties(PropertyBag& PropBag) const override;

    void UserControl_Resize();
    void panel_DrawPressed();
    void panel_DrawRaised();

    // Handlers, the same for the label and the bare surface.
    void UserControl_MouseDown(short Button, short Shift, float X, float Y);
    void UserControl_MouseMove(short Button, short Shift, float X, float Y);
    void UserControl_MouseUp(short Button, short Shift, float X, float Y);
    void UserControl_Click();
    void lblCaption_Click() { UserControl_Click(); }

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
    // The container's font and text colour, the defaults of the stored ones.
    QFont ambientFont() const;
    void sizeLabel();

    OleColour m_backColour = 0xC0C0C0;
    OleColour m_foreColour = syscolour::ButtonText;
    QString m_caption = QStringLiteral("Text Panel");
    QFont m_font;
    EdgeFrame m_frame;
    ControlLine m_lLight{720, 2160, 1200, 2160, 0xFFFFFF};
    ControlLine m_lDark{720, 2040, 1200, 2040, 0x808080};
    ControlPiece* m_lblCaption;
    float m_lblLeft = 0;
    float m_lblTop = 0;
    short m_lastButton = 0;
};
