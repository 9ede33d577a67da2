// RectBatch: two triangles per rectangle, corners placed as the immediate-mode
// primitives place theirs (half-pixel offsets included), so a batch and the
// primitives light the same pixels.
#include "rect_batch.h"

#include <GL/gl.h>

#include "oglstate.h"

void RectBatch::Clear() {
    vertices.clear();
    colours.clear();
}

void RectBatch::AddQuad(float x0, float y0, float x1, float y1, uint32_t c) {
    // The strip fillRect draws, as triangles (v0 v1 v2) and (v2 v1 v3).
    const float v[12] = {x0, y0, x1, y0, x0, y1, x0, y1, x1, y0, x1, y1};
    vertices.insert(vertices.end(), v, v + 12);
    const uint8_t rgba[4] = {(uint8_t)(c >> 16), (uint8_t)(c >> 8), (uint8_t)c, (uint8_t)(c >> 24)};
    for (int i = 0; i < 6; i++)
        colours.insert(colours.end(), rgba, rgba + 4);
}

void RectBatch::AddFill(int x, int y, int w, int h, uint32_t colour) {
    AddQuad(x + 0.5f, y - 0.5f, x + w + 0.5f, y + h - 0.5f, colour);
}

void RectBatch::AddVLine(int x, int y, int length, uint32_t colour) {
    // A line through pixel centres lights column x, rows y .. y + length - 1:
    // the square around those pixels, with no edge on a pixel centre.
    if (length <= 0) return;
    AddQuad((float)x, (float)y, (float)(x + 1), (float)(y + length), colour);
}

void RectBatch::Draw(uint32_t first, uint32_t count) const {
    if (count == 0 || first + count > Count()) return;
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(2, GL_FLOAT, 0, vertices.data());
    glColorPointer(4, GL_UNSIGNED_BYTE, 0, colours.data());
    glDrawArrays(GL_TRIANGLES, (GLint)(first * 6), (GLsizei)(count * 6));
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    // Drawing with a colour array leaves the current colour undefined.
    OGLState::PushColor(0xFFFFFFFF);
    OGLState::PopColor();
}
