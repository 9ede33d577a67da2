// The playback clock and the preview quarter's view.
#include <gtest/gtest.h>

#include "app.h"

TEST(PlaybackClock, StopsAtTheLastMillisecond) {
    MusicPlayer music;
    music.playing = true;
    music.position = 4990;
    uint32_t lastPosition = 4990;
    AdvancePlayback(music, 5000, 30, lastPosition);
    EXPECT_EQ(music.position, 4999u);
    EXPECT_FALSE(music.playing);
    EXPECT_EQ(lastPosition, 4999u);
}

TEST(PlaybackClock, AdvancesByTheElapsedTime) {
    MusicPlayer music;
    music.playing = true;
    music.position = 1000;
    uint32_t lastPosition = 1000;
    AdvancePlayback(music, 5000, 16, lastPosition);
    EXPECT_EQ(music.position, 1016u);
    EXPECT_TRUE(music.playing);
    AdvancePlayback(music, 5000, 3983, lastPosition);
    EXPECT_EQ(music.position, 4999u);
    EXPECT_TRUE(music.playing); // 4999 is still inside the demo
    AdvancePlayback(music, 5000, 1, lastPosition);
    EXPECT_FALSE(music.playing);
    EXPECT_EQ(music.position, 4999u);
}

TEST(PlaybackClock, ZeroRunningTimeStaysAtZero) {
    MusicPlayer music;
    music.playing = true;
    uint32_t lastPosition = 0;
    AdvancePlayback(music, 0, 20, lastPosition);
    EXPECT_EQ(music.position, 0u);
    EXPECT_FALSE(music.playing);
}

TEST(PlaybackClock, PositionNearTheTopOfTheRangeDoesNotWrap) {
    MusicPlayer music;
    music.playing = true;
    music.position = 0xFFFFFFF0u;
    uint32_t lastPosition = music.position;
    AdvancePlayback(music, 0xFFFFFFFFu, 100, lastPosition);
    EXPECT_EQ(music.position, 0xFFFFFFFEu);
    EXPECT_FALSE(music.playing);
}

TEST(PlaybackClock, PositionMovedFromOutsideIsRemembered) {
    MusicPlayer music; // no music loaded: the restart is silent
    music.playing = true;
    music.position = 3000; // moved by the time slider
    uint32_t lastPosition = 1200;
    AdvancePlayback(music, 5000, 10, lastPosition);
    EXPECT_EQ(music.position, 3010u);
    EXPECT_EQ(lastPosition, 3010u);
}

TEST(PreviewView, QuarterOf640x480) {
    PreviewView v = PreviewViewFor(640, 480);
    EXPECT_EQ(v.x, 0);
    EXPECT_EQ(v.y, 240);
    EXPECT_EQ(v.width, 320);
    EXPECT_EQ(v.height, 240);
    EXPECT_EQ(v.left, -160.0);
    EXPECT_EQ(v.right, 160.0);
    EXPECT_EQ(v.bottom, 120.0);
    EXPECT_EQ(v.top, -120.0);
}

TEST(PreviewView, OddHeight601) {
    PreviewView v = PreviewViewFor(801, 601);
    EXPECT_EQ(v.y, 300);
    EXPECT_EQ(v.height, 300);
    EXPECT_EQ(v.width, 400);
    EXPECT_EQ(v.bottom, 150.0);
    EXPECT_EQ(v.top, -150.0);
    EXPECT_EQ(v.left, -200.0);
    EXPECT_EQ(v.right, 200.0);
}
