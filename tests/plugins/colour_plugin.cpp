// Test plug-in built against the effect SDK, in variants that differ the way a
// rebuilt library does: Fill clears to the variant's colour
// (FILL_COLOUR, 0xAARRGGBB); a variant built without it lacks Fill, one built
// with INIT_THROWS refuses to start.
#include <GL/gl.h>

#include "trellic/effect_sdk.h"

VORLEN_EXPORT int Vorlen_Init(SDL_Surface**, SDL_Surface**) {
#ifdef INIT_THROWS
    throw BasicException("The colour plug-in refuses to start");
#endif
    return 1;
}
VORLEN_EXPORT int Vorlen_BeginNewFrame(int32_t) {
    return 1;
}
// Detaches the current GL state record, as Fenk's does: the host must make its
// own current again.
VORLEN_EXPORT int Vorlen_Quit(void) {
    OGLState::SetState(nullptr);
    return 1;
}

#ifdef FILL_COLOUR
VORLEN_EFFECT(Fill)(int32_t) {
    OGLState::PushBGColor(255, FILL_COLOUR >> 16 & 0xFF, FILL_COLOUR >> 8 & 0xFF, FILL_COLOUR & 0xFF);
    glClear(GL_COLOR_BUFFER_BIT);
    OGLState::PopBGColor();
    return 1;
}
#endif

VORLEN_EFFECT(Nothing)(int32_t) {
    return 1;
}
