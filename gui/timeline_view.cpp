// TimelineView: conversions between time and x, the row layout under the time
// slider, zoom and scrolling. Integer formulas divide the way the timeline always
// has (x by integer division, blocks by truncating a double), so the default
// view is the unzoomed timeline to the pixel.
#include "timeline_view.h"

#include <algorithm>
#include <cmath>

namespace {

const int kRowPitch = 15;
const int kRowHeight = 12;
// Rows stay above the "Clear Status" button (H - 25) and the status line.
const int kRowsBottomMargin = 28;
const int kMinThumb = 6;

int64_t FloorDiv(int64_t a, int64_t b) {
    int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) q--;
    return q;
}

int ClampToInt(int64_t v) {
    // Far off the axis is far enough: keeps sums of pixels from overflowing.
    const int64_t kFar = 1 << 24;
    return (int)std::max(-kFar, std::min(kFar, v));
}

} // namespace

void TimelineView::Fit(int w, int h, uint32_t running, uint32_t tracks) {
    width = w;
    height = h;
    runningTime = running;
    trackCount = tracks;
    if (viewSpan != 0 && (runningTime == 0 || viewSpan >= runningTime || AxisLength() <= 0)) viewSpan = 0;
    if (viewSpan == 0)
        viewStart = 0;
    else if (viewStart > runningTime - viewSpan)
        viewStart = runningTime - viewSpan;
    const uint32_t capacity = RowCapacity();
    if (trackCount <= capacity)
        firstRow = 0;
    else if (firstRow > trackCount - capacity)
        firstRow = trackCount - capacity;
}

void TimelineView::Reset() {
    viewStart = viewSpan = firstRow = 0;
}

// [SECTION] Time axis

uint32_t TimelineView::Span() const {
    return viewSpan != 0 ? viewSpan : runningTime;
}

int TimelineView::X(uint32_t t) const {
    const uint32_t span = Span();
    if (span == 0 || AxisLength() <= 0) return AxisLeft();
    const int64_t dt = (int64_t)t - (int64_t)viewStart;
    return ClampToInt(AxisLeft() + FloorDiv(dt * AxisLength(), span));
}

double TimelineView::Scale() const {
    const uint32_t span = Span();
    if (span == 0 || AxisLength() <= 0) return 0;
    return (double)AxisLength() / (double)span;
}

double TimelineView::XExact(uint32_t t) const {
    return ((double)t - (double)viewStart) * Scale() + AxisLeft();
}

uint32_t TimelineView::TimeAt(int x) const {
    const uint32_t span = Span();
    if (span == 0 || AxisLength() <= 0) return 0;
    const int64_t t = (int64_t)viewStart + FloorDiv((int64_t)(x - AxisLeft()) * span, AxisLength());
    return (uint32_t)std::max<int64_t>(0, std::min<int64_t>(t, runningTime));
}

uint32_t TimelineView::MinSpan() const {
    const uint32_t perPixel = (uint32_t)std::max(1, AxisLength());
    return std::min(runningTime, perPixel);
}

void TimelineView::ZoomAround(uint32_t t, int x, double factor) {
    if (runningTime == 0 || AxisLength() <= 0 || !(factor > 0)) return;
    double span = (double)Span() / factor;
    span = std::max(span, (double)MinSpan());
    if (span >= (double)runningTime) {
        viewSpan = viewStart = 0;
        Fit(width, height, runningTime, trackCount);
        return;
    }
    viewSpan = std::max<uint32_t>(1, (uint32_t)span);
    const int64_t before = FloorDiv((int64_t)(x - AxisLeft()) * viewSpan, AxisLength());
    const int64_t start = (int64_t)t - before;
    viewStart = (uint32_t)std::max<int64_t>(0, std::min<int64_t>(start, runningTime - viewSpan));
    Fit(width, height, runningTime, trackCount);
}

void TimelineView::ScrollPixels(int pixels) {
    if (!Zoomed()) return;
    const int64_t start = (int64_t)viewStart + FloorDiv((int64_t)pixels * viewSpan, AxisLength());
    viewStart = (uint32_t)std::max<int64_t>(0, std::min<int64_t>(start, runningTime - viewSpan));
}

void TimelineView::ScrollTo(uint32_t t) {
    if (!Zoomed()) return;
    viewStart = std::min(t, runningTime - viewSpan);
}

// [SECTION] Rows

uint32_t TimelineView::RowCapacity() const {
    int bottom = height - kRowsBottomMargin;
    if (Zoomed()) bottom -= kBarThickness + 2;
    const int n = (bottom - RowsTop() + 3) / kRowPitch;
    return (uint32_t)std::max(1, n);
}

uint32_t TimelineView::ShownRows() const {
    if (firstRow >= trackCount) return 0;
    return std::min(trackCount - firstRow, RowCapacity());
}

int TimelineView::RowTop(uint32_t track) const {
    return RowsTop() + kRowPitch * (int)((int64_t)track - (int64_t)firstRow);
}

bool TimelineView::RowVisible(uint32_t track) const {
    return track >= firstRow && track - firstRow < ShownRows();
}

bool TimelineView::TrackAt(int y, uint32_t& track) const {
    if (y < RowsTop()) return false;
    const uint32_t row = (uint32_t)((y - RowsTop()) / kRowPitch);
    if (row >= ShownRows()) return false;
    track = firstRow + row;
    return true;
}

void TimelineView::ScrollRows(int rows) {
    const int64_t first = (int64_t)firstRow + rows;
    const int64_t last = trackCount > RowCapacity() ? trackCount - RowCapacity() : 0;
    firstRow = (uint32_t)std::max<int64_t>(0, std::min(first, last));
}

// [SECTION] Scroll bars

int TimelineView::RowsBottom() const {
    return RowsTop() + kRowPitch * (int)ShownRows() - 3;
}

int TimelineView::HBarY() const {
    return RowsTop() + kRowPitch * (int)ShownRows() - 1;
}

void TimelineView::HThumb(int& offset, int& length) const {
    const int L = AxisLength();
    if (runningTime == 0 || L <= 0) {
        offset = 0;
        length = std::max(0, L);
        return;
    }
    offset = (int)((int64_t)viewStart * L / runningTime);
    length = std::max(kMinThumb, (int)((int64_t)Span() * L / runningTime));
    offset = std::min(offset, std::max(0, L - length));
}

void TimelineView::VThumb(int& offset, int& length) const {
    const int L = kRowPitch * (int)RowCapacity() - 3;
    if (trackCount == 0) {
        offset = 0;
        length = L;
        return;
    }
    offset = (int)((int64_t)firstRow * L / trackCount);
    length = std::max(kMinThumb, (int)((int64_t)ShownRows() * L / trackCount));
    offset = std::min(offset, std::max(0, L - length));
}
