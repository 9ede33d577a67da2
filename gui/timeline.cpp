// The timeline widgets. Times map to x through the editor's TimelineView; with
// R = 0 the axis has no scale, so blocks are not drawn or hit and markers sit at
// the axis start. Event spans are unsigned: an end before the start (possible in
// a hand-written file) wraps, and every loop over such a span is bounded.
#include "timeline.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "app.h"
#include "text_batch.h"
#include "timeline_drags.h"

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
const uint32_t kBarColour = 0xFF000000;
const uint32_t kThumbColour = 0xFFB0B0B0;
const uint32_t kNameColour = 0xFFFFFFFF;
const int kNamePixelSize = 10;

// Most samples drawn for one curve or one path segment; longer spans are thinned
// out evenly so a very long (or wrapped) event cannot stall a frame.
const uint32_t kMaxSamples = 4000;

int AxisEnd() {
    return windowWidth - kTimelineMargin;
}

// Left edge and width of an event's block, unclipped, at least kMinBlockWidth
// wide (widened, if given, tells whether it was narrower); false when the axis
// has no scale.
bool BlockSpan(const TimelineView& v, uint32_t start, uint32_t end, int& bx, int& bw, bool* widened = nullptr) {
    const double f = v.Scale();
    if (f <= 0) return false;
    // Far off the axis is far enough; keeps the sums below in range.
    const double kFar = 1e7;
    const double x = std::trunc(v.XExact(start));
    const double w = std::trunc((double)(uint32_t)(end - start) * f);
    bx = (int)std::max(-kFar, std::min(kFar, x));
    bw = std::max(kMinBlockWidth, (int)std::min(kFar, w));
    if (widened) *widened = w < kMinBlockWidth;
    return true;
}

// Where a block starts and whether it was widened to the minimum width.
struct BlockStart {
    int x = 0;
    bool widened = false;
};

// A widened block starting at most a pixel after the widened block before it
// in the track goes without its black left edge: drawn, the edge would cover
// that block's fill, and a track of short events packed closer than the pixels
// (flashes on every beat, seen over the whole demo) would show as a black bar.
bool JoinsDenseRun(BlockStart block, BlockStart before) {
    return block.widened && before.widened && block.x - before.x <= 1;
}

// Clips a block to the axis, columns left .. right - 1: false when none of it
// shows; cutLeft when its left edge (and so its black edge) is cut off.
bool ClipBlockToAxis(int left, int right, int& bx, int& bw, bool& cutLeft) {
    if (bx >= right) return false;
    if (bx + bw > right) bw = right - bx;
    cutLeft = bx < left;
    if (cutLeft) {
        bw -= left - bx;
        bx = left;
    }
    return bw > 0;
}

// Sampling step (in units of 100 ms) for n samples.
uint32_t SampleStep(uint32_t n) {
    return n > kMaxSamples ? (n + kMaxSamples - 1) / kMaxSamples : 1;
}

bool IsSelectedEvent(uint32_t track, uint32_t event) {
    const EditorScreen& s = App()->editorScreen;
    return s.selectedTrack >= 0 && (uint32_t)s.selectedTrack == track && s.selectedEvent >= 0 &&
           (uint32_t)s.selectedEvent == event;
}

// The rows' painter, kept between frames so its memory and texture are reused.
RowPainter& Painter() {
    static RowPainter painter;
    return painter;
}

} // namespace

TimelineView& EditorTimelineView() {
    static TimelineView view;
    EditorApp* app = App();
    view.rowsOffset = WaveformRowsOffset();
    view.Fit(windowWidth, windowHeight, app ? app->GetRunningTime() : 0, app ? app->TrackCount() : 0);
    return view;
}

int TrackRowTop(uint32_t track) {
    return EditorTimelineView().RowTop(track);
}

bool TrackRowVisible(uint32_t track) {
    return EditorTimelineView().RowVisible(track);
}

int TimelineX(uint32_t t) {
    return EditorTimelineView().X(t);
}

uint32_t TimelineTimeAt(int x) {
    return EditorTimelineView().TimeAt(x);
}

