// DrawStrokes against stroke pictures worked out by hand. This program replaces
// the C library's rand() with a scripted sequence, so each test fixes every
// random choice and checks that exactly the expected calls were made.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "pixel_ops.h"

namespace {
std::vector<int> gScript;
size_t gCalls = 0;
uint32_t gFallback = 1; // once the script is used up: a small LCG, or zeros
bool gZerosAfterScript = false;

void Script(std::vector<int> values, bool zerosAfter = false) {
    gScript = std::move(values);
    gCalls = 0;
    gFallback = 1;
    gZerosAfterScript = zerosAfter;
}
} // namespace

int rand() noexcept {
    size_t i = gCalls++;
    if (i < gScript.size()) return gScript[i];
    if (gZerosAfterScript) return 0;
    gFallback = gFallback * 1103515245u + 12345u;
    return (int)(gFallback >> 1 & 0x7FFFFFFF);
}

namespace {

const uint32_t kWhite = 0xFFFFFFFFu;
// JitterColour of white: 127 * 320 >> 8 = 158 in every byte, plus the noise.
uint32_t Jittered(int noise) {
    return (uint32_t)(158 + noise) * 0x01010101u;
}

} // namespace

TEST(Strokes, OneRowOneStrokeEachWayInCallOrder) {
    const int w = 8, h = 1;
    std::vector<uint32_t> source(w * h, kWhite), glow(w * h, 0), out(w * h, 0xDEADBEEFu);
    // Horizontal: row 0, len 10 (cut to 8), noise 0, no side stroke, next len, no switch.
    // Vertical: column 3, len 10 (cut to 1), noise 10, rand() % 3 = 1 but len <= 4,
    // next len, no switch; column 8 ends it.
    Script({0, 0, 0, 0, 0, 1, 3, 0, 10, 1, 0, 1});
    DrawStrokes(out.data(), w, h, source.data(), glow.data());
    EXPECT_EQ(gCalls, 12u);
    for (int x = 0; x < w; x++)
        EXPECT_EQ(out[x], x == 3 ? Jittered(10) : Jittered(0)) << x;
}

TEST(Strokes, SideStrokeAndRowSwitch) {
    const int w = 10, h = 2;
    std::vector<uint32_t> source(w * h, kWhite), glow(w * h, 0), out(w * h);
    Script({
        0,                // row 0
        0, 0,             // len 10, noise 0: row 0 gets 158
        1, 4, 0, 1,       // side stroke: a = 4, n = 0 % 1 + 5 = 5, on row 1, half colour
        0, 0,             // next len 10; rand() % 16 == 0: switch
        0, 0,             // to row -1 (kept at 0), x back to 0, len 10
        5, 0,             // noise 5: row 0 again, now 163; no side stroke
        0, 1,             // next len, no switch; the row ends, row 5 ends the pass
        4, 0, 0, 1, 0, 1, // column 4: len 10 cut to 2, noise 0, %3 = 1 but len 2, len, no switch
        0, 0, 0, 0, 1,    // column 9: the same with %3 = 0
    });
    DrawStrokes(out.data(), w, h, source.data(), glow.data());
    EXPECT_EQ(gCalls, 26u);
    for (int x = 0; x < w; x++)
        EXPECT_EQ(out[x], Jittered(5)) << x;
    uint32_t half = (Jittered(0) >> 1) & 0x7F7F7F7Fu;
    for (int x = 0; x < w; x++) {
        uint32_t expected = x == 4 || x == 9 ? Jittered(0) : x >= 5 && x <= 8 ? half : 0u;
        EXPECT_EQ(out[w + x], expected) << x;
    }
}

