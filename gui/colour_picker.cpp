// ColourPicker: three bars (red, green, blue) with a swatch of the mixed colour;
// a press on a bar sets that channel to the position under the pointer.
#include "gui.h"

namespace {
int Channel(const int* p) {
    int v = p ? *p : 0;
    return v < 0 ? 0 : (v > 255 ? 255 : v);
}
} // namespace

ColourPicker::ColourPicker(int x_, int y_, int* red_, int* green_, int* blue_)
    : Widget(x_, y_, 266, 35, nullptr, nullptr), red(red_), green(green_), blue(blue_) {}

void ColourPicker::SetBarLength(int pixels) {
    barLength = pixels < 16 ? 16 : (pixels > kBarLength ? kBarLength : pixels);
}

void ColourPicker::draw() {
    uint32_t r = (uint32_t)Channel(red), g = (uint32_t)Channel(green), b = (uint32_t)Channel(blue);
    const int n = barLength; // 256 at full length: one pixel per value, as laid out
    fillRect(x, y, n + 38, 27, 0x00000000);
    fillRect(x + n + 12, y + 1, 25, 25, r << 16 | g << 8 | b);
    for (int k = 0; k <= 16; k++)
        drawVLine(x + 5 + 16 * k * n / kBarLength, y, 27, 0xA0A0A0);

    const int rows[3] = {2, 11, 20};
    const uint32_t pure[3] = {0xFF0000, 0x00FF00, 0x0000FF};
    const int shifts[3] = {16, 8, 0};
    const int values[3] = {(int)r, (int)g, (int)b};
    uint32_t current = r << 16 | g << 8 | b;
    for (int bar = 0; bar < 3; bar++) {
        int row = rows[bar];
        fillRect(x + 1, y + row, n + 8, 5, pure[bar]);
        fillRect(x + 4, y + row, n + 2, 5, 0x000000);
        uint32_t others = current & ~(0xFFu << shifts[bar]);
        for (int i = 0; i < n; i++)
            drawVLine(x + 5 + i, y + row, 5, others | (uint32_t)(i * 255 / (n - 1)) << shifts[bar]);
        int v = values[bar] * (n - 1) / 255;
        drawVLine(x + v + 4, y + row, 5, 0x000000);
        drawVLine(x + v + 5, y + row - 2, 9, 0xFFFFFF);
        drawVLine(x + v + 6, y + row, 5, 0x000000);
    }
}

bool ColourPicker::click(int px, int py, int) {
    int rx = px - x - 5, ry = py - y;
    if (rx < 0 || rx > barLength - 1 || ry < 0 || ry > 27) return false;
    int* channels[4] = {red, green, blue, nullptr};
    int* target = channels[ry / 9];
    // Rounded to the nearest value, so both ends of a short bar reach 0 and 255.
    if (target) *target = (rx * 255 + (barLength - 1) / 2) / (barLength - 1);
    return true;
}
