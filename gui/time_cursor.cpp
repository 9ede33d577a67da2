// TimeCursor: the timeline's time slider. A horizontal ScrollKnob bound to the
// playback position, with a cursor line that runs down across every track row.
#include "app.h"
#include "gui.h"

TimeCursor::TimeCursor(int x_, int y_, unsigned trackLength_, int minimum_, int maximum_, int* value_,
                       ScrollCallback callback_)
    : Widget(x_, y_, 0, 0, nullptr, nullptr),
      knob(x_, y_, trackLength_, minimum_ <= maximum_ ? minimum_ : maximum_,
           minimum_ <= maximum_ ? maximum_ : minimum_, value_, true, callback_),
      minimum(knob.minimum), maximum(knob.maximum), trackLength(trackLength_), value(value_) {
    if (value) {
        if (*value < minimum) *value = minimum;
        if (*value > maximum) *value = maximum;
    }
}

void TimeCursor::draw() {
    EditorApp* app = App();
    // Rows beyond a few thousand are off any window; the bound keeps the length in range.
    uint32_t tracks = app && app->demo ? app->demo->trackCount : 0;
    if (tracks > 10000) tracks = 10000;
    // KnobOffset is 0 for an empty range, so a demo of running time 0 draws at the start.
    int p = (int)knob.KnobOffset();
    drawVLine(x + p + 1, y + 1, 15 * (int)tracks + 14 + WaveformRowsOffset(), 0xFFFFFFFF);
    knob.draw();
    DrawTimeSliderMarks(*this);
}

bool TimeCursor::click(int px, int py, int button) {
    if (ClickTimeSliderMark(*this, px, py)) return true;
    if (!knob.click(px, py, button)) return false;
    if (value) *value = (int)SnapToBeat((uint32_t)*value);
    return true;
}
