// Drawing text: pixels read back under the interface's y-down orthographic
// projection, compared with FreeType's own coverage of each glyph.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cstdlib>
#include <vector>

#include "font.h"
#include "font_reference.h"
#include "gl_context.h"
#include "oglstate.h"

namespace {

const int kW = 640, kH = 480;

class FontDraw : public testing::Test {
  protected:
    GLContext ctx{kW, kH};
    Font font{FREESERIF_PATH, 14};
    std::vector<uint32_t> window; // 0xAARRGGBB, row 0 at the top

    void SetUp() override {
        OGLState::PushProjection(0, kW, kH, 0, -1, 1, true);
        GLContext::ClearTo(0, 0, 0, 0);
    }
    void TearDown() override { OGLState::PopProjection(); }

    void ReadWindow() {
        std::vector<unsigned char> rgba((size_t)kW * kH * 4);
        glFinish();
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
        glReadPixels(0, 0, kW, kH, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        window.assign((size_t)kW * kH, 0);
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) {
                const unsigned char* p = &rgba[((size_t)(kH - 1 - y) * kW + x) * 4];
                window[(size_t)y * kW + x] =
                    (uint32_t)p[3] << 24 | (uint32_t)p[0] << 16 | (uint32_t)p[1] << 8 | p[2];
            }
    }
    uint32_t At(int x, int y) const { return window[(size_t)y * kW + x]; }

    // Where drawChar puts the glyph's bitmap for a pen at (penX, lineTop).
    struct Rect {
        int left, top, width, height;
        bool contains(int x, int y) const {
            return x >= left && x < left + width && y >= top && y < top + height;
        }
    };
    Rect GlyphRect(unsigned char c, int penX, int lineTop) const {
        const GlyphMetrics& m = font.metrics();
        return {penX + m.bearingX[c], lineTop + 2 * 14 / 3 - m.bearingY[c], m.width[c], m.height[c]};
    }

    // White text on black: every pixel of the glyph's rectangle shows its coverage.
    void ExpectGlyphDrawn(unsigned char c, const Rect& r) {
        ReferenceGlyph g = LoadReferenceGlyph(FREESERIF_PATH, 14, c);
        ASSERT_TRUE(g.loaded);
        ASSERT_EQ(g.width, r.width);
        ASSERT_EQ(g.height, r.height);
        int lit = 0;
        for (int y = 0; y < r.height; ++y)
            for (int x = 0; x < r.width; ++x) {
                int red = (int)(At(r.left + x, r.top + y) >> 16 & 0xFF);
                ASSERT_NEAR(red, (int)g.at(x, y), 3) << "char " << (int)c << " at " << x << "," << y;
                lit += g.at(x, y) > 0;
            }
        EXPECT_GT(lit, 0);
    }

    // Nothing lit in the box outside the given rectangles.
    int LitOutside(int x0, int y0, int x1, int y1, const std::vector<Rect>& glyphs) const {
        int lit = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) {
                bool inside = false;
                for (const Rect& r : glyphs)
                    inside |= r.contains(x, y);
                if (!inside && (At(x, y) & 0xFFFFFF)) ++lit;
            }
        return lit;
    }
};

} // namespace

TEST_F(FontDraw, SkippedSpaceStillAdvancesThePen) {
    font.drawText(100, 100, "a b", 0xFFFFFFFF, true, 0.0f);
    ReadWindow();
    const GlyphMetrics& m = font.metrics();
    int pen = 100 * 64 + (m.advance['a'] >> 10) + (m.advance[' '] >> 10);
    Rect a = GlyphRect('a', 100, 100), b = GlyphRect('b', pen >> 6, 100);
    ExpectGlyphDrawn('a', a);
    ExpectGlyphDrawn('b', b);
    EXPECT_GT(b.left, a.left + a.width);
    EXPECT_EQ(LitOutside(80, 80, 160, 140, {a, b}), 0);
}

TEST_F(FontDraw, SkippedTabDrawsNothingOfItsOwn) {
    // The tab has no character of its own in the font, so it would show the
    // font's missing-glyph box if it were drawn.
    const GlyphMetrics& m = font.metrics();
    ASSERT_GT(m.width['\t'] * m.height['\t'], 0);
    font.drawText(100, 100, "a\tb", 0xFFFFFFFF, true, 0.0f);
    ReadWindow();
    int pen = 100 * 64 + (m.advance['a'] >> 10) + (m.advance['\t'] >> 10);
    Rect a = GlyphRect('a', 100, 100), b = GlyphRect('b', pen >> 6, 100);
    ExpectGlyphDrawn('a', a);
    ExpectGlyphDrawn('b', b);
    EXPECT_EQ(LitOutside(80, 80, 180, 140, {a, b}), 0);
}

