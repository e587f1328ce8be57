#include "common/modSettings.h"

#include "common/modVB.h"
#include "platform/TextFile.h"

#include <QDateTime>
#include <QFile>
#include <QHash>
#include <QStringList>

#include <sys/stat.h>
#include <utility>

namespace {

QString& storedPath()
{
    static QString path;
    return path;
}

constexpr int kMaxValueLength = 499;
// Far beyond what years of use leave (a few MB at most): a larger file is junk left by a
// crash or a mistake. It is used as a file that cannot be read: defaults, and never
// rewritten, since every write would copy it whole.
constexpr off_t kMaxFileSize = off_t(64) << 20;

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


// The file as last read or written, kept while it stays the same file with the same size
// and times, so a read costs one stat instead of a parse. Lines are indexed by section and
// key (names folded to ignore case; the first section and the first key of a name count).
struct FileStamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = -1;
    qint64 modified = 0;   // ns
    qint64 changed = 0;    // ns: a change of permissions shows here
    bool operator==(const FileStamp&) const = default;
};

struct SectionIndex {
    qsizetype end = 0;                  // the line after the section's last key or text
    QHash<QString, qsizetype> keys;     // folded key -> its line
};

struct Cache {
    QString path;
    bool valid = false;
    FileStamp stamp;
    textfile::ReadState state = textfile::ReadState::Missing;
    QByteArray raw;                     // the bytes the lines came from
    bool dirty = false;                 // changed by writes of a batch, not yet in the file
    bool racy = false;                  // written so recently that a change within the file
                                        // system's clock tick would not show in its times
    QStringList lines;
    QHash<QString, SectionIndex> sections;
};

Cache& cache()
{
    static Cache c;
    return c;
}

bool stampOf(const QString& path, FileStamp* stamp)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) return false;
    stamp->device = st.st_dev;
    stamp->inode = st.st_ino;
    stamp->size = st.st_size;
    stamp->modified = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    stamp->changed = qint64(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
    return true;
}

// File times move in clock ticks of a few milliseconds; within 20 ms of a change another
// change may leave the times as they were, so the bytes are compared as well.
bool isRacy(const FileStamp& stamp)
{
    const qint64 now = QDateTime::currentMSecsSinceEpoch() * 1000000;
    return now - std::max(stamp.modified, stamp.changed) < qint64(20) * 1000000;
}

void index(Cache& c)
{
    c.sections.clear();
    SectionIndex* section = nullptr;
    for (qsizetype i = 0; i < c.lines.size(); ++i) {
        const QString& line = c.lines[i];
        QStringView name;
        if (sectionName(line, &name)) {
            const QString folded = name.toString().toCaseFolded();
            // a repeated section is not read: its keys stay where they are
            section = c.sections.contains(folded) ? nullptr : &c.sections[folded];
            if (section) section->end = i + 1;
            continue;
        }
        if (!section) continue;
        QStringView k, v;
        if (keyValue(line, &k, &v)) {
            const QString folded = k.toString().toCaseFolded();
            if (!section->keys.contains(folded)) section->keys.insert(folded, i);   // the first one counts
            section->end = i + 1;
        } else if (!trimBlanks(line).isEmpty()) {
            section->end = i + 1;
        }
    }
}

void load(Cache& c, const QByteArray& bytes)
{
    c.raw = bytes;
    c.lines = textfile::splitLines(textfile::decode(bytes));
    index(c);
}

// The settings file as it is now, read when it changed since last time.
int& batchDepth()
{
    static int depth = 0;
    return depth;
}

Cache& current()
{
    Cache& c = cache();
    if (c.dirty) return c;   // a batch's writes are the file as far as this program knows
    const QString& path = storedPath();
    FileStamp stamp;
    if (!stampOf(path, &stamp)) {
        c = Cache();
        c.path = path;
        c.valid = true;
        c.state = textfile::ReadState::Missing;
        return c;
    }
    if (c.valid && c.path == path && c.stamp == stamp && !c.racy) return c;
    QByteArray bytes;
    const textfile::ReadState state =
        stamp.size > kMaxFileSize ? textfile::ReadState::Failed : textfile::readBytesState(path, &bytes);
    if (state == textfile::ReadState::Read && c.valid && c.path == path && c.state == state && c.stamp == stamp
        && bytes == c.raw) {
        c.racy = isRacy(stamp);
        return c;
    }
    c = Cache();
    c.path = path;
    c.valid = true;
    c.stamp = stamp;
    c.state = state;
    c.racy = isRacy(stamp);
    if (state == textfile::ReadState::Read) load(c, bytes);
    return c;
}

