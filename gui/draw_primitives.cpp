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

void fillRectAround(int x, int y, int w, int h, uint32_t colour, const std::vector<PixelRect>& holes) {
    // Holes in fillRect's own coordinates, a pixel in on each side and clipped
    // to the rectangle.
    struct Span {
        int x0, x1, y0, y1;
    };
    std::vector<Span> cut;
    for (const PixelRect& r : holes) {
        Span s = {std::max(x, r.x + 1), std::min(x + w, r.x + r.w - 1), std::max(y, r.y + 1),
                  std::min(y + h, r.y + r.h - 1)};
        if (s.x0 < s.x1 && s.y0 < s.y1) cut.push_back(s);
    }
    if (cut.empty()) {
        fillRect(x, y, w, h, colour);
        return;
    }
    // Columns between consecutive hole edges; in each, the rows no hole takes.
    std::vector<int> edges = {x, x + w};
    for (const Span& s : cut) {
        edges.push_back(s.x0);
        edges.push_back(s.x1);
    }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    std::sort(cut.begin(), cut.end(), [](const Span& a, const Span& b) { return a.y0 < b.y0; });
    TextBatch::Before(x - 1, y - 2, x + w + 2, y + h + 1);
    OGLState::PushColor(colour);
    glBegin(GL_QUADS);
    auto quad = [](int a, int b, int top, int bottom) { // fillRect's corners
        glVertex2d(a + 0.5, top - 0.5);
        glVertex2d(b + 0.5, top - 0.5);
        glVertex2d(b + 0.5, bottom - 0.5);
        glVertex2d(a + 0.5, bottom - 0.5);
    };
    for (size_t i = 0; i + 1 < edges.size(); i++) {
        const int a = edges[i], b = edges[i + 1];
        int top = y; // rows above `top` are done
        for (const Span& s : cut) {
            if (s.x0 > a || s.x1 < b || s.y1 <= top) continue; // not across this column, or passed
            if (s.y0 > top) quad(a, b, top, s.y0);
            top = s.y1;
        }
        if (top < y + h) quad(a, b, top, y + h);
    }
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
