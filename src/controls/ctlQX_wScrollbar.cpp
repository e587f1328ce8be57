#include "controls/ctlQX_wScrollbar.h"

#include "common/modVB.h"
#include "controls/ControlPiece.h"

#include <QPainter>

#include <algorithm>
#include <limits>

namespace {
const QString kPicture = QStringLiteral("Picture");
const QString kBar = QStringLiteral("Bar");
const QString kBackColor = QStringLiteral("BackColor");
const QString kMin = QStringLiteral("Min");
const QString kMax = QStringLiteral("Max");
const QString kValue = QStringLiteral("Value");
constexpr int kEmptyHeightTwips = 120;

qint32 toInt32(double v)
{
    // Results beyond 32 bits (a range wider than 32 bits) are held at its ends.
    constexpr double lo = std::numeric_limits<qint32>::min();
    constexpr double hi = std::numeric_limits<qint32>::max();
    return qint32(std::clamp(v, lo, hi));
}

qint32 readInt(const QVariant& v, qint32 fallback)
{
    bool ok = false;
    const qlonglong n = v.toLongLong(&ok);
    if (!ok || n < std::numeric_limits<qint32>::min() || n > std::numeric_limits<qint32>::max())
        return fallback;
    return qint32(n);
}
} // namespace

ctlQX_wScrollbar::ctlQX_wScrollbar(QWidget* parent) : SkinnedControl(parent)
{
    m_picBack = new ControlPiece(this, QStringLiteral("picBack"));
    m_picBack->paint = [this](QPainter& p) { paintTrack(p); };
    // A new instance whose maximum is 0 gets 100.
    if (m_max == 0) m_max = 100;
    resize(vb::TwipsToPixels(1815), vb::TwipsToPixels(kEmptyHeightTwips));
    UserControl_Resize();
}

QPixmap ctlQX_wScrollbar::raisedThumb(int width, int height)
{
    QPixmap p(width, height);
    p.fill(QColor(0xC0, 0xC0, 0xC0));
    QPainter g(&p);
    g.setPen(Qt::white);
    g.drawLine(0, 0, width - 1, 0);
    g.drawLine(0, 0, 0, height - 1);
    g.setPen(QColor(0x40, 0x40, 0x40));
    g.drawLine(width - 1, 0, width - 1, height - 1);
    g.drawLine(0, height - 1, width - 1, height - 1);
    return p;
}

int ctlQX_wScrollbar::scroll_TwipsToPixels(double twips)
{
    return vb::CInt(vb::Round(twips) / vb::TwipsPerPixel);
}

int ctlQX_wScrollbar::trackWidth() const
{
    return scroll_TwipsToPixels(m_picBack->width() * double(vb::TwipsPerPixel));
}

int ctlQX_wScrollbar::thumbWidth() const
{
    // The thumb box is exactly as large as its picture; with none it has no width.
    return scroll_TwipsToPixels(m_bar.width() * double(vb::TwipsPerPixel));
}

bool ctlQX_wScrollbar::BarVisible() const { return !m_picBack->isHidden(); }

void ctlQX_wScrollbar::setBarVisible(bool visible) { m_picBack->setVisible(visible); }

void ctlQX_wScrollbar::setBackColor(OleColour colour)
{
    m_trackBack = colour;
    m_surfaceBack = colour;
    scroll_DrawBar(true);
    PropertyChanged(kBackColor);
}

void ctlQX_wScrollbar::setBar(const QPixmap& picture)
{
    m_bar = picture;
    UserControl_Resize();
    scroll_DrawBar(true);
    PropertyChanged(kBar);
}

void ctlQX_wScrollbar::setMax(qint32 max)
{
    if (max < m_value) return;
    m_max = max;
    scroll_DrawBar(true);
    PropertyChanged(kMax);
}

void ctlQX_wScrollbar::setMin(qint32 min)
{
    if (min > m_value) return;
    m_min = min;
    scroll_DrawBar(true);
    PropertyChanged(kMin);
}

void ctlQX_wScrollbar::setPicture(const QPixmap& picture)
{
    m_picture = picture;
    UserControl_Resize();
    scroll_DrawBar(true);
    PropertyChanged(kPicture);
}

void ctlQX_wScrollbar::setValue(qint32 value)
{
    if (value < m_min || value > m_max) return;
    m_value = value;
    scroll_DrawBar(true);
    PropertyChanged(kValue);
}

const QList<SkinnedControl::Property>& ctlQX_wScrollbar::properties() const
{
    using Self = ctlQX_wScrollbar;
    static const QList<Property> table{
        valueProperty(QStringLiteral("BarVisible"), &Self::BarVisible, &Self::setBarVisible),
        enabledProperty(),
        colourProperty(kBackColor, &Self::BackColor, &Self::setBackColor),
        valueProperty(kBar, &Self::Bar, &Self::setBar),
        valueProperty(kMax, &Self::Max, &Self::setMax),
        valueProperty(kMin, &Self::Min, &Self::setMin),
        valueProperty(kPicture, &Self::Picture, &Self::setPicture),
        valueProperty(QStringLiteral("value"), &Self::value, &Self::setValue),
    };
    return table;
}

