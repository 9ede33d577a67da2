// Rasterize: a complex image drawn as a soft shadow mask and a picture of pen
// strokes over a glow, both computed on the CPU (pixel_ops) and kept in two
// slots of the texture table that are reused for every recomputation.
#include <GL/glew.h>
#include <SDL/SDL.h>

#include <cstring>
#include <vector>

#include "effects_more.h"
#include "oglstate.h"
#include "pixel_ops.h"

namespace {

const char kMemoryName[] = "FromMemory";

struct RasterizeState {
    int maskSlot = -1, strokesSlot = -1;          // table slots, -1 for none
    uint32_t maskTexture = 0, strokesTexture = 0; // their GL names, to notice a released table
    bool haveShape = false;
    ShapeParams params{};
    int image = -1;
    const SDL_Surface* surface = nullptr; // the retained image the shape was made from
    int width = 0, height = 0;
    std::vector<uint32_t> mask, glow;
    long long counter = 0; // calls since the strokes were drawn, for their period
};
RasterizeState gState;

// Whether `slot` still holds the texture this effect put there: after the table
// is released (Vorlen_Quit) the index may belong to another image.
bool StillOurs(int slot, uint32_t texture) {
    if (slot < 0 || slot >= TextureCount()) return false;
    const TextureEntry& entry = GetTexture(slot);
    return entry.texture == texture && strcmp(entry.name, kMemoryName) == 0;
}

// Puts pixels into `slot`, taking a new table slot only the first time.
void StoreTexture(int& slot, uint32_t& texture, const std::vector<uint32_t>& pixels, int width, int height) {
    if (slot >= 0)
        ReplaceTextureFromMem(slot, pixels.data(), width, height, false);
    else
        slot = CreateTextureFromMem(pixels.data(), width, height, false);
    texture = GetTexture(slot).texture;
}

void RedrawStrokes(const std::vector<uint32_t>& source) {
    std::vector<uint32_t> out(source.size());
    DrawStrokes(out.data(), gState.width, gState.height, source.data(), gState.glow.data());
    StoreTexture(gState.strokesSlot, gState.strokesTexture, out, gState.width, gState.height);
}

} // namespace

void ReadRetainedPixels(int image, std::vector<uint32_t>& pixels, int& width, int& height) {
    SDL_Surface* surface = GetSurface(image);
    if (!surface || surface->format->BytesPerPixel != 4 || surface->w <= 0 || surface->h <= 0)
        throw BasicException("Missing SDL_Surface: Check the imagelist and mark it as complex!");
    width = surface->w;
    height = surface->h;
    pixels.resize((size_t)width * height);
    for (int y = 0; y < height; y++)
        memcpy(&pixels[(size_t)y * width], (const uint8_t*)surface->pixels + (size_t)y * surface->pitch,
               (size_t)width * 4);
}

extern "C" FENK_EXPORT int Rasterize(int image, int x, int y, int size, int opacity, int threshold,
                                     int maskBlur, int maskCentre, int maskGain, int glowBlur, int extra1,
                                     int extra2, int strokePeriod, int mode) {
    // A number outside the table draws nothing; an empty slot inside it has no
    // pixels, which GetSurface reports.
    if (image < 0 || image >= kTextureSlots) return 1;
    if (!StillOurs(gState.maskSlot, gState.maskTexture)) {
        gState.maskSlot = -1;
        gState.haveShape = false;
    }
    if (!StillOurs(gState.strokesSlot, gState.strokesTexture)) gState.strokesSlot = -1;

    ShapeParams params{threshold, maskBlur, maskCentre, maskGain, glowBlur, extra1, extra2};
    const SDL_Surface* surface = GetSurface(image);
    bool sameImage = gState.image == image && gState.surface == surface && gState.width == surface->w &&
                     gState.height == surface->h;
    std::vector<uint32_t> source;
    if (!gState.haveShape || !sameImage || gState.params != params) {
        ReadRetainedPixels(image, source, gState.width, gState.height);
        ComputeShape(source.data(), gState.width, gState.height, params, gState.mask, gState.glow);
        gState.params = params;
        gState.image = image;
        gState.surface = surface;
        gState.haveShape = true;
        StoreTexture(gState.maskSlot, gState.maskTexture, gState.mask, gState.width, gState.height);
    }

    // Strokes of another image would not fit the new one: redraw them at once.
    bool redraw = gState.strokesSlot < 0 || !sameImage;
    if (!redraw) {
        gState.counter++;
        if (strokePeriod != 0) gState.counter %= strokePeriod;
        redraw = gState.counter == 0;
    } else {
        gState.counter = 0;
    }
    if (redraw) {
        if (source.empty()) ReadRetainedPixels(image, source, gState.width, gState.height);
        RedrawStrokes(source);
    }

    if (mode >= 1) {
        if (mode >= 2) OGLState::PushColorMask(true, false, false, false);
        Image(gState.maskSlot, x, y, size, opacity);
        if (mode >= 2) OGLState::PopColorMask();
    }
    if (mode >= 3) {
        if (mode >= 4) {
            OGLState::PushBlend(true);
            OGLState::PushBlendFunc(GL_DST_ALPHA, GL_SRC_ALPHA);
        }
        double k = ViewScale();
        DrawTextureAt(GetTexture(gState.strokesSlot), x * k * 0.1, y * k * 0.1, size * k, opacity);
        if (mode >= 4) {
            OGLState::PopBlendFunc();
            OGLState::PopBlend();
        }
    }
    return 1;
}
