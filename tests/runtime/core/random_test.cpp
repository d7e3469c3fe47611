#include "runtime/core/random.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <vector>

namespace {

std::vector<int32_t> Draw(int32_t seed, int32_t max, int count)
{
    QV_RandomSeed(seed);
    std::vector<int32_t> values;
    for (int i = 0; i < count; ++i) {
        values.push_back(QV_Random(max));
    }
    return values;
}

TEST(Random, KnownSeedsGiveTheReferenceSequences)
{
    EXPECT_EQ(Draw(12345, 99, 3), (std::vector<int32_t>{27, 71, 66}));
    EXPECT_EQ(Draw(0, 1000, 3), (std::vector<int32_t>{545, 784, 661}));
}

TEST(Random, ReseedingRestartsTheSequence)
{
    const std::vector<int32_t> first = Draw(-7, 1000000, 50);
    QV_Random(5);
    EXPECT_EQ(Draw(-7, 1000000, 50), first);
    EXPECT_NE(Draw(-6, 1000000, 50), first);
}

TEST(Random, SeedingStartsTheLagsAtPairsZeroAndTenThenStepsThirtyOneTimes)
{
    QV_RandomSeed(1);
    // 31 steps move both lags back 31 pairs, 14 pairs forward modulo 17.
    EXPECT_EQ(QV_Misc.random.index1, 3u);
    EXPECT_EQ(QV_Misc.random.index2, 13u);
}

// Every call takes one step, whatever the range, so the sequence stays in
// step with a reference run that asks for other ranges.
TEST(Random, EveryCallAdvancesTheGenerator)
{
    const std::vector<int32_t> reference = Draw(99, 1000, 4);
    QV_RandomSeed(99);
    EXPECT_EQ(QV_Random(0), 0);
    EXPECT_EQ(QV_Random(-1), -2147483648);
    EXPECT_EQ(QV_Random(1000), reference[2]);
    EXPECT_EQ(QV_Random(1000), reference[3]);
}

TEST(Random, ResultsStayInRangeAndReachBothEnds)
{
    QV_RandomSeed(2024);
    int counts[2] = {0, 0};
    bool sawZero = false;
    bool sawMax = false;
    for (int i = 0; i < 20000; ++i) {
        ++counts[QV_Random(1)];
        const int32_t value = QV_Random(9);
        ASSERT_GE(value, 0);
        ASSERT_LE(value, 9);
        sawZero |= value == 0;
        sawMax |= value == 9;
    }
    EXPECT_TRUE(sawZero);
    EXPECT_TRUE(sawMax);
    EXPECT_NEAR(counts[0], 10000, 400);
}

TEST(Random, LargestRangeUsesTheWholeNonNegativeSpan)
{
    QV_RandomSeed(5);
    bool sawUpperHalf = false;
    for (int i = 0; i < 64; ++i) {
        const int32_t value = QV_Random(2147483647);
        ASSERT_GE(value, 0);
        sawUpperHalf |= value >= 1073741824;
    }
    EXPECT_TRUE(sawUpperHalf);
}

TEST(Random, InitMiscSeedsFromTheMicrosecondsOfTheClock)
{
    QV_InitMisc();
    const timeval seededAt = QV_Misc.time;
    EXPECT_GT(seededAt.tv_sec, 0);
    const int32_t afterInit = QV_Random(1000000);
    EXPECT_EQ(Draw(static_cast<int32_t>(seededAt.tv_usec), 1000000, 1).front(), afterInit);
}

TEST(Delay, SleepsTheRequestedTimeAndRefusesNegativeTimes)
{
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    EXPECT_EQ(QV_Delay(1500), 0);
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(1500));

    EXPECT_EQ(QV_Delay(0), 0);
    EXPECT_EQ(QV_Delay(-5), -1);
}

}  // namespace
