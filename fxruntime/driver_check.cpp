// Checks, at initialisation, that the driver can give the off-screen render
// target what it needs: framebuffer objects with an RGBA8 colour texture and a
// 16-bit depth buffer.
#include <GL/glew.h>

#include "fxruntime_internal.h"
#include "oglstate.h"

namespace {
const int kProbeSize = 64;

// Builds the render target's framebuffer once and asks whether it is complete.
// Both the core/ARB and the EXT entry points are covered; the bindings the
// host had are restored.
bool ProbeFramebuffer(bool arb) {
    GLuint texture = 0, depth = 0, framebuffer = 0;
    GLint previousFramebuffer = 0, previousRenderbuffer = 0;
    glGetIntegerv(arb ? GL_FRAMEBUFFER_BINDING : GL_FRAMEBUFFER_BINDING_EXT, &previousFramebuffer);
    glGetIntegerv(arb ? GL_RENDERBUFFER_BINDING : GL_RENDERBUFFER_BINDING_EXT, &previousRenderbuffer);

    glGenTextures(1, &texture);
    OGLState::PushTextureUsed(texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, kProbeSize, kProbeSize, 0, GL_BGRA, GL_UNSIGNED_BYTE, nullptr);
    OGLState::PopTextureUsed();

    GLenum status;
    if (arb) {
        glGenRenderbuffers(1, &depth);
        glBindRenderbuffer(GL_RENDERBUFFER, depth);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT16, kProbeSize, kProbeSize);
        glGenFramebuffers(1, &framebuffer);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth);
        status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
        glBindFramebuffer(GL_FRAMEBUFFER, (GLuint)previousFramebuffer);
        glBindRenderbuffer(GL_RENDERBUFFER, (GLuint)previousRenderbuffer);
        glDeleteFramebuffers(1, &framebuffer);
        glDeleteRenderbuffers(1, &depth);
    } else {
        glGenRenderbuffersEXT(1, &depth);
        glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, depth);
        glRenderbufferStorageEXT(GL_RENDERBUFFER_EXT, GL_DEPTH_COMPONENT16, kProbeSize, kProbeSize);
        glGenFramebuffersEXT(1, &framebuffer);
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, framebuffer);
        glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_2D, texture, 0);
        glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_RENDERBUFFER_EXT, depth);
        status = glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT);
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, (GLuint)previousFramebuffer);
        glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, (GLuint)previousRenderbuffer);
        glDeleteFramebuffersEXT(1, &framebuffer);
        glDeleteRenderbuffersEXT(1, &depth);
    }
    glDeleteTextures(1, &texture);
    return status == (arb ? GL_FRAMEBUFFER_COMPLETE : GL_FRAMEBUFFER_COMPLETE_EXT);
}
} // namespace

DriverSupport QueryDriverSupport() {
    // GLEW's flags and entry points live in the shared libGLEW the host
    // initialised; initialising again is harmless and covers hosts that did not.
    if (!GLEW_VERSION_1_1) glewInit();
    DriverSupport support = {false, false};
    bool arb = GLEW_ARB_framebuffer_object && glGenFramebuffers && glBindFramebuffer &&
               glCheckFramebufferStatus && glGenRenderbuffers;
    bool ext = GLEW_EXT_framebuffer_object && glGenFramebuffersEXT && glBindFramebufferEXT &&
               glCheckFramebufferStatusEXT && glGenRenderbuffersEXT;
    support.framebufferExtension = arb || ext;
    if (support.framebufferExtension) support.framebufferComplete = ProbeFramebuffer(arb);
    return support;
}

void CheckDriverSupport(const DriverSupport& support) {
    if (!support.framebufferExtension)
        throw BasicException("Your videocard doesn't support some of the required extensions :(");
    if (!support.framebufferComplete)
        throw BasicException(
            "You videocard seems to support the right extensions, but not the right pixelformat :(");
}
