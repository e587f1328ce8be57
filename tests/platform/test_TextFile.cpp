#include "platform/TextFile.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <csignal>
#include <sys/resource.h>

class TextFileTest : public VeltraTest {};

TEST_F(TextFileTest, DecodesUtf8AndFallsBackToWindows1252)
{
    EXPECT_EQ(textfile::decode(QByteArray("Caf\xC3\xA9")), QStringLiteral("Café"));
    EXPECT_EQ(textfile::decode(QByteArray("\xEF\xBB\xBFok")), QStringLiteral("ok"));
    EXPECT_EQ(textfile::decode(QByteArray("Caf\xE9 \x93quoted\x94")), QStringLiteral("Café \u201Cquoted\u201D"));
    // overlong and surrogate encodings are not UTF-8
    EXPECT_FALSE(textfile::isValidUtf8(QByteArray("\xC0\xAF")));
    EXPECT_FALSE(textfile::isValidUtf8(QByteArray("\xED\xA0\x80")));
    EXPECT_TRUE(textfile::isValidUtf8(QByteArray("\xF0\x9F\x8E\xB5")));
}

TEST_F(TextFileTest, Windows1252RoundTripAndReplacement)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b) all.append(char(b));
    EXPECT_EQ(textfile::toWindows1252(textfile::fromWindows1252(all)), all);
    EXPECT_EQ(textfile::toWindows1252(QStringLiteral("a€b歌")), QByteArray("a\x80" "b?"));
}

TEST_F(TextFileTest, AtomicWriteReplacesWholeFileAndLeavesNoTemporary)
{
    // A name as long as the file system allows leaves no room to lengthen it for the
    // temporary file; the file keeps its permissions, and a link stays a link to it.
    for (const QString& name : {QStringLiteral("list.txt"), QString(251, u'n') + QStringLiteral(".spp")}) {
        SCOPED_TRACE(name.size());
        const QString folder = QString::number(name.size());
        const QString path = writeFile(folder + u'/' + name, QByteArray(1000, 'x'));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
        const QFile::Permissions permissions = QFile::permissions(path);
        ASSERT_TRUE(textfile::writeAtomic(path, QStringLiteral("short")));
        EXPECT_EQ(readFile(path), QByteArray("short"));
        ASSERT_TRUE(textfile::writeAtomic(path, QStringLiteral("again")));
        EXPECT_EQ(readFile(path), QByteArray("again"));
        EXPECT_EQ(QFile::permissions(path), permissions);
        EXPECT_EQ(QDir(home(folder)).entryList(QDir::Files | QDir::Hidden), QStringList({name}));
    }
    const QString target = writeFile("target.txt", "old");
    ASSERT_TRUE(QFile::link(target, home("link.txt")));
    ASSERT_TRUE(textfile::writeAtomic(home("link.txt"), QStringLiteral("new")));
    EXPECT_TRUE(QFileInfo(home("link.txt")).isSymLink());
    EXPECT_EQ(readFile(target), QByteArray("new"));
}

TEST_F(TextFileTest, FailedAtomicWriteKeepsOldFile)
{
    // A file size limit below the new text: the write fails halfway and must fail as a whole.
    const QString path = writeFile("list.txt", QByteArray("old"));
    struct rlimit was {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &was), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = was;
    small.rlim_cur = 10;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = textfile::writeAtomic(path, QString(100, u'x'));
    ::setrlimit(RLIMIT_FSIZE, &was);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(written);
    EXPECT_EQ(readFile(path), QByteArray("old"));
    EXPECT_EQ(QDir(home()).entryList(QDir::Files | QDir::Hidden), QStringList({"list.txt"}));
}
