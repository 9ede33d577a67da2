// Frames per second of the editor's interface on a demo of 20 tracks x 100
// events at 800 x 600 (under Xvfb when headless), paused: the whole interface
// pass, and the timeline alone (time slider and rows). Printed as frames per
// second and as a ratio to the target of 300. Needs a DISPLAY and the
// interface font in the working directory. With --breakdown it also prints
// where the time goes: the whole pass without each large part, best of four.
#include <GL/glew.h>
#include <SDL/SDL.h>

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app.h"
#include "demo.h"
#include "oglstate.h"
#include "timeline.h"

namespace {

const int kWidth = 800, kHeight = 600;
const uint32_t kTracks = 20, kEvents = 100;
const double kTargetFps = 300;
const double kSeconds = 2.0;

// 20 tracks of 100 events of 2 s, the tracks shifted against each other, with a
// few hidden events, as a real demo's timeline looks.
DemoStruct* GeneratedDemo() {
    DemoStruct* d = new DemoStruct();
    d->trackCount = kTracks;
    d->tracks = new DemoTrack[kTracks]();
    d->runningTime = kEvents * 3000;
    for (uint32_t t = 0; t < kTracks; t++) {
        DemoTrack& track = d->tracks[t];
        track.eventCount = kEvents;
        track.events = new DemoEvent[kEvents]();
        for (uint32_t e = 0; e < kEvents; e++) {
            DemoEvent& ev = track.events[e];
            ev.startTime = e * 3000 + t * 97;
            ev.endTime = ev.startTime + 2000;
            ev.hidden = (e + t) % 17 == 0;
            ev.functionName = CopyString("Effect");
            ev.libraryFileName = CopyString("libNone.so");
        }
    }
    return d;
}

// Seconds of processor time this process (the GL driver's threads included) has used.
double ProcessorSeconds() {
    rusage use;
    getrusage(RUSAGE_SELF, &use);
    return (double)use.ru_utime.tv_sec + use.ru_utime.tv_usec * 1e-6 + (double)use.ru_stime.tv_sec +
           use.ru_stime.tv_usec * 1e-6;
}

struct Rate {
    double wall; // frames per second of the wall clock
    double cpu;  // frames per second of processor time: steadier on a busy machine
};

template <typename Draw> Rate FramesPerSecond(Draw draw, double seconds = kSeconds) {
    using Clock = std::chrono::steady_clock;
    for (int i = 0; i < 20; i++)
        draw(); // warm up
    glFinish();
    const Clock::time_point start = Clock::now();
    const double cpuStart = ProcessorSeconds();
    long frames = 0;
    double elapsed = 0;
    do {
        draw();
        glFinish();
        frames++;
        elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    } while (elapsed < seconds);
    const double cpu = ProcessorSeconds() - cpuStart;
    return Rate{frames / elapsed, cpu > 0 ? frames / cpu : 0};
}

void Report(const char* what, Rate r) {
    printf("%-44s %6.0f frames/s (%.2f x target)   %6.0f per CPU second (%.2f x target)\n", what, r.wall,
           r.wall / kTargetFps, r.cpu, r.cpu / kTargetFps);
}

// Milliseconds of processor time per frame of the interface pass with the
// root's children that `skip` names left out (a frame panel keeps its bevel
// and its children), best of four short runs: the machine's other load only
// ever adds time.
template <typename Skip> double PassWithout(EditorScreen& root, Skip skip) {
    double best = 1e9;
    for (int round = 0; round < 4; round++) {
        const Rate r = FramesPerSecond(
            [&] {
                glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
                OGLState::PushViewport(0, 0, kWidth, kHeight);
                OGLState::PushProjection(0, kWidth, kHeight, 0, -1.0, 1.0, true);
                for (int i = 0; i < root.childCount(); i++) {
                    Widget* child = root.childAt(i);
                    if (!skip(child))
                        child->draw();
                    else if (FramePanel* panel = dynamic_cast<FramePanel*>(child)) {
                        drawBevel(panel->x, panel->y, panel->w, panel->h, panel->colour);
                        panel->WidgetGroup::draw();
                    }
                }
                OGLState::PopViewport();
                OGLState::PopProjection();
                SDL_GL_SwapBuffers();
            },
            0.3);
        if (r.cpu > 0 && 1000.0 / r.cpu < best) best = 1000.0 / r.cpu;
    }
    return best;
}

void Breakdown(EditorScreen& root) {
    struct Part {
        const char* name;
        bool (*skip)(EditorScreen&, Widget*);
    };
    const Part parts[] = {
        {"nothing", [](EditorScreen&, Widget*) { return false; }},
        {"the frame panels' fills", [](EditorScreen&, Widget* w) { return dynamic_cast<FramePanel*>(w) != nullptr; }},
        {"the track rows", [](EditorScreen& r, Widget* w) { return w == r.trackGroup; }},
        {"the event panel", [](EditorScreen& r, Widget* w) { return w == r.panelGroup; }},
        {"the buttons outside the event panel", [](EditorScreen&, Widget* w) { return dynamic_cast<Button*>(w) != nullptr; }},
        {"every widget", [](EditorScreen&, Widget*) { return true; }},
    };
    printf("Where the time goes (ms of processor time per frame, best of four):\n");
    const double whole = PassWithout(root, [&](Widget* w) { return parts[0].skip(root, w); });
    printf("  %-44s %6.3f\n", "whole pass", whole);
    for (size_t i = 1; i < sizeof parts / sizeof parts[0]; i++) {
        const double without = PassWithout(root, [&](Widget* w) { return parts[i].skip(root, w); });
        printf("  %-44s %6.3f (%+.3f)\n", (std::string("without ") + parts[i].name).c_str(), without,
               without - whole);
    }
}

} // namespace

