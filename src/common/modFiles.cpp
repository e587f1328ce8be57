#include "common/modFiles.h"

#include "common/modVB.h"
#include "platform/SafeFileMove.h"
#include "platform/TextFile.h"
#include "platform/UiServices.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <algorithm>
#include <cstring>
#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace veltra;

namespace files {
QString separator() { return QStringLiteral("/"); }

QStringList listFolder(const QString& folder, const QString& extension)
{
    // Read straight from the directory: a folder of many thousand songs is listed in a few
    // milliseconds, where a stat and a pattern match per entry cost far more.
    if (folder.isEmpty()) return {};
    DIR* dir = opendir(QFile::encodeName(folder).constData());
    if (!dir) return {};
    const QString suffix = u'.' + extension;
    struct Entry {
        QString key;    // the name folded, so sorting ignores case cheaply
        QString name;
    };
    std::vector<Entry> entries;
    while (const dirent* e = readdir(dir)) {
        if (e->d_type == DT_DIR || !std::strcmp(e->d_name, ".") || !std::strcmp(e->d_name, "..")) continue;
        QString name = QFile::decodeName(e->d_name);
        if (!name.endsWith(suffix, Qt::CaseInsensitive)) continue;
        if (e->d_type == DT_LNK || e->d_type == DT_UNKNOWN) {
            // a link to a folder is a folder; a broken link is listed, as any other odd entry
            struct stat st {};
            if (fstatat(dirfd(dir), e->d_name, &st, 0) == 0 && S_ISDIR(st.st_mode)) continue;
        }
        QString key = name.toCaseFolded();
        entries.push_back({std::move(key), std::move(name)});
    }
    closedir(dir);
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return a.key != b.key ? a.key < b.key : a.name < b.name;
    });
    QStringList out;
    out.reserve(qsizetype(entries.size()));
    QString base = folder;   // as the caller wrote it
    while (base.endsWith(u'/')) base.chop(1);
    for (const Entry& e : entries) out.append(base + u'/' + e.name);
    return out;
}

bool isSameFile(const QString& a, const QString& b)
{
    if (a.isEmpty() || b.isEmpty()) return false;
    if (a == b) return true;
    struct stat sa {}, sb {};
    if (::stat(QFile::encodeName(a).constData(), &sa) == 0 && ::stat(QFile::encodeName(b).constData(), &sb) == 0)
        return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
    // One of them is missing: the same file only when both name the same place.
    const QString ca = QFileInfo(a).absoluteFilePath();
    const QString cb = QFileInfo(b).absoluteFilePath();
    return QDir::cleanPath(ca) == QDir::cleanPath(cb);
}

bool sameBytes(const QString& a, const QString& b)
{
    QFile fa(a), fb(b);
    if (!QFileInfo(a).isFile() || !QFileInfo(b).isFile() || fa.size() != fb.size()) return false;
    if (!fa.open(QIODevice::ReadOnly) || !fb.open(QIODevice::ReadOnly)) return false;
    constexpr qint64 kChunk = 1 << 20;
    while (!fa.atEnd()) {
        const QByteArray x = fa.read(kChunk);
        if (x.isEmpty() || x != fb.read(kChunk)) return false;
    }
    return fb.atEnd();
}

QString dataHome()
{
    // A relative or empty value is to be ignored.
    const QString data = qEnvironmentVariable("XDG_DATA_HOME");
    if (data.isEmpty() || !QDir::isAbsolutePath(data)) return QDir::homePath() + QStringLiteral("/.local/share");
    return data;
}

QString trashFolder() { return dataHome() + QStringLiteral("/Trash"); }

bool moveToTrash(const QString& path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !(info.exists() || info.isSymLink())) return false;
    const QString trash = trashFolder();
    const bool hadTrash = QFileInfo(trash).isDir();
    if (!QDir().mkpath(trash + QStringLiteral("/files")) || !QDir().mkpath(trash + QStringLiteral("/info"))) return false;
    if (!hadTrash) QFile::setPermissions(trash, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    // The info file is made first, exclusively: it reserves the name in the trash.
    const QString name = info.fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    const QString stem = dot > 0 ? name.left(dot) : name;
    const QString suffix = dot > 0 ? name.mid(dot) : QString();
    const QByteArray record = "[Trash Info]\nPath=" + QUrl::toPercentEncoding(info.absoluteFilePath(), "/")
        + "\nDeletionDate=" + QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")).toLatin1() + "\n";
    // The info file adds ".trashinfo" to the name: a name as long as the file system allows
    // goes to the trash under a shorter one (its info keeps the whole path).
    auto fits = [](const QString& trashed) { return QFile::encodeName(trashed + QStringLiteral(".trashinfo")).size() <= 255; };
    QString shortStem = stem;
    while (!shortStem.isEmpty() && !fits(shortStem + QStringLiteral(".9999") + suffix))
        shortStem.chop(shortStem.size() >= 2 && shortStem.back().isLowSurrogate() ? 2 : 1);
    for (int n = 1; n < 10000; ++n) {
        const QString trashed = n == 1 && fits(name) ? name
                                : n == 1           ? shortStem + suffix
                                                   : shortStem + u'.' + QString::number(n) + suffix;
        const QString infoPath = trash + QStringLiteral("/info/") + trashed + QStringLiteral(".trashinfo");
        const QString filePath = trash + QStringLiteral("/files/") + trashed;
        const QFileInfo taken(filePath);
        if (taken.exists() || taken.isSymLink()) continue;
        const int fd = ::open(QFile::encodeName(infoPath).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            return false;
        }
        const bool written = ::write(fd, record.constData(), size_t(record.size())) == ssize_t(record.size());
        const bool closed = ::close(fd) == 0;
        auto undo = [&] {
            QFile::remove(infoPath);
            return false;
        };
        if (!written || !closed) return undo();
        // On another file system a file is copied in whole, checked, and only then removed
        // here; a link is moved as the link itself, never copied.
        const safefile::Result moved = info.isSymLink() ? safefile::rename(path, filePath) : safefile::move(path, filePath);
        return moved == safefile::Result::Done || undo();
    }
    return false;
}

