// Snap candidates and the nearest-candidate search. The window of candidates is
// limited to what a snap could reach, so dragging in a long demo stays cheap.
#include "snapping.h"

#include <algorithm>

#include "demo.h"
#include "timeline_view.h"

namespace {
SnapSource gExtraSource;
} // namespace

void SetExtraSnapSource(SnapSource source) {
    gExtraSource = std::move(source);
}

std::vector<uint32_t> SnapCandidates(const DemoStruct* demo, int skipTrack, int skipEvent, uint32_t cursor,
                                     uint32_t from, uint32_t to) {
    std::vector<uint32_t> out;
    auto take = [&](uint32_t t) {
        if (t >= from && t <= to) out.push_back(t);
    };
    if (demo) {
        for (uint32_t k = 0; k < demo->trackCount; k++) {
            const DemoTrack& track = demo->tracks[k];
            for (uint32_t e = 0; e < track.eventCount; e++) {
                if ((int)k == skipTrack && (int)e == skipEvent) continue;
                take(track.events[e].startTime);
                take(track.events[e].endTime);
            }
        }
    }
    take(cursor);
    if (gExtraSource) gExtraSource(from, to, out);
    return out;
}

bool SnapTime(uint32_t& t, const std::vector<uint32_t>& candidates, const TimelineView& view, int pixels,
              uint32_t* distance) {
    const double scale = view.Scale();
    if (scale <= 0) return false;
    const double reach = pixels / scale; // ms
    bool found = false;
    uint32_t best = t, bestDistance = 0;
    for (uint32_t c : candidates) {
        const uint32_t d = c > t ? c - t : t - c;
        if ((double)d > reach) continue;
        if (!found || d < bestDistance) {
            best = c;
            bestDistance = d;
            found = true;
        }
    }
    if (!found) return false;
    t = best;
    if (distance) *distance = bestDistance;
    return true;
}
