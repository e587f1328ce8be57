#pragma once
// Line files: one entry per line, each ended by CR LF, no quotes (bookmarks.sbl,
// locations.log, a mood's song list). An entry is the whole line, so a path holding commas,
// quotes or blanks at its ends stays one entry. Entries compare exactly, as this file system
// compares paths.
#include <QString>

// True when one whole line of the file equals the text exactly; false for a missing or
// unreadable file, or an empty file name.
bool linefile_HasLine(const QString& fileName, const QString& text);
// Appends the text as one line in the file's own encoding, creating the file when missing;
// a last line left without its end is ended first. False, with nothing written, for an
// empty file name or when the file cannot be read or written.
bool linefile_AppendLine(const QString& fileName, const QString& text);
