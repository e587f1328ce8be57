#include "controls/ctlQX_wImageButton.h"

#include "common/modVB.h"
#include "controls/ControlPiece.h"

#include <QPainter>

namespace {
const QString kNormalImage = QStringLiteral("NormalImage");
const QString kClickImage = QStringLiteral("ClickImage");
const QString kEnabled = QStringLiteral("Enabled");
const QString kBorderColor = QStringLiteral("BorderColor");
const QString kBackColor = QStringLiteral("BackColor");
const QString kLinesLightColor = QStringLiteral("LinesLightColor");
const QString kLinesDarkColor = QStringLiteral("LinesDarkColor");
constexpr OleColour kDefaultBack = 0xC0C0C0;
constexpr OleColour kDefaultLight = 0xFFFFFF;
constexpr OleColour kDefaultDark = 0x808080;

QPixmap pictureOf(const QVariant& v)
{
    return v.canConvert<QPixmap>() ? v.value<QPixmap>() : QPixmap();
}
} // namespace

ctlQX_wImageButton::ctlQX_wImageButton(QWidget* parent) : SkinnedControl(parent)
{
    m_imgMain = new ControlPiece(this, QStringLiteral("imgMain"));
    m_imgMain->resize(0, 0);
    m_imgMain->paint = [this](QPainter& p) {
        if (!m_shown.isNull()) p.drawPixmap(0, 0, m_shown);
    };
    resize(vb::TwipsToPixels(495), vb::TwipsToPixels(495));
}

void ctlQX_wImageButton::showInImgMain(const QPixmap& picture)
{
    m_shown = picture;
    if (!picture.isNull()) m_imgMain->resize(picture.size());
    m_imgMain->update();
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

void ctlQX_wImageButton::setBorderColor(OleColour colour)
{
    m_frame.borderColour = colour;
    update();
    PropertyChanged(kBorderColor);
}

void ctlQX_wImageButton::setBackColor(OleColour colour)
{
    m_backColour = colour;
    update();
    PropertyChanged(kBackColor);
}

void ctlQX_wImageButton::setLinesLightColor(OleColour colour)
{
    m_frame.lTop.colour = m_frame.lLeft.colour = m_lLight.colour = colour;
    update();
    PropertyChanged(kLinesLightColor);
}

void ctlQX_wImageButton::setLinesDarkColor(OleColour colour)
{
    m_frame.lBottom.colour = m_frame.lRight.colour = m_lDark.colour = colour;
    update();
    PropertyChanged(kLinesDarkColor);
}

const QList<SkinnedControl::Property>& ctlQX_wImageButton::properties() const
{
    using Self = ctlQX_wImageButton;
    static const QList<Property> table{
        valueProperty(kNormalImage, &Self::NormalImage, &Self::setNormalImage),
        valueProperty(kClickImage, &Self::ClickImage, &Self::setClickImage),
        enabledProperty(),
        colourProperty(kBorderColor, &Self::BorderColor, &Self::setBorderColor),
        colourProperty(kBackColor, &Self::BackColor, &Self::setBackColor),
        colourProperty(kLinesLightColor, &Self::LinesLightColor, &Self::setLinesLightColor),
        colourProperty(kLinesDarkColor, &Self::LinesDarkColor, &Self::setLinesDarkColor),
    };
    return table;
}

void ctlQX_wImageButton::ReadProperties(PropertyBag& PropBag)
{
    m_reading = true;
    setEnabled(PropBag.ReadProperty(kEnabled, true).toBool());
    m_backColour = syscolour::fromVariant(PropBag.ReadProperty(kBackColor, kDefaultBack), kDefaultBack);
    const OleColour light =
        syscolour::fromVariant(PropBag.ReadProperty(kLinesLightColor, kDefaultLight), kDefaultLight);
    m_frame.lTop.colour = m_frame.lLeft.colour = m_lLight.colour = light;
    const OleColour dark =
        syscolour::fromVariant(PropBag.ReadProperty(kLinesDarkColor, kDefaultDark), kDefaultDark);
    m_frame.lBottom.colour = m_frame.lRight.colour = m_lDark.colour = dark;
    m_frame.borderColour = syscolour::fromVariant(PropBag.ReadProperty(kBorderColor, 0), 0);
    m_normalImage = pictureOf(PropBag.ReadProperty(kNormalImage, QPixmap()));
    m_clickImage = pictureOf(PropBag.ReadProperty(kClickImage, QPixmap()));
    showInImgMain(m_normalImage);
    UserControl_Resize();
    m_reading = false;
}

void ctlQX_wImageButton::WriteProperties(PropertyBag& PropBag) const
{
    PropBag.WriteProperty(kEnabled, Enabled(), true);
    PropBag.WriteProperty(kBackColor, m_backColour, kDefaultBack);
    // The keepers hold the colours also while the edges show the pressed look.
    PropBag.WriteProperty(kLinesLightColor, m_lLight.colour, kDefaultLight);
    PropBag.WriteProperty(kLinesDarkColor, m_lDark.colour, kDefaultDark);
    PropBag.WriteProperty(kBorderColor, m_frame.borderColour, OleColour(0));
    PropBag.WriteProperty(kNormalImage, m_normalImage, QPixmap());
    PropBag.WriteProperty(kClickImage, m_clickImage, QPixmap());
}

void ctlQX_wImageButton::UserControl_Resize()
{
    const double W = ScaleWidth(), H = ScaleHeight();
    m_frame.layOut(W, H);
    const float iw = float(m_imgMain->width() * vb::TwipsPerPixel);
    const float ih = float(m_imgMain->height() * vb::TwipsPerPixel);
    m_imgLeft = float(W) / 2 - iw / 2;
    m_imgTop = float(H) / 2 - ih / 2;
    m_imgMain->move(toPixels(m_imgLeft, 1.0 / vb::TwipsPerPixel),
                    toPixels(m_imgTop, 1.0 / vb::TwipsPerPixel));
    update();
}

void ctlQX_wImageButton::resizeEvent(QResizeEvent*) { UserControl_Resize(); }

void ctlQX_wImageButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), syscolour::toQColor(m_backColour));
    m_frame.paint(p);
}

