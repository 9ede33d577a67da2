// TextField through real key and mouse events: starting and ending edits, every
// key of the editing table, scrolling, reporting and cancelling.
#include "text_fixture.h"

#include <SDL/SDL.h>

#include "font.h"

namespace {
std::vector<std::string> gReports;
void Report(const char* text) {
    gReports.push_back(text);
}
int gButtonClicks = 0;
std::vector<std::string> gOrder;
void ButtonPressed(int, int, int) {
    gButtonClicks++;
    gOrder.push_back("button");
}
void OrderedReport(const char* text) {
    gOrder.push_back(std::string("report:") + text);
}

class TextFieldTest : public TextFixture {
  protected:
    void SetUp() override {
        TextFixture::SetUp();
        gReports.clear();
        gOrder.clear();
        gButtonClicks = 0;
    }
    // A screen holding one notify field at (100, 100), 200 wide, focused and editing.
    TextNotifyField* Editing(GuiScreen& screen, const char* text, int width = 200) {
        TextNotifyField* field = new TextNotifyField(100, 100, width, text, Report, 0xFFFFFFFF);
        screen.add(field);
        PushClick(110, 107);
        screen.pollEvents();
        return field;
    }
};
} // namespace

TEST_F(TextFieldTest, HeightIsThePixelSizeAndIdleFieldIgnoresKeys) {
    TextField field(10, 10, 100, "abc", 0xFFFFFFFF);
    EXPECT_EQ(field.h, 14);
    EXPECT_FALSE(field.editing);
    EXPECT_FALSE(field.key('x', 'x'));
    EXPECT_STREQ(field.GetText(), "abc");
}

TEST_F(TextFieldTest, FirstPressInsideStartsEditingWithCaretAtTheEnd) {
    GuiScreen screen(kQuitKeyF10);
    TextNotifyField* field = Editing(screen, "hello");
    EXPECT_TRUE(field->editing);
    EXPECT_TRUE(field->editPending);
    EXPECT_FALSE(field->overwriteMode);
    EXPECT_EQ(field->caret, 5u);
    EXPECT_EQ(field->scroll, 0u);
    EXPECT_STREQ(field->saved.c_str(), "hello");
    EXPECT_EQ(screen.focusIndex(), 0);
}

TEST_F(TextFieldTest, PressesOnTheEdgeDoNotStartAnEdit) {
    TextField field(100, 100, 200, "x", 0xFFFFFFFF);
    EXPECT_FALSE(field.grabFocus(100, 107));
    EXPECT_FALSE(field.grabFocus(300, 107));
    EXPECT_FALSE(field.grabFocus(150, 100));
    EXPECT_FALSE(field.grabFocus(150, 114));
    EXPECT_TRUE(field.grabFocus(101, 101));
}

TEST_F(TextFieldTest, SecondPressPutsTheCaretBeforeTheCharacterUnderThePointer) {
    GuiScreen screen(kQuitKeyF10);
    TextNotifyField* field = Editing(screen, "abcdefgh");
    int px = 100 + 30;
    int expected = field->font->charsThatFit(px - 100 + 1, "abcdefgh", 0, -1);
    ASSERT_GT(expected, 0);
    ASSERT_LT(expected, 8);
    PushClick(px, 107);
    screen.pollEvents();
    EXPECT_EQ(field->caret, (unsigned)expected);
    EXPECT_TRUE(field->editing);
}

TEST_F(TextFieldTest, TypingInsertsAtTheCaret) {
    GuiScreen screen(kQuitKeyF10);
    TextNotifyField* field = Editing(screen, "ac");
    PushKeyDown(SDLK_LEFT);
    Type("b");
    screen.pollEvents();
    EXPECT_STREQ(field->GetText(), "abc");
    EXPECT_EQ(field->caret, 2u);
}

TEST_F(TextFieldTest, ControlCharactersAreNotTyped) {
    GuiScreen screen(kQuitKeyF10);
    TextNotifyField* field = Editing(screen, "ab");
    // Ctrl+A, Ctrl+Z, Ctrl+Backspace and friends: SDL reports codes below 32 (and 127).
    const int codes[] = {1, 26, 31, 127};
    for (int code : codes) {
        PushKeyDown('a' + code % 26, code);
        screen.pollEvents();
    }
    EXPECT_STREQ(field->GetText(), "ab");
    EXPECT_EQ(field->caret, 2u);
    EXPECT_TRUE(field->key(' ', ' ')); // space is the first character typed
    EXPECT_FALSE(field->key('a', 1));
    EXPECT_STREQ(field->GetText(), "ab ");
    EXPECT_EQ(TextField::Editing(), field);
    PushKeyDown(SDLK_RETURN, 13);
    screen.pollEvents();
    EXPECT_EQ(TextField::Editing(), nullptr);
}

