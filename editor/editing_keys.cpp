// The editor's keyboard commands for editing the demo. They act only when no
// text field is being edited: there the keys are typing.
#include "editor.h"

#include <SDL/SDL.h>

#include "app.h"

namespace {

const uint32_t kStepMs = 100;       // Left and Right
const uint32_t kShiftStepMs = 1000; // with Shift

// Moves the paused time cursor to `ms`, kept inside the demo.
void MoveCursorTo(EditorApp& app, int64_t ms) {
    const uint32_t runningTime = app.GetRunningTime();
    const int64_t last = runningTime > 0 ? (int64_t)runningTime - 1 : 0;
    app.music.position = (uint32_t)(ms < 0 ? 0 : (ms > last ? last : ms));
}

bool HandleCursorKey(EditorApp& app, int sym, bool shift) {
    if (!app.demoLoaded) return false;
    const int64_t now = app.music.position;
    const int64_t step = shift ? kShiftStepMs : kStepMs;
    switch (sym) {
    case SDLK_HOME:
        MoveCursorTo(app, 0);
        return true;
    case SDLK_END:
        MoveCursorTo(app, (int64_t)app.GetRunningTime());
        return true;
    case SDLK_LEFT:
    case SDLK_RIGHT:
        // While playing the clock owns the position.
        if (app.music.playing) return true;
        MoveCursorTo(app, sym == SDLK_LEFT ? now - step : now + step);
        return true;
    default:
        return false;
    }
}

} // namespace

bool HandleEditingKey(int sym, int unicode) {
    (void)unicode;
    if (sym == SDLK_F5) { // after rebuilding an effect library
        ReloadLibrariesCommand(0, 0, 0);
        return true;
    }
    EditorApp* app = App();
    if (!app || TextField::Editing()) return false;
    const int mods = KeyEventMods();
    const bool ctrl = (mods & KMOD_CTRL) != 0, shift = (mods & KMOD_SHIFT) != 0;
    if (ctrl) {
        switch (sym) {
        case SDLK_z:
            if (shift)
                app->RedoEdit();
            else
                app->UndoEdit();
            return true;
        case SDLK_y:
            app->RedoEdit();
            return true;
        case SDLK_s:
            SaveDemoCommand(0, 0, 1);
            return true;
        default:
            return false;
        }
    }
    if (!app->demoLoaded) return false;
    switch (sym) {
    case SDLK_SPACE:
        PlayPause(0, 0, 1);
        return true;
    case SDLK_DELETE:
        DeleteEventCommand(0, 0, 1);
        return true;
    default:
        return HandleCursorKey(*app, sym, shift);
    }
}
