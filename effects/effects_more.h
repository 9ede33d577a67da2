// The effects of Fenk beyond the basic ones: backgrounds with a texture window
// or a tint, Wave, Rasterize, CircularBlur, MovieJitter, the credits and the
// star field. Same conventions as effects.h: plain exports with C linkage, pixel
// twins under their type-decorated names.
#pragma once

#include <cstdint>
#include <vector>

#include "effects.h"

extern "C" {
FENK_EXPORT int FastBackground(int image, int left, int top, int width, int height);
FENK_EXPORT int BackgroundTint(int opacity, int red, int green, int blue);
FENK_EXPORT int Wave(int image, int x, int y, int size, int opacity, int hWaves, int vWaves, int vAmplitude,
                     int hAmplitude, int vPhase, int hPhase);
FENK_EXPORT int Rasterize(int image, int x, int y, int size, int opacity, int threshold, int maskBlur,
                          int maskCentre, int maskGain, int glowBlur, int extra1, int extra2,
                          int strokePeriod, int mode);
FENK_EXPORT int CircularBlur(int image, int x, int y, int size, int arc, int brightness, int seed, int angle,
                             int flags);
FENK_EXPORT int MovieJitter(int image, int x, int y, int size, int brightness, int seed, int jitter);
FENK_EXPORT int CreditsWendal(int x, int y, int angle, int jitter, int size, int brightness, int seed);
FENK_EXPORT int CreditsOrvik(int x, int y, int angle, int jitter, int size, int brightness, int seed);
FENK_EXPORT int CreditsBaltu(int x, int y, int angle, int jitter, int size, int brightness, int seed);
FENK_EXPORT int CreditsQuenra(int x, int y, int angle, int jitter, int size, int brightness, int seed);
FENK_EXPORT int CreditsTumsel(int x, int y, int angle, int jitter, int size, int brightness, int seed);
FENK_EXPORT int StarField(int image, int count, int speed, int time);
}

FENK_EXPORT int WaveAbs(long image, double x, double y, double size, double opacity, double hWaves,
                        double vWaves, double vAmplitude, double hAmplitude, double vPhase, double hPhase);
FENK_EXPORT int CircularBlurAbs(long image, double x, double y, double size, long arc, long brightness,
                                long seed, long angle, long flags);
FENK_EXPORT int MovieJitterAbs(long image, double x, double y, double size, long brightness, long seed,
                               long jitter);

// Shared by the credits effects: one word of glyph images, scaled from virtual units.
int DrawCredits(int x, int y, int angle, const char* name, int spacing, int jitter, int size, int brightness,
                int seed);
int DrawCreditsAbs(double x, double y, double angle, const char* name, double spacing, int jitter,
                   double size, int brightness, int seed);

// Circular blur helpers: the nibble textures made from a complex image.
void PrepareBlurTextures(int image);
void MakeBlurTexture(const uint32_t* pixels, int width, int height, int half, TextureEntry& record);
// `part` (0..1] draws only the middle of the quad, that share of its width and
// height, with the texture coordinates the whole quad has there.
int DrawBlurQuad(const TextureEntry& slot, int size, int brightness, int flags, float part = 1.0f);
// The arc in whole degrees (arc up to 360 plus 0 to 4 from the seed) and the
// number of render-target passes it takes; for arc > 0.
void BlurArc(long arc, long seed, int& degrees, int& passes);
// The low-nibble (half 0) and high-nibble (half 1) textures, for tests.
const TextureEntry& GetBlurTexture(int half);

// Copies the retained image of a complex slot into width x height contiguous
// words; raises as GetSurface does when the slot retains none.
void ReadRetainedPixels(int image, std::vector<uint32_t>& pixels, int& width, int& height);
