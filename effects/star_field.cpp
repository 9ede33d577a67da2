// StarField: image sprites flying towards the viewer. The stars are placed with
// rand() on the first call that asks for any and keep their places for as long
// as the library is loaded; every call draws every star made, whatever count
// it gives.
#include <GL/glew.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "effects_more.h"
#include "oglstate.h"

namespace {

struct Star {
    double x, y, z; // z: depth at time 0, 2100 .. 5099
};
std::vector<Star> gStars;
bool gPlaced = false;

// Far more than a screen shows; keeps a typed count from asking for gigabytes.
const int kMaxStars = 100000;
const double kNearest = 100;
const double kDepthRange = 3000;

void PlaceStars(int count) {
    gStars.resize((size_t)count);
    for (Star& star : gStars) {
        star.x = (double)((rand() % 8000) - 4000) * 2000;
        star.y = (double)((rand() % 6000) - 3000) * 2000;
        star.z = (double)((rand() % 3000) + 2100);
    }
    gPlaced = true;
}

} // namespace

extern "C" FENK_EXPORT int StarField(int image, int count, int speed, int time) {
    if (count <= 0) return 1;
    if (!gPlaced) PlaceStars(count < kMaxStars ? count : kMaxStars);
    if (image < 0 || image >= kTextureSlots) return 1;
    const TextureEntry& slot = GetTexture(image);
    if (!slot.texture) return 1;

    double k = ViewScale();
    double offset = (double)speed * time * 10; // exact while below 2^53
    // Every star is added with the same blending: set once for all of them,
    // not switched off and on between stars, which costs the driver a state
    // change per star.
    OGLState::PushBlend(true);
    OGLState::PushBlendFunc(GL_ONE, GL_ONE);
    for (const Star& star : gStars) {
        double z = star.z - offset;
        // A star that passed the nearest depth comes back 3000 further away, as
        // many times as it takes (fmod is exact, so this is the repeated addition).
        if (z < kNearest) {
            double behind = std::fmod(z - kNearest, kDepthRange); // in (-3000, 0]
            z = kNearest + (behind < 0 ? behind + kDepthRange : 0);
        }
        double px = star.x / z + 4000, py = star.y / z + 3000;
        DrawTextureAt(slot, k * px * 0.1, k * py * 0.1, k * 100000 / z, 255);
    }
    OGLState::PopBlendFunc();
    OGLState::PopBlend();
    return 1;
}
