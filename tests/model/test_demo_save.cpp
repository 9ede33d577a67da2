// Saving the demo file: checked writes under file-size limits, the temporary
// file, and what happens to the file being replaced.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include <dirent.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "demo_builder.h"
#include "scratch_dir.h"

namespace {

// A demo of a few kilobytes with every kind of stored element.
DemoStruct SizeableDemo(int events) {
    DemoStruct demo = EmptyDemo();
    AddLibrary(demo, "libFenk.so", {{"Image", {"ImageNr", "PosX", "PosY"}}, {"Clear", {}}});
    AddTrack(demo);
    AddTrack(demo);
    for (int e = 0; e < events; e++)
        AddEvent(demo, e % 2, "libFenk.so", "Image", e * 100, e * 100 + 90, {e, -e, 7}, {e + 1, 2 * e, 8});
    demo.runningTime = events * 100;
    demo.inputMusicFile = CopyString("music.ogg");
    demo.author = CopyString("someone");
    return demo;
}

// Every name in the folder but the reference copy, sorted: a save must leave no
// temporary file behind, whether it succeeds or fails.
std::string Files(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* d = opendir(folder.c_str())) {
        while (dirent* entry = readdir(d))
            if (entry->d_name[0] != '.' && strcmp(entry->d_name, "expected.xml") != 0)
                names.push_back(entry->d_name);
        closedir(d);
    }
    std::sort(names.begin(), names.end());
    std::string list;
    for (const std::string& name : names)
        list += name + " ";
    return list;
}

// Saves in a child process whose file-size limit is `limit` bytes. Returns the
// child's exit status: 0 saved, 1 save failed, anything else it died.
int SaveUnderLimit(const std::string& path, const DemoStruct& demo, rlim_t limit) {
    pid_t pid = fork();
    if (pid == 0) {
        freopen("/dev/null", "w", stderr);
        struct rlimit r = {limit, limit};
        if (setrlimit(RLIMIT_FSIZE, &r) != 0) _exit(3);
        _exit(SaveDemoFile(path.c_str(), &demo) ? 0 : 1);
    }
    int status = 0;
    if (waitpid(pid, &status, 0) != pid) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 100 + WTERMSIG(status);
}

TEST(CheckedSave, EveryFileSizeLimitEitherSavesWholeOrKeepsTheOldFile) {
    ScratchDir dir;
    const std::string path = dir.file("demo.xml");
    DemoStruct old = SizeableDemo(20);
    ASSERT_TRUE(SaveDemoFile(path.c_str(), &old));
    const std::string oldBytes = dir.Read("demo.xml");

    DemoStruct fresh = SizeableDemo(60);
    ASSERT_TRUE(SaveDemoFile(dir.file("expected.xml").c_str(), &fresh));
    const std::string newBytes = dir.Read("expected.xml");
    ASSERT_GT(newBytes.size(), 8000u);

    int saved = 0, refused = 0;
    for (rlim_t limit = 0; limit <= newBytes.size() + 300; limit += 300) {
        dir.Write("demo.xml", oldBytes);
        int status = SaveUnderLimit(path, fresh, limit);
        ASSERT_TRUE(status == 0 || status == 1) << "limit " << limit << ": child ended with " << status;
        EXPECT_EQ("demo.xml ", Files(dir.path())) << "limit " << limit;
        if (status == 0) {
            saved++;
            EXPECT_GE(limit, newBytes.size());
            ASSERT_EQ(newBytes, dir.Read("demo.xml")) << "limit " << limit;
            DemoStruct back = EmptyDemo();
            LoadDemoFile(path.c_str(), back, true);
            EXPECT_EQ(60u, back.tracks[0].eventCount + back.tracks[1].eventCount);
            ReleaseDemo(back);
        } else {
            refused++;
            EXPECT_LT(limit, newBytes.size());
            ASSERT_EQ(oldBytes, dir.Read("demo.xml")) << "limit " << limit;
        }
    }
    EXPECT_GT(saved, 0);
    EXPECT_GT(refused, 20);
    ReleaseDemo(old);
    ReleaseDemo(fresh);
}

TEST(CheckedSave, AFailedWriteIsReportedAsTheXmlError) {
    ScratchDir dir;
    DemoStruct demo = SizeableDemo(10);
    dir.Write("demo.xml", "precious");
    int report[2];
    ASSERT_EQ(0, pipe(report));
    pid_t pid = fork();
    if (pid == 0) {
        // The report goes through a pipe: a file would fall under the limit too.
        dup2(report[1], 2);
        struct rlimit r = {100, 100};
        setrlimit(RLIMIT_FSIZE, &r);
        _exit(SaveDemoFile(dir.file("demo.xml").c_str(), &demo) ? 0 : 1);
    }
    close(report[1]);
    int status = 0;
    ASSERT_EQ(pid, waitpid(pid, &status, 0));
    std::string err;
    char buffer[512];
    for (ssize_t n; (n = read(report[0], buffer, sizeof buffer)) > 0;)
        err.append(buffer, n);
    close(report[0]);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(1, WEXITSTATUS(status));
    EXPECT_EQ("precious", dir.Read("demo.xml"));
    EXPECT_EQ(0u, err.find("An XML error occurred while saving demo to XML file.Exception message is: \n"));
    EXPECT_NE(std::string::npos, err.find("File too large")) << err;
    ReleaseDemo(demo);
}

