#pragma once
// The command line: media files to add and play, one playlist to open, or one switch.
#include <QString>
#include <QStringList>

// The one command-line text the program works with, built from the arguments as they
// arrive split: the switch words stay as they are, every other argument is a path (made
// absolute) in double quotes; all joined by one blank.
QString commandline_FromArguments(const QStringList& arguments, const QString& workingDirectory);

void window_ProcessCommandLine(const QString& commandLine);
