// Rasterize's pixel operations on small buffers, against values worked out by
// hand from their definitions.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <random>
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

// [SECTION] The box blur as it was first written: plain running sums and a
// division per channel, kept as the reference the fast blur must equal.

long RefClampIndex(long long i, int n) {
    if (i <= 0) return 0;
    if (i >= n - 1) return n - 1;
    return (long)i;
}

template <typename Sum> struct RefLineSums {
    Sum s[4];
    void Clear() { s[0] = s[1] = s[2] = s[3] = 0; }
    void Add(uint32_t p, Sum times) {
        for (int c = 0; c < 4; c++)
            s[c] += (Sum)(p >> (8 * c) & 0xFF) * times;
    }
    void Slide(uint32_t in, uint32_t out) {
        for (int c = 0; c < 4; c++)
            s[c] += (Sum)(in >> (8 * c) & 0xFF) - (Sum)(out >> (8 * c) & 0xFF);
    }
    uint32_t Mean(Sum divisor) const {
        uint32_t r = 0;
        for (int c = 0; c < 4; c++)
            r |= (uint32_t)((2 * s[c] + 1) / divisor) << (8 * c);
        return r;
    }
};

template <typename Sum, typename At> void RefStartSums(RefLineSums<Sum>& sums, int n, int radius, At at) {
    sums.Clear();
    sums.Add(at(0), (Sum)radius + 1);
    long middleEnd = std::min<long long>(radius, (long long)n - 2);
    for (long i = 1; i <= middleEnd; i++)
        sums.Add(at(i), 1);
    long long lastFrom = std::max(1, n - 1);
    if (radius >= lastFrom) sums.Add(at(n - 1), (Sum)(radius - lastFrom + 1));
}

void RefBlurRows(uint32_t* buffer, int width, int height, int radius) {
    if (radius <= 0 || width <= 0 || height <= 0) return;
    std::vector<uint32_t> out((size_t)width);
    uint64_t divisor = 4 * (uint64_t)radius + 2;
    for (int y = 0; y < height; y++) {
        uint32_t* line = buffer + (size_t)y * width;
        RefLineSums<uint64_t> sums;
        RefStartSums(sums, width, radius, [line](long i) { return line[i]; });
        for (int x = 0; x < width; x++) {
            out[x] = sums.Mean(divisor);
            sums.Slide(line[RefClampIndex((long long)x + radius + 1, width)],
                       line[RefClampIndex((long long)x - radius, width)]);
        }
        memcpy(line, out.data(), (size_t)width * 4);
    }
}

void RefBlurColumns(uint32_t* buffer, int width, int height, int radius) {
    if (radius <= 0 || width <= 0 || height <= 0) return;
    std::vector<uint32_t> out((size_t)width * height);
    std::vector<RefLineSums<uint64_t>> sums((size_t)width);
    uint64_t divisor = 4 * (uint64_t)radius + 2;
    for (int x = 0; x < width; x++)
        RefStartSums(sums[x], height, radius, [=](long i) { return buffer[(size_t)i * width + x]; });
    for (int y = 0; y < height; y++) {
        const uint32_t* in = buffer + (size_t)RefClampIndex((long long)y + radius + 1, height) * width;
        const uint32_t* gone = buffer + (size_t)RefClampIndex((long long)y - radius, height) * width;
        for (int x = 0; x < width; x++) {
            out[(size_t)y * width + x] = sums[x].Mean(divisor);
            sums[x].Slide(in[x], gone[x]);
        }
    }
    memcpy(buffer, out.data(), out.size() * 4);
}

