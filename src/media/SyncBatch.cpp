#include "media/SyncBatch.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace media {

namespace {
std::function<int(int)>& flushForTests()
{
    static std::function<int(int)> flush;
    return flush;
}

int flushFileSystem(int fd)
{
    if (flushForTests()) return flushForTests()(fd);
    return ::syncfs(fd) == 0 ? 0 : errno;
}
} // namespace

void SyncBatch::setFlushForTests(std::function<int(int)> flush) { flushForTests() = std::move(flush); }

SyncBatch::~SyncBatch() { finish(); }

bool SyncBatch::defer(int fd)
{
    struct stat st;
    if (::fstat(fd, &st) != 0) return false;
    for (const auto& [device, kept] : m_fileSystems)
        if (device == st.st_dev) return true;
    // The song's own open file: it was opened before the write, so the error mark syncfs()
    // compares against predates every write of the batch on this file system.
    const int kept = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    if (kept < 0) return false;
    m_fileSystems.emplace_back(st.st_dev, kept);
    return true;
}

bool SyncBatch::finish()
{
    for (const auto& [device, fd] : m_fileSystems) {
        const int error = flushFileSystem(fd);
        if (error && !m_error) m_error = error;
        ::close(fd);
    }
    m_fileSystems.clear();
    return m_error == 0;
}

} // namespace media
