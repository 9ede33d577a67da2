// The basic effects as a user sees them: the built libFenk.so initialised in a
// directory of test images, effects called by name, pixels read back.
#include <GL/glew.h>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include "fenk_plugin.h"
#include "gl_context.h"
#include "oglstate.h"
#include "scratch_dir.h"
#include "test_images.h"

namespace {
const uint32_t kWhite = 0xFFFFFFFF, kBlack = 0xFF000000, kRed = 0xFFFF0000, kBlue = 0xFF0000FF;

// Image numbers of the test ImageList.
enum { kWide = 0, kHalves = 1, kRedImage = 2, kBlueImage = 3 };

int Green(uint32_t p) {
    return p >> 8 & 0xFF;
}
int Red(uint32_t p) {
    return p >> 16 & 0xFF;
}

class EffectsTest : public ::testing::Test {
  protected:
    ScratchDir dir{true};
    FenkPlugin fenk;

    // Initialises the plug-in in a window of width x height.
    void Start(GLContext& gl) {
        ASSERT_TRUE(fenk.loaded());
        SaveSolidBmp("wide.bmp", 100, 60, 0xFFFFFF);
        SaveTestBmp("halves.bmp", 100, 60, [](int, int y) { return y < 30 ? 0xFF0000u : 0x0000FFu; });
        SaveSolidBmp("red.bmp", 20, 20, 0xFF0000);
        SaveSolidBmp("blue.bmp", 20, 20, 0x0000FF);
        std::ofstream("AnimList.txt") << "BEGIN red.bmp 100 blue.bmp 100 END\n";
        WriteFenkData("wide.bmp 0\nhalves.bmp 0\nred.bmp 0\nblue.bmp 0\n");
        ASSERT_EQ(fenk.Init(), 1);
        (void)gl;
        // After a change of window size the driver resizes its buffers at the
        // next swap; tests in one process may use several sizes.
        SDL_GL_SwapBuffers();
        GLContext::ClearTo(0, 0, 0, 1);
    }
    uint32_t Cell(int cell) const { return 0xFF000000 | CellColour(cell); }
};
} // namespace

TEST_F(EffectsTest, ImageAtTheCentreIsDrawnAtItsPixelSizeInA600PixelView) {
    GLContext gl(800, 600);
    Start(gl);
    EXPECT_EQ(fenk.Call("Image", {kWide, 4000, 3000, 1000, 256}), 1);
    // 100 x 60 centred on (400, 300): columns 350..449, rows 270..329.
    EXPECT_EQ(gl.Pixel(350, 270), kWhite);
    EXPECT_EQ(gl.Pixel(449, 329), kWhite);
    EXPECT_EQ(gl.Pixel(400, 300), kWhite);
    EXPECT_EQ(gl.Pixel(349, 300), kBlack);
    EXPECT_EQ(gl.Pixel(450, 300), kBlack);
    EXPECT_EQ(gl.Pixel(400, 269), kBlack);
    EXPECT_EQ(gl.Pixel(400, 330), kBlack);
}

TEST_F(EffectsTest, ImageSizeIsInThousandthsAndPositionInTenths) {
    GLContext gl(800, 600);
    Start(gl);
    fenk.Call("Image", {kWide, 1000, 500, 500, 256});
    // 50 x 30 centred on (100, 50).
    EXPECT_EQ(gl.Pixel(75, 35), kWhite);
    EXPECT_EQ(gl.Pixel(124, 64), kWhite);
    EXPECT_EQ(gl.Pixel(74, 50), kBlack);
    EXPECT_EQ(gl.Pixel(125, 50), kBlack);
}

TEST_F(EffectsTest, ImageScalesWithTheViewHeight) {
    GLContext gl(1024, 768);
    Start(gl);
    fenk.Call("Image", {kWide, 4000, 3000, 1000, 256});
    // k = 1.28: centre (512, 384), 128 pixels wide (columns 448..575; the
    // outermost ones blend with the texture's clamped border).
    EXPECT_EQ(gl.Pixel(449, 384), kWhite);
    EXPECT_EQ(gl.Pixel(574, 384), kWhite);
    EXPECT_NE(gl.Pixel(448, 384), kBlack);
    EXPECT_NE(gl.Pixel(575, 384), kBlack);
    EXPECT_EQ(gl.Pixel(447, 384), kBlack);
    EXPECT_EQ(gl.Pixel(576, 384), kBlack);
}