TEST_F(FontDraw, WhitespaceIsDrawnWhenNotSkipped) {
    const GlyphMetrics& m = font.metrics();
    ASSERT_GT(m.width['\t'] * m.height['\t'], 0);
    font.drawText(100, 100, "a\tb", 0xFFFFFFFF, false, 0.0f);
    ReadWindow();
    int tabPen = 100 * 64 + (m.advance['a'] >> 10);
    int bPen = tabPen + (m.advance['\t'] >> 10);
    Rect a = GlyphRect('a', 100, 100), tab = GlyphRect('\t', tabPen >> 6, 100);
    Rect b = GlyphRect('b', bPen >> 6, 100);
    EXPECT_GT(LitOutside(80, 80, 180, 140, {a, b}), 0);
    EXPECT_EQ(LitOutside(80, 80, 180, 140, {a, tab, b}), 0);
}

TEST_F(FontDraw, LineFeedIsNeitherDrawnNorObeyed) {
    font.drawText(100, 100, "a\nb", 0xFFFFFFFF, true, 0.0f);
    ReadWindow();
    const GlyphMetrics& m = font.metrics();
    int pen = 100 * 64 + (m.advance['a'] >> 10) + (m.advance['\n'] >> 10);
    Rect a = GlyphRect('a', 100, 100), b = GlyphRect('b', pen >> 6, 100);
    ExpectGlyphDrawn('a', a);
    ExpectGlyphDrawn('b', b);
    // Nothing on the next line, nothing anywhere else.
    EXPECT_EQ(LitOutside(0, 0, kW, kH, {a, b}), 0);
}

TEST_F(FontDraw, CharacterAbove127DrawsItsOwnGlyph) {
    font.drawText(200, 50, "\xE9", 0xFFFFFFFF, true, 0.0f);
    ReadWindow();
    Rect e = GlyphRect(0xE9, 200, 50);
    ExpectGlyphDrawn(0xE9, e);
    EXPECT_EQ(LitOutside(180, 30, 240, 90, {e}), 0);
}

TEST_F(FontDraw, ColourTintsTheCoverage) {
    ReferenceGlyph g = LoadReferenceGlyph(FREESERIF_PATH, 14, 'l');
    ASSERT_TRUE(g.loaded);
    int fx = 0, fy = 0;
    for (int y = 0; y < g.height; ++y)
        for (int x = 0; x < g.width; ++x)
            if (g.at(x, y) > g.at(fx, fy)) fx = x, fy = y;
    double coverage = g.at(fx, fy) / 255.0;
    ASSERT_GT(coverage, 0.8);
    font.drawChar(300, 200, 'l', 0xFF3366CC, 0.0f);
    font.drawChar(400, 200, 'l', 0x80FFFFFF, 0.0f);
    ReadWindow();
    Rect opaque = GlyphRect('l', 300, 200), half = GlyphRect('l', 400, 200);
    uint32_t p = At(opaque.left + fx, opaque.top + fy);
    EXPECT_NEAR((int)(p >> 16 & 0xFF), 0x33 * coverage, 2);
    EXPECT_NEAR((int)(p >> 8 & 0xFF), 0x66 * coverage, 2);
    EXPECT_NEAR((int)(p & 0xFF), 0xCC * coverage, 2);
    uint32_t q = At(half.left + fx, half.top + fy);
    EXPECT_NEAR((int)(q >> 16 & 0xFF), 0x80 * coverage, 2);
    EXPECT_NEAR((int)(q & 0xFF), 0x80 * coverage, 2);
}

TEST_F(FontDraw, BaselineSitsTwoThirdsOfThePixelSizeBelowTheTop) {
    // 14 x 2 / 3 = 9: the baseline of a line drawn at row 100 is row 109, and
    // the glyph's top row is its bearing above that.
    ReferenceGlyph g = LoadReferenceGlyph(FREESERIF_PATH, 14, 'l');
    ASSERT_TRUE(g.loaded);
    font.drawChar(100, 100, 'l', 0xFFFFFFFF, 0.0f);
    ReadWindow();
    int firstLit = -1, lastLit = -1;
    for (int y = 80; y < 130; ++y)
        for (int x = 95; x < 115; ++x)
            if (At(x, y) & 0xFFFFFF) {
                if (firstLit < 0) firstLit = y;
                lastLit = y;
            }
    EXPECT_EQ(firstLit, 109 - g.top);
    EXPECT_EQ(lastLit, 109 - g.top + g.height - 1);
}

TEST_F(FontDraw, DrawingLeavesTheGlStateAsItWas) {
    OGLState::Values before = ctx.state()->values();
    font.drawText(10, 10, "Trellic", 0xFFFFFFFF, true, 0.0f);
    OGLState::Values after = ctx.state()->values();
    EXPECT_EQ(after.blend, before.blend);
    EXPECT_EQ(after.blendSource, before.blendSource);
    EXPECT_EQ(after.blendDestination, before.blendDestination);
    EXPECT_EQ(after.texture2D, before.texture2D);
    EXPECT_EQ(after.textureUsed, before.textureUsed);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    GLint bound = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ((unsigned)bound, before.textureUsed);
}

TEST_F(FontDraw, NullOrEmptyTextDrawsNothing) {
    font.drawText(100, 100, nullptr, 0xFFFFFFFF, true, 0.0f);
    font.drawText(100, 100, "", 0xFFFFFFFF, true, 0.0f);
    ReadWindow();
    EXPECT_EQ(LitOutside(0, 0, kW, kH, {}), 0);
}
