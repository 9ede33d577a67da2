// The timeline widgets. Times map to x linearly over the running time R; with
// R = 0 the axis has no scale, so blocks are not drawn or hit and markers sit at
// the axis start. Event spans are unsigned: an end before the start (possible in
// a hand-written file) wraps, and every loop over such a span is bounded.
#include "timeline.h"

#include <cmath>
#include <cstring>

#include "app.h"

namespace {

const uint32_t kRowColour = 0xFF707070;
const uint32_t kHiddenColour = 0xFFDC8042;
const uint32_t kHiddenSelectedColour = 0xFFFF9200;
const uint32_t kBlockColour = 0xFF60A060;
const uint32_t kSelectedBlockColour = 0xFF90FF90;
const uint32_t kWhite = 0xFFFFFFFF;
const uint32_t kMarkerColour = 0xFF00FF00;
const uint32_t kPathColour = 0xFFFF0000;
const uint32_t kSelectedPathColour = 0xFFFF8000;

// Most samples drawn for one curve or one path segment; longer spans are thinned
// out evenly so a very long (or wrapped) event cannot stall a frame.
const uint32_t kMaxSamples = 4000;

int AxisLength() {
    return windowWidth - 120;
}

int AxisEnd() {
    return windowWidth - kTimelineMargin;
}

// Left edge and width of an event's block, unclipped; false when it has no place.
bool BlockSpan(uint32_t start, uint32_t end, double& bx, double& bw) {
    EditorApp* app = App();
    const uint32_t R = app ? app->GetRunningTime() : 0;
    if (R == 0 || AxisLength() <= 0) return false;
    const double f = (double)AxisLength() / (double)R;
    bx = std::trunc((double)start * f + kTimelineLeft);
    bw = std::trunc((double)(uint32_t)(end - start) * f);
    return true;
}

// Sampling step (in units of 100 ms) for n samples.
uint32_t SampleStep(uint32_t n) {
    return n > kMaxSamples ? (n + kMaxSamples - 1) / kMaxSamples : 1;
}

} // namespace

int TrackRowTop(uint32_t track) {
    return windowHeight / 2 + 20 + kTrackRowPitch * (int)track;
}

int TimelineX(uint32_t t) {
    EditorApp* app = App();
    const uint32_t R = app ? app->GetRunningTime() : 0;
    if (R == 0 || AxisLength() <= 0) return kTimelineLeft;
    return kTimelineLeft + (int)((uint64_t)t * (uint64_t)AxisLength() / R);
}

// [SECTION] TrackRow

TrackRow::TrackRow(uint32_t track_) : GuiScreen(kQuitKeyEscape), track(track_) {}

void TrackRow::draw() {
    EditorApp* app = App();
    if (!app) return;
    const int y = TrackRowTop(track);
    const bool hidden = app->GetTrackHidden(track);
    fillRect(kTimelineLeft, y, AxisLength(), kTrackRowHeight, hidden ? kHiddenColour : kRowColour);
    if (app->editorScreen.panelTrack >= 0 && (uint32_t)app->editorScreen.panelTrack == track) {
        drawRect(108, y - 2, windowWidth - 116, 16, hidden ? kHiddenSelectedColour : kWhite);
        drawVLine(TimelineX(markerTime), y - 2, 16, kMarkerColour);
    }
    WidgetGroup::draw();
}

bool TrackRow::click(int px, int py, int button) {
    if (button == 1 && WidgetGroup::click(px, py, button)) return true;
    const int y = TrackRowTop(track);
    if (px < kTimelineLeft || px >= AxisEnd() || py < y || py >= y + kTrackRowHeight) return false;
    EditorApp* app = App();
    if (!app) return false;
    if (button == 1) {
        const uint32_t R = app->GetRunningTime();
        markerTime = AxisLength() > 0 ? (uint32_t)((uint64_t)(px - kTimelineLeft) * R / AxisLength()) : 0;
    }
    app->editorScreen.SelectTrack((int)track);
    return true;
}

// [SECTION] TimelineEventBlock

TimelineEventBlock::TimelineEventBlock(uint32_t event_, uint32_t track_)
    : Widget(0, 0, 1, 1, nullptr, nullptr), track(track_), event(event_) {}

