#pragma once
// A temporary program folder for a benchmark, with the recording message boxes, the fake
// player, a sound device and no tray, as the tests have. What the folder holds is the
// benchmark's own.
#include "common/modSettings.h"
#include "common/modTray.h"
#include "platform/FakeMediaPlayerControl.h"
#include "platform/MediaPlayerFactory.h"
#include "platform/ProgramFolder.h"
#include "platform/RecordingUiServices.h"
#include "platform/SoundDevice.h"
#include "startup/modMain.h"

#include <QTemporaryDir>

struct BenchHome {
    QTemporaryDir dir;
    veltra::RecordingUiServices ui;
    BenchHome() { use(); }
    // Makes this folder the program's again, after a benchmark that used another.
    void use()
    {
        programfolder::setPath(dir.path());
        settings_SetPath(programfolder::file(QStringLiteral("settings.ini")));
        veltra::setUiServices(&ui);
        sounddevice::setOverride([] { return true; });
        veltra::setMediaPlayerFactory([](QObject* p) { return new veltra::FakeMediaPlayerControl(p); });
        tray::setAvailabilityOverride([] { return tray::Availability::NoDesktop; });
        startup::setArguments({});
    }
};
