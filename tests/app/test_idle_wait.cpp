// The editor's idle wait: it returns at once for a queued event (leaving it
// for the pump), not before a requested wake-up time, and the loop keeps
// drawing while the demo plays or a repeating button is held.
#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include "editor_fixture.h"
#include "idle_wait.h"
#include "sdl_events.h"

namespace {

int QueuedEvents() {
    SDL_Event events[16];
    SDL_PumpEvents();
    return SDL_PeepEvents(events, 16, SDL_PEEKEVENT, SDL_ALLEVENTS);
}

TEST(IdleWait, AQueuedEventEndsTheWaitAndStaysQueued) {
    EditorFixture f;
    DrainEvents();
    PushKeyDown(SDLK_a, 'a');
    WaitForEditorWork();
    EXPECT_EQ(1, QueuedEvents());
    DrainEvents();
}

TEST(IdleWait, ARequestedWakeUpComesNoEarlier) {
    EditorFixture f;
    DrainEvents();
    const uint32_t asked = SDL_GetTicks() + 60;
    WakeEditorAt(asked);
    WakeEditorAt(asked + 500); // a later request does not postpone the first
    // The window system may still send events (exposure, focus): each return
    // is for one of them or because the time came, never for nothing.
    bool due = false;
    for (int i = 0; i < 100 && !due; i++) {
        WaitForEditorWork();
        due = (int32_t)(SDL_GetTicks() - asked) >= 0;
        EXPECT_TRUE(due || QueuedEvents() > 0) << "returned " << (int32_t)(asked - SDL_GetTicks())
                                                << " ms early without an event";
        DrainEvents();
    }
    EXPECT_TRUE(due);
}

TEST(IdleWait, PlayingOrARepeatingButtonKeepsTheLoopDrawing) {
    EditorFixture f;
    WriteTestDemo(f.dir, "Fenk.xml", PluginPath("RecordPlugin"), {"Effect1"}, "Effect1", {1}, 5000);
    LoadDemoCommand(0, 0, 0);
    ASSERT_TRUE(f.app().demoLoaded) << f.screen().statusText;
    EXPECT_FALSE(EditorAnimating(f.app()));
    f.app().music.playing = true;
    EXPECT_TRUE(EditorAnimating(f.app()));
    f.app().music.playing = false;
    PushMouseDown(3, 200, 470); // the right button clicks at every frame while held
    f.screen().pollEvents();
    EXPECT_TRUE(EditorAnimating(f.app()));
    PushMouseUp(3, 200, 470);
    f.screen().pollEvents();
    EXPECT_FALSE(EditorAnimating(f.app()));
}

} // namespace
