// DisplayText: one text of the text list in one of its fonts, scaled, rotated
// about its starting point and coloured, inside a demo's view.
#include <GL/glew.h>

#include "effects.h"
#include "font.h"
#include "oglstate.h"

namespace {
bool IsBlank(unsigned char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

void DrawGlyph(const Font& font, unsigned char c, double pen, double s, const GLubyte* rgba) {
    const GlyphMetrics& m = font.metrics();
    GlyphCell t = font.cell(c);
    glPushMatrix();
    glTranslated(s * (pen + m.bearingX[c]), s * (2.0 * font.pixelSize() / 3.0 - m.bearingY[c]), 0);
    float w = (float)(s * m.width[c]), h = (float)(s * m.height[c]);
    glBegin(GL_QUADS);
    glNormal3f(0, 0, 1);
    glColor4ub(rgba[0], rgba[1], rgba[2], rgba[3]);
    glTexCoord2f(t.uLeft, t.vBottom);
    glVertex3f(0, h, -1);
    glTexCoord2f(t.uRight, t.vBottom);
    glVertex3f(w, h, -1);
    glTexCoord2f(t.uRight, t.vTop);
    glVertex3f(w, 0, -1);
    glTexCoord2f(t.uLeft, t.vTop);
    glVertex3f(0, 0, -1);
    glEnd();
    glPopMatrix();
}
} // namespace

FENK_EXPORT int DisplayTextAbs(double x, double y, double angle, double size, long opacity, long text,
                               long font, long red, long green, long blue) {
    if (opacity < 0) opacity = 0;
    if (opacity > 255) opacity = 255;
    const char* chars = GetText(text);
    const Font* face = GetTextFont(font);
    if (!chars || !face) return 1;

    glPushMatrix();
    glTranslated(x - OGLState::GetViewWidth() * 0.5, y - OGLState::GetViewHeight() * 0.5, 0);
    glRotatef((float)angle, 0, 0, 1);
    OGLState::PushTexture2D(true);
    OGLState::PushTextureUsed(face->texture());
    OGLState::PushBlend(true);
    OGLState::PushBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);

    const GLubyte rgba[4] = {(GLubyte)red, (GLubyte)green, (GLubyte)blue, (GLubyte)opacity};
    double s = size * 0.001;
    double pen = 0.0; // in the font's own pixels
    for (const unsigned char* c = (const unsigned char*)chars; *c; c++) {
        if (!IsBlank(*c)) DrawGlyph(*face, *c, pen, s, rgba);
        pen += face->metrics().advance[*c] / 65536.0;
    }

    OGLState::PopBlendFunc();
    OGLState::PopBlend();
    OGLState::PopTexture2D();
    OGLState::PopTextureUsed();
    glPopMatrix();
    return 1;
}

extern "C" FENK_EXPORT int DisplayText(int x, int y, int angle, int size, int opacity, int text, int font,
                                       int red, int green, int blue) {
    double k = ViewScale();
    return DisplayTextAbs(x * k * 0.1, y * k * 0.1, angle * 0.1, size * k, opacity, text, font, red, green,
                          blue);
}
