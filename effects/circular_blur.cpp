// CircularBlur: a complex image smeared along an arc around its centre. The
// image, premultiplied by its alpha, is split into two textures of the low and
// high 4 bits of every channel; 16 rotated copies of each are summed in the
// render target without overflowing 8 bits, then added to the frame with the
// weights that restore the full value.
#include <GL/glew.h>
#include <SDL/SDL.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "effects_more.h"
#include "oglstate.h"
#include "fxruntime.h"
#include "render_target.h"

namespace {

TextureEntry gNibbles[2]; // low and high nibbles; texture names 0 at load
int gBlurImage = -1;      // the image they were made from
uint32_t gBlurStamp = 0;  // and the picture that slot held then

const int kCopiesPerPass = 16;
const int kTargetSize = 1024;

void DrawQuadCorners(float halfW, float halfH, float s, float t) {
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex3f(-halfW, -halfH, -1);
    glTexCoord2f(s, 0);
    glVertex3f(halfW, -halfH, -1);
    glTexCoord2f(s, t);
    glVertex3f(halfW, halfH, -1);
    glTexCoord2f(0, t);
    glVertex3f(-halfW, halfH, -1);
    glEnd();
}

// 16 copies of the image centred in the target, each turned innerStep further.
void DrawSixteenCopies(const TextureEntry& image, float innerStep) {
    float halfW = (float)(image.width / 2), halfH = (float)(image.height / 2);
    glPushMatrix();
    glNormal3f(0, 0, 1);
    glColor4f(1, 1, 1, 0);
    for (int i = 0; i < kCopiesPerPass; i++) {
        DrawQuadCorners(halfW, halfH, image.sExtent, image.tExtent);
        glRotatef(innerStep, 0, 0, 1);
    }
    glPopMatrix();
}

// Adds the target's picture `passes` times around the arc.
void Composite(const TextureEntry& target, double x, double y, double startAngle, float outerStep, int passes,
               int size, int brightness, int flags, float part) {
    glPushMatrix();
    OGLState::PushBlend(true);
    OGLState::PushBlendFunc(GL_ONE, GL_ONE);
    glTranslatef((float)(x - OGLState::GetViewWidth() / 2), (float)(y - OGLState::GetViewHeight() / 2), 0);
    glRotated(startAngle, 0, 0, 1);
    for (int j = 0; j < passes; j++) {
        DrawBlurQuad(target, size, brightness, flags, part);
        glRotatef(outerStep, 0, 0, 1);
    }
    OGLState::PopBlendFunc();
    OGLState::PopBlend();
    glPopMatrix();
}

// The copies in the target lie within the image's half-diagonal of its centre.
// Only that square (and a margin for the filter) is cleared and added to the
// frame: the rest of the target stays zero and would add nothing.
struct UsedSquare {
    int half;   // half its side, target pixels, from the centre
    float part; // its share of the target's side
};
bool gTargetZeroed = false;    // the whole target was cleared once since it was made
uint32_t gZeroedTexture = 0;   // and the texture it had then

UsedSquare SquareFor(const TextureEntry& image, const RenderTarget& target) {
    double halfW = image.width / 2, halfH = image.height / 2;
    int half = (int)std::ceil(std::sqrt(halfW * halfW + halfH * halfH)) + 2;
    int side = std::min(target.slot.width, target.slot.height);
    if (half > side / 2) half = side / 2;
    return {half, (float)(2.0 * half / side)};
}

// Clears the target within `half` + 2 pixels of its centre; all of it the first time.
void ClearTarget(int half) {
    const RenderTarget& target = GetRenderTarget();
    if (!gTargetZeroed || gZeroedTexture != target.slot.texture) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        gTargetZeroed = true;
        gZeroedTexture = target.slot.texture;
        return;
    }
    GLint box[4];
    glGetIntegerv(GL_SCISSOR_BOX, box);
    GLboolean wasOn = glIsEnabled(GL_SCISSOR_TEST);
    int cx = target.slot.width / 2, cy = target.slot.height / 2, h = half + 2;
    glScissor(cx - h, cy - h, 2 * h, 2 * h);
    glEnable(GL_SCISSOR_TEST);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (!wasOn) glDisable(GL_SCISSOR_TEST);
    glScissor(box[0], box[1], box[2], box[3]);
}

