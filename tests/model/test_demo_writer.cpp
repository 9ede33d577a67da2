// The streaming writer: byte for byte the layout files have always had, and
// text it cannot store as it is.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "demo_builder.h"
#include "demo_writer.h"
#include "scratch_dir.h"

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

const std::string kData = TRELLIC_SOURCE_DIR "/tests/model/data/";

// The example demo, loaded and saved: the same bytes the program wrote before
// its writer streamed (kept in tests/model/data, made once by that writer).
TEST(DemoWriterLayout, ExampleDemoSavesAsItAlwaysHas) {
    ScratchDir dir;
    DemoStruct demo = EmptyDemo();
    LoadDemoFile(TRELLIC_SOURCE_DIR "/examples/Fenk.xml", demo, true);
    ASSERT_TRUE(SaveDemoFile(dir.file("Fenk.xml").c_str(), &demo));
    const std::string reference = ReadFile(kData + "fenk_saved_reference.xml");
    ASSERT_GT(reference.size(), 15000u);
    EXPECT_EQ(reference, dir.Read("Fenk.xml"));
    // And saving what was saved changes nothing.
    DemoStruct again = EmptyDemo();
    LoadDemoFile(dir.file("Fenk.xml").c_str(), again, true);
    uint32_t replaced = 1;
    EXPECT_EQ(reference, WriteDemoXml(again, replaced));
    EXPECT_EQ(0u, replaced);
    ReleaseDemo(again);
    ReleaseDemo(demo);
}

// Markup characters, white space and high bytes in attributes and texts, a null
// string, an empty track and extreme numbers, against the earlier writer's bytes.
TEST(DemoWriterLayout, EscapesAndEmptyElementsAsBefore) {
    DemoStruct d = EmptyDemo();
    AddLibrary(d, "lib<&>\"'\t\n\r x.so", {{"F\xA0\xFF\xE9", {"  a  b  ", ""}}});
    FreeString(d.libraries[0].functions[0].paramNames[1]); // a name never given
    d.inputMusicFile = CopyString("");
    d.author = CopyString("A<&>\"'\t\n\r x ]]> y");
    d.group = CopyString("");
    d.extraInfo = CopyString("  lead\n\ntrail  ");
    AddTrack(d);
    AddTrack(d);
    AddEvent(d, 0, "l", "", 10, 4294967290u, {-2147483647 - 1}, {2147483647});
    FreeString(d.tracks[0].events[0].functionName);
    d.runningTime = 5;
    uint32_t replaced = 1;
    EXPECT_EQ(ReadFile(kData + "tricky_saved_reference.xml"), WriteDemoXml(d, replaced));
    EXPECT_EQ(0u, replaced);
    ReleaseDemo(d);
}

// A text of white space with a line break puts the next tag on its line, less
// indented by one level for every two characters after the break.
TEST(DemoWriterLayout, WhiteSpaceTextsKeepTheOldLineBreaks) {
    DemoStruct d = EmptyDemo();
    d.author = CopyString("\n  ");
    d.group = CopyString("g");
    d.extraInfo = CopyString("\r ");
    uint32_t replaced = 0;
    EXPECT_NE(std::string::npos, WriteDemoXml(d, replaced)
                                     .find("    <Summary>\n      <Author>\n  </Author>    <Group>g</Group>\n"
                                           "      <ExtraInfo>&#xD; </ExtraInfo>  </Summary>\n  </Demo>\n"));
    ReleaseDemo(d);
}

// Codes 1-31 other than tab, line feed and carriage return cannot be in an XML
// 1.0 file: each is written as '?' and counted, and the save still succeeds.
TEST(DemoWriterText, ControlCharactersBecomeQuestionMarksAndAreCounted) {
    ScratchDir dir;
    DemoStruct d = EmptyDemo();
    AddLibrary(d, "a\x01z.so", {{"F\x1F", {"p\x7F"}}});
    d.author = CopyString("ctrl-a\x01 tab\t lf\n cr\r esc\x1B");
    d.inputMusicFile = CopyString("m\tu\ns\ri\x02" "c");
    SaveReport report;
    report.replacedCharacters = 99;
    ASSERT_TRUE(SaveDemoFile(dir.file("c.xml").c_str(), &d, nullptr, &report));
    EXPECT_EQ(5u, report.replacedCharacters);
    DemoStruct back = EmptyDemo();
    LoadDemoFile(dir.file("c.xml").c_str(), back, true);
    EXPECT_STREQ("a?z.so", back.libraries[0].fileName);
    EXPECT_STREQ("F?", back.libraries[0].functions[0].name);
    EXPECT_STREQ("p\x7F", back.libraries[0].functions[0].paramNames[0]); // DEL is a valid character
    EXPECT_STREQ("ctrl-a? tab\t lf\n cr\r esc?", back.author);
    EXPECT_STREQ("m\tu\ns\ri?c", back.inputMusicFile);
    EXPECT_NE(std::string::npos, dir.Read("c.xml").find("InputMusicFile=\"m&#x9;u&#xA;s&#xD;i?c\""));
    ReleaseDemo(back);
    ReleaseDemo(d);
}

} // namespace
