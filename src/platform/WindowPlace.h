#pragma once
// A top-level window's state and place as the program keeps them, and where the window stands
// when the window system makes it anew or frames it.
//
// Under X11 a change of a window's stay-on-top state makes Qt create a new native window at
// the window's next showing. The new one would be placed by the old one's client position
// read as a frame position (the way the place was first given), so it would move by the
// frame's size at each such showing. And a place meant for a window's outer edge cannot take
// the frame into account before the window manager has framed it. Elsewhere (no window
// manager, other platforms) nothing here changes a window's place.
#include <QPoint>
#include <QSize>
#include <Qt>

class QWidget;

namespace windowplace {

// From now on the program keeps the window's state and its place in the normal state itself.
// Window managers take a withdrawn window's state away (the conventions ask them to) and some
// move it, and Qt then reports what they did, not what the user left: so what happens to the
// window while the program holds it hidden does not count, and its showing applies what was
// kept in a way every window manager keeps (normal at its normal place first, then maximised
// once it is on the screen, so that un-maximising gives that place back).
void followPlace(QWidget* window);

// What the program keeps of a window: its state (maximised, full screen, minimised) and where
// it stands in that state, as QWidget::pos() and size() count them (the frame's corner and the
// client area's size). While the program holds the window hidden these are as it went (or as
// the program placed it since); a hidden window counts as normal at its normal place.
struct Kept {
    Qt::WindowStates state;
    QPoint pos;
    QSize size;
};
Kept kept(const QWidget* window);
inline Qt::WindowStates keptState(const QWidget* window) { return kept(window).state; }

// Hides the window and marks it minimised for the program alone. The window system hears of no
// minimise: told of one for a window it no longer shows, Qt would later take the window's next
// mapping for a minimise (and X would start it iconic), so the window would come back minimised,
// or lose the normal size the window manager keeps for it. A plain show() later shows it as it
// was before the mark.
void hideMinimised(QWidget* window);
// Minimises the shown window, as the window manager's button does. Qt minimises a maximised
// or full-screen window by taking that state away and giving it back around the minimise, and
// a look at the window between the two would be taken for the state it is to come back in.
void minimise(QWidget* window);
// Shows the window in `state` (a shown one only changes to it). A window that was hidden comes
// up at its normal place, and maximised or full screen only once the window manager has it.
void bringBack(QWidget* window, Qt::WindowStates state);
// The window's state now, or, while it is hidden, at its next showing: a hidden window is not
// mapped meanwhile (Qt would map one it takes for minimised to take that state away).
void setKeptState(QWidget* window, Qt::WindowStates state);
// The window's next showing stands it where its client area stood when it was last hidden (or
// where the program put it meanwhile), whatever native window the showing makes.
void keepPlaceAtNextShow(QWidget* window);

// At its next showing the window's frame ends at `bottomRight` (the pixel just beyond the
// frame's right and bottom edges); until then the window's own size stands for its outer size.
// The frame's size is asked of the window manager before the window is mapped; one that cannot
// say is taken to frame it as the program's other windows, and the window is put right once
// it is framed should that be wrong.
void putFrameCornerAtNextShow(QWidget* window, QPoint bottomRight);

// Brings a shown window to the front of its layer without the keyboard. A window manager leaves
// a window that is not given the focus under the others of its layer and refuses a background
// program's own raise, but takes the request as coming from a pager.
void raiseWithoutFocus(QWidget* window);

} // namespace windowplace
