// The effects library's one off-screen render target: a framebuffer object with
// a power-of-two RGBA colour texture and a 16-bit depth buffer, drawn into
// between BeginRenderToTexture and EndRenderToTexture and then used as a texture.
#pragma once

#include "framebuffer_calls.h"
#include "fxruntime.h"

class OGLState;

struct RenderTarget {
    TextureEntry slot; // size as asked for, extents against the padded size; not a table slot
    bool exists;
    bool bound;        // drawn into and handed out as a texture since the last Begin
    bool stateApplied; // the target's record has been made current once
    bool drawing;      // between Begin and End
    int paddedWidth, paddedHeight;
    unsigned framebuffer;                             // GL framebuffer object
    unsigned depthBuffer;                             // GL renderbuffer, 16-bit depth
    FramebufferCalls calls;                           // the set the target was made with
    FramebufferCalls::Binding windowFramebuffer;      // bound when Begin was called
    int windowViewport[4];                            // the viewport then, put back exactly by End
    OGLState* state;    // the target's own state record, of the padded size; owned
    OGLState* previous; // the record that was current before Begin
};

// True when a new target was made; false when one of that size exists already or
// the driver cannot make one (no framebuffer objects, or a size it refuses).
bool CreateRenderTarget(int width, int height);
void DestroyRenderTarget();
// Drawing goes to the target, with its own state record current and applied, a
// viewport of the asked size and a frustum whose y axis points up.
void BeginRenderToTexture();
// Drawing goes back to what Begin found (framebuffer, record, viewport,
// projection); returns the target's slot, bound as the current texture.
const TextureEntry& EndRenderToTexture();
// The target as it stands, for the effects that size their drawing by it.
const RenderTarget& GetRenderTarget();
