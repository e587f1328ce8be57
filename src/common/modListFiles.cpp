#include "common/modListFiles.h"

#include "common/ListViewModel.h"
#include "platform/TextFile.h"
#include "platform/UiServices.h"

#include <QFileInfo>

using namespace veltra;

namespace listfile {

namespace {
void parseLine(QStringView line, QStringList* out)
{
    qsizetype p = 0;
    const qsizetype n = line.size();
    for (;;) {
        while (p < n && (line[p] == u' ' || line[p] == u'\t')) ++p;
        if (p < n && line[p] == u'"') {
            const qsizetype last = line.lastIndexOf(u'"');
            if (last > p) {
                out->append(line.mid(p + 1, last - p - 1).toString());
                p = last + 1;
            } else {
                out->append(line.mid(p + 1).toString());
                p = n;
            }
            const qsizetype comma = line.indexOf(u',', p);
            if (comma < 0) return;
            p = comma + 1;
        } else {
            const qsizetype comma = line.indexOf(u',', p);
            const qsizetype end = comma < 0 ? n : comma;
            qsizetype e = end;
            while (e > p && (line[e - 1] == u' ' || line[e - 1] == u'\t')) --e;
            out->append(line.mid(p, e - p).toString());
            if (comma < 0) return;
            p = comma + 1;
        }
        if (p >= n) {
            out->append(QString());   // a comma at the line's end leaves an empty field
            return;
        }
    }
}

template <class F>
void forEachLine(const QString& text, F&& f)
{
    const QStringView all(text);
    qsizetype pos = 0;
    const qsizetype n = all.size();
    while (pos < n) {
        qsizetype end = all.indexOf(u'\n', pos);
        qsizetype next;
        if (end < 0) {
            end = n;
            next = n;
        } else {
            next = end + 1;
        }
        qsizetype lineEnd = end;
        if (lineEnd > pos && all[lineEnd - 1] == u'\r') --lineEnd;
        if (!f(all.mid(pos, lineEnd - pos))) return;
        pos = next;
    }
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

QStringList splitLines(const QString& text)
{
    QStringList out;
    forEachLine(text, [&](QStringView line) {
        out.append(line.toString());
        return true;
    });
    return out;
}

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

} // namespace listfile

bool controls_SaveListView(const ListViewModel& list, const QString& fileName)
{
    const int columns = std::max(1, list.columnCount());
    QString out;
    out.reserve(qsizetype(list.count()) * columns * 24);
    QStringList cells;
    for (int row = 1; row <= list.count(); ++row) {
        cells.clear();
        for (int c = 0; c < columns; ++c) cells.append(list.cell(row, c));
        out.append(listfile::formatCells(cells));
    }
    return textfile::writeAtomic(fileName, out);
}

bool controls_LoadListView(ListViewModel& list, const QString& fileName)
{
    const int columns = std::max(1, list.columnCount());
    QString text;
    bool ok = QFileInfo(fileName).isFile() && textfile::read(fileName, &text);
    QStringList fields;
    if (ok) {
        fields = listfile::readFields(text);
        ok = fields.size() % columns == 0;
    }
    if (!ok) {
        msgBox(QStringLiteral("An error occured while trying to open the list:\r\n") + fileName
                   + QStringLiteral("\r\n\r\nThis list will not be opened and this function closed.\r\n"),
               MsgButtons::OK, MsgIcon::Exclamation, QStringLiteral("Error Loading List"));
        return false;
    }
    std::vector<QStringList> rows;
    rows.reserve(size_t(fields.size() / columns));
    for (qsizetype i = 0; i < fields.size(); i += columns) rows.push_back(fields.mid(i, columns));
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
    QStringList lines;
    if (!QFileInfo(fileName).isFile() || !listfile::readLines(fileName, &lines)) return QString();
    if (n < 1 || n > lines.size()) return QString();
    return lines[qsizetype(n - 1)];
}
