#pragma once
// CD drives that exist only in memory: each holds an audio disc of given track lengths or
// none, has a door, plays a tone (a different pitch per track) as its audio, keeps time on
// a clock that tests may replace, and records every command string sent to the device.
// Used by the tests, and by machines without a drive when VELTRA_CD_SIMULATE describes one.
#include "platform/CdDrives.h"

#include <QStringList>

#include <optional>

namespace cd {

class SimulatedCdDrives : public Drives {
public:
    SimulatedCdDrives();

    // A drive (returns its index); empty, door closed, readable.
    int addDrive();
    // Puts a disc of these track lengths (whole seconds) in the drive and closes its door.
    void insertDisc(int drive, const QList<int>& trackSeconds);
    // The same with lengths in sectors, and data tracks where `audio` says false. A data track
    // after an audio track begins a second session, as on an enhanced CD.
    void insertDiscSectors(int drive, const QList<int>& trackSectors, const QList<bool>& audio = {});
    // Takes the disc out (as a hand would, door left closed).
    void removeDisc(int drive);
    void closeDoor(int drive);
    void setReadable(int drive, bool readable);
    // A door that will not open: opening it fails and the disc stays.
    void setDoorStuck(int drive, bool stuck);
    bool doorOpen(int drive) const;

    // The clock of the silent output, in milliseconds (the steady clock unless replaced).
    void setClock(std::function<qint64()> msClock);
    qint64 now() const;
    // A sound output that plays nothing and keeps this drive set's clock.
    std::unique_ptr<AudioOutput> silentOutput() const;

    // The strings received, in order.
    QStringList received() const { return m_received; }
    void clearReceived() { m_received.clear(); }
    // How many times a drive's status has been asked for.
    int statusReads() const { return m_statusReads; }

    // The tone heard at a sample frame of a track (16-bit), both channels alike.
    static qint16 toneSample(int track, qint64 frame);
    static constexpr int ToneAmplitude = 8000;

    // From a description: drives separated by ";", each "none" (empty), "open" (door open,
    // no disc), a track count ("12": tracks of 3:00, 3:10, 3:20 ...) or track lengths
    // separated by "," as m:ss or seconds ("3:25,4:02,58"), "data " before the length of a
    // data track ("3:25,4:02,data 20:00"). Null with a reason when the text describes nothing.
    static std::shared_ptr<SimulatedCdDrives> fromDescription(const QString& text, QString* error);

    // Drives
    int count() override { return int(m_drives.size()); }
    QString name(int drive) override;
    bool readable(int drive) override;
    DriveStatus status(int drive) override;
    bool readToc(int drive, Toc* toc) override;
    bool openDoor(int drive) override;
    SectorReaderFactory readerFactory(int drive) override;
    void commandReceived(const QString& command) override { m_received.append(command); }

private:
    struct Drive {
        std::optional<DiscLayout> disc;
        bool doorOpen = false;
        bool readable = true;
        bool doorStuck = false;
    };
    Drive* at(int drive);
    const Drive* at(int drive) const;

    QList<Drive> m_drives;
    std::function<qint64()> m_clock;
    QStringList m_received;
    int m_statusReads = 0;
};

} // namespace cd
