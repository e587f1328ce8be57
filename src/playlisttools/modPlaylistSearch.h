#pragma once
// Searching the playlist's rows by their song fields, without a window: the fields of a row
// (tags for MPEG audio files, the row's own columns for the others), the four matching
// modes, "=" and "<>", and the exclusion list. Jump To Media and Advanced Queue use them.
#include <QString>
#include <QStringList>

#include <array>

namespace playlistsearch {

enum class Mode { WholeWord = 0, StartsWith = 1, EndsWith = 2, Contains = 3 };
enum class Field { All = 0, Artist = 1, Title = 2, Album = 3, Year = 4, Genre = 5, Filename = 6 };

struct SongFields {
    QString artist;
    QString title;
    QString album;
    QString year;
    QString genre;
    QString filename;

    // Field 1 to 6; All has no single text.
    const QString& field(Field f) const;
    // The six in the order All tries them: artist, title, album, year, genre, file name.
    std::array<const QString*, 6> all() const { return {&artist, &title, &album, &year, &genre, &filename}; }
};

// The fields of a playlist row whose file is `filename`. A file whose extension (lower-cased)
// is mp3, mp2 or mp1 gives its tag texts, from ID3v1 or, with useID3v2, from ID3v2 with the
// genre still from ID3v1; one read of the file serves both. A file that cannot be read
// (moved, deleted, unreadable) gives empty texts. Any other file gives the row's artist,
// title and year columns and no album or genre.
SongFields rowFields(const QString& artistColumn, const QString& titleColumn, const QString& yearColumn,
                     const QString& filename, bool useID3v2);

// The mode's comparison of one value with the search text, which the caller has lower-cased.
// Lower-casing is the only normalisation: nothing is trimmed.
bool matches(Mode mode, const QString& value, const QString& loweredText);

// The terms not to include: every "," starts a new term, each trimmed of blanks, so two
// commas in a row or one at either end give an empty term. A value is excluded when it
// equals a term whole, ignoring letter case.
class Exclusions {
public:
    Exclusions() = default;
    explicit Exclusions(const QString& text);
    bool excludes(const QString& value) const;
    const QStringList& terms() const { return m_terms; }

private:
    QStringList m_terms;   // lower-cased
};

struct Query {
    Mode mode = Mode::WholeWord;
    Field field = Field::All;
    bool negate = false;                 // the operator "<>"
    QString text;                        // as typed, not lower-cased
    const Exclusions* exclude = nullptr; // null while the exclusion list is not in force
};

// All: a hit when one of the six fields passes the test and none of the six is excluded.
// One field: a hit when that field passes the test and is not excluded.
bool isHit(const SongFields& fields, const Query& query);

} // namespace playlistsearch
