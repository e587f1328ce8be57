// A mood's file is found whatever the letter case of its name on disk, the exact name first.
#include "common/modMoodFiles.h"
#include "support/TestEnv.h"

#include <QDir>

namespace {

class MoodFilesTest : public VeltraTest {};

TEST_F(MoodFilesTest, ExactNameFirstThenAnyCaseElseTheExactName)
{
    struct Case {
        QStringList files;   // under Moods/
        QString name;
        QString expected;    // relative; empty: no path at all
    };
    const Case cases[] = {
        {{"rainy day.mlst"}, "Rainy Day", "Moods/rainy day.mlst"},
        {{"rainy day.mlst", "Rainy Day.mlst"}, "Rainy Day", "Moods/Rainy Day.mlst"},
        {{"RAINY DAY.MLST"}, "Rainy Day", "Moods/RAINY DAY.MLST"},
        {{"Happy.mlst"}, "Rainy Day", "Moods/Rainy Day.mlst"},   // where a first song would go
        {{}, "Happy", "Moods/Happy.mlst"},                         // no Moods folder yet
        {{}, "../settings", ""},                                   // never outside the folder
    };
    for (const Case& c : cases) {
        QDir(home("Moods")).removeRecursively();
        for (const QString& f : c.files) writeFile("Moods/" + f, "x\r\n");
        EXPECT_EQ(moods_FilePath(c.name), c.expected.isEmpty() ? QString() : home(c.expected)) << c.name.toStdString();
    }
}

} // namespace
