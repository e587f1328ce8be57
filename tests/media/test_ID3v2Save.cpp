// Writing ID3v2.3 tags: the bytes written, in place or through a copy, the audio left
// untouched, frames of other programs kept, and failures raised.
#include "media/MediaError.h"
#include "media/clsID3v2.h"
#include "media/modMedia.h"
#include "support/Mp3Maker.h"
#include "support/TestEnv.h"
#include "ReferenceTagReader.h"
#include "TagBytes.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace tagbytes;

namespace {

// A version 2.3 tag read back independently of the class: header fields and frames.
struct SavedFrame {
    QByteArray id;
    quint32 size = 0;
    QByteArray flags;
    QByteArray body;
    QByteArray raw;
};
struct SavedTag {
    bool ok = false;
    QByteArray header;  // the first six bytes
    qint64 area = 0;    // 10 + syncsafe size
    QList<SavedFrame> frames;
    bool zeroAfterFrames = true;
    const SavedFrame* find(const char* id) const
    {
        for (const auto& f : frames)
            if (f.id == id) return &f;
        return nullptr;
    }
};

SavedTag parseSaved(const QByteArray& file)
{
    SavedTag t;
    if (file.size() < 10 || !file.startsWith("ID3")) return t;
    t.header = file.left(6);
    for (int i = 6; i < 10; ++i)
        if (uchar(file[i]) & 0x80) return t;
    const quint32 size = quint32(uchar(file[6])) << 21 | quint32(uchar(file[7])) << 14 | quint32(uchar(file[8])) << 7 | uchar(file[9]);
    t.area = 10 + size;
    if (t.area > file.size()) return t;
    qint64 pos = 10;
    while (pos + 10 <= t.area && file[pos] != 0) {
        SavedFrame f;
        f.id = file.mid(pos, 4);
        f.size = quint32(uchar(file[pos + 4])) << 24 | quint32(uchar(file[pos + 5])) << 16 | quint32(uchar(file[pos + 6])) << 8 | uchar(file[pos + 7]);
        f.flags = file.mid(pos + 8, 2);
        if (pos + 10 + f.size > t.area) return t;
        f.body = file.mid(pos + 10, f.size);
        f.raw = file.mid(pos, 10 + f.size);
        t.frames << f;
        pos += 10 + f.size;
    }
    for (qint64 i = pos; i < t.area; ++i)
        if (file[i] != 0) t.zeroAfterFrames = false;
    t.ok = true;
    return t;
}

ino_t inodeOf(const QString& path)
{
    struct stat st;
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : 0;
}

QStringList folderEntries(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
}

class ID3v2SaveTest : public VeltraTest {
protected:
    // Sets the title and saves; returns the file's bytes.
    QByteArray saveTitle(const QString& path, const QString& title)
    {
        clsID3v2 t;
        t.setFilename(path);
        t.setTitle(title);
        t.Save();
        return readFile(path);
    }
};

TEST_F(ID3v2SaveTest, AFileWithoutATagGrowsBy2048)
{
    const QByteArray audioBytes = audio(10);
    const QString path = writeFile("plain.mp3", audioBytes);
    clsID3v2 t;
    t.setFilename(path);
    t.setTitle(QString(275, u'x')); // an image of 300 bytes
    ASSERT_EQ(t.id3v2_BuildImage().size(), 300);
    t.Save();
    const QByteArray after = readFile(path);
    ASSERT_EQ(after.size(), audioBytes.size() + 2048);
    EXPECT_EQ(after.left(6), bytes({'I', 'D', '3', 3, 0, 0}));
    EXPECT_EQ(after.mid(6, 4), bytes({0x00, 0x00, 0x0F, 0x76})); // 2038 = 2048 - 10, seven bits a byte
    EXPECT_EQ(after.mid(10, 11), QByteArray("TIT2") + bytes({0, 0, 1, 20, 0, 0, 0}));
    EXPECT_EQ(after.mid(300, 2048 - 300), QByteArray(2048 - 300, '\0'));
    EXPECT_EQ(after.mid(2048), audioBytes);

    // Title abc: a TIT2 frame of size 4 holding 00 61 62 63.
    t.setTitle(QStringLiteral("abc"));
    t.Save();
    const QByteArray again = readFile(path);
    EXPECT_EQ(again.mid(10, 14), QByteArray("TIT2") + bytes({0, 0, 0, 4, 0, 0, 0, 'a', 'b', 'c'}));
    EXPECT_EQ(again.mid(24, 2048 - 24), QByteArray(2048 - 24, '\0'));
    EXPECT_EQ(again.size(), after.size());
}

TEST_F(ID3v2SaveTest, AnImageOfExactly2048BytesGetsAnAreaOf4096)
{
    const QString path = writeFile("exact.mp3", audio());
    clsID3v2 t;
    t.setFilename(path);
    t.setTitle(QString(2048 - 10 - 11 - 4, u'x'));
    ASSERT_EQ(t.id3v2_BuildImage().size(), 2048);
    t.Save();
    const SavedTag saved = parseSaved(readFile(path));
    ASSERT_TRUE(saved.ok);
    EXPECT_EQ(saved.area, 4096);
}

TEST_F(ID3v2SaveTest, ALaterSaveThatFitsIsWrittenInPlaceAndOneThatDoesNotGrowsTheFile)
{
    const QByteArray audioBytes = audio(30);
    const QString path = writeFile("own.mp3", audioBytes);
    saveTitle(path, QStringLiteral("first"));
    ASSERT_EQ(QFileInfo(path).size(), 2048 + audioBytes.size());
    const ino_t inode = inodeOf(path);

    // An image of about 1000 bytes: nothing inserted, the area stays 2048, no copy made.
    QByteArray after = saveTitle(path, QString(975, u'a'));
    EXPECT_EQ(inodeOf(path), inode);
    EXPECT_EQ(after.size(), 2048 + audioBytes.size());
    SavedTag saved = parseSaved(after);
    ASSERT_TRUE(saved.ok);
    EXPECT_EQ(saved.area, 2048);
    EXPECT_TRUE(saved.zeroAfterFrames);
    EXPECT_EQ(saved.find("TIT2")->size, 976u);
    EXPECT_EQ(after.mid(2048), audioBytes);

    // An image of about 2100 bytes: 2048 bytes inserted, the area becomes 4096.
    after = saveTitle(path, QString(2075, u'b'));
    EXPECT_NE(inodeOf(path), inode);
    EXPECT_EQ(after.size(), 4096 + audioBytes.size());
    saved = parseSaved(after);
    ASSERT_TRUE(saved.ok);
    EXPECT_EQ(saved.area, 4096);
    EXPECT_EQ(after.mid(4096), audioBytes);
    EXPECT_EQ(folderEntries(home()).filter(QStringLiteral("own")), QStringList{QStringLiteral("own.mp3")});
}

TEST_F(ID3v2SaveTest, LargeSizesUseAllTheirBytes)
{
    const QString path = writeFile("large.mp3", audio());
    clsID3v2 t;
    t.setFilename(path);
    t.setTitle(QString(65535, u'z')); // data of 65536 bytes
    t.Save();
    const QByteArray after = readFile(path);
    const SavedTag saved = parseSaved(after);
    ASSERT_TRUE(saved.ok);
    EXPECT_EQ(after.mid(14, 4), bytes({0x00, 0x01, 0x00, 0x00})); // the frame's plain size
    EXPECT_EQ(saved.area, (65536 + 10 + 10 + 4) / 2048 * 2048 + 2048);
    EXPECT_EQ(after.mid(6, 4), syncsafe(quint32(saved.area - 10)));
}

TEST_F(ID3v2SaveTest, ASavedTagIsAPublishedVersion23TagFieldByField)
{
    const QString path = writeFile("fields.mp3", audio());
    clsID3v2 t;
    t.setFilename(path);
    t.setTitle(QStringLiteral(u"Grüße"));             // Latin-1 suffices
    t.setArtist(QStringLiteral(u"東京 Artist"));      // needs UTF-16
    t.setAlbum(QStringLiteral("Album"));
    t.setYear(QStringLiteral("2021"));
    t.setTrack(QStringLiteral("4/9"));
    t.setComment(QStringLiteral("Nice"));
    t.setLyrics(QStringLiteral(u"La la ♪"));
    t.setArtistURL(QStringLiteral("http://a.example"));
    t.setLinkTo(QStringLiteral("http://link.example"));
    t.setPlayCounter(QStringLiteral("42"));
    t.Save();

    const QByteArray after = readFile(path);
    const SavedTag saved = parseSaved(after);
    ASSERT_TRUE(saved.ok);
    EXPECT_EQ(saved.header, bytes({'I', 'D', '3', 3, 0, 0}));
    EXPECT_EQ(saved.area % 2048, 0);
    EXPECT_TRUE(saved.zeroAfterFrames);
    ASSERT_EQ(saved.frames.size(), 10);
    for (const SavedFrame& f : saved.frames) EXPECT_EQ(f.flags, bytes({0, 0})) << f.id.constData();

    EXPECT_EQ(saved.find("TIT2")->body, QByteArray("\0Gr\xFC\xDF" "e", 6));
    EXPECT_EQ(saved.find("TPE1")->body, bytes({1}) + utf16LE(QStringLiteral(u"東京 Artist")));
    EXPECT_EQ(saved.find("TALB")->body, latin1Text("Album"));
    EXPECT_EQ(saved.find("TYER")->body, latin1Text("2021"));
    EXPECT_EQ(saved.find("TRCK")->body, latin1Text("4/9"));
    // COMM: encoding, language, empty description and its terminator, text.
    EXPECT_EQ(saved.find("COMM")->body, QByteArray("\0eng\0Nice", 9));
    EXPECT_EQ(saved.find("USLT")->body, bytes({1}) + "eng" + utf16LE(QString()) + bytes({0, 0}) + utf16LE(QStringLiteral(u"La la ♪")));
    // URL frames carry no encoding byte; WXXX has one, an empty description, then the address.
    EXPECT_EQ(saved.find("WOAR")->body, QByteArray("http://a.example"));
    EXPECT_EQ(saved.find("WXXX")->body, QByteArray("\0\0http://link.example", 21));
    // The play counter is a 32-bit binary number.
    EXPECT_EQ(saved.find("PCNT")->body, bytes({0, 0, 0, 42}));
    EXPECT_EQ(after.mid(saved.area), audio());

    // Read back: every entry's text.
    clsID3v2 r;
    r.setFilename(path);
    EXPECT_EQ(r.ID3v2TagVersion(), 3);
    EXPECT_EQ(r.Title(), QStringLiteral(u"Grüße"));
    EXPECT_EQ(r.Artist(), QStringLiteral(u"東京 Artist"));
    EXPECT_EQ(r.Album(), QStringLiteral("Album"));
    EXPECT_EQ(r.Year(), QStringLiteral("2021"));
    EXPECT_EQ(r.Track(), QStringLiteral("4/9"));
    EXPECT_EQ(r.Comment(), QStringLiteral("Nice"));
    EXPECT_EQ(r.Lyrics(), QStringLiteral(u"La la ♪"));
    EXPECT_EQ(r.ArtistURL(), QStringLiteral("http://a.example"));
    EXPECT_EQ(r.LinkTo(), QStringLiteral("http://link.example"));
    EXPECT_EQ(r.PlayCounter(), QStringLiteral("42"));
    EXPECT_EQ(r.FrameCount(), 10);
}

TEST_F(ID3v2SaveTest, FfprobeReadsTheSavedTag)
{
    const QString ffprobe = QStandardPaths::findExecutable(QStringLiteral("ffprobe"));
    if (ffprobe.isEmpty()) GTEST_SKIP() << "ffprobe is not installed";
    const QString path = home("probe.mp3");
    ASSERT_TRUE(mp3maker::makeMp3(path, {.seconds = 2}));
    clsID3v2 t;
    t.setFilename(path);
    t.setTitle(QStringLiteral(u"Título ♫"));
    t.setArtist(QStringLiteral("Plain Artist"));
    t.setAlbum(QStringLiteral(u"Ålbum"));
    t.Save();
    QProcess p;
    p.start(ffprobe, {"-v", "error", "-show_entries", "format_tags=title,artist,album", "-of", "default=nw=1", path});
    ASSERT_TRUE(p.waitForFinished(30000));
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    EXPECT_TRUE(out.contains(QStringLiteral(u"TAG:title=Título ♫"))) << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("TAG:artist=Plain Artist"))) << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral(u"TAG:album=Ålbum"))) << out.toStdString();
}

