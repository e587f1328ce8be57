#include "platform/TextFile.h"

#include "platform/TemporaryCopies.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>

#include <cerrno>
#include <cstring>
#include <optional>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace textfile {

namespace {
// Windows-1252 0x80..0x9F; 0 marks the five unassigned bytes, which map to C1 controls.
constexpr char16_t kHigh[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
} // namespace

QString fromWindows1252(QByteArrayView bytes)
{
    QString out(bytes.size(), Qt::Uninitialized);
    QChar* d = out.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b >= 0x80 && b < 0xA0 && kHigh[b - 0x80]) d[i] = QChar(kHigh[b - 0x80]);
        else d[i] = QChar(b);
    }
    return out;
}

QByteArray toWindows1252(const QString& text, char replacement)
{
    QByteArray out(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        char b = replacement;
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            b = char(c);
        } else if (c >= 0x80 && c < 0xA0) {
            // a C1 control maps to itself only where Windows-1252 leaves the byte unassigned
            if (!kHigh[c - 0x80]) b = char(c);
        } else {
            for (int k = 0; k < 32; ++k)
                if (kHigh[k] == c) { b = char(0x80 + k); break; }
        }
        out[i] = b;
    }
    return out;
}

bool isValidUtf8(QByteArrayView bytes)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        const unsigned char c = p[i];
        if (c < 0x80) { ++i; continue; }
        int len;
        unsigned cp;
        if (c >= 0xC2 && c <= 0xDF) { len = 2; cp = c & 0x1F; }
        else if (c >= 0xE0 && c <= 0xEF) { len = 3; cp = c & 0x0F; }
        else if (c >= 0xF0 && c <= 0xF4) { len = 4; cp = c & 0x07; }
        else return false;
        if (i + len > n) return false;
        for (int k = 1; k < len; ++k) {
            if ((p[i + k] & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (p[i + k] & 0x3F);
        }
        if ((len == 3 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)))
            return false;
        i += len;
    }
    return true;
}

namespace {
bool startsWith(QByteArrayView bytes, const char* mark, qsizetype n)
{
    return bytes.size() >= n && std::memcmp(bytes.data(), mark, size_t(n)) == 0;
}
} // namespace

QString decodeLine(QByteArrayView line)
{
    if (isValidUtf8(line)) return QString::fromUtf8(line);
    return fromWindows1252(line);
}

ByteOrderMark byteOrderMark(QByteArrayView head)
{
    if (startsWith(head, "\xFF\xFE", 2)) return {2, QStringConverter::Utf16LE};
    if (startsWith(head, "\xFE\xFF", 2)) return {2, QStringConverter::Utf16BE};
    if (startsWith(head, "\xEF\xBB\xBF", 3)) return {3, {}};
    return {};
}

QString decode(QByteArrayView bytes)
{
    const ByteOrderMark mark = byteOrderMark(bytes);
    bytes = bytes.sliced(mark.length);
    if (mark.utf16) return QStringDecoder(*mark.utf16).decode(bytes);
    if (isValidUtf8(bytes)) return QString::fromUtf8(bytes);
    // Decided line by line: one old Windows-1252 line must not turn the UTF-8 ones into junk.
    QString out;
    out.reserve(bytes.size());
    qsizetype pos = 0;
    const qsizetype n = bytes.size();
    while (pos < n) {
        qsizetype end = pos;
        while (end < n && !isLineEnd(bytes[end])) ++end;
        out.append(decodeLine(bytes.sliced(pos, end - pos)));
        while (end < n && isLineEnd(bytes[end])) out.append(QLatin1Char(bytes[end++]));
        pos = end;
    }
    return out;
}

QByteArray withoutUtf16(const QByteArray& bytes)
{
    const ByteOrderMark mark = byteOrderMark(bytes);
    if (mark.utf16) return decode(bytes).toUtf8();
    // Without a mark the bytes are shared, not copied: a list may be hundreds of megabytes.
    return mark.length ? bytes.sliced(mark.length) : bytes;
}

QStringList splitLines(QStringView text)
{
    QStringList out;
    forEachLine(text, [&](QStringView line) {
        out.append(line.toString());
        return true;
    });
    return out;
}

ReadState readBytesState(const QString& path, QByteArray* bytes)
{
    // Only a plain file is read: opening a named pipe waits for a writer that never comes,
    // and a device never ends.
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) == 0 && !S_ISREG(st.st_mode)) return ReadState::Failed;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return QFileInfo::exists(path) || QFileInfo(path).isSymLink() ? ReadState::Failed : ReadState::Missing;
    if (QFileInfo(f).isDir()) return ReadState::Failed;
    QByteArray all = f.readAll();
    if (f.error() != QFileDevice::NoError) return ReadState::Failed;
    *bytes = std::move(all);
    return ReadState::Read;
}

