// Rasterize's pixel operations on 32-bit buffers. Everything is integer
// arithmetic; the blurs keep running sums so their cost does not grow with the
// radius, and every stroke is clipped to its own row or column.
#include "pixel_ops.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

// Neighbour index in a line of n pixels: the edge pixels repeat.
inline long ClampIndex(long long i, int n) {
    if (i <= 0) return 0;
    if (i >= n - 1) return n - 1;
    return (long)i;
}

inline int Channel(uint32_t pixel, int c) {
    return (int)(pixel >> (8 * c) & 0xFF);
}

inline int ClampByte(long long v) {
    return v < 0 ? 0 : v > 255 ? 255 : (int)v;
}

// Sums of the four channels over the clamped positions -radius .. radius of a
// line, in time proportional to the line rather than the radius.
template <typename Sum> struct LineSums {
    Sum s[4];
    void Clear() { s[0] = s[1] = s[2] = s[3] = 0; }
    void Add(uint32_t p, Sum times) {
        for (int c = 0; c < 4; c++)
            s[c] += (Sum)Channel(p, c) * times;
    }
    void Slide(uint32_t in, uint32_t out) {
        for (int c = 0; c < 4; c++)
            s[c] += (Sum)Channel(in, c) - (Sum)Channel(out, c);
    }
    uint32_t Mean(Sum divisor) const {
        uint32_t r = 0;
        for (int c = 0; c < 4; c++)
            r |= (uint32_t)((2 * s[c] + 1) / divisor) << (8 * c);
        return r;
    }
};

// Starting sums for a line of n pixels read through `at`.
template <typename Sum, typename At> void StartSums(LineSums<Sum>& sums, int n, int radius, At at) {
    sums.Clear();
    sums.Add(at(0), (Sum)radius + 1);
    long middleEnd = std::min<long long>(radius, (long long)n - 2);
    for (long i = 1; i <= middleEnd; i++)
        sums.Add(at(i), 1);
    long long lastFrom = std::max(1, n - 1);
    if (radius >= lastFrom) sums.Add(at(n - 1), (Sum)(radius - lastFrom + 1));
}

template <typename Sum> void BlurRows(uint32_t* buffer, int width, int height, int radius) {
    std::vector<uint32_t> out((size_t)width);
    Sum divisor = 4 * (Sum)radius + 2;
    for (int y = 0; y < height; y++) {
        uint32_t* line = buffer + (size_t)y * width;
        LineSums<Sum> sums;
        StartSums(sums, width, radius, [line](long i) { return line[i]; });
        for (int x = 0; x < width; x++) {
            out[x] = sums.Mean(divisor);
            sums.Slide(line[ClampIndex((long long)x + radius + 1, width)],
                       line[ClampIndex((long long)x - radius, width)]);
        }
        memcpy(line, out.data(), (size_t)width * 4);
    }
}

// All columns at once, row after row, so memory is read in order.
template <typename Sum> void BlurColumns(uint32_t* buffer, int width, int height, int radius) {
    std::vector<uint32_t> out((size_t)width * height);
    std::vector<LineSums<Sum>> sums((size_t)width);
    Sum divisor = 4 * (Sum)radius + 2;
    for (int x = 0; x < width; x++)
        StartSums(sums[x], height, radius, [=](long i) { return buffer[(size_t)i * width + x]; });
    for (int y = 0; y < height; y++) {
        const uint32_t* in = buffer + (size_t)ClampIndex((long long)y + radius + 1, height) * width;
        const uint32_t* gone = buffer + (size_t)ClampIndex((long long)y - radius, height) * width;
        uint32_t* row = out.data() + (size_t)y * width;
        for (int x = 0; x < width; x++) {
            row[x] = sums[x].Mean(divisor);
            sums[x].Slide(in[x], gone[x]);
        }
    }
    memcpy(buffer, out.data(), out.size() * 4);
}

// Below this radius the sums and their doubles fit in 32 bits.
const int kNarrowRadius = 1 << 20;

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

void BoxBlurRows(uint32_t* buffer, int width, int height, int radius) {
    if (radius <= 0 || width <= 0 || height <= 0) return;
    if (radius < kNarrowRadius)
        BlurRows<uint32_t>(buffer, width, height, radius);
    else
        BlurRows<uint64_t>(buffer, width, height, radius);
}

void BoxBlurColumns(uint32_t* buffer, int width, int height, int radius) {
    if (radius <= 0 || width <= 0 || height <= 0) return;
    if (radius < kNarrowRadius)
        BlurColumns<uint32_t>(buffer, width, height, radius);
    else
        BlurColumns<uint64_t>(buffer, width, height, radius);
}

void ScaleContrast(uint32_t* buffer, int centre, int gain, long pixelCount) {
    // A table per byte value: the same result for every pixel, at a lookup each.
    uint8_t table[256];
    for (int b = 0; b < 256; b++)
        table[b] = (uint8_t)ClampByte((((long long)b - centre) * gain >> 8) + centre);
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

void ComputeShape(const uint32_t* pixels, int width, int height, const ShapeParams& params,
                  std::vector<uint32_t>& mask, std::vector<uint32_t>& glow) {
    size_t count = width > 0 && height > 0 ? (size_t)width * height : 0;
    mask.assign(pixels, pixels + count);
    ToGrey(mask.data(), width, height);
    ThresholdShape(mask.data(), (long)count, params.threshold);
    glow = mask;

    BoxBlurRows(mask.data(), width, height, params.maskBlur);
    BoxBlurColumns(mask.data(), width, height, params.maskBlur);
    ScaleContrast(mask.data(), params.maskCentre, params.maskGain, (long)count);

    BoxBlurRows(glow.data(), width, height, params.glowBlur);
    BoxBlurColumns(glow.data(), width, height, params.glowBlur);
    // Only levels above 204 survive, five times as strong.
    ScaleContrast(glow.data(), 256, 1280, (long)count);
    BoxBlurRows(glow.data(), width, height, 5);
    BoxBlurColumns(glow.data(), width, height, 5);
}
