// Rasterize's box blurs near memory speed. Each direction is one pass of
// running sums, one per byte (channel) of a row, moved down the image row
// after row so that whole rows are worked on as vectors; rows are blurred the
// same way on blocks turned on their side, or for pixels with AVX2, eight rows
// at a time turned tile by tile in registers. The rounded mean (2 sum + 1) /
// (4 radius + 2) is a multiply and a shift wherever that gives the division's
// result for every sum the radius allows. The results are those of the plain
// running sums, byte for byte.
#include "pixel_ops.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <type_traits>
#include <vector>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace {

#if defined(__SSE2__)
// Turns a 4 x 4 tile of 32-bit values: row i of the result is column i.
inline void Transpose4(__m128i& a, __m128i& b, __m128i& c, __m128i& d) {
    __m128i ab0 = _mm_unpacklo_epi32(a, b), ab1 = _mm_unpackhi_epi32(a, b);
    __m128i cd0 = _mm_unpacklo_epi32(c, d), cd1 = _mm_unpackhi_epi32(c, d);
    a = _mm_unpacklo_epi64(ab0, cd0);
    b = _mm_unpackhi_epi64(ab0, cd0);
    c = _mm_unpacklo_epi64(ab1, cd1);
    d = _mm_unpackhi_epi64(ab1, cd1);
}

// Turns a 16 x 16 tile of bytes in four rounds of interleaving, pairs of rows
// one, two, four and eight apart. Afterwards row i holds column kBitReversed[i].
const int kBitReversed[16] = {0, 8, 4, 12, 2, 10, 6, 14, 1, 9, 5, 13, 3, 11, 7, 15};
inline void Transpose16(__m128i v[16]) {
    for (int i = 0; i < 16; i += 2) {
        __m128i lo = _mm_unpacklo_epi8(v[i], v[i + 1]), hi = _mm_unpackhi_epi8(v[i], v[i + 1]);
        v[i] = lo, v[i + 1] = hi;
    }
    for (int i = 0; i < 16; i++)
        if (!(i & 2)) {
            __m128i lo = _mm_unpacklo_epi16(v[i], v[i + 2]), hi = _mm_unpackhi_epi16(v[i], v[i + 2]);
            v[i] = lo, v[i + 2] = hi;
        }
    for (int i = 0; i < 16; i++)
        if (!(i & 4)) {
            __m128i lo = _mm_unpacklo_epi32(v[i], v[i + 4]), hi = _mm_unpackhi_epi32(v[i], v[i + 4]);
            v[i] = lo, v[i + 4] = hi;
        }
    for (int i = 0; i < 8; i++) {
        __m128i lo = _mm_unpacklo_epi64(v[i], v[i + 8]), hi = _mm_unpackhi_epi64(v[i], v[i + 8]);
        v[i] = lo, v[i + 8] = hi;
    }
}
#endif

// Where the compiler can, the loops are also built for AVX2 and the faster one
// is chosen when the library loads; both give the same bytes.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define BLUR_CLONES __attribute__((target_clones("avx2", "default"), flatten))
#else
#define BLUR_CLONES
#endif

inline long ClampIndex(long long i, int n) {
    if (i <= 0) return 0;
    if (i >= n - 1) return n - 1;
    return (long)i;
}

// The rounded mean of a window sum: n = 2 sum + 1, q = n / d with d = 4 radius + 2.
// For radius up to 128 the sums fit 16 bits, and q is also sum / (2 radius + 1)
// (the + 1 never reaches the next multiple), which a 16-bit high product and a
// shift give where the check below allows: twice the lanes per vector.
struct Mean16 {
    uint16_t m;
    int shift; // after the high 16 bits
    uint16_t operator()(uint16_t sum) const { return (uint16_t)((uint32_t)sum * m >> 16) >> shift; }
};
struct Mean32 { // radius up to 63: the products fit 32 bits
    uint32_t m;
    int shift;
    uint32_t operator()(uint32_t sum) const { return ((sum * 2 + 1) * m) >> shift; }
};
struct Mean64 {
    uint64_t m;
    int shift;
    uint32_t operator()(uint32_t sum) const { return (uint32_t)(((uint64_t)(sum * 2 + 1) * m) >> shift); }
};

enum class MeanKind { Mul16, Mul32, Mul64, None };

struct Divider {
    MeanKind kind;
    Mean16 mean16;
    Mean32 mean32;
    Mean64 mean64;
};

// The cheapest exact multiply-and-shift for this radius, or None when the sums
// themselves would not fit 32 bits or no shift is exact.
Divider ChooseDivider(long long radius) {
    Divider d = {MeanKind::None, {0, 0}, {0, 0}, {0, 0}};
    if (radius <= 128) {
        // sum * m >> (16 + shift) equals sum / odd whenever sum * (m * odd -
        // 2^(16 + shift)) < 2^(16 + shift), as with the wider products below.
        const uint64_t odd = 2 * (uint64_t)radius + 1, largestSum = 255 * odd;
        for (int shift = 1; shift < 16; shift++) {
            uint64_t power = (uint64_t)1 << (16 + shift);
            uint64_t m = (power + odd - 1) / odd;
            if (m >= 65536) break;
            if (largestSum * (m * odd - power) < power) {
                d.kind = MeanKind::Mul16;
                d.mean16 = {(uint16_t)m, shift};
                return d;
            }
        }
    }
    unsigned __int128 divisor = 4 * (unsigned __int128)radius + 2;
    unsigned __int128 largest = 2 * 255 * (2 * (unsigned __int128)radius + 1) + 1; // largest n
    if (largest >= ((unsigned __int128)1 << 32)) return d;
    for (int bits : {32, 64}) {
        for (int shift = 0; shift < bits; shift++) {
            unsigned __int128 power = (unsigned __int128)1 << shift;
            unsigned __int128 m = (power + divisor - 1) / divisor;
            if (largest * divisor >= power) continue;                 // not exact
            if (largest * m >= ((unsigned __int128)1 << bits)) break; // product too wide
            if (bits == 32) {
                d.kind = MeanKind::Mul32;
                d.mean32 = {(uint32_t)m, shift};
            } else {
                d.kind = MeanKind::Mul64;
                d.mean64 = {(uint64_t)m, shift};
            }
            return d;
        }
    }
    return d;
}

