#include "test_images.h"

#include <fstream>
#include <sys/stat.h>

#include <SDL/SDL.h>
#include <gtest/gtest.h>

void SaveTestBmp(const std::string& path, int width, int height,
                 const std::function<uint32_t(int, int)>& colour) {
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, 24, 0xFF0000, 0x00FF00, 0x0000FF, 0);
    ASSERT_NE(s, nullptr);
    for (int y = 0; y < height; y++) {
        uint8_t* row = (uint8_t*)s->pixels + y * s->pitch;
        for (int x = 0; x < width; x++) {
            uint32_t c = colour(x, y);
            // Little-endian 24-bit words with these masks: blue, green, red.
            row[x * 3 + 0] = (uint8_t)c;
            row[x * 3 + 1] = (uint8_t)(c >> 8);
            row[x * 3 + 2] = (uint8_t)(c >> 16);
        }
    }
    EXPECT_EQ(SDL_SaveBMP(s, path.c_str()), 0) << path;
    SDL_FreeSurface(s);
}

void SaveSolidBmp(const std::string& path, int width, int height, uint32_t rgb) {
    SaveTestBmp(path, width, height, [rgb](int, int) { return rgb; });
}

uint32_t CellColour(int cell) {
    return (uint32_t)cell << 16 | (uint32_t)((cell * 7 + 30) & 0xFF) << 8 | 0xC8;
}

void SaveCellFontBmp(const std::string& path) {
    SaveTestBmp(path, 256, 256, [](int x, int y) { return CellColour(y / 16 * 16 + x / 16); });
}

void WriteFenkData(const std::string& imageList) {
    mkdir("data", 0755);
    SaveCellFontBmp("data/font.bmp");
    SaveSolidBmp("data/glyph.bmp", 64, 32, 0xFFFFFF);
    std::ofstream("BigFont.txt") << "data/glyph.bmp A\n";
    std::ofstream("ImageList.txt") << imageList;
}
