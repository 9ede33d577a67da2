// DisplayText as a user sees it: text of the text list drawn by the built
// libFenk.so at its position, size, angle, opacity and colour.
#include <fstream>
#include <string>

#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include "fenk_plugin.h"
#include "font.h"
#include "gl_context.h"
#include "scratch_dir.h"
#include "test_images.h"

namespace {
const char* const kSerif = "/usr/share/fonts/truetype/freefont/FreeSerif.ttf";
const uint32_t kBlack = 0xFF000000;

struct Box {
    double left, top, right, bottom;
    int cx() const { return (int)((left + right) / 2); }
    int cy() const { return (int)((top + bottom) / 2); }
};

class TextDisplayTest : public ::testing::Test {
  protected:
    GLContext gl{800, 600};
    ScratchDir dir{true};
    FenkPlugin fenk;
    Font* reference = nullptr;

    void SetUp() override {
        ASSERT_TRUE(fenk.loaded());
        WriteFenkData("");
        // Text 0 is a single I; text 1 is "I I" with a trailing line feed.
        std::ofstream("TextList.txt") << "1\n" << kSerif << "\n3\nI\nI I\nII\n";
        ASSERT_EQ(fenk.Init(), 1);
        SDL_GL_SwapBuffers();
        GLContext::ClearTo(0, 0, 0, 1);
        reference = new Font(kSerif, 31); // the same metrics the plug-in uses
    }
    void TearDown() override { delete reference; }

