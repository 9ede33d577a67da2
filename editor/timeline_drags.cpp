// The timeline's drags. A block drag keeps the event's original times and
// works out every position from them and the pointer's travel, so snapping and
// the move between tracks never accumulate rounding. Nothing is recorded for
// undo until the pointer has really moved.
#include "timeline_drags.h"

#include <SDL/SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "app.h"
#include "snapping.h"
#include "timeline.h"

namespace {

const int kDragThreshold = 3;     // pixels before a press becomes a drag
const uint32_t kMinLength = 10;   // ms: one step of the panel's length field
const int kEdgeGrip = 3;          // pixels
const int kNarrowBlock = 3 * kEdgeGrip;

bool SnappingOn() {
    return !(SDL_GetModState() & KMOD_SHIFT);
}

// The event panel shows the dragged event: rebuilt when the event moved in its
// track's order or to another track, else its time fields refreshed.
void ShowDraggedEvent(EditorApp& app, uint32_t track, uint32_t event, bool rebuildRows) {
    EditorScreen& s = app.editorScreen;
    if (rebuildRows) s.RebuildTrackRows(app);
    if (s.selectedTrack != (int)track || s.selectedEvent != (int)event) {
        s.SelectEvent((int)track, (int)event);
        return;
    }
    for (int i = 0; s.panelGroup && i < s.panelGroup->childCount(); i++)
        if (EventTimeEditor* times = dynamic_cast<EventTimeEditor*>(s.panelGroup->childAt(i))) times->Refresh();
}

class BlockDrag : public PointerDrag {
  public:
    BlockDrag(uint32_t track_, uint32_t event_, BlockGrip grip_, int px, int py)
        : track(track_), event(event_), grip(grip_), pressX(px), pressY(py) {
        const DemoEvent* e = App()->GetEvent(track, event);
        start = e ? e->startTime : 0;
        end = e ? e->endTime : 0;
    }

    void move(int x, int y) override {
        EditorApp* app = App();
        if (!app || !app->demo) return;
        if (!started) {
            if (abs(x - pressX) < kDragThreshold && abs(y - pressY) < kDragThreshold) return;
            started = true;
            app->RecordEdit(grip == BlockGrip::kMove ? "Move Event" : "Resize Event");
        }
        DemoEvent* e = app->GetEvent(track, event);
        const TimelineView& v = EditorTimelineView();
        if (!e || v.Scale() <= 0) return;
        const int64_t delta = std::llround((x - pressX) / v.Scale());
        uint32_t s = start, t = end;
        switch (grip) {
        case BlockGrip::kMove: Move(delta, s, t); break;
        case BlockGrip::kStart: MoveStart(delta, s); break;
        case BlockGrip::kEnd: MoveEnd(delta, t); break;
        }
        e->startTime = s;
        e->endTime = t;
        const uint32_t oldTrack = track;
        if (grip == BlockGrip::kMove) ChangeTrack(*app, y);
        event = (uint32_t)app->SortTrackEvents(track, (int32_t)event);
        ShowDraggedEvent(*app, track, event, track != oldTrack);
    }

    void release(int x, int y) override {
        move(x, y);
        if (started && App()) App()->DropEditIfUnchanged();
    }

  private:
    std::vector<uint32_t> Candidates(uint32_t from, uint32_t to) const {
        const TimelineView& v = EditorTimelineView();
        const uint32_t reach = (uint32_t)std::ceil(kSnapPixels / v.Scale()) + 1;
        EditorApp* app = App();
        return SnapCandidates(app->demo, (int)track, (int)event, app->music.position,
                              from > reach ? from - reach : 0, to > UINT32_MAX - reach ? UINT32_MAX : to + reach);
    }

    static uint32_t Offset(uint32_t base, int64_t delta, uint32_t lo, uint32_t hi) {
        const int64_t v = (int64_t)base + delta;
        return (uint32_t)std::max<int64_t>(lo, std::min<int64_t>(v, hi));
    }

    void Move(int64_t delta, uint32_t& s, uint32_t& t) const {
        const uint32_t length = end >= start ? end - start : 0;
        s = Offset(start, delta, 0, UINT32_MAX - length);
        t = s + length;
        if (!SnappingOn()) return;
        const std::vector<uint32_t> c = Candidates(s, t);
        uint32_t snappedStart = s, snappedEnd = t, ds = 0, de = 0;
        const bool byStart = SnapTime(snappedStart, c, EditorTimelineView(), kSnapPixels, &ds);
        const bool byEnd = SnapTime(snappedEnd, c, EditorTimelineView(), kSnapPixels, &de) &&
                           snappedEnd >= length;
        if (byStart && (!byEnd || ds <= de)) {
            s = snappedStart;
        } else if (byEnd) {
            s = snappedEnd - length;
        }
        t = s + length;
    }

