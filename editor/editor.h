// The editor's screens: EditorScreen, the root of the editor window (preview
// area, panel area, timeline with transport, status line), its selection and
// status, and the commands behind its buttons.
#pragma once

#include <cstdint>
#include <string>

#include "gui.h"

class EditorApp;
class MusicPlayer;
class TextField;

class EditorScreen : public GuiScreen {
  public:
    static const int kStatusSize = 256; // bytes, NUL included
    static const uint32_t kFrameColour = 0xFF404080;

    EditorScreen(int width, int height, uint16_t quitKey);

    // The screen without a demo: preview area, frames, file name, load, save, status.
    void BuildBase();
    // The base screen plus transport, time slider, track rows and the empty panel.
    void BuildEditor(EditorApp& app, MusicPlayer& music);
    void RebuildTrackRows(EditorApp& app);
    // Show the track panel or the event panel; -1 clears the panel.
    void SelectTrack(int track);
    void SelectEvent(int track, int event);
    void SetStatus(const char* text);
    // The file name field's text, or "Fenk.xml" before the first build.
    const char* DemoFileName() const;
    uint32_t PanelTrackMarkerTime() const;
    void ResortTrack(int track);
    // Keys no widget took: the editing keys, then the timeline's.
    bool shortcut(int sym, int unicode) override;
    // The wheel over the timeline zooms and scrolls it.
    bool wheel(int x, int y, int direction) override;

    WidgetGroup* panelGroup = nullptr;
    WidgetGroup* trackGroup = nullptr;
    FramePanel* lowerPanel = nullptr; // behind the time slider, the rows and the transport
    char statusText[kStatusSize];
    int selectedEvent = -1;
    int selectedTrack = -1;
    int panelTrack = -1;
    // First parameter row the event panel shows (its rows page when they do not fit).
    int paramFirstRow = 0;
    TextField* fileNameField = nullptr;
};

// Keyboard commands of the editor (KeyEventMods tells the modifiers): true when
// the key was one of theirs. Editing: undo, save, delete...; timeline: zoom, scroll...
bool HandleEditingKey(int sym, int unicode);
bool HandleTimelineKey(int sym, int unicode);
// A wheel notch over the timeline: zoom around the pointer's time, Shift
// scrolls the time, over rows that do not all fit it scrolls the rows (Ctrl
// zooms there). False outside the timeline.
bool HandleTimelineWheel(int x, int y, int direction);

// Before anything that would drop unsaved changes (quitting, loading another
// demo): asks "The demo has unsaved changes." (Save / Discard / Cancel) when
// there are any. True when the caller may go ahead: nothing unsaved, saved, or
// discarded.
bool ResolveUnsavedChanges();
// The window caption: "Trellic - Fenk.xml *" while Fenk.xml has unsaved changes.
std::string EditorCaption(const EditorApp& app);
// Sets the caption when it changed.
void UpdateWindowCaption(const EditorApp& app);

// Commands of the editor screen's buttons and sliders.
void LoadDemoCommand(int x, int y, int button);
void SaveDemoCommand(int x, int y, int button);
void ClearStatus(int x, int y, int button);
void PlayPause(int x, int y, int button);
void ShowDemoInfo(int x, int y, int button);
void UndoCommand(int x, int y, int button);
void RedoCommand(int x, int y, int button);
// Reloads the demo's effect libraries (the Reload button and F5).
void ReloadLibrariesCommand(int x, int y, int button);
void VolumeChanged(double value);
// The value the volume slider edits.
int& VolumeSliderValue();

// Also part of this folder's interface: panels and dialogs.
#include "panels.h"
#include "music_ui.h"
