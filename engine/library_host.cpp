// Effect library host: loading the libraries a demo names, checking the contract
// version they declare, resolving entry points, matching events to functions,
// creating surfaces, initialising the libraries, and unloading them again.
#include "engine.h"
#include "oglstate.h"
#include "sdl_config.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#include <link.h>
#include <type_traits>

#include <SDL/SDL.h>
#include <SDL/SDL_loadso.h>

#include "trellic/effect_sdk.h"

namespace {

// The host's entry point types are the SDK's declarations, so a library built
// against the SDK is called exactly as it was compiled.
static_assert(std::is_same<VorlenInitProc, decltype(&Vorlen_Init)>::value, "Vorlen_Init");
static_assert(std::is_same<VorlenBeginNewFrameProc, decltype(&Vorlen_BeginNewFrame)>::value,
              "Vorlen_BeginNewFrame");
static_assert(std::is_same<VorlenQuitProc, decltype(&Vorlen_Quit)>::value, "Vorlen_Quit");
static_assert(std::is_same<VorlenContractVersionProc, decltype(&Vorlen_ContractVersion)>::value,
              "Vorlen_ContractVersion");
static_assert(std::is_same<VorlenSetRenderTimeProc, decltype(&Vorlen_SetRenderTime)>::value,
              "Vorlen_SetRenderTime");

// The whole message, however long the library's name.
__attribute__((format(printf, 1, 2))) std::string Printf(const char* format, ...) {
    va_list args, again;
    va_start(args, format);
    va_copy(again, args);
    int length = vsnprintf(nullptr, 0, format, args);
    std::string text(length > 0 ? (size_t)length : 0, '\0');
    if (length > 0) vsnprintf(&text[0], text.size() + 1, format, again);
    va_end(again);
    va_end(args);
    return text;
}

// A library may declare the contract it was written for; without the export it
// is version 1. One newer than this program's cannot be called safely.
void CheckContractVersion(const EffectLibrary& lib, const char* name) {
    auto version = (VorlenContractVersionProc)SDL_LoadFunction(lib.handle, "Vorlen_ContractVersion");
    if (!version) return;
    int declared = 0;
    try {
        declared = version();
    } catch (...) {
        throw BasicException::Format("Couldn't read the plug-in contract version of library '%s'!", name);
    }
    if (declared > VORLEN_CONTRACT_VERSION)
        throw BasicException::Format("Library '%s' needs plug-in contract version %d; this Trellic knows "
                                     "version %d",
                                     name, declared, VORLEN_CONTRACT_VERSION);
    if (declared < 1)
        throw BasicException::Format("Library '%s' declares plug-in contract version %d; versions start at 1",
                                     name, declared);
}

bool HandleAmong(const DemoStruct& demo, uint32_t count, void* handle) {
    for (uint32_t l = 0; l < count && l < demo.libraryCount; l++)
        if (demo.libraries[l].handle == handle) return true;
    return false;
}

} // namespace

int BindLibrary(EffectLibrary& lib, std::string& error) {
    const char* name = lib.fileName ? lib.fileName : "";
    lib.handle = SDL_LoadObject(name);
    if (!lib.handle) {
        error = Printf("Couldn't load library '%s'!", name);
        return -1;
    }
    CheckContractVersion(lib, name);
    lib.init = (VorlenInitProc)SDL_LoadFunction(lib.handle, "Vorlen_Init");
    if (!lib.init) {
        error = Printf("Couldn't load function 'Vorlen_Init' from library '%s'!", name);
        return -1;
    }
    lib.quit = (VorlenQuitProc)SDL_LoadFunction(lib.handle, "Vorlen_Quit");
    if (!lib.quit) {
        error = Printf("Couldn't load function 'Vorlen_Quit' from library '%s'!", name);
        return -1;
    }
    lib.beginNewFrame = (VorlenBeginNewFrameProc)SDL_LoadFunction(lib.handle, "Vorlen_BeginNewFrame");
    if (!lib.beginNewFrame) {
        error = Printf("Couldn't load function 'Vorlen_BeginNewFrame' from library '%s'!", name);
        return -1;
    }
    // Optional: the renderer tells a library that has it each frame's demo time.
    lib.setRenderTime = (VorlenSetRenderTimeProc)SDL_LoadFunction(lib.handle, "Vorlen_SetRenderTime");
    for (uint32_t f = 0; f < lib.functionCount; f++) {
        EffectFunction& fn = lib.functions[f];
        const char* fnName = fn.name ? fn.name : "";
        fn.entry = (EffectProc)SDL_LoadFunction(lib.handle, fnName);
        if (!fn.entry) {
            error = Printf("Couldn't load function '%s' from library '%s'!", fnName, name);
            return -1;
        }
    }
    return 0;
}

