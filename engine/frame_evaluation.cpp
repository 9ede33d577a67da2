// Frame evaluation: the active event of each track, parameter interpolation
// (straight lines, or Bezier curves along chains of continuing events) and the
// calls of the effects, last track first.
#include "engine.h"

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

int32_t TruncateToInt(double v) {
    if (!(v == v)) return 0;
    if (v >= 2147483647.0) return 2147483647;
    if (v <= -2147483648.0) return INT32_MIN;
    return (int32_t)v;
}

double Span(const DemoEvent& e) {
    double d = (double)(uint32_t)(e.endTime - e.startTime);
    return d == 0 ? 1.0 : d;
}

} // namespace

void EvaluateParams(uint32_t t, const DemoEvent* previous, const DemoEvent& event, const DemoEvent* next,
                    int32_t* out) {
    const uint32_t ts = event.startTime, te = event.endTime;
    const bool fromPrevious = previous && previous->continuesIntoNext;
    const bool intoNext = event.continuesIntoNext;

    if (!fromPrevious && !intoNext) {
        int32_t D = (int32_t)(te - ts);
        if (D == 0) D = 1;
        int32_t elapsed = (int32_t)(t - ts);
        for (uint32_t i = 0; i < event.paramCount; i++) {
            int32_t s = event.startValues[i], e = event.endValues[i];
            out[i] = WrapAdd(s, WrapDiv(WrapMul(WrapSub(e, s), elapsed), D));
        }
        return;
    }

    const double D = Span(event);
    const double u = 1.0 - (double)(uint32_t)(te - t) / D;
    const double v = 1.0 - u;
    for (uint32_t i = 0; i < event.paramCount; i++) {
        int32_t s = event.startValues[i], e = event.endValues[i];
        if (s == e) {
            out[i] = s;
            continue;
        }
        const double P0 = s, P3 = e;
        const double d = (double)WrapSub(e, s) * kThird;
        double P1 = P0 + d, P2 = P3 - d;
        const double slope = (double)WrapSub(e, s) / D;

        // A stale link may name a neighbour with fewer parameters: no joint then.
        if (fromPrevious && i < previous->paramCount) {
            double slopeP =
                (double)WrapSub(previous->endValues[i], previous->startValues[i]) / Span(*previous);
            if (slopeP * slope <= 0)
                P1 = P0;
            else if (std::fabs(slope) > std::fabs(slopeP))
                P1 = P0 + (P0 - (double)previous->startValues[i]) * kThird;
        }
        if (intoNext && next && i < next->paramCount) {
            double slopeN = (double)WrapSub(next->endValues[i], next->startValues[i]) / Span(*next);
            if (slopeN * slope <= 0)
                P2 = P3;
            else if (std::fabs(slope) > std::fabs(slopeN))
                P2 = P3 + (P3 - (double)next->endValues[i]) * kThird;
        }

        double value =
            1 * 1 * (v * v * v) * P0 + 3 * u * (v * v) * P1 + 3 * (u * u) * v * P2 + 1 * (u * u * u) * 1 * P3;
        out[i] = TruncateToInt(value);
    }
}

bool RenderFrame(DemoStruct& demo, uint32_t t) {
    std::vector<int32_t> active(demo.trackCount, -1);
    for (uint32_t i = 0; i < demo.trackCount; i++) {
        const DemoTrack& track = demo.tracks[i];
        if (track.hidden || track.eventCount == 0) continue;
        for (uint32_t j = 0; j < track.eventCount; j++) {
            const DemoEvent& ev = track.events[j];
            if (ev.endTime >= t) {
                if (t >= ev.startTime && !ev.hidden) active[i] = (int32_t)j;
                break;
            }
        }
    }

    for (uint32_t l = 0; l < demo.libraryCount; l++)
        if (demo.libraries[l].beginNewFrame) demo.libraries[l].beginNewFrame(0);

    int32_t values[kMaxEffectArgs];
    for (uint32_t i = demo.trackCount; i-- > 0;) {
        if (active[i] < 0) continue;
        const DemoTrack& track = demo.tracks[i];
        const uint32_t j = (uint32_t)active[i];
        const DemoEvent& ev = track.events[j];
        const DemoEvent* previous = j > 0 ? &track.events[j - 1] : nullptr;
        const DemoEvent* next = j + 1 < track.eventCount ? &track.events[j + 1] : nullptr;
        if (ev.paramCount > kMaxEffectArgs) return false;
        EvaluateParams(t, previous, ev, next, values);
        if (CallEffect(ev.effect, ev.paramCount, values) == 0) return false;
    }
    return true;
}
