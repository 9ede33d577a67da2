// Rasterize's image work on plain 32-bit pixel buffers (blue in the lowest byte,
// then green, red, alpha; rows top first): grey conversion, the shape threshold,
// box blurs with running sums, contrast, and the pen strokes. No GL here, so the
// operations are tested and timed without a window.
#pragma once

#include <cstdint>
#include <vector>

// Each pixel becomes opaque grey (76 R + 151 G + 28 B) / 256.
void ToGrey(uint32_t* buffer, int width, int height);
// Each pixel becomes opaque black when its low byte is above threshold (compared
// unsigned, so a negative threshold keeps nothing), else transparent.
void ThresholdShape(uint32_t* buffer, long pixelCount, int threshold);
// Rounded mean of 2 * radius + 1 pixels along each row (edge pixels repeat), every
// channel on its own. Radius 0 or below leaves the buffer as it is.
void BoxBlurRows(uint32_t* buffer, int width, int height, int radius);
void BoxBlurColumns(uint32_t* buffer, int width, int height, int radius);
// The same on a plane of single bytes (one channel).
void BoxBlurPlaneRows(uint8_t* plane, int width, int height, int radius);
void BoxBlurPlaneColumns(uint8_t* plane, int width, int height, int radius);
// For tests: true makes the blurs use their baseline vector code even where the
// processor has wider vectors (the bytes are the same either way).
void BoxBlurUseBaselineVectors(bool baseline);
// Every byte b becomes ((b - centre) * gain >> 8) + centre, clamped to 0..255.
void ScaleContrast(uint32_t* buffer, int centre, int gain, long pixelCount);
// The larger of the two bytes in each of the four positions.
uint32_t MaxChannels(uint32_t pixel, uint32_t colour);
// Draws one rand() % noiseRange; every byte b becomes ((b - centre) * gain >> 8)
// + noise, clamped to 0..255. The centre is not added back: the result is darker.
uint32_t JitterColour(uint32_t colour, int centre, int gain, int noiseRange);

// out (width x height) = glow with short horizontal, then vertical strokes coloured
// from source laid over it with MaxChannels. Uses rand() in a fixed order.
void DrawStrokes(uint32_t* out, int width, int height, const uint32_t* source, const uint32_t* glow);

// The parameters that shape Rasterize's mask and glow.
struct ShapeParams {
    int threshold;
    int maskBlur;
    int maskCentre;
    int maskGain;
    int glowBlur;
    int extra1, extra2; // compared for the cache only
};
bool operator==(const ShapeParams& a, const ShapeParams& b);
inline bool operator!=(const ShapeParams& a, const ShapeParams& b) {
    return !(a == b);
}

// The soft shadow mask and the glow of the image's bright areas.
void ComputeShape(const uint32_t* pixels, int width, int height, const ShapeParams& params,
                  std::vector<uint32_t>& mask, std::vector<uint32_t>& glow);
