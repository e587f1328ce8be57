// Text button and image button: press look, event order, Click only for the left button.
#include "ControlTestSupport.h"
#include "common/modVB.h"
#include "controls/ControlPiece.h"
#include "controls/ctlQX_wImageButton.h"
#include "controls/ctlQX_wTextPanel.h"
#include "support/TestEnv.h"

#include <QPainter>
#include <QTest>
#include <QWindow>

using namespace controltest;

namespace {
constexpr OleColour kLight = 0xFFFFFF;
constexpr OleColour kDark = 0x808080;

template <class C>
bool looksPressed(const C& c)
{
    const EdgeFrame& f = c.frame();
    return f.lTop.colour == c.lDark().colour && f.lLeft.colour == c.lDark().colour
        && f.lRight.colour == c.lLight().colour && f.lBottom.colour == c.lLight().colour;
}

template <class C>
bool looksRaised(const C& c)
{
    const EdgeFrame& f = c.frame();
    return f.lTop.colour == c.lLight().colour && f.lLeft.colour == c.lLight().colour
        && f.lRight.colour == c.lDark().colour && f.lBottom.colour == c.lDark().colour;
}

QPixmap filled(int w, int h, QColor c)
{
    QPixmap p(w, h);
    p.fill(c);
    return p;
}
} // namespace

class TextButton : public VeltraTest {
protected:
    void SetUp() override
    {
        VeltraTest::SetUp();
        button = std::make_unique<ctlQX_wTextPanel>();
        button->setObjectName(QStringLiteral("qxbPause"));
        button->show();
        button->resize(100, 30);
        recordMouse(button.get(), log);
        recordClick(button.get(), log);
    }
    std::unique_ptr<ctlQX_wTextPanel> button;
    QStringList log;
};

TEST_F(TextButton, LeftClickOnTheTextRaisesDownUpClickAndLooksPressedMeanwhile)
{
    QWidget* label = button->lblCaption();
    ASSERT_TRUE(looksRaised(*button));
    press(label, {2, 3});
    EXPECT_TRUE(looksPressed(*button));
    EXPECT_EQ(button->frame().lTop.colour, kDark);
    // Coordinates are those of the piece that got the press.
    EXPECT_EQ(log, QStringList{"MouseDown 1 0 30 45"});
    release(label, {2, 3});
    EXPECT_TRUE(looksRaised(*button));
    EXPECT_EQ(names(log), (QStringList{"MouseDown", "MouseUp", "Click"}));
    EXPECT_EQ(button->lastButton(), 1);

    // The bare surface behaves the same.
    log.clear();
    click(button.get(), {3, 3});
    EXPECT_EQ(log, (QStringList{"MouseDown 1 0 45 45", "MouseUp 1 0 45 45", "Click"}));
}

TEST_F(TextButton, RightClickLooksPressedButDoesNotClick)
{
    press(button.get(), {3, 3}, Qt::RightButton);
    EXPECT_TRUE(looksPressed(*button));
    release(button.get(), {3, 3}, Qt::RightButton);
    EXPECT_TRUE(looksRaised(*button));
    EXPECT_EQ(log, (QStringList{"MouseDown 2 0 45 45", "MouseUp 2 0 45 45"}));

    // A left release while the right button is still held is no left click either.
    log.clear();
    press(button.get(), {3, 3}, Qt::RightButton);
    press(button.get(), {3, 3}, Qt::LeftButton, Qt::RightButton);
    release(button.get(), {3, 3}, Qt::LeftButton, Qt::RightButton);
    release(button.get(), {3, 3}, Qt::RightButton);
    EXPECT_FALSE(log.contains(QStringLiteral("Click")));
}

