// The music in the editor, driven with real SDL events in the 640 x 480 test
// window: loop range and markers by key and press, the tempo fields of the Demo
// Info panel, beat lines read back as pixels, snapping to beats, and the
// waveform strip at two scales.
#include <gtest/gtest.h>

#include <SDL/SDL.h>
#include <sndfile.h>

#include "editing_fixture.h"
#include "editor.h"
#include "gl_context.h"
#include "music.h"
#include "music_edits.h"
#include "sdl_events.h"
#include "timeline.h"

namespace {

const int kSliderY = 250; // inside the time slider's track (245 + 1 .. + 9)
const int kDeleteMarkerX = 340, kDeleteMarkerY = 65;
const int kTempoFieldX = 455, kTempoY = 155, kFirstBeatY = 175, kPerBarY = 195;
const int kDetectX = 550, kDetectY = 157;
const int kAddEventX = 340, kAddEventY = 140;
const uint32_t kRgb = 0xFFFFFF;

class MusicEditing : public ::testing::Test {
  protected:
    void TearDown() override {
        SDL_SetModState(KMOD_NONE);
        MusicView() = MusicViewState();
    }
    void Key(int sym, int unicode) {
        PushKeyDown(sym, unicode);
        e.Pump();
    }
    uint32_t Pixel(int x, int y) { return GLContext::ReadPixel(x, y, 480) & kRgb; }
    void DrawScreen() {
        GLContext::ClearTo(0, 0, 0, 1);
        drawInterface(&e.screen());
    }
    std::string Status() { return e.screen().statusText; }
    DemoStruct& D() { return e.demo(); }

