#pragma once
// What the two tag editors share: the ID3v2 text properties they edit, by number; setting
// only the frames whose text changed, so every other frame is written back as it was read;
// the text of a failed write; and the line breaks of the several-line boxes.
#include <QString>

#include <array>

class clsID3v2;

namespace tags {

// The ID3v2 texts the editors show, in the order they are set.
enum Text { Artist, Title, Album, Year, Comment, Track, OriginalArtist, Composer, Copyright, Lyrics, TextCount };
using Texts = std::array<QString, TextCount>;

QString text(const clsID3v2& tag, Text which);
void setText(clsID3v2& tag, Text which, const QString& value);

// Reads the file's ID3v2 tag, sets each text that differs between `before` and `after`,
// and saves when anything was set. False when the tag could not be read or saved (the
// file is then as it was). A save refused because the tag would lose a frame leaves the
// reason in `refusal`.
bool saveChangedFrames(const QString& path, const Texts& before, const Texts& after, QString* refusal = nullptr);

// Why the song's ID3v2 tag must not be written over, asked before its ID3v1 tag is written
// (clsID3v2::OverwriteRefusal: the tag claims more bytes than the file holds, or no frame of
// it could be read), so the song keeps every byte. Empty when it may be written (or the file
// cannot be read: the writes then fail and say so).
QString cutShortRefusal(const QString& path);

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
