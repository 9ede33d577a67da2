// A user may press anything in any order: thousands of random clicks and keys
// on the editor never crash it, and the demo in memory stays well formed and
// saves and reloads unchanged. Presses on the buttons that open a modal dialog
// are left out: a dialog would wait for input this test only queues later.
#include <gtest/gtest.h>

#include <random>

#include <SDL/SDL.h>

#include "demo_builder.h"
#include "editor_fixture.h"
#include "editor.h"
#include "sdl_events.h"

namespace {
// Counts, arrays and texts agree with each other, so nothing can read out of bounds.
bool WellFormed(const DemoStruct& d) {
    if (d.trackCount && !d.tracks) return false;
    for (uint32_t t = 0; t < d.trackCount; t++) {
        const DemoTrack& track = d.tracks[t];
        if (track.eventCount && !track.events) return false;
        for (uint32_t e = 0; e < track.eventCount; e++) {
            const DemoEvent& ev = track.events[e];
            if (!ev.functionName || !ev.libraryFileName) return false;
            if (ev.paramCount && (!ev.startValues || !ev.endValues)) return false;
            if (ev.continuesIntoNext && e + 1 == track.eventCount) return false;
        }
    }
    return true;
}

// Whether a press at (x, y) would land on a button that opens a modal dialog.
bool OpensDialog(const EditorScreen& screen, int x, int y) {
    const WidgetGroup* panel = screen.panelGroup;
    for (int i = 0; panel && i < panel->childCount(); i++) {
        const Button* b = dynamic_cast<const Button*>(panel->childAt(i));
        if (!b ||
            (b->primary != AddNewEvent && b->primary != ChangeEffectCommand && b->primary != ChooseImage))
            continue;
        if (x >= b->x - 1 && x <= b->x + b->w + 1 && y >= b->y - 1 && y <= b->y + b->h + 1) return true;
    }
    return false;
}
} // namespace

TEST(EditorRandomInput, AnySequenceOfClicksAndKeysKeepsTheDemoIntact) {
    EditorFixture f;
    WriteTestDemo(f.dir, "Fenk.xml", PluginPath("RecordPlugin"), {"Effect1"}, "Effect1", {3, 2, 1}, 6000);
    LoadDemoCommand(0, 0, 1);
    ASSERT_STREQ(f.screen().statusText, "Demo loaded");
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
            if (OpensDialog(f.screen(), x, y)) continue;
            // Load Demo with unsaved changes asks first, and nobody here answers.
            if (f.app().undo.IsModified() && x >= 2 && x <= 94 && y >= 240 + 24 && y <= 240 + 48) continue;
            PushMouseDown(button, x, y);
            if (rng() % 4) PushMouseUp(button, x, y);
        } else {
            int sym = keys[rng() % (sizeof keys / sizeof keys[0])];
            int unicode = sym < 256 ? sym : 0;
            PushKeyDown(sym, unicode);
        }
        // A held button clicks again at every poll, wherever the panel has changed.
        const MouseState& mouse = SharedMouseState();
        const bool onLoad = mouse.x >= 2 && mouse.x <= 94 && mouse.y >= 240 + 24 && mouse.y <= 240 + 48;
        if (mouse.held && (OpensDialog(f.screen(), mouse.x, mouse.y) || (onLoad && f.app().undo.IsModified())))
            PushMouseUp(mouse.button, mouse.x, mouse.y);
        AppActiveScreen().pollEvents();
        if (f.app().demoLoaded && f.app().music.playing) {
            uint32_t last = f.app().music.position;
            AdvancePlayback(f.app().music, runningTime, 7, last);
        }
        drawInterface(&AppActiveScreen());
        ASSERT_NE(f.app().demo, nullptr) << "step " << step;
        ASSERT_TRUE(WellFormed(*f.app().demo)) << "step " << step;
        ASSERT_LE(f.app().GetVolume(), 128u);
        ASSERT_LT(strlen(f.screen().statusText), 256u);
    }
    testing::internal::GetCapturedStderr();
    PushMouseUp(3, 0, 0);
    AppActiveScreen().pollEvents();

    ASSERT_TRUE(SaveDemoFile("Random.xml", f.app().demo));
    DemoStruct back = EmptyDemo();
    LoadDemoFile("Random.xml", back, true);
    ASSERT_EQ(back.trackCount, f.app().demo->trackCount);
    for (uint32_t t = 0; t < back.trackCount; t++) {
        ASSERT_EQ(back.tracks[t].eventCount, f.app().demo->tracks[t].eventCount);
        for (uint32_t e = 0; e < back.tracks[t].eventCount; e++) {
            const DemoEvent &a = back.tracks[t].events[e], &b = f.app().demo->tracks[t].events[e];
            EXPECT_EQ(a.startTime, b.startTime / 10 * 10);
            EXPECT_EQ(a.paramCount, b.paramCount);
            for (uint32_t p = 0; p < a.paramCount; p++)
                EXPECT_EQ(a.startValues[p], b.startValues[p]);
        }
    }
    ReleaseDemo(back);
}
