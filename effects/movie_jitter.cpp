// MovieJitter: an image added to the frame three times, spread along one axis
// and shaken along the other with a flickering brightness, all from the seed's
// scramble sequence, so the same seed always gives the same picture.
#include <GL/glew.h>

#include <climits>

#include "effects_more.h"
#include "oglstate.h"

FENK_EXPORT int MovieJitterAbs(long image, double x, double y, double size, long brightness, long seed,
                               long jitter) {
    if (image < 0 || image >= kTextureSlots) return 1;
    const TextureEntry& slot = GetTexture((int)image);
    if (!slot.texture) return 1;
    // The remainders below take jitter as a 32-bit value.
    int32_t j = (int32_t)jitter;
    OGLState::PushBlend(true);
    OGLState::PushBlendFunc(GL_SRC_ALPHA, GL_ONE);

    uint32_t s1 = ScrambleFirst((int32_t)seed);
    double amp = j > 0 ? (double)(s1 % (uint32_t)j) * 3 : 0;
    uint32_t s2 = ScrambleNext(s1);
    double e =
        amp * amp * amp * 0.000001 * ((s2 & (1u << 12)) ? 0.006666666666666667 : -0.006666666666666667);
    long shakeLong = TruncToLong(e);
    double shake = shakeLong > INT_MAX ? INT_MAX : shakeLong < INT_MIN ? INT_MIN : (double)shakeLong;
    uint32_t s3 = ScrambleNext(s2);
    // Below -1 the spread's divisor would be zero or negative: no spread then.
    int32_t spreadDivisor = j / 2 + 1;
    double spread = spreadDivisor > 0 ? (double)(s3 % (uint32_t)spreadDivisor) : 0;
    uint32_t s4 = ScrambleNext(s3);
    double px[3], py[3];
    if (s4 & (1u << 16)) {
        px[0] = x + spread, px[1] = x, px[2] = x - spread;
        py[0] = py[1] = py[2] = y + shake;
    } else {
        px[0] = px[1] = px[2] = x + shake;
        py[0] = y + spread, py[1] = y, py[2] = y - spread;
    }
    uint32_t s5 = ScrambleNext(s4);
    uint32_t flickerRange = (uint32_t)j * 8u + 2u; // 32-bit, as the remainder has always been taken
    long long r = s5 % flickerRange;
    long long opacity = (256LL * brightness + 2LL * j - r) / 768;
    if (opacity < 0) opacity = 0;

    for (int i = 0; i < 3; i++)
        DrawTextureAt(slot, px[i], py[i], size, (double)opacity);
    OGLState::PopBlendFunc();
    OGLState::PopBlend();
    return 1;
}

extern "C" FENK_EXPORT int MovieJitter(int image, int x, int y, int size, int brightness, int seed,
                                       int jitter) {
    double k = ViewScale();
    return MovieJitterAbs(image, x * k * 0.1, y * k * 0.1, size * k, brightness, seed, jitter);
}
