#include "controls/ctlQX_Digital.h"

#include "common/modVB.h"
#include "controls/ControlPiece.h"

#include <QPainter>

#include <cmath>

namespace {
const QString kColourLight = QStringLiteral("ColourLight");
const QString kColourDark = QStringLiteral("ColourDark");
const QString kBackColor = QStringLiteral("BackColor");
const QString kValue = QStringLiteral("Value");
constexpr OleColour kDefaultLight = 0xFF00;
constexpr OleColour kDefaultDark = 224515;
constexpr double kWidth = 1035;
constexpr double kCellHeight = 290;
constexpr double kCellWidth = 255;
constexpr double kDotsWidth = 135;
constexpr double kCellLeft[4] = {0, 240, 600, 840};
constexpr double kDotsLeft = 500;

struct Rect {
    double left, top, width, height;
};
// Segment rectangles inside a digit cell, in twips, in the order of the Segment enum.
constexpr Rect kSegmentRects[ctlQX_Digital::SegmentCount] = {
    {50, 0, 100, 50},   {150, 30, 45, 105}, {150, 150, 45, 105}, {50, 240, 105, 45},
    {0, 150, 45, 105},  {0, 30, 45, 105},   {50, 120, 105, 45},
};
constexpr Rect kDotRects[2] = {{0, 80, 45, 50}, {0, 170, 45, 50}};

// Lit segments of digits 0-9 and the blank (10), in the order of the Segment enum.
constexpr bool kLit[11][ctlQX_Digital::SegmentCount] = {
    {1, 1, 1, 1, 1, 1, 0}, {0, 1, 1, 0, 0, 0, 0}, {1, 1, 0, 1, 1, 0, 1}, {1, 1, 1, 1, 0, 0, 1},
    {0, 1, 1, 0, 0, 1, 1}, {1, 0, 1, 1, 0, 1, 1}, {1, 0, 1, 1, 1, 1, 1}, {1, 1, 1, 0, 0, 0, 0},
    {1, 1, 1, 1, 1, 1, 1}, {1, 1, 1, 1, 0, 1, 1}, {0, 0, 0, 0, 0, 0, 0},
};

int px(double twips) { return vb::TwipsToPixels(twips); }

QRect pixelRect(const Rect& r)
{
    const int x = px(r.left), y = px(r.top);
    return QRect(x, y, px(r.left + r.width) - x, px(r.top + r.height) - y);
}

qint16 readSeconds(const QVariant& v)
{
    // A stored value that is no 16-bit number leaves the display at 0.
    bool ok = false;
    const double d = vb::ToDouble(v.toString(), &ok);
    if (!ok) return 0;
    const double r = vb::Round(d);
    if (r < -32768 || r > 32767) return 0;
    return qint16(r);
}
} // namespace

ctlQX_Digital::ctlQX_Digital(QWidget* parent) : SkinnedControl(parent)
{
    for (int i = 0; i < 4; ++i) {
        auto* cell = new ControlPiece(this, QStringLiteral("picNum%1").arg(i + 1));
        cell->setGeometry(px(kCellLeft[i]), 0, px(kCellWidth), px(kCellHeight));
        cell->paint = [this, i](QPainter& p) { paintDigit(p, i); };
        m_cells[i] = cell;
    }
    m_picDots = new ControlPiece(this, QStringLiteral("picDots"));
    m_picDots->setGeometry(px(kDotsLeft), 0, px(kDotsWidth), px(kCellHeight));
    m_picDots->paint = [this](QPainter& p) { paintDots(p); };
    // Cells in the order of their left edges, later ones over earlier ones.
    m_picDots->stackUnder(m_cells[2]);
    for (auto& s : m_segments) s.fill(m_lDark);
    paintDotColours();
    setFixedSize(px(kWidth), px(kCellHeight));
    UserControl_Resize();
    digital_Refresh();
}

OleColour ctlQX_Digital::segmentColour(Segment segment, int position) const
{
    return m_segments.at(segment).at(position);
}

void ctlQX_Digital::paintDotColours()
{
    m_dotFill.fill(m_lLight);
    m_dotBorder.fill(m_lLight);
}

void ctlQX_Digital::repaintCells()
{
    for (ControlPiece* c : m_cells) c->update();
    m_picDots->update();
    update();
}

void ctlQX_Digital::setColourLight(OleColour colour)
{
    m_lLight = colour;
    paintDotColours();
    digital_Refresh();
    PropertyChanged(kColourLight);
}

void ctlQX_Digital::setColourDark(OleColour colour)
{
    m_lDark = colour;
    digital_Refresh();
    PropertyChanged(kColourDark);
}

void ctlQX_Digital::setBackColor(OleColour colour)
{
    m_backColour = colour;
    m_cellBack.fill(colour);
    repaintCells();
    PropertyChanged(kBackColor);
}

void ctlQX_Digital::setValue(qint16 seconds)
{
    m_value = seconds;
    digital_Refresh();
    PropertyChanged(kValue);
}

