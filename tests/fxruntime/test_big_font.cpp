// The bitmap font: the cell font's display lists drawn by DrawBigText, and the
// glyph images of BigFont.txt measured and drawn by MeasureBigText and PrintChar.
#include <fstream>
#include <string>

#include <GL/glew.h>
#include <gtest/gtest.h>

#include "fxruntime_internal.h"
#include "gl_context.h"
#include "oglstate.h"
#include "scratch_dir.h"
#include "test_images.h"

namespace {
const uint32_t kBlack = 0xFF000000;

class BigFontTest : public ::testing::Test {
  protected:
    GLContext gl{800, 600};
    ScratchDir dir{true};
    void SetUp() override {
        ForgetBigFont();
        ReleaseTextures();
        WriteFenkData("");
    }
    void TearDown() override {
        ForgetBigFont();
        ReleaseTextures();
    }
    uint32_t Cell(int cell) const { return 0xFF000000 | CellColour(cell); }
};

std::string BuildMessage() {
    try {
        BuildBigFont();
    } catch (const BasicException& e) {
        return e.GetMessage();
    }
    return "(no exception)";
}
} // namespace

TEST_F(BigFontTest, DigitZeroDrawsCell16AtTheTopLeftCorner) {
    BuildBigFont();
    DrawBigText(0, 0, "0", 0);
    EXPECT_EQ(gl.Pixel(8, 8), Cell(16));
    EXPECT_EQ(gl.Pixel(0, 0), Cell(16));
    EXPECT_EQ(gl.Pixel(15, 15), Cell(16));
    EXPECT_EQ(gl.Pixel(16, 8), kBlack);
    EXPECT_EQ(gl.Pixel(8, 16), kBlack);
}

TEST_F(BigFontTest, CharactersAre13PixelsApartAndSpaceIsCell0) {
    BuildBigFont();
    DrawBigText(100, 40, "A 9", 0);
    EXPECT_EQ(gl.Pixel(100 + 6, 48), Cell('A' - 32));
    EXPECT_EQ(gl.Pixel(113 + 8, 48), Cell(0));
    EXPECT_EQ(gl.Pixel(126 + 8, 48), Cell('9' - 32));
    EXPECT_EQ(gl.Pixel(126 + 15, 55), Cell('9' - 32));
    EXPECT_EQ(gl.Pixel(99, 48), kBlack);
}

TEST_F(BigFontTest, SetOneUsesTheLowerHalfAndLargerSetsCountAsOne) {
    BuildBigFont();
    DrawBigText(0, 0, "0", 1);
    DrawBigText(0, 100, "0", 7);
    DrawBigText(0, 200, "0", -3);
    EXPECT_EQ(gl.Pixel(8, 8), Cell(128 + 16));
    EXPECT_EQ(gl.Pixel(8, 108), Cell(128 + 16));
    EXPECT_EQ(gl.Pixel(8, 208), Cell(16));
}

TEST_F(BigFontTest, CodesOutsideTheCellsTakeAPlaceButDrawNothing) {
    BuildBigFont();
    DrawBigText(0, 0,
                "\x01"
                "0",
                0);
    DrawBigText(0, 50,
                "\xF0"
                "0",
                1);
    EXPECT_EQ(gl.Pixel(6, 8), kBlack);
    EXPECT_EQ(gl.Pixel(13 + 8, 8), Cell(16));
    EXPECT_EQ(gl.Pixel(6, 58), kBlack);
    EXPECT_EQ(gl.Pixel(13 + 8, 58), Cell(128 + 16));
}

TEST_F(BigFontTest, GlyphsStay16PixelsWhateverTheViewSize) {
    GLContext big(1024, 768);
    BuildBigFont();
    DrawBigText(500, 300, "1", 0);
    EXPECT_EQ(big.Pixel(500, 300), Cell(17));
    EXPECT_EQ(big.Pixel(515, 315), Cell(17));
    EXPECT_EQ(big.Pixel(516, 308), kBlack);
}

TEST_F(BigFontTest, DrawingLeavesTheStateAndMatricesAsItFoundThem) {
    BuildBigFont();
    const OGLState::Values before = gl.state()->values();
    DrawBigText(0, 0, "123", 0);
    const OGLState::Values& after = gl.state()->values();
    EXPECT_EQ(after.texture2D, before.texture2D);
    EXPECT_EQ(after.depth, before.depth);
    EXPECT_EQ(after.textureUsed, before.textureUsed);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    EXPECT_FLOAT_EQ(m[12], 0.0f);
}

TEST_F(BigFontTest, NothingIsDrawnBeforeTheFontIsBuilt) {
    DrawBigText(0, 0, "0", 0);
    EXPECT_EQ(gl.Pixel(8, 8), kBlack);
}

TEST_F(BigFontTest, RebuildingReplacesTheDisplayListsAndReusesTheFontSlot) {
    BuildBigFont();
    int slot = BigFontSlot();
    BuildBigFont();
    EXPECT_EQ(BigFontSlot(), slot);
    EXPECT_EQ(FindTexture("data/font.bmp"), slot);
    EXPECT_EQ(TextureCount(), 2); // font image and the one glyph image
    DrawBigText(0, 0, "0", 0);
    EXPECT_EQ(gl.Pixel(8, 8), Cell(16));
}

