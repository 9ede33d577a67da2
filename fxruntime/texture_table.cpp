// The 512-slot texture table: every picture an effect draws, found by the slot
// index that demos pass as image numbers. Slots are handed out in order and
// only given back all at once by ReleaseTextures.
#include <cstring>
#include <string>

#include <GL/glew.h>
#include <SDL/SDL.h>

#include "fxruntime_internal.h"

namespace {
TextureTable gTable; // zero at load: every texture name 0
const TextureEntry kEmptySlot = {};
// A number per slot that changes whenever the slot gets another picture, so a
// cache keyed on a slot notices it even when memory or GL names are reused.
uint32_t gStamps[kTextureSlots];
uint32_t gLastStamp = 0;

void Stamp(int index) {
    gStamps[index] = ++gLastStamp;
}

bool InTable(int index) {
    return index >= 0 && index < kTextureSlots;
}

void SetName(TextureEntry& slot, const char* name) {
    strncpy(slot.name, name, kNameSize - 1);
    slot.name[kNameSize - 1] = 0;
}

void FreeRetained(TextureEntry& slot) {
    if (slot.surface) SDL_FreeSurface(slot.surface);
    slot.surface = nullptr;
}

// A 32-bit image holding a copy of width x height words, in the table's format.
SDL_Surface* SurfaceFromPixels(const uint32_t* pixels, int width, int height, const char* caller) {
    if (width <= 0 || height <= 0 || !pixels)
        throw BasicException::Format("%s: no pixels for a %d x %d texture", caller, width, height);
    SDL_Surface* image = SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, 32, 0x00FF0000, 0x0000FF00,
                                              0x000000FF, 0xFF000000);
    if (!image) throw BasicException::Format("%s: no memory for a %d x %d texture", caller, width, height);
    for (int y = 0; y < height; y++)
        memcpy((uint8_t*)image->pixels + (size_t)y * image->pitch, pixels + (size_t)y * width,
               (size_t)width * 4);
    return image;
}
} // namespace

int FindTexture(const char* path) {
    for (int i = 0; i < gTable.count; i++)
        if (strcmp(gTable.slots[i].name, path) == 0) return i;
    return -1;
}

int CreateTextureFromFile(const char* path, bool complex) {
    if (gTable.count >= kTextureSlots)
        throw BasicException("CreateTextureFromFile: More than 512 Textures used -> Ask Orvik to recompile!");
    if (strlen(path) > (size_t)kMaxPathLength)
        throw BasicException::Format("CreateTextureFromFile: the path is longer than %d characters: %.60s...",
                                     kMaxPathLength, path);
    int found = FindTexture(path);
    if (found >= 0) {
        TextureEntry& slot = gTable.slots[found];
        if (complex && !slot.surface) {
            slot.surface = LoadImageFile(path);
            Stamp(found);
        }
        return found;
    }
    int index = gTable.count;
    TextureEntry& slot = gTable.slots[index];
    SetName(slot, path);
    UploadTexture(LoadImageFile(path), slot, complex);
    Stamp(index);
    gTable.count++;
    return index;
}

int CreateTextureFromMem(const uint32_t* pixels, int width, int height, bool complex) {
    if (gTable.count >= kTextureSlots)
        throw BasicException("CreateTextureFromMem: More than 512 Textures used -> Ask Orvik to recompile!");
    SDL_Surface* image = SurfaceFromPixels(pixels, width, height, "CreateTextureFromMem");
    int index = gTable.count;
    TextureEntry& slot = gTable.slots[index];
    SetName(slot, "FromMemory");
    UploadTexture(image, slot, complex);
    Stamp(index);
    gTable.count++;
    return index;
}

int ReplaceTextureFromMem(int index, const uint32_t* pixels, int width, int height, bool complex) {
    if (index < 0 || index >= gTable.count)
        throw BasicException("ReplaceTextureFromMem: This texture does not exist");
    SDL_Surface* image = SurfaceFromPixels(pixels, width, height, "ReplaceTextureFromMem");
    TextureEntry& slot = gTable.slots[index];
    if (slot.texture) glDeleteTextures(1, &slot.texture);
    slot.texture = 0;
    FreeRetained(slot);
    SetName(slot, "FromMemory");
    UploadTexture(image, slot, complex);
    Stamp(index);
    return index;
}

const TextureEntry& GetTexture(int index) {
    return InTable(index) ? gTable.slots[index] : kEmptySlot;
}

SDL_Surface* GetSurface(int index) {
    if (!InTable(index) || !gTable.slots[index].surface)
        throw BasicException("Missing SDL_Surface: Check the imagelist and mark it as complex!");
    return gTable.slots[index].surface;
}

void ReleaseTextures() {
    for (int i = 0; i < gTable.count; i++) {
        TextureEntry& slot = gTable.slots[i];
        if (slot.texture) glDeleteTextures(1, &slot.texture);
        FreeRetained(slot);
        // The whole slot is cleared, so a stale image number draws nothing
        // rather than an untextured quad of the old size.
        slot = TextureEntry();
        gStamps[i] = 0;
    }
    gTable.count = 0;
}

uint32_t TextureStamp(int index) {
    return InTable(index) ? gStamps[index] : 0;
}

int TextureCount() {
    return gTable.count;
}
