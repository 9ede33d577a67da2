// The five credits effects: one fixed name each, drawn with the big font's glyph
// images, every letter three times with seeded shake, alternate letters lower,
// the word turned about its centre.
#include <GL/glew.h>

#include <climits>

#include "effects_more.h"
#include "oglstate.h"

namespace {
const double kOneOver150 = 0.006666666666666667;
const double kLetterDrop = 20; // pixels between odd and even letters, whatever the view

int ClampToInt(long value) {
    return value > INT_MAX ? INT_MAX : value < INT_MIN ? INT_MIN : (int)value;
}
} // namespace

int DrawCreditsAbs(double x, double y, double angle, const char* name, double spacing, int jitter,
                   double size, int brightness, int seed) {
    OGLState::PushTexture2D(true);
    OGLState::PushDepth(false);
    OGLState::PushBlend(true);
    OGLState::PushBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glColor4f(1, 1, 1, 1);

    double w = OGLState::GetViewWidth(), h = OGLState::GetViewHeight();
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, w, 0, h, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();

    int s = ClampToInt(TruncToLong(size));
    double width = MeasureBigText(name, s);
    glTranslated(x + width / 2, h - y, -1);
    glRotated(angle * 0.1, 0, 0, 1);
    glTranslated(-width / 2, 0, 0);

    uint32_t v = ScrambleFirst(seed);
    int third = brightness / 3;
    for (int j = 0; name[j]; j++) {
        glPushMatrix();
        double amp = jitter > 0 ? (double)(v % (uint32_t)jitter) * 10 : 0;
        uint32_t r1 = ScrambleNext(v);
        double e = amp * amp * amp * 0.000001 * ((r1 & (1u << 12)) ? kOneOver150 : -kOneOver150);
        uint32_t r2 = ScrambleNext(r1);
        int d = (int)(r2 % 7) - 3;
        uint32_t r3 = ScrambleNext(r2);
        v = ScrambleNext(r3);

        double shake = ClampToInt(TruncToLong(e));
        double firstX, firstY, stepX, stepY;
        if (r3 & (1u << 16)) { // spread sideways
            firstX = d, firstY = shake, stepX = -d, stepY = 0;
        } else { // spread up and down
            firstX = shake, firstY = d, stepX = 0, stepY = -d;
        }
        glTranslated(firstX, firstY, 0);
        float letterWidth = PrintChar(name[j], s, third);
        glTranslated(stepX, stepY, 0);
        PrintChar(name[j], s, third);
        glTranslated(stepX, stepY, 0);
        PrintChar(name[j], s, third);
        glPopMatrix();
        glTranslated(letterWidth + spacing, j % 2 == 0 ? -kLetterDrop : kLetterDrop, 0);
    }

    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    OGLState::PopBlendFunc();
    OGLState::PopBlend();
    OGLState::PopDepth();
    OGLState::PopTexture2D();
    return 1;
}

int DrawCredits(int x, int y, int angle, const char* name, int spacing, int jitter, int size, int brightness,
                int seed) {
    double k = ViewScale();
    return DrawCreditsAbs(x * k * 0.1, y * k * 0.1, angle, name, spacing * k, jitter, size * k, brightness,
                          seed);
}

extern "C" FENK_EXPORT int CreditsWendal(int x, int y, int angle, int jitter, int size, int brightness,
                                         int seed) {
    DrawCredits(x, y, angle, "WENDAL", -10, jitter, size, brightness, seed);
    return 1;
}
extern "C" FENK_EXPORT int CreditsOrvik(int x, int y, int angle, int jitter, int size, int brightness,
                                        int seed) {
    DrawCredits(x, y, angle, "ORVIK", -12, jitter, size, brightness, seed);
    return 1;
}
extern "C" FENK_EXPORT int CreditsBaltu(int x, int y, int angle, int jitter, int size, int brightness,
                                        int seed) {
    DrawCredits(x, y, angle, "BALTU", -15, jitter, size, brightness, seed);
    return 1;
}
extern "C" FENK_EXPORT int CreditsQuenra(int x, int y, int angle, int jitter, int size, int brightness,
                                         int seed) {
    DrawCredits(x, y, angle, "QUENRA", -14, jitter, size, brightness, seed);
    return 1;
}
extern "C" FENK_EXPORT int CreditsTumsel(int x, int y, int angle, int jitter, int size, int brightness,
                                         int seed) {
    DrawCredits(x, y, angle, "TUMSEL", -14, jitter, size, brightness, seed);
    return 1;
}