TEST_F(TextFieldTest, BackspaceDeleteLeftRight) {
    GuiScreen screen(kQuitKeyF10);
    TextNotifyField* field = Editing(screen, "abcd");
    PushKeyDown(SDLK_BACKSPACE, 8); // abc|
    PushKeyDown(SDLK_LEFT);
    PushKeyDown(SDLK_LEFT);        // a|bc
    PushKeyDown(SDLK_DELETE, 127); // a|c
    screen.pollEvents();
    EXPECT_STREQ(field->GetText(), "ac");
    EXPECT_EQ(field->caret, 1u);
    PushKeyDown(SDLK_RIGHT);
    PushKeyDown(SDLK_RIGHT); // stays at the end
    PushKeyDown(SDLK_DELETE, 127);
    screen.pollEvents();
    EXPECT_EQ(field->caret, 2u);
    EXPECT_STREQ(field->GetText(), "ac");
    for (int i = 0; i < 4; i++)
        PushKeyDown(SDLK_LEFT);
    PushKeyDown(SDLK_BACKSPACE, 8); // at 0: nothing
    screen.pollEvents();
    EXPECT_EQ(field->caret, 0u);
    EXPECT_STREQ(field->GetText(), "ac");
}

TEST_F(TextFieldTest, InsertTogglesOverwriteWhichAppendsAtTheEnd) {
    GuiScreen screen(kQuitKeyF10);
    TextNotifyField* field = Editing(screen, "abc");
    PushKeyDown(SDLK_INSERT);
    PushKeyDown(SDLK_LEFT);
    PushKeyDown(SDLK_LEFT);
    Type("XYZ");
    screen.pollEvents();
    EXPECT_TRUE(field->overwriteMode);
    EXPECT_STREQ(field->GetText(), "aXYZ");
    PushKeyDown(SDLK_INSERT);
    PushKeyDown(SDLK_LEFT);
    Type("-");
    screen.pollEvents();
    EXPECT_FALSE(field->overwriteMode);
    EXPECT_STREQ(field->GetText(), "aXY-Z");
}

TEST_F(TextFieldTest, ReturnEndsTheEditAndReportsIt) {
    GuiScreen screen(kQuitKeyF10);
    TextNotifyField* field = Editing(screen, "demo");
    Type("2");
    PushKeyDown(SDLK_RETURN, 13);
    screen.pollEvents();
    EXPECT_EQ(gReports, (std::vector<std::string>{"demo2"}));
    EXPECT_FALSE(field->editing);
    EXPECT_FALSE(field->editPending);
    EXPECT_EQ(field->caret, 0u);
    // The focus still names the field; the next press elsewhere reports nothing more.
    EXPECT_EQ(screen.focusIndex(), 0);
    PushClick(500, 400);
    screen.pollEvents();
    EXPECT_EQ(gReports.size(), 1u);
    EXPECT_EQ(screen.focusIndex(), -1);
}

TEST_F(TextFieldTest, EscapeRestoresWithoutReportAndTheDialogDoesNotQuit) {
    GuiScreen dialog(kQuitKeyEscape);
    TextNotifyField* field = Editing(dialog, "keep");
    Type("xyz");
    PushKeyDown(SDLK_ESCAPE, 27);
    EXPECT_FALSE(dialog.pollEvents());
    EXPECT_STREQ(field->GetText(), "keep");
    EXPECT_TRUE(gReports.empty());
    EXPECT_FALSE(field->editing);
    // Now idle, the field does not take Escape: the dialog quits.
    PushKeyDown(SDLK_ESCAPE, 27);
    EXPECT_TRUE(dialog.pollEvents());
}

TEST_F(TextFieldTest, PressElsewhereEndsAndReportsTheEdit) {
    GuiScreen screen(kQuitKeyF10);
    TextNotifyField* field = Editing(screen, "a");
    Type("b");
    PushClick(10, 400);
    screen.pollEvents();
    EXPECT_EQ(gReports, (std::vector<std::string>{"ab"}));
    EXPECT_FALSE(field->editing);
}

TEST_F(TextFieldTest, ButtonPressFirstEndsTheEditThenRunsTheCallback) {
    GuiScreen screen(kQuitKeyF10);
    screen.add(new TextNotifyField(100, 100, 200, "x", OrderedReport, 0xFFFFFFFF));
    screen.add(new Button(100, 200, 90, 0, 0xFF404080, "Go", 0xFFFFFFFF, ButtonPressed, nullptr));
    PushClick(110, 107);
    screen.pollEvents();
    Type("y");
    PushClick(120, 210);
    screen.pollEvents();
    EXPECT_EQ(gOrder, (std::vector<std::string>{"report:xy", "button"}));
}

TEST_F(TextFieldTest, UnhandledKeysFallThroughToTheQuitKey) {
    GuiScreen screen(kQuitKeyF10);
    TextNotifyField* field = Editing(screen, "a");
    for (int sym : {SDLK_TAB, SDLK_UP, SDLK_DOWN, SDLK_RSHIFT, SDLK_LSHIFT, SDLK_RCTRL, SDLK_LCTRL, SDLK_RALT,
                    SDLK_LALT})
        EXPECT_FALSE(field->key(sym, sym == SDLK_TAB ? 9 : 0)) << sym;
    EXPECT_FALSE(field->key(SDLK_a, 0x0416)); // beyond the byte range
    EXPECT_STREQ(field->GetText(), "a");
    PushKeyDown(SDLK_F10);
    EXPECT_TRUE(screen.pollEvents());
}

