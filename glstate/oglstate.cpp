// GL state stack: the current record, its Push/Pop pairs and the code that puts
// a record's values into the GL context.
#include "oglstate.h"

#include <GL/gl.h>

namespace {
OGLState* gCurrent = nullptr;

void ApplyBlend(bool on) {
    on ? glEnable(GL_BLEND) : glDisable(GL_BLEND);
}
void ApplyDepth(bool on) {
    on ? glEnable(GL_DEPTH_TEST) : glDisable(GL_DEPTH_TEST);
}
void ApplyTexture2D(bool on) {
    on ? glEnable(GL_TEXTURE_2D) : glDisable(GL_TEXTURE_2D);
}
void ApplyColor(uint32_t c) {
    glColor4ub((GLubyte)(c >> 16), (GLubyte)(c >> 8), (GLubyte)c, (GLubyte)(c >> 24));
}
void ApplyBGColor(const uint8_t* argb) {
    glClearColor(argb[1] / 255.0f, argb[2] / 255.0f, argb[3] / 255.0f, argb[0] / 255.0f);
}
void ApplyColorMask(const bool* m) {
    glColorMask(m[0], m[1], m[2], m[3]);
}
void ApplyViewport(const int* v) {
    glViewport(v[0], v[1], v[2], v[3]);
}
void ApplyProjection(const OGLState::Projection& p) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    if (p.orthographic)
        glOrtho(p.left, p.right, p.bottom, p.top, p.zNear, p.zFar);
    else
        glFrustum(p.left, p.right, p.bottom, p.top, p.zNear, p.zFar);
    glMatrixMode(GL_MODELVIEW);
}
bool SameProjection(const OGLState::Projection& a, const OGLState::Projection& b) {
    return a.left == b.left && a.right == b.right && a.bottom == b.bottom && a.top == b.top &&
           a.zNear == b.zNear && a.zFar == b.zFar && a.orthographic == b.orthographic;
}
} // namespace

OGLState::OGLState(unsigned width, unsigned height) {
    now.blend = false;
    now.blendSource = GL_ONE;
    now.blendDestination = GL_ZERO;
    now.color = 0xFFFFFFFFu;
    for (int i = 0; i < 4; i++) {
        now.bgColor[i] = 0;
        now.colorMask[i] = true;
    }
    now.depth = false;
    now.texture2D = false;
    now.textureUsed = 0;
    now.viewport[0] = 0;
    now.viewport[1] = 0;
    now.viewport[2] = (int)width;
    now.viewport[3] = (int)height;
    // Whole-pixel halves, like every other view of the window: an odd size must
    // not put the centre between two pixels.
    double w = width / 2, h = height / 2;
    now.projection = {-w, w, h, -h, 1.0, 100.0, false};
}

OGLState::~OGLState() {
    if (gCurrent == this) gCurrent = nullptr;
}

void OGLState::ApplyAll(const Values& v) {
    ApplyBlend(v.blend);
    glBlendFunc(v.blendSource, v.blendDestination);
    ApplyColor(v.color);
    ApplyBGColor(v.bgColor);
    ApplyColorMask(v.colorMask);
    ApplyDepth(v.depth);
    ApplyTexture2D(v.texture2D);
    glBindTexture(GL_TEXTURE_2D, v.textureUsed);
    ApplyViewport(v.viewport);
    ApplyProjection(v.projection);
}

void OGLState::ApplyDifferences(const Values& from, const Values& to) {
    if (from.blend != to.blend) ApplyBlend(to.blend);
    if (from.blendSource != to.blendSource || from.blendDestination != to.blendDestination)
        glBlendFunc(to.blendSource, to.blendDestination);
    ApplyColor(to.color); // drawing code sets the colour directly too, so always restore it
    if (from.bgColor[0] != to.bgColor[0] || from.bgColor[1] != to.bgColor[1] ||
        from.bgColor[2] != to.bgColor[2] || from.bgColor[3] != to.bgColor[3])
        ApplyBGColor(to.bgColor);
    if (from.colorMask[0] != to.colorMask[0] || from.colorMask[1] != to.colorMask[1] ||
        from.colorMask[2] != to.colorMask[2] || from.colorMask[3] != to.colorMask[3])
        ApplyColorMask(to.colorMask);
    if (from.depth != to.depth) ApplyDepth(to.depth);
    if (from.texture2D != to.texture2D) ApplyTexture2D(to.texture2D);
    if (from.textureUsed != to.textureUsed) glBindTexture(GL_TEXTURE_2D, to.textureUsed);
    if (from.viewport[0] != to.viewport[0] || from.viewport[1] != to.viewport[1] ||
        from.viewport[2] != to.viewport[2] || from.viewport[3] != to.viewport[3])
        ApplyViewport(to.viewport);
    if (!SameProjection(from.projection, to.projection)) ApplyProjection(to.projection);
}

OGLState* OGLState::SetState(OGLState* state) {
    OGLState* previous = gCurrent;
    gCurrent = state;
    if (state && state != previous) {
        if (previous)
            ApplyDifferences(previous->now, state->now);
        else
            ApplyAll(state->now);
    }
    return previous;
}

