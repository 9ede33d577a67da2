// CircularBlur's pieces in-process: the arc and pass count from the seed, the
// premultiplied nibble textures, and when they are remade.
#include <GL/glew.h>
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "effects_more.h"
#include "gl_context.h"
#include "render_target.h"

namespace {

uint32_t Third(int32_t seed) {
    return ScrambleNext(ScrambleNext(ScrambleFirst(seed)));
}

// Texels of a texture as 0xAARRGGBB, rows in texture order; empty unless the
// texture is width x height.
std::vector<uint32_t> Texels(GLuint texture, int width, int height) {
    GLint previous = 0, realWidth = 0, realHeight = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous);
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &realWidth);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &realHeight);
    std::vector<uint32_t> texels;
    if (realWidth == width && realHeight == height) {
        texels.resize((size_t)width * height);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_BGRA, GL_UNSIGNED_BYTE, texels.data());
    }
    glBindTexture(GL_TEXTURE_2D, (GLuint)previous);
    return texels;
}

uint32_t FirstTexel(int half) {
    std::vector<uint32_t> texels = Texels(GetBlurTexture(half).texture, 2, 2);
    return texels.empty() ? 0xDEADBEEFu : texels[0];
}

class CircularBlurTest : public ::testing::Test {
  protected:
    GLContext gl{320, 240};
    void SetUp() override { ReleaseTextures(); }
    void TearDown() override { ReleaseTextures(); }
};

} // namespace

TEST(BlurArc, ArcOf16WithoutSeededDegreesIsOnePass) {
    int seed = 0;
    while (Third(seed) % 5 != 0)
        seed++;
    int degrees = 0, passes = 0;
    BlurArc(16, seed, degrees, passes);
    EXPECT_EQ(degrees, 16);
    EXPECT_EQ(passes, 1);
}

TEST(BlurArc, FullTurnAddsZeroToFourDegreesAndTakes23Passes) {
    for (int seed : {0, 1, 2, 3, 4, 5, 77, -9, INT_MIN, INT_MAX}) {
        int degrees = 0, passes = 0;
        BlurArc(360, seed, degrees, passes);
        EXPECT_EQ(degrees, 360 + (int)(Third(seed) % 5)) << seed;
        EXPECT_EQ(passes, 23) << seed;
    }
}

TEST(BlurArc, ArcsAbove360CountAs360) {
    int degrees = 0, passes = 0, full = 0, fullPasses = 0;
    BlurArc(100000, 42, degrees, passes);
    BlurArc(360, 42, full, fullPasses);
    EXPECT_EQ(degrees, full);
    EXPECT_EQ(passes, fullPasses);
}

TEST_F(CircularBlurTest, NibbleTexturesHoldThePremultipliedLowAndHighFourBits) {
    // (200, 100, 50) at alpha 128 premultiplies to (100, 50, 25); opaque white to 254.
    std::vector<uint32_t> pixels = {0x80C86432u, 0xFFFFFFFFu, 0x00FFFFFFu,
                                    0x80C86432u, 0x80C86432u, 0x80C86432u};
    int image = CreateTextureFromMem(pixels.data(), 3, 2, true);
    PrepareBlurTextures(image);
    const TextureEntry& low = GetBlurTexture(0);
    const TextureEntry& high = GetBlurTexture(1);
    EXPECT_EQ(low.width, 3);
    EXPECT_EQ(low.height, 2);
    EXPECT_FLOAT_EQ(low.sExtent, 0.75f);
    EXPECT_FLOAT_EQ(low.tExtent, 1.0f);
    EXPECT_EQ(high.width, 3);
    EXPECT_EQ(low.surface, nullptr);
    std::vector<uint32_t> lowTexels = Texels(low.texture, 4, 2);
    std::vector<uint32_t> highTexels = Texels(high.texture, 4, 2);
    // Alpha is 0; the padding column is zero.
    EXPECT_EQ(lowTexels, (std::vector<uint32_t>{0x00040209u, 0x000E0E0Eu, 0, 0, 0x00040209u, 0x00040209u,
                                                0x00040209u, 0}));
    EXPECT_EQ(highTexels, (std::vector<uint32_t>{0x00060301u, 0x000F0F0Fu, 0, 0, 0x00060301u, 0x00060301u,
                                                 0x00060301u, 0}));
}

