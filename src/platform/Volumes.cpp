#include "platform/Volumes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <algorithm>

namespace volumes {

namespace {

std::function<QList<Volume>()>& source()
{
    static std::function<QList<Volume>()> s;
    return s;
}

// The device's "removable" flag in sysfs; a partition asks the disk it belongs to.
bool isRemovableDevice(const QByteArray& device)
{
    if (!device.startsWith("/dev/")) return false;
    const QString name = QFileInfo(QString::fromLocal8Bit(device)).canonicalFilePath().section(u'/', -1);
    if (name.isEmpty()) return false;
    QString block = QFileInfo(QStringLiteral("/sys/class/block/") + name).canonicalFilePath();
    if (block.isEmpty()) return false;
    if (QFileInfo::exists(block + QStringLiteral("/partition"))) block = QFileInfo(block).absolutePath();
    QFile flag(block + QStringLiteral("/removable"));
    return flag.open(QIODevice::ReadOnly) && flag.readAll().trimmed() == "1";
}

QList<Volume> systemVolumes()
{
    QList<Volume> out;
    for (const QStorageInfo& info : QStorageInfo::mountedVolumes()) {
        if (!info.isValid() || !info.isReady()) continue;
        out.append({info.rootPath(), QString::fromLatin1(info.fileSystemType()), isRemovableDevice(info.device())});
    }
    return out;
}

bool isUnder(const QString& path, const QString& folder) { return path == folder || path.startsWith(folder + u'/'); }

} // namespace

void setSource(std::function<QList<Volume>()> s) { source() = std::move(s); }

QList<Volume> list()
{
    const QList<Volume> all = source() ? source()() : systemVolumes();
    const QString home = QStorageInfo(QDir::homePath()).rootPath();
    QList<Volume> out;
    for (const Volume& v : all) {
        const QString root = v.rootPath;
        const bool wanted = root == QLatin1String("/") || (!home.isEmpty() && root == home) || isUnder(root, QStringLiteral("/media"))
            || isUnder(root, QStringLiteral("/run/media")) || isUnder(root, QStringLiteral("/mnt"));
        if (!wanted) continue;
        if (std::any_of(out.cbegin(), out.cend(), [&root](const Volume& o) { return o.rootPath == root; })) continue;
        out.append(v);
    }
    std::sort(out.begin(), out.end(), [](const Volume& a, const Volume& b) { return a.rootPath < b.rootPath; });
    return out;
}

QString typeName(const Volume& volume)
{
    static const QStringList optical = {QStringLiteral("iso9660"), QStringLiteral("udf")};
    static const QStringList network = {
        QStringLiteral("nfs"),       QStringLiteral("nfs4"),       QStringLiteral("cifs"),       QStringLiteral("smb3"),
        QStringLiteral("smbfs"),     QStringLiteral("ncpfs"),      QStringLiteral("afs"),        QStringLiteral("9p"),
        QStringLiteral("ceph"),      QStringLiteral("glusterfs"),  QStringLiteral("davfs"),      QStringLiteral("fuse.sshfs"),
        QStringLiteral("fuse.davfs2"), QStringLiteral("fuse.glusterfs"), QStringLiteral("fuse.rclone"), QStringLiteral("fuse.smbnetfs"),
    };
    const QString type = volume.fileSystemType.toLower();
    if (optical.contains(type)) return QStringLiteral("CD-ROM");
    if (network.contains(type)) return QStringLiteral("Network Drive");
    if (volume.removable) return QStringLiteral("Floppy Disk Drive");
    return QStringLiteral("Primary/Logical Disk Drive");
}

QString pathIn(const QString& rootPath, const QString& fileName)
{
    return rootPath.endsWith(u'/') ? rootPath + fileName : rootPath + u'/' + fileName;
}

} // namespace volumes
