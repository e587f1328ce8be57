#pragma once
// CD audio through GStreamer: a reading thread takes the disc's sectors from the drive and
// pushes them into an appsrc (at most about a second ahead of what is heard); audioconvert,
// audioresample and the system's audio sink play them. What has been heard is the
// pipeline's position, so the CD device reports the sound, not the read-ahead.
#include "platform/CdDrives.h"

#include <memory>
#include <thread>
#include <vector>

typedef struct _GstElement GstElement;

namespace cd {

class GstCdAudioOutput : public AudioOutput {
public:
    // GStreamer and the elements needed are installed.
    static bool isAvailable();

    GstCdAudioOutput();
    ~GstCdAudioOutput() override;

    bool start(const PlayRequest& request) override;
    void stop() override;
    qint64 heardSectors() override;
    bool finished() override;

    struct Feed;   // what the reading thread shares with the output

private:
    void pollBus();
    void reapReaders(bool all);

    GstElement* m_pipeline = nullptr;
    std::shared_ptr<Feed> m_feed;
    std::vector<std::pair<std::shared_ptr<Feed>, std::thread>> m_readers;
    qint64 m_total = 0;
    qint64 m_heard = 0;
    bool m_ended = false;
};

} // namespace cd
