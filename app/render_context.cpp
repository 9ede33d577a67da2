// The renderer's OpenGL context. EGL on Mesa's surfaceless platform needs no X
// server and no DISPLAY, so renders run on build servers; where EGL is missing
// the render draws in a window as before.
#include "app.h"
#include "standalone.h"

#include <cstdio>
#include <cstdlib>

#include <GL/glew.h>
#include <SDL/SDL.h>

#ifdef TRELLIC_HAVE_EGL
#include <EGL/egl.h>
#include <EGL/eglext.h>
#endif

bool RenderContext::OpenHeadless() {
#ifdef TRELLIC_HAVE_EGL
    auto getPlatformDisplay =
        reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (!getPlatformDisplay) return false;
    EGLDisplay egl = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    EGLint major = 0, minor = 0;
    if (egl == EGL_NO_DISPLAY || !eglInitialize(egl, &major, &minor)) return false;
    display = egl;
    if (!eglBindAPI(EGL_OPENGL_API)) return false;
    // No version asked for: Mesa then gives its newest compatibility profile,
    // which keeps the fixed-function calls the effects make.
    EGLContext created = eglCreateContext(egl, EGL_NO_CONFIG_KHR, EGL_NO_CONTEXT, nullptr);
    if (created == EGL_NO_CONTEXT) {
        const EGLint wanted[] = {EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_NONE};
        EGLConfig config;
        EGLint found = 0;
        if (!eglChooseConfig(egl, wanted, &config, 1, &found) || found < 1) return false;
        created = eglCreateContext(egl, config, EGL_NO_CONTEXT, nullptr);
        if (created == EGL_NO_CONTEXT) return false;
    }
    context = created;
    if (!eglMakeCurrent(egl, EGL_NO_SURFACE, EGL_NO_SURFACE, created)) return false;

    // GLEW loads every entry point and extension flag, then fails on GLX, which
    // an EGL context does not have: that result is a success here.
    GLenum glew = glewInit();
    if (glew != GLEW_OK && glew != GLEW_ERROR_NO_GLX_DISPLAY) {
        fprintf(stderr, "Glew init error: %s\n", glewGetErrorString(glew));
        return false;
    }
    if (!GLEW_VERSION_1_1) return false;
    return true;
#else
    return false;
#endif
}

int RenderContext::Open(SDL_Config& config) {
    if (OpenHeadless()) {
        headless = true;
        if (SDL_Init(SDL_INIT_TIMER) != 0) fprintf(stderr, "Trellic: %s\n", SDL_GetError());
        // The surfaces handed to the libraries take the format an X window has.
        standIn = SDL_CreateRGBSurface(SDL_SWSURFACE, 1, 1, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0);
        if (!standIn) {
            fprintf(stderr, "Trellic: %s\n", SDL_GetError());
            return kExitStartFailed;
        }
        screen = standIn;
        return kExitOk;
    }
#ifdef TRELLIC_HAVE_EGL
    // Whatever half of EGL was set up goes before the window takes over.
    if (display) {
        eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        if (context) eglDestroyContext(display, context);
        eglTerminate(display);
    }
    context = display = nullptr;
#endif
    // Without a display SDL would try a text-mode driver, which has no OpenGL.
    if (!getenv("DISPLAY") && !getenv("SDL_VIDEODRIVER")) {
        fprintf(stderr, "Trellic: no OpenGL context for the render: EGL's surfaceless platform is not available "
                        "(Debian packages libegl1 and libegl-mesa0), and without DISPLAY there is no window\n");
        return kExitStartFailed;
    }
    bool audioOpen = false;
    if (OpenVideo(config, screen, audioOpen) != 0) {
        fprintf(stderr, "Trellic: no OpenGL context for the render: neither EGL nor a window\n");
        return kExitStartFailed;
    }
    return kExitOk;
}

RenderContext::~RenderContext() {
    if (standIn) SDL_FreeSurface(standIn);
#ifdef TRELLIC_HAVE_EGL
    if (display) {
        eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        if (context) eglDestroyContext(display, context);
        eglTerminate(display);
    }
#endif
}