TEST(Strokes, VerticalSideStrokeUsesAQuarterOnTheNextColumn) {
    const int w = 2, h = 10;
    std::vector<uint32_t> source(w * h, kWhite), glow(w * h, 0x05000000u), out(w * h);
    Script({
        0,              // row 0
        0, 0,  0, 0, 1, // row 0: len cut to 2, noise 0, no side, len, no switch
        0, 0,  0, 0, 1, // row 5: the same
        0,              // column 0
        0, 20,          // len 10, noise 20: column 0 gets 178
        2, 1,  3, 1,    // side: a = 1, n = 3 % 4 + 5 = 8, on column 1, rows 1..8
        0, 1,           // next len, no switch; column 5 ends the pass
    });
    DrawStrokes(out.data(), w, h, source.data(), glow.data());
    EXPECT_EQ(gCalls, 20u);
    uint32_t quarter = (Jittered(20) >> 2) & 0x3F3F3F3Fu;
    for (int y = 0; y < h; y++) {
        EXPECT_EQ(out[y * w], Jittered(20)) << y;
        uint32_t expected = y == 0 || y == 5 ? Jittered(0) : y == 9 ? 0x05000000u : quarter;
        EXPECT_EQ(out[y * w + 1], expected) << y;
    }
}

TEST(Strokes, GlowShowsWhereNoStrokeFallsAndStrokesOnlyRaiseChannels) {
    const int w = 3, h = 12;
    std::vector<uint32_t> source(w * h, 0xFF000000u), glow(w * h, 0x40404040u), out(w * h);
    // Rows 4 and 9, columns 4.. (none): black source jitters to a low colour.
    Script({4, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 4});
    DrawStrokes(out.data(), w, h, source.data(), glow.data());
    EXPECT_EQ(gCalls, 12u);
    for (int i = 0; i < w * h; i++) {
        int row = i / w;
        // Black jitters to alpha 158, colours 0: only the alpha byte rises.
        uint32_t expected = row == 4 || row == 9 ? 0x9E404040u : 0x40404040u;
        EXPECT_EQ(out[i], expected) << i;
    }
}

TEST(Strokes, StrokesStayInsideTheBufferForAnyChoices) {
    // Odd sizes with long runs of pseudo-random choices; the sanitizer build
    // checks every write, and out never drops below the glow.
    const int sizes[][2] = {{1, 1}, {1, 9}, {9, 1}, {2, 2}, {5, 3}, {13, 31}, {64, 7}};
    for (auto& s : sizes) {
        int w = s[0], h = s[1];
        std::vector<uint32_t> source(w * h), glow(w * h), out(w * h);
        for (int i = 0; i < w * h; i++) {
            source[i] = 0x01000193u * (uint32_t)(i + 1);
            glow[i] = 0x00050A0Fu * (uint32_t)(i % 7);
        }
        for (int seed = 0; seed < 20; seed++) {
            Script({});
            gFallback = (uint32_t)seed * 2654435761u;
            DrawStrokes(out.data(), w, h, source.data(), glow.data());
            for (int i = 0; i < w * h; i++)
                ASSERT_EQ(MaxChannels(out[i], glow[i]), out[i]);
        }
    }
}

TEST(Strokes, EndsEvenWhenRandKeepsSteppingBack) {
    // rand() == 0 every time asks for a row switch after every stroke, which
    // moves x back by as much as it advanced.
    const int w = 20, h = 6;
    std::vector<uint32_t> source(w * h, kWhite), glow(w * h, 0), out(w * h);
    Script({}, true);
    DrawStrokes(out.data(), w, h, source.data(), glow.data());
    EXPECT_GT(gCalls, 0u);
    EXPECT_EQ(out[0], Jittered(0));
}

TEST(Strokes, EmptyImageDrawsNothingAndAsksNothing) {
    std::vector<uint32_t> one(1, 7u);
    Script({});
    DrawStrokes(one.data(), 0, 5, one.data(), one.data());
    DrawStrokes(one.data(), 5, 0, one.data(), one.data());
    DrawStrokes(one.data(), -1, -1, one.data(), one.data());
    EXPECT_EQ(gCalls, 0u);
    EXPECT_EQ(one[0], 7u);
}
