// Loading a Font: FreeType opens the face, renders the 256 byte characters into
// a staging buffer laid out as the 16 x 16-cell atlas, and the buffer becomes
// one RGBA texture. The face is closed once the atlas exists.
#include "font.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <cstdlib>
#include <cstring>
#include <memory>

#include "basic_exception.h"
#include "font_internal.h"
#include FT_GLYPH_H
#include "oglstate.h"

namespace {

// Largest atlas we stage in memory: 8192 x 8192 texels are 256 MiB already.
const uint64_t kMaxAtlasSide = 8192;

struct FaceCloser {
    void operator()(FT_FaceRec_* face) const { FT_Done_Face(face); }
};
using FaceHandle = std::unique_ptr<FT_FaceRec_, FaceCloser>;

struct BufferFree {
    void operator()(uint32_t* p) const { std::free(p); }
};
using StagingBuffer = std::unique_ptr<uint32_t[], BufferFree>;

uint64_t AtlasSideFor(int pixelSize) {
    uint64_t need = 16 * (uint64_t)pixelSize, side = 1;
    while (side < need)
        side <<= 1;
    return side;
}

bool AtlasFitsTexture(uint64_t side) {
    if (side > kMaxAtlasSide) return false;
    GLint maxSide = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSide);
    return maxSide <= 0 || side <= (uint64_t)maxSide; // 0: the driver did not say
}

// Coverage of one bitmap texel, 0..255, for the pixel modes FreeType renders to.
unsigned Coverage(const FT_Bitmap& bitmap, const unsigned char* row, unsigned x) {
    if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY) return row[x];
    if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO) return (row[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
    return 0;
}

// Copies the glyph's rows into the cell whose top-left texel is (cellX, cellY).
// It may run into neighbouring cells; texels outside the atlas are dropped.
void CopyGlyph(const FT_Bitmap& bitmap, int width, int height, uint32_t* atlas, uint64_t side, uint64_t cellX,
               uint64_t cellY) {
    if (!bitmap.buffer) return;
    unsigned columns = (unsigned)width < bitmap.width ? (unsigned)width : bitmap.width;
    unsigned rows = (unsigned)height < bitmap.rows ? (unsigned)height : bitmap.rows;
    const unsigned char* top = bitmap.buffer;
    if (bitmap.pitch < 0) top -= (ptrdiff_t)bitmap.pitch * (ptrdiff_t)(bitmap.rows - 1);
    for (unsigned r = 0; r < rows; ++r) {
        uint64_t ty = cellY + r;
        if (ty >= side) break;
        const unsigned char* row = top + (ptrdiff_t)r * bitmap.pitch;
        for (unsigned x = 0; x < columns; ++x) {
            uint64_t tx = cellX + x;
            if (tx >= side) break;
            atlas[ty * side + tx] = (uint32_t)Coverage(bitmap, row, x) << 24 | 0xFFFFFFu;
        }
    }
}

} // namespace

Font::Font(const char* fileName, int pixelSize) : size(pixelSize), atlas(0), side(0) {
    if (!fileName) fileName = "";
    name[0] = 0;
    std::memset(&glyphs, 0, sizeof glyphs);

    // Counted before anything can fail; a failed load gives its count back so
    // that the library is released once no font is left.
    FT_Library library = AcquireFreeTypeLibrary();
    try {
        FT_Face rawFace = nullptr;
        FT_Error error = FT_New_Face(library, fileName, 0, &rawFace);
        if (error == FT_Err_Unknown_File_Format)
            throw BasicException::Format("Font %s is in an unsupported font format!\n", fileName);
        if (error)
            throw BasicException::Format("Error %d during opening of font %s!\n", (int)error, fileName);
        FaceHandle face(rawFace);

        // FreeType would quietly turn a size below 1 into 1; the cells would not match.
        if (pixelSize < 1 || FT_Set_Pixel_Sizes(face.get(), 0, (FT_UInt)pixelSize)) {
            face.reset();
            throw BasicException::Format("Couldn't set size %d for font %s!\n", pixelSize, fileName);
        }

        std::strncpy(name, fileName, kFileNameSize - 1);
        name[kFileNameSize - 1] = 0;

        uint64_t atlasSide = AtlasSideFor(pixelSize);
        StagingBuffer staging;
        if (AtlasFitsTexture(atlasSide))
            staging.reset((uint32_t*)std::calloc(atlasSide * atlasSide, sizeof(uint32_t)));
        if (!staging) {
            face.reset();
            throw BasicException::Format("Not enough memory to load font %s!\n", fileName);
        }
        side = (int)atlasSide;

        OGLState::PushTexture2D(true);
        glGenTextures(1, &atlas);

        for (unsigned c = 0; c < 256; ++c) {
            if (FT_Load_Char(face.get(), c, FT_LOAD_RENDER)) continue;
            FT_Glyph glyph = nullptr;
            if (FT_Get_Glyph(face->glyph, &glyph)) continue;
            if (glyph->format != FT_GLYPH_FORMAT_BITMAP) {
                FT_Done_Glyph(glyph);
                continue;
            }
            FT_BitmapGlyph bitmapGlyph = (FT_BitmapGlyph)glyph;
            FT_BBox box;
            FT_Glyph_Get_CBox(glyph, FT_GLYPH_BBOX_PIXELS, &box);
            glyphs.advance[c] = (int)glyph->advance.x;
            glyphs.bearingX[c] = bitmapGlyph->left;
            glyphs.bearingY[c] = bitmapGlyph->top;
            glyphs.width[c] = (int)(box.xMax - box.xMin);
            glyphs.height[c] = (int)(box.yMax - box.yMin);
            if (glyphs.height[c] > 0 && glyphs.width[c] > 0)
                CopyGlyph(bitmapGlyph->bitmap, glyphs.width[c], glyphs.height[c], staging.get(), atlasSide,
                          (uint64_t)pixelSize * (c % 16), (uint64_t)pixelSize * (c / 16));
            FT_Done_Glyph(glyph);
        }

        // Bound through the state stack so the record keeps matching the context.
        OGLState::PushTextureUsed(atlas);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
        glTexImage2D(GL_TEXTURE_2D, 0, 4, side, side, 0, GL_BGRA, GL_UNSIGNED_BYTE, staging.get());
        OGLState::PopTextureUsed();

        face.reset();
        staging.reset();
        OGLState::PopTexture2D();
    } catch (...) {
        ReleaseFreeTypeLibrary();
        throw;
    }
}

Font::~Font() {
    if (atlas) glDeleteTextures(1, &atlas);
    ReleaseFreeTypeLibrary();
}

GlyphCell Font::cell(unsigned char c) const {
    double s = side > 0 ? side : 1;
    double uLeft = size * (double)(c % 16) / s, vTop = size * (double)(c / 16) / s;
    return {(float)uLeft, (float)vTop, (float)(uLeft + glyphs.width[c] / s),
            (float)(vTop + glyphs.height[c] / s)};
}

int Font::fallbackAdvance() const {
    return size > 1 ? size * 32 : 32;
}
