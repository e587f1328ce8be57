// The ID3v1 tag: reading, writing, the genre names.
#include "media/MediaError.h"
#include "media/clsID3v1.h"
#include "media/modMedia.h"
#include "support/Mp3Maker.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFileInfo>

namespace {

class ID3v1Test : public VeltraTest {};

QByteArray pad(const QByteArray& text, int width, char fill = ' ')
{
    QByteArray b = text.left(width);
    b.append(QByteArray(width - b.size(), fill));
    return b;
}

QByteArray tag128(const QByteArray& title, const QByteArray& artist, const QByteArray& album, const QByteArray& year,
                  const QByteArray& comment, int genre, char fill = ' ')
{
    return QByteArray("TAG") + pad(title, 30, fill) + pad(artist, 30, fill) + pad(album, 30, fill) + pad(year, 4, fill)
        + pad(comment, 30, fill) + QByteArray(1, char(genre));
}

TEST_F(ID3v1Test, AFileOfExactly128BytesIsATag)
{
    const QString path = writeFile("x.mp3", tag128("  Title ", "Artist", "Album", "1999", "Comment", 17));
    clsID3v1 t;
    t.setFilename(path);
    EXPECT_EQ(t.Filename(), path);
    EXPECT_EQ(t.Title(), QStringLiteral("Title"));
    EXPECT_EQ(t.Artist(), QStringLiteral("Artist"));
    EXPECT_EQ(t.Album(), QStringLiteral("Album"));
    EXPECT_EQ(t.Year(), QStringLiteral("1999"));
    EXPECT_EQ(t.Comment(), QStringLiteral("Comment"));
    EXPECT_EQ(t.Genre(), QStringLiteral("Rock"));

    clsID3v1 shorter;
    shorter.setFilename(writeFile("y.mp3", tag128("Title", "Artist", "Album", "1999", "Comment", 17).left(127)));
    EXPECT_TRUE(shorter.Title().isEmpty());
    EXPECT_TRUE(shorter.Genre().isEmpty());
    EXPECT_FALSE(shorter.HasTag());
}

TEST_F(ID3v1Test, GenreByteIndexesTheList)
{
    const QList<QPair<int, QString>> cases = {{0, "Blues"}, {147, "Synth Pop"}, {148, ""}, {255, ""}};
    for (const auto& [genre, name] : cases) {
        clsID3v1 t;
        t.setFilename(writeFile("g.mp3", QByteArray(500, 'a') + tag128("T", "A", "B", "2000", "C", genre)));
        EXPECT_EQ(t.Genre(), name) << genre;
    }
}

TEST_F(ID3v1Test, GenreNamesAreTheListAsWritten)
{
    const QStringList& names = GenreNames();
    ASSERT_EQ(names.size(), 148);
    EXPECT_EQ(names.join(u'|'), QString::fromLatin1(ID3v1GenreList));
    // The list's own spellings are kept.
    EXPECT_EQ(names[0], QStringLiteral("Blues"));
    EXPECT_EQ(names[14], QStringLiteral("R&B"));
    EXPECT_EQ(names[40], QStringLiteral("Alt. Rock"));
    EXPECT_EQ(names[67], QStringLiteral("Phychedelic"));
    EXPECT_EQ(names[85], QStringLiteral("Bebob"));
    EXPECT_EQ(names[90], QStringLiteral("Avantegarde"));
    EXPECT_EQ(names[133], QStringLiteral("Negerpunk"));
    EXPECT_EQ(names[140], QStringLiteral("Comteporary Christian"));
    EXPECT_EQ(names[144], QStringLiteral("Trash Metal"));
    EXPECT_EQ(names[147], QStringLiteral("Synth Pop"));
}

TEST_F(ID3v1Test, OnlyMpegAudioNamesAreRead)
{
    EXPECT_TRUE(clsID3v1::IsMPEGAudioFile(QStringLiteral("/a/Song.MP3")));
    EXPECT_TRUE(clsID3v1::IsMPEGAudioFile(QStringLiteral("/a/b.mp2")));
    EXPECT_TRUE(clsID3v1::IsMPEGAudioFile(QStringLiteral("/a/b.mp1.bak")));
    EXPECT_FALSE(clsID3v1::IsMPEGAudioFile(QStringLiteral("/a/b.txt")));

    const QString upper = writeFile("SONG.MP3", tag128("Upper", "A", "B", "2000", "C", 1));
    clsID3v1 t;
    t.setFilename(upper);
    EXPECT_EQ(t.Title(), QStringLiteral("Upper"));

    // A .txt name is never opened: a missing one raises nothing, a present one is not read.
    EXPECT_NO_THROW(t.setFilename(home("missing.txt")));
    t.setFilename(writeFile("tagged.txt", tag128("Text", "A", "B", "2000", "C", 1)));
    EXPECT_TRUE(t.Title().isEmpty());
}

TEST_F(ID3v1Test, AnUnreadableMpegFileRaisesAndLeavesTheTextsEmpty)
{
    clsID3v1 t;
    t.setFilename(writeFile("ok.mp3", tag128("Old", "A", "B", "2000", "C", 1)));
    try {
        t.setFilename(home("missing.mp3"));
        FAIL() << "no error raised";
    } catch (const veltra::MediaError& e) {
        EXPECT_EQ(e.number(), veltra::MediaError::FileNotFound);
        EXPECT_EQ(e.source(), QStringLiteral("veltra"));
    }
    EXPECT_TRUE(t.Title().isEmpty());
    EXPECT_EQ(t.Filename(), home("missing.mp3"));
    // A folder with an MP3 name cannot be read either.
    QDir().mkpath(home("folder.mp3"));
    EXPECT_THROW(t.setFilename(home("folder.mp3")), veltra::MediaError);
}

TEST_F(ID3v1Test, TextsEndAtTheirFirstNul)
{
    // Writers pad with NULs; an ID3v1.1 track number sits after a NUL in the comment.
    QByteArray comment = pad("Nice", 28, '\0') + QByteArray(1, '\0') + QByteArray(1, char(7));
    QByteArray raw = QByteArray("TAG") + pad("Title", 30, '\0') + pad(QByteArray("Art\0junk", 8), 30, '\0')
        + pad("Album", 30, '\0') + pad("2001", 4, '\0') + comment + QByteArray(1, char(8));
    clsID3v1 t;
    t.setFilename(writeFile("nul.mp3", QByteArray(1000, 'x') + raw));
    EXPECT_EQ(t.Title(), QStringLiteral("Title"));
    EXPECT_EQ(t.Artist(), QStringLiteral("Art"));
    EXPECT_EQ(t.Comment(), QStringLiteral("Nice"));
    EXPECT_EQ(t.Genre(), QStringLiteral("Jazz"));
}

TEST_F(ID3v1Test, TextsAreWindows1252)
{
    clsID3v1 t;
    t.setFilename(writeFile("cp.mp3", tag128("Caf\xE9 \x80", "A", "B", "2000", "C", 1)));
    EXPECT_EQ(t.Title(), QStringLiteral(u"Café €"));
}

TEST_F(ID3v1Test, WritingOverATagKeepsTheLengthAndAppendingAdds128Bytes)
{
    const QString tagged = writeFile("t.mp3", mp3maker::makeMp3Bytes({.title = "Old", .seconds = 1, .id3v1 = true}));
    const qint64 before = QFileInfo(tagged).size();
    ID3v1Fields f{.Title = "New title", .Artist = "New artist", .Album = "New album", .Year = "2024",
                  .Comment = "A comment", .Genre = 13};
    EXPECT_TRUE(media_WriteID3v1(tagged, f));
    EXPECT_EQ(QFileInfo(tagged).size(), before);
    clsID3v1 t;
    t.setFilename(tagged);
    EXPECT_EQ(t.Title(), QStringLiteral("New title"));
    EXPECT_EQ(t.Artist(), QStringLiteral("New artist"));
    EXPECT_EQ(t.Album(), QStringLiteral("New album"));
    EXPECT_EQ(t.Year(), QStringLiteral("2024"));
    EXPECT_EQ(t.Comment(), QStringLiteral("A comment"));
    EXPECT_EQ(t.Genre(), QStringLiteral("Pop"));

    const QByteArray audio = mp3maker::makeMp3Bytes({.seconds = 1});
    const QString plain = writeFile("p.mp3", audio);
    EXPECT_TRUE(media_WriteID3v1(plain, f));
    const QByteArray after = readFile(plain);
    ASSERT_EQ(after.size(), audio.size() + 128);
    EXPECT_EQ(after.left(audio.size()), audio);
    EXPECT_EQ(after.mid(audio.size()), QByteArray("TAG") + f.toBytes());

    // A file shorter than a tag gets one appended.
    const QString tiny = writeFile("tiny.mp3", "abc");
    EXPECT_TRUE(media_WriteID3v1(tiny, f));
    EXPECT_EQ(QFileInfo(tiny).size(), 3 + 128);
}

// An ID3v1.1 track (byte 126 after a zero byte 125) stays while the new comment leaves room.
TEST_F(ID3v1Test, AnId3v11TrackIsKeptWhileTheCommentFitsIn28Bytes)
{
    const QByteArray v11Comment = pad("Old", 28) + QByteArray(1, '\0') + QByteArray(1, char(7));
    const struct {
        QByteArray oldComment;
        QString newComment;
        QByteArray commentBytes;   // bytes 97-126 of the tag written
    } cases[] = {
        {v11Comment, QStringLiteral("New"), pad("New", 28) + QByteArray(1, '\0') + QByteArray(1, char(7))},
        {v11Comment, QString(28, u'c'), QByteArray(28, 'c') + QByteArray(1, '\0') + QByteArray(1, char(7))},
        {v11Comment, QStringLiteral(u"€").repeated(28), QByteArray(28, '\x80') + QByteArray(1, '\0') + QByteArray(1, char(7))},
        {v11Comment, QString(29, u'c'), pad(QByteArray(29, 'c'), 30)},   // no room: the comment wins
        {pad("Old", 30), QStringLiteral("New"), pad("New", 30)},         // no track: plain ID3v1
        {pad("Old", 29) + QByteArray(1, char(7)), QStringLiteral("New"), pad("New", 30)},   // byte 125 not zero
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.newComment.toStdString());
        const QByteArray audio = mp3maker::makeMp3Bytes({.seconds = 0.2});
        const QString path = writeFile("v11.mp3", audio + tag128("T", "A", "B", "2000", "", 3).left(97) + c.oldComment + char(3));
        ASSERT_TRUE(media_WriteID3v1(path, ID3v1Fields{.Title = "T", .Comment = c.newComment, .Genre = 3}));
        EXPECT_EQ(readFile(path).mid(audio.size() + 97, 30), c.commentBytes);
        clsID3v1 t;
        t.setFilename(path);
        EXPECT_EQ(t.Comment(), c.newComment);
    }
}

