// The plug-in host against real test plug-ins: binding, matching, surfaces,
// initialisation, effect calls with 0 to 17 arguments, and exceptions crossing
// the plug-in boundary.
#include <gtest/gtest.h>

#include <SDL/SDL.h>
#include <SDL/SDL_loadso.h>

#include "demo_builder.h"
#include "engine.h"
#include "record_plugin.h"
#include "sdl_config.h"

namespace {

std::string Plugin(const char* name) {
    return std::string(TEST_PLUGIN_DIR) + "/lib" + name + ".so";
}

RecorderLog* Log() {
    static RecorderLog* log = nullptr;
    if (!log) {
        void* handle = SDL_LoadObject(Plugin("RecordPlugin").c_str());
        typedef RecorderLog* (*LogFn)();
        log = handle ? ((LogFn)SDL_LoadFunction(handle, "Recorder_Log"))() : nullptr;
    }
    return log;
}

void ResetLog() {
    memset(Log(), 0, sizeof(RecorderLog));
}

const std::vector<FunctionSpec> kRecordFunctions = {
    {"Effect0", {}},
    {"Effect1", {"a"}},
    {"Effect5", {"a", "b", "c", "d", "e"}},
    {"Effect16", std::vector<std::string>(16, "p")},
    {"Effect17", std::vector<std::string>(17, "p")},
    {"FailEffect", {"a"}},
    {"ThrowEffect", {}},
    {"Returns256", {}},
};

struct HostFixture : ::testing::Test {
    DemoStruct demo = EmptyDemo();
    void SetUp() override {
        ASSERT_NE(nullptr, Log());
        ResetLog();
    }
    void TearDown() override { ReleaseDemo(demo); }

