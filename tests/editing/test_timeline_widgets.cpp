// The timeline widgets drawn into the real window and read back pixel by pixel:
// rows, blocks, clipping at the axis end, the marker, the parameter curves and
// the motion path, and a running time of 0.
#include <gtest/gtest.h>

#include "editing_fixture.h"
#include "gl_context.h"
#include "timeline.h"

namespace {

const uint32_t kRgb = 0xFFFFFF;

class TimelineWidgets : public ::testing::Test {
  protected:
    EditingFixture e;
    DemoEvent& Ev(int track, int event) { return e.demo().tracks[track].events[event]; }
    uint32_t Pixel(int x, int y) { return GLContext::ReadPixel(x, y, 480) & kRgb; }
    // A point's vertex sits on a pixel corner: one of the four pixels around it is lit.
    bool PointLit(int x, int y, uint32_t colour) {
        for (int dy = -1; dy <= 0; dy++)
            for (int dx = -1; dx <= 0; dx++)
                if (Pixel(x + dx, y + dy) == colour) return true;
        return false;
    }
    void Draw(Widget& w) {
        GLContext::ClearTo(0, 0, 0, 1);
        drawInterface(&w);
    }
};

TEST_F(TimelineWidgets, RowAndBlocksAtTheirTimes) {
    TrackRow row(0);
    row.add(new TimelineEventBlock(0, 0)); // 0..1000: x 110..162
    row.add(new TimelineEventBlock(1, 0)); // 2000..3000: x 214..266
    Draw(row);
    const int y = 266; // row top 260
    EXPECT_EQ(0x707070u, Pixel(300, y));
    EXPECT_EQ(0x60A060u, Pixel(140, y));
    EXPECT_EQ(0x000000u, Pixel(110, y)); // black left edge
    EXPECT_EQ(0x60A060u, Pixel(240, y));
    EXPECT_EQ(0x707070u, Pixel(190, y));
    EXPECT_EQ(0x000000u, Pixel(300, 258)); // no frame: the track is not selected
}

TEST_F(TimelineWidgets, HiddenTrackAndEventAndSelectionColours) {
    TrackRow row(0);
    row.add(new TimelineEventBlock(0, 0));
    row.add(new TimelineEventBlock(1, 0));
    e.app().SetTrackHidden(0, true);
    e.app().SetEventHidden(0, 1, true);
    e.screen().selectedTrack = 0;
    e.screen().selectedEvent = 0;
    Draw(row);
    EXPECT_EQ(0xDC8042u, Pixel(300, 266));
    EXPECT_EQ(0x90FF90u, Pixel(140, 266)); // selected
    EXPECT_EQ(0xFFFFFFu, Pixel(140, 258)); // its white outline
    EXPECT_EQ(0xDC8042u, Pixel(240, 266)); // hidden event
    e.screen().selectedEvent = 1;
    Draw(row);
    EXPECT_EQ(0xFF9200u, Pixel(240, 266)); // selected and hidden
    EXPECT_EQ(0x60A060u, Pixel(140, 266));
}

TEST_F(TimelineWidgets, SelectedRowIsFramedWithTheMarker) {
    e.Click(kRowX, RowY(1));
    TrackRow* row = dynamic_cast<TrackRow*>(e.screen().trackGroup->childAt(1));
    ASSERT_NE(nullptr, row);
    Draw(*row);
    const int top = 275;
    EXPECT_EQ(0xFFFFFFu, Pixel(400, top - 2));
    EXPECT_EQ(0x00FF00u, Pixel(TimelineX(row->markerTime), top - 1));
    EXPECT_EQ(299, TimelineX(row->markerTime)); // 3653 ms at 520 / 10000 px per ms
    e.app().SetTrackHidden(1, true);
    Draw(*row);
    EXPECT_EQ(0xFF9200u, Pixel(400, top - 2));
}

TEST_F(TimelineWidgets, BlockPastTheAxisEndIsCutButHitOverItsWholeWidth) {
    ASSERT_EQ(0, e.app().AddEvent(2, 9500, 0, 2));  // Effect1 9500..10500: x 604, 52 wide
    ASSERT_EQ(1, e.app().AddEvent(2, 10000, 0, 2)); // starts at the axis end: not drawn
    e.screen().RebuildTrackRows(e.app());
    TrackRow* row = dynamic_cast<TrackRow*>(e.screen().trackGroup->childAt(2));
    ASSERT_NE(nullptr, row);
    e.screen().selectedTrack = e.screen().selectedEvent = -1;
    Draw(*row);
    EXPECT_EQ(0x60A060u, Pixel(628, 296));
    EXPECT_EQ(0x000000u, Pixel(630, 296)); // the one at 10000 ms is not drawn
    EXPECT_EQ(0x000000u, Pixel(633, 296));
    e.Click(640 - 8, 296); // beyond the axis, inside the block's full width
    EXPECT_EQ(2, e.screen().selectedTrack);
    EXPECT_EQ(0, e.screen().selectedEvent);
}

TEST_F(TimelineWidgets, ZeroRunningTimeDrawsAndClicksWithoutScale) {
    e.app().SetRunningTime(0);
    e.screen().RebuildTrackRows(e.app());
    e.Click(300, RowY(0)); // no block can be hit: the row is selected, marker 0
    EXPECT_EQ(0, e.screen().panelTrack);
    EXPECT_EQ(0u, e.screen().PanelTrackMarkerTime());
    TrackRow* row = dynamic_cast<TrackRow*>(e.screen().trackGroup->childAt(0));
    ASSERT_NE(nullptr, row);
    Draw(*row);
    EXPECT_EQ(0x707070u, Pixel(140, 266)); // no block drawn
    EXPECT_EQ(0x00FF00u, Pixel(110, 259));
    e.Click(130, RowY(1), 3);
    e.Pump();
}

TEST_F(TimelineWidgets, ParamGraphFlatLineAndRisingCurve) {
    // Effect5 0..1000: PosX 0 -> 1000 rises; PosY 3000 stays.
    ParamGraph graph(0, 0);
    Draw(graph);
    const int x0 = 500;
    EXPECT_EQ(0xFFFFFFu, Pixel(x0 + 20, 17 + 63)); // PosY (row 1) flat at r + 63
    EXPECT_EQ(0x000000u, Pixel(x0 + 20, 17 + 62));
    // PosX: j = 0 at the bottom (value 0), j = 5 (value 500) half way up.
    EXPECT_TRUE(PointLit(x0, 55 + 16, 0xFFFFFF));
    EXPECT_TRUE(PointLit(x0 + 5 * 42 / 10, 55 + 8, 0xFFFFFF));
    EXPECT_EQ(0x000000u, Pixel(x0 + 5 * 42 / 10, 55 + 16));
    // ImageNr (row 2) and Red, Green (rows 3, 4) have no curve.
    for (int x = x0; x < x0 + 42; x++) {
        EXPECT_EQ(0x000000u, Pixel(x, 2 * 17 + 63));
        EXPECT_EQ(0x000000u, Pixel(x, 3 * 17 + 63));
    }
}

TEST_F(TimelineWidgets, ParamGraphOfAnEventEndingBeforeItStartsDrawsOnlyFlatLines) {
    Ev(0, 0).endTime = 0;
    Ev(0, 0).startTime = 500; // as a hand-edited file may have it
    ParamGraph graph(0, 0);
    Draw(graph);
    for (int y = 55; y <= 71; y++) // PosX changes: no span to sample, no curve
        EXPECT_EQ(0x000000u, Pixel(500, y));
    EXPECT_EQ(0xFFFFFFu, Pixel(520, 17 + 63)); // PosY stays: its flat line needs no span
    ParamGraph stale(0, 7);
    Draw(stale);
}

TEST_F(TimelineWidgets, PathOverlayShowsTheChainWhilePaused) {
    e.Click(130, RowY(0)); // Effect5 0..1000, PosX 0 -> 1000, PosY 3000
    PathOverlay overlay;
    e.app().music.playing = false;
    e.app().music.position = 500;
    Draw(overlay);
    // Scale 480 / 600 / 2 = 0.4; at 500 ms PosX 500 -> x 20, PosY 3000 -> y 120.
    EXPECT_EQ(0xFF0000u, Pixel(20, 120));
    EXPECT_EQ(0xFF0000u, Pixel(20, 118));
    EXPECT_EQ(0xFF0000u, Pixel(18, 120));
    // The path points: t = 100 k, x = PosX * 0.04, in orange for the selected event.
    EXPECT_TRUE(PointLit(36, 120, 0xFF8000));

    e.app().music.playing = true;
    Draw(overlay);
    EXPECT_EQ(0x000000u, Pixel(20, 120));
    e.app().music.playing = false;
    e.app().music.position = 1000; // outside the chain's span
    Draw(overlay);
    EXPECT_FALSE(PointLit(36, 120, 0xFF8000));
}

TEST_F(TimelineWidgets, PathOverlayFollowsContinuingEventsInRed) {
    e.Click(130, RowY(0));
    ASSERT_EQ(1, e.app().AddContinuingEvent(0, 0)); // 1000..2000 at PosX 1000
    Ev(0, 1).endValues[0] = 2000;
    e.app().music.position = 1500;
    PathOverlay overlay;
    Draw(overlay);
    EXPECT_TRUE(PointLit(36, 120, 0xFF8000)); // the selected event's own path
    EXPECT_TRUE(PointLit(44, 120, 0xFF0000)); // the next one: t = 1100, PosX 1100
    EXPECT_EQ(0xFF0000u, Pixel(60, 118));     // the cross at 1500 ms, on the event playing then
}

} // namespace
