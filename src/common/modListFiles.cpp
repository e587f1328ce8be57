#include "common/modListFiles.h"

#include "common/ListViewModel.h"
#include "common/PlaylistRow.h"
#include "common/modLineFiles.h"
#include "platform/TextFile.h"
#include "platform/UiServices.h"

#include <QFileInfo>

using namespace veltra;

namespace listfile {

namespace {
bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }
bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isChar(QChar c, char x) { return c == QLatin1Char(x); }
bool isChar(char c, char x) { return c == x; }
qsizetype find(QStringView line, char x, qsizetype from) { return line.indexOf(QLatin1Char(x), from); }
qsizetype find(QByteArrayView line, char x, qsizetype from) { return line.indexOf(x, from); }
qsizetype findLast(QStringView line, char x) { return line.lastIndexOf(QLatin1Char(x)); }
qsizetype findLast(QByteArrayView line, char x) { return line.lastIndexOf(x); }

// A cell's UTF-8 text whole: the decoder would drop a zero-width no-break space at its start
// as a byte-order mark, so a cell beginning with one would lose it at every load.
QString utf8Cell(QByteArrayView field)
{
    qsizetype marks = 0;
    while (field.sliced(marks * 3).startsWith("\xEF\xBB\xBF")) ++marks;
    if (marks == 0) return QString::fromUtf8(field);
    return QString(marks, QChar(0xFEFF)) + QString::fromUtf8(field.sliced(marks * 3));
}

// Calls f(field) for each field of one line (characters or bytes alike).
template <class View, class F>
void forEachField(View line, F&& f)
{
    qsizetype p = 0;
    const qsizetype n = line.size();
    for (;;) {
        while (p < n && isBlank(line[p])) ++p;
        if (p < n && isChar(line[p], '"')) {
            const qsizetype last = findLast(line, '"');
            if (last > p) {
                f(line.sliced(p + 1, last - p - 1));
                p = last + 1;
            } else {
                f(line.sliced(p + 1));
                p = n;
            }
            const qsizetype comma = find(line, ',', p);
            if (comma < 0) return;
            p = comma + 1;
        } else {
            const qsizetype comma = find(line, ',', p);
            const qsizetype end = comma < 0 ? n : comma;
            qsizetype e = end;
            while (e > p && isBlank(line[e - 1])) --e;
            f(line.sliced(p, e - p));
            if (comma < 0) return;
            p = comma + 1;
        }
        if (p >= n) {
            f(line.sliced(n));   // a comma at the line's end leaves an empty field
            return;
        }
    }
}

void parseLine(QStringView line, QStringList* out)
{
    forEachField(line, [out](QStringView field) { out->append(field.toString()); });
}

template <class F>
void forEachLine(const QString& text, F&& f)
{
    textfile::forEachLine(QStringView(text), std::forward<F>(f));
}
} // namespace

QStringList readFields(const QString& text)
{
    QStringList out;
    forEachLine(text, [&](QStringView line) {
        parseLine(line, &out);
        return true;
    });
    return out;
}

QString formatCells(const QStringList& cells)
{
    QString out;
    qsizetype size = 0;
    for (const QString& c : cells) size += c.size() + 4;
    out.reserve(size);
    for (const QString& c : cells) {
        out.append(u'"');
        if (c.contains(u'\r') || c.contains(u'\n')) {
            // a line break inside a cell would split the record
            QString flat = c;
            flat.replace(QStringLiteral("\r\n"), QStringLiteral(" ")).replace(u'\r', u' ').replace(u'\n', u' ');
            out.append(flat);
        } else {
            out.append(c);
        }
        out.append(QStringLiteral("\"\r\n"));
    }
    return out;
}

QStringList splitLines(const QString& text) { return textfile::splitLines(text); }

bool readLines(const QString& fileName, QStringList* lines)
{
    QString text;
    if (!textfile::read(fileName, &text)) return false;
    *lines = splitLines(text);
    return true;
}

bool writeLines(const QString& fileName, const QStringList& lines)
{
    QString out;
    for (const QString& l : lines) {
        out.append(l);
        out.append(QStringLiteral("\r\n"));
    }
    return textfile::writeAtomic(fileName, out);
}

bool isPlaylist(const ListViewModel& list)
{
    const QStringList headers = PlaylistColumn::headers();
    if (list.columnCount() != headers.size()) return false;
    for (int c = 0; c < list.columnCount(); ++c)
        if (list.columnHeader(c) != headers[c]) return false;
    return true;
}

namespace {
bool hasControlCharacter(const QString& cell)
{
    for (const QChar c : cell)
        if ((c.unicode() < 0x20 && c != u'\t') || c.unicode() == 0x7F) return true;
    return false;
}
} // namespace

