// The clock while music sounds: the frames handed to the device, moved on
// between hook calls by the steady clock but never past the frames handed.
#include <gtest/gtest.h>

#include "music.h"

namespace {
HookProgress Call(uint64_t before, uint32_t inCall, int64_t atUs) {
    HookProgress p;
    p.framesBefore = before;
    p.framesInCall = inCall;
    p.rate = 32000; // 32 frames a millisecond
    p.callTimeUs = atUs;
    return p;
}
} // namespace

TEST(AudioClock, StaysAtTheStartUntilTheFirstHookCall) {
    PlaybackClock clock;
    clock.Restart(1000);
    EXPECT_EQ(clock.Position(HookProgress(), 5000000), 1000.0);
    EXPECT_EQ(clock.Position(Call(0, 0, -1), 5000000), 1000.0);
}

TEST(AudioClock, MovesThroughTheLatestCallsFramesAndNoFurther) {
    PlaybackClock clock;
    clock.Restart(1000);
    // 3200 frames (100 ms) handed before, 1600 (50 ms) in the call at t = 2 s.
    HookProgress p = Call(3200, 1600, 2000000);
    EXPECT_DOUBLE_EQ(clock.Position(p, 2000000), 1100.0);
    EXPECT_DOUBLE_EQ(clock.Position(p, 2020000), 1120.0);
    EXPECT_DOUBLE_EQ(clock.Position(p, 2080000), 1150.0); // a late hook: wait at its end
    // The next call comes 60 ms after the previous one: on from where it left.
    EXPECT_DOUBLE_EQ(clock.Position(Call(4800, 1600, 2060000), 2070000), 1160.0);
}

TEST(AudioClock, NeverRunsBackwards) {
    PlaybackClock clock;
    clock.Restart(0);
    EXPECT_DOUBLE_EQ(clock.Position(Call(3200, 1600, 1000000), 1030000), 130.0);
    // A report whose call time lies ahead of now (threads racing) keeps the clock.
    EXPECT_DOUBLE_EQ(clock.Position(Call(3200, 1600, 1040000), 1035000), 130.0);
    clock.Restart(50); // a seek may go back
    EXPECT_DOUBLE_EQ(clock.Position(HookProgress(), 0), 50.0);
}
