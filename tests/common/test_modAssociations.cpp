#include "support/TestEnv.h"

#include "common/modAssociations.h"

#include <QDir>
#include <QFileInfo>

namespace {

class AssociationsTest : public VeltraTest {
protected:
    static QString value(const QString& path, const QString& key)
    {
        for (const auto& [k, v] : associations::readDesktopEntry(path))
            if (k == key) return v;
        return QStringLiteral("<missing>");
    }
    QString mimeApps() const { return QString::fromUtf8(readFile(associations::mimeAppsPath())); }
};

TEST_F(AssociationsTest, TheFoldersAreTheXdgOnes)
{
    EXPECT_EQ(associations::applicationsFolder(), home(QStringLiteral(".xdg-data/applications")));
    EXPECT_EQ(associations::mimeAppsPath(), home(QStringLiteral(".xdg-config/mimeapps.list")));
    EXPECT_EQ(associations::autostartFilePath(QStringLiteral("VELTRA")), home(QStringLiteral(".xdg-config/autostart/veltra.desktop")));
    EXPECT_EQ(associations::desktopFilePath(QStringLiteral("VELTRA")), home(QStringLiteral(".xdg-data/applications/veltra.desktop")));
}

TEST_F(AssociationsTest, RegisteringMp3WritesTheEntryAndTheDefault)
{
    associations_RegisterFileType(QStringLiteral("VELTRA"), QStringLiteral("mp3"));
    const QString entry = associations::desktopFilePath(QStringLiteral("VELTRA"));
    ASSERT_TRUE(QFileInfo(entry).isFile());
    const QString mp3 = associations::mimeTypeFor(QStringLiteral("mp3"));
    EXPECT_EQ(mp3, QStringLiteral("audio/mpeg"));
    EXPECT_EQ(value(entry, QStringLiteral("Type")), QStringLiteral("Application"));
    EXPECT_EQ(value(entry, QStringLiteral("Name")), QStringLiteral("VELTRA"));
    EXPECT_EQ(value(entry, QStringLiteral("Comment")), QStringLiteral("VELTRA Media File"));
    EXPECT_EQ(value(entry, QStringLiteral("Exec")), associations::execQuote(associations_GetProgramPath()) + QStringLiteral(" %F"));
    EXPECT_EQ(value(entry, QStringLiteral("MimeType")), mp3 + u';');
    EXPECT_EQ(value(entry, QStringLiteral("NoDisplay")), QStringLiteral("true"));

    const QString apps = mimeApps();
    EXPECT_TRUE(apps.contains(QStringLiteral("[Default Applications]\naudio/mpeg=veltra.desktop;\n"))) << apps.toStdString();
    EXPECT_TRUE(apps.contains(QStringLiteral("[Added Associations]\naudio/mpeg=veltra.desktop;\n"))) << apps.toStdString();
}

TEST_F(AssociationsTest, ALeadingFullStopIsNotDoubledAndTypesAccumulate)
{
    associations_RegisterFileType(QStringLiteral("VELTRA"), QStringLiteral(".mp3"));
    associations_RegisterFileType(QStringLiteral("VELTRA"), QStringLiteral("wav"));
    associations_RegisterFileType(QStringLiteral("VELTRA"), QStringLiteral("mp3"));   // again: listed once
    const QString entry = associations::desktopFilePath(QStringLiteral("VELTRA"));
    const QString wav = associations::mimeTypeFor(QStringLiteral("wav"));
    EXPECT_EQ(associations::mimeTypeFor(QStringLiteral(".mp3")), QStringLiteral("audio/mpeg"));
    EXPECT_EQ(value(entry, QStringLiteral("MimeType")), QStringLiteral("audio/mpeg;") + wav + u';');
    EXPECT_TRUE(mimeApps().contains(wav + QStringLiteral("=veltra.desktop;")));
    EXPECT_EQ(mimeApps().count(QStringLiteral("audio/mpeg=")), 2);   // one per group
}

TEST_F(AssociationsTest, OtherChoicesOfTheUserAreKept)
{
    writeFile(QStringLiteral(".xdg-config/mimeapps.list"),
              "# mine\n[Default Applications]\ntext/plain=editor.desktop;\naudio/mpeg=other.desktop;\n\n"
              "[Removed Associations]\nimage/png=viewer.desktop;\n");
    associations_RegisterFileType(QStringLiteral("VELTRA"), QStringLiteral("mp3"));
    const QString apps = mimeApps();
    EXPECT_TRUE(apps.startsWith(QStringLiteral("# mine\n[Default Applications]\ntext/plain=editor.desktop;\n"
                                                "audio/mpeg=veltra.desktop;other.desktop;\n")))
        << apps.toStdString();
    EXPECT_TRUE(apps.contains(QStringLiteral("[Removed Associations]\nimage/png=viewer.desktop;\n")));
    EXPECT_TRUE(apps.contains(QStringLiteral("[Added Associations]\naudio/mpeg=veltra.desktop;\n")));
}

TEST_F(AssociationsTest, RecordsAndUnknownTypes)
{
    AssociationRecord r;
    r.extension = QStringLiteral("zzq");
    r.typeName = QStringLiteral("VELTRA");
    r.description = QStringLiteral("VELTRA Media File");
    r.commands.append({QStringLiteral("Open"), QStringLiteral("/opt/veltra %F")});
    associations_WriteRegistry(r);
    const QString entry = associations::desktopFilePath(QStringLiteral("VELTRA"));
    // The system has no type for such files: none is made up, nothing is declared.
    EXPECT_EQ(associations::mimeTypeFor(QStringLiteral("zzq")), QString());
    EXPECT_FALSE(QFileInfo::exists(entry));
    EXPECT_FALSE(QFileInfo::exists(associations::mimeAppsPath()));

    // Made-up types an older version declared give way to the system's.
    writeFile(QStringLiteral(".xdg-data/applications/veltra.desktop"), "[Desktop Entry]\nMimeType=audio/mpa;audio/mpeg;audio/m1v;\n");
    r.extension = QStringLiteral("mpa");
    associations_WriteRegistry(r);
    EXPECT_EQ(value(entry, QStringLiteral("MimeType")), QStringLiteral("audio/mpeg;"));
    EXPECT_EQ(value(entry, QStringLiteral("Exec")), QStringLiteral("/opt/veltra %F"));
    associations_NotifyShell();   // nothing to wait for
}

TEST_F(AssociationsTest, ExecLinesQuoteWhatNeedsIt)
{
    EXPECT_EQ(associations::execQuote(QStringLiteral("/usr/bin/veltra")), QStringLiteral("/usr/bin/veltra"));
    EXPECT_EQ(associations::execQuote(QStringLiteral("/home/a b/veltra")), QStringLiteral("\"/home/a b/veltra\""));
    EXPECT_EQ(associations::execQuote(QStringLiteral("/x/$HOME\"q\"")), QStringLiteral("\"/x/\\$HOME\\\"q\\\"\""));
    EXPECT_EQ(associations::execQuote(QStringLiteral("/x/100%")), QStringLiteral("\"/x/100%%\""));

    // In the file the quoting backslashes are escaped once more, and read back as they were.
    AssociationRecord r;
    r.extension = QStringLiteral(".mp3");
    r.typeName = QStringLiteral("VELTRA");
    r.commands.append({QStringLiteral("Open"), associations::execQuote(QStringLiteral("/x/a\\b")) + QStringLiteral(" %F")});
    associations_WriteRegistry(r);
    const QString entry = associations::desktopFilePath(QStringLiteral("VELTRA"));
    EXPECT_TRUE(readFile(entry).contains("Exec=\"/x/a\\\\\\\\b\" %F\n"));
    EXPECT_EQ(value(entry, QStringLiteral("Exec")), QStringLiteral("\"/x/a\\\\b\" %F"));
}

TEST_F(AssociationsTest, ProgramPathHasOneSeparatorAlsoInTheRoot)
{
    EXPECT_EQ(associations::programPathIn(QStringLiteral("/")), QStringLiteral("/veltra"));
    EXPECT_EQ(associations::programPathIn(QStringLiteral("/opt/veltra/")), QStringLiteral("/opt/veltra/veltra"));
    EXPECT_EQ(associations::programPathIn(QStringLiteral("/opt/veltra")), QStringLiteral("/opt/veltra/veltra"));
    EXPECT_TRUE(associations_GetProgramPath().endsWith(QStringLiteral("/veltra")));
    EXPECT_TRUE(associations::startupCommandLine().endsWith(QStringLiteral(" /systray /winload")));
}

TEST_F(AssociationsTest, StartupEntryIsWrittenReadBackAndRemovedExactly)
{
    const QString path = associations::autostartFilePath(QStringLiteral("VELTRA"));
    const QString other = writeFile(QStringLiteral(".xdg-config/autostart/other.desktop"), "[Desktop Entry]\nExec=other\n");
    registry_RemoveStartupEntry(QStringLiteral("VELTRA"));   // none yet: nothing changes
    EXPECT_FALSE(QFileInfo::exists(path));

    const QString command = associations::startupCommandLine();
    registry_AddStartupEntry(QStringLiteral("VELTRA"), command);
    ASSERT_TRUE(QFileInfo(path).isFile());
    EXPECT_EQ(value(path, QStringLiteral("Exec")), command);
    EXPECT_EQ(value(path, QStringLiteral("Name")), QStringLiteral("VELTRA"));
    EXPECT_EQ(value(path, QStringLiteral("Type")), QStringLiteral("Application"));

    registry_AddStartupEntry(QStringLiteral("VELTRA"), command);   // again: the same one file
    EXPECT_EQ(QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files).size(), 2);

    registry_RemoveStartupEntry(QStringLiteral("VELTRA"));
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_TRUE(QFileInfo::exists(other));
}

} // namespace
