// The texture table: slots, padding and extents, alpha companions, retained
// images, memory textures, capacity and every failure message.
#include <functional>
#include <string>
#include <sys/stat.h>
#include <vector>

#include <GL/glew.h>
#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include "fxruntime.h"
#include "gl_context.h"
#include "scratch_dir.h"
#include "test_images.h"

namespace {
class TextureTableTest : public ::testing::Test {
  protected:
    GLContext gl;
    ScratchDir dir{true};
    void SetUp() override { ReleaseTextures(); }
    void TearDown() override { ReleaseTextures(); }
};

std::string MessageOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const BasicException& e) {
        return e.GetMessage();
    }
    return "(no exception)";
}

GLint TextureLevelSize(GLuint texture, GLenum which) {
    GLint value = -1;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, which, &value);
    glBindTexture(GL_TEXTURE_2D, 0);
    return value;
}

// Texels of a texture as 0xAARRGGBB words, top row first.
std::vector<uint32_t> TextureTexels(GLuint texture, int width, int height) {
    std::vector<uint32_t> texels((size_t)width * height);
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_BGRA, GL_UNSIGNED_BYTE, texels.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    return texels;
}

uint32_t SurfacePixel(SDL_Surface* s, int x, int y) {
    return ((uint32_t*)((uint8_t*)s->pixels + y * s->pitch))[x];
}
} // namespace

TEST_F(TextureTableTest, ImageOf100x60GetsA128x64TextureWithExactExtents) {
    SaveSolidBmp("pic.bmp", 100, 60, 0x336699);
    int index = CreateTextureFromFile("pic.bmp", false);
    EXPECT_EQ(index, 0);
    const TextureEntry& slot = GetTexture(index);
    EXPECT_NE(slot.texture, 0u);
    EXPECT_EQ(slot.width, 100);
    EXPECT_EQ(slot.height, 60);
    EXPECT_FLOAT_EQ(slot.sExtent, 0.78125f);
    EXPECT_FLOAT_EQ(slot.tExtent, 0.9375f);
    EXPECT_STREQ(slot.name, "pic.bmp");
    EXPECT_EQ(TextureLevelSize(slot.texture, GL_TEXTURE_WIDTH), 128);
    EXPECT_EQ(TextureLevelSize(slot.texture, GL_TEXTURE_HEIGHT), 64);
}

TEST_F(TextureTableTest, PaddingIsTransparentBlackAndTheImageStartsAtTheTopLeft) {
    SaveTestBmp("pic.bmp", 3, 2, [](int x, int y) { return y == 0 && x == 0 ? 0xFF0000u : 0x00FF00u; });
    const TextureEntry& slot = GetTexture(CreateTextureFromFile("pic.bmp", false));
    std::vector<uint32_t> texels = TextureTexels(slot.texture, 4, 2);
    EXPECT_EQ(texels[0], 0xFFFF0000u); // top-left pixel, opaque red
    EXPECT_EQ(texels[1], 0xFF00FF00u);
    EXPECT_EQ(texels[3], 0x00000000u); // padding column
    EXPECT_EQ(texels[4 + 2], 0xFF00FF00u);
    EXPECT_EQ(texels[4 + 3], 0x00000000u);
}

TEST_F(TextureTableTest, PowerOfTwoImageIsNotPadded) {
    SaveSolidBmp("square.bmp", 256, 256, 0x102030);
    const TextureEntry& slot = GetTexture(CreateTextureFromFile("square.bmp", false));
    EXPECT_FLOAT_EQ(slot.sExtent, 1.0f);
    EXPECT_FLOAT_EQ(slot.tExtent, 1.0f);
    EXPECT_EQ(TextureLevelSize(slot.texture, GL_TEXTURE_WIDTH), 256);
}

TEST_F(TextureTableTest, OnePixelWideImageStaysOneWide) {
    SaveSolidBmp("line.bmp", 1, 5, 0xFFFFFF);
    const TextureEntry& slot = GetTexture(CreateTextureFromFile("line.bmp", false));
    EXPECT_EQ(TextureLevelSize(slot.texture, GL_TEXTURE_WIDTH), 1);
    EXPECT_EQ(TextureLevelSize(slot.texture, GL_TEXTURE_HEIGHT), 8);
    EXPECT_FLOAT_EQ(slot.sExtent, 1.0f);
    EXPECT_FLOAT_EQ(slot.tExtent, 0.625f);
}

