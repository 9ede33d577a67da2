// The headless renderer: draws a demo at fixed times, independent of the wall
// clock, into an off-screen framebuffer, and writes numbered PNG files and/or
// feeds ffmpeg for a video with the demo's music. Drawing, reading back and
// encoding overlap: while frame n is encoded on worker threads, frame n + 1 is
// drawn and its pixels travel from the driver.
#include "app.h"
#include "render_internal.h"
#include "standalone.h"

#include <csignal>
#include <memory>
#include <new>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include <GL/glew.h>
#include <SDL/SDL.h>

#include "engine.h"
#include "oglstate.h"

std::vector<FrameSlot> RenderFrameSlots(uint32_t fromMs, uint32_t toMs, int fps) {
    std::vector<FrameSlot> slots;
    if (fps < 1 || toMs < fromMs) return slots;
    // The first frame whose time n x 1000 / fps (rounded down) is at least `from`.
    uint64_t n = ((uint64_t)fromMs * (uint64_t)fps + 999) / 1000;
    for (;; n++) {
        uint64_t t = n * 1000 / (uint64_t)fps;
        if (t > toMs) break;
        slots.push_back({n, (uint32_t)t});
    }
    return slots;
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

// One line on standard error, rewritten in place on a terminal; elsewhere (a
// log) a few lines a minute. The last frame's line always comes.
class Progress {
  public:
    explicit Progress(size_t total_) : total(total_), start(SDL_GetTicks()), terminal(isatty(2)) {}
    void Show(size_t done) {
        uint32_t now = SDL_GetTicks();
        uint32_t interval = terminal ? 250 : 10000;
        if (done != total && done != 1 && now - lastShown < interval) return;
        lastShown = now;
        double seconds = (now - start) * 0.001;
        double fps = seconds > 0 ? done / seconds : 0;
        int left = fps > 0 ? (int)((total - done) / fps) : 0;
        fprintf(stderr, "%srender: frame %zu/%zu, %.1f frames/s, %d:%02d left%s", terminal ? "\r" : "", done,
                total, fps, left / 60, left % 60, terminal && done != total ? "   " : "\n");
        fflush(stderr);
    }

  private:
    size_t total;
    uint32_t start, lastShown = 0;
    bool terminal;
};

bool StartVideo(VideoPipe& video, const CommandLine& o, DemoStruct& demo, int w, int h,
                const std::vector<FrameSlot>& slots) {
    VideoPipe::Settings s;
    if (!FindProgram("ffmpeg", s.program)) {
        fprintf(stderr, "Trellic: --video needs ffmpeg, which is not installed (Debian package "
                        "\"ffmpeg\"); --out DIR writes the frames as PNG files without it\n");
        return false;
    }
    s.outFile = o.videoFile;
    s.width = w;
    s.height = h;
    s.fps = o.fps;
    s.frames = slots.size();
    s.firstTime = slots.front().time;
    const char* music = demo.inputMusicFile;
    if (music && music[0] && access(music, R_OK) == 0) s.music = music;
    if (!video.Start(s)) {
        fprintf(stderr, "Trellic: could not start %s\n", s.program.c_str());
        return false;
    }
    return true;
}

// Draws one frame into the bound framebuffer: true, or false after a line on
// standard error.
bool DrawFrame(DemoStruct& demo, FrameCursors& cursors, OGLState& record, uint32_t t) {
    // Libraries that ask for it learn the frame's demo time, so whatever they
    // count per second follows the demo, not the wall clock.
    for (uint32_t l = 0; l < demo.libraryCount; l++)
        if (demo.libraries[l].setRenderTime) demo.libraries[l].setRenderTime((int32_t)t);
    OGLState::SetStateForce(&record);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    try {
        if (RenderFrame(demo, t, cursors)) return true;
        fprintf(stderr, "\nTrellic: at %u ms: Unknown error during playing of this screen!\n", t);
    } catch (const BasicException& e) {
        fprintf(stderr, "\nTrellic: at %u ms: %s\n", t, e.GetMessage());
    }
    return false;
}

int RenderFrames(DemoStruct& demo, const CommandLine& o, int w, int h) {
    if (demo.runningTime == 0) {
        fprintf(stderr, "Trellic: the demo's running time is 0: nothing to render\n");
        return kExitOk;
    }
    uint32_t to = o.hasTo && o.toMs < demo.runningTime ? o.toMs : demo.runningTime - 1;
    if (o.fromMs > to) {
        fprintf(stderr, "Trellic: --from %u ms is past the end of the demo (%u ms long)\n", o.fromMs,
                demo.runningTime);
        return kExitUsage;
    }
    std::vector<FrameSlot> slots = RenderFrameSlots(o.fromMs, to, o.fps);
    if (slots.empty()) {
        fprintf(stderr, "Trellic: no frame falls between %u and %u ms at %d frames per second\n", o.fromMs, to,
                o.fps);
        return kExitUsage;
    }

    Framebuffer target;
    if (!target.Create(w, h)) {
        fprintf(stderr, "Trellic: no off-screen framebuffer of %dx%d on this driver\n", w, h);
        return kExitOutputFailed;
    }
    if (!o.outDir.empty()) mkdir(o.outDir.c_str(), 0777);
    VideoPipe video;
    if (!o.videoFile.empty() && !StartVideo(video, o, demo, w, h, slots)) return kExitOutputFailed;

    FrameOutput::Settings settings;
    settings.outDir = o.outDir;
    settings.pngLevel = o.pngLevel;
    settings.video = o.videoFile.empty() ? nullptr : &video;
    settings.width = w;
    settings.height = h;
    // Frames of the largest sizes may not fit in memory: say so rather than fail later.
    std::unique_ptr<FrameOutput> output;
    std::unique_ptr<FrameReadback> readback;
    try {
        output.reset(new FrameOutput(settings));
        readback.reset(new FrameReadback(w, h));
    } catch (const std::bad_alloc&) {
        fprintf(stderr, "Trellic: not enough memory for frames of %dx%d\n", w, h);
        return kExitOutputFailed;
    }

    // The whole frame in a fresh record's state, as the full-screen preview draws it.
    OGLState record((unsigned)w, (unsigned)h);
    OGLState* previous = OGLState::SetStateForce(&record);
    int code = kExitOk;
    FrameCursors cursors;
    Progress progress(slots.size());
    auto collect = [&]() {
        std::vector<uint8_t>* pixels = output->Acquire();
        uint64_t number = 0;
        if (readback->Collect(pixels->data(), number)) {
            output->Submit(number, pixels);
            return;
        }
        output->Return(pixels);
        fprintf(stderr, "\nTrellic: the driver did not hand frame %llu over\n", (unsigned long long)number);
        if (code == kExitOk) code = kExitOutputFailed;
    };
    srand(1); // effects that draw random strokes or stars repeat from run to run
    for (size_t n = 0; n < slots.size() && code == kExitOk && !output->Failed(); n++) {
        glBindFramebuffer(GL_FRAMEBUFFER, target.fbo);
        if (!DrawFrame(demo, cursors, record, slots[n].time)) {
            code = kExitFrameFailed;
            break;
        }
        glBindFramebuffer(GL_FRAMEBUFFER, target.fbo);
        if (readback->Full()) collect();
        readback->Read(slots[n].number);
        progress.Show(n + 1);
    }
    // The frames drawn before a failure still reach their files.
    while (readback->Pending() > 0)
        collect();
    readback.reset();
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    OGLState::SetState(previous);

    std::string error;
    if (!output->Finish(error) && code == kExitOk) {
        fprintf(stderr, "\nTrellic: %s\n", error.c_str());
        code = kExitOutputFailed;
    }
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
