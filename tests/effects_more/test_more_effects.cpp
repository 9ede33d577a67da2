// The remaining effects as a user sees them: the built libFenk.so initialised
// in a directory of test images, effects called by name, pixels read back.
#include <GL/glew.h>
#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "basic_exception.h"
#include "fenk_plugin.h"
#include "gl_context.h"
#include "oglstate.h"
#include "scratch_dir.h"
#include "test_images.h"

namespace {

const uint32_t kBlack = 0xFF000000u, kWhite = 0xFFFFFFFFu;

// Image numbers of the test ImageList.
enum {
    kWhiteImage = 0, // 100 x 60 white
    kQuarters,       // 100 x 100: red, green / blue, white quadrants, complex
    kSolid,          // 64 x 64 (200, 100, 50), complex
    kHalfAlpha,      // 64 x 64 (200, 100, 50) with alpha 128, complex
    kPlain,          // 64 x 64 (200, 100, 50), not complex
    kShape,          // 64 x 64, left half white, right half black, complex
    kStar,           // 200 x 200 white
    kGrey,           // 64 x 64 (64, 64, 64)
    kImageCount
};

int Red(uint32_t p) {
    return p >> 16 & 0xFF;
}
int Green(uint32_t p) {
    return p >> 8 & 0xFF;
}
int Blue(uint32_t p) {
    return p & 0xFF;
}

// The effects' scramble sequence, written out again from its definition.
uint32_t First(int32_t seed) {
    int32_t product = (int32_t)((uint32_t)seed * 950706376u);
    return (uint32_t)(product % 2147483647);
}
uint32_t Next(uint32_t v) {
    return (uint32_t)(((uint64_t)v * 950706376u) % 4294967296u % 2147483647u);
}

std::string MessageOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const BasicException& e) {
        return e.GetMessage();
    }
    return "(no exception)";
}

