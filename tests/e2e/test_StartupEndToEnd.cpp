// The real program on one program folder: starts at the same moment leave one running, also
// where another user has left files under the lock's names, and a session end while start-up
// waits on a box writes nothing over what it had not loaded yet.
#include "startup/SingleInstance.h"
#include "support/ForeignLockNames.h"
#include "support/PulseNullSink.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <csignal>
#include <memory>
#include <vector>

#include <unistd.h>

namespace {

class StartupEndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.isValid());
        QString why;
        if (!PulseNullSink::toolsPresent() || !pulse.start(&why)) GTEST_SKIP() << "no sound server: " << why.toStdString();
    }

    std::unique_ptr<QProcess> startPlayer(const QStringList& args = {})
    {
        auto p = std::make_unique<QProcess>();
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        e.insert(QStringLiteral("VELTRA_HOME"), home.path());
        e.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        e.insert(QStringLiteral("XDG_DATA_HOME"), home.path() + QStringLiteral("/.xdg-data"));
        e.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path() + QStringLiteral("/.xdg-config"));
        if (sharedFolder) e.remove(QStringLiteral("XDG_RUNTIME_DIR"));   // the lock goes into the program folder
        p->setProcessEnvironment(e);
        p->setProcessChannelMode(QProcess::MergedChannels);
        p->start(QStringLiteral(VELTRA_BINARY), args);
        return p;
    }

    static int terminate(QProcess& p)
    {
        ::kill(pid_t(p.processId()), SIGTERM);
        if (!p.waitForFinished(20000)) {
            p.kill();
            p.waitForFinished();
            return -1;
        }
        return p.exitCode();
    }

    // What the program prints until `expected` appears, it ends, or 20 s pass.
    static QByteArray outputUntil(QProcess& p, const QByteArray& expected)
    {
        QByteArray output;
        QDeadlineTimer deadline(20000);
        while (!output.contains(expected) && p.state() == QProcess::Running && !deadline.hasExpired()) {
            p.waitForReadyRead(100);
            output += p.readAll();
        }
        return output;
    }

    QByteArray read(const QString& relative) const
    {
        QFile f(home.path() + u'/' + relative);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void write(const QString& relative, const QByteArray& bytes) const
    {
        QDir().mkpath(QFileInfo(home.path() + u'/' + relative).absolutePath());
        QFile f(home.path() + u'/' + relative);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    // Starts the program `count` times together; once a later start has had time to give up
    // waiting for the first, exactly one still runs. Ends them all.
    void expectOneOfStartsAtTheSameMomentRuns(int count)
    {
        std::vector<std::unique_ptr<QProcess>> starts;
        for (int i = 0; i < count; ++i) starts.push_back(startPlayer());
        for (auto& p : starts) ASSERT_TRUE(p->waitForStarted(10000));
        // Longer than a later start waits for the first one's socket.
        QDeadlineTimer deadline(7000);
        while (!deadline.hasExpired())
            for (auto& p : starts)
                if (p->state() == QProcess::Running) p->waitForFinished(20);
        int running = 0;
        for (auto& p : starts) {
            if (p->state() == QProcess::Running) {
                ++running;
            } else {
                EXPECT_EQ(p->exitCode(), 0) << p->readAll().constData();
            }
        }
        EXPECT_EQ(running, 1);
        for (auto& p : starts) {
            if (p->state() == QProcess::Running) {
                EXPECT_EQ(terminate(*p), 0) << p->readAll().constData();
            }
        }
    }

    QTemporaryDir home;
    PulseNullSink pulse;
    bool sharedFolder = false;
};

// A file manager opening several files at once starts the program several times together.
TEST_F(StartupEndToEnd, StartsAtTheSameMomentLeaveExactlyOneRunning)
{
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        expectOneOfStartsAtTheSameMomentRuns(3);
    }
}