QString recentDocumentsPath()
{
    return dataHome() + QStringLiteral("/recently-used.xbel");
}
} // namespace files

QString files_GetFileName(const QString& path)
{
    const qsizetype i = path.lastIndexOf(u'/');
    return i < 0 ? path : path.mid(i + 1);
}

QString files_GetDirectory(const QString& path)
{
    const qsizetype i = path.lastIndexOf(u'/');
    return i < 0 ? QString() : path.left(i);
}

QString files_GetExtension(const QString& path)
{
    const qsizetype i = path.lastIndexOf(u'.');
    return i < 0 ? path : path.mid(i + 1);
}

QString files_GetNameWithoutExtension(const QString& path)
{
    const QString name = files_GetFileName(path);
    const qsizetype i = name.lastIndexOf(u'.');
    return i < 0 ? name : name.left(i);
}

QString files_RemoveTrailingNull(const QString& text)
{
    if (!text.isEmpty() && text.back() == QChar(0)) return text.left(text.size() - 1);
    return text;
}

bool files_FileExists(const QString& path)
{
    if (path.isEmpty()) return false;
    return QFileInfo::exists(path);
}

bool files_HasAttribute(const QString& path, quint32 mask)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists()) return true;   // the failed query has every bit set
    quint32 attributes = 0;
    if (!(info.permissions() & QFileDevice::WriteOwner)) attributes |= 1;
    if (info.fileName().startsWith(u'.')) attributes |= 2;
    attributes |= info.isDir() ? 16 : 32;
    return (attributes & mask) == mask;
}

QString files_GetFileSizeText(const QString& path) { return QString::number(QFileInfo(path).size()); }

QString files_GetFileSizeDisplay(const QString& path, bool withUnit)
{
    const qint64 length = QFileInfo(path).size();
    if (length <= 1024) return QString::number(length) + (withUnit ? QStringLiteral(" Bytes") : QString());
    const double mb = vb::Round(double(length) / 1024.0 / 1024.0, 2);
    return vb::CStr(mb) + (withUnit ? QStringLiteral(" MB") : QString());
}

void files_DeleteFile(const QString& path)
{
    if (!files_FileExists(path) || files_HasAttribute(path, 1)) return;
    if (QFileInfo(path).isDir() || !QFile::remove(path)) {
        msgBox(QStringLiteral("There was an error while trying to delete the following file:\r\n") + path
                   + QStringLiteral("\r\n\r\nPlease check that the file is not being used by another program or user.\r\n"),
               MsgButtons::OK, MsgIcon::Information, QStringLiteral("Deleting File Error"));
    }
}

void files_DeleteToRecycleBin(const QString& path, bool, bool)
{
    // The desktop's trash takes the file without asking, as the no-confirmation flags do.
    if (!files::moveToTrash(path)) {
        msgBox(QStringLiteral("An error occured while trying to delete the filename\r\n") + path
                   + QStringLiteral("\r\n\r\nThis function will not continue.\r\n"),
               MsgButtons::OK, MsgIcon::Exclamation, QStringLiteral("Error Deleting File"));
    }
}

namespace {
// A destination that is a folder takes the file under its own name; an existing file is
// replaced (the operation runs without confirmation).
QString targetOf(const QString& source, const QString& destination)
{
    if (QFileInfo(destination).isDir()) return destination + u'/' + files_GetFileName(source);
    return destination;
}

void reportCopyError(const QString& source)
{
    msgBox(QStringLiteral("An error occured while trying to copy the filename\r\n") + source
               + QStringLiteral("\r\n\r\nThis function will not continue.\r\n"),
           MsgButtons::OK, MsgIcon::Exclamation, QStringLiteral("Error Copying File"));
}

void reportMoveError(const QString& source)
{
    msgBox(QStringLiteral("An error occured while trying to move the filename\r\n") + source
               + QStringLiteral("\r\n\r\nThis function will not continue.\r\n"),
           MsgButtons::OK, MsgIcon::Exclamation, QStringLiteral("Error Moving File"));
}
} // namespace

