#pragma once
// The one way the program shows a window modally, whatever its kind: a message box, a dialog,
// the desktop's pickers, or a plain window such as the console or the play-count list.
//
// The wait ends only when the program hides the window (a button, Esc, the frame's close box
// that the window answers by hiding) or the window goes. A minimise from the frame is no end:
// the window manager's minimise hides the window on the screen, not for the program. Some
// window managers offer minimise for any window and take the owner down with it; nothing of
// the program would then be on the screen while it waits, so the window comes straight back,
// with the keyboard when it had it.
//
// Qt takes a window's modality in only as it is shown, and a window whose modality changes
// while it is on the screen stays modal for Qt after it has gone, blocking every other window
// for good. So the modality is given while the window is hidden and taken back once it is
// hidden again.
class QDialog;
class QWidget;

namespace modalwindow {

// Shows `window` modally and returns once the program has hidden it, or it was deleted. A
// window already on the screen is hidden first and shown again modally.
void run(QWidget* window);

// The same for a dialog: its result once it has gone (QDialog::Rejected when it was deleted
// meanwhile or ended otherwise).
int runDialog(QDialog* dialog);

} // namespace modalwindow