int TruncToInt(double value) {
    long v = TruncToLong(value);
    return v > INT32_MAX ? INT32_MAX : v < INT32_MIN ? INT32_MIN : (int)v;
}

} // namespace

void BlurArc(long arc, long seed, int& degrees, int& passes) {
    uint32_t s1 = ScrambleFirst((int32_t)seed), s2 = ScrambleNext(s1), s3 = ScrambleNext(s2);
    degrees = (int)std::min(arc, 360L) + (int)(s3 % 5);
    passes = (degrees + 15) / 16;
}

const TextureEntry& GetBlurTexture(int half) {
    return gNibbles[half ? 1 : 0];
}

void MakeBlurTexture(const uint32_t* pixels, int width, int height, int half, TextureEntry& record) {
    SDL_Surface* image = SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, 32, 0x00FF0000, 0x0000FF00,
                                              0x000000FF, 0xFF000000);
    if (!image)
        throw BasicException("Couldn't make circular blur textures, make sure image is flagged 1 in list!");
    for (int y = 0; y < height; y++) {
        uint32_t* row = (uint32_t*)((uint8_t*)image->pixels + (size_t)y * image->pitch);
        for (int x = 0; x < width; x++) {
            uint32_t p = pixels[(size_t)y * width + x];
            uint32_t a = p >> 24;
            uint32_t r = ((p >> 16 & 0xFF) * a) >> 8, g = ((p >> 8 & 0xFF) * a) >> 8,
                     b = ((p & 0xFF) * a) >> 8;
            uint32_t word = r << 16 | g << 8 | b;
            row[x] = half ? (word >> 4) & 0x0F0F0F0Fu : word & 0x0F0F0F0Fu;
        }
    }
    UploadTexture(image, record, false); // takes the image and frees it
}

void PrepareBlurTextures(int image) {
    GetSurface(image); // raises when the slot retains no pixels
    // The same index may hold another picture once the table was released and
    // reloaded: the slot's stamp tells, where a reused pointer would not.
    uint32_t stamp = TextureStamp(image);
    if (image == gBlurImage && stamp == gBlurStamp) return;
    std::vector<uint32_t> pixels;
    int width = 0, height = 0;
    ReadRetainedPixels(image, pixels, width, height);
    gBlurImage = -1;
    MakeBlurTexture(pixels.data(), width, height, 0, gNibbles[0]);
    MakeBlurTexture(pixels.data(), width, height, 1, gNibbles[1]);
    gBlurImage = image;
    gBlurStamp = stamp;
}

int DrawBlurQuad(const TextureEntry& slot, int size, int brightness, int flags, float part) {
    OGLState::PushTexture2D(true);
    OGLState::PushTextureUsed(slot.texture);
    if (brightness < 0) brightness = 0;
    if (brightness > 256) brightness = 256;
    float c = (float)brightness / 256.0f;
    float hw = (float)((long long)slot.width * size * 0.0005),
          hh = (float)((long long)slot.height * size * 0.0005);
    float s = slot.sExtent / 2, m = (flags & 1) ? -s : s, t = slot.tExtent / 2;
    // The whole quad when part is 1: the products by 1 are exact.
    float ms = m * part, ts = t * part;
    hw *= part;
    hh *= part;
    glBegin(GL_QUADS);
    glColor4f(c, c, c, c);
    glNormal3f(0, 0, 1);
    glTexCoord2f(s - ms, t + ts);
    glVertex3f(-hw, hh, -1);
    glTexCoord2f(s + ms, t + ts);
    glVertex3f(hw, hh, -1);
    glTexCoord2f(s + ms, t - ts);
    glVertex3f(hw, -hh, -1);
    glTexCoord2f(s - ms, t - ts);
    glVertex3f(-hw, -hh, -1);
    glEnd();
    OGLState::PopTextureUsed();
    OGLState::PopTexture2D();
    return 1;
}

