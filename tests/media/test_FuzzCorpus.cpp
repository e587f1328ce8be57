// Replays the fuzz targets' seed corpus through the readers, as the fuzz targets do, so
// every build checks the inputs that once reached each branch.
#include "../../fuzz/FuzzTargets.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

void replay(const char* target, void (*run)(const uint8_t*, size_t))
{
    const QDir folder(QStringLiteral(VELTRA_SOURCE_DIR "/fuzz/corpus/") + QLatin1String(target));
    const QStringList names = folder.entryList(QDir::Files);
    ASSERT_GE(names.size(), 5) << "seed corpus missing: " << folder.path().toStdString();
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        QFile f(folder.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        run(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()));
    }
}

TEST(FuzzCorpus, ID3v2Reader) { replay("id3v2", fuzz::id3v2); }
TEST(FuzzCorpus, ID3v1Reader) { replay("id3v1", fuzz::id3v1); }
TEST(FuzzCorpus, MpegHeaderReader) { replay("mpeg", fuzz::mpeg); }

} // namespace
