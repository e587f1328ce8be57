#include "platform/TextFile.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>

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
    const QString path = writeFile("list.txt", QByteArray(1000, 'x'));
    ASSERT_TRUE(textfile::writeAtomic(path, QStringLiteral("short")));
    EXPECT_EQ(readFile(path), QByteArray("short"));
    EXPECT_EQ(QDir(home()).entryList(QDir::Files), QStringList({"list.txt"}));
}

TEST_F(TextFileTest, FailedAtomicWriteKeepsOldFile)
{
    // a name so long that no temporary file can sit beside it: the write must fail as a whole
    const QString name = QString(250, u'n') + QStringLiteral(".spp");
    const QString path = writeFile(name, QByteArray("old"));
    ASSERT_FALSE(path.isEmpty());
    EXPECT_FALSE(textfile::writeAtomic(path, QStringLiteral("new")));
    EXPECT_EQ(readFile(path), QByteArray("old"));
}
