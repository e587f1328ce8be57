// Replays the list and settings fuzz targets' seed corpus, as the fuzz targets do, so every
// build checks the malformed files that once reached each branch.
#include "../../fuzz/FileTargets.h"

#include "support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

class FileFuzzCorpus : public VeltraTest {
protected:
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
        QFile::remove(fuzz::scratchFile("list.spp"));
        QFile::remove(fuzz::scratchFile("settings.ini"));
    }
};

TEST_F(FileFuzzCorpus, ListFileReader) { replay("listfile", fuzz::listFile); }
TEST_F(FileFuzzCorpus, SettingsFileReader) { replay("settings", fuzz::settingsFile); }

} // namespace
