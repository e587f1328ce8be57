#include "support/PulseServer.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>

PulseServer::PulseServer() = default;

PulseServer::~PulseServer() { stop(); }

QString PulseServer::serverAddress() const { return QStringLiteral("unix:") + m_dir.path() + QStringLiteral("/runtime/pulse/native"); }

bool PulseServer::start()
{
    if (m_running) return true;
    const QString exe = QStandardPaths::findExecutable(QStringLiteral("pulseaudio"));
    if (exe.isEmpty() || !m_dir.isValid()) return false;
    const QString runtime = m_dir.path() + QStringLiteral("/runtime");
    QDir().mkpath(runtime + QStringLiteral("/pulse"));
    QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    env.insert(QStringLiteral("HOME"), m_dir.path());
    env.remove(QStringLiteral("PULSE_SERVER"));
    env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    m_process.setProcessEnvironment(env);
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(exe, {QStringLiteral("--daemonize=no"), QStringLiteral("--exit-idle-time=-1"), QStringLiteral("-n"),
                          QStringLiteral("--disable-shm=yes"), QStringLiteral("--log-level=error"),
                          QStringLiteral("--load=module-null-sink sink_name=veltra_null rate=44100 channels=2"),
                          QStringLiteral("--load=module-native-protocol-unix"),
                          QStringLiteral("--load=module-always-sink")});
    if (!m_process.waitForStarted(5000)) return false;
    const QString socket = runtime + QStringLiteral("/pulse/native");
    QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired()) {
        if (QFileInfo::exists(socket)) {
            m_running = true;
            QThread::msleep(200);
            return true;
        }
        if (m_process.state() != QProcess::Running) return false;
        QThread::msleep(50);
    }
    stop();
    return false;
}

void PulseServer::stop()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.terminate();
        if (!m_process.waitForFinished(3000)) {
            m_process.kill();
            m_process.waitForFinished(3000);
        }
    }
    m_running = false;
}

QProcessEnvironment PulseServer::environment(const QProcessEnvironment& base) const
{
    QProcessEnvironment env = base;
    env.insert(QStringLiteral("PULSE_SERVER"), serverAddress());
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_dir.path() + QStringLiteral("/runtime"));
    return env;
}

void PulseServer::applyToThisProcess() const
{
    qputenv("PULSE_SERVER", serverAddress().toUtf8());
    qputenv("XDG_RUNTIME_DIR", (m_dir.path() + QStringLiteral("/runtime")).toUtf8());
}
