// Test plug-in whose effect pushes GL state and a matrix, then raises.
#include <GL/gl.h>

#include "basic_exception.h"
#include "oglstate.h"

extern "C" int Vorlen_Init(void*, void*) {
    return 1;
}
extern "C" int Vorlen_BeginNewFrame(int) {
    return 1;
}
extern "C" int Vorlen_Quit() {
    return 1;
}
extern "C" int PushThenThrow(int) {
    OGLState::PushBlend(true);
    OGLState::PushViewport(1, 2, 3, 4);
    OGLState::PushColor(0xFF00FF00u);
    glPushMatrix();
    glTranslatef(5, 5, 0);
    throw BasicException("PushThenThrow gave up half-way");
}
