// TextBatch: held quads with each text's bounds; a flush draws them in order,
// one primitive per run of one atlas.
#include "text_batch.h"

#include <GL/gl.h>

#include <algorithm>
#include <vector>

#include "oglstate.h"

namespace {

struct HeldText {
    size_t first, count;
    int x0, y0, x1, y1; // bounds of its quads, a pixel wider all round
};

struct Batch {
    int depth = 0;
    int flushes = 0;
    std::vector<GlyphQuad> quads;
    std::vector<HeldText> texts;
};

Batch& TheBatch() {
    static Batch batch;
    return batch;
}

} // namespace

void EmitGlyphQuad(const GlyphQuad& q) {
    const uint32_t c = q.colour;
    glNormal3f(0.0f, 0.0f, 1.0f);
    glColor4f((float)((c >> 16) & 0xFF) / 255.0f, (float)((c >> 8) & 0xFF) / 255.0f, (float)(c & 0xFF) / 255.0f,
              (float)(c >> 24) / 255.0f);
    glTexCoord2f(q.uLeft, q.vBottom);
    glVertex3f(q.left, q.bottom, q.z);
    glTexCoord2f(q.uRight, q.vBottom);
    glVertex3f(q.right, q.bottom, q.z);
    glTexCoord2f(q.uRight, q.vTop);
    glVertex3f(q.right, q.top, q.z);
    glTexCoord2f(q.uLeft, q.vTop);
    glVertex3f(q.left, q.top, q.z);
}

void PushGlyphState(unsigned atlas) {
    OGLState::PushTexture2D(true);
    OGLState::PushTextureUsed(atlas);
    OGLState::PushBlend(true);
    OGLState::PushBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

void PopGlyphState() {
    OGLState::PopBlendFunc();
    OGLState::PopBlend();
    OGLState::PopTexture2D();
    OGLState::PopTextureUsed();
}

namespace TextBatch {

void Begin() {
    Batch& b = TheBatch();
    if (b.depth++ == 0) b.flushes = 0;
}

void End() {
    Batch& b = TheBatch();
    if (b.depth == 0) return;
    if (--b.depth == 0) Flush();
}

bool Holding() {
    return TheBatch().depth > 0;
}

void Add(const GlyphQuad* quads, size_t count) {
    if (count == 0) return;
    Batch& b = TheBatch();
    HeldText t = {b.quads.size(), count, 0, 0, 0, 0};
    float x0 = quads[0].left, y0 = quads[0].top, x1 = quads[0].right, y1 = quads[0].bottom;
    for (size_t i = 0; i < count; i++) {
        const GlyphQuad& q = quads[i];
        x0 = std::min({x0, q.left, q.right});
        x1 = std::max({x1, q.left, q.right});
        y0 = std::min({y0, q.top, q.bottom});
        y1 = std::max({y1, q.top, q.bottom});
        b.quads.push_back(q);
    }
    // Whole pixels around the quads, with a pixel to spare for the filtering.
    const float limit = 1e9f;
    t.x0 = (int)std::max(-limit, x0) - 2;
    t.y0 = (int)std::max(-limit, y0) - 2;
    t.x1 = (int)std::min(limit, x1) + 2;
    t.y1 = (int)std::min(limit, y1) + 2;
    b.texts.push_back(t);
}

void Before(int x0, int y0, int x1, int y1) {
    Batch& b = TheBatch();
    for (const HeldText& t : b.texts)
        if (x0 < t.x1 && t.x0 < x1 && y0 < t.y1 && t.y0 < y1) {
            b.flushes++;
            Flush();
            return;
        }
}

void Flush() {
    Batch& b = TheBatch();
    if (b.quads.empty()) return;
    unsigned atlas = b.quads[0].atlas;
    PushGlyphState(atlas);
    glBegin(GL_QUADS);
    for (const GlyphQuad& q : b.quads) {
        if (q.atlas != atlas) {
            glEnd();
            atlas = q.atlas;
            OGLState::SetTextureUsed(atlas);
            glBegin(GL_QUADS);
        }
        EmitGlyphQuad(q);
    }
    glEnd();
    PopGlyphState();
    b.quads.clear();
    b.texts.clear();
}

int FlushCount() {
    return TheBatch().flushes;
}

} // namespace TextBatch
