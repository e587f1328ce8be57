#include "common/modSettings.h"

#include "common/modVB.h"
#include "platform/TextFile.h"

#include <QStringList>

namespace {

QString& storedPath()
{
    static QString path;
    return path;
}

constexpr int kMaxValueLength = 499;

QStringView trimBlanks(QStringView s)
{
    qsizetype b = 0, e = s.size();
    while (b < e && (s[b] == u' ' || s[b] == u'\t')) ++b;
    while (e > b && (s[e - 1] == u' ' || s[e - 1] == u'\t' || s[e - 1] == u'\r')) --e;
    return s.mid(b, e - b);
}

// "[name]" lines open a section; the name is what lies between the brackets.
bool sectionName(QStringView line, QStringView* name)
{
    const QStringView t = trimBlanks(line);
    if (t.size() < 2 || t.front() != u'[') return false;
    const qsizetype close = t.indexOf(u']');
    if (close < 0) return false;
    *name = trimBlanks(t.mid(1, close - 1));
    return true;
}

// "key=value" lines; comment lines (";") hold no key.
bool keyValue(QStringView line, QStringView* key, QStringView* value)
{
    const QStringView t = trimBlanks(line);
    if (t.isEmpty() || t.front() == u';') return false;
    const qsizetype eq = t.indexOf(u'=');
    if (eq < 0) return false;
    *key = trimBlanks(t.left(eq));
    *value = trimBlanks(t.mid(eq + 1));
    return true;
}

bool sameName(QStringView a, QStringView b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

QStringList readLines(const QString& path, bool* exists)
{
    QString text;
    *exists = textfile::read(path, &text);
    if (!*exists || text.isEmpty()) return {};
    QStringList lines = text.split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    for (QString& l : lines)
        if (l.endsWith(u'\r')) l.chop(1);
    return lines;
}

// The stored value of the first matching key of the first matching section.
bool findValue(const QString& path, const QString& section, const QString& key, QString* value)
{
    QString text;
    if (!textfile::read(path, &text)) return false;
    bool inSection = false;
    qsizetype pos = 0;
    const qsizetype n = text.size();
    while (pos < n) {
        qsizetype end = text.indexOf(u'\n', pos);
        if (end < 0) end = n;
        const QStringView line = QStringView(text).mid(pos, end - pos);
        pos = end + 1;
        QStringView name;
        if (sectionName(line, &name)) {
            if (inSection) return false;
            inSection = sameName(name, section);
            continue;
        }
        if (!inSection) continue;
        QStringView k, v;
        if (keyValue(line, &k, &v) && sameName(k, key)) {
            *value = v.toString();
            return true;
        }
    }
    return false;
}

} // namespace

namespace settings {
QString valueText(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Bool: return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case QMetaType::Double:
    case QMetaType::Float: return vb::CStr(value.toDouble());
    default: return value.toString();
    }
}
} // namespace settings

void settings_SetPath(const QString& path) { storedPath() = path; }
QString settings_Path() { return storedPath(); }

QString settings_ReadValue(const QString& section, const QString& key, const QVariant& defaultValue)
{
    return settings::readValueFrom(storedPath(), section, key, defaultValue);
}

QString settings::readValueFrom(const QString& path, const QString& section, const QString& key, const QVariant& defaultValue)
{
    QString value;
    if (path.isEmpty() || !findValue(path, section, key, &value)) {
        value = settings::valueText(defaultValue);
    } else if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front()) {
        value = value.mid(1, value.size() - 2);
    }
    if (value.size() > kMaxValueLength) value.truncate(kMaxValueLength);
    return vb::Trim(value);
}

void settings_WriteValue(const QString& section, const QString& key, const QVariant& valueIn)
{
    const QString path = storedPath();
    if (path.isEmpty()) return;
    QString value = settings::valueText(valueIn);
    value.replace(u'\r', u' ').replace(u'\n', u' ');   // a value is one line
    const QString newLine = key + u'=' + value;

    bool exists = false;
    QStringList lines = readLines(path, &exists);

    qsizetype sectionStart = -1;   // line after the section header
    qsizetype sectionEnd = -1;     // line after the section's last key
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QStringView name;
        if (sectionName(lines[i], &name)) {
            if (sectionStart >= 0) break;
            if (sameName(name, section)) sectionStart = sectionEnd = i + 1;
            continue;
        }
        if (sectionStart < 0) continue;
        QStringView k, v;
        if (keyValue(lines[i], &k, &v)) {
            if (sameName(k, key)) {
                if (lines[i] == newLine) return;   // unchanged: leave the file alone
                lines[i] = newLine;
                textfile::writeAtomic(path, lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
                return;
            }
            sectionEnd = i + 1;
        } else if (!trimBlanks(lines[i]).isEmpty()) {
            sectionEnd = i + 1;
        }
    }
    if (sectionStart >= 0) {
        lines.insert(sectionEnd, newLine);
    } else {
        lines.append(u'[' + section + u']');
        lines.append(newLine);
    }
    textfile::writeAtomic(path, lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
}

bool settings_ReadFlag(const QString& section, const QString& key, const QVariant& defaultValue)
{
    return vb::EqualsNumber(settings_ReadValue(section, key, defaultValue), 1);
}

double settings_ReadNumber(const QString& section, const QString& key, const QVariant& defaultValue)
{
    return vb::Val(settings_ReadValue(section, key, defaultValue));
}

void settings_WriteFlag(const QString& section, const QString& key, bool on)
{
    settings_WriteValue(section, key, on ? QStringLiteral("1") : QStringLiteral("0"));
}
