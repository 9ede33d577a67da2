// The demo file: reading rules, failure messages, and save/load round trips.
#include <gtest/gtest.h>

#include <string>

#include "demo_builder.h"
#include "scratch_dir.h"

namespace {

const char* kGeneral = "An error occurred while loading demo from XML file. May have something to with "
                       "corrupt XML, not 100% sure...";

std::string Wrap(const std::string& libraries, const std::string& settings, const std::string& rest) {
    return "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n<VorlenDemoFile><Libraries>" + libraries +
           "</Libraries><Demo>" + settings + rest + "</Demo></VorlenDemoFile>\n";
}

const std::string kSettings = "<Settings RunningTime=\"5000\" UseOpenGL=\"true\" NumberOfInputSurfaces=\"0\" "
                              "InputMusicFile=\"m.ogg\"/>";

struct FileFixture : ::testing::Test {
    ScratchDir dir;
    DemoStruct demo = EmptyDemo();
    void TearDown() override { ReleaseDemo(demo); }

    // Loads `content`; returns the exception message, or "" when it loaded.
    std::string Load(const std::string& content, bool descriptive = true) {
        dir.Write("demo.xml", content);
        try {
            LoadDemoFile(dir.file("demo.xml").c_str(), demo, descriptive);
        } catch (const BasicException& e) {
            return e.GetMessage();
        }
        return "";
    }
};

TEST_F(FileFixture, ReadsLibrariesFunctionsAndParameterNames) {
    ASSERT_EQ("",
              Load(Wrap("<Library FileName=\"libFenk.so\"><Function Name=\"Image\"><Param Name=\"ImageNr\"/>"
                        "<Param Name=\"PosX\"/></Function><Function Name=\"Clear\"/></Library>"
                        "<Library FileName=\"other.so\"/>",
                        kSettings, "")));
    ASSERT_EQ(2u, demo.libraryCount);
    EXPECT_STREQ("libFenk.so", demo.libraries[0].fileName);
    ASSERT_EQ(2u, demo.libraries[0].functionCount);
    EXPECT_STREQ("Image", demo.libraries[0].functions[0].name);
    ASSERT_EQ(2u, demo.libraries[0].functions[0].paramCount);
    EXPECT_STREQ("PosX", demo.libraries[0].functions[0].paramNames[1]);
    EXPECT_EQ(0u, demo.libraries[0].functions[1].paramCount);
    EXPECT_EQ(0u, demo.libraries[1].functionCount);
    EXPECT_EQ(5000u, demo.runningTime);
    EXPECT_TRUE(demo.useOpenGL);
    EXPECT_STREQ("m.ogg", demo.inputMusicFile);
}

TEST_F(FileFixture, WithoutDescriptiveDataNamesAndSummaryStayAbsent) {
    ASSERT_EQ("",
              Load(Wrap("<Library FileName=\"l\"><Function Name=\"F\"><Param Name=\"A\"/><Param Name=\"B\"/>"
                        "</Function></Library>",
                        kSettings, "<Summary><Author>me</Author><Group>us</Group></Summary>"),
                   false));
    const EffectFunction& fn = demo.libraries[0].functions[0];
    ASSERT_EQ(2u, fn.paramCount);
    ASSERT_NE(nullptr, fn.paramNames);
    EXPECT_EQ(nullptr, fn.paramNames[0]);
    EXPECT_EQ(nullptr, fn.paramNames[1]);
    EXPECT_EQ(nullptr, demo.author);
    EXPECT_EQ(nullptr, demo.group);
}

TEST_F(FileFixture, AnyTrackChildIsAnEventButOnlyLowerCaseParamIsAParameter) {
    ASSERT_EQ(
        "", Load(Wrap(
                "", kSettings,
                "<Track><Event LibraryFileName=\"l\" FunctionName=\"F\" StartTime=\"0\" EndTime=\"10\">"
                "<param start=\"1\" end=\"2\"/><Param start=\"7\" end=\"8\"/><param start=\"-3\" end=\"4\"/>"
                "</Event><Other LibraryFileName=\"l\" FunctionName=\"G\" StartTime=\"20\" EndTime=\"30\"/>"
                "</Track>")));
    ASSERT_EQ(1u, demo.trackCount);
    ASSERT_EQ(2u, demo.tracks[0].eventCount);
    const DemoEvent& e = demo.tracks[0].events[0];
    ASSERT_EQ(2u, e.paramCount);
    EXPECT_EQ(1, e.startValues[0]);
    EXPECT_EQ(2, e.endValues[0]);
    EXPECT_EQ(-3, e.startValues[1]);
    EXPECT_STREQ("G", demo.tracks[0].events[1].functionName);
    EXPECT_EQ(0u, demo.tracks[0].events[1].paramCount);
    EXPECT_EQ(nullptr, demo.tracks[0].events[1].startValues);
}

TEST_F(FileFixture, TimesRoundDownToTensAsUnsigned) {
    ASSERT_EQ("", Load(Wrap("", kSettings,
                            "<Track><Event LibraryFileName=\"l\" FunctionName=\"F\" StartTime=\"1234\" "
                            "EndTime=\"-5\"/></Track>")));
    EXPECT_EQ(1230u, demo.tracks[0].events[0].startTime);
    EXPECT_EQ(4294967290u, demo.tracks[0].events[0].endTime);
}

TEST_F(FileFixture, NumbersReadLikeDecimalPrefixes) {
    ASSERT_EQ("",
              Load(Wrap("",
                        "<Settings RunningTime=\"  12abc\" UseOpenGL=\"True\" NumberOfInputSurfaces=\"x\" "
                        "InputMusicFile=\"\"/>",
                        "")));
    EXPECT_EQ(12u, demo.runningTime);
    EXPECT_FALSE(demo.useOpenGL); // only the exact text "true" counts
    EXPECT_EQ(0u, demo.inputSurfaceCount);
    EXPECT_STREQ("", demo.inputMusicFile);
}

TEST_F(FileFixture, EmptyRunningTimeReadsAsZero) {
    ASSERT_EQ("", Load(Wrap("",
                            "<Settings RunningTime=\"\" UseOpenGL=\"false\" NumberOfInputSurfaces=\"1\" "
                            "InputMusicFile=\"a\"/>",
                            "")));
    EXPECT_EQ(0u, demo.runningTime);
    EXPECT_EQ(1u, demo.inputSurfaceCount);
}

TEST_F(FileFixture, ReadingLinksNeighbouringEvents) {
    ASSERT_EQ(
        "",
        Load(Wrap("", kSettings,
                  "<Track><Event LibraryFileName=\"l\" FunctionName=\"F\" StartTime=\"0\" EndTime=\"1000\">"
                  "<param start=\"0\" end=\"100\"/></Event>"
                  "<Event LibraryFileName=\"l\" FunctionName=\"F\" StartTime=\"1000\" EndTime=\"2000\">"
                  "<param start=\"100\" end=\"300\"/></Event>"
                  "<Event LibraryFileName=\"l\" FunctionName=\"F\" StartTime=\"2000\" EndTime=\"3000\">"
                  "<param start=\"301\" end=\"0\"/></Event></Track>")));
    EXPECT_TRUE(demo.tracks[0].events[0].continuesIntoNext);
    EXPECT_FALSE(demo.tracks[0].events[1].continuesIntoNext);
    EXPECT_FALSE(demo.tracks[0].events[2].continuesIntoNext);
}

TEST_F(FileFixture, MissingFileNamesThePath) {
    std::string path = dir.file("nothing.xml");
    try {
        LoadDemoFile(path.c_str(), demo, true);
        FAIL() << "loaded a missing file";
    } catch (const BasicException& e) {
        EXPECT_EQ("Couldn't load the demo " + path + ", does this file exists?", e.GetMessage());
    }
}

TEST_F(FileFixture, FailuresGiveTheGeneralReadingMessage) {
    EXPECT_EQ(kGeneral, Load("<VorlenDemoFile><Demo><Settings RunningTime=\"1\""));
    EXPECT_EQ(kGeneral, Load(""));
    EXPECT_EQ(kGeneral, Load(Wrap("", "", "")));
    EXPECT_EQ(
        kGeneral,
        Load(Wrap("", "<Settings RunningTime=\"1\" UseOpenGL=\"true\" NumberOfInputSurfaces=\"0\"/>", "")));
    EXPECT_EQ(kGeneral, Load(Wrap("<Library><Function Name=\"F\"/></Library>", kSettings, "")));
    EXPECT_EQ(kGeneral, Load(Wrap("", kSettings,
                                  "<Track><Event LibraryFileName=\"l\" FunctionName=\"F\" StartTime=\"0\" "
                                  "EndTime=\"1\"><param start=\"1\"/></Event></Track>")));
}

TEST_F(FileFixture, ExternalEntitiesAreNeverRead) {
    dir.Write("secret.txt", "SECRET");
    std::string content = "<?xml version=\"1.0\"?><!DOCTYPE VorlenDemoFile [<!ENTITY x SYSTEM \"" +
                          dir.file("secret.txt") + "\">]>" + "<VorlenDemoFile><Demo>" + kSettings +
                          "<Summary><Author>&x;</Author></Summary></Demo>"
                          "</VorlenDemoFile>";
    EXPECT_EQ(kGeneral, Load(content));
    EXPECT_TRUE(demo.author == nullptr || std::string(demo.author).find("SECRET") == std::string::npos);
}

TEST_F(FileFixture, EntityExpansionBombIsRefused) {
    std::string entities = "<!ENTITY a0 \"xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx\">";
    for (int i = 1; i < 10; i++) {
        std::string prev = "&a" + std::to_string(i - 1) + ";";
        std::string body;
        for (int k = 0; k < 10; k++)
            body += prev;
        entities += "<!ENTITY a" + std::to_string(i) + " \"" + body + "\">";
    }
    std::string content = "<?xml version=\"1.0\"?><!DOCTYPE VorlenDemoFile [" + entities + "]>" +
                          "<VorlenDemoFile><Demo>" + kSettings +
                          "<Summary><Author>&a9;</Author></Summary></Demo></VorlenDemoFile>";
    EXPECT_EQ(kGeneral, Load(content));
}

TEST_F(FileFixture, AnyDocumentTypeIsRefused) {
    EXPECT_EQ(kGeneral, Load("<?xml version=\"1.0\"?><!DOCTYPE VorlenDemoFile><VorlenDemoFile><Demo>" +
                             kSettings + "</Demo></VorlenDemoFile>"));
    EXPECT_EQ(kGeneral, Load("<!DOCTYPE VorlenDemoFile SYSTEM \"nowhere.dtd\"><VorlenDemoFile><Demo>" + kSettings +
                             "</Demo></VorlenDemoFile>"));
    EXPECT_EQ(kGeneral, Load("<!DOCTYPE VorlenDemoFile [<!ENTITY e \"x\">]><VorlenDemoFile><Demo>" + kSettings +
                             "</Demo></VorlenDemoFile>"));
    // Without the DOCTYPE the same file loads.
    EXPECT_EQ("", Load("<VorlenDemoFile><Demo>" + kSettings + "</Demo></VorlenDemoFile>"));
}

// A 90 KB file whose nested entities stay far under the expansion count limit
// (1,110 expansions) yet would expand to 90 MB of Author text: refused at the
// DOCTYPE, before anything is expanded.
TEST_F(FileFixture, NestedEntityAmplificationIsRefusedAtTheDocumentType) {
    std::string entities = "<!ENTITY a0 \"" + std::string(90000, 'x') + "\">";
    for (int i = 1; i <= 3; i++) {
        std::string body;
        for (int k = 0; k < 10; k++)
            body += "&a" + std::to_string(i - 1) + ";";
        entities += "<!ENTITY a" + std::to_string(i) + " \"" + body + "\">";
    }
    std::string content = "<?xml version=\"1.0\"?><!DOCTYPE VorlenDemoFile [" + entities + "]>" +
                          "<VorlenDemoFile><Demo>" + kSettings +
                          "<Summary><Author>&a3;</Author></Summary></Demo></VorlenDemoFile>";
    EXPECT_EQ(kGeneral, Load(content));
    EXPECT_EQ(nullptr, demo.author);
}

// [SECTION] Round trips

struct RoundTrip : FileFixture {
    DemoStruct back = EmptyDemo();
    void TearDown() override {
        ReleaseDemo(back);
        FileFixture::TearDown();
    }
    void SaveAndReload() {
        ASSERT_TRUE(SaveDemoFile(dir.file("out.xml").c_str(), &demo));
        LoadDemoFile(dir.file("out.xml").c_str(), back, true);
    }
};

TEST_F(RoundTrip, EverythingStoredComesBack) {
    AddLibrary(demo, "libFenk.so", {{"Image", {"ImageNr", "PosX", "PosY"}}, {"Clear", {}}});
    AddLibrary(demo, "./other.so", {{"Wave", {"A"}}});
    AddTrack(demo);
    AddTrack(demo);
    AddTrack(demo);
    AddEvent(demo, 0, "libFenk.so", "Image", 0, 1000, {1, -4000, 2147483647}, {2, 4000, -2147483647 - 1});
    AddEvent(demo, 0, "libFenk.so", "Image", 1000, 2500, {2, 4000, -2147483647 - 1}, {3, 0, 0});
    AddEvent(demo, 2, "libFenk.so", "Clear", 30, 40, {}, {});
    demo.runningTime = 4294967290u;
    demo.useOpenGL = true;
    demo.inputSurfaceCount = 3;
    demo.inputMusicFile = CopyString("music/tune.ogg");
    demo.author = CopyString("An <author> & \"friends\"");
    demo.group = CopyString("Gr\xE9oupe");
    demo.extraInfo = CopyString("line one\nline two");
    demo.tracks[1].hidden = true;
    demo.tracks[0].events[1].hidden = true;
    SaveAndReload();

    ASSERT_EQ(2u, back.libraryCount);
    EXPECT_STREQ("./other.so", back.libraries[1].fileName);
    EXPECT_STREQ("PosY", back.libraries[0].functions[0].paramNames[2]);
    EXPECT_STREQ("Clear", back.libraries[0].functions[1].name);
    EXPECT_EQ(4294967290u, back.runningTime);
    EXPECT_TRUE(back.useOpenGL);
    EXPECT_EQ(3u, back.inputSurfaceCount);
    EXPECT_STREQ("music/tune.ogg", back.inputMusicFile);
    EXPECT_STREQ("An <author> & \"friends\"", back.author);
    EXPECT_STREQ("Gr\xE9oupe", back.group);
    EXPECT_STREQ("line one\nline two", back.extraInfo);
    ASSERT_EQ(3u, back.trackCount);
    EXPECT_EQ(0u, back.tracks[1].eventCount);
    EXPECT_TRUE(back.tracks[1].hidden); // hidden flags are stored (absent means shown)
    EXPECT_FALSE(back.tracks[0].hidden);
    ASSERT_EQ(2u, back.tracks[0].eventCount);
    const DemoEvent& e = back.tracks[0].events[0];
    EXPECT_EQ(1000u, e.endTime);
    EXPECT_EQ(-4000, e.startValues[1]);
    EXPECT_EQ(2147483647, e.startValues[2]);
    EXPECT_EQ(-2147483647 - 1, e.endValues[2]);
    EXPECT_TRUE(e.continuesIntoNext); // recomputed on reading
    EXPECT_TRUE(back.tracks[0].events[1].hidden);
    EXPECT_FALSE(back.tracks[0].events[0].hidden);
    EXPECT_EQ(30u, back.tracks[2].events[0].startTime);
}

// The 27 characters windows-1252 has at 0x80-0x9F, and the five bytes it leaves
// undefined there, in a text and in an attribute.
TEST_F(RoundTrip, EveryWindows1252ByteLoadsSavesAndReloadsUnchanged) {
    std::string high;
    for (int b = 0x80; b < 0x100; b++)
        high += (char)b;
    ASSERT_EQ("", Load(Wrap("", "<Settings RunningTime=\"1\" UseOpenGL=\"true\" NumberOfInputSurfaces=\"0\" "
                                "InputMusicFile=\"" + high + "\"/>",
                            "<Summary><Author>" + high + "</Author></Summary>")));
    EXPECT_EQ(high, demo.author);
    EXPECT_EQ(high, demo.inputMusicFile);
    SaveAndReload();
    EXPECT_EQ(high, back.author);
    EXPECT_EQ(high, back.inputMusicFile);
    EXPECT_NE(std::string::npos, dir.Read("out.xml").find("<Author>" + high + "</Author>"));
}

TEST_F(RoundTrip, CurlyQuotesAndEuroKeepTheirBytes) {
    const std::string author = "\x80\x20\x93\x71\x94\x20\xe9";
    ASSERT_EQ("", Load(Wrap("", kSettings, "<Summary><Author>" + author + "</Author></Summary>")));
    EXPECT_EQ(author, demo.author);
    SaveAndReload();
    EXPECT_EQ(author, back.author);
    EXPECT_NE(std::string::npos, dir.Read("out.xml").find("<Author>" + author + "</Author>"));
}

TEST_F(FileFixture, CharactersWindows1252LacksReadAsQuestionMarks) {
    ASSERT_EQ("", Load(Wrap("", kSettings, "<Summary><Author>a&#x3A9;b&#x20AC;c&#x1F600;</Author></Summary>")));
    EXPECT_STREQ("a?b\x80" "c??", demo.author); // U+1F600 is two UTF-16 units
}

TEST_F(RoundTrip, AbsentSummaryWritesEmptySummaryAndReadsBackAbsent) {
    SaveAndReload();
    std::string text = dir.Read("out.xml");
    EXPECT_EQ(std::string::npos, text.find("<Author"));
    EXPECT_EQ(std::string::npos, text.find("<Group"));
    EXPECT_NE(std::string::npos, text.find("Summary"));
    EXPECT_EQ(nullptr, back.author);
    EXPECT_EQ(nullptr, back.group);
    EXPECT_EQ(nullptr, back.extraInfo);
    EXPECT_STREQ("", back.inputMusicFile);
}

TEST_F(RoundTrip, GroupWithoutAuthorIsKept) {
    demo.group = CopyString("typed without an author");
    demo.extraInfo = CopyString("and some info");
    SaveAndReload();
    EXPECT_EQ(nullptr, back.author); // an empty element has no first child
    EXPECT_STREQ("typed without an author", back.group);
    EXPECT_STREQ("and some info", back.extraInfo);
}

TEST_F(RoundTrip, AuthorWithoutGroupWritesEmptyTexts) {
    demo.author = CopyString("solo");
    SaveAndReload();
    EXPECT_STREQ("solo", back.author);
    EXPECT_EQ(nullptr, back.group); // an empty element has no first child
    EXPECT_EQ(nullptr, back.extraInfo);
}

TEST_F(RoundTrip, LongStringsAreWrittenWhole) {
    std::string author(120, 'a');
    std::string lib(300, 'l');
    demo.author = CopyString(author.c_str());
    AddLibrary(demo, lib, {});
    SaveAndReload();
    EXPECT_EQ(author, back.author);
    EXPECT_EQ(lib, back.libraries[0].fileName);
}

TEST_F(RoundTrip, FileDeclaresVersionEncodingAndRoot) {
    SaveAndReload();
    std::string text = dir.Read("out.xml");
    EXPECT_NE(std::string::npos, text.find("version=\"1.0\""));
    EXPECT_NE(std::string::npos, text.find("encoding=\"windows-1252\""));
    EXPECT_NE(std::string::npos, text.find("<VorlenDemoFile>"));
}

TEST_F(RoundTrip, SavingReplacesTheFileAndLeavesNoTemporary) {
    dir.Write("out.xml", "old contents");
    SaveAndReload();
    EXPECT_EQ(std::string::npos, dir.Read("out.xml").find("old contents"));
    EXPECT_EQ("", dir.Read("out.xml.saving~"));
}

TEST_F(RoundTrip, SavingWithABackupKeepsTheReplacedFileAsBak) {
    SaveOptions keep;
    keep.keepBackup = true;
    // No file yet: nothing to keep.
    ASSERT_TRUE(SaveDemoFile(dir.file("out.xml").c_str(), &demo, &keep));
    EXPECT_EQ("", dir.Read("out.xml.bak"));
    const std::string first = dir.Read("out.xml");
    demo.runningTime = 1234;
    ASSERT_TRUE(SaveDemoFile(dir.file("out.xml").c_str(), &demo, &keep));
    EXPECT_EQ(first, dir.Read("out.xml.bak"));
    EXPECT_NE(std::string::npos, dir.Read("out.xml").find("RunningTime=\"1234\""));
    // Without the option the backup stays as it was.
    demo.runningTime = 99;
    ASSERT_TRUE(SaveDemoFile(dir.file("out.xml").c_str(), &demo));
    EXPECT_EQ(first, dir.Read("out.xml.bak"));
}

TEST_F(FileFixture, FailedSaveReportsAndKeepsTheOldFile) {
    testing::internal::CaptureStderr();
    EXPECT_FALSE(SaveDemoFile(dir.file("missing-folder/out.xml").c_str(), &demo));
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(0u, err.find("An XML error occurred while saving demo to XML file.Exception message is: \n"));

    dir.Write("keep.xml", "precious");
    testing::internal::CaptureStderr();
    EXPECT_FALSE(SaveDemoFile(dir.file("keep.xml").c_str(), nullptr));
    err = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(err.empty());
    EXPECT_EQ("precious", dir.Read("keep.xml"));
}

TEST_F(FileFixture, SaveOverADirectoryFailsWithoutHarm) {
    std::string target = dir.file("adir");
    ASSERT_EQ(0, system(("mkdir '" + target + "' && touch '" + target + "/inside'").c_str()));
    testing::internal::CaptureStderr();
    EXPECT_FALSE(SaveDemoFile(target.c_str(), &demo));
    testing::internal::GetCapturedStderr();
    EXPECT_EQ("", dir.Read("adir.saving~"));
    FILE* f = fopen((target + "/inside").c_str(), "r");
    EXPECT_NE(nullptr, f);
    if (f) fclose(f);
}
} // namespace
