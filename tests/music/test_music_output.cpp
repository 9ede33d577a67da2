// Playing through SDL_mixer's music hook on the dummy driver: a start at any
// position hands exactly the sample there, in WAV, FLAC and Ogg Vorbis alike,
// resampled where the rates differ; the frames handed drive the clock.
#include <gtest/gtest.h>

#include <SDL/SDL.h>
#include <SDL/SDL_mixer.h>

#include "music_test_support.h"
#include "scratch_dir.h"

namespace {
ClipPtr Decode(const std::string& path) {
    std::string error;
    ClipPtr clip = DecodeAudioFile(path, error);
    EXPECT_TRUE(clip) << path << ": " << error;
    return clip;
}

// Starts `clip` at `ms` and returns the first `frames` frames the device got.
std::vector<int16_t> PlayFrom(ClipPtr clip, double ms, uint32_t frames) {
    MusicOutput output;
    EXPECT_TRUE(output.Attach(clip));
    OutputCapture capture(output);
    output.Start(ms);
    std::vector<int16_t> got = capture.Take(frames);
    output.Stop();
    return got;
}

// The offset into `reference` where `got` (left channel) fits best.
int BestFit(const std::vector<int16_t>& got, const std::vector<int16_t>& reference, int around) {
    int best = -1;
    double bestError = 1e300;
    for (int at = around - 300; at <= around + 300; at++) {
        double error = 0;
        for (size_t i = 0; i < got.size() / 2; i++) {
            double d = got[2 * i] - reference[at + i];
            error += d * d;
        }
        if (error < bestError) bestError = error, best = at;
    }
    return best;
}
} // namespace

class MusicOutputTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(device.open) << Mix_GetError(); }
    // A stereo counter WAV of `frames` frames at `rate`, decoded.
    ClipPtr CounterClip(uint32_t rate, uint32_t frames) {
        std::string path = dir.file("counter.wav");
        WriteSound(path, SF_FORMAT_WAV | SF_FORMAT_PCM_16, rate, 2, CounterSignal(frames));
        return Decode(path);
    }
    MixerDevice device{22050};
    ScratchDir dir;
};

TEST_F(MusicOutputTest, SeekInWavAndFlacLandsOnTheSample) {
    for (int format : {SF_FORMAT_WAV | SF_FORMAT_PCM_16, SF_FORMAT_FLAC | SF_FORMAT_PCM_16}) {
        std::string path = dir.file((format & SF_FORMAT_FLAC) ? "c.flac" : "c.wav");
        WriteSound(path, format, 22050, 2, CounterSignal(66150));
        ClipPtr clip = Decode(path);
        ASSERT_TRUE(clip);
        // 1234.5 ms at 22050 Hz is frame 27220.725: the frame it falls in.
        std::vector<int16_t> got = PlayFrom(clip, 1234.5, 2048);
        ASSERT_EQ(got.size(), 4096u) << path;
        for (uint32_t i = 0; i < 2048; i++)
            ASSERT_EQ(CounterIndex(got[2 * i], got[2 * i + 1]), 27220u + i) << path << " frame " << i;
        got = PlayFrom(clip, 2000, 16);
        ASSERT_EQ(got.size(), 32u);
        EXPECT_EQ(CounterIndex(got[0], got[1]), 44100u) << path;
    }
}

TEST_F(MusicOutputTest, SeekInOggVorbisLandsOnTheSample) {
    std::vector<int16_t> chirp = ChirpSignal(66150, 22050);
    WriteSound(dir.file("c.ogg"), SF_FORMAT_OGG | SF_FORMAT_VORBIS, 22050, 1, chirp);
    ClipPtr clip = Decode(dir.file("c.ogg"));
    ASSERT_TRUE(clip);
    for (double ms : {500.0, 1777.0}) {
        std::vector<int16_t> got = PlayFrom(clip, ms, 1024);
        ASSERT_EQ(got.size(), 2048u);
        EXPECT_EQ(got[0], got[1]); // mono on both channels
        int frame = (int)MusicOutput::StartFrame(ms, 22050);
        EXPECT_EQ(BestFit(got, chirp, frame), frame) << ms << " ms";
    }
}

