// TextBatch: the texts of an interface pass held back and drawn together.
// Switching a software rasteriser between flat fills and blended, textured
// glyphs costs far more than drawing the glyphs; held back until something is
// about to be drawn over them, the texts of a whole pass mostly go out as one
// primitive with one switch. The pixels stay the same: each text is still
// drawn after everything drawn before it and before anything drawn over it.
#pragma once

#include <cstddef>
#include <cstdint>

struct GlyphCell;

// One character's quad as Font draws it: atlas, colour and corners in window pixels.
struct GlyphQuad {
    unsigned atlas;
    uint32_t colour; // 0xAARRGGBB
    float left, top, right, bottom, z;
    float uLeft, vTop, uRight, vBottom;
};

// The quad's GL calls, inside a glBegin(GL_QUADS) with the glyph state set.
void EmitGlyphQuad(const GlyphQuad& q);
// The glyph state around glyphs of `atlas`: texturing, the atlas, alpha blending.
void PushGlyphState(unsigned atlas);
void PopGlyphState();

namespace TextBatch {
// Holds texts from now on (calls nest); End draws what is held once the
// outermost ends. Begin and End bracket one interface pass.
void Begin();
void End();
bool Holding();
// Holds one text's quads (drawn in the order added).
void Add(const GlyphQuad* quads, size_t count);
// To be called before drawing anything over window pixels x0 .. x1 - 1,
// y0 .. y1 - 1 while holding: draws the held texts first where one lies there.
void Before(int x0, int y0, int x1, int y1);
// Draws what is held now.
void Flush();
// Primitives drawn since Begin that had to draw the held texts first (for the benchmark).
int FlushCount();
} // namespace TextBatch
