// The installed SDK used the way an effect author uses it: the project is
// installed into a temporary prefix; the effect template, copied out of that
// prefix, is configured and built against it alone, and the installed Trellic
// renders its demo; the pkg-config file builds the same library; and the
// installed program plays and renders a copy of the installed example demo.
#include <gtest/gtest.h>

#include <dirent.h>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

#include "scratch_dir.h"
#include "standalone.h"

namespace {

struct Rgb {
    int r, g, b;
};

// Runs a shell command, its output kept in `log`; the exit code, or -1.
int RunShell(const std::string& command, const std::string& log) {
    int status = system(("(" + command + ") > '" + log + "' 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

bool Exists(const std::string& path) {
    return std::ifstream(path).good();
}

// The one PNG file a one-frame render wrote into `dir`, whatever its number.
bool ReadOnlyFrame(const std::string& dir, std::vector<uint8_t>& rgba, int& w, int& h) {
    DIR* d = opendir(dir.c_str());
    if (!d) return false;
    std::vector<std::string> frames;
    while (dirent* e = readdir(d))
        if (std::string(e->d_name).find(".png") != std::string::npos) frames.push_back(e->d_name);
    closedir(d);
    return frames.size() == 1 && ReadPng((dir + "/" + frames[0]).c_str(), rgba, w, h);
}

Rgb At(const std::vector<uint8_t>& rgba, int w, int x, int y) {
    const uint8_t* p = &rgba[((size_t)y * w + x) * 4];
    return {p[0], p[1], p[2]};
}

void ExpectNear(Rgb expected, Rgb got, int tolerance, const char* where) {
    EXPECT_NEAR(expected.r, got.r, tolerance) << where;
    EXPECT_NEAR(expected.g, got.g, tolerance) << where;
    EXPECT_NEAR(expected.b, got.b, tolerance) << where;
}

// The template's Gradient at pixel row y of a view h high: the colour at the
// row's centre, on the line from (20, 30, 90) at the top to (120, 40, 110).
Rgb GradientAt(int y, int h) {
    double f = (y + 0.5) / h;
    return {(int)(20 + 100 * f + 0.5), (int)(30 + 10 * f + 0.5), (int)(90 + 20 * f + 0.5)};
}

class InstalledSdk : public ::testing::Test {
  protected:
    static ScratchDir* root;
    static std::string prefix;
    static int installCode;

    static void SetUpTestSuite() {
        root = new ScratchDir;
        prefix = root->file("prefix");
        installCode = RunShell("'" CMAKE_COMMAND "' --install '" TRELLIC_BUILD_DIR "' --prefix '" + prefix + "'",
                          root->file("install.log"));
    }
    static void TearDownTestSuite() {
        delete root;
        root = nullptr;
    }
    void SetUp() override { ASSERT_EQ(0, installCode) << ReadFile(root->file("install.log")); }

    // The installed program run in `dir`: its exit code, its output in dir/run.log.
    static int Trellic(const std::string& dir, const std::string& args) {
        return RunShell("cd '" + dir + "' && '" + prefix + "/bin/Trellic' " + args, dir + "/run.log");
    }
};

ScratchDir* InstalledSdk::root = nullptr;
std::string InstalledSdk::prefix;
int InstalledSdk::installCode = -1;

} // namespace

TEST_F(InstalledSdk, PutsTheHeadersPackagesExamplesAndGuideUnderThePrefix) {
    for (const char* file :
         {"bin/Trellic", "lib/libFenk.so", "lib/libGLState.so", "include/trellic/effect_sdk.h",
          "include/trellic/basic_exception.h", "include/trellic/oglstate.h", "lib/cmake/Trellic/TrellicConfig.cmake",
          "lib/cmake/Trellic/TrellicConfigVersion.cmake", "lib/cmake/Trellic/TrellicTargets.cmake",
          "lib/pkgconfig/trellic-effects.pc", "share/trellic/examples/Fenk.xml",
          "share/trellic/examples/ImageList.txt", "share/trellic/examples/data/font.bmp",
          "share/trellic/effect-template/CMakeLists.txt", "share/trellic/effect-template/demo/Template.xml",
          "share/doc/trellic/writing-effects.md"})
        EXPECT_TRUE(Exists(prefix + "/" + file)) << file;
    // The example is the demo alone, with the Debian package's font its texts use.
    EXPECT_FALSE(Exists(prefix + "/share/trellic/examples/effect-template/CMakeLists.txt"));
    EXPECT_EQ(ReadFile("/usr/share/fonts/truetype/freefont/FreeSerif.ttf"),
              ReadFile(prefix + "/share/trellic/examples/FreeSerif.ttf"));
    // The header installed is the one Fenk and the program were built with.
    EXPECT_EQ(ReadFile(TRELLIC_SOURCE_DIR "/sdk/trellic/effect_sdk.h"),
              ReadFile(prefix + "/include/trellic/effect_sdk.h"));
}

TEST_F(InstalledSdk, TemplateBuildsAgainstThePrefixAloneAndItsDemoRenders) {
    const std::string work = root->file("template");
    ASSERT_EQ(0, RunShell("cp -r '" + prefix + "/share/trellic/effect-template' '" + work + "'", root->file("cp.log")));
    const std::string build = root->file("template-build");
    const std::string log = root->file("template.log");
    ASSERT_EQ(0, RunShell("'" CMAKE_COMMAND "' -S '" + work + "' -B '" + build + "' -DCMAKE_PREFIX_PATH='" + prefix +
                         "' -DCMAKE_CXX_COMPILER='" CXX_COMPILER "' -DCMAKE_EXPORT_COMPILE_COMMANDS=ON && '" CMAKE_COMMAND
                         "' --build '" + build + "'",
                     log))
        << ReadFile(log);
    // Nothing of the build came from the source tree (nor from the build tree inside it).
    const std::string commands = ReadFile(build + "/compile_commands.json");
    ASSERT_FALSE(commands.empty());
    EXPECT_EQ(std::string::npos, commands.find(TRELLIC_SOURCE_DIR)) << commands;
    EXPECT_NE(std::string::npos, commands.find(prefix + "/include")) << commands;
    EXPECT_NE(std::string::npos, ReadFile(build + "/CMakeCache.txt").find("Trellic_DIR:PATH=" + prefix + "/lib/cmake/Trellic"));

    const std::string demo = work + "/demo";
    ASSERT_TRUE(Exists(demo + "/libTemplateEffects.so"));
    ASSERT_EQ(0, Trellic(demo, "--render Template.xml --out frames --from 0 --to 0 --size 320x240"))
        << ReadFile(demo + "/run.log");
    std::vector<uint8_t> rgba;
    int w = 0, h = 0;
    ASSERT_TRUE(ReadOnlyFrame(demo + "/frames", rgba, w, h));
    ASSERT_EQ(320, w);
    ASSERT_EQ(240, h);
    // At 0 ms the disc (radius 100 units, 40 pixels at k = 240 / 600) is centred at
    // PosX 2000, PosY 3000: (2000, 3000) x 0.4 x 0.1 = (80, 120), opaque (255, 200, 40).
    ExpectNear({255, 200, 40}, At(rgba, w, 80, 120), 0, "disc centre");
    ExpectNear({255, 200, 40}, At(rgba, w, 80 + 35, 120), 0, "inside the disc's edge");
    ExpectNear(GradientAt(120, h), At(rgba, w, 80 + 45, 120), 2, "outside the disc's edge");
    ExpectNear(GradientAt(4, h), At(rgba, w, 300, 4), 2, "gradient near the top");
    ExpectNear(GradientAt(235, h), At(rgba, w, 300, 235), 2, "gradient near the bottom");
}

TEST_F(InstalledSdk, PkgConfigFileBuildsAnEffectLibrary) {
    const std::string out = root->file("pc");
    const std::string log = root->file("pc.log");
    ASSERT_EQ(0, RunShell("mkdir -p '" + out + "' && export PKG_CONFIG_PATH='" + prefix + "/lib/pkgconfig' && '" CXX_COMPILER
                         "' -std=c++17 -shared -fPIC -fvisibility=hidden -o '" + out + "/libPc.so' '" + prefix +
                         "/share/trellic/effect-template/template_effects.cpp' $(pkg-config --cflags --libs "
                         "trellic-effects) -lGL && nm -D --defined-only '" + out + "/libPc.so'",
                     log))
        << ReadFile(log);
    const std::string symbols = ReadFile(log);
    for (const char* name : {" Vorlen_Init", " Vorlen_Quit", " Vorlen_BeginNewFrame", " Vorlen_ContractVersion",
                             " Gradient", " Disc"})
        EXPECT_NE(std::string::npos, symbols.find(name)) << name << " not exported:\n" << symbols;
}

TEST_F(InstalledSdk, InstalledTrellicPlaysAndRendersACopyOfTheExample) {
    const std::string example = root->file("example");
    ASSERT_EQ(0, RunShell("cp -r '" + prefix + "/share/trellic/examples' '" + example + "'", root->file("cp.log")));
    EXPECT_EQ(0, Trellic(example, "--play Fenk.xml --size 160x120 --from 15700")) << ReadFile(example + "/run.log");
    ASSERT_EQ(0, Trellic(example, "--render Fenk.xml --out frames --from 2000 --to 2000 --size 160x120"))
        << ReadFile(example + "/run.log");

    // The same frame from the build tree's program in the source's example.
    const std::string reference = root->file("reference");
    ASSERT_EQ(0, RunShell("cp -r '" TRELLIC_SOURCE_DIR "/examples' '" + reference + "' && cd '" + reference +
                         "' && cp /usr/share/fonts/truetype/freefont/FreeSerif.ttf . && '" TRELLIC_BUILD_DIR
                         "/bin/Trellic' --render Fenk.xml --out frames --from 2000 --to "
                         "2000 --size 160x120",
                     root->file("reference.log")))
        << ReadFile(root->file("reference.log"));
    std::vector<uint8_t> installed, built;
    int w = 0, h = 0;
    ASSERT_TRUE(ReadOnlyFrame(example + "/frames", installed, w, h));
    ASSERT_TRUE(ReadOnlyFrame(reference + "/frames", built, w, h));
    EXPECT_EQ(built, installed);
    size_t lit = 0;
    for (size_t i = 0; i < installed.size(); i += 4)
        lit += installed[i] + installed[i + 1] + installed[i + 2] > 0;
    EXPECT_GT(lit, installed.size() / 4 / 2); // the example fills most of the frame at 2 s
}