std::vector<uint32_t> Snapshot(int width, int height) {
    std::vector<uint32_t> pixels((size_t)width * height);
    glFinish();
    glReadPixels(0, 0, width, height, GL_BGRA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

class MoreEffectsTest : public ::testing::Test {
  protected:
    ScratchDir dir{true};
    FenkPlugin fenk;
    GLContext gl{800, 600}; // k = 1: virtual units are pixels

    void SetUp() override {
        ASSERT_TRUE(fenk.loaded());
        SaveSolidBmp("white.bmp", 100, 60, 0xFFFFFF);
        SaveTestBmp("quarters.bmp", 100, 100, [](int x, int y) {
            return y < 50 ? (x < 50 ? 0xFF0000u : 0x00FF00u) : (x < 50 ? 0x0000FFu : 0xFFFFFFu);
        });
        SaveSolidBmp("solid.bmp", 64, 64, 0xC86432);
        SaveSolidBmp("half.bmp", 64, 64, 0xC86432);
        SaveSolidBmp("halfa.bmp", 64, 64, 0x808080); // alpha companion: 128
        SaveSolidBmp("plain.bmp", 64, 64, 0xC86432);
        SaveTestBmp("shape.bmp", 64, 64, [](int x, int) { return x < 32 ? 0xFFFFFFu : 0u; });
        SaveSolidBmp("star.bmp", 200, 200, 0xFFFFFF);
        SaveSolidBmp("grey.bmp", 64, 64, 0x404040);
        WriteFenkData("white.bmp 0\nquarters.bmp 1\nsolid.bmp 1\nhalf.bmp 1\nplain.bmp 0\nshape.bmp 1\n"
                      "star.bmp 0\ngrey.bmp 0\n");
        ASSERT_EQ(fenk.Init(), 1);
        SDL_GL_SwapBuffers();
        GLContext::ClearTo(0, 0, 0, 1);
    }
    int Call(const char* name, std::initializer_list<int> args) { return fenk.Call(name, args); }
};

} // namespace

// [Backgrounds]

TEST_F(MoreEffectsTest, BackgroundTintAtHalfOpacityInBlackHalvesTheFrame) {
    GLContext::ClearTo(200 / 255.0f, 100 / 255.0f, 50 / 255.0f, 1);
    EXPECT_EQ(Call("BackgroundTint", {128, 0, 0, 0}), 1);
    for (auto p : {gl.Pixel(0, 0), gl.Pixel(400, 300), gl.Pixel(799, 599)}) {
        EXPECT_NEAR(Red(p), 100, 1);
        EXPECT_NEAR(Green(p), 50, 1);
        EXPECT_NEAR(Blue(p), 25, 1);
    }
}

TEST_F(MoreEffectsTest, BackgroundTintClampsOpacityAndLaysItsColour) {
    GLContext::ClearTo(0, 0, 0, 1);
    Call("BackgroundTint", {1000, 256, 128, 0});
    uint32_t p = gl.Pixel(400, 300);
    EXPECT_EQ(Red(p), 255);
    EXPECT_NEAR(Green(p), 128, 1);
    EXPECT_EQ(Blue(p), 0);
    GLContext::ClearTo(0, 0, 0, 1);
    Call("BackgroundTint", {-20, 256, 256, 256});
    EXPECT_EQ(gl.Pixel(400, 300), kBlack);
}

TEST_F(MoreEffectsTest, FastBackgroundOfTheMiddleWindowShowsTheCentralQuarter) {
    EXPECT_EQ(Call("FastBackground", {kQuarters, 250, 250, 500, 500}), 1);
    // The central 50 x 50 of the image, each of its quadrants now 400 x 300.
    EXPECT_EQ(gl.Pixel(200, 150), 0xFFFF0000u);
    EXPECT_EQ(gl.Pixel(600, 150), 0xFF00FF00u);
    EXPECT_EQ(gl.Pixel(200, 450), 0xFF0000FFu);
    EXPECT_EQ(gl.Pixel(600, 450), kWhite);
    EXPECT_EQ(gl.Pixel(5, 5), 0xFFFF0000u);
    EXPECT_EQ(gl.Pixel(794, 594), kWhite);
}

TEST_F(MoreEffectsTest, FastBackgroundOfTheWholeImageMatchesBackgroundButDoesNotBlend) {
    Call("Background", {kQuarters});
    std::vector<uint32_t> background = Snapshot(800, 600);
    GLContext::ClearTo(0, 0, 0, 1);
    Call("FastBackground", {kQuarters, 0, 0, 1000, 1000});
    std::vector<uint32_t> fast = Snapshot(800, 600);
    // Inside the edges: on the outermost rows and columns the filter mixes in the
    // transparent border and padding, which only Background blends away.
    int differing = 0;
    for (int y = 4; y < 596; y++)
        for (int x = 4; x < 796; x++)
            differing += fast[y * 800 + x] != background[y * 800 + x];
    EXPECT_EQ(differing, 0);
    EXPECT_NE(fast[0], background[0]); // the bottom-left corner pixel

    // A half-transparent image: Background mixes it with the frame, FastBackground
    // (blending off, as it was) writes it as it is.
    GLContext::ClearTo(0, 0, 1, 1);
    Call("Background", {kHalfAlpha});
    uint32_t blended = gl.Pixel(400, 300);
    EXPECT_NEAR(Red(blended), 100, 2);
    EXPECT_NEAR(Blue(blended), 152, 2); // 50 / 2 + 255 / 2
    GLContext::ClearTo(0, 0, 1, 1);
    Call("FastBackground", {kHalfAlpha, 0, 0, 1000, 1000});
    uint32_t direct = gl.Pixel(400, 300);
    EXPECT_EQ(Red(direct), 200);
    EXPECT_EQ(Blue(direct), 50);
}

TEST_F(MoreEffectsTest, FastBackgroundUsesTheBlendingThatIsCurrent) {
    GLContext::ClearTo(0, 0, 1, 1);
    OGLState::PushBlend(true);
    OGLState::PushBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    Call("FastBackground", {kHalfAlpha, 0, 0, 1000, 1000});
    OGLState::PopBlendFunc();
    OGLState::PopBlend();
    EXPECT_NEAR(Blue(gl.Pixel(400, 300)), 152, 2);
}

// [Wave]

TEST_F(MoreEffectsTest, WaveWithoutWavesDrawsOneQuadShiftedByTheAmplitude) {
    // hPhase 250 is a quarter turn: the whole image moves right by hAmplitude.
    EXPECT_EQ(Call("Wave", {kWhiteImage, 4000, 3000, 1000, 256, 0, 0, 0, 50, 0, 250}), 1);
    // Unshifted it would cover columns 350..449 and rows 270..329.
    EXPECT_EQ(gl.Pixel(401, 300), kWhite);
    EXPECT_EQ(gl.Pixel(498, 300), kWhite);
    EXPECT_EQ(gl.Pixel(398, 300), kBlack);
    EXPECT_EQ(gl.Pixel(501, 300), kBlack);
    EXPECT_EQ(gl.Pixel(450, 271), kWhite);
    EXPECT_EQ(gl.Pixel(450, 268), kBlack);
}

TEST_F(MoreEffectsTest, WaveVerticalAmplitudeMovesTheImageUpOrDown) {
    // vPhase 750: three quarters of a turn, sin = -1: 20 pixels up.
    Call("Wave", {kWhiteImage, 4000, 3000, 1000, 256, 0, 0, 20, 0, 750, 0});
    EXPECT_EQ(gl.Pixel(400, 251), kWhite);
    EXPECT_EQ(gl.Pixel(400, 308), kWhite);
    EXPECT_EQ(gl.Pixel(400, 248), kBlack);
    EXPECT_EQ(gl.Pixel(400, 311), kBlack);
}

TEST_F(MoreEffectsTest, WaveWithZeroAmplitudesDrawsTheImageUndistortedAndAdded) {
    GLContext::ClearTo(0.25f, 0, 0, 1);
    Call("Wave", {kGrey, 4000, 3000, 1000, 256, 3, 2, 0, 0, 123, 456});
    uint32_t p = gl.Pixel(400, 300);
    EXPECT_NEAR(Red(p), 64 + 64, 1); // added to the frame
    EXPECT_NEAR(Green(p), 64, 1);
    EXPECT_EQ(gl.Pixel(367, 300), 0xFF400000u);
    EXPECT_NEAR(Green(gl.Pixel(369, 300)), 64, 1);
    EXPECT_NEAR(Green(gl.Pixel(430, 330)), 64, 1);
    EXPECT_EQ(gl.Pixel(400, 333), 0xFF400000u);
}

TEST_F(MoreEffectsTest, WaveWithNegativeCountsDrawsNothing) {
    Call("Wave", {kWhiteImage, 4000, 3000, 1000, 256, -1, 2, 0, 0, 0, 0});
    Call("Wave", {kWhiteImage, 4000, 3000, 1000, 256, 2, -3, 0, 0, 0, 0});
    Call("Wave", {kWhiteImage, 4000, 3000, 1000, 256, INT_MIN, INT_MIN, 0, 0, 0, 0});
    EXPECT_EQ(gl.Pixel(400, 300), kBlack);
}

TEST_F(MoreEffectsTest, WaveWithHugeCountsIsBoundedAndStillDraws) {
    // Capped at 64 periods each way; a small image keeps the fill cheap.
    EXPECT_EQ(Call("Wave", {kWhiteImage, 4000, 3000, 100, 256, INT_MAX, INT_MAX, 1, 1, 0, 0}), 1);
    EXPECT_NE(gl.Pixel(400, 300), kBlack);
}

// The grid is capped by its quads, not per side: 200 sideways periods and no
// vertical ones draw all 200 (3000 rows).
TEST_F(MoreEffectsTest, WaveOfManyPeriodsOneWayDrawsThemAll) {
    // The 100 x 60 image at 15 times its size: 1500 x 900 pixels, rows -150 .. 749,
    // its left edge at column 400, swinging 20 pixels each way.
    Call("Wave", {kWhiteImage, 11500, 3000, 15000, 256, 200, 0, 0, 20, 0, 0});
    std::vector<uint32_t> frame = Snapshot(800, 600);
    // Column 400 is lit where the edge swings left: once a period, and the
    // 600 rows shown hold 600 / 900 * 200 = 133.3 periods (64 would give 43).
    int periods = 0;
    bool lit = false;
    for (int y = 599; y >= 0; y--) { // the snapshot's rows run from the bottom
        bool now = Red(frame[(size_t)y * 800 + 400]) > 128;
        periods += now && !lit;
        lit = now;
    }
    EXPECT_NEAR(periods, 133, 2);
    // The same grid turned: 200 up-and-down periods across a 900-pixel-wide image.
    GLContext::ClearTo(0, 0, 0, 1);
    Call("Wave", {kStar, 4000, 3000 + 4500, 4500, 256, 0, 200, 20, 0, 0, 0});
    frame = Snapshot(800, 600);
    periods = 0;
    lit = false;
    // The 900 x 900 image spans columns -50 .. 849; its top edge lies on row 300.
    for (int x = 0; x < 800; x++) {
        bool now = Red(frame[(size_t)(599 - 300) * 800 + x]) > 128;
        periods += now && !lit;
        lit = now;
    }
    EXPECT_NEAR(periods, 800 * 200 / 900, 2);
}

// [Movie jitter]

TEST_F(MoreEffectsTest, MovieJitterDrawsTheSamePictureForTheSameSeed) {
    Call("MovieJitter", {kQuarters, 4000, 3000, 1000, 400, 77, 1000});
    std::vector<uint32_t> first = Snapshot(800, 600);
    GLContext::ClearTo(0, 0, 0, 1);
    Call("MovieJitter", {kQuarters, 4000, 3000, 1000, 400, 77, 1000});
    EXPECT_EQ(Snapshot(800, 600), first);
    // Another seed shakes it elsewhere.
    GLContext::ClearTo(0, 0, 0, 1);
    bool differs = false;
    for (int seed = 78; seed < 82 && !differs; seed++) {
        GLContext::ClearTo(0, 0, 0, 1);
        Call("MovieJitter", {kQuarters, 4000, 3000, 1000, 400, seed, 1000});
        differs = Snapshot(800, 600) != first;
    }
    EXPECT_TRUE(differs);
}

TEST_F(MoreEffectsTest, MovieJitterWithoutJitterStacksThreeCopiesAtOpacity85) {
    // jitter 0: three coincident copies; (256 * 256 - r) / 768 = 85 for r 0 or 1.
    Call("MovieJitter", {kGrey, 4000, 3000, 1000, 256, 5, 0});
    // Each copy adds 64 * 85 / 256 = 21.25.
    EXPECT_NEAR(Red(gl.Pixel(400, 300)), 64, 2);
    GLContext::ClearTo(0, 0, 0, 1);
    Call("MovieJitter", {kWhiteImage, 4000, 3000, 1000, 128, 5, 0});
    // Opacity (32768 - r) / 768 = 42: three times 255 * 42 / 256 = 125.5.
    EXPECT_NEAR(Red(gl.Pixel(400, 300)), 126, 2);
    EXPECT_EQ(gl.Pixel(349, 300), kBlack);
    EXPECT_NE(gl.Pixel(351, 300), kBlack);
}

TEST_F(MoreEffectsTest, MovieJitterSpreadsCopiesAsTheSeedSays) {
    // jitter 10: E = 0, spread q = s3 mod 6 along the axis that bit 16 of s4 picks.
    const int seed = 1234, jitter = 10;
    uint32_t s1 = First(seed), s2 = Next(s1), s3 = Next(s2), s4 = Next(s3);
    int q = (int)(s3 % (jitter / 2 + 1));
    bool sideways = (s4 & (1u << 16)) != 0;
    Call("MovieJitter", {kWhiteImage, 4000, 3000, 1000, 768, seed, jitter});
    // The union of the copies reaches q further on both sides of the spread axis.
    int left = 350 - (sideways ? q : 0), right = 449 + (sideways ? q : 0);
    int top = 270 - (sideways ? 0 : q), bottom = 329 + (sideways ? 0 : q);
    EXPECT_NE(gl.Pixel(left, 300), kBlack);
    EXPECT_EQ(gl.Pixel(left - 1, 300), kBlack);
    EXPECT_NE(gl.Pixel(right, 300), kBlack);
    EXPECT_EQ(gl.Pixel(right + 1, 300), kBlack);
    EXPECT_NE(gl.Pixel(400, top), kBlack);
    EXPECT_EQ(gl.Pixel(400, top - 1), kBlack);
    EXPECT_NE(gl.Pixel(400, bottom), kBlack);
    EXPECT_EQ(gl.Pixel(400, bottom + 1), kBlack);
}

TEST_F(MoreEffectsTest, MovieJitterWithJitterBelowMinusOneDoesNotDivideByZero) {
    for (int jitter : {-1, -2, -3, -1000, INT_MIN, INT_MAX})
        EXPECT_EQ(Call("MovieJitter", {kWhiteImage, 4000, 3000, 1000, 768, 3, jitter}), 1) << jitter;
}

// [Circular blur]

TEST_F(MoreEffectsTest, CircularBlurWithoutArcAddsThePremultipliedImageOnce) {
    GLContext::ClearTo(10 / 255.0f, 10 / 255.0f, 10 / 255.0f, 1);
    EXPECT_EQ(Call("CircularBlur", {kHalfAlpha, 4000, 3000, 1000, 0, 1000, 0, 0, 0}), 1);
    // (200, 100, 50) times alpha 128 / 256, added to 10.
    EXPECT_EQ(gl.Pixel(400, 300), 0xFF6E3C23u);
    EXPECT_EQ(gl.Pixel(369, 271), 0xFF6E3C23u);
    EXPECT_EQ(gl.Pixel(366, 300), 0xFF0A0A0Au);
    GLContext::ClearTo(0, 0, 0, 1);
    Call("CircularBlur", {kSolid, 4000, 3000, 1000, -5, 1000, 0, 0, 0});
    // Opaque: 200 * 255 / 256 = 199, 99, 49.
    EXPECT_EQ(gl.Pixel(400, 300), 0xFFC76331u);
}

TEST_F(MoreEffectsTest, CircularBlurOfSixteenDegreesInOnePassKeepsTheCentre) {
    int seed = 0;
    while (Next(Next(First(seed))) % 5 != 0)
        seed++;
    GLContext::ClearTo(0, 0, 0, 1);
    Call("CircularBlur", {kSolid, 4000, 3000, 1000, 16, 1000, seed, 0, 0});
    // 16 copies one degree apart, weights 16 and 256: the centre keeps its value.
    uint32_t p = gl.Pixel(400, 300);
    EXPECT_NEAR(Red(p), 199, 1);
    EXPECT_NEAR(Green(p), 99, 1);
    EXPECT_NEAR(Blue(p), 49, 1);
    // The window was given back: its clear colour and viewport are as before.
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 800);
    EXPECT_EQ(viewport[3], 600);
    EXPECT_EQ(OGLState::GetState(), gl.state());
}

