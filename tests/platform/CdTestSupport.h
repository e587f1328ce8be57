#pragma once
// A simulated set of CD drives installed as the CD device, on a clock the test moves.
#include "platform/CdAudioDevice.h"
#include "platform/SimulatedCdDrives.h"
#include "platform/modCDAudio.h"
#include "support/TestEnv.h"

#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

// The simulated drives installed as the CD device, and the strings they received.
struct SimulatedCd {
    void installCd()
    {
        sim = std::make_shared<cd::SimulatedCdDrives>();
        sim->setClock([this] { return clock; });
        cdaudio::install(sim, sim->silentOutput());
        CDDeviceOpen = false;
    }
    void uninstallCd()
    {
        cdaudio::reset();
        CDDeviceOpen = false;
    }

    // Drives A, B ... each with a disc of these track lengths (seconds), or none when empty.
    void drives(const QList<QList<int>>& discs)
    {
        for (const QList<int>& disc : discs) {
            const int d = sim->addDrive();
            if (!disc.isEmpty()) sim->insertDisc(d, disc);
        }
    }
    // The drives a VELTRA_CD_SIMULATE text describes, in place of those installed before.
    void describe(const QString& text)
    {
        QString why;
        sim = cd::SimulatedCdDrives::fromDescription(text, &why);
        ASSERT_TRUE(sim) << why.toStdString();
        sim->setClock([this] { return clock; });
        cdaudio::install(sim, sim->silentOutput());
        CDDeviceOpen = false;
    }
    QStringList sent() const { return sim->received(); }
    void forget() { sim->clearReceived(); }

    std::shared_ptr<cd::SimulatedCdDrives> sim;
    qint64 clock = 1000;
};

class SimulatedCdTest : public VeltraTest, protected SimulatedCd {
protected:
    void SetUp() override
    {
        VeltraTest::SetUp();
        installCd();
    }
    void TearDown() override
    {
        VeltraTest::TearDown();
        uninstallCd();
    }
};

// Twelve tracks of 3:00, 3:10 ... as VELTRA_CD_SIMULATE="12" gives.
inline QList<int> twelveTracks()
{
    QList<int> s;
    for (int n = 0; n < 12; ++n) s.append(180 + 10 * (n % 6));
    return s;
}
