// The plug-in contract's version: a library may declare it; one newer than the
// program knows fails to load with a message naming the library and both
// versions, in the binding step, on the editor's status line and on the
// standard error of the built program.
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <sys/wait.h>

#include "demo_builder.h"
#include "editor_fixture.h"
#include "engine.h"
#include "sdl_events.h"

namespace {

std::string NewerMessage(const std::string& library) {
    return "Library '" + library + "' needs plug-in contract version 2; this Trellic knows version 1";
}

bool Mapped(const std::string& path) {
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (handle) dlclose(handle);
    return handle != nullptr;
}

struct ContractVersion : ::testing::Test {
    DemoStruct demo = EmptyDemo();
    void TearDown() override {
        UnloadLibraries(demo);
        ReleaseDemo(demo);
    }
};

} // namespace

TEST_F(ContractVersion, DeclaredCurrentVersionAndNoDeclarationBothBind) {
    AddLibrary(demo, PluginPath("VersionPlugin1"), {{"Nothing", {"Value"}}});
    AddLibrary(demo, PluginPath("RecordPlugin"), {{"Effect0", {}}}); // has no Vorlen_ContractVersion
    EXPECT_EQ(0, BindLibraries(demo));
    EXPECT_NE(nullptr, demo.libraries[0].init);
    EXPECT_NE(nullptr, demo.libraries[1].init);
}

TEST_F(ContractVersion, NewerOrImpossibleVersionThrowsNamingTheLibraryAndTheVersions) {
    const std::string newer = PluginPath("VersionPlugin2"), zero = PluginPath("VersionPlugin0");
    const std::pair<std::string, std::string> cases[] = {
        {newer, NewerMessage(newer)},
        {zero, "Library '" + zero + "' declares plug-in contract version 0; versions start at 1"},
    };
    for (const auto& c : cases) {
        DemoStruct one = EmptyDemo();
        AddLibrary(one, c.first, {{"Nothing", {"Value"}}});
        try {
            BindLibraries(one);
            ADD_FAILURE() << c.first << " was bound";
        } catch (const BasicException& e) {
            EXPECT_EQ(c.second, e.GetMessage());
        }
        EXPECT_EQ(nullptr, one.libraries[0].init); // refused before anything was resolved
        UnloadLibraries(one);
        ReleaseDemo(one);
    }
}

TEST(ContractVersionLoad, EditorShowsTheMessageAndGivesTheLibraryBack) {
    EditorFixture f;
    const std::string path = PluginPath("VersionPlugin2");
    ASSERT_FALSE(Mapped(path));
    WriteTestDemo(f.dir, "Fenk.xml", path, {"Nothing"}, "Nothing", {1}, 2000);
    PushClick(40, 275); // Load Demo
    f.screen().pollEvents();
    EXPECT_EQ(NewerMessage(path), f.screen().statusText);
    EXPECT_FALSE(f.app().demoLoaded);
    EXPECT_FALSE(Mapped(path)); // the failed load kept no handle
}

TEST(ContractVersionLoad, StandaloneModesPrintTheMessageAndExitWithTheLoadCode) {
    ScratchDir dir;
    const std::string path = PluginPath("VersionPlugin2");
    WriteTestDemo(dir, "Fenk.xml", path, {"Nothing"}, "Nothing", {1}, 2000);
    for (const char* mode : {"--render Fenk.xml --out frames", "--play"}) {
        std::string cmd = "cd '" + dir.path() + "' && '" TRELLIC_BIN_DIR "/Trellic' " + mode +
                          " --size 32x24 2> err.txt > /dev/null";
        int status = system(cmd.c_str());
        ASSERT_TRUE(WIFEXITED(status)) << mode;
        EXPECT_EQ(3, WEXITSTATUS(status)) << mode;
        EXPECT_NE(std::string::npos, dir.Read("err.txt").find(NewerMessage(path))) << dir.Read("err.txt");
    }
}
