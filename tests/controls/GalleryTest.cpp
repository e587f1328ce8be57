// Renders every skinned control into one picture, "controls-gallery.png" beside the test
// binary (in the build tree), and checks a few pixels of each.
#include "ControlTestSupport.h"
#include "controls/ControlPiece.h"
#include "controls/ctlQX_3DPanel.h"
#include "controls/ctlQX_Digital.h"
#include "controls/ctlQX_hLine3D.h"
#include "controls/ctlQX_noFocusPanel.h"
#include "controls/ctlQX_wImageButton.h"
#include "controls/ctlQX_wLine3D.h"
#include "controls/ctlQX_wPanel.h"
#include "controls/ctlQX_wScrollbar.h"
#include "controls/ctlQX_wTextPanel.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

using namespace controltest;

namespace {
QPixmap trackPicture(int w, int h)
{
    QPixmap p(w, h);
    QPainter g(&p);
    QLinearGradient grad(0, 0, 0, h);
    grad.setColorAt(0, QColor(60, 60, 70));
    grad.setColorAt(1, QColor(150, 150, 160));
    g.fillRect(0, 0, w, h, grad);
    g.fillRect(0, h / 2 - 1, w, 2, QColor(20, 20, 20));
    return p;
}

QPixmap thumbPicture(int w, int h)
{
    QPixmap p(w, h);
    p.fill(QColor(0, 90, 200));
    QPainter g(&p);
    g.fillRect(1, 1, w - 2, 1, QColor(120, 180, 255));
    g.fillRect(1, 1, 1, h - 2, QColor(120, 180, 255));
    g.fillRect(w - 1, 0, 1, h, QColor(0, 30, 80));
    g.fillRect(0, h - 1, w, 1, QColor(0, 30, 80));
    return p;
}

QPixmap playPicture(QColor colour)
{
    QPixmap p(16, 16);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    QPainterPath tri;
    tri.moveTo(3, 1);
    tri.lineTo(14, 8);
    tri.lineTo(3, 15);
    tri.closeSubpath();
    g.fillPath(tri, colour);
    return p;
}

QRgb at(const QImage& img, QWidget* w, int x, int y)
{
    const QPoint p = w->mapTo(w->window(), QPoint(x, y));
    return img.pixel(p);
}
} // namespace

class Gallery : public VeltraTest {};

