// Unsaved changes: the window caption says whether there are any, and whatever
// would drop them (F10, closing the window, Load Demo) asks first.
#include "editor.h"

#include <cstring>

#include <SDL/SDL.h>

#include "app.h"
#include "panels.h"

namespace {
std::string gShownCaption;
}

std::string EditorCaption(const EditorApp& app) {
    std::string caption = app.videoConfig && app.videoConfig->caption[0] ? app.videoConfig->caption : "Trellic";
    if (app.demo && !app.demoFileName.empty()) {
        const std::string& path = app.demoFileName;
        const size_t slash = path.find_last_of('/');
        caption += " - " + (slash == std::string::npos ? path : path.substr(slash + 1));
        if (app.undo.IsModified()) caption += " *";
    }
    return caption;
}

void UpdateWindowCaption(const EditorApp& app) {
    const std::string caption = EditorCaption(app);
    if (caption == gShownCaption) return;
    // Until a demo is named the window keeps the caption it was opened with.
    if (gShownCaption.empty() && !app.demo) return;
    gShownCaption = caption;
    SDL_WM_SetCaption(caption.c_str(), caption.c_str());
}

bool ResolveUnsavedChanges() {
    EditorApp* app = App();
    if (!app || !app->demo || !app->undo.IsModified()) return true;
    switch (AskQuestion("The demo has unsaved changes.", {"Save", "Discard", "Cancel"})) {
    case 0:
        // The demo goes to its own file, whatever the file name field says now.
        app->SaveDemoAs(app->demoFileName.c_str());
        return !app->undo.IsModified();
    case 1:
        app->RemoveAutosave();
        return true;
    default:
        return false;
    }
}
