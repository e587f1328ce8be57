// Line controls, plain and 3-D panels, framed panel.
#include "ControlTestSupport.h"
#include "controls/ctlQX_3DPanel.h"
#include "controls/ctlQX_hLine3D.h"
#include "controls/ctlQX_noFocusPanel.h"
#include "controls/ctlQX_wLine3D.h"
#include "controls/ctlQX_wPanel.h"
#include "support/TestEnv.h"

#include <QLabel>

#include <memory>

using namespace controltest;

namespace {
void expectLine(const ControlLine& l, double x1, double y1, double x2, double y2)
{
    EXPECT_DOUBLE_EQ(l.x1, x1);
    EXPECT_DOUBLE_EQ(l.y1, y1);
    EXPECT_DOUBLE_EQ(l.x2, x2);
    EXPECT_DOUBLE_EQ(l.y2, y2);
}
} // namespace

class LineControls : public VeltraTest {};

TEST_F(LineControls, HorizontalLinesSpanTheWidthAfterEveryResize)
{
    ctlQX_wLine3D line;
    EXPECT_EQ(line.size(), QSize(57, 17)); // 855 x 255 twips
    line.show();
    line.resize(300, 17);
    expectLine(line.Line1(), 0, 120, 4500, 120);
    expectLine(line.Line2(), 0, 140, 4500, 140);
    EXPECT_DOUBLE_EQ(line.ScaleWidth(), 4500);
    EXPECT_DOUBLE_EQ(line.ScaleHeight(), 255);
    EXPECT_EQ(line.Line1().colour, syscolour::ButtonShadow);
    EXPECT_EQ(line.Line2().colour, 0xFFFFFFu);

    line.resize(40, 34);
    expectLine(line.Line1(), 0, 120, 600, 120);
    expectLine(line.Line2(), 0, 140, 600, 140);
    EXPECT_DOUBLE_EQ(line.ScaleHeight(), 255);
    EXPECT_TRUE(line.properties().isEmpty());

    // The lines keep their place in the 255-unit height: twice as tall, twice as low.
    const QImage img = image(&line);
    EXPECT_EQ(img.pixel(20, 16), rgbOf(syscolour::ButtonShadow));
    EXPECT_EQ(img.pixel(20, 19), rgbOf(0xFFFFFF));
    EXPECT_EQ(img.pixel(39, 16), rgbOf(syscolour::ButtonShadow));
}

TEST_F(LineControls, VerticalLinesSpanTheHeightAfterEveryResize)
{
    ctlQX_hLine3D line;
    EXPECT_EQ(line.size(), QSize(17, 217)); // 255 x 3255 twips
    line.show();
    line.resize(17, 100);
    expectLine(line.Line1(), 120, 0, 120, 1500);
    expectLine(line.Line2(), 140, -120, 140, 1500);
    EXPECT_DOUBLE_EQ(line.ScaleWidth(), 255);
    line.resize(17, 20);
    expectLine(line.Line1(), 120, 0, 120, 300);
    expectLine(line.Line2(), 140, -120, 140, 300);

    const QImage img = image(&line);
    EXPECT_EQ(img.pixel(8, 10), rgbOf(syscolour::ButtonShadow));
    EXPECT_EQ(img.pixel(9, 10), rgbOf(0xFFFFFF));
    EXPECT_EQ(img.pixel(9, 19), rgbOf(0xFFFFFF));
}

class Panels : public VeltraTest {};

TEST_F(Panels, ThreeDPanelFrameFollowsTheSize)
{
    ctlQX_3DPanel panel;
    panel.layOut(3000, 2000);
    expectLine(panel.dlRight(), 2980, 1990, 2980, 0);
    expectLine(panel.dlBottom(), 0, 1980, 3010, 1980);
    expectLine(panel.llTop(), 0, 0, 3000, 0);
    expectLine(panel.llLeft(), 0, 1970, 0, 0);

    panel.show();
    panel.resize(200, 140); // 3000 x 2100 twips
    expectLine(panel.dlRight(), 2980, 2090, 2980, 0);
    expectLine(panel.dlBottom(), 0, 2080, 3010, 2080);
    expectLine(panel.llLeft(), 0, 2070, 0, 0);

    const QImage img = image(&panel);
    const QRgb white = rgbOf(0xFFFFFF), dark = rgbOf(syscolour::ButtonShadow);
    EXPECT_EQ(img.pixel(100, 0), white);
    EXPECT_EQ(img.pixel(0, 70), white);
    EXPECT_EQ(img.pixel(199, 70), dark);
    EXPECT_EQ(img.pixel(100, 139), dark);
    EXPECT_EQ(img.pixel(100, 70), rgbOf(syscolour::ButtonFace));
}

