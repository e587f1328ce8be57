#include "platform/GstMediaPlayerControl.h"

#include "platform/VideoFrameWidget.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QMetaObject>

#include <gst/app/gstappsink.h>
#include <gst/gst.h>
#include <gst/video/video.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <sys/stat.h>

namespace veltra {

namespace {

constexpr int kSilence = -10000;      // this attenuation or more is no sound at all
constexpr int kBalanceRange = 5000;

bool gstInitialised()
{
    static const bool ok = [] {
        GError* error = nullptr;
        const bool done = gst_init_check(nullptr, nullptr, &error);
        if (error) g_error_free(error);
        return done;
    }();
    return ok;
}

// The elements the player is built from.
constexpr const char* kElements[] = {"playbin", "audioconvert", "audiopanorama", "volume",
                                     "videoconvert", "videoscale", "appsink"};

QString errorText(GError* error)
{
    return error && error->message ? QString::fromUtf8(error->message) : QStringLiteral("Unknown error");
}

constexpr double kNanosecondsPerSecond = 1e9;
// Further ahead of the system's clock than any real clock drifts.
constexpr GstClockTime kClockAheadLimit = GstClockTime(3600) * GST_SECOND;
// How often the clock is looked at while the end of a file is awaited.
constexpr int kClockCheckMs = 100;

} // namespace

struct GstMediaPlayerCallbacks {
    // Runs on whichever thread posted the message: only hands it over to the GUI thread.
    static GstBusSyncReply busMessage(GstBus*, GstMessage* message, gpointer data)
    {
        auto* self = static_cast<GstMediaPlayerControl*>(data);
        const GstMessageType type = GST_MESSAGE_TYPE(message);
        switch (type) {
        case GST_MESSAGE_EOS:
        case GST_MESSAGE_ERROR:
        case GST_MESSAGE_ASYNC_DONE:
        case GST_MESSAGE_DURATION_CHANGED: {
            // The generation is taken before a waiting load is woken: a refusal makes it stale
            // at once, so a refused file is never reported again as an error of playing.
            const quint64 generation = self->m_generation.load();
            if (type == GST_MESSAGE_ERROR || type == GST_MESSAGE_ASYNC_DONE) self->loadAnswered(message);
            std::shared_ptr<GstMessage> held(gst_message_ref(message), gst_message_unref);
            self->later(generation, [self, held] { self->handleMessage(held.get()); });
            break;
        }
        default:
            break;
        }
        // Dropped from the bus: the bus's own reference is ours to release.
        gst_message_unref(message);
        return GST_BUS_DROP;
    }

    // Runs on the audio streaming thread: the last of the sound has left the filter.
    static GstPadProbeReturn audioEvent(GstPad*, GstPadProbeInfo* info, gpointer data)
    {
        auto* self = static_cast<GstMediaPlayerControl*>(data);
        if (GST_EVENT_TYPE(GST_PAD_PROBE_INFO_EVENT(info)) == GST_EVENT_EOS)
            self->later(self->m_generation.load(), [self] { self->soundDelivered(); });
        return GST_PAD_PROBE_OK;
    }

    static GstFlowReturn newSample(GstAppSink* sink, gpointer data) { return take(sink, data, false); }
    static GstFlowReturn newPreroll(GstAppSink* sink, gpointer data) { return take(sink, data, true); }

