// EditorScreen: the editor window's root screen. Builds the base screen and the
// full editor, keeps the selection and the status line, and answers the file
// name the load and save commands use.
#include "editor.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "app.h"
#include "panels.h"
#include "snapping.h"
#include "gui.h"
#include "time_readout.h"
#include "timeline.h"

namespace {
const char* kDefaultDemoFile = "Fenk.xml";
const uint32_t kGreyText = 0xFF808080;

// "Undo" and "Redo": greyed while there is nothing to undo or redo.
class HistoryButton : public Button {
  public:
    HistoryButton(int x_, int y_, const char* label_, bool redo_, ClickCallback callback)
        : Button(x_, y_, 44, 16, EditorScreen::kFrameColour, label_, 0xFFFFFFFF, callback, nullptr), redo(redo_) {}
    void draw() override {
        EditorApp* app = App();
        const bool can = app && (redo ? app->undo.CanRedo() : app->undo.CanUndo());
        colour = can ? 0xFFFFFFFF : kGreyText;
        Button::draw();
    }

  private:
    bool redo;
};
} // namespace

EditorScreen::EditorScreen(int width, int height, uint16_t quitKey_) : GuiScreen(quitKey_) {
    w = width;
    h = height;
    statusText[0] = 0;
}

void EditorScreen::BuildBase() {
    int W = w, H = h;
    // The typed file name survives the rebuild, whole: a cut name would save elsewhere.
    const std::string fileName = DemoFileName();
    CancelPointerDrag(); // it may be working on the rows going away
    clear();
    panelGroup = nullptr;
    trackGroup = nullptr;
    fileNameField = nullptr;

    add(new Widget(0, 0, W / 2, H / 2, ShowFullScreenPreview, ShowFullScreenPreview));
    lowerPanel = new FramePanel(0, H / 2, W, H / 2, kFrameColour);
    add(lowerPanel);
    add(new FramePanel(W / 2, 0, W / 2, H / 2, kFrameColour));
    fileNameField = new TextField(5, H / 2 + 5, 100, fileName.c_str(), 0xFFFFFFFF);
    add(fileNameField);
    add(new Button(3, H / 2 + 25, 90, 22, kFrameColour, "Load Demo", 0xFFFFFFFF, LoadDemoCommand, nullptr));
    add(new Button(3, H / 2 + 60, 90, 22, kFrameColour, "Save Demo", 0xFFFFFFFF, SaveDemoCommand, nullptr));
    add(new Label(7, H - 16, "Status:", 0xFFB0FFB0));
    add(new Label(57, H - 16, statusText, false, 0xFFFF5050));
    add(new Button(W - 80, H - 25, 75, 22, kFrameColour, "Clear Status", 0xFFFFFFFF, ClearStatus, nullptr));
    add(new PathOverlay());
}

void EditorScreen::BuildEditor(EditorApp& app, MusicPlayer& music) {
    int W = w, H = h;
    BuildBase();
    add(new Button(3, H / 2 + 85, 90, 20, kFrameColour, "Play/Pause", 0xFFFFFFFF, PlayPause, nullptr));
    add(new Button(3, H / 2 + 110, 90, 20, kFrameColour, "Demo Info", 0xFFFFFFFF, ShowDemoInfo, nullptr));
    int runningTime = app.demo ? (int)app.demo->runningTime : 0;
    if (runningTime < 0) runningTime = 0x7FFFFFFF; // beyond what a slider of ints can show
    TimeCursor* slider = new TimeCursor(109, H / 2 + 5, (unsigned)(W > 120 ? W - 120 : 0), 0, runningTime,
                                        reinterpret_cast<int*>(&music.position), nullptr);
    slider->followsView = true;
    add(slider);
    // A new demo opens whole, with its first tracks on top.
    EditorTimelineView().Reset();
    trackGroup = new TimelineRows();
    add(trackGroup);
    lowerPanel->setTakenOverBy(TimelineRows::TakeOverBlock); // the rows paint their block whole
    RebuildTrackRows(app);
    panelGroup = new WidgetGroup();
    add(panelGroup);
    add(new Label(5, H - 50, "Volume", 0xFFFFFFFF));
    int& volume = VolumeSliderValue();
    volume = app.GetVolume() > 128 ? 128 : (int)app.GetVolume();
    add(new ScrollKnob(4, H - 35, 90, 0, 128, &volume, true, VolumeChanged));
    add(new Button(3, H / 2 + 153, 90, 16, kFrameColour, "Reload", 0xFFFFFFFF, ReloadLibrariesCommand, nullptr));
    add(new HistoryButton(3, H / 2 + 134, "Undo", false, UndoCommand));
    add(new HistoryButton(49, H / 2 + 134, "Redo", true, RedoCommand));
    // The music: the waveform under the time slider, the beat grid over the rows.
    add(new WaveformStrip());
    add(new BeatGridOverlay());
    SetExtraSnapSource(AddBeatSnapCandidates); // drags snap to the beat grid too
    add(new TimeReadout(7, H / 2 + 172, 0xFFFFFFFF));
}

void EditorScreen::RebuildTrackRows(EditorApp& app) {
    if (!trackGroup) return;
    trackGroup->clear();
    for (uint32_t i = 0; i < app.TrackCount(); i++) {
        TrackRow* row = new TrackRow(i);
        for (uint32_t j = 0; j < app.EventCount(i); j++)
            row->add(new TimelineEventBlock(j, i));
        trackGroup->add(row);
    }
}

void EditorScreen::SelectTrack(int track) {
    panelTrack = track;
    selectedTrack = -1;
    selectedEvent = -1;
    if (panelGroup) panelGroup->clear();
    if (track >= 0) BuildTrackPanel(track);
}

void EditorScreen::SelectEvent(int track, int event) {
    // Another event's rows start from the top; the same event keeps its page.
    if (track != selectedTrack || event != selectedEvent) paramFirstRow = 0;
    panelTrack = -1;
    selectedTrack = event < 0 ? -1 : track;
    selectedEvent = track < 0 ? -1 : event;
    if (selectedTrack < 0) selectedEvent = -1;
    if (panelGroup) panelGroup->clear();
    if (selectedTrack >= 0) BuildEventPanel(selectedTrack, selectedEvent);
}

void EditorScreen::SetStatus(const char* text) {
    snprintf(statusText, sizeof statusText, "%s", text ? text : "");
}

const char* EditorScreen::DemoFileName() const {
    return fileNameField ? fileNameField->GetText() : kDefaultDemoFile;
}

uint32_t EditorScreen::PanelTrackMarkerTime() const {
    if (panelTrack == -1 || !trackGroup) return 0;
    for (int i = 0; i < trackGroup->childCount(); i++) {
        const TrackRow* row = dynamic_cast<const TrackRow*>(trackGroup->childAt(i));
        if (row && (int)row->track == panelTrack) return row->markerTime;
    }
    return 0;
}

bool EditorScreen::shortcut(int sym, int unicode) {
    return HandleEditingKey(sym, unicode) || HandleMusicKey(sym, unicode) || HandleTimelineKey(sym, unicode);
}

bool EditorScreen::wheel(int x, int y, int direction) {
    return trackGroup && HandleTimelineWheel(x, y, direction);
}

void EditorScreen::ResortTrack(int track) {
    EditorApp* app = App();
    if (!app) return;
    if (track < 0) return;
    selectedEvent = app->SortTrackEvents((uint32_t)track, selectedEvent);
}
