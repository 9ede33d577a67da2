// Unloading and reloading effect libraries: the host gives every handle back
// and clears every pointer into the module; the editor's F5 and Reload button
// read a rebuilt library again (its preview pixels change) while the demo, its
// unsaved edits, the selection and the time stay; a rebuilt library that lacks
// a function leaves the editor usable with the preview off.
#include <gtest/gtest.h>

#include <cstdio>
#include <dlfcn.h>

#include <GL/gl.h>
#include <SDL/SDL.h>
#include <SDL/SDL_loadso.h>

#include "demo_builder.h"
#include "editor_fixture.h"
#include "engine.h"
#include "oglstate.h"
#include "record_plugin.h"
#include "sdl_events.h"

namespace {

const uint32_t kRed = 0xFF0000, kBlue = 0x0000FF, kBlack = 0x000000;
const int kLoadX = 40, kLoadY = 275, kReloadX = 40, kReloadY = 240 + 153 + 8;

bool Mapped(const std::string& path) {
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (handle) dlclose(handle);
    return handle != nullptr;
}

// Puts a build of the test plug-in at `path` the way a linker does: a new file
// renamed over the old name, so a module still mapped keeps its old inode.
void InstallAs(const std::string& variant, const std::string& path) {
    const std::string temp = path + ".new";
    std::string cmd = "cp '" + PluginPath(variant) + "' '" + temp + "'";
    ASSERT_EQ(0, system(cmd.c_str()));
    ASSERT_EQ(0, rename(temp.c_str(), path.c_str()));
}

RecorderLog* RecordLog() {
    void* handle = SDL_LoadObject(PluginPath("RecordPlugin").c_str()); // held for the whole run
    auto log = handle ? (RecorderLog * (*)()) SDL_LoadFunction(handle, "Recorder_Log") : nullptr;
    return log ? log() : nullptr;
}

// The editor's main loop on the fixture's window, and what its last frame showed.
struct ReloadEditor : ::testing::Test {
    EditorFixture f;
    MainLoop loop;
    std::string library;

    void SetUp() override { library = f.dir.file("libColour.so"); }
    // One pass of the loop, then the centre of the preview quarter as drawn.
    // (Mesa's software rasteriser keeps the back buffer through the swap.)
    uint32_t Frame() {
        EXPECT_TRUE(EditorFrame(loop));
        return GLContext::ReadPixel(160, 120, 480) & 0xFFFFFF;
    }
    uint32_t Press(int x, int y) {
        PushClick(x, y);
        return Frame();
    }
    uint32_t PressF5() {
        PushKeyDown(SDLK_F5);
        return Frame();
    }
    std::string Status() const { return App()->editorScreen.statusText; }
    void WriteFillDemo() { WriteTestDemo(f.dir, "Fenk.xml", library, {"Fill"}, "Fill", {2, 1}, 5000); }
};

} // namespace

// [SECTION] The host

TEST(LibraryUnload, GivesTheModuleBackAndClearsEveryPointerIntoIt) {
    ScratchDir dir;
    const std::string path = dir.file("libColour.so");
    InstallAs("ColourPluginRed", path);
    DemoStruct demo = EmptyDemo();
    AddLibrary(demo, path, {{"Fill", {"Value"}}});
    AddTrack(demo);
    AddEvent(demo, 0, path, "Fill", 0, 990, {0}, {0});
    ASSERT_EQ(0, BindLibraries(demo));
    ASSERT_EQ(0, MatchEvents(demo));
    ASSERT_TRUE(Mapped(path));

    std::vector<std::string> stillLoaded;
    UnloadLibraries(demo, &stillLoaded);
    EXPECT_FALSE(Mapped(path));
    EXPECT_TRUE(stillLoaded.empty());
    const EffectLibrary& lib = demo.libraries[0];
    EXPECT_EQ(nullptr, lib.handle);
    EXPECT_EQ(nullptr, lib.init);
    EXPECT_EQ(nullptr, lib.quit);
    EXPECT_EQ(nullptr, lib.beginNewFrame);
    EXPECT_EQ(nullptr, lib.functions[0].entry);
    EXPECT_EQ(nullptr, demo.tracks[0].events[0].effect);
    ReleaseDemo(demo);
}

TEST(LibraryBind, ReasonNamesTheWholeFileHoweverLong) {
    EffectLibrary lib = {};
    std::string name = "/tmp/" + std::string(1500, 'x') + ".so";
    lib.fileName = &name[0];
    std::string error;
    EXPECT_EQ(-1, BindLibrary(lib, error));
    EXPECT_EQ("Couldn't load library '" + name + "'!", error);
    EXPECT_EQ(nullptr, lib.handle);
}

