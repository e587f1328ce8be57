#pragma once
#include <QString>

// The program folder holds every data file (settings.ini, Playlists, Moods, Logs ...):
// $VELTRA_HOME when set, else the executable's folder when writable, else $XDG_DATA_HOME/veltra.
namespace programfolder {

QString path();                          // without a trailing separator
void setPath(const QString& folder);     // fixes the folder (tests, start-up)
QString file(const QString& relative);   // path() + "/" + relative
QString resolve();                       // computes the folder from the environment

QString title();                         // the program title, "VELTRA"
QString exeName();                       // "veltra"
int versionMajor();
int versionMinor();
int versionRevision();
QString compileDate();                   // the day this build was compiled, "14 March 2025"

} // namespace programfolder