TEST_F(MoreEffectsTest, CircularBlurOfAFullTurnSpreadsTheImageAroundItsCentre) {
    Call("CircularBlur", {kSolid, 4000, 3000, 1000, 0, 1000, 0, 0, 0});
    EXPECT_EQ(gl.Pixel(440, 300), kBlack); // outside the square
    GLContext::ClearTo(0, 0, 0, 1);
    Call("CircularBlur", {kSolid, 4000, 3000, 1000, 360, 1000, 9, 0, 0});
    // Turned copies reach 45 pixels along the axes; 23 passes at weight 11 / 256
    // of the high nibbles (the low ones fall below one step) give about 190.
    EXPECT_NE(gl.Pixel(440, 300), kBlack);
    EXPECT_NEAR(Red(gl.Pixel(400, 300)), 23 * 16 * 12 * 11 / 256, 12);
    EXPECT_EQ(gl.Pixel(400, 350), kBlack);
}

TEST_F(MoreEffectsTest, CircularBlurOfAnImageNotFlaggedComplexFails) {
    EXPECT_EQ(MessageOf([&] {
                  Call("CircularBlur", {kPlain, 4000, 3000, 1000, 30, 1000, 0, 0, 0});
              }),
              "Couldn't make circular blur textures, make sure image is flagged 1 in list!");
    EXPECT_EQ(MessageOf([&] {
                  Call("CircularBlur", {kPlain, 4000, 3000, 1000, 0, 1000, 0, 0, 0});
              }),
              "Couldn't make circular blur textures, make sure image is flagged 1 in list!");
}

