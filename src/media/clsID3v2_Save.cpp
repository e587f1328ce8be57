// Writing the tag back: version 2.3, the area padded to a multiple of 2048 bytes, written
// in place when it fits the old area, else through a complete copy renamed over the song.
#include "media/clsID3v2.h"

#include "media/MediaError.h"
#include "media/SyncBatch.h"
#include "media/modMedia.h"
#include "platform/TemporaryCopies.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

using namespace media;
using namespace media::id3v2;
using veltra::MediaError;

namespace {
constexpr qint64 kArea = 2048;

[[noreturn]] void raise(int error, const QString& source) { throw MediaError::fromErrno(error, source); }

std::function<void()>& copyFinishedHook()
{
    static std::function<void()> hook;
    return hook;
}

QByteArray folderOf(const QByteArray& name)
{
    const qsizetype slash = name.lastIndexOf('/');
    return slash < 0 ? QByteArray() : name.left(slash + 1);
}

// The file a save writes: a symbolic link is written through to the file it names.
QByteArray savedName(const QString& path)
{
    const QFileInfo info(path);
    return QFile::encodeName(info.isSymLink() ? info.canonicalFilePath() : path);
}

// The old tag's area, with the zero bytes that follow it before the audio; 0 when the new
// tag goes in front of every old byte.
qint64 oldArea(const TagArea& old)
{
    if (!old.found) return 0;
    // An older plain size is believed only as earlier versions wrote it, a multiple of 2048
    // followed by audio: otherwise the bytes it claims may be audio.
    if (old.olderForm && (old.audioStart < 0 || old.tagEnd % kArea != 0)) return 0;
    return old.audioStart >= 0 ? old.audioStart : old.tagEnd;
}

bool fitsInPlace(const TagArea& old, qint64 length)
{
    const qint64 area = oldArea(old);
    return old.found && length < area && area - 10 <= qint64(kMaxSyncsafe);
}

// A new file next to the song (same folder, so the rename never crosses file systems):
// the tag area followed by the song's bytes from `audioStart` on, and the ID3v1 tag when
// one is given. Renamed over the song only when complete and on disk; on any failure the
// song is untouched.
void replaceThroughCopy(FileSource& song, const QString& path, const QByteArray& area, qint64 audioStart,
                        const ID3v1Fields* id3v1, const QString& source)
{
    // Write through a symbolic link to the file it names, so the link stays a link.
    const QByteArray name = savedName(path);
    // A short name of its own: the song's name may already be as long as a name can be.
    // Held until the copy is renamed or removed.
    QByteArray temp;
    const int out = tempcopies::createHeld(folderOf(name), tempcopies::kTagCopy, 0600, temp);
    if (out < 0) raise(errno, source);
    auto fail = [&](int error) {
        ::close(out);
        ::unlink(temp.constData());
        raise(error, source);
    };

    // The song as it was when the copy began: if another program changes it meanwhile, the
    // copy lacks that change and must not take the song's place.
    struct stat st;
    if (::fstat(song.handle(), &st) != 0) fail(errno);

    auto writeAll = [&](const char* data, qint64 length) {
        while (length > 0) {
            const ssize_t n = ::write(out, data, size_t(length));
            if (n < 0) {
                if (errno == EINTR) continue;
                fail(errno);
            }
            if (n == 0) fail(ENOSPC);
            data += n;
            length -= n;
        }
    };
    writeAll(area.constData(), area.size());

    QByteArray buffer(256 * 1024, Qt::Uninitialized);
    const qint64 end = st.st_size;
    for (qint64 pos = audioStart; pos < end;) {
        const qint64 n = song.read(pos, buffer.data(), std::min<qint64>(buffer.size(), end - pos));
        if (n < 0) fail(song.error());
        if (n == 0) fail(EIO); // the song became shorter while it was copied
        writeAll(buffer.constData(), n);
        pos += n;
    }
    if (id3v1) {
        const qint64 size = area.size() + (end - audioStart);
        char tail[128];
        const ssize_t got = ::pread(out, tail, sizeof tail, off_t(size - 128));
        if (got != 128) fail(got < 0 ? errno : EIO);
        const ID3v1Placement place = media_PlaceID3v1(size, QByteArrayView(tail, 128), *id3v1);
        if (::lseek(out, off_t(place.offset), SEEK_SET) < 0) fail(errno);
        writeAll(place.bytes.constData(), place.bytes.size());
    }
    if (::fsync(out) != 0) fail(errno);
    if (copyFinishedHook()) copyFinishedHook()();
    struct stat now;
    if (::fstat(song.handle(), &now) != 0) fail(errno);
    if (now.st_size != st.st_size || now.st_mtim.tv_sec != st.st_mtim.tv_sec || now.st_mtim.tv_nsec != st.st_mtim.tv_nsec)
        fail(EBUSY);
    // The song's owner and mode, given only now: until then the copy is this user's, so a
    // copy left by a killed save is recognised as this user's own.
    if (::fchown(out, st.st_uid, st.st_gid) != 0) {
        // another owner cannot be kept by an ordinary user; the mode still is
    }
    ::fchmod(out, st.st_mode & 07777);
    // The lock stays with a second descriptor until the copy has its place.
    const int holder = ::dup(out);
    if (holder < 0) fail(errno);
    if (::close(out) != 0) {
        const int error = errno;
        ::unlink(temp.constData());
        ::close(holder);
        raise(error, source);
    }
    if (::rename(temp.constData(), name.constData()) != 0) {
        const int error = errno;
        ::unlink(temp.constData());
        ::close(holder);
        raise(error, source);
    }
    ::close(holder);
}
} // namespace

