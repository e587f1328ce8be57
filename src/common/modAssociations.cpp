#include "common/modAssociations.h"

#include "platform/ProgramFolder.h"
#include "platform/TextFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>

namespace associations {

namespace {
QString xdgFolder(const char* variable, const QString& fallback)
{
    QString v = qEnvironmentVariable(variable);
    if (v.isEmpty()) v = QDir::homePath() + fallback;
    return v;
}

QString configFolder() { return xdgFolder("XDG_CONFIG_HOME", QStringLiteral("/.config")); }

// A file name made of the name's letters, digits, '-' and '_' only, in lower case.
QString fileStem(const QString& name)
{
    QString out;
    for (const QChar c : name.toLower()) out.append(c.isLetterOrNumber() || c == u'-' || c == u'_' ? c : u'_');
    return out.isEmpty() ? QStringLiteral("veltra") : out;
}

// A desktop entry string: backslashes, line breaks and tabs written as escapes.
QString escapeValue(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '\\': out += QStringLiteral("\\\\"); break;
        case '\n': out += QStringLiteral("\\n"); break;
        case '\r': out += QStringLiteral("\\r"); break;
        case '\t': out += QStringLiteral("\\t"); break;
        default: out += c;
        }
    }
    return out;
}

QString unescapeValue(const QString& text)
{
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\\' && i + 1 < text.size()) {
            const QChar n = text[++i];
            switch (n.unicode()) {
            case 's': out += u' '; break;
            case 'n': out += u'\n'; break;
            case 'r': out += u'\r'; break;
            case 't': out += u'\t'; break;
            default: out += n;
            }
        } else {
            out += text[i];
        }
    }
    return out;
}

QStringList splitList(const QString& value)
{
    QStringList out;
    for (const QString& part : value.split(u';'))
        if (!part.trimmed().isEmpty()) out.append(part.trimmed());
    return out;
}

QString joinList(const QStringList& items) { return items.isEmpty() ? QString() : items.join(u';') + u';'; }

bool writeText(const QString& path, const QString& text)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    return textfile::writeAtomic(path, text.toUtf8());
}

// Puts `id` first in the list value of `key` in `group` of a key file's lines, keeping the
// other entries, groups and lines as they are.
void putFirst(QStringList& lines, const QString& group, const QString& key, const QString& id)
{
    const QString header = u'[' + group + u']';
    qsizetype start = -1;
    for (qsizetype i = 0; i < lines.size(); ++i)
        if (lines[i].trimmed() == header) {
            start = i;
            break;
        }
    if (start < 0) {
        if (!lines.isEmpty() && !lines.last().trimmed().isEmpty()) lines.append(QString());
        lines.append(header);
        lines.append(key + u'=' + id + u';');
        return;
    }
    qsizetype end = start + 1;
    while (end < lines.size() && !lines[end].trimmed().startsWith(u'[')) ++end;
    for (qsizetype i = start + 1; i < end; ++i) {
        const qsizetype eq = lines[i].indexOf(u'=');
        if (eq < 0 || lines[i].left(eq).trimmed() != key) continue;
        QStringList ids = splitList(lines[i].mid(eq + 1));
        ids.removeAll(id);
        ids.prepend(id);
        lines[i] = key + u'=' + joinList(ids);
        return;
    }
    qsizetype at = end;
    while (at > start + 1 && lines[at - 1].trimmed().isEmpty()) --at;   // before the blank lines
    lines.insert(at, key + u'=' + id + u';');
}

// The lines of a key file; false when it is there but cannot be read (it must then not be
// written over).
bool readLines(const QString& path, QStringList* lines)
{
    QString text;
    lines->clear();
    const textfile::ReadState state = textfile::readState(path, &text);
    if (state == textfile::ReadState::Failed) return false;
    *lines = textfile::splitLines(text);
    while (!lines->isEmpty() && lines->last().isEmpty()) lines->removeLast();
    return true;
}
} // namespace

QString applicationsFolder() { return xdgFolder("XDG_DATA_HOME", QStringLiteral("/.local/share")) + QStringLiteral("/applications"); }

QString desktopFileId(const QString& typeName) { return fileStem(typeName) + QStringLiteral(".desktop"); }

QString desktopFilePath(const QString& typeName) { return applicationsFolder() + u'/' + desktopFileId(typeName); }

