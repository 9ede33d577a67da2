// Track names: typed into the track panel's field, undone as one step, shown
// at the left end of the track's row; and the time units of the panels.
#include <cstring>

#include <gtest/gtest.h>

#include "editing_fixture.h"
#include "gl_context.h"
#include "safety_helpers.h"
#include "timeline.h"

namespace {

// Pixels of the row's left end brighter than the row (0x707070) and its blocks.
int BrightPixels(int track) {
    int bright = 0;
    const int top = TrackRowTop((uint32_t)track);
    for (int y = top; y < top + kTrackRowHeight; y++)
        for (int x = 112; x < 170; x++)
            if (((GLContext::ReadPixel(x, y, 480) >> 16) & 0xFF) > 0xB0) bright++;
    return bright;
}

TEST(TrackNames, TypedInTheTrackPanelShownInTheRowAndUndone) {
    EditingFixture e;
    e.Click(kEmptyX, RowY(2));
    ASSERT_EQ(2, e.screen().panelTrack);
    const int name = e.FindPanelText("Name:");
    ASSERT_GE(name, 0);
    e.Pump();
    EXPECT_EQ(0, BrightPixels(2));
    const size_t steps = e.app().undo.StepCount();
    e.TypeInto(450, 15, "Bass line");
    ASSERT_NE(nullptr, e.demo().tracks[2].name);
    EXPECT_STREQ("Bass line", e.demo().tracks[2].name);
    EXPECT_EQ(steps + 1, e.app().undo.StepCount());
    e.Pump();
    EXPECT_GT(BrightPixels(2), 10);
    EXPECT_EQ(0, BrightPixels(1));
    ASSERT_TRUE(e.app().UndoEdit());
    EXPECT_EQ(nullptr, e.demo().tracks[2].name);
    ASSERT_TRUE(e.app().RedoEdit());
    EXPECT_STREQ("Bass line", e.demo().tracks[2].name);
    // Emptying the field removes the name; the same text again records nothing.
    EXPECT_FALSE(RenameTrack(2, "Bass line"));
    EXPECT_TRUE(RenameTrack(2, ""));
    EXPECT_EQ(nullptr, e.demo().tracks[2].name);
    EXPECT_FALSE(RenameTrack(7, "no such track"));
}

TEST(TimeUnits, BesideTheEventTimesAndTheDuration) {
    EditingFixture e;
    e.Click(240, RowY(0)); // the event of 2000 .. 3000 ms
    // The fields hold milliseconds / 10, and the unit says so.
    EventTimeEditor* times = PanelWidget<EventTimeEditor>(e);
    ASSERT_NE(nullptr, times);
    EXPECT_STREQ("200", times->startField->GetText());
    EXPECT_STREQ("100", times->lengthField->GetText());
    EXPECT_GE(e.FindPanelText("1/100 s"), 0);
    EXPECT_EQ(-1, e.FindPanelText("1/10 s"));
    EXPECT_EQ(-1, e.FindPanelText("ms"));
    e.Click(kDemoInfoX, kDemoInfoY);
    EXPECT_GE(e.FindPanelText("ms"), 0);
}

} // namespace
