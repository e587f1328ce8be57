#include "controls/EdgeFrame.h"

#include "common/modVB.h"

#include <QPainter>

void EdgeFrame::layOut(double W, double H)
{
    borderWidth = W;
    borderHeight = H;
    lTop.x2 = W - lTop.x1 - 40;
    lBottom.x2 = W;
    lLeft.y2 = H - lLeft.y1 - 40;
    lRight.y2 = H;
    lRight.x1 = lRight.x2 = W - 30;
    lBottom.y1 = lBottom.y2 = H - 30;
}

void EdgeFrame::colourEdges(OleColour topLeft, OleColour bottomRight)
{
    lTop.colour = lLeft.colour = topLeft;
    lRight.colour = lBottom.colour = bottomRight;
}

void EdgeFrame::paint(QPainter& painter) const
{
    constexpr double px = 1.0 / vb::TwipsPerPixel;
    SkinnedControl::drawLine(painter, lTop, px, px);
    SkinnedControl::drawLine(painter, lLeft, px, px);
    SkinnedControl::drawLine(painter, lRight, px, px);
    SkinnedControl::drawLine(painter, lBottom, px, px);
    SkinnedControl::drawOutline(painter, borderColour, 0, 0, SkinnedControl::toPixels(borderWidth, px),
                         SkinnedControl::toPixels(borderHeight, px));
}
