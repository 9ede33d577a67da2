// RowPainter: spans written into a texel array, laid out over the rows' pixel
// rows, uploaded once per frame and drawn as one quad with nearest sampling
// and an alpha test, so that untouched texels let the cursor line and the
// frame show through. One quad rather than one per row: the rasteriser then
// works on whole tiles instead of the thin edges of twenty strips.
#include "row_painter.h"

#include <GL/gl.h>

#include <algorithm>
#include <numeric>

#include "oglstate.h"
#include "text_batch.h"

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
    whole.assign((size_t)strips, 0);
}

void RowPainter::Fill(int strip, int x, int w, uint32_t colour) {
    if (strip < 0 || strip >= strips) return;
    const int x0 = std::max(0, x), x1 = std::min(width, x + w);
    if (x0 >= x1) return;
    uint32_t* row = &texels[(size_t)strip * width];
    std::fill(row + x0, row + x1, Texel(colour));
    if (x0 == 0 && x1 == width) whole[strip] = 1;
}

void RowPainter::Draw(int left, const std::vector<int>& tops, const uint32_t* gapColour) {
    const int shown = std::min(strips, (int)tops.size());
    if (width == 0 || shown == 0) return;
    // The texture's lines are `step` pixel rows each, the largest step that
    // puts every row's top and bottom on a line's edge.
    const int top = *std::min_element(tops.begin(), tops.begin() + shown);
    const int bottom = *std::max_element(tops.begin(), tops.begin() + shown) + kRowHeight;
    int step = kRowHeight;
    for (int i = 0; i < shown; i++)
        step = std::gcd(step, tops[i] - top);
    const int height = (bottom - top) / step;
    frame.assign((size_t)width * height, 0);
    written.assign((size_t)height, 0);
    for (int i = 0; i < shown; i++) {
        const uint32_t* line = &texels[(size_t)i * width];
        for (int k = (tops[i] - top) / step, n = 0; n < kRowHeight / step; n++) {
            uint32_t* to = &frame[(size_t)(k + n) * width];
            if (!written[k + n]) {
                std::copy(line, line + width, to);
                written[k + n] = 1;
            } else { // strips overlap: where this one is unpainted the earlier one shows
                for (int x = 0; x < width; x++)
                    if (line[x]) to[x] = line[x];
            }
        }
    }

    // Lines no strip reached are the gaps between the rows.
    if (gapColour)
        for (int line = 0; line < height; line++)
            if (!written[line]) std::fill_n(&frame[(size_t)line * width], width, Texel(*gapColour));
    // Every texel painted: drawn as it is, without the alpha test.
    const bool opaque = gapColour && std::all_of(whole.begin(), whole.begin() + shown, [](char c) { return c; });

    TextBatch::Before(left, top, left + width, bottom);
    // A texture of its own each frame: a name kept across frames could outlive
    // its GL context and, reused there, belong to someone else's texture.
    unsigned texture = 0;
    glGenTextures(1, &texture);
    OGLState::PushTexture2D(true);
    OGLState::PushTextureUsed(texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, frame.data());
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
    if (opaque) {
        glDisable(GL_ALPHA_TEST);
    } else {
        glEnable(GL_ALPHA_TEST);
        glAlphaFunc(GL_GREATER, 0.5f);
    }

    const float x0 = (float)left, x1 = (float)(left + width);
    const float y0 = (float)top, y1 = (float)bottom;
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2f(x0, y0);
    glTexCoord2f(1, 0);
    glVertex2f(x1, y0);
    glTexCoord2f(1, 1);
    glVertex2f(x1, y1);
    glTexCoord2f(0, 1);
    glVertex2f(x0, y1);
    glEnd();

    glAlphaFunc((GLenum)alphaFunc, alphaRef);
    alphaTest ? glEnable(GL_ALPHA_TEST) : glDisable(GL_ALPHA_TEST);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, envMode);
    OGLState::PopTextureUsed();
    OGLState::PopTexture2D();
    glDeleteTextures(1, &texture);
}
