// The off-screen render target on a framebuffer object, made with the core or
// the EXT calls, whichever the driver has (see framebuffer_calls). It shares the window's
// GL context, so Begin and End switch the state record and apply it, and End
// puts back the framebuffer, viewport and matrices that Begin found.
#include "render_target.h"

#include <GL/glew.h>

#include <cstring>

#include "oglstate.h"

namespace {

RenderTarget gTarget; // zero at load: no texture, no framebuffer, all flags clear

const char kTargetName[] = "RenderToTexture";

// Smallest power of two at least `size` (1 for sizes of 1 or less); 0 when
// that is beyond what GL can hold.
int PaddedSize(int size, int limit) {
    long long padded = 1;
    while (padded < size)
        padded *= 2;
    return padded > limit ? 0 : (int)padded;
}

void ReleaseGLObjects() {
    const FramebufferCalls& fb = gTarget.calls;
    if (gTarget.framebuffer) fb.deleteFramebuffers(1, &gTarget.framebuffer);
    if (gTarget.depthBuffer) fb.deleteRenderbuffers(1, &gTarget.depthBuffer);
    if (gTarget.slot.texture) glDeleteTextures(1, &gTarget.slot.texture);
    gTarget.framebuffer = gTarget.depthBuffer = gTarget.slot.texture = 0;
}

} // namespace

const RenderTarget& GetRenderTarget() {
    return gTarget;
}

bool CreateRenderTarget(int width, int height) {
    if (gTarget.exists && gTarget.slot.width == width && gTarget.slot.height == height) return false;
    if (gTarget.exists) DestroyRenderTarget();
    // The set the driver check accepted at start-up, core or EXT.
    FramebufferCalls fb = GetFramebufferCalls();
    if (fb.set == FramebufferSet::None) return false;
    gTarget.calls = fb;

    GLint maxTexture = 0, maxRenderbuffer = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxTexture);
    glGetIntegerv(fb.set == FramebufferSet::Core ? GL_MAX_RENDERBUFFER_SIZE : GL_MAX_RENDERBUFFER_SIZE_EXT,
                  &maxRenderbuffer);
    int limit = maxTexture < maxRenderbuffer ? maxTexture : maxRenderbuffer;
    int paddedWidth = PaddedSize(width, limit), paddedHeight = PaddedSize(height, limit);
    if (!paddedWidth || !paddedHeight) return false;

    TextureEntry& slot = gTarget.slot;
    strncpy(slot.name, kTargetName, sizeof slot.name - 1);
    slot.name[sizeof slot.name - 1] = 0;
    slot.surface = nullptr;
    if (slot.texture) glDeleteTextures(1, &slot.texture);
    glGenTextures(1, &slot.texture);
    slot.width = width;
    slot.height = height;
    slot.sExtent = (float)width / (float)paddedWidth;
    slot.tExtent = (float)height / (float)paddedHeight;
    gTarget.paddedWidth = paddedWidth;
    gTarget.paddedHeight = paddedHeight;

    OGLState::SetTextureUsed(slot.texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    // Storage only: the pixels come from drawing into the framebuffer.
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, paddedWidth, paddedHeight, 0, GL_BGRA, GL_UNSIGNED_BYTE,
                 nullptr);

    FramebufferCalls::Binding previous = fb.CurrentBinding();
    fb.genRenderbuffers(1, &gTarget.depthBuffer);
    fb.bindRenderbuffer(fb.renderbuffer, gTarget.depthBuffer);
    fb.renderbufferStorage(fb.renderbuffer, GL_DEPTH_COMPONENT16, paddedWidth, paddedHeight);
    fb.bindRenderbuffer(fb.renderbuffer, 0);
    fb.genFramebuffers(1, &gTarget.framebuffer);
    fb.bindFramebuffer(fb.framebuffer, gTarget.framebuffer);
    fb.framebufferTexture2D(fb.framebuffer, fb.colourAttachment, GL_TEXTURE_2D, slot.texture, 0);
    fb.framebufferRenderbuffer(fb.framebuffer, fb.depthAttachment, fb.renderbuffer, gTarget.depthBuffer);
    GLenum status = fb.checkFramebufferStatus(fb.framebuffer);
    fb.Restore(previous);
    if (status != fb.complete) {
        ReleaseGLObjects();
        return false;
    }

    gTarget.exists = true;
    gTarget.bound = false;
    if (!gTarget.state) gTarget.state = new OGLState((unsigned)paddedWidth, (unsigned)paddedHeight);
    return true;
}

void DestroyRenderTarget() {
    if (gTarget.drawing) EndRenderToTexture();
    gTarget.bound = false;
    ReleaseGLObjects();
    gTarget.exists = false;
    gTarget.stateApplied = false;
    if (OGLState::GetState() == gTarget.state) OGLState::SetState(nullptr);
    delete gTarget.state;
    gTarget.state = nullptr;
}

void BeginRenderToTexture() {
    if (!gTarget.exists || gTarget.drawing) return;
    gTarget.bound = false;

    gTarget.windowFramebuffer = gTarget.calls.CurrentBinding();
    glGetIntegerv(GL_VIEWPORT, gTarget.windowViewport);
    // The target starts from identity matrices, as a context of its own would.
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    gTarget.calls.bindFramebuffer(gTarget.calls.framebuffer, gTarget.framebuffer);

    // Applied every time: drawing in either place may set state directly.
    gTarget.previous = OGLState::SetStateForce(gTarget.state);
    gTarget.stateApplied = true;
    gTarget.drawing = true;

    double w = gTarget.slot.width, h = gTarget.slot.height;
    OGLState::SetViewport(0, 0, gTarget.slot.width, gTarget.slot.height);
    OGLState::SetProjection(-w / 2, w / 2, -h / 2, h / 2, 1, 100, false);
}

const TextureEntry& EndRenderToTexture() {
    if (!gTarget.drawing) return gTarget.slot;
    gTarget.drawing = false;
    gTarget.calls.Restore(gTarget.windowFramebuffer);
    OGLState::SetStateForce(gTarget.previous);
    gTarget.previous = nullptr;
    // The record's values, then exactly what Begin found.
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glViewport(gTarget.windowViewport[0], gTarget.windowViewport[1], gTarget.windowViewport[2],
               gTarget.windowViewport[3]);

    OGLState::SetTextureUsed(gTarget.slot.texture);
    gTarget.bound = true;
    return gTarget.slot;
}