    std::string BindCapturingStderr(int expected) {
        testing::internal::CaptureStderr();
        EXPECT_EQ(expected, BindLibraries(demo));
        return testing::internal::GetCapturedStderr();
    }
};

TEST_F(HostFixture, BindsEntryPointsAndEveryDeclaredFunction) {
    AddLibrary(demo, Plugin("RecordPlugin"), kRecordFunctions);
    EXPECT_EQ("", BindCapturingStderr(0));
    const EffectLibrary& lib = demo.libraries[0];
    EXPECT_NE(nullptr, lib.handle);
    EXPECT_NE(nullptr, lib.init);
    EXPECT_NE(nullptr, lib.quit);
    EXPECT_NE(nullptr, lib.beginNewFrame);
    for (uint32_t f = 0; f < lib.functionCount; f++)
        EXPECT_NE(nullptr, lib.functions[f].entry);
    EXPECT_EQ(0, Log()->quitCount); // resolved, never called
}

TEST_F(HostFixture, UnloadableLibraryIsReported) {
    AddLibrary(demo, "libNoSuchPlugin.so", {});
    EXPECT_EQ("Couldn't load library 'libNoSuchPlugin.so'!\n", BindCapturingStderr(-1));
}

TEST_F(HostFixture, LibraryWithoutQuitIsRefused) {
    AddLibrary(demo, Plugin("NoQuitPlugin"), {{"Effect0", {}}});
    EXPECT_EQ("Couldn't load function 'Vorlen_Quit' from library '" + Plugin("NoQuitPlugin") + "'!\n",
              BindCapturingStderr(-1));
}

TEST_F(HostFixture, MissingEffectNamesFunctionThenLibrary) {
    AddLibrary(demo, Plugin("RecordPlugin"), {{"Effect0", {}}, {"NoSuchEffect", {}}});
    EXPECT_EQ("Couldn't load function 'NoSuchEffect' from library '" + Plugin("RecordPlugin") + "'!\n",
              BindCapturingStderr(-1));
    EXPECT_NE(nullptr, demo.libraries[0].functions[0].entry);
}

TEST_F(HostFixture, FirstFailureEndsBindingLaterLibrariesUntouched) {
    AddLibrary(demo, "libNoSuchPlugin.so", {});
    AddLibrary(demo, Plugin("RecordPlugin"), {{"Effect0", {}}});
    BindCapturingStderr(-1);
    EXPECT_EQ(nullptr, demo.libraries[1].handle);
}

// [SECTION] Matching

TEST_F(HostFixture, EmptyDemoBindsAndInitialisesNothing) {
    EXPECT_EQ(0, BindLibraries(demo));
    EXPECT_EQ(0, MatchEvents(demo));
    EXPECT_EQ(0, InitLibraries(demo));
}

TEST_F(HostFixture, EventWithoutLibrariesNamesItsIndices) {
    AddTrack(demo);
    AddTrack(demo);
    AddEvent(demo, 1, "lib.so", "Fx", 0, 10, {}, {});
    testing::internal::CaptureStderr();
    EXPECT_EQ(-1, MatchEvents(demo));
    EXPECT_EQ("Couldn't match event 0's function 'Fx' for library 'lib.so' to available libraries in track 1",
              testing::internal::GetCapturedStderr());
}

TEST_F(HostFixture, LibraryNameComparesCaseSensitively) {
    AddLibrary(demo, Plugin("RecordPlugin"), {{"Effect0", {}}});
    ASSERT_EQ(0, BindLibraries(demo));
    AddTrack(demo);
    AddEvent(demo, 0, Plugin("RecordPlugin"), "Effect0", 0, 10, {}, {});
    std::string upper = Plugin("RecordPlugin");
    upper.replace(upper.find("Record"), 6, "RECORD");
    AddEvent(demo, 0, upper, "Effect0", 10, 20, {}, {});
    testing::internal::CaptureStderr();
    EXPECT_EQ(-1, MatchEvents(demo));
    EXPECT_EQ("Couldn't match event 1's function 'Effect0' for library '" + upper +
                  "' to available libraries in track 0",
              testing::internal::GetCapturedStderr());
    EXPECT_EQ(demo.libraries[0].functions[0].entry, demo.tracks[0].events[0].effect);
}

TEST_F(HostFixture, SearchGoesOnIntoLaterLibraryOfTheSameName) {
    AddLibrary(demo, Plugin("RecordPlugin"), {{"Effect0", {}}});
    AddLibrary(demo, Plugin("RecordPlugin"), {{"Effect1", {"a"}}});
    ASSERT_EQ(0, BindLibraries(demo));
    AddTrack(demo);
    AddEvent(demo, 0, Plugin("RecordPlugin"), "Effect1", 0, 10, {7}, {7});
    ASSERT_EQ(0, MatchEvents(demo));
    EXPECT_EQ(demo.libraries[1].functions[0].entry, demo.tracks[0].events[0].effect);
}

// [SECTION] Surfaces and initialisation

struct SurfaceFixture : HostFixture {
    SDL_Config config;
    SDL_Surface* screen = nullptr;
    void SetUp() override {
        HostFixture::SetUp();
        SDL_Config_DefaultConfig(&config);
        config.width = 64;
        config.height = 48;
        screen = SDL_CreateRGBSurface(0, 8, 8, 16, 0xF800, 0x07E0, 0x001F, 0);
    }
    void TearDown() override {
        SDL_FreeSurface(screen);
        HostFixture::TearDown();
    }
};

TEST_F(SurfaceFixture, SurfacesTakeConfigSizeAndScreenFormat) {
    demo.inputSurfaceCount = 3;
    demo.outputSurfaceCount = 2;
    ASSERT_EQ(0, CreateSurfaces(demo, config, screen));
    for (uint32_t i = 0; i < 3; i++) {
        ASSERT_NE(nullptr, demo.inputSurfaces[i]);
        EXPECT_EQ(64, demo.inputSurfaces[i]->w);
        EXPECT_EQ(48, demo.inputSurfaces[i]->h);
        EXPECT_EQ(16, demo.inputSurfaces[i]->format->BitsPerPixel);
        EXPECT_EQ(0xF800u, demo.inputSurfaces[i]->format->Rmask);
    }
    ASSERT_NE(nullptr, demo.outputSurfaces[1]);
    EXPECT_EQ(0x001Fu, demo.outputSurfaces[1]->format->Bmask);
}

TEST_F(SurfaceFixture, ZeroInputsStillHandsTwoOutputsToInit) {
    AddLibrary(demo, Plugin("RecordPlugin"), {});
    ASSERT_EQ(0, BindLibraries(demo));
    demo.inputSurfaceCount = 0;
    demo.outputSurfaceCount = 2;
    ASSERT_EQ(0, CreateSurfaces(demo, config, screen));
    ASSERT_EQ(0, InitLibraries(demo));
    EXPECT_EQ(1, Log()->initCount);
    EXPECT_EQ((void*)demo.outputSurfaces, Log()->lastOutputs);
    EXPECT_EQ((void*)demo.inputSurfaces, Log()->lastInputs);
    EXPECT_NE(nullptr, demo.outputSurfaces[0]);
    EXPECT_NE(nullptr, demo.outputSurfaces[1]);
}

TEST_F(SurfaceFixture, AbsurdInputCountFailsWithoutAllocating) {
    demo.inputSurfaceCount = 4294967295u; // "-1" in the file
    demo.outputSurfaceCount = 2;
    testing::internal::CaptureStderr();
    EXPECT_EQ(-1, CreateSurfaces(demo, config, screen));
    EXPECT_EQ("Couldn't create some input surface!", testing::internal::GetCapturedStderr());
    EXPECT_EQ(nullptr, demo.inputSurfaces);
    demo.inputSurfaceCount = kMaxInputSurfaces + 1;
    testing::internal::CaptureStderr();
    EXPECT_EQ(-1, CreateSurfaces(demo, config, screen));
    testing::internal::GetCapturedStderr();
}

TEST_F(SurfaceFixture, AbsurdOutputCountFailsAfterTheInputsWithItsOwnMessage) {
    demo.inputSurfaceCount = 1;
    demo.outputSurfaceCount = kMaxInputSurfaces + 1;
    testing::internal::CaptureStderr();
    EXPECT_EQ(-1, CreateSurfaces(demo, config, screen));
    EXPECT_EQ("Couldn't create some output surface!", testing::internal::GetCapturedStderr());
    ASSERT_NE(nullptr, demo.inputSurfaces); // inputs come first and are already made
    EXPECT_NE(nullptr, demo.inputSurfaces[0]);
    EXPECT_EQ(nullptr, demo.outputSurfaces);
}

TEST_F(SurfaceFixture, InitReturningZeroFailsTheStep) {
    AddLibrary(demo, Plugin("InitZeroPlugin"), {});
    ASSERT_EQ(0, BindLibraries(demo));
    demo.outputSurfaceCount = 2;
    ASSERT_EQ(0, CreateSurfaces(demo, config, screen));
    EXPECT_EQ(-1, InitLibraries(demo));
}

// The plug-in throws with its exception type hidden in its own object; the
// program still catches it by the one type name.
TEST_F(SurfaceFixture, ExceptionFromInitCrossesTheBoundary) {
    AddLibrary(demo, Plugin("InitThrowPlugin"), {});
    ASSERT_EQ(0, BindLibraries(demo));
    demo.outputSurfaceCount = 2;
    ASSERT_EQ(0, CreateSurfaces(demo, config, screen));
    try {
        InitLibraries(demo);
        FAIL() << "no exception";
    } catch (const BasicException& e) {
        EXPECT_STREQ("Init of InitThrowPlugin refused: 42", e.GetMessage());
    } catch (...) {
        FAIL() << "caught, but not as BasicException";
    }
}

// [SECTION] Calling effects

struct CallFixture : HostFixture {
    void SetUp() override {
        HostFixture::SetUp();
        AddLibrary(demo, Plugin("RecordPlugin"), kRecordFunctions);
        ASSERT_EQ(0, BindLibraries(demo));
    }
    EffectProc Entry(const char* name) {
        for (uint32_t f = 0; f < demo.libraries[0].functionCount; f++)
            if (strcmp(demo.libraries[0].functions[f].name, name) == 0)
                return demo.libraries[0].functions[f].entry;
        return nullptr;
    }
};

TEST_F(CallFixture, PassesExactlyCountArgumentsInOrder) {
    int32_t args[17];
    for (int i = 0; i < 17; i++)
        args[i] = (i + 1) * (i % 2 ? -1000 : 1000);
    EXPECT_EQ(1, CallEffect(Entry("Effect0"), 0, args));
    EXPECT_EQ(1, CallEffect(Entry("Effect1"), 1, args));
    EXPECT_EQ(1, CallEffect(Entry("Effect5"), 5, args));
    EXPECT_EQ(1, CallEffect(Entry("Effect16"), 16, args));
    ASSERT_EQ(4, Log()->callCount);
    const int expectedArgc[] = {0, 1, 5, 16};
    for (int c = 0; c < 4; c++) {
        ASSERT_EQ(expectedArgc[c], Log()->calls[c].argc);
        for (int i = 0; i < expectedArgc[c]; i++)
            EXPECT_EQ(args[i], Log()->calls[c].args[i]) << c << "," << i;
    }
}

TEST_F(CallFixture, SeventeenArgumentsFailWithoutCalling) {
    int32_t args[17] = {};
    EXPECT_EQ(0, CallEffect(Entry("Effect17"), 17, args));
    EXPECT_EQ(0, CallEffect(nullptr, 0, args));
    EXPECT_EQ(0, Log()->callCount);
}

TEST_F(CallFixture, ResultIsTheLowByte) {
    int32_t arg = 5;
    EXPECT_EQ(0, CallEffect(Entry("FailEffect"), 1, &arg));
    EXPECT_EQ(0, CallEffect(Entry("Returns256"), 0, &arg));
    EXPECT_EQ(2, Log()->callCount);
}

// [SECTION] Frames through a real plug-in

struct FrameFixture : CallFixture {
    void SetUp() override {
        CallFixture::SetUp();
        for (int t = 0; t < 5; t++)
            AddTrack(demo);
    }
    void Add(uint32_t track, const char* fn, std::vector<int32_t> values) {
        AddEvent(demo, track, Plugin("RecordPlugin"), fn, 0, 1000, values, values);
    }
};

TEST_F(FrameFixture, FailingEffectOnTrackThreeLeavesLowerTracksUndrawn) {
    Add(4, "Effect1", {4});
    Add(3, "FailEffect", {3});
    Add(2, "Effect1", {2});
    Add(1, "Effect1", {1});
    Add(0, "Effect1", {0});
    ASSERT_EQ(0, MatchEvents(demo));
    EXPECT_FALSE(RenderFrame(demo, 500));
    ASSERT_EQ(2, Log()->callCount);
    EXPECT_EQ(4, Log()->calls[0].args[0]);
    EXPECT_STREQ("FailEffect", Log()->calls[1].name);
    EXPECT_EQ(1, Log()->beginCount);
    EXPECT_EQ(0, Log()->lastBeginValue);
}

TEST_F(FrameFixture, EventOfSeventeenParametersFailsTheFrameWithoutACall) {
    Add(1, "Effect17", std::vector<int32_t>(17, 9));
    Add(0, "Effect0", {});
    ASSERT_EQ(0, MatchEvents(demo));
    EXPECT_FALSE(RenderFrame(demo, 10));
    EXPECT_EQ(0, Log()->callCount);
}

TEST_F(FrameFixture, ExceptionFromAnEffectLeavesTheFrame) {
    Add(1, "ThrowEffect", {});
    Add(0, "Effect0", {});
    ASSERT_EQ(0, MatchEvents(demo));
    try {
        RenderFrame(demo, 10);
        FAIL() << "no exception";
    } catch (const BasicException& e) {
        EXPECT_STREQ("ThrowEffect says no", e.GetMessage());
    }
    EXPECT_EQ(1, Log()->callCount);
}

TEST_F(FrameFixture, BeginNewFrameRunsEvenWithNothingActive) {
    EXPECT_TRUE(RenderFrame(demo, 123456));
    EXPECT_EQ(1, Log()->beginCount);
    EXPECT_EQ(0, Log()->callCount);
}
} // namespace
