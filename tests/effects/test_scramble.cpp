// The scramble sequence. Expected values were worked out by hand from the
// definition: s1 = (signed low 32 bits of seed * 950706376) rem (2^31 - 1),
// read as unsigned; s(k+1) = (s(k) * 950706376 mod 2^32) mod (2^31 - 1).
#include <climits>

#include <gtest/gtest.h>

#include "effects.h"

TEST(Scramble, SeedOneStartsWithTheMultiplier) {
    uint32_t s1 = ScrambleFirst(1);
    EXPECT_EQ(s1, 950706376u);
    uint32_t s2 = ScrambleNext(s1);
    EXPECT_EQ(s2, 1855626304u);
    EXPECT_EQ(ScrambleNext(s2), 1290932737u);
}

TEST(Scramble, NegativeProductGivesANegativeRemainderReadAsUnsigned) {
    // -1 * 950706376 stays negative: -950706376 + 2^32.
    EXPECT_EQ(ScrambleFirst(-1), 3344260920u);
    EXPECT_EQ(ScrambleNext(3344260920u), 291857345u);
    EXPECT_EQ(ScrambleNext(291857345u), 1807257288u);
    // 3 * 950706376 wraps past 2^31 into a negative signed product.
    EXPECT_EQ(ScrambleFirst(3), 2852119128u);
    EXPECT_EQ(ScrambleNext(2852119128u), 1271911616u);
}

TEST(Scramble, SameSeedSameSequence) {
    EXPECT_EQ(ScrambleFirst(12345), 2619559048u);
    EXPECT_EQ(ScrambleFirst(12345), ScrambleFirst(12345));
    EXPECT_EQ(ScrambleNext(2619559048u), 498649665u);
    EXPECT_EQ(ScrambleNext(498649665u), 1039180488u);
}

TEST(Scramble, ExtremeSeeds) {
    EXPECT_EQ(ScrambleFirst(0), 0u);
    EXPECT_EQ(ScrambleNext(0), 0u);
    EXPECT_EQ(ScrambleFirst(INT_MIN), 0u);          // product 0 in 32 bits
    EXPECT_EQ(ScrambleFirst(INT_MAX), 3344260920u); // same low bits as seed -1 times the multiplier
}