TEST_F(TextureTableTest, SlotsAreHandedOutInOrderAndTheSamePathKeepsItsSlot) {
    SaveSolidBmp("a.bmp", 4, 4, 0xFF0000);
    SaveSolidBmp("b.bmp", 4, 4, 0x00FF00);
    EXPECT_EQ(CreateTextureFromFile("a.bmp", false), 0);
    EXPECT_EQ(CreateTextureFromFile("b.bmp", false), 1);
    EXPECT_EQ(CreateTextureFromFile("a.bmp", false), 0);
    EXPECT_EQ(TextureCount(), 2);
    EXPECT_EQ(FindTexture("b.bmp"), 1);
    EXPECT_EQ(FindTexture("B.bmp"), -1); // case-sensitive
}

TEST_F(TextureTableTest, ComplexImageIsRetainedAndASecondComplexLoadRetainsItLater) {
    SaveSolidBmp("a.bmp", 4, 4, 0xFF0000);
    SaveSolidBmp("b.bmp", 4, 4, 0x0000FF);
    int plain = CreateTextureFromFile("a.bmp", false);
    int complex = CreateTextureFromFile("b.bmp", true);
    EXPECT_EQ(GetTexture(plain).surface, nullptr);
    SDL_Surface* kept = GetSurface(complex);
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(kept->format->BitsPerPixel, 32);
    EXPECT_EQ(SurfacePixel(kept, 1, 1), 0xFF0000FFu);
    GLuint texture = GetTexture(plain).texture;
    EXPECT_EQ(CreateTextureFromFile("a.bmp", true), plain);
    ASSERT_NE(GetTexture(plain).surface, nullptr);
    EXPECT_EQ(SurfacePixel(GetSurface(plain), 0, 0), 0xFFFF0000u);
    EXPECT_EQ(GetTexture(plain).texture, texture); // the texture is not remade
    EXPECT_EQ(TextureCount(), 2);
}

TEST_F(TextureTableTest, AlphaCompanionSuppliesAlphaFromItsGreyLevel) {
    SaveSolidBmp("logo.bmp", 8, 4, 0xFF8000);
    SaveTestBmp("logoa.bmp", 8, 4, [](int x, int) { return x < 4 ? 0x404040u : 0xFFFFFFu; });
    int index = CreateTextureFromFile("logo.bmp", true);
    SDL_Surface* kept = GetSurface(index);
    EXPECT_EQ(SurfacePixel(kept, 0, 0), 0x40FF8000u);
    EXPECT_EQ(SurfacePixel(kept, 7, 3), 0xFFFF8000u);
    std::vector<uint32_t> texels = TextureTexels(GetTexture(index).texture, 8, 4);
    EXPECT_EQ(texels[0], 0x40FF8000u);
    EXPECT_EQ(texels[7], 0xFFFF8000u);
}

TEST_F(TextureTableTest, AlphaCompanionNameIsFormedAtTheFirstDot) {
    mkdir("d.x", 0755);
    SaveSolidBmp("d.x/p.bmp", 2, 2, 0xFFFFFF);
    mkdir("da.x", 0755);
    SaveSolidBmp("da.x/p.bmp", 2, 2, 0x202020);
    int index = CreateTextureFromFile("d.x/p.bmp", true);
    EXPECT_EQ(SurfacePixel(GetSurface(index), 0, 0), 0x20FFFFFFu);
}

TEST_F(TextureTableTest, AlphaCompanionOfAnotherSizeIsIgnored) {
    SaveSolidBmp("logo.bmp", 8, 4, 0x00FF00);
    SaveSolidBmp("logoa.bmp", 4, 4, 0x000000);
    int index = CreateTextureFromFile("logo.bmp", true);
    EXPECT_EQ(SurfacePixel(GetSurface(index), 3, 3), 0xFF00FF00u);
}

