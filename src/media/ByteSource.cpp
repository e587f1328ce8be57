#include "media/ByteSource.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace media {

QByteArray ByteSource::readBytes(qint64 offset, qint64 length)
{
    const qint64 total = size();
    if (offset < 0 || length <= 0 || offset >= total) return {};
    length = std::min(length, total - offset);
    QByteArray bytes(qsizetype(length), Qt::Uninitialized);
    const qint64 got = read(offset, bytes.data(), length);
    if (got <= 0) return {};
    if (got < length) bytes.truncate(qsizetype(got));
    return bytes;
}

qint64 MemorySource::read(qint64 offset, char* buffer, qint64 length)
{
    if (offset < 0 || length < 0) return -1;
    if (offset >= m_data.size()) return 0;
    const qint64 n = std::min<qint64>(length, m_data.size() - offset);
    std::memcpy(buffer, m_data.data() + offset, size_t(n));
    return n;
}

FileSource::~FileSource() { close(); }

bool FileSource::open(const QString& path, Mode mode)
{
    close();
    m_failed = false;
    m_errno = 0;
    if (path.isEmpty()) {
        m_errno = ENOENT;
        return false;
    }
    const QByteArray name = QFile::encodeName(path);
    // Non-blocking, so that a named pipe with a song's name cannot hang the reader; it is
    // refused below, and regular files ignore the flag.
    const int fd = ::open(name.constData(), (mode == ReadWrite ? O_RDWR : O_RDONLY) | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        m_errno = errno;
        return false;
    }
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        m_errno = errno;
        ::close(fd);
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        m_errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        ::close(fd);
        return false;
    }
    m_fd = fd;
    m_size = st.st_size;
    return true;
}

void FileSource::close()
{
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
    m_size = 0;
}

qint64 FileSource::read(qint64 offset, char* buffer, qint64 length)
{
    if (m_fd < 0 || offset < 0 || length < 0) return -1;
    qint64 done = 0;
    while (done < length) {
        const ssize_t n = ::pread(m_fd, buffer + done, size_t(length - done), off_t(offset + done));
        if (n < 0) {
            if (errno == EINTR) continue;
            m_errno = errno;
            m_failed = true;
            return -1;
        }
        if (n == 0) break;
        done += n;
    }
    return done;
}

bool FileSource::write(qint64 offset, QByteArrayView data)
{
    if (m_fd < 0) return false;
    qint64 done = 0;
    while (done < data.size()) {
        const ssize_t n = ::pwrite(m_fd, data.data() + done, size_t(data.size() - done), off_t(offset + done));
        if (n < 0) {
            if (errno == EINTR) continue;
            m_errno = errno;
            return false;
        }
        if (n == 0) {
            m_errno = ENOSPC;
            return false;
        }
        done += n;
    }
    m_size = std::max(m_size, offset + qint64(data.size()));
    return true;
}

namespace {
constexpr qint64 kHead = 16 * 1024;
constexpr qint64 kHeadRoom = 64 * 1024;   // a tag with a cover grows the start in place
constexpr qint64 kTail = 128;
constexpr qint64 kReadAhead = 8 * 1024;
} // namespace

bool SongFile::open(const QString& path)
{
    for (Block& b : m_blocks) b = Block();
    m_failed = false;
    if (!m_file.open(path)) return false;
    const qint64 total = m_file.size();
    m_blocks[0].bytes.reserve(qsizetype(std::min(total, kHeadRoom)));
    readInto(m_blocks[0], std::min(total, kHead));
    if (total > kHead) {
        const qint64 tail = std::min(kTail, total - kHead);
        m_blocks[1].offset = total - tail;
        readInto(m_blocks[1], tail);
    }
    return true;
}

void SongFile::readInto(Block& block, qint64 length)
{
    // read straight into the block's own buffer, after what it holds
    const qint64 at = block.bytes.size();
    block.bytes.resize(qsizetype(at + length));
    const qint64 got = m_file.read(block.offset + at, block.bytes.data() + at, length);
    if (got < 0) m_failed = true;
    block.bytes.resize(qsizetype(at + std::max<qint64>(got, 0)));
}

const SongFile::Block* SongFile::load(qint64 offset, qint64 length)
{
    for (const Block& b : m_blocks)
        if (offset >= b.offset && offset + length <= b.offset + b.bytes.size()) return &b;
    Block& head = m_blocks[0];
    const qint64 headEnd = head.bytes.size();
    if (offset <= headEnd && headEnd > 0) {
        // A tag longer than the first read: the start grows by what is missing, once.
        readInto(head, std::min(m_file.size(), offset + length + kReadAhead) - headEnd);
        return &head;
    }
    m_blocks[2] = Block{offset, m_file.readBytes(offset, length + kReadAhead)};
    if (m_file.failed()) m_failed = true;
    return &m_blocks[2];
}

QByteArrayView SongFile::view(qint64 offset, qint64 length)
{
    if (!m_file.isOpen() || offset < 0 || length <= 0 || offset + length > m_file.size()) return {};
    const Block* b = load(offset, length);
    if (m_failed || offset + length > b->offset + b->bytes.size()) return {};
    return QByteArrayView(b->bytes.constData() + (offset - b->offset), length);
}

qint64 SongFile::read(qint64 offset, char* buffer, qint64 length)
{
    if (!m_file.isOpen() || offset < 0 || length < 0) return -1;
    const qint64 total = m_file.size();
    if (offset >= total || length == 0) return 0;
    length = std::min(length, total - offset);
    const Block* b = load(offset, length);
    if (m_failed) return -1;
    const qint64 n = std::min<qint64>(length, b->offset + b->bytes.size() - offset);
    if (n <= 0) return 0;
    std::memcpy(buffer, b->bytes.constData() + (offset - b->offset), size_t(n));
    return n;
}

} // namespace media
