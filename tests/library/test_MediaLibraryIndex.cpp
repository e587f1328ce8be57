// The library's logic without a window: playlist records into working rows, tags, the index
// and the search, the records a search saves, and the sources offered.
#include "common/ListViewModel.h"
#include "common/modListFiles.h"
#include "library/modMediaLibrary.h"
#include "support/Mp3Maker.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>

using namespace library;

namespace {

class MediaLibraryIndexTest : public VeltraTest {
protected:
    void SetUp() override
    {
        VeltraTest::SetUp();
        working.setColumns(workingHeaders());
        QDir(home()).mkpath("music");
        QDir(home()).mkpath("Playlists");
    }
    QString mp3(const QString& name, const mp3maker::Song& song)
    {
        const QString path = home("music/" + name);
        mp3maker::makeMp3(path, song);
        return path;
    }
    ListViewModel working;
};

TEST_F(MediaLibraryIndexTest, PlaylistRecordsEnterByMeaningNeverByPosition)
{
    const QString wma = writeFile("music/song.wma", "not mpeg");
    ListViewModel playlist;
    playlist.setColumns({"No.", "Artist:", "Title:", "Year:", "Status:", "Length:", "Filename:"});
    playlist.add({"07", "Nova", "Song", "1999", "Play", "03:10", wma});
    ASSERT_TRUE(controls_SaveListView(playlist, home("Playlists/Rock.spp")));

    ASSERT_TRUE(loadPlaylist(working, home("Playlists/Rock.spp")));
    ASSERT_EQ(working.count(), 1);
    EXPECT_EQ(working.cells(1), QStringList({"Nova", "Song", "", "1999", "", "", wma}));

    // a file that is not MPEG audio keeps what the playlist said; its artist is indexed
    showID3Data(working, false, {});
    EXPECT_EQ(working.text(1), "Nova");
    Index index;
    ASSERT_TRUE(buildIndex(working, &index, {}));
    EXPECT_EQ(index.artists, QStringList{"Nova"});
    EXPECT_EQ(index.years, QStringList{"1999"});
    EXPECT_TRUE(index.albums.isEmpty());

    // an unreadable playlist is reported by the list reader and adds nothing
    EXPECT_FALSE(loadPlaylist(working, home("Playlists/Gone.spp")));
    EXPECT_EQ(working.count(), 1);
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.messages()[0].title, "Error Loading List");
}

TEST_F(MediaLibraryIndexTest, TagsComeFromTheChosenTagAsWritten)
{
    const QString v1only = mp3("v1.mp3", {.artist = "Old", .title = "T1", .album = "Al", .year = "1980", .genre = "Rock",
                                          .comment = "c", .id3v1 = true, .id3v2 = false});
    const QString both = mp3("both.mp3", {.artist = "New", .title = "T2", .album = "", .year = "2001", .genre = "Jazz",
                                          .id3v1 = true, .id3v2 = true});
    // ID3v2: empty texts stay empty, the genre is ID3v1's
    EXPECT_EQ(readTagCells(v1only, true), QStringList({"", "", "", "", "Rock", ""}));
    EXPECT_EQ(readTagCells(both, true), QStringList({"New", "T2", "", "2001", "Jazz", ""}));
    EXPECT_EQ(readTagCells(v1only, false), QStringList({"Old", "T1", "Al", "1980", "Rock", "c"}));

    // rows of missing or non-MPEG files are left as they are
    working.add(rowForFile(v1only));
    working.add({"keep", "", "", "", "", "", home("music/missing.mp3")});
    showID3Data(working, false, {});
    EXPECT_EQ(working.text(1), "Old");
    EXPECT_EQ(working.subItem(1, ColPath), v1only);
    EXPECT_EQ(working.text(2), "keep");
}

TEST_F(MediaLibraryIndexTest, IndexIgnoresCaseKeepsTheFirstSpellingAndSkipsMissingFiles)
{
    const QString a = writeFile("music/a.ogg", "x");
    working.add({"NOVA", "t", "Blue", "1999", "", "", a});
    working.add({"Nova", "t", "blue", "2001", "", "", a});
    working.add({"abba", "t", "", "", "", "", a});
    working.add({"NOVA Gold", "t", "", "1999", "", "", a});
    working.add({"Ghost", "t", "Gone", "1970", "", "", home("music/missing.ogg")});
    Index index;
    ASSERT_TRUE(buildIndex(working, &index, {}));
    EXPECT_EQ(index.artists, QStringList({"abba", "NOVA", "NOVA Gold"}));
    EXPECT_EQ(index.years, QStringList({"1999", "2001"}));
    EXPECT_EQ(index.albums, QStringList{"Blue"});

    // a yield that says stop leaves the index unbuilt
    Index partial;
    EXPECT_FALSE(buildIndex(working, &partial, [] { return false; }));
    EXPECT_TRUE(partial.artists.isEmpty());
}

