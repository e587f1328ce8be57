#pragma once
// The frame shared by the framed panel and the text and image buttons: a border rectangle
// as large as the control and four inner edge lines, light top and left, dark right and
// bottom. Geometry in twips.
#include "controls/SkinnedControl.h"

class QPainter;

struct EdgeFrame {
    OleColour borderColour = 0;
    double borderWidth = 0;
    double borderHeight = 0;
    ControlLine lTop{0, 30, 2040, 30, 0xFFFFFF};
    ControlLine lLeft{30, 0, 30, 1440, 0xFFFFFF};
    ControlLine lRight{2040, 0, 2040, 1440, 0x808080};
    ControlLine lBottom{0, 1440, 2040, 1440, 0x808080};

    // Border and lines for an inner size of W x H twips; start points the layout does not
    // name keep their values.
    void layOut(double W, double H);
    // Top and left edges in one colour, right and bottom in the other: light over dark looks
    // raised, dark over light pressed.
    void colourEdges(OleColour topLeft, OleColour bottomRight);
    // Edge lines first, the border over them.
    void paint(QPainter& painter) const;
};
