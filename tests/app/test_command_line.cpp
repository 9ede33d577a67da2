// The command line: modes, values and their refusals, the usage line each mode
// shows, and marker names and the loop range looked up in a loaded demo.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "demo_builder.h"
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

TEST(CommandLineTest, NoOptionsOrAFileRunTheEditor) {
    CommandLine o;
    std::string error;
    ASSERT_TRUE(Parse({}, o, error));
    EXPECT_EQ(RunMode::Editor, o.mode);
    EXPECT_FALSE(o.editorFileGiven);
    ASSERT_TRUE(Parse({"show/Intro.xml"}, o, error));
    EXPECT_EQ(RunMode::Editor, o.mode);
    EXPECT_TRUE(o.editorFileGiven);
    EXPECT_EQ("show/Intro.xml", o.demoFile);
    EXPECT_FALSE(Parse({"a.xml", "b.xml"}, o, error));
    EXPECT_EQ("unexpected argument b.xml", error);
}

TEST(CommandLineTest, HelpAndVersionWinOverEverythingElse) {
    CommandLine o;
    std::string error;
    ASSERT_TRUE(Parse({"--help"}, o, error));
    EXPECT_EQ(RunMode::Help, o.mode);
    ASSERT_TRUE(Parse({"--render", "d.xml", "--help"}, o, error));
    EXPECT_EQ(RunMode::Help, o.mode);
    ASSERT_TRUE(Parse({"--version"}, o, error));
    EXPECT_EQ(RunMode::Version, o.mode);
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
    EXPECT_EQ("", o.fromMarker);
}

TEST(CommandLineTest, RenderNeedsAnOutputAndTakesItsOptions) {
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
    EXPECT_EQ(kDefaultPngLevel, o.pngLevel);
    ASSERT_TRUE(Parse({"--render", "d.xml", "--out", "f", "--png-level", "9", "--loop-range"}, o, error));
    EXPECT_EQ(9, o.pngLevel);
    EXPECT_TRUE(o.loopRange);
}

TEST(CommandLineTest, TimesThatAreNotNumbersNameMarkers) {
    CommandLine o;
    std::string error;
    ASSERT_TRUE(Parse({"--render", "d.xml", "--out", "f", "--from", "Drop 2", "--to", "outro"}, o, error));
    EXPECT_EQ("Drop 2", o.fromMarker);
    EXPECT_EQ("outro", o.toMarker);
    EXPECT_TRUE(o.hasTo);
    ASSERT_TRUE(Parse({"--play", "--from", "12ms"}, o, error));
    EXPECT_EQ("12ms", o.fromMarker);
    // Marker times are known only later: their order is not judged here.
    ASSERT_TRUE(Parse({"--render", "d.xml", "--out", "f", "--from", "9000", "--to", "intro"}, o, error));
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
        {"--render", "d", "--out", "o", "--png-level", "10"},
        {"--render", "d", "--out", "o", "--png-level", "fast"},
        {"--play", "--from", "-1"},
        {"--play", "--from", ""},
        {"--play", "--to", "100"},
        {"--play", "--loop-range"},
        {"--play", "--out", "frames"},
        {"--render", "d", "--out", "o", "--loop"},
        {"--play", "a.xml", "b.xml"},
        {"--render", "d", "--out", "o", "--from", "20", "--to", "10"},
        {"--render", "d", "--out", "o", "--loop-range", "--from", "intro"},
        {"--frobnicate"},
        {"--size", "640x480"},
        {"--render"},
        {"--play", "--from"},
    };
    for (const auto& args : bad) {
        error.clear();
        EXPECT_FALSE(Parse(args, o, error)) << args[0] << " " << args.back();
        EXPECT_FALSE(error.empty());
    }
}

TEST(CommandLineTest, EachModeShowsItsOwnUsageLine) {
    CommandLine o;
    std::string error;
    EXPECT_FALSE(Parse({"--fps", "2", "--render", "d.xml"}, o, error)); // the mode counts wherever it stands
    EXPECT_EQ(RunMode::Render, o.mode);
    EXPECT_EQ(0u, std::string(UsageFor(o.mode)).find("usage: Trellic --render FILE"));
    EXPECT_FALSE(Parse({"--play", "--size", "big"}, o, error));
    EXPECT_EQ(0u, std::string(UsageFor(o.mode)).find("usage: Trellic --play [FILE]"));
    for (const char* option : {"--png-level", "--loop-range", "--from MS|MARKER", "--version"})
        EXPECT_NE(std::string::npos, std::string(UsageText()).find(option)) << option;
}

// [SECTION] Markers and the loop range

struct RangeFixture : ::testing::Test {
    DemoStruct demo = EmptyDemo();
    CommandLine o;
    std::string error;
    void SetUp() override {
        const char* names[] = {"intro", "Drop 2", "outro"};
        const uint32_t times[] = {0, 4500, 12000};
        demo.markerCount = 3;
        demo.markers = new DemoMarker[3];
        for (int m = 0; m < 3; m++)
            demo.markers[m] = {times[m], CopyString(names[m])};
    }
    void TearDown() override { ReleaseDemo(demo); }
    bool Resolve(std::vector<std::string> args) {
        std::vector<std::string> full = {"--render", "d.xml", "--out", "f"};
        full.insert(full.end(), args.begin(), args.end());
        std::vector<char*> argv = {const_cast<char*>("Trellic")};
        for (std::string& a : full)
            argv.push_back(&a[0]);
        EXPECT_TRUE(ParseCommandLine((int)argv.size(), argv.data(), o, error)) << error;
        return ResolveRange(demo, o, error);
    }
};

TEST_F(RangeFixture, MarkerNamesBecomeTheirTimes) {
    ASSERT_TRUE(Resolve({"--from", "Drop 2", "--to", "outro"})) << error;
    EXPECT_EQ(4500u, o.fromMs);
    EXPECT_EQ(12000u, o.toMs);
    ASSERT_TRUE(Resolve({"--from", "intro", "--to", "7000"})) << error;
    EXPECT_EQ(0u, o.fromMs);
    EXPECT_EQ(7000u, o.toMs);
}

TEST_F(RangeFixture, AnUnknownMarkerIsNamedWithTheOnesThereAre) {
    EXPECT_FALSE(Resolve({"--from", "Drop 3"}));
    EXPECT_EQ("--from: the demo has no marker \"Drop 3\" (its markers: \"intro\", \"Drop 2\", \"outro\")", error);
    EXPECT_FALSE(Resolve({"--from", "outro", "--to", "Drop 2"}));
    EXPECT_EQ("--to comes before --from (4500 ms before 12000 ms)", error);
    ReleaseDemo(demo);
    demo = EmptyDemo();
    EXPECT_FALSE(Resolve({"--to", "intro"}));
    EXPECT_EQ("--to: the demo has no marker \"intro\" (it has no markers)", error);
}

TEST_F(RangeFixture, TheLoopRangeStopsShortOfItsOutPoint) {
    EXPECT_FALSE(Resolve({"--loop-range"}));
    EXPECT_EQ("the demo has no loop range (set its in and out in the editor with I and O)", error);
    demo.hasLoopRange = true;
    demo.loopIn = 2000;
    demo.loopOut = 6000;
    ASSERT_TRUE(Resolve({"--loop-range"})) << error;
    EXPECT_EQ(2000u, o.fromMs);
    EXPECT_TRUE(o.hasTo);
    EXPECT_EQ(5999u, o.toMs);
    demo.loopOut = 2000; // an empty range
    EXPECT_FALSE(Resolve({"--loop-range"}));
}

} // namespace
