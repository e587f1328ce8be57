#include "platform/MediaPlayerFactory.h"

#include "platform/GstMediaPlayerControl.h"
#include "platform/VideoFrameWidget.h"

namespace veltra {

namespace {
MediaPlayerFactory& factory()
{
    static MediaPlayerFactory f;
    return f;
}
} // namespace

MediaPlayerControl* createMediaPlayer(QObject* parent)
{
    if (factory()) return factory()(parent);
    return new GstMediaPlayerControl(parent);
}

void setMediaPlayerFactory(MediaPlayerFactory f) { factory() = std::move(f); }

} // namespace veltra