void ctlQX_Digital::onEnabledChanged() { digital_Refresh(); }

const QList<SkinnedControl::Property>& ctlQX_Digital::properties() const
{
    using Self = ctlQX_Digital;
    static const QList<Property> table{
        colourProperty(kColourLight, &Self::ColourLight, &Self::setColourLight),
        colourProperty(kColourDark, &Self::ColourDark, &Self::setColourDark),
        colourProperty(kBackColor, &Self::BackColor, &Self::setBackColor),
        valueProperty(QStringLiteral("value"), &Self::value, &Self::setValue),
        enabledProperty(),
    };
    return table;
}

void ctlQX_Digital::ReadProperties(PropertyBag& PropBag)
{
    m_reading = true;
    m_value = readSeconds(PropBag.ReadProperty(kValue, QStringLiteral("0")));
    m_lLight = readColour(PropBag, kColourLight, kDefaultLight);
    m_lDark = readColour(PropBag, kColourDark, kDefaultDark);
    paintDotColours();
    m_backColour = readColour(PropBag, kBackColor, 0);
    for (OleColour& c : m_cellBack) c = readColour(PropBag, kBackColor, 0);
    readEnabled(PropBag);
    m_reading = false;
    digital_Refresh();
}

void ctlQX_Digital::WriteProperties(PropertyBag& PropBag) const
{
    PropBag.WriteProperty(kValue, int(m_value), QStringLiteral("0"));
    PropBag.WriteProperty(kColourLight, m_lLight, kDefaultLight);
    PropBag.WriteProperty(kColourDark, m_lDark, kDefaultDark);
    PropBag.WriteProperty(kBackColor, m_backColour, OleColour(0));
    writeEnabled(PropBag);
}

QString ctlQX_Digital::digital_FormatTime(int seconds)
{
    if (seconds == 0) return QStringLiteral("00:00");
    const double m = std::floor(double(seconds) / 60.0);
    const double r = double(seconds) - m * 60.0;
    const QString fmt = QStringLiteral("0#");
    return vb::FormatNumber((long long)m, fmt) + u':' + vb::FormatNumber((long long)r, fmt);
}

void ctlQX_Digital::digital_Refresh()
{
    // Below 0 and from 100 minutes up the text is no mm:ss: negative values show blank
    // digits, larger ones the highest time the display can show.
    const int shown = m_value > 5999 ? 5999 : int(m_value);
    const QString text = digital_FormatTime(shown);
    if (shown < 0) {
        for (int i = 0; i < 4; ++i) digital_DrawDigit(Blank, i);
    } else if (text != QLatin1String("00:00")) {
        const int chars[4] = {0, 1, 3, 4};
        for (int i = 0; i < 4; ++i) digital_DrawDigit(text.at(chars[i]).digitValue(), i);
    } else {
        const int digit = Enabled() ? 0 : Blank;
        for (int i = 0; i < 4; ++i) digital_DrawDigit(digit, i);
    }
    repaintCells();
}

void ctlQX_Digital::digital_DrawDigit(int digit, int position)
{
    if (position < 0 || position > 3) return;
    if (digit >= 0 && digit <= Blank)
        for (int s = 0; s < SegmentCount; ++s)
            m_segments[s][position] = kLit[digit][s] ? m_lLight : m_lDark;
    paintDotColours();
}

void ctlQX_Digital::UserControl_Resize()
{
    // The display has one size, whatever the host asks for.
    m_widthTwips = kWidth;
    m_heightTwips = kCellHeight;
    if (width() != px(kWidth) || height() != px(kCellHeight)) setFixedSize(px(kWidth), px(kCellHeight));
}

void ctlQX_Digital::resizeEvent(QResizeEvent*) { UserControl_Resize(); }

void ctlQX_Digital::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), syscolour::toQColor(m_backColour));
}

void ctlQX_Digital::paintDigit(QPainter& p, int position) const
{
    p.fillRect(m_cells[position]->rect(), syscolour::toQColor(m_cellBack[position]));
    for (int s = 0; s < SegmentCount; ++s)
        p.fillRect(pixelRect(kSegmentRects[s]), syscolour::toQColor(m_segments[s][position]));
}

void ctlQX_Digital::paintDots(QPainter& p) const
{
    p.fillRect(m_picDots->rect(), syscolour::toQColor(m_cellBack[4]));
    for (int i = 0; i < 2; ++i) {
        const QRect r = pixelRect(kDotRects[i]);
        p.fillRect(r, syscolour::toQColor(m_dotFill[i]));
        drawOutline(p, m_dotBorder[i], r.x(), r.y(), r.width(), r.height());
    }
}

void ctlQX_Digital::onMouse(QWidget*, MouseKind kind, const MouseArgs& a)
{
    using Self = ctlQX_Digital;
    dispatchMouse(*this, kind, a, &Self::MouseDown, &Self::MouseMove, &Self::MouseUp);
}

void ctlQX_Digital::onClick(QWidget* piece)
{
    // Only the bare surface clicks; the cells do not.
    if (piece == this) UserControl_Click();
}