// A random w x h image, or one time in four all white (every sum at its largest).
std::vector<uint32_t> RandomPixels(std::mt19937& random, int w, int h) {
    std::vector<uint32_t> image((size_t)w * h);
    const bool white = random() % 4 == 0;
    for (uint32_t& p : image)
        p = white ? 0xFFFFFFFFu : (uint32_t)random();
    return image;
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

// Random images of many shapes, every radius up to 300 and chosen larger ones
// (where the mean needs 64-bit products, and where the sums need 64 bits):
// the fast blur gives the reference's bytes.
TEST(PixelOps, BoxBlurEqualsThePlainRunningSumsForEveryRadius) {
    std::mt19937 random(20261208);
    std::vector<int> radii;
    for (int r = 1; r <= 300; r++)
        radii.push_back(r);
    for (int r : {511, 1000, 4095, 65535, 1 << 20, (1 << 20) + 1, 2900000, 4210000, 4300000, INT_MAX})
        radii.push_back(r);
    const int shapes[][2] = {{1, 1}, {1, 7}, {7, 1}, {2, 2}, {3, 5}, {17, 9}, {64, 33}, {129, 70}};
    size_t tried = 0;
    for (int radius : radii)
        for (size_t k = 0; k < sizeof shapes / sizeof shapes[0]; k++) {
            int w = shapes[k][0], h = shapes[k][1];
            if (radius > 300 && w * h > 100 && k != 7) continue;
            // Mostly random bytes; some images all 255 reach the largest sums.
            const std::vector<uint32_t> image = RandomPixels(random, w, h);
            std::vector<uint32_t> want = image, got = image;
            RefBlurRows(want.data(), w, h, radius);
            BoxBlurRows(got.data(), w, h, radius);
            ASSERT_EQ(want, got) << "rows, radius " << radius << ", " << w << " x " << h;
            RefBlurColumns(want.data(), w, h, radius);
            BoxBlurColumns(got.data(), w, h, radius);
            ASSERT_EQ(want, got) << "columns, radius " << radius << ", " << w << " x " << h;
            tried++;
        }
    EXPECT_GT(tried, 2400u);
}

// The baseline (SSE2) vector step, which machines with AVX2 never choose on
// their own, gives the reference's bytes too: every radius with 16-bit sums,
// rows whose byte count is and is not a multiple of the vector width.
TEST(PixelOps, BoxBlurBaselineVectorsEqualThePlainRunningSums) {
    std::mt19937 random(20261209);
    const int shapes[][2] = {{5, 3}, {4, 9}, {17, 9}, {64, 33}, {131, 40}};
    BoxBlurUseBaselineVectors(true);
    for (int radius = 1; radius <= 300; radius++)
        for (const auto& shape : shapes) {
            int w = shape[0], h = shape[1];
            const std::vector<uint32_t> image = RandomPixels(random, w, h);
            std::vector<uint32_t> want = image, got = image;
            RefBlurRows(want.data(), w, h, radius);
            BoxBlurRows(got.data(), w, h, radius);
            RefBlurColumns(want.data(), w, h, radius);
            BoxBlurColumns(got.data(), w, h, radius);
            if (want != got) {
                BoxBlurUseBaselineVectors(false);
                FAIL() << "radius " << radius << ", " << w << " x " << h;
            }
        }
    BoxBlurUseBaselineVectors(false);
}

// Blurs the rows of a random w x h image and compares with the plain running sums.
static bool RowBlurMatchesReference(std::mt19937& random, int w, int h, int radius) {
    const std::vector<uint32_t> image = RandomPixels(random, w, h);
    std::vector<uint32_t> want = image, got = image;
    RefBlurRows(want.data(), w, h, radius);
    BoxBlurRows(got.data(), w, h, radius);
    return want == got;
}

// The row pass works on groups of eight rows in tiles of four pixels: widths
// around the tile, heights around the group (the rows left over take another
// way), radii past the width and on both sides of 128, where the sums stop
// fitting 16 bits. The baseline vectors must agree too.
TEST(PixelOps, BoxBlurRowsEqualThePlainRunningSumsAroundTilesAndGroups) {
    std::mt19937 random(20261211);
    const int widths[] = {1, 2, 3, 4, 5, 7, 8, 9, 13, 64, 67};
    const int heights[] = {8, 9, 15, 16, 17};
    const int radii[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 15, 16, 17, 63, 64, 65, 127, 128, 129, 130, 200};
    for (bool baseline : {false, true}) {
        BoxBlurUseBaselineVectors(baseline);
        for (int w : widths)
            for (int h : heights)
                for (int radius : radii) {
                    if (!RowBlurMatchesReference(random, w, h, radius)) {
                        BoxBlurUseBaselineVectors(false);
                        FAIL() << (baseline ? "baseline, " : "") << "radius " << radius << ", " << w << " x "
                               << h;
                    }
                }
    }
    BoxBlurUseBaselineVectors(false);
}

// Rows 4 KiB apart (or nearly) are swept with rows behind each other, each
// running past its ends in the pixels before and after: the bytes must not
// change for it, whatever the radius against the lag of 16 pixels a row.
TEST(PixelOps, BoxBlurRowsFourKibibytesApartEqualThePlainRunningSums) {
    std::mt19937 random(20261212);
    const int widths[] = {1023, 1024, 1025, 1028, 1012, 2048, 3072};
    const int radii[] = {1, 3, 5, 12, 13, 16, 47, 48, 49, 50, 128, 129, 1500};
    for (int w : widths)
        for (int h : {8, 11, 16})
            for (int radius : radii) {
                ASSERT_TRUE(RowBlurMatchesReference(random, w, h, radius))
                    << "radius " << radius << ", " << w << " x " << h;
            }
}

// Radius 1 over rows 1024 pixels wide that are black but for their first
// pixel (blue v = 30 (j + 1) in row j) and their last (green 99): the first
// pixel counts twice in its own window, (2 * 2v + 1) / 6, and once in the
// next, (2v + 1) / 6; the same at the other end.
TEST(PixelOps, BoxBlurRowsOfLaggingRowsKeepBothEnds) {
    const int w = 1024, h = 8;
    std::vector<uint32_t> image((size_t)w * h, 0);
    for (int j = 0; j < h; j++) {
        image[(size_t)j * w] = (uint32_t)(30 * (j + 1));
        image[(size_t)j * w + w - 1] = 99u << 8;
    }
    BoxBlurRows(image.data(), w, h, 1);
    for (int j = 0; j < h; j++) {
        const uint32_t* row = image.data() + (size_t)j * w;
        uint32_t v = 30 * (j + 1);
        EXPECT_EQ(row[0], (4 * v + 1) / 6) << "row " << j;
        EXPECT_EQ(row[1], (2 * v + 1) / 6) << "row " << j;
        EXPECT_EQ(row[2], 0u) << "row " << j;
        EXPECT_EQ(row[w - 3], 0u) << "row " << j;
        EXPECT_EQ(row[w - 2], 33u << 8) << "row " << j; // (2 * 99 + 1) / 6
        EXPECT_EQ(row[w - 1], 66u << 8) << "row " << j; // (4 * 99 + 1) / 6
    }
}

// A plane of bytes blurs as the alpha channel of pixels holding those bytes,
// for every radius up to 300 and the chosen larger ones.
TEST(PixelOps, BoxBlurOfAPlaneEqualsTheBlurOfThoseBytesInPixels) {
    std::mt19937 random(20261210);
    std::vector<int> radii;
    for (int r = 1; r <= 300; r++)
        radii.push_back(r);
    for (int r : {511, 4095, 65535, 4210000, 4300000, INT_MAX})
        radii.push_back(r);
    const int shapes[][2] = {{1, 1}, {1, 7}, {7, 1}, {3, 5}, {17, 9}, {64, 70}, {131, 65}};
    for (int radius : radii)
        for (const auto& shape : shapes) {
            int w = shape[0], h = shape[1];
            if (radius > 300 && w * h > 1000) continue;
            std::vector<uint8_t> plane((size_t)w * h);
            bool white = random() % 4 == 0;
            for (uint8_t& b : plane)
                b = white ? 255 : (uint8_t)random();
            std::vector<uint32_t> pixels(plane.size());
            for (size_t i = 0; i < plane.size(); i++)
                pixels[i] = (uint32_t)plane[i] << 24;
            RefBlurRows(pixels.data(), w, h, radius);
            BoxBlurPlaneRows(plane.data(), w, h, radius);
            RefBlurColumns(pixels.data(), w, h, radius);
            BoxBlurPlaneColumns(plane.data(), w, h, radius);
            for (size_t i = 0; i < plane.size(); i++)
                ASSERT_EQ((uint32_t)plane[i], pixels[i] >> 24)
                    << "radius " << radius << ", " << w << " x " << h << ", byte " << i;
        }
}

// The shape worked out on a plane of alpha bytes gives the pixels of the
// whole-pixel steps: grey, threshold, blurs and contrasts on all four bytes.
TEST(PixelOps, ComputeShapeEqualsItsStepsOnWholePixels) {
    std::mt19937 random(20261211);
    const int shapes[][2] = {{1, 1}, {5, 3}, {40, 23}, {97, 64}};
    for (int trial = 0; trial < 60; trial++) {
        int w = shapes[trial % 4][0], h = shapes[trial % 4][1];
        std::vector<uint32_t> pixels((size_t)w * h);
        for (uint32_t& p : pixels)
            p = (uint32_t)random();
        ShapeParams params{(int)(random() % 300) - 20, (int)(random() % 40) - 3, (int)(random() % 300) - 20,
                           (int)(random() % 1500) - 200, (int)(random() % 40) - 3, 0, 0};
        std::vector<uint32_t> mask, glow;
        ComputeShape(pixels.data(), w, h, params, mask, glow);

        long count = (long)pixels.size();
        std::vector<uint32_t> wantMask = pixels;
        ToGrey(wantMask.data(), w, h);
        ThresholdShape(wantMask.data(), count, params.threshold);
        std::vector<uint32_t> wantGlow = wantMask;
        BoxBlurRows(wantMask.data(), w, h, params.maskBlur);
        BoxBlurColumns(wantMask.data(), w, h, params.maskBlur);
        ScaleContrast(wantMask.data(), params.maskCentre, params.maskGain, count);
        BoxBlurRows(wantGlow.data(), w, h, params.glowBlur);
        BoxBlurColumns(wantGlow.data(), w, h, params.glowBlur);
        ScaleContrast(wantGlow.data(), 256, 1280, count);
        BoxBlurRows(wantGlow.data(), w, h, 5);
        BoxBlurColumns(wantGlow.data(), w, h, 5);
        ASSERT_EQ(mask, wantMask) << "trial " << trial;
        ASSERT_EQ(glow, wantGlow) << "trial " << trial;
    }
}
