// A user may press anything in any order: thousands of random clicks and keys
// on the editor never crash it, and the demo in memory stays what was loaded.
#include <gtest/gtest.h>

#include <random>

#include <SDL/SDL.h>

#include "editor_fixture.h"
#include "sdl_events.h"

namespace {
struct EventSnapshot {
    uint32_t start, end, params;
    std::vector<int32_t> startValues, endValues;
};

std::vector<std::vector<EventSnapshot>> Snapshot(const DemoStruct& d) {
    std::vector<std::vector<EventSnapshot>> tracks;
    for (uint32_t t = 0; t < d.trackCount; t++) {
        tracks.emplace_back();
        for (uint32_t e = 0; e < d.tracks[t].eventCount; e++) {
            const DemoEvent& ev = d.tracks[t].events[e];
            EventSnapshot s{ev.startTime, ev.endTime, ev.paramCount, {}, {}};
            for (uint32_t p = 0; p < ev.paramCount; p++) {
                s.startValues.push_back(ev.startValues[p]);
                s.endValues.push_back(ev.endValues[p]);
            }
            tracks.back().push_back(s);
        }
    }
    return tracks;
}

bool Same(const std::vector<std::vector<EventSnapshot>>& a,
          const std::vector<std::vector<EventSnapshot>>& b) {
    if (a.size() != b.size()) return false;
    for (size_t t = 0; t < a.size(); t++) {
        if (a[t].size() != b[t].size()) return false;
        for (size_t e = 0; e < a[t].size(); e++) {
            const EventSnapshot &x = a[t][e], &y = b[t][e];
            if (x.start != y.start || x.end != y.end || x.params != y.params ||
                x.startValues != y.startValues || x.endValues != y.endValues)
                return false;
        }
    }
    return true;
}
} // namespace

TEST(EditorRandomInput, AnySequenceOfClicksAndKeysKeepsTheDemoIntact) {
    EditorFixture f;
    WriteTestDemo(f.dir, "Fenk.xml", PluginPath("RecordPlugin"), {"Effect1"}, "Effect1", {3, 2, 1}, 6000);
    LoadDemoCommand(0, 0, 1);
    ASSERT_STREQ(f.screen().statusText, "Demo loaded");
    const auto original = Snapshot(*f.app().demo);
    const uint32_t runningTime = f.app().demo->runningTime;

    std::mt19937 rng(20240611);
    const int keys[] = {SDLK_a,      SDLK_1,     SDLK_MINUS, SDLK_BACKSPACE, SDLK_RETURN, SDLK_ESCAPE,
                        SDLK_DELETE, SDLK_LEFT,  SDLK_RIGHT, SDLK_INSERT,    SDLK_TAB,    SDLK_UP,
                        SDLK_DOWN,   SDLK_SPACE, SDLK_F10,   SDLK_PERIOD,    SDLK_x,      SDLK_SLASH};
    testing::internal::CaptureStderr();
    for (int step = 0; step < 3000; step++) {
        int what = (int)(rng() % 10);
        if (what < 6) {
            int button = (int)(rng() % 3) + 1;
            int x = (int)(rng() % 660) - 10, y = (int)(rng() % 500) - 10;
            if (x < 0) x = 0;
            if (y < 0) y = 0;
            // Aim half of the presses at the controls' column, where the buttons are.
            if (rng() % 2) x = (int)(rng() % 120);
            PushMouseDown(button, x, y);
            if (rng() % 4) PushMouseUp(button, x, y);
        } else {
            int sym = keys[rng() % (sizeof keys / sizeof keys[0])];
            int unicode = sym < 256 ? sym : 0;
            PushKeyDown(sym, unicode);
        }
        AppActiveScreen().pollEvents();
        if (f.app().demoLoaded && f.app().music.playing) {
            uint32_t last = f.app().music.position;
            AdvancePlayback(f.app().music, runningTime, 7, last);
        }
        drawInterface(&AppActiveScreen());
        ASSERT_NE(f.app().demo.get(), nullptr) << "step " << step;
        ASSERT_TRUE(Same(Snapshot(*f.app().demo), original)) << "step " << step;
        ASSERT_LE(f.app().GetVolume(), 128u);
        ASSERT_LT(strlen(f.screen().statusText), 256u);
    }
    testing::internal::GetCapturedStderr();
    PushMouseUp(3, 0, 0);
    AppActiveScreen().pollEvents();
}
