#include "common/modMath.h"

#include <QList>
#include <QSet>
#include <gtest/gtest.h>

namespace {

class RandomTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        math::seed(12345);
        math_ResetRandomHistory(0);
    }
};

TEST_F(RandomTest, UniqueDrawsAreDistinctUntilTheHistoryFillsThenItEmpties)
{
    const int size = 20;
    QSet<int> seen;
    for (int i = 1; i <= size; ++i) {
        const int n = math_GetRandomNumber(30, 0, true, size);
        EXPECT_GE(n, 1);
        EXPECT_LE(n, 30);
        EXPECT_FALSE(seen.contains(n)) << "call " << i;
        seen.insert(n);
        if (i < size) {
            EXPECT_EQ(math::history().size(), i);
        }
    }
    EXPECT_TRUE(math::history().isEmpty());   // the call that filled the last slot emptied it
    math_GetRandomNumber(30, 0, true, size);
    EXPECT_EQ(math::history().size(), 1);
}

TEST_F(RandomTest, AHistoryAsLargeAsTheRangeGivesEveryNumberOnce)
{
    QList<int> got;
    for (int i = 0; i < 10; ++i) got.append(math_GetRandomNumber(10, 0, true, 10));
    std::sort(got.begin(), got.end());
    EXPECT_EQ(got, (QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
}

TEST_F(RandomTest, AHistoryLargerThanTheRangeStillAlwaysReturns)
{
    QSet<int> first;
    for (int i = 0; i < 3; ++i) first.insert(math_GetRandomNumber(3, 0, true, 5));
    EXPECT_EQ(first, (QSet<int>{1, 2, 3}));
    for (int i = 0; i < 50; ++i) {
        const int n = math_GetRandomNumber(3, 0, true, 5);
        EXPECT_GE(n, 1);
        EXPECT_LE(n, 3);
    }
}

TEST_F(RandomTest, EmptyAndSingleValueRanges)
{
    for (int i = 0; i < 20; ++i) EXPECT_EQ(math_GetRandomNumber(1, 0, false, 0), 1);
    EXPECT_EQ(math_GetRandomNumber(1, 0, true, 5), 1);
    EXPECT_EQ(math_GetRandomNumber(1, 0, true, 5), 1);   // the only number, again
    EXPECT_EQ(math_GetRandomNumber(0, 0, false, 0), 0);
    EXPECT_EQ(math_GetRandomNumber(3, 5, true, 4), 3);
}

TEST_F(RandomTest, WithoutUniqueNumbersRepeatAndTheHistoryIsUntouched)
{
    math_GetRandomNumber(100, 0, true, 10);
    const QList<int> before = math::history();
    QList<int> got;
    for (int i = 0; i < 40; ++i) got.append(math_GetRandomNumber(3, 0, false, 10));
    EXPECT_LT(QSet<int>(got.begin(), got.end()).size(), got.size());
    EXPECT_EQ(QSet<int>(got.begin(), got.end()), (QSet<int>{1, 2, 3}));
    EXPECT_EQ(math::history(), before);
}

TEST_F(RandomTest, ResizingKeepsWhatTheHistoryHolds)
{
    math_GetRandomNumber(1000, 0, true, 10);
    math_GetRandomNumber(1000, 0, true, 10);
    const QList<int> two = math::history();
    math_GetRandomNumber(1000, 0, true, 20);
    EXPECT_EQ(math::history().mid(0, 2), two);
    EXPECT_EQ(math::history().size(), 3);
    math_ResetRandomHistory(20);
    EXPECT_TRUE(math::history().isEmpty());
}

TEST_F(RandomTest, TheFloorIsNeverReached)
{
    for (int i = 0; i < 200; ++i) {
        const int n = math_GetRandomNumber(12, 10, false, 0);
        EXPECT_TRUE(n == 11 || n == 12) << n;
    }
}

} // namespace
