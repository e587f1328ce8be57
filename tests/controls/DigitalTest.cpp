// The seven-segment time display.
#include "ControlTestSupport.h"
#include "controls/ControlPiece.h"
#include "controls/ctlQX_Digital.h"
#include "support/TestEnv.h"

using namespace controltest;

namespace {
constexpr OleColour kLit = 0xFF00;
constexpr OleColour kUnlit = 224515;

// Segments lit per digit, in the order top, right top, right bottom, bottom, left bottom,
// left top, middle; index 10 is the blank.
const char* const kPatterns[11] = {"1111110", "0110000", "1101101", "1111001", "0110011", "1011011",
                                   "1011111", "1110000", "1111111", "1111011", "0000000"};

// The digit a cell shows (10 for blank), or -1 when its segments form none.
int shown(const ctlQX_Digital& d, int position)
{
    QString pattern;
    for (int s = 0; s < ctlQX_Digital::SegmentCount; ++s) {
        const OleColour c = d.segmentColour(ctlQX_Digital::Segment(s), position);
        if (c == d.ColourLight()) pattern += u'1';
        else if (c == d.ColourDark()) pattern += u'0';
        else return -1;
    }
    for (int digit = 0; digit <= 10; ++digit)
        if (pattern == QLatin1String(kPatterns[digit])) return digit;
    return -1;
}

// The display as text: digits, or "_" for a blank cell.
QString reading(const ctlQX_Digital& d)
{
    QString out;
    for (int i = 0; i < 4; ++i) {
        const int digit = shown(d, i);
        out += digit == 10 ? QStringLiteral("_") : digit < 0 ? QStringLiteral("?") : QString::number(digit);
        if (i == 1) out += u':';
    }
    return out;
}

bool colonLit(const ctlQX_Digital& d)
{
    for (int i = 0; i < 2; ++i)
        if (d.dotFillColour(i) != d.ColourLight() || d.dotBorderColour(i) != d.ColourLight()) return false;
    return true;
}
} // namespace

class Digital : public VeltraTest {
protected:
    void SetUp() override
    {
        VeltraTest::SetUp();
        host.resize(200, 100);
        display = new ctlQX_Digital(&host);
        host.show();
        recordMouse(display, log);
        recordClick(display, log);
        recordChanges(display, changed);
    }
    QWidget host;
    ctlQX_Digital* display;
    QStringList log;
    QStringList changed;
};

TEST_F(Digital, TimeText)
{
    EXPECT_EQ(ctlQX_Digital::digital_FormatTime(0), QStringLiteral("00:00"));
    EXPECT_EQ(ctlQX_Digital::digital_FormatTime(59), QStringLiteral("00:59"));
    EXPECT_EQ(ctlQX_Digital::digital_FormatTime(60), QStringLiteral("01:00"));
    EXPECT_EQ(ctlQX_Digital::digital_FormatTime(65), QStringLiteral("01:05"));
    EXPECT_EQ(ctlQX_Digital::digital_FormatTime(5999), QStringLiteral("99:59"));
}

TEST_F(Digital, ZeroReadsZerosWhenEnabledAndBlankWhenDisabled)
{
    EXPECT_EQ(reading(*display), QStringLiteral("00:00"));
    EXPECT_TRUE(colonLit(*display));
    display->setEnabled(false);
    EXPECT_EQ(reading(*display), QStringLiteral("__:__"));
    for (int p = 0; p < 4; ++p)
        for (int s = 0; s < ctlQX_Digital::SegmentCount; ++s)
            EXPECT_EQ(display->segmentColour(ctlQX_Digital::Segment(s), p), kUnlit);
    EXPECT_TRUE(colonLit(*display));
    // Other values show while disabled.
    display->setValue(61);
    EXPECT_EQ(reading(*display), QStringLiteral("01:01"));
    display->setEnabled(true);
    display->setValue(0);
    EXPECT_EQ(reading(*display), QStringLiteral("00:00"));
    EXPECT_EQ(changed, (QStringList{"Enabled", "Value", "Enabled", "Value"}));
}

