#pragma once
// The one player of media files, with the members and numbers the player code relies on:
// PlayState 2 playing, 1 paused, anything else stopped; Volume is an attenuation in
// hundredths of a decibel (-6000..0 used); Balance -5000 (left) .. 5000 (right);
// positions and durations in seconds.
#include <QObject>
#include <QString>

class QWidget;

namespace veltra {

class MediaPlayerControl : public QObject {
    Q_OBJECT
public:
    // The control's own numbers, which differ from the main window's PlayerState.
    enum class State { Stopped = 0, Paused = 1, Playing = 2 };

    using QObject::QObject;
    ~MediaPlayerControl() override = default;

    virtual QString FileName() const = 0;
    virtual void setFileName(const QString& path) = 0;   // loads the file
    virtual double CurrentPosition() const = 0;
    virtual void setCurrentPosition(double seconds) = 0;  // seeks
    virtual double Duration() const = 0;
    virtual State PlayState() const = 0;
    virtual int Volume() const = 0;
    virtual void setVolume(int hundredthsOfDb) = 0;
    virtual int Balance() const = 0;
    virtual void setBalance(int balance) = 0;
    virtual void Play() = 0;
    virtual void Pause() = 0;
    virtual void Stop() = 0;

    // The widget that shows the picture of a video, for the video window to host; none
    // where the player draws no picture.
    virtual QWidget* videoWidget() { return nullptr; }

signals:
    // The loaded file has played to its end.
    void EndOfStream();
    // The file could not be opened or played.
    void Error(const QString& message);
};

// A player with a clock that moves only when told: tests and benchmarks.
class FakeMediaPlayerControl : public MediaPlayerControl {
    Q_OBJECT
public:
    using MediaPlayerControl::MediaPlayerControl;

    QString FileName() const override { return m_fileName; }
    void setFileName(const QString& path) override;
    double CurrentPosition() const override { return m_position; }
    void setCurrentPosition(double seconds) override;
    double Duration() const override { return m_duration; }
    State PlayState() const override { return m_state; }
    int Volume() const override { return m_volume; }
    void setVolume(int v) override { m_volume = v; }
    int Balance() const override { return m_balance; }
    void setBalance(int b) override { m_balance = b; }
    void Play() override;
    void Pause() override;
    void Stop() override;

    // Test controls.
    double nextDuration = 180;          // the duration of the next file loaded
    QStringList history;                // every call, in order ("FileName=...", "Play", ...)
    void advance(double seconds);       // moves the clock while playing; raises EndOfStream at the end
    void finish();                      // plays to the end at once

private:
    QString m_fileName;
    double m_position = 0;
    double m_duration = 0;
    State m_state = State::Stopped;
    int m_volume = 0;
    int m_balance = 0;
};

} // namespace veltra
