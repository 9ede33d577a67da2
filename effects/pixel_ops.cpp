// Rasterize's pixel operations on 32-bit buffers. Everything is integer
// arithmetic, and every stroke is clipped to its own row or column. The box
// blurs are in box_blur.cpp.
#include "pixel_ops.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

inline int Channel(uint32_t pixel, int c) {
    return (int)(pixel >> (8 * c) & 0xFF);
}

inline int ClampByte(long long v) {
    return v < 0 ? 0 : v > 255 ? 255 : (int)v;
}

} // namespace

void ToGrey(uint32_t* buffer, int width, int height) {
    if (width <= 0 || height <= 0) return;
    size_t count = (size_t)width * height;
    for (size_t i = 0; i < count; i++) {
        uint32_t p = buffer[i];
        uint32_t y =
            (76 * (uint32_t)Channel(p, 2) + 151 * (uint32_t)Channel(p, 1) + 28 * (uint32_t)Channel(p, 0)) /
            256;
        buffer[i] = 0xFF000000u + y * 0x010101u;
    }
}

void ThresholdShape(uint32_t* buffer, long pixelCount, int threshold) {
    for (long i = 0; i < pixelCount; i++)
        buffer[i] = (buffer[i] & 0xFF) > (unsigned)threshold ? 0xFF000000u : 0;
}

namespace {

// A table per byte value: the same result for every pixel, at a lookup each.
void ContrastTable(uint8_t table[256], int centre, int gain) {
    for (int b = 0; b < 256; b++)
        table[b] = (uint8_t)ClampByte((((long long)b - centre) * gain >> 8) + centre);
}

} // namespace

void ScaleContrast(uint32_t* buffer, int centre, int gain, long pixelCount) {
    uint8_t table[256];
    ContrastTable(table, centre, gain);
    for (long i = 0; i < pixelCount; i++) {
        uint32_t p = buffer[i];
        buffer[i] = (uint32_t)table[p & 0xFF] | (uint32_t)table[p >> 8 & 0xFF] << 8 |
                    (uint32_t)table[p >> 16 & 0xFF] << 16 | (uint32_t)table[p >> 24] << 24;
    }
}

uint32_t MaxChannels(uint32_t pixel, uint32_t colour) {
    uint32_t r = 0;
    for (int c = 0; c < 4; c++)
        r |= (uint32_t)std::max(Channel(pixel, c), Channel(colour, c)) << (8 * c);
    return r;
}

uint32_t JitterColour(uint32_t colour, int centre, int gain, int noiseRange) {
    int noise = noiseRange > 0 ? rand() % noiseRange : 0;
    uint32_t r = 0;
    for (int c = 0; c < 4; c++)
        r |= (uint32_t)ClampByte((((long long)Channel(colour, c) - centre) * gain >> 8) + noise) << (8 * c);
    return r;
}

namespace {

// One direction of strokes. A "line" is a row (horizontal strokes) or a column
// (vertical ones); `along` walks within it. Lines are `lines` long in number and
// `length` pixels each; pixel (line, pos) is at line * lineStep + pos * posStep.
struct StrokeGrid {
    uint32_t* out;
    const uint32_t* source;
    int lines, length;
    size_t lineStep, posStep;
    uint32_t sideMask; // which bits survive the shift of the side stroke's colour
    int sideShift;

    size_t At(int line, long pos) const { return (size_t)line * lineStep + (size_t)pos * posStep; }
    // MaxChannels over n pixels from pos on, clipped to the line.
    void Stroke(int line, long pos, long n, uint32_t colour) const {
        long end = std::min<long>(pos + n, length);
        for (long p = std::max(0L, pos); p < end; p++)
            out[At(line, p)] = MaxChannels(out[At(line, p)], colour);
    }
    int Neighbour(int line) const {
        int next = rand() % 2 == 0 ? line - 1 : line + 1;
        return std::min(std::max(next, 0), lines - 1);
    }

