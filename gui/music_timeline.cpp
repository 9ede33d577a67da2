// The music on the timeline: waveform strip, beat grid lines, loop range and
// markers on the time slider, and beat snapping. Everything is placed with
// TimelineX and TrackRowTop, so it follows the rows and blocks.
#include "music_timeline.h"

#include <cmath>

#include <GL/gl.h>
#include <SDL/SDL.h>

#include "app.h"
#include "music.h"
#include "oglstate.h"
#include "text_batch.h"
#include "timeline.h"

namespace {

const uint32_t kStripBackground = 0xFF181828;
const uint32_t kWaveColour = 0xFF60B0E0;
const uint32_t kStripAxisColour = 0xFF304050;
const uint32_t kAnalysingColour = 0xFFB0B0B0;
const uint32_t kBeatLineColour = 0x38FFFFFF;
const uint32_t kBarLineColour = 0x90FFFFFF;
const uint32_t kLoopOnColour = 0xFF3070E0;
const uint32_t kLoopOffColour = 0xFF38405C;
const uint32_t kMarkerColour = 0xFFFFD040;
const int kMarkerHitPixels = 3;
// Most grid lines drawn in one pass: more than a window has columns.
const size_t kMaxGridLines = 8192;

uint32_t RunningTime() {
    EditorApp* app = App();
    return app ? app->GetRunningTime() : 0;
}

const DemoStruct* Demo() {
    EditorApp* app = App();
    return app ? app->demo : nullptr;
}

// Lines batched under one colour, for many columns at a time.
void BeginLines(uint32_t colour) {
    TextBatch::Flush(); // held texts go first: these lines may cross them
    OGLState::PushColor(colour);
    glBegin(GL_LINES);
}
void VerticalLine(int x, int y0, int y1) { // y0..y1 inclusive
    glVertex2d(x + 0.5, y0 + 0.5);
    glVertex2d(x + 0.5, y1 + 1.5);
}
void EndLines() {
    glEnd();
    OGLState::PopColor();
}

// The first millisecond of 0..limit that TimelineX puts at or right of column x
// (limit + 1 when none): a column then holds exactly the times whose blocks
// would start in it.
uint32_t FirstTimeAtOrRightOf(int x, uint32_t limit) {
    uint64_t lo = 0, hi = (uint64_t)limit + 1;
    while (lo < hi) {
        const uint64_t mid = (lo + hi) / 2;
        if (TimelineX((uint32_t)mid) >= x)
            hi = mid;
        else
            lo = mid + 1;
    }
    return (uint32_t)lo;
}

} // namespace

MusicViewState& MusicView() {
    static MusicViewState state;
    return state;
}

int WaveformStripTop() {
    return windowHeight / 2 + 20;
}

int WaveformRowsOffset() {
    return MusicView().waveformShown ? kWaveformStripHeight + kWaveformStripGap : 0;
}

bool DemoBeatGrid(BeatGrid& grid) {
    const DemoStruct* demo = Demo();
    if (!demo || demo->tempo.beatsPerMinute == 0) return false;
    return MakeBeatGrid(demo->tempo.beatsPerMinute, demo->tempo.firstBeat, demo->tempo.beatsPerBar, grid);
}

// Both come from the timeline's view, so they follow its zoom and scrolling.
double TimelinePixelsPerMs() {
    return EditorTimelineView().Scale();
}

double TimelineTimeAtColumn(int x) {
    const TimelineView& v = EditorTimelineView();
    const double f = v.Scale();
    return f > 0 ? (double)v.viewStart + (double)(x - v.AxisLeft()) / f : 0;
}

bool BeatSnapTarget(uint32_t t, uint32_t& target) {
    BeatGrid grid;
    double snapped = 0;
    if (!DemoBeatGrid(grid) ||
        !SnapToGrid(grid, t, TimelinePixelsPerMs(), kBeatSnapDistance, kMinGridSpacing, snapped))
        return false;
    if (snapped < 0 || snapped > RunningTime()) return false;
    target = (uint32_t)std::lround(snapped);
    return true;
}

