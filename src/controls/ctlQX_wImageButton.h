#pragma once
// A push button made of a centred picture inside a thin frame. While a mouse button is
// held on it, it shows its second picture and swaps the light and dark edges.
#include "controls/EdgeFrame.h"
#include "controls/SkinnedControl.h"

#include <QPixmap>

class ControlPiece;

class ctlQX_wImageButton : public SkinnedControl {
    Q_OBJECT
public:
    explicit ctlQX_wImageButton(QWidget* parent = nullptr);

    QPixmap NormalImage() const { return m_normalImage; }
    void setNormalImage(const QPixmap& picture);
    QPixmap ClickImage() const { return m_clickImage; }
    void setClickImage(const QPixmap& picture);
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
    ControlPiece* imgMain() const { return m_imgMain; }
    // The picture imgMain shows now, and its place in twips as the layout computed it.
    QPixmap imgMainPicture() const { return m_shown; }
    float imgMainLeft() const { return m_imgLeft; }
    float imgMainTop() const { return m_imgTop; }
    short lastButton() const { return m_lastButton; }

    const QList<Property>& properties() const override;
    void ReadProperties(PropertyBag& PropBag) override;
    void WriteProperties(PropertyBag& PropBag) const override;

    void UserControl_Resize();
    void button_ShowClickImage();
    void button_ShowNormalImage();

    // Handlers, the same for the picture and the bare surface.
    void UserControl_MouseDown(short Button, short Shift, float X, float Y);
    void UserControl_MouseMove(short Button, short Shift, float X, float Y);
    void UserControl_MouseUp(short Button, short Shift, float X, float Y);
    void UserControl_Click();
    void imgMain_Click() { UserControl_Click(); }

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
    // imgMain shows `picture`; an image sizes itself to a picture and keeps its size
    // when it has none.
    void showInImgMain(const QPixmap& picture);

    OleColour m_backColour = 0xC0C0C0;
    EdgeFrame m_frame;
    ControlLine m_lLight{0, 0, 0, 0, 0xFFFFFF};
    ControlLine m_lDark{0, 0, 0, 0, 0x808080};
    QPixmap m_normalImage;
    QPixmap m_clickImage;
    QPixmap m_shown;
    ControlPiece* m_imgMain;
    float m_imgLeft = 0;
    float m_imgTop = 0;
    short m_lastButton = 0;
};