// One output row of a downward pass: the means of the sums, then the sums
// moved one row on. Plain loops over distinct arrays, which the compiler turns
// into vector code.
template <typename Sum, typename Mean>
inline void MeanAndSlide(uint8_t* __restrict out, Sum* __restrict sums, const uint8_t* __restrict in,
                         const uint8_t* __restrict gone, size_t lanes, const Mean& mean) {
    for (size_t i = 0; i < lanes; i++) {
        Sum s = sums[i];
        out[i] = (uint8_t)mean(s);
        sums[i] = (Sum)(s + in[i] - gone[i]); // 16-bit sums may wrap between the two
    }
}

#if defined(__x86_64__) && defined(__GNUC__)
// The compiler widens the 16-bit high product to 32 bits; written out with
// intrinsics it stays 16 bits wide: 32 lanes per AVX2 step, 16 per SSE2 step.
__attribute__((target("avx2"))) void MeanAndSlide16Avx2(uint8_t* __restrict out, uint16_t* __restrict sums,
                                                        const uint8_t* __restrict in,
                                                        const uint8_t* __restrict gone, size_t lanes,
                                                        const Mean16& mean) {
    const __m256i m = _mm256_set1_epi16((short)mean.m);
    const __m128i shift = _mm_cvtsi32_si128(mean.shift);
    size_t i = 0;
    for (; i + 32 <= lanes; i += 32) {
        __m256i s0 = _mm256_loadu_si256((const __m256i*)(sums + i));
        __m256i s1 = _mm256_loadu_si256((const __m256i*)(sums + i + 16));
        __m256i q0 = _mm256_srl_epi16(_mm256_mulhi_epu16(s0, m), shift);
        __m256i q1 = _mm256_srl_epi16(_mm256_mulhi_epu16(s1, m), shift);
        __m256i bytes = _mm256_permute4x64_epi64(_mm256_packus_epi16(q0, q1), 0xD8);
        _mm256_storeu_si256((__m256i*)(out + i), bytes);
        __m256i in0 = _mm256_cvtepu8_epi16(_mm_loadu_si128((const __m128i*)(in + i)));
        __m256i in1 = _mm256_cvtepu8_epi16(_mm_loadu_si128((const __m128i*)(in + i + 16)));
        __m256i gone0 = _mm256_cvtepu8_epi16(_mm_loadu_si128((const __m128i*)(gone + i)));
        __m256i gone1 = _mm256_cvtepu8_epi16(_mm_loadu_si128((const __m128i*)(gone + i + 16)));
        _mm256_storeu_si256((__m256i*)(sums + i), _mm256_sub_epi16(_mm256_add_epi16(s0, in0), gone0));
        _mm256_storeu_si256((__m256i*)(sums + i + 16), _mm256_sub_epi16(_mm256_add_epi16(s1, in1), gone1));
    }
    for (; i < lanes; i++) {
        uint16_t s = sums[i];
        out[i] = (uint8_t)mean(s);
        sums[i] = (uint16_t)(s + in[i] - gone[i]);
    }
}

void MeanAndSlide16Sse2(uint8_t* __restrict out, uint16_t* __restrict sums, const uint8_t* __restrict in,
                        const uint8_t* __restrict gone, size_t lanes, const Mean16& mean) {
    const __m128i m = _mm_set1_epi16((short)mean.m), zero = _mm_setzero_si128();
    const __m128i shift = _mm_cvtsi32_si128(mean.shift);
    size_t i = 0;
    for (; i + 16 <= lanes; i += 16) {
        __m128i s0 = _mm_loadu_si128((const __m128i*)(sums + i));
        __m128i s1 = _mm_loadu_si128((const __m128i*)(sums + i + 8));
        __m128i q0 = _mm_srl_epi16(_mm_mulhi_epu16(s0, m), shift);
        __m128i q1 = _mm_srl_epi16(_mm_mulhi_epu16(s1, m), shift);
        _mm_storeu_si128((__m128i*)(out + i), _mm_packus_epi16(q0, q1));
        __m128i fresh = _mm_loadu_si128((const __m128i*)(in + i));
        __m128i old = _mm_loadu_si128((const __m128i*)(gone + i));
        s0 = _mm_sub_epi16(_mm_add_epi16(s0, _mm_unpacklo_epi8(fresh, zero)), _mm_unpacklo_epi8(old, zero));
        s1 = _mm_sub_epi16(_mm_add_epi16(s1, _mm_unpackhi_epi8(fresh, zero)), _mm_unpackhi_epi8(old, zero));
        _mm_storeu_si128((__m128i*)(sums + i), s0);
        _mm_storeu_si128((__m128i*)(sums + i + 8), s1);
    }
    for (; i < lanes; i++) {
        uint16_t s = sums[i];
        out[i] = (uint8_t)mean(s);
        sums[i] = (uint16_t)(s + in[i] - gone[i]);
    }
}

using MeanAndSlide16Step = void (*)(uint8_t*, uint16_t*, const uint8_t*, const uint8_t*, size_t, const Mean16&);
MeanAndSlide16Step meanAndSlide16 = __builtin_cpu_supports("avx2") ? MeanAndSlide16Avx2 : MeanAndSlide16Sse2;

