// Demo records: linking neighbouring events and releasing a demo.
#include <gtest/gtest.h>

#include "demo_builder.h"

namespace {

struct LinkFixture : ::testing::Test {
    DemoStruct demo = EmptyDemo();
    void SetUp() override { AddTrack(demo); }
    void TearDown() override { ReleaseDemo(demo); }
    DemoEvent& Ev(uint32_t i) { return demo.tracks[0].events[i]; }
};

TEST_F(LinkFixture, SameEffectMeetingExactlyIsLinked) {
    AddEvent(demo, 0, "lib", "Image", 0, 1000, {1, 2}, {10, 20});
    AddEvent(demo, 0, "lib", "Image", 1000, 2000, {10, 20}, {0, 0});
    LinkEvents(Ev(0), Ev(1));
    EXPECT_TRUE(Ev(0).continuesIntoNext);
}

TEST_F(LinkFixture, ValueDifferingByOneIsNotLinked) {
    AddEvent(demo, 0, "lib", "Image", 0, 1000, {1, 2}, {10, 20});
    AddEvent(demo, 0, "lib", "Image", 1000, 2000, {10, 21}, {0, 0});
    LinkEvents(Ev(0), Ev(1));
    EXPECT_FALSE(Ev(0).continuesIntoNext);
}

TEST_F(LinkFixture, GapOfTenMillisecondsIsNotLinked) {
    AddEvent(demo, 0, "lib", "Image", 0, 1000, {1}, {10});
    AddEvent(demo, 0, "lib", "Image", 1010, 2000, {10}, {0});
    Ev(0).continuesIntoNext = true;
    LinkEvents(Ev(0), Ev(1));
    EXPECT_FALSE(Ev(0).continuesIntoNext);
}

TEST_F(LinkFixture, NamesCompareCaseSensitively) {
    AddEvent(demo, 0, "lib", "Image", 0, 1000, {1}, {10});
    AddEvent(demo, 0, "lib", "image", 1000, 2000, {10}, {0});
    LinkEvents(Ev(0), Ev(1));
    EXPECT_FALSE(Ev(0).continuesIntoNext);
    AddEvent(demo, 0, "Lib", "image", 2000, 3000, {0}, {0});
    LinkEvents(Ev(1), Ev(2));
    EXPECT_FALSE(Ev(1).continuesIntoNext);
}

TEST_F(LinkFixture, LaterWithFewerParametersIsNotLinked) {
    AddEvent(demo, 0, "lib", "F", 0, 1000, {1, 2}, {10, 20});
    AddEvent(demo, 0, "lib", "F", 1000, 2000, {10}, {0});
    LinkEvents(Ev(0), Ev(1));
    EXPECT_FALSE(Ev(0).continuesIntoNext);
}

TEST_F(LinkFixture, EventsWithoutParametersLinkOnNamesAndTimes) {
    AddEvent(demo, 0, "lib", "Clear", 0, 1000, {}, {});
    AddEvent(demo, 0, "lib", "Clear", 1000, 2000, {}, {});
    LinkEvents(Ev(0), Ev(1));
    EXPECT_TRUE(Ev(0).continuesIntoNext);
}

TEST(ReleaseDemo, FreesEverythingAndZeroesCounts) {
    DemoStruct demo = EmptyDemo();
    AddLibrary(demo, "libFenk.so", {{"Image", {"ImageNr", "PosX"}}, {"Clear", {}}});
    AddTrack(demo);
    AddTrack(demo);
    AddEvent(demo, 1, "libFenk.so", "Image", 0, 100, {1, 2}, {3, 4});
    demo.inputMusicFile = CopyString("music.ogg");
    demo.author = CopyString("me");
    ReleaseDemo(demo);
    EXPECT_EQ(0u, demo.trackCount);
    EXPECT_EQ(0u, demo.libraryCount);
    EXPECT_EQ(nullptr, demo.tracks);
    EXPECT_EQ(nullptr, demo.libraries);
    EXPECT_EQ(nullptr, demo.inputMusicFile);
    EXPECT_EQ(nullptr, demo.author);
    ReleaseDemo(demo); // a second release finds nothing to free
}
} // namespace
