// Pieces of frame evaluation shared by its two ways of finding active events
// and computing their values: the walk from each track's start with values
// computed from scratch, and FrameCursors with curves worked out once.
#pragma once

#include <cstdint>

#include "engine.h"

// The walk: the first event whose endTime is at least t decides; it is active
// when it has started and is not hidden. -1 for none or a hidden track.
int32_t WalkToActiveEvent(const DemoTrack& track, uint32_t t);

// Parameter values, in the pieces EvaluateParams is made of. An event follows a
// Bezier curve when it continues into the next or the previous continues into it.
bool IsSmooth(const DemoEvent* previous, const DemoEvent& event);
int32_t LinearValue(int32_t s, int32_t e, uint32_t t, uint32_t startTime, uint32_t endTime);
// Parameter i's curve: start and end values and the inner control points, which
// depend on the neighbours but not on the time.
struct SmoothCurve {
    int32_t s, e;
    double P1, P2;
};
SmoothCurve SmoothCurveOf(const DemoEvent* previous, const DemoEvent& event, const DemoEvent* next, uint32_t i);
// u, from 0 at the event's start to 1 at its end.
double SmoothPosition(uint32_t t, uint32_t startTime, uint32_t endTime);
// Toward zero, saturating; NaN gives 0.
inline int32_t TruncateToInt(double v) {
    if (!(v == v)) return 0;
    if (v >= 2147483647.0) return 2147483647;
    if (v <= -2147483648.0) return INT32_MIN;
    return (int32_t)v;
}
// The curve's four weights at u, the same for every parameter of an event.
struct SmoothWeights {
    double w0, w1, w2, w3;
};
SmoothWeights SmoothWeightsAt(double u);
// The weighted sum, in the order and with the products the curve's formula has.
inline int32_t SmoothValue(const SmoothWeights& w, const SmoothCurve& c) {
    if (c.s == c.e) return c.s;
    const double P0 = c.s, P3 = c.e;
    return TruncateToInt(w.w0 * P0 + w.w1 * c.P1 + w.w2 * c.P2 + w.w3 * P3);
}

// What FrameCursors keeps of an event, followed in its plan by its values: one
// curve per parameter of a smooth event, three start and end pairs per entry
// for a straight-line one.
struct PlannedEvent {
    uint32_t startTime, endTime;
    EffectProc effect;
    uint32_t paramCount;
    bool smooth;
    bool hidden;
};
const uint32_t kLinearPairsPerEntry = 3;
union PlanEntry {
    PlannedEvent event;
    SmoothCurve curve;
    int32_t linear[kLinearPairsPerEntry][2]; // start and end values
};

// Tells every library a frame begins, then, last track first, calls
// call(track, j) for each track's active event (`active[i]`, -1 for none):
// false as soon as one fails.
template <class Call>
bool CallActiveEffects(DemoStruct& demo, const int32_t* active, Call call) {
    for (uint32_t l = 0; l < demo.libraryCount; l++)
        if (demo.libraries[l].beginNewFrame) demo.libraries[l].beginNewFrame(0);
    for (uint32_t i = demo.trackCount; i-- > 0;)
        if (active[i] >= 0 && !call(i, (uint32_t)active[i])) return false;
    return true;
}
