// The demo file's optional content: hidden flags, track names, tempo, loop
// range and markers. Each is written only when set, so a demo without them
// saves as before, and the reader passes over whatever it does not know.
#include <gtest/gtest.h>

#include <string>

#include "demo_builder.h"
#include "demo_writer.h"
#include "scratch_dir.h"

namespace {

const std::string kSettings = "<Settings RunningTime=\"5000\" UseOpenGL=\"true\" NumberOfInputSurfaces=\"0\" "
                              "InputMusicFile=\"\"/>";

struct Extras : ::testing::Test {
    ScratchDir dir;
    DemoStruct demo = EmptyDemo();
    DemoStruct back = EmptyDemo();
    void TearDown() override {
        ReleaseDemo(demo);
        ReleaseDemo(back);
    }
    void SaveAndReload() {
        ASSERT_TRUE(SaveDemoFile(dir.file("out.xml").c_str(), &demo));
        LoadDemoFile(dir.file("out.xml").c_str(), back, true);
    }
    // Loads `demoContent` (the children of Demo after Settings); "" or the message.
    std::string Load(const std::string& demoContent) {
        dir.Write("in.xml", "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n<VorlenDemoFile><Libraries/><Demo>" +
                                kSettings + demoContent + "</Demo></VorlenDemoFile>\n");
        try {
            LoadDemoFile(dir.file("in.xml").c_str(), back, true);
        } catch (const BasicException& e) {
            return e.GetMessage();
        }
        return "";
    }
    void AddMarker(uint32_t time, const char* name) {
        DemoMarker* grown = new DemoMarker[demo.markerCount + 1];
        for (uint32_t m = 0; m < demo.markerCount; m++)
            grown[m] = demo.markers[m];
        grown[demo.markerCount] = {time, CopyString(name)};
        delete[] demo.markers;
        demo.markers = grown;
        demo.markerCount++;
    }
};

TEST_F(Extras, HiddenTracksAndEventsRoundTripAndOnlyTheyCarryTheAttribute) {
    AddTrack(demo);
    AddTrack(demo);
    AddEvent(demo, 0, "l", "F", 0, 100, {}, {});
    AddEvent(demo, 0, "l", "F", 100, 200, {}, {});
    AddEvent(demo, 1, "l", "F", 0, 100, {}, {});
    demo.tracks[1].hidden = true;
    demo.tracks[0].events[1].hidden = true;
    SaveAndReload();
    EXPECT_FALSE(back.tracks[0].hidden);
    EXPECT_TRUE(back.tracks[1].hidden);
    EXPECT_FALSE(back.tracks[0].events[0].hidden);
    EXPECT_TRUE(back.tracks[0].events[1].hidden);
    EXPECT_FALSE(back.tracks[1].events[0].hidden); // a hidden track's events keep their own flag
    const std::string text = dir.Read("out.xml");
    EXPECT_NE(std::string::npos, text.find("    <Track Hidden=\"true\">\n"));
    EXPECT_NE(std::string::npos,
              text.find("<Event EndTime=\"200\" FunctionName=\"F\" Hidden=\"true\" LibraryFileName=\"l\" "
                        "StartTime=\"100\"/>"));
    int flags = 0;
    for (size_t at = text.find("Hidden"); at != std::string::npos; at = text.find("Hidden", at + 1))
        flags++;
    EXPECT_EQ(2, flags);
}

TEST_F(Extras, OnlyTheExactTextTrueHides) {
    ASSERT_EQ("", Load("<Track Hidden=\"True\"><Event LibraryFileName=\"l\" FunctionName=\"F\" StartTime=\"0\" "
                       "EndTime=\"10\" Hidden=\"1\"/></Track><Track Hidden=\"true\"/>"));
    EXPECT_FALSE(back.tracks[0].hidden);
    EXPECT_FALSE(back.tracks[0].events[0].hidden);
    EXPECT_TRUE(back.tracks[1].hidden);
}

TEST_F(Extras, TrackNamesRoundTripWithMarkupAndHighBytes) {
    AddTrack(demo);
    AddTrack(demo);
    AddTrack(demo);
    demo.tracks[0].name = CopyString("Intro <\"&\"> \x93quoted\x94 caf\xE9");
    demo.tracks[2].name = CopyString("");
    SaveAndReload();
    EXPECT_STREQ("Intro <\"&\"> \x93quoted\x94 caf\xE9", back.tracks[0].name);
    EXPECT_EQ(nullptr, back.tracks[1].name);
    EXPECT_EQ(nullptr, back.tracks[2].name); // an empty name is no name
    EXPECT_NE(std::string::npos,
              dir.Read("out.xml").find("<Track Name=\"Intro &lt;&quot;&amp;&quot;> \x93quoted\x94 caf\xE9\"/>"));
}

TEST_F(Extras, TempoRoundTripsExactly) {
    for (double bpm : {120.0, 128.5, 0.1, 174.999999, 1.0 / 3.0 * 360.0}) {
        ReleaseDemo(back);
        demo.tempo = {bpm, 250, 3};
        SaveAndReload();
        EXPECT_EQ(bpm, back.tempo.beatsPerMinute);
        EXPECT_EQ(250u, back.tempo.firstBeat);
        EXPECT_EQ(3u, back.tempo.beatsPerBar);
    }
    EXPECT_NE(std::string::npos,
              dir.Read("out.xml").find("    <Tempo BeatsPerBar=\"3\" BeatsPerMinute=\"120\" FirstBeat=\"250\"/>\n"));
}

TEST_F(Extras, AnUnusableTempoIsNoTempo) {
    for (const char* bpm : {"abc", "-120", "0", "nan", "inf", "1e9", ""}) {
        ReleaseDemo(back);
        ASSERT_EQ("", Load(std::string("<Tempo BeatsPerMinute=\"") + bpm + "\" FirstBeat=\"40\" BeatsPerBar=\"4\"/>"));
        EXPECT_EQ(0.0, back.tempo.beatsPerMinute) << bpm;
        EXPECT_EQ(0u, back.tempo.firstBeat) << bpm;
    }
    ReleaseDemo(back);
    ASSERT_EQ("", Load("<Tempo BeatsPerMinute=\" 90.5x\"/><Tempo BeatsPerMinute=\"60\"/>"));
    EXPECT_EQ(90.5, back.tempo.beatsPerMinute); // the first Tempo counts; a number's prefix reads
    EXPECT_EQ(0u, back.tempo.beatsPerBar);
}

TEST_F(Extras, MarkersRoundTripAndComeBackInTimeOrder) {
    AddMarker(1000, "Intro");
    AddMarker(4000, "Drop \"big\" & <loud>");
    AddMarker(4000, "");
    SaveAndReload();
    ASSERT_EQ(3u, back.markerCount);
    EXPECT_EQ(1000u, back.markers[0].time);
    EXPECT_STREQ("Intro", back.markers[0].name);
    EXPECT_STREQ("Drop \"big\" & <loud>", back.markers[1].name);
    EXPECT_STREQ("", back.markers[2].name);
    EXPECT_EQ(4000u, back.markers[2].time);

    ReleaseDemo(back);
    ASSERT_EQ("", Load("<Markers><Marker Time=\"900\" Name=\"c\"/><Marker Time=\"100\" Name=\"a\"/>"
                       "<Marker Name=\"zero\"/><Marker Time=\"100\" Name=\"b\"/></Markers>"));
    ASSERT_EQ(4u, back.markerCount);
    const char* order[] = {"zero", "a", "b", "c"};
    const uint32_t times[] = {0, 100, 100, 900};
    for (int m = 0; m < 4; m++) {
        EXPECT_STREQ(order[m], back.markers[m].name);
        EXPECT_EQ(times[m], back.markers[m].time);
    }
}

TEST_F(Extras, LoopRangeRoundTrips) {
    demo.hasLoopRange = true;
    demo.loopIn = 1230;
    demo.loopOut = 4560;
    SaveAndReload();
    EXPECT_TRUE(back.hasLoopRange);
    EXPECT_EQ(1230u, back.loopIn);
    EXPECT_EQ(4560u, back.loopOut);
    ReleaseDemo(back);
    ASSERT_EQ("", Load("<LoopRange In=\"5\"/>")); // half a range is none
    EXPECT_FALSE(back.hasLoopRange);
}

// The whole layout with every optional part, pinned byte for byte.
TEST_F(Extras, EveryOptionalPartIsWrittenInItsPlace) {
    AddTrack(demo);
    demo.tracks[0].name = CopyString("Bass");
    demo.tracks[0].hidden = true;
    demo.tempo = {140, 12, 4};
    demo.hasLoopRange = true;
    demo.loopIn = 0;
    demo.loopOut = 8000;
    AddMarker(2000, "Verse");
    uint32_t replaced = 0;
    EXPECT_EQ("<?xml version=\"1.0\" encoding=\"windows-1252\" standalone=\"no\" ?>\n"
              "<VorlenDemoFile>\n\n"
              "  <Libraries/>\n\n"
              "  <Demo>\n"
              "    <Settings InputMusicFile=\"\" NumberOfInputSurfaces=\"0\" RunningTime=\"0\" UseOpenGL=\"false\"/>\n"
              "    <Summary/>\n"
              "    <Tempo BeatsPerBar=\"4\" BeatsPerMinute=\"140\" FirstBeat=\"12\"/>\n"
              "    <LoopRange In=\"0\" Out=\"8000\"/>\n"
              "    <Markers>\n"
              "      <Marker Name=\"Verse\" Time=\"2000\"/>\n"
              "    </Markers>\n"
              "    <Track Hidden=\"true\" Name=\"Bass\"/>\n"
              "  </Demo>\n\n"
              "</VorlenDemoFile>\n",
              WriteDemoXml(demo, replaced));
}

TEST_F(Extras, ADemoWithoutThemWritesNoneOfThem) {
    AddTrack(demo);
    AddEvent(demo, 0, "l", "F", 0, 100, {1}, {2});
    uint32_t replaced = 0;
    const std::string text = WriteDemoXml(demo, replaced);
    for (const char* name : {"Hidden", " Name=", "Tempo", "LoopRange", "Marker"})
        EXPECT_EQ(std::string::npos, text.find(name)) << name;
}

// What a later version might add must not stop this one: unknown elements and
// attributes wherever the format allows children of its own choosing.
TEST_F(Extras, UnknownElementsAndAttributesAreSkipped) {
    dir.Write("future.xml",
              "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n"
              "<VorlenDemoFile Version=\"9\"><Libraries Count=\"1\"><Library FileName=\"l\" Hash=\"ab\">"
              "<Function Name=\"F\" Kind=\"x\"><Param Name=\"A\" Range=\"0-9\"/></Function></Library></Libraries>"
              "<Palette><Colour Name=\"red\" Value=\"#f00\"/></Palette>"
              "<Demo Flavour=\"new\"><Settings RunningTime=\"700\" UseOpenGL=\"true\" NumberOfInputSurfaces=\"0\" "
              "InputMusicFile=\"m.ogg\" Sync=\"audio\"/><Summary Lang=\"en\"><Author>me</Author><Licence>CC</Licence>"
              "</Summary><Camera><Path Points=\"3\"/></Camera><Tempo BeatsPerMinute=\"100\" Swing=\"0.2\"/>"
              "<Markers Colour=\"blue\"><Marker Time=\"10\" Name=\"m\" Colour=\"red\"/></Markers>"
              "<Track Locked=\"true\" Colour=\"green\"><Event LibraryFileName=\"l\" FunctionName=\"F\" StartTime=\"0\" "
              "EndTime=\"100\" Easing=\"cubic\"><param start=\"1\" end=\"2\" curve=\"3\"/><Note>hi</Note></Event>"
              "</Track></Demo><Thumbnail Format=\"png\">AAAA</Thumbnail></VorlenDemoFile>\n");
    LoadDemoFile(dir.file("future.xml").c_str(), back, true);
    EXPECT_EQ(700u, back.runningTime);
    EXPECT_STREQ("me", back.author);
    EXPECT_EQ(100.0, back.tempo.beatsPerMinute);
    ASSERT_EQ(1u, back.markerCount);
    ASSERT_EQ(1u, back.trackCount);
    ASSERT_EQ(1u, back.tracks[0].eventCount);
    EXPECT_EQ(1u, back.tracks[0].events[0].paramCount);
    EXPECT_EQ(2, back.tracks[0].events[0].endValues[0]);
    ASSERT_EQ(1u, back.libraries[0].functions[0].paramCount);
    EXPECT_STREQ("A", back.libraries[0].functions[0].paramNames[0]);
}

} // namespace
