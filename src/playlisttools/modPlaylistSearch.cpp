#include "playlisttools/modPlaylistSearch.h"

#include "common/modVB.h"
#include "library/modMediaLibrary.h"

namespace playlistsearch {

const QString& SongFields::field(Field f) const
{
    switch (f) {
    case Field::Artist: return artist;
    case Field::Title: return title;
    case Field::Album: return album;
    case Field::Year: return year;
    case Field::Genre: return genre;
    case Field::Filename:
    case Field::All: break;
    }
    return filename;
}

SongFields rowFields(const QString& artistColumn, const QString& titleColumn, const QString& yearColumn,
                     const QString& filename, bool useID3v2)
{
    SongFields f;
    f.filename = filename;
    if (!library::isMpegAudioPath(filename)) {
        f.artist = artistColumn;
        f.title = titleColumn;
        f.year = yearColumn;
        return f;
    }
    const QStringList tags = library::readTagCells(filename, useID3v2);
    f.artist = tags.value(library::ColArtist);
    f.title = tags.value(library::ColTitle);
    f.album = tags.value(library::ColAlbum);
    f.year = tags.value(library::ColYear);
    f.genre = tags.value(library::ColGenre);
    return f;
}

bool matches(Mode mode, const QString& value, const QString& loweredText)
{
    const qsizetype n = loweredText.size();
    switch (mode) {
    case Mode::WholeWord: return value.toLower() == loweredText;
    case Mode::StartsWith: return value.left(n).toLower() == loweredText;
    case Mode::EndsWith: return value.right(n).toLower() == loweredText;
    case Mode::Contains: return value.toLower().contains(loweredText);
    }
    return false;
}

Exclusions::Exclusions(const QString& text)
{
    for (const QString& term : text.split(u','))
        m_terms.append(vb::Trim(term).toLower());
}

bool Exclusions::excludes(const QString& value) const
{
    const QString v = value.toLower();
    for (const QString& term : m_terms)
        if (v == term) return true;
    return false;
}

bool isHit(const SongFields& fields, const Query& query)
{
    const QString s = query.text.toLower();
    auto test = [&](const QString& value) { return matches(query.mode, value, s) != query.negate; };
    auto excluded = [&](const QString& value) { return query.exclude && query.exclude->excludes(value); };
    if (query.field != Field::All) {
        const QString& value = fields.field(query.field);
        return test(value) && !excluded(value);
    }
    bool hit = false;
    for (const QString* value : fields.all())
        if (test(*value)) {
            hit = true;
            break;
        }
    if (!hit) return false;
    for (const QString* value : fields.all())
        if (excluded(*value)) return false;
    return true;
}

} // namespace playlistsearch