QString mimeAppsPath() { return configFolder() + QStringLiteral("/mimeapps.list"); }

QString autostartFilePath(const QString& valueName)
{
    return configFolder() + QStringLiteral("/autostart/") + fileStem(valueName) + QStringLiteral(".desktop");
}

QString mimeTypeFor(const QString& extension)
{
    QString ext = extension;
    while (ext.startsWith(u'.')) ext.remove(0, 1);
    const QMimeDatabase db;
    const QList<QMimeType> types = db.mimeTypesForFileName(QStringLiteral("x.") + ext);
    for (const QMimeType& t : types)
        if (t.isValid() && !t.isDefault()) return t.name();
    // A few of the types have no name the database knows: the desktop then goes by what such a
    // file begins with, and so does this.
    static const std::pair<const char*, QByteArrayView> byContent[] = {
        {"mpa", QByteArrayView("\xFF\xFB\x90\x64", 4)},                         // an MPEG audio frame
        {"mp1", QByteArrayView("\xFF\xFF\x44\x00", 4)},                         // an MPEG audio layer I frame
        {"m1v", QByteArrayView("\x00\x00\x01\xB3\x0A\x00\x78\x13", 8)},     // an MPEG-1 video sequence
        {"rmi", QByteArrayView("RIFF\x1E\x00\x00\x00RMIDdata", 16)},          // MIDI inside RIFF
    };
    for (const auto& [name, start] : byContent) {
        if (ext.compare(QLatin1String(name), Qt::CaseInsensitive) != 0) continue;
        const QMimeType t = db.mimeTypeForData(start.toByteArray());
        if (t.isValid() && !t.isDefault()) return t.name();
    }
    return QString();   // no type of the system's: none is made up
}

namespace {
IconImages& iconSource()
{
    static IconImages source;
    return source;
}
} // namespace

void setIconImages(IconImages images) { iconSource() = std::move(images); }

QString iconName(const QString& typeName) { return fileStem(typeName); }

QString iconFilePath(const QString& typeName, int size)
{
    return xdgFolder("XDG_DATA_HOME", QStringLiteral("/.local/share")) + QStringLiteral("/icons/hicolor/%1x%1/apps/").arg(size)
           + iconName(typeName) + QStringLiteral(".png");
}

bool installIcon(const QString& typeName)
{
    // Into the user's part of the theme every desktop looks in, one image per size it has.
    bool installed = false;
    if (iconSource()) {
        for (const auto& [size, png] : iconSource()()) {
            const QString path = iconFilePath(typeName, size);
            QByteArray old;
            if (QFileInfo(path).isFile() && textfile::readBytes(path, &old) && old == png) {
                installed = true;
                continue;
            }
            QDir().mkpath(QFileInfo(path).absolutePath());
            installed = textfile::writeAtomic(path, png) || installed;
        }
    }
    return installed;
}

