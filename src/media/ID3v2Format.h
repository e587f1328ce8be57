#pragma once
// The byte-level rules of ID3v2 tags shared by the tag class and the header reader:
// where a tag is and how far it reaches, size fields, unsynchronisation, text encodings,
// the frame layouts that carry text, and the conversion of version 2.2 and 2.4 frames to
// the version 2.3 form that the program writes.
#include "media/ByteSource.h"

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

namespace media::id3v2 {

// ---- numbers -------------------------------------------------------------------------

quint32 readBE32(const char* p);
quint32 readBE24(const char* p);
// Seven bits per byte ("syncsafe").
quint32 readSyncsafe(const char* p);
void writeBE32(char* p, quint32 value);
void writeSyncsafe(char* p, quint32 value);
constexpr quint32 kMaxSyncsafe = 0x0FFFFFFF;

// ---- where the tag is ------------------------------------------------------------------

struct TagArea {
    bool found = false;
    int version = 0;          // 2, 3 or 4
    int revision = 0;
    int flags = 0;
    bool olderForm = false;   // size written as the plain 32-bit length of the whole area
    qint64 dataSize = 0;      // bytes after the 10-byte header: extended header, frames, padding
    qint64 tagEnd = 0;        // bytes from the start of the file to the end of the tag (footer included)
    qint64 audioStart = -1;   // tagEnd plus the zero bytes that follow it, when audio (an MPEG
                              // frame, an ID3v1 tag or the end of the file) follows them; else -1
    // The tag claims more bytes than the file holds, as a download cut off inside it does:
    // its end lies beyond the file's (the tag is then not found), or inside the ID3v1 tag
    // appended to such a file since. A new tag written over it would take bytes that are not
    // its own.
    bool cutShort = false;
};

// Why a tag that is cut short is not saved over.
QString cutShortText();
// Why a tag in which no frame could be read, though it holds more than padding, is not saved over.
QString unreadableText();

// The tag at the start of the file, if any. `head` holds the file's first bytes (at least
// ten when the file has them). A tag has "ID3", a version of 2 to 4 and a size that fits
// the file. Sizes are read in the published form (seven bits a byte, header excluded),
// or in the form of the program's earlier versions (plain 32 bits, the whole area, always
// a multiple of 2048) when a size byte is 0x80 or more, or when audio follows the plain
// size's end but not the published one's and nothing but well-formed frames and zero bytes
// lies before the plain end. `withRoom` also finds where the audio starts.
// `at` looks for a tag further on (the header reader skips tags repeated after the first);
// `head` then holds the bytes from there, and the positions found are from the file's start.
TagArea locateTag(ByteSource& source, QByteArrayView head, bool withRoom, qint64 at = 0);

// Where audio starts at or after `pos`, skipping zero bytes: the position of an MPEG frame
// header, of an ID3v1 tag that ends the file, or the end of the file; -1 when something
// else follows.
qint64 audioAfter(ByteSource& source, qint64 pos);

// ---- unsynchronisation -----------------------------------------------------------------

// Undoes unsynchronisation: every 0xFF 0x00 becomes 0xFF.
QByteArray removeUnsync(const QByteArray& data);

// ---- text encodings ----------------------------------------------------------------------

enum Encoding : quint8 { Latin1 = 0, Utf16 = 1, Utf16BE = 2, Utf8 = 3 };

// Decodes [begin, end) of `data` in the given encoding: 0 as Windows-1252, 1 UTF-16 with a
// byte-order mark (little-endian when it has none), 2 UTF-16BE, 3 UTF-8. Marks are dropped.
QString decodeText(int encoding, const char* begin, const char* end);
// The end of the string that starts at `from`: the offset of its terminator (one zero
// byte, or two at an even distance for the UTF-16 encodings), or `size` when it has none.
qsizetype findTerminator(int encoding, const QByteArray& data, qsizetype from);
qsizetype terminatorLength(int encoding);

// Text as the program writes it: encoding 0 when every character is in Latin-1
// (U+0000-U+00FF), else encoding 1 (UTF-16 with a little-endian byte-order mark). NUL
// characters are dropped.
struct EncodedText {
    quint8 encoding = Latin1;
    QByteArray bytes;
};
EncodedText encodeText(const QString& text);
QByteArray encodeText(const QString& text, quint8 encoding);

// ---- frames ---------------------------------------------------------------------------------

// A frame as it is written in version 2.3: ID, the two flag bytes and the data after the
// ten-byte frame header.
struct Frame23 {
    QByteArray id;
    quint8 statusFlags = 0;
    quint8 formatFlags = 0;
    QByteArray body;
    QByteArray serialize() const;
    // The grouping flag and the group byte, which goes after the decompressed size and the
    // encryption method that the format flags announce.
    void setGroup(char group);
    std::optional<char> group() const;
    // The body after those additions.
    QByteArray data() const;
};

bool isValidFrameId(const char* id, int length);

// The version 2.3 ID of a version 2.2 ID; empty when there is none.
QByteArray mapV22FrameId(const QByteArray& id);

// The readable text of a frame's content (after any compression is undone): text frames
// give their text (several strings joined with "/"), TXXX its value (likewise), COMM and
// USLT their text without language and description (the older form of the program reads
// as its text), URL frames their address, PCNT its count in decimal, every other frame its
// bytes without NULs in Windows-1252.
QString frameText(const QByteArray& id, const QByteArray& content);

// The year of an ID3v2.4 timestamp (yyyy[-MM[-dd[THH[:mm[:ss]]]]]); empty when the text is
// not one ("Oct 3, 1995").
QString timestampYear(const QString& text);

// A frame built from an entry's text (entries added by the program itself).
Frame23 frameFromText(const QByteArray& id, const QString& text);

// What comes before the text of a COMM or USLT frame's content: the three-byte language and
// the description. The older form of the program has neither (empty language).
struct CommentHead {
    QByteArray language;
    QString description;
};
CommentHead commentHead(const QByteArray& content);
// A COMM or USLT frame of the language (three bytes) with the description and text.
Frame23 commentFrame(const QByteArray& id, const QString& text, const QByteArray& language,
                     const QString& description = QString());

// One frame read from a tag, converted to version 2.3.
struct ReadFrame {
    QByteArray modelId;    // the ID the tag model holds it under (2.3 ID; 2.4 IDs as read)
    QByteArray content;    // the frame's data in its own version, decompressed; empty when
                           // it cannot be read (encrypted)
    std::optional<Frame23> frame; // what Save writes; none when there is no 2.3 form
    std::vector<Frame23> extra;   // further frames of the same data: a 2.4 recording time
                                  // becomes year (frame), then date and time (TDAT, TIME)
    // Without a frame: true when leaving the frame out loses nothing (it holds no data, or
    // file positions a new tag would make wrong). Otherwise `notKept` says which frame no
    // version 2.3 tag can hold and why; a save must then refuse rather than drop it.
    bool leftOut = false;
    QString notKept;
};

// One involved-people list (IPLS) holding the name pairs of several, in their order, with
// the first one's status flags: version 2.3 keeps a single list, where 2.4 has the people
// involved (TIPL) and the musicians (TMCL) apart.
Frame23 mergedPeopleList(const std::vector<const Frame23*>& lists);

// Converts one frame of a version 2.2, 2.3 or 2.4 tag. `body` is the frame's data after its
// header (tag-level unsynchronisation already undone for 2.2 and 2.3).
ReadFrame convertFrame(int version, const QByteArray& id, quint8 flags0, quint8 flags1,
                       const QByteArray& body, bool tagUnsync);

} // namespace media::id3v2
