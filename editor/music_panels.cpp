// The tempo rows of the Demo Info panel with "Detect", and the marker panel.
// Every change records an undo step first; fields committed unchanged record
// nothing.
#include "music_ui.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "app.h"
#include "idle_wait.h"
#include "music_edits.h"
#include "panels.h"

namespace {

const uint32_t kWhite = 0xFFFFFFFF;
const uint32_t kRed = 0xFFFF5050;
const uint32_t kFrameColour = 0xFF404080;
const int kTempoRowY = 150;

std::unique_ptr<TempoDetection> gDetection;
// A field's report must not rebuild the panel that holds the field: a refused
// value is shown again by rebuilding at the next frame instead.
bool gDemoInfoStale = false;
int gMarkerPanelStale = -1;

// The beats-per-minute field: its class tells that the Demo Info panel is up.
class TempoField : public TextNotifyField {
  public:
    TempoField(int x, int y, int w, const char* text, TextNotifyCallback callback, uint32_t colour)
        : TextNotifyField(x, y, w, text, callback, colour) {}
};

// The marker's name field: its class tells that the marker panel is up.
class MarkerNameField : public TextNotifyField {
  public:
    MarkerNameField(int x, int y, int w, const char* text, TextNotifyCallback callback, uint32_t colour)
        : TextNotifyField(x, y, w, text, callback, colour) {}
};

template <class Field> bool PanelHolds() {
    WidgetGroup* panel = AppEditorScreen().panelGroup;
    for (int i = 0; panel && i < panel->childCount(); i++)
        if (dynamic_cast<Field*>(panel->childAt(i))) return true;
    return false;
}

bool DemoInfoShown() {
    return PanelHolds<TempoField>();
}

std::string TempoText(double bpm) {
    if (bpm == 0) return "0";
    char text[32];
    snprintf(text, sizeof text, "%.2f", bpm);
    std::string s = text;
    while (s.back() == '0')
        s.pop_back();
    if (s.back() == '.') s.pop_back();
    return s;
}

// Stores the tempo as one undo step; false when the values are refused.
bool ChangeTempo(const char* stepName, double bpm, uint32_t firstBeat, uint32_t beatsPerBar) {
    EditorApp* app = App();
    if (!app || !app->demo) return false;
    const DemoTempo& now = app->demo->tempo;
    if (now.beatsPerMinute == bpm && now.firstBeat == firstBeat && now.beatsPerBar == beatsPerBar)
        return true;
    DemoStruct probe = {};
    if (!SetDemoTempo(probe, bpm, firstBeat, beatsPerBar)) return false;
    app->RecordEdit(stepName);
    SetDemoTempo(*app->demo, bpm, firstBeat, beatsPerBar);
    return true;
}

void RefreshDemoInfo() {
    if (DemoInfoShown()) BuildDemoInfoPanel();
}

void TempoChanged(const char* text) {
    EditorApp* app = App();
    if (!app || !app->demo) return;
    char* end = nullptr;
    const double bpm = strtod(text, &end);
    while (end && *end == ' ')
        end++;
    if (!end || end == text || *end ||
        !ChangeTempo("Set Tempo", bpm, app->demo->tempo.firstBeat, app->demo->tempo.beatsPerBar)) {
        app->editorScreen.SetStatus("Tempo: beats per minute must be 0 (none) or from 1 to 1000");
        gDemoInfoStale = true;
    }
}

void FirstBeatChanged(int value) {
    EditorApp* app = App();
    if (!app || !app->demo) return;
    ChangeTempo("Set First Beat", app->demo->tempo.beatsPerMinute, (uint32_t)value,
                app->demo->tempo.beatsPerBar);
}

void BeatsPerBarChanged(int value) {
    EditorApp* app = App();
    if (!app || !app->demo) return;
    // The field shows a stored 0 as the 4 it counts as.
    const uint32_t stored = app->demo->tempo.beatsPerBar;
    if ((uint32_t)value == (stored == 0 ? 4u : stored)) return;
    if (!ChangeTempo("Set Beats per Bar", app->demo->tempo.beatsPerMinute, app->demo->tempo.firstBeat,
                     (uint32_t)value)) {
        app->editorScreen.SetStatus("Tempo: at most 64 beats per bar");
        gDemoInfoStale = true;
    }
}

// [SECTION] Marker panel

bool MarkerExists(int marker) {
    EditorApp* app = App();
    return app && app->demo && app->demo->markers && marker >= 0 && (uint32_t)marker < app->demo->markerCount;
}

void MarkerRenamed(const char* text) {
    EditorApp* app = App();
    const int m = MusicView().shownMarker;
    if (!MarkerExists(m)) return;
    const char* old = app->demo->markers[m].name;
    if (old && !strcmp(old, text)) return;
    if (!text[0]) {
        app->editorScreen.SetStatus("A marker needs a name");
        gMarkerPanelStale = m;
        return;
    }
    app->RecordEdit("Rename Marker");
    RenameDemoMarker(*app->demo, (uint32_t)m, text);
}

void DeleteMarkerCommand(int, int, int) {
    EditorApp* app = App();
    const int m = MusicView().shownMarker;
    if (!MarkerExists(m)) return;
    app->RecordEdit("Delete Marker");
    RemoveDemoMarker(*app->demo, (uint32_t)m);
    ShowMarkerPanel(-1);
}

} // namespace

