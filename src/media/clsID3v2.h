#pragma once
// The ID3v2 tag of one MPEG audio file: reads tags of versions 2.2, 2.3 and 2.4 at the
// start of the file, keeps every frame in a small model (frame IDs in order of first
// appearance, a count per ID, one text per frame occurrence), offers sixteen common
// frames as text properties, and writes the tag back as version 2.3 on Save.
//
// Frame IDs are compared without regard to letter case. Texts are the decoded text of a
// frame: no encoding byte, byte-order mark or terminator; COMM and USLT without language
// and description; URL frames the address; PCNT the count in decimal.
//
// Errors: the members that raise throw veltra::MediaError with the source
// "<exe name>.cMP3ID3v2" (see MediaError.h): Frame with an index outside 1..FrameCount
// (9), RemoveFrame of an ID not held (5), setFilename when the file cannot be read after
// it was opened, and Save for every failure (the file is then unchanged).
#include "media/ByteSource.h"
#include "media/ID3v2Format.h"

#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace media {
class SyncBatch;
}
struct ID3v1Fields;

namespace media::id3v2 {
// Called by Save when a grown tag's copy is complete, before it takes the song's place:
// lets tests change the song at that moment. None by default.
void setCopyFinishedHook(std::function<void()> hook);
} // namespace media::id3v2

class clsID3v2 {
public:
    clsID3v2() = default;

    bool HasID3v2Tag() const { return m_tagPosition >= 1; }
    quint8 ID3v2TagVersion() const { return m_version; }
    quint8 TagVersion() const { return m_version; }
    // 1-based position of the byte after "ID3" (4 when a tag was found), else 0.
    qint64 TagPosition() const { return m_tagPosition; }
    // The tag read claims more bytes than the file holds (see TagArea::cutShort): Save
    // refuses to write over it. Such a tag is not read unless an ID3v1 tag made it fit.
    bool TagCutShort() const { return m_cutShort; }
    // Why Save would refuse before writing anything, as the tag read cannot be written over
    // without losing what it holds: it is cut short, or no frame of it could be read though it
    // holds more than padding. Empty when it may be saved.
    QString OverwriteRefusal() const;

    int FrameCount() const { return int(m_frames.size()); }
    QString Frame(int index) const;
    void RemoveFrame(const QString& key);
    int TagsInFrame(const QString& key) const;
    void AddTag(const QString& id, const QString& text);
    void RemoveTag(const QString& id, int index);
    // The text of entry `n` (1-based) of the frame; empty when there is none.
    QString id3v2_GetTagText(const QString& id, int n) const;

    QString ArtistURL() const { return m_cache[kArtistURL]; }
    void setArtistURL(const QString& v) { setProperty(kArtistURL, v); }
    QString BuyURL() const { return m_cache[kBuyURL]; }
    void setBuyURL(const QString& v) { setProperty(kBuyURL, v); }
    QString AudioURL() const { return m_cache[kAudioURL]; }
    void setAudioURL(const QString& v) { setProperty(kAudioURL, v); }
    QString Copyright() const { return m_cache[kCopyright]; }
    void setCopyright(const QString& v) { setProperty(kCopyright, v); }
    QString Composer() const { return m_cache[kComposer]; }
    void setComposer(const QString& v) { setProperty(kComposer, v); }
    QString OriginalArtist() const { return m_cache[kOriginalArtist]; }
    void setOriginalArtist(const QString& v) { setProperty(kOriginalArtist, v); }
    QString LinkTo() const { return m_cache[kLinkTo]; }
    void setLinkTo(const QString& v) { setProperty(kLinkTo, v); }
    QString PlayCounter() const { return m_cache[kPlayCounter]; }
    void setPlayCounter(const QString& v) { setProperty(kPlayCounter, v); }
    QString EncodedBy() const { return m_cache[kEncodedBy]; }
    void setEncodedBy(const QString& v) { setProperty(kEncodedBy, v); }
    QString Title() const { return m_cache[kTitle]; }
    void setTitle(const QString& v) { setProperty(kTitle, v); }
    QString Artist() const { return m_cache[kArtist]; }
    void setArtist(const QString& v) { setProperty(kArtist, v); }
    QString Album() const { return m_cache[kAlbum]; }
    void setAlbum(const QString& v) { setProperty(kAlbum, v); }
    QString Year() const { return m_cache[kYear]; }
    // A year other than the one held also removes the frames of the old date: the recording
    // time (TDRC), day (TDAT) and time (TIME). The year is written as TYER.
    void setYear(const QString& v);
    // The plain comments (COMM frames without a description) joined: earlier text, NUL,
    // CR LF, next text. Comments with a description are other programs' data (loudness,
    // gapless playback) and not part of it.
    QString Comment() const { return m_cache[kComment]; }
    // Replaces the plain comments with one of the first one's language ("eng" when it had
    // none); comments with a description stay as they were.
    void setComment(const QString& v);
    // The last USLT frame read.
    QString Lyrics() const { return m_cache[kLyrics]; }
    // Replaces the text of the last USLT frame, keeping its language and description; the
    // other USLT frames stay as they were.
    void setLyrics(const QString& v);
    QString Track() const { return m_cache[kTrack]; }
    void setTrack(const QString& v) { setProperty(kTrack, v); }

