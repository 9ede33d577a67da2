// The player and the headless renderer: command-line parsing, frame times, and
// the built program run on demos of the test plug-ins and of Fenk.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sys/wait.h>

#include <sndfile.h>

#include "editor_fixture.h"
#include "standalone.h"

namespace {

bool Parse(std::vector<std::string> args, CommandLine& out, std::string& error) {
    std::vector<char*> argv;
    std::string program = "Trellic";
    argv.push_back(&program[0]);
    for (std::string& a : args)
        argv.push_back(&a[0]);
    return ParseCommandLine((int)argv.size(), argv.data(), out, error);
}

TEST(CommandLineTest, NoOptionsRunTheEditor) {
    CommandLine o;
    std::string error;
    ASSERT_TRUE(Parse({}, o, error));
    EXPECT_EQ(RunMode::Editor, o.mode);
}

TEST(CommandLineTest, PlayTakesAnOptionalFileAndItsOptions) {
    CommandLine o;
    std::string error;
    ASSERT_TRUE(Parse({"--play"}, o, error));
    EXPECT_EQ(RunMode::Play, o.mode);
    EXPECT_EQ("Fenk.xml", o.demoFile);
    ASSERT_TRUE(Parse(
        {"--play", "other.xml", "--size", "800x600", "--fullscreen", "--from", "1500", "--loop"}, o, error));
    EXPECT_EQ("other.xml", o.demoFile);
    EXPECT_EQ(800, o.width);
    EXPECT_EQ(600, o.height);
    EXPECT_TRUE(o.fullscreen);
    EXPECT_TRUE(o.loop);
    EXPECT_EQ(1500u, o.fromMs);
}

TEST(CommandLineTest, RenderNeedsAnOutput) {
    CommandLine o;
    std::string error;
    EXPECT_FALSE(Parse({"--render", "d.xml"}, o, error));
    EXPECT_EQ("--render needs --out DIR or --video FILE.mp4", error);
    ASSERT_TRUE(Parse({"--render", "d.xml", "--out", "frames", "--fps", "25", "--from", "10", "--to", "20"},
                      o, error));
    EXPECT_EQ(RunMode::Render, o.mode);
    EXPECT_EQ(25, o.fps);
    EXPECT_TRUE(o.hasTo);
    EXPECT_EQ(20u, o.toMs);
}

TEST(CommandLineTest, BadValuesAreRefusedWithAReason) {
    CommandLine o;
    std::string error;
    const std::vector<std::vector<std::string>> bad = {
        {"--play", "--size", "800"},
        {"--play", "--size", "0x600"},
        {"--play", "--size", "99999x2"},
        {"--render", "d", "--out", "o", "--fps", "0"},
        {"--render", "d", "--out", "o", "--fps", "-3"},
        {"--play", "--from", "-1"},
        {"--play", "--from", "12ms"},
        {"--render", "d", "--out", "o", "--from", "20", "--to", "10"},
        {"--frobnicate"},
        {"--size", "640x480"},
        {"--render"},
        {"--play", "--from"},
    };
    for (const auto& args : bad) {
        error.clear();
        EXPECT_FALSE(Parse(args, o, error)) << args[0];
        EXPECT_FALSE(error.empty());
    }
}

TEST(RenderTimesTest, FrameNIsFromPlusNThousandthsOverFps) {
    EXPECT_EQ((std::vector<uint32_t>{100, 433, 766}), RenderFrameTimes(100, 1000, 3));
    EXPECT_EQ((std::vector<uint32_t>{0, 40, 80}), RenderFrameTimes(0, 80, 25));
    EXPECT_EQ((std::vector<uint32_t>{5}), RenderFrameTimes(5, 5, 30));
    EXPECT_TRUE(RenderFrameTimes(10, 5, 30).empty());
    EXPECT_EQ(4294967295u, RenderFrameTimes(4294967295u, 4294967295u, 1000).back());
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

// [SECTION] The built program

struct ProgramResult {
    int code;
    std::string err;
};

ProgramResult RunTrellic(const ScratchDir& dir, const std::string& args, const std::string& env = "") {
    std::string cmd = "cd '" + dir.path() + "' && " + env + " '" TRELLIC_BIN_DIR "/Trellic' " + args +
                      " 2> '" + dir.file("stderr.txt") + "' > /dev/null";
    int status = system(cmd.c_str());
    ProgramResult r;
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.err = dir.Read("stderr.txt");
    return r;
}

TEST(PlayerTest, PlaysToTheEndAndExits) {
    ScratchDir dir;
    WriteTestDemo(dir, "Fenk.xml", PluginPath("RecordPlugin"), {"Effect1"}, "Effect1", {1}, 300);
    ProgramResult r = RunTrellic(dir, "--play --size 64x48");
    EXPECT_EQ(kExitOk, r.code) << r.err;
}

TEST(PlayerTest, StartsFromTheGivenTime) {
    ScratchDir dir;
    WriteTestDemo(dir, "short.xml", PluginPath("RecordPlugin"), {"Effect1"}, "Effect1", {1}, 100000);
    // Starting 100 ms before the end of a 100 s demo ends almost at once.
    ProgramResult r = RunTrellic(dir, "--play short.xml --size 64x48 --from 99900");
    EXPECT_EQ(kExitOk, r.code) << r.err;
}

TEST(PlayerTest, PlaysOnPastTheEndOfShorterMusic) {
    ScratchDir dir;
    std::vector<int16_t> beep(22050 / 4, 2000); // 250 ms
    ASSERT_TRUE(EncodeAudioFile(dir.file("beep.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 22050, 1, beep));
    WriteTestDemo(dir, "Fenk.xml", PluginPath("RecordPlugin"), {"Effect1"}, "Effect1", {1}, 700, "beep.wav");
    ProgramResult r = RunTrellic(dir, "--play --size 64x48", "SDL_AUDIODRIVER=dummy");
    EXPECT_EQ(kExitOk, r.code) << r.err;
    EXPECT_EQ(r.err.find("Music:"), std::string::npos) << r.err;
}

TEST(PlayerTest, UnreadableMusicIsReportedAndThePlayerGoesOnSilently) {
    ScratchDir dir;
    dir.Write("bad.wav", "RIFF but no sound");
    WriteTestDemo(dir, "Fenk.xml", PluginPath("RecordPlugin"), {"Effect1"}, "Effect1", {1}, 300, "bad.wav");
    ProgramResult r = RunTrellic(dir, "--play --size 64x48", "SDL_AUDIODRIVER=dummy");
    EXPECT_EQ(kExitOk, r.code) << r.err;
    EXPECT_NE(r.err.find("Trellic: Music: cannot read bad.wav: "), std::string::npos) << r.err;
}

// A looping player runs until the user stops it: Escape ends it normally.
TEST(PlayerTest, LoopsUntilEscape) {
    ScratchDir dir;
    WriteTestDemo(dir, "Fenk.xml", PluginPath("RecordPlugin"), {"Effect1"}, "Effect1", {1}, 200);
    std::string cmd =
        "cd '" + dir.path() +
        "' && ('" TRELLIC_BIN_DIR "/Trellic' --play --loop --size 64x48 "
        "& p=$!; for i in $(seq 1 50); do xdotool search --name Trellic >/dev/null 2>&1 && break; "
        "sleep 0.1; done; sleep 1; kill -0 $p || exit 90; "
        "xdotool search --name Trellic windowfocus --sync key Escape; "
        "for i in $(seq 1 50); do kill -0 $p 2>/dev/null || break; sleep 0.1; done; "
        "if kill -0 $p 2>/dev/null; then kill $p; exit 91; fi; wait $p)";
    int status = system(cmd.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(kExitOk, WEXITSTATUS(status))
        << "90: the looping player ended by itself; 91: Escape did not stop it";
}

TEST(PlayerTest, LoadFailurePrintsTheStageMessage) {
    ScratchDir dir;
    WriteTestDemo(dir, "Fenk.xml", PluginPath("RecordPlugin"), {"Effect1"}, "Missing", {1}, 300);
    ProgramResult r = RunTrellic(dir, "--play --size 64x48");
    EXPECT_EQ(kExitLoadFailed, r.code);
    EXPECT_NE(std::string::npos, r.err.find("Loading demo failed: could not match function pointers!"))
        << r.err;
    r = RunTrellic(dir, "--play nothing.xml --size 64x48");
    EXPECT_EQ(kExitLoadFailed, r.code);
    EXPECT_NE(std::string::npos, r.err.find("Couldn't load the demo nothing.xml, does this file exists?"));
}

TEST(PlayerTest, FailingEffectEndsWithItsCode) {
    ScratchDir dir;
    WriteTestDemo(dir, "Fenk.xml", PluginPath("RecordPlugin"), {"FailEffect"}, "FailEffect", {1}, 5000);
    ProgramResult r = RunTrellic(dir, "--play --size 64x48");
    EXPECT_EQ(kExitFrameFailed, r.code);
    EXPECT_NE(std::string::npos, r.err.find("Unknown error during playing of this screen!"));
    WriteTestDemo(dir, "Fenk.xml", PluginPath("RecordPlugin"), {"ThrowEffect"}, "ThrowEffect", {1}, 5000);
    r = RunTrellic(dir, "--render Fenk.xml --out frames --size 32x24");
    EXPECT_EQ(kExitFrameFailed, r.code);
    EXPECT_NE(std::string::npos, r.err.find("ThrowEffect says no")) << r.err;
}

TEST(PlayerTest, BadCommandLineShowsUsage) {
    ScratchDir dir;
    ProgramResult r = RunTrellic(dir, "--play --size big");
    EXPECT_EQ(kExitUsage, r.code);
    EXPECT_NE(std::string::npos, r.err.find("usage: Trellic"));
}

// A copy of the bundled example, as a demo maker would render it.
struct ExampleRender : ::testing::Test {
    ScratchDir dir;
    void SetUp() override {
        std::string cmd = "cp -r '" TRELLIC_SOURCE_DIR "/examples/.' '" + dir.path() + "'";
        ASSERT_EQ(0, system(cmd.c_str()));
        CopyInterfaceFont(dir);
    }
    std::vector<uint8_t> Frame(const std::string& name) {
        std::vector<uint8_t> rgba;
        int w = 0, h = 0;
        EXPECT_TRUE(ReadPng(dir.file(name).c_str(), rgba, w, h)) << name;
        EXPECT_EQ(160, w);
        EXPECT_EQ(120, h);
        return rgba;
    }
};

// ShowFPS counts calls per wall-clock second, so a render of several frames
// shows whatever the clock gave it: the repeat check takes its events out.
void DropShowFps(const std::string& path) {
    DemoStruct demo = {};
    LoadDemoFile(path.c_str(), demo, true);
    for (uint32_t t = 0; t < demo.trackCount; t++) {
        DemoTrack& track = demo.tracks[t];
        uint32_t kept = 0;
        for (uint32_t e = 0; e < track.eventCount; e++) {
            if (strcmp(track.events[e].functionName, "ShowFPS") == 0)
                ReleaseEvent(track.events[e]);
            else
                track.events[kept++] = track.events[e];
        }
        track.eventCount = kept;
    }
    ASSERT_TRUE(SaveDemoFile(path.c_str(), &demo));
    ReleaseDemo(demo);
}

TEST_F(ExampleRender, WritesNumberedFramesThatRepeatFromRunToRun) {
    DropShowFps(dir.file("Fenk.xml"));
    ProgramResult r =
        RunTrellic(dir, "--render Fenk.xml --out a --fps 4 --from 1000 --to 1750 --size 160x120");
    ASSERT_EQ(kExitOk, r.code) << r.err;
    EXPECT_NE(std::string::npos, r.err.find("render: frame 4/4")) << r.err;
    r = RunTrellic(dir, "--render Fenk.xml --out b --fps 4 --from 1000 --to 1750 --size 160x120");
    ASSERT_EQ(kExitOk, r.code) << r.err;
    for (int n = 0; n < 4; n++) {
        std::string name = "/frame_00000" + std::to_string(n) + ".png";
        std::vector<uint8_t> a = Frame("a" + name), b = Frame("b" + name);
        EXPECT_EQ(a, b) << name;
        size_t lit = 0;
        for (size_t i = 0; i < a.size(); i += 4)
            lit += (a[i] | a[i + 1] | a[i + 2]) != 0;
        EXPECT_GT(lit, a.size() / 4 / 10) << "frame " << n << " is mostly black";
    }
    EXPECT_EQ("", dir.Read("a/frame_000004.png"));
}

TEST_F(ExampleRender, VideoGoesThroughFfmpegWithTheMusic) {
    // A stand-in ffmpeg records its arguments and the bytes it is fed.
    ASSERT_EQ(0, system(("mkdir -p '" + dir.file("bin") + "'").c_str()));
    dir.Write("bin/ffmpeg", "#!/bin/sh\necho \"$@\" > \"$(dirname \"$0\")/args.txt\"\n"
                            "wc -c > \"$(dirname \"$0\")/bytes.txt\"\n");
    ASSERT_EQ(0, system(("chmod +x '" + dir.file("bin/ffmpeg") + "'").c_str()));
    ProgramResult r =
        RunTrellic(dir, "--render Fenk.xml --video out.mp4 --fps 10 --from 500 --to 700 --size 160x120",
                   "PATH='" + dir.file("bin") + "':/usr/bin:/bin");
    ASSERT_EQ(kExitOk, r.code) << r.err;
    std::string args = dir.Read("bin/args.txt");
    EXPECT_NE(std::string::npos, args.find("-f rawvideo -pix_fmt rgba -s 160x120 -r 10 -i -")) << args;
    EXPECT_NE(std::string::npos, args.find("-ss 0.500 -i ")) << args; // the music, from the same place
    EXPECT_NE(std::string::npos, args.find("out.mp4")) << args;
    EXPECT_EQ(3 * 160 * 120 * 4, atoi(dir.Read("bin/bytes.txt").c_str()));
}

TEST_F(ExampleRender, MissingFfmpegIsSaidClearly) {
    ProgramResult r = RunTrellic(dir, "--render Fenk.xml --video out.mp4 --size 160x120",
                                 "PATH='" + dir.file("none") + "'");
    EXPECT_EQ(kExitOutputFailed, r.code);
    EXPECT_NE(std::string::npos, r.err.find("--video needs ffmpeg, which is not installed")) << r.err;
}
} // namespace