int main(int argc, char** argv) {
    const bool breakdown = argc > 1 && !strcmp(argv[1], "--breakdown");
    KeepMemoryBetweenFrames(); // as Trellic does
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER) != 0) {
        fprintf(stderr, "bench_timeline_draw: SDL_Init failed: %s\n", SDL_GetError());
        return 1;
    }
    SDL_Surface* screen = SDL_SetVideoMode(kWidth, kHeight, 0, SDL_OPENGL);
    if (!screen || glewInit() != GLEW_OK) {
        fprintf(stderr, "bench_timeline_draw: no OpenGL window (is DISPLAY set?): %s\n", SDL_GetError());
        return 1;
    }
    OGLState state(kWidth, kHeight);
    OGLState::SetState(&state);
    windowWidth = kWidth;
    windowHeight = kHeight;
    SDL_Config config;
    memset(&config, 0, sizeof config);
    config.width = kWidth;
    config.height = kHeight;
    try {
        SetApp(new EditorApp(screen, &config));
        EditorApp& app = *App();
        app.ReplaceDemo(GeneratedDemo());
        app.ownsDemo = true;
        app.editorScreen.BuildEditor(app, app.music);
        app.editorScreen.SelectEvent(3, 40);
        app.music.position = 150000;

        EditorScreen& screenRoot = app.editorScreen;
        const Rate whole = FramesPerSecond([&] {
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            drawInterface(&screenRoot);
            SDL_GL_SwapBuffers();
        });
        Widget* slider = nullptr;
        for (int i = 0; i < screenRoot.childCount(); i++)
            if (dynamic_cast<TimeCursor*>(screenRoot.childAt(i))) slider = screenRoot.childAt(i);
        const Rate rows = FramesPerSecond([&] {
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            OGLState::PushViewport(0, 0, kWidth, kHeight);
            OGLState::PushProjection(0, kWidth, kHeight, 0, -1.0, 1.0, true);
            if (slider) slider->draw();
            screenRoot.trackGroup->draw();
            OGLState::PopViewport();
            OGLState::PopProjection();
            SDL_GL_SwapBuffers();
        });
        // The same rows drawn the old way, one immediate-mode block per event
        // widget, for comparison on the same machine at the same moment.
        const Rate perWidget = FramesPerSecond([&] {
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            OGLState::PushViewport(0, 0, kWidth, kHeight);
            OGLState::PushProjection(0, kWidth, kHeight, 0, -1.0, 1.0, true);
            if (slider) slider->draw();
            WidgetGroup* rowsGroup = screenRoot.trackGroup;
            for (int r = 0; r < rowsGroup->childCount(); r++) {
                TrackRow* row = dynamic_cast<TrackRow*>(rowsGroup->childAt(r));
                if (!row) continue;
                fillRect(kTimelineLeft, TrackRowTop(row->track), kWidth - 120, kTrackRowHeight, 0xFF707070);
                for (int b = 0; b < row->childCount(); b++)
                    row->childAt(b)->draw();
            }
            OGLState::PopViewport();
            OGLState::PopProjection();
            SDL_GL_SwapBuffers();
        });
        const Rate empty = FramesPerSecond([&] {
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            SDL_GL_SwapBuffers();
        });
        printf("Editor paused, %u tracks x %u events at %dx%d:\n", kTracks, kEvents, kWidth, kHeight);
        Report("interface pass (whole editor)", whole);
        Report("timeline alone (slider and rows, batched)", rows);
        Report("timeline alone, one draw per block (before)", perWidget);
        Report("empty frame (clear and swap only)", empty);
        if (breakdown) Breakdown(screenRoot);
    } catch (const BasicException& e) {
        fprintf(stderr, "bench_timeline_draw: %s\n", e.GetMessage());
        SetApp(nullptr);
        return 1;
    }
    SetApp(nullptr);
    OGLState::SetState(nullptr);
    SDL_Quit();
    return 0;
}