inline void MeanAndSlide(uint8_t* __restrict out, uint16_t* __restrict sums, const uint8_t* __restrict in,
                         const uint8_t* __restrict gone, size_t lanes, const Mean16& mean) {
    meanAndSlide16(out, sums, in, gone, lanes, mean);
}

// 32 sums' means as 32 bytes.
__attribute__((target("avx2"))) inline void StoreMeans32(uint8_t* out, __m256i a, __m256i b, __m256i m,
                                                         __m128i shift) {
    __m256i qa = _mm256_srl_epi16(_mm256_mulhi_epu16(a, m), shift);
    __m256i qb = _mm256_srl_epi16(_mm256_mulhi_epu16(b, m), shift);
    _mm256_storeu_si256((__m256i*)out, _mm256_permute4x64_epi64(_mm256_packus_epi16(qa, qb), 0xD8));
}
// sum + in - gone for 16 lanes.
__attribute__((target("avx2"))) inline __m256i Slide16(__m256i sum, const uint8_t* in, const uint8_t* gone) {
    __m256i fresh = _mm256_cvtepu8_epi16(_mm_loadu_si128((const __m128i*)in));
    __m256i old = _mm256_cvtepu8_epi16(_mm_loadu_si128((const __m128i*)gone));
    return _mm256_sub_epi16(_mm256_add_epi16(sum, fresh), old);
}

// The row pass's blocks of 64 bytes a row walked down whole with the 64 sums in
// four registers: the same steps as BlurDown's loop, without a call per row.
__attribute__((target("avx2"))) void WalkDown64Avx2(uint8_t* data, int rows, int radius, const uint16_t* sums,
                                                    uint8_t* ring, int ringRows, const Mean16& mean) {
    const __m256i m = _mm256_set1_epi16((short)mean.m);
    const __m128i shift = _mm_cvtsi32_si128(mean.shift);
    __m256i s0 = _mm256_loadu_si256((const __m256i*)sums), s1 = _mm256_loadu_si256((const __m256i*)(sums + 16));
    __m256i s2 = _mm256_loadu_si256((const __m256i*)(sums + 32));
    __m256i s3 = _mm256_loadu_si256((const __m256i*)(sums + 48));
    int slot = 0;
    for (int y = 0; y + 1 < rows; y++) {
        uint8_t* out = data + (size_t)y * 64;
        _mm256_storeu_si256((__m256i*)(ring + (size_t)slot * 64), _mm256_loadu_si256((const __m256i*)out));
        _mm256_storeu_si256((__m256i*)(ring + (size_t)slot * 64 + 32),
                            _mm256_loadu_si256((const __m256i*)(out + 32)));
        int nextSlot = slot + 1 == ringRows ? 0 : slot + 1;
        const uint8_t* gone = ring + (size_t)((long long)y - radius <= 0 ? 0 : nextSlot) * 64;
        const uint8_t* in = data + (size_t)ClampIndex((long long)y + radius + 1, rows) * 64;
        slot = nextSlot;
        StoreMeans32(out, s0, s1, m, shift);
        StoreMeans32(out + 32, s2, s3, m, shift);
        s0 = Slide16(s0, in, gone);
        s1 = Slide16(s1, in + 16, gone + 16);
        s2 = Slide16(s2, in + 32, gone + 32);
        s3 = Slide16(s3, in + 48, gone + 48);
    }
    uint8_t* last = data + (size_t)(rows - 1) * 64;
    StoreMeans32(last, s0, s1, m, shift);
    StoreMeans32(last + 32, s2, s3, m, shift);
}

using WalkDown64Step = void (*)(uint8_t*, int, int, const uint16_t*, uint8_t*, int, const Mean16&);
WalkDown64Step walkDown64 = __builtin_cpu_supports("avx2") ? WalkDown64Avx2 : nullptr;

// Turns an 8 x 8 tile of 32-bit values: row i of the result is column i.
__attribute__((target("avx2"))) inline void Transpose8(__m256i r[8]) {
    __m256i t[8], u[8];
    for (int i = 0; i < 8; i += 2) {
        t[i] = _mm256_unpacklo_epi32(r[i], r[i + 1]);
        t[i + 1] = _mm256_unpackhi_epi32(r[i], r[i + 1]);
    }
    for (int i = 0; i < 8; i += 4) {
        u[i] = _mm256_unpacklo_epi64(t[i], t[i + 2]);
        u[i + 1] = _mm256_unpackhi_epi64(t[i], t[i + 2]);
        u[i + 2] = _mm256_unpacklo_epi64(t[i + 1], t[i + 3]);
        u[i + 3] = _mm256_unpackhi_epi64(t[i + 1], t[i + 3]);
    }
    for (int i = 0; i < 4; i++) {
        r[i] = _mm256_permute2x128_si256(u[i], u[i + 4], 0x20);
        r[i + 4] = _mm256_permute2x128_si256(u[i], u[i + 4], 0x31);
    }
}

// A whole block of 16 rows of pixels turned on its side and back in 8 x 8
// tiles, for the columns that fill whole tiles; the rest is left to the caller.
__attribute__((target("avx2"))) int TurnOnSide16Avx2(uint32_t* block, const uint32_t* rows, int width) {
    int x = 0;
    __m256i r[8];
    for (; x + 8 <= width; x += 8)
        for (int j = 0; j < 16; j += 8) {
            for (int i = 0; i < 8; i++)
                r[i] = _mm256_loadu_si256((const __m256i*)(rows + (size_t)(j + i) * width + x));
            Transpose8(r);
            for (int i = 0; i < 8; i++)
                _mm256_storeu_si256((__m256i*)(block + (size_t)(x + i) * 16 + j), r[i]);
        }
    return x;
}
__attribute__((target("avx2"))) int TurnBack16Avx2(uint32_t* rows, const uint32_t* block, int width) {
    int x = 0;
    __m256i r[8];
    for (; x + 8 <= width; x += 8)
        for (int j = 0; j < 16; j += 8) {
            for (int i = 0; i < 8; i++)
                r[i] = _mm256_loadu_si256((const __m256i*)(block + (size_t)(x + i) * 16 + j));
            Transpose8(r);
            for (int i = 0; i < 8; i++)
                _mm256_storeu_si256((__m256i*)(rows + (size_t)(j + i) * width + x), r[i]);
        }
    return x;
}
using TurnStep = int (*)(uint32_t*, const uint32_t*, int);
TurnStep turnOnSide16 = __builtin_cpu_supports("avx2") ? TurnOnSide16Avx2 : nullptr;
TurnStep turnBack16 = __builtin_cpu_supports("avx2") ? TurnBack16Avx2 : nullptr;

