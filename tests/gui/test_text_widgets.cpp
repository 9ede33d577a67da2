// TextBuffer, Label, Button and NumberLabel; fonts shared through the cache.
#include "text_fixture.h"

#include "basic_exception.h"
#include "font.h"

TEST(TextBuffer, GrowsByHalfPlusTwoWhenFull) {
    TextBuffer b("ab");
    EXPECT_EQ(b.capacity, 3u);
    b.insert(2, 'c'); // length 2 + 1 >= 3: grow to 3 + 1 + 2
    EXPECT_EQ(b.capacity, 6u);
    EXPECT_STREQ(b.c_str(), "abc");
    b.insert(0, '>');
    EXPECT_STREQ(b.c_str(), ">abc");
    b.insert(9, 'x'); // beyond the length: nothing
    EXPECT_EQ(b.length, 4u);
}

TEST(TextBuffer, EmptyWithCapacityOverwriteEraseSubstring) {
    TextBuffer e(32u);
    EXPECT_EQ(e.capacity, 33u);
    EXPECT_EQ(e.length, 0u);
    EXPECT_STREQ(e.c_str(), "");
    TextBuffer b("hello");
    b.overwrite(0, 'j');
    b.overwrite(5, '!');
    b.overwrite(9, '?');
    EXPECT_STREQ(b.c_str(), "jello!");
    b.erase(4, 100);
    EXPECT_STREQ(b.c_str(), "jell");
    b.erase(10, 1);
    EXPECT_STREQ(b.c_str(), "jell");
    TextBuffer s = b.substring(1, 50);
    EXPECT_STREQ(s.c_str(), "ell");
    TextBuffer none = b.substring(9, 2);
    EXPECT_STREQ(none.c_str(), "");
    TextBuffer copy(1u);
    copy = b;
    EXPECT_STREQ(copy.c_str(), "jell");
    EXPECT_EQ(copy.capacity, b.capacity);
}

class TextWidgets : public TextFixture {};

TEST_F(TextWidgets, ButtonOfHeightZeroIs22High) {
    Button b(3, 5, 90, 0, 0xFF404080, "Load Demo", 0xFFFFFFFF, nullptr, nullptr);
    EXPECT_EQ(b.h, 22);
    EXPECT_STREQ(b.label, "Load Demo");
    EXPECT_EQ(b.font->pixelSize(), 14);
    EXPECT_STREQ(b.font->fileName(), "FreeSerif.ttf");
}

TEST_F(TextWidgets, ButtonLabelIsCutTo255Characters) {
    std::string longLabel(400, 'x');
    Button b(0, 0, 10, 10, 0, longLabel.c_str(), 0, nullptr, nullptr);
    EXPECT_EQ(strlen(b.label), 255u);
}

TEST_F(TextWidgets, TextWidgetsShareOneFont) {
    int before = FontCache::Instance().userCount();
    {
        Label a(0, 0, "a", 0xFFFFFFFF);
        Label b(0, 0, "b", 0xFFFFFFFF);
        EXPECT_EQ(a.font, b.font);
        EXPECT_EQ(FontCache::Instance().userCount(), before + 2);
    }
    EXPECT_EQ(FontCache::Instance().userCount(), before);
}

TEST_F(TextWidgets, LabelCopiesOrRefersToItsText) {
    char status[32] = "first";
    Label copied(0, 0, status, 0xFFFFFFFF);
    Label referring(0, 0, status, false, 0xFFFFFFFF);
    EXPECT_NE(copied.text, status);
    EXPECT_EQ(referring.text, status);
    strcpy(status, "second");
    EXPECT_STREQ(copied.text, "first");
    EXPECT_STREQ(referring.text, "second");
    Label empty(0, 0, nullptr, 0xFFFFFFFF);
    EXPECT_EQ(empty.text, nullptr);
    empty.draw();
}

TEST_F(TextWidgets, NumberLabelShowsItsSourceElseTheStoredValue) {
    int source = 17;
    NumberLabel a(0, 0, 0xFFFFFFFF, &source, 3);
    NumberLabel b(0, 0, 0xFFFFFFFF, nullptr, 3);
    EXPECT_EQ(a.Value(), 17);
    source = 18;
    EXPECT_EQ(a.Value(), 18);
    EXPECT_EQ(b.Value(), 3);
}

TEST_F(TextWidgets, SetFontSizeAndFileKeepTheOtherHalf) {
    Label l(0, 0, "x", 0xFFFFFFFF);
    l.setFontSize(20);
    EXPECT_EQ(l.font->pixelSize(), 20);
    EXPECT_STREQ(l.font->fileName(), "FreeSerif.ttf");
    l.setColour(0xFF00FF00);
    EXPECT_EQ(l.colour, 0xFF00FF00u);
    EXPECT_THROW(l.setFontFile("Missing.ttf"), BasicException);
    EXPECT_EQ(l.font->pixelSize(), 20); // the old font stays after a failure
}

TEST_F(TextWidgets, ButtonDrawsItsFrameAndLabel) {
    Button b(100, 100, 90, 0, 0xFF404080, "Load Demo", 0xFFFFFFFF, nullptr, nullptr);
    GLContext::ClearTo(0, 0, 0, 1);
    drawInterface(&b);
    EXPECT_EQ(gl.Pixel(180, 118) & 0xFFFFFF, 0x404080u); // fill right of the label
    int light = 0;
    for (int y = 100; y < 122; y++)
        for (int x = 105; x < 160; x++)
            light += (gl.Pixel(x, y) & 0xFF) > 0xC0;
    EXPECT_GT(light, 20); // white glyph pixels over the blue fill
}

TEST_F(TextWidgets, LabelDrawsTextAtItsPosition) {
    Label l(300, 300, "WWW", 0xFFFF0000);
    GLContext::ClearTo(0, 0, 0, 1);
    drawInterface(&l);
    int red = 0;
    for (int y = 295; y < 320; y++)
        for (int x = 300; x < 340; x++)
            red += ((gl.Pixel(x, y) >> 16) & 0xFF) > 0x80;
    EXPECT_GT(red, 20);
    EXPECT_EQ(gl.Pixel(360, 305) & 0xFFFFFF, 0u);
}

TEST(TextWidgetFont, MissingInterfaceFontThrowsAndLeavesTheCacheAsItWas) {
    ScratchDir dir(true); // no FreeSerif.ttf here
    GLContext gl;
    int users = FontCache::Instance().userCount();
    EXPECT_THROW(Label(0, 0, "x", 0xFFFFFFFF), BasicException);
    EXPECT_EQ(FontCache::Instance().userCount(), users);
}