TEST_F(TextFieldTest, EditFromEmptyIsReportedAndEscapeReturnsToEmpty) {
    GuiScreen screen(kQuitKeyF10);
    TextNotifyField* field = Editing(screen, "");
    EXPECT_TRUE(field->editing);
    Type("new");
    PushKeyDown(SDLK_RETURN, 13);
    screen.pollEvents();
    EXPECT_EQ(gReports, (std::vector<std::string>{"new"}));
    field->setText("");
    gReports.clear();
    PushClick(110, 107);
    Type("zz");
    PushKeyDown(SDLK_ESCAPE, 27);
    screen.pollEvents();
    EXPECT_STREQ(field->GetText(), "");
    EXPECT_TRUE(gReports.empty());
}

TEST_F(TextFieldTest, SetTextEndsTheEditAndCallsTextChanged) {
    GuiScreen screen(kQuitKeyF10);
    TextNotifyField* field = Editing(screen, "old");
    field->setText("replaced");
    EXPECT_FALSE(field->editing);
    EXPECT_FALSE(field->editPending);
    EXPECT_EQ(field->caret, 0u);
    EXPECT_EQ(gReports, (std::vector<std::string>{"replaced"}));
}

TEST_F(TextFieldTest, TypingPastTheRightEdgeScrollsToKeepTheCaretVisible) {
    GuiScreen screen(kQuitKeyF10);
    TextNotifyField* field = Editing(screen, "", 40);
    Type("abcdefghijklmnopqrstuvwxyz");
    screen.pollEvents();
    EXPECT_EQ(field->caret, 26u);
    EXPECT_GT(field->scroll, 0u);
    int capacity = field->font->visibleCapacity(36, field->GetText(), field->scroll, -1);
    EXPECT_LT((int)(field->caret - field->scroll), capacity);
    // Walking back to the start scrolls back to 0.
    for (int i = 0; i < 30; i++)
        PushKeyDown(SDLK_LEFT);
    screen.pollEvents();
    EXPECT_EQ(field->caret, 0u);
    EXPECT_EQ(field->scroll, 0u);
    // A press on an idle long text scrolls so that its end is visible.
    PushKeyDown(SDLK_RETURN, 13);
    PushClick(110, 107);
    screen.pollEvents();
    EXPECT_EQ(field->caret, 26u);
    EXPECT_GT(field->scroll, 0u);
}

TEST_F(TextFieldTest, FieldTooNarrowForAnyCharacterNeverHangs) {
    GuiScreen screen(kQuitKeyF10);
    TextNotifyField* field = Editing(screen, "abc", 3);
    Type("def");
    PushKeyDown(SDLK_RIGHT);
    PushKeyDown(SDLK_LEFT);
    screen.pollEvents();
    EXPECT_LE(field->scroll, field->caret);
    drawInterface(&screen);
}

TEST_F(TextFieldTest, DrawsGreyFrameWhenIdleAndTextColourFrameWhileEditing) {
    GuiScreen screen(kQuitKeyF10);
    screen.add(new TextField(100, 100, 200, "", 0xFFFFFFFF));
    GLContext::ClearTo(0, 0, 0, 1);
    drawInterface(&screen);
    EXPECT_EQ(gl.Pixel(200, 100) & 0xFFFFFF, 0x808080u);
    PushClick(110, 107);
    screen.pollEvents();
    GLContext::ClearTo(0, 0, 0, 1);
    drawInterface(&screen);
    EXPECT_EQ(gl.Pixel(200, 100) & 0xFFFFFF, 0xFFFFFFu);
}

TEST_F(TextFieldTest, ScrollMarkersShowHiddenText) {
    GuiScreen screen(kQuitKeyF10);
    TextNotifyField* field = Editing(screen, "", 40);
    Type("abcdefghijklmnopqrstuvwxyz");
    screen.pollEvents();
    GLContext::ClearTo(0, 0, 0, 1);
    drawInterface(&screen);
    // Left marker: drawHLine(x - 2, y + h/2, 4) while scrolled.
    EXPECT_EQ(gl.Pixel(99, 107) & 0xFFFFFF, 0xFFFFFFu);
    for (int i = 0; i < 30; i++)
        PushKeyDown(SDLK_LEFT);
    screen.pollEvents();
    GLContext::ClearTo(0, 0, 0, 1);
    drawInterface(&screen);
    EXPECT_EQ(gl.Pixel(99, 107) & 0xFFFFFF, 0u);
    // Right marker: drawHLine(x + w - 2, y + h/2, 6) while text is hidden on the right.
    EXPECT_EQ(gl.Pixel(100 + 40 + 2, 107) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(field->scroll, 0u);
}