// ---- files tagged by other programs --------------------------------------------------------

// A published version 2.3 tag of exactly `total` bytes (header included).
QByteArray foreignTag(int total, const QByteArray& frames)
{
    QByteArray data = frames;
    data.append(QByteArray(total - 10 - data.size(), '\0'));
    return tag(3, data);
}

TEST_F(ID3v2SaveTest, AudioAfterAForeignTagIsNeverTouched)
{
    const QByteArray audioBytes = audio(40);
    const QByteArray frames = frame23("TIT2", latin1Text("Foreign")) + frame23("TPE1", latin1Text("Them"));
    struct Case {
        const char* name;
        int tagBytes;
        int titleLength;
        bool inPlace;
    };
    const Case cases[] = {
        {"thousand_smaller.mp3", 1000, 10, true},   // 1,000-byte tag, smaller image
        {"thousand_larger.mp3", 1000, 3000, false}, // 1,000-byte tag, larger image
        {"large_tag.mp3", 30000, 500, true},        // tag larger than the new image
        {"small_tag.mp3", 200, 5000, false},        // tag smaller than the new image
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray original = foreignTag(c.tagBytes, frames) + audioBytes;
        const QString path = writeFile(QString::fromLatin1(c.name), original);
        const ino_t inode = inodeOf(path);
        const QByteArray after = saveTitle(path, QString(c.titleLength, u't'));
        const SavedTag saved = parseSaved(after);
        ASSERT_TRUE(saved.ok);
        EXPECT_EQ(after.mid(saved.area), audioBytes);
        EXPECT_EQ(saved.find("TPE1")->body, latin1Text("Them"));
        if (c.inPlace) {
            EXPECT_EQ(after.size(), original.size());
            EXPECT_EQ(saved.area, c.tagBytes);
            EXPECT_EQ(inodeOf(path), inode);
        } else {
            EXPECT_EQ(saved.area % 2048, 0);
        }
    }
}

TEST_F(ID3v2SaveTest, AnOlderTagOfThisProgramIsRewrittenInItsOwnArea)
{
    // Plain size 00 00 08 00 over the whole 2048-byte area, as earlier versions wrote.
    const QByteArray audioBytes = audio(12);
    const QByteArray frames = frame23("TIT2", QByteArray("\0Old", 4)) + frame23("COMM", QByteArray("\0\0\0Old comment", 14))
        + frame23("USLT", QByteArray("\0\0", 2) + QByteArray(1200, 'l'));
    const QString path = writeFile("older.mp3", olderTag(frames, 2048) + audioBytes);
    clsID3v2 t;
    t.setFilename(path);
    EXPECT_EQ(t.Comment(), QStringLiteral("Old comment"));
    t.setTitle(QStringLiteral("New"));
    t.Save();
    const QByteArray after = readFile(path);
    EXPECT_EQ(after.size(), 2048 + audioBytes.size());
    EXPECT_EQ(after.mid(6, 4), syncsafe(2038));
    EXPECT_EQ(after.mid(2048), audioBytes);
    clsID3v2 r;
    r.setFilename(path);
    EXPECT_EQ(r.Title(), QStringLiteral("New"));
    EXPECT_EQ(r.Comment(), QStringLiteral("Old comment"));
    EXPECT_EQ(r.Lyrics(), QString(1200, u'l'));
}

TEST_F(ID3v2SaveTest, ZeroBytesAfterATagAreItsRoomOnlyWhenAudioFollows)
{
    const QByteArray audioBytes = audio(10);
    const QByteArray small = tag(3, frame23("TIT2", latin1Text("x")));
    const QString roomy = writeFile("roomy.mp3", small + QByteArray(3000, '\0') + audioBytes);
    const qint64 size = QFileInfo(roomy).size();
    QByteArray after = saveTitle(roomy, QString(1500, u'r'));
    EXPECT_EQ(after.size(), size);
    SavedTag saved = parseSaved(after);
    ASSERT_TRUE(saved.ok);
    EXPECT_EQ(saved.area, small.size() + 3000);
    EXPECT_EQ(after.mid(saved.area), audioBytes);

    // Zeros followed by something else are data: kept behind the new tag.
    const QByteArray other = QByteArray(64, '\0') + "fLaC" + QByteArray(500, 'f');
    const QString notRoom = writeFile("other.mp3", small + other);
    after = saveTitle(notRoom, QStringLiteral("y"));
    saved = parseSaved(after);
    ASSERT_TRUE(saved.ok);
    EXPECT_EQ(after.mid(saved.area), other);
}