TEST_F(ID3v1Test, FieldsHaveFixedWidthsAndSingleByteText)
{
    ID3v1Fields f{.Title = QString(40, u'x'), .Artist = QStringLiteral(u"Motörhead €"),
                  .Album = QStringLiteral(u"東京"), .Year = "19999", .Comment = QStringLiteral(u"a😀b"), .Genre = 255};
    const QByteArray b = f.toBytes();
    ASSERT_EQ(b.size(), 125);
    EXPECT_EQ(b.mid(0, 30), QByteArray(30, 'x'));
    EXPECT_EQ(b.mid(30, 30), pad("Mot\xF6rhead \x80", 30));
    EXPECT_EQ(b.mid(60, 30), pad("??", 30));
    EXPECT_EQ(b.mid(90, 4), QByteArray("1999"));
    EXPECT_EQ(b.mid(94, 30), pad("a?b", 30));
    EXPECT_EQ(uchar(b[124]), 255);
}

TEST_F(ID3v1Test, WritingNeverCreatesAFile)
{
    EXPECT_FALSE(media_WriteID3v1(home("absent.mp3"), ID3v1Fields{}));
    EXPECT_FALSE(QFileInfo::exists(home("absent.mp3")));
}

} // namespace

#include <csignal>
#include <sys/resource.h>

namespace {

// A disk that fills up halfway through the tag: the song keeps its length, no fragment of
// a tag is left at its end.
TEST_F(ID3v1Test, AWriteThatFailsHalfwayLeavesTheSongAsItWas)
{
    const QByteArray audio = mp3maker::makeMp3Bytes({.seconds = 1});
    const QString path = writeFile("full.mp3", audio);
    struct rlimit old;
    ::getrlimit(RLIMIT_FSIZE, &old);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit lim = old;
    lim.rlim_cur = rlim_t(audio.size() + 50);
    ::setrlimit(RLIMIT_FSIZE, &lim);
    const bool written = media_WriteID3v1(path, ID3v1Fields{.Title = "Never half written"});
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(written);
    EXPECT_EQ(readFile(path), audio);
}

} // namespace
