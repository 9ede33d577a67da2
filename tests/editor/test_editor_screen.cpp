// The editor screen driven by real mouse and key events: start-up state, the
// load, save, clear, play/pause, preview and volume commands, the time slider,
// the selection and the status line.
#include <gtest/gtest.h>

#include <SDL/SDL.h>

#include "editor_fixture.h"
#include "sdl_events.h"

namespace {
// Positions of the controls in a 640 x 480 window.
const int kLoadX = 40, kLoadY = 275, kSaveX = 40, kSaveY = 310, kPlayX = 40, kPlayY = 335;
const int kInfoX = 40, kInfoY = 360, kClearX = 580, kClearY = 465;

void Pump() {
    AppActiveScreen().pollEvents();
    drawInterface(&AppActiveScreen());
}

void Click(int x, int y, int button = 1) {
    PushClick(x, y, button);
    Pump();
}

void TypeFileName(const std::string& name) {
    Click(50, 252); // into the file name field: caret at the end
    for (int i = 0; i < 40; i++)
        PushKeyDown(SDLK_BACKSPACE, 8);
    for (char c : name)
        PushKeyDown((unsigned char)c, (unsigned char)c);
    PushKeyDown(SDLK_RETURN, 13);
    Pump();
}

void WriteDemo(const ScratchDir& dir, const std::string& name = "Fenk.xml", uint32_t runningTime = 8000) {
    WriteTestDemo(dir, name, PluginPath("RecordPlugin"), {"Effect1"}, "Effect1", {3, 1}, runningTime);
}

class EditorScreenTest : public ::testing::Test {
  protected:
    EditorFixture f;
};
} // namespace

TEST_F(EditorScreenTest, StartsWithTheBaseScreenFenkXmlAndAnEmptyStatus) {
    EditorScreen& s = f.screen();
    EXPECT_STREQ(s.DemoFileName(), "Fenk.xml");
    EXPECT_STREQ(s.statusText, "");
    EXPECT_EQ(s.childCount(), 10);
    EXPECT_EQ(s.trackGroup, nullptr);
    EXPECT_EQ(s.panelGroup, nullptr);
    EXPECT_EQ(s.selectedTrack, -1);
    EXPECT_EQ(s.selectedEvent, -1);
    EXPECT_EQ(s.panelTrack, -1);
    EXPECT_EQ(s.w, 640);
    EXPECT_EQ(s.h, 480);
    Button* load = dynamic_cast<Button*>(s.childAt(4));
    Button* save = dynamic_cast<Button*>(s.childAt(5));
    ASSERT_NE(load, nullptr);
    ASSERT_NE(save, nullptr);
    EXPECT_STREQ(load->label, "Load Demo");
    EXPECT_STREQ(save->label, "Save Demo");
    EXPECT_EQ(load->y, 265);
    Widget* preview = s.childAt(0);
    EXPECT_EQ(preview->w, 320);
    EXPECT_EQ(preview->h, 240);
}

TEST_F(EditorScreenTest, LoadButtonLoadsBuildsTheEditorAndShowsDemoLoaded) {
    WriteDemo(f.dir);
    f.app().music.position = 1234;
    Click(kLoadX, kLoadY);
    EXPECT_STREQ(f.screen().statusText, "Demo loaded");
    EXPECT_TRUE(f.app().demoLoaded);
    EXPECT_EQ(f.screen().childCount(), 23); // the 17 widgets of the editor, Reload, Undo, Redo, the waveform strip, the beat grid, the time readout
    ASSERT_NE(f.screen().trackGroup, nullptr);
    ASSERT_NE(f.screen().panelGroup, nullptr);
    EXPECT_EQ(f.screen().panelGroup->childCount(), 0);
    EXPECT_FALSE(f.app().music.playing);
    EXPECT_EQ(f.app().music.position, 1234u); // a load does not reset the position
    TimeCursor* cursor = dynamic_cast<TimeCursor*>(f.screen().childAt(12));
    ASSERT_NE(cursor, nullptr);
    EXPECT_EQ(cursor->maximum, 8000);
    EXPECT_EQ(cursor->trackLength, 520u);
}

