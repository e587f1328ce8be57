#pragma once
// List files (playlists .spp, volumes.ssb, tracking.ssb): each row of a list view written
// as one line per cell, the cell in double quotes, CR LF after each; the reader knows the
// record size from the list view it fills. Line files (bookmarks, locations): one entry per
// line, no quotes.
#include <QString>
#include <QStringList>

class ListViewModel;

// Writes every row, replacing the file whole; false when the file could not be written.
bool controls_SaveListView(const ListViewModel& list, const QString& fileName);
// Adds one row per record after the rows the list already has. A missing file, or one whose
// cells do not fill whole records, shows "Error Loading List" and adds nothing; so does a
// file loaded into a playlist (a list with the playlist's columns) that is no playlist.
bool controls_LoadListView(ListViewModel& list, const QString& fileName);

bool files_FileContainsLine(const QString& fileName, const QString& text);
qint64 files_CountLines(const QString& fileName);
QString files_ReadLine(const QString& fileName, qint64 n);

namespace listfile {
// The cells of a list file's text, by the sequential field rule: a field that begins with a
// double quote is the text up to the last double quote of its line; any other field runs to
// the next comma or the line's end, without trailing blanks.
QStringList readFields(const QString& text);
// Whether the list has the playlist's columns, so what it loads must be a playlist.
bool isPlaylist(const ListViewModel& list);
// Whether a record can be a playlist row: its status is one of the five (in any letter case)
// or empty, and its number, status and length hold no control character but tab.
bool isPlaylistRecord(const QStringList& record);
// "\"cell\"\r\n" for each cell.
QString formatCells(const QStringList& cells);
// Whole lines of a text file (CR LF, LF or CR), without their ends.
QStringList splitLines(const QString& text);
bool readLines(const QString& fileName, QStringList* lines);
// One entry per line, CR LF after each, replacing the file whole.
bool writeLines(const QString& fileName, const QStringList& lines);
} // namespace listfile
