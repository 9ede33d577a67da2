// Wave: an image drawn as a grid of small quads whose corners follow two sine
// waves, sideways from row to row and up and down from column to column, added
// to the frame. The grid is bounded so that any typed value draws in time.
#include <GL/glew.h>

#include <cmath>
#include <vector>

#include "effects_more.h"
#include "oglstate.h"

namespace {
const double kTurn = 6.283185308;
const double kThousandthTurn = 0.006283185308;
const double kRowsPerPeriod = 15;
// The grid is bounded by its number of quads, whatever its shape: 960 x 960
// (64 x 64 periods) is already more than any screen shows and keeps a frame
// short, while 200 periods one way and none the other still draw as written.
const double kMaxQuads = 960.0 * 960.0;

// Lines of the grid along one direction: 15 per period, 1 without waves,
// negative (nothing drawn) for negative counts.
double GridLines(double periods) {
    return periods != 0 ? periods * kRowsPerPeriod : 1;
}

// Periods that give at most `lines` grid lines.
double PeriodsWithin(double lines) {
    return std::floor(lines / kRowsPerPeriod);
}

// Lowers the periods of the longer side (both, when both are long) until the
// grid has at most kMaxQuads quads.
void CapGrid(double& hWaves, double& vWaves) {
    double rows = GridLines(hWaves), cols = GridLines(vWaves);
    if (!(rows > 0 && cols > 0) || rows * cols <= kMaxQuads) return;
    const double side = std::sqrt(kMaxQuads);
    if (rows > side && cols > side) {
        hWaves = vWaves = PeriodsWithin(side);
    } else if (rows > cols) {
        hWaves = PeriodsWithin(kMaxQuads / cols);
    } else {
        vWaves = PeriodsWithin(kMaxQuads / rows);
    }
}

// Displacement of grid lines 0 .. lines: amplitude * sin(phase + i * periods * turn / lines).
std::vector<float> Displacements(double lines, double periods, double amplitude, double phase) {
    std::vector<float> d;
    if (!(lines > 0)) return d;
    int count = (int)std::ceil(lines) + 1;
    d.resize((size_t)count + 1);
    for (int i = 0; i <= count; i++)
        d[i] = (float)(amplitude * std::sin(phase * kThousandthTurn + i * periods * kTurn / lines));
    return d;
}
} // namespace

FENK_EXPORT int WaveAbs(long image, double x, double y, double size, double opacity, double hWaves,
                        double vWaves, double vAmplitude, double hAmplitude, double vPhase, double hPhase) {
    if (image < 0 || image >= kTextureSlots) return 1;
    const TextureEntry& slot = GetTexture((int)image);
    if (!slot.texture) return 1;
    OGLState::PushBlend(true);
    OGLState::PushBlendFunc(GL_SRC_ALPHA, GL_ONE);
    OGLState::PushTexture2D(true);
    OGLState::PushTextureUsed(slot.texture);
    glBindTexture(GL_TEXTURE_2D, slot.texture);

    CapGrid(hWaves, vWaves);
    double rows = GridLines(hWaves), cols = GridLines(vWaves);
    if (opacity < 0) opacity = 0;
    if (opacity > 256) opacity = 256;
    glPushMatrix();
    glNormal3f(0, 0, 1);
    glColor4f(1, 1, 1, (float)(opacity / 256));

    float hw = (float)(slot.width * size * 0.0005), hh = (float)(slot.height * size * 0.0005);
    double left = (x - OGLState::GetViewWidth() / 2) - hw, top = (y - OGLState::GetViewHeight() / 2) - hh;
    double stepX = 2 * hw / cols, stepY = 2 * hh / rows;
    double stepS = slot.sExtent / cols, stepT = slot.tExtent / rows;
    std::vector<float> dx = Displacements(rows, hWaves, hAmplitude, hPhase);
    std::vector<float> dy = Displacements(cols, vWaves, vAmplitude, vPhase);

    for (int r = 0; r < rows; r++) {
        for (int c = 0; c < cols; c++) {
            glBegin(GL_QUADS);
            glTexCoord2d(c * stepS, r * stepT);
            glVertex3d(left + c * stepX + dx[r], top + r * stepY + dy[c], -1);
            glTexCoord2d((c + 1) * stepS, r * stepT);
            glVertex3d(left + (c + 1) * stepX + dx[r], top + r * stepY + dy[c + 1], -1);
            glTexCoord2d((c + 1) * stepS, (r + 1) * stepT);
            glVertex3d(left + (c + 1) * stepX + dx[r + 1], top + (r + 1) * stepY + dy[c + 1], -1);
            glTexCoord2d(c * stepS, (r + 1) * stepT);
            glVertex3d(left + c * stepX + dx[r + 1], top + (r + 1) * stepY + dy[c], -1);
            glEnd();
        }
    }

    glPopMatrix();
    OGLState::PopTextureUsed();
    OGLState::PopTexture2D();
    OGLState::PopBlendFunc();
    OGLState::PopBlend();
    return 1;
}

extern "C" FENK_EXPORT int Wave(int image, int x, int y, int size, int opacity, int hWaves, int vWaves,
                                int vAmplitude, int hAmplitude, int vPhase, int hPhase) {
    double k = ViewScale();
    return WaveAbs(image, x * k * 0.1, y * k * 0.1, size * k, opacity, hWaves, vWaves, vAmplitude * k,
                   hAmplitude * k, vPhase, hPhase);
}
