// Files the user or the desktop owns are never rewritten from a failed read, and files in
// older or foreign encodings and line ends are read without damage.
#include "common/FrmConsole.h"
#include "common/ListViewModel.h"
#include "common/modAssociations.h"
#include "common/modFiles.h"
#include "common/modListFiles.h"
#include "common/modControls.h"
#include "common/modMoodFiles.h"
#include "common/modSettings.h"
#include "platform/TextFile.h"
#include "startup/Forms.h"
#include "support/TestEnv.h"
#include "support/Unreadable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QStringDecoder>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

class OwnFilesTest : public VeltraTest {
protected:
    QString ini() const { return home(QStringLiteral("settings.ini")); }
};

// One writer per file: each is given a file that is there but cannot be read.
TEST_F(OwnFilesTest, AFileThatCannotBeReadIsNeverWrittenOver)
{
    const QByteArray settings = "; VELTRA Settings:\r\n\r\n[Sound]\r\nVolume=40\r\n[Settings]\r\nAlwaysOnTop=1\r\n";
    const QByteArray mimeApps = "[Default Applications]\ntext/plain=editor.desktop;\n";
    const QByteArray recent = "<?xml version=\"1.0\"?>\n<xbel version=\"1.0\">\n<bookmark href=\"file:///a\"/>\n</xbel>\n";
    writeFile(QStringLiteral("settings.ini"), settings);
    writeFile(QStringLiteral(".xdg-config/mimeapps.list"), mimeApps);
    writeFile(QStringLiteral(".xdg-data/recently-used.xbel"), recent);
    const QString song = writeFile(QStringLiteral("song.mp3"), "x");
    const QString mimePath = associations::mimeAppsPath();
    const QString recentPath = files::recentDocumentsPath();
    ::chmod(QFile::encodeName(song).constData(), 0666);
    {
        const Unreadable guard({ini(), mimePath, recentPath},
                               {home(), home(QStringLiteral(".xdg-config")), home(QStringLiteral(".xdg-data"))});
        // reads act as if every key were missing
        EXPECT_EQ(settings_ReadValue(QStringLiteral("Sound"), QStringLiteral("Volume"), QStringLiteral("50")), QStringLiteral("50"));
        settings_WriteValue(QStringLiteral("Sound"), QStringLiteral("Volume"), QStringLiteral("75"));
        associations_RegisterFileType(QStringLiteral("VELTRA"), QStringLiteral("mp3"));
        files_AddToRecentDocuments(song);
    }
    EXPECT_EQ(readFile(ini()), settings);
    EXPECT_EQ(readFile(mimePath), mimeApps);
    EXPECT_EQ(readFile(recentPath), recent);
    // readable again, they are written as ever
    settings_WriteValue(QStringLiteral("Sound"), QStringLiteral("Volume"), QStringLiteral("75"));
    EXPECT_EQ(settings_ReadValue(QStringLiteral("Settings"), QStringLiteral("AlwaysOnTop"), QStringLiteral("0")), QStringLiteral("1"));
    EXPECT_EQ(settings_ReadValue(QStringLiteral("Sound"), QStringLiteral("Volume"), QStringLiteral("50")), QStringLiteral("75"));
}