TEST_F(EffectsTest, ImageKeepsItsTopRowAtTheTop) {
    GLContext gl(800, 600);
    Start(gl);
    fenk.Call("Image", {kHalves, 4000, 3000, 1000, 256});
    EXPECT_EQ(gl.Pixel(400, 280), kRed);
    EXPECT_EQ(gl.Pixel(400, 320), kBlue);
}

TEST_F(EffectsTest, OpacityIsClampedTo0Through256) {
    GLContext gl(800, 600);
    Start(gl);
    fenk.Call("Image", {kWide, 4000, 3000, 1000, 300});
    EXPECT_EQ(gl.Pixel(400, 300), kWhite);
    GLContext::ClearTo(0, 0, 0, 1);
    fenk.Call("Image", {kWide, 4000, 3000, 1000, -5});
    EXPECT_EQ(gl.Pixel(400, 300), kBlack);
    fenk.Call("Image", {kWide, 4000, 3000, 1000, 128});
    EXPECT_NEAR(Red(gl.Pixel(400, 300)), 128, 1);
}

TEST_F(EffectsTest, ImageNumbersOutsideTheTableDrawNothing) {
    GLContext gl(800, 600);
    Start(gl);
    for (int image : {-1, 6, 100, 511, 512, 1 << 30}) {
        EXPECT_EQ(fenk.Call("Image", {image, 4000, 3000, 1000, 256}), 1) << image;
        EXPECT_EQ(fenk.Call("Background", {image}), 1) << image;
        EXPECT_EQ(gl.Pixel(400, 300), kBlack) << image;
        EXPECT_EQ(gl.Pixel(5, 5), kBlack) << image;
    }
}

TEST_F(EffectsTest, PixelTwinsAreFoundOnlyUnderTheirDecoratedNames) {
    GLContext gl(800, 600);
    Start(gl);
    EXPECT_EQ(fenk.Find("ImageAbs"), nullptr);
    EXPECT_EQ(fenk.Find("PrintNrAbs"), nullptr);
    auto imageAbs = fenk.Get<int (*)(long, long, long, long, long)>("_Z8ImageAbslllll");
    auto printNrAbs = fenk.Get<int (*)(long, double, double)>("_Z10PrintNrAbsldd");
    ASSERT_NE(imageAbs, nullptr);
    ASSERT_NE(printNrAbs, nullptr);
    EXPECT_EQ(imageAbs(kWide, 200, 100, 1000, 256), 1);
    EXPECT_EQ(gl.Pixel(150, 70), kWhite);
    EXPECT_EQ(gl.Pixel(149, 70), kBlack);
    EXPECT_EQ(printNrAbs(4, 600.7, 500.2), 1);
    EXPECT_EQ(gl.Pixel(608, 508), Cell('4' - 32));
}

TEST_F(EffectsTest, BackgroundStretchesTheWholeImageOverTheView) {
    GLContext gl(800, 600);
    Start(gl);
    EXPECT_EQ(fenk.Call("Background", {kHalves}), 1);
    EXPECT_EQ(gl.Pixel(10, 10), kRed);
    EXPECT_EQ(gl.Pixel(790, 290), kRed);
    EXPECT_EQ(gl.Pixel(790, 590), kBlue); // no padding shows at the far corner
    EXPECT_EQ(gl.Pixel(10, 310), kBlue);
}

TEST_F(EffectsTest, BackgroundFadeBlendsByItsOpacity) {
    GLContext gl(800, 600);
    Start(gl);
    fenk.Call("BackgroundFade", {kWide, 0});
    EXPECT_EQ(gl.Pixel(400, 300), kBlack);
    fenk.Call("BackgroundFade", {kWide, 64});
    EXPECT_NEAR(Red(gl.Pixel(400, 300)), 64, 1);
    fenk.Call("BackgroundFade", {kWide, 1000});
    EXPECT_EQ(gl.Pixel(400, 300), kWhite);
}

TEST_F(EffectsTest, BackgroundColorFillsTheViewAndRestoresTheClearColour) {
    GLContext gl(800, 600);
    Start(gl);
    const OGLState::Values before = gl.state()->values();
    EXPECT_EQ(fenk.Call("BackgroundColor", {10, 200, 30}), 1);
    EXPECT_EQ(gl.Pixel(0, 0), 0xFF0AC81Eu);
    EXPECT_EQ(gl.Pixel(799, 599), 0xFF0AC81Eu);
    for (int i = 0; i < 4; i++)
        EXPECT_EQ(gl.state()->values().bgColor[i], before.bgColor[i]);
    EXPECT_EQ(fenk.Call("Clear", {}), 1);
    GLfloat clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_FLOAT_EQ(clear[1], before.bgColor[1] / 255.0f);
    EXPECT_EQ(gl.Pixel(0, 0) & 0xFFFFFF, (uint32_t)before.bgColor[1] << 16);
}

