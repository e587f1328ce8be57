#include "common/modFiles.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <unistd.h>

namespace {

class FilesTest : public VeltraTest {};

TEST(FilePaths, TextRoutines)
{
    EXPECT_EQ(files_GetFileName("/music/a/song.mp3"), QStringLiteral("song.mp3"));
    EXPECT_EQ(files_GetFileName("song.mp3"), QStringLiteral("song.mp3"));
    EXPECT_EQ(files_GetDirectory("/music/a/song.mp3"), QStringLiteral("/music/a"));
    EXPECT_EQ(files_GetExtension("/music/a/song.Mp3"), QStringLiteral("Mp3"));
    EXPECT_EQ(files_GetExtension("/music/noext"), QStringLiteral("/music/noext"));
    EXPECT_EQ(files_GetExtension("/music/a.b/song"), QStringLiteral("b/song"));
    EXPECT_EQ(files_GetNameWithoutExtension("/m/My.Song.mp3"), QStringLiteral("My.Song"));
    EXPECT_EQ(files_RemoveTrailingNull(QStringLiteral("abc") + QChar(0)), QStringLiteral("abc"));
    EXPECT_EQ(files_RemoveTrailingNull("abc"), QStringLiteral("abc"));
}

TEST_F(FilesTest, QuestionsAndSizes)
{
    const QString small = writeFile("1024.bin", QByteArray(1024, 'a'));
    const QString over = writeFile("1025.bin", QByteArray(1025, 'a'));
    const QString ten = writeFile("10mb.bin", QByteArray(10485760, 'a'));
    const QString half = writeFile("1.5mb.bin", QByteArray(1572864, 'a'));
    EXPECT_EQ(files_GetFileSizeDisplay(small, true), QStringLiteral("1024 Bytes"));
    EXPECT_EQ(files_GetFileSizeDisplay(small, false), QStringLiteral("1024"));
    EXPECT_EQ(files_GetFileSizeDisplay(over, true), QStringLiteral("0 MB"));
    EXPECT_EQ(files_GetFileSizeDisplay(ten, true), QStringLiteral("10 MB"));
    EXPECT_EQ(files_GetFileSizeDisplay(half, false), QStringLiteral("1.5"));
    EXPECT_EQ(files_GetFileSizeText(over), QStringLiteral("1025"));
    EXPECT_TRUE(files_FileExists(home()));
    EXPECT_TRUE(files_FileExists(small));
    EXPECT_FALSE(files_FileExists(home("nope")));
    EXPECT_FALSE(files_FileExists(QString()));
    EXPECT_TRUE(files_HasAttribute(home("nope"), 1));   // a failed query has every bit set
    EXPECT_FALSE(files_HasAttribute(small, 1));
    EXPECT_TRUE(files_HasAttribute(home(), 16));
}

TEST_F(FilesTest, DeleteFileSkipsReadOnlyAndMissing)
{
    const QString ro = writeFile("ro.mp3", "x");
    QFile::setPermissions(ro, QFileDevice::ReadOwner);
    EXPECT_TRUE(files_HasAttribute(ro, 1));
    files_DeleteFile(ro);
    EXPECT_TRUE(QFile::exists(ro));
    files_DeleteFile(home("missing.mp3"));
    EXPECT_TRUE(ui.calls.isEmpty());
    const QString rw = writeFile("rw.mp3", "x");
    files_DeleteFile(rw);
    EXPECT_FALSE(QFile::exists(rw));
}

TEST_F(FilesTest, CopyMoveAndRename)
{
    const QString a = writeFile("a/song.mp3", "song");
    QDir().mkpath(home("b"));
    files_CopyFile(a, home("b"));                       // into a folder under its own name
    EXPECT_EQ(readFile(home("b/song.mp3")), QByteArray("song"));
    writeFile("c/song.mp3", "older, longer content");
    files_CopyFile(a, home("c/song.mp3"));              // replaces without asking
    EXPECT_EQ(readFile(home("c/song.mp3")), QByteArray("song"));
    files_MoveFile(home("b/song.mp3"), home("c/moved.mp3"));
    EXPECT_FALSE(QFile::exists(home("b/song.mp3")));
    EXPECT_TRUE(QFile::exists(home("c/moved.mp3")));
    EXPECT_TRUE(ui.calls.isEmpty());

    EXPECT_TRUE(files_RenameFile(home("c/moved.mp3"), home("c/renamed.mp3")));
    EXPECT_FALSE(files_RenameFile(home("c/renamed.mp3"), home("c/song.mp3")));   // never over another file
    EXPECT_EQ(readFile(home("c/song.mp3")), QByteArray("song"));
    EXPECT_FALSE(files_RenameFile(home("c/none.mp3"), home("c/x.mp3")));
    // two names that differ only in case are two files here
    EXPECT_TRUE(files_RenameFile(home("c/renamed.mp3"), home("c/RENAMED.mp3")));
}

TEST_F(FilesTest, FailuresShowTheirBoxes)
{
    files_CopyFile(home("missing.mp3"), home("x.mp3"));
    files_MoveFile(home("missing.mp3"), home("x.mp3"));
    files_DeleteToRecycleBin(home("missing.mp3"), false, true);
    const auto m = ui.messages();
    ASSERT_EQ(m.size(), 3);
    EXPECT_EQ(m[0].title, QStringLiteral("Error Copying File"));
    EXPECT_EQ(m[0].text, QStringLiteral("An error occured while trying to copy the filename\r\n") + home("missing.mp3")
                             + QStringLiteral("\r\n\r\nThis function will not continue.\r\n"));
    EXPECT_EQ(m[1].title, QStringLiteral("Error Moving File"));
    EXPECT_EQ(m[2].title, QStringLiteral("Error Deleting File"));
    EXPECT_EQ(m[2].icon, int(veltra::MsgIcon::Exclamation));
}

// Every spelling of the song itself as a target: the song stays whole and the operation
// reports its error.
TEST_F(FilesTest, TargetThatIsTheSourceItselfChangesNothing)
{
    const QString song = writeFile("music/song.mp3", "the song");
    ASSERT_TRUE(QFile::link(home("music"), home("linked")));
    ASSERT_EQ(::link(QFile::encodeName(song).constData(), QFile::encodeName(home("music/hardlink.mp3")).constData()), 0);
    const QStringList targets = {home("music/"), home("music"), home("music/./song.mp3"), home("music/../music/song.mp3"),
                                 home("linked/song.mp3"), home("linked/"), home("music/hardlink.mp3"), song};
    for (const QString& target : targets) {
        SCOPED_TRACE(target.toStdString());
        ui.clear();
        files_MoveFile(song, target);
        files_CopyFile(song, target);
        EXPECT_FALSE(files_RenameFile(song, target));
        EXPECT_EQ(readFile(song), QByteArray("the song"));
        const auto m = ui.messages();
        ASSERT_EQ(m.size(), 2);
        EXPECT_EQ(m[0].title, QStringLiteral("Error Moving File"));
        EXPECT_EQ(m[1].title, QStringLiteral("Error Copying File"));
    }
    // a move never goes over another file: both stay as they were
    const QString other = writeFile("other.mp3", "other");
    ui.clear();
    EXPECT_FALSE(files_MoveFile(other, home("music/hardlink.mp3")));
    EXPECT_EQ(readFile(other), QByteArray("other"));
    EXPECT_EQ(readFile(song), QByteArray("the song"));
    EXPECT_EQ(ui.messages().size(), 1);
}

TEST_F(FilesTest, RecycleBinIsTheHomeTrashMadeWhenMissing)
{
    // a fresh account: the data folder itself does not exist yet
    const QString data = home("fresh/.local/share");
    qputenv("XDG_DATA_HOME", data.toUtf8());
    // nothing lands in the working folder either
    QDir().mkpath(home("cwd"));
    const QString before = QDir::currentPath();
    QDir::setCurrent(home("cwd"));
    const QString f = writeFile("music/gone.mp3", "first");
    files_DeleteToRecycleBin(f, false, true);
    writeFile("music/gone.mp3", "second");
    files_DeleteToRecycleBin(f, true, false);
    EXPECT_FALSE(QFile::exists(f));
    EXPECT_TRUE(ui.calls.isEmpty());
    EXPECT_EQ(readFile(data + "/Trash/files/gone.mp3"), QByteArray("first"));
    EXPECT_EQ(readFile(data + "/Trash/files/gone.2.mp3"), QByteArray("second"));
    const QByteArray info = readFile(data + "/Trash/info/gone.mp3.trashinfo");
    EXPECT_TRUE(info.startsWith("[Trash Info]\nPath=" + QUrl::toPercentEncoding(f, "/") + "\nDeletionDate="));
    EXPECT_TRUE(QFile::exists(data + "/Trash/info/gone.2.mp3.trashinfo"));
    EXPECT_EQ(QDir(home("cwd")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    QDir::setCurrent(before);

    // a name as long as a name can be goes under a shorter one, twice over
    const QString longName = QStringLiteral("é").repeated(125) + QStringLiteral("x.mp3");
    const QString longFile = writeFile(QStringLiteral("music/") + longName, "long");
    files_DeleteToRecycleBin(longFile, false, true);
    writeFile(QStringLiteral("music/") + longName, "long again");
    files_DeleteToRecycleBin(longFile, false, true);
    EXPECT_FALSE(QFile::exists(longFile));
    EXPECT_TRUE(ui.calls.isEmpty());
    const QStringList trashedLong = QDir(data + "/Trash/files").entryList({QStringLiteral("é*.mp3")}, QDir::Files, QDir::Name);
    ASSERT_EQ(trashedLong.size(), 2);
    EXPECT_EQ(readFile(data + "/Trash/files/" + trashedLong[1]), QByteArray("long"));
    EXPECT_TRUE(readFile(data + "/Trash/info/" + trashedLong[0] + ".trashinfo").contains(QUrl::toPercentEncoding(longFile, "/")));

    // no trash can be made: the file stays and the failure is reported
    qputenv("XDG_DATA_HOME", (home("music/gone-not.mp3") + "/share").toUtf8());
    const QString kept = writeFile("music/kept.mp3", "kept");
    writeFile("music/gone-not.mp3", "a file where the folder would go");
    files_DeleteToRecycleBin(kept, false, true);
    EXPECT_EQ(readFile(kept), QByteArray("kept"));
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.messages()[0].title, QStringLiteral("Error Deleting File"));
}

TEST_F(FilesTest, WriteArrayToFileReplacesWhole)
{
    writeFile("Updates/veltra.upd", QByteArray(500, 'o'));
    QString asked;
    const bool ok = files_WriteArrayToFile("http://example.invalid/", "veltra.upd", home("Updates"), [&](const QString& url) {
        asked = url;
        return std::optional<QByteArray>("[Version]\r\n");
    });
    EXPECT_TRUE(ok);
    EXPECT_EQ(asked, QStringLiteral("http://example.invalid/veltra.upd"));
    EXPECT_EQ(readFile(home("Updates/veltra.upd")), QByteArray("[Version]\r\n"));
    EXPECT_FALSE(files_WriteArrayToFile("u", "x", home(), [](const QString&) { return std::optional<QByteArray>(); }));
}

TEST_F(FilesTest, RecentDocumentsList)
{
    const QString f = writeFile("music/a.mp3", "x");
    files_AddToRecentDocuments(f);
    files_AddToRecentDocuments(f);
    const QByteArray xbel = readFile(files::recentDocumentsPath());
    EXPECT_EQ(xbel.count("<bookmark href="), 1);
    EXPECT_TRUE(xbel.contains("music/a.mp3"));
}

} // namespace