bool isPlaylistRecord(const QStringList& record)
{
    // Tags and file names may hold anything; the number, the status and the length are the
    // program's own texts. A status in another letter case (a hand-edited file) still plays.
    const QString status = record.value(PlaylistColumn::Status).trimmed();
    bool known = status.isEmpty();
    for (RowStatus s : {RowStatus::Play, RowStatus::PlayOnce, RowStatus::Skip, RowStatus::SkipOnce, RowStatus::Remove})
        known = known || QString::compare(status, rowStatusText(s), Qt::CaseInsensitive) == 0;
    if (!known) return false;
    for (int c : {PlaylistColumn::Number, PlaylistColumn::Status, PlaylistColumn::Length})
        if (hasControlCharacter(record.value(c))) return false;
    return true;
}

} // namespace listfile

bool controls_SaveListView(const ListViewModel& list, const QString& fileName)
{
    // Written in pieces as it is made, so a long list never exists twice over in memory.
    const int columns = std::max(1, list.columnCount());
    if (!textfile::mayReplace(fileName)) return false;
    textfile::ReplacingFile f(fileName);
    if (!f.open()) return false;
    QString chunk;
    constexpr qsizetype kChunk = 128 * 1024;
    chunk.reserve(kChunk + 4096);
    QStringList cells;
    auto flush = [&] {
        const QByteArray bytes = chunk.toUtf8();
        chunk.clear();
        return f.write(bytes);
    };
    for (int row = 1; row <= list.count(); ++row) {
        cells.clear();
        for (int c = 0; c < columns; ++c) cells.append(list.cell(row, c));
        chunk.append(listfile::formatCells(cells));
        if (chunk.size() >= kChunk && !flush()) return false;   // the old file stays
    }
    if (!flush()) return false;
    return f.commit();
}

bool controls_LoadListView(ListViewModel& list, const QString& fileName)
{
    // The fields are read straight from the file's bytes into rows. A cell equal to the one
    // above it shares that cell's text ("Play" in every row, an album's artist and year), so
    // a long playlist takes little more memory than its distinct texts.
    const int columns = std::max(1, list.columnCount());
    const bool playlist = listfile::isPlaylist(list);
    QByteArray bytes;
    bool ok = QFileInfo(fileName).isFile() && textfile::readBytes(fileName, &bytes);
    std::vector<QStringList> rows;
    if (ok) {
        bytes = textfile::withoutUtf16(bytes);
        const QByteArrayView all(bytes);
        // Counted first, so a file that is no list (a huge run of zeros or junk with no line
        // breaks) is refused before any of it becomes text, which takes twice its bytes again.
        qsizetype fields = 0;
        textfile::forEachLine(all, [&](QByteArrayView line) {
            listfile::forEachField(line, [&](QByteArrayView) { ++fields; });
            return true;
        });
        ok = fields % columns == 0;
    }
    if (ok) {
        const QByteArrayView all(bytes);
        const bool allUtf8 = textfile::isValidUtf8(all);
        QStringList record;
        record.reserve(columns);
        QStringList above;
        textfile::forEachLine(all, [&](QByteArrayView line) {
            // Decided line by line, so one older Windows-1252 line leaves the others alone.
            const bool utf8 = allUtf8 || textfile::isValidUtf8(line);
            listfile::forEachField(line, [&](QByteArrayView field) {
                if (!ok) return;
                const qsizetype c = record.size();
                if (c < above.size() && (utf8 ? QAnyStringView::equal(above[c], QUtf8StringView(field))
                                              : above[c] == textfile::fromWindows1252(field)))
                    record.append(above[c]);
                else
                    record.append(utf8 ? listfile::utf8Cell(field) : textfile::fromWindows1252(field));
                if (record.size() == columns) {
                    // Junk whose fields happen to fill whole records is still no playlist.
                    if (playlist && !listfile::isPlaylistRecord(record)) ok = false;
                    rows.push_back(record);
                    above = std::move(record);
                    record = QStringList();
                    record.reserve(columns);
                }
            });
            return ok;
        });
        ok = ok && record.isEmpty();
    }
    if (!ok) {
        msgBox(QStringLiteral("An error occured while trying to open the list:\r\n") + fileName
                   + QStringLiteral("\r\n\r\nThis list will not be opened and this function closed.\r\n"),
               MsgButtons::OK, MsgIcon::Exclamation, QStringLiteral("Error Loading List"));
        return false;
    }
    bytes = QByteArray();
    list.addRows(rows);
    return true;
}

bool files_FileContainsLine(const QString& fileName, const QString& text)
{
    QString content;
    if (!QFileInfo(fileName).isFile() || !textfile::read(fileName, &content)) return false;
    const QStringList fields = listfile::readFields(content);
    for (const QString& f : fields)
        if (QString::compare(f, text, Qt::CaseInsensitive) == 0) return true;
    return false;
}

qint64 files_CountLines(const QString& fileName)
{
    QStringList lines;
    if (!QFileInfo(fileName).isFile() || !listfile::readLines(fileName, &lines)) return 0;
    return lines.size();
}

QString files_ReadLine(const QString& fileName, qint64 n)
{
    // Read up to that line only, so a line of a long bookmark file costs no more than its bytes.
    QString found;
    if (n < 1) return found;
    qint64 line = 0;
    linefile_ForEachLine(fileName, [&](QByteArrayView bytes) {
        if (++line < n) return true;
        found = textfile::decodeLine(bytes);
        return false;
    });
    return found;
}
