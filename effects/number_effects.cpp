// Effects that print numbers with the bitmap font: PrintNr, its pixel twin
// PrintNrAbs, and ShowFPS with its per-second counter. ShowFPS counts calls per
// wall-clock second, until the renderer hands the library its frame times:
// from then on it counts frames per second of demo time, so a render shows the
// video's frame rate and the same range always gives the same pictures.
#include <climits>
#include <cstdio>
#include <ctime>

#include <GL/glew.h>

#include "effects.h"
#include "oglstate.h"

namespace {
long gFpsCounter = 0;
long gFpsShown = 0;
long long gFpsSecond = 0; // wall-clock second, or demo second once rendering
bool gFpsDemoTime = false; // set by the first frame time the renderer gives

// Starts a new second when `second` differs from the remembered one: the count
// of the one before becomes the shown value.
void FpsTick(long long second) {
    if (second != gFpsSecond) {
        gFpsSecond = second;
        gFpsShown = gFpsCounter;
        gFpsCounter = 0;
    }
    gFpsCounter++;
}

int ClampToInt(double value) {
    if (!(value > (double)INT_MIN)) return INT_MIN;
    if (value >= (double)INT_MAX) return INT_MAX;
    return (int)value;
}
} // namespace

FENK_EXPORT int PrintNrAbs(long number, double x, double y) {
    char text[32];
    snprintf(text, sizeof text, "%li", number);
    OGLState::PushBlend(false);
    DrawBigText(ClampToInt(x), ClampToInt(y), text, 0);
    OGLState::PopBlend();
    return 1;
}

extern "C" FENK_EXPORT int PrintNr(int number, int x, int y) {
    double k = ViewScale();
    return PrintNrAbs(number, x * k, y * k);
}

void CountRenderFrame(int32_t demoTimeMs) {
    // The host's times are unsigned milliseconds; past 2^31 they arrive negative.
    long long second = (uint32_t)demoTimeMs / 1000;
    if (!gFpsDemoTime) {
        // The render's first second shows 0, as the first call does in a window.
        gFpsDemoTime = true;
        gFpsSecond = second;
        gFpsShown = gFpsCounter = 0;
    }
    FpsTick(second);
}

extern "C" FENK_EXPORT int ShowFPS(int x, int y) {
    if (!gFpsDemoTime) FpsTick((long long)time(nullptr));
    return PrintNr((int)gFpsShown, x, y);
}
