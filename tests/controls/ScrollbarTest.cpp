// The slider: thumb position from value and back, the drag clamps and their rounding,
// range checks, and what starts a drag.
#include "ControlTestSupport.h"
#include "controls/ControlPiece.h"
#include "controls/ctlQX_wScrollbar.h"
#include "support/TestEnv.h"

using namespace controltest;

namespace {
QPixmap filled(int w, int h, QColor c)
{
    QPixmap p(w, h);
    p.fill(c);
    return p;
}
} // namespace

class Slider : public VeltraTest {
protected:
    void SetUp() override
    {
        VeltraTest::SetUp();
        host.resize(300, 100);
        slider = new ctlQX_wScrollbar(&host);
        host.show();
        slider->resize(100, 50);
        recordMouse(slider, log);
        QObject::connect(slider, &ctlQX_wScrollbar::Change, slider,
                         [this] { log << QStringLiteral("Change"); });
        recordChanges(slider, changed);
    }
    // Track 100 pixels, thumb `thumb` pixels wide and 10 high.
    void useThumb(int thumb)
    {
        slider->setPicture(filled(100, 10, Qt::gray));
        slider->setBar(filled(thumb, 10, Qt::blue));
        log.clear();
        changed.clear();
    }
    QWidget* track() const { return slider->picBack(); }
    // Drags the thumb from its left edge to pixel x and lets go.
    void dragTo(int x)
    {
        press(track(), {slider->thumbPosition(), 5});
        move(track(), {x, 5});
        release(track(), {x, 5});
    }

    QWidget host;
    ctlQX_wScrollbar* slider;
    QStringList log;
    QStringList changed;
};

TEST_F(Slider, FreshInstance)
{
    EXPECT_EQ(slider->Min(), 0);
    EXPECT_EQ(slider->Max(), 100);
    EXPECT_EQ(slider->value(), 0);
    EXPECT_EQ(slider->thumbPosition(), 0);
    EXPECT_TRUE(slider->BarVisible());
    EXPECT_TRUE(slider->Bar().isNull());
    // With no thumb picture the control is 120 twips high, whatever the host asks.
    EXPECT_EQ(slider->height(), 8);
    EXPECT_DOUBLE_EQ(slider->ScaleHeight(), 120);
    EXPECT_EQ(slider->picBack()->geometry(), QRect(0, 0, 100, 8));
    EXPECT_EQ(slider->propertyNames(), (QStringList{"BarVisible", "Enabled", "BackColor", "Bar", "Max",
                                                    "Min", "Picture", "value"}));
}

TEST_F(Slider, ControlIsAsTallAsTheThumbPicture)
{
    slider->setBar(filled(11, 14, Qt::blue));
    EXPECT_EQ(slider->height(), 14);
    EXPECT_EQ(slider->picBack()->geometry(), QRect(0, 0, 100, 14));
    slider->resize(150, 40);
    EXPECT_EQ(slider->size(), QSize(150, 14));
    EXPECT_EQ(slider->trackWidth(), 150);
    slider->setBar(QPixmap());
    EXPECT_EQ(slider->height(), 8);
}

TEST_F(Slider, TwipsBecomePixelsThroughTwoRoundings)
{
    EXPECT_EQ(ctlQX_wScrollbar::scroll_TwipsToPixels(150), 10);
    // 112.5 rounds to 112 (halves to even) before the division: 7.47 gives 7, not 8.
    EXPECT_EQ(ctlQX_wScrollbar::scroll_TwipsToPixels(112.5), 7);
    EXPECT_EQ(ctlQX_wScrollbar::scroll_TwipsToPixels(37.5), 3);
    EXPECT_EQ(ctlQX_wScrollbar::scroll_TwipsToPixels(22.5), 1);
    EXPECT_EQ(ctlQX_wScrollbar::scroll_TwipsToPixels(7.5), 1);
}

TEST_F(Slider, ThumbPositionFromValueRoundsHalvesToEven)
{
    useThumb(10); // free run of 90 pixels
    slider->setMax(180);
    slider->setValue(1);
    EXPECT_EQ(slider->thumbPosition(), 0); // 0.5
    slider->setValue(3);
    EXPECT_EQ(slider->thumbPosition(), 2); // 1.5
    slider->setValue(5);
    EXPECT_EQ(slider->thumbPosition(), 2); // 2.5
    slider->setValue(180);
    EXPECT_EQ(slider->thumbPosition(), 90);
    slider->setMin(-180);
    slider->setValue(0);
    EXPECT_EQ(slider->thumbPosition(), 45);
    EXPECT_TRUE(log.isEmpty()); // setting a property raises no event
    EXPECT_EQ(changed, (QStringList{"Max", "Value", "Value", "Value", "Value", "Min", "Value"}));
}

