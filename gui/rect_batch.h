// RectBatch: many filled rectangles of their own colours drawn with one vertex
// array instead of one immediate-mode quad each. The rectangles cover exactly
// the pixels fillRect and drawVLine cover, and are drawn in the order added.
#pragma once

#include <cstdint>
#include <vector>

class RectBatch {
  public:
    void Clear();
    // The pixels fillRect(x, y, w, h, colour) fills.
    void AddFill(int x, int y, int w, int h, uint32_t colour);
    // The pixels drawVLine(x, y, length, colour) lights.
    void AddVLine(int x, int y, int length, uint32_t colour);
    // Rectangles added so far.
    uint32_t Count() const { return (uint32_t)(vertices.size() / 12); }
    // Draws rectangles [first, first + count); the current colour is kept.
    void Draw(uint32_t first, uint32_t count) const;
    void Draw() const { Draw(0, Count()); }

  private:
    void AddQuad(float x0, float y0, float x1, float y1, uint32_t colour);
    std::vector<float> vertices;   // 6 vertices of 2 floats per rectangle
    std::vector<uint8_t> colours;  // 6 RGBA colours per rectangle
};
