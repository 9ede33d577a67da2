// The waveform's peak table: values worked out by hand at two zooms, and every
// level checked against a plain scan of the samples.
#include <gtest/gtest.h>

#include <random>

#include "music.h"

namespace {
// 1000 frames at 1000 Hz (a frame per ms): a ramp 4 * (i % 250) - 500 with a
// spike of 3000 at 333 and one of -3000 at 777.
ClipPtr RampClip(uint32_t channels) {
    auto clip = std::make_shared<AudioClip>();
    clip->rate = 1000;
    clip->channels = channels;
    for (int i = 0; i < 1000; i++) {
        int v = i == 333 ? 3000 : i == 777 ? -3000 : 4 * (i % 250) - 500;
        clip->samples.push_back((int16_t)v);
        if (channels == 2) clip->samples.push_back((int16_t)(v / 2));
    }
    return clip;
}

void ExpectPeak(const PeakRange& r, int lo, int hi) {
    ASSERT_TRUE(r.valid);
    EXPECT_FLOAT_EQ(r.min, lo / 32768.0f);
    EXPECT_FLOAT_EQ(r.max, hi / 32768.0f);
}
} // namespace

TEST(PeakTable, TenColumnsOfAHundredMs) {
    PeakTable table(RampClip(1));
    // [0,100): ramp -500..-104.  [300,400): -300..96 and the spike.
    ExpectPeak(table.RangeMs(0, 100), -500, -104);
    ExpectPeak(table.RangeMs(300, 400), -300, 3000);
    // [700,800): 300..496, then -500..-304 after the wrap at 750, and -3000.
    ExpectPeak(table.RangeMs(700, 800), -3000, 496);
    ExpectPeak(table.RangeMs(0, 1000), -3000, 3000);
}

TEST(PeakTable, ColumnsOfSevenMs) {
    PeakTable table(RampClip(1));
    ExpectPeak(table.RangeMs(329, 336), -184, 3000); // 79..85 of the ramp, spike at 333
    ExpectPeak(table.RangeMs(336, 343), -156, -132);
    ExpectPeak(table.RangeMs(497, 504), -500, 496); // across the wrap at 500
    ExpectPeak(table.RangeMs(10.5, 10.9), -460, -460); // under a frame: the frame it starts in
}

TEST(PeakTable, ColumnsOfAStripAtTwoZooms) {
    PeakTable table(RampClip(1));
    // The whole second across 4 columns: each a full ramp, two with a spike.
    std::vector<PeakRange> wide = table.Columns(0, 250, 4);
    ASSERT_EQ(wide.size(), 4u);
    ExpectPeak(wide[0], -500, 496);
    ExpectPeak(wide[1], -500, 3000);
    ExpectPeak(wide[2], -500, 496);
    ExpectPeak(wide[3], -3000, 496);
    // 7 ms columns from 322 ms: 72..78, 79..85 with the spike, 86..92 of the ramp.
    std::vector<PeakRange> close = table.Columns(322, 7, 3);
    ExpectPeak(close[0], -212, -188);
    ExpectPeak(close[1], -184, 3000);
    ExpectPeak(close[2], -156, -132);
    // Past the music's end the columns are empty.
    std::vector<PeakRange> after = table.Columns(990, 20, 2);
    EXPECT_TRUE(after[0].valid);
    EXPECT_FALSE(after[1].valid);
}

TEST(PeakTable, StereoTakesBothChannels) {
    PeakTable table(RampClip(2));
    // Right is half the left: [0,100) spans -500..-52 (right's -104 / 2 = -52).
    ExpectPeak(table.RangeMs(0, 100), -500, -52);
    ExpectPeak(table.RangeMs(300, 400), -300, 3000);
}

TEST(PeakTable, EmptyAndOutsideRangesAreInvalid) {
    PeakTable table(RampClip(1));
    EXPECT_FALSE(table.Range(10, 10).valid);
    EXPECT_FALSE(table.Range(1000, 2000).valid);
    EXPECT_FALSE(table.RangeMs(-50, -10).valid);
    EXPECT_FALSE(table.RangeMs(200, 100).valid);
    ExpectPeak(table.RangeMs(990, 5000), 4 * 240 - 500, 4 * 249 - 500); // clipped to the end
}

TEST(PeakTable, EveryLevelAgreesWithAPlainScan) {
    auto clip = std::make_shared<AudioClip>();
    clip->rate = 44100;
    clip->channels = 2;
    std::mt19937 random(7);
    for (int i = 0; i < 2 * 300000; i++)
        clip->samples.push_back((int16_t)(random() % 60001 - 30000));
    PeakTable table(clip);
    EXPECT_GE(table.LevelCount(), 6u);
    for (int n = 0; n < 300; n++) {
        uint64_t a = random() % 300000, len = 1 + random() % (n < 150 ? 200 : 300000);
        uint64_t b = std::min<uint64_t>(a + len, 300000);
        int lo = 32767, hi = -32768;
        for (uint64_t i = a * 2; i < b * 2; i++) {
            lo = std::min<int>(lo, clip->samples[i]);
            hi = std::max<int>(hi, clip->samples[i]);
        }
        PeakRange r = table.Range(a, b);
        ASSERT_TRUE(r.valid);
        ASSERT_EQ(r.min, lo / 32768.0f) << a << ".." << b;
        ASSERT_EQ(r.max, hi / 32768.0f) << a << ".." << b;
    }
}
