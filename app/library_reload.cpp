// Reloading the current demo's effect libraries from disk (F5, the Reload
// button): the old modules quit and are unmapped so that a rebuilt file is read
// again; the demo in memory, its unsaved edits, the selection and the time stay.
#include "app.h"

#include <cstdio>
#include <string>
#include <vector>

#include <SDL/SDL.h>

#include "engine.h"

namespace {

// Binds, matches and initialises the demo's libraries again, with the surfaces
// of its load. On failure the reason goes to `reason`, and whatever this attempt
// loaded is given back (libraries it initialised quit first). Libraries are
// unloaded only outside the handlers: a caught exception may be a library's own.
bool BindAgain(DemoStruct& demo, std::string& reason) {
    bool bound = true;
    try {
        for (uint32_t l = 0; l < demo.libraryCount && bound; l++) {
            EffectLibrary& lib = demo.libraries[l];
            if (BindLibrary(lib, reason) != 0) {
                fprintf(stderr, "%s\n", reason.c_str());
                if (!lib.handle) reason += std::string(" ") + SDL_GetError(); // why the loader refused it
                bound = false;
            }
        }
    } catch (const BasicException& e) {
        reason = e.GetMessage();
        bound = false;
    }
    if (bound && MatchEvents(demo) != 0) {
        fputc('\n', stderr);
        reason = "could not match function pointers!";
        bound = false;
    }
    if (!bound) {
        UnloadLibraries(demo);
        return false;
    }
    uint32_t tried = 0;
    bool initialised = false;
    reason = "could not initialize Vorlen!";
    try {
        initialised = InitLibraries(demo, &tried) == 0;
    } catch (const BasicException& e) {
        reason = e.GetMessage();
    } catch (...) {
    }
    if (initialised) return true;
    QuitLibraries(demo, tried, nullptr);
    UnloadLibraries(demo);
    return false;
}

std::string FileNameOf(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

bool EditorApp::ReloadLibraries() {
    if (!demo || !demoLoaded) {
        editorScreen.SetStatus("No demo loaded: nothing to reload");
        return false;
    }
    // Every effect pointer of the demo goes stale here; until the libraries are
    // bound again nothing may draw the demo.
    effectsUnbound = true;
    QuitLibraries(*demo, demo->libraryCount, nullptr);
    std::vector<std::string> stillLoaded;
    UnloadLibraries(*demo, &stillLoaded);

    std::string reason;
    if (!BindAgain(*demo, reason)) {
        editorScreen.SetStatus(("Reload failed (preview off, F5 retries): " + reason).c_str());
        return false;
    }
    effectsUnbound = false;
    ReadImageList("ImageList.txt");
    if (stillLoaded.empty())
        editorScreen.SetStatus("Libraries reloaded");
    else
        editorScreen.SetStatus(("Libraries reloaded, but " + FileNameOf(stillLoaded[0]) +
                                " stayed in memory: its old code still runs")
                                   .c_str());
    return true;
}

void ReloadLibrariesCommand(int, int, int) {
    if (App()) App()->ReloadLibraries();
}