void ctlQX_wImageButton::button_ShowClickImage()
{
    showInImgMain(m_clickImage);
    m_frame.lTop.colour = m_frame.lLeft.colour = m_lDark.colour;
    m_frame.lRight.colour = m_frame.lBottom.colour = m_lLight.colour;
    update();
}

void ctlQX_wImageButton::button_ShowNormalImage()
{
    showInImgMain(m_normalImage);
    m_frame.lTop.colour = m_frame.lLeft.colour = m_lLight.colour;
    m_frame.lRight.colour = m_frame.lBottom.colour = m_lDark.colour;
    update();
}

void ctlQX_wImageButton::UserControl_MouseDown(short Button, short Shift, float X, float Y)
{
    emit MouseDown(Button, Shift, X, Y);
    button_ShowClickImage();
}

void ctlQX_wImageButton::UserControl_MouseMove(short Button, short Shift, float X, float Y)
{
    emit MouseMove(Button, Shift, X, Y);
}

void ctlQX_wImageButton::UserControl_MouseUp(short Button, short Shift, float X, float Y)
{
    emit MouseUp(Button, Shift, X, Y);
    button_ShowNormalImage();
    m_lastButton = Button;
}

void ctlQX_wImageButton::UserControl_Click()
{
    if (m_lastButton == 1) emit Click();
}

void ctlQX_wImageButton::onMouse(QWidget*, MouseKind kind, const MouseArgs& a)
{
    switch (kind) {
    case MouseKind::Down: UserControl_MouseDown(a.Button, a.Shift, a.X, a.Y); break;
    case MouseKind::Move: UserControl_MouseMove(a.Button, a.Shift, a.X, a.Y); break;
    case MouseKind::Up: UserControl_MouseUp(a.Button, a.Shift, a.X, a.Y); break;
    }
}

void ctlQX_wImageButton::onClick(QWidget*) { UserControl_Click(); }
