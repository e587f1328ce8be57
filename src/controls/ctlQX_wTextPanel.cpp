#include "controls/ctlQX_wTextPanel.h"

#include "common/modVB.h"
#include "controls/ControlPiece.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>

namespace {
const QString kFont = QStringLiteral("Font");
const QString kForeColor = QStringLiteral("ForeColor");
const QString kCaption = QStringLiteral("Caption");
const QString kEnabled = QStringLiteral("Enabled");
const QString kBorderColor = QStringLiteral("BorderColor");
const QString kBackColor = QStringLiteral("BackColor");
const QString kLinesLightColor = QStringLiteral("LinesLightColor");
const QString kLinesDarkColor = QStringLiteral("LinesDarkColor");
const QString kFontBold = QStringLiteral("FontBold");
const QString kFontUnderline = QStringLiteral("FontUnderline");
const QString kFontItalic = QStringLiteral("FontItalic");
const QString kFontStrikethru = QStringLiteral("FontStrikethru");
const QString kFontSize = QStringLiteral("FontSize");
constexpr OleColour kDefaultBack = 0xC0C0C0;
constexpr OleColour kDefaultLight = 0xFFFFFF;
constexpr OleColour kDefaultDark = 0x808080;
// A form's text colour unless it says otherwise: the system's button text.
constexpr OleColour kAmbientForeColour = syscolour::ButtonText;
} // namespace

ctlQX_wTextPanel::ctlQX_wTextPanel(QWidget* parent) : SkinnedControl(parent)
{
    // Attributes a font leaves open come from the container, so that measuring and
    // drawing agree.
    m_font = QFont(QStringLiteral("Tahoma")).resolve(ambientFont());
    m_lblCaption = new ControlPiece(this, QStringLiteral("lblCaption"));
    m_lblCaption->paint = [this](QPainter& p) {
        // Drawn by hand: the text keeps its colour when the control is disabled.
        p.setFont(m_font);
        p.setPen(syscolour::toQColor(m_foreColour));
        p.drawText(m_lblCaption->rect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                   m_caption);
    };
    sizeLabel();
    resize(vb::TwipsToPixels(2730), vb::TwipsToPixels(3435));
}

QFont ctlQX_wTextPanel::ambientFont() const
{
    return parentWidget() ? parentWidget()->font() : QApplication::font();
}

void ctlQX_wTextPanel::sizeLabel()
{
    // The label sizes itself to its text.
    const QFontMetrics fm(m_font, m_lblCaption);
    m_lblCaption->resize(fm.horizontalAdvance(m_caption), fm.height());
    m_lblCaption->update();
}

void ctlQX_wTextPanel::setFont(const QFont& font)
{
    m_font = font.resolve(ambientFont());
    sizeLabel();
    UserControl_Resize();
    PropertyChanged(kFont);
}

void ctlQX_wTextPanel::setForeColor(OleColour colour)
{
    m_foreColour = colour;
    m_lblCaption->update();
    PropertyChanged(kForeColor);
}

void ctlQX_wTextPanel::setCaption(const QString& caption)
{
    m_caption = caption;
    sizeLabel();
    UserControl_Resize();
    PropertyChanged(kCaption);
}

void ctlQX_wTextPanel::setBorderColor(OleColour colour)
{
    m_frame.borderColour = colour;
    update();
    PropertyChanged(kBorderColor);
}

void ctlQX_wTextPanel::setBackColor(OleColour colour)
{
    m_backColour = colour;
    update();
    PropertyChanged(kBackColor);
}

void ctlQX_wTextPanel::setLinesLightColor(OleColour colour)
{
    m_frame.lTop.colour = m_frame.lLeft.colour = m_lLight.colour = colour;
    update();
    PropertyChanged(kLinesLightColor);
}

void ctlQX_wTextPanel::setLinesDarkColor(OleColour colour)
{
    m_frame.lBottom.colour = m_frame.lRight.colour = m_lDark.colour = colour;
    update();
    PropertyChanged(kLinesDarkColor);
}

const QList<SkinnedControl::Property>& ctlQX_wTextPanel::properties() const
{
    using Self = ctlQX_wTextPanel;
    static const QList<Property> table{
        valueProperty(kFont, &Self::Font, &Self::setFont),
        colourProperty(kForeColor, &Self::ForeColor, &Self::setForeColor),
        valueProperty(kCaption, &Self::Caption, &Self::setCaption),
        enabledProperty(),
        colourProperty(kBorderColor, &Self::BorderColor, &Self::setBorderColor),
        colourProperty(kBackColor, &Self::BackColor, &Self::setBackColor),
        colourProperty(kLinesLightColor, &Self::LinesLightColor, &Self::setLinesLightColor),
        colourProperty(kLinesDarkColor, &Self::LinesDarkColor, &Self::setLinesDarkColor),
    };
    return table;
}