TEST_F(MediaLibraryIndexTest, SearchMatchesWholeCellsIgnoringCaseAndMeasuresEachSong)
{
    const QString song = mp3("s.mp3", {.seconds = 5, .id3v2 = false});
    const QString other = writeFile("music/x.wma", "no frames here");
    working.add({"NOVA", "One", "", "1999", "", "", song});
    working.add({"Nova", "Two", "", "2000", "", "", other});
    working.add({"NOVA Gold", "Three", "", "", "", "", song});
    working.add({"nova", "Gone", "", "", "", "", home("music/deleted.mp3")});
    working.add({"", "Empty", "", "", "", "", song});
    QList<QStringList> found;
    auto collect = [&found](const QStringList& row) { found.append(row); };

    ASSERT_TRUE(findResults(working, "nova", ColArtist, {}, collect));
    ASSERT_EQ(found.size(), 2);
    EXPECT_EQ(found[0], QStringList({"NOVA", "One", "1999", "00:05", song}));
    EXPECT_EQ(found[1], QStringList({"Nova", "Two", "2000", "00:00", other}));   // no MPEG header

    found.clear();
    findResults(working, "", ColArtist, {}, collect);   // empty matches empty, nothing else
    ASSERT_EQ(found.size(), 1);
    EXPECT_EQ(found[0][ResTitle], "Empty");

    found.clear();
    int calls = 0;
    EXPECT_FALSE(findResults(working, "nova", ColArtist, [&calls] { return ++calls < 2; }, collect));
    EXPECT_EQ(found.size(), 1);   // ended by the second yield, before the second row
}

TEST_F(MediaLibraryIndexTest, SavedResultsAreSevenQuotedLinesPerSong)
{
    ListViewModel results;
    results.setColumns(resultHeaders());
    results.add({"Nova", "One", "1999", "03:07", "/m/one.mp3"});
    results.add({"Abba", "Two", "", "00:00", "/m/two.mp3"});
    const QStringList lines = listfile::splitLines(playlistRecords(results));
    ASSERT_EQ(lines.size(), 14);
    EXPECT_EQ(lines[0], "\"\"");
    EXPECT_EQ(lines[1], "\"Nova\"");
    EXPECT_EQ(lines[4], "\"Play\"");
    EXPECT_EQ(lines[5], "\"03:07\"");
    EXPECT_EQ(lines[6], "\"/m/one.mp3\"");
    EXPECT_EQ(lines[13], "\"/m/two.mp3\"");
    EXPECT_TRUE(playlistRecords(results).endsWith("\r\n"));
}

TEST_F(MediaLibraryIndexTest, SourcesAndFoldersListOnlyWhatTheyShould)
{
    for (const char* name : {"Playlists/Default.spp", "Playlists/Rock-2.spp", "Playlists/Rock Anthems.spp", "Playlists/Rock.spp",
                             "Playlists/jazz.SPP", "Playlists/notes.txt"})
        writeFile(name, "");
    QDir(home()).mkpath("Playlists/folder.spp");
    // in the order of the names shown, not of the file names ("rock-2.spp" sorts before "rock.spp")
    EXPECT_EQ(playlistFiles(home("Playlists")), QStringList({home("Playlists/jazz.SPP"), home("Playlists/Rock.spp"),
                                                             home("Playlists/Rock Anthems.spp"), home("Playlists/Rock-2.spp")}));

    writeFile("music/dir/b.mp3", "");
    writeFile("music/dir/a.MP3", "");
    writeFile("music/dir/c.mp2", "");
    writeFile("music/dir/sub/d.mp3", "");
    EXPECT_EQ(directoryFiles(home("music/dir"), "mp3"), QStringList({home("music/dir/a.MP3"), home("music/dir/b.mp3")}));
}

} // namespace
