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
const QString kFontBold = QStringLiteral("FontBold");
const QString kFontUnderline = QStringLiteral("FontUnderline");
const QString kFontItalic = QStringLiteral("FontItalic");
const QString kFontStrikethru = QStringLiteral("FontStrikethru");
const QString kFontSize = QStringLiteral("FontSize");
// A form's text colour unless it says otherwise: the system's button text.
constexpr OleColour kAmbientForeColour = syscolour::ButtonText;
} // namespace

ctlQX_wTextPanel::ctlQX_wTextPanel(QWidget* parent)
    : FramedButton(parent, QStringLiteral("lblCaption"), {720, 2160, 1200, 2160, 0xFFFFFF},
                   {720, 2040, 1200, 2040, 0x808080})
{
    // Attributes a font leaves open come from the container, so that measuring and
    // drawing agree.
    m_font = QFont(QStringLiteral("Tahoma")).resolve(ambientFont());
    lblCaption()->paint = [this](QPainter& p) {
        // Drawn by hand: the text keeps its colour when the control is disabled.
        p.setFont(m_font);
        p.setPen(syscolour::toQColor(m_foreColour));
        p.drawText(lblCaption()->rect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
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
    const QFontMetrics fm(m_font, lblCaption());
    lblCaption()->resize(fm.horizontalAdvance(m_caption), fm.height());
    lblCaption()->update();
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
    lblCaption()->update();
    PropertyChanged(kForeColor);
}

void ctlQX_wTextPanel::setCaption(const QString& caption)
{
    m_caption = caption;
    sizeLabel();
    UserControl_Resize();
    PropertyChanged(kCaption);
}

const QList<SkinnedControl::Property>& ctlQX_wTextPanel::properties() const
{
    using Self = ctlQX_wTextPanel;
    static const QList<Property> table = QList<Property>{
        valueProperty(kFont, &Self::Font, &Self::setFont),
        colourProperty(kForeColor, &Self::ForeColor, &Self::setForeColor),
        valueProperty(kCaption, &Self::Caption, &Self::setCaption),
    } + FramedControl::properties();
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
    m_foreColour = readColour(PropBag, kForeColor, kAmbientForeColour);
    readFrame(PropBag);
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
    writeFrame(PropBag);
}
