// The headless renderer: draws a demo at fixed times, independent of the wall
// clock, into an off-screen framebuffer, and writes numbered PNG files and/or
// feeds ffmpeg for a video with the demo's music.
#include "app.h"
#include "standalone.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <spawn.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <GL/glew.h>
#include <SDL/SDL.h>

#include "engine.h"
#include "oglstate.h"

extern char** environ;

std::vector<uint32_t> RenderFrameTimes(uint32_t fromMs, uint32_t toMs, int fps) {
    std::vector<uint32_t> times;
    if (fps < 1 || toMs < fromMs) return times;
    for (uint64_t n = 0;; n++) {
        uint64_t t = fromMs + n * 1000 / (uint64_t)fps;
        if (t > toMs) break;
        times.push_back((uint32_t)t);
    }
    return times;
}

namespace {

struct Framebuffer {
    GLuint fbo = 0, colour = 0, depth = 0;
    bool Create(int w, int h) {
        if (!GLEW_ARB_framebuffer_object && !GLEW_VERSION_3_0) return false;
        glGenFramebuffers(1, &fbo);
        glGenRenderbuffers(1, &colour);
        glGenRenderbuffers(1, &depth);
        glBindRenderbuffer(GL_RENDERBUFFER, colour);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, w, h);
        glBindRenderbuffer(GL_RENDERBUFFER, depth);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, w, h);
        glBindRenderbuffer(GL_RENDERBUFFER, 0);
        glBindFramebuffer(GL_FRAMEBUFFER, fbo);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth);
        bool complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        return complete;
    }
    ~Framebuffer() {
        if (fbo) glDeleteFramebuffers(1, &fbo);
        if (colour) glDeleteRenderbuffers(1, &colour);
        if (depth) glDeleteRenderbuffers(1, &depth);
    }
};

// Finds an executable on PATH.
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

// ffmpeg reading raw RGBA frames on its standard input.
struct VideoEncoder {
    pid_t pid = -1;
    int fd = -1;

