#include "common/modLineFiles.h"

#include "platform/TextFile.h"

#include <QFileInfo>
#include <QStringList>
#include <QFile>
#include <QStringDecoder>

#include <algorithm>
#include <optional>
#include <sys/stat.h>
#include <vector>

bool linefile_ForEachLine(const QString& fileName, const std::function<bool(QByteArrayView)>& f)
{
    // Only a plain file is read: a named pipe would wait for a writer that never comes.
    struct stat st {};
    if (fileName.isEmpty() || ::stat(QFile::encodeName(fileName).constData(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) return false;

    constexpr qint64 kPiece = qint64(1) << 20;
    std::optional<QStringDecoder> utf16;   // a UTF-16 file goes on as UTF-8
    QByteArray buffer;                     // the line not yet ended, then the next piece
    qsizetype searched = 0;                // bytes of `buffer` known to hold no line end
    bool first = true;
    while (true) {
        QByteArray piece = file.read(kPiece);
        if (file.error() != QFileDevice::NoError) return false;
        const bool atEnd = piece.isEmpty();
        if (first && !atEnd) {
            first = false;
            const textfile::ByteOrderMark mark = textfile::byteOrderMark(piece);
            if (mark.utf16) utf16.emplace(*mark.utf16);
            piece.remove(0, mark.length);
        }
        if (utf16) piece = QString(utf16->decode(piece)).toUtf8();
        buffer.append(piece);

        const char* p = buffer.constData();
        const qsizetype n = buffer.size();
        qsizetype pos = 0;
        while (pos < n) {
            qsizetype end = std::max(pos, searched);
            while (end < n && !textfile::isLineEnd(p[end])) ++end;
            if (end == n) break;
            qsizetype next = end + 1;
            if (p[end] == '\r') {
                if (next == n && !atEnd) break;   // a line feed may come with the next piece
                if (next < n && p[next] == '\n') ++next;
            }
            if (!f(QByteArrayView(p + pos, end - pos))) return true;
            pos = next;
            searched = pos;
        }
        if (atEnd) {
            if (pos < n) f(QByteArrayView(p + pos, n - pos));   // the last line, without its end
            return true;
        }
        buffer.remove(0, pos);
        searched = std::max<qsizetype>(0, buffer.size() - (buffer.endsWith('\r') ? 1 : 0));
    }
}

bool linefile_ReadLast(const QString& fileName, qsizetype count, QStringList* lines, qint64* total)
{
    // The newest lines are kept as bytes in a ring; only those become text.
    std::vector<QByteArray> ring(size_t(std::max<qsizetype>(count, 0)));
    qint64 n = 0;
    const bool ok = linefile_ForEachLine(fileName, [&](QByteArrayView line) {
        if (!ring.empty()) {
            QByteArray& slot = ring[size_t(n % qint64(ring.size()))];
            slot.truncate(0);
            slot.append(line);
        }
        ++n;
        return true;
    });
    if (!ok) return false;
    const qint64 kept = std::min<qint64>(n, qint64(ring.size()));
    lines->clear();
    lines->reserve(qsizetype(kept));
    for (qint64 i = n - kept; i < n; ++i) lines->append(textfile::decodeLine(ring[size_t(i % qint64(ring.size()))]));
    if (total) *total = n;
    return true;
}

bool linefile_HasLine(const QString& fileName, const QString& text)
{
    // A line that is valid UTF-8 holds the text only when it is the text's UTF-8 bytes.
    const QByteArray utf8 = text.toUtf8();
    bool found = false;
    linefile_ForEachLine(fileName, [&](QByteArrayView line) {
        found = line == QByteArrayView(utf8) || (!textfile::isValidUtf8(line) && textfile::fromWindows1252(line) == text);
        return !found;
    });
    return found;
}

bool linefile_AppendLine(const QString& fileName, const QString& text)
{
    if (fileName.isEmpty()) return false;
    return textfile::append(fileName, text + QStringLiteral("\r\n"), true);
}
