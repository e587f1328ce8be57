#pragma once
// What the rename and move tools share: the file-name patterns and the rule that builds a
// name from a song's tags, the characters a name may not hold, which files are MPEG audio,
// and the layout of their message texts.
#include <QString>
#include <QStringList>

namespace organise {

// The pattern list's captions, in the order of the pattern numbers 0 to 6.
const QStringList& patternCaptions();

// The new file name of a song: the tag values the pattern lists, joined by " - ", after
// the position formatted "0#" and " - " when numbered, then "." and the source file's
// extension in lower case. Each value loses the characters no name may hold and the blanks
// at its ends, and the name loses dots and blanks at its start (a hidden file). A value the
// pattern uses that is left empty gives "" and, given `missing`, the name of its field
// ("Artist", "Title" or "Album"): the song keeps its old name, often the only clue to what
// it is. A pattern outside 0..6 gives "" with `missing` empty.
QString patternName(const QString& artist, const QString& title, const QString& album, int pattern,
                    bool numbered, int position, const QString& sourcePath, QString* missing = nullptr);

// \ / : * ? " < > | and the control characters (U+0000 to U+001F, U+007F).
bool isUnsupportedCharacter(QChar c);
bool hasUnsupportedCharacter(const QString& name);

struct SongTags {
    QString artist, title, album, year;
};
// The texts of the file's ID3v2 tag, or of its ID3v1 tag; empty texts for a file that
// cannot be read.
SongTags readTags(const QString& path, bool useID3v2);

// "mp3", "mp2" or "mp1" after the last ".", in any letter case.
bool isMpegAudio(const QString& path);

// first CR LF CR LF second CR LF
QString message(const QString& first, const QString& second);
// first CR LF CR LF path CR LF CR LF second CR LF
QString fileMessage(const QString& first, const QString& path, const QString& second);

// The folder of a path with a "/" at its end.
QString folderWithSeparator(const QString& path);

} // namespace organise