    // Runs on the video streaming thread: copies the frame out of GStreamer's buffer.
    static GstFlowReturn take(GstAppSink* sink, gpointer data, bool preroll)
    {
        auto* self = static_cast<GstMediaPlayerControl*>(data);
        GstSample* sample = preroll ? gst_app_sink_pull_preroll(sink) : gst_app_sink_pull_sample(sink);
        if (!sample) return GST_FLOW_OK;
        QImage image;
        GstVideoInfo info;
        GstBuffer* buffer = gst_sample_get_buffer(sample);
        GstCaps* caps = gst_sample_get_caps(sample);
        if (buffer && caps && gst_video_info_from_caps(&info, caps)) {
            GstVideoFrame frame;
            if (gst_video_frame_map(&frame, &info, buffer, GST_MAP_READ)) {
                const auto* bits = static_cast<const uchar*>(GST_VIDEO_FRAME_PLANE_DATA(&frame, 0));
                image = QImage(bits, GST_VIDEO_FRAME_WIDTH(&frame), GST_VIDEO_FRAME_HEIGHT(&frame),
                               GST_VIDEO_FRAME_PLANE_STRIDE(&frame, 0), QImage::Format_RGB32)
                            .copy();
                gst_video_frame_unmap(&frame);
            }
        }
        gst_sample_unref(sample);
        if (!image.isNull()) self->frameArrived(std::move(image));
        return GST_FLOW_OK;
    }
};

GstMediaPlayerControl::GstMediaPlayerControl(QObject* parent) : MediaPlayerControl(parent)
{
    m_clockWatch.setInterval(kClockCheckMs);
    connect(&m_clockWatch, &QTimer::timeout, this, [this] { checkTheClock(); });
    if (isAvailable()) build();
}

GstMediaPlayerControl::~GstMediaPlayerControl()
{
    if (m_pipeline) {
        // Stops every streaming thread before the callbacks lose their object.
        gst_element_set_state(m_pipeline, GST_STATE_NULL);
        GstBus* bus = gst_element_get_bus(m_pipeline);
        gst_bus_set_sync_handler(bus, nullptr, nullptr, nullptr);
        gst_object_unref(bus);
        gst_object_unref(m_pipeline);
    }
    if (m_videoWidget && !m_videoWidget->parent()) delete m_videoWidget.data();
}

bool GstMediaPlayerControl::isAvailable()
{
    if (!gstInitialised()) return false;
    for (const char* name : kElements) {
        GstElementFactory* factory = gst_element_factory_find(name);
        if (!factory) return false;
        gst_object_unref(factory);
    }
    return true;
}

void GstMediaPlayerControl::build()
{
    m_pipeline = gst_element_factory_make("playbin", "veltra-player");
    if (!m_pipeline) return;
    gst_object_ref_sink(m_pipeline);

    // Balance and volume on the samples: audioconvert lets any channel layout and sample
    // format reach the panorama, which takes mono or stereo.
    GstElement* audioFilter = gst_bin_new("veltra-audio-filter");
    GstElement* convert = gst_element_factory_make("audioconvert", nullptr);
    m_panorama = gst_element_factory_make("audiopanorama", nullptr);
    m_volumeElement = gst_element_factory_make("volume", nullptr);
    gst_bin_add_many(GST_BIN(audioFilter), convert, m_panorama, m_volumeElement, nullptr);
    gst_element_link_many(convert, m_panorama, m_volumeElement, nullptr);
    gst_util_set_object_arg(G_OBJECT(m_panorama), "method", "simple");
    GstPad* pad = gst_element_get_static_pad(convert, "sink");
    gst_element_add_pad(audioFilter, gst_ghost_pad_new("sink", pad));
    gst_object_unref(pad);
    pad = gst_element_get_static_pad(m_volumeElement, "src");
    gst_element_add_pad(audioFilter, gst_ghost_pad_new("src", pad));
    gst_pad_add_probe(pad, GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM, &GstMediaPlayerCallbacks::audioEvent, this, nullptr);
    gst_object_unref(pad);
    g_object_set(m_pipeline, "audio-filter", audioFilter, nullptr);

    // Frames for the widget: 32-bit pixels in the byte order of QImage::Format_RGB32, square
    // pixels so that painting keeps the picture's proportions.
    const char* rgb32 = G_BYTE_ORDER == G_LITTLE_ENDIAN ? "BGRx" : "xRGB";
    const QByteArray description =
        QByteArrayLiteral("videoconvert ! videoscale ! appsink name=frames qos=true max-buffers=2 "
                          "caps=video/x-raw,format=")
        + rgb32 + ",pixel-aspect-ratio=1/1";
    GError* error = nullptr;
    GstElement* videoSink = gst_parse_bin_from_description(description.constData(), TRUE, &error);
    if (error) g_error_free(error);
    if (videoSink) {
        GstElement* frames = gst_bin_get_by_name(GST_BIN(videoSink), "frames");
        GstAppSinkCallbacks callbacks{};
        callbacks.new_preroll = &GstMediaPlayerCallbacks::newPreroll;
        callbacks.new_sample = &GstMediaPlayerCallbacks::newSample;
        gst_app_sink_set_callbacks(GST_APP_SINK(frames), &callbacks, this, nullptr);
        gst_object_unref(frames);
        g_object_set(m_pipeline, "video-sink", videoSink, nullptr);
    }

    GstBus* bus = gst_element_get_bus(m_pipeline);
    gst_bus_set_sync_handler(bus, &GstMediaPlayerCallbacks::busMessage, this, nullptr);
    gst_object_unref(bus);

    setVolume(m_volume);
    setBalance(m_balance);
}

double GstMediaPlayerControl::volumeToLevel(int hundredthsOfDb)
{
    if (hundredthsOfDb <= kSilence) return 0;
    return std::pow(10.0, std::min(hundredthsOfDb, 0) / 2000.0);
}

double GstMediaPlayerControl::balanceToPanorama(int balance)
{
    return std::clamp(balance, -kBalanceRange, kBalanceRange) / double(kBalanceRange);
}

void GstMediaPlayerControl::setVolume(int hundredthsOfDb)
{
    m_volume = std::clamp(hundredthsOfDb, kSilence, 0);
    if (!m_volumeElement) return;
    g_object_set(m_volumeElement, "volume", volumeToLevel(m_volume), "mute",
                 gboolean(m_volume <= kSilence), nullptr);
}

void GstMediaPlayerControl::setBalance(int balance)
{
    m_balance = std::clamp(balance, -kBalanceRange, kBalanceRange);
    if (!m_panorama) return;
    g_object_set(m_panorama, "panorama", gfloat(balanceToPanorama(m_balance)), nullptr);
}

// Brings the pipeline back to a standstill and makes every message still queued from
// before stale.
void GstMediaPlayerControl::halt()
{
    if (m_pipeline) gst_element_set_state(m_pipeline, GST_STATE_READY);
    ++m_generation;
    m_ready = false;
    m_soundDelivered = false;
    m_clockWatch.stop();
    {
        QMutexLocker lock(&m_frameLock);
        m_latestFrame = QImage();
    }
}

void GstMediaPlayerControl::unload()
{
    halt();
    m_loaded = false;
    m_refusal.clear();
    m_state = State::Stopped;
    m_atEnd = false;
    m_pendingSeek = -1;
    m_duration = 0;
    m_lastPosition = 0;
    if (m_videoWidget) m_videoWidget->clearFrame();
}

void GstMediaPlayerControl::setFileName(const QString& path)
{
    unload();
    m_fileName = path;
    if (path.isEmpty()) return;
    if (!m_pipeline) {
        refuse(QStringLiteral("The media player is not available"));
        return;
    }
    // Opening a named pipe or a device waits, on this thread, for data that may never come.
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) == 0 && !S_ISREG(st.st_mode)) {
        refuse(QStringLiteral("The file could not be opened"));
        return;
    }
    GError* error = nullptr;
    gchar* uri = gst_filename_to_uri(QFile::encodeName(path).constData(), &error);
    if (!uri) {
        const QString text = errorText(error);
        if (error) g_error_free(error);
        refuse(text);
        return;
    }
    g_object_set(m_pipeline, "uri", uri, nullptr);
    g_free(uri);
    {
        QMutexLocker lock(&m_loadLock);
        m_loadDone = false;
        m_loadError.clear();
    }
    // Prerolling opens the file: the duration is known and a first picture shown before Play.
    const GstStateChangeReturn change = gst_element_set_state(m_pipeline, GST_STATE_PAUSED);
    if (change == GST_STATE_CHANGE_FAILURE || (change == GST_STATE_CHANGE_ASYNC && !waitForLoad())) {
        QString reason;
        {
            QMutexLocker lock(&m_loadLock);
            reason = m_loadError;
        }
        refuse(reason.isEmpty() ? QStringLiteral("The file could not be opened") : reason);
        return;
    }
    m_loaded = true;
}

