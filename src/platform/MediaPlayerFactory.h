#pragma once
// Where the program's media player comes from: the GStreamer player normally; tests install
// a factory that makes the fake one.
#include "platform/MediaPlayerControl.h"

#include <functional>

namespace veltra {

using MediaPlayerFactory = std::function<MediaPlayerControl*(QObject* parent)>;

MediaPlayerControl* createMediaPlayer(QObject* parent);
void setMediaPlayerFactory(MediaPlayerFactory factory);   // empty: the real player

} // namespace veltra
