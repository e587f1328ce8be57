#pragma once
// A private PulseAudio server with a null sink, as a desktop would have one, for tests that
// start the player for real. Stopped when the object goes.
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>

class PulseServer {
public:
    PulseServer();
    ~PulseServer();

    bool start();                  // false when pulseaudio is not installed or does not come up
    void stop();
    bool running() const { return m_running; }
    // Environment for a client process: PULSE_SERVER, XDG_RUNTIME_DIR, HOME.
    QProcessEnvironment environment(const QProcessEnvironment& base = QProcessEnvironment::systemEnvironment()) const;
    // Points this process at the server too.
    void applyToThisProcess() const;
    QString sinkName() const { return QStringLiteral("veltra_null"); }
    QString serverAddress() const;

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    bool m_running = false;
};