// Called on GStreamer's threads for errors and finished state changes: the answer a load
// waits for.
void GstMediaPlayerControl::loadAnswered(GstMessage* message)
{
    QMutexLocker lock(&m_loadLock);
    if (m_loadDone) return;
    if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR) {
        GError* error = nullptr;
        gst_message_parse_error(message, &error, nullptr);
        m_loadError = errorText(error);
        if (error) g_error_free(error);
    }
    m_loadDone = true;
    m_loadAnswered.wakeAll();
}

// True when GStreamer accepted the file; false when it refused it. A file that has not been
// answered for within the wait counts as accepted: its trouble, if any, comes as an Error.
bool GstMediaPlayerControl::waitForLoad()
{
    QDeadlineTimer deadline(kLoadWaitMs);
    QMutexLocker lock(&m_loadLock);
    while (!m_loadDone)
        if (!m_loadAnswered.wait(&m_loadLock, deadline)) return true;
    return m_loadError.isEmpty();
}

// The file stays unloaded, and what GStreamer still says about it is stale.
void GstMediaPlayerControl::refuse(const QString& reason)
{
    halt();
    if (m_pipeline) gst_element_set_state(m_pipeline, GST_STATE_NULL);
    m_loaded = false;
    m_refusal = reason;
}

void GstMediaPlayerControl::Play()
{
    if (!m_loaded || !m_pipeline) return;
    if (m_atEnd) {
        // Played to the end: the pipeline stands still at the start again.
        m_atEnd = false;
        m_lastPosition = 0;
    }
    m_state = State::Playing;
    gst_element_set_state(m_pipeline, GST_STATE_PLAYING);
    if (m_soundDelivered) m_clockWatch.start();
}

