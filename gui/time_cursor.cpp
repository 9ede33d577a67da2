// TimeCursor: the timeline's time slider. A horizontal ScrollKnob bound to the
// playback position, with a cursor line that runs down across every track row.
// The editor's slider goes through the timeline's view, so it zooms and
// scrolls with the rows, and a press on it scrubs while the button is held.
#include "app.h"
#include "gui.h"
#include "timeline_drags.h"

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
    if (followsView) {
        const TimelineView& v = EditorTimelineView();
        const int length = 15 * (int)v.ShownRows() + 14 + WaveformRowsOffset();
        const int p = value ? v.X((uint32_t)*value) : v.AxisLeft();
        const bool shown = p >= v.AxisLeft() && p <= v.AxisRight();
        if (shown) {
            drawVLine(p, y + 1, length, 0xFFFFFFFF);
            NoteCursorLine(p, y + 1, y + 1 + length);
        }
        fillRect(x, y, (int)trackLength + 2, 11, 0x00000000);
        drawRect(x + 1, y + 1, (int)trackLength, 9, 0xFFFFFFFF);
        if (shown) drawVLine(p, y + 1, 9, 0xFFFFFFFF);
        DrawTimeSliderMarks(*this);
        return;
    }
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
    if (!followsView) {
        if (!knob.click(px, py, button)) return false;
        if (value) *value = (int)SnapToBeat((uint32_t)*value);
        return true;
    }
    // The knob's own hit test, then the time under the pointer from the view.
    const int along = px - x - 1, across = py - y - 1;
    if (along < 0 || along > (int)trackLength || across < 0 || across > 9) return false;
    if (value) *value = (int)SnapToBeat(EditorTimelineView().TimeAt(px));
    if (button == 1) BeginScrubDrag(value);
    return true;
}
