// Runtime of the effects library Fenk: the texture table, the animation table,
// the bitmap font and the text list that effects draw with. All state lives in
// process-wide tables filled by Vorlen_Init; there are no instance objects.
#pragma once

#include <cstdint>

#include "basic_exception.h"

struct SDL_Surface;
class Font;

// Marks the few symbols the plug-in exports; everything else is hidden.
#define FENK_EXPORT __attribute__((visibility("default")))

// ---------------------------------------------------------------------------
// Texture table
// ---------------------------------------------------------------------------

const int kTextureSlots = 512;
const int kNameSize = 256; // name fields hold at most 255 characters
const int kMaxPathLength = kNameSize - 1;

struct TextureEntry {
    uint32_t texture; // GL name; 0 in a slot never used
    int32_t width;    // source image, pixels
    int32_t height;
    float sExtent; // width / padded width
    float tExtent; // height / padded height
    char name[kNameSize];
    SDL_Surface* surface; // retained 32-bit image of a complex slot, owned
};

struct TextureTable {
    TextureEntry slots[kTextureSlots];
    int count;
};

// Slot index of `path`, loading it on first use; raises BasicException.
int CreateTextureFromFile(const char* path, bool complex);
// Slot of `path` among the slots in use, or -1.
int FindTexture(const char* path);
int CreateTextureFromMem(const uint32_t* pixels, int width, int height, bool complex);
int ReplaceTextureFromMem(int index, const uint32_t* pixels, int width, int height, bool complex);
// The slot; an index outside the table gives an empty slot (texture 0, size 0).
const TextureEntry& GetTexture(int index);
// The retained image of a complex slot; raises when there is none.
SDL_Surface* GetSurface(int index);
// Decoded 32-bit image with its alpha companion applied; raises on failure.
SDL_Surface* LoadImageFile(const char* path);
// Uploads `image` into `slot` padded to powers of two; takes ownership of image.
int UploadTexture(SDL_Surface* image, TextureEntry& slot, bool complex);
void ReleaseTextures();
int TextureCount();
// Changes whenever the slot gets another picture or retained image; 0 for an
// empty slot or an index outside the table. For caches keyed on a slot.
uint32_t TextureStamp(int index);

// ---------------------------------------------------------------------------
// Animation table
// ---------------------------------------------------------------------------

const int kMaxAnimations = 256;
const int kMaxFrames = 256;

struct AnimFrame {
    char name[kNameSize]; // image file path
    long duration;        // ms
};

struct Animation {
    int frameCount;
    AnimFrame* frames[kMaxFrames];
};

struct AnimationTable {
    Animation animations[kMaxAnimations];
    int count;
};

void LoadAnimList();
// The animation, or null when the index is not below the count.
const Animation* GetAnimation(int index);
void ReleaseAnimations();

// ---------------------------------------------------------------------------
// Bitmap font
// ---------------------------------------------------------------------------

void BuildBigFont();
void DeleteBigFont();
// Draws text with 16 x 16 cells from data/font.bmp, 13 pixels apart, top-left
// corner at (x, y) in view pixels; set 0 or 1.
void DrawBigText(int x, int y, const char* text, int set);
// Width in pixels of text drawn with the glyph images of BigFont.txt.
float MeasureBigText(const char* text, int size);
// Draws one glyph image upwards and rightwards from the origin; returns its width.
float PrintChar(char character, int size, int brightness);
// Texture slot of the glyph image for `character`, or -1.
int BigFontGlyphSlot(unsigned char character);
// Texture slot of data/font.bmp, 0 before the first BuildBigFont.
int BigFontSlot();

// ---------------------------------------------------------------------------
// Text list
// ---------------------------------------------------------------------------

const int kTextFontPixelSize = 31;
const int kMaxTextLength = 1023;

void LoadTextList();
void ReleaseTextList();
// Entries by index, or null when the index is negative or not below the count.
Font* GetTextFont(long index);
const char* GetText(long index);
int TextFontCount();
int TextCount();

// Also part of this folder's interface: the off-screen render target.
#include "render_target.h"
