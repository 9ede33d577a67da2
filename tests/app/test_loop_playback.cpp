// Playback with the loop range on the dummy audio driver: at the range's out
// the position and the music go back to its in; with looping off, or from
// outside the range, playback runs on.
#include <gtest/gtest.h>

#include <SDL/SDL.h>
#include <sndfile.h>

#include "demo_builder.h"
#include "editor_fixture.h"

namespace {

void WriteTone(const std::string& path, int seconds) {
    std::vector<int16_t> tone;
    for (int i = 0; i < 22050 * seconds; i++)
        tone.push_back((int16_t)((i / 25) % 2 ? 3000 : -3000));
    ASSERT_TRUE(EncodeAudioFile(path, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 22050, 1, tone));
}

class LoopPlayback : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_AUDIO), 0) << SDL_GetError();
        ASSERT_EQ(Mix_OpenAudio(22050, MIX_DEFAULT_FORMAT, 2, 1024), 0) << Mix_GetError();
        demo = EmptyDemo();
        demo.runningTime = 5000;
        demo.hasLoopRange = true;
        demo.loopIn = 500;
        demo.loopOut = 1000;
    }
    void TearDown() override {
        ReleaseDemo(demo);
        SetApp(nullptr);
        Mix_CloseAudio();
    }
    // Plays the tone from `from` and steps the editor's playback every 5 ms
    // until the position goes backwards (a wrap) or passes `until`.
    void PlayFrom(MusicPlayer& music, uint32_t from, bool looping, uint32_t until) {
        music.playing = true;
        music.position = from;
        last = from;
        music.Play(true, from);
        wrapped = false;
        for (int i = 0; i < 1000 && music.position < until; i++) {
            SDL_Delay(5);
            const uint32_t before = music.position;
            AdvanceEditorPlayback(music, demo, looping, 5, last);
            if (music.position < before) {
                wrapped = true;
                return;
            }
        }
    }
    // A 3-second tone loaded and decoded in the application's player.
    MusicPlayer& LoadTone(EditorFixture& f) {
        WriteTone(f.dir.file("song.wav"), 3);
        MusicPlayer& music = f.app().music;
        music.Load("song.wav");
        for (int i = 0; i < 500 && !music.HasMusic(); i++) {
            music.Update();
            SDL_Delay(10);
        }
        EXPECT_TRUE(music.HasMusic());
        return music;
    }
    DemoStruct demo;
    uint32_t last = 0;
    bool wrapped = false;
};

TEST_F(LoopPlayback, AtTheOutPlaybackAndMusicGoBackToTheIn) {
    EditorFixture f;
    MusicPlayer& music = LoadTone(f);
    ASSERT_TRUE(music.HasMusic());
    PlayFrom(music, 800, true, 2000);
    ASSERT_TRUE(wrapped);
    EXPECT_EQ(500u, music.position);
    EXPECT_EQ(500u, last);
    EXPECT_TRUE(music.playing);
    uint32_t audio = 0;
    ASSERT_TRUE(music.AudioPosition(audio)); // the music restarted at the in
    EXPECT_GE(audio, 500u);
    EXPECT_LT(audio, 1000u);
    // It keeps looping: the next round wraps again.
    PlayFrom(music, music.position, true, 2000);
    EXPECT_TRUE(wrapped);
    EXPECT_EQ(500u, music.position);
}

TEST_F(LoopPlayback, LoopingOffOrStartedPastTheOutPlaysOn) {
    EditorFixture f;
    MusicPlayer& music = LoadTone(f);
    ASSERT_TRUE(music.HasMusic());
    PlayFrom(music, 800, false, 1100);
    EXPECT_FALSE(wrapped);
    EXPECT_GE(music.position, 1100u);
    PlayFrom(music, 1200, true, 1300);
    EXPECT_FALSE(wrapped);
    EXPECT_GE(music.position, 1300u);
}

TEST_F(LoopPlayback, WithoutMusicTheTickClockWrapsToo) {
    EditorFixture f;
    MusicPlayer& music = f.app().music;
    music.playing = true;
    music.position = 990;
    uint32_t lastPosition = 990;
    AdvanceEditorPlayback(music, demo, true, 16, lastPosition);
    EXPECT_EQ(500u, music.position);
    EXPECT_TRUE(music.playing);
    AdvanceEditorPlayback(music, demo, true, 16, lastPosition);
    EXPECT_EQ(516u, music.position);
    // A range out past the demo's end wraps at the end.
    demo.loopOut = 9000;
    music.position = 4990;
    lastPosition = 4990;
    AdvanceEditorPlayback(music, demo, true, 16, lastPosition);
    EXPECT_EQ(500u, music.position);
    EXPECT_TRUE(music.playing);
}

} // namespace