TEST(LibraryUnload, ModuleSomethingElseHoldsIsReported) {
    ASSERT_NE(nullptr, RecordLog());
    DemoStruct demo = EmptyDemo();
    AddLibrary(demo, PluginPath("RecordPlugin"), {});
    ASSERT_EQ(0, BindLibraries(demo));
    std::vector<std::string> stillLoaded;
    testing::internal::CaptureStderr();
    UnloadLibraries(demo, &stillLoaded);
    std::string err = testing::internal::GetCapturedStderr();
    ASSERT_EQ(1u, stillLoaded.size());
    EXPECT_EQ(PluginPath("RecordPlugin"), stillLoaded[0]);
    EXPECT_EQ("Library '" + PluginPath("RecordPlugin") +
                  "' stays loaded: something else holds it, so its file is not read again\n",
              err);
    ReleaseDemo(demo);
}

TEST(LibraryQuit, OncePerModuleAndNeverForAModuleKeptInUse) {
    RecorderLog* log = RecordLog();
    ASSERT_NE(nullptr, log);
    DemoStruct demo = EmptyDemo(), next = EmptyDemo();
    AddLibrary(demo, PluginPath("RecordPlugin"), {});
    AddLibrary(demo, PluginPath("RecordPlugin"), {}); // the same module under the same name
    AddLibrary(next, PluginPath("RecordPlugin"), {});
    ASSERT_EQ(0, BindLibraries(demo));
    ASSERT_EQ(0, BindLibraries(next));
    log->quitCount = 0;
    QuitLibraries(demo, demo.libraryCount, &next);
    EXPECT_EQ(0, log->quitCount);
    QuitLibraries(demo, 1, nullptr);
    EXPECT_EQ(1, log->quitCount);
    QuitLibraries(demo, demo.libraryCount, nullptr);
    EXPECT_EQ(2, log->quitCount);
    UnloadLibraries(demo);
    UnloadLibraries(next);
    ReleaseDemo(demo);
    ReleaseDemo(next);
}

TEST(LibraryQuit, TheCallersStateRecordIsCurrentAgainAfterALibraryDetachedIt) {
    GLContext gl(64, 48);
    ScratchDir dir;
    const std::string path = dir.file("libColour.so");
    InstallAs("ColourPluginRed", path);
    DemoStruct demo = EmptyDemo();
    AddLibrary(demo, path, {});
    ASSERT_EQ(0, BindLibraries(demo));
    QuitLibraries(demo, 1, nullptr); // its Vorlen_Quit detaches the current record
    EXPECT_EQ(gl.state(), OGLState::GetState());
    UnloadLibraries(demo);
    ReleaseDemo(demo);
}

// [SECTION] The editor

TEST_F(ReloadEditor, RebuiltLibraryIsReadAgainKeepingTheDemoSelectionAndTime) {
    InstallAs("ColourPluginRed", library);
    WriteFillDemo();
    Press(kLoadX, kLoadY);
    // A second load of the same demo: the first one's handle must go as well,
    // or the module would stay mapped through the reload.
    Press(kLoadX, kLoadY);
    ASSERT_EQ("Demo loaded", Status());
    EXPECT_EQ(kRed, Frame());

    DemoStruct* demo = f.app().demo;
    f.app().SetAuthor("Edited, not saved");
    f.screen().SelectEvent(0, 1);
    f.app().music.position = 1500;

    InstallAs("ColourPluginBlue", library);
    EXPECT_EQ(kBlue, PressF5());
    EXPECT_EQ("Libraries reloaded", Status());
    EXPECT_EQ(demo, f.app().demo);
    EXPECT_STREQ("Edited, not saved", f.app().GetAuthor());
    EXPECT_EQ(0, f.screen().selectedTrack);
    EXPECT_EQ(1, f.screen().selectedEvent);
    EXPECT_EQ(1500u, f.app().music.position);
    EXPECT_EQ(OGLState::GetState(), f.gl.state()); // the plug-in's Vorlen_Quit detached it

    InstallAs("ColourPluginRed", library); // and back, through the button this time
    EXPECT_EQ(kRed, Press(kReloadX, kReloadY));
    EXPECT_EQ("Libraries reloaded", Status());
}

