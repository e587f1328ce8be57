#pragma once
// Text files: written in UTF-8; read line by line as UTF-8 when the line is valid UTF-8,
// otherwise as Windows-1252, so files written by older versions, and files mixing both,
// load without damage. A UTF-16 byte-order mark means UTF-16. Lines end in CR LF, LF or
// CR alone. Files that replace an earlier version are written to a temporary file in the
// same folder and renamed over it.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringConverter>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace textfile {

QString fromWindows1252(QByteArrayView bytes);
// Characters outside Windows-1252 become `replacement`.
QByteArray toWindows1252(const QString& text, char replacement = '?');
bool isValidUtf8(QByteArrayView bytes);

// The byte-order mark a file's bytes begin with: its length (0 without one) and, for a UTF-16
// mark, the byte order it declares.
struct ByteOrderMark {
    qsizetype length = 0;
    std::optional<QStringConverter::Encoding> utf16;
};
ByteOrderMark byteOrderMark(QByteArrayView head);

// One line's bytes: UTF-8 when valid, else Windows-1252.
QString decodeLine(QByteArrayView line);
// A whole file's bytes: a UTF-16 byte-order mark (either order) decodes as UTF-16, a UTF-8
// mark is dropped; otherwise each line is decoded on its own (decodeLine). Line ends are
// kept as they are.
QString decode(QByteArrayView bytes);
// The file's bytes as UTF-8 without a byte-order mark: UTF-16 files converted, UTF-8 files
// as they are. Windows-1252 lines are left for the line reader to decode.
QByteArray withoutUtf16(const QByteArray& bytes);

// Calls f(line) for each line of `text` (bytes or characters), without its end: CR LF, LF or
// CR alone end a line; an end at the very end of the text opens no further line. f returns
// false to stop.
inline bool isLineEnd(char c) { return c == '\n' || c == '\r'; }
inline bool isLineEnd(QChar c) { return c == u'\n' || c == u'\r'; }
inline bool isCr(char c) { return c == '\r'; }
inline bool isCr(QChar c) { return c == u'\r'; }
template <class View, class F>
void forEachLine(View text, F&& f)
{
    const qsizetype n = text.size();
    qsizetype pos = 0;
    while (pos < n) {
        qsizetype end = pos;
        while (end < n && !isLineEnd(text[end])) ++end;
        if (!f(text.sliced(pos, end - pos))) return;
        if (end + 1 < n && isCr(text[end]) && !isCr(text[end + 1]) && isLineEnd(text[end + 1])) ++end;
        pos = end + 1;
    }
}
QStringList splitLines(QStringView text);

// Whether a file can be read: missing (it may be created), read, or present but unreadable
// (no permission, an I/O error, a folder): such a file must never be rewritten whole.
enum class ReadState { Missing, Read, Failed };
ReadState readBytesState(const QString& path, QByteArray* bytes);
ReadState readState(const QString& path, QString* text);

// Reads a whole file; false when it cannot be opened or read.
bool read(const QString& path, QString* text);
bool readBytes(const QString& path, QByteArray* bytes);

// Whether a file may be replaced whole: it is missing, or it can be read. A file that is
// there but cannot be read was most likely read as empty before the write that would
// replace it, and all it holds would be lost.
bool mayReplace(const QString& path);

// A file written whole, new or in place of an earlier version: the bytes go to a temporary
// file with a short name of its own in the same folder, which takes the file's name only at
// commit(). A failure leaves the old file untouched, and a name as long as the file system
// allows still leaves room for the temporary one. A link is followed: the file it leads to is
// replaced, with that file's permissions. Without commit() the temporary file goes again; one
// left by a write that was killed goes at the next write in its folder.
class ReplacingFile {
public:
    explicit ReplacingFile(const QString& path);
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    bool open();
    bool write(QByteArrayView bytes);
    bool commit();
    void cancel();

private:
    QByteArray m_target;
    QByteArray m_temp;
    int m_fd = -1;
};

// Replaces the file as a whole: a failure leaves the old file untouched. Refused when the
// file may not be replaced (mayReplace).
bool writeAtomic(const QString& path, const QByteArray& bytes);
bool writeAtomic(const QString& path, const QString& text);

// Appends text in the file's own encoding: UTF-16 in the byte order of its byte-order mark,
// else UTF-8 (a missing file is created in UTF-8). With `ownLine`, a last line left without
// its end is ended first. False, with nothing written, when the file cannot be read or
// written, or ends in half a UTF-16 character.
bool append(const QString& path, const QString& text, bool ownLine = false);

} // namespace textfile