void GstMediaPlayerControl::Pause()
{
    if (m_state != State::Playing || !m_pipeline) return;
    m_state = State::Paused;
    m_clockWatch.stop();
    gst_element_set_state(m_pipeline, GST_STATE_PAUSED);
}

void GstMediaPlayerControl::Stop()
{
    halt();
    m_state = State::Stopped;
    m_atEnd = false;
    m_pendingSeek = -1;
    m_lastPosition = 0;
    if (m_videoWidget) m_videoWidget->clearFrame();
}

void GstMediaPlayerControl::Unload(const QString& name)
{
    unload();
    // Nothing stays open: the pipeline lets go of the file and the sound device.
    if (m_pipeline) gst_element_set_state(m_pipeline, GST_STATE_NULL);
    m_fileName = name;
}

double GstMediaPlayerControl::CurrentPosition() const
{
    if (m_pendingSeek >= 0) return m_pendingSeek;
    if (m_atEnd) return m_duration;
    if (!m_ready) return m_lastPosition;
    gint64 position = 0;
    if (gst_element_query_position(m_pipeline, GST_FORMAT_TIME, &position) && position >= 0)
        m_lastPosition = position / kNanosecondsPerSecond;
    return m_lastPosition;
}

void GstMediaPlayerControl::setCurrentPosition(double seconds)
{
    if (!m_loaded || !m_pipeline || !std::isfinite(seconds)) return;
    seconds = std::max(seconds, 0.0);
    if (m_duration > 0) seconds = std::min(seconds, m_duration);
    if (m_ready && !m_atEnd) {
        seekNow(seconds);
    } else {
        // Still opening (or stopped): the seek waits for the media to be ready.
        m_pendingSeek = seconds;
        if (m_atEnd) {
            m_atEnd = false;
            m_lastPosition = 0;
        }
    }
}

void GstMediaPlayerControl::seekNow(double seconds)
{
    // The flush takes back whatever sound had reached the sink.
    m_soundDelivered = false;
    m_clockWatch.stop();
    const auto target = gint64(std::llround(seconds * kNanosecondsPerSecond));
    if (gst_element_seek_simple(m_pipeline, GST_FORMAT_TIME,
                                GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE), target)) {
        m_lastPosition = seconds;
    }
}

void GstMediaPlayerControl::applyPendingSeek()
{
    if (m_pendingSeek < 0) return;
    double seconds = m_pendingSeek;
    m_pendingSeek = -1;
    if (m_duration > 0) seconds = std::min(seconds, m_duration);
    seekNow(seconds);
}

