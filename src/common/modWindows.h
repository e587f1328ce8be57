#pragma once
// Window- and shell-level services shared by every window: modal display that keeps the
// owner's always-on-top state, window positions in the settings (twips), keeping windows on
// the screen, opening addresses and mail, the system's name, the connection check, and
// the texts of the messenger announcement and the theme manifest (both of which belong to
// another platform: they are built here but sent or written nowhere).
#include <QString>
#include <functional>

class QAction;
class QWidget;

// True while a window shown through windows_ShowModal or windows_ShowAboutWindows is open;
// the tray icon ignores clicks meanwhile.
extern bool modalWindowOpen;

// Shows `form` modally over `owner` (through the UiServices, so tests answer it). When the
// owner's always-on-top item is checked, the owner stops being topmost for the time of the
// dialog, and so does every other shown window whose own item keeps it on top. Afterwards,
// however the dialog ended, the flag is cleared (by the outermost of nested displays) and
// the windows are topmost again; with unloadAfter the form is unloaded
// (windows::setFormUnloader).
void windows_ShowModal(QWidget& form, QWidget* owner, bool unloadAfter);
void windows_ShowModal(QWidget& form, QWidget& owner, bool unloadAfter);

// The system's about box for the program, with the same modal and topmost handling.
void windows_ShowAboutWindows(QWidget* owner, const QString& title, const QString& text);

// The owner's always-on-top menu item (an action named "mnuAlwaysOnTop" of that window), or null.
QAction* windows_AlwaysOnTopItem(QWidget* owner);

// Topmost or ordinary, without moving, showing or activating the window. A window shown in
// front of it (windows_ShowInFront) follows it, unless its own Always On Top item keeps it on top.
void windows_SetAlwaysOnTop(QWidget* form, bool onTop);
// Shows a window the user opened, not modally (the media library, the CD player), in front of
// the window it was opened from, with the keyboard. While that window stays on top the new one
// does too, so that it does not open out of sight under it.
void windows_ShowInFront(QWidget* form, QWidget* opener);
bool windows_IsAlwaysOnTop(const QWidget* form);
// Mode 0 shows the window without activating it; other modes do nothing here.
void windows_ShowNoActivate(QWidget* form, int mode);
// Brings a shown window to the front of its layer without the keyboard.
void windows_RaiseNoActivate(QWidget* form);

// Section "Position_" + name: Window_Top, Window_left, Window_Height, Window_Width (twips)
// and Window_Maximized.
void windows_SavePosition(QWidget* form, const QString& windowName, int margin);
void windows_LoadPosition(QWidget* form, const QString& windowName, int margin);
void windows_KeepFormOnScreen(QWidget* form);
// A window not wholly on the screen it is mostly on (else the primary one) is moved onto it,
// and shrunk to it when larger; one that fits is left alone.
void windows_FitOnScreen(QWidget* form);
void windows_ReCenterForm(QWidget* form, int margin);
// The window's outer edges `margin` twips from the screen's right edge and above what is docked
// at its bottom. Its frame counts once the window manager has framed it, at its next showing.
void windows_PlaceAtBottomRight(QWidget* form, int margin);
// Height in twips of what is docked at the bottom of the screen.
int windows_GetTaskbarOffset();

void windows_OpenURL(QWidget* form, const QString& address, int showCommand);
void windows_OpenMail(QWidget* form, const QString& address, const QString& subject, int showCommand);

QString windows_GetOSName();
bool windows_HasSoundCard();
// True when an interface other than loopback is up with an address (tests set the answer).
bool windows_IsConnectedToInternet();

// The screen saver is left to the desktop here; the last request is remembered.
void windows_EnableScreenSaver(bool enable);
bool windows_ScreenSaverEnabled();

// The now-playing text: separators "\0" (a backslash and a zero), ending in one NUL.
QString windows_MessengerText(const QString& firstValue, const QString& secondValue, const QString& category,
                              const QString& thirdValue, const QString& format, bool enabled);
// No messenger window exists on this platform: the text is built and nothing is sent.
void windows_SendMessengerNowPlaying(const QString& firstValue, const QString& secondValue, const QString& category,
                                     const QString& thirdValue, const QString& format, bool enabled);

// The visual-styles manifest text (lines ended by CR LF).
QString windows_ThemeManifestText(const QString& programFileName, const QString& programTitle);
// The manifest belongs to another platform: nothing is written here and no restart is asked.
void windows_CreateThemeManifest(const QString& programFileName, const QString& programTitle);

namespace windows {
// How a form shown modally is unloaded: the program's windows are registered above this
// module, so the start-up wiring says how one is dropped.
void setFormUnloader(std::function<void(QWidget*)> unload);

// Tests decide whether the system counts as connected; an empty function restores the real check.
void setConnectionCheck(std::function<bool()> check);

// The screen the positions refer to, in twips.
int screenWidthTwips();
int screenHeightTwips();
}

// Shows or hides the window's entries in the desktop's task bar and pager (X11 desktops;
// elsewhere nothing happens). A window not shown yet gets its wish when it is.
void windows_SetTaskbarVisible(QWidget* form, bool visible);
