#pragma once
// The playlist written as an HTML page or a plain text list, for printing or publishing.
#include <QString>

class ListViewModel;

namespace playlistexport {

// Each replaces the file whole; false when it could not be written.
bool writeText(const ListViewModel& playlist, const QString& path);
// Colours are the [HTMLPlaylist] settings, written into the page as they stand.
bool writeHtml(const ListViewModel& playlist, const QString& path, const QString& backgroundColour, const QString& fontColour);

QString textLine(const ListViewModel& playlist, int row);   // "7.  Artist - Title"
QString htmlEscape(const QString& text);

} // namespace playlistexport