TEST_F(MoreEffectsTest, CircularBlurWithHugeValuesIsBounded) {
    EXPECT_EQ(Call("CircularBlur", {kSolid, 4000, 3000, INT_MAX, INT_MAX, INT_MAX, INT_MIN, INT_MAX, -1}), 1);
    EXPECT_EQ(Call("CircularBlur", {kSolid, 4000, 3000, INT_MIN, INT_MIN, INT_MIN, 0, INT_MIN, 0}), 1);
    EXPECT_EQ(OGLState::GetState(), gl.state());
}

TEST_F(MoreEffectsTest, CircularBlurMirrorsWithFlagBitZero) {
    Call("CircularBlur", {kQuarters, 4000, 3000, 1000, 0, 1000, 0, 0, 1});
    // Red is the image's top-left quadrant; mirrored it is at the top right.
    EXPECT_EQ(Red(gl.Pixel(430, 280)), 0xFE);
    EXPECT_EQ(Red(gl.Pixel(370, 280)), 0);
    EXPECT_EQ(Green(gl.Pixel(370, 280)), 0xFE);
}

// [Rasterize]

TEST_F(MoreEffectsTest, RasterizeOfAnImageNotFlaggedComplexFails) {
    EXPECT_EQ(MessageOf([&] {
                  Call("Rasterize", {kPlain, 4000, 3000, 1000, 256, 128, 2, 128, 256, 2, 0, 0, 1, 1});
              }),
              "Missing SDL_Surface: Check the imagelist and mark it as complex!");
}

