// Checks, at initialisation, that the driver can give the off-screen render
// target what it needs: framebuffer objects (core or EXT, the set the target
// will use) with an RGBA8 colour texture and a 16-bit depth buffer.
#include <GL/glew.h>

#include <dlfcn.h>

#include "framebuffer_calls.h"
#include "fxruntime_internal.h"
#include "oglstate.h"

namespace {
const int kProbeSize = 64;

// Builds the render target's framebuffer once and asks whether it is complete;
// the bindings the host had are restored.
bool ProbeFramebuffer(const FramebufferCalls& fb) {
    GLuint texture = 0, depth = 0, framebuffer = 0;
    GLint previousRenderbuffer = 0;
    FramebufferCalls::Binding previous = fb.CurrentBinding();
    glGetIntegerv(fb.renderbufferBinding, &previousRenderbuffer);

    glGenTextures(1, &texture);
    OGLState::PushTextureUsed(texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, kProbeSize, kProbeSize, 0, GL_BGRA, GL_UNSIGNED_BYTE, nullptr);
    OGLState::PopTextureUsed();

    fb.genRenderbuffers(1, &depth);
    fb.bindRenderbuffer(fb.renderbuffer, depth);
    fb.renderbufferStorage(fb.renderbuffer, GL_DEPTH_COMPONENT16, kProbeSize, kProbeSize);
    fb.genFramebuffers(1, &framebuffer);
    fb.bindFramebuffer(fb.framebuffer, framebuffer);
    fb.framebufferTexture2D(fb.framebuffer, fb.colourAttachment, GL_TEXTURE_2D, texture, 0);
    fb.framebufferRenderbuffer(fb.framebuffer, fb.depthAttachment, fb.renderbuffer, depth);
    GLenum status = fb.checkFramebufferStatus(fb.framebuffer);
    fb.Restore(previous);
    fb.bindRenderbuffer(fb.renderbuffer, (GLuint)previousRenderbuffer);
    fb.deleteFramebuffers(1, &framebuffer);
    fb.deleteRenderbuffers(1, &depth);
    glDeleteTextures(1, &texture);
    return status == fb.complete;
}

// Whether the host made an EGL context current. Looked up rather than linked:
// a host that never loaded EGL has no EGL context.
bool EglContextCurrent() {
    using GetCurrentContext = void* (*)();
    auto get = reinterpret_cast<GetCurrentContext>(dlsym(RTLD_DEFAULT, "eglGetCurrentContext"));
    return get && get() != nullptr;
}
} // namespace

bool GlewInitUsable(unsigned result, bool eglContext) {
    // GLEW loads every GL entry point before it looks for GLX; an EGL context
    // has none, and that failure alone leaves GLEW fully usable.
    return result == GLEW_OK || (result == GLEW_ERROR_NO_GLX_DISPLAY && eglContext);
}

DriverSupport QueryDriverSupport() {
    DriverSupport support = {false, false};
    // GLEW's flags and entry points live in the shared libGLEW the host
    // initialised; initialising again covers hosts that did not.
    if (!GLEW_VERSION_1_1 && !GlewInitUsable(glewInit(), EglContextCurrent())) return support;
    FramebufferCalls fb = GetFramebufferCalls();
    support.framebufferExtension = fb.set != FramebufferSet::None;
    if (support.framebufferExtension) support.framebufferComplete = ProbeFramebuffer(fb);
    return support;
}

void CheckDriverSupport(const DriverSupport& support) {
    if (!support.framebufferExtension)
        throw BasicException("Your videocard doesn't support some of the required extensions :(");
    if (!support.framebufferComplete)
        throw BasicException(
            "You videocard seems to support the right extensions, but not the right pixelformat :(");
}