TEST_F(MusicOutputTest, OtherRatesAreResampledAtTheRightPlace) {
    // 44100 Hz on a 22050 Hz device: every second source frame, from the start.
    ClipPtr fast = CounterClip(44100, 88200);
    ASSERT_TRUE(fast);
    std::vector<int16_t> got = PlayFrom(fast, 1000, 512);
    ASSERT_EQ(got.size(), 1024u);
    for (uint32_t i = 0; i < 512; i++)
        ASSERT_EQ(CounterIndex(got[2 * i], got[2 * i + 1]), 44100u + 2 * i);

    // An 11025 Hz ramp (2 per frame) on a 22050 Hz device: the frames between
    // land half-way, as the cubic through a straight line must.
    std::vector<int16_t> ramp;
    for (int i = 0; i < 11025; i++)
        ramp.push_back((int16_t)(2 * i));
    WriteSound(dir.file("slow.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 11025, 1, ramp);
    ClipPtr slow = Decode(dir.file("slow.wav"));
    ASSERT_TRUE(slow);
    got = PlayFrom(slow, 200, 512); // frame 2205, value 4410
    ASSERT_EQ(got.size(), 1024u);
    for (int i = 0; i < 512; i++)
        ASSERT_EQ(got[2 * i], 4410 + i) << i;
}

TEST_F(MusicOutputTest, PastTheEndIsSilenceAndStillCounted) {
    ClipPtr clip = CounterClip(22050, 2205);
    ASSERT_TRUE(clip);
    MusicOutput output;
    ASSERT_TRUE(output.Attach(clip));
    OutputCapture capture(output);
    output.Start(90); // 10 ms of music (220 frames) left, then silence
    std::vector<int16_t> got = capture.Take(4096);
    ASSERT_EQ(got.size(), 8192u);
    EXPECT_EQ(CounterIndex(got[0], got[1]), 1984u);
    EXPECT_EQ(CounterIndex(got[2 * 220], got[2 * 220 + 1]), 2204u);
    for (size_t i = 2 * 221; i < got.size(); i++)
        ASSERT_EQ(got[i], 0) << i;
    EXPECT_GE(output.Progress().framesBefore + output.Progress().framesInCall, 4096u);
}

TEST_F(MusicOutputTest, VolumeScalesAndStopHandsNothing) {
    ClipPtr clip = CounterClip(22050, 44100);
    ASSERT_TRUE(clip);
    MusicOutput output;
    ASSERT_TRUE(output.Attach(clip));
    output.SetVolume(64);
    OutputCapture capture(output);
    output.Start(1000); // frame 22050: left 5666
    std::vector<int16_t> got = capture.Take(1);
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0], 2833);
    output.Stop();
    EXPECT_FALSE(output.Running());
    HookProgress before = output.Progress();
    SDL_Delay(150);
    EXPECT_EQ(output.Progress().framesBefore, before.framesBefore);
}

TEST_F(MusicOutputTest, TheClockFollowsTheFramesHanded) {
    ClipPtr clip = CounterClip(22050, 66150);
    ASSERT_TRUE(clip);
    MusicOutput output;
    ASSERT_TRUE(output.Attach(clip));
    PlaybackClock clock;
    output.Start(1000);
    clock.Restart(1000);
    double previous = 1000;
    for (int i = 0; i < 40; i++) {
        SDL_Delay(10);
        HookProgress p = output.Progress();
        double t = clock.Position(p, SteadyMicroseconds());
        ASSERT_GE(t, previous);
        ASSERT_GE(t, 1000 + p.framesBefore * 1000.0 / 22050);
        ASSERT_LE(t, 1000 + (p.framesBefore + p.framesInCall) * 1000.0 / 22050 + 1e-9);
        previous = t;
    }
    EXPECT_GT(previous, 1300.0); // 400 ms went by
    EXPECT_LT(previous, 1700.0);
}

TEST_F(MusicOutputTest, ANewerOutputTakesTheHookOver) {
    ClipPtr clip = CounterClip(22050, 22050);
    ASSERT_TRUE(clip);
    MusicOutput first, second;
    ASSERT_TRUE(first.Attach(clip));
    first.Start(0);
    ASSERT_TRUE(second.Attach(clip));
    EXPECT_FALSE(first.Attached());
    EXPECT_FALSE(first.Running());
    OutputCapture capture(second);
    second.Start(500);
    std::vector<int16_t> got = capture.Take(4);
    ASSERT_EQ(got.size(), 8u);
    EXPECT_EQ(CounterIndex(got[0], got[1]), 11025u);
    first.Detach(); // leaves the hook with the second
    EXPECT_TRUE(second.Attached());
}

TEST(MusicOutputWithoutDevice, AttachFailsAndNothingRuns) {
    auto clip = std::make_shared<AudioClip>();
    clip->rate = 8000;
    clip->channels = 1;
    clip->samples.assign(100, 1);
    MusicOutput output;
    EXPECT_FALSE(output.Attach(clip));
    output.Start(0);
    EXPECT_FALSE(output.Running());
}