OGLState* OGLState::SetStateForce(OGLState* state) {
    OGLState* previous = gCurrent;
    gCurrent = state;
    if (state) ApplyAll(state->now);
    return previous;
}

OGLState* OGLState::SetStateNoCheck(OGLState* state) {
    OGLState* previous = gCurrent;
    gCurrent = state;
    return previous;
}

OGLState* OGLState::GetState() {
    return gCurrent;
}

// Without a current record a Push still applies its value (nothing is saved) and
// a Pop does nothing; an unmatched Pop on a record is ignored as well.

void OGLState::PushBlend(bool on) {
    if (gCurrent) {
        gCurrent->blendStack.push_back(gCurrent->now.blend);
        gCurrent->now.blend = on;
    }
    ApplyBlend(on);
}
void OGLState::PopBlend() {
    if (!gCurrent || gCurrent->blendStack.empty()) return;
    gCurrent->now.blend = gCurrent->blendStack.back();
    gCurrent->blendStack.pop_back();
    ApplyBlend(gCurrent->now.blend);
}

void OGLState::PushBlendFunc(unsigned source, unsigned destination) {
    if (gCurrent) {
        gCurrent->blendFuncStack.push_back(gCurrent->now.blendSource);
        gCurrent->blendFuncStack.push_back(gCurrent->now.blendDestination);
        gCurrent->now.blendSource = source;
        gCurrent->now.blendDestination = destination;
    }
    glBlendFunc(source, destination);
}
void OGLState::PopBlendFunc() {
    if (!gCurrent || gCurrent->blendFuncStack.size() < 2) return;
    std::vector<unsigned>& s = gCurrent->blendFuncStack;
    gCurrent->now.blendDestination = s.back();
    s.pop_back();
    gCurrent->now.blendSource = s.back();
    s.pop_back();
    glBlendFunc(gCurrent->now.blendSource, gCurrent->now.blendDestination);
}

void OGLState::PushColor(uint32_t argb) {
    if (gCurrent) {
        gCurrent->colorStack.push_back(gCurrent->now.color);
        gCurrent->now.color = argb;
    }
    ApplyColor(argb);
}
void OGLState::PopColor() {
    if (!gCurrent || gCurrent->colorStack.empty()) return;
    gCurrent->now.color = gCurrent->colorStack.back();
    gCurrent->colorStack.pop_back();
    ApplyColor(gCurrent->now.color);
}

static uint32_t PackBG(const uint8_t* c) {
    return (uint32_t)c[0] << 24 | (uint32_t)c[1] << 16 | (uint32_t)c[2] << 8 | c[3];
}

void OGLState::PushBGColor(int alpha, int red, int green, int blue) {
    uint8_t c[4] = {(uint8_t)alpha, (uint8_t)red, (uint8_t)green, (uint8_t)blue};
    if (gCurrent) {
        gCurrent->bgColorStack.push_back(PackBG(gCurrent->now.bgColor));
        for (int i = 0; i < 4; i++)
            gCurrent->now.bgColor[i] = c[i];
    }
    ApplyBGColor(c);
}
void OGLState::PopBGColor() {
    if (!gCurrent || gCurrent->bgColorStack.empty()) return;
    uint32_t p = gCurrent->bgColorStack.back();
    gCurrent->bgColorStack.pop_back();
    for (int i = 0; i < 4; i++)
        gCurrent->now.bgColor[i] = (uint8_t)(p >> (24 - 8 * i));
    ApplyBGColor(gCurrent->now.bgColor);
}

void OGLState::PushColorMask(bool red, bool green, bool blue, bool alpha) {
    bool m[4] = {red, green, blue, alpha};
    if (gCurrent) {
        const bool* o = gCurrent->now.colorMask;
        gCurrent->colorMaskStack.push_back((uint8_t)(o[0] | o[1] << 1 | o[2] << 2 | o[3] << 3));
        for (int i = 0; i < 4; i++)
            gCurrent->now.colorMask[i] = m[i];
    }
    ApplyColorMask(m);
}
void OGLState::PopColorMask() {
    if (!gCurrent || gCurrent->colorMaskStack.empty()) return;
    uint8_t p = gCurrent->colorMaskStack.back();
    gCurrent->colorMaskStack.pop_back();
    for (int i = 0; i < 4; i++)
        gCurrent->now.colorMask[i] = (p >> i) & 1;
    ApplyColorMask(gCurrent->now.colorMask);
}

void OGLState::PushDepth(bool on) {
    if (gCurrent) {
        gCurrent->depthStack.push_back(gCurrent->now.depth);
        gCurrent->now.depth = on;
    }
    ApplyDepth(on);
}
void OGLState::PopDepth() {
    if (!gCurrent || gCurrent->depthStack.empty()) return;
    gCurrent->now.depth = gCurrent->depthStack.back();
    gCurrent->depthStack.pop_back();
    ApplyDepth(gCurrent->now.depth);
}