TEST_F(CircularBlurTest, AnotherImageRemakesTheNibbleTexturesAndTheSameOneKeepsThem) {
    std::vector<uint32_t> white(4, 0xFFFFFFFFu), grey(4, 0xFF404040u);
    int first = CreateTextureFromMem(white.data(), 2, 2, true);
    int second = CreateTextureFromMem(grey.data(), 2, 2, true);
    PrepareBlurTextures(first);
    EXPECT_EQ(FirstTexel(1), 0x000F0F0Fu);
    GLuint kept = GetBlurTexture(1).texture;
    PrepareBlurTextures(first);
    EXPECT_EQ(GetBlurTexture(1).texture, kept);
    PrepareBlurTextures(second);
    // 0x40 * 255 / 256 = 0x3F: high nibble 3, low nibble F.
    EXPECT_EQ(FirstTexel(1), 0x00030303u);
    EXPECT_EQ(FirstTexel(0), 0x000F0F0Fu);
    PrepareBlurTextures(first);
    EXPECT_EQ(FirstTexel(1), 0x000F0F0Fu);
}

TEST_F(CircularBlurTest, SameIndexHoldingAnotherPictureAfterAReloadIsRemade) {
    std::vector<uint32_t> white(4, 0xFFFFFFFFu), grey(4, 0xFF404040u);
    int image = CreateTextureFromMem(white.data(), 2, 2, true);
    PrepareBlurTextures(image);
    EXPECT_EQ(FirstTexel(1), 0x000F0F0Fu);
    // Released and loaded again: the same index and size, likely the same memory.
    for (int round = 0; round < 3; round++) {
        ReleaseTextures();
        ASSERT_EQ(CreateTextureFromMem(grey.data(), 2, 2, true), image);
        PrepareBlurTextures(image);
        EXPECT_EQ(FirstTexel(1), 0x00030303u) << round;
        ReleaseTextures();
        ASSERT_EQ(CreateTextureFromMem(white.data(), 2, 2, true), image);
        PrepareBlurTextures(image);
        EXPECT_EQ(FirstTexel(1), 0x000F0F0Fu) << round;
    }
}

TEST_F(CircularBlurTest, ImageWithoutRetainedPixelsCannotBePrepared) {
    std::vector<uint32_t> white(4, 0xFFFFFFFFu);
    int plain = CreateTextureFromMem(white.data(), 2, 2, false);
    EXPECT_THROW(PrepareBlurTextures(plain), BasicException);
}

// On a driver with only the EXT framebuffer calls the blur still draws: 16
// copies one degree apart keep the centre's value.
TEST_F(CircularBlurTest, DrawsWithTheExtFramebufferCalls) {
    LimitFramebufferSet(FramebufferSet::Ext);
    DestroyRenderTarget();
    std::vector<uint32_t> solid(64 * 64, 0xFFC86432u);
    int image = CreateTextureFromMem(solid.data(), 64, 64, true);
    int seed = 0;
    while (Third(seed) % 5 != 0)
        seed++;
    GLContext::ClearTo(0, 0, 0, 1);
    CircularBlurAbs(image, 160, 120, 1000, 16, 1000, seed, 0, 0);
    FramebufferSet used = GetRenderTarget().calls.set;
    uint32_t centre = gl.Pixel(160, 120);
    DestroyRenderTarget();
    LimitFramebufferSet(FramebufferSet::Core);
    EXPECT_EQ(used, FramebufferSet::Ext);
    EXPECT_NEAR((int)(centre >> 16 & 0xFF), 199, 1);
    EXPECT_NEAR((int)(centre >> 8 & 0xFF), 99, 1);
    EXPECT_NEAR((int)(centre & 0xFF), 49, 1);
}