TEST_F(ID3v2SaveTest, FramesNotChangedAreWrittenBackIntact)
{
    const QByteArray picture = QByteArray("\0image/jpeg\0\3Front\0", 19) + QByteArray(5000, '\xD8');
    const QByteArray compressedText = qCompress(QByteArray("\0Compressed", 11)).mid(4);
    const QList<QByteArray> keep = {
        frame23("APIC", picture),
        frame23("PCNT", bytes({0, 0, 0, 1, 7})),
        frame23("WOAR", "http://artist.example"),
        frame23("TXXX", QByteArray("\0Key\0Value", 10)),
        frame23("COMM", bytes({1}) + "deu" + utf16LE("Beschreibung") + bytes({0, 0}) + utf16LE(QStringLiteral(u"Größe"))),
        frame23("PRIV", QByteArray("owner\0", 6) + bytes({0, 1, 2, 0xFF})),
        frame23("TPE1", bytes({1}) + utf16LE(QStringLiteral(u"Ünicode"))),
        frame23("TCON", bytes({0}) + "(17)Rock", 0x40, 0), // status flag: file alter preservation
        frame23("TPE2", be32(11) + compressedText, 0, 0x80),
        frame23("TYER", latin1Text("2004")),
        frame23("TDRC", latin1Text("2004-05-06")), // not a 2.3 frame, but the file's own
    };
    QByteArray frames = frame23("TIT2", latin1Text("Old"));
    for (const QByteArray& f : keep) frames += f;
    const QString path = writeFile("keep.mp3", tag(3, frames + QByteArray(100, '\0')) + audio());
    clsID3v2 t;
    t.setFilename(path);
    EXPECT_EQ(t.id3v2_GetTagText(QStringLiteral("TPE2"), 1), QStringLiteral("Compressed"));
    t.setTitle(QString(9000, u'n')); // forces a new, larger area
    t.Save();
    const QByteArray after = readFile(path);
    const SavedTag saved = parseSaved(after);
    ASSERT_TRUE(saved.ok);
    for (const QByteArray& f : keep) EXPECT_TRUE(after.left(saved.area).contains(f)) << f.left(4).constData();
    EXPECT_EQ(after.mid(saved.area), audio());
}