int32_t BlockAt(uint32_t track, int px, int py) {
    EditorApp* app = App();
    const TimelineView& v = EditorTimelineView();
    if (!app || !v.RowVisible(track) || v.Scale() <= 0) return -1;
    const int y = v.RowTop(track);
    if (py < y || py >= y + kTrackRowHeight) return -1;
    // Distances count from the event's own extent (at least a pixel), not the
    // widened block, so that among dense narrow events the one under the
    // pointer wins; a block wide enough is hit exactly where it is drawn.
    int32_t best = -1;
    int bestDistance = kBlockReach + 1;
    const uint32_t n = app->EventCount(track);
    for (uint32_t i = 0; i < n; i++) {
        const uint32_t s = app->EventStart(track, i), e = app->EventEnd(track, i);
        int bx, bw;
        BlockSpan(v, s, e, bx, bw);
        bw = std::max(1, (int)std::min(1e7, std::trunc((double)(uint32_t)(e - s) * v.Scale())));
        // Hit over the whole width to the right (past the axis end too), but only
        // where it is shown on the left.
        if (bx < v.AxisLeft()) {
            bw -= v.AxisLeft() - bx;
            bx = v.AxisLeft();
            if (bw <= 0) continue;
        }
        const int d = px < bx ? bx - px : px >= bx + bw ? px - (bx + bw - 1) : 0;
        if (d < bestDistance) {
            best = (int32_t)i;
            bestDistance = d;
        }
    }
    return best;
}

// [SECTION] Drawing the rows

// The tops of tracks [first, last] as far as they are shown, in order; returns
// the first track shown.
static uint32_t ShownRowTops(EditorApp& app, const TimelineView& v, uint32_t first, uint32_t last,
                             std::vector<int>& tops) {
    tops.clear();
    last = std::min(last, app.TrackCount() == 0 ? 0 : app.TrackCount() - 1);
    if (app.TrackCount() == 0 || first > last) return first;
    first = std::max(first, v.firstRow);
    for (uint32_t k = first; k <= last && v.RowVisible(k); k++)
        tops.push_back(v.RowTop(k));
    return first;
}

namespace {

// A line or a frame drawn under the rows that shows in the gaps between them,
// kept to be drawn again there: the same call, clipped to each gap, lights the
// same pixels on any driver.
struct GapLine {
    bool frame;     // drawRect(x, y, length, height) or drawVLine(x, y, length)
    int x, y, length, height;
    uint32_t colour;
};

// Draws `lines` again, in order, clipped to each gap between the rows at `tops`
// and to columns left .. right - 1: the rows were drawn over them.
void RedrawInGaps(const std::vector<GapLine>& lines, const std::vector<int>& tops, int left, int right) {
    if (lines.empty()) return;
    // Held texts under these lines go first, unclipped.
    int x0 = left, y0 = tops.front(), x1 = right, y1 = tops.back();
    for (const GapLine& l : lines) {
        x0 = std::min(x0, l.x - 1);
        x1 = std::max(x1, l.x + (l.frame ? l.length : 1) + 1);
    }
    TextBatch::Before(x0, y0, x1, y1);
    const GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
    GLint box[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_SCISSOR_BOX, box);
    glEnable(GL_SCISSOR_TEST);
    for (size_t i = 0; i + 1 < tops.size(); i++) {
        const int g0 = tops[i] + kTrackRowHeight, g1 = tops[i + 1];
        if (g0 >= g1) continue;
        bool clipped = false;
        for (const GapLine& l : lines) {
            const int bottom = l.y + (l.frame ? l.height : l.length); // rows l.y .. bottom - 1 at most
            if (l.y >= g1 || bottom <= g0 || l.x >= right || l.x + (l.frame ? l.length : 1) <= left) continue;
            if (!clipped) glScissor(left, windowHeight - g1, right - left, g1 - g0); // from the window's bottom
            clipped = true;
            if (l.frame)
                drawRect(l.x, l.y, l.length, l.height, l.colour);
            else
                drawVLine(l.x, l.y, l.length, l.colour);
        }
    }
    glScissor(box[0], box[1], box[2], box[3]);
    if (!scissor) glDisable(GL_SCISSOR_TEST);
}

// The time slider's cursor line this pass, for the rows to repeat in their gaps.
struct CursorLine {
    bool drawn = false;
    int x = 0, from = 0, to = 0;
} cursorLine;

// The block of rows the lower panel left unfilled this pass, and its colour.
struct Backdrop {
    bool pending = false;
    uint32_t colour = 0;
} backdrop;

} // namespace

