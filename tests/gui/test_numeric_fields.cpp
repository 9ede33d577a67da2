// IntField, UIntField and UIntNotifyField: which keys reach the text, parsing
// on Return and on focus loss, and the notify callback.
#include "text_fixture.h"

#include <SDL/SDL.h>

namespace {
std::vector<int> gValues;
void Notify(int v) {
    gValues.push_back(v);
}

class NumericFieldTest : public TextFixture {
  protected:
    void SetUp() override {
        TextFixture::SetUp();
        gValues.clear();
    }
    void Focus(GuiScreen& screen) {
        PushClick(110, 107);
        screen.pollEvents();
    }
};
} // namespace

TEST_F(NumericFieldTest, ConstructionShowsTheBoundValue) {
    int i = -42;
    unsigned u = 4000000000u;
    IntField a(0, 0, 100, &i, 0xFFFFFFFF);
    UIntField b(0, 0, 100, &u, 0xFFFFFFFF);
    EXPECT_STREQ(a.GetText(), "-42");
    EXPECT_STREQ(b.GetText(), "4000000000");
}

TEST_F(NumericFieldTest, IntFieldTakesMinusAndDigits) {
    int value = 5;
    GuiScreen screen(kQuitKeyF10);
    screen.add(new IntField(100, 100, 100, &value, 0xFFFFFFFF));
    Focus(screen);
    PushKeyDown(SDLK_BACKSPACE, 8);
    PushKeyDown(SDLK_MINUS, '-');
    Type("12");
    PushKeyDown(SDLK_RETURN, 13);
    screen.pollEvents();
    EXPECT_EQ(value, -12);
}

TEST_F(NumericFieldTest, UIntFieldIgnoresMinusAndLetters) {
    unsigned value = 7;
    GuiScreen screen(kQuitKeyF10);
    UIntField* field = new UIntField(100, 100, 100, &value, 0xFFFFFFFF);
    screen.add(field);
    Focus(screen);
    PushKeyDown(SDLK_MINUS, '-');
    Type("3x");
    screen.pollEvents();
    EXPECT_STREQ(field->GetText(), "73");
    PushKeyDown(SDLK_RETURN, 13);
    screen.pollEvents();
    EXPECT_EQ(value, 73u);
}

TEST_F(NumericFieldTest, LettersChangeNothingInEitherField) {
    int i = 1;
    unsigned u = 2;
    IntField a(100, 100, 100, &i, 0xFFFFFFFF);
    UIntField b(100, 100, 100, &u, 0xFFFFFFFF);
    a.grabFocus(110, 107);
    b.grabFocus(110, 107);
    for (char c : std::string("abc+ .")) {
        EXPECT_TRUE(a.key(c, c));
        EXPECT_TRUE(b.key(c, c));
    }
    EXPECT_STREQ(a.GetText(), "1");
    EXPECT_STREQ(b.GetText(), "2");
}

TEST_F(NumericFieldTest, EditingNumericFieldSwallowsEveryKeyButACommittedOneLetsF10Quit) {
    int value = 0;
    unsigned u = 0;
    for (int kind = 0; kind < 2; kind++) {
        GuiScreen screen(kQuitKeyF10);
        if (kind == 0)
            screen.add(new IntField(100, 100, 100, &value, 0xFFFFFFFF));
        else
            screen.add(new UIntField(100, 100, 100, &u, 0xFFFFFFFF));
        Focus(screen);
        PushKeyDown(SDLK_F10);
        EXPECT_FALSE(screen.pollEvents()) << kind;
        // After Return the field keeps the focus but the edit is over.
        PushKeyDown(SDLK_RETURN, 13);
        PushKeyDown(SDLK_F10);
        EXPECT_TRUE(screen.pollEvents()) << kind;
        EXPECT_EQ(screen.focusIndex(), 0);
    }
}

TEST_F(NumericFieldTest, UIntNotifyFieldReportsNothingForTextThatIsNoNumber) {
    GuiScreen screen(kQuitKeyF10);
    UIntNotifyField* field = new UIntNotifyField(100, 100, 100, 16000, Notify, 0xFFFFFFFF);
    screen.add(field);
    // Emptied, then committed with Return: the running time must not become 0.
    Focus(screen);
    for (int k = 0; k < 5; k++)
        PushKeyDown(SDLK_BACKSPACE, 8);
    PushKeyDown(SDLK_RETURN, 13);
    screen.pollEvents();
    EXPECT_EQ(gValues, (std::vector<int>{16000}));
    EXPECT_EQ(field->ownValue, 16000u);
    EXPECT_STREQ(field->GetText(), "16000");
    // Committed by a press elsewhere: the same.
    Focus(screen);
    for (int k = 0; k < 5; k++)
        PushKeyDown(SDLK_BACKSPACE, 8);
    PushClick(10, 10);
    screen.pollEvents();
    EXPECT_EQ(gValues, (std::vector<int>{16000}));
    EXPECT_STREQ(field->GetText(), "16000");
    // A number still goes through.
    Focus(screen);
    Type("7");
    PushKeyDown(SDLK_RETURN, 13);
    screen.pollEvents();
    EXPECT_EQ(gValues, (std::vector<int>{16000, 160007}));
}

