// The editor screen's commands: load, save, clear status, play/pause, demo
// information and the volume slider. Each finds the application through App().
#include "editor.h"

#include "app.h"
#include "panels.h"

namespace {
int gVolumeSlider = 100;
}

int& VolumeSliderValue() {
    return gVolumeSlider;
}

void LoadDemoCommand(int, int, int) {
    EditorApp* app = App();
    if (!app) return;
    EditorScreen& screen = app->editorScreen;
    if (!ResolveUnsavedChanges()) return;
    try {
        app->LoadDemo();
    } catch (const BasicException& e) {
        screen.SetStatus(e.GetMessage());
        return;
    }
    // The loop switch, a detection and the marker panel belonged to the old demo.
    CancelTempoDetection();
    MusicView().looping = false;
    MusicView().shownMarker = -1;
    screen.SetStatus("Demo loaded");
    // Before the editor is built: a recovered running time sets the time slider's range.
    app->OfferRecovery();
    screen.BuildEditor(*app, app->music);
    const char* musicFile = app->demo ? app->demo->inputMusicFile : nullptr;
    if (musicFile && musicFile[0])
        app->music.Load(musicFile);
    else
        app->music.Unload();
}

void SaveDemoCommand(int, int, int) {
    EditorApp* app = App();
    if (!app) return;
    try {
        app->SaveDemo();
    } catch (const BasicException& e) {
        app->editorScreen.SetStatus(e.GetMessage());
    } catch (...) {
        app->editorScreen.SetStatus("Something went wrong wile saving!");
    }
}

void ClearStatus(int, int, int) {
    if (App()) App()->editorScreen.SetStatus("");
}

void PlayPause(int, int, int) {
    EditorApp* app = App();
    if (!app) return;
    MusicPlayer& music = app->music;
    music.playing = !music.playing;
    music.Play(music.playing, music.position);
}

void ShowDemoInfo(int, int, int) {
    EditorApp* app = App();
    if (!app || !app->editorScreen.panelGroup) return;
    // The selection stays as it is.
    BuildDemoInfoPanel();
}

void VolumeChanged(double) {
    if (App()) App()->SetVolume((uint32_t)VolumeSliderValue());
}

void UndoCommand(int, int, int) {
    if (App()) App()->UndoEdit();
}

void RedoCommand(int, int, int) {
    if (App()) App()->RedoEdit();
}
