#pragma once
// The real media player: GStreamer's playbin driven directly.
//
// Why playbin and not QMediaPlayer: Qt Multimedia 6.4 has no balance, and the player must
// really pan the sound. The audio filter of playbin is a small bin
//     audioconvert ! audiopanorama method=simple ! volume
// so balance and volume act on the samples themselves, whatever the audio sink (PulseAudio,
// ALSA, a test sink) and without touching the sound server's own per-stream volume. The
// "simple" panorama only attenuates the far channel: fully left leaves the right channel
// silent and the left channel as it was.
//
// Why frames are painted rather than overlaid: the video sink is an appsink that hands
// BGRx frames to a plain QWidget (VideoFrameWidget), which paints them scaled. An overlay
// sink (xvimagesink or ximagesink on the widget's window id) would need a native X11 window:
// nothing under the offscreen platform the tests use, no XVideo under Xvfb, and the window
// id changes whenever the host re-parents or re-creates the widget. Painting frames works
// on every Qt platform, including Wayland, and lets the tests see the frames arrive.
//
// The bus: a sync handler on GStreamer's threads only queues each message to this object on
// the GUI thread, so it works with any Qt event dispatcher (no GLib main context needed, no
// polling). Each load or stop starts a new generation; messages of an older one (an
// end-of-stream already queued when the next file is loaded) are dropped. The handler drops
// every message from the bus, so it releases the bus's reference to each one itself.
//
// Life of a file: writing FileName loads it and prerolls it paused (its duration becomes
// known, a video shows its first picture), waiting a few seconds at most until GStreamer has
// either accepted the file or refused it. A refused file (missing, a folder, no decoder takes
// it) stays unloaded: Play leaves PlayState at 0, so the caller sees the refusal at once, and
// refusal() says why. Play starts an accepted file. Stop, the end of the file and an error
// release the sound device; Play then starts again from the beginning, or from a position
// written meanwhile. Unload empties the pipeline (state NULL) without opening anything.
// EndOfStream and Error (trouble found while playing, after the file was accepted) always
// arrive from the event loop, never inside a call to the player. The end also comes when the
// audio sink, all its sound delivered, can no longer reach it (a seek into the last
// milliseconds can stop its clock for good).
//
// Numbers: PlayState is what the program asked for (2 after Play until the end, an error or
// Stop; 1 after Pause while playing; 0 otherwise). Volume v (hundredths of a dB, at most 0)
// becomes the level 10^(v/2000); -10000 or below is silence. Balance b (-5000..5000) becomes
// the panorama b/5000.
#include "platform/MediaPlayerControl.h"
#include "platform/VideoFrameWidget.h"

#include <QImage>
#include <QMutex>
#include <QWaitCondition>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <atomic>
#include <functional>

typedef struct _GstElement GstElement;
typedef struct _GstMessage GstMessage;

namespace veltra {


class GstMediaPlayerControl : public MediaPlayerControl {
    Q_OBJECT
public:
    explicit GstMediaPlayerControl(QObject* parent = nullptr);
    ~GstMediaPlayerControl() override;

    // False when GStreamer or one of the elements the player is built from is missing; the
    // player then loads nothing and reports every file as an error.
    static bool isAvailable();

    QString FileName() const override { return m_fileName; }
    void setFileName(const QString& path) override;
    double CurrentPosition() const override;
    void setCurrentPosition(double seconds) override;
    double Duration() const override;
    State PlayState() const override { return m_state; }
    int Volume() const override { return m_volume; }
    void setVolume(int hundredthsOfDb) override;
    int Balance() const override { return m_balance; }
    void setBalance(int balance) override;
    void Play() override;
    void Pause() override;
    void Stop() override;
    void Unload(const QString& name) override;

    // Why the file last loaded was refused; empty when it was accepted.
    QString refusal() const { return m_refusal; }
    // The pipeline itself, for checks of its state and its bus.
    GstElement* pipeline() const { return m_pipeline; }
    // How long loading waits for GStreamer's answer.
    static constexpr int kLoadWaitMs = 3000;

    // The picture. Made with no parent: a host that re-parents it into its own layout owns it
    // from then on; otherwise the player deletes it.
    QWidget* videoWidget() override;
    VideoFrameWidget* frameWidget() const { return m_videoWidget; }

    // The linear level and the panorama the two numbers map to (also used by the tests).
    static double volumeToLevel(int hundredthsOfDb);
    static double balanceToPanorama(int balance);

private:
    void build();
    void handleMessage(GstMessage* message);
    void unload();
    void applyPendingSeek();
    void seekNow(double seconds);
    void queryDuration();
    void halt();
    void endOfStream();
    void soundDelivered();
    void checkTheClock();
    // Runs `work` from the event loop, unless a load or stop came after `generation`.
    void later(quint64 generation, std::function<void()> work);
    void refuse(const QString& reason);
    bool waitForLoad();
    void loadAnswered(GstMessage* message);
    void frameArrived(QImage frame);
    void showLatestFrame();

    // The GStreamer callbacks (bus sync handler, appsink) reach the members through this.
    friend struct GstMediaPlayerCallbacks;

    GstElement* m_pipeline = nullptr;
    GstElement* m_panorama = nullptr;
    GstElement* m_volumeElement = nullptr;

    QString m_fileName;
    State m_state = State::Stopped;
    int m_volume = 0;
    int m_balance = 0;
    bool m_loaded = false;         // a file is loaded and was accepted
    bool m_ready = false;          // prerolled: position and duration can be asked, seeks work
    bool m_atEnd = false;          // played to its end; the position reads as the duration
    double m_pendingSeek = -1;     // a seek asked for before the media was ready
    bool m_soundDelivered = false; // the last of the sound went to the sink; its end is awaited
    QTimer m_clockWatch;
    mutable double m_duration = 0;
    mutable double m_lastPosition = 0;

    QString m_refusal;

    std::atomic<quint64> m_generation{0};
    // GStreamer's answer to a load, filled in by the bus handler while FileName waits.
    QMutex m_loadLock;
    QWaitCondition m_loadAnswered;
    bool m_loadDone = false;       // guarded by m_loadLock
    QString m_loadError;           // guarded by m_loadLock; GStreamer's reason

    QPointer<VideoFrameWidget> m_videoWidget;
    QMutex m_frameLock;
    QImage m_latestFrame;          // guarded by m_frameLock
    std::atomic<bool> m_framePending{false};
};

} // namespace veltra
