// Rasterize in-process: what it puts into the texture table, when it computes
// the shape and redraws the strokes, and that it keeps to its own two slots.
#include <GL/glew.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "effects_more.h"
#include "gl_context.h"
#include "pixel_ops.h"

namespace {

const int kW = 16, kH = 8;

std::vector<uint32_t> Picture() {
    std::vector<uint32_t> p(kW * kH);
    for (int y = 0; y < kH; y++)
        for (int x = 0; x < kW; x++)
            p[y * kW + x] = x < 8 ? 0xFFFFFFFFu : 0xFF101010u + (uint32_t)(y * 0x010203);
    return p;
}

// The first kW x kH texels of a slot, 0xAARRGGBB, top row first.
std::vector<uint32_t> SlotTexels(int slot) {
    const TextureEntry& e = GetTexture(slot);
    GLint width = 0, height = 0;
    glBindTexture(GL_TEXTURE_2D, e.texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    std::vector<uint32_t> all((size_t)width * height);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_BGRA, GL_UNSIGNED_BYTE, all.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    std::vector<uint32_t> image;
    for (int y = 0; y < e.height; y++)
        for (int x = 0; x < e.width; x++)
            image.push_back(all[(size_t)y * width + x]);
    return image;
}

class RasterizeTest : public ::testing::Test {
  protected:
    GLContext gl{320, 240};
    int image = -1;
    void SetUp() override {
        ReleaseTextures();
        std::vector<uint32_t> p = Picture();
        image = CreateTextureFromMem(p.data(), kW, kH, true);
    }
    void TearDown() override { ReleaseTextures(); }
    // Shape parameters, stroke period, mode 0 (draw nothing).
    void Run(int threshold, int maskGain, int strokePeriod) {
        Rasterize(image, 1600, 1200, 1000, 256, threshold, 1, 128, maskGain, 1, 0, 0, strokePeriod, 0);
    }
};

} // namespace

TEST_F(RasterizeTest, FirstCallPutsTheMaskAndStrokesIntoTwoNewSlots) {
    Run(128, 512, 0);
    ASSERT_EQ(TextureCount(), 3);
    std::vector<uint32_t> mask, glow;
    std::vector<uint32_t> p = Picture();
    ComputeShape(p.data(), kW, kH, ShapeParams{128, 1, 128, 512, 1, 0, 0}, mask, glow);
    EXPECT_EQ(SlotTexels(1), mask);
    EXPECT_STREQ(GetTexture(1).name, "FromMemory");
    EXPECT_EQ(GetTexture(2).width, kW);
    EXPECT_EQ(GetTexture(2).height, kH);
}

TEST_F(RasterizeTest, SameParametersKeepTheShapeAndAChangeRecomputesItInTheSameSlot) {
    Run(128, 512, 0);
    uint32_t maskTexture = GetTexture(1).texture;
    Run(128, 512, 0);
    EXPECT_EQ(GetTexture(1).texture, maskTexture); // not uploaded again
    for (int gain = 0; gain < 40; gain++)
        Run(128, gain, 0);
    EXPECT_EQ(TextureCount(), 3);
    std::vector<uint32_t> mask, glow;
    std::vector<uint32_t> p = Picture();
    ComputeShape(p.data(), kW, kH, ShapeParams{128, 1, 128, 39, 1, 0, 0}, mask, glow);
    EXPECT_EQ(SlotTexels(1), mask);
}

TEST_F(RasterizeTest, StrokePeriodZeroKeepsTheFirstStrokesAndOneRedrawsEveryCall) {
    srand(3);
    Run(128, 512, 0);
    std::vector<uint32_t> first = SlotTexels(2);
    for (int i = 0; i < 5; i++)
        Run(128, 512, 0);
    EXPECT_EQ(SlotTexels(2), first);
    int changed = 0;
    for (int i = 0; i < 5; i++) {
        std::vector<uint32_t> before = SlotTexels(2);
        Run(128, 512, 1);
        changed += SlotTexels(2) != before;
    }
    EXPECT_GE(changed, 4);
    EXPECT_EQ(TextureCount(), 3);
}

TEST_F(RasterizeTest, StrokesAreRedrawnOnEveryNthCall) {
    srand(11);
    Run(128, 512, 3);
    std::vector<uint32_t> first = SlotTexels(2);
    Run(128, 512, 3); // counter 1
    Run(128, 512, 3); // counter 2
    EXPECT_EQ(SlotTexels(2), first);
    Run(128, 512, 3); // counter 3 mod 3 = 0: redrawn
    EXPECT_NE(SlotTexels(2), first);
}

TEST_F(RasterizeTest, AfterTheTableIsReleasedItTakesNewSlotsRatherThanOverwritingOthers) {
    Run(128, 512, 0);
    ReleaseTextures();
    // The same indices now hold other pictures.
    std::vector<uint32_t> p = Picture();
    image = CreateTextureFromMem(p.data(), kW, kH, true);
    std::vector<uint32_t> grey(kW * kH, 0xFF808080u);
    int other = CreateTextureFromMem(grey.data(), kW, kH, false);
    ASSERT_EQ(other, 1);
    Run(128, 512, 1);
    EXPECT_EQ(TextureCount(), 4);
    EXPECT_EQ(SlotTexels(1), grey);
}

TEST_F(RasterizeTest, AnotherImageOfAnotherSizeGetsItsOwnShapeAndStrokes) {
    Run(128, 512, 0);
    std::vector<uint32_t> big(40 * 30, 0xFFFFFFFFu);
    int second = CreateTextureFromMem(big.data(), 40, 30, true);
    Rasterize(second, 1600, 1200, 1000, 256, 128, 1, 128, 512, 1, 0, 0, 0, 0);
    EXPECT_EQ(GetTexture(1).width, 40);
    EXPECT_EQ(GetTexture(2).width, 40);
    EXPECT_EQ(GetTexture(2).height, 30);
    EXPECT_EQ(TextureCount(), 4);
}
