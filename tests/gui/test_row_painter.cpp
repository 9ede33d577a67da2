// The row painter's strips read back from a real GL window: each strip's spans
// over its 12 pixel rows, the gaps and unpainted texels showing what was there
// before, whether the rows are drawn as one quad (an even pitch) or one each.
#include <gtest/gtest.h>

#include <vector>

#include "gl_context.h"
#include "gui.h"
#include "row_painter.h"

namespace {

const uint32_t kBlue = 0xFF0000FF, kRed = 0xFFFF0000, kGreen = 0xFF00FF00;

// Spans painted the same in every case: strip 0 red over texels 0..9, strip 1
// green over 5..14 with a black texel at 5, strip 2 (when there) red at 20..23.
void PaintStrips(RowPainter& painter, int strips) {
    painter.Begin(40, strips);
    painter.Fill(0, 0, 10, kRed);
    painter.Fill(1, 5, 10, kGreen);
    painter.Fill(1, 5, 1, 0);
    painter.Fill(2, 20, 4, kRed);
    painter.Fill(0, 38, 10, kGreen); // clipped at the strip's end: texels 38 and 39
}

// What each pixel of the strips' area must be, worked out from the spans.
uint32_t Expected(int x, int y, int left, const std::vector<int>& tops) {
    for (size_t i = 0; i < tops.size(); i++) {
        if (y < tops[i] || y >= tops[i] + RowPainter::kRowHeight) continue;
        const int t = x - left;
        if (i == 0 && t >= 0 && t < 10) return 0xFF0000;
        if (i == 0 && t >= 38 && t < 40) return 0x00FF00;
        if (i == 1 && t == 5) return 0x000000;
        if (i == 1 && t > 5 && t < 15) return 0x00FF00;
        if (i == 2 && t >= 20 && t < 24) return 0xFF0000;
    }
    return 0x0000FF; // never painted, a gap, or beyond the strips
}

class RowPainterDrawing : public ::testing::Test {
  protected:
    void SetUp() override {
        windowWidth = 640;
        windowHeight = 480;
        GLContext::ClearTo(0, 0, 1, 1);
    }
    // Every pixel of the rectangle around the strips against Expected.
    void CheckArea(int left, const std::vector<int>& tops) {
        int wrong = 0;
        for (int y = tops.front() - 3; y < tops.back() + RowPainter::kRowHeight + 3; y++)
            for (int x = left - 3; x < left + 43; x++)
                if ((gl.Pixel(x, y) & 0xFFFFFF) != Expected(x, y, left, tops) && wrong++ < 5)
                    ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << std::hex
                                  << (gl.Pixel(x, y) & 0xFFFFFF) << ", not " << Expected(x, y, left, tops);
        EXPECT_EQ(0, wrong);
    }
    void DrawStrips(int left, const std::vector<int>& tops) {
        struct Strips : Widget {
            Strips(int l, const std::vector<int>& t) : Widget(0, 0, 0, 0, nullptr, nullptr), left(l), tops(t) {}
            void draw() override {
                RowPainter painter;
                PaintStrips(painter, (int)tops.size());
                painter.Draw(left, tops);
            }
            int left;
            std::vector<int> tops;
        } strips(left, tops);
        drawInterface(&strips);
    }
    GLContext gl{640, 480};
};

} // namespace

TEST(RowPainterPitch, EvenOnlyWhenEveryStepIsTheSameAndNoStripOverlaps) {
    RowPainter painter;
    painter.Begin(10, 3);
    EXPECT_EQ(15, painter.EvenPitch({100, 115, 130}));
    EXPECT_EQ(12, painter.EvenPitch({100, 112, 124}));
    EXPECT_EQ(0, painter.EvenPitch({100, 115, 131})); // the last step differs
    EXPECT_EQ(0, painter.EvenPitch({100, 111, 122})); // strips would overlap
    EXPECT_EQ(0, painter.EvenPitch({100}));           // a single strip has no pitch
    EXPECT_EQ(0, painter.EvenPitch({100, 120, 7}));
    painter.Begin(10, 2); // only the tops of strips there count
    EXPECT_EQ(20, painter.EvenPitch({100, 120, 7}));
}

TEST_F(RowPainterDrawing, EvenRowsAsOneQuadKeepEveryPixelOfTheirStripsAndGaps) {
    DrawStrips(50, {100, 115, 130}); // the timeline's pitch: gaps of 3 pixel rows
    CheckArea(50, {100, 115, 130});
}

TEST_F(RowPainterDrawing, RowsOfAnotherEvenPitchAndUnevenRowsComeOutTheSame) {
    DrawStrips(60, {200, 217, 234}); // pitch 17: lines of one pixel row
    CheckArea(60, {200, 217, 234});
    GLContext::ClearTo(0, 0, 1, 1);
    DrawStrips(60, {300, 315, 333}); // uneven: a quad per strip
    CheckArea(60, {300, 315, 333});
    GLContext::ClearTo(0, 0, 1, 1);
    DrawStrips(60, {400}); // one strip
    CheckArea(60, {400});
}
