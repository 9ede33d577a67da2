// Small image files and effect-library data written by tests: BMPs from a
// colour function, a font image whose 256 cells each have their own colour,
// and the minimal lists that Vorlen_Init needs.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

// 24-bit BMP of width x height; colour(x, y) gives 0xRRGGBB, y from the top row.
void SaveTestBmp(const std::string& path, int width, int height,
                 const std::function<uint32_t(int, int)>& colour);
void SaveSolidBmp(const std::string& path, int width, int height, uint32_t rgb);

// 0xRRGGBB of cell i of the test font image: every cell differs in red.
uint32_t CellColour(int cell);
// A 256 x 256 font image of 16 x 16 cells, each filled with CellColour.
void SaveCellFontBmp(const std::string& path);

// In the current directory: data/font.bmp (cell font), BigFont.txt naming one
// glyph image (data/glyph.bmp, 64 x 32, for 'A') and ImageList.txt with
// `imageList` as its content.
void WriteFenkData(const std::string& imageList);
