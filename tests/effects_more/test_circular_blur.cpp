// CircularBlur's pieces in-process: the arc and pass count from the seed, the
// premultiplied nibble textures, and when they are remade.
#include <GL/glew.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <vector>

#include "effects_more.h"
#include "gl_context.h"
#include "oglstate.h"
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

namespace {
std::vector<uint32_t> Frame(int width, int height) {
    std::vector<uint32_t> pixels((size_t)width * height);
    glFinish();
    glReadPixels(0, 0, width, height, GL_BGRA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}
} // namespace

// The blur clears and adds only the square its copies can reach: a small
// image blurred after a large one must not pick up what the large one left
// in the target around it.
TEST_F(CircularBlurTest, SmallImageAfterALargeOneDrawsAsAlone) {
    std::vector<uint32_t> big(300 * 300, 0xFFFFFFFFu), small(40 * 40, 0xFF80C040u);
    int large = CreateTextureFromMem(big.data(), 300, 300, true);
    int little = CreateTextureFromMem(small.data(), 40, 40, true);
    DestroyRenderTarget();
    GLContext::ClearTo(0, 0, 0, 1);
    CircularBlurAbs(little, 160, 120, 1000, 90, 1000, 3, 0, 0);
    std::vector<uint32_t> alone = Frame(320, 240);
    size_t lit = 0;
    for (uint32_t p : alone)
        lit += (p & 0xFFFFFF) != 0;
    EXPECT_GT(lit, 1600u); // the 40 x 40 square, smeared over 90 degrees

    DestroyRenderTarget();
    GLContext::ClearTo(0, 0, 0, 1);
    CircularBlurAbs(large, 160, 120, 1000, 360, 1000, 3, 0, 0);
    GLContext::ClearTo(0, 0, 0, 1);
    CircularBlurAbs(little, 160, 120, 1000, 90, 1000, 3, 0, 0);
    EXPECT_TRUE(Frame(320, 240) == alone);
}

// Drawing only the middle of a blur quad adds what the whole quad adds when
// the texture is empty outside that middle, but for rounding.
TEST_F(CircularBlurTest, MiddleOfABlurQuadAddsWhatTheWholeQuadAdds) {
    std::vector<uint32_t> pixels(128 * 128, 0);
    for (int y = 40; y < 88; y++)
        for (int x = 44; x < 84; x++)
            pixels[y * 128 + x] = 0xFF000000u | (uint32_t)(x * 3) << 16 | (uint32_t)(y * 2) << 8 | 0x40u;
    int image = CreateTextureFromMem(pixels.data(), 128, 128, false);
    const TextureEntry& slot = GetTexture(image);
    OGLState::PushBlend(true);
    OGLState::PushBlendFunc(GL_ONE, GL_ONE);
    for (int flags : {0, 1}) {
        std::vector<uint32_t> frames[2];
        for (int k = 0; k < 2; k++) {
            GLContext::ClearTo(0.1f, 0.1f, 0.1f, 1);
            glPushMatrix();
            glTranslatef(3, -7, 0);
            glRotatef(33, 0, 0, 1);
            DrawBlurQuad(slot, 1700, 200, flags, k == 0 ? 1.0f : 0.75f);
            glPopMatrix();
            frames[k] = Frame(320, 240);
        }
        size_t lit = 0;
        for (uint32_t p : frames[0])
            lit += p != frames[0][0];
        EXPECT_GT(lit, 3000u);
        int worst = 0;
        size_t differing = 0;
        for (size_t i = 0; i < frames[0].size(); i++)
            for (int c = 0; c < 24; c += 8) {
                int d = std::abs((int)(frames[0][i] >> c & 0xFF) - (int)(frames[1][i] >> c & 0xFF));
                worst = std::max(worst, d);
                differing += d != 0;
            }
        // The smaller quad interpolates its texture coordinates from other
        // corners: the float results may round a channel the other way.
        EXPECT_LE(worst, 1) << "flags " << flags;
        EXPECT_LT(differing, lit / 200) << "flags " << flags;
    }
    OGLState::PopBlendFunc();
    OGLState::PopBlend();
}
