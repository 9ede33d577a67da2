// Reading and writing PNG files with libpng: 8-bit RGBA files for tests and
// tools, and the renderer's frames, encoded in memory as opaque RGB at a chosen
// zlib level.
#include "standalone.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <png.h>

namespace {
void AppendToVector(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}
void FlushNothing(png_structp) {}
} // namespace

bool EncodePng(const uint8_t* rgba, int width, int height, int level, std::vector<uint8_t>& out) {
    out.clear();
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &out, AppendToVector, FlushNothing);
    png_set_compression_level(png, level < 0 ? 0 : level > 9 ? 9 : level);
    // Trying every row filter costs more than the low levels gain by it; the
    // difference to the left row suits the smooth gradients demos draw.
    png_set_filter(png, PNG_FILTER_TYPE_BASE,
                   level == 0  ? PNG_FILTER_NONE
                   : level < 4 ? PNG_FILTER_SUB
                               : PNG_ALL_FILTERS);
    png_set_IHDR(png, info, (png_uint_32)width, (png_uint_32)height, 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_set_filler(png, 0, PNG_FILLER_AFTER); // the fourth byte of each pixel is left out
    for (int y = 0; y < height; y++)
        png_write_row(png, (png_const_bytep)(rgba + (size_t)y * width * 4));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

bool WritePng(const char* path, const uint8_t* rgba, int width, int height) {
    FILE* f = fopen(path, "wb");
    if (!f) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        fclose(f);
        remove(path);
        return false;
    }
    png_init_io(png, f);
    png_set_IHDR(png, info, (png_uint_32)width, (png_uint_32)height, 8, PNG_COLOR_TYPE_RGB_ALPHA,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; y++)
        png_write_row(png, (png_const_bytep)(rgba + (size_t)y * width * 4));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return fclose(f) == 0;
}

bool ReadPng(const char* path, std::vector<uint8_t>& rgba, int& width, int& height) {
    png_image image;
    memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path)) return false;
    image.format = PNG_FORMAT_RGBA;
    if (image.width > 16384 || image.height > 16384) {
        png_image_free(&image);
        return false;
    }
    rgba.assign(PNG_IMAGE_SIZE(image), 0);
    if (!png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr)) return false;
    width = (int)image.width;
    height = (int)image.height;
    return true;
}
