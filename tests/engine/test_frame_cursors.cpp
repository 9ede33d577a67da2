// FrameCursors against the walk from each track's start: on random demos
// (events in any order, overlapping, hidden, chained, extreme values) and random
// sequences of times (forwards, backwards, jumps), the same active events and
// the same effect calls with the same values, in the same order.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "demo_builder.h"
#include "engine.h"
#include "frame_evaluation_internal.h"

namespace {

std::vector<std::vector<int32_t>> gCalls;

// Called with N arguments; the ones after them are not read.
template <int N> int Record(int32_t a, int32_t b, int32_t c, int32_t d, int32_t e, int32_t f, int32_t g) {
    int32_t v[] = {a, b, c, d, e, f, g};
    gCalls.push_back(std::vector<int32_t>(v, v + N));
    return 1;
}
int Record0() {
    gCalls.push_back({});
    return 1;
}
// Fails on odd first values, so a frame may stop part-way through the tracks.
int RecordOrFail(int32_t a, int32_t b) {
    gCalls.push_back({a, b, -1});
    return (a & 1) == 0;
}
EffectProc Proc(int (*fn)(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t)) {
    return (EffectProc)(void (*)(void))fn;
}
const EffectProc kRecorders[] = {Proc(Record<1>), Proc(Record<2>), Proc(Record<3>), Proc(Record<4>),
                                 Proc(Record<5>), Proc(Record<6>), Proc(Record<7>)};

struct RandomDemo {
    DemoStruct demo = EmptyDemo();
    std::mt19937 rng;
    explicit RandomDemo(uint32_t seed) : rng(seed) {}
    ~RandomDemo() { ReleaseDemo(demo); }

    uint32_t Pick(uint32_t n) { return std::uniform_int_distribution<uint32_t>(0, n - 1)(rng); }
    int32_t Value() {
        switch (Pick(4)) {
        case 0:
            return (int32_t)rng(); // the whole range: products wrap
        case 1:
            return (int32_t)Pick(5) - 2; // small, with repeats (equal start and end)
        default:
            return (int32_t)Pick(2001) - 1000;
        }
    }

    void Build(uint32_t tracks, uint32_t maxEvents, bool failing) {
        for (uint32_t t = 0; t < tracks; t++) {
            AddTrack(demo);
            uint32_t events = Pick(maxEvents + 1);
            uint32_t time = Pick(3) == 0 ? 0xFFFF0000u : Pick(500); // some tracks near the end of time
            for (uint32_t e = 0; e < events; e++) {
                uint32_t length = Pick(4) == 0 ? 0 : Pick(400);
                uint32_t start = Pick(5) == 0 ? Pick(time + 1) : time + Pick(300); // some out of order
                uint32_t end = start + length < start ? 0xFFFFFFFFu : start + length;
                if (Pick(10) == 0) end = start - Pick(50); // ends before it starts
                time = std::max(time, start);
                uint32_t params = Pick(8) == 0 ? 17 : Pick(8);
                std::vector<int32_t> s, en;
                for (uint32_t p = 0; p < params; p++) {
                    s.push_back(Value());
                    en.push_back(Pick(3) == 0 && !s.empty() ? s.back() : Value());
                }
                uint32_t j = AddEvent(demo, t, "lib", "F", start, end, s, en);
                DemoEvent& ev = demo.tracks[t].events[j];
                ev.hidden = Pick(12) == 0;
                if (failing && params == 2 && Pick(3) == 0)
                    ev.effect = (EffectProc)(void (*)(void))RecordOrFail;
                else if (params == 0)
                    ev.effect = (EffectProc)(void (*)(void))Record0;
                else if (params <= 7)
                    ev.effect = kRecorders[params - 1];
            }
            demo.tracks[t].hidden = Pick(15) == 0;
        }
        LinkAll(demo);
        // Links the reader would not make, as an edit can leave them.
        for (uint32_t t = 0; t < demo.trackCount; t++)
            for (uint32_t e = 0; e + 1 < demo.tracks[t].eventCount; e++)
                if (Pick(6) == 0) demo.tracks[t].events[e].continuesIntoNext = true;
    }

