// Drawing text in window pixels: one textured quad per character from the
// font's atlas, the pen kept in 26.6 fixed point.
#include "font.h"

#include <GL/gl.h>

#include "oglstate.h"

// The quad of one character, inside a glBegin(GL_QUADS) the caller opened.
void Font::emitChar(int x, int y, unsigned char c, uint32_t colour, float z) const {
    int baseline = y + (int)(2u * (unsigned)size / 3u);
    int left = x + glyphs.bearingX[c];
    int top = baseline - glyphs.bearingY[c];
    int right = left + glyphs.width[c];
    int bottom = top + glyphs.height[c];
    GlyphCell t = cell(c);

    glNormal3f(0.0f, 0.0f, 1.0f);
    glColor4f((float)((colour >> 16) & 0xFF) / 255.0f, (float)((colour >> 8) & 0xFF) / 255.0f,
              (float)(colour & 0xFF) / 255.0f, (float)(colour >> 24) / 255.0f);
    glTexCoord2f(t.uLeft, t.vBottom);
    glVertex3f((float)left, (float)bottom, z);
    glTexCoord2f(t.uRight, t.vBottom);
    glVertex3f((float)right, (float)bottom, z);
    glTexCoord2f(t.uRight, t.vTop);
    glVertex3f((float)right, (float)top, z);
    glTexCoord2f(t.uLeft, t.vTop);
    glVertex3f((float)left, (float)top, z);
}

void Font::pushGlyphState() const {
    OGLState::PushTexture2D(true);
    OGLState::PushTextureUsed(atlas);
    OGLState::PushBlend(true);
    OGLState::PushBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

void Font::popGlyphState() const {
    OGLState::PopBlendFunc();
    OGLState::PopBlend();
    OGLState::PopTexture2D();
    OGLState::PopTextureUsed();
}

void Font::drawChar(int x, int y, unsigned char c, uint32_t colour, float z) const {
    pushGlyphState();
    glBegin(GL_QUADS);
    emitChar(x, y, c, colour, z);
    glEnd();
    popGlyphState();
}

void Font::drawText(int x, int y, const char* text, uint32_t colour, bool skipWhitespace, float z) const {
    if (!text || !*text) return;
    // One state set-up and one primitive for the whole string: the same quads
    // in the same order as character by character, without a draw call each.
    pushGlyphState();
    glBegin(GL_QUADS);
    int64_t pen = (int64_t)x * 64;
    for (const unsigned char* p = (const unsigned char*)text; *p; ++p) {
        unsigned char c = *p;
        bool blank = c == ' ' || c == '\t' || c == '\n' || c == '\r';
        if (!(skipWhitespace && blank)) emitChar((int)(pen >> 6), y, c, colour, z);
        pen += glyphs.advance[c] >> 10;
    }
    glEnd();
    popGlyphState();
}
