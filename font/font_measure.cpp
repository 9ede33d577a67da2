// Measuring text with the stored advances only: sums in 26.6 fixed point over
// the characters from a start index, up to the NUL or a character limit.
#include "font.h"

#include <climits>

namespace {

// The characters to measure: from start, or none when start lies beyond the NUL.
const unsigned char* Remainder(const char* text, unsigned start) {
    if (!text) return nullptr;
    const unsigned char* p = (const unsigned char*)text;
    for (unsigned i = 0; i < start; ++i, ++p)
        if (!*p) return nullptr;
    return p;
}

// Negative limits never stop the walk.
bool Taken(int count, int maxChars) {
    return maxChars >= 0 && count >= maxChars;
}

} // namespace

unsigned Font::textWidth(const char* text, unsigned start, int maxChars) const {
    const unsigned char* p = Remainder(text, start);
    int64_t sum = 0;
    for (int n = 0; p && *p && !Taken(n, maxChars); ++p, ++n)
        sum += glyphs.advance[*p] >> 10;
    if (sum <= 0) return 0;
    int64_t pixels = sum >> 6;
    return pixels > UINT_MAX ? UINT_MAX : (unsigned)pixels;
}

int Font::charsThatFit(int widthPx, const char* text, unsigned start, int maxChars) const {
    if (widthPx <= 0) return 0;
    const unsigned char* p = Remainder(text, start);
    int64_t remaining = (int64_t)widthPx * 64;
    int n = 0;
    for (; p && *p && !Taken(n, maxChars) && n < INT_MAX; ++p) {
        remaining -= glyphs.advance[*p] >> 10;
        if (remaining <= 0) break;
        ++n;
    }
    return n;
}

int Font::visibleCapacity(int widthPx, const char* text, unsigned start, int maxChars) const {
    if (widthPx <= 0) return 0;
    const int64_t limit = (int64_t)widthPx * 64;
    const unsigned char* p = Remainder(text, start);
    int64_t sum = 0, i = 0;
    for (; p && *p && !Taken((int)i, maxChars) && i < INT_MAX; ++p) {
        int advance = glyphs.advance[*p] >> 10;
        if (advance > 0) sum += advance;
        ++i;
        if (sum >= limit) return (int)(i - 1);
    }
    // Past the text, keep adding the average advance, or the fallback when the
    // text gave none, in one step rather than a loop as long as the width.
    int64_t average = i > 0 ? sum / i : 0;
    if (average <= 0) average = fallbackAdvance();
    if (sum < limit) i += (limit - sum + average - 1) / average;
    return i > INT_MAX ? INT_MAX : (int)i;
}
