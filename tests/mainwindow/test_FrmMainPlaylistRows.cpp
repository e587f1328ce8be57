// Adding rows to the main playlist (songs, folders, files dropped from the file manager) and
// reading their tags into the rows.
#include "mainwindow/PlaylistTestSupport.h"

#include "common/ListView.h"
#include "common/PlaylistRow.h"
#include "common/modSettings.h"

#include <QAction>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace {

using mp3maker::Song;

class PlaylistRowsTest : public PlaylistTest {};

TEST_F(PlaylistRowsTest, AddSongAppendsAPlainRowAndChecksNothing)
{
    main().playlist_AddSong("A", "T", "1999", "/nowhere/one.mp3");
    main().playlist_AddSong(QString(), QString(), QString(), "/nowhere/one.mp3");
    ASSERT_EQ(rows().count(), 2);
    EXPECT_EQ(rows().cells(1), QStringList({"", "A", "T", "1999", "Play", "", "/nowhere/one.mp3"}));
    EXPECT_EQ(rows().cells(2), QStringList({"", "", "", "", "Play", "", "/nowhere/one.mp3"}));
}

TEST_F(PlaylistRowsTest, AddDirectoryTakesThatFolderOnlyAndLogsEachFile)
{
    const QString a = song("Music/a.mp3");
    const QString b = song("Music/B.MP3");
    song("Music/sub/deep.mp3");
    writeFile("Music/c.wav", "RIFF");
    writeFile("Music/notes.txt", "x");
    main().playlist_AddDirectory(home("Music"), "mp3");
    EXPECT_EQ(column(6), QStringList({a, b}));
    // nothing renumbered, no tag read
    EXPECT_EQ(column(0), QStringList({"", ""}));
    EXPECT_EQ(column(1), QStringList({"", ""}));
    EXPECT_TRUE(log().contains(a + " added to playlist.\r\n" + b + " added to playlist.\r\n"));
    EXPECT_FALSE(log().contains("deep.mp3"));

    main().playlist_AddDirectory(home("Missing"), "mp3");
    main().playlist_AddDirectory(home("Music"), "ogg");
    EXPECT_EQ(rows().count(), 2);
    EXPECT_EQ(ui.count("msgBox"), 0);
}

class DropTest : public PlaylistTest {
protected:
    void SetUp() override
    {
        PlaylistTest::SetUp();
        main().mnuTagsShowTagsAsFilesAreAdded->setChecked(true);
        settings_WriteValue("Settings", "AlwaysScanPlaylistWhenAddingSongs", "1");
    }
};

TEST_F(DropTest, UpperCaseExtensionIsTakenAndKeptWithItsTagsReadAndRemembered)
{
    const QString path = song("Music/song.MP3", {.artist = "Artist", .title = "Title", .year = "2004", .seconds = 3, .id3v1 = true});
    main().lstvPlaylist_OLEDragDrop({path});
    ASSERT_EQ(rows().count(), 1);
    EXPECT_EQ(rows().cells(1), QStringList({"01", "Artist", "Title", "2004", "Play", "00:03", path}));
    EXPECT_TRUE(log().contains(path + " added to playlist."));
    EXPECT_EQ(settings_ReadValue("RecentMediaFiles", "Filename1"), path);
}

TEST_F(DropTest, FirstUnacceptedFileEndsTheDropButTheListIsStillNumberedAndScanned)
{
    main().playlist_AddSong(QString(), QString(), QString(), home("Music/gone.mp3"));   // dead: the scan removes it
    const QString first = song("Music/first.mp3");
    const QString third = song("Music/third.mp3");
    main().lstvPlaylist_OLEDragDrop({first, writeFile("Music/notes.txt", "x"), third});
    EXPECT_EQ(column(6), QStringList({first}));
    EXPECT_EQ(column(0), QStringList({"02"}));   // numbered before the scan removed the dead row
    EXPECT_EQ(settings_ReadValue("RecentMediaFiles", "Filename1"), first);
    EXPECT_EQ(settings_ReadValue("RecentMediaFiles", "Filename2"), QString());
    EXPECT_EQ(ui.messages().value(0).title, "Playlist Scan Information");
    EXPECT_FALSE(log().contains("third.mp3"));
}

