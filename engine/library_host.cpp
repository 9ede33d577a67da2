// Effect library host: loading the libraries a demo names, resolving entry points,
// matching events to functions, creating surfaces and initialising the libraries.
#include "engine.h"
#include "sdl_config.h"

#include <cstdio>
#include <cstring>

#include <SDL/SDL.h>
#include <SDL/SDL_loadso.h>

int BindLibraries(DemoStruct& demo) {
    for (uint32_t l = 0; l < demo.libraryCount; l++) {
        EffectLibrary& lib = demo.libraries[l];
        const char* name = lib.fileName ? lib.fileName : "";
        lib.handle = SDL_LoadObject(name);
        if (!lib.handle) {
            fprintf(stderr, "Couldn't load library '%s'!\n", name);
            return -1;
        }
        lib.init = (VorlenInitProc)SDL_LoadFunction(lib.handle, "Vorlen_Init");
        if (!lib.init) {
            fprintf(stderr, "Couldn't load function 'Vorlen_Init' from library '%s'!\n", name);
            return -1;
        }
        lib.quit = (VorlenQuitProc)SDL_LoadFunction(lib.handle, "Vorlen_Quit");
        if (!lib.quit) {
            fprintf(stderr, "Couldn't load function 'Vorlen_Quit' from library '%s'!\n", name);
            return -1;
        }
        lib.beginNewFrame = (VorlenBeginNewFrameProc)SDL_LoadFunction(lib.handle, "Vorlen_BeginNewFrame");
        if (!lib.beginNewFrame) {
            fprintf(stderr, "Couldn't load function 'Vorlen_BeginNewFrame' from library '%s'!\n", name);
            return -1;
        }
        // Optional: the renderer tells a library that has it each frame's demo time.
        lib.setRenderTime = (VorlenSetRenderTimeProc)SDL_LoadFunction(lib.handle, "Vorlen_SetRenderTime");
        for (uint32_t f = 0; f < lib.functionCount; f++) {
            EffectFunction& fn = lib.functions[f];
            const char* fnName = fn.name ? fn.name : "";
            fn.entry = (EffectProc)SDL_LoadFunction(lib.handle, fnName);
            if (!fn.entry) {
                fprintf(stderr, "Couldn't load function '%s' from library '%s'!\n", fnName, name);
                return -1;
            }
        }
    }
    return 0;
}

static bool SameName(const char* a, const char* b) {
    return a && b && strcmp(a, b) == 0;
}

int MatchEvents(DemoStruct& demo) {
    for (uint32_t i = 0; i < demo.trackCount; i++) {
        DemoTrack& track = demo.tracks[i];
        for (uint32_t j = 0; j < track.eventCount; j++) {
            DemoEvent& ev = track.events[j];
            bool found = false;
            for (uint32_t l = 0; l < demo.libraryCount && !found; l++) {
                const EffectLibrary& lib = demo.libraries[l];
                if (!SameName(lib.fileName, ev.libraryFileName)) continue;
                for (uint32_t f = 0; f < lib.functionCount && !found; f++) {
                    if (SameName(lib.functions[f].name, ev.functionName)) {
                        ev.effect = lib.functions[f].entry;
                        found = true;
                    }
                }
            }
            if (!found) {
                fprintf(stderr,
                        "Couldn't match event %d's function '%s' for library '%s' to available libraries in "
                        "track %d",
                        (int)j, ev.functionName ? ev.functionName : "",
                        ev.libraryFileName ? ev.libraryFileName : "", (int)i);
                return -1;
            }
        }
    }
    return 0;
}

int CreateSurfaces(DemoStruct& demo, const SDL_Config& videoConfig, SDL_Surface* screen) {
    int depth = 32;
    Uint32 rmask = 0x00FF0000, gmask = 0x0000FF00, bmask = 0x000000FF, amask = 0xFF000000;
    if (screen && screen->format) {
        depth = screen->format->BitsPerPixel;
        rmask = screen->format->Rmask;
        gmask = screen->format->Gmask;
        bmask = screen->format->Bmask;
        amask = screen->format->Amask;
    }
    // The file sets no bound on the count; refuse absurd ones before allocating.
    if (demo.inputSurfaceCount > kMaxInputSurfaces) {
        fprintf(stderr, "Couldn't create some input surface!");
        return -1;
    }
    demo.inputSurfaces = new SDL_Surface*[demo.inputSurfaceCount + 1]();
    for (uint32_t i = 0; i < demo.inputSurfaceCount; i++) {
        demo.inputSurfaces[i] =
            SDL_CreateRGBSurface(0, videoConfig.width, videoConfig.height, depth, rmask, gmask, bmask, amask);
        if (!demo.inputSurfaces[i]) {
            fprintf(stderr, "Couldn't create some input surface!");
            return -1;
        }
    }
    if (demo.outputSurfaceCount > kMaxInputSurfaces) {
        fprintf(stderr, "Couldn't create some output surface!");
        return -1;
    }
    demo.outputSurfaces = new SDL_Surface*[demo.outputSurfaceCount + 1]();
    for (uint32_t i = 0; i < demo.outputSurfaceCount; i++) {
        demo.outputSurfaces[i] =
            SDL_CreateRGBSurface(0, videoConfig.width, videoConfig.height, depth, rmask, gmask, bmask, amask);
        if (!demo.outputSurfaces[i]) {
            fprintf(stderr, "Couldn't create some output surface!");
            return -1;
        }
    }
    return 0;
}

int InitLibraries(DemoStruct& demo) {
    for (uint32_t l = 0; l < demo.libraryCount; l++) {
        EffectLibrary& lib = demo.libraries[l];
        if (!lib.init || (lib.init(demo.outputSurfaces, demo.inputSurfaces) & 0xFF) == 0) return -1;
    }
    return 0;
}
