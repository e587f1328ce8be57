#include "platform/SafeFileMove.h"

#include "platform/TemporaryCopies.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace safefile {
namespace {

QByteArray native(const QString& path) { return QFile::encodeName(path); }

enum class Raw { Done, Exists, CrossDevice, Failed };

Raw renameNoReplace(const QByteArray& from, const QByteArray& to)
{
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0) return Raw::Done;
    const int error = errno;
    if (error == EEXIST) return Raw::Exists;
    if (error == EXDEV) return Raw::CrossDevice;
    if (error != EINVAL && error != ENOSYS && error != ENOTSUP) return Raw::Failed;
    // A file system without the no-replace flag: a hard link refuses a taken name too.
    if (::link(from.constData(), to.constData()) == 0) {
        if (::unlink(from.constData()) == 0) return Raw::Done;
        ::unlink(to.constData());
        return Raw::Failed;
    }
    if (errno == EEXIST) return Raw::Exists;
    if (errno == EXDEV) return Raw::CrossDevice;
    // No hard links either: look first, then rename (the best such a file system allows).
    struct stat st {};
    if (::lstat(to.constData(), &st) == 0) return Raw::Exists;
    if (::rename(from.constData(), to.constData()) == 0) return Raw::Done;
    return errno == EXDEV ? Raw::CrossDevice : Raw::Failed;
}

bool writeAll(int fd, const char* data, size_t length)
{
    while (length > 0) {
        const ssize_t n = ::write(fd, data, length);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        length -= size_t(n);
    }
    return true;
}