void TimelineEventBlock::draw() {
    EditorApp* app = App();
    if (!app || event >= app->EventCount(track)) return;
    double bxd, bwd;
    if (!BlockSpan(app->EventStart(track, event), app->EventEnd(track, event), bxd, bwd)) return;
    const int right = AxisEnd();
    if (bxd >= right) return;
    const int bx = (int)bxd;
    const int bw = bxd + bwd > right ? right - bx : (int)bwd;
    const int y = TrackRowTop(track);

    const bool hidden = app->GetEventHidden(track, event);
    uint32_t fill = hidden ? kHiddenColour : kBlockColour;
    const EditorScreen& screen = app->editorScreen;
    if (screen.selectedTrack >= 0 && (uint32_t)screen.selectedTrack == track && screen.selectedEvent >= 0 &&
        (uint32_t)screen.selectedEvent == event) {
        fill = hidden ? kHiddenSelectedColour : kSelectedBlockColour;
        drawRect(bx - 2, y - 2, bw + 4, 16, kWhite);
    }
    fillRect(bx, y, bw, kTrackRowHeight, fill);
    drawVLine(bx, y, kTrackRowHeight, 0);
}

bool TimelineEventBlock::click(int px, int py, int) {
    EditorApp* app = App();
    if (!app || event >= app->EventCount(track)) return false;
    double bx, bw;
    if (!BlockSpan(app->EventStart(track, event), app->EventEnd(track, event), bx, bw)) return false;
    const int y = TrackRowTop(track);
    if (px < bx || px >= bx + bw || py < y || py >= y + kTrackRowHeight) return false;
    app->editorScreen.SelectEvent((int)track, (int)event);
    return true;
}

// [SECTION] EventTimeEditor

EventTimeEditor::EventTimeEditor(uint32_t track_, uint32_t event_, uint32_t colour)
    : Widget(0, 0, 1, 1, nullptr, nullptr), track(track_), event(event_) {
    EditorApp* app = App();
    const uint32_t s = app ? app->EventStart(track, event) : 0;
    const uint32_t e = app ? app->EventEnd(track, event) : 0;
    start = s / 10;
    length = (uint32_t)(e - s) / 10;
    const int xb = windowWidth / 2 + 10;
    startLabel = new Label(xb, 25, "Start:", true, colour);
    startField = new UIntField(xb + 45, 25, 60, &start, colour);
    lengthLabel = new Label(xb + 110, 25, "Length:", true, colour);
    lengthField = new UIntField(xb + 155, 25, 60, &length, colour);
}

EventTimeEditor::~EventTimeEditor() {
    delete startField;
    delete lengthField;
    delete startLabel;
    delete lengthLabel;
}

void EventTimeEditor::draw() {
    startField->draw();
    lengthField->draw();
    startLabel->draw();
    lengthLabel->draw();
}

bool EventTimeEditor::click(int px, int py, int button) {
    return startField->click(px, py, button) || lengthField->click(px, py, button);
}

bool EventTimeEditor::grabFocus(int px, int py) {
    const unsigned oldStart = start, oldLength = length;
    if (startField->grabFocus(px, py)) {
        if (lengthFocused) lengthField->loseFocus();
        startFocused = true;
        lengthFocused = false;
    } else if (lengthField->grabFocus(px, py)) {
        if (startFocused) startField->loseFocus();
        lengthFocused = true;
        startFocused = false;
    } else {
        if (startFocused) startField->loseFocus();
        if (lengthFocused) lengthField->loseFocus();
        startFocused = lengthFocused = false;
    }
    const bool focused = startFocused || lengthFocused;
    WriteBackIfChanged(oldStart, oldLength);
    return focused;
}

void EventTimeEditor::loseFocus() {
    const unsigned oldStart = start, oldLength = length;
    if (startFocused) startField->loseFocus();
    if (lengthFocused) lengthField->loseFocus();
    startFocused = lengthFocused = false;
    WriteBackIfChanged(oldStart, oldLength);
}

bool EventTimeEditor::key(int sym, int unicode) {
    const unsigned oldStart = start, oldLength = length;
    bool handled = false;
    if (startFocused)
        handled = startField->key(sym, unicode);
    else if (lengthFocused)
        handled = lengthField->key(sym, unicode);
    WriteBackIfChanged(oldStart, oldLength);
    return handled;
}

void EventTimeEditor::WriteBackIfChanged(unsigned oldStart, unsigned oldLength) {
    if (start == oldStart && length == oldLength) return;
    EditorApp* app = App();
    DemoEvent* e = app ? app->GetEvent(track, event) : nullptr;
    if (!e) return; // the event went away: nothing to write to
    EditStep step("Event Time");
    // Tenths of a second beyond the clock's range stop at its last millisecond.
    const uint64_t startMs = (uint64_t)start * 10, endMs = ((uint64_t)start + length) * 10;
    e->startTime = startMs > UINT32_MAX ? UINT32_MAX : (uint32_t)startMs;
    e->endTime = endMs > UINT32_MAX ? UINT32_MAX : (uint32_t)endMs;

    // Re-sorting may move the event: follow it, so that the next edit of these
    // fields (and the curves) still mean this event.
    EditorScreen& screen = app->editorScreen;
    const bool selected = screen.selectedTrack >= 0 && (uint32_t)screen.selectedTrack == track &&
                          screen.selectedEvent >= 0 && (uint32_t)screen.selectedEvent == event;
    if (selected) {
        screen.ResortTrack((int)track);
        if (screen.selectedEvent >= 0) event = (uint32_t)screen.selectedEvent;
    } else {
        event = (uint32_t)app->SortTrackEvents(track, (int32_t)event);
    }
    if (graph) graph->event = event;
}

