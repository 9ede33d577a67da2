// The effects of the library Fenk: functions the host calls once per frame with
// an event's integer parameters, and the drawing helpers they share. Positions
// are in tenths of a virtual unit of a 600-pixel-high view (see ViewScale).
#pragma once

#include <cstdint>

#include "fxruntime.h"

// Pixels per virtual unit of the current view: its height / 600.
double ViewScale();
// Clamps a computed pixel value into the range of a long before truncating.
long TruncToLong(double value);

// Repeatable pseudo-random values from a seed.
uint32_t ScrambleFirst(int32_t seed);
uint32_t ScrambleNext(uint32_t value);

// Draws `slot` centred at (x, y) view pixels from the top-left corner, at
// size / 1000 of its pixel size, with opacity 0..256.
void DrawTextureAt(const TextureEntry& slot, double x, double y, double size, double opacity);
// The same quad centred at the current origin.
void DrawTextureQuad(const TextureEntry& slot, double size, double opacity);
// One quad of half-size hw x hh centred on the origin at z = -1, corners from
// the bottom-left (y grows downwards) round to the top-left, textured with the
// window s0..s1, t0..t1 (t0 the image's top) when `textured`.
void DrawCentredQuad(float hw, float hh, bool textured, float s0, float t0, float s1, float t1);

// The renderer's frame at demoTimeMs: from the first call on, ShowFPS counts
// these frames per second of demo time instead of its calls per wall-clock second.
void CountRenderFrame(int32_t demoTimeMs);

// Index of the frame of `animation` shown at `time` (ms), or -1 without frames.
int AnimationFrameAt(const Animation& animation, long time);

extern "C" {
FENK_EXPORT int Clear();
FENK_EXPORT int BackgroundColor(int red, int green, int blue);
FENK_EXPORT int Background(int image);
FENK_EXPORT int BackgroundFade(int image, int opacity);
FENK_EXPORT int DebugGrid();
FENK_EXPORT int Image(int image, int x, int y, int size, int opacity);
FENK_EXPORT int Animate(int animation, int x, int y, int size, int opacity, int time);
FENK_EXPORT int PrintNr(int number, int x, int y);
FENK_EXPORT int ShowFPS(int x, int y);
FENK_EXPORT int DisplayText(int x, int y, int angle, int size, int opacity, int text, int font, int red,
                            int green, int blue);
}

// Pixel twins of the plain effects, exported under their type-decorated names
// only, so a host looking a name up finds the plain effect.
FENK_EXPORT int ImageAbs(long image, long x, long y, long size, long opacity);
FENK_EXPORT int PrintNrAbs(long number, double x, double y);
FENK_EXPORT int DisplayTextAbs(double x, double y, double angle, double size, long opacity, long text,
                               long font, long red, long green, long blue);

// Also part of this folder's interface: the effects beyond the basic ones.
#include "effects_more.h"
