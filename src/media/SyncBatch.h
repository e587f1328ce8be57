#pragma once
// Tag saves of one run over many songs. Each save still checks that its write and the
// closing of its file succeeded, so a write the system refuses is never taken for done; the
// flush to the disk, which costs a journal commit per file when each save does it, is left
// to the end of the run: one syncfs() per file system the run wrote on. A write the disk
// fails after it was accepted makes that flush fail, and the run reports it.
//
// A save given no batch flushes its own file before it returns.
#include <QString>

#include <functional>
#include <sys/types.h>
#include <utility>
#include <vector>

namespace media {

class SyncBatch {
public:
    SyncBatch() = default;
    ~SyncBatch();   // flushes what is still owed; its result is lost then
    SyncBatch(const SyncBatch&) = delete;
    SyncBatch& operator=(const SyncBatch&) = delete;

    // The file open on `fd` was written: its flush is left to finish(). False when the batch
    // cannot take it (the caller then flushes the file itself).
    bool defer(int fd);

    // Brings every file written in the batch to the disk. False when the system reports a
    // write that failed; error() then holds its errno.
    bool finish();
    int error() const { return m_error; }

    // Tests put a failing flush in the place of syncfs(): returns 0 or an errno.
    static void setFlushForTests(std::function<int(int fd)> flush);

private:
    // One descriptor per file system, opened before the batch's first write on it, so that
    // syncfs() reports every write error of the batch there.
    std::vector<std::pair<dev_t, int>> m_fileSystems;
    int m_error = 0;
};

} // namespace media
