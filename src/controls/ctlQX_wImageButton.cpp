#include "controls/ctlQX_wImageButton.h"

#include "common/modVB.h"
#include "controls/ControlPiece.h"

#include <QPainter>

namespace {
const QString kNormalImage = QStringLiteral("NormalImage");
const QString kClickImage = QStringLiteral("ClickImage");
} // namespace

ctlQX_wImageButton::ctlQX_wImageButton(QWidget* parent)
    : FramedButton(parent, QStringLiteral("imgMain"), {0, 0, 0, 0, 0xFFFFFF},
                   {0, 0, 0, 0, 0x808080})
{
    imgMain()->resize(0, 0);
    imgMain()->paint = [this](QPainter& p) {
        if (!m_shown.isNull()) p.drawPixmap(0, 0, m_shown);
    };
    resize(vb::TwipsToPixels(495), vb::TwipsToPixels(495));
}

void ctlQX_wImageButton::showInImgMain(const QPixmap& picture)
{
    m_shown = picture;
    if (!picture.isNull()) imgMain()->resize(picture.size());
    imgMain()->update();
}

void ctlQX_wImageButton::setNormalImage(const QPixmap& picture)
{
    m_normalImage = picture;
    showInImgMain(picture);
    PropertyChanged(kNormalImage);
    UserControl_Resize();
}

void ctlQX_wImageButton::setClickImage(const QPixmap& picture)
{
    m_clickImage = picture;
    PropertyChanged(kClickImage);
}

const QList<SkinnedControl::Property>& ctlQX_wImageButton::properties() const
{
    using Self = ctlQX_wImageButton;
    static const QList<Property> table = QList<Property>{
        valueProperty(kNormalImage, &Self::NormalImage, &Self::setNormalImage),
        valueProperty(kClickImage, &Self::ClickImage, &Self::setClickImage),
    } + FramedControl::properties();
    return table;
}

void ctlQX_wImageButton::ReadProperties(PropertyBag& PropBag)
{
    m_reading = true;
    readFrame(PropBag);
    m_normalImage = readPicture(PropBag, kNormalImage);
    m_clickImage = readPicture(PropBag, kClickImage);
    showInImgMain(m_normalImage);
    UserControl_Resize();
    m_reading = false;
}

void ctlQX_wImageButton::WriteProperties(PropertyBag& PropBag) const
{
    writeFrame(PropBag);
    PropBag.WriteProperty(kNormalImage, m_normalImage, QPixmap());
    PropBag.WriteProperty(kClickImage, m_clickImage, QPixmap());
}

void ctlQX_wImageButton::button_ShowClickImage()
{
    showInImgMain(m_clickImage);
    drawPressed();
}

void ctlQX_wImageButton::button_ShowNormalImage()
{
    showInImgMain(m_normalImage);
    drawRaised();
}
