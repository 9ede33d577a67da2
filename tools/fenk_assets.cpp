// Draws the example demos' pictures and synthesises the first one's tune, the
// same bytes on every run: procedural images, glyphs rasterised from the Debian
// FreeFont files, the 16 x 16-cell number font, and a short WAV for the Ogg
// encoder. With --showcase it draws the showcase's pictures instead.
// Usage: fenk_assets EXAMPLES_DIR WAV_FILE
//        fenk_assets --showcase SHOWCASE_DIR
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <vector>

#include <ft2build.h>
#include FT_FREETYPE_H
#include <png.h>

#include "wav_writer.h"

namespace {
const char* const kFontDir = "/usr/share/fonts/truetype/freefont/";
const double kPi = 3.14159265358979323846;

struct Image {
    int width, height, channels; // channels 1 (grey) or 3 (RGB)
    std::vector<uint8_t> pixels;
    Image(int w, int h, int c) : width(w), height(h), channels(c), pixels((size_t)w * h * c, 0) {}
    uint8_t* at(int x, int y) { return &pixels[((size_t)y * width + x) * channels]; }
};

uint8_t Byte(double v) {
    return (uint8_t)(v < 0 ? 0 : v > 255 ? 255 : std::lround(v));
}

void Fail(const std::string& what) {
    fprintf(stderr, "fenk_assets: %s\n", what.c_str());
    exit(1);
}

void SavePng(const std::string& path, const Image& image) {
    FILE* file = fopen(path.c_str(), "wb");
    if (!file) Fail("cannot write " + path);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) Fail("PNG error in " + path);
    png_init_io(png, file);
    png_set_compression_level(png, 9);
    png_set_IHDR(png, info, image.width, image.height, 8,
                 image.channels == 1 ? PNG_COLOR_TYPE_GRAY : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < image.height; y++)
        png_write_row(png, (png_const_bytep)&image.pixels[(size_t)y * image.width * image.channels]);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    fclose(file);
}

