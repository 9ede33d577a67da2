// Loading a Font: atlas size and texels, metrics against FreeType, failure
// messages, and the FreeType library's count of font loads.
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "basic_exception.h"
#include "font.h"
#include "font_internal.h"
#include "font_reference.h"
#include "gl_context.h"
#include "oglstate.h"
#include "scratch_dir.h"

namespace {

std::string LoadError(const char* path, int pixelSize) {
    try {
        Font font(path, pixelSize);
    } catch (const BasicException& e) {
        return e.GetMessage();
    }
    return "(no exception)";
}

GLint AtlasSideOnCard(const Font& font) {
    GLint w = 0, h = 0;
    glBindTexture(GL_TEXTURE_2D, font.texture());
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
    glBindTexture(GL_TEXTURE_2D, 0);
    EXPECT_EQ(w, h);
    return w;
}

// The whole atlas as 0xAARRGGBB texels, row 0 first.
std::vector<uint32_t> ReadAtlas(const Font& font) {
    std::vector<uint32_t> texels((size_t)font.atlasSide() * font.atlasSide());
    glBindTexture(GL_TEXTURE_2D, font.texture());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_BGRA, GL_UNSIGNED_BYTE, texels.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    return texels;
}

// Every texel of c's cell: the glyph's coverage in white inside its bitmap,
// transparent black elsewhere. The neighbours on the left and above must not
// reach into the cell for the second half to hold.
void ExpectCellHoldsGlyph(const Font& font, const std::vector<uint32_t>& atlas, unsigned char c) {
    int ps = font.pixelSize(), side = font.atlasSide();
    ReferenceGlyph g = LoadReferenceGlyph(FREESERIF_PATH, ps, c);
    ASSERT_TRUE(g.loaded);
    ASSERT_GT(g.width * g.height, 0);
    ASSERT_LE(font.metrics().width[c - 1], ps);
    ASSERT_LE(font.metrics().height[c - 16], ps);
    int cellX = ps * (c % 16), cellY = ps * (c / 16);
    int covered = 0;
    for (int y = 0; y < ps; ++y) {
        for (int x = 0; x < ps; ++x) {
            uint32_t texel = atlas[(size_t)(cellY + y) * side + cellX + x];
            if (x < g.width && y < g.height) {
                ASSERT_EQ(texel, (uint32_t)g.at(x, y) << 24 | 0xFFFFFFu)
                    << "char " << (int)c << " at " << x << "," << y;
                covered += g.at(x, y) > 0;
            } else {
                ASSERT_EQ(texel, 0u) << "char " << (int)c << " at " << x << "," << y;
            }
        }
    }
    EXPECT_GT(covered, 0);
}

} // namespace

TEST(FontLoad, AtlasIs256ForPixelSize14And512For31) {
    GLContext ctx;
    Font small(FREESERIF_PATH, 14);
    EXPECT_EQ(small.atlasSide(), 256);
    EXPECT_EQ(AtlasSideOnCard(small), 256);
    Font large(FREESERIF_PATH, 31);
    EXPECT_EQ(large.atlasSide(), 512);
    EXPECT_EQ(AtlasSideOnCard(large), 512);
    Font exact(FREESERIF_PATH, 16); // 16 x 16 = 256 exactly
    EXPECT_EQ(exact.atlasSide(), 256);
    Font above(FREESERIF_PATH, 17);
    EXPECT_EQ(above.atlasSide(), 512);
}

TEST(FontLoad, AtlasTextureUsesLinearFiltersAndClampWrap) {
    GLContext ctx;
    Font font(FREESERIF_PATH, 14);
    GLint minFilter = 0, magFilter = 0, wrapS = 0, wrapT = 0;
    glBindTexture(GL_TEXTURE_2D, font.texture());
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrapS);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrapT);
    glBindTexture(GL_TEXTURE_2D, 0);
    EXPECT_EQ(minFilter, GL_LINEAR);
    EXPECT_EQ(magFilter, GL_LINEAR);
    EXPECT_EQ(wrapS, GL_CLAMP);
    EXPECT_EQ(wrapT, GL_CLAMP);
}

