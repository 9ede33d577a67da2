// What the player and the renderer share: the configured window (or the size
// the command line asks for; a render draws without a window where EGL can), a
// fresh GL state record, the demo loaded through the editor's stages and the
// range the command line names in it; the caller's body then plays or renders.
#include "app.h"
#include "standalone.h"

#include <cstdio>

#include <SDL/SDL.h>

#include "oglstate.h"

namespace {
int LoadAndRun(const CommandLine& options, SDL_Config& config, SDL_Surface* screen, StandaloneBody body) {
    // Frames are drawn in a fresh record's state: the whole view, centred and
    // y-down, exactly as the editor's full-screen preview.
    OGLState* state = new OGLState((unsigned)config.width, (unsigned)config.height);
    OGLState::SetState(state);
    int code = kExitOk;
    {
        OwnedDemo demo;
        try {
            demo = LoadBoundDemo(options.demoFile.c_str(), &config, screen);
        } catch (const BasicException& e) {
            fprintf(stderr, "Trellic: %s\n", e.GetMessage());
            code = kExitLoadFailed;
        }
        CommandLine resolved = options;
        std::string error;
        if (demo && !ResolveRange(*demo, resolved, error)) {
            fprintf(stderr, "Trellic: %s\n", error.c_str());
            code = kExitUsage;
        } else if (demo) {
            code = body(*demo, resolved, config.width, config.height);
        }
    }
    OGLState::SetState(nullptr);
    delete state;
    return code;
}
} // namespace

int RunStandalone(const CommandLine& options, bool forRender, StandaloneBody body) {
    SDL_Config config;
    if (ReadVideoConfig(config) != 0) return kExitStartFailed;
    if (options.width > 0) {
        config.width = options.width;
        config.height = options.height;
    }
    int code = kExitOk;
    if (forRender) {
        config.videoFlags &= ~(uint32_t)SDL_FULLSCREEN;
        config.subsystems &= ~(uint32_t)SDL_INIT_AUDIO; // a render plays no sound
        RenderContext context;
        code = context.Open(config);
        if (code == kExitOk) code = LoadAndRun(options, config, context.screen, body);
    } else {
        if (options.fullscreen) config.videoFlags |= SDL_FULLSCREEN;
        SDL_Surface* screen = nullptr;
        bool audioOpen = false;
        code = OpenVideo(config, screen, audioOpen) != 0 ? kExitStartFailed : kExitOk;
        if (code == kExitOk) {
            SDL_ShowCursor(options.fullscreen ? SDL_DISABLE : SDL_ENABLE);
            code = LoadAndRun(options, config, screen, body);
        }
        if (audioOpen) Mix_CloseAudio();
    }
    SDL_Quit();
    return code;
}