TEST_F(DropTest, FolderOrADotInAFolderNameEndsTheDrop)
{
    QDir().mkpath(home("Music/Album.mp3"));
    const QString song1 = song("Music/one.mp3");
    main().lstvPlaylist_OLEDragDrop({home("Music/Album.mp3"), song1});
    EXPECT_EQ(rows().count(), 0);
    main().lstvPlaylist_OLEDragDrop({home("Music/v1.0/track"), song1});
    EXPECT_EQ(rows().count(), 0);
    // empty paths are passed over; the last file dropped is the newest recent file
    const QString song2 = song("Music/two.mp3");
    main().lstvPlaylist_OLEDragDrop({QString(), song1, song2});
    EXPECT_EQ(column(6), QStringList({song1, song2}));
    EXPECT_EQ(settings_ReadValue("RecentMediaFiles", "Filename1"), song2);
    EXPECT_EQ(settings_ReadValue("RecentMediaFiles", "Filename2"), song1);
    EXPECT_TRUE(log().contains(song1 + " added to playlist.\r\n" + song2 + " added to playlist.\r\n"));
}

TEST_F(DropTest, SortedListIsSortedAgainAfterTheDrop)
{
    main().mnuDontSort->setChecked(false);
    rows().setSortKey(1);
    rows().setSorted(true);
    const QString b = song("Music/b.mp3", {.artist = "Bravo", .id3v1 = true});
    const QString a = song("Music/a.mp3", {.artist = "Alpha", .id3v1 = true});
    main().lstvPlaylist_OLEDragDrop({b, a});
    EXPECT_EQ(column(1), QStringList({"Alpha", "Bravo"}));
    EXPECT_TRUE(rows().sorted());
}

TEST_F(DropTest, FilesDroppedFromTheFileManagerArriveThroughTheList)
{
    const QString one = song("Music/one.mp3", {.artist = "One", .id3v1 = true});
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(one), QUrl("https://example.com/x.mp3")});
    QWidget* viewport = main().lstvPlaylist->viewport();
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &drop);
    EXPECT_EQ(column(6), QStringList({one}));
    EXPECT_EQ(column(1), QStringList({"One"}));

    // a drag that started in the list is a move of rows, not an adding of files
    main().IsDraggingRow = true;
    QDropEvent again(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &again);
    main().IsDraggingRow = false;
    EXPECT_EQ(rows().count(), 1);
}

// ---- tags into rows -----------------------------------------------------------------------

class TagsTest : public PlaylistTest {
protected:
    int addRow(const QString& path, const QString& year = QString())
    {
        main().playlist_AddSong(QString(), QString(), year, path);
        return rows().count();
    }
    // ID3v2 with one set of texts, ID3v1 with another.
    QString twoTags(const QString& name, const Song& v2, const Song& v1)
    {
        return writeFile(name, mp3maker::id3v2Tag(v2) + mp3maker::audioFrames(v2) + mp3maker::id3v1Tag(v1));
    }
};

TEST_F(TagsTest, LongerTagWinsFieldByFieldAndEqualLengthsKeepID3v1)
{
    const QString path = twoTags("Music/both.mp3", {.artist = "Seventeen Letters", .title = "Title Two!", .year = "", .seconds = 4},
                                 {.artist = "Ten Letter", .title = "Title One!", .year = "1999", .seconds = 4, .id3v1 = true});
    const int row = addRow(path);
    settings_WriteValue("Settings", "UseLargerTAGSWhenAvailable", "1");
    main().playlist_UpdateItem(row, false);
    EXPECT_EQ(rows().cells(row).mid(1), QStringList({"Seventeen Letters", "Title One!", "1999", "Play", "00:04", path}));

    settings_WriteValue("Settings", "UseLargerTAGSWhenAvailable", "0");
    main().mnuTagsUseID3v2Tags->setChecked(true);
    main().playlist_UpdateItem(row, false);
    EXPECT_EQ(rows().cells(row).mid(1, 3), QStringList({"Seventeen Letters", "Title Two!", ""}));

    main().mnuTagsUseID3v2Tags->setChecked(false);
    main().playlist_UpdateItem(row, false);
    EXPECT_EQ(rows().cells(row).mid(1, 3), QStringList({"Ten Letter", "Title One!", "1999"}));
}