TEST_F(MoreEffectsTest, RasterizeMaskIsOpaqueBlackOverTheBrightArea) {
    GLContext::ClearTo(1, 1, 1, 1);
    EXPECT_EQ(Call("Rasterize", {kShape, 4000, 3000, 1000, 256, 128, 0, 128, 256, 0, 0, 0, 0, 1}), 1);
    // The image spans columns 368..431; its bright left half is masked.
    EXPECT_EQ(gl.Pixel(380, 300), kBlack);
    EXPECT_EQ(gl.Pixel(420, 300), kWhite);
    EXPECT_EQ(gl.Pixel(360, 300), kWhite);
    // Mode 2 writes the mask into the red channel only.
    GLContext::ClearTo(1, 1, 1, 1);
    Call("Rasterize", {kShape, 4000, 3000, 1000, 256, 128, 0, 128, 256, 0, 0, 0, 0, 2});
    EXPECT_EQ(gl.Pixel(380, 300), 0xFF00FFFFu);
    EXPECT_EQ(gl.Pixel(420, 300), kWhite);
}

TEST_F(MoreEffectsTest, RasterizeModeZeroDrawsNothingAndModeThreeAddsStrokes) {
    Call("Rasterize", {kShape, 4000, 3000, 1000, 256, 128, 1, 128, 256, 1, 0, 0, 0, 0});
    EXPECT_EQ(Snapshot(800, 600), std::vector<uint32_t>(800 * 600, kBlack));
    Call("Rasterize", {kShape, 4000, 3000, 1000, 256, 128, 1, 128, 256, 1, 0, 0, 0, 3});
    // Strokes over the image's area, coloured from the image: some pixel lit.
    bool lit = false;
    for (int x = 368; x < 432 && !lit; x++)
        for (int y = 268; y < 332 && !lit; y++)
            lit = Red(gl.Pixel(x, y)) > 0 || Green(gl.Pixel(x, y)) > 0;
    EXPECT_TRUE(lit);
}

