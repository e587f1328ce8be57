#pragma once
// Where a top-level window stands when the window system makes it anew or frames it.
//
// Under X11 a change of a window's stay-on-top state makes Qt create a new native window at
// the window's next showing. The new one would be placed by the old one's client position
// read as a frame position (the way the place was first given), so it would move by the
// frame's size at each such showing. And a place meant for a window's outer edge cannot take
// the frame into account before the window manager has framed it. Elsewhere (no window
// manager, other platforms) nothing here changes a window's place.
#include <QPoint>

class QWidget;

namespace windowplace {

// From now on the window's place is noted each time it is hidden, for keepPlaceAtNextShow, and
// its place and size in the normal state are followed: a window hidden while maximised (or full
// screen) takes them again at its next showing, also when it is shown maximised, so that
// un-maximising gives them back under window managers that forget them while it is hidden.
void followPlace(QWidget* window);
// Hides the window and marks it minimised for the program alone. The window system hears of no
// minimise: told of one for a window it no longer shows, Qt would later take the window's next
// mapping for a minimise (and X would start it iconic), so the window would come back minimised,
// or lose the normal size the window manager keeps for it.
void hideMinimised(QWidget* window);
// The window's next showing stands it where its client area stood when it was last hidden (or
// where the program put it meanwhile), whatever native window the showing makes.
void keepPlaceAtNextShow(QWidget* window);

// At its next showing the window's frame ends at `bottomRight` (the pixel just beyond the
// frame's right and bottom edges); until then the window's own size stands for its outer size.
// The frame's size is asked of the window manager before the window is mapped; one that cannot
// say is taken to frame it as the program's other windows, and the window is put right once
// it is framed should that be wrong.
void putFrameCornerAtNextShow(QWidget* window, QPoint bottomRight);

} // namespace windowplace