TEST_F(BigFontTest, MissingGlyphListRaisesTheBigFontMessage) {
    remove("BigFont.txt");
    EXPECT_EQ(BuildMessage(), "An error occurred while loading the big font!");
}

TEST_F(BigFontTest, GlyphImageThatFailsRaisesTheBigFontMessage) {
    std::ofstream("BigFont.txt") << "data/glyph.bmp A\nmissing.bmp B\n";
    EXPECT_EQ(BuildMessage(), "An error occurred while loading the big font!");
}

TEST_F(BigFontTest, MissingFontImageRaisesTheTableError) {
    remove("data/font.bmp");
    EXPECT_EQ(BuildMessage(), "IMG_Load couldn't load the file data/font.bmp");
}

TEST_F(BigFontTest, EntryWithoutItsCharacterEndsTheListWithoutError) {
    std::ofstream("BigFont.txt") << "data/glyph.bmp A\n   data/glyph.bmp   \n";
    EXPECT_EQ(BuildMessage(), "(no exception)");
    EXPECT_GE(BigFontGlyphSlot('A'), 0);
}

TEST_F(BigFontTest, OverlongGlyphPathIsRejectedWithAClearMessage) {
    std::ofstream("BigFont.txt") << std::string(300, 'g') << ".bmp A\n";
    EXPECT_EQ(BuildMessage().rfind("BigFont.txt: a path is longer than 255 characters", 0), 0u);
}

TEST_F(BigFontTest, LaterEntryForACharacterReplacesTheEarlier) {
    SaveSolidBmp("data/other.bmp", 32, 32, 0x00FF00);
    std::ofstream("BigFont.txt") << "data/glyph.bmp A data/other.bmp A data/glyph.bmp \xE9";
    BuildBigFont();
    EXPECT_EQ(BigFontGlyphSlot('A'), FindTexture("data/other.bmp"));
    EXPECT_EQ(BigFontGlyphSlot(0xE9), FindTexture("data/glyph.bmp"));
    EXPECT_EQ(BigFontGlyphSlot('B'), -1);
}

TEST_F(BigFontTest, MeasureAddsTheGlyphWidthsOfKnownCharactersOnly) {
    BuildBigFont(); // 'A' is 64 x 32
    EXPECT_FLOAT_EQ(MeasureBigText("A", 500), 32.0f);
    EXPECT_FLOAT_EQ(MeasureBigText("AAA", 500), 96.0f);
    EXPECT_FLOAT_EQ(MeasureBigText("AxA", 1000), 128.0f);
    EXPECT_FLOAT_EQ(MeasureBigText("", 1000), 0.0f);
    EXPECT_FLOAT_EQ(MeasureBigText("A", 1), 0.064f);
}

TEST_F(BigFontTest, MeasureScalesTheIntegerProductInDoubleAndSumsInAFloat) {
    BuildBigFont(); // 'A' is 64 x 32
    // Sizes whose thousandth of 64 x size rounds differently in float arithmetic.
    for (int size : {5, 7, 9, 31}) {
        float sum = 0;
        for (int i = 0; i < 3; i++)
            sum = (float)(sum + 64.0 * size * 0.001);
        EXPECT_EQ(MeasureBigText("A", size), (float)(64 * size * 0.001)) << size;
        EXPECT_EQ(MeasureBigText("AAA", size), sum) << size;
    }
}

TEST_F(BigFontTest, PrintCharWidthIsTheIntegerProductScaledInDouble) {
    BuildBigFont();
    for (int size : {5, 9, 31})
        EXPECT_EQ(PrintChar('A', size, 256), (float)(64 * size * 0.001)) << size;
}

TEST_F(BigFontTest, PrintCharDrawsTheGlyphUpwardsWithItsBrightness) {
    BuildBigFont();
    // The credits draw with y upwards; so does this projection.
    OGLState::PushProjection(0, 800, 0, 600, -1, 1, true);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    float width = PrintChar('A', 500, 128);
    OGLState::PopProjection();
    EXPECT_FLOAT_EQ(width, 32.0f);
    // A 32 x 16 quad at the bottom-left corner, half-bright white.
    uint32_t inside = gl.Pixel(16, 600 - 8);
    EXPECT_NEAR((int)(inside >> 16 & 0xFF), 128, 1);
    EXPECT_NEAR((int)(inside & 0xFF), 128, 1);
    EXPECT_EQ(gl.Pixel(16, 600 - 20), kBlack);
    EXPECT_EQ(gl.Pixel(40, 600 - 8), kBlack);
}

TEST_F(BigFontTest, PrintCharWithoutAGlyphDrawsNothingAndHasNoWidth) {
    BuildBigFont();
    EXPECT_FLOAT_EQ(PrintChar('Z', 1000, 256), 0.0f);
    EXPECT_FLOAT_EQ(PrintChar('\xFF', 1000, 256), 0.0f);
}