// The row pass for pixels in one sweep along eight rows at once, with no scratch
// image: each tile of 4 pixels x 8 rows entering the window is turned on its
// side in registers, so that one vector holds one pixel of each of the eight
// rows; the sums move along these column vectors, and the four means of a tile
// are turned back in registers and stored straight into the rows. The columns
// entering are kept, widened to 16 bits, in a ring as long as the window,
// 2 radius + 1, for when they leave it: by then the rows hold means.
//
// A column vector holds rows 0-3 in its low 128-bit half and rows 4-7 in its
// high half. Tiles are loaded that way (row j and row j + 4 in the two halves
// of one vector), so turning them needs no lane crossing, and only four
// columns are in flight: small enough for the registers.

// The sweep's steps are AVX2 code called from AVX2 code; the small ones are
// always inlined, so that the tile stays in registers.
#define SWEEP_AVX2 __attribute__((target("avx2")))
#define SWEEP_INLINE __attribute__((target("avx2"), always_inline)) inline

// Turns the 4 x 4 tiles of 32-bit values in both halves of a, b, c, d at once.
SWEEP_INLINE void Transpose4x2(__m256i& a, __m256i& b, __m256i& c, __m256i& d) {
    __m256i ab0 = _mm256_unpacklo_epi32(a, b), ab1 = _mm256_unpackhi_epi32(a, b);
    __m256i cd0 = _mm256_unpacklo_epi32(c, d), cd1 = _mm256_unpackhi_epi32(c, d);
    a = _mm256_unpacklo_epi64(ab0, cd0);
    b = _mm256_unpackhi_epi64(ab0, cd0);
    c = _mm256_unpacklo_epi64(ab1, cd1);
    d = _mm256_unpackhi_epi64(ab1, cd1);
}

// Pixels x .. x + 3 of row j (low half) and row j + 4 (high half).
SWEEP_INLINE __m256i LoadRowPair(const uint32_t* row, size_t stride) {
    return _mm256_inserti128_si256(_mm256_castsi128_si256(_mm_loadu_si128((const __m128i*)row)),
                                   _mm_loadu_si128((const __m128i*)(row + 4 * stride)), 1);
}
SWEEP_INLINE void StoreRowPair(uint32_t* row, size_t stride, __m256i v) {
    _mm_storeu_si128((__m128i*)row, _mm256_castsi256_si128(v));
    _mm_storeu_si128((__m128i*)(row + 4 * stride), _mm256_extracti128_si256(v, 1));
}

// Where rows lie a multiple of 4 KiB apart (widths of 1024 pixels and the
// like), the same pixel of all eight rows falls in one set of the level 1
// cache, more lines than it holds. Rows j and j + 4 then go `lag` (j mod 4)
// pixels behind row 0, a cache line per lag of 16, spreading them over four
// sets; the sweep takes 3 lag steps more. Lane j's sums are those of its own
// position all along, the pixels before and after the row being its ends.
inline int RowLag(int width) {
    const size_t apart = (size_t)width * 4 % 4096;
    return apart <= 16 || apart >= 4096 - 16 ? 16 : 0;
}

// Four pixels of row j and row j + 4 from `from` on, clamped to the rows.
SWEEP_AVX2 inline __m256i LoadRowPairClamped(const uint32_t* row, int width, long long from) {
    if (from >= 0 && from + 4 <= width) return LoadRowPair(row + from, width);
    const uint32_t* other = row + 4 * (size_t)width;
    if (from >= width - 1)
        return _mm256_set_m128i(_mm_set1_epi32((int)other[width - 1]), _mm_set1_epi32((int)row[width - 1]));
    if (from + 3 <= 0) return _mm256_set_m128i(_mm_set1_epi32((int)other[0]), _mm_set1_epi32((int)row[0]));
    alignas(32) uint32_t pixels[8];
    for (int k = 0; k < 4; k++) {
        pixels[k] = row[ClampIndex(from + k, width)];
        pixels[4 + k] = other[ClampIndex(from + k, width)];
    }
    return _mm256_load_si256((const __m256i*)pixels);
}

// The pixels from .. from + 3 of eight rows `width` apart, each row `lag` (j
// mod 4) behind, clamped to the rows, as four columns: c[k] holds pixel from +
// k of each row.
template <int kLag>
SWEEP_INLINE void LoadColumns4Inside(__m256i c[4], const uint32_t* rows, int width, int from) {
    const uint32_t* at = rows + from;
    c[0] = LoadRowPair(at, width);
    c[1] = LoadRowPair(at + width - kLag, width);
    c[2] = LoadRowPair(at + 2 * ((size_t)width - kLag), width);
    c[3] = LoadRowPair(at + 3 * ((size_t)width - kLag), width);
    Transpose4x2(c[0], c[1], c[2], c[3]);
}
template <int kLag>
SWEEP_AVX2 inline void LoadColumns4(__m256i c[4], const uint32_t* rows, int width, long long from) {
    if (from - 3 * kLag >= 0 && from + 4 <= width) {
        LoadColumns4Inside<kLag>(c, rows, width, (int)from);
        return;
    }
    for (int j = 0; j < 4; j++) // near the ends of the rows
        c[j] = LoadRowPairClamped(rows + (size_t)j * width, width, from - (long long)j * kLag);
    Transpose4x2(c[0], c[1], c[2], c[3]);
}