void OGLState::PushTexture2D(bool on) {
    if (gCurrent) {
        gCurrent->texture2DStack.push_back(gCurrent->now.texture2D);
        gCurrent->now.texture2D = on;
    }
    ApplyTexture2D(on);
}
void OGLState::PopTexture2D() {
    if (!gCurrent || gCurrent->texture2DStack.empty()) return;
    gCurrent->now.texture2D = gCurrent->texture2DStack.back();
    gCurrent->texture2DStack.pop_back();
    ApplyTexture2D(gCurrent->now.texture2D);
}

void OGLState::PushTextureUsed(unsigned texture) {
    if (gCurrent) {
        gCurrent->textureStack.push_back(gCurrent->now.textureUsed);
        gCurrent->now.textureUsed = texture;
    }
    glBindTexture(GL_TEXTURE_2D, texture);
}
void OGLState::PopTextureUsed() {
    if (!gCurrent || gCurrent->textureStack.empty()) return;
    gCurrent->now.textureUsed = gCurrent->textureStack.back();
    gCurrent->textureStack.pop_back();
    glBindTexture(GL_TEXTURE_2D, gCurrent->now.textureUsed);
}
void OGLState::SetTextureUsed(unsigned texture) {
    if (gCurrent) gCurrent->now.textureUsed = texture;
    glBindTexture(GL_TEXTURE_2D, texture);
}

void OGLState::PushViewport(int x, int y, int width, int height) {
    if (gCurrent) {
        gCurrent->viewportStack.insert(gCurrent->viewportStack.end(), gCurrent->now.viewport,
                                       gCurrent->now.viewport + 4);
    }
    SetViewport(x, y, width, height);
}
void OGLState::PopViewport() {
    if (!gCurrent || gCurrent->viewportStack.size() < 4) return;
    std::vector<int>& s = gCurrent->viewportStack;
    for (int i = 0; i < 4; i++)
        gCurrent->now.viewport[i] = s[s.size() - 4 + i];
    s.resize(s.size() - 4);
    ApplyViewport(gCurrent->now.viewport);
}
void OGLState::SetViewport(int x, int y, int width, int height) {
    int v[4] = {x, y, width, height};
    if (gCurrent)
        for (int i = 0; i < 4; i++)
            gCurrent->now.viewport[i] = v[i];
    ApplyViewport(v);
}

void OGLState::PushProjection(double left, double right, double bottom, double top, double zNear, double zFar,
                              bool orthographic) {
    if (gCurrent) gCurrent->projectionStack.push_back(gCurrent->now.projection);
    SetProjection(left, right, bottom, top, zNear, zFar, orthographic);
}
void OGLState::PopProjection() {
    if (!gCurrent || gCurrent->projectionStack.empty()) return;
    gCurrent->now.projection = gCurrent->projectionStack.back();
    gCurrent->projectionStack.pop_back();
    ApplyProjection(gCurrent->now.projection);
}
void OGLState::SetProjection(double left, double right, double bottom, double top, double zNear, double zFar,
                             bool orthographic) {
    Projection p = {left, right, bottom, top, zNear, zFar, orthographic};
    if (gCurrent) gCurrent->now.projection = p;
    ApplyProjection(p);
}

double OGLState::GetViewWidth() {
    return gCurrent ? (double)gCurrent->now.viewport[2] : 0.0;
}
double OGLState::GetViewHeight() {
    return gCurrent ? (double)gCurrent->now.viewport[3] : 0.0;
}

OGLState::Depths OGLState::GetDepths() {
    Depths d = {};
    if (!gCurrent) return d;
    d.blend = gCurrent->blendStack.size();
    d.blendFunc = gCurrent->blendFuncStack.size();
    d.color = gCurrent->colorStack.size();
    d.bgColor = gCurrent->bgColorStack.size();
    d.colorMask = gCurrent->colorMaskStack.size();
    d.depth = gCurrent->depthStack.size();
    d.texture2D = gCurrent->texture2DStack.size();
    d.texture = gCurrent->textureStack.size();
    d.viewport = gCurrent->viewportStack.size();
    d.projection = gCurrent->projectionStack.size();
    return d;
}

void OGLState::PopToDepths(const Depths& d) {
    if (!gCurrent) return;
    OGLState& s = *gCurrent;
    while (s.blendStack.size() > d.blend)
        PopBlend();
    while (s.blendFuncStack.size() > d.blendFunc)
        PopBlendFunc();
    while (s.colorStack.size() > d.color)
        PopColor();
    while (s.bgColorStack.size() > d.bgColor)
        PopBGColor();
    while (s.colorMaskStack.size() > d.colorMask)
        PopColorMask();
    while (s.depthStack.size() > d.depth)
        PopDepth();
    while (s.texture2DStack.size() > d.texture2D)
        PopTexture2D();
    while (s.textureStack.size() > d.texture)
        PopTextureUsed();
    while (s.viewportStack.size() > d.viewport)
        PopViewport();
    while (s.projectionStack.size() > d.projection)
        PopProjection();
}
