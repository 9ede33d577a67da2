// Effects that stretch an image over the whole view.
#include <GL/glew.h>

#include "effects.h"
#include "oglstate.h"

extern "C" FENK_EXPORT int BackgroundFade(int image, int opacity) {
    const TextureEntry& slot = GetTexture(image);
    if (!slot.texture) return 1; // an empty or unknown slot draws nothing
    float hw = (float)(OGLState::GetViewWidth() / 2), hh = (float)(OGLState::GetViewHeight() / 2);
    OGLState::PushBlend(true);
    OGLState::PushBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    OGLState::PushTexture2D(true);
    OGLState::PushTextureUsed(slot.texture);
    if (opacity < 0) opacity = 0;
    if (opacity > 256) opacity = 256;
    glColor4f(1, 1, 1, (float)opacity / 256.0f);
    glBegin(GL_QUADS);
    glNormal3f(0, 0, 1);
    glTexCoord2f(0, slot.tExtent);
    glVertex3f(-hw, hh, -1);
    glTexCoord2f(slot.sExtent, slot.tExtent);
    glVertex3f(hw, hh, -1);
    glTexCoord2f(slot.sExtent, 0);
    glVertex3f(hw, -hh, -1);
    glTexCoord2f(0, 0);
    glVertex3f(-hw, -hh, -1);
    glEnd();
    OGLState::PopTextureUsed();
    OGLState::PopTexture2D();
    OGLState::PopBlendFunc();
    OGLState::PopBlend();
    return 1;
}
