#include "platform/MediaPlayerFactory.h"

#include "platform/QtMediaPlayerControl.h"
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
    return new QtMediaPlayerControl(parent);
}

void setMediaPlayerFactory(MediaPlayerFactory f) { factory() = std::move(f); }

} // namespace veltra