TEST_F(Digital, ValuesShowAsMinutesAndSeconds)
{
    const std::pair<qint16, const char*> cases[] = {
        {59, "00:59"}, {60, "01:00"}, {754, "12:34"}, {3599, "59:59"}, {5999, "99:59"}};
    for (auto [value, text] : cases) {
        display->setValue(value);
        EXPECT_EQ(display->value(), value);
        EXPECT_EQ(reading(*display), QLatin1String(text)) << value;
    }
    // Beyond the two-digit minutes the display holds at its largest time; negative values
    // show blank digits. Neither fails.
    display->setValue(6000);
    EXPECT_EQ(display->value(), 6000);
    EXPECT_EQ(reading(*display), QStringLiteral("99:59"));
    display->setValue(32767);
    EXPECT_EQ(reading(*display), QStringLiteral("99:59"));
    display->setValue(-5);
    EXPECT_EQ(reading(*display), QStringLiteral("__:__"));
    EXPECT_TRUE(colonLit(*display));
    EXPECT_TRUE(log.isEmpty());
}

TEST_F(Digital, DarkColourRecoloursOnlyUnlitSegments)
{
    display->setValue(754);
    display->setColourDark(0x0000FF);
    EXPECT_EQ(reading(*display), QStringLiteral("12:34"));
    EXPECT_EQ(display->segmentColour(ctlQX_Digital::shpTop, 0), 0xFFu);     // 1: top unlit
    EXPECT_EQ(display->segmentColour(ctlQX_Digital::shpRightTop, 0), kLit); // 1: right lit
    EXPECT_TRUE(colonLit(*display));
    display->setColourLight(0xFF0000);
    EXPECT_EQ(display->segmentColour(ctlQX_Digital::shpRightTop, 0), 0xFF0000u);
    EXPECT_EQ(display->dotFillColour(0), 0xFF0000u);
    EXPECT_EQ(display->dotBorderColour(1), 0xFF0000u);
    EXPECT_EQ(changed, (QStringList{"Value", "ColourDark", "ColourLight"}));
}

TEST_F(Digital, BackColourLeavesTheSegments)
{
    display->setValue(754);
    std::vector<OleColour> before;
    for (int p = 0; p < 4; ++p)
        for (int s = 0; s < ctlQX_Digital::SegmentCount; ++s)
            before.push_back(display->segmentColour(ctlQX_Digital::Segment(s), p));
    display->setBackColor(0x404040);
    std::vector<OleColour> after;
    for (int p = 0; p < 4; ++p)
        for (int s = 0; s < ctlQX_Digital::SegmentCount; ++s)
            after.push_back(display->segmentColour(ctlQX_Digital::Segment(s), p));
    EXPECT_EQ(after, before);
    for (int c = 0; c < 5; ++c) EXPECT_EQ(display->cellBackColour(c), 0x404040u);
    EXPECT_EQ(image(display).pixel(5, 5), rgbOf(0x404040)); // between the segments
}

TEST_F(Digital, SizeIsFixed)
{
    EXPECT_EQ(display->size(), QSize(69, 19));
    display->resize(300, 100);
    display->setGeometry(5, 5, 10, 10);
    EXPECT_EQ(display->size(), QSize(69, 19));
    EXPECT_DOUBLE_EQ(display->Width(), 1035);
    EXPECT_DOUBLE_EQ(display->Height(), 290);
    EXPECT_EQ(display->digitCell(0)->geometry(), QRect(0, 0, 17, 19));
    EXPECT_EQ(display->digitCell(1)->geometry(), QRect(16, 0, 17, 19));
    EXPECT_EQ(display->picDots()->geometry(), QRect(33, 0, 9, 19));
    EXPECT_EQ(display->digitCell(2)->geometry(), QRect(40, 0, 17, 19));
    EXPECT_EQ(display->digitCell(3)->geometry(), QRect(56, 0, 17, 19));
}

