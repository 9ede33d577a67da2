// ScrollKnob: a horizontal or vertical slider bound to an int. A press on the
// track sets the value for that spot at once; there is no dragging.
#include "gui.h"

ScrollKnob::ScrollKnob(int x_, int y_, unsigned trackLength_, int minimum_, int maximum_, int* value_,
                       bool horizontal_, ScrollCallback callback_)
    : Widget(x_, y_, 0, 0, nullptr, nullptr), minimum(minimum_), maximum(maximum_), value(value_),
      trackLength(trackLength_), horizontal(horizontal_), callback(callback_) {}

unsigned ScrollKnob::KnobOffset() const {
    // Computed wide: a range times a track length can exceed 32 bits.
    int64_t range = (int64_t)maximum - minimum;
    if (range == 0 || !value) return 0;
    int64_t p = ((int64_t)*value - minimum) * (int64_t)trackLength / range;
    if (p < 0) return 0;
    if (p > (int64_t)trackLength) return trackLength;
    return (unsigned)p;
}

void ScrollKnob::draw() {
    int tw = horizontal ? (int)trackLength : 9;
    int th = horizontal ? 9 : (int)trackLength;
    fillRect(x, y, tw + 2, th + 2, 0x00000000);
    drawRect(x + 1, y + 1, tw, th, 0xFFFFFFFF);
    int p = (int)KnobOffset();
    if (horizontal)
        drawVLine(x + 1 + p, y + 1, 9, 0xFFFFFFFF);
    else
        drawHLine(x + 1, y + 1 + p, 9, 0xFFFFFFFF);
}

bool ScrollKnob::click(int px, int py, int) {
    int64_t rx = (int64_t)px - x - 1, ry = (int64_t)py - y - 1;
    int64_t along, across;
    if (horizontal) {
        along = rx;
        across = ry;
    } else {
        along = ry;
        across = rx;
    }
    if (along < 0 || along > (int64_t)trackLength || across < 0 || across > 9) return false;
    int64_t v = minimum;
    if (trackLength > 0) v += ((int64_t)maximum - minimum) * along / (int64_t)trackLength;
    if (value) *value = (int)v;
    if (callback) callback((double)(unsigned)v);
    return true;
}