    QString Filename() const { return m_filename; }
    // Stores the name and reads the file's tag. A file that cannot be opened gives an
    // object without a tag and no error.
    void setFilename(const QString& path);
    // The same from a song already opened (`song` holds `path`), so that the header and the
    // other tag are read from the same read of the file.
    void setFilename(const QString& path, media::SongFile& song);
    // Reads the tag from any byte source (the file reader and the fuzz tests use it).
    void readTag(media::ByteSource& source);

    // Writes the frames as an ID3v2.3 tag at the start of the file: in place when the old
    // tag's area (with the zero bytes after it) has room, otherwise through a complete copy
    // written next to the song and renamed over it. Frames read from the file and not
    // changed are written back intact (converted to their 2.3 form). Raises on failure, and
    // refuses, leaving the file untouched, while the tag holds a frame read from the file
    // that no 2.3 tag can hold (the error names it): it is never dropped unasked. Refuses
    // likewise when the tag read cannot be written over (OverwriteRefusal) or the file's tag
    // claims more bytes than the file holds.
    // An in-place write is flushed to the disk before Save returns, or, given a batch, by
    // the batch's finish(); a copy is always flushed before it takes the song's place.
    // Given an ID3v1 tag, Save writes it too, where media_WriteID3v1 puts it: into the copy
    // when the song is copied, so that the one rename applies both and a save cut off at any
    // moment leaves the old song or the new one; otherwise in place, just before the ID3v2
    // tag. Nothing is written when Save refuses.
    void Save(media::SyncBatch* batch = nullptr, const ID3v1Fields* id3v1 = nullptr);

    // The tag image Save would write, before padding: header, frames, four zero bytes.
    QByteArray id3v2_BuildImage() const;

private:
    enum Property {
        kArtistURL, kBuyURL, kAudioURL, kCopyright, kComposer, kOriginalArtist, kLinkTo, kPlayCounter,
        kEncodedBy, kTitle, kArtist, kAlbum, kYear, kComment, kLyrics, kTrack, kPropertyCount
    };
    static const char* const kPropertyIds[kPropertyCount];

    struct Entry {
        mutable QString text;
        mutable bool textPending = false;   // text made from `content` when first asked for
        QByteArray content;                 // the frame's data as read (for texts made late)
        QByteArray sourceId;                // 2.3 ID the content's layout follows
        std::optional<media::id3v2::Frame23> frame; // written back by Save
        std::vector<media::id3v2::Frame23> extra;   // written after it (a 2.4 date's TDAT, TIME)
        bool fromFile = false;              // read from the file (else added by a caller)
        QString notKept;                    // why no 2.3 frame can hold it (no `frame`): Save refuses
    };
    struct Slot {
        QString id;
        std::vector<Entry> entries;
    };

    void clear();
    void setProperty(Property p, const QString& value);
    Slot* findSlot(const QString& id);
    const Slot* findSlot(const QString& id) const;
    Slot& slotFor(const QString& id);   // the slot under the ID, added when missing
    void storeFrame(const QString& id, Entry entry);
    static Entry madeEntry(const QByteArray& id, const QString& text, const media::id3v2::CommentHead& head);
    static media::id3v2::CommentHead headOf(const Entry& e);
    bool isPlainComment(const Entry& e) const;
    const QString& entryText(const Entry& e) const;
    void parse(const media::id3v2::TagArea& area, QByteArrayView data);
    template <class File>
    void readFrom(File& file, bool opened);
    static QString errorSource();

    QString m_filename;
    qint64 m_tagPosition = 0;
    quint8 m_version = 0;
    bool m_cutShort = false;
    bool m_unreadable = false;   // no frame found in a frame area holding more than padding
    QString m_cache[kPropertyCount];
    int m_plainComments = 0;   // plain comments read so far
    std::vector<Slot> m_frames;
};
