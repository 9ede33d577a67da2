// Bounded reading of the runtime's list files.
#include <climits>
#include <string>

#include <gtest/gtest.h>

#include "fxruntime_internal.h"
#include "scratch_dir.h"

TEST(ListReader, ReadsTokensAndNumbersAcrossAnyWhitespace) {
    ScratchDir dir;
    dir.Write("list.txt", "  first.bmp\t 12\n\n second.png -1 ");
    ListReader list(dir.file("list.txt").c_str());
    ASSERT_TRUE(list.IsOpen());
    std::string token;
    long value = 0;
    ASSERT_TRUE(list.ReadToken(token));
    EXPECT_EQ(token, "first.bmp");
    ASSERT_TRUE(list.ReadLong(value));
    EXPECT_EQ(value, 12);
    ASSERT_TRUE(list.ReadToken(token));
    EXPECT_EQ(token, "second.png");
    ASSERT_TRUE(list.ReadLong(value));
    EXPECT_EQ(value, -1);
    EXPECT_FALSE(list.ReadToken(token));
    EXPECT_FALSE(list.ReadLong(value));
}

TEST(ListReader, NumberThatDoesNotConvertLeavesTheTokenToRead) {
    ScratchDir dir;
    dir.Write("list.txt", "END BEGIN");
    ListReader list(dir.file("list.txt").c_str());
    long value = 77;
    EXPECT_FALSE(list.ReadLong(value));
    EXPECT_EQ(value, 77);
    std::string token;
    ASSERT_TRUE(list.ReadToken(token));
    EXPECT_EQ(token, "END");
}

TEST(ListReader, HugeNumbersSaturateInsteadOfOverflowing) {
    ScratchDir dir;
    dir.Write("list.txt", "99999999999999999999999 -99999999999999999999999");
    ListReader list(dir.file("list.txt").c_str());
    long value = 0;
    ASSERT_TRUE(list.ReadLong(value));
    EXPECT_EQ(value, LONG_MAX);
    ASSERT_TRUE(list.ReadLong(value));
    EXPECT_EQ(value, LONG_MIN);
}

TEST(ListReader, TokenLongerThanAnyBufferIsConsumedWhole) {
    ScratchDir dir;
    std::string huge(100000, 'x');
    dir.Write("list.txt", huge + " next");
    ListReader list(dir.file("list.txt").c_str());
    std::string token;
    ASSERT_TRUE(list.ReadToken(token));
    EXPECT_EQ(token.size(), ListReader::kMaxStoredToken);
    ASSERT_TRUE(list.ReadToken(token));
    EXPECT_EQ(token, "next");
}

TEST(ListReader, ReadCharReturnsBlanksToo) {
    ScratchDir dir;
    dir.Write("list.txt", "a \n");
    ListReader list(dir.file("list.txt").c_str());
    int c = 0;
    ASSERT_TRUE(list.ReadChar(c));
    EXPECT_EQ(c, 'a');
    ASSERT_TRUE(list.ReadChar(c));
    EXPECT_EQ(c, ' ');
    ASSERT_TRUE(list.ReadChar(c));
    EXPECT_EQ(c, '\n');
    EXPECT_FALSE(list.ReadChar(c));
}

TEST(ListReader, MissingFileIsNotOpenAndReadsNothing) {
    ListReader list("/nonexistent/list.txt");
    EXPECT_FALSE(list.IsOpen());
    std::string token;
    EXPECT_FALSE(list.ReadToken(token));
}

TEST(ListReader, PathOfMoreThan255CharactersIsRejectedWithItsListName) {
    EXPECT_NO_THROW(CheckPathLength(std::string(255, 'p'), "ImageList.txt"));
    try {
        CheckPathLength(std::string(256, 'p'), "ImageList.txt");
        FAIL() << "no exception";
    } catch (const BasicException& e) {
        EXPECT_EQ(
            std::string(e.GetMessage()).rfind("ImageList.txt: a path is longer than 255 characters: ppp", 0),
            0u)
            << e.GetMessage();
    }
}
