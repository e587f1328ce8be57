#pragma once
// A private PulseAudio server with one null sink, for tests that play real sound: nothing
// reaches a speaker, and the sink's monitor can be recorded to see what was played.
// The server runs in its own temporary runtime and home folders, is the only server this
// process talks to (PULSE_SERVER), and is stopped when the object goes.
#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <memory>

class PulseNullSink {
public:
    PulseNullSink();
    ~PulseNullSink();

    // The programs needed: pulseaudio, pactl, parec.
    static bool toolsPresent();

    // Starts the server and points this process at it; false with the reason when it fails.
    bool start(QString* why);
    void stop();

    QString server() const { return QStringLiteral("unix:") + m_socket; }
    static QString sinkName() { return QStringLiteral("veltra_test"); }

    // Records the sink's monitor (16-bit stereo at 44100 Hz) until stopRecording, which
    // returns the samples. startRecording returns once the recorder is connected.
    bool startRecording(QString* why);
    QByteArray stopRecording();

private:
    bool pactl(const QStringList& args, QString* output = nullptr) const;

    QTemporaryDir m_dir;
    QString m_socket;
    std::unique_ptr<QProcess> m_server;
    std::unique_ptr<QProcess> m_recorder;
    QString m_recording;
    QByteArray m_oldPulseServer;
    QByteArray m_oldPulseCookie;
    bool m_envSet = false;
};

// Peak and RMS of each channel of 16-bit interleaved stereo samples.
struct StereoLevels {
    int peakLeft = 0;
    int peakRight = 0;
    double rmsLeft = 0;   // over the frames where either channel is not silent
    double rmsRight = 0;
    qint64 frames = 0;    // all frames recorded
    qint64 soundFrames = 0; // frames where either channel is not silent

    static StereoLevels of(const QByteArray& s16Stereo);
};
