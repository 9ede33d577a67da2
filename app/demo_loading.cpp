// Loading a demo through its stages (file, libraries, functions, surfaces,
// initialisation) and saving it. A new demo replaces the current one only when
// every stage succeeded; a failure leaves the previous demo in place, unloaded.
#include "app.h"

#include <cstdio>
#include <new>
#include <string>

#include "engine.h"

namespace {
// Every binding step, with the message the user sees when it fails.
struct StageContext {
    SDL_Config* videoConfig;
    SDL_Surface* screen;
};
struct BindingStage {
    int (*run)(StageContext& context, DemoStruct& demo);
    const char* message;
};

int RunBindLibraries(StageContext&, DemoStruct& d) {
    return BindLibraries(d);
}
int RunMatchEvents(StageContext&, DemoStruct& d) {
    return MatchEvents(d);
}
int RunCreateSurfaces(StageContext& c, DemoStruct& d) {
    SDL_Config fallback;
    if (!c.videoConfig) SDL_Config_DefaultConfig(&fallback);
    return CreateSurfaces(d, c.videoConfig ? *c.videoConfig : fallback, c.screen);
}
int RunInitLibraries(StageContext&, DemoStruct& d) {
    return InitLibraries(d);
}

const BindingStage kStages[] = {
    {RunBindLibraries, "Loading demo failed: could not initialize libraries!"},
    {RunMatchEvents, "Loading demo failed: could not match function pointers!"},
    {RunCreateSurfaces, "Loading demo failed: could not create surfaces!"},
    {RunInitLibraries, "Loading demo failed: could not initialize Vorlen!"},
};
} // namespace

OwnedDemo LoadBoundDemo(const char* fileName, SDL_Config* videoConfig, SDL_Surface* screen) {
    OwnedDemo fresh(new (std::nothrow) DemoStruct());
    if (!fresh) throw BasicException("Loading demo failed: could not allocate new DemoStruct");

    // Any failure below destroys `fresh` (ReleaseDemo, then free) on the way out.
    try {
        LoadDemoFile(fileName, *fresh, true);
    } catch (const BasicException&) {
        throw;
    } catch (...) {
        throw BasicException("An error occurred while loading demo from XML file. May have something to with "
                             "corrupt XML, not 100% sure...");
    }
    fresh->outputSurfaceCount = 2;
    StageContext context = {videoConfig, screen};
    for (const BindingStage& stage : kStages) {
        bool failed = true;
        BasicException failure(stage.message);
        try {
            failed = stage.run(context, *fresh) != 0;
        } catch (const BasicException& e) {
            failure = e;
        } catch (...) {
            // Something other than our exception from inside a library: the stage's message.
        }
        if (failed) {
            // Give back the handles this load took, or the modules stay mapped and
            // a corrected file would not be read by the next load. Only now, out of
            // the handler: the exception caught may belong to a library unloaded here.
            UnloadLibraries(*fresh);
            throw failure;
        }
    }
    return fresh;
}

bool EditorApp::LoadDemo() {
    // The file name lives in a widget the stages may not touch, but copy it anyway:
    // a library's initialisation must not be able to pull it from under the reader.
    const std::string fileName = editorScreen.DemoFileName();

    // A failure leaves the current demo on screen and editable: nothing is lost.
    OwnedDemo fresh = LoadBoundDemo(fileName.c_str(), videoConfig, screen);
    if (demoLoaded) {
        // The panels point into the old demo's arrays: take them down first.
        editorScreen.BuildBase();
        demoLoaded = false;
    }
    if (demo) {
        // The old demo's handles go, so each module is held once, by the new demo:
        // a reload can then really unload it. A library it alone used quits first.
        QuitLibraries(*demo, demo->libraryCount, fresh.get());
        UnloadLibraries(*demo);
    }
    ReplaceDemo(fresh.release());
    effectsUnbound = false;
    demoLoaded = true;
    demoFileName = fileName;
    undo.Clear();
    autosavedRevision = ~(uint64_t)0;
    autosaveDueAt = 0;
    ReadImageList("ImageList.txt");
    music.playing = false;
    return true;
}

bool EditorApp::SaveDemo() {
    return SaveDemoAs(editorScreen.DemoFileName());
}

bool EditorApp::SaveDemoAs(const char* path) {
    SaveOptions options;
    options.keepBackup = true;
    SaveReport report;
    const std::string target = path ? path : "";
    if (demo && SaveDemoFile(target.c_str(), demo, &options, &report)) {
        // The autosave of the file the demo came from has served its purpose.
        RemoveAutosave();
        demoFileName = target;
        undo.MarkSaved();
        if (report.replacedCharacters > 0) {
            char status[96];
            snprintf(status, sizeof status, "Demo saved; %u control character%s written as '?'.",
                     (unsigned)report.replacedCharacters, report.replacedCharacters == 1 ? "" : "s");
            editorScreen.SetStatus(status);
        } else {
            editorScreen.SetStatus("Demo saved.");
        }
        return true;
    }
    editorScreen.SetStatus("Error saving demo!");
    return false;
}