void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back((uint8_t)v);
    out.push_back((uint8_t)(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// 8-bit palettised BMP, rows bottom-up; `indices` top row first.
void SaveBmp8(const std::string& path, int width, int height, const std::vector<uint8_t>& indices,
              const std::vector<uint32_t>& palette) {
    std::vector<uint8_t> out;
    int rowSize = (width + 3) & ~3;
    uint32_t dataOffset = 14 + 40 + 256 * 4;
    out.push_back('B');
    out.push_back('M');
    Put32(out, dataOffset + rowSize * height);
    Put32(out, 0);
    Put32(out, dataOffset);
    Put32(out, 40);
    Put32(out, width);
    Put32(out, height);
    Put16(out, 1);
    Put16(out, 8);
    Put32(out, 0); // no compression
    Put32(out, rowSize * height);
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, 256);
    Put32(out, 0);
    for (int i = 0; i < 256; i++)
        Put32(out, i < (int)palette.size() ? palette[i] : 0);
    for (int y = height - 1; y >= 0; y--) {
        for (int x = 0; x < width; x++)
            out.push_back(indices[(size_t)y * width + x]);
        for (int p = width; p < rowSize; p++)
            out.push_back(0);
    }
    FILE* file = fopen(path.c_str(), "wb");
    if (!file || fwrite(out.data(), 1, out.size(), file) != out.size()) Fail("cannot write " + path);
    fclose(file);
}

// A glyph's coverage bitmap from FreeType.
struct Glyph {
    int width = 0, height = 0, left = 0, top = 0, advance = 0;
    std::vector<uint8_t> coverage;
};

class Rasteriser {
  public:
    Rasteriser(const std::string& fontFile, int pixelSize) {
        if (FT_Init_FreeType(&library)) Fail("FreeType does not start");
        if (FT_New_Face(library, fontFile.c_str(), 0, &face)) Fail("cannot open " + fontFile);
        FT_Set_Pixel_Sizes(face, 0, pixelSize);
    }
    ~Rasteriser() {
        FT_Done_Face(face);
        FT_Done_FreeType(library);
    }
    Glyph Render(unsigned long code) {
        Glyph g;
        // Codes without a glyph (the controls 127..159) stay empty, not boxes.
        if (FT_Get_Char_Index(face, code) == 0 || FT_Load_Char(face, code, FT_LOAD_RENDER)) return g;
        FT_GlyphSlot slot = face->glyph;
        g.width = (int)slot->bitmap.width;
        g.height = (int)slot->bitmap.rows;
        g.left = slot->bitmap_left;
        g.top = slot->bitmap_top;
        g.advance = (int)(slot->advance.x >> 6);
        g.coverage.resize((size_t)g.width * g.height);
        for (int y = 0; y < g.height; y++)
            memcpy(&g.coverage[(size_t)y * g.width], slot->bitmap.buffer + y * slot->bitmap.pitch, g.width);
        return g;
    }
    int Ascender() const { return (int)(face->size->metrics.ascender >> 6); }

  private:
    FT_Library library = nullptr;
    FT_Face face = nullptr;
};

// ---------------------------------------------------------------------------
// Pictures
// ---------------------------------------------------------------------------

// A ringed emblem in changing colours; its companion cuts it out as a disc with
// a transparent ring.
void MakeLogo(const std::string& dir) {
    const int size = 128;
    Image colour(size, size, 3), alpha(size, size, 1);
    for (int y = 0; y < size; y++)
        for (int x = 0; x < size; x++) {
            double dx = x - 63.5, dy = y - 63.5, r = std::sqrt(dx * dx + dy * dy);
            double a = std::atan2(dy, dx);
            uint8_t* c = colour.at(x, y);
            c[0] = Byte(160 + 95 * std::cos(a));
            c[1] = Byte(120 + 100 * std::sin(r * 0.15));
            c[2] = Byte(200 - r);
            double edge = 62 - r;                        // soft outer edge
            double ring = std::fabs(r - 40) - 4;         // transparent ring
            double cover = std::fmin(edge, ring) * 64.0; // 4-pixel ramps
            alpha.at(x, y)[0] = Byte(cover);
        }
    SavePng(dir + "/data/logo.png", colour);
    SavePng(dir + "/data/logoa.png", alpha);
}

// Smooth plasma, kept in memory by the demo as a "complex" image.
void MakePlasma(const std::string& dir) {
    const int size = 128;
    Image image(size, size, 3);
    for (int y = 0; y < size; y++)
        for (int x = 0; x < size; x++) {
            double v = std::sin(x * 0.07) + std::sin(y * 0.05) + std::sin((x + y) * 0.04) +
                       std::sin(std::sqrt((double)(x - 64) * (x - 64) + (y - 40) * (y - 40)) * 0.09);
            uint8_t* c = image.at(x, y);
            c[0] = Byte(64 + 60 * std::sin(v * kPi * 0.5));
            c[1] = Byte(40 + 40 * std::sin(v * kPi * 0.5 + 2));
            c[2] = Byte(140 + 100 * std::sin(v * kPi * 0.5 + 4));
        }
    SavePng(dir + "/data/plasma.png", image);
}

// A 100 x 60 label (not a power of two) with the library's name on it.
void MakeBar(const std::string& dir) {
    Image image(100, 60, 3);
    for (int y = 0; y < 60; y++)
        for (int x = 0; x < 100; x++) {
            uint8_t* c = image.at(x, y);
            bool border = x < 3 || y < 3 || x >= 97 || y >= 57;
            c[0] = border ? 255 : Byte(30 + y * 2);
            c[1] = border ? 200 : Byte(20 + y);
            c[2] = border ? 60 : Byte(90 + y * 2);
        }
    Rasteriser font(std::string(kFontDir) + "FreeSansBold.ttf", 30);
    int pen = 12, baseline = 41;
    for (char ch : std::string("FENK")) {
        Glyph g = font.Render((unsigned char)ch);
        for (int y = 0; y < g.height; y++)
            for (int x = 0; x < g.width; x++) {
                int px = pen + g.left + x, py = baseline - g.top + y;
                if (px < 0 || py < 0 || px >= 100 || py >= 60) continue;
                double k = g.coverage[(size_t)y * g.width + x] / 255.0;
                uint8_t* c = image.at(px, py);
                for (int i = 0; i < 3; i++)
                    c[i] = Byte(c[i] * (1 - k) + 255 * k);
            }
        pen += g.advance;
    }
    SavePng(dir + "/data/bar.png", image);
}

// Eight frames of a turning three-armed star, each with its alpha companion.
void MakeSpinFrames(const std::string& dir) {
    const int size = 64;
    for (int f = 0; f < 8; f++) {
        Image colour(size, size, 3), alpha(size, size, 1);
        for (int y = 0; y < size; y++)
            for (int x = 0; x < size; x++) {
                double dx = x - 31.5, dy = y - 31.5, r = std::sqrt(dx * dx + dy * dy);
                double a = std::atan2(dy, dx) + f * (2 * kPi / 3) / 8;
                double arm = 0.5 + 0.5 * std::cos(3 * a);
                double cover = (arm * 30 + 4 - r) * 80;
                uint8_t* c = colour.at(x, y);
                c[0] = Byte(255 - r * 3);
                c[1] = Byte(100 + f * 20);
                c[2] = Byte(60 + r * 5);
                alpha.at(x, y)[0] = Byte(cover);
            }
        std::string base = dir + "/data/anim/spin" + std::to_string(f);
        SavePng(base + ".png", colour);
        SavePng(base + "a.png", alpha);
    }
}

// One image per credits letter, gold on black, its coverage as companion.
void MakeCreditGlyphs(const std::string& dir) {
    Rasteriser font(std::string(kFontDir) + "FreeSerifBold.ttf", 56);
    const int height = 64, ascent = 50;
    for (char ch : std::string("ABDEIKLMNOQRSTUVW")) {
        Glyph g = font.Render((unsigned char)ch);
        int width = g.advance + 2;
        Image colour(width, height, 3), alpha(width, height, 1);
        for (int y = 0; y < g.height; y++)
            for (int x = 0; x < g.width; x++) {
                int px = g.left + x + 1, py = ascent - g.top + y;
                if (px < 0 || py < 0 || px >= width || py >= height) continue;
                uint8_t k = g.coverage[(size_t)y * g.width + x];
                uint8_t* c = colour.at(px, py);
                c[0] = 255;
                c[1] = Byte(170 + py);
                c[2] = Byte(40 + py * 2);
                alpha.at(px, py)[0] = k;
            }
        std::string base = dir + "/data/glyphs/" + ch;
        SavePng(base + ".png", colour);
        SavePng(base + "a.png", alpha);
    }
}

// data/font.bmp: 16 x 16 cells of 16 pixels; cells 0..127 hold characters
// 32..159 in grey, cells 128..255 the same characters in yellow.
void MakeNumberFont(const std::string& dir) {
    const int side = 256;
    std::vector<uint8_t> indices((size_t)side * side, 0);
    std::vector<uint32_t> palette(256);
    for (int i = 0; i < 128; i++) {
        uint32_t v = (uint32_t)(i * 255 / 127);
        palette[i] = v << 16 | v << 8 | v;                    // grey ramp
        palette[128 + i] = v << 16 | v << 8 | (v * 40 / 255); // yellow ramp
    }
    Rasteriser font(std::string(kFontDir) + "FreeMonoBold.ttf", 15);
    for (int cell = 0; cell < 256; cell++) {
        unsigned long code = 32 + cell % 128;
        Glyph g = font.Render(code);
        int cx = cell % 16 * 16, cy = cell / 16 * 16, base = cell < 128 ? 0 : 128;
        for (int y = 0; y < g.height; y++)
            for (int x = 0; x < g.width; x++) {
                int px = 1 + g.left + x, py = 12 - g.top + y;
                if (px < 0 || py < 0 || px >= 16 || py >= 16) continue;
                int level = g.coverage[(size_t)y * g.width + x] * 127 / 255;
                indices[(size_t)(cy + py) * side + cx + px] = (uint8_t)(base + level);
            }
    }
    SaveBmp8(dir + "/data/font.bmp", side, side, indices, palette);
}

// ---------------------------------------------------------------------------
// The showcase's own pictures
// ---------------------------------------------------------------------------

// Deep blue and violet clouds with a few bright knots: the showcase's sky.
void MakeNebula(const std::string& dir) {
    const int size = 256;
    Image image(size, size, 3);
    for (int y = 0; y < size; y++)
        for (int x = 0; x < size; x++) {
            // Octaves of wrapped sines tile seamlessly, so the sky can be panned.
            double u = x * 2 * kPi / size, v = y * 2 * kPi / size, cloud = 0, amp = 1;
            for (int o = 1; o <= 5; o++) {
                cloud += amp * std::sin(o * u + 1.7 * o + std::sin(o * v * 1.0 + o)) *
                         std::cos(o * v + 0.6 * o + std::cos((o + 1) * u));
                amp *= 0.55;
            }
            double c = 0.5 + 0.35 * cloud; // about 0..1
            double knot =
                std::pow(std::fmax(0, std::sin(3 * u + 1) * std::sin(2 * v + 2) * std::sin(5 * u - 3 * v + 0.5)), 6);
            uint8_t* p = image.at(x, y);
            p[0] = Byte(20 + 90 * c * c + 200 * knot);
            p[1] = Byte(10 + 40 * c + 160 * knot);
            p[2] = Byte(40 + 150 * c + 220 * knot);
        }
    SavePng(dir + "/data/nebula.png", image);
}

// The title "TRELLIC" in bold sans, white fading to cyan downwards, with its
// coverage as the alpha companion; kept in memory for blur and strokes.
void MakeTitle(const std::string& dir) {
    const int width = 512, height = 128, baseline = 96;
    Image colour(width, height, 3), alpha(width, height, 1);
    Rasteriser font(std::string(kFontDir) + "FreeSansBold.ttf", 96);
    const std::string title = "TRELLIC";
    int textWidth = 0;
    for (char ch : title)
        textWidth += font.Render((unsigned char)ch).advance;
    int pen = (width - textWidth) / 2;
    for (char ch : title) {
        Glyph g = font.Render((unsigned char)ch);
        for (int y = 0; y < g.height; y++)
            for (int x = 0; x < g.width; x++) {
                int px = pen + g.left + x, py = baseline - g.top + y;
                if (px < 0 || py < 0 || px >= width || py >= height) continue;
                uint8_t k = g.coverage[(size_t)y * g.width + x];
                // Premultiplied, so the picture reads right with or without its alpha.
                uint8_t* c = colour.at(px, py);
                c[0] = Byte((255 - py * 1.6) * k / 255);
                c[1] = Byte((255 - py * 0.4) * k / 255);
                c[2] = k;
                alpha.at(px, py)[0] = k;
            }
        pen += g.advance;
    }
    SavePng(dir + "/data/title.png", colour);
    SavePng(dir + "/data/titlea.png", alpha);
}

// A soft white glow for stars and beat flashes.
void MakeGlow(const std::string& dir) {
    const int size = 64;
    Image colour(size, size, 3), alpha(size, size, 1);
    for (int y = 0; y < size; y++)
        for (int x = 0; x < size; x++) {
            double dx = x - 31.5, dy = y - 31.5, r = std::sqrt(dx * dx + dy * dy) / 32;
            uint8_t* c = colour.at(x, y);
            c[0] = Byte(255 - 60 * r);
            c[1] = Byte(255 - 30 * r);
            c[2] = 255;
            alpha.at(x, y)[0] = Byte(255 * std::pow(std::fmax(0, 1 - r), 2.2));
        }
    SavePng(dir + "/data/glow.png", colour);
    SavePng(dir + "/data/glowa.png", alpha);
}

// ---------------------------------------------------------------------------
// Music
// ---------------------------------------------------------------------------

// 16 seconds at 120 beats a minute: a bass line, an arpeggio and a soft pad,
// mono 16-bit at 22050 Hz.
void MakeTune(const std::string& wavPath) {
    const int rate = 22050, seconds = 16;
    const int frames = rate * seconds;
    const double beat = 0.5;
    const int chords[4][3] = {{57, 60, 64}, {53, 57, 60}, {48, 52, 55}, {55, 59, 62}}; // Am F C G
    std::vector<double> mix(frames, 0.0);
    auto freq = [](int note) { return 440.0 * std::pow(2.0, (note - 69) / 12.0); };
    for (int i = 0; i < frames; i++) {
        double t = (double)i / rate;
        int bar = (int)(t / (beat * 4)) % 4;
        const int* chord = chords[bar];
        double inBeat = std::fmod(t, beat);
        // Bass: root an octave down, plucked on every beat.
        double bass = std::sin(2 * kPi * freq(chord[0] - 12) * t);
        bass = (bass > 0 ? 1 : -1) * 0.18 * std::exp(-inBeat * 6);
        // Arpeggio in sixteenths.
        double sixteenth = beat / 4;
        int step = (int)(t / sixteenth);
        double inStep = std::fmod(t, sixteenth);
        int note = chord[step % 3] + 12 * ((step / 3) % 2);
        double phase = std::fmod(freq(note) * t, 1.0);
        double arp = (phase < 0.25 ? 1 : -1) * 0.08 * std::exp(-inStep * 18);
        // Pad: the chord, softly.
        double pad = 0;
        for (int k = 0; k < 3; k++)
            pad += std::sin(2 * kPi * freq(chord[k]) * t);
        pad *= 0.03;
        double fade = std::fmin(1.0, std::fmin(t / 0.5, (seconds - t) / 1.5));
        mix[i] = (bass + arp + pad) * fade;
    }
    std::vector<int16_t> samples;
    for (double v : mix)
        samples.push_back((int16_t)std::lround(std::fmax(-1, std::fmin(1, v)) * 32767));
    if (!WriteWav16(wavPath, rate, 1, samples)) Fail("cannot write " + wavPath);
}
} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: fenk_assets EXAMPLES_DIR WAV_FILE\n       fenk_assets --showcase SHOWCASE_DIR\n");
        return 2;
    }
    if (std::string(argv[1]) == "--showcase") {
        std::string dir = argv[2];
        for (const char* sub : {"/data", "/data/anim", "/data/glyphs"})
            mkdir((dir + sub).c_str(), 0755);
        MakeNebula(dir);
        MakeTitle(dir);
        MakeGlow(dir);
        MakeLogo(dir);
        MakePlasma(dir);
        MakeSpinFrames(dir);
        MakeCreditGlyphs(dir);
        MakeNumberFont(dir);
        return 0;
    }
    std::string dir = argv[1];
    for (const char* sub : {"/data", "/data/anim", "/data/glyphs"})
        mkdir((dir + sub).c_str(), 0755);
    MakeLogo(dir);
    MakePlasma(dir);
    MakeBar(dir);
    MakeSpinFrames(dir);
    MakeCreditGlyphs(dir);
    MakeNumberFont(dir);
    MakeTune(argv[2]);
    return 0;
}
