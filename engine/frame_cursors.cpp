// FrameCursors: each track's active event found from where the previous frame
// found it, and each event's parameter curves worked out once. The walk stops
// at the first event whose endTime reaches t, so the answer is the first index
// whose running maximum of endTime reaches t; that running maximum never
// decreases, which allows short steps and binary search whatever order the
// events are in.
#include <algorithm>

#include "frame_evaluation_internal.h"

namespace {
// Steps tried from the previous frame's event before searching the whole track:
// reach[] is contiguous, so a short scan costs less than a binary search.
const uint32_t kCursorSteps = 16;

bool StartedAndShown(const PlannedEvent& ev, uint32_t t) {
    return t >= ev.startTime && !ev.hidden;
}
} // namespace

FrameCursors::FrameCursors() = default;
FrameCursors::~FrameCursors() = default;

void FrameCursors::Forget() {
    tracks.clear();
}

void FrameCursors::TakeIn(Track& track, const DemoTrack& source) {
    const uint32_t n = source.eventCount;
    track.events = source.events;
    track.eventCount = n;
    track.at = 0;
    track.stops.resize(n);
    track.plan.clear();
    uint32_t latest = 0;
    for (uint32_t j = 0; j < n; j++) {
        const DemoEvent& ev = source.events[j];
        const DemoEvent* previous = j > 0 ? &source.events[j - 1] : nullptr;
        const DemoEvent* next = j + 1 < n ? &source.events[j + 1] : nullptr;
        latest = std::max(latest, ev.endTime);
        track.stops[j] = {latest, (uint32_t)track.plan.size()};

        const bool smooth = IsSmooth(previous, ev);
        PlanEntry entry;
        entry.event = {ev.startTime, ev.endTime, ev.effect, ev.paramCount, smooth, ev.hidden};
        track.plan.push_back(entry);
        // An event with more parameters than an effect takes fails before its values count.
        if (ev.paramCount > kMaxEffectArgs) continue;
        if (smooth) {
            for (uint32_t i = 0; i < ev.paramCount; i++) {
                entry.curve = SmoothCurveOf(previous, ev, next, i);
                track.plan.push_back(entry);
            }
            continue;
        }
        for (uint32_t i = 0; i < ev.paramCount; i += kLinearPairsPerEntry) {
            for (uint32_t k = 0; k < kLinearPairsPerEntry; k++) {
                entry.linear[k][0] = i + k < ev.paramCount ? ev.startValues[i + k] : 0;
                entry.linear[k][1] = i + k < ev.paramCount ? ev.endValues[i + k] : 0;
            }
            track.plan.push_back(entry);
        }
    }
}

const PlanEntry* FrameCursors::Entry(uint32_t i, uint32_t j) const {
    return &tracks[i].plan[tracks[i].stops[j].entry];
}

int32_t FrameCursors::FirstReaching(const DemoStruct& demo, uint32_t i, uint32_t t) {
    const DemoTrack& source = demo.tracks[i];
    if (source.hidden || source.eventCount == 0) return -1;
    if (tracks.size() != demo.trackCount) tracks.resize(demo.trackCount);
    Track& track = tracks[i];
    if (track.events != source.events || track.eventCount != source.eventCount) TakeIn(track, source);

    const Stop* stops = track.stops.data();
    const uint32_t n = track.eventCount;
    if (stops[n - 1].reach < t) return -1; // every event ended before t

    uint32_t j = std::min(track.at, n - 1);
    uint32_t steps = 0;
    while (stops[j].reach < t && steps < kCursorSteps) {
        j++;
        steps++;
    }
    while (j > 0 && stops[j - 1].reach >= t && steps < kCursorSteps) {
        j--;
        steps++;
    }
    if (stops[j].reach < t || (j > 0 && stops[j - 1].reach >= t))
        j = (uint32_t)(std::lower_bound(stops, stops + n, t,
                                        [](const Stop& stop, uint32_t time) { return stop.reach < time; }) -
                       stops);
    track.at = j;
    return (int32_t)j;
}

int32_t FrameCursors::ActiveEvent(const DemoStruct& demo, uint32_t i, uint32_t t) {
    if (i >= demo.trackCount) return -1;
    int32_t j = FirstReaching(demo, i, t);
    if (j < 0) return -1;
    return StartedAndShown(Entry(i, (uint32_t)j)->event, t) ? j : -1;
}

bool RenderFrame(DemoStruct& demo, uint32_t t, FrameCursors& cursors) {
    // In two passes, so that the copies of all tracks' events are asked for
    // before any is used: a render reaches a new part of every track each frame,
    // and overlapping those cache misses is most of the time saved.
    std::vector<int32_t>& active = cursors.active;
    active.resize(demo.trackCount);
    for (uint32_t i = 0; i < demo.trackCount; i++) {
        active[i] = cursors.FirstReaching(demo, i, t);
        if (active[i] >= 0) __builtin_prefetch(cursors.Entry(i, (uint32_t)active[i]));
    }
    for (uint32_t i = 0; i < demo.trackCount; i++) {
        if (active[i] < 0) continue;
        const PlanEntry* entry = cursors.Entry(i, (uint32_t)active[i]);
        if (!StartedAndShown(entry->event, t)) {
            active[i] = -1;
            continue;
        }
        // The rest of its values: a smooth event of 16 parameters spans seven cache lines.
        const uint32_t params = std::min(entry->event.paramCount, kMaxEffectArgs);
        const char* end = (const char*)(entry + 1 + (entry->event.smooth ? params
                                                                          : (params + kLinearPairsPerEntry - 1) /
                                                                                kLinearPairsPerEntry));
        for (const char* line = (const char*)entry + 64; line < end; line += 64)
            __builtin_prefetch(line);
    }
    return CallActiveEffects(demo, active.data(), [&](uint32_t i, uint32_t j) {
        const PlanEntry* entry = cursors.Entry(i, j);
        const PlannedEvent& ev = entry->event;
        if (ev.paramCount > kMaxEffectArgs) return false;
        int32_t values[kMaxEffectArgs];
        const PlanEntry* curves = entry + 1;
        if (ev.smooth) {
            const SmoothWeights w = SmoothWeightsAt(SmoothPosition(t, ev.startTime, ev.endTime));
            for (uint32_t p = 0; p < ev.paramCount; p++)
                values[p] = SmoothValue(w, curves[p].curve);
        } else {
            for (uint32_t p = 0; p < ev.paramCount; p++) {
                const int32_t* pair = curves[p / kLinearPairsPerEntry].linear[p % kLinearPairsPerEntry];
                values[p] = LinearValue(pair[0], pair[1], t, ev.startTime, ev.endTime);
            }
        }
        return CallEffect(ev.effect, ev.paramCount, values) != 0;
    });
}
