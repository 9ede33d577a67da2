// The example demo in examples/ plays out of the box: its file loads, binds to
// libFenk.so by its bare name, initialises from its lists and draws every
// effect it uses.
#include <cstdlib>
#include <string>

#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include "demo.h"
#include "engine.h"
#include "gl_context.h"
#include "scratch_dir.h"
#include "sdl_config.h"

namespace {
int Brightness(uint32_t p) {
    return (p >> 16 & 0xFF) + (p >> 8 & 0xFF) + (p & 0xFF);
}

class ExampleDemoTest : public ::testing::Test {
  protected:
    GLContext gl{800, 600};
    ScratchDir dir{true};
    DemoStruct demo = {};

    void SetUp() override {
        // A copy, so the test never writes into the source tree.
        std::string copy = "cp -r '" TRELLIC_SOURCE_DIR "/examples/.' . && cp "
                           "/usr/share/fonts/truetype/freefont/FreeSerif.ttf .";
        ASSERT_EQ(system(copy.c_str()), 0);
        LoadDemoFile("Fenk.xml", demo, true);
        ASSERT_EQ(BindLibraries(demo), 0);
        ASSERT_EQ(MatchEvents(demo), 0);
        SDL_Config config;
        SDL_Config_DefaultConfig(&config);
        ASSERT_EQ(CreateSurfaces(demo, config, nullptr), 0);
        ASSERT_EQ(InitLibraries(demo), 0);
    }
    void TearDown() override { ReleaseDemo(demo); }
};
} // namespace

TEST_F(ExampleDemoTest, EveryFrameOfTheDemoDrawsWithoutError) {
    EXPECT_EQ(demo.runningTime, 16000u);
    EXPECT_STREQ(demo.inputMusicFile, "data/tune.ogg");
    for (uint32_t t = 0; t < demo.runningTime; t += 250)
        EXPECT_TRUE(RenderFrame(demo, t)) << t;
}

TEST_F(ExampleDemoTest, ThePlasmaBackgroundFillsTheViewInTheMiddleSection) {
    ASSERT_TRUE(RenderFrame(demo, 6000));
    EXPECT_GT(Brightness(gl.Pixel(20, 300)), 60);
    EXPECT_GT(Brightness(gl.Pixel(780, 300)), 60);
}

TEST_F(ExampleDemoTest, TheDebugGridShowsWhileTheBackgroundFadesOut) {
    ASSERT_TRUE(RenderFrame(demo, 12900));
    int green = 0;
    for (int x = 0; x < 200; x++) {
        uint32_t p = gl.Pixel(x, 595);
        if ((p >> 8 & 0xFF) > 2 * (p >> 16 & 0xFF) + 20) green++;
    }
    EXPECT_GE(green, 10);
}

TEST_F(ExampleDemoTest, TheTimeIsPrintedInTheLowerRightCorner) {
    ASSERT_TRUE(RenderFrame(demo, 8000));
    // PrintNr at (680, 570) virtual units shows the number 8000: its first
    // glyph cell starts there.
    int lit = 0;
    for (int y = 570; y < 586; y++)
        for (int x = 680; x < 680 + 4 * 13; x++)
            lit += Brightness(gl.Pixel(x, y)) > 300;
    EXPECT_GT(lit, 20);
}