void ctlQX_wTextPanel::ReadProperties(PropertyBag& PropBag)
{
    m_reading = true;
    m_caption = PropBag.ReadProperty(kCaption, objectName()).toString();
    const QFont ambient = ambientFont();
    const QVariant font = PropBag.ReadProperty(kFont, ambient);
    m_font = font.canConvert<QFont>() ? font.value<QFont>().resolve(ambient) : ambient;
    m_font.setBold(PropBag.ReadProperty(kFontBold, ambient.bold()).toBool());
    m_font.setUnderline(PropBag.ReadProperty(kFontUnderline, ambient.underline()).toBool());
    m_font.setItalic(PropBag.ReadProperty(kFontItalic, ambient.italic()).toBool());
    m_font.setStrikeOut(PropBag.ReadProperty(kFontStrikethru, ambient.strikeOut()).toBool());
    bool ok = false;
    const double size = PropBag.ReadProperty(kFontSize, ambient.pointSizeF()).toDouble(&ok);
    if (ok && size > 0) m_font.setPointSizeF(size);
    m_foreColour = syscolour::fromVariant(PropBag.ReadProperty(kForeColor, kAmbientForeColour),
                                          kAmbientForeColour);
    setEnabled(PropBag.ReadProperty(kEnabled, true).toBool());
    m_backColour = syscolour::fromVariant(PropBag.ReadProperty(kBackColor, kDefaultBack), kDefaultBack);
    const OleColour light =
        syscolour::fromVariant(PropBag.ReadProperty(kLinesLightColor, kDefaultLight), kDefaultLight);
    m_frame.lTop.colour = m_frame.lLeft.colour = m_lLight.colour = light;
    const OleColour dark =
        syscolour::fromVariant(PropBag.ReadProperty(kLinesDarkColor, kDefaultDark), kDefaultDark);
    m_frame.lBottom.colour = m_frame.lRight.colour = m_lDark.colour = dark;
    m_frame.borderColour = syscolour::fromVariant(PropBag.ReadProperty(kBorderColor, 0), 0);
    sizeLabel();
    UserControl_Resize();
    m_reading = false;
}

void ctlQX_wTextPanel::WriteProperties(PropertyBag& PropBag) const
{
    const QFont ambient = ambientFont();
    PropBag.WriteProperty(kCaption, m_caption, objectName());
    PropBag.WriteProperty(kFont, m_font, ambient);
    PropBag.WriteProperty(kFontBold, m_font.bold(), ambient.bold());
    PropBag.WriteProperty(kFontUnderline, m_font.underline(), ambient.underline());
    PropBag.WriteProperty(kFontItalic, m_font.italic(), ambient.italic());
    PropBag.WriteProperty(kFontStrikethru, m_font.strikeOut(), ambient.strikeOut());
    PropBag.WriteProperty(kFontSize, m_font.pointSizeF(), ambient.pointSizeF());
    PropBag.WriteProperty(kForeColor, m_foreColour, kAmbientForeColour);
    PropBag.WriteProperty(kEnabled, Enabled(), true);
    PropBag.WriteProperty(kBackColor, m_backColour, kDefaultBack);
    // The keepers hold the colours also while the edges show the pressed look.
    PropBag.WriteProperty(kLinesLightColor, m_lLight.colour, kDefaultLight);
    PropBag.WriteProperty(kLinesDarkColor, m_lDark.colour, kDefaultDark);
    PropBag.WriteProperty(kBorderColor, m_frame.borderColour, OleColour(0));
}

void ctlQX_wTextPanel::UserControl_Resize()
{
    const double W = ScaleWidth(), H = ScaleHeight();
    m_frame.layOut(W, H);
    const float lw = float(m_lblCaption->width() * vb::TwipsPerPixel);
    const float lh = float(m_lblCaption->height() * vb::TwipsPerPixel);
    m_lblLeft = float(W) / 2 - lw / 2;
    m_lblTop = float(H) / 2 - lh / 2;
    m_lblCaption->move(toPixels(m_lblLeft, 1.0 / vb::TwipsPerPixel),
                       toPixels(m_lblTop, 1.0 / vb::TwipsPerPixel));
    update();
}

void ctlQX_wTextPanel::resizeEvent(QResizeEvent*) { UserControl_Resize(); }

void ctlQX_wTextPanel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), syscolour::toQColor(m_backColour));
    m_frame.paint(p);
}

void ctlQX_wTextPanel::panel_DrawPressed()
{
    m_frame.lTop.colour = m_frame.lLeft.colour = m_lDark.colour;
    m_frame.lRight.colour = m_frame.lBottom.colour = m_lLight.colour;
    update();
}

void ctlQX_wTextPanel::panel_DrawRaised()
{
    m_frame.lTop.colour = m_frame.lLeft.colour = m_lLight.colour;
    m_frame.lRight.colour = m_frame.lBottom.colour = m_lDark.colour;
    update();
}

void ctlQX_wTextPanel::UserControl_MouseDown(short Button, short Shift, float X, float Y)
{
    emit MouseDown(Button, Shift, X, Y);
    panel_DrawPressed();
}

void ctlQX_wTextPanel::UserControl_MouseMove(short Button, short Shift, float X, float Y)
{
    emit MouseMove(Button, Shift, X, Y);
}

void ctlQX_wTextPanel::UserControl_MouseUp(short Button, short Shift, float X, float Y)
{
    emit MouseUp(Button, Shift, X, Y);
    panel_DrawRaised();
    m_lastButton = Button;
}

void ctlQX_wTextPanel::UserControl_Click()
{
    if (m_lastButton == 1) emit Click();
}

void ctlQX_wTextPanel::onMouse(QWidget*, MouseKind kind, const MouseArgs& a)
{
    switch (kind) {
    case MouseKind::Down: UserControl_MouseDown(a.Button, a.Shift, a.X, a.Y); break;
    case MouseKind::Move: UserControl_MouseMove(a.Button, a.Shift, a.X, a.Y); break;
    case MouseKind::Up: UserControl_MouseUp(a.Button, a.Shift, a.X, a.Y); break;
    }
}

void ctlQX_wTextPanel::onClick(QWidget*) { UserControl_Click(); }
