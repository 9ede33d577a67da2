// The scramble sequence: repeatable pseudo-random values from a seed, the same
// for the same seed on every run.
#include "effects.h"

namespace {
const uint32_t kMultiplier = 950706376u;
const uint32_t kModulus = 2147483647u; // 2^31 - 1
} // namespace

uint32_t ScrambleFirst(int32_t seed) {
    // The first product is taken as signed: its remainder keeps the sign of the
    // product and is then read back as unsigned.
    int32_t product = (int32_t)((uint32_t)seed * kMultiplier);
    int32_t remainder = product % (int32_t)kModulus;
    return (uint32_t)remainder;
}

uint32_t ScrambleNext(uint32_t value) {
    return (value * kMultiplier) % kModulus;
}
