#include "platform/VideoFrameWidget.h"
#include "support/TestEnv.h"

#include <QImage>

using veltra::VideoFrameWidget;

class VideoFrameWidgetTest : public VeltraTest {};

TEST_F(VideoFrameWidgetTest, PaintsTheFrameScaledToFitWithBlackBarsAndBlackWithoutOne)
{
    VideoFrameWidget widget;
    widget.resize(200, 100);
    QImage blank = widget.grab().toImage();
    EXPECT_EQ(blank.pixelColor(100, 50), QColor(Qt::black));

    // A square red picture in a wide widget: a red square in the middle, black either side.
    QImage square(40, 40, QImage::Format_RGB32);
    square.fill(Qt::red);
    widget.setFrame(square);
    EXPECT_EQ(widget.framesShown(), 1u);
    QImage shot = widget.grab().toImage();
    EXPECT_EQ(shot.pixelColor(100, 50), QColor(Qt::red));
    EXPECT_EQ(shot.pixelColor(100, 2), QColor(Qt::red));   // full height
    EXPECT_EQ(shot.pixelColor(55, 50), QColor(Qt::red));   // 100 wide, from 50 to 149
    EXPECT_EQ(shot.pixelColor(145, 50), QColor(Qt::red));
    EXPECT_EQ(shot.pixelColor(10, 50), QColor(Qt::black));
    EXPECT_EQ(shot.pixelColor(190, 50), QColor(Qt::black));

    widget.clearFrame();
    EXPECT_TRUE(widget.frame().isNull());
    shot = widget.grab().toImage();
    EXPECT_EQ(shot.pixelColor(100, 50), QColor(Qt::black));
}