TEST_F(TextureTableTest, PathWithoutADotLoadsWithoutACompanion) {
    SaveSolidBmp("nodot", 2, 2, 0x0000FF);
    int index = CreateTextureFromFile("nodot", true);
    EXPECT_EQ(SurfacePixel(GetSurface(index), 1, 0), 0xFF0000FFu);
}

TEST_F(TextureTableTest, UndecodableFileRaisesTheImageLoadMessage) {
    EXPECT_EQ(MessageOf([] { CreateTextureFromFile("missing.bmp", false); }),
              "IMG_Load couldn't load the file missing.bmp");
    dir.Write("junk.bmp", "not an image");
    EXPECT_EQ(MessageOf([] { LoadImageFile("junk.bmp"); }), "IMG_Load couldn't load the file junk.bmp");
    EXPECT_EQ(TextureCount(), 0);
}

TEST_F(TextureTableTest, PathLongerThanTheNameFieldIsAnErrorNotAnOverflow) {
    std::string longPath(300, 'q');
    longPath += ".bmp";
    std::string message = MessageOf([&] { CreateTextureFromFile(longPath.c_str(), false); });
    EXPECT_EQ(message.rfind("CreateTextureFromFile: the path is longer than 255 characters: qqq", 0), 0u)
        << message;
    EXPECT_EQ(TextureCount(), 0);
}

TEST_F(TextureTableTest, MemoryTexturesKeepTheWordsByteOrder) {
    const uint32_t pixels[6] = {0x80FF0000, 0xFF00FF00, 0xFF0000FF, 0x00000000, 0xFFFFFFFF, 0x7F123456};
    int index = CreateTextureFromMem(pixels, 3, 2, true);
    const TextureEntry& slot = GetTexture(index);
    EXPECT_STREQ(slot.name, "FromMemory");
    EXPECT_FLOAT_EQ(slot.sExtent, 0.75f);
    EXPECT_FLOAT_EQ(slot.tExtent, 1.0f);
    std::vector<uint32_t> texels = TextureTexels(slot.texture, 4, 2);
    EXPECT_EQ(texels[0], 0x80FF0000u);
    EXPECT_EQ(texels[2], 0xFF0000FFu);
    EXPECT_EQ(texels[4 + 2], 0x7F123456u);
    EXPECT_EQ(SurfacePixel(GetSurface(index), 2, 1), 0x7F123456u);
    EXPECT_EQ(CreateTextureFromMem(pixels, 3, 2, false), index + 1); // the name may repeat
}

TEST_F(TextureTableTest, ReplaceTextureFromMemKeepsTheIndexAndRemakesTheSlot) {
    SaveSolidBmp("a.bmp", 4, 4, 0xFF0000);
    int index = CreateTextureFromFile("a.bmp", true);
    const uint32_t pixels[2] = {0xFF00FF00, 0xFF0000FF};
    EXPECT_EQ(ReplaceTextureFromMem(index, pixels, 2, 1, false), index);
    const TextureEntry& slot = GetTexture(index);
    EXPECT_STREQ(slot.name, "FromMemory");
    EXPECT_EQ(slot.width, 2);
    EXPECT_EQ(slot.height, 1);
    EXPECT_EQ(slot.surface, nullptr);
    EXPECT_EQ(TextureTexels(slot.texture, 2, 1)[1], 0xFF0000FFu);
    EXPECT_EQ(TextureCount(), 1);
}

TEST_F(TextureTableTest, SlotStampChangesWithEveryNewPictureOfTheSlot) {
    SaveSolidBmp("a.bmp", 4, 4, 0xFF0000);
    EXPECT_EQ(TextureStamp(0), 0u);
    int index = CreateTextureFromFile("a.bmp", false);
    uint32_t loaded = TextureStamp(index);
    EXPECT_NE(loaded, 0u);
    // Finding the same path changes nothing; retaining its pixels later does.
    CreateTextureFromFile("a.bmp", false);
    EXPECT_EQ(TextureStamp(index), loaded);
    CreateTextureFromFile("a.bmp", true);
    uint32_t retained = TextureStamp(index);
    EXPECT_NE(retained, loaded);
    const uint32_t pixel = 0xFF00FF00;
    ReplaceTextureFromMem(index, &pixel, 1, 1, true);
    uint32_t replaced = TextureStamp(index);
    EXPECT_NE(replaced, retained);
    ReleaseTextures();
    EXPECT_EQ(TextureStamp(index), 0u);
    EXPECT_EQ(CreateTextureFromMem(&pixel, 1, 1, true), index);
    EXPECT_NE(TextureStamp(index), replaced);
    EXPECT_EQ(TextureStamp(-1), 0u);
    EXPECT_EQ(TextureStamp(kTextureSlots), 0u);
}