TEST_F(TextButton, DoubleClickIsTwoClicks)
{
    // A real double click through the window system, on the button's edge and on its caption:
    // Qt delivers press, release, double click, release.
    ASSERT_TRUE(QTest::qWaitForWindowExposed(button.get()));
    QWindow* window = button->windowHandle();
    const QPoint caption = button->lblCaption()->geometry().center();
    for (const QPoint at : {QPoint(3, 3), caption}) {
        log.clear();
        QTest::mouseDClick(window, Qt::LeftButton, {}, at);
        QStringList seen = names(log);
        seen.removeAll(QStringLiteral("MouseMove"));   // the pointer arriving
        EXPECT_EQ(seen, (QStringList{"MouseDown", "MouseUp", "Click", "MouseDown", "MouseUp", "Click"}));
        EXPECT_TRUE(looksRaised(*button));
    }
}

TEST_F(TextButton, PlatformClickBeforeAnyReleaseRaisesNothing)
{
    button->UserControl_Click();
    button->lblCaption_Click();
    EXPECT_TRUE(log.isEmpty());
}

TEST_F(TextButton, CaptionIsCentredAgainWhenItGrows)
{
    button->setCaption(QStringLiteral("Go"));
    const float shortLeft = button->lblCaptionLeft();
    button->setCaption(QStringLiteral("A much longer caption"));
    const float lw = float(button->lblCaption()->width() * 15);
    const float lh = float(button->lblCaption()->height() * 15);
    EXPECT_LT(button->lblCaptionLeft(), shortLeft);
    EXPECT_FLOAT_EQ(button->lblCaptionLeft(), 1500.0f / 2 - lw / 2);
    EXPECT_FLOAT_EQ(button->lblCaptionTop(), 450.0f / 2 - lh / 2);
    EXPECT_EQ(button->lblCaption()->x(), int(vb::Round(button->lblCaptionLeft() / 15)));

    // A larger font grows the label and centres it again.
    const int w = button->lblCaption()->width();
    QFont big = button->Font();
    big.setPointSize(big.pointSize() * 2);
    button->setFont(big);
    EXPECT_GT(button->lblCaption()->width(), w);
    EXPECT_FLOAT_EQ(button->lblCaptionLeft(), 1500.0f / 2 - button->lblCaption()->width() * 15.0f / 2);
}

TEST_F(TextButton, DarkColourWhilePressedReachesTopAndLeftOnlyAtTheNextPress)
{
    press(button.get(), {3, 3});
    button->setLinesDarkColor(0x0000FF);
    const EdgeFrame& f = button->frame();
    EXPECT_EQ(f.lBottom.colour, 0xFFu);
    EXPECT_EQ(f.lRight.colour, 0xFFu);
    EXPECT_EQ(f.lTop.colour, kDark);
    EXPECT_EQ(f.lLeft.colour, kDark);
    release(button.get(), {3, 3});
    EXPECT_TRUE(looksRaised(*button));
    EXPECT_EQ(f.lBottom.colour, 0xFFu);
    press(button.get(), {3, 3});
    EXPECT_EQ(f.lTop.colour, 0xFFu);
    EXPECT_EQ(f.lLeft.colour, 0xFFu);
    release(button.get(), {3, 3});
}

TEST_F(TextButton, DisabledGetsNoMouseAndKeepsItsLook)
{
    const QImage before = image(button.get());
    button->setEnabled(false);
    EXPECT_EQ(image(button.get()), before);
    press(button.get(), {3, 3});
    EXPECT_TRUE(looksRaised(*button));
    release(button.get(), {3, 3});
    click(button->lblCaption(), {1, 1});
    EXPECT_TRUE(log.isEmpty());
}

