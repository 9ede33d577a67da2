// Rasterize's pixel operations on small buffers, against values worked out by
// hand from their definitions.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <vector>

#include "pixel_ops.h"

namespace {

// A pixel whose four channels are given separately.
uint32_t Argb(int a, int r, int g, int b) {
    return (uint32_t)a << 24 | (uint32_t)r << 16 | (uint32_t)g << 8 | (uint32_t)b;
}

std::vector<uint32_t> BlueRow(std::initializer_list<int> values) {
    std::vector<uint32_t> row;
    for (int v : values)
        row.push_back((uint32_t)v);
    return row;
}

} // namespace

TEST(PixelOps, ToGreyWeightsRedGreenBlueAndMakesOpaque) {
    std::vector<uint32_t> b = {Argb(0, 255, 0, 0), Argb(0, 0, 255, 0), Argb(0, 0, 0, 255),
                               Argb(0, 255, 255, 255), Argb(0x12, 10, 20, 30)};
    ToGrey(b.data(), 5, 1);
    EXPECT_EQ(b[0], 0xFF4B4B4Bu); // 76 * 255 / 256 = 75
    EXPECT_EQ(b[1], 0xFF969696u); // 151 * 255 / 256 = 150
    EXPECT_EQ(b[2], 0xFF1B1B1Bu); // 28 * 255 / 256 = 27
    EXPECT_EQ(b[3], 0xFFFEFEFEu); // white comes out as 254
    EXPECT_EQ(b[4], 0xFF121212u); // (760 + 3020 + 840) / 256 = 18
}

TEST(PixelOps, ThresholdKeepsOnlyGreyAboveTheLevelAsOpaqueBlack) {
    std::vector<uint32_t> b = {0xFF646464u, 0xFF636363u, 0xFF656565u, 0xFFFFFFFFu};
    ThresholdShape(b.data(), 4, 100);
    EXPECT_EQ(b[0], 0u); // equal is not above
    EXPECT_EQ(b[1], 0u);
    EXPECT_EQ(b[2], 0xFF000000u);
    EXPECT_EQ(b[3], 0xFF000000u);
}

TEST(PixelOps, ThresholdComparesUnsignedSoNegativeAndMaxKeepNothing) {
    std::vector<uint32_t> b = {0xFFFFFFFFu, 0xFF000000u};
    ThresholdShape(b.data(), 2, -1);
    EXPECT_EQ(b[0], 0u);
    EXPECT_EQ(b[1], 0u);
    b = {0xFFFFFFFFu};
    ThresholdShape(b.data(), 1, 255);
    EXPECT_EQ(b[0], 0u);
}

TEST(PixelOps, BoxBlurRowsRadiusOneRepeatsEdges) {
    std::vector<uint32_t> b = BlueRow({0, 10, 20, 30, 40});
    BoxBlurRows(b.data(), 5, 1, 1);
    // Sums 0+0+10, 0+10+20, 10+20+30, 20+30+40, 30+40+40; (2 sum + 1) / 6.
    EXPECT_EQ(b, BlueRow({3, 10, 20, 30, 36}));
}

TEST(PixelOps, BoxBlurRowsRadiusWiderThanTheRow) {
    std::vector<uint32_t> b = BlueRow({0, 30, 60});
    BoxBlurRows(b.data(), 3, 1, 2);
    // Sums 0+0+0+30+60, 0+0+30+60+60, 0+30+60+60+60; (2 sum + 1) / 10.
    EXPECT_EQ(b, BlueRow({18, 30, 42}));
}

TEST(PixelOps, BoxBlurKeepsTheFourChannelsApart) {
    std::vector<uint32_t> b = {Argb(255, 0, 90, 3), Argb(0, 255, 0, 0)};
    BoxBlurRows(b.data(), 2, 1, 1);
    // x = 0 averages p0, p0, p1; x = 1 averages p0, p1, p1.
    EXPECT_EQ(b[0], Argb(170, 85, 60, 2));
    EXPECT_EQ(b[1], Argb(85, 170, 30, 1));
}

TEST(PixelOps, BoxBlurColumnsMatchesRowsOnTheTransposedImage) {
    // A 2 x 5 image whose columns are 0..40 and 40..0.
    std::vector<uint32_t> b = {0, 40, 10, 30, 20, 20, 30, 10, 40, 0};
    BoxBlurColumns(b.data(), 2, 5, 1);
    EXPECT_EQ(b, BlueRow({3, 36, 10, 30, 20, 20, 30, 10, 36, 3}));
}

TEST(PixelOps, BoxBlurRowsEachRowOnItsOwn) {
    std::vector<uint32_t> b = {0, 30, 60, 60, 60, 60};
    BoxBlurRows(b.data(), 3, 2, 2);
    EXPECT_EQ(b, BlueRow({18, 30, 42, 60, 60, 60}));
}

TEST(PixelOps, BoxBlurOfOnePixelWideImageReturnsItUnchanged) {
    std::vector<uint32_t> b = {Argb(1, 2, 3, 4), Argb(200, 100, 50, 25), Argb(255, 255, 255, 255)};
    std::vector<uint32_t> original = b;
    BoxBlurRows(b.data(), 1, 3, 7);
    EXPECT_EQ(b, original);
    std::vector<uint32_t> column = {Argb(9, 8, 7, 6)};
    BoxBlurColumns(column.data(), 1, 1, 3);
    EXPECT_EQ(column[0], Argb(9, 8, 7, 6));
}

TEST(PixelOps, BoxBlurRadiusZeroOrNegativeLeavesTheBufferAlone) {
    std::vector<uint32_t> b = BlueRow({0, 100, 0, 255});
    std::vector<uint32_t> original = b;
    BoxBlurRows(b.data(), 4, 1, 0);
    BoxBlurColumns(b.data(), 2, 2, 0);
    BoxBlurRows(b.data(), 4, 1, -3);
    BoxBlurColumns(b.data(), 2, 2, INT_MIN);
    EXPECT_EQ(b, original);
}