    void Draw() const {
        // A pass normally takes about lines / 5 * length / 18 strokes. The budget
        // only stops a rand() that keeps stepping back from going on for ever.
        long long budget = 64 + 16LL * (length + 20) * (lines / 5 + 1);
        int line = rand() % 5;
        while (line < lines) {
            long pos = 0;
            long len = rand() % 20 + 10;
            while (pos < length) {
                if (--budget < 0) return;
                if (pos + len > length) len = length - pos;
                uint32_t colour = JitterColour(source[At(line, pos + len / 2)], 128, 320, 50);
                uint32_t side = (colour >> sideShift) & sideMask;
                Stroke(line, pos, len, colour);
                if (rand() % 3 != 0 && len > 4) {
                    long h = len / 2;
                    long a = rand() % h;
                    long n = rand() % (h - a) + h;
                    Stroke(Neighbour(line), pos + a, n, side);
                }
                pos += len;
                len = rand() % 20 + 10;
                if (rand() % 16 == 0) {
                    line = Neighbour(line);
                    pos = std::max(0L, pos - len);
                    len = rand() % 20 + 10;
                }
            }
            line += 5;
        }
    }
};

} // namespace

void DrawStrokes(uint32_t* out, int width, int height, const uint32_t* source, const uint32_t* glow) {
    if (width <= 0 || height <= 0) return;
    memcpy(out, glow, (size_t)width * height * 4);
    StrokeGrid rows{out, source, height, width, (size_t)width, 1, 0x7F7F7F7Fu, 1};
    rows.Draw();
    StrokeGrid columns{out, source, width, height, 1, (size_t)width, 0x3F3F3F3Fu, 2};
    columns.Draw();
}

bool operator==(const ShapeParams& a, const ShapeParams& b) {
    return a.threshold == b.threshold && a.maskBlur == b.maskBlur && a.maskCentre == b.maskCentre &&
           a.maskGain == b.maskGain && a.glowBlur == b.glowBlur && a.extra1 == b.extra1 &&
           a.extra2 == b.extra2;
}

// The threshold leaves only alpha, 0 or 255, and blurs, the glow's contrast
// and blurs of zeros keep the other three bytes at zero: the whole shape is
// worked out on a plane of alpha bytes, a quarter of the memory, and the
// pixels are put together at the end.
void ComputeShape(const uint32_t* pixels, int width, int height, const ShapeParams& params,
                  std::vector<uint32_t>& mask, std::vector<uint32_t>& glow) {
    size_t count = width > 0 && height > 0 ? (size_t)width * height : 0;
    std::vector<uint8_t> shape(count);
    for (size_t i = 0; i < count; i++) {
        uint32_t p = pixels[i];
        uint32_t grey = (76 * (uint32_t)Channel(p, 2) + 151 * (uint32_t)Channel(p, 1) +
                         28 * (uint32_t)Channel(p, 0)) / 256;
        shape[i] = grey > (unsigned)params.threshold ? 255 : 0;
    }
    std::vector<uint8_t> glowPlane = shape;

    BoxBlurPlaneRows(shape.data(), width, height, params.maskBlur);
    BoxBlurPlaneColumns(shape.data(), width, height, params.maskBlur);
    uint8_t maskTable[256];
    ContrastTable(maskTable, params.maskCentre, params.maskGain);
    const uint32_t maskGround = maskTable[0] * 0x010101u; // the contrast of the zero bytes
    mask.resize(count);
    for (size_t i = 0; i < count; i++)
        mask[i] = maskGround | (uint32_t)maskTable[shape[i]] << 24;

    BoxBlurPlaneRows(glowPlane.data(), width, height, params.glowBlur);
    BoxBlurPlaneColumns(glowPlane.data(), width, height, params.glowBlur);
    // Only levels above 204 survive, five times as strong.
    uint8_t glowTable[256];
    ContrastTable(glowTable, 256, 1280);
    for (uint8_t& b : glowPlane)
        b = glowTable[b];
    BoxBlurPlaneRows(glowPlane.data(), width, height, 5);
    BoxBlurPlaneColumns(glowPlane.data(), width, height, 5);
    glow.resize(count);
    for (size_t i = 0; i < count; i++)
        glow[i] = (uint32_t)glowPlane[i] << 24;
}
