// Starts the real program, as a user's desktop would, on an empty program folder.
#include "e2e/EndToEndFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

namespace {

TEST_F(EndToEnd, FirstStartSecondInstanceAndSigterm)
{
    QProcess first;
    startPlayer(first);
    ASSERT_TRUE(waitForMainWindow(first)) << first.readAll().constData();

    const QByteArray ini = settings();
    EXPECT_TRUE(ini.startsWith("; VELTRA Settings:\r\n\r\n[VELTRA]\r\nVersion=")) << ini.constData();
    EXPECT_TRUE(ini.contains("\r\nBuild=#"));
    EXPECT_TRUE(ini.contains("\r\nBetaInformation=Beta 5\r\n"));
    for (const char* folder : {"Playlists", "Logs", "Moods", "Updates"})
        EXPECT_TRUE(QFileInfo(home.path() + u'/' + QString::fromLatin1(folder)).isDir()) << folder;

    // a second start on the same program folder hands over to the first and ends
    QProcess second;
    startPlayer(second);
    ASSERT_TRUE(second.waitForFinished(15000));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running);

    EXPECT_EQ(terminate(first), 0) << first.readAll().constData();
}

TEST_F(EndToEnd, SeparateProgramFoldersRunSideBySide)
{
    QTemporaryDir other;
    QProcess a;
    startPlayer(a);
    ASSERT_TRUE(waitForMainWindow(a));
    QProcess b;
    QProcessEnvironment e = env();
    e.insert(QStringLiteral("VELTRA_HOME"), other.path());
    b.setProcessEnvironment(e);
    b.start(QStringLiteral(VELTRA_BINARY), {});
    ASSERT_TRUE(b.waitForStarted());
    ASSERT_TRUE(waitForMainWindow(b, 20000, other.path())) << b.readAll().constData();
    QThread::msleep(1200);
    EXPECT_EQ(b.state(), QProcess::Running);
    EXPECT_EQ(terminate(b), 0);
    EXPECT_EQ(terminate(a), 0);
}

} // namespace

namespace {
TEST_F(EndToEnd, InstanceLeftByACrashDoesNotBlockTheNextStart)
{
    QProcess crashed;
    startPlayer(crashed);
    ASSERT_TRUE(waitForMainWindow(crashed));
    ::kill(pid_t(crashed.processId()), SIGKILL);
    crashed.waitForFinished();

    QProcess next;
    startPlayer(next);
    ASSERT_TRUE(waitForMainWindow(next)) << next.readAll().constData();
    QThread::msleep(2000);
    EXPECT_EQ(next.state(), QProcess::Running) << next.readAll().constData();
    EXPECT_EQ(terminate(next), 0);
}
} // namespace

#include "common/ListViewModel.h"
#include "common/PlaylistRow.h"
#include "common/modListFiles.h"
#include "support/Mp3Maker.h"
#include "platform/TemporaryCopies.h"

namespace {
TEST_F(EndToEnd, FilesOnTheCommandLineAreKeptInTheDefaultPlaylist)
{
    QStringList files;
    for (int i = 1; i <= 3; ++i) {
        const QString path = home.path() + QStringLiteral("/music/song%1.mp3").arg(i);
        QDir().mkpath(home.path() + QStringLiteral("/music"));
        ASSERT_TRUE(mp3maker::makeMp3(path, {.artist = QStringLiteral("Artist %1").arg(i), .title = QStringLiteral("Title %1").arg(i),
                                             .year = QStringLiteral("200%1").arg(i), .seconds = 61, .id3v1 = true}));
        files.append(path);
    }
    QProcess first;
    startPlayer(first, files);
    ASSERT_TRUE(waitForMainWindow(first)) << first.readAll().constData();
    EXPECT_EQ(terminate(first), 0) << first.readAll().constData();

    const QString spp = home.path() + QStringLiteral("/Playlists/default.spp");
    auto load = [&] {
        ListViewModel list;
        list.setColumns(PlaylistColumn::headers());
        EXPECT_TRUE(controls_LoadListView(list, spp));
        return std::vector<QStringList>{list.cells(1), list.cells(2), list.cells(3), list.cells(4)};
    };
    const auto rows = load();
    EXPECT_EQ(rows[0], QStringList({"01", "Artist 1", "Title 1", "2001", "Play", "01:01", files[0]}));
    EXPECT_EQ(rows[2], QStringList({"03", "Artist 3", "Title 3", "2003", "Play", "01:01", files[2]}));
    EXPECT_TRUE(rows[3].isEmpty());

    // the next start shows them again, and keeps them
    QProcess second;
    startPlayer(second);
    ASSERT_TRUE(waitForMainWindow(second));
    EXPECT_EQ(terminate(second), 0);
    EXPECT_EQ(load(), rows);
}
} // namespace

