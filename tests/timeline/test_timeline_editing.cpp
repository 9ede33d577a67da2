// The timeline driven with real SDL events through the editor's pump: every
// event of a long demo pressable before and after zooming, every one of many
// tracks reachable, block drags with and without snapping (each one undo
// step), scrubbing, wheel zoom, keys and copy / paste.
#include <cmath>
#include <set>

#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include "editing_fixture.h"
#include "sdl_events.h"
#include "timeline.h"
#include "timeline_scenes.h"

namespace {

// Holds the modifier keys for the events pumped while it lives.
struct HeldMods {
    explicit HeldMods(SDLMod mods) { SDL_SetModState(mods); }
    ~HeldMods() { SDL_SetModState(KMOD_NONE); }
};

// Ctrl with a key, as the editor gets it from the keyboard.
void PressWithCtrl(int sym, int unicode) {
    PushKeyDownWith(sym, unicode, KMOD_LCTRL);
    PumpEditor();
}

void Drag(int x0, int y0, int x1, int y1) {
    PushMouseDown(1, x0, y0);
    PumpEditor();
    PushMouseMotion((x0 + x1) / 2, (y0 + y1) / 2);
    PumpEditor();
    PushMouseMotion(x1, y1);
    PumpEditor();
    PushMouseUp(1, x1, y1);
    PumpEditor();
}

void Press(int x, int y) {
    PushClick(x, y);
    AppActiveScreen().pollEvents();
}

int BlockCentre(uint32_t start, uint32_t end) {
    const TimelineView& v = EditorTimelineView();
    const int bx = (int)std::trunc(v.XExact(start));
    const int bw = std::max(kMinBlockWidth, (int)std::trunc((end - start) * v.Scale()));
    return bx + bw / 2;
}

// A 10-minute demo with 600 events of 200 ms, one a second, at 800 x 600.
class LongDemo : public ::testing::Test {
  protected:
    void SetUp() override { OpenGeneratedDemo(f, "long.xml", 1, 600, 200, 1000, 0, 600000); }
    // Presses every event whose block is on the axis; returns the ones selected.
    std::set<uint32_t> PressVisibleEvents() {
        std::set<uint32_t> hit;
        const TimelineView& v = EditorTimelineView();
        for (uint32_t i = 0; i < 600; i++) {
            const uint32_t s = i * 1000;
            const int x = (int)std::trunc(v.XExact(s));
            if (x < v.AxisLeft() || x >= v.AxisRight()) continue;
            Press(x, TrackRowTop(0) + 6);
            EXPECT_EQ(0, f.screen().selectedTrack);
            if (f.screen().selectedEvent == (int)i) hit.insert(i);
            else ADD_FAILURE() << "event " << i << " at x " << x << " gave " << f.screen().selectedEvent;
        }
        return hit;
    }
    EditorFixture f{800, 600};
};

TEST_F(LongDemo, EveryEventIsSelectableUnzoomed) {
    EXPECT_EQ(600u, PressVisibleEvents().size());
}

TEST_F(LongDemo, EveryEventIsSelectableZoomedInAndScrolledThrough) {
    PushWheel(1, 300, TrackRowTop(0) + 6);
    PushWheel(1, 300, TrackRowTop(0) + 6);
    PushKeyDown(SDLK_PLUS, '+');
    PumpEditor();
    TimelineView& v = EditorTimelineView();
    ASSERT_TRUE(v.Zoomed());
    EXPECT_EQ(600000u * 4 / 9 / 2, v.Span()); // 1.5 x 1.5 by the wheel, 2 by the key
    // From the start to the end with Shift + wheel.
    {
        HeldMods shift(KMOD_LSHIFT);
        for (int i = 0; i < 100; i++) {
            PushWheel(1, 400, TrackRowTop(0) + 6);
            if (i % 10 == 9) PumpEditor(); // SDL's queue holds 128 events
        }
    }
    ASSERT_EQ(0u, v.viewStart);
    std::set<uint32_t> all;
    for (int page = 0; page < 10 && all.size() < 600; page++) {
        const std::set<uint32_t> hit = PressVisibleEvents();
        all.insert(hit.begin(), hit.end());
        HeldMods shift(KMOD_LSHIFT);
        for (int notch = 0; notch < 7; notch++) // 7 / 8 of the view
            PushWheel(-1, 400, TrackRowTop(0) + 6);
        PumpEditor();
    }
    EXPECT_EQ(600u, all.size());
    PushKeyDown(SDLK_0, '0');
    PumpEditor();
    EXPECT_TRUE(EditorTimelineView().IsDefault());
}

TEST(TimelineTracks, FortyTracksAreAllReachableAt800x600) {
    EditorFixture f(800, 600);
    OpenGeneratedDemo(f, "forty.xml", 40, 5, 800, 2000, 0, 20000);
    const TimelineView& v = EditorTimelineView();
    ASSERT_TRUE(v.RowsScroll());
    EXPECT_LE(v.RowsBottom(), 600 - 28); // nothing over the status line
    for (uint32_t k = 0; k < 40; k++) {
        for (int i = 0; i < 40 && !TrackRowVisible(k); i++) {
            PushWheel(-1, 400, 330);
            PumpEditor();
        }
        ASSERT_TRUE(TrackRowVisible(k)) << k;
        Press(790 - 15, TrackRowTop(k) + 6); // 19700 ms: an empty spot
        EXPECT_EQ((int)k, f.screen().panelTrack);
    }
    // The scroll bar: a press at its top goes back to the first rows.
    PushClick(v.VBarX() + 3, v.RowsTop() + 1);
    PumpEditor();
    EXPECT_TRUE(TrackRowVisible(0));
    EXPECT_FALSE(TrackRowVisible(39));
    Drag(v.VBarX() + 3, v.RowsTop() + 10, v.VBarX() + 3, 590);
    EXPECT_TRUE(TrackRowVisible(39));
    // The status line and its button are drawn over nothing of the timeline.
    PumpEditor();
    EXPECT_EQ(0x404080u, GLContext::ReadPixel(300, 590, 600) & 0xFFFFFF);
}

// The editing fixture at 640 x 480: 0.052 px per ms, 5 px = 96 ms.
// Track 0: 0..1000 (x 110..162) and 2000..3000 (x 214..266); track 1: 500..1500.
class BlockDrags : public ::testing::Test {
  protected:
    void SetUp() override { e.app().music.position = 0; }
    EditingFixture e;
    uint32_t Start(int t, int i) { return e.app().EventStart(t, i); }
    uint32_t End(int t, int i) { return e.app().EventEnd(t, i); }
};

TEST_F(BlockDrags, MoveInTimeWithoutSnappingIsOneUndoStep) {
    const size_t steps = e.app().undo.StepCount();
    HeldMods shift(KMOD_LSHIFT);
    Drag(240, RowY(0), 266, RowY(0)); // +26 px = 500 ms
    EXPECT_EQ(2500u, Start(0, 1));
    EXPECT_EQ(3500u, End(0, 1));
    EXPECT_EQ(steps + 1, e.app().undo.StepCount());
    // The event panel follows: start 250, length 100 hundredths.
    EXPECT_EQ(0, e.screen().selectedTrack);
    EXPECT_EQ(1, e.screen().selectedEvent);
    EventTimeEditor* times = nullptr;
    for (int i = 0; i < e.screen().panelGroup->childCount() && !times; i++)
        times = dynamic_cast<EventTimeEditor*>(e.screen().panelGroup->childAt(i));
    ASSERT_NE(nullptr, times);
    EXPECT_EQ(250u, times->start);
    EXPECT_EQ(100u, times->length);
    EXPECT_STREQ("250", times->startField->GetText());
    ASSERT_TRUE(e.app().UndoEdit());
    EXPECT_EQ(2000u, Start(0, 1));
    EXPECT_EQ(3000u, End(0, 1));
}

TEST_F(BlockDrags, MoveSnapsToAnotherTracksEventEnd) {
    Drag(240, RowY(0), 217, RowY(0)); // -23 px = -442 ms: start 1558, 58 ms from 1500
    EXPECT_EQ(1500u, Start(0, 1));
    EXPECT_EQ(2500u, End(0, 1));
    // The same drag with Shift does not snap.
    ASSERT_TRUE(e.app().UndoEdit());
    HeldMods shift(KMOD_LSHIFT);
    Drag(240, RowY(0), 217, RowY(0));
    EXPECT_EQ(1558u, Start(0, 1));
}

TEST_F(BlockDrags, MoveSnapsItsEndToTheTimeCursor) {
    e.app().music.position = 4000;
    Drag(240, RowY(0), 289, RowY(0)); // +49 px = 942 ms: end 3942, 58 ms before the cursor
    EXPECT_EQ(3000u, Start(0, 1));
    EXPECT_EQ(4000u, End(0, 1));
}

TEST_F(BlockDrags, DragDownMovesTheEventToAnotherTrack) {
    HeldMods shift(KMOD_LSHIFT);
    Drag(240, RowY(0), 240, RowY(2));
    EXPECT_EQ(1u, e.app().EventCount(0));
    ASSERT_EQ(1u, e.app().EventCount(2));
    EXPECT_EQ(2000u, Start(2, 0));
    EXPECT_EQ(3000u, End(2, 0));
    EXPECT_EQ(2, e.screen().selectedTrack);
    EXPECT_EQ(0, e.screen().selectedEvent);
    ASSERT_TRUE(e.app().UndoEdit());
    EXPECT_EQ(2u, e.app().EventCount(0));
    EXPECT_EQ(0u, e.app().EventCount(2));
}

TEST_F(BlockDrags, EdgesChangeStartAndLength) {
    HeldMods shift(KMOD_LSHIFT);
    Drag(265, RowY(0), 278, RowY(0)); // right edge +13 px = 250 ms
    EXPECT_EQ(2000u, Start(0, 1));
    EXPECT_EQ(3250u, End(0, 1));
    Drag(214, RowY(0), 188, RowY(0)); // left edge -26 px = 500 ms
    EXPECT_EQ(1500u, Start(0, 1));
    EXPECT_EQ(3250u, End(0, 1));
    // The start cannot pass the end.
    Drag(214 - 26, RowY(0), 400, RowY(0));
    EXPECT_EQ(3240u, Start(0, 1));
    EXPECT_EQ(3250u, End(0, 1));
}

TEST_F(BlockDrags, EdgeSnapsToTheNeighboursStart) {
    // The first event's right edge (x 161) pulled to 2 px before the second's start.
    Drag(161, RowY(0), 210, RowY(0)); // +49 px = 942 ms: end 1942, snaps to 2000
    EXPECT_EQ(0u, Start(0, 0));
    EXPECT_EQ(2000u, End(0, 0));
}

TEST_F(BlockDrags, APressWithoutMovingRecordsNothing) {
    const size_t steps = e.app().undo.StepCount();
    Drag(240, RowY(0), 241, RowY(0));
    EXPECT_EQ(2000u, Start(0, 1));
    EXPECT_EQ(steps, e.app().undo.StepCount());
    EXPECT_EQ(1, e.screen().selectedEvent);
}

TEST_F(BlockDrags, TheTimeSliderScrubs) {
    PushMouseDown(1, 300, 250);
    PumpEditor();
    EXPECT_EQ(3653u, e.app().music.position); // 190 * 10000 / 520
    PushMouseMotion(400, 300);
    PumpEditor();
    EXPECT_EQ(5576u, e.app().music.position); // 290 * 10000 / 520
    PushMouseUp(1, 700, 300);
    PumpEditor();
    EXPECT_EQ(10000u, e.app().music.position);
    PushMouseMotion(200, 300); // released: no longer scrubbing
    PumpEditor();
    EXPECT_EQ(10000u, e.app().music.position);
}

TEST_F(BlockDrags, WheelZoomsAroundThePointerAndZeroResets) {
    PushWheel(1, 300, RowY(0));
    PumpEditor();
    TimelineView& v = EditorTimelineView();
    EXPECT_EQ(6666u, v.Span());
    EXPECT_NEAR(3653.0, (double)v.TimeAt(300), 13);
    PushKeyDown(SDLK_MINUS, '-');
    PumpEditor();
    EXPECT_TRUE(v.IsDefault());
    PushKeyDown(SDLK_PLUS, '+');
    PushKeyDown(SDLK_PLUS, '+');
    PumpEditor();
    EXPECT_EQ(2500u, v.Span());
    // Zoomed, the blocks and the drags go through the same mapping: the second
    // event's block moved right; dragging it by 52 px moves it 250 ms.
    const int x = BlockCentre(2000, 3000);
    EXPECT_EQ(v.X(2500), x);
    HeldMods shift(KMOD_LSHIFT);
    Drag(x - 50, RowY(0), x + 2, RowY(0));
    EXPECT_EQ(2250u, Start(0, 1));
    PushKeyDown(SDLK_0, '0');
    PumpEditor();
    EXPECT_TRUE(v.IsDefault());
}

TEST_F(BlockDrags, CopyPasteAndDuplicateAreUndoableSteps) {
    e.Click(240, RowY(0)); // Effect1 2000..3000, values 5 -> 7
    PressWithCtrl(SDLK_c, 3);
    e.app().music.position = 5000;
    const size_t steps = e.app().undo.StepCount();
    PressWithCtrl(SDLK_v, 22);
    ASSERT_EQ(3u, e.app().EventCount(0));
    EXPECT_EQ(5000u, Start(0, 2));
    EXPECT_EQ(6000u, End(0, 2));
    EXPECT_STREQ("Effect1", e.app().EventFunctionName(0, 2));
    EXPECT_EQ(5, e.app().EventStartValue(0, 2, 0));
    EXPECT_EQ(7, e.app().EventEndValue(0, 2, 0));
    EXPECT_EQ(2, e.screen().selectedEvent);
    EXPECT_EQ(steps + 1, e.app().undo.StepCount());
    PressWithCtrl(SDLK_d, 4);
    ASSERT_EQ(4u, e.app().EventCount(0));
    EXPECT_EQ(6000u, Start(0, 3));
    EXPECT_EQ(7000u, End(0, 3));
    EXPECT_EQ(3, e.screen().selectedEvent);
    // Pasting onto a track picked in the track panel.
    e.Click(kEmptyX, RowY(2));
    ASSERT_EQ(2, e.screen().panelTrack);
    PressWithCtrl(SDLK_v, 22);
    ASSERT_EQ(1u, e.app().EventCount(2));
    EXPECT_EQ(5000u, Start(2, 0));
    ASSERT_TRUE(e.app().UndoEdit());
    ASSERT_TRUE(e.app().UndoEdit());
    ASSERT_TRUE(e.app().UndoEdit());
    EXPECT_EQ(2u, e.app().EventCount(0));
    EXPECT_EQ(0u, e.app().EventCount(2));
}

TEST(TimelineReadout, ShowsThePositionBesideTheTransport) {
    EditorFixture f(640, 480);
    OpenGeneratedDemo(f, "readout.xml", 1, 1, 500, 1000, 0, 90000);
    f.app().music.position = 65329;
    PumpEditor();
    // "1:05.32" in white at (7, 412) on the frame colour 0x404080.
    int lit = 0;
    for (int y = 412; y < 428; y++)
        for (int x = 7; x < 60; x++)
            if (((GLContext::ReadPixel(x, y, 480) >> 16) & 0xFF) > 0xC0) lit++; // background red is 0x40
    EXPECT_GT(lit, 10);
}

} // namespace
