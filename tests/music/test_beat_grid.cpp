// The beat grid against times worked out by hand from the tempo.
#include <gtest/gtest.h>

#include <cmath>

#include "music.h"

namespace {

BeatGrid Grid(double bpm, double first, uint32_t perBar) {
    BeatGrid grid;
    EXPECT_TRUE(MakeBeatGrid(bpm, first, perBar, grid));
    return grid;
}

TEST(BeatGrid, BeatsAndBarsAt128BeatsAMinute) {
    const BeatGrid g = Grid(128, 0, 4); // a beat is 60000 / 128 = 468.75 ms, a bar 1875 ms
    EXPECT_DOUBLE_EQ(468.75, g.beatMs);
    EXPECT_DOUBLE_EQ(1406.25, BeatTime(g, 3));
    const std::vector<GridLine> lines = GridLinesIn(g, 0, 2000, 100);
    ASSERT_EQ(5u, lines.size());
    const double times[5] = {0, 468.75, 937.5, 1406.25, 1875};
    for (int i = 0; i < 5; i++) {
        EXPECT_DOUBLE_EQ(times[i], lines[i].time);
        EXPECT_EQ(i == 0 || i == 4, lines[i].bar) << i;
    }
    const std::vector<GridLine> bars = BarLinesIn(g, 100, 6000, 100);
    ASSERT_EQ(3u, bars.size()); // 1875, 3750, 5625
    EXPECT_DOUBLE_EQ(1875, bars[0].time);
    EXPECT_DOUBLE_EQ(5625, bars[2].time);
    EXPECT_TRUE(bars[1].bar);
}

TEST(BeatGrid, NearestBeatAndBar) {
    const BeatGrid g = Grid(128, 0, 4);
    EXPECT_DOUBLE_EQ(468.75, NearestBeat(g, 700));    // 231.25 past it, under half a beat
    EXPECT_DOUBLE_EQ(937.5, NearestBeat(g, 703.125)); // exactly half way: the later one
    EXPECT_DOUBLE_EQ(937.5, NearestBeat(g, 710));
    EXPECT_DOUBLE_EQ(0, NearestBeat(g, -100)); // -468.75 is further
    EXPECT_DOUBLE_EQ(1875, NearestBar(g, 1000));
    EXPECT_DOUBLE_EQ(0, NearestBar(g, 900));

    const BeatGrid h = Grid(120, 250, 3);        // beat 500 ms, bar 1500 ms, bars at 250, 1750, ...
    EXPECT_DOUBLE_EQ(1750, NearestBar(h, 1000)); // 750 from both: the later one
    EXPECT_DOUBLE_EQ(250, NearestBar(h, 999));
    EXPECT_DOUBLE_EQ(-250, NearestBeat(h, -300)); // the grid runs on before the first beat
}

TEST(BeatGrid, BarDotBeat) {
    const BeatGrid g = Grid(128, 0, 4);
    EXPECT_EQ("1.1", FormatBarBeat(g, 0));
    EXPECT_EQ("1.4", FormatBarBeat(g, 1406.25));
    EXPECT_EQ("1.4", FormatBarBeat(g, 1874.9));
    EXPECT_EQ("2.1", FormatBarBeat(g, 1875));
    EXPECT_EQ("57.1", FormatBarBeat(g, 105000)); // 56 bars of 1875 ms

    const BeatGrid h = Grid(120, 250, 3);
    EXPECT_EQ("0.3", FormatBarBeat(h, 100)); // the pick-up beat at -250
    EXPECT_EQ("0.2", FormatBarBeat(h, -300));
    EXPECT_EQ("2.1", FormatBarBeat(h, 1750));
    const BarBeat b = BarBeatAt(h, 2300); // beat 4 (at 2250): bar 2, beat 2
    EXPECT_EQ(2, b.bar);
    EXPECT_EQ(2u, b.beat);
}

TEST(BeatGrid, BeatTimesThatAreNotWholeMilliseconds) {
    const BeatGrid g = Grid(90, 0, 4); // 666.666... ms a beat
    for (int64_t n = 0; n < 1000; n++) {
        ASSERT_EQ(n, BeatIndexAtOrBefore(g, BeatTime(g, n))) << n;
        ASSERT_EQ(n - 1, BeatIndexAtOrBefore(g, BeatTime(g, n) - 0.01)) << n;
    }
    const std::vector<GridLine> lines = GridLinesIn(g, BeatTime(g, 7), BeatTime(g, 9), 100);
    ASSERT_EQ(3u, lines.size()); // both ends included
    EXPECT_TRUE(lines[1].bar);   // beat 8
}

TEST(BeatGrid, NoTempoAndBadInput) {
    BeatGrid g;
    EXPECT_FALSE(MakeBeatGrid(0, 0, 4, g));
    EXPECT_FALSE(MakeBeatGrid(-120, 0, 4, g));
    EXPECT_FALSE(MakeBeatGrid(0.5, 0, 4, g));
    EXPECT_FALSE(MakeBeatGrid(1000.5, 0, 4, g));
    EXPECT_FALSE(MakeBeatGrid(NAN, 0, 4, g));
    EXPECT_FALSE(MakeBeatGrid(INFINITY, 0, 4, g));
    EXPECT_FALSE(MakeBeatGrid(120, INFINITY, 4, g));
    EXPECT_DOUBLE_EQ(0, g.beatMs); // untouched
    ASSERT_TRUE(MakeBeatGrid(120, 0, 0, g));
    EXPECT_EQ(4u, g.beatsPerBar); // 0 counts as 4
    ASSERT_TRUE(MakeBeatGrid(120, 0, 1000, g));
    EXPECT_EQ(kMaxBeatsPerBar, g.beatsPerBar);
    EXPECT_EQ(10u, GridLinesIn(g, 0, 4e9, 10).size()); // bounded
    EXPECT_TRUE(GridLinesIn(g, 100, 50, 10).empty());
    EXPECT_TRUE(GridLinesIn(g, 10, 20, 10).empty());          // no beat between 10 and 20
    EXPECT_TRUE(GridLinesIn(BeatGrid(), 0, 100, 10).empty()); // a grid without beats
}

} // namespace

namespace {

TEST(BeatGrid, SnapsToTheLinesThatAreDrawn) {
    const BeatGrid g = Grid(128, 0, 4);
    double t = -1;
    // 0.1 px per ms: beats 46.875 px apart; 5 px is 50 ms.
    EXPECT_TRUE(SnapToGrid(g, 500, 0.1, 5, 6, t));
    EXPECT_DOUBLE_EQ(468.75, t);
    EXPECT_FALSE(SnapToGrid(g, 600, 0.1, 5, 6, t)); // 131.25 ms = 13 px away
    // 0.01 px per ms: beats 4.7 px apart (not drawn), bars 18.75 px: bars only.
    EXPECT_TRUE(SnapToGrid(g, 1500, 0.01, 5, 6, t));
    EXPECT_DOUBLE_EQ(1875, t);                        // 3.75 px away
    EXPECT_FALSE(SnapToGrid(g, 1000, 0.01, 5, 6, t)); // 8.75 px from the bar at 1875
    // 0.002 px per ms: bars 3.75 px apart, nothing is drawn, nothing snaps.
    EXPECT_FALSE(SnapToGrid(g, 1870, 0.002, 5, 6, t));
    EXPECT_FALSE(SnapToGrid(BeatGrid(), 500, 0.1, 5, 6, t));
    EXPECT_FALSE(SnapToGrid(g, 500, 0, 5, 6, t));
}

} // namespace
