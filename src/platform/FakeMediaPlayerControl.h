#pragma once
// Test support: not part of the program.
#include "platform/MediaPlayerControl.h"

#include <QStringList>

namespace veltra {

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
    void Unload(const QString& name) override;

    // Test controls.
    double nextDuration = 180;          // the duration of the next file loaded
    QStringList history;                // every call, in order ("FileName=...", "Play", ...)
    void advance(double seconds);       // moves the clock while playing; raises EndOfStream at the end
    void finish();                      // plays to the end at once
    void fail(const QString& reason);   // an error while playing: stops and raises Error

private:
    QString m_fileName;
    bool m_loaded = false;
    double m_position = 0;
    double m_duration = 0;
    State m_state = State::Stopped;
    int m_volume = 0;
    int m_balance = 0;
};

} // namespace veltra
