#pragma once
// What the media library knows without a window: the working list's columns, how a playlist
// file enters it, reading each row's tags, the distinct artists, years and albums over the
// rows whose file exists, the search over one column, and a search's rows as playlist
// records. The library window (FrmMediaLibrary) drives these and shows what they give.
//
// Long loops call `yield` once per row (the window lets events run there). A yield that
// returns false tells the loop that it is no longer wanted: it stops at once.
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class ListViewModel;

namespace library {

// Columns of the working list: the row's text and six sub-items.
enum WorkingColumn { ColArtist = 0, ColTitle = 1, ColAlbum = 2, ColYear = 3, ColGenre = 4, ColComment = 5, ColPath = 6 };
// Columns of the results list.
enum ResultColumn { ResArtist = 0, ResTitle = 1, ResYear = 2, ResLength = 3, ResPath = 4 };

QStringList workingHeaders();   // "Artist:" ... "Path:"
QStringList resultHeaders();    // "Artist:", "Title:", "Year:", "Length:", "Path:"

using Yield = std::function<bool()>;

// ---- filling the working list ---------------------------------------------------------------

// A playlist record (number, artist, title, year, status, length, file name) as a working
// row: its artist, title, year and path each in their own column, the rest empty.
QStringList rowFromPlaylistRecord(const QStringList& record);
// Appends the playlist's records as working rows. A file that cannot be read is reported
// by the list reader ("Error Loading List") and adds nothing; false then.
bool loadPlaylist(ListViewModel& working, const QString& fileName);
// A row for one file: empty texts and the path.
QStringList rowForFile(const QString& path);
// The files "<directory>/*.<extension>" (extension in any letter case) of that folder
// only, in name order, each as directory + "/" + name.
QStringList directoryFiles(const QString& directory, const QString& extension);

// True for a path whose extension, lower-cased, is mp3, mp2 or mp1.
bool isMpegAudioPath(const QString& path);
// The tag texts of one MPEG audio file (columns 0 to 5), read from its ID3v2 tag (genre from
// ID3v1) or from its ID3v1 tag. An unreadable tag gives empty texts.
QStringList readTagCells(const QString& path, bool useID3v2);
// Fills columns 0 to 5 of every row whose file is an existing MPEG audio file from its
// tags. Rows removed or added meanwhile are followed: the loop ends at the current last row.
void showID3Data(ListViewModel& working, bool useID3v2, const Yield& yield);

// ---- the index ------------------------------------------------------------------------------

// The distinct non-empty values of one column, the first value met standing for every
// value equal to it when letter case is ignored, in the list boxes' order (ignoring case).
struct Index {
    QStringList artists;
    QStringList years;
    QStringList albums;
};
// Over the rows whose file exists. Returns false when a yield said stop (the index is then
// incomplete).
bool buildIndex(const ListViewModel& working, Index* index, const Yield& yield);
// Ascending, ignoring letter case (the list boxes' sorted order).
void sortForList(QStringList& values);

// ---- searching --------------------------------------------------------------------------------

// "mm:ss" of the file's first MPEG frame header and size; "00:00" without a readable header.
QString songLength(const QString& path);
// The results of a search for `value` in `column` of the working list: the rows whose cell
// equals the value ignoring case and whose file exists, as result rows (artist, title,
// year, length, path). `add` receives each as found. False when a yield said stop.
bool findResults(const ListViewModel& working, const QString& value, int column, const Yield& yield,
                 const std::function<void(const QStringList&)>& add);

// The results as playlist records: seven quoted lines per row (empty number, artist, title,
// year, "Play", length, path), each ended by CR LF.
QString playlistRecords(const ListViewModel& results);

// ---- sources ------------------------------------------------------------------------------------

// The playlist files "<folder>/*.spp" (extension in any letter case), in the order of their
// names without the extension, ignoring case (as the tree shows them), without the one named
// "default" in any letter case.
QStringList playlistFiles(const QString& folder);

} // namespace library