double GstMediaPlayerControl::Duration() const
{
    if (m_duration <= 0 && m_ready) {
        gint64 duration = 0;
        if (gst_element_query_duration(m_pipeline, GST_FORMAT_TIME, &duration) && duration > 0)
            m_duration = duration / kNanosecondsPerSecond;
    }
    return m_duration;
}

void GstMediaPlayerControl::queryDuration()
{
    gint64 duration = 0;
    if (gst_element_query_duration(m_pipeline, GST_FORMAT_TIME, &duration) && duration > 0)
        m_duration = duration / kNanosecondsPerSecond;
}

void GstMediaPlayerControl::handleMessage(GstMessage* message)
{
    switch (GST_MESSAGE_TYPE(message)) {
    case GST_MESSAGE_ASYNC_DONE:
        m_ready = true;
        queryDuration();
        applyPendingSeek();
        break;
    case GST_MESSAGE_DURATION_CHANGED:
        if (m_ready) queryDuration();
        break;
    case GST_MESSAGE_EOS:
        endOfStream();
        break;
    case GST_MESSAGE_ERROR: {
        GError* error = nullptr;
        gst_message_parse_error(message, &error, nullptr);
        const QString text = errorText(error);
        if (error) g_error_free(error);
        halt();
        m_state = State::Stopped;
        m_pendingSeek = -1;
        emit Error(text);
        break;
    }
    default:
        break;
    }
}

void GstMediaPlayerControl::endOfStream()
{
    halt();
    m_state = State::Stopped;
    m_atEnd = true;
    m_pendingSeek = -1;
    emit EndOfStream();
}

// The audio sink waits on the pipeline's clock for its last sample before it reports the end.
// After a seek into the last few milliseconds, the PulseAudio stream clock can give back one
// wrapped time, hundreds of years ahead; the audio clock keeps it (it never goes back), and the
// sink's wait, measured against a clock that no longer moves, never ends: no end-of-stream,
// the position frozen. No clock the pipeline uses runs ahead of the system's own: the system
// clock is that clock, and an audio clock counts only the sound played since it was made. So
// from the moment all the sound has gone to the sink until the end, a clock ahead of it means
// the file has ended.
void GstMediaPlayerControl::soundDelivered()
{
    m_soundDelivered = true;
    if (m_state == State::Playing) m_clockWatch.start();
}

void GstMediaPlayerControl::checkTheClock()
{
    if (!m_soundDelivered || m_state != State::Playing || !m_pipeline) return;
    GstClock* clock = gst_element_get_clock(m_pipeline);
    if (!clock) return;
    const GstClockTime now = gst_clock_get_time(clock);
    gst_object_unref(clock);
    const GstClockTime system = GstClockTime(g_get_monotonic_time()) * GST_USECOND;
    if (now > system + kClockAheadLimit) endOfStream();
}

void GstMediaPlayerControl::later(quint64 generation, std::function<void()> work)
{
    QMetaObject::invokeMethod(
        this,
        [this, generation, work = std::move(work)] {
            if (generation == m_generation.load()) work();
        },
        Qt::QueuedConnection);
}

void GstMediaPlayerControl::frameArrived(QImage frame)
{
    {
        QMutexLocker lock(&m_frameLock);
        m_latestFrame = std::move(frame);
    }
    // One queued hand-over at a time: a slow GUI sees the newest frame, not a backlog.
    if (!m_framePending.exchange(true))
        QMetaObject::invokeMethod(this, [this] { showLatestFrame(); }, Qt::QueuedConnection);
}

void GstMediaPlayerControl::showLatestFrame()
{
    m_framePending = false;
    QImage frame;
    {
        QMutexLocker lock(&m_frameLock);
        frame = std::move(m_latestFrame);
        m_latestFrame = QImage();
    }
    if (!frame.isNull() && m_videoWidget) m_videoWidget->setFrame(frame);
}

QWidget* GstMediaPlayerControl::videoWidget()
{
    if (!m_videoWidget) m_videoWidget = new VideoFrameWidget;
    return m_videoWidget;
}

} // namespace veltra
