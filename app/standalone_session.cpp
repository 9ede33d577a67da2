// What the player and the renderer share: the configured window (or the size
// the command line asks for), a fresh GL state record, and the demo loaded
// through the editor's stages; the caller's body then plays or renders it.
#include "app.h"
#include "standalone.h"

#include <cstdio>

#include <SDL/SDL.h>

#include "oglstate.h"

int RunStandalone(const CommandLine& options, bool forRender, StandaloneBody body) {
    SDL_Config config;
    if (ReadVideoConfig(config) != 0) return kExitStartFailed;
    if (options.width > 0) {
        config.width = options.width;
        config.height = options.height;
    }
    if (forRender) {
        config.videoFlags &= ~(uint32_t)SDL_FULLSCREEN;
        config.subsystems &= ~(uint32_t)SDL_INIT_AUDIO; // a render plays no sound
    } else if (options.fullscreen) {
        config.videoFlags |= SDL_FULLSCREEN;
    }
    SDL_Surface* screen = nullptr;
    bool audioOpen = false;
    if (OpenVideo(config, screen, audioOpen) != 0) {
        SDL_Quit();
        return kExitStartFailed;
    }
    if (!forRender) SDL_ShowCursor(options.fullscreen ? SDL_DISABLE : SDL_ENABLE);

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
        if (demo) code = body(*demo, options, config.width, config.height);
    }
    OGLState::SetState(nullptr);
    delete state;
    if (audioOpen) Mix_CloseAudio();
    SDL_Quit();
    return code;
}