void NoteCursorLine(int x, int from, int to) {
    cursorLine = CursorLine{true, x, from, to};
}

void DrawTimelineRows(const TimelineView& v, uint32_t first, uint32_t last, uint32_t marker, Label* names,
                      const uint32_t* gapColour) {
    EditorApp* app = App();
    if (!app) return;
    std::vector<int> tops;
    first = ShownRowTops(*app, v, first, last, tops);
    if (tops.empty()) return;
    const int left = v.AxisLeft(), right = v.AxisRight();
    const int panelTrack = app->editorScreen.panelTrack;
    // With a gap colour the rows paint their whole block, gaps too, and then
    // repeat in the gaps what was drawn there before them.
    std::vector<GapLine> gapLines;
    if (gapColour && cursorLine.drawn)
        gapLines.push_back({false, cursorLine.x, cursorLine.from, cursorLine.to - cursorLine.from, 0, kWhite});
    cursorLine.drawn = false;

    // What reaches beyond the rows' own pixels: the track panel's frame and its
    // marker, the selected block's outline. Inside the rows the painter repeats
    // them at their place in the drawing order.
    if (panelTrack >= 0 && (uint32_t)panelTrack >= first && (uint32_t)panelTrack <= last &&
        v.RowVisible((uint32_t)panelTrack)) {
        const int y = v.RowTop((uint32_t)panelTrack);
        const bool hidden = app->GetTrackHidden((uint32_t)panelTrack);
        drawRect(108, y - 2, v.width - 116, 16, hidden ? kHiddenSelectedColour : kWhite);
        gapLines.push_back({true, 108, y - 2, v.width - 116, 16, hidden ? kHiddenSelectedColour : kWhite});
        const int mx = v.X(marker);
        if (mx >= left && mx <= right) {
            drawVLine(mx, y - 2, 16, kMarkerColour);
            gapLines.push_back({false, mx, y - 2, 16, 0, kMarkerColour});
        }
    }

    // Rows and blocks in track and event order, as the widgets drew them one
    // by one: the row, the marker, then each block (the selected one's outline
    // just before its fill) and its black left edge.
    RowPainter& painter = Painter();
    painter.Begin(v.AxisLength(), (int)tops.size());
    for (uint32_t k = first; k < first + tops.size(); k++) {
        const int strip = (int)(k - first), y = tops[strip];
        painter.Fill(strip, 0, v.AxisLength(), app->GetTrackHidden(k) ? kHiddenColour : kRowColour);
        if (panelTrack >= 0 && (uint32_t)panelTrack == k) {
            const int mx = v.X(marker);
            if (mx >= left && mx <= right) painter.Fill(strip, mx - left, 1, kMarkerColour);
        }
        const uint32_t n = app->EventCount(k);
        BlockStart before;
        for (uint32_t i = 0; i < n; i++) {
            int bx, bw;
            BlockStart here;
            if (!BlockSpan(v, app->EventStart(k, i), app->EventEnd(k, i), bx, bw, &here.widened)) break;
            here.x = bx;
            const bool joins = i > 0 && JoinsDenseRun(here, before);
            before = here;
            bool cutLeft;
            if (!ClipBlockToAxis(left, right, bx, bw, cutLeft)) continue;
            const bool hidden = app->GetEventHidden(k, i);
            uint32_t fill = hidden ? kHiddenColour : kBlockColour;
            if (IsSelectedEvent(k, i)) {
                fill = hidden ? kHiddenSelectedColour : kSelectedBlockColour;
                drawRect(bx - 2, y - 2, bw + 4, 16, kWhite);
                gapLines.push_back({true, bx - 2, y - 2, bw + 4, 16, kWhite});
                painter.Fill(strip, bx - 2 - left, 1, kWhite);
                painter.Fill(strip, bx + bw + 1 - left, 1, kWhite);
            }
            painter.Fill(strip, bx - left, bw, fill);
            if (!cutLeft && !joins) painter.Fill(strip, bx - left, 1, 0); // the black left edge
        }
    }
    painter.Draw(left, tops, gapColour);
    if (gapColour) RedrawInGaps(gapLines, tops, left, left + v.AxisLength());

    if (!names) return;
    for (uint32_t k = first; k < first + tops.size(); k++) {
        const char* name = app->demo->tracks[k].name;
        if (!name || !name[0]) continue;
        names->x = left + 3;
        names->y = v.RowTop(k) - 1;
        names->text = const_cast<char*>(name);
        names->draw();
    }
    names->text = nullptr;
}

