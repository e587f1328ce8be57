// The interface has no code of its own; this file carries its signals (moc).
#include "platform/MediaPlayerControl.h"
