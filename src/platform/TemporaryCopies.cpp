#include "platform/TemporaryCopies.h"

#include <QCryptographicHash>
#include <QHash>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tempcopies {

namespace {
// Empty, or beginning as every copy of a song does (a version 2.3 tag header).
bool looksLikeTagCopy(int fd)
{
    char head[6];
    const ssize_t n = ::pread(fd, head, sizeof head, 0);
    return n == 0 || (n == 6 && std::memcmp(head, "ID3\x03\x00\x00", 6) == 0);
}

constexpr int kLetters = int(sizeof kAlphabet) - 1;

// The check of a random part: keyed to the program and the kind, so that neither a typed
// name nor one of another kind's passes it.
QByteArray checkOf(const Kind& kind, const char* random)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(QByteArrayView("veltra temporary file\n"));
    hash.addData(QByteArrayView(kind.prefix));
    hash.addData(QByteArrayView(random, kRandomLength));
    const QByteArray digest = hash.result();
    QByteArray check(kCheckLength, Qt::Uninitialized);
    for (int i = 0; i < kCheckLength; ++i) check[i] = kAlphabet[quint8(digest[i]) % kLetters];
    return check;
}
} // namespace

const Kind kWholeFile{".veltra-tmp-"};
const Kind kFolderCopy{".veltra-copy-"};
const Kind kTagCopy{".veltra-tag-", looksLikeTagCopy};

bool isName(const char* name, const Kind& kind)
{
    const size_t prefix = std::strlen(kind.prefix);
    if (std::strncmp(name, kind.prefix, prefix) != 0) return false;
    const char* rest = name + prefix;
    if (std::strlen(rest) != size_t(kRandomLength + kCheckLength)) return false;
    for (int i = 0; i < kRandomLength; ++i)
        if (!std::strchr(kAlphabet, rest[i])) return false;
    return checkOf(kind, rest) == QByteArrayView(rest + kRandomLength, kCheckLength);
}

QByteArray nameFor(const Kind& kind, const QByteArray& random)
{
    return kind.prefix + random + checkOf(kind, random.constData());
}

int createHeld(const QByteArray& folder, const Kind& kind, mode_t mode, QByteArray& name)
{
    const QByteArray start = folder.isEmpty() || folder.endsWith('/') ? folder : folder + '/';
    for (int attempt = 0; attempt < 100; ++attempt) {
        QByteArray random(kRandomLength, Qt::Uninitialized);
        for (char& c : random) c = kAlphabet[QRandomGenerator::global()->bounded(kLetters)];
        name = start + nameFor(kind, random);
        const int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            return -1;
        }
        while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
        }
        // A cleanup may have taken the new file for a leftover before the lock: then it is
        // gone, and another is made.
        struct stat made;
        if (::fstat(fd, &made) != 0 || made.st_nlink > 0) return fd;
        ::close(fd);
    }
    errno = EEXIST;
    return -1;
}

void removeLeftovers(const QByteArray& folder)
{
    static std::mutex mutex;
    static QHash<QByteArray, struct timespec> lookedThrough;
    const std::lock_guard<std::mutex> lock(mutex);

    const int dir = ::open(folder.isEmpty() ? "." : folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0) return;
    struct stat dirStat;
    if (::fstat(dir, &dirStat) != 0) {
        ::close(dir);
        return;
    }
    // One folder, whichever way a caller writes it.
    const QByteArray key = folder.size() > 1 && folder.endsWith('/') ? folder.chopped(1) : folder;
    const auto seen = lookedThrough.constFind(key);
    if (seen != lookedThrough.cend() && seen->tv_sec == dirStat.st_mtim.tv_sec && seen->tv_nsec == dirStat.st_mtim.tv_nsec) {
        ::close(dir);
        return;
    }
    lookedThrough.insert(key, dirStat.st_mtim);

    DIR* listing = ::fdopendir(::dup(dir));
    if (!listing) {
        ::close(dir);
        return;
    }
    const uid_t me = ::geteuid();
    while (const dirent* entry = ::readdir(listing)) {
        const Kind* kind = nullptr;
        for (const Kind* k : {&kWholeFile, &kFolderCopy, &kTagCopy})
            if (isName(entry->d_name, *k)) kind = k;
        if (!kind) continue;
        struct stat named;
        if (::fstatat(dir, entry->d_name, &named, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (!S_ISREG(named.st_mode) || named.st_uid != me || named.st_nlink != 1) continue;
        const int fd = ::openat(dir, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat opened {};
        const bool ours = ::fstat(fd, &opened) == 0 && opened.st_dev == named.st_dev && opened.st_ino == named.st_ino
                          && (!kind->looksOurs || kind->looksOurs(fd));
        if (ours && ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            // Still the same file under the name, now that no writer can hold it.
            struct stat again;
            if (::fstatat(dir, entry->d_name, &again, AT_SYMLINK_NOFOLLOW) == 0 && again.st_ino == opened.st_ino
                && again.st_dev == opened.st_dev)
                ::unlinkat(dir, entry->d_name, 0);
        }
        ::close(fd);
    }
    ::closedir(listing);
    ::close(dir);
}

} // namespace tempcopies
