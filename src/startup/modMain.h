#pragma once
// The program's entry and start-up.
#include <QString>
#include <QStringList>

class SingleInstance;

// InstanceBlocked: another user's files hold every name this start could use to run only once
// (or to reach the running instance), or the running instance does not answer; the user has
// been told.
enum class StartResult { Running, AlreadyRunning, NoSoundDevice, InstanceBlocked };

// The start-up sequence: settings file, single instance, sound check, resident windows,
// start line, then initialisation. Running means the event loop should run.
StartResult Main();
bool window_ActivatePrevInstance();
void window_LoadSettings();

namespace startup {
// The command line as given to the program (without the program itself).
void setArguments(const QStringList& arguments);
QStringList arguments();
// Set by the command-line routine when a switch was handled.
extern bool CommandLineSwitch;
// "/systray" without tray support: the window starts minimised rather than hidden.
extern bool ShowMinimizedInstead;
extern QString BetaLabel;
SingleInstance* instance();
// Runs the whole program: Main, then the event loop. Returns the exit code.
int run();
// Saving at the end of the desktop session or on SIGTERM, then the end of the program. From
// then on no box is shown: each is reported on standard error and in the log instead.
void endSession();
// While one exists, a session end waits: it runs when the last hold goes. Start-up holds it
// while it reads the songs of the command line, so that what is saved is the whole list.
class SessionEndHold {
public:
    SessionEndHold();
    ~SessionEndHold();
    SessionEndHold(const SessionEndHold&) = delete;
    SessionEndHold& operator=(const SessionEndHold&) = delete;
};
// Ends the program: every event loop returns, and one still to come (the end of start-up,
// a message box) does not start.
void quit(int code = 0);
bool quitting();
// A line on standard error, for what must be said also where no window can show it.
void tellStandardError(const QString& line);
// The same line in the log as well: what could not be done where nobody can be asked.
void tellLogAndStandardError(const QString& line);
// Forgets a quit: Main calls it, so a start after an earlier run ended (tests start the
// program many times in one process) runs whole.
void clearQuit();
} // namespace startup
