// The player and the headless renderer: the built program run on demos of the
// test plug-ins and of Fenk.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <fstream>
#include <sys/wait.h>

#include <sndfile.h>

#include "editor_fixture.h"
#include "program_run.h"
#include "standalone.h"

namespace {

// [SECTION] The player

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
    // The player's window is "Trellic" exactly; an editor's names its demo.
    // Other tests may have a player open at the same time: look for this one's.
    ScratchDir dir;
    WriteTestDemo(dir, "Fenk.xml", PluginPath("RecordPlugin"), {"Effect1"}, "Effect1", {1}, 200);
    std::string cmd =
        "cd '" + dir.path() +
        "' && ('" TRELLIC_BIN_DIR "/Trellic' --play --loop --size 64x48 "
        "& p=$!; for i in $(seq 1 50); do xdotool search --all --pid $p --name '^Trellic$' >/dev/null 2>&1 && break; "
        "sleep 0.1; done; sleep 1; kill -0 $p || exit 90; "
        "xdotool search --all --pid $p --name '^Trellic$' windowfocus --sync key Escape; "
        "for i in $(seq 1 150); do kill -0 $p 2>/dev/null || break; sleep 0.1; done; "
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

// [SECTION] The command line of the built program

TEST(CommandLineProgramTest, HelpAndVersionAnswerAndExitZero) {
    ScratchDir dir;
    ProgramResult r = RunTrellic(dir, "--help");
    EXPECT_EQ(kExitOk, r.code);
    EXPECT_NE(std::string::npos, r.out.find("Trellic --render FILE")) << r.out;
    EXPECT_NE(std::string::npos, r.out.find("--png-level N")) << r.out;
    EXPECT_EQ("", r.err);
    r = RunTrellic(dir, "--version");
    EXPECT_EQ(kExitOk, r.code);
    EXPECT_EQ(std::string("Trellic ") + TRELLIC_VERSION + "\n", r.out);
}

TEST(CommandLineProgramTest, ABadArgumentShowsTheModesUsageAndExitsTwo) {
    ScratchDir dir;
    ProgramResult r = RunTrellic(dir, "--render d.xml --out f --fps 0");
    EXPECT_EQ(kExitUsage, r.code);
    EXPECT_EQ(0u, r.err.find("Trellic: --fps takes a whole number from 1 to 1000\n"
                             "usage: Trellic --render FILE (--out DIR | --video FILE.mp4) [--fps N]\n"))
        << r.err;
    r = RunTrellic(dir, "--play --size big");
    EXPECT_EQ(kExitUsage, r.code);
    EXPECT_NE(std::string::npos, r.err.find("\nusage: Trellic --play [FILE]")) << r.err;
    EXPECT_EQ(std::string::npos, r.err.find("--render")) << r.err;
}

// [SECTION] The renderer

// The demo of the logging plug-in: events [0, 990] going 0 -> 10 and
// [1000, 1990] going 1 -> 11, in one track.
struct LoggedRender : ::testing::Test {
    ScratchDir dir;
    void SetUp() override {
        WriteTestDemo(dir, "Fenk.xml", PluginPath("RenderTimePlugin"), {"Mark"}, "Mark", {2}, 2000);
    }
};

TEST_F(LoggedRender, EveryLibraryLearnsEachFramesTimeBeforeTheFrame) {
    ProgramResult r = RunTrellic(dir, "--render Fenk.xml --out f --fps 4 --from 0 --to 1000 --size 32x24");
    ASSERT_EQ(kExitOk, r.code) << r.err;
    EXPECT_EQ("init 0\n"
              "time 0\nbegin 0\nmark 0\n"
              "time 250\nbegin 0\nmark 2\n"
              "time 500\nbegin 0\nmark 5\n"
              "time 750\nbegin 0\nmark 7\n"
              "time 1000\nbegin 0\nmark 1\n",
              dir.Read("calls.log"));
}

TEST_F(LoggedRender, ThePlayerNeverTellsTheTime) {
    ProgramResult r = RunTrellic(dir, "--play --size 32x24 --from 1800");
    ASSERT_EQ(kExitOk, r.code) << r.err;
    std::string log = dir.Read("calls.log");
    EXPECT_NE(std::string::npos, log.find("mark ")) << log;
    EXPECT_EQ(std::string::npos, log.find("time ")) << log;
}

TEST_F(LoggedRender, FramesAreNumberedFromTimeZeroWhateverTheRange) {
    ProgramResult r = RunTrellic(dir, "--render Fenk.xml --out f --fps 10 --from 1000 --to 1250 --size 32x24");
    ASSERT_EQ(kExitOk, r.code) << r.err;
    for (int n = 10; n <= 12; n++)
        EXPECT_NE("", dir.Read("f/frame_0000" + std::to_string(n) + ".png")) << n;
    EXPECT_EQ("", dir.Read("f/frame_000000.png"));
    EXPECT_EQ("", dir.Read("f/frame_000013.png"));
    EXPECT_NE(std::string::npos, r.err.find("render: frame 3/3")) << r.err;
}

TEST_F(LoggedRender, ARangeWithoutAFrameIsSaidAndDrawsNothing) {
    ProgramResult r = RunTrellic(dir, "--render Fenk.xml --out f --fps 30 --from 5 --to 20 --size 32x24");
    EXPECT_EQ(kExitUsage, r.code);
    EXPECT_EQ("Trellic: no frame falls between 5 and 20 ms at 30 frames per second\n", r.err);
    EXPECT_EQ("init 0\n", dir.Read("calls.log"));
    r = RunTrellic(dir, "--render Fenk.xml --out f --from 2000 --size 32x24");
    EXPECT_EQ(kExitUsage, r.code);
    EXPECT_EQ("Trellic: --from 2000 ms is past the end of the demo (2000 ms long)\n", r.err);
}

// Markers and the loop range as a demo maker stores them: saved in the file by
// the writer, read back by the program, and used as the render's range.
struct StoredRangeRender : LoggedRender {
    void SetUp() override {
        LoggedRender::SetUp();
        DemoStruct demo = {};
        LoadDemoFile(dir.file("Fenk.xml").c_str(), demo, true);
        demo.markers = new DemoMarker[3];
        demo.markers[0] = {250, CopyString("Start")};
        demo.markers[1] = {1000, CopyString("Second half")};
        demo.markers[2] = {1500, CopyString("Late")};
        demo.markerCount = 3;
        demo.hasLoopRange = true;
        demo.loopIn = 500;
        demo.loopOut = 1010;
        ASSERT_TRUE(SaveDemoFile(dir.file("Fenk.xml").c_str(), &demo));
        ReleaseDemo(demo);
    }
    std::string Times() {
        std::string log = dir.Read("calls.log"), times;
        for (size_t at = log.find("time "); at != std::string::npos; at = log.find("time ", at + 1))
            times += log.substr(at + 5, log.find('\n', at) - at - 5) + " ";
        return times;
    }
};

TEST_F(StoredRangeRender, FromAndToNameMarkersReadFromTheFile) {
    ProgramResult r =
        RunTrellic(dir, "--render Fenk.xml --out f --fps 4 --from 'Second half' --to Late --size 32x24");
    ASSERT_EQ(kExitOk, r.code) << r.err;
    EXPECT_EQ("1000 1250 1500 ", Times());
    for (int n = 4; n <= 6; n++)
        EXPECT_NE("", dir.Read("f/frame_00000" + std::to_string(n) + ".png")) << n;
    EXPECT_EQ("", dir.Read("f/frame_000003.png"));
    EXPECT_EQ("", dir.Read("f/frame_000007.png"));
}

TEST_F(StoredRangeRender, LoopRangeReadFromTheFileIsTheRange) {
    ProgramResult r = RunTrellic(dir, "--render Fenk.xml --out f --fps 4 --loop-range --size 32x24");
    ASSERT_EQ(kExitOk, r.code) << r.err;
    EXPECT_EQ("500 750 1000 ", Times()); // the out point itself is not played
    r = RunTrellic(dir, "--render Fenk.xml --out g --fps 4 --from Nowhere --size 32x24");
    EXPECT_EQ(kExitUsage, r.code);
    EXPECT_NE(std::string::npos, r.err.find("\"Start\", \"Second half\", \"Late\"")) << r.err;
}

// Hiding is stored in the file, and a render of the saved file skips what is hidden.
TEST_F(LoggedRender, AHiddenEventSavedInTheFileIsNotRendered) {
    DemoStruct demo = {};
    LoadDemoFile(dir.file("Fenk.xml").c_str(), demo, true);
    demo.tracks[0].events[1].hidden = true;
    ASSERT_TRUE(SaveDemoFile(dir.file("Fenk.xml").c_str(), &demo));
    ReleaseDemo(demo);
    ProgramResult r = RunTrellic(dir, "--render Fenk.xml --out f --fps 4 --from 750 --to 1250 --size 32x24");
    ASSERT_EQ(kExitOk, r.code) << r.err;
    EXPECT_EQ("init 0\n"
              "time 750\nbegin 0\nmark 7\n"
              "time 1000\nbegin 0\n"
              "time 1250\nbegin 0\n",
              dir.Read("calls.log"));
}

// HeadlessRender tests also run with no X server at all (scripts/test.sh).
TEST_F(LoggedRender, HeadlessRenderNeedsNoDisplay) {
    ProgramResult r = RunTrellic(dir, "--render Fenk.xml --out f --fps 2 --size 32x24", "env -u DISPLAY");
    ASSERT_EQ(kExitOk, r.code) << r.err;
    EXPECT_NE("", dir.Read("f/frame_000003.png"));
    // With neither EGL nor a display there is nothing to draw with: one clear line.
    r = RunTrellic(dir, "--render Fenk.xml --out g --size 32x24",
                   "env -u DISPLAY __EGL_VENDOR_LIBRARY_FILENAMES=/nonexistent");
    EXPECT_EQ(kExitStartFailed, r.code);
    EXPECT_EQ(0u, r.err.find("Trellic: no OpenGL context for the render: EGL's surfaceless platform is not "
                             "available"))
        << r.err;
    EXPECT_EQ(1, std::count(r.err.begin(), r.err.end(), '\n')) << r.err;
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
    std::string Listing(const std::string& folder) {
        std::string list = dir.file("list.txt");
        EXPECT_EQ(0, system(("ls '" + dir.file(folder) + "' > '" + list + "'").c_str()));
        return dir.Read("list.txt");
    }
    // Every file of folder a equals its namesake in b, byte for byte.
    void ExpectSameFiles(const std::string& a, const std::string& b) {
        ASSERT_EQ(Listing(a), Listing(b));
        std::string names = Listing(a);
        for (size_t start = 0, end; (end = names.find('\n', start)) != std::string::npos; start = end + 1) {
            std::string name = names.substr(start, end - start);
            EXPECT_TRUE(dir.Read(a + "/" + name) == dir.Read(b + "/" + name)) << name << " differs";
        }
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
    ExpectSameFiles("a", "b");
    for (int n = 4; n < 8; n++) {
        std::vector<uint8_t> a = Frame("a/frame_00000" + std::to_string(n) + ".png");
        size_t lit = 0;
        for (size_t i = 0; i < a.size(); i += 4)
            lit += (a[i] | a[i + 1] | a[i + 2]) != 0;
        EXPECT_GT(lit, a.size() / 4 / 10) << "frame " << n << " is mostly black";
    }
    EXPECT_EQ("", dir.Read("a/frame_000008.png"));
}

// With ShowFPS left in: it counts frames per second of demo time in a render,
// so its corner repeats too, and shows the video's frame rate after the first
// second.
TEST_F(ExampleRender, RendersWithShowFpsAreByteIdentical) {
    const std::string args = " --fps 10 --from 800 --to 2200 --size 160x120";
    ProgramResult r = RunTrellic(dir, "--render Fenk.xml --out a" + args);
    ASSERT_EQ(kExitOk, r.code) << r.err;
    r = RunTrellic(dir, "--render Fenk.xml --out b" + args);
    ASSERT_EQ(kExitOk, r.code) << r.err;
    EXPECT_NE(std::string::npos, Listing("a").find("frame_000022.png"));
    ExpectSameFiles("a", "b");
}

// Two renders of neighbouring ranges into one folder give the files of one
// render of the whole range (where no effect keeps state from its first call).
TEST_F(ExampleRender, SplitRendersJoinIntoTheWholeRender) {
    DropShowFps(dir.file("Fenk.xml"));
    ASSERT_EQ(kExitOk, RunTrellic(dir, "--render Fenk.xml --out whole --fps 10 --from 13100 --to 13900 "
                                       "--size 160x120")
                           .code);
    ASSERT_EQ(kExitOk, RunTrellic(dir, "--render Fenk.xml --out split --fps 10 --from 13100 --to 13500 "
                                       "--size 160x120")
                           .code);
    ASSERT_EQ(kExitOk, RunTrellic(dir, "--render Fenk.xml --out split --fps 10 --from 13501 --to 13900 "
                                       "--size 160x120 --png-level 1")
                           .code);
    EXPECT_EQ("frame_000131.png\nframe_000132.png\nframe_000133.png\nframe_000134.png\nframe_000135.png\n"
              "frame_000136.png\nframe_000137.png\nframe_000138.png\nframe_000139.png\n",
              Listing("whole"));
    ExpectSameFiles("whole", "split");
}

TEST_F(ExampleRender, HeadlessRenderOfTheExampleDrawsItsFrames) {
    ProgramResult r = RunTrellic(dir, "--render Fenk.xml --out f --fps 1 --from 2000 --to 4000 --size 160x120",
                                 "env -u DISPLAY");
    ASSERT_EQ(kExitOk, r.code) << r.err;
    for (int n = 2; n <= 4; n++) {
        std::vector<uint8_t> frame = Frame("f/frame_00000" + std::to_string(n) + ".png");
        size_t lit = 0;
        for (size_t i = 0; i < frame.size(); i += 4)
            lit += (frame[i] | frame[i + 1] | frame[i + 2]) != 0;
        EXPECT_GT(lit, frame.size() / 4 / 2) << "frame " << n << " is mostly black";
    }
}

// The same pixels with no display (EGL) and in a window, at any PNG level.
TEST_F(ExampleRender, WindowAndHeadlessRendersDrawTheSame) {
    ASSERT_EQ(kExitOk, RunTrellic(dir, "--render Fenk.xml --out egl --fps 2 --from 2000 --to 3000 --size 160x120",
                                  "env -u DISPLAY")
                           .code);
    ASSERT_EQ(kExitOk, RunTrellic(dir, "--render Fenk.xml --out x --fps 2 --from 2000 --to 3000 --size 160x120 "
                                       "--png-level 9",
                                  "__EGL_VENDOR_LIBRARY_FILENAMES=/nonexistent")
                           .code);
    ASSERT_EQ(Listing("egl"), Listing("x"));
    for (int n = 4; n <= 6; n++) {
        std::string name = "/frame_00000" + std::to_string(n) + ".png";
        EXPECT_EQ(Frame("egl" + name), Frame("x" + name)) << name;
        EXPECT_LT(dir.Read("x" + name).size(), dir.Read("egl" + name).size()) << "level 9 should be smaller";
    }
}

// A stand-in ffmpeg records its arguments and the bytes it is fed.
struct VideoRender : ExampleRender {
    void SetUp() override {
        ExampleRender::SetUp();
        ASSERT_EQ(0, system(("mkdir -p '" + dir.file("bin") + "'").c_str()));
        dir.Write("bin/ffmpeg", "#!/bin/sh\necho \"$@\" > \"$(dirname \"$0\")/args.txt\"\n"
                                "wc -c > \"$(dirname \"$0\")/bytes.txt\"\n");
        ASSERT_EQ(0, system(("chmod +x '" + dir.file("bin/ffmpeg") + "'").c_str()));
    }
    ProgramResult Render(const std::string& args) {
        return RunTrellic(dir, "--render Fenk.xml --video out.mp4 --size 160x120 " + args,
                          "PATH='" + dir.file("bin") + "':/usr/bin:/bin");
    }
};

TEST_F(VideoRender, FramesGoThroughFfmpegWithTheMusicFromTheFirstFrame) {
    ProgramResult r = Render("--fps 10 --from 450 --to 700");
    ASSERT_EQ(kExitOk, r.code) << r.err;
    std::string args = dir.Read("bin/args.txt");
    EXPECT_NE(std::string::npos, args.find("-f rawvideo -pix_fmt rgb0 -s 160x120 -r 10 -i -")) << args;
    EXPECT_NE(std::string::npos, args.find("-ss 0.500 -i data/tune.ogg")) << args; // frame 5 is the first
    EXPECT_NE(std::string::npos, args.find("out.mp4")) << args;
    EXPECT_EQ(3 * 160 * 120 * 4, atoi(dir.Read("bin/bytes.txt").c_str()));
}

// The example's music is shorter than a demo made 6 s longer: the video keeps
// every frame and the sound goes on in silence.
TEST_F(VideoRender, ADemoLongerThanItsMusicKeepsEveryFrame) {
    DemoStruct demo = {};
    LoadDemoFile(dir.file("Fenk.xml").c_str(), demo, true);
    demo.runningTime += 6000;
    ASSERT_TRUE(SaveDemoFile(dir.file("Fenk.xml").c_str(), &demo));
    uint32_t frames = (uint32_t)RenderFrameSlots(0, demo.runningTime - 1, 30).size();
    ReleaseDemo(demo);
    ProgramResult r = Render("--fps 30 --size 32x24");
    ASSERT_EQ(kExitOk, r.code) << r.err;
    std::string args = dir.Read("bin/args.txt");
    char pad[64];
    snprintf(pad, sizeof pad, "-af apad=whole_dur=%.6f -shortest", frames / 30.0);
    EXPECT_NE(std::string::npos, args.find(pad)) << args;
    EXPECT_EQ(frames * 32 * 24 * 4, (uint32_t)atoi(dir.Read("bin/bytes.txt").c_str()));
}

TEST_F(ExampleRender, MissingFfmpegIsSaidClearly) {
    ProgramResult r = RunTrellic(dir, "--render Fenk.xml --video out.mp4 --size 160x120",
                                 "PATH='" + dir.file("none") + "'");
    EXPECT_EQ(kExitOutputFailed, r.code);
    EXPECT_NE(std::string::npos, r.err.find("--video needs ffmpeg, which is not installed")) << r.err;
}
} // namespace
