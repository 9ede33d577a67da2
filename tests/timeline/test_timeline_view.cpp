// TimelineView on its own: the unzoomed mapping against the timeline's
// formulas, zoom around a fixed time, scrolling limits, rows that fit between
// the time slider and the status line, and the snapping search on top of it.
#include <gtest/gtest.h>

#include <algorithm>

#include "demo.h"
#include "snapping.h"
#include "timeline_view.h"
#include "time_readout.h"

namespace {

TimelineView View(int w, int h, uint32_t running, uint32_t tracks) {
    TimelineView v;
    v.Fit(w, h, running, tracks);
    return v;
}

TEST(TimelineView, DefaultViewIsTheWholeDemoAcrossTheAxis) {
    TimelineView v = View(640, 480, 10000, 3);
    EXPECT_TRUE(v.IsDefault());
    EXPECT_FALSE(v.Zoomed());
    EXPECT_EQ(110, v.X(0));
    EXPECT_EQ(299, v.X(3653));   // 3653 * 520 / 10000 = 189.956
    EXPECT_EQ(630, v.X(10000));
    EXPECT_EQ(162, v.X(1000));
    EXPECT_DOUBLE_EQ(1000 * 0.052 + 110, v.XExact(1000));
    EXPECT_EQ(3653u, v.TimeAt(300)); // 190 * 10000 / 520 = 3653.8
    EXPECT_EQ(0u, v.TimeAt(50));     // clamped
    EXPECT_EQ(10000u, v.TimeAt(700));
    EXPECT_EQ(260, v.RowTop(0));
    EXPECT_EQ(290, v.RowTop(2));
}

TEST(TimelineView, ZeroRunningTimeHasNoScale) {
    TimelineView v = View(640, 480, 0, 2);
    EXPECT_EQ(110, v.X(500));
    EXPECT_EQ(0u, v.TimeAt(400));
    EXPECT_EQ(0.0, v.Scale());
    v.ZoomAround(0, 300, 2.0);
    EXPECT_TRUE(v.IsDefault());
}

TEST(TimelineView, ZoomKeepsThePointersTimeUnderIt) {
    TimelineView v = View(800, 600, 600000, 1);
    const uint32_t t = v.TimeAt(400);
    v.ZoomAround(t, 400, 4.0);
    EXPECT_TRUE(v.Zoomed());
    EXPECT_EQ(150000u, v.Span());
    EXPECT_NEAR((double)t, (double)v.TimeAt(400), 150000.0 / 680);
    EXPECT_NEAR(400, v.X(t), 1);
    // Zooming out beyond the whole demo is the default view again.
    v.ZoomAround(t, 400, 1.0 / 8);
    EXPECT_TRUE(v.IsDefault());
}

TEST(TimelineView, ZoomStopsAtAboutAMillisecondPerPixel) {
    TimelineView v = View(800, 600, 600000, 1);
    for (int i = 0; i < 40; i++)
        v.ZoomAround(300000, 450, 2.0);
    EXPECT_EQ(680u, v.Span());
    EXPECT_EQ(300000u, v.TimeAt(450));
    EXPECT_EQ(450, v.X(300000));
}

TEST(TimelineView, ScrollingStaysInsideTheDemo) {
    TimelineView v = View(640, 480, 10000, 1);
    v.ZoomAround(0, 110, 4.0); // 2500 ms across, from 0
    EXPECT_EQ(0u, v.viewStart);
    v.ScrollPixels(-100);
    EXPECT_EQ(0u, v.viewStart);
    v.ScrollPixels(52); // 52 px of 520 = 250 ms
    EXPECT_EQ(250u, v.viewStart);
    v.ScrollPixels(100000);
    EXPECT_EQ(7500u, v.viewStart);
    EXPECT_EQ(630, v.X(10000));
    v.ScrollTo(9000);
    EXPECT_EQ(7500u, v.viewStart);
    // A shorter demo pulls the view back inside it.
    v.Fit(640, 480, 8000, 1);
    EXPECT_EQ(5500u, v.viewStart);
}

TEST(TimelineView, RowsFitAboveTheStatusLineAndScroll) {
    // 800 x 600: rows from 320, 15 apart, ending above y = 572.
    TimelineView v = View(800, 600, 10000, 40);
    EXPECT_EQ(17u, v.RowCapacity());
    EXPECT_TRUE(v.RowsScroll());
    EXPECT_EQ(17u, v.ShownRows());
    EXPECT_LE(v.RowsBottom(), 600 - 28);
    EXPECT_TRUE(v.RowVisible(16));
    EXPECT_FALSE(v.RowVisible(17));
    uint32_t track = 99;
    EXPECT_TRUE(v.TrackAt(320 + 15 * 16 + 5, track));
    EXPECT_EQ(16u, track);
    EXPECT_FALSE(v.TrackAt(320 + 15 * 17 + 5, track));
    v.ScrollRows(100);
    EXPECT_EQ(23u, v.firstRow);
    EXPECT_TRUE(v.RowVisible(39));
    EXPECT_EQ(320, v.RowTop(23));
    v.ScrollRows(-5);
    EXPECT_EQ(18u, v.firstRow);
    // Zoomed, the time scroll bar takes a row's room.
    v.ZoomAround(5000, 400, 2.0);
    EXPECT_EQ(16u, v.RowCapacity());
    EXPECT_LE(v.HBarY() + TimelineView::kBarThickness, 600 - 28);
    // 640 x 480 holds 13 rows; a demo that fits does not scroll.
    TimelineView small = View(640, 480, 10000, 13);
    EXPECT_EQ(13u, small.RowCapacity());
    EXPECT_FALSE(small.RowsScroll());
    small.ScrollRows(3);
    EXPECT_EQ(0u, small.firstRow);
}

TEST(TimelineView, ThumbsShowTheVisiblePart) {
    TimelineView v = View(640, 480, 10000, 26);
    int offset, length;
    v.VThumb(offset, length); // 13 of 26 rows over 13 * 15 - 3 = 192 px
    EXPECT_EQ(0, offset);
    EXPECT_EQ(96, length);
    v.ScrollRows(13);
    v.VThumb(offset, length);
    EXPECT_EQ(96, offset);
    v.ZoomAround(0, 110, 4.0);
    v.ScrollPixels(52 * 4); // 1000 ms
    v.HThumb(offset, length);
    EXPECT_EQ(52, offset);  // 1000 of 10000 over 520 px
    EXPECT_EQ(130, length); // 2500 of 10000
}

TEST(Snapping, NearestCandidateWithinFivePixels) {
    TimelineView v = View(640, 480, 10000, 1); // 0.052 px per ms: 5 px = 96.15 ms
    const std::vector<uint32_t> c = {1000, 1150, 4000};
    uint32_t t = 1070, d = 0;
    EXPECT_TRUE(SnapTime(t, c, v, kSnapPixels, &d));
    EXPECT_EQ(1000u, t); // 70 ms away, 1150 is 80
    EXPECT_EQ(70u, d);
    t = 3903;
    EXPECT_FALSE(SnapTime(t, c, v)); // 97 ms: just beyond 5 px
    EXPECT_EQ(3903u, t);
    t = 3904;
    EXPECT_TRUE(SnapTime(t, c, v));
    EXPECT_EQ(4000u, t);
    // Zoomed in 10 times, 5 px is 9.6 ms.
    v.ZoomAround(1000, 300, 10.0);
    t = 1012;
    EXPECT_FALSE(SnapTime(t, c, v));
    t = 1009;
    EXPECT_TRUE(SnapTime(t, c, v));
    EXPECT_EQ(1000u, t);
}

TEST(Snapping, CandidatesAreEdgesCursorAndTheExtraSource) {
    DemoStruct demo = DemoStruct();
    DemoTrack tracks[2] = {};
    DemoEvent a[2] = {}, b[1] = {};
    a[0].startTime = 100, a[0].endTime = 900;
    a[1].startTime = 2000, a[1].endTime = 2600;
    b[0].startTime = 5000, b[0].endTime = 7000;
    tracks[0].events = a, tracks[0].eventCount = 2;
    tracks[1].events = b, tracks[1].eventCount = 1;
    demo.tracks = tracks, demo.trackCount = 2;
    std::vector<uint32_t> c = SnapCandidates(&demo, 0, 1, 3333, 0, 6000);
    std::sort(c.begin(), c.end());
    EXPECT_EQ((std::vector<uint32_t>{100, 900, 3333, 5000}), c); // the dragged event's own edges left out
    SetExtraSnapSource([](uint32_t from, uint32_t to, std::vector<uint32_t>& out) {
        for (uint32_t beat = 0; beat <= to; beat += 500)
            if (beat >= from) out.push_back(beat);
    });
    c = SnapCandidates(&demo, -1, -1, 0, 4000, 5200);
    std::sort(c.begin(), c.end());
    EXPECT_EQ((std::vector<uint32_t>{4000, 4500, 5000, 5000}), c);
    SetExtraSnapSource(nullptr);
    EXPECT_EQ(1u, SnapCandidates(&demo, -1, -1, 0, 4000, 5200).size());
}

TEST(TimeReadout, MinutesSecondsHundredths) {
    EXPECT_EQ("0:00.00", FormatTimeReadout(0));
    EXPECT_EQ("1:05.32", FormatTimeReadout(65329));
    EXPECT_EQ("10:00.00", FormatTimeReadout(600000));
    EXPECT_EQ("0:59.99", FormatTimeReadout(59999));
    EXPECT_EQ("71582:47.29", FormatTimeReadout(UINT32_MAX));
}

} // namespace