// [SECTION] TimelineRows

TimelineRows::TimelineRows() {
    nameLabel = new Label(0, 0, nullptr, false, kNameColour);
    nameLabel->setFontSize(kNamePixelSize);
}

TimelineRows::~TimelineRows() {
    delete nameLabel;
}

void TimelineRows::TakeOverBlock(uint32_t colour, std::vector<PixelRect>& taken) {
    EditorApp* app = App();
    if (!app || app->TrackCount() == 0) return;
    const TimelineView& v = EditorTimelineView();
    if (v.AxisLength() <= 0) return; // nothing painted
    static std::vector<int> tops;
    ShownRowTops(*app, v, 0, app->TrackCount() - 1, tops);
    if (tops.empty()) return;
    taken.push_back(PixelRect{v.AxisLeft(), tops.front(), v.AxisLength(), tops.back() + kTrackRowHeight - tops.front()});
    backdrop = Backdrop{true, colour};
}

void TimelineRows::draw() {
    // The block the panel left is painted whole; nothing between the panel and
    // the rows moves the view, so it is the block the rows draw.
    const Backdrop taken = backdrop;
    backdrop.pending = false;
    EditorApp* app = App();
    if (!app || app->TrackCount() == 0) return;
    const TimelineView& v = EditorTimelineView();
    DrawTimelineRows(v, 0, app->TrackCount() - 1, app->editorScreen.PanelTrackMarkerTime(), nameLabel,
                     taken.pending ? &taken.colour : nullptr);
    if (v.Zoomed()) {
        int offset, length;
        v.HThumb(offset, length);
        const int y = v.HBarY();
        fillRect(v.AxisLeft(), y, v.AxisLength(), TimelineView::kBarThickness, kBarColour);
        fillRect(v.AxisLeft() + offset, y + 1, length, TimelineView::kBarThickness - 2, kThumbColour);
    }
    if (v.RowsScroll()) {
        int offset, length;
        v.VThumb(offset, length);
        const int x = v.VBarX(), top = v.RowsTop();
        fillRect(x, top, TimelineView::kBarThickness, kTrackRowPitch * (int)v.RowCapacity() - 3, kBarColour);
        fillRect(x + 1, top + offset, TimelineView::kBarThickness - 2, length, kThumbColour);
    }
}

bool TimelineRows::ClickScrollBars(int px, int py, int button) {
    const TimelineView& v = EditorTimelineView();
    if (button != 1) return false;
    if (v.Zoomed() && py >= v.HBarY() && py < v.HBarY() + TimelineView::kBarThickness && px >= v.AxisLeft() &&
        px < v.AxisRight()) {
        BeginScrollBarDrag(true, px, py);
        return true;
    }
    if (v.RowsScroll() && px >= v.VBarX() && px < v.VBarX() + TimelineView::kBarThickness &&
        py >= v.RowsTop() && py < v.RowsTop() + kTrackRowPitch * (int)v.RowCapacity()) {
        BeginScrollBarDrag(false, px, py);
        return true;
    }
    return false;
}

