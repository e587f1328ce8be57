// The list and settings readers on their fuzz targets' seed corpus: the malformed files
// that once reached each branch.
#include "../../fuzz/FileTargets.h"

#include "support/FuzzCorpus.h"
#include "support/TestEnv.h"

#include <QFile>

namespace {

class FileFuzzCorpus : public VeltraTest {
protected:
    void TearDown() override
    {
        QFile::remove(fuzz::scratchFile("list.spp"));
        QFile::remove(fuzz::scratchFile("settings.ini"));
        VeltraTest::TearDown();
    }
};

TEST_F(FileFuzzCorpus, ListFileReader) { replayFuzzCorpus("listfile", fuzz::listFile); }
TEST_F(FileFuzzCorpus, SettingsFileReader) { replayFuzzCorpus("settings", fuzz::settingsFile); }

} // namespace
