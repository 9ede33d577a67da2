// Outline-font text: a TrueType file at one pixel size rasterised once into a
// 16 x 16-cell glyph atlas, drawn one textured quad per character and measured
// with integer advances. FontCache shares fonts between the editor's widgets.
#pragma once

#include <cstdint>

#include "text_batch.h"

// Per-character metrics, indexed by the byte value taken unsigned.
struct GlyphMetrics {
    int advance[256];  // 16.16 fixed-point pixels
    int bearingX[256]; // pen position to the bitmap's left edge, pixels
    int bearingY[256]; // baseline up to the bitmap's top row, pixels
    int width[256];    // bitmap width, pixels
    int height[256];   // bitmap height, pixels
};

// Texture coordinates of a glyph inside its atlas cell.
struct GlyphCell {
    float uLeft, vTop, uRight, vBottom;
};

class Font {
  public:
    static const int kFileNameSize = 256;

    // Loads the font and builds its atlas; throws BasicException on failure.
    // Needs a current GL context with an OGLState record.
    Font(const char* fileName, int pixelSize);
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    int pixelSize() const { return size; }
    const char* fileName() const { return name; }
    unsigned texture() const { return atlas; }
    int atlasSide() const { return side; } // S: smallest power of two >= 16 x pixel size
    const GlyphMetrics& metrics() const { return glyphs; }
    GlyphCell cell(unsigned char c) const;

    // Draws c with its text line's top edge at window row y.
    void drawChar(int x, int y, unsigned char c, uint32_t colour, float z) const;
    // Draws a NUL-terminated string on one line; line feeds are not obeyed.
    void drawText(int x, int y, const char* text, uint32_t colour, bool skipWhitespace, float z) const;

    // maxChars < 0 walks up to the NUL. A start beyond the NUL measures nothing.
    unsigned textWidth(const char* text, unsigned start, int maxChars) const;
    // Characters from start that fit in widthPx with room to spare.
    int charsThatFit(int widthPx, const char* text, unsigned start, int maxChars) const;
    // Characters that fit in widthPx, extrapolating past the end of the text.
    int visibleCapacity(int widthPx, const char* text, unsigned start, int maxChars) const;

    // Advance used to extrapolate when the text gives none: half the pixel size, 26.6.
    int fallbackAdvance() const;

  private:
    GlyphQuad glyphQuad(int x, int y, unsigned char c, uint32_t colour, float z) const;

    int size;
    char name[kFileNameSize];
    unsigned atlas;
    int side;
    GlyphMetrics glyphs;
};

// The editor's shared fonts, at most kCapacity distinct (file name, pixel size)
// pairs, reference counted. One process-wide instance.
class FontCache {
  public:
    static const unsigned kCapacity = 32;

    static FontCache& Instance();

    // Called by every text-bearing widget's constructor and destructor; the
    // last user going destroys every cached font.
    void addUser();
    void removeUser();
    // Shared font, loaded on first request; throws BasicException.
    Font* acquire(const char* fileName, int pixelSize);
    // Gives back one reference; null or an unknown font is ignored.
    void release(Font* font);

    unsigned size() const { return count; }
    int userCount() const { return users; }
    Font* entry(unsigned index) const { return index < kCapacity ? fonts[index] : nullptr; }
    int references(unsigned index) const { return index < kCapacity ? referenceCounts[index] : 0; }

  private:
    Font* fonts[kCapacity] = {};
    int referenceCounts[kCapacity] = {};
    unsigned count = 0;
    int users = 0;

    void destroyAll();
};
