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
    // Loads the file. A file the player refuses stays unloaded: Play then leaves PlayState
    // at 0, which the caller checks.
    virtual void setFileName(const QString& path) = 0;
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
    // Stops and empties the player without opening any file; FileName reads back `name`.
    virtual void Unload(const QString& name) = 0;

    // The widget that shows the picture of a video, for the video window to host; none
    // where the player draws no picture.
    virtual QWidget* videoWidget() { return nullptr; }

signals:
    // The loaded file has played to its end.
    void EndOfStream();
    // Playing the accepted file failed on the way (GStreamer's reason); the player stopped.
    void Error(const QString& message);
};

} // namespace veltra
