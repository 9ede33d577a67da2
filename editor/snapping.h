// Snapping of dragged times: a time moves to the nearest candidate within a few
// pixels at the timeline's current zoom. Candidates are the edges of every
// event (but the one being dragged), the time cursor, and the times any extra
// source adds (the music's beats, for one).
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

struct DemoStruct;
struct TimelineView;

const int kSnapPixels = 5;

// Appends the candidate times in [from, to] that an extra source knows of.
typedef std::function<void(uint32_t from, uint32_t to, std::vector<uint32_t>& out)> SnapSource;
// Installs the one extra source (an empty function removes it).
void SetExtraSnapSource(SnapSource source);

// The candidates for a drag of event `skipEvent` of track `skipTrack` (-1: none
// skipped) with the time cursor at `cursor`, limited to [from, to].
std::vector<uint32_t> SnapCandidates(const DemoStruct* demo, int skipTrack, int skipEvent, uint32_t cursor,
                                     uint32_t from, uint32_t to);

// Moves `t` to the nearest candidate within `pixels` at the view's scale; true
// when it snapped. `distance` (ms) gives how far it moved, for choosing between
// the two edges of a moved block.
bool SnapTime(uint32_t& t, const std::vector<uint32_t>& candidates, const TimelineView& view,
              int pixels = kSnapPixels, uint32_t* distance = nullptr);
