// Frame evaluation: the active event of each track, parameter interpolation
// (straight lines, or Bezier curves along chains of continuing events) and the
// calls of the effects, last track first.
#include "frame_evaluation_internal.h"

#include <cmath>
#include <vector>

namespace {

const double kThird = 0.3333333333333333;

int32_t WrapSub(int32_t a, int32_t b) {
    return (int32_t)((uint32_t)a - (uint32_t)b);
}
int32_t WrapAdd(int32_t a, int32_t b) {
    return (int32_t)((uint32_t)a + (uint32_t)b);
}
int32_t WrapMul(int32_t a, int32_t b) {
    return (int32_t)((uint32_t)a * (uint32_t)b);
}

// Signed division truncating toward zero, with the one overflowing case wrapped.
int32_t WrapDiv(int32_t a, int32_t b) {
    if (b == -1) return WrapSub(0, a);
    return a / b;
}

double Span(uint32_t startTime, uint32_t endTime) {
    double d = (double)(uint32_t)(endTime - startTime);
    return d == 0 ? 1.0 : d;
}
double Span(const DemoEvent& e) {
    return Span(e.startTime, e.endTime);
}

} // namespace

bool IsSmooth(const DemoEvent* previous, const DemoEvent& event) {
    return (previous && previous->continuesIntoNext) || event.continuesIntoNext;
}

int32_t LinearValue(int32_t s, int32_t e, uint32_t t, uint32_t startTime, uint32_t endTime) {
    int32_t D = (int32_t)(endTime - startTime);
    if (D == 0) D = 1;
    int32_t elapsed = (int32_t)(t - startTime);
    return WrapAdd(s, WrapDiv(WrapMul(WrapSub(e, s), elapsed), D));
}

SmoothCurve SmoothCurveOf(const DemoEvent* previous, const DemoEvent& event, const DemoEvent* next, uint32_t i) {
    const int32_t s = event.startValues[i], e = event.endValues[i];
    SmoothCurve c = {s, e, 0, 0};
    if (s == e) return c;
    const double P0 = s, P3 = e;
    const double d = (double)WrapSub(e, s) * kThird;
    c.P1 = P0 + d;
    c.P2 = P3 - d;
    const double slope = (double)WrapSub(e, s) / Span(event);

    // A stale link may name a neighbour with fewer parameters: no joint then.
    if (previous && previous->continuesIntoNext && i < previous->paramCount) {
        double slopeP = (double)WrapSub(previous->endValues[i], previous->startValues[i]) / Span(*previous);
        if (slopeP * slope <= 0)
            c.P1 = P0;
        else if (std::fabs(slope) > std::fabs(slopeP))
            c.P1 = P0 + (P0 - (double)previous->startValues[i]) * kThird;
    }
    if (event.continuesIntoNext && next && i < next->paramCount) {
        double slopeN = (double)WrapSub(next->endValues[i], next->startValues[i]) / Span(*next);
        if (slopeN * slope <= 0)
            c.P2 = P3;
        else if (std::fabs(slope) > std::fabs(slopeN))
            c.P2 = P3 + (P3 - (double)next->endValues[i]) * kThird;
    }
    return c;
}

double SmoothPosition(uint32_t t, uint32_t startTime, uint32_t endTime) {
    return 1.0 - (double)(uint32_t)(endTime - t) / Span(startTime, endTime);
}

// The cubic Bezier 1 v^3 P0 + 3 u v^2 P1 + 3 u^2 v P2 + 1 u^3 P3 (v = 1 - u),
// each term's factors multiplied in this order for every parameter.
SmoothWeights SmoothWeightsAt(double u) {
    const double v = 1.0 - u;
    return SmoothWeights{v * v * v, 3 * u * (v * v), 3 * (u * u) * v, u * u * u};
}

void EvaluateParams(uint32_t t, const DemoEvent* previous, const DemoEvent& event, const DemoEvent* next,
                    int32_t* out) {
    if (!IsSmooth(previous, event)) {
        for (uint32_t i = 0; i < event.paramCount; i++)
            out[i] = LinearValue(event.startValues[i], event.endValues[i], t, event.startTime, event.endTime);
        return;
    }
    const SmoothWeights w = SmoothWeightsAt(SmoothPosition(t, event.startTime, event.endTime));
    for (uint32_t i = 0; i < event.paramCount; i++)
        out[i] = SmoothValue(w, SmoothCurveOf(previous, event, next, i));
}

int32_t WalkToActiveEvent(const DemoTrack& track, uint32_t t) {
    if (track.hidden) return -1;
    for (uint32_t j = 0; j < track.eventCount; j++) {
        const DemoEvent& ev = track.events[j];
        if (ev.endTime >= t) return t >= ev.startTime && !ev.hidden ? (int32_t)j : -1;
    }
    return -1;
}

bool RenderFrame(DemoStruct& demo, uint32_t t) {
    std::vector<int32_t> active(demo.trackCount, -1);
    for (uint32_t i = 0; i < demo.trackCount; i++)
        active[i] = WalkToActiveEvent(demo.tracks[i], t);
    return CallActiveEffects(demo, active.data(), [&](uint32_t i, uint32_t j) {
        const DemoTrack& track = demo.tracks[i];
        const DemoEvent& ev = track.events[j];
        if (ev.paramCount > kMaxEffectArgs) return false;
        int32_t values[kMaxEffectArgs];
        EvaluateParams(t, j > 0 ? &track.events[j - 1] : nullptr, ev,
                       j + 1 < track.eventCount ? &track.events[j + 1] : nullptr, values);
        return CallEffect(ev.effect, ev.paramCount, values) != 0;
    });
}
