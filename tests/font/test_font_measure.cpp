// Measuring text: widths, characters that fit and the extrapolated capacity,
// worked out by hand from the advances FreeType reports.
#include <gtest/gtest.h>

#include <climits>

#include "font.h"
#include "font_reference.h"
#include "gl_context.h"

namespace {

class FontMeasure : public testing::Test {
  protected:
    GLContext ctx;
    Font font{FREESERIF_PATH, 14};

    // 26.6 advance of c, straight from FreeType.
    static int Adv(unsigned char c) { return (int)(LoadReferenceGlyph(FREESERIF_PATH, 14, c).advance >> 10); }
};

} // namespace

TEST_F(FontMeasure, TextWidthSumsAdvancesInWholePixels) {
    unsigned expected = (unsigned)(Adv('W') + Adv('a') + Adv('v') + Adv('e')) >> 6;
    EXPECT_EQ(font.textWidth("Wave", 0, -1), expected);
    EXPECT_GT(expected, 20u);
    EXPECT_EQ(font.textWidth("Wave", 1, -1), (unsigned)(Adv('a') + Adv('v') + Adv('e')) >> 6);
    EXPECT_EQ(font.textWidth("Wave", 1, 2), (unsigned)(Adv('a') + Adv('v')) >> 6);
}

TEST_F(FontMeasure, TextWidthWithNoCharactersIsZero) {
    EXPECT_EQ(font.textWidth("Wave", 0, 0), 0u);
    EXPECT_EQ(font.textWidth("", 0, -1), 0u);
    EXPECT_EQ(font.textWidth(nullptr, 0, -1), 0u);
    EXPECT_EQ(font.textWidth("Wave", 4, -1), 0u);
}

TEST_F(FontMeasure, TextWidthStartBeyondTheEndMeasuresNothing) {
    const char text[] = "ab\0cdefgh"; // the bytes after the NUL must not be read
    EXPECT_EQ(font.textWidth(text, 3, -1), 0u);
    EXPECT_EQ(font.textWidth(text, 1000, -1), 0u);
}

TEST_F(FontMeasure, TextWidthLimitLongerThanTextStopsAtTheNul) {
    EXPECT_EQ(font.textWidth("ab", 0, 50), font.textWidth("ab", 0, -1));
}

TEST_F(FontMeasure, TextWidthUsesTheUnsignedByteValue) {
    EXPECT_EQ(font.textWidth("\xE9\xFC", 0, -1), (unsigned)(Adv(0xE9) + Adv(0xFC)) >> 6);
}

TEST_F(FontMeasure, CharacterThatExactlyUsesUpTheWidthDoesNotFit) {
    int a = Adv('a');
    ASSERT_EQ(a % 64, 0) << "hinted advances are whole pixels";
    int w = a / 64;
    EXPECT_EQ(font.charsThatFit(w, "aaa", 0, -1), 0);
    EXPECT_EQ(font.charsThatFit(w + 1, "aaa", 0, -1), 1);
    EXPECT_EQ(font.charsThatFit(2 * w, "aaa", 0, -1), 1);
    EXPECT_EQ(font.charsThatFit(2 * w + 1, "aaa", 0, -1), 2);
    EXPECT_EQ(font.charsThatFit(1000, "aaa", 0, -1), 3);
}

TEST_F(FontMeasure, CharsThatFitHonoursStartAndLimit) {
    int w = (Adv('a') + Adv('b') + Adv('c')) / 64 + 1;
    EXPECT_EQ(font.charsThatFit(w, "xabcd", 1, -1), 3);
    EXPECT_EQ(font.charsThatFit(w, "xabcd", 1, 2), 2);
    EXPECT_EQ(font.charsThatFit(w, "xabcd", 1, 0), 0);
    EXPECT_EQ(font.charsThatFit(w, "xabcd", 9, -1), 0);
    EXPECT_EQ(font.charsThatFit(w, nullptr, 0, -1), 0);
}

TEST_F(FontMeasure, CharsThatFitInNoWidthIsZero) {
    EXPECT_EQ(font.charsThatFit(0, "abc", 0, -1), 0);
    EXPECT_EQ(font.charsThatFit(-20, "abc", 0, -1), 0);
}

TEST_F(FontMeasure, VisibleCapacityCountsWhileTheTextLasts) {
    int a = Adv('a');
    ASSERT_EQ(a % 64, 0);
    int w = a / 64;
    // The sum reaches the width on the third character: two are visible.
    EXPECT_EQ(font.visibleCapacity(3 * w, "aaaaaaaa", 0, -1), 2);
    EXPECT_EQ(font.visibleCapacity(3 * w + 1, "aaaaaaaa", 0, -1), 3);
}

TEST_F(FontMeasure, VisibleCapacityExtrapolatesPastAShortString) {
    unsigned sum = (unsigned)(Adv('a') + Adv('b'));
    unsigned average = sum / 2, limit = 200 * 64;
    int expected = 2;
    while (sum < limit)
        sum += average, ++expected;
    int capacity = font.visibleCapacity(200, "ab", 0, -1);
    EXPECT_EQ(capacity, expected);
    EXPECT_GT(capacity, 2);
}

TEST_F(FontMeasure, VisibleCapacityOfNothingUsesHalfThePixelSize) {
    // Fallback advance: 7 pixels, 448 in 26.6; 70 pixels hold 10 of them.
    EXPECT_EQ(font.fallbackAdvance(), 7 * 64);
    EXPECT_EQ(font.visibleCapacity(70, "", 0, -1), 10);
    EXPECT_EQ(font.visibleCapacity(71, "", 0, -1), 11);
    EXPECT_EQ(font.visibleCapacity(70, "ab", 2, -1), 10);
    EXPECT_EQ(font.visibleCapacity(70, "ab", 40, -1), 10);
    EXPECT_EQ(font.visibleCapacity(70, "ab", 0, 0), 10);
    EXPECT_EQ(font.visibleCapacity(70, nullptr, 0, -1), 10);
}

TEST_F(FontMeasure, VisibleCapacityOfNoWidthIsZero) {
    EXPECT_EQ(font.visibleCapacity(0, "abc", 0, -1), 0);
    EXPECT_EQ(font.visibleCapacity(0, "", 0, -1), 0);
    EXPECT_EQ(font.visibleCapacity(-5, "abc", 0, -1), 0);
}

TEST_F(FontMeasure, VisibleCapacityOfAHugeWidthIsComputedWithoutWalking) {
    long long sum = Adv('a'), limit = (long long)INT_MAX * 64;
    long long expected = 1 + (limit - sum + sum - 1) / sum;
    EXPECT_EQ(font.visibleCapacity(INT_MAX, "a", 0, -1), (int)expected);
    EXPECT_EQ(font.visibleCapacity(INT_MAX, "", 0, -1), (int)((limit + 447) / 448));
}
