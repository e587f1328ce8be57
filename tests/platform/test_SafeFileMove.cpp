#include "platform/SafeFileMove.h"
#include "support/TestEnv.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sys/stat.h>

namespace {

using safefile::Result;

class SafeFileMoveTest : public VeltraTest {
protected:
    // A folder on another file system than the program folder, when the machine has one.
    QString otherDevice()
    {
        struct stat here {}, there {};
        if (::stat(QFile::encodeName(home()).constData(), &here) != 0) return {};
        if (!m_shm.isValid() || ::stat(QFile::encodeName(m_shm.path()).constData(), &there) != 0) return {};
        return here.st_dev == there.st_dev ? QString() : m_shm.path();
    }
    QTemporaryDir m_shm{QStringLiteral("/dev/shm/veltra-test-XXXXXX")};
};

TEST_F(SafeFileMoveTest, RenameNeverReplacesOrCopies)
{
    const QString a = writeFile("a.mp3", "first");
    const QString b = writeFile("b.mp3", "second");
    EXPECT_EQ(safefile::rename(a, b), Result::TargetExists);
    EXPECT_EQ(safefile::rename(a, a), Result::TargetExists);
    EXPECT_EQ(readFile(a), QByteArray("first"));
    EXPECT_EQ(readFile(b), QByteArray("second"));
    EXPECT_EQ(safefile::rename(a, home(QString(256, u'x') + QStringLiteral(".mp3"))), Result::Failed);   // name too long
    EXPECT_EQ(safefile::rename(a, home("missing/a.mp3")), Result::Failed);
    EXPECT_EQ(safefile::rename(home("none.mp3"), home("c.mp3")), Result::Failed);
    EXPECT_EQ(safefile::rename(a, home("c.mp3")), Result::Done);
    EXPECT_FALSE(QFile::exists(a));
    EXPECT_EQ(readFile(home("c.mp3")), QByteArray("first"));

    const QString other = otherDevice();
    if (other.isEmpty()) GTEST_SKIP() << "no second file system";
    EXPECT_EQ(safefile::rename(home("c.mp3"), other + QStringLiteral("/c.mp3")), Result::Failed);   // a rename never copies
    EXPECT_TRUE(QFile::exists(home("c.mp3")));
    EXPECT_FALSE(QFile::exists(other + QStringLiteral("/c.mp3")));
}

TEST_F(SafeFileMoveTest, MoveAndCopyAcrossFileSystemsAreChecked)
{
    const QString other = otherDevice();
    if (other.isEmpty()) GTEST_SKIP() << "no second file system";
    QByteArray bytes(3 * 1024 * 1024 + 17, '\0');
    for (int i = 0; i < bytes.size(); ++i) bytes[i] = char(i * 7 + i / 4096);
    const QString song = writeFile("song.mp3", bytes);
    ::chmod(QFile::encodeName(song).constData(), 0640);
    {
        QFile f(song);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(QDateTime(QDate(2001, 2, 3), QTime(4, 5, 6)), QFileDevice::FileModificationTime));
    }

    EXPECT_EQ(safefile::copy(song, other + QStringLiteral("/copy.mp3")), Result::Done);
    EXPECT_EQ(readFile(other + QStringLiteral("/copy.mp3")), bytes);
    EXPECT_EQ(readFile(song), bytes);

    const QString target = other + QStringLiteral("/song.mp3");
    EXPECT_EQ(safefile::move(song, target), Result::Done);
    EXPECT_FALSE(QFile::exists(song));
    EXPECT_EQ(readFile(target), bytes);
    const QFileInfo moved(target);
    EXPECT_EQ(moved.lastModified(), QDateTime(QDate(2001, 2, 3), QTime(4, 5, 6)));
    EXPECT_EQ(int(moved.permissions() & (QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther)),
              int(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));

    // A taken name on the other side: both files stay as they were, no temporary file is left.
    const QString back = writeFile("song.mp3", "a different song");
    EXPECT_EQ(safefile::move(target, back), Result::TargetExists);
    EXPECT_EQ(safefile::copy(target, back), Result::TargetExists);
    EXPECT_EQ(readFile(back), QByteArray("a different song"));
    EXPECT_EQ(readFile(target), bytes);
    EXPECT_EQ(QDir(home()).entryList(QDir::Files | QDir::Hidden).filter(QStringLiteral("veltra-copy")), QStringList());
    EXPECT_EQ(QDir(other).entryList(QDir::Files | QDir::Hidden), QStringList({QStringLiteral("copy.mp3"), QStringLiteral("song.mp3")}));
    EXPECT_EQ(safefile::move(other, home("folder")), Result::Failed);   // a folder is never copied

    // copyReplacing puts the checked copy in place of the other song, and refuses the file itself.
    EXPECT_EQ(safefile::copyReplacing(target, back), Result::Done);
    EXPECT_EQ(readFile(back), bytes);
    EXPECT_EQ(QFileInfo(back).lastModified(), QDateTime(QDate(2001, 2, 3), QTime(4, 5, 6)));
    EXPECT_EQ(safefile::copyReplacing(target, target), Result::Failed);
    EXPECT_EQ(readFile(target), bytes);
    EXPECT_EQ(QDir(home()).entryList(QDir::Files | QDir::Hidden).filter(QStringLiteral("veltra-copy")), QStringList());
}

} // namespace