TEST_F(TextButton, SettersMarkChangesAndRaiseNoEvents)
{
    QStringList changed;
    recordChanges(button.get(), changed);
    button->setCaption(QStringLiteral("Stop"));
    button->setForeColor(0xFF);
    button->setFont(QFont(QStringLiteral("Sans"), 12));
    button->setBorderColor(0x1);
    button->setBackColor(0x2);
    button->setLinesLightColor(0x3);
    button->setLinesDarkColor(0x4);
    button->setEnabled(false);
    EXPECT_EQ(changed, (QStringList{"Caption", "ForeColor", "Font", "BorderColor", "BackColor",
                                    "LinesLightColor", "LinesDarkColor", "Enabled"}));
    EXPECT_TRUE(log.isEmpty());
    EXPECT_EQ(button->lLight().colour, 0x3u);
    EXPECT_EQ(button->lDark().colour, 0x4u);
    EXPECT_EQ(button->propertyNames(),
              (QStringList{"Font", "ForeColor", "Caption", "Enabled", "BorderColor", "BackColor",
                           "LinesLightColor", "LinesDarkColor"}));
    EXPECT_EQ(button->propertyFromLast(5).toString(), QStringLiteral("Stop"));
    EXPECT_TRUE(button->setPropertyFromLast(5, QStringLiteral("Play")));
    EXPECT_EQ(button->Caption(), QStringLiteral("Play"));
}

TEST_F(TextButton, BagDefaultsAndOrder)
{
    const QStringList order{"Caption", "Font", "FontBold", "FontUnderline", "FontItalic",
                            "FontStrikethru", "FontSize", "ForeColor", "Enabled", "BackColor",
                            "LinesLightColor", "LinesDarkColor", "BorderColor"};
    QWidget form;
    QFont formFont(QStringLiteral("Sans"), 9);
    formFont.setItalic(true);
    form.setFont(formFont);
    auto* fresh = new ctlQX_wTextPanel(&form);
    fresh->setObjectName(QStringLiteral("qxbStopVideo"));
    PropertyBag empty;
    fresh->ReadProperties(empty);
    EXPECT_EQ(empty.readLog(), order);
    // Missing keys: the host's name for the control, the container's font, button text.
    EXPECT_EQ(fresh->Caption(), QStringLiteral("qxbStopVideo"));
    EXPECT_EQ(fresh->Font().family(), formFont.family());
    EXPECT_TRUE(fresh->Font().italic());
    EXPECT_DOUBLE_EQ(fresh->Font().pointSizeF(), 9.0);
    EXPECT_EQ(fresh->ForeColor(), syscolour::ButtonText);
    EXPECT_EQ(fresh->BackColor(), 0xC0C0C0u);
    EXPECT_EQ(fresh->LinesLightColor(), kLight);
    EXPECT_EQ(fresh->LinesDarkColor(), kDark);
    EXPECT_EQ(fresh->BorderColor(), 0u);
    EXPECT_TRUE(fresh->Enabled());

    PropertyBag defaults;
    fresh->WriteProperties(defaults);
    EXPECT_EQ(defaults.keys(), order);
    for (const PropertyBag::Entry& e : defaults.entries())
        EXPECT_EQ(e.value, e.defaultValue) << e.key.toStdString();

    QFont font(QStringLiteral("Serif"), 14);
    font.setBold(true);
    font.setStrikeOut(true);
    button->setFont(font);
    button->setCaption(QStringLiteral("Full Screen"));
    button->setForeColor(0xFF0000);
    button->setEnabled(false);
    button->setBackColor(0x1);
    button->setLinesLightColor(0x2);
    button->setLinesDarkColor(0x3);
    button->setBorderColor(0x4);
    // Saved while pressed, the colours still come from the keepers.
    button->panel_DrawPressed();
    PropertyBag bag;
    button->WriteProperties(bag);
    EXPECT_EQ(bag.keys(), order);

    ctlQX_wTextPanel copy;
    QStringList changed;
    recordChanges(&copy, changed);
    copy.ReadProperties(bag);
    EXPECT_TRUE(changed.isEmpty());
    EXPECT_EQ(copy.Caption(), QStringLiteral("Full Screen"));
    EXPECT_EQ(copy.Font().family(), font.family());
    EXPECT_TRUE(copy.Font().bold());
    EXPECT_TRUE(copy.Font().strikeOut());
    EXPECT_FALSE(copy.Font().italic());
    EXPECT_DOUBLE_EQ(copy.Font().pointSizeF(), 14.0);
    EXPECT_EQ(copy.ForeColor(), 0xFF0000u);
    EXPECT_FALSE(copy.Enabled());
    EXPECT_EQ(copy.BackColor(), 0x1u);
    EXPECT_EQ(copy.LinesLightColor(), 0x2u);
    EXPECT_EQ(copy.LinesDarkColor(), 0x3u);
    EXPECT_EQ(copy.lLight().colour, 0x2u);
    EXPECT_EQ(copy.lDark().colour, 0x3u);
    EXPECT_EQ(copy.BorderColor(), 0x4u);
}

