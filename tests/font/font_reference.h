// What FreeType itself says about a glyph, read through a library of the test's
// own, so the font module's metrics and atlas can be checked against it.
#pragma once

#include <string>
#include <vector>

struct ReferenceGlyph {
    bool loaded = false;
    long advance = 0; // 16.16
    int left = 0, top = 0, width = 0, height = 0;
    std::vector<unsigned char> coverage; // width x height, top row first
    unsigned at(int x, int y) const { return coverage[(size_t)y * width + x]; }
};

ReferenceGlyph LoadReferenceGlyph(const char* path, int pixelSize, unsigned char c);
