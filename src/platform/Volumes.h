#pragma once
// The drives songs can be copied to: the mounted volumes of the root folder, of the home
// folder and those under /media, /run/media and /mnt (where the desktop mounts removable and
// network drives), each named by its kind.
#include <QList>
#include <QString>
#include <functional>

namespace volumes {

struct Volume {
    QString rootPath;          // where it is mounted ("/", "/media/me/STICK")
    QString fileSystemType;    // "ext4", "vfat", "iso9660", "nfs" ...
    bool removable = false;    // its device says it can be taken out
};

// The valid, ready volumes of those places, each once, in the order of their root paths.
QList<Volume> list();

// Tests give the volumes the system would list (then filtered and ordered as above); an
// empty function restores the system's own.
void setSource(std::function<QList<Volume>()> source);

// "CD-ROM" (iso9660, udf), "Network Drive" (network file systems), "Floppy Disk Drive"
// (removable devices), else "Primary/Logical Disk Drive".
QString typeName(const Volume& volume);

// A file name inside the volume's root folder, joined by one separator.
QString pathIn(const QString& rootPath, const QString& fileName);

} // namespace volumes
