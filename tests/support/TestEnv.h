#pragma once
// A fresh program folder per test, the recording message boxes and dialogs, and a sound
// device, so that no test needs a display, a sound card or the network.
#include "platform/FakeMediaPlayerControl.h"
#include "platform/RecordingUiServices.h"

#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

class VeltraTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Path inside the temporary program folder.
    QString home(const QString& relative = QString()) const;
    // Writes bytes to a file under the program folder (folders made as needed); returns its path.
    QString writeFile(const QString& relative, const QByteArray& bytes) const;
    QByteArray readFile(const QString& path) const;

    QTemporaryDir dir;
    veltra::RecordingUiServices ui;
};

// Runs queued events (timers due now, deferred calls).
void processEvents(int ms = 0);
