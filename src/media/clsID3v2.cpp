#include "media/clsID3v2.h"

#include "media/MediaError.h"
#include "platform/ProgramFolder.h"

#include <algorithm>

using namespace media;
using namespace media::id3v2;
using veltra::MediaError;

const char* const clsID3v2::kPropertyIds[kPropertyCount] = {
    "WOAR", "WCOM", "WOAF", "TCOP", "TCOM", "TOPE", "WXXX", "PCNT",
    "TENC", "TIT2", "TPE1", "TALB", "TYER", "COMM", "USLT", "TRCK",
};

QString clsID3v2::errorSource() { return programfolder::exeName() + QStringLiteral(".cMP3ID3v2"); }

void clsID3v2::clear()
{
    m_tagPosition = 0;
    m_version = 0;
    m_cutShort = false;
    m_unreadable = false;
    for (QString& c : m_cache) c.clear();
    m_plainComments = 0;
    m_frames.clear();
}

clsID3v2::Slot* clsID3v2::findSlot(const QString& id)
{
    for (Slot& s : m_frames)
        if (s.id.compare(id, Qt::CaseInsensitive) == 0) return &s;
    return nullptr;
}

const clsID3v2::Slot* clsID3v2::findSlot(const QString& id) const
{
    return const_cast<clsID3v2*>(this)->findSlot(id);
}

clsID3v2::Slot& clsID3v2::slotFor(const QString& id)
{
    if (Slot* s = findSlot(id)) return *s;
    m_frames.push_back(Slot{id, {}});
    return m_frames.back();
}

QString clsID3v2::OverwriteRefusal() const
{
    if (m_cutShort) return cutShortText();
    if (m_unreadable) return unreadableText();
    return {};
}

QString clsID3v2::Frame(int index) const
{
    if (index < 1 || index > FrameCount())
        throw MediaError(MediaError::SubscriptOutOfRange, MediaError::describe(MediaError::SubscriptOutOfRange),
                         errorSource());
    return m_frames[size_t(index - 1)].id;
}

void clsID3v2::RemoveFrame(const QString& key)
{
    for (auto it = m_frames.begin(); it != m_frames.end(); ++it) {
        if (it->id.compare(key, Qt::CaseInsensitive) == 0) {
            m_frames.erase(it);
            return;
        }
    }
    throw MediaError(MediaError::InvalidArgument, MediaError::describe(MediaError::InvalidArgument), errorSource());
}

int clsID3v2::TagsInFrame(const QString& key) const
{
    const Slot* s = findSlot(key);
    return s ? int(s->entries.size()) : 0;
}

void clsID3v2::AddTag(const QString& id, const QString& text)
{
    Entry e;
    e.text = text;
    Slot* s = &slotFor(id);
    s->entries.push_back(std::move(e));
}

void clsID3v2::RemoveTag(const QString& id, int index)
{
    for (auto it = m_frames.begin(); it != m_frames.end(); ++it) {
        if (it->id.compare(id, Qt::CaseInsensitive) != 0) continue;
        if (index < 1 || index > int(it->entries.size())) return;
        it->entries.erase(it->entries.begin() + (index - 1));
        if (it->entries.empty()) m_frames.erase(it);
        return;
    }
}

const QString& clsID3v2::entryText(const Entry& e) const
{
    if (e.textPending) {
        e.text = frameText(e.sourceId, e.content);
        e.textPending = false;
    }
    return e.text;
}

QString clsID3v2::id3v2_GetTagText(const QString& id, int n) const
{
    const Slot* s = findSlot(id);
    if (!s || n < 1 || n > int(s->entries.size())) return {};
    return entryText(s->entries[size_t(n - 1)]);
}

void clsID3v2::setProperty(Property p, const QString& value)
{
    m_cache[p] = value;
    const QString id = QString::fromLatin1(kPropertyIds[p]);
    try {
        RemoveFrame(id);
    } catch (const MediaError&) {
        // no frame of the ID yet
    }
    AddTag(id, value);
}

clsID3v2::Entry clsID3v2::madeEntry(const QByteArray& id, const QString& text, const CommentHead& head)
{
    // A language of NULs or none at all is given the one plain comments usually carry.
    const bool noLanguage = head.language.isEmpty() || head.language == QByteArray(3, '\0');
    Entry e;
    e.text = text;
    e.sourceId = id;
    e.frame = commentFrame(id, text, noLanguage ? QByteArray("eng") : head.language, head.description);
    e.content = e.frame->body;
    return e;
}

CommentHead clsID3v2::headOf(const Entry& e) { return commentHead(e.content); }