class ImageButton : public VeltraTest {
protected:
    void SetUp() override
    {
        VeltraTest::SetUp();
        button = std::make_unique<ctlQX_wImageButton>();
        button->show();
        button->resize(40, 30);
        button->setNormalImage(normal);
        button->setClickImage(pressedPic);
        recordMouse(button.get(), log);
        recordClick(button.get(), log);
    }
    QPixmap normal = filled(20, 10, Qt::blue);
    QPixmap pressedPic = filled(20, 10, Qt::red);
    std::unique_ptr<ctlQX_wImageButton> button;
    QStringList log;
};

TEST_F(ImageButton, LeftClickShowsTheClickImageUntilTheRelease)
{
    QWidget* img = button->imgMain();
    EXPECT_EQ(img->geometry(), QRect(10, 10, 20, 10));
    EXPECT_EQ(image(button.get()).pixel(20, 15), qRgb(0, 0, 255));
    press(img, {4, 5});
    EXPECT_TRUE(looksPressed(*button));
    EXPECT_EQ(button->imgMainPicture().cacheKey(), pressedPic.cacheKey());
    EXPECT_EQ(image(button.get()).pixel(20, 15), qRgb(255, 0, 0));
    release(img, {4, 5});
    EXPECT_TRUE(looksRaised(*button));
    EXPECT_EQ(button->imgMainPicture().cacheKey(), normal.cacheKey());
    EXPECT_EQ(log, (QStringList{"MouseDown 1 0 60 75", "MouseUp 1 0 60 75", "Click"}));
}

TEST_F(ImageButton, RightClickLooksPressedButDoesNotClick)
{
    press(button.get(), {2, 2}, Qt::RightButton);
    EXPECT_TRUE(looksPressed(*button));
    move(button.get(), {3, 2}, Qt::RightButton);
    release(button.get(), {3, 2}, Qt::RightButton);
    EXPECT_TRUE(looksRaised(*button));
    EXPECT_EQ(names(log), (QStringList{"MouseDown", "MouseMove", "MouseUp"}));
    EXPECT_EQ(button->lastButton(), 2);
}

TEST_F(ImageButton, PlatformClickBeforeAnyReleaseRaisesNothing)
{
    button->imgMain_Click();
    button->UserControl_Click();
    EXPECT_TRUE(log.isEmpty());
}

TEST_F(ImageButton, NewPicturesShowAsTheyShould)
{
    // The click image is only stored while the button is up.
    const QImage before = image(button.get());
    button->setClickImage(filled(20, 10, Qt::green));
    EXPECT_EQ(image(button.get()), before);

    // A new normal image shows at once, also while the button is held down.
    press(button.get(), {2, 2});
    const QPixmap yellow = filled(20, 10, Qt::yellow);
    button->setNormalImage(yellow);
    EXPECT_EQ(image(button.get()).pixel(20, 15), qRgb(255, 255, 0));
    release(button.get(), {2, 2});
    EXPECT_EQ(button->imgMainPicture().cacheKey(), yellow.cacheKey());
}

TEST_F(ImageButton, LightColourWhilePressedTurnsTopAndLeftLightAtOnce)
{
    press(button.get(), {2, 2});
    button->setLinesLightColor(0x00FF00);
    const EdgeFrame& f = button->frame();
    EXPECT_EQ(f.lTop.colour, 0xFF00u);
    EXPECT_EQ(f.lLeft.colour, 0xFF00u);
    EXPECT_EQ(f.lRight.colour, 0xFFFFFFu); // still the old light colour of the pressed look
    release(button.get(), {2, 2});
    EXPECT_TRUE(looksRaised(*button));
    EXPECT_EQ(f.lTop.colour, 0xFF00u);
    press(button.get(), {2, 2});
    EXPECT_TRUE(looksPressed(*button));
    EXPECT_EQ(f.lRight.colour, 0xFF00u);
    release(button.get(), {2, 2});
}