// A program folder several users share: another user's lock file lies where ours would go.
TEST_F(StartupEndToEnd, AnotherUsersLockFileInASharedFolderStillLetsExactlyOneStartRun)
{
    sharedFolder = true;
    ASSERT_EQ(::chmod(QFile::encodeName(home.path()).constData(), 01777), 0);
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    qunsetenv("XDG_RUNTIME_DIR");
    const QString lock = SingleInstance(home.path()).lockPath();
    if (!runtime.isNull()) qputenv("XDG_RUNTIME_DIR", runtime);
    write(QDir(home.path()).relativeFilePath(lock), "4242\nveltra\nelsewhere\n");
    if (::chown(QFile::encodeName(lock).constData(), 12345, gid_t(-1)) != 0)
        GTEST_SKIP() << "cannot give a file to another user (not root)";
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        expectOneOfStartsAtTheSameMomentRuns(2);
    }
    EXPECT_EQ(QFileInfo(lock).ownerId(), 12345u);
}

// Ours runs under the ninth names, the first eight being another user's. When that user frees
// a first name, of the lock, the socket or both, a later start of ours still finds the one
// running and brings it forward instead of running beside it.
TEST_F(StartupEndToEnd, ALockNameAnotherUserFreesDoesNotLetASecondInstanceRun)
{
    sharedFolder = true;
    ASSERT_EQ(::chmod(QFile::encodeName(home.path()).constData(), 01777), 0);
    for (const char* freed : {".lock", ".socket", ""}) {
        SCOPED_TRACE(freed);
        QStringList foreign = foreignnames::make(home.path(), ".lock", "4242\nveltra\nelsewhere\n", 8);
        foreign += foreignnames::make(home.path(), ".socket", QByteArray(), 8);
        if (foreign.size() != 16) GTEST_SKIP() << "cannot give a file to another user (not root)";
        auto first = startPlayer();
        ASSERT_TRUE(first->waitForStarted(10000));
        const QString ninth = foreign[0].chopped(5) + QStringLiteral("-8.lock");
        QDeadlineTimer up(20000);
        while (!QFileInfo::exists(ninth) && !up.hasExpired()) QThread::msleep(50);
        QThread::msleep(500);   // and listening
        ASSERT_EQ(first->state(), QProcess::Running) << first->readAll().constData();
        for (const QString& name : {foreign[0], foreign[8]}) {   // the first lock and socket names
            if (!*freed || name.endsWith(QString::fromLatin1(freed))) {
                ASSERT_TRUE(QFile::remove(name));
            }
        }

        auto second = startPlayer();
        ASSERT_TRUE(second->waitForStarted(10000));
        EXPECT_TRUE(second->waitForFinished(15000)) << "a second instance runs";
        EXPECT_EQ(second->exitCode(), 0) << second->readAll().constData();
        EXPECT_EQ(first->state(), QProcess::Running);
        EXPECT_EQ(terminate(*first), 0) << first->readAll().constData();
        if (second->state() == QProcess::Running) terminate(*second);
        for (const QString& path : foreign) QFile::remove(path);
    }
}

// Another user has made every name our lock could take in the shared folder: the start says
// so on standard error (and in a box, open until the session ends) and ends with a failure.
TEST_F(StartupEndToEnd, AnotherUsersFilesUnderEveryLockNameEndTheStartWithAMessageAndAFailure)
{
    sharedFolder = true;
    ASSERT_EQ(::chmod(QFile::encodeName(home.path()).constData(), 01777), 0);
    if (foreignnames::make(home.path(), ".lock", "4242\nveltra\nelsewhere\n").isEmpty())
        GTEST_SKIP() << "cannot give a file to another user (not root)";
    auto p = startPlayer();
    ASSERT_TRUE(p->waitForStarted(10000));
    const QByteArray expected = "veltra: It has been detected that the files VELTRA needs in the folder "
                                + QFile::encodeName(QDir(home.path()).absolutePath())
                                + " to run only once belong to another user (12345). VELTRA will now close.\n";
    const QByteArray output = outputUntil(*p, expected);
    EXPECT_TRUE(output.contains(expected)) << output.constData();
    // The box waits for the user; the session's end closes it, and the start still failed.
    ASSERT_EQ(p->state(), QProcess::Running) << "ended with " << p->exitCode();
    EXPECT_EQ(terminate(*p), 1) << p->readAll().constData();
    EXPECT_FALSE(QFile::exists(home.path() + QStringLiteral("/settings.ini")));
}

