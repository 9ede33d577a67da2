// An effect library for Trellic, to copy and grow: the entry points every
// library exports, a plain effect (Gradient) and one with parameters and a
// colour (Disc). Effects draw into the view Trellic set up, through OGLState
// pushes that they pop before returning.
#include <cmath>

#include <GL/gl.h>

#include <trellic/effect_sdk.h>

namespace {

// Parameters are written for a view 600 pixels high; this scales them to the
// view being drawn (the editor's preview quarter, the player's window, a render).
double ViewScale() {
    return OGLState::GetViewHeight() / 600.0;
}

int Clamp(int value, int low, int high) {
    return value < low ? low : value > high ? high : value;
}

GLuint gDiscList = 0; // a unit disc, made in Vorlen_Init, released in Vorlen_Quit

} // namespace

VORLEN_EXPORT int Vorlen_ContractVersion(void) {
    return VORLEN_CONTRACT_VERSION;
}

// Called at every load and reload of a demo that names this library, with
// Trellic's GL context current: make what the effects need here.
VORLEN_EXPORT int Vorlen_Init(SDL_Surface**, SDL_Surface**) {
    if (gDiscList == 0) {
        gDiscList = glGenLists(1);
        if (gDiscList == 0) throw BasicException("TemplateEffects: no display list for the disc");
        glNewList(gDiscList, GL_COMPILE);
        glBegin(GL_TRIANGLE_FAN);
        glVertex3d(0, 0, -1);
        for (int i = 0; i <= 64; i++) {
            const double a = i * 2 * M_PI / 64;
            glVertex3d(std::cos(a), std::sin(a), -1);
        }
        glEnd();
        glEndList();
    }
    return 1;
}

VORLEN_EXPORT int Vorlen_BeginNewFrame(int32_t) {
    return 1;
}

// Called before the library is unloaded (a reload, or a demo without it):
// release everything, or each reload leaks it.
VORLEN_EXPORT int Vorlen_Quit(void) {
    if (gDiscList != 0) glDeleteLists(gDiscList, 1);
    gDiscList = 0;
    return 1;
}

// A vertical gradient over the whole view, dark blue at the top to plum at the bottom.
VORLEN_EFFECT(Gradient)() {
    const double w = OGLState::GetViewWidth() / 2, h = OGLState::GetViewHeight() / 2;
    OGLState::PushTexture2D(false);
    OGLState::PushBlend(false);
    OGLState::PushColor(0xFF141E5A); // glColor below changes the current colour: pushed and popped
    glBegin(GL_QUADS);
    glColor3ub(20, 30, 90); // y grows downwards: -h is the top
    glVertex3d(-w, -h, -1);
    glVertex3d(w, -h, -1);
    glColor3ub(120, 40, 110);
    glVertex3d(w, h, -1);
    glVertex3d(-w, h, -1);
    glEnd();
    OGLState::PopColor();
    OGLState::PopBlend();
    OGLState::PopTexture2D();
    return 1;
}

// A filled disc. PosX, PosY: its centre in tenths of a unit from the view's
// top-left corner ((4000, 3000) is the middle of an 800 x 600 view); Radius in
// units; Red, Green, Blue 0..255 (the editor shows a colour picker); Opacity
// 0..256.
VORLEN_EFFECT(Disc)(int32_t posX, int32_t posY, int32_t radius, int32_t red, int32_t green, int32_t blue,
                    int32_t opacity) {
    if (gDiscList == 0) throw BasicException("Disc: the library was not initialised");
    const double k = ViewScale();
    const double x = posX * k * 0.1 - OGLState::GetViewWidth() / 2;
    const double y = posY * k * 0.1 - OGLState::GetViewHeight() / 2;
    const double r = radius * k;
    const uint32_t argb = (uint32_t)Clamp(opacity * 255 / 256, 0, 255) << 24 | (uint32_t)Clamp(red, 0, 255) << 16 |
                          (uint32_t)Clamp(green, 0, 255) << 8 | (uint32_t)Clamp(blue, 0, 255);
    OGLState::PushTexture2D(false);
    OGLState::PushBlend(true);
    OGLState::PushBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    OGLState::PushColor(argb);
    glPushMatrix();
    glTranslated(x, y, 0);
    glScaled(r, r, 1);
    glCallList(gDiscList);
    glPopMatrix();
    OGLState::PopColor();
    OGLState::PopBlendFunc();
    OGLState::PopBlend();
    OGLState::PopTexture2D();
    return 1;
}
