// Frame evaluation: which event is active, straight-line and Bezier-chain
// parameter values against hand-worked numbers, and the order of effect calls.
#include <gtest/gtest.h>

#include <vector>

#include "demo_builder.h"
#include "engine.h"

namespace {

struct Call {
    int tag;
    int32_t value;
};
std::vector<Call> gCalls;
int RecordTag(int32_t tag, int32_t value) {
    gCalls.push_back({tag, value});
    return 1;
}
EffectProc AsProc(int (*fn)(int32_t, int32_t)) {
    return (EffectProc)(void (*)(void))fn;
}

// One track of events, each a parameter list; linked as the reader links them.
struct EvalFixture : ::testing::Test {
    DemoStruct demo = EmptyDemo();
    void SetUp() override {
        AddTrack(demo);
        gCalls.clear();
    }
    void TearDown() override { ReleaseDemo(demo); }
    DemoEvent& Ev(uint32_t i) { return demo.tracks[0].events[i]; }
    uint32_t Add(uint32_t start, uint32_t end, std::vector<int32_t> s, std::vector<int32_t> e) {
        return AddEvent(demo, 0, "lib", "F", start, end, s, e);
    }
    int32_t At(uint32_t event, uint32_t t, uint32_t param = 0) {
        int32_t out[16];
        const DemoTrack& tr = demo.tracks[0];
        EvaluateParams(t, event > 0 ? &tr.events[event - 1] : nullptr, tr.events[event],
                       event + 1 < tr.eventCount ? &tr.events[event + 1] : nullptr, out);
        return out[param];
    }
};

TEST_F(EvalFixture, LinearTruncatesTowardZero) {
    Add(0, 30, {0, 0}, {100, -100});
    EXPECT_EQ(33, At(0, 10, 0));
    EXPECT_EQ(-33, At(0, 10, 1));
    EXPECT_EQ(0, At(0, 0));
    EXPECT_EQ(100, At(0, 30));
}

TEST_F(EvalFixture, LinearProductWrapsInThirtyTwoBits) {
    Add(0, 100000, {0}, {2000000});
    // 2000000 * 50000 wraps to 1215752192, then divides by 100000.
    EXPECT_EQ(12157, At(0, 50000));
}

TEST_F(EvalFixture, ZeroLengthEventGivesStartValues) {
    Add(500, 500, {7, -3}, {99, 99});
    EXPECT_EQ(7, At(0, 500, 0));
    EXPECT_EQ(-3, At(0, 500, 1));
}

TEST_F(EvalFixture, ReversedTimesDoNotTrap) {
    Add(1000, 999, {-2147483647 - 1}, {0}); // span of -1 as a signed difference
    At(0, 1000);
    Add(2000, 2000, {-2147483647 - 1}, {2147483647});
    At(1, 2000);
}

TEST_F(EvalFixture, ChainKeepsEvenThirdsWhenNextIsSteeper) {
    Add(0, 1000, {0}, {100});
    Add(1000, 2000, {100}, {300});
    LinkAll(demo);
    ASSERT_TRUE(Ev(0).continuesIntoNext);
    // P1 = 33.3, P2 stays 66.7: the curve is the straight line 100u.
    EXPECT_EQ(33, At(0, 337));
    EXPECT_EQ(0, At(0, 0));
    EXPECT_EQ(100, At(0, 1000));
}

TEST_F(EvalFixture, ChainSteeperSecondEventPullsItsStartTangent) {
    Add(0, 1000, {0}, {100});
    Add(1000, 2000, {100}, {300});
    LinkAll(demo);
    // P0 100, P1 = 100 + 100/3 = 133.3, P2 233.3, P3 300; at u = 0.5:
    // 12.5 + 0.375 * 133.3 + 0.375 * 233.3 + 37.5 = 187.5
    EXPECT_EQ(187, At(1, 1500));
    EXPECT_EQ(100, At(1, 1000));
    EXPECT_EQ(300, At(1, 2000));
}

TEST_F(EvalFixture, ReversingChainGetsFlatJoint) {
    Add(0, 1000, {0}, {100});
    Add(1000, 2000, {100}, {0});
    LinkAll(demo);
    // First event: P1 33.3, P2 = P3 = 100: 12.5 + 37.5 + 12.5 = 62.5.
    EXPECT_EQ(62, At(0, 500));
    // Second event: P1 = P0 = 100, P2 33.3, P3 0: 12.5 + 37.5 + 12.5 = 62.5.
    EXPECT_EQ(62, At(1, 1500));
}

TEST_F(EvalFixture, EqualStartAndEndStayConstantInAChain) {
    Add(0, 1000, {5, 0}, {5, 10});
    Add(1000, 2000, {5, 10}, {5, 20});
    LinkAll(demo);
    EXPECT_EQ(5, At(0, 123, 0));
    EXPECT_EQ(5, At(1, 1777, 0));
}

TEST_F(EvalFixture, StaleLinkToShorterNeighbourReadsNothingOutside) {
    Add(0, 1000, {0}, {100});
    Add(1000, 2000, {100, 5}, {300, 50});
    Ev(0).continuesIntoNext = true; // as if an edit left the flag behind
    int32_t v = At(1, 1500, 1);
    EXPECT_GE(v, 5);
    EXPECT_LE(v, 50);
}

// [SECTION] Active events and call order

struct RenderFixture : EvalFixture {
    void AddTagged(uint32_t track, uint32_t start, uint32_t end, int32_t tag) {
        AddEvent(demo, track, "lib", "F", start, end, {tag, 0}, {tag, 100});
        demo.tracks[track].events[demo.tracks[track].eventCount - 1].effect = AsProc(RecordTag);
    }
    std::vector<int> Tags(uint32_t t) {
        gCalls.clear();
        EXPECT_TRUE(RenderFrame(demo, t));
        std::vector<int> tags;
        for (const Call& c : gCalls)
            tags.push_back(c.tag);
        return tags;
    }
};

TEST_F(RenderFixture, BothEndsOfAnEventAreActive) {
    AddTagged(0, 100, 200, 1);
    AddTagged(0, 300, 400, 2);
    EXPECT_EQ(std::vector<int>{1}, Tags(100));
    EXPECT_EQ(std::vector<int>{1}, Tags(200));
    EXPECT_EQ(std::vector<int>{}, Tags(250));
    EXPECT_EQ(std::vector<int>{2}, Tags(400));
    EXPECT_EQ(std::vector<int>{}, Tags(401));
    EXPECT_EQ(std::vector<int>{}, Tags(99));
}

TEST_F(RenderFixture, OverlappingEventsPlayTheFirstNotYetEnded) {
    AddTagged(0, 0, 1000, 1);
    AddTagged(0, 500, 1500, 2);
    EXPECT_EQ(std::vector<int>{1}, Tags(700));
    EXPECT_EQ(std::vector<int>{2}, Tags(1200));
}

TEST_F(RenderFixture, SharedInstantBelongsToTheEarlierEvent) {
    AddTagged(0, 0, 1000, 1);
    AddTagged(0, 1000, 2000, 2);
    EXPECT_EQ(std::vector<int>{1}, Tags(1000));
}

TEST_F(RenderFixture, HiddenEventOrTrackDrawsNothing) {
    AddTagged(0, 0, 1000, 1);
    AddTagged(0, 1000, 2000, 2);
    Ev(0).hidden = true;
    EXPECT_EQ(std::vector<int>{}, Tags(500));
    EXPECT_EQ(std::vector<int>{}, Tags(1000)); // the walk stops at the hidden event
    EXPECT_EQ(std::vector<int>{2}, Tags(1001));
    demo.tracks[0].hidden = true;
    EXPECT_EQ(std::vector<int>{}, Tags(1500));
}

TEST_F(RenderFixture, LastTrackIsDrawnFirst) {
    AddTrack(demo);
    AddTrack(demo);
    AddTagged(0, 0, 1000, 10);
    AddTagged(1, 0, 1000, 11);
    AddTagged(2, 0, 1000, 12);
    EXPECT_EQ((std::vector<int>{12, 11, 10}), Tags(500));
    EXPECT_EQ(50, gCalls[0].value); // the second parameter interpolates 0..100
}
} // namespace
