#include "platform/SimulatedCdDrives.h"

#include <QtEndian>

#include <cmath>
#include <numbers>

namespace cd {

namespace {

// Reads the tone of a disc laid out as `toc`; owns a copy, so the UI may change the drive meanwhile.
class ToneReader : public SectorReader {
public:
    explicit ToneReader(Toc toc) : m_toc(std::move(toc)) {}

    bool read(int sector, char* out) override
    {
        if (sector < m_toc.firstSector() || sector >= m_toc.leadOut()) return false;
        const int track = m_toc.trackAt(sector);
        if (!m_toc.tracks[track - 1].audio) return false;   // a data sector holds no sound
        const qint64 firstFrame = qint64(sector - m_toc.tracks[track - 1].start) * FramesPerSector;
        for (int i = 0; i < FramesPerSector; ++i) {
            const qint16 s = SimulatedCdDrives::toneSample(track, firstFrame + i);
            qToLittleEndian(s, out + 4 * i);
            qToLittleEndian(s, out + 4 * i + 2);
        }
        return true;
    }

private:
    Toc m_toc;
};

// "m:ss" or whole seconds; -1 when neither.
int parseSeconds(const QString& text)
{
    const QStringList parts = text.trimmed().split(u':');
    bool ok = false;
    if (parts.size() == 1) {
        const int s = parts[0].toInt(&ok);
        return ok && s > 0 ? s : -1;
    }
    if (parts.size() != 2 || parts[1].size() != 2) return -1;
    const int m = parts[0].toInt(&ok);
    if (!ok || m < 0) return -1;
    const int s = parts[1].toInt(&ok);
    if (!ok || s < 0 || s > 59 || m * 60 + s == 0) return -1;
    return m * 60 + s;
}
} // namespace

SimulatedCdDrives::SimulatedCdDrives() : m_clock(&steadyMilliseconds) {}

int SimulatedCdDrives::addDrive()
{
    m_drives.append(Drive{});
    return int(m_drives.size()) - 1;
}

SimulatedCdDrives::Drive* SimulatedCdDrives::at(int drive)
{
    return drive >= 0 && drive < m_drives.size() ? &m_drives[drive] : nullptr;
}

const SimulatedCdDrives::Drive* SimulatedCdDrives::at(int drive) const
{
    return drive >= 0 && drive < m_drives.size() ? &m_drives[drive] : nullptr;
}

void SimulatedCdDrives::insertDisc(int drive, const QList<int>& trackSeconds)
{
    QList<int> sectors;
    for (int s : trackSeconds) sectors.append(s * SectorsPerSecond);
    insertDiscSectors(drive, sectors);
}

void SimulatedCdDrives::insertDiscSectors(int drive, const QList<int>& trackSectors, const QList<bool>& audio)
{
    Drive* d = at(drive);
    if (!d) return;
    // Laid out as discs are pressed: a data track after audio is an enhanced CD's second
    // session, which begins a session gap after the audio.
    DiscLayout layout;
    int start = 0;
    for (int i = 0; i < trackSectors.size(); ++i) {
        const bool isAudio = audio.value(i, true);
        if (i > 0 && !isAudio && layout.audio.last()) {
            start += SessionGapSectors;
            layout.lastSession = start;
        }
        layout.starts.append(start);
        layout.audio.append(isAudio);
        start += trackSectors[i];
    }
    layout.leadOut = start;
    d->disc = layout;
    d->doorOpen = false;
}

void SimulatedCdDrives::removeDisc(int drive)
{
    if (Drive* d = at(drive)) d->disc.reset();
}

void SimulatedCdDrives::closeDoor(int drive)
{
    if (Drive* d = at(drive)) d->doorOpen = false;
}

void SimulatedCdDrives::setReadable(int drive, bool readable)
{
    if (Drive* d = at(drive)) d->readable = readable;
}

void SimulatedCdDrives::setDoorStuck(int drive, bool stuck)
{
    if (Drive* d = at(drive)) d->doorStuck = stuck;
}

bool SimulatedCdDrives::doorOpen(int drive) const
{
    const Drive* d = at(drive);
    return d && d->doorOpen;
}

void SimulatedCdDrives::setClock(std::function<qint64()> msClock) { m_clock = std::move(msClock); }

qint64 SimulatedCdDrives::now() const { return m_clock(); }

std::unique_ptr<AudioOutput> SimulatedCdDrives::silentOutput() const
{
    // Through this object, so that a clock replaced later is still the one used.
    return std::make_unique<ClockedCdOutput>([this] { return now(); });
}

qint16 SimulatedCdDrives::toneSample(int track, qint64 frame)
{
    // A pitch per track, so that a listener hears where the disc is: 220 Hz and up by fifths
    // of a tone.
    const double hz = 220.0 * std::pow(2.0, double(track - 1) / 6.0);
    const double t = double(frame) / SampleRate;
    return qint16(std::lround(ToneAmplitude * std::sin(2 * std::numbers::pi * hz * t)));
}

std::shared_ptr<SimulatedCdDrives> SimulatedCdDrives::fromDescription(const QString& text, QString* error)
{
    auto drives = std::make_shared<SimulatedCdDrives>();
    const QStringList parts = text.split(u';');
    for (const QString& raw : parts) {
        const QString part = raw.trimmed();
        const int drive = drives->addDrive();
        if (part.compare(QLatin1String("none"), Qt::CaseInsensitive) == 0) continue;
        if (part.compare(QLatin1String("open"), Qt::CaseInsensitive) == 0) {
            drives->m_drives[drive].doorOpen = true;
            continue;
        }
        QList<int> sectors;
        QList<bool> audio;
        bool isCount = false;
        const int tracks = part.toInt(&isCount);
        if (isCount && !part.contains(u',')) {
            if (tracks < 1 || tracks > 99) {
                *error = QStringLiteral("a disc has 1 to 99 tracks: \"%1\"").arg(part);
                return nullptr;
            }
            for (int n = 0; n < tracks; ++n) sectors.append((180 + 10 * (n % 6)) * SectorsPerSecond);
        } else {
            for (const QString& track : part.split(u',')) {
                // "data 20:00" is a data track of that length.
                QString length = track.trimmed();
                const bool data = length.startsWith(QLatin1String("data"), Qt::CaseInsensitive);
                if (data) length = length.mid(4);
                const int s = data && !length.isEmpty() && !length[0].isSpace() ? -1 : parseSeconds(length);
                if (s < 0) {
                    *error = QStringLiteral("not a track length (m:ss or seconds, after \"data \" for a data track): \"%1\"")
                                 .arg(track.trimmed());
                    return nullptr;
                }
                sectors.append(s * SectorsPerSecond);
                audio.append(!data);
            }
            if (sectors.size() > 99) {
                *error = QStringLiteral("a disc has at most 99 tracks");
                return nullptr;
            }
        }
        drives->insertDiscSectors(drive, sectors, audio);
    }
    if (drives->count() > 26) {
        *error = QStringLiteral("at most 26 drives (A to Z)");
        return nullptr;
    }
    return drives;
}

QString SimulatedCdDrives::name(int drive) { return at(drive) ? QStringLiteral("simulated drive %1").arg(QChar(u'A' + drive)) : QString(); }

bool SimulatedCdDrives::readable(int drive)
{
    const Drive* d = at(drive);
    return d && d->readable;
}

DriveStatus SimulatedCdDrives::status(int drive)
{
    ++m_statusReads;
    const Drive* d = at(drive);
    if (!d) return DriveStatus::NotReady;
    if (d->doorOpen) return DriveStatus::DoorOpen;
    return d->disc ? DriveStatus::DiscReady : DriveStatus::NoDisc;
}

bool SimulatedCdDrives::readToc(int drive, Toc* toc)
{
    const Drive* d = at(drive);
    if (!d || d->doorOpen || !d->disc) return false;
    return tocFromLayout(*d->disc, toc);
}

bool SimulatedCdDrives::openDoor(int drive)
{
    Drive* d = at(drive);
    if (!d || d->doorStuck) return false;
    d->doorOpen = true;
    d->disc.reset();   // the tray comes out with the disc: a closed door finds it empty
    return true;
}

SectorReaderFactory SimulatedCdDrives::readerFactory(int drive)
{
    const Drive* d = at(drive);
    Toc toc;
    if (d && d->disc) tocFromLayout(*d->disc, &toc);
    return [toc] { return std::make_unique<ToneReader>(toc); };
}

} // namespace cd