// A comment edit replaces the plain comments only, in the first one's language; a lyrics
// edit replaces the lyrics shown (the last USLT frame). Every other COMM and USLT frame is
// written back byte for byte, and machine data never reaches the comment.
TEST_F(ID3v2SaveTest, CommentAndLyricsEditsKeepTheFramesTheyDoNotShow)
{
    const QByteArray norm = frame23("COMM", QByteArray("\0engiTunNORM\0 0000044E 00000000", 31));
    const QByteArray smpb = frame23("COMM", bytes({1}) + "eng" + utf16LE("iTunSMPB") + bytes({0, 0}) + utf16LE(" 00000000 00000210"));
    const QByteArray english = frame23("USLT", QByteArray("\0eng\0Hello", 10));
    const struct {
        const char* name;
        QByteArray frames;
        QString shown;                      // Comment() or Lyrics() as read
        bool lyrics;
        QList<QByteArray> kept;             // frames written back byte for byte
        QByteArray edited;                  // the body of the frame the edit writes
    } cases[] = {
        {"plain comment beside machine data", norm + frame23("COMM", QByteArray("\0fra\0old", 8)) + smpb, QStringLiteral("old"),
         false, {norm, smpb}, QByteArray("\0fra\0new", 8)},
        {"two plain comments, one without a language", frame23("COMM", QByteArray("\0\0\0old", 6)) + norm + frame23("COMM", QByteArray("\0deu\0zwei", 9)),
         QStringLiteral("old") + QChar(0) + QStringLiteral("\r\nzwei"), false, {norm}, QByteArray("\0eng\0new", 8)},
        {"lyrics in two languages", english + frame23("USLT", QByteArray("\0deu\0Hallo", 10)), QStringLiteral("Hallo"), true, {english},
         QByteArray("\0deu\0new", 8)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = writeFile("comments.mp3", tag(3, frame23("TIT2", latin1Text("T")) + c.frames) + audio());
        clsID3v2 t;
        t.setFilename(path);
        EXPECT_EQ(c.lyrics ? t.Lyrics() : t.Comment(), c.shown);
        if (c.lyrics) t.setLyrics(QStringLiteral("new"));
        else t.setComment(QStringLiteral("new"));
        t.Save();
        const QByteArray after = readFile(path);
        const SavedTag saved = parseSaved(after);
        ASSERT_TRUE(saved.ok);
        for (const QByteArray& f : c.kept) EXPECT_TRUE(after.left(saved.area).contains(f)) << f.toStdString();
        QList<QByteArray> written;
        for (const SavedFrame& f : saved.frames)
            if (f.id == (c.lyrics ? "USLT" : "COMM")) written << f.raw;
        EXPECT_EQ(written.size(), c.kept.size() + 1);
        EXPECT_TRUE(written.contains(frame23(c.lyrics ? "USLT" : "COMM", c.edited)));
        clsID3v2 r;
        r.setFilename(path);
        EXPECT_EQ(c.lyrics ? r.Lyrics() : r.Comment(), QStringLiteral("new"));
    }
}

// Each version 2.2 frame in its version 2.3 form, and nothing a reference reader finds in
// the old tag missing from the new one.
TEST_F(ID3v2SaveTest, Version22FramesAreSavedInTheirVersion23Form)
{
    const struct {
        const char* id22;
        QByteArray body22;
        const char* id23;
        QByteArray body23;
    } rows[] = {
        {"TT2", latin1Text("Two"), "TIT2", latin1Text("Two")},
        {"COM", QByteArray("\0eng\0Comment", 12), "COMM", QByteArray("\0eng\0Comment", 12)},
        {"PIC", QByteArray("\0JPG\3Cover\0", 11) + bytes({0xFF, 0xD8, 0xFF}), "APIC",
         QByteArray("\0image/jpeg\0\3Cover\0", 19) + bytes({0xFF, 0xD8, 0xFF})},
        {"ULT", QByteArray("\0eng\0Words", 10), "USLT", QByteArray("\0eng\0Words", 10)},
        // Frames of tagging programs beyond version 2.2's list (older iTunes versions).
        {"TCP", latin1Text("1"), "TCMP", latin1Text("1")},
        {"TST", latin1Text("Two, The"), "XSOT", latin1Text("Two, The")},
        {"TSP", latin1Text("Artist, The"), "XSOP", latin1Text("Artist, The")},
        {"TSA", latin1Text("Album, The"), "XSOA", latin1Text("Album, The")},
        {"TS2", bytes({1}) + utf16LE(QStringLiteral(u"Älbum Artist")), "TSO2", bytes({1}) + utf16LE(QStringLiteral(u"Älbum Artist"))},
        {"TSC", latin1Text("Composer, The"), "TSOC", latin1Text("Composer, The")},
        {"GP1", latin1Text("Group"), "GRP1", latin1Text("Group")},
        {"MVN", latin1Text("Allegro"), "MVNM", latin1Text("Allegro")},
        {"MVI", latin1Text("2"), "MVIN", latin1Text("2")},
    };
    QByteArray frames;
    for (const auto& r : rows) frames += frame22(r.id22, r.body22);
    const QString path = writeFile("v22.mp3", tag(2, frames) + audio());
    const reference::Frames before = reference::python().isEmpty() ? reference::Frames() : reference::read(path);
    clsID3v2 t;
    t.setFilename(path);
    t.setArtist(QStringLiteral("Added"));
    t.Save();
    const QByteArray after = readFile(path);
    const SavedTag saved = parseSaved(after);
    ASSERT_TRUE(saved.ok);
    EXPECT_EQ(saved.header[3], 3);
    EXPECT_EQ(saved.frames.size(), qsizetype(std::size(rows)) + 1);
    for (const auto& r : rows) {
        SCOPED_TRACE(r.id22);
        ASSERT_NE(saved.find(r.id23), nullptr);
        EXPECT_EQ(saved.find(r.id23)->body, r.body23);
    }
    EXPECT_EQ(saved.find("TPE1")->body, latin1Text("Added"));
    EXPECT_EQ(after.mid(saved.area), audio());

    SKIP_WITHOUT_REFERENCE_READER();
    const reference::Frames read = reference::read(path);
    EXPECT_EQ(read.value(QStringLiteral("version")), QStringLiteral("2.3"));
    EXPECT_EQ(before.size(), qsizetype(std::size(rows)) + 1);   // every frame and the version
    for (auto [key, fields] : before.asKeyValueRange()) {
        if (key != QLatin1String("version")) {
            EXPECT_EQ(read.value(key), fields) << key.toStdString();
        }
    }
}

TEST_F(ID3v2SaveTest, Version24FramesAreSavedInTheirVersion23Form)
{
    QByteArray frames;
    frames += frame24("TIT2", bytes({3}) + QStringLiteral(u"Ütf-8 ♪").toUtf8());
    frames += frame24("TDRC", latin1Text("2004-05-06"));
    frames += frame24("TSOP", latin1Text("Sort"));                    // kept as XSOP
    frames += frame24("TMOO", latin1Text("Calm"));                    // no 2.3 twin: kept as it was
    frames += frame24("TCON", bytes({3}) + QByteArray("Rock\0Pop", 8)); // several values
    frames += frame24("COMM", bytes({3}) + "eng" + "d" + bytes({0}) + QStringLiteral(u"Ça").toUtf8());
    const QByteArray plainData = bytes({0, 'A', 0xFF, 'B'});
    frames += frame24("TPE1", syncsafe(4) + bytes({0, 'A', 0xFF, 'B'}), 0x40, 0x01); // DLI, tag-alter flag
    frames += frame24("APIC", bytes({3}) + QByteArray("image/png\0\3", 11) + QStringLiteral(u"Bild ü").toUtf8() + bytes({0}) + "PNGDATA");
    const QString path = writeFile("v24.mp3", tag(4, frames + QByteArray(20, '\0')) + audio());
    clsID3v2 t;
    t.setFilename(path);
    t.setAlbum(QStringLiteral("Album"));
    t.Save();
    const QByteArray after = readFile(path);
    const SavedTag saved = parseSaved(after);
    ASSERT_TRUE(saved.ok);
    EXPECT_EQ(saved.find("TIT2")->body, bytes({1}) + utf16LE(QStringLiteral(u"Ütf-8 ♪")));
    EXPECT_EQ(saved.find("TYER")->body, latin1Text("2004"));
    EXPECT_EQ(saved.find("TDRC"), nullptr);
    EXPECT_EQ(saved.find("TSOP"), nullptr);
    ASSERT_NE(saved.find("XSOP"), nullptr);
    EXPECT_EQ(saved.find("XSOP")->body, latin1Text("Sort"));
    ASSERT_NE(saved.find("TDAT"), nullptr);
    EXPECT_EQ(saved.find("TDAT")->body, latin1Text("0605"));
    ASSERT_NE(saved.find("TMOO"), nullptr);
    EXPECT_EQ(saved.find("TMOO")->body, latin1Text("Calm"));
    EXPECT_EQ(saved.find("TCON")->body, latin1Text("Rock/Pop"));
    EXPECT_EQ(saved.find("COMM")->body, QByteArray("\0engd\0\xC7" "a", 8));
    EXPECT_EQ(saved.find("TPE1")->body, plainData);
    EXPECT_EQ(saved.find("TPE1")->flags, bytes({0x80, 0}));
    EXPECT_EQ(saved.find("APIC")->body, QByteArray("\0image/png\0\3Bild \xFC\0PNGDATA", 26));
    EXPECT_EQ(saved.find("TALB")->body, latin1Text("Album"));
    EXPECT_EQ(after.mid(saved.area), audio());

    // A year set by the caller replaces the recording time's year.
    t.setYear(QStringLiteral("1999"));
    t.Save();
    const SavedTag again = parseSaved(readFile(path));
    int years = 0;
    for (const SavedFrame& f : again.frames) years += f.id == "TYER";
    EXPECT_EQ(years, 1);
    EXPECT_EQ(again.find("TYER")->body, latin1Text("1999"));
}

// Dates as a reference reader reads them after a save. A year comes only from a timestamp; a
// date text that is not one is kept whole, in its own frame. A year edited replaces every
// frame the old year was read from, with the old day and time; an original date stays.
TEST_F(ID3v2SaveTest, DatesSurviveASaveAndAYearEditLeavesOneDate)
{
    SKIP_WITHOUT_REFERENCE_READER();
    const QByteArray title24 = frame24("TIT2", latin1Text("Title"));
    const QByteArray title23 = frame23("TIT2", latin1Text("Title"));
    const QByteArray dated23 = title23 + frame23("TYER", latin1Text("1987")) + frame23("TDAT", latin1Text("3103")) + frame23("TIME", latin1Text("1200"));
    const struct {
        const char* name;
        QByteArray tag;
        const char* year;       // the year set, or none: the title is set
        const char* yearRead;   // Year() of the saved tag
        const char* recorded;   // the reference reader's recording time (a text it cannot parse it shows empty)
        QList<QByteArray> kept; // frames the saved tag holds as they are
        QList<QByteArray> gone; // IDs it no longer holds
    } rows[] = {
        {"a recording time that is not a timestamp", tag(4, title24 + frame24("TDRC", latin1Text("Oct 3, 1995"))), nullptr, "", "",
         {frame23("TDRC", latin1Text("Oct 3, 1995"))}, {"TYER"}},
        {"an original date that is not a timestamp", tag(4, title24 + frame24("TDOR", latin1Text("Oct 1995"))), nullptr, "", nullptr,
         {frame23("TDOR", latin1Text("Oct 1995"))}, {"TORY", "TYER"}},
        {"a 2.3 tag's recording time, year edited", tag(3, title23 + frame23("TDRC", latin1Text("1998"))), "1999", "1999", "1999",
         {frame23("TYER", latin1Text("1999"))}, {"TDRC"}},
        {"year, day and time, year edited", tag(3, dated23 + frame23("TORY", latin1Text("1980"))), "1999", "1999", "1999",
         {frame23("TYER", latin1Text("1999")), frame23("TORY", latin1Text("1980"))}, {"TDAT", "TIME"}},
        {"a date text that is not a timestamp, year edited", tag(4, title24 + frame24("TDRC", latin1Text("Oct 3, 1995"))), "1999", "1999", "1999",
         {frame23("TYER", latin1Text("1999"))}, {"TDRC"}},
        {"the year it has", tag(3, dated23), "1987", "1987", "1987-03-31 12:00:00", {frame23("TDAT", latin1Text("3103"))}, {}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        const QString path = writeFile("dated.mp3", r.tag + audio());
        clsID3v2 t;
        t.setFilename(path);
        if (r.year) t.setYear(QLatin1String(r.year));
        else t.setTitle(QStringLiteral("New"));
        t.Save();
        const QByteArray after = readFile(path);
        const SavedTag saved = parseSaved(after);
        ASSERT_TRUE(saved.ok);
        for (const QByteArray& f : r.kept) EXPECT_TRUE(after.left(saved.area).contains(f)) << f.left(4).constData();
        for (const QByteArray& id : r.gone) EXPECT_EQ(saved.find(id), nullptr) << id.constData();
        clsID3v2 back;
        back.setFilename(path);
        EXPECT_EQ(back.Year(), QLatin1String(r.yearRead));
        const reference::Frames read = reference::read(path);
        if (r.recorded) {
            EXPECT_EQ(read.value(QStringLiteral("TDRC")), QStringLiteral("TDRC(encoding=<Encoding.UTF8: 3>, text=['%1'])").arg(QLatin1String(r.recorded)));
        }
    }
}

// Several values of a 2.4 frame and the group of a grouped frame reach the 2.3 tag: user
// texts joined with "/", genres as references and a name that a reference reader reads back
// as the same genres, the group byte beside its GRID frame.
TEST_F(ID3v2SaveTest, SeveralValuesAndGroupsAreKeptInTheVersion23Form)
{
    SKIP_WITHOUT_REFERENCE_READER();
    const QByteArray nul(1, '\0');
    const struct {
        const char* name;
        QByteArray frame24, frame23;
    } rows[] = {
        {"user text of two values", frame24("TXXX", bytes({3}) + "MusicBrainz Artist Id" + nul + "id-one" + nul + "id-two"),
         frame23("TXXX", latin1Text("MusicBrainz Artist Id") + nul + "id-one/id-two")},
        {"a genre number and a name", frame24("TCON", bytes({3}) + "17" + nul + "Jazz"), frame23("TCON", latin1Text("(17)Jazz"))},
        {"references, then a name that begins with one", frame24("TCON", bytes({0}) + "(9)" + nul + "RX" + nul + "(Live)"),
         frame23("TCON", latin1Text("(9)(RX)((Live)"))},
        {"a grouped frame", frame24("PRIV", bytes({0x85}) + "owner" + nul + "data", 0, 0x40), frame23("PRIV", bytes({0x85}) + "owner" + nul + "data", 0, 0x20)},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        const QString path = writeFile("values.mp3", tag(4, frame24("GRID", QByteArray("http://group.example\0\x85", 22)) + r.frame24) + audio());
        const reference::Frames before = reference::read(path);
        EXPECT_TRUE(saveTitle(path, QStringLiteral("Title")).contains(r.frame23));
        const reference::Frames after = reference::read(path);
        for (auto [key, fields] : before.asKeyValueRange()) {
            // The values of a user text are one, joined as the reader's own conversion to 2.3 joins them.
            const bool joined = key.startsWith(QLatin1String("TXXX"));
            if (key != QLatin1String("version")) {
                EXPECT_EQ(after.value(key), joined ? QString(fields).replace(QLatin1String("', '"), QLatin1String("/")) : fields) << key.toStdString();
            }
        }
    }
}

// The 2.4 people involved (TIPL) and musicians (TMCL) are lists of pairs; version 2.3 has
// one such list (IPLS), which holds the pairs of both, as a reference reader reads back.
TEST_F(ID3v2SaveTest, MusicianCreditsKeepTheirPairsInTheVersion23PeopleList)
{
    const QByteArray nul(1, '\0');
    const struct {
        const char* name;
        QByteArray frames;
        QByteArray ipls;      // the body of the one IPLS frame written
        QString readBack;     // the reference reader's people list (it reads IPLS as TIPL)
    } rows[] = {
        {"musicians alone", frame24("TMCL", bytes({3}) + "guitar" + nul + "Joe"), latin1Text("guitar") + nul + "Joe" + nul,
         QStringLiteral("[['guitar', 'Joe']]")},
        {"people, then musicians",
         frame24("TIPL", bytes({3}) + "producer" + nul + "Someone") + frame24("TMCL", bytes({3}) + "guitar" + nul + "Joe" + nul + "drums" + nul + "Ann" + nul),
         latin1Text("producer") + nul + "Someone" + nul + "guitar" + nul + "Joe" + nul + "drums" + nul + "Ann" + nul,
         QStringLiteral("[['producer', 'Someone'], ['guitar', 'Joe'], ['drums', 'Ann']]")},
        {"musicians first, a name beyond Latin-1",
         frame24("TMCL", bytes({3}) + "piano" + nul + QStringLiteral(u"坂本").toUtf8()) + frame24("TIPL", bytes({0}) + "mix" + nul + "Kim"),
         bytes({1}) + utf16LE("piano") + bytes({0, 0}) + utf16LE(QStringLiteral(u"坂本")) + bytes({0, 0}) + utf16LE("mix") + bytes({0, 0})
             + utf16LE("Kim") + bytes({0, 0}),
         QStringLiteral(u"[['piano', '坂本'], ['mix', 'Kim']]")},
        {"a pair left open", frame24("TIPL", bytes({0}) + "mix") + frame24("TMCL", bytes({0}) + "bass" + nul + "Lee"),
         latin1Text("mix") + nul + nul + "bass" + nul + "Lee" + nul, QStringLiteral("[['mix', ''], ['bass', 'Lee']]")},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        const QString path = writeFile("credits.mp3", tag(4, frame24("TIT2", latin1Text("Credits")) + r.frames) + audio());
        clsID3v2 t;
        t.setFilename(path);
        t.setAlbum(QStringLiteral("Album"));
        t.Save();
        const SavedTag saved = parseSaved(readFile(path));
        ASSERT_TRUE(saved.ok);
        QList<QByteArray> lists;
        for (const SavedFrame& f : saved.frames) {
            EXPECT_NE(f.id, "TMCL");
            if (f.id == "IPLS") lists << f.body;
        }
        EXPECT_EQ(lists, QList<QByteArray>{r.ipls});
        if (reference::python().isEmpty()) continue;
        const reference::Frames read = reference::read(path);
        EXPECT_EQ(read.value(QStringLiteral("TIPL")), QStringLiteral("TIPL(encoding=<Encoding.UTF8: 3>, people=%1)").arg(r.readBack));
        EXPECT_FALSE(read.contains(QStringLiteral("TMCL")));
    }
    SKIP_WITHOUT_REFERENCE_READER();
}

// Data as unsynchronisation writes it: a zero byte after every 0xFF that a zero byte, a
// byte of 0xE0 or more, or the end follows.
QByteArray unsynchronised(const QByteArray& data)
{
    QByteArray out;
    for (qsizetype i = 0; i < data.size(); ++i) {
        out.append(data[i]);
        if (uchar(data[i]) == 0xFF && (i + 1 == data.size() || data[i + 1] == 0 || uchar(data[i + 1]) >= 0xE0)) out.append('\0');
    }
    return out;
}

// A 2.4 frame whose data this program cannot read (encrypted, or compressed beyond what it
// inflates) is kept in the 2.3 layout: the flags moved to their 2.3 places, the method
// byte, group byte and data as they were, the data length as a compressed frame's size.
// Kept beside its ENCR frame, it is written back byte for byte by every later save.
TEST_F(ID3v2SaveTest, FramesThatCannotBeReadKeepTheirBytesInTheVersion23Layout)
{
    const QByteArray secret = bytes({0x13, 0xFF, 0x00, 0x42, 0xFF, 0xF0, 0x99, 0xFF});
    const QByteArray encr = QByteArray("http://keys.example", 19) + bytes({0, 0x80}) + "key data";
    const struct {
        const char* name;
        QByteArray frame24;
        QByteArray frame23;
    } rows[] = {
        {"method and data", frame24("TIT2", bytes({0x80}) + secret, 0, 0x04), frame23("TIT2", bytes({0x80}) + secret, 0, 0x40)},
        {"data length left out", frame24("TPE1", bytes({0x80}) + syncsafe(40) + secret, 0, 0x05),
         frame23("TPE1", bytes({0x80}) + secret, 0, 0x40)},
        {"unsynchronisation undone", frame24("TALB", unsynchronised(bytes({0x80}) + syncsafe(40) + secret), 0, 0x07),
         frame23("TALB", bytes({0x80}) + secret, 0, 0x40)},
        {"the tag's unsynchronisation undone", QByteArray(), QByteArray()},   // the second tag below
        {"group byte after the method", frame24("APIC", bytes({0x05, 0x81}) + secret, 0, 0x44),
         frame23("APIC", bytes({0x81, 0x05}) + secret, 0, 0x60)},
        {"compressed and encrypted", frame24("PRIV", bytes({0x80}) + syncsafe(300) + secret, 0, 0x0D),
         frame23("PRIV", be32(300) + bytes({0x80}) + secret, 0, 0xC0)},
        {"status flags", frame24("COMM", bytes({0x80}) + secret, 0x60, 0x04), frame23("COMM", bytes({0x80}) + secret, 0xC0, 0x40)},
        {"a sort name", frame24("TSOP", bytes({0x80}) + secret, 0, 0x04), frame23("XSOP", bytes({0x80}) + secret, 0, 0x40)},
        {"compressed beyond reading", frame24("GEOB", syncsafe(5000) + "not zlib", 0, 0x09), frame23("GEOB", be32(5000) + "not zlib", 0, 0x80)},
    };
    QByteArray frames = frame24("ENCR", encr);
    for (const auto& r : rows) frames += r.frame24;
    const QString path = writeFile("encrypted.mp3", tag(4, frames + QByteArray(30, '\0')) + audio());
    // Unsynchronisation of the whole tag covers the encrypted frame too.
    const QString tagUnsync =
        writeFile("tagunsync.mp3", tag(4, frame24("TCOM", unsynchronised(bytes({0x80}) + secret), 0, 0x04) + frame24("ENCR", encr), 0x80) + audio());
    const QByteArray tagUnsyncFrame = frame23("TCOM", bytes({0x80}) + secret, 0, 0x40);

    for (const QString& p : {path, tagUnsync}) {
        clsID3v2 t;
        t.setFilename(p);
        t.setTrack(QStringLiteral("7"));
        t.Save();
        for (int save = 1; save <= 2; ++save) {
            SCOPED_TRACE(save);
            const QByteArray after = readFile(p);
            const SavedTag saved = parseSaved(after);
            ASSERT_TRUE(saved.ok);
            EXPECT_EQ(saved.header[3], 3);
            const QByteArray area = after.left(saved.area);
            EXPECT_TRUE(area.contains(frame23("ENCR", encr)));
            if (p == tagUnsync) {
                EXPECT_TRUE(area.contains(tagUnsyncFrame));
            } else {
                for (const auto& r : rows) EXPECT_TRUE(r.frame23.isEmpty() || area.contains(r.frame23)) << r.name;
                EXPECT_EQ(saved.frames.size(), qsizetype(std::size(rows)) + 1);   // ENCR, TRCK and every row but one
            }
            EXPECT_EQ(after.mid(saved.area), audio());
            // Saved again from the version 2.3 tag.
            clsID3v2 again;
            again.setFilename(p);
            again.setTrack(QStringLiteral("8"));
            again.Save();
        }
    }
}

// A frame read that no version 2.3 tag can hold stops the save: the error names the frame,
// the file keeps every byte, and no copy is left. The caller may drop the frame and save.
TEST_F(ID3v2SaveTest, AFrameThatCannotBeKeptStopsTheSaveAndIsNamed)
{
    const QByteArray secret = bytes({0x13, 0x37, 0x42});
    const struct {
        const char* name;
        QByteArray tagBytes;
        const char* named;    // the frame the message names
        const char* held;     // the ID the model holds it under
    } rows[] = {
        {"2.2 frame with no 2.3 form", tag(2, frame22("TT2", latin1Text("T")) + frame22("CRM", QByteArray("owner\0x\0data", 12))), "CRM", ""},
        {"2.2 frame nobody registered", tag(2, frame22("TT2", latin1Text("T")) + frame22("XYZ", latin1Text("x"))), "XYZ", ""},
        {"2.2 picture cut short", tag(2, frame22("TT2", latin1Text("T")) + frame22("PIC", bytes({0, 'J', 'P', 'G'}))), "PIC", "APIC"},
        {"encrypted recording time", tag(4, frame24("TIT2", latin1Text("T")) + frame24("TDRC", bytes({0x80}) + secret, 0, 0x04)), "TDRC", "TDRC"},
        {"encrypted musicians", tag(4, frame24("TMCL", bytes({0x80}) + secret, 0, 0x05)), "TMCL", "TMCL"},
        {"compressed without its data length", tag(4, frame24("TIT2", bytes({0x80}) + secret, 0, 0x0C)), "TIT2", "TIT2"},
        {"marked unsynchronised but not", tag(4, frame24("TPE3", bytes({0x80, 0xFF, 0xF0}), 0, 0x06)), "TPE3", "TPE3"},
        {"shorter than its data length", tag(4, frame24("TPE2", bytes({0, 0}), 0, 0x01)), "TPE2", "TPE2"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        const QByteArray original = r.tagBytes + audio();
        const QString path = writeFile("songs/refused.mp3", original);
        clsID3v2 t;
        t.setFilename(path);
        t.setArtist(QString(3000, u'a'));   // more than the old tag's room: a copy would be made
        try {
            t.Save();
            ADD_FAILURE() << "Save reported success";
        } catch (const veltra::MediaError& e) {
            EXPECT_EQ(e.number(), veltra::MediaError::CannotPerform);
            EXPECT_EQ(e.source(), QStringLiteral("veltra.cMP3ID3v2"));
            EXPECT_TRUE(e.description().startsWith(QStringLiteral("The ID3v2 tag cannot be saved as version 2.3 without losing its frame \"%1\", which ")
                                                       .arg(QLatin1String(r.named))))
                << e.description().toStdString();
        }
        EXPECT_EQ(readFile(path), original);
        EXPECT_EQ(folderEntries(home("songs")), QStringList{QStringLiteral("refused.mp3")});

        t.RemoveFrame(QString::fromLatin1(r.held));
        t.Save();
        clsID3v2 back;
        back.setFilename(path);
        EXPECT_EQ(back.Artist(), QString(3000, u'a'));
        EXPECT_EQ(back.TagsInFrame(QString::fromLatin1(r.held)), 0);
    }
    clsID3v2 t;
    t.setFilename(writeFile("crm.mp3", rows[0].tagBytes + audio()));
    try {
        t.Save();
    } catch (const veltra::MediaError& e) {
        EXPECT_EQ(e.description(), QStringLiteral("The ID3v2 tag cannot be saved as version 2.3 without losing its frame \"CRM\", which has no "
                                                  "version 2.3 form."));
    }
}

TEST_F(ID3v2SaveTest, FramesWithoutAVersion23FormNeverStopTheSave)
{
    const QString path = writeFile("ids.mp3", audio());
    clsID3v2 t;
    t.setFilename(path);
    t.AddTag(QString(), QStringLiteral("empty id"));
    t.AddTag(QStringLiteral("TT"), QStringLiteral("short id"));
    t.AddTag(QStringLiteral("ID3X"), QStringLiteral("skipped"));
    t.AddTag(QStringLiteral("tpe1"), QStringLiteral("lower case id"));
    t.setTitle(QStringLiteral("Saved"));
    t.Save();
    const SavedTag saved = parseSaved(readFile(path));
    ASSERT_TRUE(saved.ok);
    ASSERT_EQ(saved.frames.size(), 2);
    EXPECT_EQ(saved.frames[0].id, QByteArray("TPE1"));
    EXPECT_EQ(saved.frames[1].id, QByteArray("TIT2"));
}

TEST_F(ID3v2SaveTest, AnEmptyFileIsTagged)
{
    const QString path = writeFile("empty.mp3", QByteArray());
    EXPECT_EQ(saveTitle(path, QStringLiteral("e")).size(), 2048);
}

// ---- failures ------------------------------------------------------------------------------

void expectRaised(clsID3v2& t, int number)
{
    try {
        t.Save();
        FAIL() << "Save reported success";
    } catch (const veltra::MediaError& e) {
        EXPECT_EQ(e.source(), QStringLiteral("veltra.cMP3ID3v2"));
        if (number) {
            EXPECT_EQ(e.number(), number);
        }
    }
}

// A tag that claims more bytes than the file holds, as a download cut off inside it does, is
// never written over, also once an ID3v1 tag appended to the file makes the tag fit.
TEST_F(ID3v2SaveTest, ATagCutShortIsNeverWrittenOver)
{
    const QByteArray cut = tag(4, frame24("TIT2", latin1Text("Cut")) + frame24("APIC", QByteArray(300, '\x89'))).chopped(100);
    for (const QByteArray& file : {cut, cut + "TAG" + QByteArray(125, ' ')}) {
        clsID3v2 t;
        t.setFilename(writeFile("cut.mp3", file));
        t.setTitle(QStringLiteral("New"));
        expectRaised(t, veltra::MediaError::CannotPerform);
        EXPECT_EQ(readFile(home("cut.mp3")), file);
    }
}

// A header that announces an extended header is read as a reference reader reads it: a real
// one is skipped, one that is not there (the first frame follows the header) is not. A title
// edit keeps every other frame. A tag in which no frame is found, though it holds more than
// padding, is never written over; one whose walk stops at bytes after its frames stays editable.
TEST_F(ID3v2SaveTest, AnnouncedExtendedHeadersAreReadAsAReferenceReaderReadsThem)
{
    SKIP_WITHOUT_REFERENCE_READER();
    const QByteArray nul(1, '\0');
    const QByteArray frames23 = frame23("TIT2", latin1Text("Title")) + frame23("TPE1", latin1Text("Artist")) + frame23("TALB", latin1Text("Album"))
        + frame23("TRCK", latin1Text("3")) + frame23("TYER", latin1Text("1987")) + frame23("PRIV", QByteArray("owner") + nul + "data");
    const QByteArray frames24 = frame24("TIT2", latin1Text("Title")) + frame24("TPE1", latin1Text("Artist")) + frame24("TALB", latin1Text("Album"))
        + frame24("TDRC", latin1Text("1987-03-31")) + frame24("PRIV", QByteArray("owner") + nul + "data");
    const QByteArray pad(64, '\0');
    const struct {
        const char* name;
        QByteArray tag;
        bool readable;
    } rows[] = {
        {"2.3, the flag and no extended header", tag(3, frames23 + pad, 0x40), true},
        {"2.4, the flag and no extended header", tag(4, frames24 + pad, 0x40), true},
        {"2.3, an extended header", tag(3, be32(6) + bytes({0, 0}) + be32(64) + frames23 + pad, 0x40), true},
        {"2.3, an extended header with CRC", tag(3, be32(10) + bytes({0x80, 0}) + be32(64) + be32(0x12345678) + frames23 + pad, 0x40), true},
        {"2.4, an extended header", tag(4, syncsafe(6) + bytes({1, 0}) + frames24 + pad, 0x40), true},
        {"2.4, an extended header with flag data", tag(4, syncsafe(7) + bytes({1, 0x40, 0}) + frames24 + pad, 0x40), true},
        {"bytes after the frames", tag(3, frames23 + bytes({1, 2, 3, 4, 0, 0, 0, 9}) + pad), true},
        {"a first frame that runs past the tag", tag(3, frame23("TIT2", latin1Text("Title")).replace(4, 4, be32(5000)) + frames23.mid(16) + pad), false},
        {"2.2 marked compressed", tag(2, frame22("TT2", latin1Text("Title")) + frame22("TP1", latin1Text("Artist")), 0x40), false},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        const QString path = writeFile("extended.mp3", r.tag + audio());
        const QByteArray before = readFile(path);
        clsID3v2 t;
        t.setFilename(path);
        t.setTitle(QStringLiteral("New"));
        if (!r.readable) {
            EXPECT_EQ(t.OverwriteRefusal(), media::id3v2::unreadableText());
            expectRaised(t, veltra::MediaError::CannotPerform);
            EXPECT_EQ(readFile(path), before);
            continue;
        }
        EXPECT_TRUE(t.OverwriteRefusal().isEmpty());
        EXPECT_EQ(t.Artist(), QStringLiteral("Artist"));
        const reference::Frames read = reference::read(path);
        EXPECT_GE(read.size(), 6);
        t.Save();
        const reference::Frames after = reference::read(path);
        EXPECT_EQ(after.value(QStringLiteral("TIT2")), QStringLiteral("TIT2(encoding=<Encoding.UTF8: 3>, text=['New'])"));
        for (auto [key, fields] : read.asKeyValueRange()) {
            if (key != QLatin1String("version") && key != QLatin1String("TIT2")) {
                EXPECT_EQ(after.value(key), fields) << key.toStdString();
            }
        }
        EXPECT_TRUE(readFile(path).endsWith(audio()));
    }
}

TEST_F(ID3v2SaveTest, AFileThatCannotBeOpenedRaises)
{
    clsID3v2 t;
    t.setFilename(home("missing.mp3"));
    t.setTitle(QStringLiteral("x"));
    expectRaised(t, veltra::MediaError::FileNotFound);
    EXPECT_FALSE(QFileInfo::exists(home("missing.mp3")));

    QDir().mkpath(home("folder.mp3"));
    t.setFilename(home("folder.mp3"));
    expectRaised(t, 0);

    if (::geteuid() != 0) {
        const QString path = writeFile("readonly.mp3", audio());
        QFile::setPermissions(path, QFileDevice::ReadOwner);
        t.setFilename(path);
        t.setTitle(QStringLiteral("x"));
        expectRaised(t, veltra::MediaError::PermissionDenied);
        EXPECT_EQ(readFile(path), audio());
    }
}

// Runs `body` with the largest file this process may write limited to `bytes`.
template <typename F>
void withFileSizeLimit(rlim_t bytes, F body)
{
    struct rlimit old;
    ::getrlimit(RLIMIT_FSIZE, &old);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit lim = old;
    lim.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &lim);
    body();
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
}

TEST_F(ID3v2SaveTest, AFailedCopyLeavesTheSongWholeAndNoTemporaryFile)
{
    const QByteArray original = mp3maker::makeMp3Bytes({.title = "Before", .seconds = 8, .id3v1 = true});
    const QString path = writeFile("songs/whole.mp3", original);
    clsID3v2 t;
    t.setFilename(path);
    t.setLyrics(QString(5000, u'w'));
    withFileSizeLimit(rlim_t(original.size()), [&] { expectRaised(t, veltra::MediaError::DiskFull); });
    EXPECT_EQ(readFile(path), original);
    EXPECT_EQ(folderEntries(home("songs")), QStringList{QStringLiteral("whole.mp3")});

    // The same save succeeds without the limit.
    t.Save();
    clsID3v2 r;
    r.setFilename(path);
    EXPECT_EQ(r.Lyrics(), QString(5000, u'w'));
    EXPECT_EQ(r.Title(), QStringLiteral("Before"));
    EXPECT_EQ(folderEntries(home("songs")), QStringList{QStringLiteral("whole.mp3")});
}

TEST_F(ID3v2SaveTest, GrowingKeepsTheFileModeAndSymbolicLinks)
{
    const QString path = writeFile("real/target.mp3", audio());
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup);
    const QString link = home("link.mp3");
    ASSERT_TRUE(QFile::link(path, link));
    saveTitle(link, QStringLiteral("through the link"));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    struct stat st;
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    clsID3v2 r;
    r.setFilename(path);
    EXPECT_EQ(r.Title(), QStringLiteral("through the link"));
    EXPECT_EQ(folderEntries(home("real")), QStringList{QStringLiteral("target.mp3")});

    // A name as long as the file system allows (a long title renamed from its tags) grows too.
    const QString longName = QStringLiteral("é").repeated(125) + QStringLiteral("x.mp3");
    ASSERT_EQ(QFile::encodeName(longName).size(), 255);
    const QString named = writeFile(QStringLiteral("long/") + longName, audio());
    ASSERT_TRUE(QFile::exists(named));
    saveTitle(named, QStringLiteral("long name"));
    r.setFilename(named);
    EXPECT_EQ(r.Title(), QStringLiteral("long name"));
    EXPECT_EQ(folderEntries(home("long")), QStringList{longName});
}

} // namespace

