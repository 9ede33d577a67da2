// RowPainter: the timeline's rows painted on the processor into one texture
// and drawn with one quad. A software rasteriser draws a thousand small blocks
// far slower than a textured quad; everything drawn inside a row (its fill,
// the blocks, their black left edges, the marker, the selected block's
// outline) covers the row's full height, so one texel line stretched over the
// row's 12 pixel rows holds the same pixels, in the same order, as the blocks'
// fillRect and drawVLine calls. Texels never painted stay transparent: what was
// drawn before shows through, in the gaps between the rows too.
#pragma once

#include <cstdint>
#include <vector>

class RowPainter {
  public:
    static const int kRowHeight = 12; // pixel rows a strip covers, from the row's top

    // A frame of `strips` rows, `width` texels wide, all transparent.
    void Begin(int width, int strips);
    // Columns x .. x + w - 1 of strip `strip` (clipped to it) in `colour`.
    void Fill(int strip, int x, int w, uint32_t colour);
    // Draws strip i with its left edge at x = left and its top at tops[i]
    // (where strips overlap, the later one shows). With `gapColour`, the pixel
    // rows between the strips are painted in it rather than left as they were.
    void Draw(int left, const std::vector<int>& tops, const uint32_t* gapColour = nullptr);

  private:
    int width = 0, strips = 0;
    std::vector<char> whole;      // strips a single fill has covered end to end
    std::vector<uint32_t> texels; // RGBA bytes in memory order, a line per strip
    std::vector<uint32_t> frame;  // what is drawn: a line per step of pixel rows
    std::vector<char> written;    // frame lines a strip has reached
};