ReadState readState(const QString& path, QString* text)
{
    QByteArray bytes;
    const ReadState state = readBytesState(path, &bytes);
    if (state == ReadState::Read) *text = decode(bytes);
    return state;
}

bool readBytes(const QString& path, QByteArray* bytes) { return readBytesState(path, bytes) == ReadState::Read; }

bool read(const QString& path, QString* text) { return readState(path, text) == ReadState::Read; }

bool mayReplace(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat st {};
    if (::stat(name.constData(), &st) != 0 || !S_ISREG(st.st_mode)) return true;
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

ReplacingFile::ReplacingFile(const QString& path)
{
    // Through links, to the file that is really replaced (a dangling link names the file to
    // create).
    QFileInfo info(path);
    for (int depth = 0; depth < 40 && info.isSymLink(); ++depth) info.setFile(info.symLinkTarget());
    m_target = QFile::encodeName(info.isSymLink() ? path : info.filePath());
}

ReplacingFile::~ReplacingFile() { cancel(); }

bool ReplacingFile::open()
{
    cancel();
    const qsizetype slash = m_target.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : m_target.left(slash);
    // An earlier version keeps its permissions; a new file gets those of any new file.
    struct stat st {};
    const bool replacing = ::stat(m_target.constData(), &st) == 0 && S_ISREG(st.st_mode);
    const mode_t mode = replacing ? (st.st_mode & 07777) : 0666;
    tempcopies::removeLeftovers(folder);
    // Held locked by this writer, so one that nobody holds was left by a write that was
    // killed, and the next write in that folder removes it.
    QByteArray name;
    const int fd = tempcopies::createHeld(folder, tempcopies::kWholeFile, replacing ? 0600 : mode, name);
    if (fd < 0) return false;
    m_fd = fd;
    m_temp = name;
    if (replacing && ::fchmod(fd, mode) != 0) {
        cancel();
        return false;
    }
    return true;
}

bool ReplacingFile::write(QByteArrayView bytes)
{
    if (m_fd < 0) return false;
    const char* data = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(m_fd, data, size_t(left));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        left -= n;
    }
    return true;
}

bool ReplacingFile::commit()
{
    if (m_fd < 0) return false;
    ::fsync(m_fd);   // not every file system can; the rename below still holds
    // The lock stays with a second descriptor until the file has its place.
    const int holder = ::dup(m_fd);
    const bool closed = ::close(m_fd) == 0;
    m_fd = -1;
    if (!closed || ::rename(m_temp.constData(), m_target.constData()) != 0) {
        ::unlink(m_temp.constData());
        if (holder >= 0) ::close(holder);
        m_temp.clear();
        return false;
    }
    if (holder >= 0) ::close(holder);
    m_temp.clear();
    return true;
}

void ReplacingFile::cancel()
{
    // Removed while still held, so no cleanup can take it for a leftover meanwhile.
    if (!m_temp.isEmpty()) ::unlink(m_temp.constData());
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
    m_temp.clear();
}

bool writeAtomic(const QString& path, const QByteArray& bytes)
{
    if (!mayReplace(path)) return false;
    ReplacingFile f(path);
    return f.open() && f.write(bytes) && f.commit();
}

bool writeAtomic(const QString& path, const QString& text) { return writeAtomic(path, text.toUtf8()); }

bool append(const QString& path, const QString& text, bool ownLine)
{
    // The text goes in the encoding the file declares: UTF-8 bytes after UTF-16 ones would
    // read back as junk, and the line would never be found again.
    std::optional<QStringConverter::Encoding> utf16;
    bool ended = true;
    QFile old(path);
    if (old.exists()) {
        if (!old.open(QIODevice::ReadOnly)) return false;
        const qint64 size = old.size();
        const ByteOrderMark mark = byteOrderMark(old.read(3));
        utf16 = mark.utf16;
        const int unit = utf16 ? 2 : 1;
        // Half a UTF-16 character at the end: whatever came after it would be out of step.
        if (size % unit) return false;
        if (ownLine && size > mark.length) {
            QByteArray last;
            if (!old.seek(size - unit) || (last = old.read(unit)).size() != unit) return false;
            const char16_t c = unit == 1                                      ? uchar(last[0])
                               : *utf16 == QStringConverter::Utf16LE ? char16_t(uchar(last[0]) | uchar(last[1]) << 8)
                                                                             : char16_t(uchar(last[0]) << 8 | uchar(last[1]));
            ended = c == u'\n' || c == u'\r';
        }
    }
    const QString all = ended ? text : QStringLiteral("\r\n") + text;
    const QByteArray bytes = utf16 ? QByteArray(QStringEncoder(*utf16).encode(all)) : all.toUtf8();
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append)) return false;
    return f.write(bytes) == bytes.size();
}

} // namespace textfile
