// The showcase demo as shipped: it loads, runs as long as its music's sections,
// shows no debug overlay, and every event starts on a beat of its 128 beats a
// minute (to the file's 10 ms).
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "demo.h"
#include "music.h"

TEST(ShowcaseDemo, IsCutToTheBeatsOfItsMusic) {
    const std::string dir = std::string(TRELLIC_SOURCE_DIR) + "/examples/showcase/";
    DemoStruct demo = {};
    ASSERT_NO_THROW(LoadDemoFile((dir + "Showcase.xml").c_str(), demo, true));
    EXPECT_EQ(105000u, demo.runningTime); // 56 bars of 1875 ms
    ASSERT_NE(nullptr, demo.inputMusicFile);
    EXPECT_STREQ("data/music.ogg", demo.inputMusicFile);
    BeatGrid grid;
    ASSERT_TRUE(MakeBeatGrid(128, 0, 4, grid));
    uint32_t events = 0;
    for (uint32_t t = 0; t < demo.trackCount; t++)
        for (uint32_t e = 0; e < demo.tracks[t].eventCount; e++) {
            const DemoEvent& ev = demo.tracks[t].events[e];
            events++;
            for (const char* overlay : {"ShowFPS", "PrintNr", "DebugGrid"})
                EXPECT_STRNE(overlay, ev.functionName) << "track " << t << " event " << e;
            EXPECT_LE(std::fabs(NearestBeat(grid, ev.startTime) - ev.startTime), 5.0)
                << ev.functionName << " at " << ev.startTime;
            EXPECT_LE(ev.endTime, demo.runningTime);
        }
    EXPECT_GT(events, 200u);
    // Its grid and sections come with it: the music's tempo and one marker per section.
    EXPECT_EQ(128.0, demo.tempo.beatsPerMinute);
    EXPECT_EQ(0u, demo.tempo.firstBeat);
    EXPECT_EQ(4u, demo.tempo.beatsPerBar);
    const char* names[] = {"intro", "groove", "build", "drop", "break", "drop2", "outro"};
    const uint32_t times[] = {0, 15000, 30000, 37500, 67500, 82500, 97500};
    ASSERT_EQ(7u, demo.markerCount);
    for (uint32_t i = 0; i < 7; i++) {
        EXPECT_STREQ(names[i], demo.markers[i].name);
        EXPECT_EQ(times[i], demo.markers[i].time);
    }
    ReleaseDemo(demo);
}