void AddTempoFields() {
    EditorApp* app = App();
    if (!app || !app->demo) return;
    const DemoTempo& tempo = app->demo->tempo;
    const int x0 = windowWidth / 2 + 10, fx = windowWidth / 2 + 130, fw = 70;
    int y = kTempoRowY;
    AddToPanel(new Label(x0, y, "Tempo (BPM):", kWhite));
    AddToPanel(new TempoField(fx, y, fw, TempoText(tempo.beatsPerMinute).c_str(), TempoChanged, kWhite));
    AddToPanel(new Button(fx + fw + 10, y - 3, 60, 20, kFrameColour, gDetection ? "..." : "Detect", kWhite,
                          DetectTempoCommand, nullptr));
    y += 20;
    AddToPanel(new Label(x0, y, "First Beat (ms):", kWhite));
    AddToPanel(new UIntNotifyField(fx, y, fw, tempo.firstBeat, FirstBeatChanged, kWhite));
    y += 20;
    AddToPanel(new Label(x0, y, "Beats per Bar:", kWhite));
    AddToPanel(new UIntNotifyField(fx, y, fw, tempo.beatsPerBar == 0 ? 4 : tempo.beatsPerBar,
                                   BeatsPerBarChanged, kWhite));
}

void DetectTempoCommand(int, int, int) {
    EditorApp* app = App();
    if (!app || !app->demo || gDetection) return;
    const MusicLoad* load = app->music.Music();
    if (!load || load->Failed()) {
        app->editorScreen.SetStatus("Detect: there is no music to listen to");
        return;
    }
    if (!load->IsDecoded()) {
        app->editorScreen.SetStatus("Detect: the music is still being read, try again in a moment");
        return;
    }
    gDetection = app->music.StartTempoDetection();
    if (!gDetection) return;
    app->editorScreen.SetStatus("Detecting the tempo...");
    RefreshDemoInfo();
}

void UpdateMusicPanels() {
    if (gDemoInfoStale) {
        gDemoInfoStale = false;
        RefreshDemoInfo();
    }
    if (gMarkerPanelStale >= 0) {
        // Only while that marker's panel is still the one shown.
        const int m = gMarkerPanelStale;
        gMarkerPanelStale = -1;
        if (m == MusicView().shownMarker && PanelHolds<MarkerNameField>()) ShowMarkerPanel(m);
    }
    if (!gDetection) return;
    if (!gDetection->Finished()) {
        WakeEditorIn(100); // the idle editor looks again soon for the result
        return;
    }
    const TempoEstimate estimate = gDetection->Result();
    gDetection.reset();
    EditorApp* app = App();
    if (!app || !app->demo) return;
    if (!estimate.found) {
        app->editorScreen.SetStatus("Detect: no steady beat found in the music");
        RefreshDemoInfo();
        return;
    }
    const double bpm = std::round(estimate.beatsPerMinute * 100.0) / 100.0;
    const uint32_t first = (uint32_t)std::lround(estimate.firstBeatMs < 0 ? 0 : estimate.firstBeatMs);
    const uint32_t perBar = app->demo->tempo.beatsPerBar;
    if (ChangeTempo("Detect Tempo", bpm, first, perBar)) {
        char text[96];
        snprintf(text, sizeof text, "Tempo: %s beats a minute, first beat at %u ms", TempoText(bpm).c_str(),
                 first);
        app->editorScreen.SetStatus(text);
    } else {
        app->editorScreen.SetStatus("Detect: no steady beat found in the music");
    }
    RefreshDemoInfo();
}

void CancelTempoDetection() {
    gDetection.reset();
}

void ShowMarkerPanel(int marker) {
    EditorApp* app = App();
    WidgetGroup* panel = AppEditorScreen().panelGroup;
    if (!app || !panel) return;
    panel->clear();
    MusicView().shownMarker = marker;
    if (!MarkerExists(marker)) return;
    const DemoMarker& m = app->demo->markers[marker];
    const int x0 = windowWidth / 2 + 10, fx = windowWidth / 2 + 100, fw = windowWidth / 2 - 110;
    AddToPanel(new Label(x0, 10, "Marker:", kWhite));
    AddToPanel(new MarkerNameField(fx, 10, fw, m.name ? m.name : "", MarkerRenamed, kWhite));
    char time[48];
    snprintf(time, sizeof time, "%u ms", m.time);
    AddToPanel(new Label(x0, 30, "Time:", kWhite));
    AddToPanel(new Label(fx, 30, time, true, kWhite));
    AddToPanel(
        new Button(x0, 55, 110, 20, kFrameColour, "Delete Marker", kRed, DeleteMarkerCommand, nullptr));
}
