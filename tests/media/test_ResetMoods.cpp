// Resetting the moods: the question, and the song-list files deleted.
#include "media/modMedia.h"
#include "support/TestEnv.h"

#include <QFileInfo>

namespace {

class ResetMoodsTest : public VeltraTest {
protected:
    void SetUp() override
    {
        VeltraTest::SetUp();
        saved = MoodList;
    }
    void TearDown() override
    {
        MoodList = saved;
        VeltraTest::TearDown();
    }
    bool exists(const QString& relative) const { return QFileInfo::exists(home(relative)); }
    QString saved;
};

const QString kQuestion = QStringLiteral(
    "Once the moods have been reset, you will not be able to get them back again.\r\n\r\nDo you wish to continue?\r\n");

TEST_F(ResetMoodsTest, AnsweringNoDeletesNothing)
{
    MoodList = QStringLiteral("Happy|Sad");
    writeFile("Moods/Happy.mlst", "/music/a.mp3\r\n");
    writeFile("Moods/Sad.mlst", "/music/b.mp3\r\n");
    ui.msgAnswers.push_back(veltra::MsgResult::No);
    media_ResetMoods();
    ASSERT_EQ(ui.messages().size(), 1);
    const veltra::RecordedCall box = ui.messages().first();   // a copy: messages() returns a temporary list
    EXPECT_EQ(box.title, QStringLiteral("Reset Moods Confirmation"));
    EXPECT_EQ(box.text, kQuestion);
    EXPECT_EQ(box.icon, int(veltra::MsgIcon::Exclamation));
    EXPECT_EQ(box.buttons, int(veltra::MsgButtons::YesNo));
    EXPECT_TRUE(exists("Moods/Happy.mlst"));
    EXPECT_TRUE(exists("Moods/Sad.mlst"));
}

TEST_F(ResetMoodsTest, YesDeletesEveryMoodFileAndPassesOverMissingOnes)
{
    MoodList = QStringLiteral("Happy|Missing|Sad");
    writeFile("Moods/Happy.mlst", "x");
    writeFile("Moods/Sad.mlst", "y");
    writeFile("Moods/Other.mlst", "z"); // not a mood of the list
    ui.msgAnswers.push_back(veltra::MsgResult::Yes);
    media_ResetMoods();
    EXPECT_FALSE(exists("Moods/Happy.mlst"));
    EXPECT_FALSE(exists("Moods/Sad.mlst"));
    EXPECT_TRUE(exists("Moods/Other.mlst"));
    EXPECT_EQ(ui.messages().size(), 1); // no error box for the missing file
    EXPECT_EQ(MoodList, QStringLiteral("Happy|Missing|Sad"));
}

TEST_F(ResetMoodsTest, AnEmptyListDeletesNothing)
{
    MoodList.clear();
    writeFile("Moods/.mlst.keep", "x");
    writeFile("Moods/Happy.mlst", "x");
    ui.msgAnswers.push_back(veltra::MsgResult::Yes);
    media_ResetMoods();
    EXPECT_TRUE(exists("Moods/Happy.mlst"));
    EXPECT_EQ(ui.messages().size(), 1);
}

TEST_F(ResetMoodsTest, ANameNeverReachesOutsideTheMoodsFolder)
{
    MoodList = QStringLiteral("../settings|Happy");
    writeFile("settings.mlst", "x");
    writeFile("Moods/Happy.mlst", "x");
    ui.msgAnswers.push_back(veltra::MsgResult::Yes);
    media_ResetMoods();
    EXPECT_TRUE(exists("settings.mlst"));
    EXPECT_FALSE(exists("Moods/Happy.mlst"));
}

} // namespace