TEST_F(EditorScreenTest, TypedFileNameIsLoadedAndSurvivesTheRebuild) {
    WriteDemo(f.dir, "Other.xml", 6000);
    TypeFileName("Other.xml");
    EXPECT_STREQ(f.screen().DemoFileName(), "Other.xml");
    Click(kLoadX, kLoadY);
    EXPECT_STREQ(f.screen().statusText, "Demo loaded");
    EXPECT_STREQ(f.screen().DemoFileName(), "Other.xml");
    ASSERT_NE(f.app().demo, nullptr);
    EXPECT_EQ(f.app().demo->runningTime, 6000u);
}

TEST_F(EditorScreenTest, LongFileNameSurvivesTheRebuildWhole) {
    std::string name(300, 'd');
    name += ".xml";
    f.screen().fileNameField->setText(name.c_str());
    f.screen().BuildBase();
    ASSERT_NE(f.screen().fileNameField, nullptr);
    EXPECT_EQ(std::string(f.screen().DemoFileName()), name);
}

TEST_F(EditorScreenTest, FailedLoadShowsTheStageMessageAndKeepsTheEditor) {
    WriteDemo(f.dir);
    Click(kLoadX, kLoadY);
    ASSERT_TRUE(f.app().demoLoaded);
    WriteTestDemo(f.dir, "Fenk.xml", PluginPath("RecordPlugin"), {"Effect1"}, "Effect16", {1}, 100);
    testing::internal::CaptureStderr();
    Click(kLoadX, kLoadY);
    testing::internal::GetCapturedStderr();
    EXPECT_STREQ(f.screen().statusText, "Loading demo failed: could not match function pointers!");
    // The editor stays as it was, with the first demo playing and editable.
    EXPECT_NE(f.screen().trackGroup, nullptr);
    EXPECT_TRUE(f.app().demoLoaded);
    // The first demo is still what a save writes.
    Click(kSaveX, kSaveY);
    EXPECT_STREQ(f.screen().statusText, "Demo saved.");
    DemoStruct back = {};
    LoadDemoFile("Fenk.xml", back, true);
    EXPECT_EQ(back.runningTime, 8000u);
    EXPECT_EQ(back.trackCount, 2u);
    ReleaseDemo(back);
}

TEST_F(EditorScreenTest, MissingFileAndFailingLibrariesShowTheirMessages) {
    testing::internal::CaptureStderr();
    Click(kLoadX, kLoadY);
    EXPECT_STREQ(f.screen().statusText, "Couldn't load the demo Fenk.xml, does this file exists?");
    WriteTestDemo(f.dir, "Fenk.xml", "/no/such/libNone.so", {"Effect1"}, "Effect1", {1}, 100);
    Click(kLoadX, kLoadY);
    EXPECT_STREQ(f.screen().statusText, "Loading demo failed: could not initialize libraries!");
    WriteTestDemo(f.dir, "Fenk.xml", PluginPath("InitZeroPlugin"), {"Effect0"}, "Effect0", {1}, 100);
    Click(kLoadX, kLoadY);
    EXPECT_STREQ(f.screen().statusText, "Loading demo failed: could not initialize Vorlen!");
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(f.app().demo, nullptr);
}

TEST_F(EditorScreenTest, SaveWithoutDemoShowsTheError) {
    testing::internal::CaptureStderr();
    Click(kSaveX, kSaveY);
    testing::internal::GetCapturedStderr();
    EXPECT_STREQ(f.screen().statusText, "Error saving demo!");
}

TEST_F(EditorScreenTest, ClearStatusEmptiesTheStatusLine) {
    f.screen().SetStatus("something");
    Click(kClearX, kClearY);
    EXPECT_STREQ(f.screen().statusText, "");
}

TEST_F(EditorScreenTest, StatusKeepsThe255FirstCharacters) {
    std::string text(300, 's');
    text[254] = 'e';
    f.screen().SetStatus(text.c_str());
    EXPECT_EQ(strlen(f.screen().statusText), 255u);
    EXPECT_EQ(f.screen().statusText[254], 'e');
    f.screen().SetStatus(nullptr);
    EXPECT_STREQ(f.screen().statusText, "");
}

TEST_F(EditorScreenTest, PlayPauseTogglesTheClockAndKeepsThePosition) {
    WriteDemo(f.dir);
    Click(kLoadX, kLoadY);
    f.app().music.position = 2000;
    Click(kPlayX, kPlayY);
    EXPECT_TRUE(f.app().music.playing);
    Click(kPlayX, kPlayY);
    EXPECT_FALSE(f.app().music.playing);
    EXPECT_EQ(f.app().music.position, 2000u);
}

