// Loading a demo through its stages, the message of each failing stage, and
// what a failed load leaves behind; saving.
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "editor_fixture.h"

namespace {
std::string LoadMessage(EditorApp& app) {
    try {
        app.LoadDemo();
    } catch (const BasicException& e) {
        return e.GetMessage();
    }
    return "";
}

void WriteGoodDemo(const ScratchDir& dir, const std::string& name = "Fenk.xml", uint32_t runningTime = 5000) {
    WriteTestDemo(dir, name, PluginPath("RecordPlugin"), {"Effect1"}, "Effect1", {2, 1}, runningTime);
}
} // namespace

TEST(LoadDemo, SuccessfulLoadBindsTheDemoAndLeavesPlaybackPaused) {
    EditorFixture f;
    WriteGoodDemo(f.dir);
    f.dir.Write("ImageList.txt", "pic.png 1\n");
    f.app().music.playing = true;
    EXPECT_TRUE(f.app().LoadDemo());
    ASSERT_NE(f.app().demo, nullptr);
    EXPECT_TRUE(f.app().demoLoaded);
    EXPECT_FALSE(f.app().music.playing);
    EXPECT_EQ(f.app().demo->trackCount, 2u);
    EXPECT_EQ(f.app().demo->runningTime, 5000u);
    EXPECT_EQ(f.app().demo->outputSurfaceCount, 2u);
    EXPECT_NE(f.app().demo->tracks[0].events[0].effect, nullptr);
    EXPECT_EQ(f.app().ImageCount(), 1u);
    EXPECT_EQ(f.app().ImageKind(0), 1u);
}

TEST(LoadDemo, MissingFileReportsTheReaderMessage) {
    EditorFixture f;
    EXPECT_EQ(LoadMessage(f.app()), "Couldn't load the demo Fenk.xml, does this file exists?");
    EXPECT_FALSE(f.app().demoLoaded);
    EXPECT_EQ(f.app().demo, nullptr);
}

TEST(LoadDemo, EachFailingStageHasItsMessage) {
    struct Case {
        std::string library;
        std::vector<std::string> functions;
        std::string event;
        std::string message;
    } cases[] = {
        {"/no/such/libNothing.so",
         {"Effect1"},
         "Effect1",
         "Loading demo failed: could not initialize libraries!"},
        {PluginPath("RecordPlugin"),
         {"NoSuchEffect"},
         "NoSuchEffect",
         "Loading demo failed: could not initialize libraries!"},
        {PluginPath("RecordPlugin"),
         {"Effect1"},
         "Effect5",
         "Loading demo failed: could not match function pointers!"},
        {PluginPath("InitZeroPlugin"),
         {"Effect0"},
         "Effect0",
         "Loading demo failed: could not initialize Vorlen!"},
        {PluginPath("InitThrowPlugin"), {"Effect0"}, "Effect0", "Init of InitThrowPlugin refused: 42"},
    };
    for (const Case& c : cases) {
        EditorFixture f;
        WriteTestDemo(f.dir, "Fenk.xml", c.library, c.functions, c.event, {1}, 3000);
        testing::internal::CaptureStderr();
        std::string message = LoadMessage(f.app());
        testing::internal::GetCapturedStderr();
        EXPECT_EQ(message, c.message) << c.library << " " << c.event;
        EXPECT_FALSE(f.app().demoLoaded);
        EXPECT_EQ(f.app().demo, nullptr);
    }
}

TEST(LoadDemo, TooManyInputSurfacesFailsAtTheSurfaceStage) {
    EditorFixture f;
    WriteGoodDemo(f.dir);
    std::string xml = f.dir.Read("Fenk.xml");
    size_t at = xml.find("NumberOfInputSurfaces=\"0\"");
    ASSERT_NE(at, std::string::npos);
    xml.replace(at, 25, "NumberOfInputSurfaces=\"99999\"");
    f.dir.Write("Fenk.xml", xml);
    testing::internal::CaptureStderr();
    std::string message = LoadMessage(f.app());
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(message, "Loading demo failed: could not create surfaces!");
}

