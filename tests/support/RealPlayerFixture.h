#pragma once
// A fixture on `Base` whose program plays through the real GStreamer player on a private
// PulseAudio null sink; the test is skipped where GStreamer's elements or PulseAudio are
// missing. The program's windows go before the sound server.
#include "platform/GstMediaPlayerControl.h"
#include "platform/MediaPlayerFactory.h"
#include "startup/Forms.h"
#include "support/PulseNullSink.h"

#include <gtest/gtest.h>

template <class Base>
class RealPlayerFixture : public Base {
protected:
    void SetUp() override
    {
        Base::SetUp();
        veltra::setMediaPlayerFactory(nullptr);   // the real player
        if (!veltra::GstMediaPlayerControl::isAvailable()) GTEST_SKIP() << "GStreamer or its elements are missing";
        if (!PulseNullSink::toolsPresent()) GTEST_SKIP() << "PulseAudio (pulseaudio, pactl, parec) is missing";
        QString why;
        ASSERT_TRUE(pulse.start(&why)) << why.toStdString();
    }
    void TearDown() override
    {
        forms().unloadAll();
        pulse.stop();
        Base::TearDown();
    }

    PulseNullSink pulse;
};