TEST_F(EffectsTest, EffectsLeaveTheGlStateAsTheyFoundIt) {
    GLContext gl(800, 600);
    Start(gl);
    const OGLState::Values before = gl.state()->values();
    fenk.Call("Image", {kWide, 4000, 3000, 1000, 256});
    fenk.Call("Background", {kHalves});
    fenk.Call("DebugGrid", {});
    fenk.Call("PrintNr", {42, 10, 10});
    fenk.Call("Animate", {0, 4000, 3000, 1000, 256, 150});
    const OGLState::Values& after = gl.state()->values();
    EXPECT_EQ(after.blend, before.blend);
    EXPECT_EQ(after.blendSource, before.blendSource);
    EXPECT_EQ(after.blendDestination, before.blendDestination);
    EXPECT_EQ(after.texture2D, before.texture2D);
    EXPECT_EQ(after.textureUsed, before.textureUsed);
    EXPECT_EQ(after.depth, before.depth);
    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1);
}

TEST_F(EffectsTest, DebugGridDraws80VerticalAnd60HorizontalLinesInAn800x600View) {
    GLContext gl(800, 600);
    Start(gl);
    std::vector<GLfloat> buffer(20000);
    glFeedbackBuffer((GLsizei)buffer.size(), GL_3D_COLOR, buffer.data());
    glRenderMode(GL_FEEDBACK);
    EXPECT_EQ(fenk.Call("DebugGrid", {}), 1);
    int values = glRenderMode(GL_RENDER);
    ASSERT_GT(values, 0);
    int vertical = 0, horizontal = 0, brightVertical = 0, brightHorizontal = 0;
    // Each line: token, then two vertices of x, y, z and r, g, b, a.
    for (int i = 0; i < values;) {
        GLfloat token = buffer[i];
        ASSERT_TRUE(token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) << token;
        const GLfloat* a = &buffer[i + 1];
        const GLfloat* b = &buffer[i + 8];
        bool bright = a[4] > 0.99f;
        EXPECT_FLOAT_EQ(a[6], 0.5f); // half transparent
        EXPECT_FLOAT_EQ(a[3], 0.0f);
        if (a[0] == b[0]) {
            vertical++;
            brightVertical += bright;
        } else {
            horizontal++;
            brightHorizontal += bright;
        }
        i += 15;
    }
    EXPECT_EQ(vertical, 80);
    EXPECT_EQ(horizontal, 60);
    EXPECT_EQ(brightVertical, 8);
    EXPECT_EQ(brightHorizontal, 6);
    // And on screen: a green line near column 100, none between lines.
    fenk.Call("DebugGrid", {});
    EXPECT_GT(Green(gl.Pixel(100, 55)) + Green(gl.Pixel(99, 55)), 0);
    EXPECT_EQ(Green(gl.Pixel(105, 55)), 0);
}

TEST_F(EffectsTest, PrintNrDrawsDigitsFromTheFontImage) {
    GLContext gl(800, 600);
    Start(gl);
    EXPECT_EQ(fenk.Call("PrintNr", {-305, 100, 50}), 1);
    EXPECT_EQ(gl.Pixel(108, 58), Cell('-' - 32));
    EXPECT_EQ(gl.Pixel(113 + 8, 58), Cell('3' - 32));
    EXPECT_EQ(gl.Pixel(126 + 8, 58), Cell('0' - 32));
    EXPECT_EQ(gl.Pixel(139 + 8, 58), Cell('5' - 32));
    EXPECT_EQ(gl.Pixel(139 + 17, 58), kBlack);
}

TEST_F(EffectsTest, PrintNrPositionsScaleButGlyphsStay16Pixels) {
    GLContext gl(1024, 768);
    Start(gl);
    fenk.Call("PrintNr", {1, 100, 100});
    // (100, 100) virtual units at k = 1.28 is pixel (128, 128).
    EXPECT_EQ(gl.Pixel(128, 128), Cell('1' - 32));
    EXPECT_EQ(gl.Pixel(143, 143), Cell('1' - 32));
    EXPECT_EQ(gl.Pixel(144, 136), kBlack);
    EXPECT_EQ(gl.Pixel(127, 136), kBlack);
}