bool files_CopyFile(const QString& source, const QString& destination)
{
    const QString target = targetOf(source, destination);
    if (!QFileInfo(source).isFile() || files::isSameFile(source, target) || safefile::copyReplacing(source, target) != safefile::Result::Done) {
        reportCopyError(source);
        return false;
    }
    return true;
}

bool files_MoveFile(const QString& source, const QString& destination)
{
    const QFileInfo info(source);
    const QString target = targetOf(source, destination);
    // Whatever the spelling ("music/", "./", a linked folder), a target that is the source
    // itself is refused before anything is touched: replacing it would delete the song.
    // A move never goes over another file; on another file system the copy is checked
    // before the original goes.
    if (source.isEmpty() || !(info.exists() || info.isSymLink()) || files::isSameFile(source, target)
        || safefile::move(source, target) != safefile::Result::Done) {
        reportMoveError(source);
        return false;
    }
    return true;
}

bool files_RenameFile(const QString& oldPath, const QString& newPath)
{
    if (oldPath.isEmpty() || newPath.isEmpty()) return false;
    if (files::isSameFile(oldPath, newPath)) return false;
    const QFileInfo target(newPath);
    if (target.exists() || target.isSymLink()) return false;   // never rename over another file
    // refuses a name taken meanwhile too, and never falls back to copying
    return safefile::rename(oldPath, newPath) == safefile::Result::Done;
}

void files_AddToRecentDocuments(const QString& path)
{
    // The desktop's recently-used list (an XBEL file); failures are ignored.
    const QFileInfo info(path);
    if (!info.isFile()) return;
    const QString href = QString::fromLatin1(QUrl::fromLocalFile(info.absoluteFilePath()).toEncoded());
    const QString now = QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs);
    const QString listPath = files::recentDocumentsPath();
    QString xml;
    const textfile::ReadState state = textfile::readState(listPath, &xml);
    // The list is the whole desktop's: one that is there but unreadable, or not a list we
    // understand, is left as it is rather than replaced by ours alone.
    if (state == textfile::ReadState::Failed) return;
    if (state == textfile::ReadState::Read && !xml.trimmed().isEmpty() && !xml.contains(QStringLiteral("</xbel>"))) return;
    if (!xml.contains(QStringLiteral("</xbel>"))) {
        xml = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                             "<xbel version=\"1.0\"\n"
                             "      xmlns:bookmark=\"http://www.freedesktop.org/standards/desktop-bookmarks\"\n"
                             "      xmlns:mime=\"http://www.freedesktop.org/standards/shared-mime-info\"\n>\n</xbel>\n");
    }
    const QString escapedHref = href.toHtmlEscaped();
    const QString marker = QStringLiteral("href=\"") + escapedHref + u'"';
    const qsizetype at = xml.indexOf(marker);
    if (at >= 0) {
        // refresh the visit time of the existing entry
        const qsizetype mod = xml.indexOf(QStringLiteral("modified=\""), xml.lastIndexOf(QStringLiteral("<bookmark"), at));
        if (mod >= 0 && mod < xml.indexOf(u'>', at)) {
            const qsizetype s = mod + 10;
            const qsizetype e = xml.indexOf(u'"', s);
            if (e > s) xml.replace(s, e - s, now);
        }
    } else {
        const QString entry = QStringLiteral("  <bookmark href=\"%1\" added=\"%2\" modified=\"%2\" visited=\"%2\">\n"
                                             "    <info>\n"
                                             "      <metadata owner=\"http://freedesktop.org\">\n"
                                             "        <bookmark:applications>\n"
                                             "          <bookmark:application name=\"VELTRA\" exec=\"&apos;veltra %u&apos;\" modified=\"%2\" count=\"1\"/>\n"
                                             "        </bookmark:applications>\n"
                                             "      </metadata>\n"
                                             "    </info>\n"
                                             "  </bookmark>\n")
                                  .arg(escapedHref, now);
        xml.insert(xml.lastIndexOf(QStringLiteral("</xbel>")), entry);
    }
    QDir().mkpath(QFileInfo(listPath).absolutePath());
    textfile::writeAtomic(listPath, xml);
}

bool files_WriteArrayToFile(const QString& baseAddress, const QString& fileName, const QString& folder,
                            const DownloadFunction& download)
{
    if (!download) return false;
    const std::optional<QByteArray> bytes = download(baseAddress + fileName);
    if (!bytes) return false;
    return textfile::writeAtomic(folder + u'/' + fileName, *bytes);
}
