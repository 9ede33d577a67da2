// LoadDemoFile on generated demo files of 1,000 / 10,000 / 100,000 events: load
// time and peak memory, against `xmllint --noout` parsing the same file.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "demo.h"

namespace {

void WriteDemo(const std::string& path, int events) {
    FILE* f = fopen(path.c_str(), "w");
    if (!f) return;
    fprintf(f,
            "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n<VorlenDemoFile><Libraries>"
            "<Library FileName=\"libFenk.so\"><Function Name=\"Image\"><Param Name=\"ImageNr\"/>"
            "<Param Name=\"PosX\"/><Param Name=\"PosY\"/><Param Name=\"Scale\"/><Param Name=\"Opacity\"/>"
            "</Function></Library></Libraries><Demo><Settings RunningTime=\"%d\" UseOpenGL=\"true\" "
            "NumberOfInputSurfaces=\"0\" InputMusicFile=\"\"/><Summary/>\n",
            events * 100);
    const int perTrack = 1000;
    for (int e = 0; e < events; e++) {
        if (e % perTrack == 0) fprintf(f, "%s<Track>\n", e ? "</Track>" : "");
        int t = (e % perTrack) * 100;
        fprintf(
            f,
            "<Event LibraryFileName=\"libFenk.so\" FunctionName=\"Image\" StartTime=\"%d\" EndTime=\"%d\">",
            t, t + 100);
        for (int p = 0; p < 5; p++)
            fprintf(f, "<param start=\"%d\" end=\"%d\"/>", p * 100 + e % 7, p * 100);
        fprintf(f, "</Event>\n");
    }
    fprintf(f, "</Track></Demo></VorlenDemoFile>\n");
    fclose(f);
}

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// Loads the file in a child process so its peak memory is the load's alone.
bool LoadInChild(const std::string& path, double& seconds, long& peakKb) {
    auto start = std::chrono::steady_clock::now();
    pid_t pid = fork();
    if (pid == 0) {
        DemoStruct demo = {};
        try {
            LoadDemoFile(path.c_str(), demo, true);
        } catch (const BasicException& e) {
            fprintf(stderr, "%s\n", e.GetMessage());
            _exit(1);
        }
        ReleaseDemo(demo);
        _exit(0);
    }
    int status = 0;
    struct rusage usage;
    if (pid < 0 || wait4(pid, &status, 0, &usage) < 0) return false;
    seconds = Seconds(start);
    peakKb = usage.ru_maxrss;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

double TimeXmllint(const std::string& path) {
    std::string cmd = "xmllint --noout '" + path + "'";
    auto start = std::chrono::steady_clock::now();
    if (system(cmd.c_str()) != 0) return -1;
    return Seconds(start);
}

} // namespace

int main() {
    char dirTemplate[] = "/tmp/trellic-bench-XXXXXX";
    const char* dir = mkdtemp(dirTemplate);
    if (!dir) return 1;
    bool haveXmllint = system("command -v xmllint >/dev/null 2>&1") == 0;
    printf("%10s %12s %12s %14s %14s %8s\n", "events", "file KiB", "load ms", "peak RSS KiB", "xmllint ms",
           "ratio");
    const int sizes[] = {1000, 10000, 100000};
    for (int events : sizes) {
        std::string path = std::string(dir) + "/demo" + std::to_string(events) + ".xml";
        WriteDemo(path, events);
        FILE* f = fopen(path.c_str(), "rb");
        long bytes = 0;
        if (f) {
            fseek(f, 0, SEEK_END);
            bytes = ftell(f);
            fclose(f);
        }
        const int runs = events >= 100000 ? 3 : 5;
        double best = 1e9, bestLint = 1e9;
        long peak = 0;
        for (int r = 0; r < runs; r++) {
            double s;
            long kb;
            if (!LoadInChild(path, s, kb)) {
                printf("load of %d events failed\n", events);
                return 1;
            }
            if (s < best) best = s;
            if (kb > peak) peak = kb;
            if (haveXmllint) {
                double l = TimeXmllint(path);
                if (l >= 0 && l < bestLint) bestLint = l;
            }
        }
        if (haveXmllint)
            printf("%10d %12ld %12.2f %14ld %14.2f %8.2f\n", events, bytes / 1024, best * 1000, peak,
                   bestLint * 1000, best / bestLint);
        else
            printf("%10d %12ld %12.2f %14ld %14s %8s\n", events, bytes / 1024, best * 1000, peak, "n/a",
                   "n/a");
        remove(path.c_str());
    }
    rmdir(dir);
    printf(
        "(best of several runs; the load includes process start-up of a forked child, as xmllint's does)\n");
    return 0;
}
