// The video window in Full mode: the three labelled sliders keep their own places beside or
// above the five buttons at every width the window can have, and their tracks are drawn.
#include "controls/ControlPiece.h"
#include "controls/SystemColours.h"
#include "controls/ctlQX_noFocusPanel.h"
#include "controls/ctlQX_wScrollbar.h"
#include "controls/ctlQX_wTextPanel.h"
#include "player/FrmVideo.h"
#include "startup/Forms.h"
#include "support/TestEnv.h"

#include <QLabel>

namespace {
// Full mode at a given width, as on a desktop without a window manager, where maximising
// leaves the window's size as it was. (Shown here, the window would be given the screen.)
void showFull(FrmVideo& video, int width)
{
    video.VideoIsOpen = true;
    video.resize(width, 400);
    video.setWindowState(Qt::WindowMaximized);
    video.tmrWindowUpdate_Timer();
}

// True when some column of the track away from the thumb shows something besides the
// panel's colour: the track is drawn, not just the thumb.
bool trackDrawn(ctlQX_wScrollbar* slider, QColor background)
{
    const QImage image = slider->grab().toImage();
    for (int x : {image.width() / 4, image.width() / 2, 3 * image.width() / 4}) {
        if (x >= slider->thumbPosition() - 1 && x <= slider->thumbPosition() + slider->thumbWidth()) continue;
        bool drawn = false;
        for (int y = 0; y < image.height(); ++y) drawn = drawn || QColor(image.pixel(x, y)) != background;
        if (!drawn) return false;
    }
    return true;
}
} // namespace

TEST_F(VeltraTest, InFullModeTheSliderRowKeepsClearOfTheButtonsAtAnyWidth)
{
    FrmVideo& video = forms().get<FrmVideo>();
    const QList<QLabel*> labels = {video.lblVolume, video.lblBalance, video.lblPosition};
    const QList<ctlQX_wScrollbar*> sliders = {video.qxsVolume, video.qxsBalance, video.qxsPosition};
    const QList<QWidget*> buttons = {video.qxbPause, video.qxbStopVideo, video.qxbHideScreen, video.qxbFullScreen, video.qxbNormal};
    const QColor panel = syscolour::toQColor(video.nfpBottom->PanelColour());
    video.qxsVolume->setValue(50);
    for (int width : {400, 1600, 1, 630}) {
        SCOPED_TRACE("width " + std::to_string(width));
        showFull(video, width);
        ASSERT_TRUE(video.isMaximized());
        EXPECT_GE(video.width(), std::min(width, 1600));   // never narrower than asked, save for a floor
        QList<QWidget*> all = buttons;
        for (int i = 0; i < 3; ++i) {
            SCOPED_TRACE(labels[i]->text().toStdString());
            EXPECT_TRUE(labels[i]->isHidden() == false);
            EXPECT_TRUE(sliders[i]->isHidden() == false);
            EXPECT_GE(labels[i]->width(), labels[i]->sizeHint().width());    // not cut
            EXPECT_GE(labels[i]->height(), labels[i]->sizeHint().height());
            EXPECT_LE(labels[i]->geometry().right(), sliders[i]->x());       // each label before its slider
            EXPECT_GE(sliders[i]->trackWidth() - sliders[i]->thumbWidth(), 20);   // room for the thumb to run
            EXPECT_TRUE(trackDrawn(sliders[i], panel));
            all << labels[i] << sliders[i];
        }
        EXPECT_LT(video.qxsVolume->x(), video.qxsBalance->x());
        EXPECT_LT(video.qxsBalance->x(), video.qxsPosition->x());
        for (QWidget* a : all) {
            SCOPED_TRACE(a->objectName().toStdString());
            EXPECT_TRUE(video.nfpBottom->rect().contains(a->geometry()));
            for (QWidget* b : all)
                if (a != b) { EXPECT_FALSE(a->geometry().intersects(b->geometry())) << b->objectName().toStdString(); }
        }
        EXPECT_LE(video.wmpPicture->geometry().bottom(), video.nfpBottom->y());
    }
    video.VideoIsOpen = false;
}