bool clsID3v2::isPlainComment(const Entry& e) const
{
    // An entry added by a caller is text only; a frame read whose data could not be read
    // (encrypted) is another program's and kept.
    if (e.content.isEmpty()) return !e.fromFile;
    return headOf(e).description.isEmpty();
}

void clsID3v2::setYear(const QString& value)
{
    // Another year replaces the whole date the old one was read from: a recording time (TDRC,
    // of any version), and the old year's day and time. Other dates (the original release's,
    // the recording dates) stay.
    if (value != m_cache[kYear]) {
        std::erase_if(m_frames, [](const Slot& s) {
            for (const char* id : {"TDRC", "TDAT", "TIME"})
                if (s.id.compare(QLatin1String(id), Qt::CaseInsensitive) == 0) return true;
            return false;
        });
    }
    setProperty(kYear, value);
}

void clsID3v2::setComment(const QString& value)
{
    m_cache[kComment] = value;
    const QString id = QString::fromLatin1(kPropertyIds[kComment]);
    Slot* s = &slotFor(id);
    // The first plain comment takes the new text in its place; the other plain ones go.
    std::optional<size_t> first;
    CommentHead head;
    for (size_t i = 0; i < s->entries.size();) {
        if (!isPlainComment(s->entries[i])) {
            ++i;
        } else if (!first) {
            first = i;
            head.language = headOf(s->entries[i]).language;
            ++i;
        } else {
            s->entries.erase(s->entries.begin() + qsizetype(i));
        }
    }
    Entry e = madeEntry("COMM", value, head);
    if (first) s->entries[*first] = std::move(e);
    else s->entries.push_back(std::move(e));
}

void clsID3v2::setLyrics(const QString& value)
{
    m_cache[kLyrics] = value;
    const QString id = QString::fromLatin1(kPropertyIds[kLyrics]);
    Slot* s = &slotFor(id);
    if (s->entries.empty()) s->entries.push_back(madeEntry("USLT", value, {}));
    else s->entries.back() = madeEntry("USLT", value, headOf(s->entries.back()));
}

void clsID3v2::storeFrame(const QString& id, Entry entry)
{
    Slot* s = &slotFor(id);
    s->entries.push_back(std::move(entry));
    for (int p = 0; p < kPropertyCount; ++p) {
        if (id.compare(QLatin1String(kPropertyIds[p]), Qt::CaseInsensitive) != 0) continue;
        const QString& text = entryText(s->entries.back());
        if (p == kComment) {
            if (!isPlainComment(s->entries.back())) break;
            if (m_plainComments++ > 0) m_cache[p] += QChar(0) + QStringLiteral("\r\n") + text;
            else m_cache[p] = text;
        } else {
            m_cache[p] = text;
        }
        break;
    }
}

template <class File>
void clsID3v2::readFrom(File& file, bool opened)
{
    if (!opened) return;
    readTag(file);
    if (file.failed()) {
        clear();
        throw MediaError::fromErrno(file.error(), errorSource());
    }
}

void clsID3v2::setFilename(const QString& path)
{
    m_filename = path;
    clear();
    FileSource file;
    const bool opened = file.open(path);
    readFrom(file, opened);
}

void clsID3v2::setFilename(const QString& path, SongFile& song)
{
    m_filename = path;
    clear();
    readFrom(song, song.isOpen());
}

namespace {
// A version 2.4 frame size: syncsafe as published; the plain form that some writers used
// when the syncsafe reading does not land on the next frame, padding or the tag's end.
qint64 v24FrameSize(QByteArrayView data, qsizetype pos)
{
    const char* s = data.constData() + pos + 4;
    const quint32 plain = readBE32(s);
    if ((plain & 0x80808080u) != 0) return plain;
    const quint32 safe = readSyncsafe(s);
    if (safe < 0x80) return safe;
    const qsizetype n = data.size();
    auto lands = [&](qint64 size) {
        const qint64 next = pos + 10 + size;
        if (next == n) return true;
        if (next > n) return false;
        if (data[next] == 0) return true;
        return next + 4 <= n && isValidFrameId(data.constData() + next, 4);
    };
    if (lands(safe) || !lands(plain)) return safe;
    return plain;
}

// How many bytes of the frame area an extended header announced by the tag's flag takes: its
// whole length, or 0 when the flag promises one that is not there, as some encoders write it
// (the first frame then follows the tag header). Read as the reference readers read it: four
// bytes that are a frame ID begin a frame, and a size too small for the header itself or
// beyond the tag is no extended header's. Version 2.3 counts the size after its own field
// (6 or 10 bytes), version 2.4 the whole header (at least 6), seven bits a byte.
qsizetype extendedHeaderLength(int version, QByteArrayView data)
{
    if (data.size() < 4 || isValidFrameId(data.constData(), 4)) return 0;
    const char* p = data.constData();
    qint64 length;
    if (version == 3) {
        length = 4 + qint64(readBE32(p));
    } else {
        if ((p[0] | p[1] | p[2] | p[3]) & 0x80) return 0;
        length = readSyncsafe(p);
    }
    const qint64 least = version == 3 ? 10 : 6;
    if (length < least || length > data.size()) return 0;
    return qsizetype(length);
}

bool hasEagerText(const QByteArray& id)
{
    return id.startsWith('T') || id.startsWith('W') || id == "COMM" || id == "USLT" || id == "PCNT"
        || id == "IPLS";
}
} // namespace