    void MoveStart(int64_t delta, uint32_t& s) const {
        const uint32_t limit = end >= kMinLength ? end - kMinLength : 0;
        s = Offset(start, delta, 0, limit);
        if (SnappingOn()) {
            SnapTime(s, Candidates(s, s), EditorTimelineView());
            s = std::min(s, limit);
        }
    }

    void MoveEnd(int64_t delta, uint32_t& t) const {
        const uint32_t floor = start > UINT32_MAX - kMinLength ? UINT32_MAX : start + kMinLength;
        t = Offset(end, delta, floor, UINT32_MAX);
        if (SnappingOn()) {
            SnapTime(t, Candidates(t, t), EditorTimelineView());
            t = std::max(t, floor);
        }
    }

    // The row under the pointer, or the nearest shown one above or below the rows.
    void ChangeTrack(EditorApp& app, int y) {
        const TimelineView& v = EditorTimelineView();
        if (v.ShownRows() == 0) return;
        uint32_t target;
        if (!v.TrackAt(y, target)) target = y < v.RowsTop() ? v.firstRow : v.firstRow + v.ShownRows() - 1;
        if (target == track || target >= app.TrackCount()) return;
        const int32_t moved = app.MoveEventToTrack(track, event, target);
        if (moved < 0) return;
        track = target;
        event = (uint32_t)moved;
    }

    uint32_t track, event;
    BlockGrip grip;
    int pressX, pressY;
    uint32_t start, end; // the event's times when the press came
    bool started = false;
};

class ScrubDrag : public PointerDrag {
  public:
    explicit ScrubDrag(int* value_) : value(value_) {}
    void move(int x, int) override {
        if (value) *value = (int)SnapToBeat(EditorTimelineView().TimeAt(x)); // the time cursor keeps to the beats
    }
    void release(int x, int y) override { move(x, y); }

  private:
    int* value;
};

class ScrollBarDrag : public PointerDrag {
  public:
    ScrollBarDrag(bool horizontal_, int grab_) : horizontal(horizontal_), grab(grab_) {}
    void move(int x, int y) override {
        TimelineView& v = EditorTimelineView();
        if (horizontal) {
            const int thumb = x - v.AxisLeft() - grab;
            if (v.AxisLength() > 0) v.ScrollTo((uint32_t)std::max<int64_t>(0, (int64_t)thumb * v.runningTime / v.AxisLength()));
        } else {
            const int length = 15 * (int)v.RowCapacity() - 3;
            const int thumb = y - v.RowsTop() - grab;
            const int64_t row = length > 0 ? ((int64_t)thumb * v.trackCount + length / 2) / length : 0;
            v.ScrollRows((int)(std::max<int64_t>(0, row) - (int64_t)v.firstRow));
        }
    }
    void release(int x, int y) override { move(x, y); }

  private:
    bool horizontal;
    int grab; // pixels from the thumb's start to the pointer
};

} // namespace

BlockGrip GripAt(int px, int bx, int bw) {
    if (bw < kNarrowBlock) {
        if (px < bx) return BlockGrip::kStart;
        if (px >= bx + bw) return BlockGrip::kEnd;
        return BlockGrip::kMove;
    }
    if (px < bx + kEdgeGrip) return BlockGrip::kStart;
    if (px >= bx + bw - kEdgeGrip) return BlockGrip::kEnd;
    return BlockGrip::kMove;
}

void BeginBlockDrag(uint32_t track, uint32_t event, BlockGrip grip, int pressX, int pressY) {
    if (!App() || !App()->GetEvent(track, event)) return;
    BeginPointerDrag(new BlockDrag(track, event, grip, pressX, pressY));
}

void BeginScrubDrag(int* value) {
    BeginPointerDrag(new ScrubDrag(value));
}

void BeginScrollBarDrag(bool horizontal, int px, int py) {
    const TimelineView& v = EditorTimelineView();
    int offset, length;
    int grab;
    if (horizontal) {
        v.HThumb(offset, length);
        const int along = px - v.AxisLeft();
        grab = along >= offset && along < offset + length ? along - offset : length / 2;
    } else {
        v.VThumb(offset, length);
        const int along = py - v.RowsTop();
        grab = along >= offset && along < offset + length ? along - offset : length / 2;
    }
    ScrollBarDrag* drag = new ScrollBarDrag(horizontal, grab);
    drag->move(px, py);
    BeginPointerDrag(drag);
}