TEST_F(Panels, ThreeDPanelForwardsItsSurfaceButNotItsChildren)
{
    QWidget host;
    host.resize(300, 200);
    auto* panel = new ctlQX_3DPanel(&host);
    panel->setGeometry(10, 10, 200, 150);
    auto* label = new QLabel(QStringLiteral("child"), panel);
    label->setGeometry(100, 100, 50, 20);
    host.show();
    QStringList log;
    recordMouse(panel, log);
    recordClick(panel, log);

    press(panel, {5, 6}, Qt::LeftButton, Qt::NoButton, Qt::ShiftModifier);
    release(panel, {5, 6});
    EXPECT_EQ(log, (QStringList{"MouseDown 1 1 75 90", "MouseUp 1 0 75 90", "Click"}));

    // Any button clicks the bare panel.
    log.clear();
    click(panel, {50, 50}, Qt::RightButton);
    EXPECT_EQ(names(log), (QStringList{"MouseDown", "MouseUp", "Click"}));

    // Clicks and moves over a control placed on the panel are the control's.
    log.clear();
    click(label, {5, 5});
    move(label, {6, 6}, Qt::NoButton);
    EXPECT_TRUE(log.isEmpty()) << log.join(u',').toStdString();

    // A press on the surface keeps the mouse, also over the child, and a release within
    // the panel clicks it.
    press(panel, {90, 90});
    move(label, {5, 5});
    release(label, {5, 5});
    EXPECT_EQ(names(log), (QStringList{"MouseDown", "MouseMove", "MouseUp", "Click"}));

    log.clear();
    panel->setEnabled(false);
    click(panel, {5, 6});
    EXPECT_TRUE(log.isEmpty());
}

TEST_F(Panels, ThreeDPanelPropertiesAndBag)
{
    ctlQX_3DPanel panel;
    QStringList changed;
    recordChanges(&panel, changed);
    EXPECT_EQ(panel.propertyNames(), (QStringList{"Background", "Enabled"}));
    panel.setBackground(0x123456);
    panel.setEnabled(false);
    panel.setEnabled(false);
    EXPECT_EQ(changed, (QStringList{"Background", "Enabled"}));
    EXPECT_EQ(panel.propertyFromLast(1).toUInt(), 0x123456u);
    EXPECT_FALSE(panel.propertyFromLast(0).toBool());

    PropertyBag bag;
    panel.WriteProperties(bag);
    EXPECT_EQ(bag.keys(), (QStringList{"Background", "Enabled"}));
    EXPECT_EQ(bag.entries().at(0).defaultValue.toUInt(), syscolour::ButtonFace);
    EXPECT_EQ(bag.entries().at(1).defaultValue.toBool(), true);

    ctlQX_3DPanel other;
    QStringList otherChanged;
    recordChanges(&other, otherChanged);
    other.ReadProperties(bag);
    EXPECT_EQ(bag.readLog(), (QStringList{"Background", "Enabled"}));
    EXPECT_EQ(other.Background(), 0x123456u);
    EXPECT_FALSE(other.Enabled());
    EXPECT_TRUE(otherChanged.isEmpty());
}

TEST_F(Panels, PlainPanelRepaintsAtOnceAndStoresItsColour)
{
    ctlQX_noFocusPanel panel;
    EXPECT_EQ(panel.size(), QSize(137, 113));
    EXPECT_EQ(image(&panel).pixel(50, 50), rgbOf(syscolour::ButtonFace));
    QStringList changed;
    recordChanges(&panel, changed);
    panel.setPanelColour(0x0000FF);
    EXPECT_EQ(changed, QStringList{"PanelColour"});
    EXPECT_EQ(image(&panel).pixel(50, 50), qRgb(255, 0, 0));

    PropertyBag bag;
    panel.WriteProperties(bag);
    ASSERT_EQ(bag.keys(), QStringList{"PanelColour"});
    EXPECT_EQ(bag.entries().at(0).value.toUInt(), 0xFFu);
    EXPECT_EQ(bag.entries().at(0).defaultValue.toUInt(), syscolour::ButtonFace);

    ctlQX_noFocusPanel fresh;
    PropertyBag empty;
    fresh.ReadProperties(empty);
    EXPECT_EQ(fresh.PanelColour(), syscolour::ButtonFace);
    fresh.ReadProperties(bag);
    EXPECT_EQ(fresh.PanelColour(), 0xFFu);
}

class FramedPanel : public VeltraTest {};

