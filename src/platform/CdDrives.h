#pragma once
// What the CD command-string device (CdAudioDevice) needs of the machine: the CD drives,
// their discs' tables of contents, their doors, their audio sectors, and a sound output
// that plays those sectors. Real drives come from libcdio (LibcdioDrives), tests and
// machines without a drive use SimulatedCdDrives; the sound output is GStreamer
// (GstCdAudioOutput) or a silent one that only keeps time (ClockedCdOutput).
#include <QList>
#include <QString>
#include <QtGlobal>

#include <functional>
#include <memory>

namespace cd {

constexpr int SectorsPerSecond = 75;      // a sector is a "frame" of the MSF/TMSF times
constexpr int FramesPerSector = 588;      // stereo sample frames per sector
constexpr int BytesPerSector = 2352;      // 16-bit little-endian stereo at 44100 Hz
constexpr int SampleRate = 44100;

struct Track {
    int start = 0;       // first sector
    int length = 0;      // sectors
    bool audio = true;   // data tracks are never played as sound
};

struct Toc {
    QList<Track> tracks;   // track n is tracks[n - 1]
    int leadOut() const { return tracks.isEmpty() ? 0 : tracks.last().start + tracks.last().length; }
    int firstSector() const { return tracks.isEmpty() ? 0 : tracks.first().start; }
    // The track (1-based) holding the sector; a sector past the end belongs to the last track.
    int trackAt(int sector) const;
    // The audio tracks alone, numbered from 1 in their order: what a CD player lists and plays.
    Toc audioOnly() const;
};

// Sectors from the end of one session's last track to the first track of the next: the
// session's lead-out (90 s), the next one's lead-in (60 s) and its first track's pre-gap (2 s).
constexpr int SessionGapSectors = 11400;

// A disc's table of contents as a drive reports it: where each track starts and whether it
// holds audio, where the lead-out of the disc begins, and where its last session begins (0
// for a disc of one session).
struct DiscLayout {
    QList<int> starts;
    QList<bool> audio;
    int leadOut = 0;
    int lastSession = 0;
};
// The tracks with their lengths; false when the layout is no table of contents. A track runs
// to the next one's start, except the last audio track before a data track of a later session
// (an enhanced CD): that ends at its own session's lead-out, not in the gap before the data.
bool tocFromLayout(const DiscLayout& layout, Toc* toc);

enum class DriveStatus { NoDisc, DoorOpen, NotReady, DiscReady };

// Reads a disc's audio sectors. Made and used on a reading thread of its own, never on the
// UI thread: a real drive can take seconds to spin up or to re-read a scratched sector.
class SectorReader {
public:
    virtual ~SectorReader() = default;
    // One sector as 16-bit little-endian stereo (BytesPerSector bytes); false when unreadable.
    virtual bool read(int sector, char* out) = 0;
};
using SectorReaderFactory = std::function<std::unique_ptr<SectorReader>()>;

// The drives of the machine, by index (index 0 is drive letter A).
class Drives {
public:
    virtual ~Drives() = default;
    // Looks for drives again (a device plugged in since); indexes may change.
    virtual void rescan() {}
    virtual int count() = 0;
    virtual QString name(int drive) = 0;
    // A drive the user may not read counts as no drive.
    virtual bool readable(int drive) = 0;
    // Quick: asked at every tick of the CD player's status timer while it is open.
    virtual DriveStatus status(int drive) = 0;
    virtual bool readToc(int drive, Toc* toc) = 0;
    virtual bool openDoor(int drive) = 0;
    virtual SectorReaderFactory readerFactory(int drive) = 0;
    // Every command string the device receives, whatever becomes of it.
    virtual void commandReceived(const QString& command) { Q_UNUSED(command); }
};

// Sectors first .. end - 1 of a disc to be played.
struct PlayRequest {
    SectorReaderFactory reader;
    int first = 0;
    int end = 0;
    QList<Track> silent;   // ranges played as silence (data tracks)
};

// Plays a run of sectors and says how much of it has been heard.
class AudioOutput {
public:
    virtual ~AudioOutput() = default;
    // Starts at once and returns; the sound follows. False when nothing can play.
    virtual bool start(const PlayRequest& request) = 0;
    virtual void stop() = 0;
    // Sectors heard since start (what reached the listener, not what was read ahead);
    // after stop, what had been heard by then.
    virtual qint64 heardSectors() = 0;
    // The whole run has been heard, or the output gave up.
    virtual bool finished() = 0;
};

// An output that plays nothing and counts time on a clock (milliseconds): tests drive the
// clock by hand, and the CD player keeps working where no sound output exists.
class ClockedCdOutput : public AudioOutput {
public:
    explicit ClockedCdOutput(std::function<qint64()> msClock);
    bool start(const PlayRequest& request) override;
    void stop() override;
    qint64 heardSectors() override;
    bool finished() override;

private:
    std::function<qint64()> m_clock;
    qint64 m_startedAt = 0;
    qint64 m_total = 0;
    qint64 m_heardAtStop = 0;
    bool m_running = false;
};

// A monotonic clock in milliseconds.
qint64 steadyMilliseconds();

} // namespace cd
