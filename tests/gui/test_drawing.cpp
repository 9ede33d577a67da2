// The drawing primitives and widget drawing, read back from a real GL window.
#include <gtest/gtest.h>

#include "gl_context.h"
#include "gui.h"
#include "oglstate.h"
#include "row_painter.h"
#include "text_batch.h"

#include <GL/gl.h>

#include <utility>

namespace {
class Drawing : public ::testing::Test {
  protected:
    void SetUp() override {
        windowWidth = 640;
        windowHeight = 480;
        GLContext::ClearTo(0, 0, 0, 1);
    }
    uint32_t Rgb(int x, int y) { return gl.Pixel(x, y) & 0xFFFFFF; }
    GLContext gl{640, 480};
};

// Draws one primitive through the interface pass.
class Painter : public Widget {
  public:
    explicit Painter(void (*paint)()) : Widget(0, 0, 0, 0, nullptr, nullptr), paintFn(paint) {}
    void draw() override { paintFn(); }
    void (*paintFn)();
};
} // namespace

TEST_F(Drawing, FillRectCoversItsInterior) {
    Painter p([] { fillRect(100, 100, 40, 20, 0xFF00FF00); });
    drawInterface(&p);
    EXPECT_EQ(Rgb(101, 101), 0x00FF00u);
    EXPECT_EQ(Rgb(138, 117), 0x00FF00u);
    EXPECT_EQ(Rgb(120, 110), 0x00FF00u);
    EXPECT_EQ(Rgb(145, 110), 0u);
    EXPECT_EQ(Rgb(120, 125), 0u);
    EXPECT_EQ(Rgb(95, 110), 0u);
}

TEST_F(Drawing, LinesLandOnTheirPixelRowAndColumn) {
    Painter p([] {
        drawHLine(10, 50, 100, 0xFFFF0000);
        drawVLine(300, 20, 100, 0xFF0000FF);
    });
    drawInterface(&p);
    EXPECT_EQ(Rgb(60, 50), 0xFF0000u);
    EXPECT_EQ(Rgb(60, 49), 0u);
    EXPECT_EQ(Rgb(60, 51), 0u);
    EXPECT_EQ(Rgb(300, 70), 0x0000FFu);
    EXPECT_EQ(Rgb(299, 70), 0u);
    EXPECT_EQ(Rgb(301, 70), 0u);
}

TEST_F(Drawing, DrawRectOutlinesWithoutFilling) {
    Painter p([] { drawRect(200, 200, 50, 30, 0xFFFFFFFF); });
    drawInterface(&p);
    EXPECT_EQ(Rgb(225, 200), 0xFFFFFFu);
    EXPECT_EQ(Rgb(200, 215), 0xFFFFFFu);
    EXPECT_EQ(Rgb(249, 215), 0xFFFFFFu);
    EXPECT_EQ(Rgb(225, 229), 0xFFFFFFu);
    EXPECT_EQ(Rgb(225, 215), 0u);
}

TEST_F(Drawing, FrameHasLightOuterEdgeRingAndFill) {
    Painter p([] { drawFrame(50, 300, 100, 60, 0xFF404080); });
    drawInterface(&p);
    EXPECT_EQ(Rgb(100, 300), 0x8080C0u); // light outer top edge: +64 per channel
    EXPECT_EQ(Rgb(100, 359), 0x000040u); // dark outer bottom edge: -64, at least 0
    EXPECT_EQ(Rgb(100, 301), 0x404080u); // the ring
    EXPECT_EQ(Rgb(100, 302), 0x000040u); // sunken inner top edge
    EXPECT_EQ(Rgb(100, 330), 0x404080u); // fill
}

TEST_F(Drawing, PointIsOnePixel) {
    Painter p([] { drawPoint(320, 240, 0xFFFFFF00); });
    drawInterface(&p);
    // The vertex sits on a pixel corner: exactly one of the four pixels around it is lit.
    int lit = 0;
    for (int dy = -1; dy <= 0; dy++)
        for (int dx = -1; dx <= 0; dx++)
            lit += Rgb(320 + dx, 240 + dy) == 0xFFFF00u;
    EXPECT_EQ(lit, 1);
    EXPECT_EQ(Rgb(322, 240), 0u);
}

