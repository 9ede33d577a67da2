// The demo's musical grid as times: beats and bars from a tempo (beats per
// minute, the first beat's time, beats per bar), the nearest beat or bar to a
// time, and bar.beat of a time. Pure arithmetic, no SDL; the editor draws the
// lines, snaps to them and shows bar.beat with it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Tempi outside this range are taken as no tempo: slower has no use for a grid,
// faster puts a beat closer than a millisecond to the next.
const double kMinBeatsPerMinute = 1.0;
const double kMaxBeatsPerMinute = 1000.0;
const uint32_t kMaxBeatsPerBar = 64;

struct BeatGrid {
    double beatMs = 0;      // length of a beat
    double firstBeatMs = 0; // beat 0 (bar 1, beat 1); the grid runs on before it too
    uint32_t beatsPerBar = 4;
};

// A grid for a tempo; false (grid untouched) when beatsPerMinute is no tempo.
// beatsPerBar 0 counts as 4; more than kMaxBeatsPerBar is cut to it.
bool MakeBeatGrid(double beatsPerMinute, double firstBeatMs, uint32_t beatsPerBar, BeatGrid& grid);

// Time of beat n (n < 0: before the first beat).
double BeatTime(const BeatGrid& grid, int64_t n);
// Index of the beat at or before t.
int64_t BeatIndexAtOrBefore(const BeatGrid& grid, double t);
bool IsBarStart(const BeatGrid& grid, int64_t n);

struct GridLine {
    double time; // ms
    bool bar;    // the first beat of a bar
};
// The beats in [t0, t1] in order, at most maxLines (the first ones).
std::vector<GridLine> GridLinesIn(const BeatGrid& grid, double t0, double t1, size_t maxLines);
// Bars only, likewise.
std::vector<GridLine> BarLinesIn(const BeatGrid& grid, double t0, double t1, size_t maxLines);

// The beat (or bar start) nearest to t; halfway goes to the later one.
double NearestBeat(const BeatGrid& grid, double t);
double NearestBar(const BeatGrid& grid, double t);

// Bar and beat of the beat at or before t, counted from 1 at the first beat.
// Bars before the first beat count down from 0.
struct BarBeat {
    int64_t bar;
    uint32_t beat; // 1..beatsPerBar
};
BarBeat BarBeatAt(const BeatGrid& grid, double t);
// "bar.beat", e.g. "3.2".
std::string FormatBarBeat(const BeatGrid& grid, double t);

// Snapping to the grid as it is drawn: beats when they are at least
// minSpacingPx apart at pxPerMs, else bars when those are, else nothing. True
// (and `snapped` set) when the nearest such line is within tolerancePx of t.
bool SnapToGrid(const BeatGrid& grid, double t, double pxPerMs, double tolerancePx, double minSpacingPx,
                double& snapped);
