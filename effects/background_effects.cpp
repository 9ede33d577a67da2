// Effects that fill the whole view: BackgroundFade stretches an image over it,
// FastBackground a window of an image with whatever blending is current, and
// BackgroundTint lays a translucent flat colour over it.
#include <GL/glew.h>

#include "effects.h"
#include "oglstate.h"

namespace {
float HalfViewWidth() {
    return (float)(OGLState::GetViewWidth() / 2);
}
float HalfViewHeight() {
    return (float)(OGLState::GetViewHeight() / 2);
}
} // namespace

extern "C" FENK_EXPORT int BackgroundFade(int image, int opacity) {
    const TextureEntry& slot = GetTexture(image);
    if (!slot.texture) return 1; // an empty or unknown slot draws nothing
    OGLState::PushBlend(true);
    OGLState::PushBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    OGLState::PushTexture2D(true);
    OGLState::PushTextureUsed(slot.texture);
    if (opacity < 0) opacity = 0;
    if (opacity > 256) opacity = 256;
    glColor4f(1, 1, 1, (float)opacity / 256.0f);
    DrawCentredQuad(HalfViewWidth(), HalfViewHeight(), true, 0, 0, slot.sExtent, slot.tExtent);
    OGLState::PopTextureUsed();
    OGLState::PopTexture2D();
    OGLState::PopBlendFunc();
    OGLState::PopBlend();
    return 1;
}

extern "C" FENK_EXPORT int FastBackground(int image, int left, int top, int width, int height) {
    const TextureEntry& slot = GetTexture(image);
    if (!slot.texture) return 1; // an empty or unknown slot draws nothing
    OGLState::PushTexture2D(true);
    OGLState::PushTextureUsed(slot.texture);
    glPushMatrix();
    const float kThousandth = 0.001f;
    float s0 = slot.sExtent * (float)left * kThousandth;
    float t0 = slot.tExtent * (float)top * kThousandth;
    float s1 = s0 + slot.sExtent * (float)width * kThousandth;
    float t1 = t0 + slot.tExtent * (float)height * kThousandth;
    glColor4f(1, 1, 1, 1);
    DrawCentredQuad(HalfViewWidth(), HalfViewHeight(), true, s0, t0, s1, t1);
    glPopMatrix();
    OGLState::PopTextureUsed();
    OGLState::PopTexture2D();
    return 1;
}

extern "C" FENK_EXPORT int BackgroundTint(int opacity, int red, int green, int blue) {
    OGLState::PushBlend(true);
    OGLState::PushBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    OGLState::PushTexture2D(false);
    if (opacity < 0) opacity = 0;
    if (opacity > 256) opacity = 256;
    glColor4f((float)red / 256.0f, (float)green / 256.0f, (float)blue / 256.0f, (float)opacity / 256.0f);
    DrawCentredQuad(HalfViewWidth(), HalfViewHeight(), false, 0, 0, 0, 0);
    OGLState::PopTexture2D();
    OGLState::PopBlendFunc();
    OGLState::PopBlend();
    return 1;
}
