// The editor's operations on the demo: fixed texts, default values, structural
// edits keeping order and links, and failing calls that leave the demo untouched.
#include <gtest/gtest.h>

#include <string>

#include "demo_builder.h"
#include "demo_compare.h"
#include "demo_operations.h"
#include "scratch_dir.h"

namespace {

const char* kLib = "libFenk.so";

int FakeEntry() {
    return 1;
}

struct OpsFixture : ::testing::Test {
    DemoStruct demo = EmptyDemo();
    DemoOperations ops;

    void SetUp() override {
        AddLibrary(demo, kLib,
                   {{"Image", {"ImageNr", "PosX", "PosY", "Scale", "Opacity"}},
                    {"Clear", {}},
                    {"Move", {"PosX", "PosY", "Opacity"}},
                    {"Fade", {"Opacity", "Scale"}},
                    {"Glow", {"Brightness", "Level"}},
                    {"Line", {"PosX", "Width"}}});
        AddLibrary(demo, "other.so", {{"Image", {"Alpha"}}, {"Wave", {"PosY", "PosX", "PosX"}}});
        ops.demo = &demo;
    }
    void TearDown() override { ReleaseDemo(demo); }

    DemoEvent& Ev(uint32_t track, uint32_t event) { return demo.tracks[track].events[event]; }
    // Index of a function of the first library by name.
    uint32_t Fn(const char* name) {
        for (uint32_t f = 0; f < demo.libraries[0].functionCount; f++)
            if (std::string(demo.libraries[0].functions[f].name) == name) return f;
        ADD_FAILURE() << "no function " << name;
        return 0;
    }
};

// [SECTION] Queries

TEST_F(OpsFixture, QueriesOutOfRangeAnswerWithFixedTexts) {
    AddTrack(demo);
    AddEvent(demo, 0, kLib, "Move", 0, 1000, {1, 2, 3}, {4, 5, 6});
    EXPECT_STREQ("Couldn't find track or event!", ops.EventFunctionName(1, 0));
    EXPECT_STREQ("Couldn't find track or event!", ops.EventFunctionName(0, 1));
    EXPECT_STREQ("Move", ops.EventFunctionName(0, 0));
    EXPECT_STREQ("Opacity", ops.EventParamName(0, 0, 2));
    EXPECT_STREQ("No Name", ops.EventParamName(0, 0, 3));
    EXPECT_STREQ("No Name", ops.LibraryName(2));
    EXPECT_STREQ("No Name", ops.FunctionName(0, 6));
    EXPECT_STREQ("No Name", ops.FunctionName(2, 0));
    EXPECT_STREQ("other.so", ops.LibraryName(1));
    EXPECT_STREQ("Wave", ops.FunctionName(1, 1));
    EXPECT_EQ(3u, ops.FunctionParamCount(1, 1));
    EXPECT_EQ(0u, ops.FunctionParamCount(1, 2));
    EXPECT_EQ(0u, ops.FunctionCount(5));
    EXPECT_EQ(6u, ops.FunctionCount(0));
    EXPECT_EQ(0u, ops.EventCount(1));
    EXPECT_EQ(0u, ops.EventStart(0, 1));
    EXPECT_EQ(0u, ops.EventEnd(0, 1));
    EXPECT_EQ(1000u, ops.EventEnd(0, 0));
    EXPECT_EQ(0u, ops.EventParamCount(0, (uint32_t)-1));
    EXPECT_EQ(3, ops.EventStartValue(0, 0, 2));
    EXPECT_EQ(6, ops.EventEndValue(0, 0, 2));
    EXPECT_EQ(0, ops.EventStartValue(0, 0, 3));
    EXPECT_EQ(0, ops.EventEndValue(0, 0, 3));
    EXPECT_EQ(nullptr, ops.GetEvent(0, 1));
    EXPECT_EQ(&Ev(0, 0), ops.GetEvent(0, 0));
    EXPECT_FALSE(ops.GetTrackHidden(3));
    EXPECT_FALSE(ops.GetEventHidden(0, 3));
}

TEST_F(OpsFixture, MissingDescriptiveTextsReadAsFixedTexts) {
    EXPECT_STREQ("No music selected!", ops.GetMusicFile());
    EXPECT_STREQ("Unknown", ops.GetAuthor());
    EXPECT_STREQ("Unknown", ops.GetGroup());
    EXPECT_STREQ("No comment...", ops.GetExtraInfo());
    ops.SetMusicFile("song.ogg");
    ops.SetAuthor("Anna");
    ops.SetGroup("Fenk");
    ops.SetExtraInfo("Party version");
    EXPECT_STREQ("song.ogg", ops.GetMusicFile());
    EXPECT_STREQ("Anna", ops.GetAuthor());
    EXPECT_STREQ("Fenk", ops.GetGroup());
    EXPECT_STREQ("Party version", ops.GetExtraInfo());
    ops.SetRunningTime(61000);
    EXPECT_EQ(61000u, ops.GetRunningTime());
}

TEST_F(OpsFixture, StoredTextIsCutTo255Characters) {
    ops.SetAuthor(std::string(300, 'a').c_str());
    EXPECT_EQ(std::string(255, 'a'), ops.GetAuthor());
    ops.SetGroup(std::string(255, 'g').c_str());
    EXPECT_EQ(std::string(255, 'g'), ops.GetGroup());
}

TEST_F(OpsFixture, StoredTextKeepsLatin1Bytes) {
    ops.SetAuthor("J\xfcrgen \xa9");
    EXPECT_STREQ("J\xfcrgen \xa9", ops.GetAuthor());
}

TEST_F(OpsFixture, SettingATextFromItsOwnValueKeepsIt) {
    ops.SetAuthor("Anna");
    ops.SetAuthor(ops.GetAuthor());
    EXPECT_STREQ("Anna", ops.GetAuthor());
}

TEST(DemoOperationsWithoutDemo, AnswerAndChangeNothing) {
    DemoOperations ops;
    EXPECT_EQ(0u, ops.GetRunningTime());
    ops.SetRunningTime(5);
    ops.SetAuthor("x");
    ops.SetTrackHidden(0, true);
    EXPECT_EQ(nullptr, ops.GetMusicFile());
    EXPECT_EQ(nullptr, ops.GetAuthor());
    EXPECT_EQ(nullptr, ops.GetGroup());
    EXPECT_EQ(nullptr, ops.GetExtraInfo());
    EXPECT_EQ(0u, ops.TrackCount());
    EXPECT_EQ(0u, ops.LibraryCount());
    EXPECT_STREQ("No Name", ops.LibraryName(0));
    EXPECT_EQ(0u, ops.FunctionCount(0));
    EXPECT_STREQ("No Name", ops.FunctionName(0, 0));
    EXPECT_EQ(0u, ops.FunctionParamCount(0, 0));
    EXPECT_FALSE(ops.GetTrackHidden(0));
    EXPECT_FALSE(ops.GetEventHidden(0, 0));
    EXPECT_EQ(0, ops.EventValueAt(0, 0, 0, 0));
    EXPECT_FALSE(ops.EventContinues(0, 0));
    EXPECT_FALSE(ops.InsertTrack(0));
    EXPECT_FALSE(ops.DeleteTrack(0));
    EXPECT_FALSE(ops.SwapTracks(0, 1));
    EXPECT_EQ(-1, ops.AddEvent(0, 0, 0, 0));
    EXPECT_EQ(-1, ops.AddContinuingEvent(0, 0));
    EXPECT_FALSE(ops.DeleteEvent(0, 0));
    EXPECT_EQ(-1, ops.MoveEventToTrack(0, 0, 1));
    EXPECT_FALSE(ops.ChangeEffect(0, 0, 0, 0));
    EXPECT_FALSE(ops.RelinkEvent(0, 0));
    EXPECT_EQ(3, ops.SortTrackEvents(0, 3));
    EXPECT_EQ(nullptr, ops.FindFunction("Image"));
    EXPECT_EQ(nullptr, ops.demo);
}

TEST_F(OpsFixture, HiddenFlagsOfTracksAndEvents) {
    AddTrack(demo);
    AddEvent(demo, 0, kLib, "Clear", 0, 10, {}, {});
    ops.SetTrackHidden(0, true);
    ops.SetEventHidden(0, 0, true);
    EXPECT_TRUE(demo.tracks[0].hidden);
    EXPECT_TRUE(Ev(0, 0).hidden);
    EXPECT_TRUE(ops.GetTrackHidden(0));
    EXPECT_TRUE(ops.GetEventHidden(0, 0));
    ops.SetEventHidden(0, 0, false);
    EXPECT_FALSE(ops.GetEventHidden(0, 0));
}

TEST_F(OpsFixture, DefaultValuesFollowParameterNamesExactly) {
    EXPECT_EQ(4000, DemoOperations::DefaultParamValue("PosX"));
    EXPECT_EQ(3000, DemoOperations::DefaultParamValue("PosY"));
    EXPECT_EQ(1000, DemoOperations::DefaultParamValue("Scale"));
    EXPECT_EQ(255, DemoOperations::DefaultParamValue("Opacity"));
    EXPECT_EQ(1000, DemoOperations::DefaultParamValue("Brightness"));
    EXPECT_EQ(0, DemoOperations::DefaultParamValue("posx"));
    EXPECT_EQ(0, DemoOperations::DefaultParamValue("ImageNr"));
    EXPECT_EQ(0, DemoOperations::DefaultParamValue(nullptr));
}

TEST_F(OpsFixture, FindFunctionTakesFirstMatchOfAnyLibrary) {
    EXPECT_EQ(&demo.libraries[0].functions[0], ops.FindFunction("Image"));
    EXPECT_EQ(&demo.libraries[1].functions[1], ops.FindFunction("Wave"));
    EXPECT_EQ(nullptr, ops.FindFunction("image"));
    EXPECT_EQ(nullptr, ops.FindFunction(nullptr));
}

TEST_F(OpsFixture, ParameterNamesComeFromTheLibraryDescription) {
    AddTrack(demo);
    // An event naming a known function but carrying more values than it declares.
    AddEvent(demo, 0, "other.so", "Image", 0, 10, {1, 2, 3, 4, 5, 6}, {1, 2, 3, 4, 5, 6});
    EXPECT_STREQ("ImageNr", ops.EventParamName(0, 0, 0)); // first "Image" is the first library's
    EXPECT_STREQ("Opacity", ops.EventParamName(0, 0, 4));
    EXPECT_STREQ("No Name", ops.EventParamName(0, 0, 5));
    AddEvent(demo, 0, kLib, "Unknown", 20, 30, {1}, {1});
    EXPECT_STREQ("No Name", ops.EventParamName(0, 1, 0));
}

TEST_F(OpsFixture, ParameterNamesAbsentWithoutDescriptiveData) {
    AddTrack(demo);
    AddEvent(demo, 0, kLib, "Fade", 0, 10, {1, 2}, {1, 2});
    FreeString(demo.libraries[0].functions[3].paramNames[0]);
    EXPECT_STREQ("No Name", ops.EventParamName(0, 0, 0));
    EXPECT_STREQ("Scale", ops.EventParamName(0, 0, 1));
}

TEST_F(OpsFixture, PositionParamsFoundByName) {
    AddTrack(demo);
    AddEvent(demo, 0, kLib, "Image", 0, 10, {0, 1, 2, 3, 4}, {0, 1, 2, 3, 4});
    AddEvent(demo, 0, kLib, "Line", 20, 30, {0, 1}, {0, 1});
    AddEvent(demo, 0, "other.so", "Wave", 40, 50, {0, 1, 2}, {0, 1, 2});
    PositionParams p = ops.FindPositionParams(0, 0);
    EXPECT_TRUE(p.found);
    EXPECT_EQ(1u, p.x);
    EXPECT_EQ(2u, p.y);
    p = ops.FindPositionParams(0, 1);
    EXPECT_FALSE(p.found);
    EXPECT_EQ(0u, p.x);
    EXPECT_EQ(2u, p.y);
    p = ops.FindPositionParams(0, 2); // the last "PosX" wins
    EXPECT_TRUE(p.found);
    EXPECT_EQ(2u, p.x);
    EXPECT_EQ(0u, p.y);
    EXPECT_FALSE(ops.FindPositionParams(0, 3).found);
    EXPECT_FALSE(ops.FindPositionParams(1, 0).found);
}

TEST_F(OpsFixture, ValueAtFollowsPlaybackInterpolation) {
    AddTrack(demo);
    AddEvent(demo, 0, kLib, "Move", 1000, 2000, {0, 100, 255}, {1000, 300, 255});
    EXPECT_EQ(0, ops.EventValueAt(0, 0, 0, 1000));
    EXPECT_EQ(250, ops.EventValueAt(0, 0, 0, 1250));
    EXPECT_EQ(200, ops.EventValueAt(0, 0, 1, 1500));
    EXPECT_EQ(1000, ops.EventValueAt(0, 0, 0, 2000));
    EXPECT_EQ(255, ops.EventValueAt(0, 0, 2, 1700));
    EXPECT_EQ(0, ops.EventValueAt(0, 0, 3, 1500));
    EXPECT_EQ(0, ops.EventValueAt(0, 1, 0, 1500));
}

TEST_F(OpsFixture, ValueAtAcrossAContinuedPairIsSmooth) {
    AddTrack(demo);
    AddEvent(demo, 0, kLib, "Move", 0, 1000, {0, 0, 0}, {1000, 0, 0});
    ASSERT_EQ(1, ops.AddContinuingEvent(0, 0));
    Ev(0, 1).endValues[0] = 2000;
    // A straight 0..2000 over 2000 ms seen through the curve: same slope on both
    // sides, so the joint is at 1000 and values rise without a step.
    EXPECT_EQ(1000, ops.EventValueAt(0, 0, 0, 1000));
    EXPECT_EQ(1000, ops.EventValueAt(0, 1, 0, 1000));
    int32_t previous = -1;
    for (uint32_t t = 0; t <= 2000; t += 50) {
        int32_t v = t <= 1000 ? ops.EventValueAt(0, 0, 0, t) : ops.EventValueAt(0, 1, 0, t);
        EXPECT_GE(v, previous) << "at " << t;
        EXPECT_LE(v - previous, 80) << "at " << t;
        previous = v;
    }
}

TEST_F(OpsFixture, EventContinuesRelinksBothNeighbours) {
    AddTrack(demo);
    AddEvent(demo, 0, kLib, "Move", 0, 1000, {0, 0, 0}, {5, 6, 7});
    AddEvent(demo, 0, kLib, "Move", 1000, 2000, {5, 6, 7}, {0, 0, 0});
    EXPECT_FALSE(Ev(0, 0).continuesIntoNext);
    EXPECT_TRUE(ops.EventContinues(0, 0));
    Ev(0, 1).startValues[2] = 8;
    Ev(0, 1).continuesIntoNext = true; // stale: it has no next event
    EXPECT_FALSE(ops.EventContinues(0, 1));
    EXPECT_FALSE(Ev(0, 0).continuesIntoNext);
    EXPECT_FALSE(ops.EventContinues(0, 2));
}

// [SECTION] Tracks

TEST_F(OpsFixture, InsertTrackAtCountAppendsEmptyVisibleTrack) {
    AddTrack(demo);
    AddEvent(demo, 0, kLib, "Clear", 0, 10, {}, {});
    EXPECT_TRUE(ops.InsertTrack(ops.TrackCount()));
    ASSERT_EQ(2u, demo.trackCount);
    EXPECT_EQ(0u, demo.tracks[1].eventCount);
    EXPECT_EQ(nullptr, demo.tracks[1].events);
    EXPECT_FALSE(demo.tracks[1].hidden);
    EXPECT_EQ(1u, demo.tracks[0].eventCount);
}

TEST_F(OpsFixture, InsertTrackMovesLaterTracksUp) {
    AddTrack(demo);
    AddTrack(demo);
    AddEvent(demo, 1, kLib, "Clear", 0, 10, {}, {});
    demo.tracks[1].hidden = true;
    EXPECT_TRUE(ops.InsertTrack(1));
    ASSERT_EQ(3u, demo.trackCount);
    EXPECT_EQ(0u, demo.tracks[1].eventCount);
    EXPECT_EQ(1u, demo.tracks[2].eventCount);
    EXPECT_TRUE(demo.tracks[2].hidden);
    EXPECT_TRUE(ops.InsertTrack(0));
    EXPECT_EQ(4u, ops.TrackCount());
    EXPECT_EQ(1u, ops.EventCount(3));
}

TEST_F(OpsFixture, DeleteTrackMovesLaterTracksDown) {
    for (int i = 0; i < 3; i++)
        AddTrack(demo);
    AddEvent(demo, 0, kLib, "Clear", 0, 10, {}, {});
    AddEvent(demo, 1, kLib, "Move", 0, 10, {1, 2, 3}, {1, 2, 3});
    AddEvent(demo, 2, kLib, "Fade", 0, 10, {1, 2}, {1, 2});
    AddEvent(demo, 2, kLib, "Fade", 20, 30, {1, 2}, {1, 2});
    EXPECT_TRUE(ops.DeleteTrack(1));
    ASSERT_EQ(2u, ops.TrackCount());
    EXPECT_STREQ("Clear", ops.EventFunctionName(0, 0));
    EXPECT_EQ(2u, ops.EventCount(1));
    EXPECT_STREQ("Fade", ops.EventFunctionName(1, 1));
    EXPECT_TRUE(ops.DeleteTrack(1));
    EXPECT_TRUE(ops.DeleteTrack(0));
    EXPECT_EQ(0u, ops.TrackCount());
    EXPECT_TRUE(ops.InsertTrack(0)); // the kept array of a track-less demo is reused safely
    EXPECT_EQ(1u, ops.TrackCount());
}

TEST_F(OpsFixture, SwapTracksExchangesWholeTracks) {
    AddTrack(demo);
    AddTrack(demo);
    AddEvent(demo, 1, kLib, "Clear", 0, 10, {}, {});
    demo.tracks[1].hidden = true;
    DemoEvent* events = demo.tracks[1].events;
    EXPECT_TRUE(ops.SwapTracks(0, 1));
    EXPECT_EQ(events, demo.tracks[0].events);
    EXPECT_TRUE(demo.tracks[0].hidden);
    EXPECT_FALSE(demo.tracks[1].hidden);
    EXPECT_EQ(0u, demo.tracks[1].eventCount);
}

// [SECTION] Events

TEST_F(OpsFixture, AddEventGoesAfterEventsStartingAtOrBeforeIt) {
    AddTrack(demo);
    AddEvent(demo, 0, kLib, "Clear", 0, 100, {}, {});
    AddEvent(demo, 0, kLib, "Clear", 5000, 5100, {}, {});
    AddEvent(demo, 0, kLib, "Clear", 9000, 9100, {}, {});
    EXPECT_EQ(2, ops.AddEvent(0, 5000, 0, Fn("Fade")));
    ASSERT_EQ(4u, ops.EventCount(0));
    EXPECT_EQ(5000u, ops.EventStart(0, 2));
    EXPECT_EQ(6000u, ops.EventEnd(0, 2));
    EXPECT_STREQ("Fade", ops.EventFunctionName(0, 2));
    EXPECT_STREQ(kLib, Ev(0, 2).libraryFileName);
    EXPECT_EQ(9000u, ops.EventStart(0, 3));
    EXPECT_FALSE(Ev(0, 2).hidden);
    EXPECT_FALSE(Ev(0, 2).continuesIntoNext);
    EXPECT_EQ(1, ops.AddEvent(0, 0, 0, Fn("Clear"))); // after the event that starts at 0
    EXPECT_EQ(5, ops.AddEvent(0, 20000, 0, Fn("Clear")));
}

TEST_F(OpsFixture, AddEventFillsDefaultValuesByName) {
    AddTrack(demo);
    ASSERT_EQ(0, ops.AddEvent(0, 0, 0, Fn("Image")));
    const int32_t expected[] = {0, 4000, 3000, 1000, 255};
    ASSERT_EQ(5u, ops.EventParamCount(0, 0));
    for (uint32_t k = 0; k < 5; k++) {
        EXPECT_EQ(expected[k], ops.EventStartValue(0, 0, k)) << k;
        EXPECT_EQ(expected[k], ops.EventEndValue(0, 0, k)) << k;
    }
    ASSERT_EQ(1, ops.AddEvent(0, 0, 0, Fn("Glow")));
    EXPECT_EQ(1000, ops.EventStartValue(0, 1, 0));
    EXPECT_EQ(0, ops.EventStartValue(0, 1, 1));
}

TEST_F(OpsFixture, AddEventWithoutParametersHasNoArrays) {
    AddTrack(demo);
    ASSERT_EQ(0, ops.AddEvent(0, 70, 0, Fn("Clear")));
    EXPECT_EQ(0u, Ev(0, 0).paramCount);
    EXPECT_EQ(nullptr, Ev(0, 0).startValues);
    EXPECT_EQ(nullptr, Ev(0, 0).endValues);
}

TEST_F(OpsFixture, AddEventTakesTheFunctionsEntryPoint) {
    AddTrack(demo);
    EffectProc entry = &FakeEntry;
    demo.libraries[1].functions[0].entry = entry;
    ASSERT_EQ(0, ops.AddEvent(0, 0, 1, 0));
    EXPECT_EQ(entry, Ev(0, 0).effect);
    EXPECT_STREQ("other.so", Ev(0, 0).libraryFileName);
}

TEST_F(OpsFixture, AddEventNearTheEndOfTheClockDoesNotWrap) {
    AddTrack(demo);
    ASSERT_EQ(0, ops.AddEvent(0, UINT32_MAX - 10, 0, Fn("Clear")));
    EXPECT_EQ(UINT32_MAX, ops.EventEnd(0, 0));
    ASSERT_EQ(1, ops.AddContinuingEvent(0, 0));
    EXPECT_EQ(UINT32_MAX, ops.EventStart(0, 1));
    EXPECT_EQ(UINT32_MAX, ops.EventEnd(0, 1));
}

TEST_F(OpsFixture, ContinuingEventStartsWhereItsSourceEnds) {
    AddTrack(demo);
    AddEvent(demo, 0, kLib, "Move", 1000, 3000, {1, 2, 3}, {10, 20, 30});
    AddEvent(demo, 0, kLib, "Clear", 2000, 2500, {}, {});
    EXPECT_EQ(1, ops.AddContinuingEvent(0, 0));
    ASSERT_EQ(3u, ops.EventCount(0));
    EXPECT_EQ(3000u, ops.EventStart(0, 1));
    EXPECT_EQ(4000u, ops.EventEnd(0, 1));
    for (uint32_t k = 0; k < 3; k++) {
        EXPECT_EQ(ops.EventEndValue(0, 0, k), ops.EventStartValue(0, 1, k));
        EXPECT_EQ(ops.EventEndValue(0, 0, k), ops.EventEndValue(0, 1, k));
    }
    EXPECT_NE(Ev(0, 0).endValues, Ev(0, 1).startValues);
    EXPECT_NE(Ev(0, 1).startValues, Ev(0, 1).endValues);
    EXPECT_TRUE(Ev(0, 0).continuesIntoNext);
    EXPECT_FALSE(Ev(0, 1).continuesIntoNext);
    EXPECT_STREQ("Move", ops.EventFunctionName(0, 1));
    EXPECT_STREQ("Clear", ops.EventFunctionName(0, 2)); // later events are not reordered
    EXPECT_TRUE(ops.EventContinues(0, 0));              // the pair satisfies the link test
}

TEST_F(OpsFixture, DeletingTheSecondOfAContinuedPairClearsTheLink) {
    AddTrack(demo);
    AddEvent(demo, 0, kLib, "Move", 1000, 3000, {1, 2, 3}, {10, 20, 30});
    ASSERT_EQ(1, ops.AddContinuingEvent(0, 0));
    ASSERT_TRUE(Ev(0, 0).continuesIntoNext);
    EXPECT_TRUE(ops.DeleteEvent(0, 1));
    EXPECT_EQ(1u, ops.EventCount(0));
    EXPECT_FALSE(Ev(0, 0).continuesIntoNext);
}

TEST_F(OpsFixture, DeleteEventMovesLaterEventsDown) {
    AddTrack(demo);
    AddEvent(demo, 0, kLib, "Clear", 0, 10, {}, {});
    AddEvent(demo, 0, kLib, "Fade", 20, 30, {1, 2}, {3, 4});
    AddEvent(demo, 0, kLib, "Move", 40, 50, {1, 2, 3}, {1, 2, 3});
    EXPECT_TRUE(ops.DeleteEvent(0, 0));
    ASSERT_EQ(2u, ops.EventCount(0));
    EXPECT_STREQ("Fade", ops.EventFunctionName(0, 0));
    EXPECT_STREQ("Move", ops.EventFunctionName(0, 1));
    EXPECT_TRUE(ops.DeleteEvent(0, 1));
    EXPECT_TRUE(ops.DeleteEvent(0, 0));
    EXPECT_EQ(0u, ops.EventCount(0));
    EXPECT_EQ(0, ops.AddEvent(0, 5, 0, Fn("Clear")));
}

TEST_F(OpsFixture, MoveEventToTrackKeepsEverythingAndSortsIntoTarget) {
    AddTrack(demo);
    AddTrack(demo);
    AddEvent(demo, 0, kLib, "Move", 0, 1000, {1, 2, 3}, {4, 5, 6});
    AddEvent(demo, 0, kLib, "Move", 1000, 2000, {4, 5, 6}, {7, 8, 9});
    AddEvent(demo, 1, kLib, "Clear", 500, 600, {}, {});
    AddEvent(demo, 1, kLib, "Clear", 1500, 1600, {}, {});
    LinkAll(demo);
    ASSERT_TRUE(Ev(0, 0).continuesIntoNext);
    Ev(0, 1).hidden = true;
    EXPECT_EQ(1, ops.MoveEventToTrack(0, 1, 1));
    EXPECT_EQ(1u, ops.EventCount(0));
    EXPECT_FALSE(Ev(0, 0).continuesIntoNext);
    ASSERT_EQ(3u, ops.EventCount(1));
    const DemoEvent& moved = Ev(1, 1);
    EXPECT_EQ(1000u, moved.startTime);
    EXPECT_EQ(2000u, moved.endTime);
    EXPECT_TRUE(moved.hidden);
    EXPECT_FALSE(moved.continuesIntoNext);
    EXPECT_STREQ("Move", moved.functionName);
    EXPECT_STREQ(kLib, moved.libraryFileName);
    ASSERT_EQ(3u, moved.paramCount);
    EXPECT_EQ(4, moved.startValues[0]);
    EXPECT_EQ(9, moved.endValues[2]);
}

TEST_F(OpsFixture, MoveEventWithinItsOwnTrackKeepsOneCopy) {
    AddTrack(demo);
    AddEvent(demo, 0, kLib, "Fade", 3000, 3100, {1, 1}, {1, 1});
    AddEvent(demo, 0, kLib, "Move", 1000, 1100, {1, 2, 3}, {1, 2, 3});
    AddEvent(demo, 0, kLib, "Clear", 2000, 2100, {}, {});
    EXPECT_EQ(0, ops.MoveEventToTrack(0, 1, 0)); // goes before the later-starting first event
    ASSERT_EQ(3u, ops.EventCount(0));
    EXPECT_STREQ("Move", ops.EventFunctionName(0, 0));
    EXPECT_STREQ("Fade", ops.EventFunctionName(0, 1));
    EXPECT_STREQ("Clear", ops.EventFunctionName(0, 2));
    EXPECT_EQ(2, ops.MoveEventToTrack(0, 1, 0)); // Fade at 3000 goes last
    EXPECT_STREQ("Move", ops.EventFunctionName(0, 0));
    EXPECT_STREQ("Clear", ops.EventFunctionName(0, 1));
    EXPECT_STREQ("Fade", ops.EventFunctionName(0, 2));
}

TEST_F(OpsFixture, ChangeEffectKeepsSharedParametersByName) {
    AddTrack(demo);
    AddEvent(demo, 0, kLib, "Move", 100, 900, {10, 20, 30}, {11, 21, 31});
    demo.tracks[0].events[0].hidden = true;
    EXPECT_TRUE(ops.ChangeEffect(0, 0, 0, Fn("Fade")));
    ASSERT_EQ(2u, ops.EventParamCount(0, 0));
    EXPECT_STREQ("Fade", ops.EventFunctionName(0, 0));
    EXPECT_EQ(30, ops.EventStartValue(0, 0, 0));
    EXPECT_EQ(31, ops.EventEndValue(0, 0, 0));
    EXPECT_EQ(1000, ops.EventStartValue(0, 0, 1));
    EXPECT_EQ(1000, ops.EventEndValue(0, 0, 1));
    EXPECT_EQ(100u, ops.EventStart(0, 0));
    EXPECT_EQ(900u, ops.EventEnd(0, 0));
    EXPECT_TRUE(ops.GetEventHidden(0, 0));
}

TEST_F(OpsFixture, ChangeEffectFromUnknownFunctionTakesDefaults) {
    AddTrack(demo);
    AddEvent(demo, 0, "gone.so", "Vanished", 0, 1000, {7, 7}, {7, 7});
    EXPECT_TRUE(ops.ChangeEffect(0, 0, 1, 1));
    ASSERT_EQ(3u, ops.EventParamCount(0, 0));
    EXPECT_EQ(3000, ops.EventStartValue(0, 0, 0));
    EXPECT_EQ(4000, ops.EventStartValue(0, 0, 1));
    EXPECT_STREQ("other.so", Ev(0, 0).libraryFileName);
    EXPECT_TRUE(ops.ChangeEffect(0, 0, 0, Fn("Clear")));
    EXPECT_EQ(0u, ops.EventParamCount(0, 0));
    EXPECT_EQ(nullptr, Ev(0, 0).startValues);
}

TEST_F(OpsFixture, ChangeEffectWithMoreValuesDescribedThanStoredStaysInside) {
    AddTrack(demo);
    // "Image" declares five parameters; this event carries only two values.
    AddEvent(demo, 0, kLib, "Image", 0, 1000, {5, 6}, {5, 6});
    EXPECT_TRUE(ops.ChangeEffect(0, 0, 0, Fn("Move")));
    EXPECT_EQ(6, ops.EventStartValue(0, 0, 0));    // old PosX was index 1
    EXPECT_EQ(3000, ops.EventStartValue(0, 0, 1)); // old PosY (index 2) did not exist
    EXPECT_EQ(255, ops.EventStartValue(0, 0, 2));
}

TEST_F(OpsFixture, ChangeEffectRelinksWithNeighbours) {
    AddTrack(demo);
    AddEvent(demo, 0, kLib, "Fade", 0, 1000, {0, 0}, {255, 1000});
    AddEvent(demo, 0, kLib, "Move", 1000, 2000, {1, 1, 255}, {1, 1, 1});
    EXPECT_TRUE(ops.ChangeEffect(0, 1, 0, Fn("Fade")));
    EXPECT_TRUE(Ev(0, 0).continuesIntoNext);
}

TEST_F(OpsFixture, SortCarriesTheSelectionAlong) {
    AddTrack(demo);
    AddEvent(demo, 0, kLib, "Clear", 3000, 3100, {}, {});
    AddEvent(demo, 0, kLib, "Fade", 1000, 1100, {1, 1}, {1, 1});
    AddEvent(demo, 0, kLib, "Move", 2000, 2100, {1, 1, 1}, {1, 1, 1});
    EXPECT_EQ(2, ops.SortTrackEvents(0, 0));
    EXPECT_EQ(1000u, ops.EventStart(0, 0));
    EXPECT_EQ(2000u, ops.EventStart(0, 1));
    EXPECT_EQ(3000u, ops.EventStart(0, 2));
    EXPECT_STREQ("Clear", ops.EventFunctionName(0, 2));
}

TEST_F(OpsFixture, SortFollowsAnUnselectedShiftAndKeepsEqualStartsInOrder) {
    AddTrack(demo);
    AddEvent(demo, 0, kLib, "Clear", 3000, 3100, {}, {});
    AddEvent(demo, 0, kLib, "Fade", 1000, 1100, {1, 1}, {1, 1});
    AddEvent(demo, 0, kLib, "Move", 1000, 2100, {1, 1, 1}, {1, 1, 1});
    EXPECT_EQ(0, ops.SortTrackEvents(0, 1));
    EXPECT_STREQ("Fade", ops.EventFunctionName(0, 0));
    EXPECT_STREQ("Move", ops.EventFunctionName(0, 1));
    EXPECT_EQ(-1, ops.SortTrackEvents(0, -1));
}

TEST_F(OpsFixture, SortOfAnEmptyOrSingleTrackDoesNothing) {
    AddTrack(demo);
    EXPECT_EQ(4, ops.SortTrackEvents(0, 4));
    AddEvent(demo, 0, kLib, "Clear", 3000, 3100, {}, {});
    EXPECT_EQ(0, ops.SortTrackEvents(0, 0));
    EXPECT_EQ(7, ops.SortTrackEvents(1, 7));
}

// [SECTION] Failing calls change nothing

struct FailingFixture : OpsFixture {
    std::string before;
    void SetUp() override {
        OpsFixture::SetUp();
        for (int i = 0; i < 3; i++)
            AddTrack(demo);
        AddEvent(demo, 0, kLib, "Move", 0, 1000, {1, 2, 3}, {4, 5, 6});
        AddEvent(demo, 0, kLib, "Move", 1000, 2000, {4, 5, 6}, {7, 8, 9});
        AddEvent(demo, 2, kLib, "Clear", 0, 10, {}, {});
        LinkAll(demo);
        demo.author = CopyString("me");
        before = DumpDemo(demo);
    }
    void ExpectUnchanged() { EXPECT_EQ(before, DumpDemo(demo)); }
};

TEST_F(FailingFixture, TrackEditsOutOfRange) {
    const uint32_t none = (uint32_t)-1;
    EXPECT_FALSE(ops.InsertTrack(4));
    EXPECT_FALSE(ops.InsertTrack(none));
    EXPECT_FALSE(ops.DeleteTrack(3));
    EXPECT_FALSE(ops.DeleteTrack(none));
    EXPECT_FALSE(ops.SwapTracks(0, none));
    EXPECT_FALSE(ops.SwapTracks(2, 2));
    EXPECT_FALSE(ops.SwapTracks(3, 0));
    ops.SetTrackHidden(3, true);
    ops.SetEventHidden(0, 2, true);
    ops.SetEventHidden(1, 0, true);
    ExpectUnchanged();
}

TEST_F(FailingFixture, EventEditsOutOfRange) {
    const uint32_t none = (uint32_t)-1;
    EXPECT_EQ(-1, ops.AddEvent(3, 0, 0, 0));
    EXPECT_EQ(-1, ops.AddEvent(0, 0, 2, 0));
    EXPECT_EQ(-1, ops.AddEvent(0, 0, 0, 6));
    EXPECT_EQ(-1, ops.AddEvent(none, 0, 0, 0));
    EXPECT_EQ(-1, ops.AddContinuingEvent(0, 2));
    EXPECT_EQ(-1, ops.AddContinuingEvent(1, 0));
    EXPECT_EQ(-1, ops.AddContinuingEvent(3, 0));
    EXPECT_FALSE(ops.DeleteEvent(0, 2));
    EXPECT_FALSE(ops.DeleteEvent(1, 0));
    EXPECT_FALSE(ops.DeleteEvent(none, 0));
    EXPECT_EQ(-1, ops.MoveEventToTrack(0, 0, 3));
    EXPECT_EQ(-1, ops.MoveEventToTrack(0, 2, 1));
    EXPECT_EQ(-1, ops.MoveEventToTrack(3, 0, 1));
    EXPECT_FALSE(ops.ChangeEffect(0, 2, 0, 0));
    EXPECT_FALSE(ops.ChangeEffect(0, 0, 2, 0));
    EXPECT_FALSE(ops.ChangeEffect(0, 0, 0, 6));
    EXPECT_FALSE(ops.ChangeEffect(4, 0, 0, 0));
    EXPECT_FALSE(ops.RelinkEvent(0, 2));
    EXPECT_FALSE(ops.RelinkEvent(3, 0));
    EXPECT_FALSE(ops.EventContinues(1, 0));
    EXPECT_EQ(5, ops.SortTrackEvents(3, 5));
    ExpectUnchanged();
}

TEST_F(FailingFixture, StaleIndicesAfterDeletesFindNothing) {
    ASSERT_TRUE(ops.DeleteTrack(2));
    ASSERT_TRUE(ops.DeleteEvent(0, 1));
    before = DumpDemo(demo);
    // A selection still pointing at the deleted track and event.
    EXPECT_EQ(-1, ops.AddEvent(2, 0, 0, 0));
    EXPECT_FALSE(ops.DeleteEvent(0, 1));
    EXPECT_FALSE(ops.DeleteTrack(2));
    EXPECT_EQ(-1, ops.AddContinuingEvent(0, 1));
    EXPECT_FALSE(ops.ChangeEffect(0, 1, 0, 0));
    EXPECT_EQ(-1, ops.MoveEventToTrack(0, 1, 1));
    EXPECT_EQ(nullptr, ops.GetEvent(2, 0));
    EXPECT_STREQ("Couldn't find track or event!", ops.EventFunctionName(0, 1));
    ExpectUnchanged();
}

// [SECTION] Demos read from a file

TEST(DemoOperationsOnFile, EditsSurviveSaveAndReload) {
    ScratchDir dir;
    dir.Write("demo.xml",
              "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n<VorlenDemoFile><Libraries>"
              "<Library FileName=\"libFenk.so\"><Function Name=\"Image\"><Param Name=\"ImageNr\"/>"
              "<Param Name=\"PosX\"/><Param Name=\"PosY\"/></Function>"
              "<Function Name=\"Fade\"><Param Name=\"Opacity\"/><Param Name=\"Scale\"/></Function>"
              "</Library></Libraries><Demo><Settings RunningTime=\"20000\" UseOpenGL=\"true\" "
              "NumberOfInputSurfaces=\"0\" InputMusicFile=\"\"/><Summary/>"
              "<Track><Event LibraryFileName=\"libFenk.so\" FunctionName=\"Image\" StartTime=\"0\" "
              "EndTime=\"1000\"><param start=\"3\" end=\"3\"/><param start=\"100\" end=\"200\"/>"
              "<param start=\"10\" end=\"20\"/></Event></Track><Track/></Demo></VorlenDemoFile>\n");
    DemoStruct demo = EmptyDemo();
    LoadDemoFile(dir.file("demo.xml").c_str(), demo, true);
    DemoOperations ops;
    ops.demo = &demo;
    EXPECT_STREQ("", ops.GetMusicFile()); // present but empty
    EXPECT_STREQ("Unknown", ops.GetAuthor());
    EXPECT_STREQ("PosY", ops.EventParamName(0, 0, 2));
    EXPECT_TRUE(ops.FindPositionParams(0, 0).found);

    ASSERT_EQ(1, ops.AddContinuingEvent(0, 0));
    ASSERT_EQ(0, ops.AddEvent(1, 500, 0, 1));
    ASSERT_TRUE(ops.ChangeEffect(0, 1, 0, 1));
    ASSERT_TRUE(ops.InsertTrack(0));
    ASSERT_EQ(0, ops.MoveEventToTrack(2, 0, 0));
    ops.SetAuthor("Anna");
    ops.SetGroup("Fenk");
    ops.SetExtraInfo("first");
    ops.SetRunningTime(30000);
    ASSERT_TRUE(SaveDemoFile(dir.file("saved.xml").c_str(), &demo));

    DemoStruct again = EmptyDemo();
    LoadDemoFile(dir.file("saved.xml").c_str(), again, true);
    DemoOperations reread;
    reread.demo = &again;
    EXPECT_EQ(30000u, reread.GetRunningTime());
    EXPECT_STREQ("Anna", reread.GetAuthor());
    EXPECT_STREQ("Fenk", reread.GetGroup());
    EXPECT_STREQ("first", reread.GetExtraInfo());
    ASSERT_EQ(3u, reread.TrackCount());
    EXPECT_STREQ("Fade", reread.EventFunctionName(0, 0));
    EXPECT_EQ(500u, reread.EventStart(0, 0));
    EXPECT_EQ(255, reread.EventStartValue(0, 0, 0));
    EXPECT_EQ(1000, reread.EventEndValue(0, 0, 1));
    ASSERT_EQ(2u, reread.EventCount(1));
    EXPECT_STREQ("Fade", reread.EventFunctionName(1, 1));
    EXPECT_EQ(1000u, reread.EventStart(1, 1));
    EXPECT_EQ(2000u, reread.EventEnd(1, 1));
    EXPECT_EQ(0u, reread.EventCount(2));
    ReleaseDemo(again);
    ReleaseDemo(demo);
}

} // namespace