// One tile's step: the means of the four columns x .. x + 3 replace c, whose
// columns x + radius + 1 .. x + radius + 4 enter the window while those in the
// ring's slots from `at` on leave it and make room. Bytes widen to 16 bits by
// interleaving with zeros within each 128-bit half; the pack of the means
// undoes exactly that order.
template <bool kMayWrap>
SWEEP_INLINE void SlideTile4(__m256i c[4], __m256i& sumLo, __m256i& sumHi, __m256i* ring, size_t& at,
                             size_t end, __m256i m, __m128i shift) {
    const __m256i zero = _mm256_setzero_si256();
    for (int k = 0; k < 4; k++) {
        __m256i qLo = _mm256_srl_epi16(_mm256_mulhi_epu16(sumLo, m), shift);
        __m256i qHi = _mm256_srl_epi16(_mm256_mulhi_epu16(sumHi, m), shift);
        __m256i lo = _mm256_unpacklo_epi8(c[k], zero), hi = _mm256_unpackhi_epi8(c[k], zero);
        sumLo = _mm256_sub_epi16(_mm256_add_epi16(sumLo, lo), _mm256_loadu_si256(ring + at));
        sumHi = _mm256_sub_epi16(_mm256_add_epi16(sumHi, hi), _mm256_loadu_si256(ring + at + 1));
        _mm256_storeu_si256(ring + at, lo);
        _mm256_storeu_si256(ring + at + 1, hi);
        at += 2;
        if (kMayWrap && at == end) at = 0;
        c[k] = _mm256_packus_epi16(qLo, qHi);
    }
}

// The means c of pixels x .. x + 3 (each row `lag` (j mod 4) behind) into the
// rows, those of them inside the rows.
template <int kLag> SWEEP_INLINE void StoreColumns4Inside(uint32_t* rows, int width, int x, __m256i c[4]) {
    Transpose4x2(c[0], c[1], c[2], c[3]);
    uint32_t* at = rows + x;
    StoreRowPair(at, width, c[0]);
    StoreRowPair(at + width - kLag, width, c[1]);
    StoreRowPair(at + 2 * ((size_t)width - kLag), width, c[2]);
    StoreRowPair(at + 3 * ((size_t)width - kLag), width, c[3]);
}
template <int kLag> SWEEP_AVX2 inline void StoreColumns4(uint32_t* rows, int width, int x, __m256i c[4]) {
    if (x - 3 * kLag >= 0 && x + 4 <= width) {
        StoreColumns4Inside<kLag>(rows, width, x, c);
        return;
    }
    Transpose4x2(c[0], c[1], c[2], c[3]);
    alignas(32) uint32_t pixels[8];
    for (int j = 0; j < 4; j++) { // near the ends of the rows
        uint32_t* row = rows + (size_t)j * width;
        int from = x - j * kLag;
        if (from >= 0 && from + 4 <= width) {
            StoreRowPair(row + from, width, c[j]);
            continue;
        }
        _mm256_store_si256((__m256i*)pixels, c[j]);
        for (int k = std::max(0, -from); k < 4 && from + k < width; k++) {
            row[from + k] = pixels[k];
            row[4 * (size_t)width + from + k] = pixels[4 + k];
        }
    }
}

// `ring` holds 2 (2 radius + 1) vectors.
template <int lag>
SWEEP_AVX2 void BlurRows8Lagging(uint32_t* rows, int width, int radius, const Mean16& mean, __m256i* ring) {
    const __m256i zero = _mm256_setzero_si256(), m = _mm256_set1_epi16((short)mean.m);
    const __m128i shift = _mm_cvtsi32_si128(mean.shift);

    // The window of step 0, where row j stands at pixel -lag (j mod 4): the
    // pixels radius before and after, clamped. The ring lists them in that
    // order, two vectors each; those up to pixel 0 are the first pixels.
    __m256i c[4];
    LoadColumns4<lag>(c, rows, width, -3 * (long long)lag - 4);
    const __m256i firstLo = _mm256_unpacklo_epi8(c[0], zero), firstHi = _mm256_unpackhi_epi8(c[0], zero);
    const __m256i times = _mm256_set1_epi16((short)(radius + 1));
    __m256i sumLo = _mm256_mullo_epi16(firstLo, times), sumHi = _mm256_mullo_epi16(firstHi, times);
    size_t at = 0;
    for (int k = 0; k <= radius; k++, at += 2) {
        _mm256_storeu_si256(ring + at, firstLo);
        _mm256_storeu_si256(ring + at + 1, firstHi);
    }
    for (int p = 1; p <= radius; p += 4) {
        LoadColumns4<lag>(c, rows, width, p);
        for (int k = 0; k < 4 && p + k <= radius; k++, at += 2) {
            __m256i lo = _mm256_unpacklo_epi8(c[k], zero), hi = _mm256_unpackhi_epi8(c[k], zero);
            sumLo = _mm256_add_epi16(sumLo, lo);
            sumHi = _mm256_add_epi16(sumHi, hi);
            _mm256_storeu_si256(ring + at, lo);
            _mm256_storeu_si256(ring + at + 1, hi);
        }
    }

    // At step x the window of each row gives up its pixel x - radius (counted
    // lag (j mod 4) behind in row j) for x + radius + 1, which takes its slot
    // in the ring.
    const size_t end = 2 * (2 * (size_t)radius + 1);
    at = 0;
    const int steps = width + 3 * lag;
    int x = 0;
    for (; x < 3 * lag; x += 4) { // some rows still before their first pixel
        LoadColumns4<lag>(c, rows, width, (long long)x + radius + 1);
        SlideTile4<true>(c, sumLo, sumHi, ring, at, end, m, shift);
        StoreColumns4<lag>(rows, width, x, c);
    }
    // Whole tiles whose entering columns are all inside the rows.
    for (; (long long)x + radius + 5 <= width; x += 4) {
        LoadColumns4Inside<lag>(c, rows, width, x + radius + 1);
        if (end - at > 8) // no wrap within the tile
            SlideTile4<false>(c, sumLo, sumHi, ring, at, end, m, shift);
        else
            SlideTile4<true>(c, sumLo, sumHi, ring, at, end, m, shift);
        StoreColumns4Inside<lag>(rows, width, x, c);
    }
    // The rest, near the end of the rows, where the columns entering soon are
    // all the last pixels.
    __m256i last[4];
    LoadColumns4<lag>(last, rows, width, (long long)width + 3 * lag);
    for (; x < steps; x += 4) {
        if ((long long)x + radius + 1 - 3 * lag >= width - 1)
            c[0] = last[0], c[1] = last[1], c[2] = last[2], c[3] = last[3];
        else
            LoadColumns4<lag>(c, rows, width, (long long)x + radius + 1);
        SlideTile4<true>(c, sumLo, sumHi, ring, at, end, m, shift);
        StoreColumns4<lag>(rows, width, x, c);
    }
}
SWEEP_AVX2 void BlurRows8Avx2(uint32_t* rows, int width, int radius, const Mean16& mean, __m256i* ring) {
    if (RowLag(width))
        BlurRows8Lagging<16>(rows, width, radius, mean, ring);
    else
        BlurRows8Lagging<0>(rows, width, radius, mean, ring);
}
#undef SWEEP_AVX2
#undef SWEEP_INLINE
using Rows8Step = void (*)(uint32_t*, int, int, const Mean16&, __m256i*);
Rows8Step blurRows8 = __builtin_cpu_supports("avx2") ? BlurRows8Avx2 : nullptr;
#endif

