// ScrollKnob: the value for a press position, its hit area, the callback, and
// the ranges that have no width.
#include <gtest/gtest.h>

#include "gui.h"

namespace {
double gLastValue = -1;
int gCallbacks = 0;
void Changed(double v) {
    gLastValue = v;
    gCallbacks++;
}
} // namespace

TEST(ScrollKnob, PressAtHalfOfLength90Over0To128Gives64) {
    int value = 0;
    gCallbacks = 0;
    ScrollKnob knob(100, 200, 90, 0, 128, &value, true, Changed);
    EXPECT_TRUE(knob.click(100 + 1 + 45, 200 + 5, 1));
    EXPECT_EQ(value, 64);
    EXPECT_EQ(gLastValue, 64.0);
    EXPECT_EQ(gCallbacks, 1);
}

TEST(ScrollKnob, HorizontalHitAreaIsTrackLengthBy9) {
    int value = 7;
    ScrollKnob knob(0, 0, 90, 0, 128, &value, true, nullptr);
    EXPECT_TRUE(knob.click(1, 1, 1)); // rx 0, ry 0
    EXPECT_EQ(value, 0);
    EXPECT_TRUE(knob.click(91, 10, 1)); // rx 90, ry 9
    EXPECT_EQ(value, 128);
    value = 7;
    EXPECT_FALSE(knob.click(0, 5, 1));   // rx -1
    EXPECT_FALSE(knob.click(92, 5, 1));  // rx 91
    EXPECT_FALSE(knob.click(50, 11, 1)); // ry 10
    EXPECT_FALSE(knob.click(50, 0, 1));  // ry -1
    EXPECT_EQ(value, 7);
}

TEST(ScrollKnob, VerticalUsesTheYAxis) {
    int value = 0;
    ScrollKnob knob(10, 10, 100, 0, 1000, &value, false, nullptr);
    EXPECT_TRUE(knob.click(15, 11 + 25, 1));
    EXPECT_EQ(value, 250);
    EXPECT_FALSE(knob.click(10 + 1 + 10, 50, 1)); // rx 10 is outside the 9-pixel width
}

TEST(ScrollKnob, NonZeroMinimumAndUnsignedCallbackValue) {
    int value = 0;
    ScrollKnob knob(0, 0, 100, -100, 100, &value, true, Changed);
    knob.click(1 + 25, 5, 1);
    EXPECT_EQ(value, -50);
    EXPECT_EQ(gLastValue, 4294967246.0); // -50 read as unsigned
}

TEST(ScrollKnob, EmptyRangeNeitherDividesByZeroNorMovesTheKnob) {
    int value = 5;
    ScrollKnob knob(0, 0, 90, 5, 5, &value, true, nullptr);
    EXPECT_EQ(knob.KnobOffset(), 0u);
    EXPECT_TRUE(knob.click(50, 5, 1));
    EXPECT_EQ(value, 5);
    ScrollKnob flat(0, 0, 0, 0, 100, &value, true, nullptr); // zero track length
    EXPECT_TRUE(flat.click(1, 5, 1));
    EXPECT_EQ(value, 0);
}

TEST(ScrollKnob, KnobOffsetFollowsTheValueAndStaysOnTheTrack) {
    int value = 64;
    ScrollKnob knob(0, 0, 90, 0, 128, &value, true, nullptr);
    EXPECT_EQ(knob.KnobOffset(), 45u);
    value = 500;
    EXPECT_EQ(knob.KnobOffset(), 90u);
    value = -3;
    EXPECT_EQ(knob.KnobOffset(), 0u);
}

TEST(ScrollKnob, LargeRangesDoNotOverflow) {
    int value = 0;
    ScrollKnob knob(0, 0, 1000, 0, 2000000000, &value, true, nullptr);
    knob.click(1 + 999, 5, 1);
    EXPECT_EQ(value, 1998000000);
    EXPECT_EQ(knob.KnobOffset(), 999u);
}

TEST(TimeCursor, SwapsAReversedRangeAndClampsTheBoundValue) {
    int value = 50;
    TimeCursor cursor(109, 245, 520, 40, 10, &value, nullptr);
    EXPECT_EQ(cursor.minimum, 10);
    EXPECT_EQ(cursor.maximum, 40);
    EXPECT_EQ(value, 40);
    EXPECT_TRUE(cursor.click(109 + 1 + 260, 250, 1));
    EXPECT_EQ(value, 25);
    EXPECT_FALSE(cursor.click(109, 300, 1));
}

TEST(TimeCursor, ZeroRunningTimeKeepsPositionZero) {
    int value = 1234;
    TimeCursor cursor(109, 245, 520, 0, 0, &value, nullptr);
    EXPECT_EQ(value, 0);
    EXPECT_EQ(cursor.knob.KnobOffset(), 0u);
    EXPECT_TRUE(cursor.click(300, 250, 1));
    EXPECT_EQ(value, 0);
}
