// The editor end to end: start-up in a directory holding a demo, the loop's
// frames driven with real events (load, play, pause, seek, save, F10), shutdown;
// and the built program's exit codes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sys/wait.h>

#include <SDL/SDL.h>
#include <SDL/SDL_loadso.h>

#include <GL/gl.h>

#include "editor_fixture.h"
#include "oglstate.h"
#include "record_plugin.h"
#include "sdl_events.h"

namespace {
bool Frame(MainLoop& loop) {
    return EditorFrame(loop);
}

void ClickAndFrame(MainLoop& loop, int x, int y) {
    PushClick(x, y);
    ASSERT_TRUE(Frame(loop));
}

int RecordedCalls() {
    void* handle = SDL_LoadObject(PluginPath("RecordPlugin").c_str());
    if (!handle) return -1;
    auto log = (RecorderLog * (*)()) SDL_LoadFunction(handle, "Recorder_Log");
    return log ? log()->callCount : -1;
}

void ResetRecorder() {
    void* handle = SDL_LoadObject(PluginPath("RecordPlugin").c_str());
    auto reset = handle ? (void (*)())SDL_LoadFunction(handle, "Recorder_Reset") : nullptr;
    if (reset) reset();
}
} // namespace

TEST(Program, LoadPlayPauseSeekSaveAndQuitWithF10) {
    ScratchDir dir(true);
    CopyInterfaceFont(dir);
    WriteTestDemo(dir, "Fenk.xml", PluginPath("RecordPlugin"), {"Effect1"}, "Effect1", {3, 1}, 10000);
    dir.Write("Trellic.cnfg", "Volume 90");
    ResetRecorder();

    MainLoop loop;
    ASSERT_EQ(EditorStartUp(loop), 0);
    DrainEvents();
    EXPECT_EQ(windowWidth, 640);
    EXPECT_EQ(windowHeight, 480);
    EXPECT_EQ(App()->GetVolume(), 90u);
    ASSERT_TRUE(Frame(loop)); // no demo: only the interface

    ClickAndFrame(loop, 40, 275); // Load Demo
    EXPECT_STREQ(App()->editorScreen.statusText, "Demo loaded");
    ASSERT_TRUE(Frame(loop));
    EXPECT_GT(RecordedCalls(), 0); // the paused demo is drawn every frame

    ClickAndFrame(loop, 40, 335); // Play/Pause
    EXPECT_TRUE(App()->music.playing);
    uint32_t start = App()->music.position;
    SDL_Delay(40);
    ASSERT_TRUE(Frame(loop));
    SDL_Delay(40);
    ASSERT_TRUE(Frame(loop));
    EXPECT_GE(App()->music.position, start + 40);

    ClickAndFrame(loop, 40, 335); // pause
    EXPECT_FALSE(App()->music.playing);
    uint32_t paused = App()->music.position;
    SDL_Delay(20);
    ASSERT_TRUE(Frame(loop));
    EXPECT_EQ(App()->music.position, paused);

    ClickAndFrame(loop, 109 + 1 + 130, 250); // seek to a quarter
    EXPECT_EQ(App()->music.position, 2500u);
    EXPECT_FALSE(App()->music.playing);

    ClickAndFrame(loop, 4 + 1 + 45, 450); // volume slider to 64
    EXPECT_EQ(App()->GetVolume(), 64u);

    ClickAndFrame(loop, 40, 310); // Save Demo
    EXPECT_STREQ(App()->editorScreen.statusText, "Demo saved.");

    ClickAndFrame(loop, 100, 100); // preview: full screen
    EXPECT_TRUE(IsFullScreenPreview());
    ClickAndFrame(loop, 300, 300);
    EXPECT_FALSE(IsFullScreenPreview());

    PushKeyDown(SDLK_F10);
    EXPECT_FALSE(Frame(loop));
    EXPECT_EQ(EditorShutDown(loop), 0);
    EXPECT_EQ(App(), nullptr);
    SDL_Quit();

    EXPECT_EQ(dir.Read("Trellic.cnfg"), "Volume 64");
    DemoStruct back = {};
    LoadDemoFile("Fenk.xml", back, true);
    EXPECT_EQ(back.runningTime, 10000u);
    EXPECT_EQ(back.trackCount, 2u);
    EXPECT_EQ(back.tracks[0].eventCount, 3u);
    ReleaseDemo(back);
}

TEST(Program, FailingEffectShowsTheFrameErrorAndTheLoopGoesOn) {
    ScratchDir dir(true);
    CopyInterfaceFont(dir);
    WriteTestDemo(dir, "Fenk.xml", PluginPath("RecordPlugin"), {"FailEffect"}, "FailEffect", {1}, 3000);
    MainLoop loop;
    ASSERT_EQ(EditorStartUp(loop), 0);
    DrainEvents();
    ClickAndFrame(loop, 40, 275);
    ASSERT_TRUE(Frame(loop));
    EXPECT_STREQ(App()->editorScreen.statusText, "Unknown error during playing of this screen!");
    WriteTestDemo(dir, "Fenk.xml", PluginPath("RecordPlugin"), {"ThrowEffect"}, "ThrowEffect", {1}, 3000);
    ClickAndFrame(loop, 40, 275);
    ASSERT_TRUE(Frame(loop));
    EXPECT_STREQ(App()->editorScreen.statusText, "ThrowEffect says no");
    PushQuitEvent(); // closing the window ends the loop like F10
    EXPECT_FALSE(Frame(loop));
    EXPECT_EQ(EditorShutDown(loop), 0);
    SDL_Quit();
    EXPECT_EQ(dir.Read("Trellic.cnfg"), "Volume 100");
}

