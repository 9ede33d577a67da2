// RenderFrame on a generated demo of 100 tracks x 1000 events whose effects do
// nothing: time per frame and per active event, straight-line and Bezier chains.
#include <benchmark/benchmark.h>

#include <cstring>

#include "engine.h"

namespace {

int Nothing5(int32_t, int32_t, int32_t, int32_t, int32_t) {
    return 1;
}

const uint32_t kTracks = 100, kEvents = 1000, kLength = 1000, kParams = 5;

// Events back to back; chained events share their joint values so they link.
DemoStruct* MakeDemo(bool chained) {
    DemoStruct* demo = new DemoStruct();
    memset(demo, 0, sizeof *demo);
    demo->trackCount = kTracks;
    demo->tracks = new DemoTrack[kTracks]();
    for (uint32_t t = 0; t < kTracks; t++) {
        DemoTrack& track = demo->tracks[t];
        track.eventCount = kEvents;
        track.events = new DemoEvent[kEvents]();
        for (uint32_t e = 0; e < kEvents; e++) {
            DemoEvent& ev = track.events[e];
            ev.startTime = e * kLength;
            ev.endTime = e * kLength + kLength - (chained ? 0 : 10);
            ev.effect = (EffectProc)(void (*)(void))Nothing5;
            ev.functionName = CopyString("Nothing5");
            ev.libraryFileName = CopyString("none");
            ev.paramCount = kParams;
            ev.startValues = new int32_t[kParams];
            ev.endValues = new int32_t[kParams];
            for (uint32_t p = 0; p < kParams; p++) {
                ev.startValues[p] = (int32_t)((e * 37 + p * 11) % 1000);
                ev.endValues[p] = (int32_t)(((e + 1) * 37 + p * 11) % 1000);
            }
            if (e > 0) LinkEvents(track.events[e - 1], ev);
        }
    }
    return demo;
}

void RenderFrames(benchmark::State& state, bool chained) {
    DemoStruct* demo = MakeDemo(chained);
    uint32_t t = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(RenderFrame(*demo, t));
        t = (t + 7919) % (kEvents * kLength - 10); // spread over the whole timeline
    }
    state.counters["active_events_per_s"] =
        benchmark::Counter((double)state.iterations() * kTracks, benchmark::Counter::kIsRate);
    state.counters["ns_per_active_event"] = benchmark::Counter(
        (double)state.iterations() * kTracks, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    ReleaseDemo(*demo);
    delete demo;
}

void BM_RenderFrameLinear(benchmark::State& state) {
    RenderFrames(state, false);
}
void BM_RenderFrameSmooth(benchmark::State& state) {
    RenderFrames(state, true);
}

} // namespace

BENCHMARK(BM_RenderFrameLinear)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RenderFrameSmooth)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