TEST_F(EffectsTest, ShowFpsShowsZeroFirstThenTheCallsOfTheLastSecond) {
    GLContext gl(800, 600);
    Start(gl);
    fenk.Call("ShowFPS", {0, 0});
    EXPECT_EQ(gl.Pixel(8, 8), Cell('0' - 32));
    EXPECT_EQ(gl.Pixel(13 + 8, 8), kBlack);
    // Right after a second begins, call it 60 times; the next second shows 60.
    time_t start = time(nullptr);
    while (time(nullptr) == start) {
    }
    for (int i = 0; i < 60; i++)
        fenk.Call("ShowFPS", {0, 100});
    start = time(nullptr);
    while (time(nullptr) == start) {
    }
    GLContext::ClearTo(0, 0, 0, 1);
    fenk.Call("ShowFPS", {0, 0});
    EXPECT_EQ(gl.Pixel(8, 8), Cell('6' - 32));
    EXPECT_EQ(gl.Pixel(13 + 8, 8), Cell('0' - 32));
}

// Once the renderer gives frame times, ShowFPS counts frames per demo second,
// however often it is called and however fast the frames come.
TEST_F(EffectsTest, ShowFpsInARenderShowsTheFramesOfTheLastDemoSecond) {
    GLContext gl(800, 600);
    Start(gl);
    auto setRenderTime = fenk.Get<int (*)(int32_t)>("Vorlen_SetRenderTime");
    ASSERT_NE(setRenderTime, nullptr);
    auto frame = [&](int32_t t, int calls) {
        EXPECT_EQ(setRenderTime(t), 1);
        GLContext::ClearTo(0, 0, 0, 1);
        for (int i = 0; i < calls; i++)
            fenk.Call("ShowFPS", {0, 0});
    };
    // 25 frames a second from time 5000: the first second shows 0.
    for (int32_t t = 5000; t < 6000; t += 40) {
        frame(t, 3);
        EXPECT_EQ(gl.Pixel(8, 8), Cell('0' - 32)) << t;
        EXPECT_EQ(gl.Pixel(13 + 8, 8), kBlack) << t;
    }
    // Second 6 shows the 25 frames of second 5, on every frame of it.
    for (int32_t t = 6000; t < 6400; t += 100) {
        frame(t, 1);
        EXPECT_EQ(gl.Pixel(8, 8), Cell('2' - 32)) << t;
        EXPECT_EQ(gl.Pixel(13 + 8, 8), Cell('5' - 32)) << t;
    }
    // A frame with no ShowFPS call still counts: second 6 had 5 frames.
    setRenderTime(6500);
    frame(7000, 1);
    EXPECT_EQ(gl.Pixel(8, 8), Cell('5' - 32));
    EXPECT_EQ(gl.Pixel(13 + 8, 8), kBlack);
    // Times past 2^31 ms arrive negative and still count forwards.
    frame((int32_t)3000000000u, 1);
    EXPECT_EQ(gl.Pixel(8, 8), Cell('1' - 32));
    frame((int32_t)3000001000u, 1);
    EXPECT_EQ(gl.Pixel(8, 8), Cell('1' - 32));
    EXPECT_EQ(gl.Pixel(13 + 8, 8), kBlack);
}

TEST_F(EffectsTest, AnimateShowsEachFrameForItsDurationAndLoops) {
    GLContext gl(800, 600);
    Start(gl);
    struct {
        int time;
        uint32_t colour;
    } cases[] = {{0, kRed}, {99, kRed}, {100, kBlue}, {199, kBlue}, {200, kRed}, {-50, kRed}};
    for (const auto& c : cases) {
        GLContext::ClearTo(0, 0, 0, 1);
        EXPECT_EQ(fenk.Call("Animate", {0, 4000, 3000, 1000, 256, c.time}), 1);
        EXPECT_EQ(gl.Pixel(400, 300), c.colour) << c.time;
        EXPECT_EQ(gl.Pixel(411, 300), kBlack) << c.time; // 20 x 20 at its pixel size
    }
}

TEST_F(EffectsTest, AnimateWithAnUnknownAnimationDrawsNothing) {
    GLContext gl(800, 600);
    Start(gl);
    for (int animation : {-1, 1, 255, 256, 100000}) {
        EXPECT_EQ(fenk.Call("Animate", {animation, 4000, 3000, 1000, 256, 0}), 1);
        EXPECT_EQ(gl.Pixel(400, 300), kBlack);
    }
}
