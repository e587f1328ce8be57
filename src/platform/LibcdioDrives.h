#pragma once
// The machine's CD drives through libcdio. Drive letter A is the first device libcdio
// lists, B the second ...; names that lead to one device ("/dev/cdrom" linking to
// "/dev/sr0") count once, in a stable order. Audio sectors are read with libcdio-paranoia
// where it was found at build time (it corrects jitter and re-reads bad sectors), else
// with plain audio reads.
#include "platform/CdDrives.h"

#include <QStringList>

namespace cd {

// The device paths of the CD drives, each once, in order.
QStringList listCdDevices();
// The same ordering rule applied to names already resolved (tests): duplicates dropped,
// "/dev/sr2" before "/dev/sr10".
QStringList orderDevices(const QStringList& resolvedPaths);

#ifdef VELTRA_HAVE_CDIO
class LibcdioDrives : public Drives {
public:
    LibcdioDrives();
    ~LibcdioDrives() override;

    void rescan() override;
    int count() override { return int(m_paths.size()); }
    QString name(int drive) override { return m_paths.value(drive); }
    bool readable(int drive) override;
    DriveStatus status(int drive) override;
    bool readToc(int drive, Toc* toc) override;
    bool openDoor(int drive) override;
    SectorReaderFactory readerFactory(int drive) override;

private:
    void closeStatusHandles();
    QStringList m_paths;
    QList<int> m_statusFds;   // kept open for the frequent status questions; -1 until needed
};
#endif

// The machine's drives: libcdio's, or none when the program was built without it.
std::shared_ptr<Drives> systemDrives();

} // namespace cd