TEST_F(Drawing, InterfacePassRestoresViewportAndColour) {
    OGLState::Values before = gl.state()->values();
    Painter p([] { fillRect(0, 0, 10, 10, 0xFF123456); });
    drawInterface(&p);
    OGLState::Values after = gl.state()->values();
    EXPECT_EQ(after.color, before.color);
    for (int i = 0; i < 4; i++)
        EXPECT_EQ(after.viewport[i], before.viewport[i]);
    EXPECT_EQ(after.projection.orthographic, before.projection.orthographic);
}

TEST_F(Drawing, ScrollKnobDrawsItsMarkerAtTheValue) {
    int value = 64;
    ScrollKnob knob(100, 100, 90, 0, 128, &value, true, nullptr);
    drawInterface(&knob);
    EXPECT_EQ(Rgb(100 + 1 + 45, 105), 0xFFFFFFu); // marker at p = 45
    EXPECT_EQ(Rgb(100 + 1 + 30, 105), 0u);        // inside the track, away from the marker
    EXPECT_EQ(Rgb(100 + 1 + 30, 101), 0xFFFFFFu); // the track's outline
}

TEST_F(Drawing, ScrollKnobWithEmptyRangeDrawsTheMarkerAtTheStart) {
    int value = 3;
    ScrollKnob knob(100, 100, 90, 3, 3, &value, true, nullptr);
    drawInterface(&knob);
    EXPECT_EQ(Rgb(101, 105), 0xFFFFFFu);
}

TEST_F(Drawing, ColourPickerShowsTheMixedColourAndBars) {
    int r = 255, g = 128, b = 0;
    ColourPicker picker(100, 100, &r, &g, &b);
    drawInterface(&picker);
    EXPECT_EQ(Rgb(100 + 280, 100 + 12), 0xFF8000u); // swatch
    // The green bar at i = 10 shows the current colour with green replaced by 10.
    EXPECT_EQ(Rgb(100 + 5 + 10, 100 + 11 + 2), 0xFF0A00u);
    // Marker of the red value 255: the white line at x + v + 5.
    EXPECT_EQ(Rgb(100 + 255 + 5, 100 + 2 + 2), 0xFFFFFFu);
}

// Rows painted into one texture and drawn as one quad: each strip covers its
// 12 pixel rows at its own top, later strips over earlier ones, and what the
// strips leave (the gaps, unpainted texels) shows what was drawn before.
TEST_F(Drawing, RowPainterStripsLandOnTheirRowsAndLeaveTheGaps) {
    Painter p([] {
        fillRect(0, 0, 640, 480, 0xFF0000FF); // blue underneath
        static RowPainter rows;
        rows.Begin(50, 3);
        rows.Fill(0, 0, 50, 0xFFFF0000);
        rows.Fill(1, 0, 50, 0xFF00FF00);
        rows.Fill(2, 10, 5, 0xFFFFFFFF); // the rest of strip 2 unpainted
        // Tops 15 apart and one 7 below the second: lines of a single pixel row.
        rows.Draw(100, {200, 215, 222});
    });
    drawInterface(&p);
    for (int y : {200, 211}) EXPECT_EQ(Rgb(120, y), 0xFF0000u) << y;
    for (int y : {199, 212, 214}) EXPECT_EQ(Rgb(120, y), 0x0000FFu) << y; // gaps
    for (int y : {215, 221, 226}) EXPECT_EQ(Rgb(120, y), 0x00FF00u) << y;
    EXPECT_EQ(Rgb(111, 222), 0xFFFFFFu); // strip 2 over strip 1
    EXPECT_EQ(Rgb(111, 233), 0xFFFFFFu);
    EXPECT_EQ(Rgb(111, 234), 0x0000FFu);
    EXPECT_EQ(Rgb(109, 226), 0x00FF00u); // unpainted texels of strip 2 show strip 1
    EXPECT_EQ(Rgb(109, 230), 0x0000FFu); // ... and below it the blue
    EXPECT_EQ(Rgb(99, 205), 0x0000FFu);  // columns left and right of the strips
    EXPECT_EQ(Rgb(150, 205), 0x0000FFu);
    EXPECT_EQ(Rgb(149, 205), 0xFF0000u);
}