TEST_F(MoreEffectsTest, RasterizeAnimatedShapeReusesItsSlotsInsteadOfFillingTheTable) {
    // 600 shapes: with a new slot each the 512-slot table would overflow.
    for (int gain = 0; gain < 600; gain++)
        ASSERT_EQ(Call("Rasterize", {kShape, 4000, 3000, 1000, 256, 128, 1, 128, gain, 1, 0, 0, 1, 1}), 1)
            << gain;
    // Loading another image still fits in the table.
    EXPECT_EQ(Call("Image", {kWhiteImage, 4000, 3000, 1000, 256}), 1);
}

TEST_F(MoreEffectsTest, RasterizeWithHugeOrNegativeRadiiIsBounded) {
    EXPECT_EQ(Call("Rasterize",
                   {kShape, 4000, 3000, 1000, 256, -5, INT_MIN, INT_MIN, INT_MAX, INT_MAX, 0, 0, INT_MIN, 4}),
              1);
    EXPECT_EQ(Call("Rasterize", {kShape, 4000, 3000, 1000, 256, 300, INT_MAX, 0, INT_MIN, -1, 0, 0, -3, 4}),
              1);
}

// [Credits]

namespace {
// Glyph images for the credits' letters: 20 x 30, grey 64.
void WriteCreditsFont() {
    std::ofstream font("BigFont.txt");
    for (const char* c = "WENDALORVIKBTUQSM"; *c; c++) {
        std::string path = std::string("data/g") + *c + ".bmp";
        SaveSolidBmp(path, 20, 30, 0x404040);
        font << path << " " << *c << "\n";
    }
}
} // namespace

TEST_F(MoreEffectsTest, CreditsWithoutJitterStackThreeFullCopiesOfEachLetter) {
    WriteCreditsFont();
    ASSERT_EQ(fenk.Init(), 1);
    GLContext::ClearTo(0, 0, 0, 1);
    EXPECT_EQ(Call("CreditsWendal", {1000, 3000, 0, 0, 1000, 768, 17}), 1);
    // W: columns 100..119, rows 270..299 (standing on the baseline at 300).
    // Copies differ by at most 3 pixels; in the middle all three add 64.
    EXPECT_EQ(gl.Pixel(110, 285), 0xFFC0C0C0u);
    EXPECT_EQ(gl.Pixel(110, 260), kBlack);
    // E: 20 - 10 further right and 20 pixels lower: columns 110..129, rows 290..319.
    EXPECT_EQ(gl.Pixel(122, 310), 0xFFC0C0C0u);
    EXPECT_EQ(gl.Pixel(122, 325), kBlack);
    // N: back on the baseline, 10 further right again.
    EXPECT_EQ(gl.Pixel(130, 280), 0xFFC0C0C0u);
}

TEST_F(MoreEffectsTest, CreditsBrightnessIsSharedByTheThreeCopies) {
    WriteCreditsFont();
    ASSERT_EQ(fenk.Init(), 1);
    GLContext::ClearTo(0, 0, 0, 1);
    Call("CreditsOrvik", {1000, 3000, 0, 0, 1000, 384, 17});
    EXPECT_EQ(gl.Pixel(110, 285), 0xFF606060u); // 3 x 64 x 128 / 256
    GLContext::ClearTo(0, 0, 0, 1);
    Call("CreditsOrvik", {1000, 3000, 0, 0, 1000, 2, 17});
    EXPECT_EQ(gl.Pixel(110, 285), kBlack);
}

