// GuiScreen's event pump with real SDL events: clicks, held buttons, focus
// before click, keys and the quit key, and screens rebuilt from a callback.
#include <gtest/gtest.h>

#include <algorithm>

#include <SDL/SDL.h>

#include "gl_context.h"
#include "gui.h"
#include "probe_widget.h"
#include "sdl_events.h"

namespace {
int gClicks = 0, gX = -1, gY = -1;
void CountClick(int x, int y, int) {
    gClicks++;
    gX = x;
    gY = y;
}

class EventPump : public ::testing::Test {
  protected:
    void SetUp() override {
        DrainEvents();
        SharedMouseState() = MouseState{false, false, 0, 0, 0};
        gClicks = 0;
        gX = gY = -1;
    }
    void TearDown() override {
        DrainEvents();
        SharedMouseState() = MouseState{false, false, 0, 0, 0};
    }
    GLContext gl;
};
} // namespace

TEST_F(EventPump, LeftPressClicksExactlyOnceEvenWhileHeld) {
    GuiScreen screen(kQuitKeyF10);
    screen.add(new Widget(10, 10, 50, 20, CountClick, nullptr));
    PushMouseDown(1, 20, 15);
    EXPECT_FALSE(screen.pollEvents());
    EXPECT_EQ(gClicks, 1);
    EXPECT_FALSE(screen.pollEvents());
    EXPECT_FALSE(screen.pollEvents());
    EXPECT_EQ(gClicks, 1);
    PushMouseUp(1, 20, 15);
    screen.pollEvents();
    EXPECT_EQ(gClicks, 1);
}

TEST_F(EventPump, PressAndReleaseInOnePollClickOnce) {
    GuiScreen screen(kQuitKeyF10);
    screen.add(new Widget(10, 10, 50, 20, CountClick, nullptr));
    PushClick(20, 15, 1);
    screen.pollEvents();
    screen.pollEvents();
    EXPECT_EQ(gClicks, 1);
    PushClick(20, 15, 3);
    screen.pollEvents();
    screen.pollEvents();
    EXPECT_EQ(gClicks, 2); // a right press released in the same poll also clicks once
}

TEST_F(EventPump, HeldRightButtonClicksAtEveryPollAtThePressPosition) {
    GuiScreen screen(kQuitKeyF10);
    screen.add(new Widget(10, 10, 50, 20, CountClick, nullptr));
    PushMouseDown(3, 30, 12);
    screen.pollEvents();
    screen.pollEvents();
    screen.pollEvents();
    EXPECT_EQ(gClicks, 3);
    EXPECT_EQ(gX, 30);
    EXPECT_EQ(gY, 12);
    PushMouseUp(3, 300, 300);
    screen.pollEvents();
    screen.pollEvents();
    EXPECT_EQ(gClicks, 3);
}

TEST_F(EventPump, PressMovesFocusBeforeTheClickIsDelivered) {
    ProbeLog log;
    GuiScreen screen(kQuitKeyF10);
    screen.add(new ProbeWidget(&log, "a", 0, 0, 10, 10, true, true));
    screen.add(new ProbeWidget(&log, "b", 20, 0, 10, 10, true));
    PushClick(5, 5);
    screen.pollEvents();
    log.calls.clear();
    PushClick(25, 5);
    screen.pollEvents();
    EXPECT_EQ(log.calls,
              (std::vector<std::string>{"a.grab-", "b.grab+", "a.lose", "a.click-1", "b.click+1"}));
    EXPECT_EQ(screen.focusIndex(), 1);
}

TEST_F(EventPump, KeysGoToTheFocusedChild) {
    ProbeLog log;
    GuiScreen screen(kQuitKeyF10);
    screen.add(new ProbeWidget(&log, "a", 0, 0, 10, 10, true, true));
    screen.add(new ProbeWidget(&log, "b", 20, 0, 10, 10, true, true));
    PushClick(25, 5);
    PushKeyDown(SDLK_a, 'a');
    screen.pollEvents();
    // Keys are handled as they arrive; the click follows at the end of the poll.
    auto has = [&](const std::string& c) { return std::count(log.calls.begin(), log.calls.end(), c); };
    EXPECT_EQ(has("b.key97"), 1);
    EXPECT_EQ(has("a.key97"), 0);
}

TEST_F(EventPump, QuitKeyQuitsOnlyWhenNoWidgetHandlesIt) {
    ProbeLog log;
    GuiScreen screen(kQuitKeyF10);
    screen.add(new ProbeWidget(&log, "taker", 0, 0, 10, 10, true, true));
    PushKeyDown(SDLK_F10);
    EXPECT_TRUE(screen.pollEvents()); // nothing focused
    PushClick(5, 5);
    screen.pollEvents();
    PushKeyDown(SDLK_F10);
    EXPECT_FALSE(screen.pollEvents()); // the focused widget takes it
    PushKeyDown(SDLK_ESCAPE);
    EXPECT_FALSE(screen.pollEvents()); // not this screen's quit key
}

TEST_F(EventPump, EscapeQuitsADialogScreen) {
    GuiScreen dialog(kQuitKeyEscape);
    dialog.add(new Widget(0, 0, 10, 10, CountClick, nullptr));
    PushKeyDown(SDLK_a, 'a');
    EXPECT_FALSE(dialog.pollEvents());
    PushKeyDown(SDLK_ESCAPE, 27);
    EXPECT_TRUE(dialog.pollEvents());
    PushKeyDown(SDLK_F10);
    EXPECT_FALSE(dialog.pollEvents());
}

TEST_F(EventPump, WindowCloseQuits) {
    GuiScreen screen(kQuitKeyF10);
    PushQuitEvent();
    EXPECT_TRUE(screen.pollEvents());
    EXPECT_TRUE(screen.redrawRequested);
}

TEST_F(EventPump, MouseStateIsSharedBetweenScreens) {
    GuiScreen first(kQuitKeyF10), second(kQuitKeyF10);
    second.add(new Widget(0, 0, 100, 100, CountClick, nullptr));
    PushMouseDown(3, 50, 50);
    first.pollEvents();
    EXPECT_TRUE(SharedMouseState().held);
    second.pollEvents(); // the held right button keeps clicking on the other screen
    EXPECT_EQ(gClicks, 1);
    EXPECT_EQ(SharedMouseState().button, 3);
}

namespace {
GuiScreen* gRebuilt = nullptr;
ProbeLog* gRebuildLog = nullptr;
void RebuildScreen(int, int, int) {
    gRebuilt->clear();
    gRebuilt->add(new ProbeWidget(gRebuildLog, "fresh", 0, 0, 10, 10));
}
} // namespace

TEST_F(EventPump, ButtonThatRebuildsItsScreenIsDestroyedAfterThePoll) {
    ProbeLog log;
    GuiScreen screen(kQuitKeyF10);
    gRebuilt = &screen;
    gRebuildLog = &log;
    screen.add(new Widget(0, 0, 50, 50, RebuildScreen, nullptr));
    screen.add(new ProbeWidget(&log, "old", 100, 100, 10, 10));
    PushClick(10, 10);
    screen.pollEvents();
    EXPECT_EQ(screen.childCount(), 1);
    EXPECT_EQ(log.calls.back(), "old.destroy");
    PushClick(5, 5);
    screen.pollEvents();
    EXPECT_EQ(log.calls.back(), "fresh.click+1");
}