    // Where the glyph c lands when the text starts at (x, y) at size 1000 with
    // `pen` font pixels before it.
    Box GlyphBox(unsigned char c, double x, double y, double pen = 0) const {
        const GlyphMetrics& m = reference->metrics();
        double left = x + pen + m.bearingX[c];
        double top = y + 2.0 * 31 / 3.0 - m.bearingY[c];
        return {left, top, left + m.width[c], top + m.height[c]};
    }
    int Call(std::initializer_list<int> args) { return fenk.Call("DisplayText", args); }
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
} // namespace

TEST_F(TextDisplayTest, TextStartsAtItsPositionAtTheFontsOwnSize) {
    EXPECT_EQ(Call({4000, 3000, 0, 1000, 255, 0, 0, 255, 255, 255}), 1);
    Box box = GlyphBox('I', 400, 300);
    ASSERT_GT(box.bottom - box.top, 15); // a tall stem
    uint32_t stem = gl.Pixel(box.cx(), box.cy());
    EXPECT_GT(Red(stem), 200);
    EXPECT_GT(Green(stem), 200);
    EXPECT_GT(Blue(stem), 200);
    EXPECT_EQ(gl.Pixel(box.cx(), (int)box.top - 2), kBlack);
    EXPECT_EQ(gl.Pixel(box.cx(), (int)box.bottom + 2), kBlack);
    EXPECT_EQ(gl.Pixel((int)box.left - 2, box.cy()), kBlack);
    EXPECT_EQ(gl.Pixel((int)box.right + 2, box.cy()), kBlack);
}

TEST_F(TextDisplayTest, SizeScalesAboutTheStartingPoint) {
    Call({4000, 3000, 0, 2000, 255, 0, 0, 255, 255, 255});
    Box box = GlyphBox('I', 0, 0);
    int cx = 400 + (int)(box.left + box.right), cy = 300 + (int)(box.top + box.bottom);
    EXPECT_GT(Red(gl.Pixel(cx, cy)), 200);
    EXPECT_GT(Red(gl.Pixel(cx, 300 + (int)(2 * box.bottom) - 3)), 200);
    EXPECT_EQ(gl.Pixel(cx, 300 + (int)(2 * box.bottom) + 3), kBlack);
}

TEST_F(TextDisplayTest, Angle900TurnsTheTextAboutItsStart) {
    Call({4000, 3000, 900, 1000, 255, 0, 0, 255, 255, 255});
    Box box = GlyphBox('I', 0, 0);
    // A turn by 90 degrees with y downwards takes (dx, dy) to (-dy, dx).
    int x = 400 - (int)((box.top + box.bottom) / 2), y = 300 + (int)((box.left + box.right) / 2);
    EXPECT_GT(Red(gl.Pixel(x, y)), 200);
    EXPECT_EQ(gl.Pixel(400 + GlyphBox('I', 0, 0).cx(), 300 + GlyphBox('I', 0, 0).cy()), kBlack);
}

TEST_F(TextDisplayTest, ColourUsesTheLowByteOfEachComponent) {
    Call({4000, 3000, 0, 1000, 255, 0, 0, 255, 0, 0});
    Box box = GlyphBox('I', 400, 300);
    uint32_t p = gl.Pixel(box.cx(), box.cy());
    EXPECT_GT(Red(p), 200);
    EXPECT_EQ(Green(p), 0);
    EXPECT_EQ(Blue(p), 0);
    GLContext::ClearTo(0, 0, 0, 1);
    Call({4000, 3000, 0, 1000, 255, 0, 0, 256, 511, 0});
    p = gl.Pixel(box.cx(), box.cy());
    EXPECT_EQ(Red(p), 0);
    EXPECT_GT(Green(p), 200);
}

TEST_F(TextDisplayTest, OpacityIsClampedTo0Through255) {
    Box box = GlyphBox('I', 400, 300);
    Call({4000, 3000, 0, 1000, 300, 0, 0, 255, 255, 255});
    uint32_t opaque = gl.Pixel(box.cx(), box.cy());
    EXPECT_GT(Red(opaque), 200);
    GLContext::ClearTo(0, 0, 0, 1);
    Call({4000, 3000, 0, 1000, -5, 0, 0, 255, 255, 255});
    EXPECT_EQ(gl.Pixel(box.cx(), box.cy()), kBlack);
    Call({4000, 3000, 0, 1000, 128, 0, 0, 255, 255, 255});
    EXPECT_NEAR(Red(gl.Pixel(box.cx(), box.cy())), Red(opaque) * 128 / 255, 3);
}

TEST_F(TextDisplayTest, SpacesAdvanceThePenButDrawNothing) {
    Call({4000, 3000, 0, 1000, 255, 1, 0, 255, 255, 255});
    double afterSpace = (reference->metrics().advance['I'] + reference->metrics().advance[' ']) / 65536.0;
    Box first = GlyphBox('I', 400, 300), second = GlyphBox('I', 400, 300, afterSpace);
    EXPECT_GT(Red(gl.Pixel(first.cx(), first.cy())), 200);
    EXPECT_GT(Red(gl.Pixel(second.cx(), second.cy())), 200);
    EXPECT_EQ(gl.Pixel((int)((first.right + second.left) / 2), first.cy()), kBlack);
}

TEST_F(TextDisplayTest, MissingTextOrFontDrawsNothing) {
    for (auto args : {std::initializer_list<int>{4000, 3000, 0, 1000, 255, -1, 0, 255, 255, 255},
                      std::initializer_list<int>{4000, 3000, 0, 1000, 255, 3, 0, 255, 255, 255},
                      std::initializer_list<int>{4000, 3000, 0, 1000, 255, 0, -1, 255, 255, 255},
                      std::initializer_list<int>{4000, 3000, 0, 1000, 255, 0, 1, 255, 255, 255}}) {
        EXPECT_EQ(Call(args), 1);
    }
    Box box = GlyphBox('I', 400, 300);
    EXPECT_EQ(gl.Pixel(box.cx(), box.cy()), kBlack);
}

TEST_F(TextDisplayTest, PixelTwinTakesPixelsAndIsNotFoundByItsPlainName) {
    EXPECT_EQ(fenk.Find("DisplayTextAbs"), nullptr);
    auto twin = fenk.Get<int (*)(double, double, double, double, long, long, long, long, long, long)>(
        "_Z14DisplayTextAbsddddllllll");
    ASSERT_NE(twin, nullptr);
    EXPECT_EQ(twin(200.0, 100.0, 0.0, 1000.0, 255, 0, 0, 0, 0, 255), 1);
    Box box = GlyphBox('I', 200, 100);
    EXPECT_GT(Blue(gl.Pixel(box.cx(), box.cy())), 200);
}

TEST_F(TextDisplayTest, InitAgainReloadsTheTextList) {
    std::ofstream("TextList.txt") << "0\n1\nI\n";
    ASSERT_EQ(fenk.Init(), 1);
    Call({4000, 3000, 0, 1000, 255, 0, 0, 255, 255, 255}); // font 0 is gone
    Box box = GlyphBox('I', 400, 300);
    EXPECT_EQ(gl.Pixel(box.cx(), box.cy()), kBlack);
}