QString execQuote(const QString& argument)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`=%");
    bool needs = argument.isEmpty();
    for (const QChar c : argument)
        if (reserved.contains(c)) needs = true;
    QString a = argument;
    a.replace(u'%', QStringLiteral("%%"));
    if (!needs) return a;
    QString out = QStringLiteral("\"");
    for (const QChar c : a) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\') out += u'\\';
        out += c;
    }
    return out + u'"';
}

QString programPathIn(const QString& folder)
{
    QString f = folder;
    while (f.endsWith(u'/')) f.chop(1);
    return f + u'/' + programfolder::exeName();
}

QString startupCommandLine() { return execQuote(associations_GetProgramPath()) + QStringLiteral(" /systray /winload"); }

QList<QPair<QString, QString>> readDesktopEntry(const QString& path, bool* readable)
{
    QList<QPair<QString, QString>> out;
    bool inGroup = false;
    QStringList lines;
    const bool ok = readLines(path, &lines);
    if (readable) *readable = ok;
    for (const QString& raw : lines) {
        const QString line = raw.trimmed();
        if (line.startsWith(u'[')) {
            inGroup = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        if (!inGroup || line.startsWith(u'#')) continue;
        const qsizetype eq = line.indexOf(u'=');
        if (eq <= 0) continue;
        out.append({line.left(eq).trimmed(), unescapeValue(line.mid(eq + 1).trimmed())});
    }
    return out;
}

} // namespace associations

using namespace associations;

QString associations_GetProgramPath()
{
    const QString folder = QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : programfolder::path();
    return programPathIn(folder);
}

void associations_RegisterFileType(const QString& typeName, const QString& extension)
{
    QString ext = extension;
    while (ext.startsWith(u'.')) ext.remove(0, 1);
    AssociationRecord r;
    r.extension = u'.' + ext;
    r.typeName = typeName;
    r.description = typeName + QStringLiteral(" Media File");
    r.contentType = mimeTypeFor(ext);
    r.commands.append({QStringLiteral("Open"), execQuote(associations_GetProgramPath()) + QStringLiteral(" %F")});
    r.iconFile = associations_GetProgramPath();
    r.iconIndex = 0;
    associations_WriteRegistry(r);
}

void associations_WriteRegistry(const AssociationRecord& record)
{
    if (record.typeName.isEmpty()) return;
    const QString path = desktopFilePath(record.typeName);
    const QString mime = record.contentType.isEmpty() ? mimeTypeFor(record.extension) : record.contentType;
    if (mime.isEmpty()) return;   // the system has no type for such files: nothing to declare

    // The entry keeps the types registered before.
    QStringList types;
    QString exec;
    bool readable = true;
    for (const auto& [key, value] : readDesktopEntry(path, &readable)) {
        if (key == QLatin1String("MimeType")) types = splitList(value);
    }
    if (!readable) return;   // its other types are unknown: leave it and the defaults alone
    // Types of the system's only: older versions made up some that no file carries.
    const QMimeDatabase db;
    types.removeIf([&db](const QString& t) { return !db.mimeTypeForName(t).isValid(); });
    if (!types.contains(mime)) types.append(mime);
    for (const AssociationCommand& c : record.commands)
        if (c.verb.compare(QLatin1String("Open"), Qt::CaseInsensitive) == 0) exec = c.commandLine;
    if (exec.isEmpty() && !record.commands.isEmpty()) exec = record.commands.first().commandLine;

    QString text = QStringLiteral("[Desktop Entry]\n");
    text += QStringLiteral("Type=Application\n");
    text += QStringLiteral("Name=") + escapeValue(record.typeName) + u'\n';
    text += QStringLiteral("Comment=") + escapeValue(record.description) + u'\n';
    text += QStringLiteral("Exec=") + escapeValue(exec) + u'\n';
    if (installIcon(record.typeName)) text += QStringLiteral("Icon=") + escapeValue(iconName(record.typeName)) + u'\n';
    text += QStringLiteral("Terminal=false\n");
    // Only an association: the entry does not show in the application menus.
    text += QStringLiteral("NoDisplay=true\n");
    text += QStringLiteral("MimeType=") + joinList(types) + u'\n';
    writeText(path, text);

    const QString id = desktopFileId(record.typeName);
    QStringList lines;
    if (!readLines(mimeAppsPath(), &lines)) return;   // another program's choices stay whole
    putFirst(lines, QStringLiteral("Default Applications"), mime, id);
    putFirst(lines, QStringLiteral("Added Associations"), mime, id);
    writeText(mimeAppsPath(), lines.join(u'\n') + u'\n');
}

void associations_NotifyShell()
{
    // The user's desktop and MIME databases, each where its tool and its folder exist.
    const std::pair<const char*, QString> refreshes[] = {
        {"update-desktop-database", applicationsFolder()},
        {"update-mime-database", QFileInfo(applicationsFolder()).path() + QStringLiteral("/mime")},
    };
    for (const auto& [name, folder] : refreshes) {
        const QString tool = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!tool.isEmpty() && QFileInfo(folder).isDir()) QProcess::startDetached(tool, {folder});
    }
}

void registry_AddStartupEntry(const QString& valueName, const QString& commandLine)
{
    QString text = QStringLiteral("[Desktop Entry]\n");
    text += QStringLiteral("Type=Application\n");
    text += QStringLiteral("Name=") + escapeValue(valueName) + u'\n';
    text += QStringLiteral("Exec=") + escapeValue(commandLine) + u'\n';
    text += QStringLiteral("Terminal=false\n");
    text += QStringLiteral("X-GNOME-Autostart-enabled=true\n");
    writeText(autostartFilePath(valueName), text);
}

void registry_RemoveStartupEntry(const QString& valueName)
{
    const QString path = autostartFilePath(valueName);
    if (QFileInfo(path).isFile()) QFile::remove(path);
}