TEST_F(FramedPanel, LayoutAfterResize)
{
    ctlQX_wPanel panel;
    EXPECT_EQ(panel.size(), QSize(182, 131));
    panel.show();
    panel.resize(200, 20); // 3000 x 300 twips
    const EdgeFrame& f = panel.frame();
    expectLine(f.lTop, 0, 30, 2960, 30);
    expectLine(f.lLeft, 30, 0, 30, 260);
    expectLine(f.lRight, 2970, 0, 2970, 300);
    expectLine(f.lBottom, 0, 270, 3000, 270);
    EXPECT_DOUBLE_EQ(f.borderWidth, 3000);
    EXPECT_DOUBLE_EQ(f.borderHeight, 300);

    const QImage img = image(&panel);
    EXPECT_EQ(img.pixel(0, 10), rgbOf(0));         // border
    EXPECT_EQ(img.pixel(199, 10), rgbOf(0));
    EXPECT_EQ(img.pixel(100, 19), rgbOf(0));
    EXPECT_EQ(img.pixel(100, 2), rgbOf(0xFFFFFF)); // top edge
    EXPECT_EQ(img.pixel(2, 10), rgbOf(0xFFFFFF));  // left edge
    EXPECT_EQ(img.pixel(198, 10), rgbOf(0x808080)); // right edge
    EXPECT_EQ(img.pixel(100, 18), rgbOf(0x808080)); // bottom edge
    EXPECT_EQ(img.pixel(100, 10), rgbOf(0xC0C0C0));
}

TEST_F(FramedPanel, LightColourRecoloursTopAndLeftOnly)
{
    ctlQX_wPanel panel;
    QStringList changed;
    recordChanges(&panel, changed);
    panel.setLinesLightColor(0xFF);
    EXPECT_EQ(panel.LinesLightColor(), 0xFFu);
    EXPECT_EQ(panel.frame().lTop.colour, 0xFFu);
    EXPECT_EQ(panel.frame().lLeft.colour, 0xFFu);
    EXPECT_EQ(panel.frame().lRight.colour, 0x808080u);
    EXPECT_EQ(panel.frame().lBottom.colour, 0x808080u);
    EXPECT_EQ(changed, QStringList{"LinesLightColor"});
}

TEST_F(FramedPanel, MouseIsForwardedAndTheLookNeverChanges)
{
    ctlQX_wPanel panel;
    panel.resize(200, 20);
    panel.show();
    QStringList log;
    recordMouse(&panel, log);
    recordClick(&panel, log);
    const QImage before = image(&panel);
    press(&panel, {10, 5});
    EXPECT_EQ(image(&panel), before);
    move(&panel, {20, 6});
    release(&panel, {20, 6});
    EXPECT_EQ(log, (QStringList{"MouseDown 1 0 150 75", "MouseMove 1 0 300 90", "MouseUp 1 0 300 90",
                                "Click"}));
    EXPECT_EQ(image(&panel), before);

    // Released off the panel: a drag, not a click.
    log.clear();
    press(&panel, {10, 5});
    release(&panel, {250, 5});
    EXPECT_EQ(names(log), (QStringList{"MouseDown", "MouseUp"}));

    log.clear();
    panel.setEnabled(false);
    click(&panel, {10, 5});
    move(&panel, {11, 5}, Qt::NoButton);
    EXPECT_TRUE(log.isEmpty());
    EXPECT_EQ(image(&panel), before);
}

TEST_F(FramedPanel, PropertyTableAndBag)
{
    ctlQX_wPanel panel;
    EXPECT_EQ(panel.propertyNames(),
              (QStringList{"Enabled", "BorderColor", "BackColor", "LinesLightColor", "LinesDarkColor"}));
    // Late-bound hosts count back from the last property.
    EXPECT_EQ(panel.propertyFromLast(0).toUInt(), 0x808080u);
    EXPECT_EQ(panel.propertyFromLast(2).toUInt(), 0xC0C0C0u);
    EXPECT_TRUE(panel.propertyFromLast(4).toBool());
    EXPECT_FALSE(panel.propertyFromLast(5).isValid());
    EXPECT_FALSE(panel.setPropertyFromLast(-1, 1));
    EXPECT_TRUE(panel.setPropertyFromLast(3, 0x0000FF));
    EXPECT_EQ(panel.BorderColor(), 0xFFu);

    PropertyBag defaults;
    ctlQX_wPanel().WriteProperties(defaults);
    EXPECT_EQ(defaults.keys(),
              (QStringList{"Enabled", "BackColor", "LinesLightColor", "LinesDarkColor", "BorderColor"}));
    for (const PropertyBag::Entry& e : defaults.entries())
        EXPECT_EQ(e.value, e.defaultValue) << e.key.toStdString();

    panel.setBackColor(0x102030);
    panel.setLinesLightColor(0x1);
    panel.setLinesDarkColor(0x2);
    panel.setEnabled(false);
    PropertyBag bag;
    panel.WriteProperties(bag);
    ctlQX_wPanel copy;
    QStringList changed;
    recordChanges(&copy, changed);
    copy.ReadProperties(bag);
    EXPECT_EQ(bag.readLog(),
              (QStringList{"Enabled", "BackColor", "LinesLightColor", "LinesDarkColor", "BorderColor"}));
    EXPECT_TRUE(changed.isEmpty());
    EXPECT_FALSE(copy.Enabled());
    EXPECT_EQ(copy.BackColor(), 0x102030u);
    EXPECT_EQ(copy.BorderColor(), 0xFFu);
    EXPECT_EQ(copy.frame().lLeft.colour, 0x1u);
    EXPECT_EQ(copy.frame().lRight.colour, 0x2u);
}
