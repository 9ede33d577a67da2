// The interface's drawing primitives in immediate mode, and the interface pass
// that sets up window pixels (y down) around a root widget's draw.
#include "gui.h"

#include <GL/gl.h>

#include <algorithm>

#include "oglstate.h"
#include "text_batch.h"

int windowWidth = 640;
int windowHeight = 480;

void drawPoint(int x, int y, uint32_t colour) {
    TextBatch::Before(x - 1, y - 1, x + 2, y + 2);
    OGLState::PushColor(colour);
    glBegin(GL_POINTS);
    glVertex2d(x, y);
    glEnd();
    OGLState::PopColor();
}

void drawHLine(int x, int y, int length, uint32_t colour) {
    TextBatch::Before(std::min(x, x + length) - 1, y - 1, std::max(x, x + length) + 2, y + 2);
    OGLState::PushColor(colour);
    glBegin(GL_LINES);
    glVertex2d(x + 0.5, y + 0.5);
    glVertex2d(x + length + 0.5, y + 0.5);
    glEnd();
    OGLState::PopColor();
}

void drawVLine(int x, int y, int length, uint32_t colour) {
    TextBatch::Before(x - 1, std::min(y, y + length) - 1, x + 2, std::max(y, y + length) + 2);
    OGLState::PushColor(colour);
    glBegin(GL_LINES);
    glVertex2d(x + 0.5, y + 0.5);
    glVertex2d(x + 0.5, y + length + 0.5);
    glEnd();
    OGLState::PopColor();
}

void fillRect(int x, int y, int w, int h, uint32_t colour) {
    TextBatch::Before(std::min(x, x + w) - 1, std::min(y, y + h) - 2, std::max(x, x + w) + 2, std::max(y, y + h) + 1);
    OGLState::PushColor(colour);
    glBegin(GL_TRIANGLE_STRIP);
    glVertex2d(x + 0.5, y - 0.5);
    glVertex2d(x + w + 0.5, y - 0.5);
    glVertex2d(x + 0.5, y + h - 0.5);
    glVertex2d(x + w + 0.5, y + h - 0.5);
    glEnd();
    OGLState::PopColor();
}

void drawRect(int x, int y, int w, int h, uint32_t colour) {
    TextBatch::Before(std::min(x, x + w) - 1, std::min(y, y + h) - 1, std::max(x, x + w) + 1, std::max(y, y + h) + 1);
    OGLState::PushColor(colour);
    glBegin(GL_LINE_LOOP);
    glVertex2d(x + 0.5, y + 0.5);
    glVertex2d(x + w - 0.5, y + 0.5);
    glVertex2d(x + w - 0.5, y + h - 0.5);
    glVertex2d(x + 0.5, y + h - 0.5);
    glEnd();
    OGLState::PopColor();
}

static uint32_t ShiftChannels(uint32_t c, int delta) {
    uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        int v = (int)((c >> shift) & 0xFF) + delta;
        if (v > 255) v = 255;
        if (v < 0) v = 0;
        out |= (uint32_t)v << shift;
    }
    return out; // alpha 0
}

// The twelve lines of a bevel go out as one primitive with a colour per line:
// the same lines in the same order as twelve drawHLine / drawVLine calls.
static void BevelHLine(int x, int y, int length, uint32_t c) {
    glColor4ub((GLubyte)(c >> 16), (GLubyte)(c >> 8), (GLubyte)c, (GLubyte)(c >> 24));
    glVertex2d(x + 0.5, y + 0.5);
    glVertex2d(x + length + 0.5, y + 0.5);
}

static void BevelVLine(int x, int y, int length, uint32_t c) {
    glColor4ub((GLubyte)(c >> 16), (GLubyte)(c >> 8), (GLubyte)c, (GLubyte)(c >> 24));
    glVertex2d(x + 0.5, y + 0.5);
    glVertex2d(x + 0.5, y + length + 0.5);
}

void drawBevel(int x, int y, int w, int h, uint32_t c) {
    TextBatch::Before(std::min(x, x + w) - 1, std::min(y, y + h) - 1, std::max(x, x + w) + 2, std::max(y, y + h) + 2);
    uint32_t light = ShiftChannels(c, 64);
    uint32_t dark = ShiftChannels(c, -64);
    OGLState::PushColor(c); // restored afterwards, as each line's own push and pop would
    glBegin(GL_LINES);
    BevelHLine(x, y, w, light);
    BevelVLine(x, y, h, light);
    BevelHLine(x, y + h - 1, w, dark);
    BevelVLine(x + w - 1, y, h, dark);
    BevelHLine(x + 1, y + 1, w - 2, c);
    BevelVLine(x + 1, y + 1, h - 2, c);
    BevelHLine(x + 1, y + h - 2, w - 2, c);
    BevelVLine(x + w - 2, y + 1, h - 2, c);
    BevelHLine(x + 2, y + 2, w - 4, dark);
    BevelVLine(x + 2, y + 2, h - 4, dark);
    BevelHLine(x + 2, y + h - 3, w - 4, light);
    BevelVLine(x + w - 3, y + 2, h - 4, light);
    glEnd();
    OGLState::PopColor();
}

void drawFrame(int x, int y, int w, int h, uint32_t c) {
    drawBevel(x, y, w, h, c);
    fillRect(x + 3, y + 3, w - 6, h - 6, c);
}

void drawInterface(Widget* root) {
    OGLState::PushViewport(0, 0, windowWidth, windowHeight);
    OGLState::PushProjection(0, windowWidth, windowHeight, 0, -1.0, 1.0, true);
    {
        // Texts are held back and drawn together, before whatever would cover them.
        struct HeldTexts {
            HeldTexts() { TextBatch::Begin(); }
            ~HeldTexts() { TextBatch::End(); }
        } held;
        if (root) root->draw();
    }
    OGLState::PopViewport();
    OGLState::PopProjection();
}