void clsID3v2::readTag(ByteSource& source)
{
    clear();
    const QByteArray head = source.readBytes(0, 4096);
    const TagArea area = locateTag(source, head, false);
    m_cutShort = area.cutShort;
    if (!area.found) return;
    m_tagPosition = 4;
    m_version = quint8(area.version);
    // The frames are copied out of the tag one by one; the tag itself need not be.
    QByteArrayView data = source.view(10, area.dataSize);
    QByteArray read;
    if (data.size() != area.dataSize) {
        read = head.size() >= 10 + area.dataSize ? head.mid(10, area.dataSize) : source.readBytes(10, area.dataSize);
        data = read;
    }
    parse(area, data);
}

void clsID3v2::parse(const TagArea& area, QByteArrayView data)
{
    const int version = area.version;
    const bool tagUnsync = area.flags & 0x80;
    QByteArray undone;
    if (version < 4 && tagUnsync) {
        undone = removeUnsync(data.toByteArray());
        data = undone;
    }
    // A tag of which not one frame can be read, though it holds more than padding, is another
    // program's data that this one does not understand: Save refuses to write over it.
    auto noFrameIn = [&](qsizetype from) {
        const QByteArrayView rest = data.sliced(std::min(from, data.size()));
        m_unreadable = std::any_of(rest.begin(), rest.end(), [](char c) { return c != 0; });
    };
    // Version 2.2 used this flag for a compression that was never defined.
    if (version == 2 && (area.flags & 0x40)) return noFrameIn(0);

    const qsizetype start = version >= 3 && (area.flags & 0x40) ? extendedHeaderLength(version, data) : 0;
    qsizetype pos = start;

    const int idLength = version == 2 ? 3 : 4;
    const int headerLength = version == 2 ? 6 : 10;
    while (pos + headerLength <= data.size()) {
        const char* p = data.constData() + pos;
        // Padding ends the walk; a frame whose ID has odd characters (a blank, lower case) is
        // another program's and is kept like any other.
        if (p[0] == 0) break;
        qint64 size;
        if (version == 2) size = readBE24(p + 3);
        else if (version == 3) size = readBE32(p + 4);
        else size = v24FrameSize(data, pos);
        if (size > data.size() - pos - headerLength) break;

        const QByteArray id(p, idLength);
        const quint8 flags0 = version == 2 ? 0 : quint8(p[8]);
        const quint8 flags1 = version == 2 ? 0 : quint8(p[9]);
        ReadFrame r = convertFrame(version, id, flags0, flags1, data.sliced(pos + headerLength, size).toByteArray(), tagUnsync);

        Entry e;
        e.fromFile = true;
        e.sourceId = r.modelId;
        e.content = std::move(r.content);
        e.frame = std::move(r.frame);
        e.extra = std::move(r.extra);
        if (!e.frame && !r.leftOut)
            e.notKept = r.notKept.isEmpty() ? QStringLiteral("The ID3v2 tag cannot be saved as version 2.3 without losing its frame \"%1\".")
                                                  .arg(QString::fromLatin1(id))
                                            : std::move(r.notKept);
        if (hasEagerText(e.sourceId)) e.text = frameText(e.sourceId, e.content);
        else e.textPending = true;
        storeFrame(QString::fromLatin1(r.modelId), std::move(e));
        pos += headerLength + qsizetype(size);
    }
    if (pos == start) noFrameIn(start);

    // Version 2.4 keeps the year in the recording time, when that is a timestamp.
    if (TagsInFrame(QStringLiteral("TYER")) == 0) {
        if (const Slot* s = findSlot(QStringLiteral("TDRC")))
            m_cache[kYear] = timestampYear(entryText(s->entries.back()).section(u'/', 0, 0));   // the first of its times
    }
}
