// MusicPlayer on the dummy audio driver: the decode in the background, playing
// and halting, the volume, the clock taken from the audio position, and files
// that cannot be read.
#include <gtest/gtest.h>

#include <SDL/SDL.h>
#include <sndfile.h>

#include "editor_fixture.h"

namespace {
// `seconds` of a quiet 16-bit mono tone at 22050 Hz.
void WriteWav(const std::string& path, int seconds = 1) {
    std::vector<int16_t> tone;
    for (int i = 0; i < 22050 * seconds; i++)
        tone.push_back((int16_t)((i / 25) % 2 ? 3000 : -3000));
    ASSERT_TRUE(EncodeAudioFile(path, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 22050, 1, tone));
}

// Lets the background decode finish; returns the failure message, if any.
std::string WaitForDecode(MusicPlayer& music) {
    for (int i = 0; i < 500; i++) {
        if (const char* message = music.Update()) return message;
        if (music.HasMusic() || (music.Music() && music.Music()->IsDecoded())) return "";
        SDL_Delay(10);
    }
    ADD_FAILURE() << "the decode did not finish";
    return "";
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
    EXPECT_EQ(WaitForDecode(music), "");
    ASSERT_TRUE(music.HasMusic());
    music.Play(true, 500);
    EXPECT_TRUE(music.Sounding());
    music.Play(false, 0);
    EXPECT_FALSE(music.Sounding());
    uint32_t ms = 0;
    EXPECT_FALSE(music.AudioPosition(ms)); // halted: the tick counter is the clock again
}

TEST_F(Music, PlayBeforeTheDecodeFinishedStartsWhenItHas) {
    EditorFixture f;
    WriteWav(f.dir.file("song.wav"), 3);
    MusicPlayer& music = f.app().music;
    music.Load("song.wav");
    music.position = 1200;
    music.Play(true, 1200);
    EXPECT_EQ(WaitForDecode(music), "");
    music.Update();
    ASSERT_TRUE(music.Sounding());
    uint32_t ms = 0;
    ASSERT_TRUE(music.AudioPosition(ms));
    EXPECT_GE(ms, 1200u);
    EXPECT_LT(ms, 1400u);
}

TEST_F(Music, PlayUsesTheApplicationVolume) {
    EditorFixture f;
    WriteWav(f.dir.file("song.wav"));
    f.app().SetVolume(40);
    f.app().music.Load("song.wav");
    WaitForDecode(f.app().music);
    f.app().music.Play(true, 0);
    EXPECT_EQ(Mix_VolumeMusic(-1), 40);
    f.app().demoLoaded = true; // SetVolume applies at once only with a demo loaded
    f.app().SetVolume(90);
    EXPECT_EQ(Mix_VolumeMusic(-1), 90);
}

TEST_F(Music, AnUnreadableFileIsReportedOnceAndPlaysSilently) {
    EditorFixture f;
    WriteWav(f.dir.file("song.wav"));
    f.dir.Write("bad.ogg", "not music at all");
    MusicPlayer& music = f.app().music;
    music.Load("song.wav");
    WaitForDecode(music);
    music.Play(true, 0);
    music.Load("bad.ogg");
    EXPECT_FALSE(music.Sounding());
    std::string message = WaitForDecode(music);
    EXPECT_EQ(message.rfind("Music: cannot read bad.ogg: ", 0), 0u) << message;
    EXPECT_GT(message.size(), strlen("Music: cannot read bad.ogg: "));
    EXPECT_EQ(music.Update(), nullptr); // said once
    EXPECT_FALSE(music.HasMusic());
    music.Play(true, 0); // silent, no crash
    EXPECT_FALSE(music.Sounding());
    // The demo plays on the tick counter.
    music.playing = true;
    music.position = 100;
    uint32_t last = 100;
    AdvancePlayback(music, 5000, 20, last);
    EXPECT_EQ(music.position, 120u);
    music.Load("song.wav");
    music.Unload();
    EXPECT_EQ(music.Music(), nullptr);
}

TEST_F(Music, TheEditorShowsTheMessageOnItsStatusLine) {
    EditorFixture f;
    f.dir.Write("bad.wav", "RIFF and nothing after it");
    WriteTestDemo(f.dir, "Fenk.xml", PluginPath("RecordPlugin"), {"Effect1"}, "Effect1", {1}, 5000, "bad.wav");
    LoadDemoCommand(0, 0, 0);
    ASSERT_TRUE(f.app().demoLoaded) << f.screen().statusText;
    EXPECT_STREQ(f.screen().statusText, "Demo loaded");
    MainLoop loop;
    for (int i = 0; i < 300 && strncmp(f.screen().statusText, "Music:", 6) != 0; i++) {
        SDL_Delay(10);
        EditorFrame(loop);
    }
    EXPECT_EQ(std::string(f.screen().statusText).rfind("Music: cannot read bad.wav: ", 0), 0u)
        << f.screen().statusText;
}

TEST_F(Music, TempoDetectionOfTheLoadedMusicRunsInTheBackground) {
    EditorFixture f;
    MusicPlayer& music = f.app().music;
    EXPECT_EQ(music.StartTempoDetection(), nullptr); // no music yet
    music.Load((std::string(TRELLIC_SOURCE_DIR) + "/examples/data/tune.ogg").c_str());
    EXPECT_EQ(WaitForDecode(music), "");
    std::unique_ptr<TempoDetection> tempo = music.StartTempoDetection();
    ASSERT_NE(tempo, nullptr);
    for (int i = 0; i < 500 && !tempo->Finished(); i++)
        SDL_Delay(10);
    ASSERT_TRUE(tempo->Finished());
    EXPECT_NEAR(tempo->Result().beatsPerMinute, 120.0, 0.5);
    for (int i = 0; i < 500 && !music.Peaks(); i++)
        SDL_Delay(10);
    ASSERT_NE(music.Peaks(), nullptr); // the waveform is ready too
    EXPECT_NEAR(music.Peaks()->DurationMs(), 16000.0, 1.0);
}

TEST(MusicWithoutAudio, NothingSoundsWhenNoDeviceIsOpen) {
    EditorFixture f;
    WriteWav(f.dir.file("song.wav"));
    MusicPlayer& music = f.app().music;
    music.Load("song.wav");
    EXPECT_EQ(WaitForDecode(music), "");
    EXPECT_FALSE(music.HasMusic());
    music.Play(true, 100);
    EXPECT_FALSE(music.Sounding());
    music.ApplyVolume();
    music.playing = true;
    music.position = 100;
    uint32_t last = 100;
    AdvancePlayback(music, 5000, 16, last);
    EXPECT_EQ(music.position, 116u);
}

TEST_F(Music, TheClockIsTheAudioPositionNotTheTicks) {
    EditorFixture f;
    WriteWav(f.dir.file("song.wav"), 3);
    MusicPlayer& music = f.app().music;
    music.Load("song.wav");
    WaitForDecode(music);
    music.playing = true;
    music.position = 1000;
    uint32_t lastPosition = 1000;
    music.Play(true, 1000);
    // No elapsed time is handed in: only the audio moves the position.
    uint32_t before = SDL_GetTicks();
    for (int i = 0; i < 30; i++) {
        SDL_Delay(10);
        uint32_t previous = music.position;
        AdvancePlayback(music, 60000, 0, lastPosition);
        ASSERT_GE(music.position, previous);
    }
    uint32_t waited = SDL_GetTicks() - before;
    EXPECT_GT(music.position, 1000 + waited / 2);
    EXPECT_LT(music.position, 1000 + waited + 100);
}

TEST_F(Music, ASeekRestartsTheAudioThereAndTheClockRunsOnPastTheMusic) {
    EditorFixture f;
    WriteWav(f.dir.file("song.wav"));
    MusicPlayer& music = f.app().music;
    music.Load("song.wav");
    WaitForDecode(music);
    music.playing = true;
    music.position = 100;
    uint32_t lastPosition = 100;
    music.Play(true, 100);
    AdvancePlayback(music, 60000, 0, lastPosition);
    music.position = 900; // the time slider, near the end of the 1 s of music
    AdvancePlayback(music, 60000, 5, lastPosition);
    EXPECT_EQ(music.position, 905u);
    uint32_t ms = 0;
    ASSERT_TRUE(music.AudioPosition(ms));
    EXPECT_GE(ms, 905u);
    EXPECT_LT(ms, 1000u);
    SDL_Delay(400);
    AdvancePlayback(music, 60000, 0, lastPosition);
    EXPECT_GT(music.position, 1150u); // past the music's end, in silence
    EXPECT_TRUE(music.playing);
}
