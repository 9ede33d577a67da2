// Decoding image files into the table's 32-bit format (with the optional alpha
// companion file) and uploading them as power-of-two OpenGL textures.
#include <cstring>
#include <string>
#include <vector>

#include <GL/glew.h>
#include <SDL/SDL.h>
#include <SDL/SDL_image.h>

#include "fxruntime_internal.h"
#include "oglstate.h"

namespace {
// Words hold blue, green, red, alpha from the lowest byte up.
SDL_PixelFormat TableFormat() {
    SDL_PixelFormat f;
    memset(&f, 0, sizeof f);
    f.BitsPerPixel = 32;
    f.BytesPerPixel = 4;
    f.Rshift = 16;
    f.Gshift = 8;
    f.Bshift = 0;
    f.Ashift = 24;
    f.Rmask = 0x00FF0000;
    f.Gmask = 0x0000FF00;
    f.Bmask = 0x000000FF;
    f.Amask = 0xFF000000;
    f.alpha = 255;
    return f;
}

SDL_Surface* ConvertToTable(SDL_Surface* decoded) {
    SDL_PixelFormat format = TableFormat();
    return SDL_ConvertSurface(decoded, &format, 0);
}

uint32_t* Row(SDL_Surface* s, int y) {
    return (uint32_t*)((uint8_t*)s->pixels + (size_t)y * s->pitch);
}

// data/logo.png -> data/logoa.png; empty when the path has no dot.
std::string CompanionName(const char* path) {
    std::string name = path;
    size_t dot = name.find('.');
    if (dot == std::string::npos) return std::string();
    name.insert(dot, 1, 'a');
    return name;
}

int PowerOfTwoAtLeast(int size) {
    int padded = 1;
    while (padded < size && padded < (1 << 30))
        padded *= 2;
    return padded;
}
} // namespace

SDL_Surface* LoadImageFile(const char* path) {
    SDL_Surface* decoded = IMG_Load(path);
    if (!decoded) throw BasicException::Format("IMG_Load couldn't load the file %s", path);
    SDL_Surface* image = ConvertToTable(decoded);
    SDL_FreeSurface(decoded);
    if (!image) throw BasicException::Format("IMG_Load couldn't load the file %s", path);

    std::string companionName = CompanionName(path);
    SDL_Surface* companion = companionName.empty() ? nullptr : IMG_Load(companionName.c_str());
    if (!companion) return image;
    if (companion->w == image->w && companion->h == image->h) {
        SDL_Surface* grey = ConvertToTable(companion);
        if (grey) {
            for (int y = 0; y < image->h; y++) {
                uint32_t* dst = Row(image, y);
                const uint32_t* src = Row(grey, y);
                for (int x = 0; x < image->w; x++)
                    dst[x] = (dst[x] & 0x00FFFFFF) | (src[x] & 0xFF) << 24;
            }
            SDL_FreeSurface(grey);
        }
    }
    SDL_FreeSurface(companion);
    return image;
}

int UploadTexture(SDL_Surface* image, TextureEntry& slot, bool complex) {
    if (slot.texture) glDeleteTextures(1, &slot.texture);
    slot.texture = 0;
    glGenTextures(1, &slot.texture);

    int paddedWidth = PowerOfTwoAtLeast(image->w);
    int paddedHeight = PowerOfTwoAtLeast(image->h);
    slot.sExtent = (float)image->w / (float)paddedWidth;
    slot.tExtent = (float)image->h / (float)paddedHeight;
    slot.width = image->w;
    slot.height = image->h;

    // Padding is transparent black, so the texture's edges sample nothing.
    std::vector<uint32_t> padded((size_t)paddedWidth * paddedHeight, 0);
    for (int y = 0; y < image->h; y++)
        memcpy(&padded[(size_t)y * paddedWidth], Row(image, y), (size_t)image->w * 4);

    OGLState::PushTextureUsed(slot.texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glTexImage2D(GL_TEXTURE_2D, 0, 4, paddedWidth, paddedHeight, 0, GL_BGRA, GL_UNSIGNED_BYTE, padded.data());
    OGLState::PopTextureUsed();

    if (complex) {
        if (slot.surface && slot.surface != image) SDL_FreeSurface(slot.surface);
        slot.surface = image;
    } else {
        SDL_FreeSurface(image);
        if (slot.surface) SDL_FreeSurface(slot.surface);
        slot.surface = nullptr;
    }
    return 1;
}
