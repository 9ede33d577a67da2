// Reads one rendered glyph straight from FreeType for comparison.
#include "font_reference.h"

#include <ft2build.h>
#include FT_FREETYPE_H

ReferenceGlyph LoadReferenceGlyph(const char* path, int pixelSize, unsigned char c) {
    ReferenceGlyph g;
    FT_Library library;
    if (FT_Init_FreeType(&library)) return g;
    FT_Face face;
    if (FT_New_Face(library, path, 0, &face) == 0) {
        if (FT_Set_Pixel_Sizes(face, 0, pixelSize) == 0 && FT_Load_Char(face, c, FT_LOAD_RENDER) == 0) {
            FT_GlyphSlot slot = face->glyph;
            g.loaded = true;
            g.advance = slot->advance.x << 10; // 26.6 to 16.16
            g.left = slot->bitmap_left;
            g.top = slot->bitmap_top;
            g.width = (int)slot->bitmap.width;
            g.height = (int)slot->bitmap.rows;
            for (int y = 0; y < g.height; ++y)
                for (int x = 0; x < g.width; ++x)
                    g.coverage.push_back(slot->bitmap.buffer[y * slot->bitmap.pitch + x]);
        }
        FT_Done_Face(face);
    }
    FT_Done_FreeType(library);
    return g;
}
