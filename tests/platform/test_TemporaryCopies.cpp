// Temporary files left by a writer that was killed: list files written whole, copies to
// another folder, songs whose tag grows through a copy. The next write in the folder, of any
// kind, removes what a killed writer left, and nothing else: not a file another running
// writer still holds, nor files of similar names (the user's own, or an earlier version's),
// nor those of another user.
#include "media/clsID3v2.h"
#include "platform/SafeFileMove.h"
#include "platform/TemporaryCopies.h"
#include "platform/TextFile.h"
#include "support/Mp3Maker.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>

#include <csignal>
#include <fcntl.h>
#include <functional>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

void killNow() { ::kill(::getpid(), SIGKILL); }

// Runs `write` in a child process, which `write` kills (killNow) in the middle of its work.
void killedWhile(const std::function<void()>& write)
{
    const pid_t child = ::fork();
    if (child == 0) {
        write();
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
}

// Another running writer: a child process holding the lock on the file until destroyed.
class Holder {
public:
    explicit Holder(const QString& path)
    {
        int ready[2], done[2];
        if (::pipe(ready) != 0 || ::pipe(done) != 0) return;
        const QByteArray name = QFile::encodeName(path);
        m_child = ::fork();
        if (m_child == 0) {
            ::close(ready[0]);
            ::close(done[1]);   // the parent's end: closing it is the word to let go
            const int fd = ::open(name.constData(), O_RDONLY);
            const char held = fd >= 0 && ::flock(fd, LOCK_EX) == 0 ? 'y' : 'n';
            if (::write(ready[1], &held, 1) != 1) ::_exit(1);
            char c;
            while (::read(done[0], &c, 1) > 0) {
            }
            ::_exit(0);
        }
        ::close(ready[1]);
        ::close(done[0]);
        m_done = done[1];
        char c = 'n';
        m_held = ::read(ready[0], &c, 1) == 1 && c == 'y';
        ::close(ready[0]);
    }
    ~Holder()
    {
        if (m_done >= 0) ::close(m_done);
        if (m_child > 0) ::waitpid(m_child, nullptr, 0);
    }
    bool held() const { return m_held; }

private:
    pid_t m_child = -1;
    int m_done = -1;
    bool m_held = false;
};

struct KindCase {
    const char* kind;
    const tempcopies::Kind& shape;
    QByteArray ours;   // what a file of this kind begins with
    bool checksContent;   // whether a file of this kind's name but other content stays
    // Leaves in the folder what a writer of this kind killed in the middle leaves.
    std::function<void(const QString& folder)> killedWriter;
    // A write of this kind in the folder; true when it succeeded.
    std::function<bool(const QString& folder)> write;
    QStringList similar;   // names close to this kind's, that are not
};

class TemporaryCopiesTest : public VeltraTest {};

TEST_F(TemporaryCopiesTest, TheNextWriteInAFolderRemovesWhatAKilledWriterLeftAndNothingElse)
{
    const QByteArray song = mp3maker::makeMp3Bytes({.title = "Song", .seconds = 1});
    const QByteArray tagHead("ID3\3\0\0\0\0\x10\0", 10);
    const std::vector<KindCase> cases = {
        {"list file written whole", tempcopies::kWholeFile, "\"01\"\r\n", false,
         [](const QString& folder) {
             killedWhile([&] {
                 textfile::ReplacingFile f(folder + "/list.spp");
                 if (f.open() && f.write("\"01\"\r\n\"Artist\"\r\n")) killNow();
             });
         },
         [](const QString& folder) { return textfile::writeAtomic(folder + "/list.spp", QStringLiteral("\"01\"\r\n")); },
         {".veltra-tmp-abcdefg", ".veltra-abcdefgh.spp", "x.veltra-abcdefgh"}},
        {"copy to another folder", tempcopies::kFolderCopy, song, false,
         [&](const QString& folder) {
             // The whole song copied, not yet read back nor renamed: the copier is gone.
             QFile f(folder + u'/' + tempcopies::nameFor(tempcopies::kFolderCopy, "k1lled0000000000"));
             ASSERT_TRUE(f.open(QIODevice::WriteOnly));
             f.write(song);
         },
         [&](const QString& folder) {
             return safefile::copy(writeFile("source/copied.mp3", song), folder + "/copied.mp3") == safefile::Result::Done;
         },
         {".veltra-copy-Ab12C", ".veltra-copy-Ab-2Cd", "x.veltra-copy-Ab12Cd"}},
        {"song whose tag grows", tempcopies::kTagCopy, tagHead, true,
         [&](const QString& folder) {
             const QString path = folder + "/killed.mp3";
             QFile f(path);
             ASSERT_TRUE(f.open(QIODevice::WriteOnly));
             f.write(song);
             f.close();
             killedWhile([&] {
                 clsID3v2 t;
                 t.setFilename(path);
                 t.setLyrics(QString(5000, u'w'));   // no room: the tag grows through a copy
                 media::id3v2::setCopyFinishedHook(killNow);
                 try {
                     t.Save();
                 } catch (...) {
                 }
             });
         },
         [&](const QString& folder) {
             QFile f(folder + "/next.mp3");
             if (!f.open(QIODevice::WriteOnly)) return false;
             f.write(song);
             f.close();
             clsID3v2 t;
             t.setFilename(folder + "/next.mp3");
             t.setTitle(QStringLiteral("Next"));
             t.Save();
             return true;
         },
         {".veltra-tag-Ab12C", "x.veltra-tag-Ab12Cd", ".veltra-tag-Ab_2Cd"}},
    };
    // Names a user gives files of their own, and the shorter names of earlier versions' files,
    // which nobody can tell from the user's: whatever they hold, they stay.
    const QStringList users = {".veltra-settings", ".veltra-notes123", ".veltra-mybackup", ".veltra-copy-backup", ".veltra-tag-backup",
                               ".veltra-abcdefgh", ".veltra-copy-Ab12Cd", ".veltra-tag-Ab12Cd"};

    for (size_t i = 0; i < cases.size(); ++i) {
        const KindCase& c = cases[i];
        // Whatever writes next in the folder sweeps it: here a writer of another kind.
        const KindCase& next = cases[(i + 1) % cases.size()];
        SCOPED_TRACE(c.kind);
        const QString folder = home(QString::fromLatin1(c.kind));
        ASSERT_TRUE(QDir().mkpath(folder));
        const auto named = [&](const char* word) {
            return QString::fromLatin1(tempcopies::nameFor(c.shape, QByteArray(word).leftJustified(tempcopies::kRandomLength, '0')));
        };
        const auto make = [&](const QString& name, const QByteArray& bytes) {
            QFile f(folder + u'/' + name);
            EXPECT_TRUE(f.open(QIODevice::WriteOnly)) << name.toStdString();
            f.write(bytes);
        };

        // What must stay: the single instance's lock and socket, names close to ours, files
        // of our name with another user's, a second name or a link, and one held by a writer.
        QStringList kept = {".veltra-0-0123456789abcdef.lock", ".veltra-0-0123456789abcdef.socket", ".veltra-1000-0123456789abcdef-1.lock"};
        kept += c.similar + users;
        QString unchecked = named("unchecked");   // our shape, but its check does not hold
        unchecked[unchecked.size() - 1] = unchecked.back() == u'a' ? u'b' : u'a';
        kept << unchecked;
        for (const QString& name : kept) make(name, c.ours);
        if (c.checksContent) {
            make(named("other"), "another program's data");
            kept << named("other");
        }
        if (::geteuid() == 0) {
            make(named("owner"), c.ours);
            ASSERT_EQ(::chown(QFile::encodeName(folder + u'/' + named("owner")).constData(), 65534, 65534), 0);
            kept << named("owner");
        }
        make("linked", c.ours);
        ASSERT_TRUE(QFile::link(folder + "/linked", folder + u'/' + named("link")));
        ASSERT_EQ(::link(QFile::encodeName(folder + "/linked").constData(), QFile::encodeName(folder + u'/' + named("hard")).constData()), 0);
        make(named("held"), c.ours);
        kept << "linked" << named("link") << named("hard") << named("held");
        Holder holder(folder + u'/' + named("held"));
        ASSERT_TRUE(holder.held());

        const QStringList before = entries(folder);
        c.killedWriter(folder);
        QStringList left = entries(folder);
        for (const QString& name : before) left.removeOne(name);
        left.removeOne("killed.mp3");
        ASSERT_EQ(left.size(), 1) << left.join(u' ').toStdString();
        ASSERT_TRUE(tempcopies::isName(QFile::encodeName(left[0]).constData(), c.shape)) << left[0].toStdString();

        ASSERT_TRUE(next.write(folder));
        const QStringList after = entries(folder);
        EXPECT_FALSE(after.contains(left[0])) << left[0].toStdString();
        for (const QString& name : kept) EXPECT_TRUE(after.contains(name)) << name.toStdString();
    }
}

} // namespace