TEST_F(TagsTest, SongWithoutTagsShowsNoneAndItsLength)
{
    const int row = addRow(song("Music/bare.mp3", {.seconds = 5, .id3v2 = false}), "1970");
    main().playlist_UpdateItem(row, false);
    EXPECT_EQ(rows().cells(row).mid(1, 5), QStringList({"[None]", "[None]", "", "Play", "00:05"}));

    // the larger-tag rule finds nothing either
    settings_WriteValue("Settings", "UseLargerTAGSWhenAvailable", "1");
    rows().setSubItem(row, PlaylistColumn::Artist, "old");
    main().playlist_UpdateItem(row, false);
    EXPECT_EQ(rows().cells(row).mid(1, 3), QStringList({"[None]", "[None]", ""}));
}

TEST_F(TagsTest, MissingSongShowsNoneAndKeepsItsYear)
{
    const int row = addRow(home("Music/gone.mp3"), "1988");
    rows().setSubItem(row, PlaylistColumn::Length, "03:00");
    main().playlist_UpdateItem(row, false);
    EXPECT_EQ(rows().cells(row).mid(1, 5), QStringList({"[None]", "[None]", "1988", "Play", ""}));
}

TEST_F(TagsTest, OtherFilesGetTheirNameAsArtistOnlyWhenItIsEmpty)
{
    const QString wav = writeFile("Music/Some Tune.wav", "RIFF....WAVE");
    const int row = addRow(wav, "1990");
    rows().setSubItem(row, PlaylistColumn::Title, "Kept");
    rows().setSubItem(row, PlaylistColumn::Length, "01:00");
    main().playlist_UpdateItem(row, false);
    EXPECT_EQ(rows().cells(row).mid(1, 5), QStringList({"Some Tune", "Kept", "1990", "Play", ""}));

    rows().setSubItem(row, PlaylistColumn::Artist, "Somebody");
    rows().setSubItem(row, PlaylistColumn::Length, "01:00");
    main().playlist_UpdateItem(row, false);
    EXPECT_EQ(rows().cells(row).mid(1, 5), QStringList({"Somebody", "Kept", "1990", "Play", ""}));

    // names only: an MP3 is treated the same way
    const int mp3 = addRow(song("Music/Named.mp3", {.artist = "Tagged", .id3v1 = true}));
    main().playlist_UpdateItem(mp3, true);
    EXPECT_EQ(rows().cells(mp3).mid(1, 5), QStringList({"Named", "", "", "Play", ""}));
    // rows that do not exist are left alone
    main().playlist_UpdateItem(0, false);
    main().playlist_UpdateItem(rows().count() + 1, false);
}

TEST_F(TagsTest, ShowMP3DataFillsEveryRowWhileBusy)
{
    main().mnuTagsShowTagsAsFilesAreAdded->setChecked(true);
    addRow(song("Music/1.mp3", {.artist = "One", .title = "First", .year = "2001", .seconds = 2, .id3v1 = true}));
    addRow(song("Music/2.mp3", {.artist = "Two", .title = "Second", .year = "2002", .seconds = 3, .id3v1 = true}));
    const auto seen = seenDuring([&] { main().playlist_ShowMP3Data(false); });
    ASSERT_TRUE(seen);
    EXPECT_TRUE(seen->busy);
    EXPECT_TRUE(seen->hourglass);
    EXPECT_EQ(seen->status, "Updating the playlist entries, please wait...");
    EXPECT_FALSE(main().StatusBarBusy);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(column(1), QStringList({"One", "Two"}));
    EXPECT_EQ(column(5), QStringList({"00:02", "00:03"}));
    EXPECT_EQ(main().statusPanelText(1), "Updating the playlist entries, please wait...");
}

TEST_F(TagsTest, ShowMP3DataWithoutTagsOnAddingOpensNoFile)
{
    main().mnuTagsShowTagsAsFilesAreAdded->setChecked(false);
    addRow(song("Music/Tagged Song.mp3", {.artist = "Tagged", .title = "Title", .seconds = 2, .id3v1 = true}));
    addRow(home("Music/Missing Song.mp3"));
    main().playlist_ShowMP3Data(false);
    EXPECT_EQ(column(1), QStringList({"Tagged Song", "Missing Song"}));
    EXPECT_EQ(column(2), QStringList({"", ""}));
    EXPECT_EQ(column(5), QStringList({"", ""}));
}

} // namespace
