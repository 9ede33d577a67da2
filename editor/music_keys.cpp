// The music keys: I and O set the loop range at the time cursor, L turns
// looping on and off, M adds a marker there, [ and ] jump to the previous and
// next marker, W shows or hides the waveform strip.
#include "music_ui.h"

#include <cstdio>
#include <string>

#include <SDL/SDL.h>

#include "app.h"
#include "music_edits.h"

namespace {

void SayTime(EditorApp& app, const char* what, uint32_t t) {
    char text[128];
    snprintf(text, sizeof text, "%s at %u ms", what, t);
    app.editorScreen.SetStatus(text);
}

void SetLoopEnd(EditorApp& app, bool in) {
    DemoStruct& demo = *app.demo;
    const uint32_t t = app.music.position;
    DemoStruct probe = {};
    probe.runningTime = demo.runningTime;
    probe.hasLoopRange = demo.hasLoopRange;
    probe.loopIn = demo.loopIn;
    probe.loopOut = demo.loopOut;
    if (!(in ? SetLoopIn(probe, t) : SetLoopOut(probe, t))) {
        app.editorScreen.SetStatus(in ? "Loop in must come before the end of the demo"
                                      : "Loop out must come after the start of the demo");
        return;
    }
    if (demo.hasLoopRange && demo.loopIn == probe.loopIn && demo.loopOut == probe.loopOut) return;
    app.RecordEdit(in ? "Set Loop In" : "Set Loop Out");
    demo.hasLoopRange = true;
    demo.loopIn = probe.loopIn;
    demo.loopOut = probe.loopOut;
    SayTime(app, in ? "Loop in" : "Loop out", t);
}

void ToggleLooping(EditorApp& app) {
    MusicViewState& view = MusicView();
    if (!view.looping && !app.demo->hasLoopRange) {
        app.editorScreen.SetStatus("No loop range: set its in and out with I and O");
        return;
    }
    view.looping = !view.looping;
    app.editorScreen.SetStatus(view.looping ? "Looping on" : "Looping off");
}

void AddMarker(EditorApp& app) {
    DemoStruct& demo = *app.demo;
    if (demo.markerCount >= kMaxMarkers) {
        app.editorScreen.SetStatus("Too many markers");
        return;
    }
    const std::string name = NewMarkerName(demo);
    app.RecordEdit("Add Marker");
    const int32_t m = AddDemoMarker(demo, app.music.position, name.c_str());
    if (m < 0) return;
    ShowMarkerPanel(m);
    SayTime(app, (name + " added").c_str(), app.music.position);
}

void JumpToMarker(EditorApp& app, bool forward) {
    const DemoStruct& demo = *app.demo;
    const int32_t m =
        forward ? NextMarker(demo, app.music.position) : PreviousMarker(demo, app.music.position);
    if (m < 0) return;
    // A playing demo picks the new position up in the next frame, music included.
    app.music.position = demo.markers[m].time;
    ShowMarkerPanel(m);
}

} // namespace

bool HandleMusicKey(int sym, int) {
    EditorApp* app = App();
    if (!app || !app->demo || !app->demoLoaded) return false;
    if (KeyEventMods() & (KMOD_CTRL | KMOD_ALT | KMOD_META)) return false;
    switch (sym) {
    case SDLK_i:
        SetLoopEnd(*app, true);
        return true;
    case SDLK_o:
        SetLoopEnd(*app, false);
        return true;
    case SDLK_l:
        ToggleLooping(*app);
        return true;
    case SDLK_m:
        AddMarker(*app);
        return true;
    case SDLK_LEFTBRACKET:
        JumpToMarker(*app, false);
        return true;
    case SDLK_RIGHTBRACKET:
        JumpToMarker(*app, true);
        return true;
    case SDLK_w:
        MusicView().waveformShown = !MusicView().waveformShown;
        return true;
    default:
        return false;
    }
}