bool findIn(const Cache& c, const QString& section, const QString& key, QString* value)
{
    const auto s = c.sections.constFind(section.toCaseFolded());
    if (s == c.sections.constEnd()) return false;
    const auto k = s->keys.constFind(key.toCaseFolded());
    if (k == s->keys.constEnd()) return false;
    QStringView name, v;
    keyValue(c.lines[k.value()], &name, &v);
    *value = v.toString();
    return true;
}

bool findValue(const QString& section, const QString& key, QString* value) { return findIn(current(), section, key, value); }

void store(Cache& c, const QString& path)
{
    if (batchDepth() > 0) {
        c.dirty = true;
        return;
    }
    c.dirty = false;
    const QByteArray bytes = (c.lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
    if (!textfile::writeAtomic(path, bytes)) {
        c.valid = false;   // a failed write is lost; the file is read afresh
        return;
    }
    c.raw = bytes;
    c.state = textfile::ReadState::Read;
    if (!stampOf(path, &c.stamp)) c.valid = false;
    c.racy = false;   // the bytes are ours
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

void settings_SetPath(const QString& path)
{
    Cache& c = cache();
    if (c.dirty) {
        const int depth = std::exchange(batchDepth(), 0);
        store(c, c.path);
        batchDepth() = depth;
    }
    storedPath() = path;
}

namespace settings {
WriteBatch::WriteBatch() { ++batchDepth(); }

WriteBatch::~WriteBatch()
{
    if (--batchDepth() > 0) return;
    Cache& c = cache();
    if (c.dirty) store(c, c.path);
}
} // namespace settings
QString settings_Path() { return storedPath(); }

namespace {
// A found value as read, or the default's text; quotes, length and blanks as for every value.
QString finishValue(bool found, QString value, const QVariant& defaultValue)
{
    if (!found) {
        value = settings::valueText(defaultValue);
    } else if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front()) {
        value = value.mid(1, value.size() - 2);
    }
    if (value.size() > kMaxValueLength) value.truncate(kMaxValueLength);
    return vb::Trim(value);
}
} // namespace

QString settings_ReadValue(const QString& section, const QString& key, const QVariant& defaultValue)
{
    QString value;
    const bool found = !storedPath().isEmpty() && findValue(section, key, &value);
    return finishValue(found, value, defaultValue);
}

QString settings::readValueFrom(const QString& path, const QString& section, const QString& key, const QVariant& defaultValue)
{
    // Another file is read afresh each time: it is not the settings file the cache follows.
    QString value;
    bool found = false;
    QByteArray bytes;
    if (!path.isEmpty() && textfile::readBytesState(path, &bytes) == textfile::ReadState::Read) {
        Cache file;
        load(file, bytes);
        found = findIn(file, section, key, &value);
    }
    return finishValue(found, value, defaultValue);
}

void settings_WriteValue(const QString& section, const QString& key, const QVariant& valueIn)
{
    const QString path = storedPath();
    if (path.isEmpty()) return;
    QString value = settings::valueText(valueIn);
    value.replace(u'\r', u' ').replace(u'\n', u' ');   // a value is one line
    const QString newLine = key + u'=' + value;

    Cache& c = current();
    // A file that is there but cannot be read is never replaced by what little we know.
    if (c.state == textfile::ReadState::Failed) return;

    const auto s = c.sections.constFind(section.toCaseFolded());
    if (s != c.sections.constEnd()) {
        const auto k = s->keys.constFind(key.toCaseFolded());
        if (k != s->keys.constEnd()) {
            const qsizetype i = k.value();
            if (c.lines[i] == newLine) return;   // unchanged: leave the file alone
            c.lines[i] = newLine;
            store(c, path);
            return;
        }
        // Every line from here on moves down by one.
        const qsizetype at = s->end;
        c.lines.insert(at, newLine);
        for (SectionIndex& other : c.sections) {
            if (other.end >= at && &other != &*s) ++other.end;
            for (qsizetype& line : other.keys)
                if (line >= at) ++line;
        }
        SectionIndex& mine = c.sections[section.toCaseFolded()];
        mine.keys.insert(key.toCaseFolded(), at);
        mine.end = at + 1;
    } else {
        c.lines.append(u'[' + section + u']');
        c.lines.append(newLine);
        SectionIndex& mine = c.sections[section.toCaseFolded()];
        mine.keys.insert(key.toCaseFolded(), c.lines.size() - 1);
        mine.end = c.lines.size();
    }
    store(c, path);
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
