#include "startup/SingleInstance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QRandomGenerator>
#include <QThread>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// A folder of this user's that nobody else may enter.
bool privateFolder(const QString& path)
{
    struct stat st {};
    return !path.isEmpty() && ::stat(QFile::encodeName(path).constData(), &st) == 0 && S_ISDIR(st.st_mode)
           && st.st_uid == ::getuid() && (st.st_mode & (S_IRWXG | S_IRWXO)) == 0;
}

// True for a path that is missing or is this user's own (a link is judged by itself).
bool missingOrOurs(const QString& path)
{
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0) return true;
    return st.st_uid == ::getuid();
}

bool exists(const QString& path)
{
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0;
}

// The user's name, or the number of a user the system has no name for.
QString userName(uid_t uid)
{
    struct passwd entry {};
    struct passwd* found = nullptr;
    char buffer[4096];
    if (::getpwuid_r(uid, &entry, buffer, sizeof buffer, &found) == 0 && found && found->pw_name && *found->pw_name)
        return QString::fromLocal8Bit(found->pw_name);
    return QString::number(uid);
}
} // namespace

QString SingleInstance::folderFor(const QString& programFolder)
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return privateFolder(runtime) ? runtime : QDir(programFolder).absolutePath();
}

SingleInstance::SingleInstance(const QString& programFolder, QObject* parent) : QObject(parent)
{
    const QByteArray hash = QCryptographicHash::hash(QDir(programFolder).absolutePath().toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    // Our user's number in the name: in a folder several users share, each user's starts
    // meet at their own lock, whatever files the others have there.
    m_base = folderFor(programFolder) + QStringLiteral("/.veltra-") + QString::number(::getuid()) + u'-' + QString::fromLatin1(hash);
    pickNames();
}

QString SingleInstance::rowName(int index, const QString& suffix) const
{
    return m_base + (index ? QStringLiteral("-%1").arg(index) : QString()) + suffix;
}

QString SingleInstance::nameAt(const QString& suffix) const
{
    // Another user may have put a file under our very name: the first name of the row that is
    // free of such a file is ours, the same one for every start of ours.
    for (int i = 0; i < kNameTries; ++i) {
        const QString path = rowName(i, suffix);
        if (missingOrOurs(path)) return path;
    }
    return QString();
}

QString SingleInstance::runningLock(const QString& except) const
{
    for (int i = 0; i < kNameTries; ++i) {
        const QString path = rowName(i, QStringLiteral(".lock"));
        if (path == except || !exists(path) || !missingOrOurs(path)) continue;
        QLockFile probe(path);
        probe.setStaleLockTime(0);
        if (probe.tryLock(0)) {
            probe.unlock();   // its instance has ended: the name is free again
            continue;
        }
        if (probe.error() == QLockFile::LockFailedError) return path;
    }
    return QString();
}

QStringList SingleInstance::ownersOf(const QString& suffix) const
{
    QStringList owners;
    for (int i = 0; i < kNameTries; ++i) {
        struct stat st {};
        const QString path = rowName(i, suffix);
        if (::lstat(QFile::encodeName(path).constData(), &st) != 0) continue;
        const QString owner = userName(st.st_uid);
        if (!owners.contains(owner)) owners.append(owner);
    }
    return owners;
}

std::optional<SingleInstance::Blocked> SingleInstance::blockedBy() const
{
    if (m_lock) return std::nullopt;
    const bool lock = m_lockPath.isEmpty();
    if (!lock && !m_name.isEmpty()) return std::nullopt;
    return Blocked{lock, QFileInfo(m_base).absolutePath(), ownersOf(lock ? QStringLiteral(".lock") : QStringLiteral(".socket"))};
}

std::optional<qint64> SingleInstance::unansweredBy() const
{
    if (!m_unanswered) return std::nullopt;
    qint64 pid = 0;
    QString host, app;
    QLockFile(m_runningLock.isEmpty() ? m_lockPath : m_runningLock).getLockInfo(&pid, &host, &app);
    return pid;
}

void SingleInstance::pickNames()
{
    m_lockPath = nameAt(QStringLiteral(".lock"));
    m_name = nameAt(QStringLiteral(".socket"));
}

SingleInstance::~SingleInstance()
{
    if (m_server) m_server->close();
}

bool SingleInstance::claim()
{
    if (m_lock) return true;
    pickNames();
    // Every name taken by others: no lock can be ours, so this start must not run beside one.
    if (m_lockPath.isEmpty()) return false;
    // Ours may run under a name that was taken by another user when it started and is free now.
    m_runningLock = runningLock();
    if (!m_runningLock.isEmpty()) return false;
    auto lock = std::make_unique<QLockFile>(m_lockPath);
    lock->setStaleLockTime(0);   // a lock is stale only when its process is gone
    if (!lock->tryLock(0)) {
        m_runningLock = m_lockPath;
        return false;
    }
    // A start beside this one may have taken another name of the row meanwhile: this one then
    // steps back (should both do so, each tries again after a pause of its own length).
    m_runningLock = runningLock(m_lockPath);
    if (!m_runningLock.isEmpty()) return false;
    m_lock = std::move(lock);
    if (m_name.isEmpty()) return true;   // later starts cannot reach us; they say so and end
    QLocalServer::removeServer(m_name);   // a socket a crashed instance left behind
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (m_server->listen(m_name)) {
        connect(m_server, &QLocalServer::newConnection, this, [this] {
            while (QLocalSocket* s = m_server->nextPendingConnection()) {
                connect(s, &QLocalSocket::readyRead, this, [this, s] {
                    if (s->readAll().contains("activate") && m_onActivate) m_onActivate();
                    s->disconnectFromServer();
                });
                connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
            }
        });
    }
    return true;
}

bool SingleInstance::activateRunning()
{
    QDeadlineTimer deadline(kConnectWaitMs);
    for (;;) {
        // The running one listens under the name of the row that was free when it started.
        for (int i = 0; i < kNameTries && !m_name.isEmpty(); ++i) {
            const QString name = rowName(i, QStringLiteral(".socket"));
            if (!exists(name) || !missingOrOurs(name)) continue;
            QLocalSocket s;
            s.connectToServer(name);
            if (s.waitForConnected(500)) {
                s.write("activate\n");
                s.waitForBytesWritten(1000);
                s.waitForDisconnected(1000);
                return true;
            }
        }
        // The holder went before it could be reached: this start is the instance now.
        if (claim()) return false;
        // It lives but does not answer: two on one folder would overwrite each other's files.
        if (deadline.hasExpired()) {
            m_unanswered = true;
            return true;
        }
        QThread::msleep(50 + QRandomGenerator::global()->bounded(100));
    }
}
