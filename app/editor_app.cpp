// EditorApp: construction and teardown of the application object, the
// process-wide accessors, the preview switch, the volume and its settings file.
#include "app.h"
#include "gui.h"

#include <cassert>
#include <cstdio>
#include <cstdlib>

namespace {
EditorApp* gApp = nullptr;
}

void DemoDeleter::operator()(DemoStruct* demo) const {
    if (!demo) return;
    ReleaseDemo(*demo);
    delete demo;
}

EditorApp::EditorApp(SDL_Surface* screen_, SDL_Config* videoConfig_)
    : DemoOperations(), editorScreen(windowWidth, windowHeight, kQuitKeyF10), previewScreen(kQuitKeyF10),
      demoLoaded(false), fullScreenPreview(false), volume(100), imageCount(0), imageMemory(0),
      screen(screen_), videoConfig(videoConfig_) {
    ownsDemo = true;
    for (uint32_t i = 0; i < kMaxImages; i++) {
        imagePaths[i][0] = 0;
        imageKinds[i] = 0;
    }
    // A click anywhere on the full-screen preview returns to the editor.
    previewScreen.add(new Widget(0, 0, windowWidth, windowHeight, ShowEditor, ShowEditor));
    previewScreen.add(new PathOverlay());
    // Tests and impatient users may want the autosave sooner than once a minute.
    if (const char* interval = getenv("TRELLIC_AUTOSAVE_MS")) {
        const long ms = strtol(interval, nullptr, 10);
        if (ms > 0) autosaveIntervalMs = (uint32_t)ms;
    }
}

EditorApp::~EditorApp() {}

void SetApp(EditorApp* app) {
    EditorApp* old = gApp;
    gApp = nullptr;
    delete old;
    gApp = app;
}

EditorApp* App() {
    return gApp;
}

MusicPlayer& AppMusic() {
    assert(gApp);
    return gApp->music;
}

EditorScreen& AppEditorScreen() {
    assert(gApp);
    return gApp->editorScreen;
}

GuiScreen& AppActiveScreen() {
    assert(gApp);
    if (gApp->fullScreenPreview) return gApp->previewScreen;
    return gApp->editorScreen;
}

void SetFullScreenPreview(bool flag) {
    if (gApp) gApp->fullScreenPreview = flag;
}

bool IsFullScreenPreview() {
    return gApp && gApp->fullScreenPreview;
}

void ShowEditor(int, int, int) {
    SetFullScreenPreview(false);
}

void ShowFullScreenPreview(int, int, int) {
    SetFullScreenPreview(true);
}

void EditorApp::SetVolume(uint32_t v) {
    volume = v > (uint32_t)MIX_MAX_VOLUME ? (uint32_t)MIX_MAX_VOLUME : v;
    if (demoLoaded) music.ApplyVolume();
}

void EditorApp::ReadSettings(const char* path) {
    FILE* f = fopen(path, "r");
    if (!f) return;
    long v = 0;
    if (fscanf(f, "Volume %ld", &v) == 1) volume = (uint32_t)v;
    int waveform = 0;
    if (fscanf(f, " Waveform %d", &waveform) == 1) MusicView().waveformShown = waveform != 0;
    fclose(f);
}

void EditorApp::WriteSettings(const char* path) {
    FILE* f = fopen(path, "w");
    if (!f) return;
    fprintf(f, "Volume %ld", (long)volume);
    // Only a shown strip is written, so the file stays as it was without it.
    if (MusicView().waveformShown) fprintf(f, "\nWaveform 1");
    fclose(f);
}