    // Times a render, a player and a demo maker's seeks would ask for.
    std::vector<uint32_t> Times(size_t count) {
        std::vector<uint32_t> times;
        uint32_t t = Pick(3000);
        while (times.size() < count) {
            switch (Pick(6)) {
            case 0:
                t = Pick(4000); // a seek anywhere
                break;
            case 1:
                t = 0xFFFF0000u + Pick(0x10000); // near the end of time
                break;
            case 2:
                t -= std::min(t, Pick(200)); // backwards
                break;
            default:
                t += Pick(40); // forwards, as frames go
            }
            times.push_back(t);
        }
        return times;
    }
};

TEST(FrameCursorsTest, FindTheWalksActiveEventOnRandomDemos) {
    for (uint32_t seed = 1; seed <= 60; seed++) {
        RandomDemo r(seed);
        r.Build(6, 40, false);
        FrameCursors cursors;
        for (uint32_t t : r.Times(400))
            for (uint32_t i = 0; i < r.demo.trackCount; i++)
                ASSERT_EQ(WalkToActiveEvent(r.demo.tracks[i], t), cursors.ActiveEvent(r.demo, i, t))
                    << "seed " << seed << ", track " << i << ", t " << t;
    }
}

TEST(FrameCursorsTest, CallTheSameEffectsWithTheSameValues) {
    size_t calls = 0, failures = 0;
    for (uint32_t seed = 100; seed < 160; seed++) {
        RandomDemo r(seed);
        r.Build(8, 30, seed % 2 == 0);
        FrameCursors cursors;
        for (uint32_t t : r.Times(300)) {
            gCalls.clear();
            bool walked = RenderFrame(r.demo, t);
            std::vector<std::vector<int32_t>> expected = gCalls;
            gCalls.clear();
            ASSERT_EQ(walked, RenderFrame(r.demo, t, cursors)) << "seed " << seed << ", t " << t;
            ASSERT_EQ(expected, gCalls) << "seed " << seed << ", t " << t;
            calls += expected.size();
            failures += !walked;
        }
    }
    // The random demos must exercise what they are meant to.
    EXPECT_GT(calls, 10000u);
    EXPECT_GT(failures, 100u);
}

// The cursors keep copies: a changed event array is taken in again by itself,
// a change in place after Forget.
TEST(FrameCursorsTest, ChangedTracksAreTakenInAgain) {
    DemoStruct demo = EmptyDemo();
    AddTrack(demo);
    AddEvent(demo, 0, "lib", "F", 0, 100, {0}, {100});
    demo.tracks[0].events[0].effect = Proc(Record<1>);
    FrameCursors cursors;
    gCalls.clear();
    EXPECT_TRUE(RenderFrame(demo, 50, cursors));
    EXPECT_EQ((std::vector<std::vector<int32_t>>{{50}}), gCalls);

    AddEvent(demo, 0, "lib", "F", 200, 300, {7}, {7}); // a new array
    demo.tracks[0].events[1].effect = Proc(Record<1>);
    EXPECT_EQ(1, cursors.ActiveEvent(demo, 0, 250));

    demo.tracks[0].events[1].hidden = true;
    cursors.Forget();
    EXPECT_EQ(-1, cursors.ActiveEvent(demo, 0, 250));
    demo.tracks[0].hidden = true;
    EXPECT_EQ(-1, cursors.ActiveEvent(demo, 0, 50));
    EXPECT_EQ(-1, cursors.ActiveEvent(demo, 3, 50)); // no such track
    ReleaseDemo(demo);
}

} // namespace

// The weights worked out once per event give every parameter the value the
// curve's own formula gives, bit for bit: the same products in the same order.
TEST(SmoothValueTest, WeightsOncePerEventEqualTheFormula) {
    std::mt19937 random(1208);
    std::uniform_real_distribution<double> position(0.0, 1.0), control(-3e9, 3e9);
    std::uniform_int_distribution<int32_t> end(INT32_MIN, INT32_MAX);
    for (int i = 0; i < 20000; i++) {
        const double u = i < 3 ? (double)i / 2 : position(random);
        const SmoothCurve c = {end(random) % (i % 7 == 0 ? 1000 : INT32_MAX), end(random), control(random),
                               control(random)};
        const double v = 1.0 - u, P0 = c.s, P3 = c.e;
        const double formula = 1 * 1 * (v * v * v) * P0 + 3 * u * (v * v) * c.P1 + 3 * (u * u) * v * c.P2 +
                               1 * (u * u * u) * 1 * P3;
        const int32_t want = c.s == c.e ? c.s : TruncateToInt(formula);
        ASSERT_EQ(want, SmoothValue(SmoothWeightsAt(u), c)) << "u " << u << ", curve " << c.s << " " << c.e;
    }
    EXPECT_EQ(7, SmoothValue(SmoothWeightsAt(0.25), SmoothCurve{7, 7, 1e9, -1e9})); // flat stays put
    EXPECT_EQ(INT32_MAX, SmoothValue(SmoothWeightsAt(0.5), SmoothCurve{0, 1, 1e12, 1e12}));  // saturates
    EXPECT_EQ(-50, SmoothValue(SmoothWeightsAt(0.5), SmoothCurve{-100, 0, -50, -50}));      // 1/8 (-100) + 3/4 (-50)
}
