// Beat and bar times of a tempo. Beat n is at firstBeat + n * beatMs for every
// integer n, so the grid also runs back before the first beat (a pick-up);
// bars start at the beats whose index is a multiple of beatsPerBar.
#include "beat_grid.h"

#include <cmath>
#include <cstdio>

namespace {
// A time computed as BeatTime(n) may come back a hair under the beat: it still
// belongs to beat n.
const double kEpsilonMs = 1e-6;

// Beat indices stay far inside int64_t even for absurd times.
int64_t ToIndex(double x) {
    if (!(x > -1e15)) return (int64_t)-1e15;
    if (x > 1e15) return (int64_t)1e15;
    return (int64_t)x;
}

int64_t FloorDiv(int64_t a, int64_t b) {
    int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) q--;
    return q;
}

// Index of the nearest multiple of `step` beats to t; halfway goes up.
int64_t NearestIndex(const BeatGrid& grid, double t, int64_t step) {
    if (grid.beatMs <= 0) return 0;
    const double span = grid.beatMs * (double)step;
    return ToIndex(std::floor((t - grid.firstBeatMs) / span + 0.5 + kEpsilonMs / span)) * step;
}

std::vector<GridLine> LinesIn(const BeatGrid& grid, double t0, double t1, size_t maxLines, int64_t step) {
    std::vector<GridLine> lines;
    if (grid.beatMs <= 0 || !(t1 >= t0)) return lines;
    const double span = grid.beatMs * (double)step;
    int64_t k = ToIndex(std::ceil((t0 - grid.firstBeatMs) / span - kEpsilonMs / span));
    for (; lines.size() < maxLines; k++) {
        const int64_t n = k * step;
        const double t = BeatTime(grid, n);
        if (t > t1 + kEpsilonMs) break;
        lines.push_back({t, IsBarStart(grid, n)});
    }
    return lines;
}
} // namespace

bool MakeBeatGrid(double beatsPerMinute, double firstBeatMs, uint32_t beatsPerBar, BeatGrid& grid) {
    if (!std::isfinite(beatsPerMinute) || beatsPerMinute < kMinBeatsPerMinute ||
        beatsPerMinute > kMaxBeatsPerMinute || !std::isfinite(firstBeatMs))
        return false;
    grid.beatMs = 60000.0 / beatsPerMinute;
    grid.firstBeatMs = firstBeatMs;
    grid.beatsPerBar = beatsPerBar == 0 ? 4 : (beatsPerBar > kMaxBeatsPerBar ? kMaxBeatsPerBar : beatsPerBar);
    return true;
}

double BeatTime(const BeatGrid& grid, int64_t n) {
    return grid.firstBeatMs + (double)n * grid.beatMs;
}

int64_t BeatIndexAtOrBefore(const BeatGrid& grid, double t) {
    if (grid.beatMs <= 0) return 0;
    return ToIndex(std::floor((t - grid.firstBeatMs) / grid.beatMs + kEpsilonMs / grid.beatMs));
}

bool IsBarStart(const BeatGrid& grid, int64_t n) {
    return n % (int64_t)grid.beatsPerBar == 0;
}

std::vector<GridLine> GridLinesIn(const BeatGrid& grid, double t0, double t1, size_t maxLines) {
    return LinesIn(grid, t0, t1, maxLines, 1);
}

std::vector<GridLine> BarLinesIn(const BeatGrid& grid, double t0, double t1, size_t maxLines) {
    return LinesIn(grid, t0, t1, maxLines, (int64_t)grid.beatsPerBar);
}

double NearestBeat(const BeatGrid& grid, double t) {
    return BeatTime(grid, NearestIndex(grid, t, 1));
}

double NearestBar(const BeatGrid& grid, double t) {
    return BeatTime(grid, NearestIndex(grid, t, (int64_t)grid.beatsPerBar));
}

BarBeat BarBeatAt(const BeatGrid& grid, double t) {
    const int64_t n = BeatIndexAtOrBefore(grid, t);
    const int64_t perBar = (int64_t)grid.beatsPerBar;
    const int64_t bar = FloorDiv(n, perBar);
    BarBeat result;
    result.bar = bar + 1;
    result.beat = (uint32_t)(n - bar * perBar) + 1;
    return result;
}

std::string FormatBarBeat(const BeatGrid& grid, double t) {
    const BarBeat b = BarBeatAt(grid, t);
    char text[48];
    snprintf(text, sizeof text, "%lld.%u", (long long)b.bar, b.beat);
    return text;
}

bool SnapToGrid(const BeatGrid& grid, double t, double pxPerMs, double tolerancePx, double minSpacingPx,
                double& snapped) {
    if (grid.beatMs <= 0 || !(pxPerMs > 0)) return false;
    double line;
    if (grid.beatMs * pxPerMs >= minSpacingPx)
        line = NearestBeat(grid, t);
    else if (grid.beatMs * grid.beatsPerBar * pxPerMs >= minSpacingPx)
        line = NearestBar(grid, t);
    else
        return false;
    if (std::fabs(line - t) * pxPerMs > tolerancePx) return false;
    snapped = line;
    return true;
}
