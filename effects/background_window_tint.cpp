// Full-view effects beside BackgroundFade: FastBackground stretches a window of
// an image over the view with whatever blending is current, BackgroundTint lays
// a translucent flat colour over the view.
#include <GL/glew.h>

#include "effects_more.h"
#include "oglstate.h"

namespace {

// The view's quad, corners from the bottom-left (y grows downwards) round to
// the top-left, with the texture window s0..s1, t0..t1 when `textured`.
void DrawViewQuad(bool textured, float s0, float t0, float s1, float t1) {
    float hw = (float)(OGLState::GetViewWidth() / 2), hh = (float)(OGLState::GetViewHeight() / 2);
    glBegin(GL_QUADS);
    glNormal3f(0, 0, 1);
    if (textured) glTexCoord2f(s0, t1);
    glVertex3f(-hw, hh, -1);
    if (textured) glTexCoord2f(s1, t1);
    glVertex3f(hw, hh, -1);
    if (textured) glTexCoord2f(s1, t0);
    glVertex3f(hw, -hh, -1);
    if (textured) glTexCoord2f(s0, t0);
    glVertex3f(-hw, -hh, -1);
    glEnd();
}

} // namespace

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
    DrawViewQuad(true, s0, t0, s1, t1);
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
    DrawViewQuad(false, 0, 0, 0, 0);
    OGLState::PopTexture2D();
    OGLState::PopBlendFunc();
    OGLState::PopBlend();
    return 1;
}