// Texts held back during an interface pass still end up under whatever is
// drawn over them afterwards and over whatever was drawn before.
TEST_F(Drawing, HeldTextsAreDrawnBeforeWhatCoversThem) {
    static unsigned white = 0; // a one-texel atlas: opaque white
    glGenTextures(1, &white);
    glBindTexture(GL_TEXTURE_2D, white);
    const uint32_t texel = 0xFFFFFFFF;
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, &texel);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glBindTexture(GL_TEXTURE_2D, 0);
    Painter p([] {
        fillRect(0, 0, 640, 480, 0xFF0000FF); // blue, before the texts
        auto text = [](float x, float y, uint32_t colour) {
            const GlyphQuad q = {white, colour, x, y, x + 20, y + 10, 0, 0, 0, 1, 1};
            TextBatch::Add(&q, 1);
        };
        text(100, 100, 0xFF00FF00); // green, then half covered by red
        text(300, 100, 0xFFFFFF00); // yellow, nothing over it
        EXPECT_TRUE(TextBatch::Holding());
        fillRect(400, 200, 10, 10, 0xFFFF00FF); // far from both: they stay held
        EXPECT_EQ(TextBatch::FlushCount(), 0);
        fillRect(110, 95, 20, 20, 0xFFFF0000);
        EXPECT_EQ(TextBatch::FlushCount(), 1);
        text(500, 100, 0x80FFFFFF); // half-transparent white over the blue, drawn at the end
    });
    drawInterface(&p);
    EXPECT_FALSE(TextBatch::Holding());
    EXPECT_EQ(Rgb(105, 105), 0x00FF00u);
    EXPECT_EQ(Rgb(115, 105), 0xFF0000u); // the red covers the green text
    EXPECT_EQ(Rgb(310, 105), 0xFFFF00u);
    EXPECT_EQ(Rgb(405, 205), 0xFF00FFu);
    const uint32_t blended = Rgb(510, 105); // white at alpha 128 over blue
    EXPECT_NEAR((int)(blended >> 16), 128, 1);
    EXPECT_EQ(blended & 0xFF, 0xFFu);
    glDeleteTextures(1, &white);
}

// A fill around holes paints what fillRect paints outside them and leaves their
// insides alone (their edge pixels may go either way).
TEST_F(Drawing, FillAroundHolesLeavesTheirInsides) {
    Painter p([] {
        fillRect(0, 0, 640, 480, 0xFF0000FF);
        fillRectAround(100, 100, 200, 100, 0xFF00FF00,
                       {{120, 110, 40, 20}, {120, 150, 40, 20}, {200, 90, 50, 30}, {400, 100, 10, 10}});
    });
    drawInterface(&p);
    for (auto [x, y] : {std::pair{125, 115}, {155, 125}, {140, 160}, {220, 110}, {245, 115}})
        EXPECT_EQ(Rgb(x, y), 0x0000FFu) << x << "," << y; // inside a hole
    for (auto [x, y] : {std::pair{105, 105}, {140, 140}, {140, 180}, {170, 120}, {220, 130}, {290, 190}})
        EXPECT_EQ(Rgb(x, y), 0x00FF00u) << x << "," << y; // between and around them
    EXPECT_EQ(Rgb(350, 150), 0x0000FFu); // outside the fill
    EXPECT_EQ(Rgb(405, 105), 0x0000FFu); // a hole outside the fill paints nothing
}
