// RenderFrame on a generated demo of 100 tracks x 1000 events whose effects do
// nothing: time per frame and per active event, straight-line and Bezier chains,
// the walk from each track's start against FrameCursors, which the player and
// the renderer use. Ends with the cursors' figure as a ratio to its target.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include "engine.h"

namespace {

int Nothing5(int32_t, int32_t, int32_t, int32_t, int32_t) {
    return 1;
}

const uint32_t kTracks = 100, kEvents = 1000, kLength = 1000, kParams = 5;
const double kTargetNsPerActiveEvent = 100;

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

enum class Search { Walk, Cursors };

// `step`: ms between frames; 7919 spreads the frames over the whole timeline in
// jumps of about eight events, 33 is a render at 30 frames per second.
void RenderFrames(benchmark::State& state, bool chained, Search search, uint32_t step) {
    DemoStruct* demo = MakeDemo(chained);
    FrameCursors cursors;
    uint32_t t = 0;
    for (auto _ : state) {
        if (search == Search::Walk)
            benchmark::DoNotOptimize(RenderFrame(*demo, t));
        else
            benchmark::DoNotOptimize(RenderFrame(*demo, t, cursors));
        t = (t + step) % (kEvents * kLength - 10);
    }
    state.counters["active_events_per_s"] =
        benchmark::Counter((double)state.iterations() * kTracks, benchmark::Counter::kIsRate);
    state.counters["ns_per_active_event"] = benchmark::Counter(
        (double)state.iterations() * kTracks, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    ReleaseDemo(*demo);
    delete demo;
}

// Keeps each run's figure per active event to print the ratios at the end.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            auto it = run.counters.find("ns_per_active_event");
            if (it != run.counters.end()) nsPerEvent[run.benchmark_name()] = it->second.value * 1e9;
        }
    }
    std::map<std::string, double> nsPerEvent;
};

} // namespace

BENCHMARK_CAPTURE(RenderFrames, Walk_Linear_Jumps, false, Search::Walk, 7919)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(RenderFrames, Walk_Smooth_Jumps, true, Search::Walk, 7919)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(RenderFrames, Cursors_Linear_Jumps, false, Search::Cursors, 7919)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(RenderFrames, Cursors_Smooth_Jumps, true, Search::Cursors, 7919)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(RenderFrames, Cursors_Linear_30fps, false, Search::Cursors, 33)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(RenderFrames, Cursors_Smooth_30fps, true, Search::Cursors, 33)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    printf("\n%-34s %12s %10s %8s\n", "RenderFrame", "ns/event", "target", "ratio");
    for (const auto& entry : reporter.nsPerEvent)
        printf("%-34s %12.1f %10.0f %8.2f%s\n", entry.first.c_str(), entry.second, kTargetNsPerActiveEvent,
               entry.second / kTargetNsPerActiveEvent,
               entry.first.find("Walk") != std::string::npos ? "  (the walk, for comparison)" : "");
    benchmark::Shutdown();
    return 0;
}