// An effect that raises between its pushes and pops leaves nothing behind, so a
// persistent failure does not pile up state frame after frame.
TEST(Program, EffectRaisingHalfWayLeavesTheGlStateAsItWas) {
    ScratchDir dir(true);
    CopyInterfaceFont(dir);
    WriteTestDemo(dir, "Fenk.xml", PluginPath("PushThrowPlugin"), {"PushThenThrow"}, "PushThenThrow", {1},
                  3000);
    MainLoop loop;
    ASSERT_EQ(EditorStartUp(loop), 0);
    DrainEvents();
    ClickAndFrame(loop, 40, 275);
    OGLState::Depths before = OGLState::GetDepths();
    OGLState::Values values = loop.glState->values();
    for (int i = 0; i < 40; i++)
        ASSERT_TRUE(Frame(loop));
    EXPECT_STREQ(App()->editorScreen.statusText, "PushThenThrow gave up half-way");
    OGLState::Depths after = OGLState::GetDepths();
    EXPECT_EQ(before.blend, after.blend);
    EXPECT_EQ(before.viewport, after.viewport);
    EXPECT_EQ(before.color, after.color);
    EXPECT_EQ(values.blend, loop.glState->values().blend);
    EXPECT_EQ(values.viewport[2], loop.glState->values().viewport[2]);
    GLint matrices = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &matrices);
    EXPECT_EQ(1, matrices);
    EXPECT_EQ(GL_NO_ERROR, glGetError()); // 40 unpopped matrices would have overflowed the stack
    PushQuitEvent();
    EXPECT_FALSE(Frame(loop));
    EXPECT_EQ(EditorShutDown(loop), 0);
    SDL_Quit();
}

TEST(Program, WindowSizeComesFromVorlenEditIni) {
    ScratchDir dir(true);
    CopyInterfaceFont(dir);
    dir.Write("VorlenEdit.ini", "width = 800\nheight = 601\n");
    MainLoop loop;
    ASSERT_EQ(EditorStartUp(loop), 0);
    EXPECT_EQ(windowWidth, 800);
    EXPECT_EQ(windowHeight, 601);
    EXPECT_EQ(App()->editorScreen.w, 800);
    EXPECT_EQ(SDL_GetVideoSurface()->h, 601);
    EXPECT_EQ(EditorShutDown(loop), 0);
    SDL_Quit();
}

TEST(Program, MalformedVorlenEditIniEndsWithExitCode1AndOneLine) {
    ScratchDir dir(true);
    dir.Write("VorlenEdit.ini", "width = 800\nbogus\n");
    std::string cmd = std::string(TRELLIC_BIN_DIR) + "/Trellic 2> err.txt";
    int status = system(cmd.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    std::string err = dir.Read("err.txt");
    EXPECT_EQ(err.rfind("VorlenEdit.ini:2:", 0), 0u) << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1);
}

// [SECTION] Start-up with a demo file, and without the interface font

TEST(Program, StartsWithTheGivenDemoLoadedAndNeverTellsItTheTime) {
    ScratchDir dir(true);
    CopyInterfaceFont(dir);
    WriteTestDemo(dir, "Show.xml", PluginPath("RenderTimePlugin"), {"Mark"}, "Mark", {2}, 2000);
    MainLoop loop;
    ASSERT_EQ(EditorStartUp(loop), 0);
    DrainEvents();
    EditorOpenDemo("Show.xml");
    EXPECT_STREQ(App()->editorScreen.statusText, "Demo loaded");
    EXPECT_TRUE(App()->demoLoaded);
    EXPECT_STREQ(App()->editorScreen.DemoFileName(), "Show.xml");
    for (int i = 0; i < 3; i++)
        ASSERT_TRUE(Frame(loop));
    std::string log = dir.Read("calls.log");
    EXPECT_NE(std::string::npos, log.find("mark 0")) << log;
    EXPECT_EQ(std::string::npos, log.find("time")) << log; // only renders tell the time

    EditorOpenDemo("Missing.xml"); // a name that does not load says why, and the editor goes on
    EXPECT_STREQ(App()->editorScreen.DemoFileName(), "Missing.xml");
    EXPECT_NE(std::string::npos, std::string(App()->editorScreen.statusText).find("Missing.xml"))
        << App()->editorScreen.statusText;
    PushQuitEvent();
    EXPECT_FALSE(Frame(loop));
    EXPECT_EQ(EditorShutDown(loop), 0);
    SDL_Quit();
}

TEST(Program, WithoutTheInterfaceFontSaysWhereItLookedAndExitsOne) {
    ScratchDir dir(true);
    WriteTestDemo(dir, "Fenk.xml", PluginPath("RecordPlugin"), {"Effect1"}, "Effect1", {1}, 1000);
    std::string cmd = std::string(TRELLIC_BIN_DIR) + "/Trellic Fenk.xml 2> err.txt";
    int status = system(cmd.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    std::string err = dir.Read("err.txt");
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_EQ(0u, err.find("Trellic: cannot find the interface font \"FreeSerif.ttf\" in " + dir.path() +
                           ": run Trellic from the demo's folder"))
        << err;

    dir.Write("FreeSerif.ttf", "not a font"); // there, but broken: one line too
    status = system(cmd.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    err = dir.Read("err.txt");
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_NE(std::string::npos, err.find("FreeSerif.ttf")) << err;
}