TEST_F(NumericFieldTest, ReturnOnTextThatIsNoNumberRestoresTheBoundValue) {
    int value = 321;
    GuiScreen screen(kQuitKeyF10);
    IntField* field = new IntField(100, 100, 100, &value, 0xFFFFFFFF);
    screen.add(field);
    Focus(screen);
    for (int k = 0; k < 3; k++)
        PushKeyDown(SDLK_BACKSPACE, 8);
    PushKeyDown(SDLK_MINUS, '-');
    PushKeyDown(SDLK_RETURN, 13);
    screen.pollEvents();
    EXPECT_EQ(value, 321);
    EXPECT_STREQ(field->GetText(), "321");
}

TEST_F(NumericFieldTest, NumbersThatDoNotFitAreRefused) {
    int i = 9;
    unsigned u = 9;
    GuiScreen screen(kQuitKeyF10);
    IntField* a = new IntField(100, 100, 100, &i, 0xFFFFFFFF);
    screen.add(a);
    Focus(screen);
    Type("9999999999999");
    PushKeyDown(SDLK_RETURN, 13);
    screen.pollEvents();
    EXPECT_EQ(i, 9);
    EXPECT_STREQ(a->GetText(), "9");
    UIntField b(100, 100, 100, &u, 0xFFFFFFFF);
    b.setText("4294967296");
    b.loseFocus();
    EXPECT_EQ(u, 9u);
    b.setText("4294967295");
    b.loseFocus();
    EXPECT_EQ(u, 4294967295u);
}

TEST_F(NumericFieldTest, PressElsewhereCommitsTheNumber) {
    unsigned value = 1;
    GuiScreen screen(kQuitKeyF10);
    screen.add(new UIntField(100, 100, 100, &value, 0xFFFFFFFF));
    Focus(screen);
    Type("50");
    PushClick(500, 400);
    screen.pollEvents();
    EXPECT_EQ(value, 150u);
}

TEST_F(NumericFieldTest, EscapeKeepsTheValue) {
    int value = 8;
    GuiScreen screen(kQuitKeyF10);
    IntField* field = new IntField(100, 100, 100, &value, 0xFFFFFFFF);
    screen.add(field);
    Focus(screen);
    Type("77");
    PushKeyDown(SDLK_ESCAPE, 27);
    screen.pollEvents();
    EXPECT_EQ(value, 8);
    EXPECT_STREQ(field->GetText(), "8");
}

TEST_F(NumericFieldTest, UIntNotifyFieldReportsOnceAtConstructionThenOnEachCommit) {
    GuiScreen screen(kQuitKeyF10);
    UIntNotifyField* field = new UIntNotifyField(100, 100, 100, 5000, Notify, 0xFFFFFFFF);
    screen.add(field);
    EXPECT_EQ(gValues, (std::vector<int>{5000}));
    EXPECT_EQ(field->ownValue, 5000u);
    Focus(screen);
    PushKeyDown(SDLK_BACKSPACE, 8);
    Type("1");
    PushKeyDown(SDLK_RETURN, 13);
    screen.pollEvents();
    EXPECT_EQ(gValues, (std::vector<int>{5000, 5001}));
    EXPECT_EQ(field->ownValue, 5001u);
    EXPECT_EQ(*field->value, 5001u);
}

TEST_F(NumericFieldTest, UIntNotifyFieldCarriesValuesAboveTheIntRangeUnchanged) {
    GuiScreen screen(kQuitKeyF10);
    UIntNotifyField* field = new UIntNotifyField(100, 100, 100, 4294967290u, Notify, 0xFFFFFFFF);
    screen.add(field);
    ASSERT_EQ(gValues.size(), 1u);
    EXPECT_EQ((uint32_t)gValues[0], 4294967290u);
    EXPECT_EQ(field->ownValue, 4294967290u);
    // A number beyond the range is refused, not clamped: nothing is reported.
    field->setText("99999999999");
    EXPECT_EQ(gValues.size(), 1u);
    EXPECT_EQ(field->ownValue, 4294967290u);
    EXPECT_STREQ(field->GetText(), "4294967290");
}
