// The music on the timeline: the waveform strip under the time slider (a view
// setting, W), the beat and bar lines over the rows, the loop range and the
// markers on the time slider, and snapping of times to the beat grid.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "gui.h"

struct BeatGrid;

// What the editor shows of the music; not part of the demo.
struct MusicViewState {
    bool waveformShown = false; // kept in the settings file
    bool looping = false;       // playback wraps from the loop range's out to its in
    int shownMarker = -1;       // the marker panel's marker
};
MusicViewState& MusicView();

// The strip's place: rows move down by WaveformRowsOffset() while it is shown.
const int kWaveformStripHeight = 30;
const int kWaveformStripGap = 4;
int WaveformStripTop();
int WaveformRowsOffset();

// Grid lines closer than this are not drawn; snapping reaches this far.
const int kMinGridSpacing = 6;   // pixels
const int kBeatSnapDistance = 5; // pixels

// The open demo's beat grid; false when it has no tempo.
bool DemoBeatGrid(BeatGrid& grid);
// Pixels per millisecond of the time axis; 0 when it has no scale.
double TimelinePixelsPerMs();
// Time at the left edge of pixel column x (the inverse of TimelineX).
double TimelineTimeAtColumn(int x);
// The beat (or bar) line drawn within kBeatSnapDistance of t, if any: a
// candidate for any snapping, which decides about Shift itself.
bool BeatSnapTarget(uint32_t t, uint32_t& target);
// The beat (or bar) lines drawn at the current zoom within [from, to]: the
// music's candidates for snapping a dragged block.
void AddBeatSnapCandidates(uint32_t from, uint32_t to, std::vector<uint32_t>& out);
// t moved to BeatSnapTarget; unchanged with Shift held or without a tempo.
uint32_t SnapToBeat(uint32_t t);

// The waveform: min and max of the music per pixel column of the time axis.
class WaveformStrip : public Widget {
  public:
    WaveformStrip();
    ~WaveformStrip() override;
    void draw() override;

  private:
    struct Columns; // min and max per column of the last draw
    Label* analysing;
    std::unique_ptr<Columns> cache;
};

// Beat lines (when at least kMinGridSpacing apart) and bar lines over the rows.
class BeatGridOverlay : public Widget {
  public:
    BeatGridOverlay();
    void draw() override;
};

// The loop range and the markers, drawn over the time slider by TimeCursor.
void DrawTimeSliderMarks(const TimeCursor& cursor);
// A press on a marker on the time slider: moves the time there and opens its
// panel. True when the press was on a marker.
bool ClickTimeSliderMark(const TimeCursor& cursor, int px, int py);
// Index of the marker drawn under x, or -1 (the nearest within 3 pixels).
int MarkerAtX(int px);