TEST(FontLoad, LoadingLeavesTheStateRecordAsItWas) {
    GLContext ctx;
    OGLState::Values before = ctx.state()->values();
    Font font(FREESERIF_PATH, 14);
    OGLState::Values after = ctx.state()->values();
    EXPECT_EQ(after.texture2D, before.texture2D);
    EXPECT_EQ(after.textureUsed, before.textureUsed);
    GLint bound = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ((unsigned)bound, before.textureUsed);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
}

TEST(FontLoad, GlyphCellHoldsWhiteTexelsWithCoverageAlpha) {
    GLContext ctx;
    Font font(FREESERIF_PATH, 14);
    std::vector<uint32_t> atlas = ReadAtlas(font);
    ExpectCellHoldsGlyph(font, atlas, 'i');
    ExpectCellHoldsGlyph(font, atlas, 'e');
}

TEST(FontLoad, CharactersAbove127HaveTheirOwnCells) {
    GLContext ctx;
    Font font(FREESERIF_PATH, 14);
    std::vector<uint32_t> atlas = ReadAtlas(font);
    ExpectCellHoldsGlyph(font, atlas, 0xE9); // e acute: column 9, row 14
    ExpectCellHoldsGlyph(font, atlas, 0xC4); // A diaeresis: column 4, row 12
    ReferenceGlyph eAcute = LoadReferenceGlyph(FREESERIF_PATH, 14, 0xE9);
    EXPECT_EQ(font.metrics().advance[0xE9], eAcute.advance);
    EXPECT_EQ(font.metrics().bearingY[0xE9], eAcute.top);
    // The accent reaches higher than the plain letter.
    EXPECT_GT(font.metrics().bearingY[0xE9], font.metrics().bearingY['e']);
}

