#pragma once
// What the two tag editors share: the ID3v2 text properties they edit, by number; setting
// only the frames whose text changed, so every other frame is written back as it was read;
// writing a song's two tags together; the text of a failed write; and the line breaks of
// the several-line boxes.
#include <QString>

#include <array>

class clsID3v2;
struct ID3v1Fields;
namespace media {
class SyncBatch;
}

namespace tags {

// The ID3v2 texts the editors show, in the order they are set.
enum Text { Artist, Title, Album, Year, Comment, Track, OriginalArtist, Composer, Copyright, Lyrics, TextCount };
using Texts = std::array<QString, TextCount>;

QString text(const clsID3v2& tag, Text which);
void setText(clsID3v2& tag, Text which, const QString& value);

// What a write of a song's tags achieved.
enum class Written { Nothing, ID3v1Only, All };

// Writes the song's ID3v1 tag and, given one (read from the song and edited), its ID3v2
// tag. An ID3v2 save through a copy of the song takes the ID3v1 tag into the same copy, so
// that a save cut off at any moment leaves the old song or the new one; otherwise the
// ID3v1 tag is written in place first. An ID3v2 save that fails or is refused still
// writes the ID3v1 tag (ID3v1Only), leaving a refusal's reason in `refusal`.
Written writeTags(const QString& path, const ID3v1Fields& id3v1, clsID3v2* id3v2, media::SyncBatch* batch,
                  QString* refusal = nullptr);

// Writes the ID3v1 tag and the song's ID3v2 tag with each text set that differs between
// `before` and `after` (not rewritten when none does), as writeTags. An ID3v2 tag that
// cannot be read gives ID3v1Only.
Written saveChangedFrames(const QString& path, const ID3v1Fields& id3v1, const Texts& before, const Texts& after,
                          QString* refusal = nullptr);

// Why the song's ID3v2 tag must not be written over, asked before its ID3v1 tag is written
// (clsID3v2::OverwriteRefusal: the tag claims more bytes than the file holds, or no frame of
// it could be read), so the song keeps every byte. Empty when it may be written (or the file
// cannot be read: the writes then fail and say so).
QString overwriteRefusal(const QString& path);

// The ID3v1 genre number an ID3v2 genre text (TCON) names: "(17)", "(17)Rock", "17" or a
// name of the list in any letter case; the first of several values ("17/Jazz", as several
// are read). -1 when none does.
int genreNumber(const QString& tcon);

// "An error has occur while trying to write the ID3 Tag.  Make sure that ..."
QString writeFailedText();

// Several comments are joined with NUL and CR LF: shown without the NUL.
QString withoutNuls(const QString& text);
// Line breaks of a tag text (CR LF, CR or LF) as a several-line box holds them (LF), and
// back as CR LF.
QString toBoxLines(const QString& text);
QString fromBoxLines(const QString& text);

} // namespace tags