namespace media::id3v2 {
void setCopyFinishedHook(std::function<void()> hook) { copyFinishedHook() = std::move(hook); }
} // namespace media::id3v2

QByteArray clsID3v2::id3v2_BuildImage() const
{
    QByteArray image("ID3\x03\x00\x00\x00\x00\x00\x00", 10);
    // A date and time converted from a 2.4 recording time belong to its year: they are
    // written only while the tag's own year frame, if it has one, still holds that year.
    const int years = TagsInFrame(QStringLiteral("TYER"));
    const QString year = years > 0 ? id3v2_GetTagText(QStringLiteral("TYER"), years) : QString();
    auto converted = [](const Slot& slot, const Entry& e) { return e.fromFile && e.frame->id != slot.id.toLatin1(); };
    // Version 2.3 holds one people list: the 2.4 people (TIPL) and musicians (TMCL) converted
    // to it are written as one, where the first of them was.
    std::vector<const Frame23*> people;
    if (TagsInFrame(QStringLiteral("IPLS")) == 0) {
        for (const Slot& slot : m_frames)
            for (const Entry& e : slot.entries)
                if (e.frame && e.frame->id == "IPLS" && converted(slot, e) && !slot.id.contains(QLatin1String("ID3")))
                    people.push_back(&*e.frame);
    }
    bool peopleWritten = false;
    for (const Slot& slot : m_frames) {
        if (slot.id.contains(QLatin1String("ID3"))) continue;
        const QByteArray id = slot.id.toUpper().toLatin1();
        for (const Entry& e : slot.entries) {
            if (e.frame) {
                // Written back as it was read, whatever its ID's characters.
                if (e.frame->id.size() != 4 || e.frame->id[0] == 0) continue;
                if (people.size() > 1 && converted(slot, e) && e.frame->id == "IPLS") {
                    if (!peopleWritten) image.append(mergedPeopleList(people).serialize());
                    peopleWritten = true;
                    continue;
                }
                // A frame converted to another ID gives way to the model's own frames of it.
                if (!converted(slot, e) || TagsInFrame(QString::fromLatin1(e.frame->id)) == 0) image.append(e.frame->serialize());
                if (!e.extra.empty() && (year.isEmpty() || year == frameText(e.frame->id, e.frame->data()))) {
                    for (const Frame23& f : e.extra)
                        if (TagsInFrame(QString::fromLatin1(f.id)) == 0) image.append(f.serialize());
                }
            } else if (!e.fromFile) {
                if (id.size() != 4 || !isValidFrameId(id.constData(), 4)) continue;
                image.append(frameFromText(id, e.text).serialize());
            }
        }
    }
    image.append(4, '\0');
    return image;
}

void clsID3v2::Save(media::SyncBatch* batch, const ID3v1Fields* id3v1)
{
    const QString source = errorSource();
    if (const QString why = OverwriteRefusal(); !why.isEmpty()) throw MediaError(MediaError::CannotPerform, why, source);
    // A frame read that no version 2.3 tag can hold stops the save before the file is
    // opened: the song keeps it, and the caller learns which one.
    for (const Slot& slot : m_frames)
        for (const Entry& e : slot.entries)
            if (!e.frame && !e.notKept.isEmpty()) throw MediaError(MediaError::CannotPerform, e.notKept, source);
    const QByteArray image = id3v2_BuildImage();
    const qint64 length = image.size();

    FileSource song;
    if (!song.open(m_filename, FileSource::ReadWrite)) raise(song.error(), source);
    tempcopies::removeLeftovers(folderOf(savedName(m_filename)));
    const QByteArray head = song.readBytes(0, 4096);
    const TagArea old = locateTag(song, head, true);
    if (song.failed()) raise(song.error(), source);
    if (old.cutShort) throw MediaError(MediaError::CannotPerform, cutShortText(), source);

    const qint64 area = oldArea(old);
    if (fitsInPlace(old, length)) {
        // Two small writes: the ID3v1 tag first, as it always was.
        if (id3v1 && !media_WriteID3v1(m_filename, *id3v1, batch)) raise(EIO, source);
        QByteArray block = image;
        block.append(area - length, '\0');
        writeSyncsafe(block.data() + 6, quint32(area - 10));
        const QByteArray before = song.readBytes(0, area);
        if (song.failed() || before.size() != area) raise(song.failed() ? song.error() : EIO, source);
        if (!song.write(0, block)) {
            const int error = song.error();
            song.write(0, before); // put the old tag back if the disk allows
            raise(error, source);
        }
        if (batch && batch->defer(song.handle())) {
            // Flushed with the rest of the batch; a failure the closing reports is a failed write.
            if (!song.close()) raise(song.error(), source);
            return;
        }
        if (::fdatasync(song.handle()) != 0) raise(errno, source);
        return;
    }

    const qint64 padded = (length / kArea + 1) * kArea;
    if (padded - 10 > qint64(kMaxSyncsafe)) raise(EFBIG, source);
    QByteArray block = image;
    block.append(padded - length, '\0');
    writeSyncsafe(block.data() + 6, quint32(padded - 10));
    replaceThroughCopy(song, m_filename, block, area, id3v1, source);
}