TEST(FontLoad, TexelsThatNoGlyphCoversAreTransparentBlack) {
    GLContext ctx;
    Font font(FREESERIF_PATH, 14);
    std::vector<uint32_t> atlas = ReadAtlas(font);
    // The space has no bitmap: its whole cell stays 0.
    int cellX = 14 * (' ' % 16), cellY = 14 * (' ' / 16);
    ASSERT_EQ(font.metrics().height[' '], 0);
    ASSERT_LE(font.metrics().width[' ' - 1], 14);
    ASSERT_LE(font.metrics().height[' ' - 16], 14);
    for (int y = 0; y < 14; ++y)
        for (int x = 0; x < 14; ++x)
            ASSERT_EQ(atlas[(size_t)(cellY + y) * 256 + cellX + x], 0u);
    // 16 cells of 14 texels leave a 32-texel margin right of and below the
    // grid, reached only by glyphs of the last column or row that overflow.
    int right = 224, bottom = 224;
    for (int i = 0; i < 16; ++i) {
        right = std::max(right, 210 + font.metrics().width[16 * i + 15]);
        bottom = std::max(bottom, 210 + font.metrics().height[240 + i]);
    }
    ASSERT_LT(right, 256);
    ASSERT_LT(bottom, 256);
    for (int y = 0; y < 256; ++y)
        for (int x = right; x < 256; ++x)
            ASSERT_EQ(atlas[(size_t)y * 256 + x], 0u) << x << "," << y;
    for (int y = bottom; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            ASSERT_EQ(atlas[(size_t)y * 256 + x], 0u) << x << "," << y;
}

TEST(FontLoad, MetricsMatchFreeType) {
    GLContext ctx;
    Font font(FREESERIF_PATH, 14);
    for (unsigned char c : {(unsigned char)'a', (unsigned char)'W', (unsigned char)'g', (unsigned char)'j',
                            (unsigned char)'.', (unsigned char)0xFC}) {
        ReferenceGlyph g = LoadReferenceGlyph(FREESERIF_PATH, 14, c);
        ASSERT_TRUE(g.loaded);
        EXPECT_EQ(font.metrics().advance[c], g.advance) << c;
        EXPECT_EQ(font.metrics().bearingX[c], g.left) << c;
        EXPECT_EQ(font.metrics().bearingY[c], g.top) << c;
        EXPECT_EQ(font.metrics().width[c], g.width) << c;
        EXPECT_EQ(font.metrics().height[c], g.height) << c;
    }
    // 'g' descends below the baseline, '.' sits on it.
    EXPECT_GT(font.metrics().height['g'], font.metrics().bearingY['g']);
    EXPECT_GT(font.metrics().advance[' '], 0);
    EXPECT_EQ(font.metrics().width[' '], 0);
}

TEST(FontLoad, CellTextureCoordinatesFollowTheGrid) {
    GLContext ctx;
    Font font(FREESERIF_PATH, 14);
    GlyphCell a = font.cell('A'); // column 1, row 4
    EXPECT_FLOAT_EQ(a.uLeft, 14.0f / 256);
    EXPECT_FLOAT_EQ(a.vTop, 56.0f / 256);
    EXPECT_FLOAT_EQ(a.uRight, (14.0f + font.metrics().width['A']) / 256);
    EXPECT_FLOAT_EQ(a.vBottom, (56.0f + font.metrics().height['A']) / 256);
    GlyphCell last = font.cell(255);
    EXPECT_FLOAT_EQ(last.uLeft, 210.0f / 256);
    EXPECT_FLOAT_EQ(last.vTop, 210.0f / 256);
}

TEST(FontLoad, KeepsFileNameAndPixelSize) {
    GLContext ctx;
    Font font(FREESERIF_PATH, 14);
    EXPECT_STREQ(font.fileName(), FREESERIF_PATH);
    EXPECT_EQ(font.pixelSize(), 14);
    EXPECT_NE(font.texture(), 0u);
}

TEST(FontLoad, LongFileNameIsCutTo255Characters) {
    GLContext ctx;
    ScratchDir dir;
    std::string path = dir.path();
    while (path.size() < 300) {
        path += "/" + std::string(60, 'd');
        ASSERT_EQ(mkdir(path.c_str(), 0700), 0);
    }
    path += "/FreeSerif.ttf";
    ASSERT_EQ(symlink(FREESERIF_PATH, path.c_str()), 0);
    Font font(path.c_str(), 14);
    EXPECT_EQ(std::string(font.fileName()), path.substr(0, 255));
}

TEST(FontLoad, FileThatIsNotAFontFailsAsUnsupportedFormat) {
    GLContext ctx;
    ScratchDir dir;
    dir.Write("notes.ttf", "This is plain text, not a TrueType font.\n");
    std::string path = dir.file("notes.ttf");
    EXPECT_EQ(LoadError(path.c_str(), 14), "Font " + path + " is in an unsupported font format!\n");
}

TEST(FontLoad, MissingFileFailsWithTheErrorCode) {
    GLContext ctx;
    ScratchDir dir;
    std::string path = dir.file("absent.ttf");
    // FreeType's "cannot open resource" is error 1.
    EXPECT_EQ(LoadError(path.c_str(), 14), "Error 1 during opening of font " + path + "!\n");
}

TEST(FontLoad, PixelSizeBelowOneFailsAsSizeError) {
    GLContext ctx;
    EXPECT_EQ(LoadError(FREESERIF_PATH, 0),
              std::string("Couldn't set size 0 for font ") + FREESERIF_PATH + "!\n");
    EXPECT_EQ(LoadError(FREESERIF_PATH, -3),
              std::string("Couldn't set size -3 for font ") + FREESERIF_PATH + "!\n");
}

TEST(FontLoad, AtlasTooLargeToHoldFailsAsOutOfMemory) {
    GLContext ctx;
    // 16 x 1000 needs a 16384-texel atlas.
    EXPECT_EQ(LoadError(FREESERIF_PATH, 1000),
              std::string("Not enough memory to load font ") + FREESERIF_PATH + "!\n");
    EXPECT_EQ(FreeTypeLoadCount(), 0);
}

TEST(FontLoad, NullFileNameFailsLikeAMissingFile) {
    GLContext ctx;
    EXPECT_EQ(LoadError(nullptr, 14), "Error 1 during opening of font !\n");
}

TEST(FontLibrary, CountsLoadsAndReleasesWithTheLastFont) {
    GLContext ctx;
    ASSERT_EQ(FreeTypeLoadCount(), 0);
    ASSERT_FALSE(FreeTypeLibraryHeld());
    Font* first = new Font(FREESERIF_PATH, 14);
    EXPECT_EQ(FreeTypeLoadCount(), 1);
    EXPECT_TRUE(FreeTypeLibraryHeld());
    Font* second = new Font(FREESANS_PATH, 14);
    EXPECT_EQ(FreeTypeLoadCount(), 2);
    delete first;
    EXPECT_EQ(FreeTypeLoadCount(), 1);
    EXPECT_TRUE(FreeTypeLibraryHeld());
    delete second;
    EXPECT_EQ(FreeTypeLoadCount(), 0);
    EXPECT_FALSE(FreeTypeLibraryHeld());
    // The next load creates the library again.
    Font third(FREESERIF_PATH, 14);
    EXPECT_EQ(FreeTypeLoadCount(), 1);
    EXPECT_TRUE(FreeTypeLibraryHeld());
}

TEST(FontLibrary, FailedLoadGivesItsCountBack) {
    GLContext ctx;
    ScratchDir dir;
    std::string missing = dir.file("absent.ttf");
    LoadError(missing.c_str(), 14);
    EXPECT_EQ(FreeTypeLoadCount(), 0);
    EXPECT_FALSE(FreeTypeLibraryHeld());
    {
        Font font(FREESERIF_PATH, 14);
        LoadError(missing.c_str(), 14);
        LoadError(FREESERIF_PATH, 0);
        EXPECT_EQ(FreeTypeLoadCount(), 1);
        EXPECT_TRUE(FreeTypeLibraryHeld());
    }
    EXPECT_EQ(FreeTypeLoadCount(), 0);
    EXPECT_FALSE(FreeTypeLibraryHeld());
}

TEST(FontLoad, DestructionDeletesTheAtlasTexture) {
    GLContext ctx;
    unsigned texture;
    {
        Font font(FREESERIF_PATH, 14);
        texture = font.texture();
        EXPECT_TRUE(glIsTexture(texture));
    }
    EXPECT_FALSE(glIsTexture(texture));
}

TEST(FontLoad, GlyphTallerThanItsCellRunsIntoTheCellBelow) {
    GLContext ctx;
    Font font(FREESERIF_PATH, 6); // 'Q' is 7 rows high at 6 pixels
    ReferenceGlyph q = LoadReferenceGlyph(FREESERIF_PATH, 6, 'Q');
    ASSERT_EQ(q.height, 7);
    ASSERT_EQ(font.atlasSide(), 128);
    std::vector<uint32_t> atlas = ReadAtlas(font);
    // 'Q' is column 1, row 5; its seventh row lands on the top row of 'a'
    // (column 1, row 6), where 'a', written later, does not reach.
    int aWidth = font.metrics().width['a'];
    ASSERT_LT(aWidth, q.width);
    for (int x = aWidth; x < q.width; ++x)
        EXPECT_EQ(atlas[(size_t)36 * 128 + 6 + x], (uint32_t)q.at(x, 6) << 24 | 0xFFFFFFu) << x;
}

TEST(FontLoad, TexelsBeyondTheAtlasEdgeAreDropped) {
    GLContext ctx;
    Font font(FREESERIF_PATH, 1); // a 16 x 16 atlas whose glyphs are 2 rows high
    ASSERT_EQ(font.atlasSide(), 16);
    ReferenceGlyph g = LoadReferenceGlyph(FREESERIF_PATH, 1, 0xF0);
    ASSERT_EQ(g.height, 2);
    EXPECT_EQ(font.metrics().height[0xF0], 2);
    std::vector<uint32_t> atlas = ReadAtlas(font);
    EXPECT_EQ(atlas[15 * 16 + 0], (uint32_t)g.at(0, 0) << 24 | 0xFFFFFFu);
}
