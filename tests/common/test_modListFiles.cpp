#include "common/ListViewModel.h"
#include "common/PlaylistRow.h"
#include "common/modLineFiles.h"
#include "common/modListFiles.h"
#include "platform/TextFile.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QStringEncoder>

#include <random>

namespace {

class ListFilesTest : public VeltraTest {
protected:
    ListViewModel playlist;
    void SetUp() override
    {
        VeltraTest::SetUp();
        playlist.setColumns(PlaylistColumn::headers());
    }
    void expectLoadError(const QString& file)
    {
        ASSERT_EQ(ui.messages().size(), 1);
        const auto m = ui.messages().first();
        EXPECT_EQ(m.title, QStringLiteral("Error Loading List"));
        EXPECT_EQ(m.text, QStringLiteral("An error occured while trying to open the list:\r\n") + file
                              + QStringLiteral("\r\n\r\nThis list will not be opened and this function closed.\r\n"));
        EXPECT_EQ(m.icon, int(veltra::MsgIcon::Exclamation));
    }
};

TEST_F(ListFilesTest, PlaylistRoundTripWithCommasQuotesAndNonAscii)
{
    playlist.add({"01", "Crosby, Stills & Nash", "Suite: \"Judy Blue Eyes\"", "1969", "Play", "07:25", "/music/csn/suite.mp3"});
    playlist.add({"02", "Björk", "Jóga", "1997", "Skip", "05:05", "/music/björk/歌.mp3"});
    playlist.add({"03", "", "", "", "Play", "", "/music/x.mp3"});
    const QString file = home("Playlists/test.spp");
    QDir().mkpath(home("Playlists"));
    ASSERT_TRUE(controls_SaveListView(playlist, file));
    EXPECT_TRUE(readFile(file).startsWith("\"01\"\r\n\"Crosby, Stills & Nash\"\r\n\"Suite: \"Judy Blue Eyes\"\"\r\n\"1969\"\r\n"));
    EXPECT_EQ(readFile(file).count('\n'), 21);

    ListViewModel loaded;
    loaded.setColumns(PlaylistColumn::headers());
    ASSERT_TRUE(controls_LoadListView(loaded, file));
    ASSERT_EQ(loaded.count(), 3);
    for (int r = 1; r <= 3; ++r) EXPECT_EQ(loaded.cells(r), playlist.cells(r)) << r;
    EXPECT_TRUE(ui.calls.isEmpty());
}

TEST_F(ListFilesTest, FourFieldVolumeListAndRecordSizeFromColumns)
{
    const QString file = writeFile("volumes.ssb", "\"Artist\"\r\n\"Title\"\r\n\"80\"\r\n\"/m/a.mp3\"\r\n"
                                                  "\"B\"\r\n\"T2\"\r\n\"20\"\r\n\"/m/b.mp3\"\r\n");
    ListViewModel volumes;
    volumes.setColumns({"Artist", "Title", "Volume", "Filename"});
    ASSERT_TRUE(controls_LoadListView(volumes, file));
    ASSERT_EQ(volumes.count(), 2);
    EXPECT_EQ(volumes.subItem(2, 2), QStringLiteral("20"));
    EXPECT_EQ(volumes.subItem(2, 3), QStringLiteral("/m/b.mp3"));

    // one column: one line per row; read back into 4 columns the lines group four by four
    ListViewModel single;
    single.setColumns({"Only"});
    for (const char* s : {"a", "b", "c", "d"}) single.add({s});
    ASSERT_TRUE(controls_SaveListView(single, home("single.ssb")));
    ListViewModel four;
    four.setColumns({"1", "2", "3", "4"});
    ASSERT_TRUE(controls_LoadListView(four, home("single.ssb")));
    ASSERT_EQ(four.count(), 1);
    EXPECT_EQ(four.cells(1), QStringList({"a", "b", "c", "d"}));
}

TEST_F(ListFilesTest, WrongFieldCountFailsAndKeepsExistingRows)
{
    playlist.add({"01", "Kept", "Row", "", "Play", "", "/m/kept.mp3"});
    const QString file = writeFile("Playlists/cut.spp", "\"01\"\r\n\"A\"\r\n\"T\"\r\n\"\"\r\n\"Play\"\r\n\"\"\r\n\"/m/a.mp3\"\r\n"
                                                        "\"02\"\r\n\"B\"\r\n");
    EXPECT_FALSE(controls_LoadListView(playlist, file));
    expectLoadError(file);
    ASSERT_EQ(playlist.count(), 1);
    EXPECT_EQ(playlist.subItem(1, PlaylistColumn::Artist), QStringLiteral("Kept"));
}

// Random bytes: about one file in seven has fields that fill whole records of seven.
TEST_F(ListFilesTest, RandomBytesAreNoPlaylistEvenWhenTheirFieldsFillWholeRecords)
{
    for (unsigned seed = 1; seed <= 20; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 random(seed);
        QByteArray bytes(200'000, '\0');
        for (char& b : bytes) b = char(random() & 0xFF);
        const QString file = writeFile("Playlists/default.spp", bytes);
        ui.clear();
        EXPECT_FALSE(controls_LoadListView(playlist, file));
        expectLoadError(file);
        EXPECT_EQ(playlist.count(), 0);
    }
}

TEST_F(ListFilesTest, EveryStatusIsOneOfTheFiveInAnyCaseOrEmpty)
{
    const struct {
        const char* status;
        const char* length;
        bool loads;
    } cases[] = {
        {"Play Once", "03:00", true}, {"Remove", "", true},        {"skip once", "03:00", true},
        {"", "03:00", true},          {"Plya", "03:00", false},    {"Play", "03:\x01" "00", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.status);
        const QByteArray record = "\"01\"\r\n\"A\"\r\n\"T\"\r\n\"\"\r\n\"" + QByteArray(c.status) + "\"\r\n\"" + c.length
                                  + "\"\r\n\"/m/a.mp3\"\r\n";
        const QString file = writeFile("Playlists/one.spp", record + record);
        ui.clear();
        ListViewModel loaded;
        loaded.setColumns(PlaylistColumn::headers());
        EXPECT_EQ(controls_LoadListView(loaded, file), c.loads);
        EXPECT_EQ(loaded.count(), c.loads ? 2 : 0);
        EXPECT_EQ(ui.messages().size(), c.loads ? 0 : 1);
    }
}

TEST_F(ListFilesTest, MissingFileFails)
{
    const QString file = home("Playlists/none.spp");
    EXPECT_FALSE(controls_LoadListView(playlist, file));
    expectLoadError(file);
}

TEST_F(ListFilesTest, EmptyListAndTruncation)
{
    const QString file = writeFile("Playlists/old.spp", QByteArray(5000, 'x'));
    ASSERT_TRUE(controls_SaveListView(playlist, file));
    EXPECT_TRUE(readFile(file).isEmpty());
    ASSERT_TRUE(controls_LoadListView(playlist, file));
    EXPECT_EQ(playlist.count(), 0);
    EXPECT_TRUE(ui.calls.isEmpty());
}

TEST_F(ListFilesTest, LoadingTwiceDoublesRows)
{
    playlist.add({"01", "A", "T", "", "Play", "", "/m/a.mp3"});
    ASSERT_TRUE(controls_SaveListView(playlist, home("a.spp")));
    ASSERT_TRUE(controls_LoadListView(playlist, home("a.spp")));
    ASSERT_TRUE(controls_LoadListView(playlist, home("a.spp")));
    EXPECT_EQ(playlist.count(), 3);
}

TEST_F(ListFilesTest, LineBreakInsideACellDoesNotSplitTheRecord)
{
    playlist.add({"01", "Two\r\nLines", "T", "", "Play", "", "/m/a.mp3"});
    playlist.add({"02", "B", "T", "", "Play", "", "/m/b.mp3"});
    ASSERT_TRUE(controls_SaveListView(playlist, home("a.spp")));
    ListViewModel loaded;
    loaded.setColumns(PlaylistColumn::headers());
    ASSERT_TRUE(controls_LoadListView(loaded, home("a.spp")));
    ASSERT_EQ(loaded.count(), 2);
    EXPECT_EQ(loaded.subItem(1, PlaylistColumn::Artist), QStringLiteral("Two Lines"));
    EXPECT_EQ(loaded.subItem(2, PlaylistColumn::Filename), QStringLiteral("/m/b.mp3"));
}

TEST_F(ListFilesTest, Windows1252PlaylistFromAnOlderVersionLoads)
{
    const QString file = writeFile("Playlists/old.spp", "\"01\"\r\n\"Beyonc\xE9\"\r\n\"Halo\"\r\n\"2008\"\r\n\"Play\"\r\n\"04:21\"\r\n\"C:\\Music\\halo.mp3\"\r\n");
    ASSERT_TRUE(controls_LoadListView(playlist, file));
    EXPECT_EQ(playlist.subItem(1, PlaylistColumn::Artist), QStringLiteral("Beyoncé"));
    EXPECT_EQ(playlist.subItem(1, PlaylistColumn::Filename), QStringLiteral("C:\\Music\\halo.mp3"));
}

TEST(ListFileFields, SequentialFieldRule)
{
    // quoted: up to the last quote of the line, the rest to the next comma skipped
    EXPECT_EQ(listfile::readFields("\"a \"quoted\" b\"\r\n"), QStringList({"a \"quoted\" b"}));
    EXPECT_EQ(listfile::readFields("  \"x\"  junk\r\n"), QStringList({"x"}));
    // unquoted: commas separate, trailing blanks dropped, leading blanks skipped
    EXPECT_EQ(listfile::readFields("one, two  ,three\r\n"), QStringList({"one", "two", "three"}));
    // one cell per line: everything between the first and the last quote is the cell
    EXPECT_EQ(listfile::readFields("\"a\",\"b\"\r\n"), QStringList({"a\",\"b"}));
    EXPECT_EQ(listfile::readFields("\"\"\r\n\r\nlast"), QStringList({"", "", "last"}));
    EXPECT_EQ(listfile::readFields(""), QStringList());
}

class LineFilesTest : public VeltraTest {};

TEST_F(LineFilesTest, CountReadAndContain)
{
    const QString file = writeFile("bookmarks.sbl", "/m/One.mp3\r\n/m/two, with comma.mp3\r\n\"/m/quoted, name.mp3\"\r\n");
    EXPECT_EQ(files_CountLines(file), 3);
    EXPECT_EQ(files_ReadLine(file, 2), QStringLiteral("/m/two, with comma.mp3"));
    EXPECT_TRUE(files_FileContainsLine(file, "/M/ONE.MP3"));          // ignores case
    EXPECT_TRUE(files_FileContainsLine(file, "/m/quoted, name.mp3")); // quoted field whole
    EXPECT_FALSE(files_FileContainsLine(file, "/m/two, with comma.mp3")); // unquoted comma ends a field
    EXPECT_EQ(files_CountLines(home("missing.sbl")), 0);
    EXPECT_EQ(files_ReadLine(home("missing.sbl"), 1), QString());
    EXPECT_FALSE(files_FileContainsLine(home("missing.sbl"), "x"));
}

// An appended line goes in the file's own encoding, so that it is found again.
TEST_F(LineFilesTest, AppendWritesInTheFilesOwnEncoding)
{
    const auto in = [](QStringConverter::Encoding e, const char* text) {
        return QByteArray(QStringEncoder(e).encode(QString::fromUtf8(text)));
    };
    const QByteArray le = "\xFF\xFE", be = "\xFE\xFF", bom8 = "\xEF\xBB\xBF";
    const struct {
        QByteArray before;   // empty: no file
        QByteArray after;
    } cases[] = {
        {le + in(QStringConverter::Utf16LE, "/m/a.mp3\r\n"), le + in(QStringConverter::Utf16LE, "/m/a.mp3\r\n/m/é.mp3\r\n")},
        {be + in(QStringConverter::Utf16BE, "/m/a.mp3"), be + in(QStringConverter::Utf16BE, "/m/a.mp3\r\n/m/é.mp3\r\n")},
        {le, le + in(QStringConverter::Utf16LE, "/m/é.mp3\r\n")},
        {bom8, bom8 + "/m/\xC3\xA9.mp3\r\n"},
        {"/m/a.mp3", "/m/a.mp3\r\n/m/\xC3\xA9.mp3\r\n"},
        {{}, "/m/\xC3\xA9.mp3\r\n"},
    };
    const QString file = home("Moods/Mood.mlst");
    QDir().mkpath(home("Moods"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.before.toHex().toStdString());
        QFile::remove(file);
        if (!c.before.isEmpty()) writeFile("Moods/Mood.mlst", c.before);
        EXPECT_TRUE(linefile_AppendLine(file, QStringLiteral("/m/é.mp3")));
        EXPECT_EQ(readFile(file), c.after);
        EXPECT_TRUE(linefile_HasLine(file, QStringLiteral("/m/é.mp3")));
    }
    // Half a UTF-16 character at its end: nothing is written after it.
    const QByteArray broken = le + in(QStringConverter::Utf16LE, "/m/a.mp3") + 'x';
    writeFile("Moods/Mood.mlst", broken);
    EXPECT_FALSE(linefile_AppendLine(file, QStringLiteral("/m/é.mp3")));
    EXPECT_EQ(readFile(file), broken);
}

// Read a piece at a time, a long file gives the lines of the whole file, also where a line
// end falls between two pieces, in each encoding a line file comes in.
TEST_F(LineFilesTest, LinesReadAPieceAtATimeAreTheLinesOfTheWholeFile)
{
    // the first line's CR ends the first piece (a mebibyte), its LF begins the next
    const QByteArray body = QByteArray((1 << 20) - 1, 'x') + "\r\n/m/Beyonc\xE9.mp3\r\n/m/two.mp3\r/m/Bj\xC3\xB6rk.mp3\n\n/m/last.mp3";
    QStringEncoder utf16(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
    const QByteArray cases[] = {body, "\xEF\xBB\xBF" + body, utf16.encode(textfile::decode(body))};
    for (const QByteArray& bytes : cases) {
        const QString file = writeFile("bookmarks.sbl", bytes);
        QStringList whole;
        ASSERT_TRUE(listfile::readLines(file, &whole));
        ASSERT_EQ(whole.size(), 6);
        QStringList last;
        qint64 total = 0;
        ASSERT_TRUE(linefile_ReadLast(file, 3, &last, &total));
        EXPECT_EQ(total, 6);
        EXPECT_EQ(last, whole.mid(3));
        EXPECT_EQ(files_ReadLine(file, 2), QStringLiteral("/m/Beyoncé.mp3"));
        EXPECT_EQ(files_ReadLine(file, 1), whole[0]);
        EXPECT_TRUE(linefile_HasLine(file, QStringLiteral("/m/Björk.mp3")));
        EXPECT_TRUE(linefile_HasLine(file, QStringLiteral("/m/Beyoncé.mp3")));
        EXPECT_FALSE(linefile_HasLine(file, QStringLiteral("/m/two")));
    }
}

TEST_F(LineFilesTest, WriteLinesReplacesWhole)
{
    const QString file = writeFile("locations.log", QByteArray(100, 'z'));
    ASSERT_TRUE(listfile::writeLines(file, {"/a", "/b"}));
    EXPECT_EQ(readFile(file), QByteArray("/a\r\n/b\r\n"));
    QStringList lines;
    ASSERT_TRUE(listfile::readLines(file, &lines));
    EXPECT_EQ(lines, QStringList({"/a", "/b"}));
}

} // namespace

namespace {
TEST_F(ListFilesTest, NonAsciiFileNamesRoundTrip)
{
    playlist.add({"01", "Sigur Rós", "Hoppípolla", "2005", "Play", "04:28", QStringLiteral("/music/Sigur Rós/Takk…/Hoppípolla.mp3")});
    const QString file = home(QStringLiteral("Playlists/Íslensk – tónlist.spp"));
    QDir().mkpath(home("Playlists"));
    ASSERT_TRUE(controls_SaveListView(playlist, file));
    ListViewModel loaded;
    loaded.setColumns(PlaylistColumn::headers());
    ASSERT_TRUE(controls_LoadListView(loaded, file));
    EXPECT_EQ(loaded.cells(1), playlist.cells(1));
}
} // namespace
