// SDL_Config: defaults, "VorlenEdit.ini" overrides and malformed files.
#include <algorithm>

#include <gtest/gtest.h>

#include <SDL/SDL.h>

#include "scratch_dir.h"
#include "sdl_config.h"

namespace {
SDL_Config Defaults() {
    SDL_Config c;
    SDL_Config_DefaultConfig(&c);
    return c;
}
} // namespace

TEST(SDLConfig, DefaultsAre640x480WithTimerAudioVideo) {
    SDL_Config c = Defaults();
    EXPECT_EQ(c.subsystems, 0x31u);
    EXPECT_EQ(c.width, 640);
    EXPECT_EQ(c.height, 480);
    EXPECT_EQ(c.bitsPerPixel, 0);
    EXPECT_EQ(c.videoFlags, 0u);
}

TEST(SDLConfig, MissingFileKeepsTheValues) {
    ScratchDir dir;
    SDL_Config c = Defaults();
    c.width = 800;
    EXPECT_EQ(SDL_Config_LoadConfig(dir.file("VorlenEdit.ini").c_str(), &c), 0);
    EXPECT_EQ(c.width, 800);
    EXPECT_EQ(c.height, 480);
}

TEST(SDLConfig, FileOverridesOnlyTheKeysItNames) {
    ScratchDir dir;
    dir.Write("VorlenEdit.ini",
              "# video\n\n  width = 1024\nheight=768 \n; comment\nbpp = 32\nfullscreen = 1\n"
              "caption = My demo\n");
    SDL_Config c = Defaults();
    ASSERT_EQ(SDL_Config_LoadConfig(dir.file("VorlenEdit.ini").c_str(), &c), 0);
    EXPECT_EQ(c.width, 1024);
    EXPECT_EQ(c.height, 768);
    EXPECT_EQ(c.bitsPerPixel, 32);
    EXPECT_EQ(c.videoFlags & SDL_FULLSCREEN, (uint32_t)SDL_FULLSCREEN);
    EXPECT_STREQ(c.caption, "My demo");
    EXPECT_EQ(c.subsystems, 0x31u);
}

TEST(SDLConfig, FullscreenZeroClearsTheFlag) {
    ScratchDir dir;
    dir.Write("VorlenEdit.ini", "fullscreen = 0\n");
    SDL_Config c = Defaults();
    c.videoFlags = SDL_FULLSCREEN | SDL_OPENGL;
    ASSERT_EQ(SDL_Config_LoadConfig(dir.file("VorlenEdit.ini").c_str(), &c), 0);
    EXPECT_EQ(c.videoFlags, (uint32_t)SDL_OPENGL);
}

namespace {
// Loads `text` and returns the result, the standard error text and whether c stayed unchanged.
int LoadBad(const std::string& text, std::string* err, bool* unchanged) {
    ScratchDir dir;
    dir.Write("VorlenEdit.ini", text);
    SDL_Config c = Defaults();
    testing::internal::CaptureStderr();
    int r = SDL_Config_LoadConfig(dir.file("VorlenEdit.ini").c_str(), &c);
    *err = testing::internal::GetCapturedStderr();
    SDL_Config d = Defaults();
    *unchanged = c.width == d.width && c.height == d.height && c.bitsPerPixel == d.bitsPerPixel &&
                 c.videoFlags == d.videoFlags;
    return r;
}
} // namespace

TEST(SDLConfig, MalformedFilesFailWithOneLineNamingFileAndLine) {
    struct Case {
        std::string text;
        const char* where;
    } cases[] = {
        {"width = 800\nheight 600\n", "VorlenEdit.ini:2:"},
        {"width = 800\ncolour = red\n", "VorlenEdit.ini:2:"},
        {"width = -5\n", "VorlenEdit.ini:1:"},
        {"width = 80x\n", "VorlenEdit.ini:1:"},
        {"width =\n", "VorlenEdit.ini:1:"},
        {"height = 99999999999999999999\n", "VorlenEdit.ini:1:"},
        {"\n\nbpp = 12\n", "VorlenEdit.ini:3:"},
        {"fullscreen = yes\n", "VorlenEdit.ini:1:"},
        {"width = 800\n" + std::string(400, 'x') + "\n", "VorlenEdit.ini:2:"},
    };
    for (const Case& k : cases) {
        std::string err;
        bool unchanged = false;
        EXPECT_LT(LoadBad(k.text, &err, &unchanged), 0) << k.text;
        EXPECT_NE(err.find(k.where), std::string::npos) << err;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        EXPECT_TRUE(unchanged) << k.text;
    }
}

TEST(SDLConfig, LinesUpTo255CharactersAreAcceptedAndLongerOnesFail) {
    std::string err;
    bool unchanged = false;
    const std::string comment255 = "#" + std::string(254, 'c');
    // The line break, LF or CR LF, does not count; neither does a missing one at the end.
    for (const char* ending : {"\n", "\r\n", ""}) {
        EXPECT_EQ(LoadBad("width = 800\n" + comment255 + ending, &err, &unchanged), 0) << err;
        EXPECT_FALSE(unchanged);
        EXPECT_EQ(err, "");
        EXPECT_LT(LoadBad("width = 800\n" + comment255 + "c" + ending, &err, &unchanged), 0);
        EXPECT_NE(err.find("VorlenEdit.ini:2: line is longer than 255 characters"), std::string::npos) << err;
        EXPECT_TRUE(unchanged);
    }
}
