#include "platform/LibcdioDrives.h"

#include "platform/SimulatedCdDrives.h"

#include <QFileInfo>
#include <QtEndian>

#include <algorithm>
#include <cstring>

#ifdef VELTRA_HAVE_CDIO
#include <cdio/cdio.h>
#include <cdio/logging.h>
#ifdef VELTRA_HAVE_CDIO_PARANOIA
#include <cdio/paranoia/cdda.h>
#include <cdio/paranoia/paranoia.h>
#endif
#include <fcntl.h>
#include <linux/cdrom.h>
#include <sys/ioctl.h>
#include <unistd.h>
#endif

namespace cd {

namespace {
// Runs of digits compare as numbers: "sr2" before "sr10".
bool naturalLess(const QString& a, const QString& b)
{
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            const qsizetype si = i, sj = j;
            while (i < a.size() && a[i].isDigit()) ++i;
            while (j < b.size() && b[j].isDigit()) ++j;
            const QString x = a.mid(si, i - si), y = b.mid(sj, j - sj);
            const qulonglong nx = x.toULongLong(), ny = y.toULongLong();
            if (nx != ny) return nx < ny;
            continue;
        }
        if (a[i] != b[j]) return a[i] < b[j];
        ++i;
        ++j;
    }
    return a.size() - i < b.size() - j;
}
} // namespace

QStringList orderDevices(const QStringList& resolvedPaths)
{
    QStringList paths;
    for (const QString& p : resolvedPaths)
        if (!p.isEmpty() && !paths.contains(p)) paths.append(p);
    std::stable_sort(paths.begin(), paths.end(), naturalLess);
    return paths;
}

#ifdef VELTRA_HAVE_CDIO

namespace {
// libcdio's own messages would go to stderr; the device reports through its results.
void quietLog(cdio_log_level_t, const char*) {}

class PlainReader : public SectorReader {
public:
    explicit PlainReader(const QByteArray& path) : m_cdio(cdio_open(path.constData(), DRIVER_DEVICE)) {}
    ~PlainReader() override
    {
        if (m_cdio) cdio_destroy(m_cdio);
    }
    bool read(int sector, char* out) override
    {
        // Audio sectors come as the disc holds them: little-endian.
        return m_cdio && cdio_read_audio_sectors(m_cdio, out, sector, 1) == DRIVER_OP_SUCCESS;
    }

private:
    CdIo_t* m_cdio;
};

#ifdef VELTRA_HAVE_CDIO_PARANOIA
class ParanoiaReader : public SectorReader {
public:
    explicit ParanoiaReader(const QByteArray& path)
    {
        m_drive = cdio_cddap_identify(path.constData(), CDDA_MESSAGE_FORGETIT, nullptr);
        if (!m_drive) return;
        if (cdio_cddap_open(m_drive) != 0) return;
        m_paranoia = cdio_paranoia_init(m_drive);
        // Full correction, but a sector that cannot be recovered is skipped rather than
        // retried for ever: playback must go on.
        if (m_paranoia) cdio_paranoia_modeset(m_paranoia, PARANOIA_MODE_FULL ^ PARANOIA_MODE_NEVERSKIP);
    }
    ~ParanoiaReader() override
    {
        if (m_paranoia) cdio_paranoia_free(m_paranoia);
        if (m_drive) cdio_cddap_close(m_drive);
    }
    bool read(int sector, char* out) override
    {
        if (!m_paranoia) return false;
        if (sector != m_next) cdio_paranoia_seek(m_paranoia, sector, SEEK_SET);
        const int16_t* samples = cdio_paranoia_read(m_paranoia, nullptr);
        if (!samples) return false;
        m_next = sector + 1;
        // Paranoia gives samples in the machine's own byte order.
        for (int i = 0; i < BytesPerSector / 2; ++i) qToLittleEndian(qint16(samples[i]), out + 2 * i);
        return true;
    }

private:
    cdrom_drive_t* m_drive = nullptr;
    cdrom_paranoia_t* m_paranoia = nullptr;
    int m_next = -1;
};
#endif
} // namespace

QStringList listCdDevices()
{
    static const bool quiet = (cdio_log_set_handler(&quietLog), true);
    Q_UNUSED(quiet);
    QStringList resolved;
    char** devices = cdio_get_devices(DRIVER_DEVICE);
    if (devices) {
        for (char** d = devices; *d; ++d) resolved.append(QFileInfo(QString::fromLocal8Bit(*d)).canonicalFilePath());
        cdio_free_device_list(devices);
    }
    return orderDevices(resolved);
}

