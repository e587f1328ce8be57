#pragma once
// The per-song lists (stored volumes, play counts): rows of Artist, Title, a value and the
// file's full path, kept whole in a list file of the program folder.
#include <QString>

class ListViewModel;

namespace songlists {

enum Column { Artist = 0, Title = 1, Value = 2, Filename = 3 };

// The first row from the top that names this file; 0 when none. Two paths name the same
// file only when they are equal as texts.
int findFile(const ListViewModel& list, const QString& fileName);

// Replaces the list file with the rows, through a temporary file beside it, so a failure
// leaves the old file whole; an empty list removes the file. False when the file could not
// be written or removed.
bool save(const ListViewModel& list, const QString& path);

// A "Played:" text as a count: a text that is not a whole number counts as 0, and counts
// stay within 0..32767.
int playCount(const QString& text);
// The count as the list shows it: at least two digits ("01", "123").
QString playCountText(int count);
// Most played first; rows of equal counts keep their order.
void sortByPlayCount(ListViewModel& list);

} // namespace songlists
