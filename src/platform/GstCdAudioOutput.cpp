#include "platform/GstCdAudioOutput.h"

#include <QtGlobal>

#include <gst/app/gstappsrc.h>
#include <gst/gst.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>

namespace cd {

struct GstCdAudioOutput::Feed {
    std::atomic<bool> stop{false};
    std::atomic<bool> done{false};
    GstElement* source = nullptr;   // a reference of its own: valid after the pipeline is gone

    ~Feed()
    {
        if (source) gst_object_unref(source);
    }
};

namespace {

constexpr int SectorsPerBuffer = 5;                            // a fifteenth of a second
constexpr guint64 ReadAheadBytes = guint64(BytesPerSector) * SectorsPerSecond;   // about a second

bool silentAt(const PlayRequest& request, int sector)
{
    return std::any_of(request.silent.begin(), request.silent.end(),
                       [sector](const Track& t) { return sector >= t.start && sector < t.start + t.length; });
}

// The reading thread: sectors in order into the appsrc, which blocks it while a second of
// sound waits to be played. Stopping flushes the appsrc, which releases a blocked push.
void readAndPush(std::shared_ptr<GstCdAudioOutput::Feed> feed, PlayRequest request)
{
    std::unique_ptr<SectorReader> reader = request.reader ? request.reader() : nullptr;
    GstAppSrc* source = GST_APP_SRC(feed->source);
    for (int s = request.first; s < request.end && !feed->stop; s += SectorsPerBuffer) {
        const int n = std::min(SectorsPerBuffer, request.end - s);
        GstBuffer* buffer = gst_buffer_new_allocate(nullptr, gsize(n) * BytesPerSector, nullptr);
        GstMapInfo map;
        if (!gst_buffer_map(buffer, &map, GST_MAP_WRITE)) {
            gst_buffer_unref(buffer);
            break;
        }
        for (int i = 0; i < n; ++i) {
            char* out = reinterpret_cast<char*>(map.data) + qsizetype(i) * BytesPerSector;
            // Unreadable sectors and data tracks sound as silence, never as noise.
            if (silentAt(request, s + i) || !reader || !reader->read(s + i, out)) std::memset(out, 0, BytesPerSector);
        }
        gst_buffer_unmap(buffer, &map);
        GST_BUFFER_PTS(buffer) = gst_util_uint64_scale(guint64(s - request.first), GST_SECOND, SectorsPerSecond);
        GST_BUFFER_DURATION(buffer) = gst_util_uint64_scale(guint64(n), GST_SECOND, SectorsPerSecond);
        if (gst_app_src_push_buffer(source, buffer) != GST_FLOW_OK) break;
    }
    if (!feed->stop) gst_app_src_end_of_stream(source);
    reader.reset();   // the drive is let go on this thread too: closing it may take a moment
    feed->done = true;
}

bool gstReady()
{
    static const bool ready = [] {
        GError* error = nullptr;
        if (!gst_init_check(nullptr, nullptr, &error)) {
            if (error) g_error_free(error);
            return false;
        }
        for (const char* name : {"appsrc", "audioconvert", "audioresample", "autoaudiosink"}) {
            GstElementFactory* factory = gst_element_factory_find(name);
            if (!factory) return false;
            gst_object_unref(factory);
        }
        return true;
    }();
    return ready;
}
} // namespace

bool GstCdAudioOutput::isAvailable() { return gstReady(); }

GstCdAudioOutput::GstCdAudioOutput() = default;

GstCdAudioOutput::~GstCdAudioOutput()
{
    stop();
    reapReaders(true);
}

bool GstCdAudioOutput::start(const PlayRequest& request)
{
    stop();
    reapReaders(false);
    if (!gstReady() || request.end <= request.first) return false;

    GError* error = nullptr;
    const QByteArray description = "appsrc name=cdsource format=time is-live=false block=true max-bytes="
                                   + QByteArray::number(ReadAheadBytes)
                                   + " ! audioconvert ! audioresample ! autoaudiosink name=cdsink";
    GstElement* pipeline = gst_parse_launch(description.constData(), &error);
    if (error) {
        g_error_free(error);
        if (pipeline) gst_object_unref(pipeline);
        return false;
    }
    if (!pipeline) return false;
    gst_object_ref_sink(pipeline);
    GstElement* source = gst_bin_get_by_name(GST_BIN(pipeline), "cdsource");
    GstCaps* caps = gst_caps_new_simple("audio/x-raw", "format", G_TYPE_STRING, "S16LE", "rate", G_TYPE_INT, SampleRate,
                                        "channels", G_TYPE_INT, 2, "layout", G_TYPE_STRING, "interleaved", nullptr);
    g_object_set(source, "caps", caps, nullptr);
    gst_caps_unref(caps);

    auto feed = std::make_shared<Feed>();
    feed->source = source;
    if (gst_element_set_state(pipeline, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) {
        gst_element_set_state(pipeline, GST_STATE_NULL);
        gst_object_unref(pipeline);
        return false;
    }
    m_pipeline = pipeline;
    m_feed = feed;
    m_total = request.end - request.first;
    m_heard = 0;
    m_ended = false;
    m_readers.emplace_back(feed, std::thread(readAndPush, feed, request));
    return true;
}

void GstCdAudioOutput::stop()
{
    if (!m_pipeline) return;
    heardSectors();   // what was heard up to now stays the answer
    if (m_feed) m_feed->stop = true;
    gst_element_set_state(m_pipeline, GST_STATE_NULL);
    gst_object_unref(m_pipeline);
    m_pipeline = nullptr;
    m_feed.reset();
}

void GstCdAudioOutput::pollBus()
{
    if (!m_pipeline) return;
    GstBus* bus = gst_element_get_bus(m_pipeline);
    while (GstMessage* message = gst_bus_pop_filtered(bus, GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR))) {
        if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS) {
            m_heard = m_total;
        } else {
            GError* error = nullptr;
            gst_message_parse_error(message, &error, nullptr);
            qWarning("CD audio output: %s", error ? error->message : "error");
            if (error) g_error_free(error);
        }
        m_ended = true;
        gst_message_unref(message);
    }
    gst_object_unref(bus);
}

qint64 GstCdAudioOutput::heardSectors()
{
    pollBus();
    if (!m_pipeline || m_ended) return m_heard;
    gint64 position = 0;
    if (gst_element_query_position(m_pipeline, GST_FORMAT_TIME, &position) && position > 0) {
        const qint64 sectors = qint64(gst_util_uint64_scale(guint64(position), SectorsPerSecond, GST_SECOND));
        m_heard = std::clamp(sectors, m_heard, m_total);
    }
    return m_heard;
}

bool GstCdAudioOutput::finished()
{
    pollBus();
    return m_pipeline && m_ended;
}

void GstCdAudioOutput::reapReaders(bool all)
{
    if (all) {
        for (auto& [feed, thread] : m_readers) feed->stop = true;
        // A drive stuck on a bad sector must not hold the program's end for long.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        while (std::chrono::steady_clock::now() < deadline
               && std::any_of(m_readers.begin(), m_readers.end(), [](const auto& r) { return !r.first->done; }))
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    for (auto it = m_readers.begin(); it != m_readers.end();) {
        if (it->first->done) {
            it->second.join();
            it = m_readers.erase(it);
        } else if (all) {
            it->second.detach();
            it = m_readers.erase(it);
        } else {
            ++it;
        }
    }
}

} // namespace cd