// Reads up to `length` bytes; fewer only at the end of the file. -1 on an error.
ssize_t readFull(int fd, char* data, size_t length)
{
    size_t got = 0;
    while (got < length) {
        const ssize_t n = ::read(fd, data + got, length - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return -1;
        if (n == 0) break;
        got += size_t(n);
    }
    return ssize_t(got);
}

class Fd {
public:
    explicit Fd(int fd) : m_fd(fd) {}
    ~Fd()
    {
        if (m_fd >= 0) ::close(m_fd);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return m_fd; }
    void reset(int fd)
    {
        if (m_fd >= 0) ::close(m_fd);
        m_fd = fd;
    }
    bool close()
    {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

// The source's bytes in a new file under a free temporary name in the target's folder,
// flushed to the disk and read back against the source. Returns that name, or empty;
// `held` keeps the copy locked until the caller has given it its place or removed it.
QByteArray checkedCopyBeside(const QByteArray& from, const QByteArray& to, Fd& held)
{
    Fd in(::open(from.constData(), O_RDONLY | O_CLOEXEC));
    if (in.get() < 0) return {};
    struct stat st {};
    if (::fstat(in.get(), &st) != 0 || !S_ISREG(st.st_mode)) return {};

    const qsizetype slash = to.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : (slash == 0 ? QByteArray("/") : to.left(slash));
    tempcopies::removeLeftovers(folder);
    // Held locked until it has its place or is gone, so one that nobody holds was left by a
    // copy that was killed, and the next write in that folder removes it.
    QByteArray temp;
    Fd out(tempcopies::createHeld(folder, tempcopies::kFolderCopy, 0600, temp));
    if (out.get() < 0) return {};
    auto fail = [&temp]() -> QByteArray {
        ::unlink(temp.constData());
        return {};
    };

    std::vector<char> a(1 << 20), b(1 << 20);
    for (;;) {
        const ssize_t n = readFull(in.get(), a.data(), a.size());
        if (n < 0) return fail();
        if (n == 0) break;
        if (!writeAll(out.get(), a.data(), size_t(n))) return fail();
    }
    ::fchmod(out.get(), st.st_mode & 07777);
    const struct timespec times[2] = {st.st_atim, st.st_mtim};
    ::futimens(out.get(), times);
    if (::fsync(out.get()) != 0) return fail();

    // The copy is whole only when it reads back as the source, byte for byte.
    if (::lseek(in.get(), 0, SEEK_SET) != 0 || ::lseek(out.get(), 0, SEEK_SET) != 0) return fail();
    for (;;) {
        const ssize_t n = readFull(in.get(), a.data(), a.size());
        const ssize_t m = readFull(out.get(), b.data(), b.size());
        if (n < 0 || m != n) return fail();
        if (n == 0) break;
        if (std::memcmp(a.data(), b.data(), size_t(n)) != 0) return fail();
    }
    held.reset(::dup(out.get()));
    if (held.get() < 0 || !out.close()) return fail();
    return temp;
}

Result copyBytes(const QByteArray& from, const QByteArray& to)
{
    struct stat st {};
    if (::lstat(to.constData(), &st) == 0) return Result::TargetExists;
    Fd held(-1);
    const QByteArray temp = checkedCopyBeside(from, to, held);
    if (temp.isEmpty()) return Result::Failed;
    // The temporary file sits in the target's own folder, so this is a plain rename.
    const Raw named = renameNoReplace(temp, to);
    if (named == Raw::Done) return Result::Done;
    ::unlink(temp.constData());
    return named == Raw::Exists ? Result::TargetExists : Result::Failed;
}

// The text of a symbolic link; empty when `path` is no link.
QByteArray linkText(const QByteArray& path)
{
    QByteArray text(4096, Qt::Uninitialized);
    const ssize_t n = ::readlink(path.constData(), text.data(), size_t(text.size()));
    if (n <= 0 || n >= text.size()) return {};
    text.truncate(n);
    return text;
}

// A relative link taken to another folder would lead elsewhere, or nowhere: in its place
// comes a link that leads from there to the very file it led to.
Result moveRelativeLink(const QByteArray& from, const QByteArray& to)
{
    struct stat before {}, after {};
    if (::stat(from.constData(), &before) != 0) return Result::Failed;
    const qsizetype slash = to.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : (slash == 0 ? QByteArray("/") : to.left(slash));
    char* file = ::realpath(from.constData(), nullptr);
    char* place = ::realpath(folder.constData(), nullptr);
    const QString fileName = file ? QFile::decodeName(file) : QString();
    const QString placeName = place ? QFile::decodeName(place) : QString();
    ::free(file);
    ::free(place);
    if (fileName.isEmpty() || placeName.isEmpty()) return Result::Failed;
    const QByteArray text = QFile::encodeName(QDir(placeName).relativeFilePath(fileName));
    if (::symlink(text.constData(), to.constData()) != 0) return errno == EEXIST ? Result::TargetExists : Result::Failed;
    if (::stat(to.constData(), &after) != 0 || after.st_dev != before.st_dev || after.st_ino != before.st_ino
        || ::unlink(from.constData()) != 0) {
        ::unlink(to.constData());
        return Result::Failed;
    }
    return Result::Done;
}

} // namespace

Result rename(const QString& from, const QString& to)
{
    if (from.isEmpty() || to.isEmpty()) return Result::Failed;
    switch (renameNoReplace(native(from), native(to))) {
    case Raw::Done: return Result::Done;
    case Raw::Exists: return Result::TargetExists;
    default: return Result::Failed;
    }
}

Result move(const QString& from, const QString& to)
{
    if (from.isEmpty() || to.isEmpty()) return Result::Failed;
    const QByteArray f = native(from), t = native(to);
    struct stat led {};
    if (const QByteArray text = linkText(f); !text.isEmpty() && !text.startsWith('/') && ::stat(f.constData(), &led) == 0)
        return moveRelativeLink(f, t);
    switch (renameNoReplace(f, t)) {
    case Raw::Done: return Result::Done;
    case Raw::Exists: return Result::TargetExists;
    case Raw::Failed: return Result::Failed;
    case Raw::CrossDevice: break;
    }
    const Result copied = copyBytes(f, t);
    if (copied != Result::Done) return copied;
    if (::unlink(f.constData()) == 0) return Result::Done;
    // The source stays (a folder without write permission): one file, not two.
    ::unlink(t.constData());
    return Result::Failed;
}

Result copy(const QString& from, const QString& to)
{
    if (from.isEmpty() || to.isEmpty()) return Result::Failed;
    return copyBytes(native(from), native(to));
}

Result copyReplacing(const QString& from, const QString& to)
{
    if (from.isEmpty() || to.isEmpty()) return Result::Failed;
    const QByteArray f = native(from), t = native(to);
    struct stat source {}, target {};
    if (::stat(f.constData(), &source) == 0 && ::stat(t.constData(), &target) == 0 && source.st_dev == target.st_dev
        && source.st_ino == target.st_ino)
        return Result::Failed;
    Fd held(-1);
    const QByteArray temp = checkedCopyBeside(f, t, held);
    if (temp.isEmpty()) return Result::Failed;
    if (::rename(temp.constData(), t.constData()) == 0) return Result::Done;
    ::unlink(temp.constData());
    return Result::Failed;
}

} // namespace safefile
