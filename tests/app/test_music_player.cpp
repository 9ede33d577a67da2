// MusicPlayer over SDL_mixer with the dummy audio driver: loading, playing,
// halting, and the silent player when nothing could be loaded.
#include <gtest/gtest.h>

#include <SDL/SDL.h>

#include "editor_fixture.h"

namespace {
// One second of 16-bit mono silence at 22050 Hz.
void WriteWav(const std::string& path) {
    const uint32_t samples = 22050, dataBytes = samples * 2;
    std::string wav = "RIFF";
    auto u32 = [&](uint32_t v) {
        for (int i = 0; i < 4; i++)
            wav.push_back((char)(v >> (8 * i)));
    };
    auto u16 = [&](uint16_t v) {
        wav.push_back((char)v);
        wav.push_back((char)(v >> 8));
    };
    u32(36 + dataBytes);
    wav += "WAVEfmt ";
    u32(16);
    u16(1);
    u16(1);
    u32(22050);
    u32(22050 * 2);
    u16(2);
    u16(16);
    wav += "data";
    u32(dataBytes);
    wav.append(dataBytes, '\0');
    FILE* f = fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    fwrite(wav.data(), 1, wav.size(), f);
    fclose(f);
}

class Music : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_AUDIO), 0) << SDL_GetError();
        ASSERT_EQ(Mix_OpenAudio(22050, MIX_DEFAULT_FORMAT, 2, 1024), 0) << Mix_GetError();
    }
    void TearDown() override {
        SetApp(nullptr);
        Mix_CloseAudio();
    }
};
} // namespace

TEST_F(Music, LoadPlayAndHalt) {
    EditorFixture f;
    WriteWav(f.dir.file("song.wav"));
    MusicPlayer& music = f.app().music;
    music.Load("song.wav");
    ASSERT_NE(music.musicHandle, nullptr) << Mix_GetError();
    music.Play(true, 500);
    EXPECT_EQ(Mix_PlayingMusic(), 1);
    EXPECT_EQ(Mix_GetMusicType(nullptr), MUS_WAV);
    music.Play(false, 0);
    EXPECT_EQ(Mix_PlayingMusic(), 0);
}

TEST_F(Music, PlayUsesTheApplicationVolume) {
    EditorFixture f;
    WriteWav(f.dir.file("song.wav"));
    f.app().SetVolume(40);
    f.app().music.Load("song.wav");
    f.app().music.Play(true, 0);
    EXPECT_EQ(Mix_VolumeMusic(-1), 40);
    f.app().demoLoaded = true; // SetVolume applies at once only with a demo loaded
    f.app().SetVolume(90);
    EXPECT_EQ(Mix_VolumeMusic(-1), 90);
}

TEST_F(Music, LoadingAgainFreesThePreviousMusicAndBadFilesLeaveNone) {
    EditorFixture f;
    WriteWav(f.dir.file("song.wav"));
    f.dir.Write("bad.ogg", "not music at all");
    MusicPlayer& music = f.app().music;
    music.Load("song.wav");
    music.Play(true, 0);
    music.Load("bad.ogg");
    EXPECT_EQ(music.musicHandle, nullptr);
    EXPECT_EQ(Mix_PlayingMusic(), 0);
    music.Play(true, 0); // silent, no crash
    EXPECT_EQ(Mix_PlayingMusic(), 0);
    music.Load("song.wav");
    music.Unload();
    EXPECT_EQ(music.musicHandle, nullptr);
}

TEST(MusicWithoutAudio, NothingLoadsWhenNoDeviceIsOpen) {
    EditorFixture f;
    WriteWav(f.dir.file("song.wav"));
    f.app().music.Load("song.wav");
    EXPECT_EQ(f.app().music.musicHandle, nullptr);
    f.app().music.Play(true, 100);
    f.app().music.ApplyVolume();
}

TEST_F(Music, ClockRestartsTheMusicOnlyWhereThePositionWasMovedFromOutside) {
    EditorFixture f;
    WriteWav(f.dir.file("song.wav"));
    MusicPlayer& music = f.app().music;
    music.Load("song.wav");
    ASSERT_NE(music.musicHandle, nullptr) << Mix_GetError();
    music.playing = true;
    music.position = 1000;
    uint32_t lastPosition = 1000; // the loop's own position: keep going silently
    AdvancePlayback(music, 5000, 20, lastPosition);
    EXPECT_EQ(Mix_PlayingMusic(), 0);
    EXPECT_EQ(music.position, 1020u);

    music.position = 3000; // moved by the time slider since the previous frame
    AdvancePlayback(music, 5000, 20, lastPosition);
    EXPECT_EQ(Mix_PlayingMusic(), 1);
    EXPECT_EQ(music.position, 3020u);
    EXPECT_EQ(lastPosition, 3020u);
    EXPECT_EQ(Mix_VolumeMusic(-1), 100); // at the application's volume
}
