#pragma once
// A row of the playlist: its columns by name and its play status. The column values are the
// sub-item numbers of a row (0 is the row text, "No."); the statuses are kept in the rows and
// in playlist files as their texts, converted only here.
#include <QString>
#include <QStringList>

class ListViewModel;

namespace PlaylistColumn {
enum Column : int { Number = 0, Artist = 1, Title = 2, Year = 3, Status = 4, Length = 5, Filename = 6 };
constexpr int Count = 7;
// The column headers, in column order.
QStringList headers();
} // namespace PlaylistColumn

// Other: any text that is none of the five (such a row plays as "Play" does, but is not one).
enum class RowStatus { Play, PlayOnce, Skip, SkipOnce, Remove, Other };

QString rowStatusText(RowStatus status);          // Other: empty
RowStatus rowStatusFromText(const QString& text); // exact, letter case included

// The status of row `row` (1-based) of a playlist, and setting it.
RowStatus playlist_RowStatus(const ListViewModel& list, int row);
void playlist_SetRowStatus(ListViewModel& list, int row, RowStatus status);
