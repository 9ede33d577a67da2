// The renderer's video: ffmpeg started with posix_spawn, reading raw frames on
// its standard input. The music comes from the first frame's time and is padded
// with silence, so a demo that outlasts its music still gets every frame.
#include "render_internal.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

bool FindProgram(const char* name, std::string& found) {
    const char* path = getenv("PATH");
    std::string dirs = path ? path : "/usr/bin:/bin";
    size_t start = 0;
    while (start <= dirs.size()) {
        size_t end = dirs.find(':', start);
        if (end == std::string::npos) end = dirs.size();
        std::string candidate = dirs.substr(start, end - start);
        candidate = (candidate.empty() ? "." : candidate) + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0) {
            found = candidate;
            return true;
        }
        start = end + 1;
    }
    return false;
}

std::vector<std::string> VideoPipe::Arguments(const Settings& s) {
    char seek[32], duration[32];
    snprintf(seek, sizeof seek, "%.3f", s.firstTime * 0.001);
    snprintf(duration, sizeof duration, "%.6f", (double)s.frames / s.fps);
    std::vector<std::string> args = {s.program, "-y",   "-loglevel",
                                     "error",   "-f",   "rawvideo",
                                     "-pix_fmt", "rgb0", "-s",
                                     std::to_string(s.width) + "x" + std::to_string(s.height),
                                     "-r",       std::to_string(s.fps),
                                     "-i",       "-"};
    if (!s.music.empty()) args.insert(args.end(), {"-ss", seek, "-i", s.music});
    args.insert(args.end(), {"-map", "0:v"});
    // apad makes silence after the music's end up to the video's length; -shortest
    // then ends the sound with the last frame when the music is the longer.
    if (!s.music.empty())
        args.insert(args.end(), {"-map", "1:a", "-c:a", "aac", "-af", std::string("apad=whole_dur=") + duration,
                                 "-shortest"});
    args.insert(args.end(), {"-c:v", "libx264", "-pix_fmt", "yuv420p", s.outFile});
    return args;
}

bool VideoPipe::Start(const Settings& settings) {
    std::vector<std::string> args = Arguments(settings);
    int pipefd[2];
    if (pipe(pipefd) != 0) return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipefd[0], 0);
    posix_spawn_file_actions_addclose(&actions, pipefd[1]);
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(&a[0]);
    argv.push_back(nullptr);
    int rc = posix_spawn(&pid, settings.program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipefd[0]);
    if (rc != 0) {
        close(pipefd[1]);
        pid = -1;
        return false;
    }
    fd = pipefd[1];
    return true;
}

bool VideoPipe::Write(const uint8_t* data, size_t bytes) {
    while (bytes > 0) {
        ssize_t n = write(fd, data, bytes);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        bytes -= (size_t)n;
    }
    return true;
}

bool VideoPipe::Finish() {
    if (fd >= 0) close(fd);
    fd = -1;
    int status = 0;
    if (pid < 0) return false;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR) return false;
    pid = -1;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

VideoPipe::~VideoPipe() {
    Finish();
}
