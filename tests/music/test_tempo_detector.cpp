// Tempo detection with aubio on the example's music, made at 120 beats a
// minute, and on signals without a beat.
#include <gtest/gtest.h>

#include <cmath>

#include "music.h"

TEST(TempoDetector, FindsTheExampleTunesHundredAndTwenty) {
    std::string error;
    ClipPtr clip = DecodeAudioFile(std::string(TRELLIC_SOURCE_DIR) + "/examples/data/tune.ogg", error);
    ASSERT_TRUE(clip) << error;
    TempoEstimate tempo = DetectTempo(*clip);
    ASSERT_TRUE(tempo.found);
    EXPECT_NEAR(tempo.beatsPerMinute, 120.0, 0.5);
    // The bass plucks on every beat from 0 s: the grid falls on them.
    double offBeat = std::fmod(tempo.firstBeatMs + 250.0, 500.0) - 250.0;
    EXPECT_NEAR(offBeat, 0.0, 30.0) << tempo.firstBeatMs;
    EXPECT_GE(tempo.beatCount, 16u);
}

TEST(TempoDetector, FindsTheShowcaseMusicsHundredAndTwentyEight) {
    std::string error;
    ClipPtr clip =
        DecodeAudioFile(std::string(TRELLIC_SOURCE_DIR) + "/examples/showcase/data/music.ogg", error);
    ASSERT_TRUE(clip) << error;
    EXPECT_EQ(clip->rate, 44100u);
    EXPECT_EQ(clip->channels, 2u);
    TempoEstimate tempo = DetectTempo(*clip);
    ASSERT_TRUE(tempo.found);
    EXPECT_NEAR(tempo.beatsPerMinute, 128.0, 0.5);
    double period = 60000.0 / 128;
    double off = std::fmod(tempo.firstBeatMs + period / 2, period) - period / 2;
    EXPECT_NEAR(off, 0.0, 30.0) << tempo.firstBeatMs; // the first kick is at 0
}

TEST(TempoDetector, ClicksAtNinetyBeatsAMinuteOffsetBy200Ms) {
    auto clip = std::make_shared<AudioClip>();
    clip->rate = 22050;
    clip->channels = 1;
    clip->samples.assign(22050 * 20, 0);
    for (double t = 0.2; t < 20; t += 60.0 / 90) {
        size_t at = (size_t)(t * 22050);
        for (size_t i = 0; i < 400 && at + i < clip->samples.size(); i++)
            clip->samples[at + i] = (int16_t)(((i / 8) % 2 ? 12000 : -12000) * (400 - i) / 400);
    }
    TempoEstimate tempo = DetectTempo(*clip);
    ASSERT_TRUE(tempo.found);
    EXPECT_NEAR(tempo.beatsPerMinute, 90.0, 0.5);
    double period = 60000.0 / 90;
    double off = std::fmod(tempo.firstBeatMs - 200.0 + 1.5 * period, period) - period / 2;
    EXPECT_NEAR(off, 0.0, 30.0) << tempo.firstBeatMs;
}

TEST(TempoDetector, SilenceHasNoTempo) {
    AudioClip clip;
    clip.rate = 22050;
    clip.channels = 2;
    clip.samples.assign(22050 * 2 * 5, 0);
    EXPECT_FALSE(DetectTempo(clip).found);
    AudioClip empty;
    EXPECT_FALSE(DetectTempo(empty).found);
}

TEST(TempoDetector, RunsInTheBackground) {
    std::string error;
    ClipPtr clip = DecodeAudioFile(std::string(TRELLIC_SOURCE_DIR) + "/examples/data/tune.ogg", error);
    ASSERT_TRUE(clip) << error;
    std::atomic<int> done{0};
    TempoDetection detection(clip, [&] { done++; });
    for (int i = 0; i < 3000 && !detection.Finished(); i++)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_TRUE(detection.Finished());
    EXPECT_NEAR(detection.Result().beatsPerMinute, 120.0, 0.5);
    // `done` runs right after Finished turns true, on the job's thread.
    for (int i = 0; i < 100 && done == 0; i++)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(done.load(), 1);
}