void AddBeatSnapCandidates(uint32_t from, uint32_t to, std::vector<uint32_t>& out) {
    BeatGrid grid;
    const double f = TimelinePixelsPerMs();
    if (!DemoBeatGrid(grid) || f <= 0 || to < from) return;
    // The lines as drawn: beats when far enough apart, else bars, else none.
    const bool beats = grid.beatMs * f >= kMinGridSpacing;
    if (!beats && grid.beatMs * grid.beatsPerBar * f < kMinGridSpacing) return;
    const std::vector<GridLine> lines =
        beats ? GridLinesIn(grid, from, to, kMaxGridLines) : BarLinesIn(grid, from, to, kMaxGridLines);
    for (const GridLine& line : lines)
        if (line.time >= 0 && line.time <= RunningTime()) out.push_back((uint32_t)std::lround(line.time));
}

uint32_t SnapToBeat(uint32_t t) {
    uint32_t target = t;
    if (SDL_GetModState() & KMOD_SHIFT) return t;
    return BeatSnapTarget(t, target) ? target : t;
}

// [SECTION] WaveformStrip

// Kept while the time axis and the table stay as they are.
struct WaveformStrip::Columns {
    std::shared_ptr<const PeakTable> table;
    int key[3] = {-1, -1, -1}; // where 0 and the end fall, and the running time
    std::vector<PeakRange> ranges;
};

WaveformStrip::WaveformStrip() : Widget(0, 0, 1, 1, nullptr, nullptr), cache(new Columns) {
    analysing = new Label(kTimelineLeft + 6, WaveformStripTop() + 8, "analysing music...", kAnalysingColour);
}

WaveformStrip::~WaveformStrip() {
    delete analysing;
}

void WaveformStrip::draw() {
    EditorApp* app = App();
    if (!app || !MusicView().waveformShown) return;
    const int top = WaveformStripTop(), length = EditorTimelineView().AxisLength();
    if (length <= 0) return;
    fillRect(kTimelineLeft, top, length, kWaveformStripHeight, kStripBackground);
    const int middle = top + kWaveformStripHeight / 2;
    drawHLine(kTimelineLeft, middle, length - 1, kStripAxisColour);

    std::shared_ptr<const PeakTable> peaks = app->music.Peaks();
    if (!peaks) {
        const MusicLoad* load = app->music.Music();
        if (load && !load->Failed()) analysing->draw();
        return;
    }
    // The columns hold while the time axis and the table stay as they are.
    const uint32_t R = RunningTime();
    if (R == 0) return;
    const int key[3] = {TimelineX(0), TimelineX(R), (int)R};
    std::vector<PeakRange>& columns = cache->ranges;
    if (peaks != cache->table || key[0] != cache->key[0] || key[1] != cache->key[1] ||
        key[2] != cache->key[2] || length != (int)columns.size()) {
        cache->table = peaks;
        for (int i = 0; i < 3; i++)
            cache->key[i] = key[i];
        columns.assign((size_t)length, PeakRange());
        uint32_t t0 = FirstTimeAtOrRightOf(kTimelineLeft, R);
        for (int i = 0; i < length; i++) {
            const uint32_t t1 = FirstTimeAtOrRightOf(kTimelineLeft + i + 1, R);
            // A column narrower than a millisecond shows the millisecond it is in.
            columns[i] = peaks->RangeMs(t0, t1 > t0 ? t1 : t0 + 1);
            t0 = t1;
        }
    }
    const int half = kWaveformStripHeight / 2 - 1;
    BeginLines(kWaveColour);
    for (int i = 0; i < (int)columns.size(); i++) {
        const PeakRange& c = columns[i];
        if (!c.valid) continue;
        const int y0 = middle - (int)std::lround(c.max * half);
        const int y1 = middle - (int)std::lround(c.min * half);
        VerticalLine(kTimelineLeft + i, y0, y1 < y0 ? y0 : y1);
    }
    EndLines();
}

// [SECTION] BeatGridOverlay

BeatGridOverlay::BeatGridOverlay() : Widget(0, 0, 1, 1, nullptr, nullptr) {}

