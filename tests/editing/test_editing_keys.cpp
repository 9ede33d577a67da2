// The editor's keys when no text field is being edited: Space, Delete, Home,
// End, Left and Right (Shift: a second), Ctrl+S; inside a field they are typing.
#include <gtest/gtest.h>

#include <SDL/SDL.h>

#include "editor.h"
#include "recorded_widgets.h"
#include "safety_helpers.h"
#include "sdl_events.h"

namespace {
class EditingKeys : public ::testing::Test {
  protected:
    EditingFixture e;
    uint32_t& position() { return e.app().music.position; }
    void Key(int sym, int unicode = 0, int mods = KMOD_NONE) { KeyWith(e, sym, unicode, mods); }
};
} // namespace

TEST_F(EditingKeys, HomeEndAndArrowsMoveThePausedCursorInsideTheDemo) {
    position() = 5000;
    Key(SDLK_RIGHT);
    EXPECT_EQ(position(), 5100u);
    Key(SDLK_LEFT);
    Key(SDLK_LEFT);
    EXPECT_EQ(position(), 4900u);
    Key(SDLK_RIGHT, 0, KMOD_LSHIFT);
    EXPECT_EQ(position(), 5900u);
    Key(SDLK_LEFT, 0, KMOD_RSHIFT);
    EXPECT_EQ(position(), 4900u);
    Key(SDLK_END);
    EXPECT_EQ(position(), 9999u); // the last millisecond of the 10 s demo
    Key(SDLK_RIGHT, 0, KMOD_LSHIFT);
    EXPECT_EQ(position(), 9999u);
    Key(SDLK_HOME);
    EXPECT_EQ(position(), 0u);
    Key(SDLK_LEFT);
    EXPECT_EQ(position(), 0u);
}

TEST_F(EditingKeys, SpacePlaysAndPausesAndTheArrowsLeaveAPlayingCursorAlone) {
    position() = 3000;
    Key(SDLK_SPACE, ' ');
    EXPECT_TRUE(e.app().music.playing);
    Key(SDLK_RIGHT);
    EXPECT_EQ(position(), 3000u);
    Key(SDLK_SPACE, ' ');
    EXPECT_FALSE(e.app().music.playing);
    Key(SDLK_RIGHT);
    EXPECT_EQ(position(), 3100u);
}

TEST_F(EditingKeys, DeleteRemovesTheSelectedEventOnly) {
    Key(SDLK_DELETE, 127); // nothing selected
    EXPECT_EQ(e.app().EventCount(0), 2u);
    EXPECT_EQ(e.app().undo.StepCount(), 0u);
    ClickEventBlock(e, 0, 2000);
    Key(SDLK_DELETE, 127);
    EXPECT_EQ(e.app().EventCount(0), 1u);
    EXPECT_EQ(e.screen().selectedEvent, -1);
    EXPECT_STREQ(e.app().undo.UndoName(), "Delete Event");
}

TEST_F(EditingKeys, InATextFieldTheKeysAreTyping) {
    ClickEventBlock(e, 0, 2000);
    position() = 5000;
    e.Click(50, 252); // the file name field, caret at the end
    Key(SDLK_SPACE, ' ');
    Key(SDLK_HOME);
    Key(SDLK_LEFT);
    Key(SDLK_DELETE, 127);
    EXPECT_EQ(position(), 5000u);
    EXPECT_FALSE(e.app().music.playing);
    EXPECT_EQ(e.app().EventCount(0), 2u);
    EXPECT_STREQ(e.screen().fileNameField->GetText(), "Fenk.xml");
    Key(SDLK_ESCAPE, 27);
    // Once the edit is over the keys are the editor's again.
    Key(SDLK_DELETE, 127);
    EXPECT_EQ(e.app().EventCount(0), 1u);
}

TEST_F(EditingKeys, CtrlSSavesAndKeepsTheOldFileAsBak) {
    const std::string original = e.f.dir.Read("Fenk.xml");
    ClickEventBlock(e, 0, 2000);
    Key(SDLK_DELETE, 127);
    ASSERT_TRUE(e.app().undo.IsModified());
    CtrlKey(e, SDLK_s);
    EXPECT_STREQ(e.screen().statusText, "Demo saved.");
    EXPECT_FALSE(e.app().undo.IsModified());
    EXPECT_EQ(e.f.dir.Read("Fenk.xml.bak"), original);
    EXPECT_EQ(e.f.dir.Read("Fenk.xml"), SavedFile(e));
}

TEST_F(EditingKeys, F10QuitsAfterAParameterFieldWasCommittedWithReturn) {
    ClickEventBlock(e, 0, 2000);
    ParamField* field = PanelWidget<ParamField>(e, 0);
    ASSERT_NE(field, nullptr);
    PushClick(field->x + 3, field->y + 5);
    PushKeyDown(SDLK_9, '9');
    PushKeyDown(SDLK_RETURN, 13);
    PushKeyDown(SDLK_F10);
    EXPECT_TRUE(AppActiveScreen().pollEvents());
    EXPECT_EQ(e.demo().tracks[0].events[1].startValues[0], 59);
    // The same for the event's start field.
    EventTimeEditor* times = PanelWidget<EventTimeEditor>(e);
    PushClick(times->startField->x + 3, times->startField->y + 5);
    PushKeyDown(SDLK_RETURN, 13);
    PushKeyDown(SDLK_F10);
    EXPECT_TRUE(AppActiveScreen().pollEvents());
}