LibcdioDrives::LibcdioDrives() { rescan(); }

LibcdioDrives::~LibcdioDrives() { closeStatusHandles(); }

void LibcdioDrives::closeStatusHandles()
{
    for (int fd : m_statusFds)
        if (fd >= 0) ::close(fd);
    m_statusFds.clear();
}

void LibcdioDrives::rescan()
{
    const QStringList paths = listCdDevices();
    if (paths == m_paths) return;
    closeStatusHandles();
    m_paths = paths;
    m_statusFds = QList<int>(m_paths.size(), -1);
}

bool LibcdioDrives::readable(int drive)
{
    if (drive < 0 || drive >= m_paths.size()) return false;
    return ::access(QFileInfo(m_paths[drive]).absoluteFilePath().toLocal8Bit().constData(), R_OK) == 0;
}

DriveStatus LibcdioDrives::status(int drive)
{
    if (drive < 0 || drive >= m_paths.size()) return DriveStatus::NotReady;
    int& fd = m_statusFds[drive];
    // Non-blocking: the question never waits for a disc to spin up.
    if (fd < 0) fd = ::open(m_paths[drive].toLocal8Bit().constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return DriveStatus::NotReady;
    switch (::ioctl(fd, CDROM_DRIVE_STATUS, CDSL_CURRENT)) {
    case CDS_DISC_OK: return DriveStatus::DiscReady;
    case CDS_TRAY_OPEN: return DriveStatus::DoorOpen;
    case CDS_NO_DISC: return DriveStatus::NoDisc;
    case CDS_DRIVE_NOT_READY: return DriveStatus::NotReady;
    default: break;
    }
    // A drive that cannot say: a disc is there when its table of contents can be read, asked
    // on the handle already open rather than by opening the drive again.
    cdrom_tochdr header {};
    return ::ioctl(fd, CDROMREADTOCHDR, &header) == 0 ? DriveStatus::DiscReady : DriveStatus::NoDisc;
}

bool LibcdioDrives::readToc(int drive, Toc* toc)
{
    if (drive < 0 || drive >= m_paths.size()) return false;
    CdIo_t* p = cdio_open(m_paths[drive].toLocal8Bit().constData(), DRIVER_DEVICE);
    if (!p) return false;
    const track_t first = cdio_get_first_track_num(p);
    const track_t tracks = cdio_get_num_tracks(p);
    bool ok = first != CDIO_INVALID_TRACK && tracks != CDIO_INVALID_TRACK && tracks > 0;
    DiscLayout layout;
    if (ok) {
        layout.leadOut = cdio_get_track_lsn(p, CDIO_CDROM_LEADOUT_TRACK);
        ok = layout.leadOut != CDIO_INVALID_LSN;
        for (track_t t = first; ok && t < first + tracks; ++t) {
            const lsn_t start = cdio_get_track_lsn(p, t);
            ok = start != CDIO_INVALID_LSN;
            layout.starts.append(int(start));
            layout.audio.append(cdio_get_track_format(p, t) == TRACK_FORMAT_AUDIO);
        }
        // Where the last session begins tells where an enhanced CD's audio session ends.
        lsn_t lastSession = 0;
        if (ok && cdio_get_last_session(p, &lastSession) == DRIVER_OP_SUCCESS && lastSession > 0) layout.lastSession = int(lastSession);
    }
    cdio_destroy(p);
    return ok && tocFromLayout(layout, toc);
}

bool LibcdioDrives::openDoor(int drive)
{
    if (drive < 0 || drive >= m_paths.size()) return false;
    // The status handle would keep some drives from ejecting.
    if (m_statusFds[drive] >= 0) {
        ::close(m_statusFds[drive]);
        m_statusFds[drive] = -1;
    }
    return cdio_eject_media_drive(m_paths[drive].toLocal8Bit().constData()) == DRIVER_OP_SUCCESS;
}

SectorReaderFactory LibcdioDrives::readerFactory(int drive)
{
    const QByteArray path = m_paths.value(drive).toLocal8Bit();
    return [path]() -> std::unique_ptr<SectorReader> {
#ifdef VELTRA_HAVE_CDIO_PARANOIA
        return std::make_unique<ParanoiaReader>(path);
#else
        return std::make_unique<PlainReader>(path);
#endif
    };
}

std::shared_ptr<Drives> systemDrives() { return std::make_shared<LibcdioDrives>(); }

#else

QStringList listCdDevices() { return {}; }

std::shared_ptr<Drives> systemDrives() { return std::make_shared<SimulatedCdDrives>(); }

#endif

} // namespace cd