TEST_F(MoreEffectsTest, CreditsTurnedHalfWayPutTheFirstLetterAtTheRightEnd) {
    WriteCreditsFont();
    ASSERT_EQ(fenk.Init(), 1);
    GLContext::ClearTo(0, 0, 0, 1);
    Call("CreditsBaltu", {1000, 3000, 0, 0, 1000, 768, 17});
    EXPECT_NE(gl.Pixel(110, 285), kBlack);
    GLContext::ClearTo(0, 0, 0, 1);
    // BALTU measures 5 x 20 = 100: turned about x 150 the first letter spans
    // columns 180..199 and hangs below the baseline, upside down.
    Call("CreditsBaltu", {1000, 3000, 1800, 0, 1000, 768, 17});
    EXPECT_EQ(gl.Pixel(110, 285), kBlack);
    EXPECT_NE(gl.Pixel(190, 315), kBlack);
    EXPECT_EQ(gl.Pixel(190, 265), kBlack);
}

TEST_F(MoreEffectsTest, EveryCreditsEffectDrawsItsName) {
    WriteCreditsFont();
    ASSERT_EQ(fenk.Init(), 1);
    for (const char* name :
         {"CreditsWendal", "CreditsOrvik", "CreditsBaltu", "CreditsQuenra", "CreditsTumsel"}) {
        GLContext::ClearTo(0, 0, 0, 1);
        EXPECT_EQ(Call(name, {1000, 3000, 0, 100, 1000, 768, 3}), 1) << name;
        EXPECT_NE(gl.Pixel(110, 285), kBlack) << name;
    }
    EXPECT_EQ(Call("CreditsWendal", {0, 0, INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MIN}), 1);
    EXPECT_EQ(OGLState::GetState(), gl.state());
}

// [Star field]

TEST_F(MoreEffectsTest, StarFieldPlacesStarsOnceAndKeepsThem) {
    // No stars are made for a count of zero or less, and nothing is drawn.
    EXPECT_EQ(Call("StarField", {kStar, 0, 1, 0}), 1);
    EXPECT_EQ(Call("StarField", {kStar, -4, 1, 0}), 1);
    EXPECT_EQ(Snapshot(800, 600), std::vector<uint32_t>(800 * 600, kBlack));

    srand(99);
    int a = rand() % 8000, b = rand() % 6000, c = rand() % 3000;
    double sx = (a - 4000) * 2000.0, sy = (b - 3000) * 2000.0, sz = c + 2100.0;
    srand(99);
    Call("StarField", {kStar, 1, 0, 0});
    int px = (int)((sx / sz + 4000) * 0.1), py = (int)((sy / sz + 3000) * 0.1);
    EXPECT_EQ(gl.Pixel(px, py), kWhite);
    std::vector<uint32_t> still = Snapshot(800, 600);

    // Speed 0: the stars stand still at any time.
    GLContext::ClearTo(0, 0, 0, 1);
    Call("StarField", {kStar, 1, 0, 987654});
    EXPECT_EQ(Snapshot(800, 600), still);

    // A larger count later uses the one star there is.
    GLContext::ClearTo(0, 0, 0, 1);
    Call("StarField", {kStar, 5000, 0, 0});
    EXPECT_EQ(Snapshot(800, 600), still);

    // Moving: depth sz - 10 * speed * time, brought back by 3000 below 100.
    double z = sz - 10.0 * 3 * 100;
    while (z < 100)
        z += 3000;
    GLContext::ClearTo(0, 0, 0, 1);
    Call("StarField", {kStar, 1, 3, 100});
    EXPECT_EQ(gl.Pixel((int)((sx / z + 4000) * 0.1), (int)((sy / z + 3000) * 0.1)), kWhite);

    // Far past: a huge offset returns at once.
    EXPECT_EQ(Call("StarField", {kStar, 1, INT_MAX, INT_MAX}), 1);
    EXPECT_EQ(Call("StarField", {kStar, 1, INT_MIN, INT_MAX}), 1);
}