template <typename Sum, typename Mean>
inline void MeanOnly(uint8_t* __restrict out, const Sum* __restrict sums, size_t lanes, const Mean& mean) {
    for (size_t i = 0; i < lanes; i++)
        out[i] = (uint8_t)mean(sums[i]);
}
template <typename Sum>
inline void AddRow(Sum* __restrict sums, const uint8_t* __restrict row, uint32_t times, size_t lanes) {
    for (size_t i = 0; i < lanes; i++)
        sums[i] = (Sum)(sums[i] + row[i] * times);
}

// Scratch memory of a pass, kept between the blocks of one call.
template <typename Sum> struct DownScratch {
    std::vector<uint8_t> ring;
    std::vector<Sum> sums;
};

// Blurs `rows` rows of `lanes` bytes down their columns, every byte its own
// channel, in one pass. Each row's original bytes go to a ring of the last
// radius + 1 rows before the row is overwritten, because the sums still need
// them when they leave the window.
template <typename Sum, typename Mean>
inline void BlurDown(uint8_t* data, size_t lanes, int rows, int radius, const Mean& mean,
                     DownScratch<Sum>& scratch) {
    auto row = [&](long y) { return data + (size_t)y * lanes; };
    const int ringRows = (int)std::min<long long>((long long)radius + 1, rows);
    scratch.ring.resize((size_t)ringRows * lanes);
    scratch.sums.assign(lanes, 0);
    Sum* sums = scratch.sums.data();

    // Sums over the clamped rows -radius .. radius.
    AddRow(sums, row(0), (uint32_t)radius + 1, lanes);
    long middleEnd = std::min<long long>(radius, (long long)rows - 2);
    for (long i = 1; i <= middleEnd; i++)
        AddRow(sums, row(i), 1, lanes);
    long long lastFrom = std::max(1, rows - 1);
    if (radius >= lastFrom) AddRow(sums, row(rows - 1), (uint32_t)(radius - lastFrom + 1), lanes);

#if defined(__x86_64__) && defined(__GNUC__)
    if constexpr (std::is_same_v<Sum, uint16_t>) {
        if (lanes == 64 && walkDown64) {
            walkDown64(data, rows, radius, sums, scratch.ring.data(), ringRows, mean);
            return;
        }
    }
#endif
    // Row y sits in slot y % ringRows, counted along rather than divided. The
    // row leaving, y - radius, is row 0 (slot 0) until y passes the radius, and
    // then the slot after y's, since the ring is radius + 1 rows long then.
    int slot = 0;
    for (int y = 0; y < rows; y++) {
        uint8_t* out = row(y);
        if (y == rows - 1) {
            MeanOnly(out, sums, lanes, mean);
            break;
        }
        memcpy(scratch.ring.data() + (size_t)slot * lanes, out, lanes);
        int nextSlot = slot + 1 == ringRows ? 0 : slot + 1;
        int goneSlot = (long long)y - radius <= 0 ? 0 : nextSlot; // in the ring by now
        const uint8_t* gone = scratch.ring.data() + (size_t)goneSlot * lanes;
        slot = nextSlot;
        const uint8_t* in = row(ClampIndex((long long)y + radius + 1, rows)); // below y: not yet overwritten
        MeanAndSlide(out, sums, in, gone, lanes, mean);
    }
}

// Rows are blurred as columns: blocks of rows are turned on their side into a
// scratch image whose rows hold one pixel of each, blurred down, and turned
// back. A block is 16 rows of pixels, or 64 rows of single bytes, so that each
// scratch row is 64 bytes of vector work. (Pixels with 16-bit sums and AVX2
// take the sweep above instead, but for the last rows short of eight.)
template <typename Pixel> constexpr int RowsPerBlock() {
    return 64 / (int)sizeof(Pixel);
}

