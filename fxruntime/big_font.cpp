// The bitmap font: a 16 x 16-cell font image turned into 256 display lists for
// numbers (DrawBigText), and one glyph image per character from BigFont.txt for
// the credits (PrintChar, MeasureBigText).
#include <string>

#include <GL/glew.h>

#include "fxruntime_internal.h"
#include "list_parsers.h"
#include "oglstate.h"

namespace {
const char* const kFontImage = "data/font.bmp";
const int kCells = 256;
const float kCell = 0.0625f; // one cell of the 16 x 16 grid in texture units

bool gFontLoaded = false;
int gFontSlot = 0;
GLuint gListBase = 0;
int gGlyphs[256];
bool gGlyphMapRead = false;

void CompileCells() {
    const TextureEntry& font = GetTexture(gFontSlot);
    OGLState::PushTextureUsed(font.texture);
    for (int i = 0; i < kCells; i++) {
        float cx = (float)(i % 16) * kCell;
        float cy = (float)(i / 16) * kCell;
        glNewList(gListBase + i, GL_COMPILE);
        glBegin(GL_QUADS);
        glTexCoord2f(cx, cy + kCell);
        glVertex2i(0, 16);
        glTexCoord2f(cx + kCell, cy + kCell);
        glVertex2i(16, 16);
        glTexCoord2f(cx + kCell, cy);
        glVertex2i(16, 0);
        glTexCoord2f(cx, cy);
        glVertex2i(0, 0);
        glEnd();
        glTranslated(13, 0, 0);
        glEndList();
    }
    OGLState::PopTextureUsed();
}

void ReadGlyphMap() {
    for (int& g : gGlyphs)
        g = -1;
    gGlyphMapRead = true;
    ListReader list("BigFont.txt");
    if (!list.IsOpen()) throw BasicException("An error occurred while loading the big font!");
    ParseGlyphMap(list, [](const std::string& path, int character) {
        int slot;
        try {
            slot = CreateTextureFromFile(path.c_str(), false);
        } catch (...) {
            throw BasicException("An error occurred while loading the big font!");
        }
        gGlyphs[(unsigned char)character] = slot;
        return slot < kTextureSlots;
    });
}
} // namespace

void BuildBigFont() {
    OGLState::PushTexture2D(true);
    try {
        if (!gFontLoaded) {
            gFontSlot = CreateTextureFromFile(kFontImage, false);
            gFontLoaded = true;
        }
    } catch (...) {
        OGLState::PopTexture2D();
        throw;
    }
    // A new initialisation replaces the lists instead of leaking the old ones.
    DeleteBigFont();
    gListBase = glGenLists(kCells);
    if (gListBase) CompileCells();
    OGLState::PopTexture2D();

    ReadGlyphMap();
}

void DeleteBigFont() {
    if (gListBase) glDeleteLists(gListBase, kCells);
    gListBase = 0;
}

// The texture table is emptied after this, so the font image is loaded again
// by the next initialisation.
void ForgetBigFont() {
    DeleteBigFont();
    gFontLoaded = false;
    gFontSlot = 0;
    gGlyphMapRead = false;
}

int BigFontSlot() {
    return gFontSlot;
}

int BigFontGlyphSlot(unsigned char character) {
    return gGlyphMapRead ? gGlyphs[character] : -1;
}

void DrawBigText(int x, int y, const char* text, int set) {
    if (!gListBase || !text) return;
    if (set > 1) set = 1;
    if (set < 0) set = 0;
    double width = OGLState::GetViewWidth(), height = OGLState::GetViewHeight();

    OGLState::PushTexture2D(true);
    OGLState::PushDepth(false);
    OGLState::PushTextureUsed(GetTexture(gFontSlot).texture);
    glColor4f(1, 1, 1, 1);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, width, height, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glTranslated(x, y, -0.5);
    for (const unsigned char* c = (const unsigned char*)text; *c; c++) {
        int cell = set * 128 + *c - 32;
        // Codes outside the 256 cells would call lists that are not ours: they
        // take a place but draw nothing.
        if (cell >= 0 && cell < kCells)
            glCallList(gListBase + cell);
        else
            glTranslated(13, 0, 0);
    }
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    OGLState::PopTextureUsed();
    OGLState::PopDepth();
    OGLState::PopTexture2D();
}

float MeasureBigText(const char* text, int size) {
    float width = 0;
    if (!text) return width;
    for (const unsigned char* c = (const unsigned char*)text; *c; c++) {
        int slot = BigFontGlyphSlot(*c);
        if (slot < 0) continue;
        // The integer product scaled in double, the sum kept in a float.
        width = (float)(width + (double)((long long)GetTexture(slot).width * size) * 0.001);
    }
    return width;
}

float PrintChar(char character, int size, int brightness) {
    OGLState::PushTexture2D(true);
    OGLState::PushDepth(false);
    float c = (float)(brightness * 0.00390625);
    glColor4f(c, c, c, 1);
    float w = 0;
    int slot = BigFontGlyphSlot((unsigned char)character);
    if (slot >= 0) {
        const TextureEntry& glyph = GetTexture(slot);
        OGLState::PushTextureUsed(glyph.texture);
        w = (float)((double)((long long)glyph.width * size) * 0.001);
        float h = (float)((double)((long long)glyph.height * size) * 0.001);
        glBegin(GL_QUADS);
        glTexCoord2f(0, glyph.tExtent);
        glVertex2f(0, 0);
        glTexCoord2f(glyph.sExtent, glyph.tExtent);
        glVertex2f(w, 0);
        glTexCoord2f(glyph.sExtent, 0);
        glVertex2f(w, h);
        glTexCoord2f(0, 0);
        glVertex2f(0, h);
        glEnd();
        OGLState::PopTextureUsed();
    }
    OGLState::PopDepth();
    OGLState::PopTexture2D();
    return w;
}
