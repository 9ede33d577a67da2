// Effects that draw one image of the texture table at a position and size:
// Image, its pixel twin ImageAbs, and Animate, which picks the frame of an
// animation for a time.
#include <GL/glew.h>

#include "effects.h"
#include "oglstate.h"

void DrawCentredQuad(float hw, float hh, bool textured, float s0, float t0, float s1, float t1) {
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

void DrawTextureQuad(const TextureEntry& slot, double size, double opacity) {
    if (!slot.texture) return; // an empty or unknown slot draws nothing
    OGLState::PushTexture2D(true);
    OGLState::PushTextureUsed(slot.texture);
    if (opacity < 0) opacity = 0;
    if (opacity > 256) opacity = 256;
    float hw = (float)(slot.width * size * 0.0005);
    float hh = (float)(slot.height * size * 0.0005);
    glColor4f(1, 1, 1, (float)(opacity / 256));
    DrawCentredQuad(hw, hh, true, 0, 0, slot.sExtent, slot.tExtent);
    OGLState::PopTextureUsed();
    OGLState::PopTexture2D();
}

void DrawTextureAt(const TextureEntry& slot, double x, double y, double size, double opacity) {
    glPushMatrix();
    glTranslated(x - OGLState::GetViewWidth() / 2, y - OGLState::GetViewHeight() / 2, 0);
    DrawTextureQuad(slot, size, opacity);
    glPopMatrix();
}

FENK_EXPORT int ImageAbs(long image, long x, long y, long size, long opacity) {
    if (image < 0 || image >= kTextureSlots) return 1;
    OGLState::PushBlend(true);
    OGLState::PushBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    DrawTextureAt(GetTexture((int)image), (double)x, (double)y, (double)size, (double)opacity);
    OGLState::PopBlendFunc();
    OGLState::PopBlend();
    return 1;
}

extern "C" FENK_EXPORT int Image(int image, int x, int y, int size, int opacity) {
    double k = ViewScale();
    return ImageAbs(image, TruncToLong(x * k * 0.1), TruncToLong(y * k * 0.1), TruncToLong(size * k),
                    opacity);
}

// Index of the frame shown at `time`: each frame for its duration, looping.
// Negative times show the first frame; negative durations count as 0, and an
// animation whose durations are all 0 stays on its first frame.
int AnimationFrameAt(const Animation& animation, long time) {
    if (animation.frameCount <= 0) return -1;
    long long total = 0;
    for (int i = 0; i < animation.frameCount; i++)
        if (animation.frames[i]->duration > 0) total += animation.frames[i]->duration;
    if (total == 0 || time < 0) return 0;
    long long remaining = time % total;
    for (int i = 0; i < animation.frameCount; i++) {
        long duration = animation.frames[i]->duration;
        if (duration > 0) remaining -= duration;
        if (remaining < 0) return i;
    }
    return 0;
}

extern "C" FENK_EXPORT int Animate(int animation, int x, int y, int size, int opacity, int time) {
    const Animation* a = GetAnimation(animation);
    if (!a) return 1;
    int frame = AnimationFrameAt(*a, time);
    if (frame < 0) return 1;
    const char* name = a->frames[frame]->name;
    // Frames were loaded at initialisation; searching first keeps a full table
    // from refusing a lookup of an image it already holds.
    int slot = FindTexture(name);
    if (slot < 0) slot = CreateTextureFromFile(name, false);
    return Image(slot, x, y, size, opacity);
}
