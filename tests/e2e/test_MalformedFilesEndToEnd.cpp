// The real program on files that are not what their names say: it refuses them without
// eating memory and leaves them as they were.
#include "EndToEndFixture.h"

#include <QElapsedTimer>
#include <QRegularExpression>

#include <sys/stat.h>

namespace {

// A process's figure from /proc/<pid>/status, in kB (VmHWM: the most memory it ever held).
qint64 statusKb(qint64 pid, const char* key)
{
    QFile f(QStringLiteral("/proc/%1/status").arg(pid));
    if (!f.open(QIODevice::ReadOnly)) return -1;
    const QRegularExpression re(QLatin1String(key) + QStringLiteral(":\\s+(\\d+) kB"));
    const auto m = re.match(QString::fromLatin1(f.readAll()));
    return m.hasMatch() ? m.captured(1).toLongLong() : -1;
}

// The process's CPU time in clock ticks; it stops growing once start-up waits on a box.
qint64 cpuTicks(qint64 pid)
{
    QFile f(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!f.open(QIODevice::ReadOnly)) return -1;
    const QList<QByteArray> fields = f.readAll().split(' ');
    return fields.size() > 14 ? fields[13].toLongLong() + fields[14].toLongLong() : -1;
}

class MalformedFilesEndToEnd : public EndToEnd {
protected:
    // Starts the player and waits until start-up has settled (its CPU time stands still, and
    // SIGTERM would end it by saving).
    void startAndSettle(QProcess& p)
    {
        startPlayer(p);
        QElapsedTimer clock;
        clock.start();
        qint64 last = -2;
        int still = 0;
        while (clock.elapsed() < 60000 && p.state() == QProcess::Running && still < 10) {
            QThread::msleep(100);
            const qint64 now = cpuTicks(p.processId());
            still = now == last && catchesSigterm(p) ? still + 1 : 0;
            last = now;
        }
    }
};

// Makes a sparse file of zeros of this size, as a crash may leave one.
bool zeros(const QString& path, qint64 size)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.resize(size);
}

// A default playlist that is a large run of zeros (a sparse file left by a crash) is refused
// with the list error, holding little more memory than the file's own bytes, and kept.
TEST_F(MalformedFilesEndToEnd, AHugeDefaultPlaylistOfZerosIsRefusedWithoutEatingMemoryAndKept)
{
    constexpr qint64 size = qint64(384) << 20;
    const QString spp = home.filePath(QStringLiteral("Playlists/default.spp"));
    ASSERT_TRUE(zeros(spp, size));
    QProcess p;
    startAndSettle(p);
    ASSERT_EQ(p.state(), QProcess::Running) << p.readAll().toStdString();
    const qint64 peakKb = statusKb(p.processId(), "VmHWM");
    EXPECT_EQ(terminate(p), 0);
    EXPECT_GT(peakKb, 0);
    EXPECT_LT(peakKb, size / 1024 + 250 * 1024);
    EXPECT_EQ(QFileInfo(spp).size(), size);
}

// A settings file of zeros far larger than any real one: the program starts on its defaults,
// ends at once, and neither copies nor rewrites the file.
TEST_F(MalformedFilesEndToEnd, AHugeSettingsFileOfZerosIsLeftAloneAndCostsNoMemory)
{
    constexpr qint64 size = qint64(96) << 20;
    const QString ini = home.filePath(QStringLiteral("settings.ini"));
    ASSERT_TRUE(zeros(ini, size));
    QProcess p;
    startAndSettle(p);
    ASSERT_EQ(p.state(), QProcess::Running) << p.readAll().toStdString();
    const qint64 peakKb = statusKb(p.processId(), "VmHWM");
    QElapsedTimer ending;
    ending.start();
    EXPECT_EQ(terminate(p), 0);
    EXPECT_LT(ending.elapsed(), 5000);
    EXPECT_LT(peakKb, size / 1024 + 300 * 1024);
    QFile f(ini);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    EXPECT_EQ(bytes.size(), size);
    EXPECT_EQ(bytes.count('\0'), size);
}

// A settings file or list that is a named pipe (no file at all) never holds start-up or the
// end of the program: it is not a file that can be read, and nothing is written over it.
TEST_F(MalformedFilesEndToEnd, NamedPipesInPlaceOfItsFilesNeverHoldTheProgram)
{
    for (const char* name : {"settings.ini", "bookmarks.sbl", "tracking.ssb"}) {
        SCOPED_TRACE(name);
        const QString path = home.filePath(QLatin1String(name));
        ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        QProcess p;
        startAndSettle(p);
        ASSERT_EQ(p.state(), QProcess::Running) << p.readAll().toStdString();
        QElapsedTimer ending;
        ending.start();
        EXPECT_EQ(terminate(p), 0);
        EXPECT_LT(ending.elapsed(), 5000);
        EXPECT_FALSE(QFileInfo(path).isFile());
        QFile::remove(path);
    }
    // The playlist's background picture.
    const QString picture = home.filePath(QStringLiteral("picture.png"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(picture).constData(), 0600), 0);
    QFile ini(home.filePath(QStringLiteral("settings.ini")));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[Appearance]\r\nPlaylistImage=" + QFile::encodeName(picture) + "\r\n");
    ini.close();
    QProcess p;
    startAndSettle(p);
    ASSERT_EQ(p.state(), QProcess::Running);
    QElapsedTimer ending;
    ending.start();
    EXPECT_EQ(terminate(p), 0);
    EXPECT_LT(ending.elapsed(), 5000);
}

// A named pipe given as a song on the command line is refused like any file that does not
// play, instead of holding the program while it waits for data.
TEST_F(MalformedFilesEndToEnd, ANamedPipeGivenAsASongIsRefusedWithoutHoldingTheProgram)
{
    const QString pipe = home.filePath(QStringLiteral("song.mp3"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    QProcess p;
    startPlayer(p, {pipe});
    ASSERT_TRUE(waitForMainWindow(p));
    QThread::msleep(1500);
    QElapsedTimer ending;
    ending.start();
    EXPECT_EQ(terminate(p), 0);
    EXPECT_LT(ending.elapsed(), 5000);
    EXPECT_TRUE(QFile(home.filePath(QStringLiteral("Playlists/default.spp"))).open(QIODevice::ReadOnly));
}

} // namespace
