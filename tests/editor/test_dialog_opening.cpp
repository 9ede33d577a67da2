// Opening a modal dialog from a press: the press has had its click, so the
// dialog must not receive it again where one of its own buttons may lie.
#include <gtest/gtest.h>

#include <SDL/SDL.h>

#include "editor.h"
#include "editor_fixture.h"
#include "sdl_events.h"

namespace {

// In a 640 x 360 window "Add New Event" (330..430, 130..150) overlaps the
// function dialog's second cell (290..410, 145..165).
const int kPressX = 340, kPressY = 148;

// The user's Escape reaches the dialog's own pump.
void OpenAddEventDialog(int x, int y, int button) {
    PushKeyDown(SDLK_ESCAPE, 27);
    AddNewEvent(x, y, button);
}

class DialogOpening : public ::testing::Test {
  protected:
    DialogOpening() : f(640, 360) {
        WriteTestDemo(f.dir, "Fenk.xml", PluginPath("RecordPlugin"), {"Effect1", "Effect0"}, "Effect1", {1},
                      8000);
        LoadDemoCommand(0, 0, 1);
        f.screen().SelectTrack(0);
    }
    EditorFixture f;
};

} // namespace

TEST_F(DialogOpening, PressThatOpensTheFunctionDialogPicksNothingInIt) {
    ASSERT_STREQ(f.screen().statusText, "Demo loaded");
    int x = 0, y = 0;
    FunctionCell(0, 1, x, y);
    ASSERT_TRUE(x <= kPressX && kPressX < x + 120 && y <= kPressY && kPressY < y + 20);

    GuiScreen opener(kQuitKeyF10);
    opener.add(
        new Button(330, 130, 100, 20, 0xFF404080, "Add New Event", 0xFFFFFFFF, OpenAddEventDialog, nullptr));
    PushClick(kPressX, kPressY);
    opener.pollEvents();
    DrainEvents();

    EXPECT_EQ(f.app().EventCount(0), 1u);
    EXPECT_EQ(Dialogs().chosenLibrary, -1);
    EXPECT_EQ(Dialogs().chosenFunction, -1);
}

TEST_F(DialogOpening, HeldRightButtonDoesNotReopenTheDialogAfterEscape) {
    GuiScreen opener(kQuitKeyF10);
    static int opened;
    opened = 0;
    opener.add(new Button(
        330, 130, 100, 20, 0xFF404080, "Add New Event", 0xFFFFFFFF,
        [](int x, int y, int button) {
            opened++;
            OpenAddEventDialog(x, y, button);
        },
        nullptr));
    PushMouseDown(3, kPressX, kPressY);
    opener.pollEvents();
    opener.pollEvents(); // the button is still held, but its press ended in the dialog
    DrainEvents();
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(f.app().EventCount(0), 1u);
    PushMouseUp(3, kPressX, kPressY);
    opener.pollEvents();
}
