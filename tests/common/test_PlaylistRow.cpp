#include "common/ListViewModel.h"
#include "common/PlaylistRow.h"

#include <gtest/gtest.h>

TEST(PlaylistRow, StatusTextsRoundTripAndOnlyExactTextsAreKnown)
{
    const std::pair<RowStatus, const char*> known[] = {
        {RowStatus::Play, "Play"},         {RowStatus::PlayOnce, "Play Once"}, {RowStatus::Skip, "Skip"},
        {RowStatus::SkipOnce, "Skip Once"}, {RowStatus::Remove, "Remove"},
    };
    for (const auto& [status, text] : known) {
        EXPECT_EQ(rowStatusText(status), QString::fromLatin1(text));
        EXPECT_EQ(rowStatusFromText(QString::fromLatin1(text)), status) << text;
    }
    for (const char* other : {"skip", "Skip ", "", "Play once", "Delete"}) EXPECT_EQ(rowStatusFromText(QString::fromLatin1(other)), RowStatus::Other) << other;
    EXPECT_TRUE(rowStatusText(RowStatus::Other).isEmpty());
}

TEST(PlaylistRow, ColumnsAreTheSubItemNumbersOfARow)
{
    ListViewModel list;
    list.setColumns(PlaylistColumn::headers());
    ASSERT_EQ(list.columnCount(), PlaylistColumn::Count);
    EXPECT_EQ(list.columnHeader(PlaylistColumn::Number), QStringLiteral("No."));
    EXPECT_EQ(list.columnHeader(PlaylistColumn::Status), QStringLiteral("Status:"));
    EXPECT_EQ(list.columnHeader(PlaylistColumn::Filename), QStringLiteral("Filename:"));
    list.add({"1", "A", "T", "1999", "Skip Once", "03:00", "/m/a.mp3"});
    EXPECT_EQ(playlist_RowStatus(list, 1), RowStatus::SkipOnce);
    playlist_SetRowStatus(list, 1, RowStatus::PlayOnce);
    EXPECT_EQ(list.subItem(1, 4), QStringLiteral("Play Once"));   // stored as its text, in sub-item 4
    EXPECT_EQ(list.subItem(1, PlaylistColumn::Filename), QStringLiteral("/m/a.mp3"));
}