TEST_F(Slider, OutOfRangeSetsAreIgnored)
{
    useThumb(11);
    slider->setValue(40);
    changed.clear();
    const QImage before = image(slider);
    slider->setValue(101);
    slider->setValue(-1);
    slider->setMax(39);
    slider->setMin(41);
    EXPECT_EQ(slider->value(), 40);
    EXPECT_EQ(slider->Max(), 100);
    EXPECT_EQ(slider->Min(), 0);
    EXPECT_EQ(image(slider), before);
    EXPECT_TRUE(changed.isEmpty());
    EXPECT_TRUE(log.isEmpty());

    // Equal limits are accepted.
    slider->setMax(40);
    slider->setMin(40);
    EXPECT_EQ(slider->Max(), 40);
    EXPECT_EQ(slider->Min(), 40);
    EXPECT_EQ(changed, (QStringList{"Max", "Min"}));
    // An empty range keeps the thumb at the left edge.
    EXPECT_EQ(slider->thumbPosition(), 0);
}

TEST_F(Slider, WhatStartsADrag)
{
    useThumb(11);
    slider->setValue(50); // 44.5 rounds to 44: thumb at 44..55
    ASSERT_EQ(slider->thumbPosition(), 44);

    press(track(), {50, 5}, Qt::RightButton);
    EXPECT_FALSE(slider->dragging());
    release(track(), {50, 5}, Qt::RightButton);

    press(track(), {50, 5}, Qt::RightButton);
    press(track(), {50, 5}, Qt::LeftButton, Qt::RightButton);
    EXPECT_FALSE(slider->dragging());
    release(track(), {50, 5}, Qt::LeftButton, Qt::RightButton);
    release(track(), {50, 5}, Qt::RightButton);

    press(track(), {43, 5});
    EXPECT_FALSE(slider->dragging());
    release(track(), {43, 5});
    press(track(), {56, 5});
    EXPECT_FALSE(slider->dragging());
    release(track(), {56, 5});
    EXPECT_EQ(log.mid(0, 6), (QStringList{"MouseDown 2 0 750 75", "MouseUp 2 0 750 75",
                                          "MouseDown 2 0 750 75", "MouseDown 3 0 750 75",
                                          "MouseUp 3 0 750 75", "MouseUp 2 0 750 75"}));
    EXPECT_EQ(names(log.mid(6)), (QStringList{"MouseDown", "MouseUp", "MouseDown", "MouseUp"}));

    // Both edges of the thumb count.
    press(track(), {44, 5});
    EXPECT_TRUE(slider->dragging());
    release(track(), {44, 5});
    EXPECT_FALSE(slider->dragging());
    press(track(), {55, 5});
    EXPECT_TRUE(slider->dragging());
    release(track(), {55, 5});
    EXPECT_EQ(slider->value(), 50);
}

TEST_F(Slider, DragPastEitherEnd)
{
    useThumb(11);
    slider->setValue(50);
    dragTo(400);
    // The two roundings of the clamp leave an odd-width thumb one pixel short of the end.
    EXPECT_EQ(slider->thumbPosition(), 88);
    EXPECT_EQ(slider->value(), 99);
    dragTo(-50);
    EXPECT_EQ(slider->thumbPosition(), 0);
    EXPECT_EQ(slider->value(), 0);

    // An even thumb reaches the end and gives Max.
    useThumb(10);
    dragTo(400);
    EXPECT_EQ(slider->thumbPosition(), 90);
    EXPECT_EQ(slider->value(), 100);
}

TEST_F(Slider, EveryDragMoveRaisesChangeBeforeMouseMove)
{
    useThumb(11);
    press(track(), {3, 5});
    move(track(), {3, 5});
    move(track(), {3, 6});  // same place: value unchanged, Change all the same
    move(track(), {40, 5}, Qt::LeftButton | Qt::RightButton);
    release(track(), {40, 5});
    EXPECT_EQ(names(log), (QStringList{"MouseDown", "Change", "MouseMove", "Change", "MouseMove",
                                       "Change", "MouseMove", "MouseUp"}));
    EXPECT_EQ(log.at(6), QStringLiteral("MouseMove 3 0 600 75"));
    // Centre 40: thumb Round(34.5) = 34, value Round(34 / 89 * 100) = 38.
    EXPECT_EQ(slider->value(), 38);
    EXPECT_EQ(slider->thumbPosition(), 34);
}

TEST_F(Slider, DragSnapsTheThumbToTheRoundedValue)
{
    useThumb(11);
    slider->setMax(4);
    press(track(), {0, 5});
    move(track(), {30, 5});
    // Centre 30: thumb Round(24.5) = 24, value Round(24 / 89 * 4) = 1, redrawn at
    // Round(1 / 4 * 89) = 22.
    EXPECT_EQ(slider->value(), 1);
    EXPECT_EQ(slider->thumbPosition(), 22);
    move(track(), {55, 5});
    EXPECT_EQ(slider->value(), 2);
    EXPECT_EQ(slider->thumbPosition(), 44); // Round(44.5)
    release(track(), {55, 5});
    EXPECT_EQ(changed.count(QStringLiteral("Value")), 2);
}

TEST_F(Slider, MovesWithoutADragOnlyReport)
{
    useThumb(11);
    move(track(), {30, 5}, Qt::NoButton);
    EXPECT_EQ(log, QStringList{"MouseMove 0 0 450 75"});
    EXPECT_EQ(slider->value(), 0);
}