TEST_F(TextureTableTest, ReplacingASlotNotInUseRaises) {
    const uint32_t pixel = 0;
    EXPECT_EQ(MessageOf([&] { ReplaceTextureFromMem(0, &pixel, 1, 1, false); }),
              "ReplaceTextureFromMem: This texture does not exist");
    EXPECT_EQ(MessageOf([&] { ReplaceTextureFromMem(-1, &pixel, 1, 1, false); }),
              "ReplaceTextureFromMem: This texture does not exist");
}

TEST_F(TextureTableTest, SurfaceOfANonComplexSlotIsMissing) {
    SaveSolidBmp("a.bmp", 4, 4, 0xFF0000);
    int index = CreateTextureFromFile("a.bmp", false);
    const char* expected = "Missing SDL_Surface: Check the imagelist and mark it as complex!";
    EXPECT_EQ(MessageOf([&] { GetSurface(index); }), expected);
    EXPECT_EQ(MessageOf([] { GetSurface(-3); }), expected);
    EXPECT_EQ(MessageOf([] { GetSurface(512); }), expected);
}

TEST_F(TextureTableTest, IndicesOutsideTheTableGiveAnEmptySlot) {
    SaveSolidBmp("a.bmp", 4, 4, 0xFF0000);
    CreateTextureFromFile("a.bmp", false);
    for (int index : {-1, -100000, 1, 511, 512, 1 << 30}) {
        const TextureEntry& slot = GetTexture(index);
        EXPECT_EQ(slot.texture, 0u) << index;
        EXPECT_EQ(slot.width, 0) << index;
        EXPECT_EQ(slot.height, 0) << index;
    }
}

TEST_F(TextureTableTest, FullTableRefusesEveryLoadEvenOfAKnownPath) {
    SaveSolidBmp("a.bmp", 1, 1, 0xFF0000);
    EXPECT_EQ(CreateTextureFromFile("a.bmp", false), 0);
    const uint32_t pixel = 0xFFFFFFFF;
    for (int i = 1; i < kTextureSlots; i++)
        ASSERT_EQ(CreateTextureFromMem(&pixel, 1, 1, false), i);
    EXPECT_EQ(TextureCount(), 512);
    EXPECT_EQ(MessageOf([] { CreateTextureFromFile("a.bmp", false); }),
              "CreateTextureFromFile: More than 512 Textures used -> Ask Orvik to recompile!");
    EXPECT_EQ(MessageOf([&] { CreateTextureFromMem(&pixel, 1, 1, false); }),
              "CreateTextureFromMem: More than 512 Textures used -> Ask Orvik to recompile!");
    EXPECT_EQ(ReplaceTextureFromMem(511, &pixel, 1, 1, false), 511);
}

TEST_F(TextureTableTest, ReleaseTexturesEmptiesEverySlotAndDeletesTheTextures) {
    SaveSolidBmp("a.bmp", 4, 4, 0xFF0000);
    int index = CreateTextureFromFile("a.bmp", true);
    GLuint texture = GetTexture(index).texture;
    ASSERT_TRUE(glIsTexture(texture));
    ReleaseTextures();
    EXPECT_EQ(TextureCount(), 0);
    EXPECT_FALSE(glIsTexture(texture));
    const TextureEntry& slot = GetTexture(index);
    EXPECT_EQ(slot.texture, 0u);
    EXPECT_EQ(slot.width, 0);
    EXPECT_STREQ(slot.name, "");
    EXPECT_EQ(slot.surface, nullptr);
    EXPECT_EQ(CreateTextureFromFile("a.bmp", false), 0);
}