namespace {

QString probeTags(const QString& path)
{
    QProcess p;
    p.start(QStandardPaths::findExecutable(QStringLiteral("ffprobe")),
            {"-v", "error", "-show_entries", "format_tags=title,artist,album,date:format=duration", "-of", "default=nw=1", path});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

TEST_F(ID3v2SaveTest, TagsWrittenByAnEncoderReadAndSurviveASave)
{
    const QString ffmpeg = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
    if (ffmpeg.isEmpty() || QStandardPaths::findExecutable(QStringLiteral("ffprobe")).isEmpty())
        GTEST_SKIP() << "ffmpeg is not installed";
    for (const char* version : {"3", "4"}) {
        SCOPED_TRACE(version);
        const QString path = home(QStringLiteral("enc%1.mp3").arg(QLatin1String(version)));
        QProcess p;
        p.start(ffmpeg, {"-v", "error", "-y", "-f", "lavfi", "-i", "sine=frequency=330:duration=9", "-ac", "2",
                         "-codec:a", "libmp3lame", "-b:a", "128k", "-id3v2_version", version,
                         "-metadata", QStringLiteral(u"title=Grüße ♪"), "-metadata", "artist=Encoder Artist",
                         "-metadata", "date=2011", path});
        ASSERT_TRUE(p.waitForFinished(60000));
        ASSERT_EQ(p.exitCode(), 0);
        media_ReadMP3Info(path);
        const QString duration = MP3Duration();
        const QByteArray original = readFile(path);

        clsID3v2 t;
        t.setFilename(path);
        EXPECT_EQ(t.ID3v2TagVersion(), QByteArray(version).toInt());
        EXPECT_EQ(t.Title(), QStringLiteral(u"Grüße ♪"));
        EXPECT_EQ(t.Artist(), QStringLiteral("Encoder Artist"));
        EXPECT_EQ(t.Year(), QStringLiteral("2011"));
        const qint64 audioStart = MP3Info.AudioStart;
        t.setAlbum(QStringLiteral(u"Album ✓"));
        t.Save();

        const QString tags = probeTags(path);
        EXPECT_TRUE(tags.contains(QStringLiteral(u"TAG:title=Grüße ♪"))) << tags.toStdString();
        EXPECT_TRUE(tags.contains(QStringLiteral("TAG:artist=Encoder Artist"))) << tags.toStdString();
        EXPECT_TRUE(tags.contains(QStringLiteral(u"TAG:album=Album ✓"))) << tags.toStdString();
        EXPECT_TRUE(tags.contains(QStringLiteral("TAG:date=2011"))) << tags.toStdString();
        media_ReadMP3Info(path);
        EXPECT_EQ(MP3Duration(), duration);
        const QByteArray after = readFile(path);
        EXPECT_EQ(after.mid(MP3Info.AudioStart), original.mid(audioStart));
    }
}

} // namespace

namespace {

// A tag whose size read as published ends where other bytes follow (a second tag, junk),
// with audio at the end the older plain reading of the same size bytes gives: the bytes
// after the published end are the file's and a save keeps every one of them.
TEST_F(ID3v2SaveTest, BytesAfterThePublishedEndAreNeverWrittenOver)
{
    struct Case {
        QString name;
        QByteArray file;
        qint64 publishedEnd;
    };
    QList<Case> cases;
    {
        // 00 00 10 00: 2048 published, 4096 plain; a second tag, then audio from 4096 on
        QByteArray first = frame23("TIT2", latin1Text("First")) + frame23("TPE1", latin1Text("Artist"));
        first.append(QByteArray(2048 - first.size(), '\0'));
        QByteArray second = tag(3, frame23("TIT2", latin1Text("Second")) + QByteArray(500, '\0'));
        QByteArray file = tag(3, first) + second;
        file.append(QByteArray(4096 - file.size(), '\0'));
        cases.append({QStringLiteral("second tag"), file + audio(116), 2058});
    }
    {
        // a size byte of 0x80 or more has only the plain reading, 0x0C80, whose end falls
        // inside the audio that starts at 2048: no byte of that audio is the tag's
        QByteArray frames = frame23("TIT2", latin1Text("First"));
        frames.append(QByteArray(2048 - 10 - frames.size(), '\0'));
        const QByteArray file = QByteArray("ID3\x03\x00\x00\x00\x00\x0C\x80", 10) + frames + audio(8);
        cases.append({QStringLiteral("plain size inside the audio"), file, 2048});
        // 0x09A1 ends just where the second audio frame starts: audio follows, but no earlier
        // version wrote an area that is not a multiple of 2048
        QByteArray onAFrame = file;
        onAFrame[9] = '\xA1';
        onAFrame[8] = '\x09';
        cases.append({QStringLiteral("plain size on an audio frame"), onAFrame, 2048});
    }
    for (int k = 1; k <= 8; ++k) {
        QByteArray frames = frame23("TIT2", latin1Text("Junk follows"));
        frames.append(QByteArray(k * 1024 - frames.size(), '\0'));
        QByteArray file = tag(3, frames);
        const qint64 plainEnd = 2048 * k;
        for (qint64 i = file.size(); i < plainEnd; ++i) file.append(char(0x21 + (i * 7) % 90));
        cases.append({QStringLiteral("junk after %1").arg(k * 1024), file + audio(20), 10 + k * 1024});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        const QString path = writeFile(QStringLiteral("s.mp3"), c.file);
        clsID3v2 t;
        t.setFilename(path);
        EXPECT_TRUE(t.Title() == QStringLiteral("First") || t.Title() == QStringLiteral("Junk follows"));
        t.setAlbum(QStringLiteral("New album"));
        t.Save();
        const QByteArray after = readFile(path);
        EXPECT_TRUE(after.endsWith(c.file.mid(c.publishedEnd)));
        clsID3v2 r;
        r.setFilename(path);
        EXPECT_EQ(r.Album(), QStringLiteral("New album"));
        EXPECT_EQ(r.Title(), t.Title());
    }
}

// Frames with IDs that are not upper-case letters and digits are another program's: every
// frame after them is read, and a save writes all of them back byte for byte.
TEST_F(ID3v2SaveTest, FramesWithOddIdsAreKeptWithEveryFrameAfterThem)
{
    const QByteArray picture = QByteArray("\0image/png\0\3\0", 13) + QByteArray(3000, '\x89');
    const QByteArray odd = frame23("TXX ", latin1Text("odd"));
    const QByteArray lower = frame23("priv", QByteArray("x\0y", 3));
    const QByteArray artist = frame23("TPE1", latin1Text("The Artist"));
    const QByteArray apic = frame23("APIC", picture);
    const QString path =
        writeFile("odd.mp3", tag(3, frame23("TIT2", latin1Text("Title")) + odd + lower + artist + apic + QByteArray(64, '\0')) + audio());
    clsID3v2 t;
    t.setFilename(path);
    EXPECT_EQ(t.Artist(), QStringLiteral("The Artist"));
    t.setAlbum(QStringLiteral("Album"));
    t.Save();
    const QByteArray after = readFile(path);
    const SavedTag saved = parseSaved(after);
    ASSERT_TRUE(saved.ok);
    for (const QByteArray& f : {odd, lower, artist, apic}) EXPECT_TRUE(after.left(saved.area).contains(f)) << f.left(4).constData();
    clsID3v2 r;
    r.setFilename(path);
    EXPECT_EQ(r.Artist(), QStringLiteral("The Artist"));
    EXPECT_EQ(r.Album(), QStringLiteral("Album"));
    EXPECT_EQ(r.TagsInFrame(QStringLiteral("APIC")), 1);
    EXPECT_EQ(after.mid(saved.area), audio());
}

// Another program appends to the song while the grown tag's copy is made: the copy would
// lack those bytes, so it never takes the song's place.
TEST_F(ID3v2SaveTest, ASongChangedDuringTheCopyIsLeftAsTheOtherProgramMadeIt)
{
    const QByteArray original = mp3maker::makeMp3Bytes({.title = "Before", .seconds = 4});
    const QString path = writeFile("songs/busy.mp3", original);
    clsID3v2 t;
    t.setFilename(path);
    t.setLyrics(QString(5000, u'w'));   // no room: the tag grows through a copy
    media::id3v2::setCopyFinishedHook([&] {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::Append));
        f.write("appended by another program");
    });
    expectRaised(t, 0);
    media::id3v2::setCopyFinishedHook(nullptr);
    EXPECT_EQ(readFile(path), original + "appended by another program");
    EXPECT_EQ(folderEntries(home("songs")), QStringList{QStringLiteral("busy.mp3")});
}