int BindLibraries(DemoStruct& demo) {
    for (uint32_t l = 0; l < demo.libraryCount; l++) {
        std::string error;
        if (BindLibrary(demo.libraries[l], error) != 0) {
            fprintf(stderr, "%s\n", error.c_str());
            return -1;
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

int InitLibraries(DemoStruct& demo, uint32_t* tried) {
    for (uint32_t l = 0; l < demo.libraryCount; l++) {
        EffectLibrary& lib = demo.libraries[l];
        if (tried) *tried = l + 1;
        if (!lib.init || (lib.init(demo.outputSurfaces, demo.inputSurfaces) & 0xFF) == 0) return -1;
    }
    return 0;
}

void QuitLibraries(DemoStruct& demo, uint32_t count, const DemoStruct* keep) {
    OGLState* current = OGLState::GetState();
    bool called = false;
    for (uint32_t l = 0; l < count && l < demo.libraryCount; l++) {
        EffectLibrary& lib = demo.libraries[l];
        if (!lib.handle || !lib.quit || HandleAmong(demo, l, lib.handle)) continue;
        if (keep && HandleAmong(*keep, keep->libraryCount, lib.handle)) continue;
        called = true;
        const char* name = lib.fileName ? lib.fileName : "";
        try {
            lib.quit();
        } catch (const BasicException& e) {
            fprintf(stderr, "Library '%s' failed to quit: %s\n", name, e.GetMessage());
        } catch (...) {
            fprintf(stderr, "Library '%s' failed to quit\n", name);
        }
    }
    // A library may detach the record or change GL state behind it on its way out.
    if (called && current) OGLState::SetStateForce(current);
}

void UnloadLibraries(DemoStruct& demo, std::vector<std::string>* stillLoaded) {
    // Where each module was read from, to tell afterwards whether it went away.
    std::vector<std::string> paths;
    for (uint32_t l = 0; stillLoaded && l < demo.libraryCount; l++) {
        void* handle = demo.libraries[l].handle;
        struct link_map* module = nullptr;
        if (handle && !HandleAmong(demo, l, handle) && dlinfo(handle, RTLD_DI_LINKMAP, &module) == 0 && module &&
            module->l_name && module->l_name[0])
            paths.push_back(module->l_name);
    }
    for (uint32_t l = 0; l < demo.libraryCount; l++) {
        EffectLibrary& lib = demo.libraries[l];
        if (lib.handle) SDL_UnloadObject(lib.handle); // one per SDL_LoadObject
        lib.handle = nullptr;
        lib.init = nullptr;
        lib.beginNewFrame = nullptr;
        lib.quit = nullptr;
        lib.setRenderTime = nullptr;
        for (uint32_t f = 0; f < lib.functionCount; f++)
            lib.functions[f].entry = nullptr;
    }
    for (uint32_t i = 0; i < demo.trackCount; i++)
        for (uint32_t j = 0; j < demo.tracks[i].eventCount; j++)
            demo.tracks[i].events[j].effect = nullptr;
    for (const std::string& path : paths) {
        void* again = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
        if (!again) continue;
        dlclose(again);
        fprintf(stderr, "Library '%s' stays loaded: something else holds it, so its file is not read again\n",
                path.c_str());
        stillLoaded->push_back(path);
    }
}
