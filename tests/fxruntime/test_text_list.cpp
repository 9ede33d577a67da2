// TextList.txt: fonts and texts read into the text list, its edge cases and
// failures, and its release.
#include <fstream>
#include <string>

#include <GL/glew.h>
#include <gtest/gtest.h>

#include "font.h"
#include "fxruntime_internal.h"
#include "gl_context.h"
#include "scratch_dir.h"

namespace {
const char* const kSerif = "/usr/share/fonts/truetype/freefont/FreeSerif.ttf";
const char* const kSans = "/usr/share/fonts/truetype/freefont/FreeSans.ttf";

class TextListTest : public ::testing::Test {
  protected:
    GLContext gl;
    ScratchDir dir{true};
    void SetUp() override { ReleaseTextList(); }
    void TearDown() override { ReleaseTextList(); }
    void Write(const std::string& content) { dir.Write("TextList.txt", content); }
};

std::string LoadMessage() {
    try {
        LoadTextList();
    } catch (const BasicException& e) {
        return e.GetMessage();
    }
    return "(no exception)";
}
} // namespace

TEST_F(TextListTest, FontsAndTextsAreReadInFileOrderWithTheirLineFeeds) {
    Write(std::string("2\n") + kSerif + " " + kSans + "\n2\nHello demo\nSecond line\n");
    LoadTextList();
    ASSERT_EQ(TextFontCount(), 2);
    EXPECT_STREQ(GetTextFont(0)->fileName(), kSerif);
    EXPECT_STREQ(GetTextFont(1)->fileName(), kSans);
    EXPECT_EQ(GetTextFont(0)->pixelSize(), 31);
    EXPECT_EQ(GetTextFont(0)->atlasSide(), 512);
    ASSERT_EQ(TextCount(), 2);
    EXPECT_STREQ(GetText(0), "Hello demo\n");
    EXPECT_STREQ(GetText(1), "Second line\n");
}

TEST_F(TextListTest, EmptyLinesAfterTheCountAreSkippedButNotBetweenTexts) {
    Write(std::string("1 ") + kSerif + "\n3\n\n\n   First\n\nThird\n");
    LoadTextList();
    ASSERT_EQ(TextCount(), 3);
    EXPECT_STREQ(GetText(0), "First\n");
    EXPECT_STREQ(GetText(1), "\n");
    EXPECT_STREQ(GetText(2), "Third\n");
}

TEST_F(TextListTest, LineOf1500CharactersBecomesTwoTexts) {
    std::string line(1500, 'w');
    Write("0\n2\n" + line + "\nnext\n");
    LoadTextList();
    ASSERT_EQ(TextCount(), 2);
    EXPECT_EQ(std::string(GetText(0)), std::string(1023, 'w'));
    EXPECT_EQ(std::string(GetText(1)), std::string(477, 'w') + "\n");
}

TEST_F(TextListTest, FewerTextsThanAnnouncedKeepWhatWasRead) {
    Write("0\n5\nonly one\n");
    LoadTextList();
    ASSERT_EQ(TextCount(), 2);
    EXPECT_STREQ(GetText(0), "only one\n");
    EXPECT_STREQ(GetText(1), ""); // the text being read when the file ended
    Write("0\n2\nno line feed");
    LoadTextList();
    ASSERT_EQ(TextCount(), 1);
    EXPECT_STREQ(GetText(0), "no line feed");
}

TEST_F(TextListTest, MissingFileOrCountsThatDoNotConvertLeaveTheTablesEmpty) {
    LoadTextList();
    EXPECT_EQ(TextFontCount(), 0);
    EXPECT_EQ(TextCount(), 0);
    Write("fonts: none\n");
    LoadTextList();
    EXPECT_EQ(TextCount(), 0);
    Write("0\nmany\ntext\n");
    LoadTextList();
    EXPECT_EQ(TextCount(), 0);
}

TEST_F(TextListTest, HugeDeclaredCountsAllocateOnlyWhatIsThere) {
    Write("0\n2000000000\na\nb\n");
    LoadTextList();
    ASSERT_EQ(TextCount(), 3);
    EXPECT_STREQ(GetText(1), "b\n");
    EXPECT_STREQ(GetText(2), "");
}

TEST_F(TextListTest, FontThatFailsNamesItsPathAndKeepsTheFontsBefore) {
    Write(std::string("3 ") + kSerif + " nothere.ttf " + kSans + "\n1\ntext\n");
    EXPECT_EQ(LoadMessage(), "Could not load font nothere.ttf !");
    EXPECT_EQ(TextFontCount(), 1);
    EXPECT_EQ(TextCount(), 0);
}

TEST_F(TextListTest, OverlongFontPathIsRejectedWithAClearMessage) {
    Write("1 " + std::string(300, 'f') + ".ttf\n0\n");
    EXPECT_EQ(LoadMessage().rfind("TextList.txt: a path is longer than 255 characters", 0), 0u);
}

TEST_F(TextListTest, LoadingAgainStartsFromEmptyTables) {
    Write(std::string("1 ") + kSerif + "\n2\na\nb\n");
    LoadTextList();
    GLuint atlas = GetTextFont(0)->texture();
    Write("0\n1\nc\n");
    LoadTextList();
    EXPECT_EQ(TextFontCount(), 0);
    ASSERT_EQ(TextCount(), 1);
    EXPECT_STREQ(GetText(0), "c\n");
    EXPECT_FALSE(glIsTexture(atlas)); // the old font was destroyed
}

TEST_F(TextListTest, IndicesOutsideTheTablesGiveNothing) {
    Write(std::string("1 ") + kSerif + "\n1\na\n");
    LoadTextList();
    EXPECT_EQ(GetText(-1), nullptr);
    EXPECT_EQ(GetText(1), nullptr);
    EXPECT_EQ(GetTextFont(-1), nullptr);
    EXPECT_EQ(GetTextFont(1), nullptr);
    ReleaseTextList();
    EXPECT_EQ(GetText(0), nullptr);
    EXPECT_EQ(TextFontCount(), 0);
}
