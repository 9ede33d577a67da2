// Drawing text in window pixels: one textured quad per character from the
// font's atlas, the pen kept in 26.6 fixed point. During an interface pass the
// quads go to the TextBatch instead.
#include "font.h"

#include <GL/gl.h>

#include <vector>

#include "oglstate.h"
#include "text_batch.h"

// The quad of one character with its pen at x and its line's top at y.
GlyphQuad Font::glyphQuad(int x, int y, unsigned char c, uint32_t colour, float z) const {
    int baseline = y + (int)(2u * (unsigned)size / 3u);
    int left = x + glyphs.bearingX[c];
    int top = baseline - glyphs.bearingY[c];
    int right = left + glyphs.width[c];
    int bottom = top + glyphs.height[c];
    GlyphCell t = cell(c);
    return GlyphQuad{atlas, colour, (float)left, (float)top, (float)right, (float)bottom, z,
                     t.uLeft, t.vTop, t.uRight, t.vBottom};
}

void Font::drawChar(int x, int y, unsigned char c, uint32_t colour, float z) const {
    const GlyphQuad q = glyphQuad(x, y, c, colour, z);
    if (TextBatch::Holding()) {
        TextBatch::Add(&q, 1);
        return;
    }
    PushGlyphState(atlas);
    glBegin(GL_QUADS);
    EmitGlyphQuad(q);
    glEnd();
    PopGlyphState();
}

void Font::drawText(int x, int y, const char* text, uint32_t colour, bool skipWhitespace, float z) const {
    if (!text || !*text) return;
    static std::vector<GlyphQuad> quads; // kept for its memory
    quads.clear();
    int64_t pen = (int64_t)x * 64;
    for (const unsigned char* p = (const unsigned char*)text; *p; ++p) {
        unsigned char c = *p;
        bool blank = c == ' ' || c == '\t' || c == '\n' || c == '\r';
        if (!(skipWhitespace && blank)) quads.push_back(glyphQuad((int)(pen >> 6), y, c, colour, z));
        pen += glyphs.advance[c] >> 10;
    }
    if (TextBatch::Holding()) {
        TextBatch::Add(quads.data(), quads.size());
        return;
    }
    // One state set-up and one primitive for the whole string: the same quads
    // in the same order as character by character, without a draw call each.
    PushGlyphState(atlas);
    glBegin(GL_QUADS);
    for (const GlyphQuad& q : quads)
        EmitGlyphQuad(q);
    glEnd();
    PopGlyphState();
}