// [SECTION] ParamGraph

ParamGraph::ParamGraph(uint32_t track_, uint32_t event_)
    : Widget(0, 0, 1, 1, nullptr, nullptr), track(track_), event(event_) {}

void ParamGraph::draw() {
    EditorApp* app = App();
    if (!app || event >= app->EventCount(track)) return;
    const uint32_t s = app->EventStart(track, event), e = app->EventEnd(track, event);
    // An end before the start leaves no span to sample; flat lines need none.
    const uint32_t n = e < s ? 0 : (e - s) / 100;
    const uint32_t step = SampleStep(n);
    const int x0 = windowWidth / 2 + 180;
    const uint32_t count = app->EventParamCount(track, event);
    for (uint32_t i = 0; i < count; i++) {
        const char* name = app->EventParamName(track, event, i);
        if (!strcmp(name, "ImageNr") || !strcmp(name, "Red") || !strcmp(name, "Green") ||
            !strcmp(name, "Blue"))
            continue;
        int r = 17 * (int)i;
        if (rowsGiven) {
            // Only the rows the panel shows, at their places.
            bool shown = false;
            for (const Row& row : rows)
                if (row.param == i) {
                    r = row.y - 55;
                    shown = true;
                }
            if (!shown) continue;
        }
        const int32_t a = app->EventStartValue(track, event, i), b = app->EventEndValue(track, event, i);
        const int64_t lo = a < b ? a : b, hi = a < b ? b : a;
        if (lo == hi) {
            drawHLine(x0, r + 63, 42, kWhite);
            continue;
        }
        for (uint32_t j = 0; j < n; j += step) {
            const int64_t v = app->EventValueAt(track, event, i, s + 100 * j);
            drawPoint(x0 + (int)((uint64_t)j * 42 / n), r + 55 + (int)((hi - v) * 16 / (hi - lo)), kWhite);
        }
    }
}

// [SECTION] PathOverlay

PathOverlay::PathOverlay() : Widget(0, 0, 1, 1, nullptr, nullptr) {}

void PathOverlay::draw() {
    EditorApp* app = App();
    if (!app) return;
    const EditorScreen& screen = app->editorScreen;
    if (screen.selectedTrack < 0 || screen.selectedEvent < 0 || app->music.playing) return;
    const uint32_t track = (uint32_t)screen.selectedTrack, selected = (uint32_t)screen.selectedEvent;
    if (selected >= app->EventCount(track)) return;
    const PositionParams pos = app->FindPositionParams(track, selected);
    if (!pos.found) return;

    uint32_t first = selected, last = selected;
    while (first > 0 && app->EventContinues(track, first - 1))
        first--;
    while (last + 1 < app->EventCount(track) && app->EventContinues(track, last))
        last++;

    const double scale = (double)windowHeight / 600.0 * (IsFullScreenPreview() ? 1.0 : 0.5);
    const uint32_t now = app->music.position;
    if (now < app->EventStart(track, first) || now >= app->EventEnd(track, last)) return;

    for (uint32_t ev = first; ev <= last; ev++) {
        const uint32_t s = app->EventStart(track, ev), e = app->EventEnd(track, ev);
        if (e < s) continue;
        const uint32_t n = (e - s) / 100;
        const uint32_t step = SampleStep(n);
        const uint32_t colour = ev == selected ? kSelectedPathColour : kPathColour;
        for (uint32_t k = 0; k < n; k += step) {
            const uint32_t t = s + 100 * k;
            drawPoint((int)std::trunc(app->EventValueAt(track, ev, pos.x, t) * scale * 0.1),
                      (int)std::trunc(app->EventValueAt(track, ev, pos.y, t) * scale * 0.1), colour);
        }
    }
    // The cross marks where the chain is now: outside its own span the selected
    // event's curve runs off to meaningless values, so take the event playing at now.
    uint32_t current = selected;
    for (uint32_t ev = first; ev <= last; ev++) {
        if (app->EventStart(track, ev) <= now && now < app->EventEnd(track, ev)) {
            current = ev;
            break;
        }
    }
    const int X = (int)std::trunc(app->EventValueAt(track, current, pos.x, now) * scale * 0.1);
    const int Y = (int)std::trunc(app->EventValueAt(track, current, pos.y, now) * scale * 0.1);
    drawHLine(X - 2, Y, 5, kPathColour);
    drawVLine(X, Y - 2, 5, kPathColour);
}
