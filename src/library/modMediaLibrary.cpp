#include "library/modMediaLibrary.h"

#include "common/ListViewModel.h"
#include "common/PlaylistRow.h"
#include "common/modFiles.h"
#include "common/modListFiles.h"
#include "common/modPlaylistFiles.h"
#include "common/modVB.h"
#include "media/ByteSource.h"
#include "media/MediaError.h"
#include "media/clsID3v1.h"
#include "media/clsID3v2.h"
#include "media/modMedia.h"

#include <QSet>

#include <algorithm>

namespace library {

QStringList workingHeaders()
{
    return {QStringLiteral("Artist:"), QStringLiteral("Title:"),   QStringLiteral("Album:"), QStringLiteral("Year:"),
            QStringLiteral("Genre:"),  QStringLiteral("Comment:"), QStringLiteral("Path:")};
}

QStringList resultHeaders()
{
    return {QStringLiteral("Artist:"), QStringLiteral("Title:"), QStringLiteral("Year:"), QStringLiteral("Length:"),
            QStringLiteral("Path:")};
}

// ---- filling the working list ---------------------------------------------------------------

QStringList rowFromPlaylistRecord(const QStringList& record)
{
    // number, artist, title, year, status, length, file name: the number and the status
    // mean nothing here, and the length is measured again when a search lists the song.
    return {record.value(1), record.value(2), QString(), record.value(3), QString(), QString(), record.value(6)};
}

bool loadPlaylist(ListViewModel& working, const QString& fileName)
{
    ListViewModel records;
    records.setColumns({QStringLiteral("No."), QStringLiteral("Artist:"), QStringLiteral("Title:"), QStringLiteral("Year:"),
                        QStringLiteral("Status:"), QStringLiteral("Length:"), QStringLiteral("Filename:")});
    if (!controls_LoadListView(records, fileName)) return false;
    std::vector<QStringList> rows;
    rows.reserve(size_t(records.count()));
    for (int row = 1; row <= records.count(); ++row) rows.push_back(rowFromPlaylistRecord(records.cells(row)));
    records.clear();
    working.addRows(rows);
    return true;
}

QStringList rowForFile(const QString& path)
{
    QStringList cells;
    for (int c = ColArtist; c < ColPath; ++c) cells.append(QString());
    cells.append(path);
    return cells;
}

QStringList directoryFiles(const QString& directory, const QString& extension)
{
    QStringList out;
    for (const QString& found : files::listFolder(directory, extension))
        out.append(directory + files::separator() + files_GetFileName(found));
    return out;
}

bool isMpegAudioPath(const QString& path)
{
    const QString ext = files_GetExtension(path).toLower();
    return ext == QLatin1String("mp3") || ext == QLatin1String("mp2") || ext == QLatin1String("mp1");
}

QStringList readTagCells(const QString& path, bool useID3v2)
{
    QStringList cells(ColPath);   // columns 0 to 5, empty
    // One read of the file serves both tags.
    media::SongFile song;
    song.open(path);
    clsID3v1 v1;
    try {
        v1.setFilename(path, song);
    } catch (const veltra::MediaError&) {
        // the texts stay empty
    }
    if (useID3v2) {
        // The ID3v2 texts as they are, empty ones included; only the genre comes from ID3v1.
        clsID3v2 v2;
        try {
            v2.setFilename(path, song);
            cells[ColArtist] = v2.Artist();
            cells[ColTitle] = v2.Title();
            cells[ColAlbum] = v2.Album();
            cells[ColYear] = v2.Year();
            cells[ColComment] = v2.Comment();
        } catch (const veltra::MediaError&) {
        }
        cells[ColGenre] = v1.Genre();
        return cells;
    }
    cells[ColArtist] = v1.Artist();
    cells[ColTitle] = v1.Title();
    cells[ColAlbum] = v1.Album();
    cells[ColYear] = v1.Year();
    cells[ColGenre] = v1.Genre();
    cells[ColComment] = v1.Comment();
    return cells;
}

void showID3Data(ListViewModel& working, bool useID3v2, const Yield& yield)
{
    for (int row = 1; row <= working.count(); ++row) {
        if (yield && !yield()) return;
        if (row > working.count()) return;   // rows went while events ran
        const QString path = working.cell(row, ColPath);
        if (!isMpegAudioPath(path) || !files_FileExists(path)) continue;
        QStringList cells = readTagCells(path, useID3v2);
        cells.append(path);
        working.setCells(row, cells);
    }
}

// ---- the index ------------------------------------------------------------------------------

void sortForList(QStringList& values)
{
    std::stable_sort(values.begin(), values.end(),
                     [](const QString& a, const QString& b) { return QString::compare(a, b, Qt::CaseInsensitive) < 0; });
}

namespace {
// The distinct values of one column, each kept in the letter case it was first met in.
class Distinct {
public:
    void add(const QString& value)
    {
        if (value.isEmpty()) return;
        const QString key = value.toCaseFolded();
        if (m_seen.contains(key)) return;
        m_seen.insert(key);
        m_values.append(value);
    }
    QStringList sorted()
    {
        sortForList(m_values);
        return m_values;
    }

private:
    QSet<QString> m_seen;
    QStringList m_values;
};
} // namespace

bool buildIndex(const ListViewModel& working, Index* index, const Yield& yield)
{
    Distinct artists, years, albums;
    for (int row = 1; row <= working.count(); ++row) {
        if (yield && !yield()) return false;
        if (row > working.count()) break;
        if (!files_FileExists(working.cell(row, ColPath))) continue;
        artists.add(working.cell(row, ColArtist));
        years.add(working.cell(row, ColYear));
        albums.add(working.cell(row, ColAlbum));
    }
    index->artists = artists.sorted();
    index->years = years.sorted();
    index->albums = albums.sorted();
    return true;
}

// ---- searching --------------------------------------------------------------------------------

QString songLength(const QString& path)
{
    media_ReadMP3Info(path);
    const QString seconds = MP3Duration();
    return media_FormatTime(seconds.isEmpty() ? 0 : qint32(vb::Val(seconds)));
}

bool findResults(const ListViewModel& working, const QString& value, int column, const Yield& yield,
                 const std::function<void(const QStringList&)>& add)
{
    for (int row = 1; row <= working.count(); ++row) {
        if (yield && !yield()) return false;
        if (row > working.count()) break;
        if (QString::compare(working.cell(row, column), value, Qt::CaseInsensitive) != 0) continue;
        const QString path = working.cell(row, ColPath);
        if (!files_FileExists(path)) continue;
        add({working.cell(row, ColArtist), working.cell(row, ColTitle), working.cell(row, ColYear), songLength(path), path});
    }
    return true;
}

QString playlistRecords(const ListViewModel& results)
{
    QString out;
    for (int row = 1; row <= results.count(); ++row) {
        out.append(listfile::formatCells({QString(), results.cell(row, ResArtist), results.cell(row, ResTitle),
                                          results.cell(row, ResYear), rowStatusText(RowStatus::Play), results.cell(row, ResLength),
                                          results.cell(row, ResPath)}));
    }
    return out;
}

// ---- sources ------------------------------------------------------------------------------------

QStringList playlistFiles(const QString& folder)
{
    QStringList files;
    for (const QString& path : files::listFolder(folder, QStringLiteral("spp"))) {
        // the main window's own playlist, kept between runs, is not offered here
        if (playlists::isReservedName(files_GetNameWithoutExtension(path))) continue;
        files.append(path);
    }
    // By the name shown, not the file name: "Rock" comes before "Rock Anthems" and "Rock-2".
    std::stable_sort(files.begin(), files.end(), [](const QString& a, const QString& b) {
        return QString::compare(files_GetNameWithoutExtension(a), files_GetNameWithoutExtension(b), Qt::CaseInsensitive) < 0;
    });
    return files;
}

} // namespace library