TEST(SaveTemporaryFile, ALinkPlantedAtTheOldFixedNameIsNotFollowed) {
    ScratchDir dir;
    dir.Write("victim.txt", "not yours");
    ASSERT_EQ(0, symlink(dir.file("victim.txt").c_str(), dir.file("demo.xml.saving~").c_str()));
    DemoStruct demo = SizeableDemo(4);
    ASSERT_TRUE(SaveDemoFile(dir.file("demo.xml").c_str(), &demo));
    EXPECT_EQ("not yours", dir.Read("victim.txt"));
    DemoStruct back = EmptyDemo();
    LoadDemoFile(dir.file("demo.xml").c_str(), back, true);
    EXPECT_STREQ("someone", back.author);
    struct stat info;
    ASSERT_EQ(0, lstat(dir.file("demo.xml").c_str(), &info));
    EXPECT_TRUE(S_ISREG(info.st_mode));
    EXPECT_EQ("demo.xml demo.xml.saving~ victim.txt ", Files(dir.path())); // nothing else left behind
    ReleaseDemo(back);
    ReleaseDemo(demo);
}

TEST(SaveTemporaryFile, ANewFileGetsTheUsualModeForTheUmask) {
    ScratchDir dir;
    DemoStruct demo = SizeableDemo(1);
    mode_t previous = umask(027);
    bool saved = SaveDemoFile(dir.file("demo.xml").c_str(), &demo);
    umask(previous);
    ASSERT_TRUE(saved);
    struct stat info;
    ASSERT_EQ(0, stat(dir.file("demo.xml").c_str(), &info));
    EXPECT_EQ(0640u, info.st_mode & 0777);
    ReleaseDemo(demo);
}

// [SECTION] The replaced file keeps its identity

TEST(SaveIdentity, SavingThroughALinkReplacesItsTargetAndKeepsTheLink) {
    ScratchDir dir;
    ASSERT_EQ(0, mkdir(dir.file("real").c_str(), 0755));
    dir.Write("real/demo.xml", "old");
    ASSERT_EQ(0, symlink("real/demo.xml", dir.file("link.xml").c_str())); // relative, as people make them
    ASSERT_EQ(0, symlink(dir.file("link.xml").c_str(), dir.file("link2.xml").c_str()));
    DemoStruct demo = SizeableDemo(3);
    ASSERT_TRUE(SaveDemoFile(dir.file("link2.xml").c_str(), &demo));
    struct stat info;
    ASSERT_EQ(0, lstat(dir.file("link.xml").c_str(), &info));
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    ASSERT_EQ(0, lstat(dir.file("link2.xml").c_str(), &info));
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    EXPECT_NE(std::string::npos, dir.Read("real/demo.xml").find("<VorlenDemoFile>"));
    EXPECT_EQ("demo.xml ", Files(dir.path() + "/real"));
    ReleaseDemo(demo);
}

TEST(SaveIdentity, ALinkToNothingYetCreatesItsTarget) {
    ScratchDir dir;
    ASSERT_EQ(0, symlink("new.xml", dir.file("link.xml").c_str()));
    DemoStruct demo = SizeableDemo(1);
    ASSERT_TRUE(SaveDemoFile(dir.file("link.xml").c_str(), &demo));
    struct stat info;
    ASSERT_EQ(0, lstat(dir.file("link.xml").c_str(), &info));
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    EXPECT_NE(std::string::npos, dir.Read("new.xml").find("<VorlenDemoFile>"));
    ReleaseDemo(demo);
}

TEST(SaveIdentity, TheModeAndOwnerOfTheOldFileStay) {
    ScratchDir dir;
    dir.Write("demo.xml", "old");
    ASSERT_EQ(0, chmod(dir.file("demo.xml").c_str(), 0600));
    // Only the superuser may give a file away; otherwise the owner is already ours.
    const bool root = geteuid() == 0;
    if (root) {
        ASSERT_EQ(0, chown(dir.file("demo.xml").c_str(), 4321, 4322));
    }
    DemoStruct demo = SizeableDemo(2);
    ASSERT_TRUE(SaveDemoFile(dir.file("demo.xml").c_str(), &demo));
    struct stat info;
    ASSERT_EQ(0, stat(dir.file("demo.xml").c_str(), &info));
    EXPECT_EQ(0600u, info.st_mode & 07777);
    EXPECT_EQ(root ? 4321u : geteuid(), info.st_uid);
    if (root) {
        EXPECT_EQ(4322u, info.st_gid);
    }
    ASSERT_EQ(0, chmod(dir.file("demo.xml").c_str(), 0640));
    ASSERT_TRUE(SaveDemoFile(dir.file("demo.xml").c_str(), &demo));
    ASSERT_EQ(0, stat(dir.file("demo.xml").c_str(), &info));
    EXPECT_EQ(0640u, info.st_mode & 07777);
    ReleaseDemo(demo);
}

} // namespace