TEST_F(Slider, DegenerateTracksStayUsable)
{
    useThumb(11);
    slider->setMax(0);
    dragTo(60);
    EXPECT_EQ(slider->value(), 0);
    EXPECT_EQ(slider->thumbPosition(), 0);

    // A track narrower than the thumb.
    slider->setMax(100);
    slider->setValue(30);
    slider->resize(8, 10);
    EXPECT_EQ(slider->thumbPosition(), 0);
    press(track(), {2, 5});
    move(track(), {6, 5});
    release(track(), {6, 5});
    EXPECT_EQ(slider->value(), 30);

    // Ranges as wide as 32 bits allow.
    slider->resize(100, 10);
    slider->setMin(std::numeric_limits<qint32>::min());
    slider->setMax(std::numeric_limits<qint32>::max());
    slider->setValue(std::numeric_limits<qint32>::max());
    EXPECT_EQ(slider->thumbPosition(), 89);
    dragTo(-10);
    EXPECT_EQ(slider->value(), std::numeric_limits<qint32>::min());
}

TEST_F(Slider, DisabledStartsNoDrag)
{
    useThumb(11);
    slider->setEnabled(false);
    press(track(), {3, 5});
    move(track(), {50, 5});
    release(track(), {50, 5});
    EXPECT_TRUE(log.isEmpty());
    EXPECT_EQ(slider->value(), 0);

    // Disabled in the middle of a drag: the drag ends, it does not come back on enabling.
    slider->setEnabled(true);
    press(track(), {3, 5});
    ASSERT_TRUE(slider->dragging());
    slider->setEnabled(false);
    slider->setEnabled(true);
    move(track(), {60, 5}, Qt::NoButton);
    EXPECT_EQ(slider->value(), 0);
}

TEST_F(Slider, HiddenTrackLeavesTheSurfaceToTheMouse)
{
    useThumb(11);
    slider->setBarVisible(false);
    EXPECT_FALSE(slider->BarVisible());
    EXPECT_TRUE(changed.isEmpty()); // not persisted
    press(slider, {3, 5});
    EXPECT_FALSE(slider->dragging());
    move(slider, {40, 5});
    release(slider, {40, 5});
    EXPECT_EQ(names(log), (QStringList{"MouseDown", "MouseMove", "MouseUp"}));
    EXPECT_EQ(slider->value(), 0);
}

TEST_F(Slider, ThumbIsDrawnOnTheTrack)
{
    useThumb(11);
    slider->setBackColor(0x0000FF);
    slider->setPicture(filled(50, 10, QColor(128, 128, 128)));
    slider->setValue(100);
    const QImage img = image(slider);
    EXPECT_EQ(img.pixel(10, 5), qRgb(128, 128, 128));
    EXPECT_EQ(img.pixel(70, 5), qRgb(255, 0, 0));        // back colour beyond the picture
    EXPECT_EQ(img.pixel(89, 5), qRgb(0, 0, 255));        // thumb at 89..99
    EXPECT_EQ(img.pixel(99, 5), qRgb(0, 0, 255));
    EXPECT_EQ(img.pixel(88, 5), qRgb(255, 0, 0));
}

TEST_F(Slider, BagDefaultsAndOrder)
{
    const QStringList order{"Picture", "Bar", "BackColor", "Min", "Max", "Value", "Enabled"};
    PropertyBag defaults;
    slider->WriteProperties(defaults);
    EXPECT_EQ(defaults.keys(), order);
    EXPECT_EQ(defaults.entries().at(2).defaultValue.toUInt(), syscolour::ButtonFace);
    EXPECT_EQ(defaults.entries().at(3).defaultValue.toInt(), 0);
    EXPECT_EQ(defaults.entries().at(4).defaultValue.toInt(), 100);
    EXPECT_EQ(defaults.entries().at(5).defaultValue.toInt(), 0);
    EXPECT_EQ(defaults.entries().at(6).defaultValue.toBool(), true);

    useThumb(11);
    slider->setMax(200);
    slider->setValue(150);
    slider->setMin(-20);
    slider->setBackColor(0x123456);
    slider->setEnabled(false);
    PropertyBag bag;
    slider->WriteProperties(bag);

    ctlQX_wScrollbar copy(&host);
    copy.resize(100, 10);
    QStringList copyChanged;
    recordChanges(&copy, copyChanged);
    copy.ReadProperties(bag);
    EXPECT_EQ(bag.readLog(),
              (QStringList{"Picture", "Bar", "BackColor", "BackColor", "Min", "Max", "Value", "Enabled"}));
    EXPECT_TRUE(copyChanged.isEmpty());
    EXPECT_EQ(copy.Min(), -20);
    EXPECT_EQ(copy.Max(), 200);
    EXPECT_EQ(copy.value(), 150);
    EXPECT_EQ(copy.BackColor(), 0x123456u);
    EXPECT_FALSE(copy.Enabled());
    EXPECT_EQ(copy.Bar().size(), QSize(11, 10));
    EXPECT_EQ(copy.height(), 10);
    EXPECT_EQ(copy.thumbPosition(), 69); // 170 / 220 * 89 = 68.8
}
