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

bool DrawFrame(DemoStruct& demo, uint32_t position, FrameCursors& cursors) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    try {
        if (!RenderFrame(demo, position, cursors)) {
            fprintf(stderr, "Trellic: at %u ms: Unknown error during playing of this screen!\n", position);
            return false;
        }
    } catch (const BasicException& e) {
        fprintf(stderr, "Trellic: at %u ms: %s\n", position, e.GetMessage());
        return false;
    }
    SDL_GL_SwapBuffers();
    return true;
}

// The music starts with the picture: wait for its decode, showing the first
// frame. kExitOk to go on, or the code to end with (-1: quit asked for).
int WaitForMusic(DemoStruct& demo, MusicPlayer& music, uint32_t from, FrameCursors& cursors) {
    while (music.Music() && !music.Music()->IsDecoded() && !music.Music()->Failed()) {
        if (QuitRequested()) return -1;
        if (!DrawFrame(demo, from, cursors)) return kExitFrameFailed;
        SDL_Delay(10);
    }
    if (const char* message = music.Update()) fprintf(stderr, "Trellic: %s\n", message);
    return kExitOk;
}

int PlayLoop(DemoStruct& demo, const CommandLine& options, int, int) {
    if (demo.runningTime == 0) return kExitOk;
    MusicPlayer music;
    if (demo.inputMusicFile && demo.inputMusicFile[0]) music.Load(demo.inputMusicFile);

    uint32_t from = options.fromMs < demo.runningTime ? options.fromMs : demo.runningTime - 1;
    FrameCursors cursors; // the demo stays as loaded while it plays
    int waited = WaitForMusic(demo, music, from, cursors);
    if (waited != kExitOk) return waited < 0 ? kExitOk : waited;
    uint32_t start = SDL_GetTicks();
    music.Play(true, from);
    while (!QuitRequested()) {
        // The music's position while it sounds, else the tick counter.
        uint32_t position = 0;
        if (!music.AudioPosition(position)) position = from + (SDL_GetTicks() - start);
        if (position >= demo.runningTime || position < from) {
            if (!options.loop) break;
            from = 0;
            start = SDL_GetTicks();
            position = 0;
            music.Play(true, 0);
        }
        if (!DrawFrame(demo, position, cursors)) return kExitFrameFailed;
    }
    return kExitOk;
}

} // namespace

int RunPlayer(const CommandLine& options) {
    return RunStandalone(options, false, PlayLoop);
}
