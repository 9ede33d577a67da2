// The lists' reading steps on their own, read from memory: what each hands to
// its loader, in which order, and where it stops.
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "fxruntime.h"
#include "list_parsers.h"

namespace {
typedef std::vector<std::pair<std::string, long>> Entries;

// A list over `text`, which must outlive it.
FILE* Memory(const std::string& text) {
    static char empty = 0;
    return fmemopen(text.empty() ? &empty : (void*)text.data(), text.size(), "r");
}

Entries ImageEntries(const std::string& text, size_t stopAfter = 1000) {
    ListReader list(Memory(text));
    Entries out;
    ParseImageList(list, [&](const std::string& path, long complex) {
        out.emplace_back(path, complex);
        return out.size() < stopAfter;
    });
    return out;
}
} // namespace

TEST(ListParsers, MemoryStreamReadsLikeAFileAndNullIsAListNotOpened) {
    std::string text = "a.png 1";
    ListReader list(Memory(text));
    EXPECT_TRUE(list.IsOpen());
    ListReader none((FILE*)nullptr);
    EXPECT_FALSE(none.IsOpen());
    std::string token;
    EXPECT_FALSE(none.ReadToken(token));
}

TEST(ListParsers, ImageListGivesPairsUntilOneDoesNotReadOrTheLoaderStops) {
    EXPECT_EQ(ImageEntries("data/logo.png 0\ndata/plasma.png 1\r\nbar.png -3 tail.png"),
              (Entries{{"data/logo.png", 0}, {"data/plasma.png", 1}, {"bar.png", -3}}));
    // A flag that is not a number ends the list, and the entry with it.
    EXPECT_EQ(ImageEntries("a.png 1 b.png yes c.png 0"), (Entries{{"a.png", 1}}));
    EXPECT_EQ(ImageEntries("a.png 1 b.png 0 c.png 1", 2), (Entries{{"a.png", 1}, {"b.png", 0}}));
    EXPECT_EQ(ImageEntries(""), Entries{});
    // A number directly after a token's digits belongs to the token.
    EXPECT_EQ(ImageEntries("a0 5b 6"), (Entries{{"a0", 5}, {"b", 6}}));
}

TEST(ListParsers, OverlongPathRaisesBeforeItsLoaderSeesIt) {
    std::string text = "ok.png 0 " + std::string(256, 'p') + " 0";
    Entries seen;
    ListReader list(Memory(text));
    EXPECT_THROW(ParseImageList(list,
                                [&](const std::string& path, long complex) {
                                    seen.emplace_back(path, complex);
                                    return true;
                                }),
                 BasicException);
    EXPECT_EQ(seen, (Entries{{"ok.png", 0}}));
}

TEST(ListParsers, AnimListMarksEachBeginAndStopsAtAnEnderOtherThanEnd) {
    std::string text = "skip 1 BEGIN a.png 80 b.png 40 END junk BEGIN c.png -5 STOP BEGIN d.png 1 END";
    ListReader list(Memory(text));
    std::vector<std::string> events;
    ParseAnimList(
        list, [&] { events.push_back("BEGIN"); },
        [&](const std::string& path, long duration) { events.push_back(path + "=" + std::to_string(duration)); });
    EXPECT_EQ(events, (std::vector<std::string>{"BEGIN", "a.png=80", "b.png=40", "BEGIN", "c.png=-5"}));
}

TEST(ListParsers, GlyphMapTakesTheFirstNonBlankCharacterAfterEachPath) {
    std::string text = "A.png A\nB.png \t\nB\nhigh.png \xe9 tail.png";
    ListReader list(Memory(text));
    std::vector<std::pair<std::string, int>> glyphs;
    ParseGlyphMap(list, [&](const std::string& path, int character) {
        glyphs.emplace_back(path, character);
        return true;
    });
    EXPECT_EQ(glyphs, (std::vector<std::pair<std::string, int>>{{"A.png", 'A'}, {"B.png", 'B'}, {"high.png", 0xe9}}));

    std::string two = "a.png a b.png b";
    ListReader stopping(Memory(two));
    int calls = 0;
    ParseGlyphMap(stopping, [&](const std::string&, int) { return ++calls < 1; });
    EXPECT_EQ(calls, 1);
}

TEST(ListParsers, TextListReadsTheAnnouncedFontsThenWholeLinesCutAt1023) {
    std::string text = "2\none.ttf two.ttf three.ttf\n";
    // "three.ttf" is not a number, so there are no texts.
    std::vector<std::string> fonts, texts;
    auto font = [&](const std::string& path) { fonts.push_back(path); };
    auto line = [&](const std::string& t) { texts.push_back(t); };
    {
        ListReader list(Memory(text));
        ParseTextList(list, font, line);
    }
    EXPECT_EQ(fonts, (std::vector<std::string>{"one.ttf", "two.ttf"}));
    EXPECT_TRUE(texts.empty());

    fonts.clear();
    std::string long2 = "0\n3\n\n" + std::string(1500, 'x') + "\nend";
    {
        ListReader list(Memory(long2));
        ParseTextList(list, font, line);
    }
    EXPECT_TRUE(fonts.empty());
    // Blank lines after the count are skipped; 1500 characters make a text of
    // 1023 and one of the remaining 477 with the line feed; the count ends it.
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0], std::string(1023, 'x'));
    EXPECT_EQ(texts[1], std::string(477, 'x') + "\n");
    EXPECT_EQ(texts[2], "end");
}

TEST(ListParsers, TextListWithHugeOrNegativeCountsReadsOnlyWhatIsThere) {
    std::vector<std::string> fonts, texts;
    std::string huge = "99999999999999999999\na.ttf\n99999999999999999999 only\n";
    {
        ListReader list(Memory(huge));
        ParseTextList(
            list, [&](const std::string& p) { fonts.push_back(p); }, [&](const std::string& t) { texts.push_back(t); });
    }
    // The second count is read as a font path, so no texts follow.
    EXPECT_EQ(fonts, (std::vector<std::string>{"a.ttf", "99999999999999999999", "only"}));
    EXPECT_TRUE(texts.empty());

    fonts.clear();
    std::string negative = "-1\n-5\nnot read\n";
    {
        ListReader list(Memory(negative));
        ParseTextList(
            list, [&](const std::string& p) { fonts.push_back(p); }, [&](const std::string& t) { texts.push_back(t); });
    }
    EXPECT_TRUE(fonts.empty());
    EXPECT_TRUE(texts.empty());
}
