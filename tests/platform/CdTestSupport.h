#pragma once
// A simulated set of CD drives installed as the CD device, on a clock the test moves.
#include "platform/CdAudioDevice.h"
#include "platform/SimulatedCdDrives.h"
#include "platform/modCDAudio.h"
#include "support/TestEnv.h"

#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

class SimulatedCdTest : public VeltraTest {
protected:
    void SetUp() override
    {
        VeltraTest::SetUp();
        sim = std::make_shared<cd::SimulatedCdDrives>();
        sim->setClock([this] { return clock; });
        cdaudio::install(sim, sim->silentOutput());
        CDDeviceOpen = false;
    }
    void TearDown() override
    {
        VeltraTest::TearDown();
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
    QStringList sent() const { return sim->received(); }
    // The strings received since the last call.
    QStringList sentSince()
    {
        const QStringList all = sim->received();
        const QStringList out = all.mid(m_seen);
        m_seen = all.size();
        return out;
    }
    void forget()
    {
        sim->clearReceived();
        m_seen = 0;
    }

    std::shared_ptr<cd::SimulatedCdDrives> sim;
    qint64 clock = 1000;

private:
    qsizetype m_seen = 0;
};

// Twelve tracks of 3:00, 3:10 ... as VELTRA_CD_SIMULATE="12" gives.
inline QList<int> twelveTracks()
{
    QList<int> s;
    for (int n = 0; n < 12; ++n) s.append(180 + 10 * (n % 6));
    return s;
}
