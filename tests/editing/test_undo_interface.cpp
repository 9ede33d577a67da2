// Undo and redo through the editor as a user drives it: every kind of edit is
// one step that Ctrl+Z takes back exactly (the saved bytes are those from
// before) and Ctrl+Y or Ctrl+Shift+Z brings back; the status line names it, the
// step's track or event is selected again, and the buttons grey out.
#include <gtest/gtest.h>

#include <functional>

#include <SDL/SDL.h>

#include "editor.h"
#include "recorded_widgets.h"
#include "safety_helpers.h"
#include "sdl_events.h"

namespace {

const int kUndoX = 25, kRedoX = 71, kHistoryY = 240 + 134 + 8;
const uint32_t kGrey = 0xFF808080, kWhite = 0xFFFFFFFF;

// The colour the "Undo" or "Redo" button draws its label in now.
uint32_t LabelColour(EditorScreen& s, const char* label) {
    for (int i = 0; i < s.childCount(); i++) {
        Button* b = dynamic_cast<Button*>(s.childAt(i));
        if (!b || std::string(b->label) != label) continue;
        b->draw(); // the buttons pick their colour when drawn
        return b->colour;
    }
    return 0;
}

struct Edit {
    const char* name;
    std::function<void()> act;
    int track, event, panelTrack; // the selection an undo shows
};

class UndoInterface : public ::testing::Test {
  protected:
    EditingFixture e;
};

} // namespace

TEST_F(UndoInterface, EveryKindOfEditIsOneStepThatUndoAndRedoReplayExactly) {
    EditorScreen& s = e.screen();
    const std::vector<Edit> edits = {
        {"Delete Event", [&] { ClickEventBlock(e, 0, 0); PushKeyDown(SDLK_DELETE, 127); e.Pump(); }, 0, 0, -1},
        {"Hide/Show Event", [&] { ClickEventBlock(e, 0, 2000); ClickPanelButton(e, "Hide/Show Event"); }, 0, 1, -1},
        {"Move Event Down", [&] { ClickEventBlock(e, 0, 0); ClickPanelButton(e, "Move Track Down"); }, 0, 0, -1},
        {"Add Continuing Effect",
         [&] { ClickEventBlock(e, 0, 2000); ClickPanelButton(e, "Add Continuing Effect"); }, 0, 1, -1},
        {"Edit Value", [&] { ClickEventBlock(e, 0, 2000); TypeIntoField(PanelWidget<ParamField>(e, 0), "42"); },
         0, 1, -1},
        {"Event Time",
         [&] { ClickEventBlock(e, 0, 2000); TypeIntoField(PanelWidget<EventTimeEditor>(e)->startField, "35"); },
         0, 1, -1},
        {"Edit Colour",
         [&] {
             ClickEventBlock(e, 0, 0);
             ColourPicker* p = PanelWidget<ParamColourPicker>(e, 1);
             e.Click(p->x + 5 + 100, p->y + 3); // end colour's red
         },
         0, 0, -1},
        {"Delete Track", [&] { e.Click(kRowX, RowY(2)); ClickPanelButton(e, "Delete Track"); }, -1, -1, 2},
        {"Insert New Track", [&] { e.Click(kRowX, RowY(1)); ClickPanelButton(e, "Insert New Track"); }, -1, -1, 1},
        {"Move Track Down", [&] { e.Click(kRowX, RowY(0)); ClickPanelButton(e, "Move Track Down"); }, -1, -1, 0},
        {"Hide/Show Track", [&] { e.Click(kRowX, RowY(1)); ClickPanelButton(e, "Hide/Show Track"); }, -1, -1, 1},
        {"Author",
         [&] {
             e.Click(kDemoInfoX, kDemoInfoY);
             TypeIntoField(PanelWidget<TextNotifyField>(e, 0), "Someone Else");
         },
         -1, -1, -1},
        {"Duration",
         [&] {
             e.Click(kDemoInfoX, kDemoInfoY);
             TypeIntoField(PanelWidget<UIntNotifyField>(e, 0), "12345");
         },
         -1, -1, -1},
    };
    for (const Edit& edit : edits) {
        SCOPED_TRACE(edit.name);
        s.SelectTrack(-1);
        const std::string before = SavedBytes(e);
        const bool hiddenBefore = e.app().GetEventHidden(0, 1) || e.app().GetTrackHidden(1);
        const size_t steps = e.app().undo.StepCount();
        edit.act();
        ASSERT_EQ(e.app().undo.StepCount(), steps + 1);
        EXPECT_STREQ(e.app().undo.UndoName(), edit.name);
        const std::string after = SavedBytes(e);
        const bool hiddenAfter = e.app().GetEventHidden(0, 1) || e.app().GetTrackHidden(1);
        EXPECT_TRUE(after != before || hiddenAfter != hiddenBefore);
        EXPECT_TRUE(e.app().undo.IsModified());

        s.SelectTrack(-1);
        CtrlKey(e, SDLK_z);
        EXPECT_EQ(std::string(s.statusText), std::string("Undo: ") + edit.name);
        EXPECT_EQ(SavedBytes(e), before);
        EXPECT_EQ(e.app().GetEventHidden(0, 1) || e.app().GetTrackHidden(1), hiddenBefore);
        EXPECT_EQ(s.selectedTrack, edit.track);
        EXPECT_EQ(s.selectedEvent, edit.event);
        EXPECT_EQ(s.panelTrack, edit.panelTrack);
        EXPECT_FALSE(e.app().undo.IsModified());

        CtrlKey(e, SDLK_y);
        EXPECT_EQ(std::string(s.statusText), std::string("Redo: ") + edit.name);
        EXPECT_EQ(SavedBytes(e), after);
        CtrlKey(e, SDLK_z);
        CtrlKey(e, SDLK_z, true); // Ctrl+Shift+Z redoes too
        EXPECT_EQ(SavedBytes(e), after);
        CtrlKey(e, SDLK_z);
        EXPECT_EQ(SavedBytes(e), before);
        EXPECT_EQ(e.app().undo.StepCount(), steps);
    }
}