TEST_F(Digital, CellsReportTheirOwnCoordinatesAndNeverClick)
{
    click(display->digitCell(2), {4, 6});
    EXPECT_EQ(log, (QStringList{"MouseDown 1 0 60 90", "MouseUp 1 0 60 90"}));
    log.clear();
    // Pressed at window pixel (45, 6): the third digit cell, 5 pixels from its left.
    click(display, {45, 6});
    EXPECT_EQ(log, (QStringList{"MouseDown 1 0 75 90", "MouseUp 1 0 75 90"}));
    log.clear();
    click(display->picDots(), {2, 2});
    EXPECT_EQ(names(log), (QStringList{"MouseDown", "MouseUp"}));
    log.clear();
    display->setEnabled(false);
    click(display->digitCell(0), {4, 6});
    EXPECT_TRUE(log.isEmpty());
}

TEST_F(Digital, BagDefaultsAndOrder)
{
    EXPECT_EQ(display->propertyNames(),
              (QStringList{"ColourLight", "ColourDark", "BackColor", "value", "Enabled"}));
    PropertyBag defaults;
    display->WriteProperties(defaults);
    EXPECT_EQ(defaults.keys(), (QStringList{"Value", "ColourLight", "ColourDark", "BackColor", "Enabled"}));
    EXPECT_EQ(defaults.entries().at(0).defaultValue, QVariant(QStringLiteral("0")));
    EXPECT_EQ(defaults.entries().at(1).defaultValue.toUInt(), kLit);
    EXPECT_EQ(defaults.entries().at(2).defaultValue.toUInt(), kUnlit);
    EXPECT_EQ(defaults.entries().at(3).defaultValue.toUInt(), 0u);
    EXPECT_EQ(defaults.entries().at(4).defaultValue.toBool(), true);

    PropertyBag bag;
    bag.WriteProperty(QStringLiteral("Value"), QStringLiteral("75"));
    bag.WriteProperty(QStringLiteral("ColourLight"), 0xFF);
    bag.WriteProperty(QStringLiteral("BackColor"), 0x202020);
    bag.WriteProperty(QStringLiteral("Enabled"), false);
    ctlQX_Digital copy;
    QStringList copyChanged;
    recordChanges(&copy, copyChanged);
    copy.ReadProperties(bag);
    EXPECT_EQ(bag.readLog(), (QStringList{"Value", "ColourLight", "ColourDark", "BackColor", "BackColor",
                                          "BackColor", "BackColor", "BackColor", "BackColor", "Enabled"}));
    EXPECT_TRUE(copyChanged.isEmpty());
    EXPECT_EQ(copy.value(), 75);
    EXPECT_EQ(reading(copy), QStringLiteral("01:15"));
    EXPECT_EQ(copy.ColourLight(), 0xFFu);
    EXPECT_EQ(copy.ColourDark(), kUnlit);
    EXPECT_TRUE(colonLit(copy));
    EXPECT_EQ(copy.cellBackColour(4), 0x202020u);
    EXPECT_FALSE(copy.Enabled());

    // A stored value that is no 16-bit number leaves 0, which shows blank when disabled.
    PropertyBag bad;
    bad.WriteProperty(QStringLiteral("Value"), QStringLiteral("12x"));
    bad.WriteProperty(QStringLiteral("Enabled"), false);
    ctlQX_Digital other;
    other.ReadProperties(bad);
    EXPECT_EQ(other.value(), 0);
    EXPECT_EQ(reading(other), QStringLiteral("__:__"));
    PropertyBag huge;
    huge.WriteProperty(QStringLiteral("Value"), 40000);
    other.ReadProperties(huge);
    EXPECT_EQ(other.value(), 0);
}