    EditingFixture e;
};

int Grey(uint32_t pixel) {
    return (int)(pixel & 0xFF);
}

TEST_F(MusicEditing, LoopRangeKeysSetInAndOutAtTheTimeCursorAndUndo) {
    e.app().music.position = 2000;
    Key(SDLK_i, 'i');
    EXPECT_TRUE(D().hasLoopRange);
    EXPECT_EQ(2000u, D().loopIn);
    EXPECT_EQ(10000u, D().loopOut); // no out yet: the end
    EXPECT_EQ("Loop in at 2000 ms", Status());
    e.app().music.position = 6000;
    Key(SDLK_o, 'o');
    EXPECT_EQ(2000u, D().loopIn);
    EXPECT_EQ(6000u, D().loopOut);
    e.app().music.position = 1000;
    Key(SDLK_o, 'o'); // before the in: the in goes back to the start
    EXPECT_EQ(0u, D().loopIn);
    EXPECT_EQ(1000u, D().loopOut);

    EXPECT_TRUE(e.app().UndoEdit());
    EXPECT_EQ("Undo: Set Loop Out", Status());
    EXPECT_EQ(2000u, D().loopIn);
    EXPECT_EQ(6000u, D().loopOut);
    EXPECT_TRUE(e.app().UndoEdit());
    EXPECT_TRUE(e.app().UndoEdit());
    EXPECT_FALSE(D().hasLoopRange);
    // With Ctrl held the key is not a music key.
    SDL_SetModState(KMOD_LCTRL);
    Key(SDLK_i, 'i');
    EXPECT_FALSE(D().hasLoopRange);
}

TEST_F(MusicEditing, LoopRangeIsDrawnOnTheSliderAndLTurnsLoopingOnAndOff) {
    Key(SDLK_l, 'l');
    EXPECT_FALSE(MusicView().looping);
    EXPECT_EQ("No loop range: set its in and out with I and O", Status());
    e.app().music.position = 2000;
    Key(SDLK_i, 'i');
    e.app().music.position = 4000;
    Key(SDLK_o, 'o');
    e.app().music.position = 0;
    DrawScreen();
    const int mid = TimelineX(3000); // 266
    EXPECT_EQ(0x38405Cu, Pixel(mid, kSliderY));
    EXPECT_EQ(0x000000u, Pixel(TimelineX(5000), kSliderY));
    EXPECT_EQ(0x000000u, Pixel(TimelineX(2000) - 1, kSliderY));
    Key(SDLK_l, 'l');
    EXPECT_TRUE(MusicView().looping);
    EXPECT_EQ("Looping on", Status());
    DrawScreen();
    EXPECT_EQ(0x3070E0u, Pixel(mid, kSliderY));
    Key(SDLK_l, 'l');
    EXPECT_FALSE(MusicView().looping);
}

TEST_F(MusicEditing, MarkersAddJumpRenameAndDelete) {
    e.app().music.position = 3000;
    Key(SDLK_m, 'm');
    e.app().music.position = 7000;
    Key(SDLK_m, 'm');
    ASSERT_EQ(2u, D().markerCount);
    EXPECT_STREQ("Marker 1", D().markers[0].name);
    EXPECT_EQ(3000u, D().markers[0].time);
    EXPECT_STREQ("Marker 2", D().markers[1].name);
    EXPECT_EQ("Marker 2 added at 7000 ms", Status());
    EXPECT_EQ("Marker:", e.PanelText(0)); // the new marker's panel
    EXPECT_EQ(1, MusicView().shownMarker);

    e.app().music.position = 5000;
    Key(SDLK_LEFTBRACKET, '[');
    EXPECT_EQ(3000u, e.app().music.position);
    Key(SDLK_LEFTBRACKET, '[');
    EXPECT_EQ(3000u, e.app().music.position); // none before the first
    Key(SDLK_RIGHTBRACKET, ']');
    EXPECT_EQ(7000u, e.app().music.position);
    EXPECT_EQ(1, MusicView().shownMarker);

    e.TypeInto(425, 15, "");
    EXPECT_EQ("A marker needs a name", Status());
    EXPECT_STREQ("Marker 2", D().markers[1].name);
    UpdateMusicPanels();
    TextField* name = dynamic_cast<TextField*>(e.screen().panelGroup->childAt(1));
    ASSERT_NE(nullptr, name);
    EXPECT_STREQ("Marker 2", name->GetText());
    e.TypeInto(425, 15, "Drop");
    EXPECT_STREQ("Drop", D().markers[1].name);
    e.Click(kDeleteMarkerX, kDeleteMarkerY);
    ASSERT_EQ(1u, D().markerCount);
    EXPECT_STREQ("Marker 1", D().markers[0].name);
    EXPECT_EQ(0, e.screen().panelGroup->childCount());

    EXPECT_TRUE(e.app().UndoEdit());
    ASSERT_EQ(2u, D().markerCount);
    EXPECT_STREQ("Drop", D().markers[1].name);
    EXPECT_TRUE(e.app().UndoEdit());
    EXPECT_STREQ("Marker 2", D().markers[1].name);
    EXPECT_TRUE(e.app().UndoEdit());
    EXPECT_TRUE(e.app().UndoEdit());
    EXPECT_EQ(0u, D().markerCount);
}

TEST_F(MusicEditing, APressOnAMarkerOnTheSliderGoesThereAndOpensItsPanel) {
    e.app().music.position = 3000;
    Key(SDLK_m, 'm');
    e.screen().SelectTrack(-1);
    e.app().music.position = 0;
    DrawScreen();
    EXPECT_EQ(0xFFD040u, Pixel(TimelineX(3000), kSliderY + 3));
    e.Click(TimelineX(3000) + 2, kSliderY);   // within 3 pixels of the marker
    EXPECT_EQ(3000u, e.app().music.position); // the marker's own time, not the slider's 3038
    EXPECT_EQ("Marker:", e.PanelText(0));
    e.Click(TimelineX(6000), kSliderY); // away from it the slider works as before
    EXPECT_EQ(6000u, e.app().music.position);
}

TEST_F(MusicEditing, TempoFieldsOfTheDemoInfoPanel) {
    const size_t steps = e.app().undo.StepCount();
    e.Click(kDemoInfoX, kDemoInfoY);
    EXPECT_NE(-1, e.FindPanelText("Tempo (BPM):"));
    EXPECT_NE(-1, e.FindPanelText("Detect"));
    EXPECT_EQ(steps, e.app().undo.StepCount()); // showing the fields changes nothing
    e.TypeInto(kTempoFieldX, kTempoY, "127.5");
    e.TypeInto(kTempoFieldX, kFirstBeatY, "250");
    e.TypeInto(kTempoFieldX, kPerBarY, "3");
    EXPECT_EQ(127.5, D().tempo.beatsPerMinute);
    EXPECT_EQ(250u, D().tempo.firstBeat);
    EXPECT_EQ(3u, D().tempo.beatsPerBar);
    EXPECT_EQ(steps + 3, e.app().undo.StepCount());

    e.TypeInto(kTempoFieldX, kTempoY, "fast");
    EXPECT_EQ("Tempo: beats per minute must be 0 (none) or from 1 to 1000", Status());
    UpdateMusicPanels(); // the next frame shows the stored value again
    const int bpmLabel = e.FindPanelText("Tempo (BPM):");
    ASSERT_NE(-1, bpmLabel);
    TextField* bpm = dynamic_cast<TextField*>(e.screen().panelGroup->childAt(bpmLabel + 1));
    ASSERT_NE(nullptr, bpm);
    EXPECT_STREQ("127.5", bpm->GetText());
    e.TypeInto(kTempoFieldX, kTempoY, "2000");
    EXPECT_EQ(127.5, D().tempo.beatsPerMinute);
    e.TypeInto(kTempoFieldX, kPerBarY, "99");
    EXPECT_EQ(3u, D().tempo.beatsPerBar);
    EXPECT_EQ(steps + 3, e.app().undo.StepCount());

    EXPECT_TRUE(e.app().UndoEdit());
    EXPECT_EQ(4u - 4u, D().tempo.beatsPerBar); // back to the file's 0 (counts as 4)
    EXPECT_TRUE(e.app().UndoEdit());
    EXPECT_EQ(0u, D().tempo.firstBeat);
    EXPECT_TRUE(e.app().UndoEdit());
    EXPECT_EQ(0.0, D().tempo.beatsPerMinute);
}

TEST_F(MusicEditing, DetectWithoutMusicSaysSo) {
    e.Click(kDemoInfoX, kDemoInfoY);
    e.Click(kDetectX, kDetectY);
    EXPECT_EQ("Detect: there is no music to listen to", Status());
    EXPECT_EQ(0.0, D().tempo.beatsPerMinute);
}

TEST_F(MusicEditing, DetectFindsTheExampleTunesTempoAndCanBeUndone) {
    e.app().music.Load((std::string(TRELLIC_SOURCE_DIR) + "/examples/data/tune.ogg").c_str());
    for (int i = 0; i < 1000 && !(e.app().music.Music() && e.app().music.Music()->IsDecoded()); i++)
        SDL_Delay(10);
    ASSERT_TRUE(e.app().music.Music()->IsDecoded());
    e.Click(kDemoInfoX, kDemoInfoY);
    e.Click(kDetectX, kDetectY);
    EXPECT_EQ("Detecting the tempo...", Status());
    EXPECT_NE(-1, e.FindPanelText("...")); // the button shows the work going on
    for (int i = 0; i < 3000 && D().tempo.beatsPerMinute == 0; i++) {
        SDL_Delay(10);
        UpdateMusicPanels();
    }
    EXPECT_NEAR(120.0, D().tempo.beatsPerMinute, 0.5); // the tune is made at 120
    EXPECT_EQ(0, Status().find("Tempo: "));
    EXPECT_NE(-1, e.FindPanelText("Detect")); // the panel shows the new values
    TextNotifyField* bpm = nullptr;
    for (int i = 0; i < e.screen().panelGroup->childCount() && !bpm; i++)
        if (e.PanelText(i) == "Tempo (BPM):")
            bpm = dynamic_cast<TextNotifyField*>(e.screen().panelGroup->childAt(i + 1));
    ASSERT_NE(nullptr, bpm);
    EXPECT_NEAR(120.0, atof(bpm->GetText()), 0.5);
    EXPECT_TRUE(e.app().UndoEdit());
    EXPECT_EQ("Undo: Detect Tempo", Status());
    EXPECT_EQ(0.0, D().tempo.beatsPerMinute);
}

TEST_F(MusicEditing, BeatAndBarLinesOverTheRows) {
    DrawScreen();
    EXPECT_EQ(0x707070u, Pixel(136, 296));     // no tempo: no lines
    ASSERT_TRUE(SetDemoTempo(D(), 120, 0, 4)); // beats 26 px apart, bars 104 px
    DrawScreen();
    // Beat at 500 ms (x 136): a faint line; bar at 2000 ms (x 214): a bright one.
    EXPECT_NEAR(0x8F, Grey(Pixel(136, 296)), 3);
    EXPECT_NEAR(0xC1, Grey(Pixel(214, 296)), 3);
    EXPECT_EQ(0x707070u, Pixel(137, 296));
    EXPECT_GT(Grey(Pixel(136, 273)), Grey(Pixel(137, 273))); // between two rows too
    EXPECT_EQ(Pixel(137, 258), Pixel(136, 258));             // not above the first row
    EXPECT_EQ(Pixel(137, 303), Pixel(136, 303));             // nor below the last
    EXPECT_NEAR(0xC1, Grey(Pixel(TimelineX(8000), 296)), 3);

    ASSERT_TRUE(SetDemoTempo(D(), 600, 0, 4)); // beats 5.2 px apart: bars only
    DrawScreen();
    EXPECT_EQ(0x707070u, Pixel(TimelineX(100), 296));
    EXPECT_NEAR(0xC1, Grey(Pixel(TimelineX(400), 296)), 3);
}

TEST_F(MusicEditing, RowMarkerAndTimeSliderSnapToBeatsUnlessShiftIsHeld) {
    ASSERT_TRUE(SetDemoTempo(D(), 120, 0, 4));
    e.Click(190, RowY(2)); // 1538 ms, 2 px from the beat at 1500
    EXPECT_EQ(1500u, e.screen().PanelTrackMarkerTime());
    e.Click(175, RowY(2)); // 1250 ms: 13 px from either beat
    EXPECT_EQ(1250u, e.screen().PanelTrackMarkerTime());
    SDL_SetModState(KMOD_LSHIFT);
    e.Click(190, RowY(2));
    EXPECT_EQ(1538u, e.screen().PanelTrackMarkerTime());
    e.Click(192, kSliderY); // 1576 ms
    EXPECT_EQ(1576u, e.app().music.position);
    SDL_SetModState(KMOD_NONE);
    e.Click(192, kSliderY);
    EXPECT_EQ(1500u, e.app().music.position);

    e.Click(190, RowY(2));
    const int effect0X = 165 + 125 * 1 + 10, effect0Y = 175 + 25 * 1 + 10;
    e.ClickInDialog(effect0X, effect0Y, kAddEventX, kAddEventY);
    ASSERT_EQ(1u, e.app().EventCount(2));
    EXPECT_EQ(1500u, e.app().EventStart(2, 0)); // the new event starts on the beat
}

// `seconds` of 22050 Hz mono: silence for the first half, then full swings.
void WriteHalfLoudWav(const std::string& path, int seconds) {
    std::vector<int16_t> samples(22050 * seconds, 0);
    for (size_t i = samples.size() / 2; i < samples.size(); i++)
        samples[i] = i % 2 ? 30000 : -30000;
    ASSERT_TRUE(EncodeAudioFile(path, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 22050, 1, samples));
}

TEST_F(MusicEditing, WaveformStripLinesUpWithTheBlocksAtTwoScales) {
    DrawScreen();
    EXPECT_EQ(0x707070u, Pixel(300, 262)); // hidden by default: row 0 where it always was
    WriteHalfLoudWav(e.f.dir.file("half.wav"), 4);
    e.app().music.Load("half.wav");
    for (int i = 0; i < 500 && !e.app().music.Peaks(); i++)
        SDL_Delay(10);
    ASSERT_TRUE(e.app().music.Peaks());
    Key(SDLK_w, 'w');
    ASSERT_TRUE(MusicView().waveformShown);
    ASSERT_EQ(0, e.app().AddEvent(2, 2000, 0, 3));
    e.screen().RebuildTrackRows(e.app());
    e.screen().SelectTrack(-1);

    const uint32_t wave = 0x60B0E0, background = 0x181828;
    const int rowTop = TrackRowTop(2);
    EXPECT_EQ(260 + 34 + 30, rowTop); // the rows moved down under the strip
    struct Scale {
        uint32_t runningTime;
        int loudFrom, loudTo; // first loud column, first column past the music
    } scales[2] = {{10000, 214, 318}, {5000, 318, 526}};
    for (const Scale& s : scales) {
        e.app().SetRunningTime(s.runningTime);
        DrawScreen();
        EXPECT_EQ(wave, Pixel(s.loudFrom, 265)) << s.runningTime;
        EXPECT_EQ(background, Pixel(s.loudFrom - 1, 265)) << s.runningTime; // silence: only the middle
        EXPECT_EQ(wave, Pixel(s.loudFrom - 1, 275)) << s.runningTime;
        EXPECT_EQ(wave, Pixel(s.loudTo - 1, 265)) << s.runningTime;
        EXPECT_EQ(background, Pixel(s.loudTo, 265)) << s.runningTime; // past the music's end
        // The event at 2000 ms starts in the first loud column.
        EXPECT_EQ(0x000000u, Pixel(s.loudFrom, rowTop + 6)) << s.runningTime;
        EXPECT_EQ(0x707070u, Pixel(s.loudFrom - 1, rowTop + 6)) << s.runningTime;
    }
    // Zoomed in on 1-3 s of a 10 s demo: 0.26 px a ms, 2000 ms at 110 + 260.
    e.app().SetRunningTime(10000);
    TimelineView& view = EditorTimelineView();
    view.viewStart = 1000;
    view.viewSpan = 2000;
    DrawScreen();
    EXPECT_EQ(wave, Pixel(370, 265));
    EXPECT_EQ(background, Pixel(369, 265));
    EXPECT_EQ(wave, Pixel(369, 275)); // the silent half: only the middle line
    EXPECT_EQ(wave, Pixel(629, 265)); // loud up to the axis end: the music goes on past the view
    EXPECT_EQ(0x000000u, Pixel(370, rowTop + 6)); // the event's left edge in the same column
    EXPECT_EQ(0x707070u, Pixel(369, rowTop + 6));
    view.Reset();
    Key(SDLK_w, 'w');
    DrawScreen();
    EXPECT_EQ(0x707070u, Pixel(300, 262));
}

TEST_F(MusicEditing, TheWaveformChoiceIsKeptInTheSettingsFile) {
    e.app().WriteSettings(e.f.dir.file("Trellic.cnfg").c_str());
    EXPECT_EQ("Volume 100", e.f.dir.Read("Trellic.cnfg")); // hidden: the file as it always was
    Key(SDLK_w, 'w');
    e.app().WriteSettings(e.f.dir.file("Trellic.cnfg").c_str());
    EXPECT_EQ("Volume 100\nWaveform 1", e.f.dir.Read("Trellic.cnfg"));
    MusicView().waveformShown = false;
    e.app().ReadSettings(e.f.dir.file("Trellic.cnfg").c_str());
    EXPECT_TRUE(MusicView().waveformShown);
    EXPECT_EQ(100u, e.app().GetVolume());
    e.f.dir.Write("Trellic.cnfg", "Volume 90");
    e.app().ReadSettings(e.f.dir.file("Trellic.cnfg").c_str());
    EXPECT_TRUE(MusicView().waveformShown); // a file without the line leaves the choice alone
    EXPECT_EQ(90u, e.app().GetVolume());
}

TEST_F(MusicEditing, AnalysingMusicShowsUntilThePeaksAreReady) {
    // Two minutes of 44.1 kHz stereo take a while to decode: the strip says so meanwhile.
    std::vector<int16_t> samples((size_t)44100 * 2 * 120);
    for (size_t i = 0; i < samples.size(); i++)
        samples[i] = (int16_t)((i / 50) % 2 ? 8000 : -8000);
    ASSERT_TRUE(
        EncodeAudioFile(e.f.dir.file("long.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 44100, 2, samples));
    Key(SDLK_w, 'w');
    const int top = WaveformStripTop();
    auto labelShown = [&]() { // light grey text: the strip's own colours have little red
        int lit = 0;
        for (int y = top + 6; y < top + 24; y++)
            for (int x = 112; x < 240; x++)
                if ((Pixel(x, y) >> 16) >= 0x90) lit++;
        return lit > 30;
    };
    e.app().music.Load("long.wav");
    DrawScreen();
    ASSERT_EQ(nullptr, e.app().music.Peaks()) << "the decode finished before the first frame";
    EXPECT_TRUE(labelShown());
    for (int i = 0; i < 1000 && !e.app().music.Peaks(); i++) {
        e.Pump(); // the editor goes on answering meanwhile
        SDL_Delay(10);
    }
    ASSERT_NE(nullptr, e.app().music.Peaks());
    e.app().SetRunningTime(120000);
    DrawScreen();
    EXPECT_FALSE(labelShown());
    EXPECT_EQ(0x60B0E0u, Pixel(200, top + 13)); // the waveform instead
}

} // namespace
