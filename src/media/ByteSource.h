#pragma once
// Random access to the bytes of a song, from a file or from memory. The tag and header
// readers take only the few ranges they need (tag header, tag, first frame, last 128
// bytes), so a source never loads a whole file.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace media {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual qint64 size() const = 0;
    // Copies up to `length` bytes from `offset`; returns the count copied (short at the end
    // of the data), or -1 on a read error.
    virtual qint64 read(qint64 offset, char* buffer, qint64 length) = 0;

    // The bytes of [offset, offset + length) that exist; empty past the end or on error.
    QByteArray readBytes(qint64 offset, qint64 length);
    // The same bytes without a copy, where the source holds them in memory: valid until the
    // next call on the source. Empty where it does not (the caller then reads them).
    virtual QByteArrayView view(qint64, qint64) { return {}; }
    bool failed() const { return m_failed; }

protected:
    bool m_failed = false;
};

class MemorySource final : public ByteSource {
public:
    explicit MemorySource(QByteArrayView data) : m_data(data) {}
    qint64 size() const override { return m_data.size(); }
    qint64 read(qint64 offset, char* buffer, qint64 length) override;
    QByteArrayView view(qint64 offset, qint64 length) override
    {
        if (offset < 0 || length <= 0 || offset + length > m_data.size()) return {};
        return m_data.sliced(offset, length);
    }

private:
    QByteArrayView m_data;
};

// A file opened with the system's own calls (no buffering layer): each read is one pread.
class FileSource final : public ByteSource {
public:
    enum Mode { ReadOnly, ReadWrite };
    FileSource() = default;
    ~FileSource() override;
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    // False when the file cannot be opened; error() then holds errno.
    bool open(const QString& path, Mode mode = ReadOnly);
    void close();
    bool isOpen() const { return m_fd >= 0; }
    int error() const { return m_errno; }
    int handle() const { return m_fd; }

    qint64 size() const override { return m_size; }
    qint64 read(qint64 offset, char* buffer, qint64 length) override;
    // Writes all of `data` at `offset`; false (error() set) when not all was written.
    bool write(qint64 offset, QByteArrayView data);

private:
    int m_fd = -1;
    qint64 m_size = 0;
    int m_errno = 0;
};

// A song opened once for several readers (the MPEG header and both tags): its first bytes
// and its last 128 are read at once, and every other range is read with some bytes more,
// so the readers together cost one open and two or three reads.
class SongFile final : public ByteSource {
public:
    // False when the file cannot be opened; error() then holds errno.
    bool open(const QString& path);
    bool isOpen() const { return m_file.isOpen(); }
    int error() const { return m_file.error(); }

    qint64 size() const override { return m_file.size(); }
    qint64 read(qint64 offset, char* buffer, qint64 length) override;
    QByteArrayView view(qint64 offset, qint64 length) override;

private:
    struct Block {
        qint64 offset = 0;
        QByteArray bytes;
    };
    const Block* load(qint64 offset, qint64 length);
    void readInto(Block& block, qint64 length);

    FileSource m_file;
    Block m_blocks[3];   // the start, the end, and the last range read elsewhere
};

} // namespace media
