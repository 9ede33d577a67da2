// The GL state stack shared by Trellic and every effect library it loads.
// One record per GL context; every state change is a Push that a Pop undoes,
// so drawing code leaves the context as it found it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class OGLState {
  public:
    OGLState(unsigned width, unsigned height);
    ~OGLState();
    OGLState(const OGLState&) = delete;
    OGLState& operator=(const OGLState&) = delete;

    // Make `state` current (null detaches) and return the previous record.
    // SetState applies what differs from the previous record, or the whole record
    // when there was none; SetStateForce always applies the whole record;
    // SetStateNoCheck trusts the context to hold the record already.
    static OGLState* SetState(OGLState* state);
    static OGLState* SetStateForce(OGLState* state);
    static OGLState* SetStateNoCheck(OGLState* state);
    static OGLState* GetState();

    static void PushBlend(bool on);
    static void PopBlend();
    static void PushBlendFunc(unsigned source, unsigned destination);
    static void PopBlendFunc();
    static void PushColor(uint32_t argb); // 0xAARRGGBB; -1 is opaque white
    static void PopColor();
    static void PushBGColor(int alpha, int red, int green, int blue); // 0..255 each
    static void PopBGColor();
    static void PushColorMask(bool red, bool green, bool blue, bool alpha);
    static void PopColorMask();
    static void PushDepth(bool on);
    static void PopDepth();
    static void PushTexture2D(bool on);
    static void PopTexture2D();
    static void PushTextureUsed(unsigned texture);
    static void PopTextureUsed();
    static void SetTextureUsed(unsigned texture);
    static void PushViewport(int x, int y, int width, int height);
    static void PopViewport();
    static void SetViewport(int x, int y, int width, int height);
    static void PushProjection(double left, double right, double bottom, double top, double zNear,
                               double zFar, bool orthographic);
    static void PopProjection();
    static void SetProjection(double left, double right, double bottom, double top, double zNear, double zFar,
                              bool orthographic);
    static double GetViewWidth();
    static double GetViewHeight();

    // How deep every stack of the current record is, and the way back there:
    // PopToDepths pops (and so restores) whatever was pushed since, as after
    // drawing code that raised between its pushes and its pops.
    struct Depths {
        size_t blend, blendFunc, color, bgColor, colorMask, depth, texture2D, texture, viewport, projection;
    };
    static Depths GetDepths();
    static void PopToDepths(const Depths& depths);

    struct Projection {
        double left, right, bottom, top, zNear, zFar;
        bool orthographic;
    };
    struct Values {
        bool blend;
        unsigned blendSource, blendDestination;
        uint32_t color;
        uint8_t bgColor[4]; // alpha, red, green, blue
        bool colorMask[4];  // red, green, blue, alpha
        bool depth;
        bool texture2D;
        unsigned textureUsed;
        int viewport[4]; // x, y, width, height
        Projection projection;
    };
    // The values this record holds now (for tests and diagnostics).
    const Values& values() const { return now; }

  private:
    Values now;
    std::vector<bool> blendStack, depthStack, texture2DStack;
    std::vector<uint32_t> colorStack;
    std::vector<unsigned> blendFuncStack, textureStack;
    std::vector<uint32_t> bgColorStack;
    std::vector<uint8_t> colorMaskStack;
    std::vector<int> viewportStack;
    std::vector<Projection> projectionStack;

    static void ApplyAll(const Values& v);
    static void ApplyDifferences(const Values& from, const Values& to);
};
