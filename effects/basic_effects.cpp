// Effects that fill or mark the whole view: Clear, BackgroundColor, Background
// and the DebugGrid.
#include <GL/glew.h>

#include "effects.h"
#include "oglstate.h"

extern "C" FENK_EXPORT int Clear() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    return 1;
}

extern "C" FENK_EXPORT int BackgroundColor(int red, int green, int blue) {
    OGLState::PushBGColor(255, red, green, blue);
    glClear(GL_COLOR_BUFFER_BIT);
    OGLState::PopBGColor();
    return 1;
}

extern "C" FENK_EXPORT int Background(int image) {
    return BackgroundFade(image, 256);
}

// Green lines every 10 pixels, brighter every 100.
extern "C" FENK_EXPORT int DebugGrid() {
    double w = OGLState::GetViewWidth(), h = OGLState::GetViewHeight();
    glLineWidth(0.5f);
    glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
    glDisable(GL_LINE_SMOOTH);
    OGLState::PushBlend(true);
    OGLState::PushBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    // A texture left bound by the caller would tint the lines.
    OGLState::PushTexture2D(false);
    glBegin(GL_LINES);
    for (int x = 0; x < w; x += 10) {
        glColor4f(0, x % 100 == 0 ? 1.0f : 0.5f, 0, 0.5f);
        glVertex3d(x - w / 2, -h / 2, -1);
        glVertex3d(x - w / 2, h / 2, -1);
    }
    for (int y = 0; y < h; y += 10) {
        glColor4f(0, y % 100 == 0 ? 1.0f : 0.5f, 0, 0.5f);
        glVertex3d(-w / 2, y - h / 2, -1);
        glVertex3d(w / 2, y - h / 2, -1);
    }
    glEnd();
    OGLState::PopTexture2D();
    OGLState::PopBlend();
    OGLState::PopBlendFunc();
    return 1;
}