namespace {
// SIGTERM as soon as start-up has made its folders, while it still reads the tags of many
// songs from the command line: the list is saved whole, every row with its tags.
TEST_F(EndToEnd, SigtermWhileTheCommandLinesSongsAreReadSavesThemWhole)
{
    constexpr int kSongs = 300;
    QStringList files;
    QDir().mkpath(home.path() + QStringLiteral("/music"));
    for (int i = 1; i <= kSongs; ++i) {
        const QString path = home.path() + QStringLiteral("/music/song%1.mp3").arg(i);
        ASSERT_TRUE(mp3maker::makeMp3(path, {.artist = QStringLiteral("Artist %1").arg(i), .title = QStringLiteral("Title"),
                                             .seconds = 0.2, .bitrate = 32, .id3v1 = true}));
        files.append(path);
    }
    QProcess player;
    startPlayer(player, files);
    QDeadlineTimer deadline(20000);
    while (!QFileInfo(home.path() + QStringLiteral("/Playlists")).isDir() && player.state() == QProcess::Running
           && !deadline.hasExpired())
        QThread::msleep(1);
    EXPECT_EQ(terminate(player), 0) << player.readAll().constData();

    ListViewModel list;
    list.setColumns(PlaylistColumn::headers());
    ASSERT_TRUE(controls_LoadListView(list, home.path() + QStringLiteral("/Playlists/default.spp")));
    ASSERT_EQ(list.count(), kSongs);
    QStringList untagged;
    for (int r = 1; r <= kSongs; ++r)
        if (list.subItem(r, PlaylistColumn::Artist) != QStringLiteral("Artist %1").arg(r)) untagged << list.cells(r).join(u'|');
    EXPECT_TRUE(untagged.isEmpty()) << untagged.size() << " rows, the first: " << untagged.value(0).toStdString();
}
} // namespace

namespace {
// SIGTERM when Playlists/default.spp cannot be written (a file stands where the folder was):
// nobody can be asked, so the log and standard error say what was not saved and why.
TEST_F(EndToEnd, SigtermThatCannotWriteThePlaylistSaysWhyOnStandardErrorAndInTheLog)
{
    const QString song = home.path() + QStringLiteral("/music/song.mp3");
    QDir().mkpath(home.path() + QStringLiteral("/music"));
    ASSERT_TRUE(mp3maker::makeMp3(song, {.artist = QStringLiteral("A"), .title = QStringLiteral("T"), .id3v1 = true}));
    QFile ini(home.path() + QStringLiteral("/settings.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[Settings]\r\nRememberTheConsoleLogs=1\r\n");   // the log kept in console.log
    ini.close();
    QProcess player;
    startPlayer(player, {song});
    ASSERT_TRUE(waitForMainWindow(player)) << player.readAll().constData();
    const QString playlists = home.path() + QStringLiteral("/Playlists");
    ASSERT_TRUE(QDir(playlists).removeRecursively());
    QFile file(playlists);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();

    EXPECT_EQ(terminate(player), 0);
    const QByteArray line = "The playlist could not be saved to " + QFile::encodeName(playlists) + "/default.spp: Not a directory.";
    const QByteArray output = player.readAll();
    EXPECT_TRUE(output.contains("veltra: " + line + "\n")) << output.constData();
    QFile log(home.path() + QStringLiteral("/console.log"));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_TRUE(log.readAll().contains(line + "\r\n"));
    EXPECT_TRUE(settings().contains("Volume=")) << settings().constData();   // the rest is saved
}

// A save killed in the middle leaves its temporary file beside the list (or the settings);
// the next saves in those folders remove it, and nothing of a similar name: not the user's
// own files, whatever they are called.
TEST_F(EndToEnd, WhatAKilledSaveLeftIsRemovedByTheNextRunsSave)
{
    const QString song = home.path() + QStringLiteral("/music/song.mp3");
    QDir().mkpath(home.path() + QStringLiteral("/music"));
    ASSERT_TRUE(mp3maker::makeMp3(song, {.artist = QStringLiteral("Artist"), .title = QStringLiteral("Title"), .seconds = 1}));
    QProcess player;
    startPlayer(player, {song});
    // Once the program has made its folders (and so can end on SIGTERM), the leftovers are
    // put beside what it will write on its way out.
    ASSERT_TRUE(waitForMainWindow(player)) << player.readAll().constData();
    const auto make = [&](const QString& relative, const QByteArray& bytes) {
        QFile f(home.path() + u'/' + relative);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };
    const QString killedList = QStringLiteral("Playlists/") + tempcopies::nameFor(tempcopies::kWholeFile, "k1ll3d0000000000");
    const QString killedSettings = QString::fromLatin1(tempcopies::nameFor(tempcopies::kWholeFile, "s3tt1ngs00000000"));
    make(killedList, "\"01\"\r\n\"Artist\"\r\n\"Ti");
    make(killedSettings, "; VELTRA Settings:\r\n\r\n[VEL");
    QStringList similar = {QStringLiteral(".veltra-0-0123456789abcdef.lock"), QStringLiteral(".veltra-0-0123456789abcdef.socket")};
    for (const char* name : {".veltra-settings", ".veltra-notes123", ".veltra-mybackup", ".veltra-copy-backup", ".veltra-tag-backup"})
        similar << QString::fromLatin1(name) << QStringLiteral("Playlists/") + QString::fromLatin1(name);
    for (const QString& name : similar) make(name, "the user's");
    EXPECT_EQ(terminate(player), 0) << player.readAll().constData();

    EXPECT_FALSE(QFileInfo::exists(home.path() + u'/' + killedList));
    EXPECT_FALSE(QFileInfo::exists(home.path() + u'/' + killedSettings));
    for (const QString& name : similar) EXPECT_TRUE(QFileInfo::exists(home.path() + u'/' + name)) << name.toStdString();
    ListViewModel list;
    list.setColumns(PlaylistColumn::headers());
    ASSERT_TRUE(controls_LoadListView(list, home.path() + QStringLiteral("/Playlists/default.spp")));
    EXPECT_EQ(list.count(), 1);
}
} // namespace
