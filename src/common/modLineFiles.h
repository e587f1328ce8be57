#pragma once
// Line files: one entry per line, each ended by CR LF, no quotes (bookmarks.sbl,
// locations.log, a mood's song list). An entry is the whole line, so a path holding commas,
// quotes or blanks at its ends stays one entry. Entries compare exactly, as this file system
// compares paths.
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <functional>

// True when one whole line of the file equals the text exactly; false for a missing or
// unreadable file, or an empty file name.
bool linefile_HasLine(const QString& fileName, const QString& text);
// Appends the text as one line in the file's own encoding, creating the file when missing;
// a last line left without its end is ended first. False, with nothing written, for an
// empty file name or when the file cannot be read or written.
bool linefile_AppendLine(const QString& fileName, const QString& text);

// Calls f with each line of a plain file, first to last, without its end, read a piece at
// a time: a file of millions of lines costs no more memory than its longest line. Line ends
// and encodings are those of every text file (textfile): f gets the line as UTF-8 or as
// Windows-1252 bytes, which textfile::decodeLine turns into text. f returns false to stop.
// False when the file is missing or cannot be read.
bool linefile_ForEachLine(const QString& fileName, const std::function<bool(QByteArrayView)>& f);
// The last `count` lines of the file in file order, and how many lines it has in all
// (`total` may be null). False, with nothing set, when the file is missing or unreadable.
bool linefile_ReadLast(const QString& fileName, qsizetype count, QStringList* lines, qint64* total);