void ctlQX_wScrollbar::ReadProperties(PropertyBag& PropBag)
{
    m_reading = true;
    m_picture = readPicture(PropBag, kPicture);
    m_bar = readPicture(PropBag, kBar);
    m_trackBack = readColour(PropBag, kBackColor, syscolour::ButtonFace);
    m_surfaceBack = readColour(PropBag, kBackColor, syscolour::ButtonFace);
    // Straight into the fields: the stored state was consistent when it was written.
    m_min = readInt(PropBag.ReadProperty(kMin, 0), 0);
    m_max = readInt(PropBag.ReadProperty(kMax, 100), 100);
    m_value = readInt(PropBag.ReadProperty(kValue, 0), 0);
    readEnabled(PropBag);
    m_reading = false;
    UserControl_Resize();
    scroll_DrawBar(true);
}

void ctlQX_wScrollbar::WriteProperties(PropertyBag& PropBag) const
{
    PropBag.WriteProperty(kPicture, m_picture, QPixmap());
    PropBag.WriteProperty(kBar, m_bar, QPixmap());
    PropBag.WriteProperty(kBackColor, m_trackBack, syscolour::ButtonFace);
    PropBag.WriteProperty(kMin, m_min, 0);
    PropBag.WriteProperty(kMax, m_max, 100);
    PropBag.WriteProperty(kValue, m_value, 0);
    writeEnabled(PropBag);
}

void ctlQX_wScrollbar::UserControl_Resize()
{
    // The control is exactly as tall as the thumb picture, 120 twips without one.
    const int h = m_bar.isNull() ? vb::TwipsToPixels(kEmptyHeightTwips) : m_bar.height();
    if (height() != h || minimumHeight() != h || maximumHeight() != h) setFixedHeight(h);
    m_picBack->setGeometry(0, 0, width(), h);
    scroll_DrawBar(true);
}

void ctlQX_wScrollbar::resizeEvent(QResizeEvent*) { UserControl_Resize(); }

void ctlQX_wScrollbar::scroll_UpdateBarPosition()
{
    const double range = double(m_max) - double(m_min);
    const double span = double(trackWidth()) - double(thumbWidth());
    // An empty range or a track no wider than the thumb leaves the thumb at the left edge.
    if (range == 0 || span <= 0) {
        m_thumbPos = 0;
        return;
    }
    m_thumbPos = toInt32(vb::Round((double(m_value) - double(m_min)) / range * span));
}

qint32 ctlQX_wScrollbar::scroll_UpdateValue() const
{
    const double range = double(m_max) - double(m_min);
    const double span = double(trackWidth()) - double(thumbWidth());
    if (span <= 0) return m_value;
    return toInt32(vb::Round(double(m_thumbPos) / span * range + double(m_min)));
}

void ctlQX_wScrollbar::scroll_DrawBar(bool recompute)
{
    if (recompute) scroll_UpdateBarPosition();
    m_picBack->update();
    update();
}

void ctlQX_wScrollbar::paintTrack(QPainter& p) const
{
    p.fillRect(m_picBack->rect(), syscolour::toQColor(m_trackBack));
    if (!m_picture.isNull()) p.drawPixmap(0, 0, m_picture);
    if (!m_bar.isNull()) p.drawPixmap(m_thumbPos, 0, m_bar);
}

void ctlQX_wScrollbar::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), syscolour::toQColor(m_surfaceBack));
}

void ctlQX_wScrollbar::picBack_MouseDown(short Button, short Shift, float X, float Y)
{
    const int x = scroll_TwipsToPixels(X);
    if (Button == 1 && m_thumbPos <= x && x <= qint64(m_thumbPos) + thumbWidth()) m_dragging = true;
    emit MouseDown(Button, Shift, X, Y);
}

void ctlQX_wScrollbar::picBack_MouseMove(short Button, short Shift, float X, float Y)
{
    if (m_dragging) {
        const double track = trackWidth();
        const double half = thumbWidth() / 2.0;
        // The pointer becomes the thumb's centre, kept on the track.
        double c = scroll_TwipsToPixels(X);
        if (track - half < c) c = vb::Round(track - half);
        if (half > c) c = vb::Round(half);
        m_thumbPos = toInt32(vb::Round(c - half));
        scroll_DrawBar(false);
        setValue(scroll_UpdateValue());
        emit Change();
    }
    emit MouseMove(Button, Shift, X, Y);
}

void ctlQX_wScrollbar::picBack_MouseUp(short Button, short Shift, float X, float Y)
{
    m_dragging = false;
    emit MouseUp(Button, Shift, X, Y);
}

void ctlQX_wScrollbar::onMouse(QWidget* piece, MouseKind kind, const MouseArgs& a)
{
    using Self = ctlQX_wScrollbar;
    if (piece == m_picBack)
        dispatchMouse(*this, kind, a, &Self::picBack_MouseDown, &Self::picBack_MouseMove,
                      &Self::picBack_MouseUp);
    else
        dispatchMouse(*this, kind, a, &Self::MouseDown, &Self::MouseMove, &Self::MouseUp);
}

void ctlQX_wScrollbar::onEnabledChanged()
{
    // A disabled control gets no release, so a drag must not outlive the disabling.
    if (!Enabled()) m_dragging = false;
}