TEST_F(ImageButton, LargePictureIsCentredWithNegativeOffsets)
{
    button->setNormalImage(filled(100, 60, Qt::blue));
    EXPECT_FLOAT_EQ(button->imgMainLeft(), 600.0f / 2 - 1500.0f / 2);
    EXPECT_FLOAT_EQ(button->imgMainTop(), 450.0f / 2 - 900.0f / 2);
    EXPECT_EQ(button->imgMain()->pos(), QPoint(-30, -15));
}

TEST_F(ImageButton, DisabledGetsNoMouseAndKeepsItsLook)
{
    const QImage before = image(button.get());
    button->setEnabled(false);
    click(button->imgMain(), {1, 1});
    click(button.get(), {1, 1});
    EXPECT_TRUE(log.isEmpty());
    EXPECT_TRUE(looksRaised(*button));
    EXPECT_EQ(image(button.get()), before);
}

TEST_F(ImageButton, BagDefaultsAndOrder)
{
    const QStringList order{"Enabled", "BackColor", "LinesLightColor", "LinesDarkColor",
                            "BorderColor", "NormalImage", "ClickImage"};
    EXPECT_EQ(button->propertyNames(),
              (QStringList{"NormalImage", "ClickImage", "Enabled", "BorderColor", "BackColor",
                           "LinesLightColor", "LinesDarkColor"}));
    ctlQX_wImageButton fresh;
    PropertyBag empty;
    fresh.ReadProperties(empty);
    EXPECT_EQ(empty.readLog(), order);
    EXPECT_TRUE(fresh.NormalImage().isNull());
    EXPECT_TRUE(fresh.ClickImage().isNull());
    PropertyBag defaults;
    fresh.WriteProperties(defaults);
    EXPECT_EQ(defaults.keys(), order);
    EXPECT_EQ(defaults.entries().at(1).defaultValue.toUInt(), 0xC0C0C0u);
    EXPECT_EQ(defaults.entries().at(2).defaultValue.toUInt(), kLight);
    EXPECT_EQ(defaults.entries().at(3).defaultValue.toUInt(), kDark);
    EXPECT_EQ(defaults.entries().at(4).defaultValue.toUInt(), 0u);
    EXPECT_TRUE(defaults.entries().at(5).defaultValue.value<QPixmap>().isNull());

    QStringList changed;
    recordChanges(button.get(), changed);
    button->setBorderColor(0x11);
    button->setBackColor(0x22);
    button->setLinesLightColor(0x33);
    button->setLinesDarkColor(0x44);
    EXPECT_EQ(changed, (QStringList{"BorderColor", "BackColor", "LinesLightColor", "LinesDarkColor"}));
    PropertyBag bag;
    button->WriteProperties(bag);
    ctlQX_wImageButton copy;
    copy.show();
    copy.resize(40, 30);
    QStringList copyChanged;
    recordChanges(&copy, copyChanged);
    copy.ReadProperties(bag);
    EXPECT_TRUE(copyChanged.isEmpty());
    EXPECT_EQ(copy.NormalImage().cacheKey(), normal.cacheKey());
    EXPECT_EQ(copy.ClickImage().cacheKey(), pressedPic.cacheKey());
    EXPECT_EQ(copy.imgMainPicture().cacheKey(), normal.cacheKey());
    EXPECT_EQ(copy.imgMain()->geometry(), QRect(10, 10, 20, 10));
    EXPECT_EQ(copy.BorderColor(), 0x11u);
    EXPECT_EQ(copy.BackColor(), 0x22u);
    EXPECT_EQ(copy.LinesLightColor(), 0x33u);
    EXPECT_EQ(copy.LinesDarkColor(), 0x44u);
}
