#include "gl_context.h"

#include <GL/glew.h>
#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include "oglstate.h"

namespace {
int gOpenWidth = 0, gOpenHeight = 0;

// The X server's first events for a new window (enter, keymap, expose) reset
// SDL's modifier state when they are read. On a slow server they can come in
// the middle of a test that holds Shift with SDL_SetModState, so wait here
// until the expose, which comes after them, has been read. The events stay
// queued for the test.
void WaitForTheWindowsFirstEvents() {
    const Uint32 start = SDL_GetTicks();
    SDL_Event e;
    while (SDL_GetTicks() - start < 2000) {
        SDL_PumpEvents();
        if (SDL_PeepEvents(&e, 1, SDL_PEEKEVENT, SDL_VIDEOEXPOSEMASK) > 0) return;
        SDL_Delay(1);
    }
}
} // namespace

GLContext::GLContext(int width, int height) : w(width), h(height) {
    if (!SDL_WasInit(SDL_INIT_VIDEO)) {
        if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER) != 0)
            ADD_FAILURE() << "SDL_Init failed: " << SDL_GetError();
    }
    if (gOpenWidth != width || gOpenHeight != height) {
        if (!SDL_SetVideoMode(width, height, 0, SDL_OPENGL))
            ADD_FAILURE() << "no OpenGL window (is DISPLAY set?): " << SDL_GetError();
        else
            WaitForTheWindowsFirstEvents();
        gOpenWidth = width;
        gOpenHeight = height;
        glewExperimental = GL_TRUE;
        GLenum err = glewInit();
        if (err != GLEW_OK) ADD_FAILURE() << "glewInit: " << glewGetErrorString(err);
    }
    record = new OGLState((unsigned)width, (unsigned)height);
    previous = OGLState::SetStateForce(record);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

GLContext::~GLContext() {
    OGLState::SetState(previous);
    delete record;
}

uint32_t GLContext::ReadPixel(int x, int y, int windowHeight) {
    unsigned char p[4] = {0, 0, 0, 0};
    glFinish();
    glReadPixels(x, windowHeight - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return (uint32_t)p[3] << 24 | (uint32_t)p[0] << 16 | (uint32_t)p[1] << 8 | p[2];
}

void GLContext::ClearTo(float r, float g, float b, float a) {
    glClearColor(r, g, b, a);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}
