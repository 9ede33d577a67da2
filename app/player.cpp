// The standalone player: loads a demo through the editor's stages, starts the
// music and the clock, and draws every frame over the whole window until the
// demo ends (or loops), Escape or F10 is pressed, or the window is closed.
#include "app.h"
#include "standalone.h"

#include <cstdio>

#include <GL/glew.h>
#include <SDL/SDL.h>

#include "engine.h"
#include "oglstate.h"

namespace {

bool QuitRequested() {
    SDL_Event event;
    bool quit = false;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_QUIT) quit = true;
        if (event.type == SDL_KEYDOWN &&
            (event.key.keysym.sym == SDLK_ESCAPE || event.key.keysym.sym == SDLK_F10))
            quit = true;
    }
    return quit;
}

int PlayLoop(DemoStruct& demo, const CommandLine& options) {
    if (demo.runningTime == 0) return kExitOk;
    MusicPlayer music;
    if (demo.inputMusicFile && demo.inputMusicFile[0]) music.Load(demo.inputMusicFile);

    uint32_t from = options.fromMs < demo.runningTime ? options.fromMs : demo.runningTime - 1;
    uint32_t start = SDL_GetTicks();
    music.Play(true, from);
    while (!QuitRequested()) {
        uint32_t position = from + (SDL_GetTicks() - start);
        if (position >= demo.runningTime || position < from) {
            if (!options.loop) break;
            from = 0;
            start = SDL_GetTicks();
            position = 0;
            music.Play(true, 0);
        }
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        try {
            if (!RenderFrame(demo, position)) {
                fprintf(stderr, "Trellic: at %u ms: Unknown error during playing of this screen!\n",
                        position);
                return kExitFrameFailed;
            }
        } catch (const BasicException& e) {
            fprintf(stderr, "Trellic: at %u ms: %s\n", position, e.GetMessage());
            return kExitFrameFailed;
        }
        SDL_GL_SwapBuffers();
    }
    return kExitOk;
}

} // namespace

int RunPlayer(const CommandLine& options) {
    SDL_Config config;
    if (ReadVideoConfig(config) != 0) return kExitStartFailed;
    if (options.width > 0) {
        config.width = options.width;
        config.height = options.height;
    }
    if (options.fullscreen) config.videoFlags |= SDL_FULLSCREEN;
    SDL_Surface* screen = nullptr;
    bool audioOpen = false;
    if (OpenVideo(config, screen, audioOpen) != 0) {
        SDL_Quit();
        return kExitStartFailed;
    }
    SDL_ShowCursor(options.fullscreen ? SDL_DISABLE : SDL_ENABLE);

    // The player draws in a fresh record's state: the whole window, centred and
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
        if (demo) code = PlayLoop(*demo, options);
    }
    OGLState::SetState(nullptr);
    delete state;
    if (audioOpen) Mix_CloseAudio();
    SDL_Quit();
    return code;
}