// The program's own lists and logs, read at one time and written whole at another: one that
// is there but could not be read is not replaced by what little the program holds.
TEST_F(OwnFilesTest, ListsAndLogsThatCannotBeReadAreNeverReplaced)
{
    settings_WriteValue(QStringLiteral("Settings"), QStringLiteral("RememberTheConsoleLogs"), QStringLiteral("1"));
    struct Case {
        const char* file;
        std::function<void(const QString&)> write;
    };
    const Case cases[] = {
        {"console.log", [](const QString&) { forms().get<FrmConsole>().window_WriteLog(QStringLiteral("a new run")); }},
        {"bookmarks.sbl",
         [](const QString& path) {
             QListWidget list;
             list.addItem(QStringLiteral("/music/one.mp3"));
             EXPECT_FALSE(controls_SaveListToFile(path, &list));
         }},
        {"Moods/Happy.mlst", [](const QString& path) { EXPECT_FALSE(moods_WriteSongs(path, {QStringLiteral("/music/one.mp3")})); }},
        {"Playlists/default.spp",
         [](const QString& path) {
             ListViewModel list;
             list.setColumns({"No.", "Filename:"});
             list.add({"1", "/music/one.mp3"});
             EXPECT_FALSE(controls_SaveListView(list, path));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const QByteArray before = "the user's own lines\r\n";
        const QString path = writeFile(QString::fromLatin1(c.file), before);
        {
            const Unreadable guard({path}, {home(), QFileInfo(path).absolutePath()});
            c.write(path);
        }
        EXPECT_EQ(readFile(path), before);
    }
}

QByteArray utf16(const QString& text, bool bigEndian)
{
    QStringEncoder e(bigEndian ? QStringConverter::Utf16BE : QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
    return e.encode(text);
}

// The same settings in every form an older version or another editor leaves them.
TEST_F(OwnFilesTest, SettingsInEveryEncodingAndLineEndReadAndRewrittenWhole)
{
    const QString text = QStringLiteral("[Settings]\r\nLastDirectoryUsed=/music/Björk/Søng 1.mp3\r\nFolder=Música\r\n");
    struct Case {
        const char* name;
        QByteArray bytes;
        QString old;   // the value of Old=, a line in Windows-1252 where the case has one
    };
    const Case cases[] = {
        {"utf-8 with one Windows-1252 line", text.toUtf8() + "Old=Beyonc\xE9\r\n", QStringLiteral("Beyoncé")},
        {"utf-16le", utf16(text, false), QString()},
        {"utf-16be", utf16(text, true), QString()},
        {"cr only", QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\r")).toUtf8(), QString()},
        {"lf only", QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).toUtf8(), QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeFile(QStringLiteral("settings.ini"), c.bytes);
        EXPECT_EQ(settings_ReadValue("Settings", "LastDirectoryUsed", ""), QStringLiteral("/music/Björk/Søng 1.mp3"));
        EXPECT_EQ(settings_ReadValue("Settings", "Folder", ""), QStringLiteral("Música"));
        EXPECT_EQ(settings_ReadValue("Settings", "Old", ""), c.old);
        settings_WriteValue("Settings", "Added", "1");
        const QByteArray after = readFile(ini());
        QByteArray expected = "[Settings]\r\nLastDirectoryUsed=/music/Bj\xC3\xB6rk/S\xC3\xB8ng 1.mp3\r\nFolder=M\xC3\xBAsica\r\n";
        if (!c.old.isEmpty()) expected += "Old=Beyonc\xC3\xA9\r\n";
        EXPECT_EQ(after, expected + "Added=1\r\n");
    }
}

TEST_F(OwnFilesTest, SettingsSeenAfterAnotherProgramChangesThem)
{
    writeFile(QStringLiteral("settings.ini"), "[Sound]\r\nVolume=40\r\n");
    EXPECT_EQ(settings_ReadValue("Sound", "Volume", ""), QStringLiteral("40"));
    // the same size, at once: within the file system's clock tick
    writeFile(QStringLiteral("settings.ini"), "[Sound]\r\nVolume=41\r\n");
    EXPECT_EQ(settings_ReadValue("Sound", "Volume", ""), QStringLiteral("41"));
    // the same size and the old modification time put back: the change time still shows it
    struct stat before {};
    ::stat(QFile::encodeName(ini()).constData(), &before);
    writeFile(QStringLiteral("settings.ini"), "[Sound]\r\nVolume=42\r\n");
    const timespec times[2] = {before.st_atim, before.st_mtim};
    ::utimensat(AT_FDCWD, QFile::encodeName(ini()).constData(), times, 0);
    EXPECT_EQ(settings_ReadValue("Sound", "Volume", ""), QStringLiteral("42"));
    settings_WriteValue("Sound", "Balance", "30");
    EXPECT_EQ(readFile(ini()), QByteArray("[Sound]\r\nVolume=42\r\nBalance=30\r\n"));
}

TEST_F(OwnFilesTest, BatchedWritesAreReadAtOnceAndReachTheFileTogether)
{
    writeFile(QStringLiteral("settings.ini"), "[Sound]\r\nVolume=40\r\n");
    {
        const settings::WriteBatch batch;
        settings_WriteValue("Sound", "Volume", "41");
        settings_WriteValue("Playback", "LastPlayed", "3");
        EXPECT_EQ(settings_ReadValue("Sound", "Volume", ""), QStringLiteral("41"));
        EXPECT_EQ(settings_ReadValue("Playback", "LastPlayed", ""), QStringLiteral("3"));
        EXPECT_EQ(readFile(ini()), QByteArray("[Sound]\r\nVolume=40\r\n"));
    }
    EXPECT_EQ(readFile(ini()), QByteArray("[Sound]\r\nVolume=41\r\n[Playback]\r\nLastPlayed=3\r\n"));
}

// A playlist whose lines mix encodings, or come in UTF-16 or with CR alone, loads row for row.
TEST_F(OwnFilesTest, PlaylistsInEveryEncodingLoadRowForRow)
{
    const QStringList first = {"01", "Björk", "Jóga", "1997", "Play", "05:05", "/music/Björk/Søng 1.mp3"};
    const QStringList second = {"02", "Beyoncé", "Halo", "2008", "Play", "04:21", "/music/Beyoncé/Halo.mp3"};
    QString text;
    for (const QStringList* row : {&first, &second})
        for (const QString& cell : *row) text += u'"' + cell + QStringLiteral("\"\r\n");
    QByteArray mixed = text.toUtf8();
    mixed.replace("Beyonc\xC3\xA9", "Beyonc\xE9");   // the second row as an older version wrote it
    const QByteArray cases[] = {mixed, utf16(text, false), utf16(text, true),
                                QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\r")).toUtf8()};
    for (const QByteArray& bytes : cases) {
        const QString path = writeFile(QStringLiteral("Playlists/list.spp"), bytes);
        ListViewModel list;
        list.setColumns({"No.", "Artist:", "Title:", "Year:", "Status:", "Length:", "Filename:"});
        ASSERT_TRUE(controls_LoadListView(list, path));
        ASSERT_EQ(list.count(), 2);
        EXPECT_EQ(list.cells(1), first);
        EXPECT_EQ(list.cells(2), second);
        // line files read the same way
        QStringList lines;
        ASSERT_TRUE(listfile::readLines(path, &lines));
        EXPECT_EQ(lines.size(), 14);
        EXPECT_EQ(lines[6], QStringLiteral("\"/music/Björk/Søng 1.mp3\""));
    }
    EXPECT_TRUE(ui.messages().isEmpty());
}

} // namespace