TEST_F(UndoInterface, ARightButtonHeldOnAPickerIsOneStep) {
    ClickEventBlock(e, 0, 0);
    ColourPicker* picker = PanelWidget<ParamColourPicker>(e, 0);
    ASSERT_NE(picker, nullptr);
    DemoEvent& ev = e.demo().tracks[0].events[0];
    ASSERT_EQ(ev.startValues[3], 10);
    // Held: the picker is clicked again at every poll.
    PushMouseDown(3, picker->x + 5 + 77, picker->y + 3);
    for (int i = 0; i < 5; i++)
        e.Pump();
    PushMouseUp(3, picker->x + 5 + 77, picker->y + 3);
    e.Pump();
    // The bars of a 640 pixel window are shorter than 256 pixels.
    const int n = picker->barLength;
    EXPECT_EQ(ev.startValues[3], (77 * 255 + (n - 1) / 2) / (n - 1));
    EXPECT_EQ(e.app().undo.StepCount(), 1u);
    CtrlKey(e, SDLK_z);
    EXPECT_EQ(e.demo().tracks[0].events[0].startValues[3], 10);
    EXPECT_FALSE(e.app().undo.CanUndo());
}

TEST_F(UndoInterface, EditsThatChangeNothingAreNoSteps) {
    // A field committed with its own value, a picker pressed where it stands,
    // a track that cannot move up.
    ClickEventBlock(e, 0, 2000);
    TypeIntoField(PanelWidget<ParamField>(e, 0), "5");
    e.Click(kRowX, RowY(0));
    ClickPanelButton(e, "Move Track Up");
    e.Click(kDemoInfoX, kDemoInfoY);
    TypeIntoField(PanelWidget<TextNotifyField>(e, 0), "Tester");
    EXPECT_EQ(e.app().undo.StepCount(), 0u);
    EXPECT_FALSE(e.app().undo.IsModified());
}

TEST_F(UndoInterface, ButtonsGreyWithNothingToDoAndUndoAndRedoWhenPressed) {
    EditorScreen& s = e.screen();
    EXPECT_EQ(LabelColour(s, "Undo"), kGrey);
    EXPECT_EQ(LabelColour(s, "Redo"), kGrey);
    ClickEventBlock(e, 0, 0);
    PushKeyDown(SDLK_DELETE, 127);
    e.Pump();
    EXPECT_EQ(LabelColour(s, "Undo"), kWhite);
    EXPECT_EQ(LabelColour(s, "Redo"), kGrey);
    e.Click(kUndoX, kHistoryY);
    EXPECT_STREQ(s.statusText, "Undo: Delete Event");
    EXPECT_EQ(e.app().EventCount(0), 2u);
    EXPECT_EQ(LabelColour(s, "Undo"), kGrey);
    EXPECT_EQ(LabelColour(s, "Redo"), kWhite);
    e.Click(kRedoX, kHistoryY);
    EXPECT_EQ(e.app().EventCount(0), 1u);
    // Pressing a greyed button does nothing.
    e.Click(kRedoX, kHistoryY);
    EXPECT_EQ(e.app().EventCount(0), 1u);
    EXPECT_STREQ(s.statusText, "Redo: Delete Event");
}

TEST_F(UndoInterface, ANewEditAfterUndoDropsTheRedoAndALoadDropsEverything) {
    ClickEventBlock(e, 0, 0);
    PushKeyDown(SDLK_DELETE, 127);
    e.Pump();
    CtrlKey(e, SDLK_z);
    EXPECT_TRUE(e.app().undo.CanRedo());
    e.Click(kRowX, RowY(2));
    ClickPanelButton(e, "Delete Track");
    EXPECT_FALSE(e.app().undo.CanRedo());
    CtrlKey(e, SDLK_y);
    EXPECT_EQ(e.app().TrackCount(), 2u);

    // Loading (the changes discarded) starts a new history.
    QuestionAnswers discard({1}, {3});
    e.Click(40, 275);
    EXPECT_EQ(discard.answered(), 1);
    EXPECT_STREQ(e.screen().statusText, "Demo loaded");
    EXPECT_EQ(e.app().TrackCount(), 3u);
    EXPECT_FALSE(e.app().undo.CanUndo());
    EXPECT_FALSE(e.app().undo.CanRedo());
    EXPECT_FALSE(e.app().undo.IsModified());
}

TEST_F(UndoInterface, UndoKeysDoNothingWhileAFieldIsEdited) {
    ClickEventBlock(e, 0, 0);
    PushKeyDown(SDLK_DELETE, 127);
    e.Pump();
    ASSERT_EQ(e.app().EventCount(0), 1u);
    e.Click(50, 252); // into the file name field
    ASSERT_NE(TextField::Editing(), nullptr);
    CtrlKey(e, SDLK_z);
    EXPECT_EQ(e.app().EventCount(0), 1u);
    EXPECT_STREQ(e.screen().fileNameField->GetText(), "Fenk.xml");
}
