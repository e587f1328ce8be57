// Reading ID3v2 tags of versions 2.2, 2.3 and 2.4 from hand-built bytes, the tag model,
// and where a tag is taken to be.
#include "media/MediaError.h"
#include "media/clsID3v2.h"
#include "media/modMedia.h"
#include "support/Mp3Maker.h"
#include "support/TestEnv.h"
#include "TagBytes.h"

using namespace tagbytes;

namespace {

class ID3v2ReadTest : public VeltraTest {
protected:
    clsID3v2 read(const QByteArray& bytes, const char* name = "song.mp3")
    {
        clsID3v2 t;
        t.setFilename(writeFile(QString::fromLatin1(name), bytes));
        return t;
    }
};

const QString kNulCrLf = QChar(0) + QStringLiteral("\r\n");

TEST_F(ID3v2ReadTest, Version23WithUtf16TextsPictureExtendedHeaderAndPadding)
{
    const QByteArray png = bytes({0x89, 'P', 'N', 'G', 0, 0, 0xFF, 0xFB, 0x90, 0x64, 0, 1, 2, 3});
    QByteArray frames;
    frames += frame23("TIT2", bytes({1}) + utf16LE(QStringLiteral(u"Grüße 東京")) + bytes({0, 0}));
    frames += frame23("TPE1", bytes({1}) + utf16BE(QStringLiteral("Big Endian"), true));
    frames += frame23("TALB", QByteArray("\0Caf\xE9 \x80", 7));
    frames += frame23("TYER", latin1Text("1987"));
    frames += frame23("TRCK", latin1Text("3/12"));
    frames += frame23("COMM", bytes({1}) + "eng" + utf16LE("") + bytes({0, 0}) + utf16LE(QStringLiteral(u"Hello ✓")));
    frames += frame23("COMM", QByteArray("\0deu", 4) + bytes({0}) + "Zweiter");
    frames += frame23("USLT", QByteArray("\0eng", 4) + bytes({0}) + "Line1\r\nLine2");
    frames += frame23("APIC", QByteArray("\0image/png\0\3cover\0", 18) + png);
    frames += frame23("WOAR", "http://artist.example");
    frames += frame23("WCOM", "http://buy.example");
    frames += frame23("WOAF", "http://audio.example");
    frames += frame23("WXXX", QByteArray("\0home\0http://x.example", 22));
    frames += frame23("PCNT", bytes({0, 0, 1, 2}));
    frames += frame23("TENC", latin1Text("Encoder"));
    frames += frame23("TCOP", latin1Text("(c) Someone"));
    frames += frame23("TCOM", latin1Text("Composer"));
    frames += frame23("TOPE", latin1Text("Original"));
    // Extended header with CRC: size 10, flags 80 00, padding size, CRC.
    const QByteArray extended = be32(10) + bytes({0x80, 0}) + be32(500) + be32(0x12345678);
    const QByteArray data = extended + frames + QByteArray(500, '\0');
    const clsID3v2 t = read(tag(3, data, 0x40) + audio());

    EXPECT_TRUE(t.HasID3v2Tag());
    EXPECT_EQ(t.TagPosition(), 4);
    EXPECT_EQ(t.ID3v2TagVersion(), 3);
    EXPECT_EQ(t.TagVersion(), 3);
    EXPECT_EQ(t.Title(), QStringLiteral(u"Grüße 東京"));
    EXPECT_EQ(t.Artist(), QStringLiteral("Big Endian"));
    EXPECT_EQ(t.Album(), QStringLiteral(u"Café €"));
    EXPECT_EQ(t.Year(), QStringLiteral("1987"));
    EXPECT_EQ(t.Track(), QStringLiteral("3/12"));
    EXPECT_EQ(t.Comment(), QStringLiteral(u"Hello ✓") + kNulCrLf + QStringLiteral("Zweiter"));
    EXPECT_EQ(t.Lyrics(), QStringLiteral("Line1\r\nLine2"));
    EXPECT_EQ(t.ArtistURL(), QStringLiteral("http://artist.example"));
    EXPECT_EQ(t.BuyURL(), QStringLiteral("http://buy.example"));
    EXPECT_EQ(t.AudioURL(), QStringLiteral("http://audio.example"));
    EXPECT_EQ(t.LinkTo(), QStringLiteral("http://x.example"));
    EXPECT_EQ(t.PlayCounter(), QStringLiteral("258"));
    EXPECT_EQ(t.EncodedBy(), QStringLiteral("Encoder"));
    EXPECT_EQ(t.Copyright(), QStringLiteral("(c) Someone"));
    EXPECT_EQ(t.Composer(), QStringLiteral("Composer"));
    EXPECT_EQ(t.OriginalArtist(), QStringLiteral("Original"));

    EXPECT_EQ(t.FrameCount(), 17); // two COMM frames under one ID
    EXPECT_EQ(t.Frame(1), QStringLiteral("TIT2"));
    EXPECT_EQ(t.Frame(8), QStringLiteral("APIC"));
    EXPECT_EQ(t.TagsInFrame(QStringLiteral("COMM")), 2);
    EXPECT_EQ(t.TagsInFrame(QStringLiteral("comm")), 2); // IDs compare without letter case
    EXPECT_EQ(t.id3v2_GetTagText(QStringLiteral("COMM"), 2), QStringLiteral("Zweiter"));
    EXPECT_EQ(t.id3v2_GetTagText(QStringLiteral("APIC"), 1).left(9), QStringLiteral("image/png"));
}

TEST_F(ID3v2ReadTest, Version24WithUtf8SyncsafeSizesFooterAndFrameFlags)
{
    const QString longTitle = QString(200, u'é') + QStringLiteral("end"); // 403 bytes of UTF-8
    QByteArray frames;
    frames += frame24("TIT2", bytes({3}) + longTitle.toUtf8());
    frames += frame24("TDRC", latin1Text("2004-05-06T10:00"));
    frames += frame24("TCON", bytes({3}) + QByteArray("Rock\0Pop", 8));
    // Unsynchronised frame with a data length indicator: U+00FF in UTF-16LE is FF 00,
    // stored as FF 00 00.
    const QByteArray plainData = bytes({1, 0xFF, 0xFE, 'A', 0, 0xFF, 0, 'B', 0});
    QByteArray unsynced = bytes({1, 0xFF, 0, 0xFE, 'A', 0, 0xFF, 0, 0, 'B', 0});
    frames += frame24("TPE1", syncsafe(quint32(plainData.size())) + unsynced, 0, 0x03);
    frames += frame24("COMM", bytes({3}) + "eng" + bytes({0}) + QStringLiteral(u"Grüße").toUtf8());
    frames += frame24("TALB", bytes({2}) + utf16BE(QStringLiteral("Album BE")));
    const QByteArray extended = syncsafe(6) + bytes({1, 0});
    const QByteArray data = extended + frames + QByteArray(300, '\0');
    QByteArray bytes24 = tag(4, data, 0x50);
    bytes24 += QByteArray("3DI") + tagbytes::bytes({4, 0, 0x50}) + syncsafe(quint32(data.size()));
    const clsID3v2 t = read(bytes24 + audio());

    EXPECT_EQ(t.ID3v2TagVersion(), 4);
    EXPECT_EQ(t.Title(), longTitle);
    EXPECT_EQ(t.Artist(), QStringLiteral(u"AÿB"));
    EXPECT_EQ(t.Comment(), QStringLiteral(u"Grüße"));
    EXPECT_EQ(t.Album(), QStringLiteral("Album BE"));
    EXPECT_EQ(t.id3v2_GetTagText(QStringLiteral("TCON"), 1), QStringLiteral("Rock/Pop"));
    // No TYER: the year is the start of the recording time.
    EXPECT_EQ(t.Year(), QStringLiteral("2004"));
    EXPECT_EQ(t.Frame(2), QStringLiteral("TDRC"));

    // The footer belongs to the tag: the audio starts after it.
    media_ReadMP3Info(home("song.mp3"));
    EXPECT_EQ(MP3Info.AudioStart, bytes24.size());
}

TEST_F(ID3v2ReadTest, Version24YearPrefersTyer)
{
    QByteArray frames = frame24("TDRC", latin1Text("2004")) + frame24("TYER", latin1Text("1999"));
    EXPECT_EQ(read(tag(4, frames) + audio()).Year(), QStringLiteral("1999"));
}

TEST_F(ID3v2ReadTest, Version24PlainFrameSizesOfOlderWritersStillRead)
{
    // A 256-byte frame whose size some writers stored as plain 00 00 01 00 (read as
    // syncsafe: 128, which lands inside the frame).
    const QByteArray body = latin1Text(QByteArray(255, 'x').constData());
    QByteArray frames = QByteArray("TIT2") + be32(256) + bytes({0, 0}) + body + frame24("TPE1", latin1Text("After"));
    const clsID3v2 t = read(tag(4, frames + QByteArray(50, '\0')) + audio());
    EXPECT_EQ(t.Title(), QString(255, u'x'));
    EXPECT_EQ(t.Artist(), QStringLiteral("After"));
}

TEST_F(ID3v2ReadTest, Version22FramesMapToVersion23)
{
    QByteArray frames;
    frames += frame22("TT2", latin1Text("Two Two"));
    frames += frame22("TP1", latin1Text("Artist 22"));
    frames += frame22("COM", QByteArray("\0eng\0Comment 22", 15));
    frames += frame22("TYE", latin1Text("1998"));
    frames += frame22("PIC", QByteArray("\0JPG\3\0", 6) + bytes({0xFF, 0xD8, 0xFF, 0xE0}));
    frames += frame22("XYZ", latin1Text("no 2.3 form"));
    const clsID3v2 t = read(tag(2, frames + QByteArray(100, '\0')) + audio());

    EXPECT_EQ(t.ID3v2TagVersion(), 2);
    EXPECT_EQ(t.Title(), QStringLiteral("Two Two"));
    EXPECT_EQ(t.Artist(), QStringLiteral("Artist 22"));
    EXPECT_EQ(t.Comment(), QStringLiteral("Comment 22"));
    EXPECT_EQ(t.Year(), QStringLiteral("1998"));
    EXPECT_EQ(t.FrameCount(), 6);
    EXPECT_EQ(t.Frame(5), QStringLiteral("APIC"));
    // An ID with no version 2.3 form is held under the empty ID.
    EXPECT_EQ(t.Frame(6), QString());
    EXPECT_EQ(t.id3v2_GetTagText(QString(), 1), QStringLiteral("no 2.3 form"));
}

TEST_F(ID3v2ReadTest, TitleAndPictureOfATitleAndPictureTag)
{
    QByteArray frames = frame22("TT2", latin1Text("Only")) + frame22("PIC", QByteArray("\0PNG\0\0", 6) + "data");
    const clsID3v2 t = read(tag(2, frames) + audio());
    EXPECT_EQ(t.Title(), QStringLiteral("Only"));
    EXPECT_EQ(t.FrameCount(), 2);
    EXPECT_EQ(t.Frame(2), QStringLiteral("APIC"));
}

TEST_F(ID3v2ReadTest, TagLevelUnsynchronisationIsUndone)
{
    // TIT2 "ÿx" in UTF-16LE: 01 FF FE FF 00 78 00; unsynchronised every FF 00 gains a 00
    // and FF FE would need none.
    QByteArray frame = frame23("TIT2", bytes({1, 0xFF, 0xFE, 0xFF, 0x00, 0x78, 0x00}));
    QByteArray stored;
    for (int i = 0; i < frame.size(); ++i) {
        stored.append(frame[i]);
        if (uchar(frame[i]) == 0xFF && (i + 1 == frame.size() || uchar(frame[i + 1]) == 0 || uchar(frame[i + 1]) >= 0xE0))
            stored.append('\0');
    }
    const clsID3v2 t = read(tag(3, stored + QByteArray(20, '\0'), 0x80) + audio());
    EXPECT_EQ(t.Title(), QStringLiteral(u"ÿx"));
}

TEST_F(ID3v2ReadTest, TextEncodingsAndTheirTerminators)
{
    QByteArray frames;
    frames += frame23("TIT2", QByteArray("\0Win\x93" "dows\x94\0", 11)); // terminator dropped
    frames += frame23("TPE1", bytes({1}) + utf16LE("No BOM", false) + bytes({0, 0}));
    frames += frame23("TALB", bytes({3}) + bytes({0xEF, 0xBB, 0xBF}) + QStringLiteral(u"Ünïcödé").toUtf8() + bytes({0}));
    frames += frame23("TRCK", bytes({2}) + utf16BE("7"));
    const clsID3v2 t = read(tag(3, frames) + audio());
    EXPECT_EQ(t.Title(), QStringLiteral(u"Win“dows”"));
    EXPECT_EQ(t.Artist(), QStringLiteral("No BOM"));
    EXPECT_EQ(t.Album(), QStringLiteral(u"Ünïcödé"));
    EXPECT_EQ(t.Track(), QStringLiteral("7"));
}

TEST_F(ID3v2ReadTest, OlderLayoutsOfCommentLyricsUrlsAndCounterStillRead)
{
    // What earlier versions of the program wrote: an encoding byte before everything, NUL
    // bytes instead of a language code, the counter as decimal text.
    QByteArray frames;
    frames += frame23("COMM", QByteArray("\0\0\0Old comment", 14));
    frames += frame23("USLT", QByteArray("\0\0Old lyrics", 12));
    frames += frame23("WOAR", QByteArray("\0http://old.example", 19));
    frames += frame23("WXXX", QByteArray("\0http://link.example", 20));
    frames += frame23("PCNT", QByteArray("\0" "42", 3));
    const clsID3v2 t = read(tag(3, frames) + audio());
    EXPECT_EQ(t.Comment(), QStringLiteral("Old comment"));
    EXPECT_EQ(t.Lyrics(), QStringLiteral("Old lyrics"));
    EXPECT_EQ(t.ArtistURL(), QStringLiteral("http://old.example"));
    EXPECT_EQ(t.LinkTo(), QStringLiteral("http://link.example"));
    EXPECT_EQ(t.PlayCounter(), QStringLiteral("42"));

    // A larger counter of the older kind, and a binary one of five bytes.
    clsID3v2 u = read(tag(3, frame23("PCNT", QByteArray("\0" "123456", 7))) + audio(), "u.mp3");
    EXPECT_EQ(u.PlayCounter(), QStringLiteral("123456"));
    clsID3v2 v = read(tag(3, frame23("PCNT", bytes({1, 0, 0, 0, 0}))) + audio(), "v.mp3");
    EXPECT_EQ(v.PlayCounter(), QStringLiteral("4294967296"));
}

TEST_F(ID3v2ReadTest, TheModelFollowsTheFramesRead)
{
    QByteArray frames = frame23("COMM", QByteArray("\0eng\0A", 6)) + frame23("TIT2", latin1Text("First"))
        + frame23("COMM", QByteArray("\0eng\0B", 6)) + frame23("TIT2", latin1Text("Second"));
    clsID3v2 t = read(tag(3, frames) + audio());
    EXPECT_EQ(t.Comment(), QStringLiteral("A") + kNulCrLf + QStringLiteral("B"));
    EXPECT_EQ(t.Title(), QStringLiteral("Second"));
    EXPECT_EQ(t.TagsInFrame(QStringLiteral("TIT2")), 2);
    EXPECT_EQ(t.Frame(1), QStringLiteral("COMM"));
    EXPECT_EQ(t.TagsInFrame(QStringLiteral("TXXX")), 0);

    // Setting a property leaves one entry under its ID.
    t.setTitle(QStringLiteral("One"));
    t.setTitle(QStringLiteral("Two"));
    EXPECT_EQ(t.TagsInFrame(QStringLiteral("TIT2")), 1);
    EXPECT_EQ(t.id3v2_GetTagText(QStringLiteral("TIT2"), 1), QStringLiteral("Two"));
    EXPECT_EQ(t.Title(), QStringLiteral("Two"));
    EXPECT_EQ(t.Frame(2), QStringLiteral("TIT2")); // moved behind COMM

    // RemoveTag renumbers the entries after it; removing the last removes the ID.
    t.AddTag(QStringLiteral("TXXX"), QStringLiteral("a"));
    t.AddTag(QStringLiteral("txxx"), QStringLiteral("b"));
    t.AddTag(QStringLiteral("TXXX"), QStringLiteral("c"));
    t.RemoveTag(QStringLiteral("TXXX"), 2);
    EXPECT_EQ(t.TagsInFrame(QStringLiteral("TXXX")), 2);
    EXPECT_EQ(t.id3v2_GetTagText(QStringLiteral("TXXX"), 2), QStringLiteral("c"));
    t.RemoveTag(QStringLiteral("TXXX"), 5); // nothing there: nothing happens
    EXPECT_EQ(t.TagsInFrame(QStringLiteral("TXXX")), 2);
    t.RemoveTag(QStringLiteral("TXXX"), 1);
    t.RemoveTag(QStringLiteral("TXXX"), 1);
    EXPECT_EQ(t.TagsInFrame(QStringLiteral("TXXX")), 0);
    EXPECT_EQ(t.FrameCount(), 2);

    t.RemoveFrame(QStringLiteral("comm"));
    EXPECT_EQ(t.FrameCount(), 1);
}

TEST_F(ID3v2ReadTest, ErrorsCarryTheClassSource)
{
    clsID3v2 t = read(tag(3, frame23("TIT2", latin1Text("x"))) + audio());
    try {
        t.Frame(0);
        FAIL();
    } catch (const veltra::MediaError& e) {
        EXPECT_EQ(e.number(), 9);
        EXPECT_EQ(e.source(), QStringLiteral("veltra.cMP3ID3v2"));
    }
    EXPECT_THROW(t.Frame(2), veltra::MediaError);
    try {
        t.RemoveFrame(QStringLiteral("TPE1"));
        FAIL();
    } catch (const veltra::MediaError& e) {
        EXPECT_EQ(e.number(), 5);
        EXPECT_EQ(e.source(), QStringLiteral("veltra.cMP3ID3v2"));
    }
    // Setters ignore the absent frame.
    EXPECT_NO_THROW(t.setArtist(QStringLiteral("A")));
}

TEST_F(ID3v2ReadTest, AFileThatCannotBeOpenedHasNoTagAndNoError)
{
    clsID3v2 t = read(tag(3, frame23("TIT2", latin1Text("x"))) + audio());
    EXPECT_NO_THROW(t.setFilename(home("missing.mp3")));
    EXPECT_FALSE(t.HasID3v2Tag());
    EXPECT_EQ(t.FrameCount(), 0);
    EXPECT_TRUE(t.Title().isEmpty());
    EXPECT_EQ(t.Filename(), home("missing.mp3"));
}

// ---- where the tag is -------------------------------------------------------------------

TEST_F(ID3v2ReadTest, OnlyATagAtTheStartOfTheFileCounts)
{
    // Audio first: "ID3" further on (as MP1/MP2 data can hold) is no tag.
    QByteArray file = audio(4) + tag(3, frame23("TIT2", latin1Text("Inside"))) + audio(4);
    EXPECT_FALSE(read(file).HasID3v2Tag());

    // No "ID3" and an FF FB frame: no tag.
    EXPECT_FALSE(read(audio(20), "b.mp3").HasID3v2Tag());

    // Versions outside 2..4 and sizes beyond the file are no tag.
    QByteArray v5 = tag(3, frame23("TIT2", latin1Text("x")));
    v5[3] = 5;
    EXPECT_FALSE(read(v5 + audio(), "c.mp3").HasID3v2Tag());
    v5[3] = 1;
    EXPECT_FALSE(read(v5 + audio(), "d.mp3").HasID3v2Tag());
    QByteArray big = QByteArray("ID3") + bytes({3, 0, 0}) + syncsafe(100000) + frame23("TIT2", latin1Text("x"));
    EXPECT_FALSE(read(big, "e.mp3").HasID3v2Tag());
}

TEST_F(ID3v2ReadTest, OlderPlainSizeIsReadWhenTheAudioStartsThere)
{
    // 00 00 08 00 read as published ends at 1034, inside the lyrics; as the older plain size
    // it ends at 2048, where the audio starts.
    QByteArray frames = frame23("TIT2", latin1Text("Older")) + frame23("USLT", QByteArray("\0\0", 2) + QByteArray(1500, 'l'));
    const QByteArray file = olderTag(frames, 2048) + audio();
    clsID3v2 t = read(file);
    EXPECT_TRUE(t.HasID3v2Tag());
    EXPECT_EQ(t.Title(), QStringLiteral("Older"));
    EXPECT_EQ(t.Lyrics(), QString(1500, u'l'));
    media_ReadMP3Info(home("song.mp3"));
    EXPECT_EQ(MP3Info.AudioStart, 2048);

    // A size byte of 0x80 or more can only be the older form (32768 = 00 00 80 00).
    const QByteArray high = olderTag(frame23("TIT2", latin1Text("High")), 32768) + audio();
    clsID3v2 h = read(high, "high.mp3");
    EXPECT_TRUE(h.HasID3v2Tag());
    EXPECT_EQ(h.Title(), QStringLiteral("High"));
    media_ReadMP3Info(home("high.mp3"));
    EXPECT_EQ(MP3Info.AudioStart, 32768);
}

TEST_F(ID3v2ReadTest, PublishedSizeIsReadWhenTheAudioStartsThere)
{
    // Data of 2048 bytes: size bytes 00 00 10 00, which as a plain number (4096) would also
    // be a multiple of 2048.
    QByteArray frames = frame23("TIT2", latin1Text("Published")) + frame23("TPE1", latin1Text("P"));
    frames.append(QByteArray(2048 - frames.size(), '\0'));
    const QByteArray t = tag(3, frames);
    ASSERT_EQ(t.mid(6, 4), bytes({0, 0, 0x10, 0}));
    const QByteArray file = t + audio(20);
    clsID3v2 r = read(file);
    EXPECT_EQ(r.Title(), QStringLiteral("Published"));
    media_ReadMP3Info(home("song.mp3"));
    EXPECT_EQ(MP3Info.AudioStart, 2058);
}

} // namespace