TEST(PixelOps, BoxBlurHugeRadiusIsBoundedWorkAndExact) {
    // With a radius of 2^31 - 1 every position weighs both edges almost equally:
    // (510 r - 509) / (4 r + 2), 510 r / (4 r + 2) and (510 r + 510) / (4 r + 2) are all 127.
    std::vector<uint32_t> b = BlueRow({0, 0, 255});
    BoxBlurRows(b.data(), 3, 1, INT_MAX);
    EXPECT_EQ(b, BlueRow({127, 127, 127}));
    b = BlueRow({0, 0, 255});
    BoxBlurColumns(b.data(), 1, 3, INT_MAX);
    EXPECT_EQ(b, BlueRow({127, 127, 127}));
}

TEST(PixelOps, ScaleContrastOfTheGlowKeepsOnlyLevelsAbove204) {
    std::vector<uint32_t> b = {Argb(255, 205, 204, 0), Argb(206, 230, 128, 254)};
    ScaleContrast(b.data(), 256, 1280, 2);
    EXPECT_EQ(b[0], Argb(251, 1, 0, 0));
    // 206 -> -250 + 256 = 6; 230 -> -130 + 256 = 126; 254 -> -10 + 256 = 246.
    EXPECT_EQ(b[1], Argb(6, 126, 0, 246));
}

TEST(PixelOps, ScaleContrastShiftsNegativeProductsDownwards) {
    std::vector<uint32_t> b = {Argb(127, 100, 200, 128)};
    ScaleContrast(b.data(), 128, 300, 1);
    // (127 - 128) * 300 = -300, shifted right 8 is -2 (not -1); 100 -> -33 + 128;
    // 200 -> 84 + 128; 128 stays.
    EXPECT_EQ(b[0], Argb(126, 95, 212, 128));
}

TEST(PixelOps, ScaleContrastExtremeParametersClampWithoutOverflow) {
    std::vector<uint32_t> b = {Argb(0, 1, 254, 255)};
    ScaleContrast(b.data(), INT_MIN, INT_MAX, 1);
    EXPECT_EQ(b[0], Argb(255, 255, 255, 255));
    b = {Argb(0, 1, 254, 255)};
    ScaleContrast(b.data(), 0, INT_MIN, 1);
    EXPECT_EQ(b[0], Argb(0, 0, 0, 0));
}

TEST(PixelOps, MaxChannelsTakesEachByteOnItsOwn) {
    EXPECT_EQ(MaxChannels(0x10FF2030u, 0x2000FF30u), 0x20FFFF30u);
    EXPECT_EQ(MaxChannels(0u, 0xFFFFFFFFu), 0xFFFFFFFFu);
    EXPECT_EQ(MaxChannels(0x01020304u, 0x04030201u), 0x04030304u);
}

TEST(PixelOps, JitterColourSubtractsTheCentreAndAddsOneNoise) {
    srand(7);
    int noise = rand() % 50;
    int after = rand();
    srand(7);
    uint32_t c = JitterColour(Argb(128, 255, 0, 64), 128, 320, 50);
    // alpha 128 -> 0; red 127 * 320 >> 8 = 158; green -160 and blue -80 clamp to 0.
    EXPECT_EQ(c, Argb(noise, 158 + noise, 0, 0));
    EXPECT_EQ(rand(), after) << "exactly one rand() call";
}

TEST(PixelOps, ComputeShapeWithThreshold255IsEmpty) {
    std::vector<uint32_t> pixels(6 * 4, 0xFFFFFFFFu);
    std::vector<uint32_t> mask, glow;
    ComputeShape(pixels.data(), 6, 4, ShapeParams{255, 2, 128, 512, 3, 0, 0}, mask, glow);
    ASSERT_EQ(mask.size(), 24u);
    ASSERT_EQ(glow.size(), 24u);
    for (size_t i = 0; i < 24; i++) {
        EXPECT_EQ(mask[i], 0u) << i;
        EXPECT_EQ(glow[i], 0u) << i;
    }
}

TEST(PixelOps, ComputeShapeMaskAndGlowOfAStripe) {
    // White, black, white, black in one row; no blur, contrast that keeps levels.
    std::vector<uint32_t> pixels = {0xFFFFFFFFu, 0xFF000000u, 0xFFFFFFFFu, 0xFF000000u};
    std::vector<uint32_t> mask, glow;
    ComputeShape(pixels.data(), 4, 1, ShapeParams{128, 0, 128, 256, 0, 0, 0}, mask, glow);
    EXPECT_EQ(mask, (std::vector<uint32_t>{0xFF000000u, 0, 0xFF000000u, 0}));
    // Glow: 255 -> 251 by the contrast, then a radius-5 blur of 251, 0, 251, 0:
    // (2 sum + 1) / 22 with sums 7, 6, 5 and 4 times 251 -> 159, 136, 114, 91.
    EXPECT_EQ(glow, (std::vector<uint32_t>{159u << 24, 136u << 24, 114u << 24, 91u << 24}));
}

TEST(PixelOps, ShapeParamsCompareAllSevenValues) {
    ShapeParams a{1, 2, 3, 4, 5, 6, 7};
    ShapeParams b = a;
    EXPECT_TRUE(a == b);
    b.extra2 = 8;
    EXPECT_TRUE(a != b);
    b = a;
    b.extra1 = 0;
    EXPECT_TRUE(a != b);
    b = a;
    b.maskGain = 0;
    EXPECT_TRUE(a != b);
}