// A save killed while its copy was made leaves the copy; the next save in that folder removes
// it. Files of a similar name that this program did not leave stay: other content, another
// name, a link, a file with a second name, a copy a running save holds.
TEST_F(ID3v2SaveTest, ACopyLeftByAKilledSaveIsRemovedByTheNextSaveInItsFolder)
{
    const QByteArray header("ID3\3\0\0\0\0\x10\0", 10);
    const QStringList foreign = {QStringLiteral(".veltra-tag-Ab12Cd"), QStringLiteral(".veltra-tag-Ab12C"), QStringLiteral(".veltra-tag-Ab12Cd7"),
                                 QStringLiteral("x.veltra-tag-Ab12Cd"), QStringLiteral(".veltra-tag-Link01"), QStringLiteral(".veltra-tag-Hard01"),
                                 QStringLiteral(".veltra-tag-Held01"), QStringLiteral("hard")};
    writeFile("songs/.veltra-tag-Ab12Cd", "another program's data");
    for (const char* name : {"songs/.veltra-tag-Ab12C", "songs/.veltra-tag-Ab12Cd7", "songs/x.veltra-tag-Ab12Cd", "songs/hard"})
        writeFile(name, header);
    QFile::link(home("songs/hard"), home("songs/.veltra-tag-Link01"));
    ASSERT_EQ(::link(QFile::encodeName(home("songs/hard")).constData(), QFile::encodeName(home("songs/.veltra-tag-Hard01")).constData()), 0);
    const QString held = writeFile("songs/.veltra-tag-Held01", header);
    const int holder = ::open(QFile::encodeName(held).constData(), O_RDONLY);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);

    const QByteArray song = mp3maker::makeMp3Bytes({.title = "Song", .seconds = 2});
    const QString killed = writeFile("songs/killed.mp3", song);
    const pid_t child = ::fork();
    if (child == 0) {
        clsID3v2 t;
        t.setFilename(killed);
        t.setLyrics(QString(5000, u'w'));   // no room: the tag grows through a copy
        media::id3v2::setCopyFinishedHook([] { ::kill(::getpid(), SIGKILL); });
        t.Save();
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(readFile(killed), song);
    const QStringList before = folderEntries(home("songs"));
    ASSERT_EQ(before.size(), foreign.size() + 2) << before.join(u' ').toStdString();   // the song and the copy left

    const QString next = writeFile("songs/next.mp3", song);
    saveTitle(next, QStringLiteral("Next"));
    QStringList expected = foreign + QStringList{QStringLiteral("killed.mp3"), QStringLiteral("next.mp3")};
    expected.sort();
    EXPECT_EQ(folderEntries(home("songs")).join(u' ').toStdString(), expected.join(u' ').toStdString());
    EXPECT_EQ(readFile(killed), song);
    ::close(holder);
}

} // namespace