bool TimelineRows::click(int px, int py, int button) {
    EditorApp* app = App();
    if (!app) return false;
    if (ClickScrollBars(px, py, button)) return true;
    uint32_t track;
    if (!EditorTimelineView().TrackAt(py, track)) return false;
    for (int i = 0; i < count; i++) {
        TrackRow* row = dynamic_cast<TrackRow*>(children[i]);
        if (row && row->track == track) return row->click(px, py, button);
    }
    // Beyond the rows a group holds: the same press without a marker to keep.
    TrackRow spare(track);
    return spare.click(px, py, button);
}

// [SECTION] TrackRow

TrackRow::TrackRow(uint32_t track_) : GuiScreen(kQuitKeyEscape), track(track_) {}

void TrackRow::draw() {
    DrawTimelineRows(EditorTimelineView(), track, track, markerTime, nullptr);
}

bool TrackRow::click(int px, int py, int button) {
    EditorApp* app = App();
    if (!app) return false;
    const TimelineView& v = EditorTimelineView();
    if (!v.RowVisible(track)) return false;
    const int y = v.RowTop(track);
    if (button == 1) {
        const int32_t event = BlockAt(track, px, py);
        if (event >= 0) {
            int bx = 0, bw = 0;
            BlockSpan(v, app->EventStart(track, (uint32_t)event), app->EventEnd(track, (uint32_t)event), bx, bw);
            app->editorScreen.SelectEvent((int)track, event);
            BeginBlockDrag(track, (uint32_t)event, GripAt(px, bx, bw), px, py);
            return true;
        }
    }
    if (px < kTimelineLeft || px >= AxisEnd() || py < y || py >= y + kTrackRowHeight) return false;
    if (button == 1) markerTime = SnapToBeat(v.TimeAt(px));
    app->editorScreen.SelectTrack((int)track);
    return true;
}

// [SECTION] TimelineEventBlock

TimelineEventBlock::TimelineEventBlock(uint32_t event_, uint32_t track_)
    : Widget(0, 0, 1, 1, nullptr, nullptr), track(track_), event(event_) {}

void TimelineEventBlock::draw() {
    EditorApp* app = App();
    if (!app || event >= app->EventCount(track)) return;
    const TimelineView& v = EditorTimelineView();
    int bx, bw;
    BlockStart here, before;
    if (!v.RowVisible(track) ||
        !BlockSpan(v, app->EventStart(track, event), app->EventEnd(track, event), bx, bw, &here.widened))
        return;
    here.x = bx;
    int pw;
    const bool joins = event > 0 &&
                       BlockSpan(v, app->EventStart(track, event - 1), app->EventEnd(track, event - 1), before.x,
                                 pw, &before.widened) &&
                       JoinsDenseRun(here, before);
    bool cutLeft;
    if (!ClipBlockToAxis(kTimelineLeft, AxisEnd(), bx, bw, cutLeft)) return;
    const int y = v.RowTop(track);
    const bool hidden = app->GetEventHidden(track, event);
    uint32_t fill = hidden ? kHiddenColour : kBlockColour;
    if (IsSelectedEvent(track, event)) {
        fill = hidden ? kHiddenSelectedColour : kSelectedBlockColour;
        drawRect(bx - 2, y - 2, bw + 4, 16, kWhite);
    }
    fillRect(bx, y, bw, kTrackRowHeight, fill);
    if (!cutLeft && !joins) drawVLine(bx, y, kTrackRowHeight, 0);
}

bool TimelineEventBlock::click(int px, int py, int) {
    EditorApp* app = App();
    if (!app || event >= app->EventCount(track)) return false;
    const TimelineView& v = EditorTimelineView();
    int bx, bw;
    if (!v.RowVisible(track) || !BlockSpan(v, app->EventStart(track, event), app->EventEnd(track, event), bx, bw))
        return false;
    const int y = v.RowTop(track);
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

void EventTimeEditor::Refresh() {
    EditorApp* app = App();
    if (!app || event >= app->EventCount(track)) return;
    const uint32_t s = app->EventStart(track, event), e = app->EventEnd(track, event);
    start = s / 10;
    length = (uint32_t)(e - s) / 10;
    startField->ShowValue();
    lengthField->ShowValue();
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
