#include "media/MediaError.h"

#include <cerrno>

namespace veltra {

MediaError::MediaError(int number, const QString& description, const QString& source)
    : m_number(number), m_description(description), m_source(source)
{
    m_what = QStringLiteral("%1: %2 (%3)").arg(source, description).arg(number).toStdString();
}

QString MediaError::describe(int number)
{
    switch (number) {
    case InvalidArgument: return QStringLiteral("Invalid procedure call or argument");
    case SubscriptOutOfRange: return QStringLiteral("Subscript out of range");
    case CannotPerform: return QStringLiteral("Can't perform requested operation");
    case FileNotFound: return QStringLiteral("File not found");
    case DiskFull: return QStringLiteral("Disk full");
    case DeviceIOError: return QStringLiteral("Device I/O error");
    case PermissionDenied: return QStringLiteral("Permission denied");
    default: return QStringLiteral("Path/File access error");
    }
}

MediaError MediaError::fromErrno(int error, const QString& source)
{
    int number = PathFileAccessError;
    switch (error) {
    case ENOENT: case ENOTDIR: number = FileNotFound; break;
    case EACCES: case EPERM: case EROFS: case ETXTBSY: number = PermissionDenied; break;
    case ENOSPC: case EDQUOT: case EFBIG: number = DiskFull; break;
    case EIO: number = DeviceIOError; break;
    default: break;
    }
    return MediaError(number, describe(number), source);
}

} // namespace veltra
