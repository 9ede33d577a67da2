// Frames per second of the example demo in examples/ drawn in a 640 x 480
// window (under Xvfb when headless), by the wall clock since the GL driver may
// draw on threads of its own: the whole demo, and each effect alone with the
// values of its events half-way through. Needs a DISPLAY; copies the example
// into a temporary directory.
#include <benchmark/benchmark.h>

#include <GL/glew.h>
#include <SDL/SDL.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

#include "basic_exception.h"
#include "demo.h"
#include "engine.h"
#include "oglstate.h"
#include "sdl_config.h"

namespace {

DemoStruct gDemo = {};

// Every event of one effect, with its parameters at the middle of the event.
struct EffectCalls {
    EffectProc entry = nullptr;
    std::vector<std::vector<int32_t>> args;
};

void Finish(benchmark::State& state) {
    glFinish();
    state.counters["fps"] = benchmark::Counter((double)state.iterations(), benchmark::Counter::kIsRate);
}

void BM_WholeDemo(benchmark::State& state) {
    uint32_t t = 0;
    for (auto _ : state) {
        if (!RenderFrame(gDemo, t)) {
            state.SkipWithError("a frame of the demo failed");
            break;
        }
        glFinish();
        t = (t + 40) % gDemo.runningTime;
    }
    Finish(state);
}

// CircularBlur alone is expected to reach 60 frames a second at 640 x 480.
const double kCircularBlurTargetFps = 60;

void BM_Effect(benchmark::State& state, EffectCalls calls, double targetFps) {
    size_t i = 0;
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        const std::vector<int32_t>& a = calls.args[i++ % calls.args.size()];
        try {
            CallEffect(calls.entry, (uint32_t)a.size(), a.data());
        } catch (const BasicException& e) {
            state.SkipWithError(e.GetMessage());
            break;
        }
        glFinish();
    }
    Finish(state);
    if (targetFps > 0)
        state.counters["fps_per_target"] =
            benchmark::Counter((double)state.iterations() / targetFps, benchmark::Counter::kIsRate);
}

bool LoadExample() {
    char dir[] = "/tmp/bench_effectsXXXXXX";
    if (!mkdtemp(dir)) return false;
    // The text list's font comes from the Debian package, as for the editor.
    std::string copy = std::string("cp -r '" TRELLIC_SOURCE_DIR "/examples/.' '") + dir +
                       "' && cp /usr/share/fonts/truetype/freefont/FreeSerif.ttf '" + dir + "'";
    if (system(copy.c_str()) != 0 || chdir(dir) != 0) return false;
    try {
        LoadDemoFile("Fenk.xml", gDemo, true);
        SDL_Config config;
        SDL_Config_DefaultConfig(&config);
        return BindLibraries(gDemo) == 0 && MatchEvents(gDemo) == 0 &&
               CreateSurfaces(gDemo, config, nullptr) == 0 && InitLibraries(gDemo) == 0;
    } catch (const BasicException& e) {
        fprintf(stderr, "bench_effects: %s\n", e.GetMessage());
        return false;
    }
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (SDL_Init(SDL_INIT_VIDEO) != 0 || !SDL_SetVideoMode(640, 480, 0, SDL_OPENGL)) {
        fprintf(stderr, "bench_effects: no OpenGL window (is DISPLAY set?): %s\n", SDL_GetError());
        return 1;
    }
    glewExperimental = GL_TRUE;
    glewInit();
    OGLState state(640, 480);
    OGLState::SetStateForce(&state);
    if (!LoadExample()) {
        fprintf(stderr, "bench_effects: the example demo did not load\n");
        return 1;
    }

    std::map<std::string, EffectCalls> effects;
    for (uint32_t t = 0; t < gDemo.trackCount; t++)
        for (uint32_t e = 0; e < gDemo.tracks[t].eventCount; e++) {
            const DemoEvent& ev = gDemo.tracks[t].events[e];
            if (!ev.effect) continue;
            EffectCalls& calls = effects[ev.functionName];
            calls.entry = ev.effect;
            std::vector<int32_t> args(ev.paramCount);
            for (uint32_t p = 0; p < ev.paramCount; p++)
                args[p] = (int32_t)(((int64_t)ev.startValues[p] + ev.endValues[p]) / 2);
            calls.args.push_back(args);
        }

    benchmark::RegisterBenchmark("WholeDemo", BM_WholeDemo)->UseRealTime()->Unit(benchmark::kMillisecond);
    for (auto& named : effects)
        benchmark::RegisterBenchmark(("Effect/" + named.first).c_str(), BM_Effect, named.second,
                                     named.first == "CircularBlur" ? kCircularBlurTargetFps : 0)
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    ReleaseDemo(gDemo);
    return 0;
}
