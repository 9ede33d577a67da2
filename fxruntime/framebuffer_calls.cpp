// Picks the framebuffer-object entry points GLEW loaded, core or EXT.
#include "framebuffer_calls.h"

namespace {

FramebufferSet gLimit = FramebufferSet::Core;

bool CoreComplete() {
    return GLEW_ARB_framebuffer_object && glGenFramebuffers && glDeleteFramebuffers &&
           glBindFramebuffer && glFramebufferTexture2D && glFramebufferRenderbuffer &&
           glCheckFramebufferStatus && glGenRenderbuffers && glDeleteRenderbuffers && glBindRenderbuffer &&
           glRenderbufferStorage;
}

bool ExtComplete() {
    return GLEW_EXT_framebuffer_object && glGenFramebuffersEXT && glDeleteFramebuffersEXT &&
           glBindFramebufferEXT && glFramebufferTexture2DEXT && glFramebufferRenderbufferEXT &&
           glCheckFramebufferStatusEXT && glGenRenderbuffersEXT && glDeleteRenderbuffersEXT &&
           glBindRenderbufferEXT && glRenderbufferStorageEXT;
}

} // namespace

FramebufferSet AvailableFramebufferSet() {
    if (gLimit == FramebufferSet::Core && CoreComplete()) return FramebufferSet::Core;
    if (gLimit != FramebufferSet::None && ExtComplete()) return FramebufferSet::Ext;
    return FramebufferSet::None;
}

void LimitFramebufferSet(FramebufferSet best) {
    gLimit = best;
}

FramebufferCalls GetFramebufferCalls() {
    FramebufferCalls c = {};
    c.set = AvailableFramebufferSet();
    if (c.set == FramebufferSet::Core) {
        c.genFramebuffers = glGenFramebuffers;
        c.deleteFramebuffers = glDeleteFramebuffers;
        c.bindFramebuffer = glBindFramebuffer;
        c.framebufferTexture2D = glFramebufferTexture2D;
        c.framebufferRenderbuffer = glFramebufferRenderbuffer;
        c.checkFramebufferStatus = glCheckFramebufferStatus;
        c.genRenderbuffers = glGenRenderbuffers;
        c.deleteRenderbuffers = glDeleteRenderbuffers;
        c.bindRenderbuffer = glBindRenderbuffer;
        c.renderbufferStorage = glRenderbufferStorage;
        c.framebuffer = GL_FRAMEBUFFER;
        c.renderbuffer = GL_RENDERBUFFER;
        c.colourAttachment = GL_COLOR_ATTACHMENT0;
        c.depthAttachment = GL_DEPTH_ATTACHMENT;
        c.complete = GL_FRAMEBUFFER_COMPLETE;
        c.renderbufferBinding = GL_RENDERBUFFER_BINDING;
    } else if (c.set == FramebufferSet::Ext) {
        c.genFramebuffers = glGenFramebuffersEXT;
        c.deleteFramebuffers = glDeleteFramebuffersEXT;
        c.bindFramebuffer = glBindFramebufferEXT;
        c.framebufferTexture2D = glFramebufferTexture2DEXT;
        c.framebufferRenderbuffer = glFramebufferRenderbufferEXT;
        c.checkFramebufferStatus = glCheckFramebufferStatusEXT;
        c.genRenderbuffers = glGenRenderbuffersEXT;
        c.deleteRenderbuffers = glDeleteRenderbuffersEXT;
        c.bindRenderbuffer = glBindRenderbufferEXT;
        c.renderbufferStorage = glRenderbufferStorageEXT;
        c.framebuffer = GL_FRAMEBUFFER_EXT;
        c.renderbuffer = GL_RENDERBUFFER_EXT;
        c.colourAttachment = GL_COLOR_ATTACHMENT0_EXT;
        c.depthAttachment = GL_DEPTH_ATTACHMENT_EXT;
        c.complete = GL_FRAMEBUFFER_COMPLETE_EXT;
        c.renderbufferBinding = GL_RENDERBUFFER_BINDING_EXT;
    }
    return c;
}

FramebufferCalls::Binding FramebufferCalls::CurrentBinding() const {
    Binding b = {0, 0};
    if (set == FramebufferSet::Core) {
        glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &b.draw);
        glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &b.read);
    } else if (set == FramebufferSet::Ext) {
        glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &b.draw);
        b.read = b.draw;
    }
    return b;
}

void FramebufferCalls::Restore(const Binding& b) const {
    if (set == FramebufferSet::Core) {
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, (GLuint)b.draw);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, (GLuint)b.read);
    } else if (set == FramebufferSet::Ext) {
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, (GLuint)b.draw);
    }
}
