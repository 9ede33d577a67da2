// EditorScreen: the editor window's root screen. Builds the base screen and the
// full editor, keeps the selection and the status line, and answers the file
// name the load and save commands use.
#include "editor.h"

#include <cstdio>
#include <cstring>

#include "app.h"

namespace {
const char* kDefaultDemoFile = "Fenk.xml";

// Re-sorting a track's events by start time is one of the editing operations on
// the demo; until they exist a track keeps its order and the selection stays.
int SortTrackEventsHook(EditorApp&, int /*track*/, int selected) {
    return selected;
}
} // namespace

EditorScreen::EditorScreen(int width, int height, uint16_t quitKey_) : GuiScreen(quitKey_) {
    w = width;
    h = height;
    statusText[0] = 0;
}

void EditorScreen::BuildBase() {
    int W = w, H = h;
    // The typed file name survives the rebuild.
    char fileName[kStatusSize];
    snprintf(fileName, sizeof fileName, "%s", DemoFileName());
    clear();
    panelGroup = nullptr;
    trackGroup = nullptr;
    fileNameField = nullptr;

    add(new Widget(0, 0, W / 2, H / 2, ShowFullScreenPreview, ShowFullScreenPreview));
    add(new FramePanel(0, H / 2, W, H / 2, kFrameColour));
    add(new FramePanel(W / 2, 0, W / 2, H / 2, kFrameColour));
    fileNameField = new TextField(5, H / 2 + 5, 100, fileName, 0xFFFFFFFF);
    add(fileNameField);
    add(new Button(3, H / 2 + 25, 90, 22, kFrameColour, "Load Demo", 0xFFFFFFFF, LoadDemoCommand, nullptr));
    add(new Button(3, H / 2 + 60, 90, 22, kFrameColour, "Save Demo", 0xFFFFFFFF, SaveDemoCommand, nullptr));
    add(new Label(7, H - 16, "Status:", 0xFFB0FFB0));
    add(new Label(57, H - 16, statusText, false, 0xFFFF5050));
    add(new Button(W - 80, H - 25, 75, 22, kFrameColour, "Clear Status", 0xFFFFFFFF, ClearStatus, nullptr));
    // The path overlay over the preview is added last by the editing widgets.
}

void EditorScreen::BuildEditor(EditorApp& app, MusicPlayer& music) {
    int W = w, H = h;
    BuildBase();
    add(new Button(3, H / 2 + 85, 90, 20, kFrameColour, "Play/Pause", 0xFFFFFFFF, PlayPause, nullptr));
    add(new Button(3, H / 2 + 110, 90, 20, kFrameColour, "Demo Info", 0xFFFFFFFF, ShowDemoInfo, nullptr));
    int runningTime = app.demo ? (int)app.demo->runningTime : 0;
    if (runningTime < 0) runningTime = 0x7FFFFFFF; // beyond what a slider of ints can show
    add(new TimeCursor(109, H / 2 + 5, (unsigned)(W > 120 ? W - 120 : 0), 0, runningTime,
                       reinterpret_cast<int*>(&music.position), nullptr));
    trackGroup = new WidgetGroup();
    add(trackGroup);
    RebuildTrackRows(app);
    panelGroup = new WidgetGroup();
    add(panelGroup);
    add(new Label(5, H - 50, "Volume", 0xFFFFFFFF));
    int& volume = VolumeSliderValue();
    volume = app.GetVolume() > 128 ? 128 : (int)app.GetVolume();
    add(new ScrollKnob(4, H - 35, 90, 0, 128, &volume, true, VolumeChanged));
}

void EditorScreen::RebuildTrackRows(EditorApp&) {
    if (!trackGroup) return;
    trackGroup->clear();
    // The track rows and their event blocks are added here by the timeline widgets.
}

void EditorScreen::SelectTrack(int track) {
    panelTrack = track;
    selectedTrack = -1;
    selectedEvent = -1;
    if (panelGroup) panelGroup->clear();
    // The track panel is built here when track >= 0.
}

void EditorScreen::SelectEvent(int track, int event) {
    panelTrack = -1;
    selectedTrack = event < 0 ? -1 : track;
    selectedEvent = track < 0 ? -1 : event;
    if (selectedTrack < 0) selectedEvent = -1;
    if (panelGroup) panelGroup->clear();
    // The event panel is built here when an event is selected.
}

void EditorScreen::SetStatus(const char* text) {
    snprintf(statusText, sizeof statusText, "%s", text ? text : "");
}

const char* EditorScreen::DemoFileName() const {
    return fileNameField ? fileNameField->GetText() : kDefaultDemoFile;
}

uint32_t EditorScreen::PanelTrackMarkerTime() const {
    if (panelTrack == -1 || !trackGroup) return 0;
    // The marker time is read from the first track row of panelTrack once rows exist.
    return 0;
}

void EditorScreen::ResortTrack(int track) {
    EditorApp* app = App();
    if (!app) return;
    selectedEvent = SortTrackEventsHook(*app, track, selectedEvent);
}
