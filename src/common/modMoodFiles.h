#pragma once
// Where a mood's song list lives: Moods/<name>.mlst in the program folder. Mood names keep
// the letter case the user gave them while older files may differ in case only, so the file
// is looked up ignoring case, a file of exactly that name first. Every place that reads,
// tests, appends to or deletes a mood's file names it through here.
//
// A song list holds one full path per line, each ended by CR LF, in the order the songs
// were added.
#include <QString>
#include <QStringList>

// The mood's file: the exact name when that file exists, else the one file of the Moods
// folder whose name equals it ignoring case, else the exact name (where a first song creates
// it). Empty for a name that cannot name a file of that folder (one holding a separator).
QString moods_FilePath(const QString& name);

// The number of songs (lines) of the mood's file; 0 for a missing file or an empty path.
qint64 moods_CountSongs(const QString& file);
// True when one whole line of the file equals the path exactly (a path may hold commas);
// false for a missing file or an empty path.
bool moods_HasSong(const QString& file, const QString& path);
// Appends the path as one line (the file is created when missing; a last line left without
// its end is ended first). False, with nothing written, for an empty file path or when the
// file cannot be written.
bool moods_AddSong(const QString& file, const QString& path);
// Replaces the file with these paths, one per line; false when it could not be written
// (the old file then stays whole).
bool moods_WriteSongs(const QString& file, const QStringList& paths);

// A name the user may give a mood: not empty, not "." or "..", and free of "/", "\", "|"
// and control characters (a "|" would split it into two moods, the others lead elsewhere).
bool moods_IsAcceptableName(const QString& name);
