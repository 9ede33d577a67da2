// TimelineView: the one time-to-pixel mapping and row layout of the timeline.
// Every timeline widget (time slider, blocks, markers, cursor line, curves and
// whatever else is drawn over the rows) converts through it, so zooming and
// scrolling move them all together. The default view (whole demo across the
// axis, first track on top) gives the historical pixels exactly.
#pragma once

#include <cstdint>

struct TimelineView {
    // The window and the demo the view lays out; set with Fit before use.
    int width = 640, height = 480;
    uint32_t runningTime = 0; // ms
    uint32_t trackCount = 0;
    int rowsOffset = 0; // rows start this much lower while the waveform strip is shown

    // What the user changed: the visible time range and the first row shown.
    uint32_t viewStart = 0; // ms at the axis start
    uint32_t viewSpan = 0;  // ms across the axis; 0 = the whole demo
    uint32_t firstRow = 0;

    // Takes the current window size, running time and track count, and keeps
    // the visible range and first row inside them.
    void Fit(int w, int h, uint32_t running, uint32_t tracks);
    void Reset();
    bool IsDefault() const { return viewSpan == 0 && viewStart == 0 && firstRow == 0; }

    // [SECTION] Time axis
    int AxisLeft() const { return 110; }
    int AxisRight() const { return width - 10; }
    int AxisLength() const { return width - 120; }
    // Milliseconds across the axis (the running time in the default view).
    uint32_t Span() const;
    bool Zoomed() const { return viewSpan != 0 && viewSpan < runningTime; }
    // x of time t, by integer division; off the axis when t is outside the view.
    int X(uint32_t t) const;
    // Exact x of time t, for blocks (they truncate it themselves).
    double XExact(uint32_t t) const;
    // Pixels per millisecond (0 without a scale).
    double Scale() const;
    // The time under x, clamped to [0, running time].
    uint32_t TimeAt(int x) const;
    // Zooms by `factor` (>1 = closer) keeping time t under pixel x.
    void ZoomAround(uint32_t t, int x, double factor);
    // Shifts the visible range by `pixels` (positive = later).
    void ScrollPixels(int pixels);
    // Shows `t` at the axis start, as far as the end allows.
    void ScrollTo(uint32_t t);
    // The smallest span a zoom reaches: about one millisecond per pixel.
    uint32_t MinSpan() const;

    // [SECTION] Rows
    int RowsTop() const { return height / 2 + 20 + rowsOffset; }
    // Rows that fit between the time slider and the status line.
    uint32_t RowCapacity() const;
    // Rows shown now (from firstRow, at most RowCapacity).
    uint32_t ShownRows() const;
    bool RowsScroll() const { return trackCount > RowCapacity(); }
    int RowTop(uint32_t track) const;
    bool RowVisible(uint32_t track) const;
    // The track whose row (with its 3 px gap below) holds y; false outside the rows.
    bool TrackAt(int y, uint32_t& track) const;
    void ScrollRows(int rows);

    // [SECTION] Scroll bars (shown only when needed)
    // Horizontal bar under the shown rows, along the axis.
    int HBarY() const;
    static const int kBarThickness = 7;
    // Vertical bar right of the rows, over the rows' height.
    int VBarX() const { return width - 8; }
    int RowsBottom() const; // one past the last shown row's pixels
    // Thumb position and length along a bar of `length` pixels.
    void HThumb(int& offset, int& length) const;
    void VThumb(int& offset, int& length) const;
};

// The editor's view, fitted to the window and the open demo each time it is asked for.
TimelineView& EditorTimelineView();
