#include "sim/random.h"

#include <gtest/gtest.h>

#include <climits>

// Catches a generator that is not the 214013/2531011 LCG taking bits 16..30.
TEST(RandomTest, FirstDrawsFromAKnownSeedFollowTheLcg) {
    SeedRandom(1);
    const int32_t expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358};
    for (int32_t value : expected) {
        EXPECT_EQ(RandomBelow(32768), value);
    }
    SeedRandom(0);
    EXPECT_EQ(RandomBelow(32768), 38);  // (2531011 >> 16) & 0x7FFF
}

// Catches a RandomBelow that skips the draw for degenerate n, which would shift every
// later draw of a year when a rule setting is 0.
TEST(RandomTest, ZeroAndOneYieldZeroButStillTakeADraw) {
    SeedRandom(1);
    EXPECT_EQ(RandomBelow(0), 0);
    EXPECT_EQ(RandomBelow(1), 0);
    EXPECT_EQ(RandomBelow(32768), 6334);
}

// Catches 32-bit overflow in n * r and rounding instead of truncation toward zero.
TEST(RandomTest, RangeHoldsForNegativeLargeAndExtremeN) {
    SeedRandom(12345);
    for (int i = 0; i < 20000; ++i) {
        const int32_t neg = RandomBelow(-3);
        EXPECT_GE(neg, -2);
        EXPECT_LE(neg, 0);
        const int32_t big = RandomBelow(100000);
        EXPECT_GE(big, 0);
        EXPECT_LT(big, 100000);
        const int32_t max = RandomBelow(INT32_MAX);
        EXPECT_GE(max, 0);
        EXPECT_LT(max, INT32_MAX);
        const int32_t min = RandomBelow(INT32_MIN);
        EXPECT_LE(min, 0);
        EXPECT_GT(min, INT32_MIN);
    }
    // r = 41: -3 * 41 / 32768 truncates to 0, not -1.
    SeedRandom(1);
    EXPECT_EQ(RandomBelow(-3), 0);
    // r = 18467: -55401 / 32768 = -1.69 truncates to -1.
    EXPECT_EQ(RandomBelow(-3), -1);
}

// Catches a biased coin (the tie of two clans at a birth depends on it).
TEST(RandomTest, SmallRangesAreCoveredEvenly) {
    SeedRandom(7);
    int counts2[2] = {};
    int counts3[3] = {};
    for (int i = 0; i < 30000; ++i) {
        ++counts2[RandomBelow(2)];
        ++counts3[RandomBelow(3)];
    }
    EXPECT_NEAR(counts2[0], 15000, 600);
    for (int c : counts3) {
        EXPECT_NEAR(c, 10000, 500);
    }
}