// Every star made is drawn, whatever count a later call gives.
TEST_F(MoreEffectsTest, StarFieldDrawsEveryStarMadeWhateverTheCount) {
    srand(1234);
    struct Place {
        int x, y;
    };
    std::vector<Place> places;
    for (int i = 0; i < 40; i++) {
        int a = rand() % 8000, b = rand() % 6000, c = rand() % 3000;
        double sx = (a - 4000) * 2000.0, sy = (b - 3000) * 2000.0, sz = c + 2100.0;
        places.push_back({(int)((sx / sz + 4000) * 0.1), (int)((sy / sz + 3000) * 0.1)});
    }
    srand(1234);
    Call("StarField", {kStar, 40, 0, 0});
    std::vector<uint32_t> all = Snapshot(800, 600);
    int shown = 0;
    for (const Place& p : places)
        if (p.x >= 2 && p.x < 798 && p.y >= 2 && p.y < 598) {
            EXPECT_EQ(gl.Pixel(p.x, p.y), kWhite) << p.x << ", " << p.y;
            shown++;
        }
    EXPECT_GT(shown, 20);
    for (int count : {1, 39, 40, 41, 100000}) {
        GLContext::ClearTo(0, 0, 0, 1);
        Call("StarField", {kStar, count, 0, 0});
        EXPECT_TRUE(Snapshot(800, 600) == all) << "count " << count;
    }
}

// [All effects]

TEST_F(MoreEffectsTest, ImageNumbersOutsideTheTableDrawNothing) {
    for (int image : {-1, kImageCount + 5, 511, 512, INT_MAX, INT_MIN}) {
        EXPECT_EQ(Call("FastBackground", {image, 0, 0, 1000, 1000}), 1) << image;
        EXPECT_EQ(Call("Wave", {image, 4000, 3000, 1000, 256, 1, 1, 10, 10, 0, 0}), 1) << image;
        if (image < 0 || image >= 512) {
            EXPECT_EQ(Call("Rasterize", {image, 4000, 3000, 1000, 256, 128, 1, 128, 256, 1, 0, 0, 1, 4}), 1)
                << image;
            EXPECT_EQ(Call("CircularBlur", {image, 4000, 3000, 1000, 90, 1000, 0, 0, 0}), 1) << image;
        }
        EXPECT_EQ(Call("MovieJitter", {image, 4000, 3000, 1000, 768, 1, 10}), 1) << image;
        EXPECT_EQ(Call("StarField", {image, 10, 1, 1}), 1) << image;
    }
    EXPECT_EQ(Snapshot(800, 600), std::vector<uint32_t>(800 * 600, kBlack));
    EXPECT_EQ(OGLState::GetState(), gl.state());
}

// An unused slot inside the table has no pixels: the effects that read pixels
// say so, as for an image not flagged complex.
TEST_F(MoreEffectsTest, PixelEffectsOnAnUnusedSlotAskForAComplexImage) {
    for (int image : {kImageCount + 5, 511}) {
        EXPECT_EQ(MessageOf([&] {
                      Call("Rasterize", {image, 4000, 3000, 1000, 256, 128, 1, 128, 256, 1, 0, 0, 1, 4});
                  }),
                  "Missing SDL_Surface: Check the imagelist and mark it as complex!")
            << image;
        EXPECT_EQ(MessageOf([&] {
                      Call("CircularBlur", {image, 4000, 3000, 1000, 90, 1000, 0, 0, 0});
                  }),
                  "Couldn't make circular blur textures, make sure image is flagged 1 in list!")
            << image;
    }
}

TEST_F(MoreEffectsTest, EffectsLeaveTheStateRecordAsTheyFoundIt) {
    OGLState::Values before = gl.state()->values();
    Call("FastBackground", {kQuarters, 0, 0, 1000, 1000});
    Call("BackgroundTint", {100, 1, 2, 3});
    Call("Wave", {kWhiteImage, 4000, 3000, 1000, 256, 1, 1, 10, 10, 0, 0});
    Call("Rasterize", {kShape, 4000, 3000, 1000, 256, 128, 1, 128, 256, 1, 0, 0, 1, 4});
    Call("CircularBlur", {kSolid, 4000, 3000, 1000, 90, 1000, 0, 0, 0});
    Call("MovieJitter", {kWhiteImage, 4000, 3000, 1000, 768, 1, 10});
    Call("StarField", {kStar, 10, 1, 1});
    const OGLState::Values& after = gl.state()->values();
    EXPECT_EQ(after.blend, before.blend);
    EXPECT_EQ(after.blendSource, before.blendSource);
    EXPECT_EQ(after.blendDestination, before.blendDestination);
    EXPECT_EQ(after.texture2D, before.texture2D);
    EXPECT_EQ(after.depth, before.depth);
    EXPECT_EQ(after.viewport[2], before.viewport[2]);
    EXPECT_EQ(after.colorMask[1], before.colorMask[1]);
    EXPECT_EQ(OGLState::GetState(), gl.state());
}
