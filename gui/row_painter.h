// RowPainter: the timeline's rows painted on the processor into one texture,
// a strip of texels per row with one texel row per pixel row, and drawn with a
// quad per row. A software rasteriser draws a thousand small blocks far slower
// than one textured quad; the painter writes the same pixels, in the same
// order, as the blocks' fillRect and drawVLine calls would. Texels never
// painted stay transparent, so what was drawn before shows through them.
#pragma once

#include <cstdint>
#include <vector>

class RowPainter {
  public:
    // Pixel rows of a strip: the row's top .. top + 11, which fillRect(x, top,
    // w, 12) and drawVLine(x, top, 12) light.
    static const int kStripHeight = 12;

    // A frame of `strips` strips, `width` texels wide, all transparent.
    void Begin(int width, int strips);
    // The pixels fillRect(left + x, top, w, h) lights within strip `strip`, as
    // texel columns x .. x + w - 1 (clipped to the strip).
    void Fill(int strip, int x, int w, int h, uint32_t colour);
    // The pixels drawVLine(left + x, top + dy, length) lights within the strip.
    void VLine(int strip, int x, int dy, int length, uint32_t colour);
    // Draws strip i with its left edge at x = left and its row top at tops[i].
    void Draw(int left, const std::vector<int>& tops);

  private:
    void Span(int strip, int x, int w, int firstRow, int lastRow, uint32_t colour);
    int width = 0, strips = 0;
    std::vector<uint32_t> texels; // RGBA bytes in memory order
    unsigned texture = 0;
    int textureWidth = 0, textureHeight = 0;
};
