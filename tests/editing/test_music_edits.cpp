// Tempo, marker and loop range edits on a demo in memory.
#include <gtest/gtest.h>

#include <string>

#include "demo_builder.h"
#include "music_edits.h"

namespace {

std::string Names(const DemoStruct& d) {
    std::string s;
    for (uint32_t i = 0; i < d.markerCount; i++)
        s += std::string(s.empty() ? "" : " ") + d.markers[i].name + "@" + std::to_string(d.markers[i].time);
    return s;
}

struct MusicEdits : ::testing::Test {
    DemoStruct d = EmptyDemo();
    void SetUp() override { d.runningTime = 10000; }
    void TearDown() override { ReleaseDemo(d); }
};

TEST_F(MusicEdits, MarkersStayInTimeOrder) {
    EXPECT_EQ(0, AddDemoMarker(d, 5000, "B"));
    EXPECT_EQ(0, AddDemoMarker(d, 1000, "A"));
    EXPECT_EQ(2, AddDemoMarker(d, 9000, "D"));
    EXPECT_EQ(2, AddDemoMarker(d, 5000, "C")); // after the one already at 5000
    EXPECT_EQ("A@1000 B@5000 C@5000 D@9000", Names(d));
    EXPECT_TRUE(RemoveDemoMarker(d, 1));
    EXPECT_TRUE(RenameDemoMarker(d, 0, "Intro"));
    EXPECT_EQ("Intro@1000 C@5000 D@9000", Names(d));
    EXPECT_FALSE(RemoveDemoMarker(d, 3));
    EXPECT_FALSE(RenameDemoMarker(d, 0, ""));
    EXPECT_FALSE(RenameDemoMarker(d, 7, "X"));
    EXPECT_EQ(-1, AddDemoMarker(d, 0, ""));
    EXPECT_EQ(-1, AddDemoMarker(d, 0, nullptr));
    for (uint32_t i = 0; i < 3; i++)
        EXPECT_TRUE(RemoveDemoMarker(d, 0));
    EXPECT_EQ(0u, d.markerCount);
    EXPECT_EQ(nullptr, d.markers);
    EXPECT_FALSE(RemoveDemoMarker(d, 0));
}

TEST_F(MusicEdits, LongNamesAreCutAndNewNamesAreFree) {
    EXPECT_EQ("Marker 1", NewMarkerName(d));
    AddDemoMarker(d, 10, "Marker 1");
    AddDemoMarker(d, 20, "Marker 3");
    EXPECT_EQ("Marker 2", NewMarkerName(d));
    AddDemoMarker(d, 30, "Marker 2");
    EXPECT_EQ("Marker 4", NewMarkerName(d));
    AddDemoMarker(d, 40, std::string(300, 'x').c_str());
    EXPECT_EQ(255u, std::string(d.markers[3].name).size());
}

TEST_F(MusicEdits, PreviousAndNextMarker) {
    EXPECT_EQ(-1, PreviousMarker(d, 5000));
    EXPECT_EQ(-1, NextMarker(d, 5000));
    AddDemoMarker(d, 1000, "A");
    AddDemoMarker(d, 3000, "B");
    EXPECT_EQ(-1, PreviousMarker(d, 1000)); // strictly before
    EXPECT_EQ(0, PreviousMarker(d, 1001));
    EXPECT_EQ(1, PreviousMarker(d, 9999));
    EXPECT_EQ(1, NextMarker(d, 1000)); // strictly after
    EXPECT_EQ(0, NextMarker(d, 0));
    EXPECT_EQ(-1, NextMarker(d, 3000));
}

TEST_F(MusicEdits, LoopEndsKeepInBeforeOut) {
    EXPECT_TRUE(SetLoopIn(d, 2000)); // no range yet: out at the end
    EXPECT_TRUE(d.hasLoopRange);
    EXPECT_EQ(2000u, d.loopIn);
    EXPECT_EQ(10000u, d.loopOut);
    EXPECT_TRUE(SetLoopOut(d, 4000));
    EXPECT_EQ(2000u, d.loopIn);
    EXPECT_EQ(4000u, d.loopOut);
    EXPECT_TRUE(SetLoopOut(d, 1000)); // before the in: the in goes to the start
    EXPECT_EQ(0u, d.loopIn);
    EXPECT_EQ(1000u, d.loopOut);
    EXPECT_TRUE(SetLoopIn(d, 6000)); // after the out: the out goes to the end
    EXPECT_EQ(6000u, d.loopIn);
    EXPECT_EQ(10000u, d.loopOut);
    EXPECT_FALSE(SetLoopIn(d, 10000)); // nothing can follow the end
    EXPECT_FALSE(SetLoopOut(d, 0));
    EXPECT_EQ(6000u, d.loopIn);
    EXPECT_EQ(10000u, d.loopOut);
    DemoStruct fresh = EmptyDemo();
    EXPECT_TRUE(SetLoopOut(fresh, 500));
    EXPECT_EQ(0u, fresh.loopIn);
    ReleaseDemo(fresh);
}

TEST_F(MusicEdits, TempoValuesAreChecked) {
    EXPECT_TRUE(SetDemoTempo(d, 128, 20, 3));
    EXPECT_EQ(128.0, d.tempo.beatsPerMinute);
    EXPECT_EQ(20u, d.tempo.firstBeat);
    EXPECT_EQ(3u, d.tempo.beatsPerBar);
    EXPECT_FALSE(SetDemoTempo(d, 0.5, 0, 4));
    EXPECT_FALSE(SetDemoTempo(d, 1001, 0, 4));
    EXPECT_FALSE(SetDemoTempo(d, -5, 0, 4));
    EXPECT_FALSE(SetDemoTempo(d, 120, 0, 65));
    EXPECT_EQ(128.0, d.tempo.beatsPerMinute); // unchanged by the refusals
    EXPECT_TRUE(SetDemoTempo(d, 0, 0, 0));    // no tempo
    EXPECT_EQ(0.0, d.tempo.beatsPerMinute);
}

} // namespace