TEST_F(Gallery, EveryControlRendersAsDesigned)
{
    QWidget form;
    form.setObjectName(QStringLiteral("FrmGallery"));
    form.resize(430, 200);
    form.setAutoFillBackground(true);
    QPalette pal = form.palette();
    pal.setColor(QPalette::Window, QColor(0xE0, 0xE0, 0xE0));
    form.setPalette(pal);

    auto* hLine = new ctlQX_wLine3D(&form);
    hLine->setGeometry(10, 4, 200, 17);
    auto* vLine = new ctlQX_hLine3D(&form);
    vLine->setGeometry(214, 10, 17, 110);
    auto* plain = new ctlQX_noFocusPanel(&form);
    plain->setGeometry(240, 10, 60, 40);
    plain->setPanelColour(0x00FFFF);
    auto* panel3d = new ctlQX_3DPanel(&form);
    panel3d->setGeometry(310, 10, 110, 60);
    auto* framed = new ctlQX_wPanel(&form);
    framed->setGeometry(10, 26, 200, 30);
    framed->setBackColor(0x804000);
    framed->setLinesLightColor(0xFFC080);
    framed->setLinesDarkColor(0x402000);
    auto* text = new ctlQX_wTextPanel(&form);
    text->setGeometry(10, 62, 95, 26);
    text->setCaption(QStringLiteral("Full Screen"));
    auto* textPressed = new ctlQX_wTextPanel(&form);
    textPressed->setGeometry(115, 62, 95, 26);
    textPressed->setCaption(QStringLiteral("Pause"));
    auto* slider = new ctlQX_wScrollbar(&form);
    slider->setGeometry(10, 100, 200, 12);
    slider->setPicture(trackPicture(200, 12));
    slider->setBar(thumbPicture(11, 12));
    slider->setValue(25);
    auto* imageButton = new ctlQX_wImageButton(&form);
    imageButton->setGeometry(240, 62, 30, 26);
    imageButton->setNormalImage(playPicture(QColor(0, 128, 0)));
    imageButton->setClickImage(playPicture(QColor(200, 0, 0)));
    auto* imagePressed = new ctlQX_wImageButton(&form);
    imagePressed->setGeometry(280, 62, 30, 26);
    imagePressed->setNormalImage(playPicture(QColor(0, 128, 0)));
    imagePressed->setClickImage(playPicture(QColor(200, 0, 0)));
    auto* display = new ctlQX_Digital(&form);
    display->move(240, 100);
    display->setValue(754);
    form.show();

    // Pressed with the mouse and held while pictured.
    press(textPressed, {4, 4});
    const QImage textDown = image(textPressed);
    release(textPressed, {4, 4});
    press(imagePressed->imgMain(), {8, 8});
    const QImage imageDown = image(imagePressed);
    release(imagePressed->imgMain(), {8, 8});
    // The gallery shows both pressed, by the controls' own drawing routines.
    textPressed->panel_DrawPressed();
    imagePressed->button_ShowClickImage();

    const QImage img = form.grab().toImage().convertToFormat(QImage::Format_RGB32);
    // Beside the test binary, in the build tree.
    const QString path =
        QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(QStringLiteral("controls-gallery.png"));
    ASSERT_TRUE(img.save(path)) << path.toStdString();

    const QRgb white = rgbOf(0xFFFFFF), shadow = rgbOf(syscolour::ButtonShadow), black = rgbOf(0);
    const QRgb grey = rgbOf(0x808080);

    // Etched lines: shadow over white, shadow left of white.
    EXPECT_EQ(at(img, hLine, 100, 8), shadow);
    EXPECT_EQ(at(img, hLine, 100, 9), white);
    EXPECT_EQ(at(img, vLine, 8, 50), shadow);
    EXPECT_EQ(at(img, vLine, 9, 50), white);

    EXPECT_EQ(at(img, plain, 30, 20), rgbOf(0x00FFFF));

    // 3-D panel: white top and left, shadow right and bottom.
    EXPECT_EQ(at(img, panel3d, 50, 0), white);
    EXPECT_EQ(at(img, panel3d, 0, 30), white);
    EXPECT_EQ(at(img, panel3d, 109, 30), shadow);
    EXPECT_EQ(at(img, panel3d, 50, 59), shadow);
    EXPECT_EQ(at(img, panel3d, 50, 30), rgbOf(syscolour::ButtonFace));

    // Framed panel in its own colours: black border, light top and left, dark right and bottom.
    EXPECT_EQ(at(img, framed, 0, 15), black);
    EXPECT_EQ(at(img, framed, 100, 0), black);
    EXPECT_EQ(at(img, framed, 100, 2), rgbOf(0xFFC080));
    EXPECT_EQ(at(img, framed, 2, 15), rgbOf(0xFFC080));
    EXPECT_EQ(at(img, framed, 198, 15), rgbOf(0x402000));
    EXPECT_EQ(at(img, framed, 100, 28), rgbOf(0x402000));
    EXPECT_EQ(at(img, framed, 100, 15), rgbOf(0x804000));

    // Text buttons: raised, and pressed with the edges swapped.
    EXPECT_EQ(at(img, text, 50, 2), white);
    EXPECT_EQ(at(img, text, 93, 12), grey);
    EXPECT_EQ(at(img, text, 0, 12), black);
    EXPECT_EQ(textDown.pixel(50, 2), grey);
    EXPECT_EQ(textDown.pixel(2, 12), grey);
    EXPECT_EQ(textDown.pixel(93, 12), white);
    EXPECT_EQ(textDown.pixel(50, 24), white);
    EXPECT_EQ(at(img, textPressed, 50, 2), grey);
    // The caption is drawn: some pixel of the label differs from the back colour.
    bool ink = false;
    const QRect label = text->lblCaption()->geometry();
    for (int y = label.top(); y <= label.bottom() && !ink; ++y)
        for (int x = label.left(); x <= label.right() && !ink; ++x)
            ink = at(img, text, x, y) != rgbOf(0xC0C0C0);
    EXPECT_TRUE(ink);

    // Slider: value 25 of 100 on 189 free pixels puts the thumb at 47.
    ASSERT_EQ(slider->thumbPosition(), 47);
    EXPECT_EQ(at(img, slider, 52, 6), qRgb(0, 90, 200));
    EXPECT_EQ(at(img, slider, 45, 6), qRgb(20, 20, 20));

    // Image buttons: green picture when up; red picture and swapped edges when held.
    EXPECT_EQ(at(img, imageButton, 12, 13), qRgb(0, 128, 0));
    EXPECT_EQ(at(img, imageButton, 15, 2), white);
    EXPECT_EQ(imageDown.pixel(12, 13), qRgb(200, 0, 0));
    EXPECT_EQ(imageDown.pixel(15, 2), grey);
    EXPECT_EQ(imageDown.pixel(28, 13), white);
    EXPECT_EQ(at(img, imagePressed, 12, 13), qRgb(200, 0, 0));

    // "12:34": lit and unlit segments of each digit, and the colon.
    const QRgb lit = rgbOf(0xFF00), unlit = rgbOf(224515);
    EXPECT_EQ(at(img, display, 5, 1), unlit);   // 1: no top
    EXPECT_EQ(at(img, display, 11, 5), lit);    // 1: right top
    EXPECT_EQ(at(img, display, 11, 13), lit);   // 1: right bottom
    EXPECT_EQ(at(img, display, 21, 1), lit);    // 2: top
    EXPECT_EQ(at(img, display, 27, 13), unlit); // 2: no right bottom
    EXPECT_EQ(at(img, display, 17, 13), lit);   // 2: left bottom
    EXPECT_EQ(at(img, display, 21, 9), lit);    // 2: middle
    EXPECT_EQ(at(img, display, 34, 6), lit);    // colon
    EXPECT_EQ(at(img, display, 34, 12), lit);
    EXPECT_EQ(at(img, display, 41, 13), unlit); // 3: no left bottom
    EXPECT_EQ(at(img, display, 51, 13), lit);   // 3: right bottom
    EXPECT_EQ(at(img, display, 45, 17), lit);   // 3: bottom
    EXPECT_EQ(at(img, display, 61, 1), unlit);  // 4: no top
    EXPECT_EQ(at(img, display, 57, 5), lit);    // 4: left top
    EXPECT_EQ(at(img, display, 61, 9), lit);    // 4: middle
    EXPECT_EQ(at(img, display, 61, 17), unlit); // 4: no bottom
    EXPECT_EQ(at(img, display, 5, 5), black);   // back colour between segments
}