// block[x * n + j] = rows[j * width + x] for j < n, x < width.
template <typename Pixel>
inline void TurnOnSide(Pixel* __restrict block, const Pixel* __restrict rows, int width, int n) {
    int x = 0;
#if defined(__SSE2__)
    if constexpr (sizeof(Pixel) == 4) {
#if defined(__x86_64__) && defined(__GNUC__)
        if (n == 16 && turnOnSide16) x = turnOnSide16(block, rows, width);
#endif
        if (n % 4 == 0) { // 4 x 4 tiles of pixels
            for (; x + 4 <= width; x += 4)
                for (int j = 0; j < n; j += 4) {
                    const Pixel* from = rows + (size_t)j * width + x;
                    __m128i a = _mm_loadu_si128((const __m128i*)from);
                    __m128i b = _mm_loadu_si128((const __m128i*)(from + width));
                    __m128i c = _mm_loadu_si128((const __m128i*)(from + 2 * (size_t)width));
                    __m128i d = _mm_loadu_si128((const __m128i*)(from + 3 * (size_t)width));
                    Transpose4(a, b, c, d);
                    Pixel* to = block + (size_t)x * n + j;
                    _mm_storeu_si128((__m128i*)to, a);
                    _mm_storeu_si128((__m128i*)(to + n), b);
                    _mm_storeu_si128((__m128i*)(to + 2 * n), c);
                    _mm_storeu_si128((__m128i*)(to + 3 * n), d);
                }
        }
    }
    if constexpr (sizeof(Pixel) == 1) {
        if (n % 16 == 0) { // 16 x 16 tiles of bytes
            __m128i v[16];
            for (; x + 16 <= width; x += 16)
                for (int j = 0; j < n; j += 16) {
                    for (int i = 0; i < 16; i++)
                        v[i] = _mm_loadu_si128((const __m128i*)(rows + (size_t)(j + i) * width + x));
                    Transpose16(v);
                    for (int i = 0; i < 16; i++)
                        _mm_storeu_si128((__m128i*)(block + (size_t)(x + kBitReversed[i]) * n + j), v[i]);
                }
        }
    }
#endif
    for (; x < width; x++) // written in order, read from n rows at once
        for (int j = 0; j < n; j++)
            block[(size_t)x * n + j] = rows[(size_t)j * width + x];
}

// The way back: rows[j * width + x] = block[x * n + j].
template <typename Pixel>
inline void TurnBack(Pixel* __restrict rows, const Pixel* __restrict block, int width, int n) {
    int x = 0;
#if defined(__SSE2__)
    if constexpr (sizeof(Pixel) == 4) {
#if defined(__x86_64__) && defined(__GNUC__)
        if (n == 16 && turnBack16) x = turnBack16(rows, block, width);
#endif
        if (n % 4 == 0) {
            for (; x + 4 <= width; x += 4)
                for (int j = 0; j < n; j += 4) {
                    const Pixel* from = block + (size_t)x * n + j;
                    __m128i a = _mm_loadu_si128((const __m128i*)from);
                    __m128i b = _mm_loadu_si128((const __m128i*)(from + n));
                    __m128i c = _mm_loadu_si128((const __m128i*)(from + 2 * n));
                    __m128i d = _mm_loadu_si128((const __m128i*)(from + 3 * n));
                    Transpose4(a, b, c, d);
                    Pixel* to = rows + (size_t)j * width + x;
                    _mm_storeu_si128((__m128i*)to, a);
                    _mm_storeu_si128((__m128i*)(to + width), b);
                    _mm_storeu_si128((__m128i*)(to + 2 * (size_t)width), c);
                    _mm_storeu_si128((__m128i*)(to + 3 * (size_t)width), d);
                }
        }
    }
    if constexpr (sizeof(Pixel) == 1) {
        if (n % 16 == 0) {
            __m128i v[16];
            for (; x + 16 <= width; x += 16)
                for (int j = 0; j < n; j += 16) {
                    for (int i = 0; i < 16; i++)
                        v[i] = _mm_loadu_si128((const __m128i*)(block + (size_t)(x + i) * n + j));
                    Transpose16(v);
                    for (int i = 0; i < 16; i++)
                        _mm_storeu_si128((__m128i*)(rows + (size_t)(j + kBitReversed[i]) * width + x), v[i]);
                }
        }
    }
#endif
    for (; x < width; x++)
        for (int j = 0; j < n; j++)
            rows[(size_t)j * width + x] = block[(size_t)x * n + j];
}

template <typename Sum, typename Pixel, typename Mean>
inline void BlurRowsWith(Pixel* buffer, int width, int height, int radius, const Mean& mean) {
    const int perBlock = RowsPerBlock<Pixel>();
    std::vector<Pixel> block((size_t)width * perBlock);
    DownScratch<Sum> scratch;
    for (int y0 = 0; y0 < height; y0 += perBlock) {
        int n = std::min(perBlock, height - y0);
        Pixel* rows = buffer + (size_t)y0 * width;
        TurnOnSide(block.data(), rows, width, n);
        BlurDown((uint8_t*)block.data(), (size_t)n * sizeof(Pixel), width, radius, mean, scratch);
        TurnBack(rows, block.data(), width, n);
    }
}

template <typename Pixel> inline void BlurRowsAny(Pixel* buffer, int width, int height, int radius, const Divider& d) {
    if (d.kind == MeanKind::Mul16)
        BlurRowsWith<uint16_t>(buffer, width, height, radius, d.mean16);
    else if (d.kind == MeanKind::Mul32)
        BlurRowsWith<uint32_t>(buffer, width, height, radius, d.mean32);
    else
        BlurRowsWith<uint32_t>(buffer, width, height, radius, d.mean64);
}

