#include "support/PulseNullSink.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>

#include <cmath>
#include <cstdlib>
#include <functional>

namespace {

bool waitUntil(const std::function<bool()>& done, int ms)
{
    QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired()) return false;
        QThread::msleep(25);
    }
    return true;
}

} // namespace

PulseNullSink::PulseNullSink() = default;

PulseNullSink::~PulseNullSink() { stop(); }

bool PulseNullSink::toolsPresent()
{
    for (const char* tool : {"pulseaudio", "pactl", "parec"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) return false;
    return true;
}

bool PulseNullSink::pactl(const QStringList& args, QString* output) const
{
    QProcess p;
    p.start(QStringLiteral("pactl"), QStringList{QStringLiteral("-s"), server()} + args);
    if (!p.waitForFinished(5000)) {
        p.kill();
        p.waitForFinished(1000);
        return false;
    }
    if (output) *output = QString::fromLocal8Bit(p.readAllStandardOutput());
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

bool PulseNullSink::start(QString* why)
{
    if (!m_dir.isValid()) {
        *why = QStringLiteral("no temporary folder");
        return false;
    }
    const QString runtime = m_dir.filePath(QStringLiteral("run"));
    const QString home = m_dir.filePath(QStringLiteral("home"));
    QDir().mkpath(runtime);
    QDir().mkpath(home);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    m_socket = runtime + QStringLiteral("/native");

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
    env.remove(QStringLiteral("PULSE_SERVER"));
    env.remove(QStringLiteral("DISPLAY"));
    m_server = std::make_unique<QProcess>();
    m_server->setProcessEnvironment(env);
    m_server->setProcessChannelMode(QProcess::MergedChannels);
    m_server->setStandardOutputFile(m_dir.filePath(QStringLiteral("pulseaudio.log")));
    m_server->start(QStringLiteral("pulseaudio"),
                    {QStringLiteral("--daemonize=no"), QStringLiteral("--exit-idle-time=-1"),
                     QStringLiteral("-n"), QStringLiteral("--use-pid-file=no"),
                     QStringLiteral("--system=no"), QStringLiteral("--realtime=no"),
                     QStringLiteral("--high-priority=no"), QStringLiteral("--disallow-exit"),
                     QStringLiteral("--log-target=stderr"),
                     QStringLiteral("--load=module-null-sink sink_name=") + sinkName()
                         + QStringLiteral(" format=s16le rate=44100 channels=2"),
                     QStringLiteral("--load=module-native-protocol-unix auth-anonymous=1 socket=") + m_socket});
    if (!m_server->waitForStarted(10000)) {
        *why = QStringLiteral("pulseaudio did not start: ") + m_server->errorString();
        m_server.reset();
        return false;
    }
    const bool up = waitUntil(
        [&] {
            if (m_server->state() != QProcess::Running) return true;
            return QFileInfo::exists(m_socket) && pactl({QStringLiteral("info")});
        },
        20000);
    if (!up || m_server->state() != QProcess::Running) {
        QFile log(m_dir.filePath(QStringLiteral("pulseaudio.log")));
        log.open(QIODevice::ReadOnly);
        *why = QStringLiteral("pulseaudio is not answering: ") + QString::fromLocal8Bit(log.readAll());
        stop();
        return false;
    }

    m_oldPulseServer = qgetenv("PULSE_SERVER");
    m_oldPulseCookie = qgetenv("PULSE_COOKIE");
    m_envSet = true;
    qputenv("PULSE_SERVER", server().toUtf8());
    // The client would otherwise make a cookie file in the real home folder.
    qputenv("PULSE_COOKIE", m_dir.filePath(QStringLiteral("cookie")).toUtf8());
    return true;
}

void PulseNullSink::stop()
{
    if (m_recorder) stopRecording();
    if (m_server) {
        if (m_server->state() != QProcess::NotRunning) {
            m_server->terminate();
            if (!m_server->waitForFinished(5000)) {
                m_server->kill();
                m_server->waitForFinished(2000);
            }
        }
        m_server.reset();
    }
    if (m_envSet) {
        m_envSet = false;
        if (m_oldPulseServer.isNull()) qunsetenv("PULSE_SERVER");
        else qputenv("PULSE_SERVER", m_oldPulseServer);
        if (m_oldPulseCookie.isNull()) qunsetenv("PULSE_COOKIE");
        else qputenv("PULSE_COOKIE", m_oldPulseCookie);
    }
}

bool PulseNullSink::startRecording(QString* why)
{
    if (m_recorder) stopRecording();
    static int count = 0;
    m_recording = m_dir.filePath(QStringLiteral("monitor-%1.raw").arg(++count));
    m_recorder = std::make_unique<QProcess>();
    m_recorder->setStandardOutputFile(m_recording);
    m_recorder->start(QStringLiteral("parec"),
                      {QStringLiteral("-s"), server(), QStringLiteral("-d"), sinkName() + QStringLiteral(".monitor"),
                       QStringLiteral("--format=s16le"), QStringLiteral("--channels=2"),
                       QStringLiteral("--rate=44100"), QStringLiteral("--raw"),
                       QStringLiteral("--latency-msec=20")});
    if (!m_recorder->waitForStarted(10000)) {
        *why = QStringLiteral("parec did not start");
        m_recorder.reset();
        return false;
    }
    // Recording starts when the server lists the recorder's stream.
    const bool connected = waitUntil(
        [&] {
            QString out;
            return m_recorder->state() != QProcess::Running
                || (pactl({QStringLiteral("list"), QStringLiteral("short"), QStringLiteral("source-outputs")}, &out)
                    && !out.trimmed().isEmpty());
        },
        10000);
    if (!connected || m_recorder->state() != QProcess::Running) {
        *why = QStringLiteral("parec did not connect: ") + QString::fromLocal8Bit(m_recorder->readAllStandardError());
        stopRecording();
        return false;
    }
    return true;
}

QByteArray PulseNullSink::stopRecording()
{
    if (!m_recorder) return {};
    if (m_recorder->state() != QProcess::NotRunning) {
        m_recorder->terminate();
        if (!m_recorder->waitForFinished(5000)) {
            m_recorder->kill();
            m_recorder->waitForFinished(2000);
        }
    }
    m_recorder.reset();
    QFile f(m_recording);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

StereoLevels StereoLevels::of(const QByteArray& s16Stereo)
{
    StereoLevels levels;
    const auto* samples = reinterpret_cast<const qint16*>(s16Stereo.constData());
    levels.frames = s16Stereo.size() / 4;
    double sumLeft = 0, sumRight = 0;
    for (qint64 i = 0; i < levels.frames; ++i) {
        const int left = samples[2 * i];
        const int right = samples[2 * i + 1];
        levels.peakLeft = std::max(levels.peakLeft, std::abs(left));
        levels.peakRight = std::max(levels.peakRight, std::abs(right));
        if (left == 0 && right == 0) continue;
        ++levels.soundFrames;
        sumLeft += double(left) * left;
        sumRight += double(right) * right;
    }
    if (levels.soundFrames > 0) {
        levels.rmsLeft = std::sqrt(sumLeft / levels.soundFrames);
        levels.rmsRight = std::sqrt(sumRight / levels.soundFrames);
    }
    return levels;
}