FENK_EXPORT int CircularBlurAbs(long image, double x, double y, double size, long arc, long brightness,
                                long seed, long angle, long flags) {
    if (image < 0 || image >= kTextureSlots) return 1; // outside the table: nothing to draw
    try {
        PrepareBlurTextures((int)image);
    } catch (...) {
        throw BasicException("Couldn't make circular blur textures, make sure image is flagged 1 in list!");
    }
    int intSize = TruncToInt(size);

    if (arc <= 0) {
        OGLState::PushBlend(true);
        OGLState::PushBlendFunc(GL_ONE, GL_ONE);
        glPushMatrix();
        glTranslatef((float)(x - OGLState::GetViewWidth() / 2), (float)(y - OGLState::GetViewHeight() / 2),
                     0);
        int b = (int)std::max(-1LL, std::min(257LL, (long long)brightness * 256 / 1000));
        DrawBlurQuad(gNibbles[0], intSize, b, (int)flags);
        for (int i = 0; i < kCopiesPerPass; i++)
            DrawBlurQuad(gNibbles[1], intSize, b, (int)flags);
        glPopMatrix();
        OGLState::PopBlendFunc();
        OGLState::PopBlend();
        return 1;
    }

    int n = 0, passes = 0;
    BlurArc(arc, seed, n, passes);
    float outerStep = (float)n / (float)passes, innerStep = (float)n / (float)(16 * passes);
    float copy = (float)(brightness * 0.001 * (256.0 / (16 * passes)));

    if (CreateRenderTarget(kTargetSize, kTargetSize)) gTargetZeroed = false;
    if (!GetRenderTarget().exists) return 1; // the driver cannot draw off-screen
    double startAngle = angle * 0.1 - n * 0.5;
    UsedSquare used = SquareFor(gNibbles[0], GetRenderTarget());

    // Low nibbles. The pushes made here on the target's record are closed after
    // the high pass, which draws with the same record.
    BeginRenderToTexture();
    glClearColor(0, 0, 0, 0);
    ClearTarget(used.half);
    OGLState::PushTexture2D(true);
    OGLState::PushTextureUsed(gNibbles[0].texture);
    OGLState::PushBlend(true);
    OGLState::PushBlendFunc(GL_ONE, GL_ONE);
    DrawSixteenCopies(gNibbles[0], innerStep);
    const TextureEntry& target = EndRenderToTexture();
    Composite(target, x, y, startAngle, outerStep, passes, intSize, TruncToInt(copy), (int)flags, used.part);

    // High nibbles.
    BeginRenderToTexture();
    ClearTarget(used.half);
    OGLState::SetTextureUsed(gNibbles[1].texture);
    DrawSixteenCopies(gNibbles[1], innerStep);
    OGLState::PopBlendFunc();
    OGLState::PopBlend();
    OGLState::PopTextureUsed();
    OGLState::PopTexture2D();
    const TextureEntry& targetHigh = EndRenderToTexture();
    Composite(targetHigh, x, y, startAngle, outerStep, passes, intSize, TruncToInt(copy * 16), (int)flags,
              used.part);
    return 1;
}

extern "C" FENK_EXPORT int CircularBlur(int image, int x, int y, int size, int arc, int brightness, int seed,
                                        int angle, int flags) {
    double k = ViewScale();
    CircularBlurAbs(image, x * k * 0.1, y * k * 0.1, size * k, arc, brightness, seed, angle, flags);
    return 1;
}