BLUR_CLONES void BlurRowsFast(uint32_t* buffer, int width, int height, int radius, const Divider& d) {
#if defined(__x86_64__) && defined(__GNUC__)
    // The sweep, for whole groups of eight rows (its steps count past the width).
    if (d.kind == MeanKind::Mul16 && blurRows8 && width <= INT_MAX - 64) {
        // 16 lanes a vector, the first on a cache line so that no vector spans two.
        std::vector<uint16_t> ring(2 * (2 * (size_t)radius + 1) * 16 + 32);
        __m256i* ringStart = (__m256i*)(((uintptr_t)ring.data() + 63) & ~(uintptr_t)63);
        int y = 0;
        for (; y + 8 <= height; y += 8)
            blurRows8(buffer + (size_t)y * width, width, radius, d.mean16, ringStart);
        buffer += (size_t)y * width;
        height -= y;
        if (height == 0) return;
    }
#endif
    BlurRowsAny(buffer, width, height, radius, d);
}
BLUR_CLONES void BlurRowsFast(uint8_t* plane, int width, int height, int radius, const Divider& d) {
    BlurRowsAny(plane, width, height, radius, d);
}

template <typename Sum, typename Mean>
inline void BlurColumnsWith(uint8_t* data, size_t lanes, int rows, int radius, const Mean& mean) {
    DownScratch<Sum> scratch;
    BlurDown(data, lanes, rows, radius, mean, scratch);
}

// Columns of pixels are columns of bytes, each its own channel.
BLUR_CLONES void BlurColumnsFast(uint8_t* data, size_t lanes, int height, int radius, const Divider& d) {
    if (d.kind == MeanKind::Mul16)
        BlurColumnsWith<uint16_t>(data, lanes, height, radius, d.mean16);
    else if (d.kind == MeanKind::Mul32)
        BlurColumnsWith<uint32_t>(data, lanes, height, radius, d.mean32);
    else
        BlurColumnsWith<uint32_t>(data, lanes, height, radius, d.mean64);
}

// Radii whose sums do not fit 32 bits (beyond four million pixels): plain
// 64-bit running sums and a division, one line at a time.
template <typename Pixel>
void BlurLinesWide(Pixel* buffer, int count, int length, size_t lineStep, size_t posStep, int radius) {
    std::vector<Pixel> line((size_t)length);
    const uint64_t divisor = 4 * (uint64_t)radius + 2;
    for (int l = 0; l < count; l++) {
        Pixel* first = buffer + (size_t)l * lineStep;
        for (int p = 0; p < length; p++)
            line[p] = first[(size_t)p * posStep];
        for (int c = 0; c < (int)sizeof(Pixel); c++) {
            auto at = [&](long long i) { return (uint64_t)(line[ClampIndex(i, length)] >> (8 * c) & 0xFF); };
            uint64_t sum = at(0) * ((uint64_t)radius + 1);
            long middleEnd = std::min<long long>(radius, (long long)length - 2);
            for (long i = 1; i <= middleEnd; i++)
                sum += at(i);
            long long lastFrom = std::max(1, length - 1);
            if (radius >= lastFrom) sum += at(length - 1) * (uint64_t)(radius - lastFrom + 1);
            for (int p = 0; p < length; p++) {
                Pixel& out = first[(size_t)p * posStep];
                out = (Pixel)((out & ~(0xFFu << (8 * c))) | (uint32_t)((2 * sum + 1) / divisor) << (8 * c));
                sum += at((long long)p + radius + 1) - at((long long)p - radius);
            }
        }
    }
}

template <typename Pixel> void BlurRowsOf(Pixel* buffer, int width, int height, int radius) {
    if (radius <= 0 || width <= 0 || height <= 0) return;
    Divider d = ChooseDivider(radius);
    if (d.kind != MeanKind::None)
        BlurRowsFast(buffer, width, height, radius, d);
    else
        BlurLinesWide(buffer, height, width, (size_t)width, 1, radius);
}

template <typename Pixel> void BlurColumnsOf(Pixel* buffer, int width, int height, int radius) {
    if (radius <= 0 || width <= 0 || height <= 0) return;
    Divider d = ChooseDivider(radius);
    if (d.kind != MeanKind::None)
        BlurColumnsFast((uint8_t*)buffer, (size_t)width * sizeof(Pixel), height, radius, d);
    else
        BlurLinesWide(buffer, width, height, 1, (size_t)width, radius);
}

} // namespace

void BoxBlurRows(uint32_t* buffer, int width, int height, int radius) {
    BlurRowsOf(buffer, width, height, radius);
}
void BoxBlurColumns(uint32_t* buffer, int width, int height, int radius) {
    BlurColumnsOf(buffer, width, height, radius);
}
void BoxBlurPlaneRows(uint8_t* plane, int width, int height, int radius) {
    BlurRowsOf(plane, width, height, radius);
}
void BoxBlurPlaneColumns(uint8_t* plane, int width, int height, int radius) {
    BlurColumnsOf(plane, width, height, radius);
}

void BoxBlurUseBaselineVectors(bool baseline) {
#if defined(__x86_64__) && defined(__GNUC__)
    bool avx2 = !baseline && __builtin_cpu_supports("avx2");
    meanAndSlide16 = avx2 ? MeanAndSlide16Avx2 : MeanAndSlide16Sse2;
    walkDown64 = avx2 ? WalkDown64Avx2 : nullptr;
    turnOnSide16 = avx2 ? TurnOnSide16Avx2 : nullptr;
    turnBack16 = avx2 ? TurnBack16Avx2 : nullptr;
    blurRows8 = avx2 ? BlurRows8Avx2 : nullptr;
#else
    (void)baseline;
#endif
}
