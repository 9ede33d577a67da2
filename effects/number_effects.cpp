// Effects that print numbers with the bitmap font: PrintNr, its pixel twin
// PrintNrAbs, and ShowFPS with its per-second call counter.
#include <climits>
#include <cstdio>
#include <ctime>

#include <GL/glew.h>

#include "effects.h"
#include "oglstate.h"

namespace {
long gFpsCounter = 0;
long gFpsShown = 0;
time_t gFpsSecond = 0;

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

extern "C" FENK_EXPORT int ShowFPS(int x, int y) {
    time_t now = time(nullptr);
    if (now != gFpsSecond) {
        gFpsSecond = now;
        gFpsShown = gFpsCounter;
        gFpsCounter = 0;
    }
    gFpsCounter++;
    return PrintNr((int)gFpsShown, x, y);
}
