// RowPainter: spans written into a texel array, uploaded once per frame and
// drawn with nearest sampling and an alpha test, so that untouched texels let
// the cursor line and the frame show through.
#include "row_painter.h"

#include <GL/gl.h>

#include <algorithm>
#include <numeric>

#include "oglstate.h"

namespace {

// 0xAARRGGBB as texel bytes R, G, B, A (little-endian word); alpha 255 marks
// a painted texel whatever the colour's own alpha (the interface draws
// unblended, so only the colour reaches the screen).
uint32_t Texel(uint32_t argb) {
    return 0xFF000000u | (argb & 0xFF) << 16 | (argb & 0xFF00) | (argb >> 16 & 0xFF);
}

} // namespace

void RowPainter::Begin(int width_, int strips_) {
    width = std::max(0, width_);
    strips = std::max(0, strips_);
    texels.assign((size_t)width * strips, 0);
}

void RowPainter::Fill(int strip, int x, int w, uint32_t colour) {
    if (strip < 0 || strip >= strips) return;
    const int x0 = std::max(0, x), x1 = std::min(width, x + w);
    if (x0 >= x1) return;
    uint32_t* row = &texels[(size_t)strip * width];
    std::fill(row + x0, row + x1, Texel(colour));
}

// Rows an even pitch apart go out as one quad over all of them: a software
// rasteriser spends far more on twenty thin quads, each cutting through its
// tiles, than on one tall one. The texture then holds every pixel row of the
// quad in lines of g pixel rows each (g divides both the row height and the
// pitch), the lines of the gaps between rows transparent.
int RowPainter::EvenPitch(const std::vector<int>& tops) const {
    const int n = std::min(strips, (int)tops.size());
    if (n < 2) return 0;
    const int pitch = tops[1] - tops[0];
    if (pitch < kRowHeight) return 0;
    for (int i = 2; i < n; i++)
        if (tops[i] - tops[i - 1] != pitch) return 0;
    return pitch;
}

void RowPainter::Draw(int left, const std::vector<int>& tops) {
    if (width == 0 || strips == 0) return;
    const int shown = std::min(strips, (int)tops.size());
    if (shown == 0) return;
    const int pitch = EvenPitch(tops);
    // Texel lines per pixel row band: g pixel rows each, `perStrip` to a row
    // and its gap, of which `painted` carry the row.
    const int g = pitch ? std::gcd(kRowHeight, pitch) : 1;
    const int perStrip = pitch ? pitch / g : 1, painted = pitch ? kRowHeight / g : 1;
    const int height = pitch ? shown * perStrip : strips;
    const uint32_t* pixels = texels.data();
    if (pitch) {
        lines.assign((size_t)width * height, 0);
        for (int i = 0; i < shown; i++)
            for (int k = 0; k < painted; k++)
                std::copy_n(&texels[(size_t)i * width], width, &lines[((size_t)i * perStrip + k) * width]);
        pixels = lines.data();
    }
    // A texture of its own each frame: a name kept across frames could outlive
    // its GL context and, reused there, belong to someone else's texture.
    unsigned texture = 0;
    glGenTextures(1, &texture);
    OGLState::PushTexture2D(true);
    OGLState::PushTextureUsed(texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);

    GLint envMode = GL_MODULATE;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &envMode);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    const GLboolean alphaTest = glIsEnabled(GL_ALPHA_TEST);
    GLint alphaFunc = GL_ALWAYS;
    GLfloat alphaRef = 0;
    glGetIntegerv(GL_ALPHA_TEST_FUNC, &alphaFunc);
    glGetFloatv(GL_ALPHA_TEST_REF, &alphaRef);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.5f);

    const float x0 = (float)left, x1 = (float)(left + width);
    auto quad = [&](float y0, float y1, float v0, float v1) {
        glTexCoord2f(0, v0);
        glVertex2f(x0, y0);
        glTexCoord2f(1, v0);
        glVertex2f(x1, y0);
        glTexCoord2f(1, v1);
        glVertex2f(x1, y1);
        glTexCoord2f(0, v1);
        glVertex2f(x0, y1);
    };
    glBegin(GL_QUADS);
    if (pitch) {
        // Pixel row p of the quad samples line p / g: its centre (p + 0.5) / g
        // never falls on a line's edge.
        const int rows = (shown - 1) * pitch + kRowHeight;
        quad((float)tops[0], (float)(tops[0] + rows), 0, (float)rows / (float)(shown * pitch));
    } else {
        for (int i = 0; i < shown; i++)
            quad((float)tops[i], (float)(tops[i] + kRowHeight), (float)i / height, (float)(i + 1) / height);
    }
    glEnd();

    glAlphaFunc((GLenum)alphaFunc, alphaRef);
    if (!alphaTest) glDisable(GL_ALPHA_TEST);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, envMode);
    OGLState::PopTextureUsed();
    OGLState::PopTexture2D();
    glDeleteTextures(1, &texture);
}