    bool Start(const std::string& program, const CommandLine& o, int w, int h, const char* music) {
        std::string size = std::to_string(w) + "x" + std::to_string(h);
        std::string rate = std::to_string(o.fps);
        char seek[32];
        snprintf(seek, sizeof seek, "%.3f", o.fromMs * 0.001);
        std::vector<std::string> args = {program, "-y", "-loglevel", "error", "-f", "rawvideo", "-pix_fmt",
                                         "rgba",  "-s", size,        "-r",    rate, "-i",       "-"};
        bool withMusic = music && music[0] && access(music, R_OK) == 0;
        if (withMusic) args.insert(args.end(), {"-ss", seek, "-i", music});
        args.insert(args.end(), {"-map", "0:v"});
        if (withMusic) args.insert(args.end(), {"-map", "1:a", "-c:a", "aac", "-shortest"});
        args.insert(args.end(), {"-c:v", "libx264", "-pix_fmt", "yuv420p", o.videoFile});

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
        int rc = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
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
    bool Write(const uint8_t* data, size_t bytes) {
        while (bytes > 0) {
            ssize_t n = write(fd, data, bytes);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return false;
            data += n;
            bytes -= (size_t)n;
        }
        return true;
    }
    // Closes the pipe and waits: true when ffmpeg succeeded.
    bool Finish() {
        if (fd >= 0) close(fd);
        fd = -1;
        int status = 0;
        if (pid < 0 || waitpid(pid, &status, 0) < 0) return false;
        pid = -1;
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }
    ~VideoEncoder() { Finish(); }
};

void ShowProgress(size_t done, size_t total, uint32_t startTicks) {
    double seconds = (SDL_GetTicks() - startTicks) * 0.001;
    double fps = seconds > 0 ? done / seconds : 0;
    int left = fps > 0 ? (int)((total - done) / fps) : 0;
    fprintf(stderr, "\rrender: frame %zu/%zu, %.1f frames/s, %d:%02d left   ", done, total, fps, left / 60,
            left % 60);
    if (done == total) fputc('\n', stderr);
    fflush(stderr);
}

int RenderFrames(DemoStruct& demo, const CommandLine& o, int w, int h) {
    if (demo.runningTime == 0) {
        fprintf(stderr, "Trellic: the demo's running time is 0: nothing to render\n");
        return kExitOk;
    }
    uint32_t to = o.hasTo && o.toMs < demo.runningTime ? o.toMs : demo.runningTime - 1;
    std::vector<uint32_t> times = RenderFrameTimes(o.fromMs, to, o.fps);

    Framebuffer target;
    if (!target.Create(w, h)) {
        fprintf(stderr, "Trellic: no off-screen framebuffer of %dx%d on this driver\n", w, h);
        return kExitOutputFailed;
    }
    if (!o.outDir.empty()) mkdir(o.outDir.c_str(), 0777);

    VideoEncoder video;
    if (!o.videoFile.empty()) {
        std::string ffmpeg;
        if (!FindProgram("ffmpeg", ffmpeg)) {
            fprintf(stderr, "Trellic: --video needs ffmpeg, which is not installed (Debian package "
                            "\"ffmpeg\"); --out DIR writes the frames as PNG files without it\n");
            return kExitOutputFailed;
        }
        if (!video.Start(ffmpeg, o, w, h, demo.inputMusicFile)) {
            fprintf(stderr, "Trellic: could not start %s\n", ffmpeg.c_str());
            return kExitOutputFailed;
        }
    }

    // The whole frame in a fresh record's state, as the full-screen preview draws it.
    OGLState record((unsigned)w, (unsigned)h);
    OGLState* previous = OGLState::SetStateForce(&record);
    std::vector<uint8_t> pixels((size_t)w * h * 4), rows((size_t)w * h * 4);
    srand(1); // effects that draw random strokes or stars repeat from run to run
    uint32_t startTicks = SDL_GetTicks();
    int code = kExitOk;
    for (size_t n = 0; n < times.size() && code == kExitOk; n++) {
        glBindFramebuffer(GL_FRAMEBUFFER, target.fbo);
        OGLState::SetStateForce(&record);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        try {
            if (!RenderFrame(demo, times[n])) {
                fprintf(stderr, "\nTrellic: at %u ms: Unknown error during playing of this screen!\n",
                        times[n]);
                code = kExitFrameFailed;
                break;
            }
        } catch (const BasicException& e) {
            fprintf(stderr, "\nTrellic: at %u ms: %s\n", times[n], e.GetMessage());
            code = kExitFrameFailed;
            break;
        }
        glBindFramebuffer(GL_FRAMEBUFFER, target.fbo);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        for (int y = 0; y < h; y++) // GL's rows start at the bottom
            memcpy(&rows[(size_t)y * w * 4], &pixels[(size_t)(h - 1 - y) * w * 4], (size_t)w * 4);
        for (size_t i = 3; i < rows.size(); i += 4)
            rows[i] = 255; // the screen shows every frame opaque
        if (!o.outDir.empty()) {
            char name[32];
            snprintf(name, sizeof name, "/frame_%06zu.png", n);
            std::string path = o.outDir + name;
            if (!WritePng(path.c_str(), rows.data(), w, h)) {
                fprintf(stderr, "\nTrellic: could not write %s\n", path.c_str());
                code = kExitOutputFailed;
            }
        }
        if (code == kExitOk && !o.videoFile.empty() && !video.Write(rows.data(), rows.size())) {
            fprintf(stderr, "\nTrellic: ffmpeg stopped taking frames\n");
            code = kExitOutputFailed;
        }
        ShowProgress(n + 1, times.size(), startTicks);
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    OGLState::SetState(previous);
    if (!o.videoFile.empty() && !video.Finish() && code == kExitOk) {
        fprintf(stderr, "Trellic: ffmpeg could not make %s\n", o.videoFile.c_str());
        code = kExitOutputFailed;
    }
    return code;
}

} // namespace

int RunRender(const CommandLine& options) {
    signal(SIGPIPE, SIG_IGN); // a failing ffmpeg shows as a write error instead
    return RunStandalone(options, true, RenderFrames);
}