TEST_F(EditorScreenTest, PressOnTheTimeSliderSetsThePosition) {
    WriteDemo(f.dir);
    Click(kLoadX, kLoadY);
    Click(109 + 1 + 260, 250);
    EXPECT_EQ(f.app().music.position, 4000u);
    Click(109 + 1 + 520, 250);
    EXPECT_EQ(f.app().music.position, 8000u);
    EXPECT_FALSE(f.app().music.playing); // seeking while paused does not start playing
}

TEST_F(EditorScreenTest, ZeroRunningTimeDrawsAndSeeksWithoutDividingByZero) {
    WriteDemo(f.dir, "Fenk.xml", 0);
    Click(kLoadX, kLoadY);
    ASSERT_STREQ(f.screen().statusText, "Demo loaded");
    Click(300, 250);
    EXPECT_EQ(f.app().music.position, 0u);
    Pump();
}

TEST_F(EditorScreenTest, VolumeSliderStartsAtTheCappedVolumeAndSetsIt) {
    WriteDemo(f.dir);
    f.app().volume = 300;
    Click(kLoadX, kLoadY);
    EXPECT_EQ(VolumeSliderValue(), 128);
    ScrollKnob* knob = dynamic_cast<ScrollKnob*>(f.screen().childAt(16));
    ASSERT_NE(knob, nullptr);
    EXPECT_EQ(knob->x, 4);
    EXPECT_EQ(knob->y, 445);
    Click(4 + 1 + 45, 450);
    EXPECT_EQ(VolumeSliderValue(), 64);
    EXPECT_EQ(f.app().GetVolume(), 64u);
}

TEST_F(EditorScreenTest, PreviewClickEntersTheFullScreenPreviewAndAClickThereReturns) {
    Click(100, 100);
    EXPECT_TRUE(IsFullScreenPreview());
    Click(600, 400);
    EXPECT_FALSE(IsFullScreenPreview());
}

TEST_F(EditorScreenTest, SelectionFollowsTheSelectionModel) {
    WriteDemo(f.dir);
    Click(kLoadX, kLoadY);
    EditorScreen& s = f.screen();
    s.SelectEvent(1, 0);
    EXPECT_EQ(s.selectedTrack, 1);
    EXPECT_EQ(s.selectedEvent, 0);
    EXPECT_EQ(s.panelTrack, -1);
    s.SelectTrack(0);
    EXPECT_EQ(s.panelTrack, 0);
    EXPECT_EQ(s.selectedTrack, -1);
    EXPECT_EQ(s.selectedEvent, -1);
    EXPECT_EQ(s.PanelTrackMarkerTime(), 0u);
    s.SelectTrack(-1);
    EXPECT_EQ(s.panelTrack, -1);
    EXPECT_EQ(s.PanelTrackMarkerTime(), 0u);
    s.SelectEvent(0, 2);
    s.ResortTrack(0);
    EXPECT_EQ(s.selectedEvent, 2);
    // The selection survives a rebuild.
    s.BuildEditor(f.app(), f.app().music);
    EXPECT_EQ(s.selectedEvent, 2);
    Click(kInfoX, kInfoY);
    EXPECT_EQ(s.selectedEvent, 2);
}

TEST_F(EditorScreenTest, F10QuitsUnlessAFieldHoldsTheFocus) {
    PushKeyDown(SDLK_F10);
    EXPECT_TRUE(AppActiveScreen().pollEvents());
    PushClick(50, 252);
    PushKeyDown(SDLK_F10); // an idle-key for the text field: it does not take it
    EXPECT_TRUE(AppActiveScreen().pollEvents());
}

TEST_F(EditorScreenTest, TrackRowOfSixHundredEventsShowsTheFirstFiveHundred) {
    WriteTestDemo(f.dir, "Fenk.xml", PluginPath("RecordPlugin"), {"Effect1"}, "Effect1", {600}, 600000);
    Click(kLoadX, kLoadY);
    ASSERT_STREQ(f.screen().statusText, "Demo loaded");
    ASSERT_EQ(f.app().EventCount(0), 600u);
    TrackRow* row = dynamic_cast<TrackRow*>(f.screen().trackGroup->childAt(0));
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->childCount(), 500);
    TimelineEventBlock* last = dynamic_cast<TimelineEventBlock*>(row->childAt(499));
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->event, 499u);
    EXPECT_EQ(row->childAt(500), nullptr);
    Pump(); // the row draws with its blocks; the demo keeps all 600 events
    EXPECT_EQ(f.app().EventCount(0), 600u);
}
