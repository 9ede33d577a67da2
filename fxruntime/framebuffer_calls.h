// The framebuffer-object calls of the render target and the driver check, from
// whichever set the driver has: the core ones (GL_ARB_framebuffer_object)
// or the older GL_EXT_framebuffer_object ones. Both sets do the same here; the
// check at start-up and the target always use the same set.
#pragma once

#include <GL/glew.h>

enum class FramebufferSet { None, Core, Ext };

struct FramebufferCalls {
    FramebufferSet set;
    PFNGLGENFRAMEBUFFERSPROC genFramebuffers;
    PFNGLDELETEFRAMEBUFFERSPROC deleteFramebuffers;
    PFNGLBINDFRAMEBUFFERPROC bindFramebuffer;
    PFNGLFRAMEBUFFERTEXTURE2DPROC framebufferTexture2D;
    PFNGLFRAMEBUFFERRENDERBUFFERPROC framebufferRenderbuffer;
    PFNGLCHECKFRAMEBUFFERSTATUSPROC checkFramebufferStatus;
    PFNGLGENRENDERBUFFERSPROC genRenderbuffers;
    PFNGLDELETERENDERBUFFERSPROC deleteRenderbuffers;
    PFNGLBINDRENDERBUFFERPROC bindRenderbuffer;
    PFNGLRENDERBUFFERSTORAGEPROC renderbufferStorage;
    GLenum framebuffer, renderbuffer, colourAttachment, depthAttachment, complete, renderbufferBinding;

    // The framebuffers bound for drawing and reading (one binding with EXT).
    struct Binding {
        GLint draw, read;
    };
    Binding CurrentBinding() const;
    void Restore(const Binding& binding) const;
};

// The set the driver offers, the core one first; None when neither is complete.
// LimitFramebufferSet(Ext) makes a driver with both act as one with EXT only.
FramebufferSet AvailableFramebufferSet();
void LimitFramebufferSet(FramebufferSet best);
// The calls of the available set; its `set` is None (and nothing may be called)
// when there is none.
FramebufferCalls GetFramebufferCalls();
