// The renderer's pieces without a GL context: which frames a range holds and
// their numbers, PNG encoding, the frame output's ordered files and video
// stream, and the arguments ffmpeg gets.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "render_internal.h"
#include "scratch_dir.h"
#include "standalone.h"

namespace {

std::vector<uint64_t> Numbers(const std::vector<FrameSlot>& slots) {
    std::vector<uint64_t> n;
    for (const FrameSlot& s : slots)
        n.push_back(s.number);
    return n;
}
std::vector<uint32_t> Times(const std::vector<FrameSlot>& slots) {
    std::vector<uint32_t> t;
    for (const FrameSlot& s : slots)
        t.push_back(s.time);
    return t;
}

TEST(RenderSlotsTest, FramesCountFromTimeZeroWhateverTheRange) {
    // 3 frames a second: 0, 333, 666, 1000, 1333 ...
    EXPECT_EQ((std::vector<uint32_t>{333, 666, 1000}), Times(RenderFrameSlots(100, 1000, 3)));
    EXPECT_EQ((std::vector<uint64_t>{1, 2, 3}), Numbers(RenderFrameSlots(100, 1000, 3)));
    EXPECT_EQ((std::vector<uint32_t>{0, 40, 80}), Times(RenderFrameSlots(0, 80, 25)));
    // The frame at 10 s at 30 frames per second is number 300.
    std::vector<FrameSlot> tenth = RenderFrameSlots(10000, 10000, 30);
    ASSERT_EQ(1u, tenth.size());
    EXPECT_EQ(300u, tenth[0].number);
    EXPECT_EQ(10000u, tenth[0].time);
    // A time between two frames holds none.
    EXPECT_TRUE(RenderFrameSlots(5, 5, 30).empty());
    EXPECT_TRUE(RenderFrameSlots(10, 5, 30).empty());
    EXPECT_EQ(4294967295u, RenderFrameSlots(4294967295u, 4294967295u, 1000).back().time);
    EXPECT_EQ(4294967295u, RenderFrameSlots(4294967290u, 4294967295u, 1000).back().number);
}

TEST(RenderSlotsTest, NeighbouringRangesJoinWithoutGapOrRepeat) {
    for (int fps : {1, 24, 30, 60, 1000})
        for (uint32_t cut : {0u, 1u, 333u, 5000u, 5001u, 9999u}) {
            std::vector<FrameSlot> whole = RenderFrameSlots(0, 10000, fps);
            std::vector<FrameSlot> a = RenderFrameSlots(0, cut, fps), b = RenderFrameSlots(cut + 1, 10000, fps);
            std::vector<uint64_t> joined = Numbers(a), second = Numbers(b);
            joined.insert(joined.end(), second.begin(), second.end());
            EXPECT_EQ(Numbers(whole), joined) << fps << " fps, cut at " << cut;
        }
}

TEST(PngTest, WrittenPixelsReadBack) {
    ScratchDir dir;
    std::vector<uint8_t> pixels = {255, 0, 0, 255, 0, 255, 0, 128, 0, 0, 255, 0,
                                   1,   2, 3, 4,   9, 9,   9, 9,   7, 7, 7,   7};
    ASSERT_TRUE(WritePng(dir.file("a.png").c_str(), pixels.data(), 3, 2));
    std::vector<uint8_t> back;
    int w = 0, h = 0;
    ASSERT_TRUE(ReadPng(dir.file("a.png").c_str(), back, w, h));
    EXPECT_EQ(3, w);
    EXPECT_EQ(2, h);
    EXPECT_EQ(pixels, back);
    EXPECT_FALSE(ReadPng(dir.file("missing.png").c_str(), back, w, h));
    dir.Write("junk.png", "not a png");
    EXPECT_FALSE(ReadPng(dir.file("junk.png").c_str(), back, w, h));
    EXPECT_FALSE(WritePng(dir.file("no/such/folder.png").c_str(), pixels.data(), 3, 2));
}

// Frames are opaque: the colours survive at every level, the fourth byte does not.
TEST(PngTest, FramesEncodeOpaqueAtEveryLevel) {
    ScratchDir dir;
    const int w = 37, h = 23;
    std::vector<uint8_t> pixels((size_t)w * h * 4);
    for (size_t i = 0; i < pixels.size(); i++)
        pixels[i] = (uint8_t)(i * 7 + i / 97);
    size_t smallest = SIZE_MAX, largest = 0;
    for (int level = 0; level <= 9; level++) {
        std::vector<uint8_t> png;
        ASSERT_TRUE(EncodePng(pixels.data(), w, h, level, png));
        dir.Write("f.png", std::string(png.begin(), png.end()));
        std::vector<uint8_t> back;
        int bw = 0, bh = 0;
        ASSERT_TRUE(ReadPng(dir.file("f.png").c_str(), back, bw, bh)) << level;
        ASSERT_EQ(w, bw);
        ASSERT_EQ(h, bh);
        for (size_t p = 0; p < pixels.size(); p += 4) {
            ASSERT_EQ(0, memcmp(&pixels[p], &back[p], 3)) << "level " << level << ", pixel " << p / 4;
            ASSERT_EQ(255, back[p + 3]);
        }
        smallest = std::min(smallest, png.size());
        largest = std::max(largest, png.size());
        if (level == 0) {
            EXPECT_GT(png.size(), (size_t)w * h * 3); // stored, not compressed
        }
    }
    EXPECT_LT(smallest * 2, largest);
}

// [SECTION] Frame output

// Frame f is filled with the byte f, so the order of a stream shows.
void FillFrame(std::vector<uint8_t>& pixels, uint64_t f) {
    std::fill(pixels.begin(), pixels.end(), (uint8_t)f);
}

// A stand-in ffmpeg that keeps the bytes it is fed.
std::string StandInFfmpeg(const ScratchDir& dir) {
    dir.Write("ffmpeg", "#!/bin/sh\ncat > \"$(dirname \"$0\")/stream.raw\"\n");
    EXPECT_EQ(0, system(("chmod +x '" + dir.file("ffmpeg") + "'").c_str()));
    return dir.file("ffmpeg");
}

TEST(FrameOutputTest, FilesAndVideoComeInFrameOrderFromManyEncoders) {
    ScratchDir dir;
    VideoPipe video;
    VideoPipe::Settings vs;
    vs.program = StandInFfmpeg(dir);
    vs.outFile = dir.file("out.mp4");
    ASSERT_TRUE(video.Start(vs));

    const int w = 64, h = 48, frames = 40;
    FrameOutput::Settings s;
    s.outDir = dir.path();
    s.video = &video;
    s.width = w;
    s.height = h;
    s.threads = 4;
    {
        FrameOutput output(s);
        for (int f = 0; f < frames; f++) {
            std::vector<uint8_t>* pixels = output.Acquire();
            FillFrame(*pixels, f);
            output.Submit(100 + f, pixels); // numbered from 100, as a render from later on
        }
        std::string error;
        ASSERT_TRUE(output.Finish(error)) << error;
    }
    ASSERT_TRUE(video.Finish());

    std::string stream = dir.Read("stream.raw");
    ASSERT_EQ((size_t)frames * w * h * 4, stream.size());
    for (int f = 0; f < frames; f++)
        ASSERT_EQ((char)f, stream[(size_t)f * w * h * 4]) << "frame " << f << " out of order";
    for (int f = 0; f < frames; f++) {
        std::vector<uint8_t> back;
        int bw = 0, bh = 0;
        std::string name = dir.file("frame_000" + std::to_string(100 + f) + ".png");
        ASSERT_TRUE(ReadPng(name.c_str(), back, bw, bh)) << name;
        EXPECT_EQ(f, back[0]) << name;
    }
    EXPECT_EQ("", dir.Read("frame_000140.png"));
    EXPECT_NE(0, system(("ls '" + dir.path() + "' | grep -q part").c_str())) << "a temporary file was left behind";
}

TEST(FrameOutputTest, AWriteFailureStopsTheRenderWithItsReason) {
    ScratchDir dir;
    FrameOutput::Settings s;
    s.outDir = dir.file("missing");
    s.width = 8;
    s.height = 8;
    FrameOutput output(s);
    std::vector<uint8_t>* pixels = output.Acquire();
    FillFrame(*pixels, 1);
    output.Submit(7, pixels);
    std::string error;
    EXPECT_FALSE(output.Finish(error));
    EXPECT_EQ("could not write " + dir.file("missing") + "/frame_000007.png: No such file or directory", error);
    EXPECT_TRUE(output.Failed());
}

// [SECTION] ffmpeg's arguments

bool Contains(const std::vector<std::string>& args, const std::vector<std::string>& run) {
    return std::search(args.begin(), args.end(), run.begin(), run.end()) != args.end();
}

TEST(VideoArgumentsTest, MusicStartsWithTheFirstFrameAndIsPaddedToTheVideo) {
    VideoPipe::Settings s;
    s.program = "/usr/bin/ffmpeg";
    s.outFile = "out.mp4";
    s.width = 640;
    s.height = 480;
    s.fps = 30;
    s.frames = 660; // 22 s, longer than the music
    s.firstTime = 2000;
    s.music = "data/tune.ogg";
    std::vector<std::string> args = VideoPipe::Arguments(s);
    EXPECT_TRUE(Contains(args, {"-f", "rawvideo", "-pix_fmt", "rgb0", "-s", "640x480", "-r", "30", "-i", "-"}));
    EXPECT_TRUE(Contains(args, {"-ss", "2.000", "-i", "data/tune.ogg"}));
    EXPECT_TRUE(Contains(args, {"-af", "apad=whole_dur=22.000000", "-shortest"}));
    EXPECT_EQ("out.mp4", args.back());

    s.music.clear();
    args = VideoPipe::Arguments(s);
    EXPECT_FALSE(Contains(args, {"-map", "1:a"}));
    EXPECT_FALSE(Contains(args, {"-shortest"}));
}

} // namespace
