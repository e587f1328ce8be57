#pragma once
// A push button made of a centred picture inside a thin frame. While a mouse button is
// held on it, it shows its second picture and swaps the light and dark edges.
#include "controls/FramedButton.h"

#include <QPixmap>

class ctlQX_wImageButton : public FramedButton {
    Q_OBJECT
public:
    explicit ctlQX_wImageButton(QWidget* parent = nullptr);

    QPixmap NormalImage() const { return m_normalImage; }
    void setNormalImage(const QPixmap& picture);
    QPixmap ClickImage() const { return m_clickImage; }
    void setClickImage(const QPixmap& picture);

    ControlPiece* imgMain() const { return piece(); }
    // The picture imgMain shows now, and its place in twips as the layout computed it.
    QPixmap imgMainPicture() const { return m_shown; }
    float imgMainLeft() const { return pieceLeft(); }
    float imgMainTop() const { return pieceTop(); }

    const QList<Property>& properties() const override;
    void ReadProperties(PropertyBag& PropBag) override;
    void WriteProperties(PropertyBag& PropBag) const override;

    void button_ShowClickImage();
    void button_ShowNormalImage();
    void imgMain_Click() { UserControl_Click(); }

protected:
    void showPressedLook() override { button_ShowClickImage(); }
    void showRaisedLook() override { button_ShowNormalImage(); }

private:
    // imgMain shows `picture`; an image sizes itself to a picture and keeps its size
    // when it has none.
    void showInImgMain(const QPixmap& picture);

    QPixmap m_normalImage;
    QPixmap m_clickImage;
    QPixmap m_shown;
};
