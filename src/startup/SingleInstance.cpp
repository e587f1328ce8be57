#include "startup/SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>

#include <unistd.h>

SingleInstance::SingleInstance(const QString& programFolder, QObject* parent) : QObject(parent)
{
    const QByteArray hash = QCryptographicHash::hash(QDir(programFolder).absolutePath().toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty()) user = QString::number(getuid());
    m_name = QStringLiteral("veltra-%1-%2").arg(user, QString::fromLatin1(hash));
    m_lockPath = QDir::tempPath() + u'/' + m_name + QStringLiteral(".lock");
}

SingleInstance::~SingleInstance()
{
    if (m_server) m_server->close();
}

bool SingleInstance::claim()
{
    m_lock = std::make_unique<QLockFile>(m_lockPath);
    m_lock->setStaleLockTime(0);   // a lock is stale only when its process is gone
    if (!m_lock->tryLock(0)) {
        m_lock.reset();
        return false;
    }
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
    QLocalSocket s;
    s.connectToServer(m_name);
    if (!s.waitForConnected(1000)) return false;
    s.write("activate\n");
    s.waitForBytesWritten(1000);
    s.waitForDisconnected(1000);
    return true;
}