TEST_F(ReloadEditor, MissingFunctionIsNamedAndTheEditorStaysUsableUntilTheNextReload) {
    InstallAs("ColourPluginRed", library);
    WriteFillDemo();
    Press(kLoadX, kLoadY);
    ASSERT_EQ(kRed, Frame());

    InstallAs("ColourPluginNoFill", library);
    EXPECT_EQ(kBlack, Press(kReloadX, kReloadY)); // preview off
    EXPECT_EQ(0u, Status().find("Reload failed")) << Status();
    EXPECT_NE(std::string::npos, Status().find("function 'Fill'")) << Status();
    EXPECT_TRUE(f.app().effectsUnbound);
    EXPECT_FALSE(Mapped(library)); // nothing of the failed attempt stays loaded
    for (uint32_t t = 0; t < f.app().demo->trackCount; t++)
        for (uint32_t e = 0; e < f.app().demo->tracks[t].eventCount; e++)
            EXPECT_EQ(nullptr, f.app().demo->tracks[t].events[e].effect);

    // Still an editor: the clock plays, edits and saves work, the preview stays dark.
    Press(40, 335); // Play/Pause
    ASSERT_TRUE(f.app().music.playing);
    uint32_t start = f.app().music.position;
    SDL_Delay(30);
    EXPECT_EQ(kBlack, Frame());
    EXPECT_GT(f.app().music.position, start);
    Press(40, 335);
    f.app().SetGroup("Kept");
    Press(40, 310); // Save Demo
    EXPECT_EQ("Demo saved.", Status());

    InstallAs("ColourPluginBlue", library);
    EXPECT_EQ(kBlue, PressF5());
    EXPECT_EQ("Libraries reloaded", Status());
    EXPECT_FALSE(f.app().effectsUnbound);
    EXPECT_STREQ("Kept", f.app().GetGroup());
}

TEST_F(ReloadEditor, FailedLoadGivesItsHandlesBackSoTheCorrectedFileIsRead) {
    InstallAs("ColourPluginNoFill", library);
    WriteFillDemo();
    Press(kLoadX, kLoadY);
    EXPECT_EQ("Loading demo failed: could not initialize libraries!", Status());
    EXPECT_FALSE(Mapped(library));

    InstallAs("ColourPluginRed", library);
    Press(kLoadX, kLoadY);
    EXPECT_EQ("Demo loaded", Status());
    EXPECT_EQ(kRed, Frame());
}

// The exception comes from a library built with hidden visibility, whose type
// information goes with it: it must be reported before the library is unloaded.
TEST_F(ReloadEditor, InitThrowingFromALibraryThatIsThenUnloadedIsReported) {
    const std::string path = PluginPath("InitThrowPlugin");
    ASSERT_FALSE(Mapped(path));
    WriteTestDemo(f.dir, "Fenk.xml", path, {"Effect0"}, "Effect0", {1}, 3000);
    Press(kLoadX, kLoadY);
    EXPECT_EQ("Init of InitThrowPlugin refused: 42", Status());
    EXPECT_FALSE(Mapped(path));

    InstallAs("ColourPluginRed", library);
    WriteFillDemo();
    Press(kLoadX, kLoadY);
    ASSERT_EQ(kRed, Frame());
    InstallAs("ColourPluginInitThrows", library);
    EXPECT_EQ(kBlack, PressF5());
    EXPECT_EQ("Reload failed (preview off, F5 retries): The colour plug-in refuses to start", Status());
    EXPECT_FALSE(Mapped(library));
    InstallAs("ColourPluginBlue", library);
    EXPECT_EQ(kBlue, PressF5());
}

TEST_F(ReloadEditor, LoadingADemoWithoutTheLibraryUnloadsIt) {
    InstallAs("ColourPluginRed", library);
    WriteFillDemo();
    Press(kLoadX, kLoadY);
    ASSERT_TRUE(Mapped(library));
    WriteTestDemo(f.dir, "Fenk.xml", PluginPath("RecordPlugin"), {"Effect1"}, "Effect1", {1}, 3000);
    Press(kLoadX, kLoadY);
    EXPECT_EQ("Demo loaded", Status());
    EXPECT_FALSE(Mapped(library));
}

TEST_F(ReloadEditor, OldLibraryQuitsBeforeItIsInitialisedAgain) {
    RecorderLog* log = RecordLog();
    ASSERT_NE(nullptr, log);
    WriteTestDemo(f.dir, "Fenk.xml", PluginPath("RecordPlugin"), {"Effect1"}, "Effect1", {1}, 3000);
    Press(kLoadX, kLoadY);
    ASSERT_EQ("Demo loaded", Status());
    log->quitCount = 0;
    log->initCount = 0;
    PressF5();
    EXPECT_EQ(1, log->quitCount);
    EXPECT_EQ(1, log->initCount);
    // This test holds the module itself, so the reload had to say it kept running old code.
    EXPECT_EQ("Libraries reloaded, but libRecordPlugin.so stayed in memory: its old code still runs", Status());
}

TEST_F(ReloadEditor, F5WithoutADemoSaysSo) {
    PressF5();
    EXPECT_EQ("No demo loaded: nothing to reload", Status());
}