TEST(LoadDemo, FailedSecondLoadKeepsTheFirstDemoForSaving) {
    EditorFixture f;
    WriteGoodDemo(f.dir, "Fenk.xml", 7000);
    ASSERT_TRUE(f.app().LoadDemo());
    DemoStruct* first = f.app().demo;
    f.dir.Write("Fenk.xml", "<VorlenDemoFile><broken");
    std::string message = LoadMessage(f.app());
    EXPECT_FALSE(message.empty());
    // Nothing is lost: the first demo stays loaded and editable.
    EXPECT_TRUE(f.app().demoLoaded);
    EXPECT_EQ(f.app().demo, first);
    EXPECT_TRUE(f.app().SaveDemo());
    EXPECT_STREQ(f.screen().statusText, "Demo saved.");
    DemoStruct back = {};
    LoadDemoFile(f.dir.file("Fenk.xml").c_str(), back, true);
    EXPECT_EQ(back.runningTime, 7000u);
    EXPECT_EQ(back.trackCount, 2u);
    ReleaseDemo(back);
}

TEST(LoadDemo, SecondSuccessfulLoadReplacesTheDemo) {
    EditorFixture f;
    WriteGoodDemo(f.dir, "Fenk.xml", 7000);
    ASSERT_TRUE(f.app().LoadDemo());
    WriteGoodDemo(f.dir, "Fenk.xml", 9000);
    ASSERT_TRUE(f.app().LoadDemo());
    EXPECT_EQ(f.app().demo->runningTime, 9000u);
    EXPECT_TRUE(f.app().demoLoaded);
}

TEST(SaveDemo, WithoutAnyDemoFailsWithStatus) {
    EditorFixture f;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(f.app().SaveDemo());
    testing::internal::GetCapturedStderr();
    EXPECT_STREQ(f.screen().statusText, "Error saving demo!");
}

TEST(SaveDemo, UnwritablePathFailsWithStatusAndKeepsTheDemo) {
    EditorFixture f;
    WriteGoodDemo(f.dir);
    ASSERT_TRUE(f.app().LoadDemo());
    // A directory in the demo's place cannot be replaced by a file.
    ASSERT_EQ(remove("Fenk.xml"), 0);
    ASSERT_EQ(mkdir("Fenk.xml", 0755), 0);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(f.app().SaveDemo());
    testing::internal::GetCapturedStderr();
    EXPECT_STREQ(f.screen().statusText, "Error saving demo!");
    EXPECT_TRUE(f.app().demoLoaded);
}

// A name longer than 255 characters (folders of 100 characters each) loads the
// file it names, as a save writes to it.
TEST(LoadDemo, UsesTheWholeFileNameBeyond255Characters) {
    EditorFixture f;
    std::string folder = std::string(100, 'a') + "/" + std::string(100, 'b') + "/" + std::string(100, 'c');
    ASSERT_EQ(0, system(("mkdir -p '" + f.dir.file(folder) + "'").c_str()));
    WriteGoodDemo(f.dir, folder + "/Fenk.xml", 6000);
    WriteGoodDemo(f.dir, "Fenk.xml", 1000); // a cut name must not find something else
    const std::string name = folder + "/Fenk.xml";
    ASSERT_GT(name.size(), 300u);
    f.screen().fileNameField->setText(name.c_str());
    ASSERT_TRUE(f.app().LoadDemo());
    EXPECT_EQ(f.app().demo->runningTime, 6000u);
    EXPECT_EQ(std::string(f.screen().DemoFileName()), name);
    f.app().demo->runningTime = 6500;
    EXPECT_TRUE(f.app().SaveDemo());
    DemoStruct back = {};
    LoadDemoFile(f.dir.file(name).c_str(), back, true);
    EXPECT_EQ(back.runningTime, 6500u);
    ReleaseDemo(back);
}

// A stored control character (Ctrl+A typed before text fields refused it) no
// longer fails every save: it is written as '?' and the status line says so.
TEST(SaveDemo, ControlCharactersAreReplacedAndTheStatusSaysSo) {
    EditorFixture f;
    WriteGoodDemo(f.dir);
    ASSERT_TRUE(f.app().LoadDemo());
    FreeString(f.app().demo->author);
    f.app().demo->author = CopyString("me\x01\x01");
    EXPECT_TRUE(f.app().SaveDemo());
    EXPECT_STREQ(f.screen().statusText, "Demo saved; 2 control characters written as '?'.");
    DemoStruct back = {};
    LoadDemoFile(f.dir.file("Fenk.xml").c_str(), back, true);
    EXPECT_STREQ(back.author, "me??");
    ReleaseDemo(back);
}