// The running instance holds the lock but cannot be reached (its socket is gone): a later
// start does not end as if it had brought it forward, but says so and fails.
TEST_F(StartupEndToEnd, ARunningInstanceThatDoesNotAnswerEndsALaterStartWithAMessageAndAFailure)
{
    sharedFolder = true;
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    qunsetenv("XDG_RUNTIME_DIR");
    const QString socket = SingleInstance(home.path()).serverName();
    if (!runtime.isNull()) qputenv("XDG_RUNTIME_DIR", runtime);
    auto first = startPlayer();
    ASSERT_TRUE(first->waitForStarted(10000));
    QDeadlineTimer up(20000);
    while (!QFileInfo::exists(socket) && !up.hasExpired()) QThread::msleep(50);
    ASSERT_TRUE(QFile::remove(socket)) << first->readAll().constData();

    auto later = startPlayer();
    ASSERT_TRUE(later->waitForStarted(10000));
    const QByteArray expected = "veltra: It has been detected that VELTRA is already running (process " + QByteArray::number(first->processId())
                                + "), but it does not answer. This start of VELTRA will now close.\n";
    const QByteArray output = outputUntil(*later, expected);
    EXPECT_TRUE(output.contains(expected)) << output.constData();
    ASSERT_EQ(later->state(), QProcess::Running) << "ended with " << later->exitCode();   // the box waits
    EXPECT_EQ(terminate(*later), 1) << later->readAll().constData();
    EXPECT_EQ(terminate(*first), 0) << first->readAll().constData();
}

// "Error Loading List" waits over a broken default.spp when the session ends.
TEST_F(StartupEndToEnd, SessionEndWhileTheListErrorBoxIsOpenKeepsTheListAndTheSettings)
{
    const QByteArray broken = "\"01\"\r\n\"Artist\"\r\n\"Title\"\r\n";   // a record cut short
    write(QStringLiteral("Playlists/default.spp"), broken);
    write(QStringLiteral("settings.ini"), "[Sound]\r\nVolume=80\r\nBalance=20\r\n[Playback]\r\nPlaylistUsed=Mine\r\n");
    auto p = startPlayer();
    ASSERT_TRUE(p->waitForStarted(10000));
    // The box stays open: the program is still there well after its folders were made.
    QDeadlineTimer deadline(20000);
    while (!QFileInfo(home.path() + QStringLiteral("/Logs")).isDir() && !deadline.hasExpired()) QThread::msleep(50);
    QThread::msleep(2000);
    ASSERT_EQ(p->state(), QProcess::Running) << p->readAll().constData();
    EXPECT_EQ(terminate(*p), 0) << p->readAll().constData();

    EXPECT_EQ(read(QStringLiteral("Playlists/default.spp")), broken);
    const QByteArray ini = read(QStringLiteral("settings.ini"));
    EXPECT_TRUE(ini.contains("Volume=80\r\n")) << ini.constData();
    EXPECT_TRUE(ini.contains("Balance=20\r\n")) << ini.constData();
    EXPECT_TRUE(ini.contains("PlaylistUsed=Mine\r\n")) << ini.constData();
    EXPECT_FALSE(ini.contains("ColumnHeaders_MainWindow")) << ini.constData();
    EXPECT_FALSE(ini.contains("Fontsize")) << ini.constData();
}

} // namespace