void BeatGridOverlay::draw() {
    EditorApp* app = App();
    BeatGrid grid;
    if (!app || !DemoBeatGrid(grid)) return;
    const double f = TimelinePixelsPerMs();
    const uint32_t tracks = app->TrackCount();
    if (f <= 0 || tracks == 0) return;
    const bool beats = grid.beatMs * f >= kMinGridSpacing;
    const bool bars = grid.beatMs * grid.beatsPerBar * f >= kMinGridSpacing;
    if (!bars) return;
    // Over the rows, and over the waveform while it is shown.
    const TimelineView& v = EditorTimelineView();
    const int top = MusicView().waveformShown ? WaveformStripTop() : v.RowsTop();
    const int bottom = v.RowsBottom() - 1;
    const double t0 = TimelineTimeAtColumn(v.AxisLeft());
    const double t1 = TimelineTimeAtColumn(v.AxisRight() - 1);
    const std::vector<GridLine> lines =
        beats ? GridLinesIn(grid, t0, t1, kMaxGridLines) : BarLinesIn(grid, t0, t1, kMaxGridLines);

    OGLState::PushBlend(true);
    OGLState::PushBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    for (int pass = 0; pass < 2; pass++) {
        const bool barPass = pass == 1;
        BeginLines(barPass ? kBarLineColour : kBeatLineColour);
        for (const GridLine& line : lines)
            if (line.bar == barPass && line.time >= 0)
                VerticalLine(TimelineX((uint32_t)std::lround(line.time)), top, bottom);
        EndLines();
    }
    OGLState::PopBlendFunc();
    OGLState::PopBlend();
}

// [SECTION] Loop range and markers on the time slider

void DrawTimeSliderMarks(const TimeCursor& cursor) {
    const DemoStruct* demo = Demo();
    if (!demo) return;
    const int y = cursor.y;
    const TimelineView& v = EditorTimelineView();
    const int left = v.AxisLeft(), right = v.AxisRight();
    // Only what lies on the slider: a range or marker past the running time, or
    // outside the zoomed view, is not drawn there.
    const uint32_t R = demo->runningTime;
    if (demo->hasLoopRange && demo->loopOut > demo->loopIn && demo->loopIn < R) {
        const int x0 = std::max(left, TimelineX(demo->loopIn));
        const int x1 = std::min(right, TimelineX(demo->loopOut < R ? demo->loopOut : R));
        if (x1 >= x0) {
            fillRect(x0, y + 3, x1 - x0 > 0 ? x1 - x0 : 1, 7,
                     MusicView().looping ? kLoopOnColour : kLoopOffColour);
            // The slider's own position line stays on top.
            const int p = cursor.followsView ? (cursor.value ? v.X((uint32_t)*cursor.value) : left)
                                             : cursor.x + 1 + (int)cursor.knob.KnobOffset();
            if (p >= left && p <= right) drawVLine(p, y + 1, 9, 0xFFFFFFFF);
        }
    }
    for (uint32_t i = 0; demo->markers && i < demo->markerCount && demo->markers[i].time <= R; i++) {
        const int mx = TimelineX(demo->markers[i].time);
        if (mx < left || mx > right) continue;
        drawVLine(mx, y + 1, 9, kMarkerColour);
        drawHLine(mx - 2, y + 2, 4, kMarkerColour);
        drawHLine(mx - 1, y + 3, 2, kMarkerColour);
    }
}

int MarkerAtX(int px) {
    const DemoStruct* demo = Demo();
    int best = -1, bestDistance = kMarkerHitPixels + 1;
    const uint32_t count = demo && demo->markers ? demo->markerCount : 0;
    for (uint32_t i = 0; i < count && demo->markers[i].time <= demo->runningTime; i++) {
        const int mx = TimelineX(demo->markers[i].time);
        if (mx < EditorTimelineView().AxisLeft() || mx > EditorTimelineView().AxisRight()) continue; // outside the zoomed view
        const int d = std::abs(mx - px);
        if (d < bestDistance) {
            best = (int)i;
            bestDistance = d;
        }
    }
    return best;
}

bool ClickTimeSliderMark(const TimeCursor& cursor, int px, int py) {
    EditorApp* app = App();
    if (!app || !app->demo || py < cursor.y + 1 || py > cursor.y + 10) return false;
    const int marker = MarkerAtX(px);
    if (marker < 0) return false;
    app->music.position = app->demo->markers[marker].time;
    ShowMarkerPanel(marker);
    return true;
}
