#pragma once
// A song's length from its MPEG audio header, the "mm:ss" time text, the number mask of
// the recent-files menus, the ID3v1 genre names and writer, and the mood reset.
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace media {
class ByteSource;
class SyncBatch;
}

// ---- MPEG audio header -----------------------------------------------------------------

// What media_ReadMP3Info found in the file it examined last. Every call starts afresh.
struct MP3InfoType {
    qint64 FileLength = 0;    // bytes of the whole file
    qint32 Bitrate = 0;       // bit/s of the first frame; 0 when no frame was found
    QString MP3Duration;      // whole seconds as decimal text; empty when no frame was found
    qint32 SampleRate = 0;    // Hz, when the header says (0 for a header found half a byte off)
    qint64 AudioStart = -1;   // offset of the first frame
    qint64 AudioBytes = 0;    // bytes of audio: the file without its ID3v2 and ID3v1 tags
    qint64 VbrFrames = 0;     // the frame count of a Xing/Info or VBRI header, else 0
};
extern MP3InfoType MP3Info;

// The length of the song last examined, in whole seconds as text ("" when unknown).
inline const QString& MP3Duration() { return MP3Info.MP3Duration; }

// kbit/s by [column][bitrate index]: column (version bit * 4 | layer bits) 1-7, index 1-15;
// column 4 (MPEG-1 with the reserved layer) and index 15 hold 0; row and column 0 unused.
extern qint16 BitrateTable[8][16];
void media_InitBitrateTable();

// Three bytes a, b, c to two: (low four bits of a, high four of b), (low four of b, high four
// of c): re-aligns a bit stream by half a byte.
QByteArray media_ShiftNibble(QByteArrayView threeBytes);

// Reads the first frame header after a leading ID3v2 tag and sets MP3Info. The length is the
// audio bytes over the bitrate, or, when the first frame carries a Xing/Info or VBRI frame
// count (variable bitrate), frames * samples per frame / sample rate; rounded half to even.
// Reads only the tag header, a few kilobytes at the audio's start and the last 128 bytes.
void media_ReadMP3Info(const QString& fileName);
void media_ReadMP3Info(media::ByteSource& source);

// ---- time and numbers ------------------------------------------------------------------

// Seconds as "mm:ss" (minutes grow past 59: 3725 gives "62:05"); 0 gives "00:00".
QString media_FormatTime(qint32 seconds);
// A number mask as wide as `n` in decimal: 7 "#", 12 "0#", 250 "00#".
QString media_GetNumberFormat(int n);

// ---- ID3v1 -------------------------------------------------------------------------------

// The 148 genre names of the ID3v1 numbering (0 "Blues" .. 147 "Synth Pop"), "|"-separated.
extern const char ID3v1GenreList[];
// The same names as a list, index = genre number.
const QStringList& GenreNames();

// The body of an ID3v1 tag as the editors pass it: texts of fixed width (30, 30, 30, 4, 30
// bytes; shorter text padded with spaces, longer cut) and the genre number. Texts are stored
// in Windows-1252; a character it lacks becomes "?".
struct ID3v1Fields {
    QString Title{};
    QString Artist{};
    QString Album{};
    QString Year{};
    QString Comment{};
    quint8 Genre = 0;

    // The 125 bytes that follow "TAG".
    QByteArray toBytes() const;
};

// Where media_WriteID3v1 puts the tag in a file of `size` bytes that ends in `tail` (its last
// 128 bytes; empty when the file is shorter): the 125 bytes after "TAG" over an existing
// tag's (`offset` size - 125), or the whole tag appended (`offset` size).
struct ID3v1Placement {
    qint64 offset = 0;
    QByteArray bytes;
};
ID3v1Placement media_PlaceID3v1(qint64 size, QByteArrayView tail, const ID3v1Fields& fields);

// Writes the tag body over an existing ID3v1 tag (the length is kept) or appends a new tag
// (128 bytes more). An ID3v1.1 track number of the existing tag is kept when the comment
// fits in 28 bytes. Never creates the file. False when the file could not be written; the
// callers check beforehand and report their own errors. Given a batch, the file is flushed
// to the disk by the batch's finish().
bool media_WriteID3v1(const QString& fileName, const ID3v1Fields& fields, media::SyncBatch* batch = nullptr);

// ---- moods ----------------------------------------------------------------------------------

// The mood names separated by "|" ([Advanced] Moods). Start-up fills it; the mood editor
// changes it.
extern QString MoodList;

// Asks, and on Yes deletes the song list (Moods/<name>.mlst in the program folder) of every
// mood. The mood names stay; callers rebuild their mood menus.
void media_ResetMoods();
