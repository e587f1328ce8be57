#include "startup/SingleInstance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QThread>

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
} // namespace

QString SingleInstance::folderFor(const QString& programFolder)
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return privateFolder(runtime) ? runtime : QDir(programFolder).absolutePath();
}

SingleInstance::SingleInstance(const QString& programFolder, QObject* parent) : QObject(parent)
{
    const QByteArray hash = QCryptographicHash::hash(QDir(programFolder).absolutePath().toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    const QString base = folderFor(programFolder) + QStringLiteral("/.veltra-") + QString::fromLatin1(hash);
    m_name = base + QStringLiteral(".socket");
    m_lockPath = base + QStringLiteral(".lock");
}

SingleInstance::~SingleInstance()
{
    if (m_server) m_server->close();
}

bool SingleInstance::claim()
{
    if (m_lock) return true;
    // Another user's file where ours belongs: it is not our instance, and it is not touched.
    if (!missingOrOurs(m_lockPath)) return true;
    auto lock = std::make_unique<QLockFile>(m_lockPath);
    lock->setStaleLockTime(0);   // a lock is stale only when its process is gone
    if (!lock->tryLock(0)) return false;
    m_lock = std::move(lock);
    if (!missingOrOurs(m_name)) return true;
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
        if (exists(m_name) && missingOrOurs(m_name)) {
            QLocalSocket s;
            s.connectToServer(m_name);
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
        if (deadline.hasExpired()) return true;
        QThread::msleep(100);
    }
}
