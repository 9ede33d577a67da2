// Editing a demo the way a user does: real mouse and key events pumped by the
// editor screen and by the modal dialogs, then the demo and the saved file checked.
#include <gtest/gtest.h>

#include <SDL/SDL.h>

#include "demo_builder.h"
#include "demo_compare.h"
#include "demo_operations.h"
#include "editing_fixture.h"
#include "engine.h"
#include "editor.h"
#include "record_plugin.h"
#include "recorded_widgets.h"
#include "safety_helpers.h"
#include "sdl_events.h"
#include "gui.h"

namespace {

// Track panel buttons (640 x 480).
const int kTrackUpX = 340, kTrackUpY = 40;
const int kTrackDownX = 340, kTrackDownY = 65;
const int kInsertX = 340, kInsertY = 90;
const int kDeleteTrackX = 560, kDeleteTrackY = 115;
const int kHideTrackX = 340, kHideTrackY = 115;
const int kAddEventX = 340, kAddEventY = 140;
// Event panel.
const int kFunctionButtonX = 400, kFunctionButtonY = 10;
const int kStartFieldX = 380, kLengthFieldX = 490, kTimeFieldY = 30;
const int kContinueX = 560, kContinueY = 12;
const int kPrevX = 340, kNextX = 420, kHideEventX = 560, kEventButtonsY = 218;
// In a window this narrow the event buttons take three rows at the panel's
// bottom: Prev, Next, Hide/Show; the two moves; "Delete Event" on the right.
const int kDeleteEventX = 560, kDeleteEventY = 170;
const int kEventUpX = 380, kEventUpY = 195, kEventDownX = 500, kEventDownY = 195;
const int kStartValueX = 440, kEndValueX = 550; // number fields of a row at y: click at y + 5
// Function dialog: first library's cells at (165 + 125 * (f % 2), 175 + 25 * (f / 2)).
int FunctionCellX(int f) {
    return 165 + 125 * (f % 2) + 10;
}
int FunctionCellY(int f) {
    return 175 + 25 * (f / 2) + 10;
}
const int kFunctionCancelX = 440, kFunctionCancelY = 345;
// Image dialog: cells at (45 + 165 * (i % 3), 78 + 25 * (i / 3)).
const int kImageCancelX = 560, kImageCancelY = 417;

class EditingInterface : public ::testing::Test {
  protected:
    EditingFixture e;
    DemoEvent& Ev(int track, int event) { return e.demo().tracks[track].events[event]; }
    void SelectEventByClick(int track, int x) { e.Click(x, RowY(track)); }
};

TEST_F(EditingInterface, ClickingAnEmptyRowSelectsTheTrackAndSetsTheMarker) {
    e.Click(kRowX, RowY(1));
    EXPECT_EQ(1, e.screen().panelTrack);
    EXPECT_EQ(-1, e.screen().selectedEvent);
    EXPECT_EQ("Track 1", e.PanelText(0));
    // (300 - 110) * 10000 / 520
    EXPECT_EQ(3653u, e.screen().PanelTrackMarkerTime());
    e.Click(kRowX, RowY(1), 3); // right button: selects, marker stays
    EXPECT_EQ(3653u, e.screen().PanelTrackMarkerTime());
}

TEST_F(EditingInterface, LeftClickOnABlockSelectsTheEventRightClickTheTrack) {
    e.Click(130, RowY(0));
    EXPECT_EQ(0, e.screen().selectedTrack);
    EXPECT_EQ(0, e.screen().selectedEvent);
    EXPECT_EQ(-1, e.screen().panelTrack);
    EXPECT_EQ("Event:", e.PanelText(0));
    EXPECT_EQ("Effect5", e.PanelText(1));
    PushMouseDown(3, 230, RowY(0));
    e.Pump();
    PushMouseUp(3, 230, RowY(0));
    e.Pump();
    EXPECT_EQ(0, e.screen().panelTrack);
    EXPECT_EQ(-1, e.screen().selectedEvent);
}

TEST_F(EditingInterface, InsertMoveHideAndDeleteTracks) {
    e.Click(kRowX, RowY(1));
    e.Click(kInsertX, kInsertY);
    ASSERT_EQ(4u, e.app().TrackCount());
    EXPECT_EQ(1, e.screen().panelTrack);
    EXPECT_EQ("Track 1", e.PanelText(0));
    EXPECT_EQ(0u, e.app().EventCount(1)); // the new empty track
    EXPECT_STREQ("Effect16", e.app().EventFunctionName(2, 0));
    EXPECT_EQ(4, e.screen().trackGroup->childCount());

    e.Click(kRowX, RowY(2));
    e.Click(kTrackUpX, kTrackUpY);
    EXPECT_EQ(1, e.screen().panelTrack);
    EXPECT_STREQ("Effect16", e.app().EventFunctionName(1, 0));
    e.Click(kTrackDownX, kTrackDownY);
    EXPECT_EQ(2, e.screen().panelTrack);
    EXPECT_STREQ("Effect16", e.app().EventFunctionName(2, 0));

    e.Click(kHideTrackX, kHideTrackY);
    EXPECT_TRUE(e.app().GetTrackHidden(2));
    e.Click(kHideTrackX, kHideTrackY);
    EXPECT_FALSE(e.app().GetTrackHidden(2));

    e.Click(kDeleteTrackX, kDeleteTrackY);
    EXPECT_EQ(3u, e.app().TrackCount());
    EXPECT_EQ(-1, e.screen().panelTrack);
    EXPECT_EQ(0, e.screen().panelGroup->childCount());
    EXPECT_EQ(3, e.screen().trackGroup->childCount());
    for (uint32_t t = 0; t < 3; t++)
        EXPECT_STRNE("Effect16", e.app().EventFunctionName(t, 0));
}

TEST_F(EditingInterface, MoveTrackUpOnTheFirstTrackDoesNothing) {
    const std::string before = DumpDemo(e.demo());
    e.Click(kRowX, RowY(0));
    e.Click(kTrackUpX, kTrackUpY);
    EXPECT_EQ(0, e.screen().panelTrack);
    EXPECT_EQ(before, DumpDemo(e.demo()));
    e.Click(230, RowY(0)); // the event panel's "Move Track Up" on track 0
    e.Click(kEventUpX, kEventUpY);
    EXPECT_EQ(0, e.screen().selectedTrack);
    EXPECT_EQ(before, DumpDemo(e.demo()));
}

TEST_F(EditingInterface, AddNewEventAtTheMarkerThroughTheFunctionDialog) {
    e.Click(kRowX, RowY(2));
    e.ClickInDialog(FunctionCellX(1), FunctionCellY(1), kAddEventX, kAddEventY); // Effect5
    ASSERT_EQ(1u, e.app().EventCount(2));
    EXPECT_STREQ("Effect5", e.app().EventFunctionName(2, 0));
    EXPECT_EQ(3653u, e.app().EventStart(2, 0));
    EXPECT_EQ(4653u, e.app().EventEnd(2, 0));
    EXPECT_EQ(4000, e.app().EventStartValue(2, 0, 0));
    EXPECT_EQ(3000, e.app().EventEndValue(2, 0, 1));
    EXPECT_EQ(2, e.screen().selectedTrack);
    EXPECT_EQ(0, e.screen().selectedEvent);
    EXPECT_EQ(1, e.screen().trackGroup->childAt(2)
                     ? ((TrackRow*)e.screen().trackGroup->childAt(2))->childCount()
                     : -1);
}

TEST_F(EditingInterface, AddNewEventOnANeverClickedRowStartsAtZero) {
    e.Click(kRowX, RowY(2), 3);                                                  // right button: no marker
    e.ClickInDialog(FunctionCellX(3), FunctionCellY(3), kAddEventX, kAddEventY); // Effect0
    ASSERT_EQ(1u, e.app().EventCount(2));
    EXPECT_EQ(0u, e.app().EventStart(2, 0));
    EXPECT_EQ(0u, e.app().EventParamCount(2, 0));
}

TEST_F(EditingInterface, EscapeCancelAndWindowCloseInTheFunctionDialogChangeNothing) {
    e.Click(kRowX, RowY(2));
    // An earlier pick must not linger into a later dialog.
    e.ClickInDialog(FunctionCellX(2), FunctionCellY(2), kAddEventX, kAddEventY);
    ASSERT_EQ(1u, e.app().EventCount(2));
    e.Click(kEmptyX, RowY(2)); // right of the new event
    ASSERT_EQ(2, e.screen().panelTrack);
    const std::string before = DumpDemo(e.demo());

    PushKeyDown(SDLK_ESCAPE, 27);
    e.screen().click(kAddEventX, kAddEventY, 1);
    EXPECT_EQ(-1, Dialogs().chosenLibrary);
    PushClick(kFunctionCancelX, kFunctionCancelY);
    e.screen().click(kAddEventX, kAddEventY, 1);
    PushQuitEvent();
    e.screen().click(kAddEventX, kAddEventY, 1);
    EXPECT_EQ(before, DumpDemo(e.demo()));
    // The close request went to the dialog only: the editor goes on.
    EXPECT_FALSE(AppActiveScreen().pollEvents());

    e.Click(130, RowY(0));
    PushKeyDown(SDLK_ESCAPE, 27);
    e.screen().click(kFunctionButtonX, kFunctionButtonY, 1);
    PushClick(kFunctionCancelX, kFunctionCancelY);
    e.screen().click(kFunctionButtonX, kFunctionButtonY, 1);
    EXPECT_EQ(before, DumpDemo(e.demo()));
}

TEST_F(EditingInterface, ChangeEffectKeepsSharedParameters) {
    e.Click(130, RowY(0));
    Ev(0, 0).startValues[1] = 1234;                                                          // PosY
    e.ClickInDialog(FunctionCellX(0), FunctionCellY(0), kFunctionButtonX, kFunctionButtonY); // Effect16
    ASSERT_STREQ("Effect16", e.app().EventFunctionName(0, 0));
    ASSERT_EQ(16u, e.app().EventParamCount(0, 0));
    EXPECT_EQ(0, e.app().EventStartValue(0, 0, 0));    // PosX kept
    EXPECT_EQ(1000, e.app().EventEndValue(0, 0, 0));   // PosX kept
    EXPECT_EQ(1234, e.app().EventStartValue(0, 0, 1)); // PosY kept
    EXPECT_EQ(10, e.app().EventStartValue(0, 0, 3));   // Red kept
    EXPECT_EQ(0, e.app().EventStartValue(0, 0, 5));    // Blue: new, default 0
    EXPECT_EQ(1000, e.app().EventStartValue(0, 0, 6)); // Scale: default
    EXPECT_EQ(255, e.app().EventStartValue(0, 0, 7));  // Opacity: default
    EXPECT_EQ("Effect16", e.PanelText(1));             // the panel was rebuilt
}

TEST_F(EditingInterface, TypingStartAndLengthMovesTheEventInItsTrack) {
    e.Click(130, RowY(0)); // Effect5 at 0..1000, before Effect1 at 2000
    e.TypeInto(kStartFieldX, kTimeFieldY, "250");
    EXPECT_EQ(2500u, e.app().EventStart(0, 1));
    EXPECT_EQ(3500u, e.app().EventEnd(0, 1)); // the length is kept
    EXPECT_STREQ("Effect5", e.app().EventFunctionName(0, 1));
    EXPECT_EQ(1, e.screen().selectedEvent); // the selection followed the event
    // The next edit still means the same event.
    e.TypeInto(kLengthFieldX, kTimeFieldY, "50");
    EXPECT_EQ(2500u, e.app().EventStart(0, 1));
    EXPECT_EQ(3000u, e.app().EventEnd(0, 1));
    EXPECT_EQ(2000u, e.app().EventStart(0, 0));
    EXPECT_EQ(3000u, e.app().EventEnd(0, 0));
}

TEST_F(EditingInterface, ParameterFieldsAndColourPickersEditTheEvent) {
    // Effect16: rows PosX 55, PosY 72, ImageNr 89, colour 107; Scale and the rest
    // on the next page of rows in this window.
    e.Click(150, RowY(1));
    e.TypeInto(kStartValueX, 55 + 5, "-12");
    EXPECT_EQ(-12, Ev(1, 0).startValues[0]);
    e.TypeInto(kEndValueX, 72 + 5, "4321");
    EXPECT_EQ(4321, Ev(1, 0).endValues[1]);
    // Start colour picker at (415, 106): bars at rows 2 (red), 11 (green), 20 (blue),
    // 182 pixels long here: pixel p is value (p * 255 + 90) / 181.
    ColourPicker* start = PanelWidget<ColourPicker>(e, 0);
    ASSERT_NE(start, nullptr);
    EXPECT_EQ(106, start->y);
    EXPECT_EQ(182, start->barLength);
    e.Click(415 + 5 + 150, 106 + 2);
    e.Click(415 + 5 + 100, 106 + 20);
    EXPECT_EQ(211, Ev(1, 0).startValues[3]);
    EXPECT_EQ(141, Ev(1, 0).startValues[5]);
    EXPECT_EQ(40, Ev(1, 0).startValues[4]);
    // End colour picker at (415, 133).
    e.Click(415 + 5 + 17, 133 + 11);
    EXPECT_EQ(24, Ev(1, 0).endValues[4]);
    EXPECT_EQ(30, Ev(1, 0).endValues[3]);
    // Scale heads the next page; letters change nothing.
    ASSERT_TRUE(ClickPanelButton(e, "Down"));
    ParamField* scale = PanelWidget<ParamField>(e, 0);
    ASSERT_NE(scale, nullptr);
    EXPECT_EQ("Edit Scale", scale->stepName);
    TypeIntoField(scale, "abc");
    EXPECT_EQ(60, Ev(1, 0).startValues[6]);
    TypeIntoField(scale, "1500");
    EXPECT_EQ(1500, Ev(1, 0).startValues[6]);
}

TEST_F(EditingInterface, ColourRowWithOneChannelAfterRedBindsOnlyWhatExists) {
    e.Click(130, RowY(0)); // Effect5: "Red" is parameter 3 of 5
    int pickers = 0;
    for (int i = 0; i < e.screen().panelGroup->childCount(); i++) {
        ColourPicker* p = dynamic_cast<ColourPicker*>(e.screen().panelGroup->childAt(i));
        if (!p) continue;
        pickers++;
        EXPECT_NE(nullptr, p->red);
        EXPECT_NE(nullptr, p->green);
        EXPECT_EQ(nullptr, p->blue);
    }
    EXPECT_EQ(2, pickers);
    const std::string before = DumpDemo(e.demo());
    e.Click(415 + 5 + 99, 105 + 20); // the missing blue bar
    e.Pump();
    EXPECT_EQ(before, DumpDemo(e.demo()));
    e.Click(415 + 5 + 99, 105 + 11);
    EXPECT_EQ((99 * 255 + 90) / 181, Ev(0, 0).startValues[4]); // 182 pixel bars here
}

TEST_F(EditingInterface, ContinuingEffectIsSelectedAndPlaysSmoothly) {
    e.Click(130, RowY(0)); // Effect5 0..1000, PosX 0 -> 1000
    ASSERT_NE(-1, e.FindPanelText("Add Continuing Effect"));
    e.Click(kContinueX, kContinueY);
    ASSERT_EQ(3u, e.app().EventCount(0));
    EXPECT_EQ(1, e.screen().selectedEvent);
    EXPECT_EQ(1000u, e.app().EventStart(0, 1));
    EXPECT_EQ(2000u, e.app().EventEnd(0, 1));
    e.TypeInto(kEndValueX, 55 + 5, "2000"); // its PosX ends at 2000
    EXPECT_EQ(2000, Ev(0, 1).endValues[0]);
    e.Click(130, RowY(0));
    EXPECT_EQ(-1, e.FindPanelText("Add Continuing Effect")); // it continues now

    typedef RecorderLog* (*LogProc)();
    typedef void (*ResetProc)();
    LogProc log = (LogProc)SDL_LoadFunction(e.demo().libraries[0].handle, "Recorder_Log");
    ResetProc reset = (ResetProc)SDL_LoadFunction(e.demo().libraries[0].handle, "Recorder_Reset");
    ASSERT_TRUE(log && reset);
    e.app().SetTrackHidden(1, true);
    int32_t previous = -1;
    for (uint32_t t = 0; t < 2000; t += 20) {
        reset();
        ASSERT_TRUE(RenderFrame(e.demo(), t));
        ASSERT_EQ(1, log()->callCount) << "at " << t;
        const int32_t x = log()->calls[0].args[0];
        EXPECT_GE(x, previous) << "at " << t;
        EXPECT_LE(x - previous, 30) << "at " << t; // no step at the joint
        previous = x;
    }
    EXPECT_GT(previous, 1900);
}

TEST_F(EditingInterface, MoveEventToTheNeighbouringTrackAndBack) {
    e.Click(230, RowY(0)); // Effect1 2000..3000
    e.Click(kEventDownX, kEventDownY);
    EXPECT_EQ(1u, e.app().EventCount(0));
    ASSERT_EQ(2u, e.app().EventCount(1));
    EXPECT_STREQ("Effect1", e.app().EventFunctionName(1, 1)); // after Effect16 at 500
    EXPECT_EQ(1, e.screen().selectedTrack);
    EXPECT_EQ(1, e.screen().selectedEvent);
    EXPECT_EQ(2, ((TrackRow*)e.screen().trackGroup->childAt(1))->childCount());
    e.Click(kEventUpX, kEventUpY);
    EXPECT_EQ(2u, e.app().EventCount(0));
    EXPECT_STREQ("Effect1", e.app().EventFunctionName(0, 1));
    EXPECT_EQ(0, e.screen().selectedTrack);
    EXPECT_EQ(1, e.screen().selectedEvent);
}

TEST_F(EditingInterface, PrevNextHideAndDeleteEvent) {
    e.Click(130, RowY(0));
    e.Click(kPrevX, kEventButtonsY);
    EXPECT_EQ(0, e.screen().selectedEvent);
    e.Click(kNextX, kEventButtonsY);
    EXPECT_EQ(1, e.screen().selectedEvent);
    e.Click(kNextX, kEventButtonsY);
    EXPECT_EQ(1, e.screen().selectedEvent);
    e.Click(kHideEventX, kEventButtonsY);
    EXPECT_TRUE(e.app().GetEventHidden(0, 1));
    e.Click(kDeleteEventX, kDeleteEventY);
    EXPECT_EQ(1u, e.app().EventCount(0));
    EXPECT_EQ(0, e.screen().panelGroup->childCount());
    EXPECT_EQ(-1, e.screen().selectedTrack);
    EXPECT_EQ(-1, e.screen().selectedEvent);
}

TEST_F(EditingInterface, DeleteEventLeavesNoPanelAndStaleCommandsDoNothing) {
    e.Click(230, RowY(0));
    EditorScreen& s = e.screen();
    DeleteEventCommand(0, 0, 1);
    EXPECT_EQ(1u, e.app().EventCount(0));
    EXPECT_EQ(0, s.panelGroup->childCount());
    EXPECT_EQ(-1, s.selectedEvent);
    // A selection made stale behind the panel's back must not reach the demo.
    const std::string before = DumpDemo(e.demo());
    s.selectedTrack = 0;
    s.selectedEvent = 1;
    HideShowEvent(0, 0, 1);
    DeleteEventCommand(0, 0, 1);
    AddContinuingEffect(0, 0, 1);
    MoveEventDown(0, 0, 1);
    NextEvent(0, 0, 1);
    PushClick(FunctionCellX(0), FunctionCellY(0));
    ChangeEffectCommand(0, 0, 1); // refuses before opening the dialog
    DrainEvents();
    PrevEvent(0, 0, 1); // moves the selection to the event that does exist
    EXPECT_EQ(0, s.selectedEvent);
    s.panelTrack = 7;
    MoveTrackUp(0, 0, 1);
    MoveTrackDown(0, 0, 1);
    DeleteTrackCommand(0, 0, 1);
    HideShowTrack(0, 0, 1);
    AddNewEvent(0, 0, 1);
    EXPECT_EQ(before, DumpDemo(e.demo()));
}

TEST_F(EditingInterface, ImageRowShowsPathKindAndPicksIntoItsOwnParameter) {
    e.Click(150, RowY(1)); // Effect16: "ImageNr" is parameter 2, value 20 (no such image)
    int path = e.FindPanelText("Image number is too high!");
    ASSERT_NE(-1, path);
    EXPECT_EQ(0xFFFF5050u, ((Label*)e.screen().panelGroup->childAt(path))->colour);
    // Change button of the row at y = 89: (582, 84, 52 x 19).
    e.ClickInDialog(45 + 165 * 2 + 10, 78 + 10, 600, 90); // complex.bmp, image 2
    EXPECT_EQ(2, Ev(1, 0).startValues[2]);
    EXPECT_EQ(2, Ev(1, 0).endValues[2]);
    EXPECT_EQ(0, Ev(1, 0).startValues[0]); // parameter 0 (PosX) untouched
    path = e.FindPanelText("complex.bmp");
    ASSERT_NE(-1, path);
    EXPECT_EQ(0xFFFFFFFFu, ((Label*)e.screen().panelGroup->childAt(path))->colour);
    EXPECT_NE(-1, e.FindPanelText("Complex"));

    e.ClickInDialog(45 + 165 * 1 + 10, 78 + 10, 600, 90); // missing.bmp (missing, complex)
    EXPECT_EQ(1, Ev(1, 0).startValues[2]);
    path = e.FindPanelText("missing.bmp");
    ASSERT_NE(-1, path);
    EXPECT_EQ(0xFFFF5050u, ((Label*)e.screen().panelGroup->childAt(path))->colour);
}

TEST_F(EditingInterface, EscapeCancelAndWindowCloseInTheImageDialogChangeNothing) {
    e.Click(150, RowY(1));
    const std::string before = DumpDemo(e.demo());
    PushKeyDown(SDLK_ESCAPE, 27);
    e.screen().click(600, 90, 1);
    PushClick(kImageCancelX, kImageCancelY);
    e.screen().click(600, 90, 1);
    PushQuitEvent();
    e.screen().click(600, 90, 1);
    EXPECT_EQ(before, DumpDemo(e.demo()));
    EXPECT_FALSE(AppActiveScreen().pollEvents());
}

TEST_F(EditingInterface, ImagePickNeverWritesIntoAnEventWithoutParameters) {
    e.Click(130, RowY(0));
    e.ClickInDialog(FunctionCellX(3), FunctionCellY(3), kFunctionButtonX, kFunctionButtonY); // Effect0
    ASSERT_EQ(0u, e.app().EventParamCount(0, 0));
    const std::string before = DumpDemo(e.demo());
    Dialogs().imageParam = 0;
    PushClick(45 + 10, 78 + 10);
    ChooseImageFor(0);
    EXPECT_EQ(before, DumpDemo(e.demo()));
}

TEST_F(EditingInterface, DemoInformationFieldsStoreTheirTexts) {
    e.Click(kDemoInfoX, kDemoInfoY);
    EXPECT_EQ("Author:", e.PanelText(0));
    e.TypeInto(425, 15, "Anna");
    e.TypeInto(425, 35, "Fenk Crew");
    e.TypeInto(425, 55, "Party version");
    e.TypeInto(425, 80, "song.ogg");
    e.TypeInto(425, 105, "25000");
    EXPECT_STREQ("Anna", e.app().GetAuthor());
    EXPECT_STREQ("Fenk Crew", e.app().GetGroup());
    EXPECT_STREQ("Party version", e.app().GetExtraInfo());
    EXPECT_STREQ("song.ogg", e.app().GetMusicFile());
    EXPECT_EQ(25000u, e.app().GetRunningTime());
    // 33 x 32 x 4 + 2 x 32 x 16 x 4 = 8320 bytes: 8 KB, rounded down.
    NumberLabel* memory = nullptr;
    for (int i = 0; i < e.screen().panelGroup->childCount() && !memory; i++)
        memory = dynamic_cast<NumberLabel*>(e.screen().panelGroup->childAt(i));
    ASSERT_NE(nullptr, memory);
    EXPECT_EQ(8, memory->Value());
    EXPECT_EQ(495, memory->x);
}

TEST_F(EditingInterface, PlaceholdersStayPlaceholdersUntilEdited) {
    e.Click(kDemoInfoX, kDemoInfoY);
    TextNotifyField* group = dynamic_cast<TextNotifyField*>(e.screen().panelGroup->childAt(3));
    ASSERT_NE(nullptr, group);
    EXPECT_STREQ("Unknown", group->GetText());
    EXPECT_EQ(nullptr, e.demo().group);
}

TEST_F(EditingInterface, EditsSurviveSaveAndReload) {
    e.Click(kEmptyX, RowY(2)); // marker at 7500 ms
    e.ClickInDialog(FunctionCellX(0), FunctionCellY(0), kAddEventX, kAddEventY);
    e.TypeInto(kStartValueX, 55 + 5, "777");
    e.Click(130, RowY(0));
    e.Click(kContinueX, kContinueY);
    e.Click(kDemoInfoX, kDemoInfoY);
    e.TypeInto(425, 15, "Saver");
    e.Click(kSaveX, kSaveY);
    ASSERT_STREQ("Demo saved.", e.screen().statusText);

    DemoStruct back = EmptyDemo();
    LoadDemoFile("Fenk.xml", back, true);
    EXPECT_EQ(DumpDemoContent(e.demo()), DumpDemoContent(back));
    EXPECT_STREQ("Saver", back.author);
    EXPECT_EQ(777, back.tracks[2].events[0].startValues[0]);
    EXPECT_EQ(7500u, back.tracks[2].events[0].startTime);
    EXPECT_EQ(3u, back.tracks[0].eventCount);
    EXPECT_TRUE(back.tracks[0].events[0].continuesIntoNext);
    ReleaseDemo(back);
}

TEST(FunctionDialogLayout, TwoLibrariesOfSevenAndThreeFunctionsIn640x480) {
    EditorFixture f;
    DemoStruct* demo = new DemoStruct(EmptyDemo());
    AddLibrary(*demo, "a.so",
               {{"A0", {}}, {"A1", {}}, {"A2", {}}, {"A3", {}}, {"A4", {}}, {"A5", {}}, {"A6", {}}});
    AddLibrary(*demo, "b.so", {{"B0", {}}, {"B1", {}}, {"B2", {}}});
    f.app().ReplaceDemo(demo);
    EXPECT_EQ(2, FunctionColumns());
    int x, y;
    FunctionCell(0, 0, x, y);
    EXPECT_EQ(165, x);
    EXPECT_EQ(175, y);
    FunctionCell(0, 6, x, y);
    EXPECT_EQ(165, x);
    EXPECT_EQ(250, y);
    FunctionCell(1, 0, x, y); // its label stands 20 pixels higher, at 255
    EXPECT_EQ(275, y);
    FunctionCell(1, 2, x, y);
    EXPECT_EQ(165, x);
    EXPECT_EQ(300, y);
    FunctionCell(1, 1, x, y);
    EXPECT_EQ(290, x);

    // A press on B1's cell picks library 1, function 1.
    PushClick(295, 280);
    EXPECT_TRUE(ChooseFunction("Select New Event:"));
    EXPECT_EQ(1, Dialogs().chosenLibrary);
    EXPECT_EQ(1, Dialogs().chosenFunction);
    // Between two cells nothing is picked; Escape then leaves with none.
    PushClick(287, 280);
    PushKeyDown(SDLK_ESCAPE, 27);
    EXPECT_FALSE(ChooseFunction("Select New Event:"));
    EXPECT_EQ(-1, Dialogs().chosenLibrary);
    EXPECT_EQ(-1, Dialogs().chosenFunction);
}

TEST(ImageDialogLayout, CellsOfThreeColumnsIn640x480) {
    EditorFixture f;
    EXPECT_EQ(3, ImageColumns());
    int x, y;
    ImageCell(0, x, y);
    EXPECT_EQ(45, x);
    EXPECT_EQ(78, y);
    ImageCell(4, x, y);
    EXPECT_EQ(210, x);
    EXPECT_EQ(103, y);
}

} // namespace
