// The track panel, the event panel with its parameter rows, the demo information
// panel, and the track and event commands. Every command re-reads the selection
// and checks it against the demo first: an earlier edit may have removed the
// track or event it names.
#include "panels.h"

#include <cstdio>
#include <cstring>

#include "app.h"
#include "gui.h"
#include "event_panel_layout.h"
#include "recorded_widgets.h"

namespace {

const uint32_t kWhite = 0xFFFFFFFF;
const uint32_t kRed = 0xFFFF5050;
const uint32_t kLightGreen = 0xFFB0FFB0;
const uint32_t kFrameColour = 0xFF404080;

int C() {
    return windowWidth / 2;
}
int X0() {
    return windowWidth / 2 + 10;
}

void PanelButton(int x, int y, int w, const char* label, uint32_t textColour, ClickCallback callback) {
    AddToPanel(new Button(x, y, w, 20, kFrameColour, label, textColour, callback, nullptr));
}

bool EventExists(int track, int event) {
    EditorApp* app = App();
    return app && track >= 0 && event >= 0 && (uint32_t)event < app->EventCount((uint32_t)track);
}

bool TrackExists(int track) {
    EditorApp* app = App();
    return app && track >= 0 && (uint32_t)track < app->TrackCount();
}

void RebuildRows() {
    if (EditorApp* app = App()) app->editorScreen.RebuildTrackRows(*app);
}

} // namespace

void AddToPanel(Widget* widget) {
    WidgetGroup* panel = AppEditorScreen().panelGroup;
    if (panel)
        panel->add(widget);
    else
        delete widget;
}

// [SECTION] Track panel

void BuildTrackPanel(int track) {
    char title[32];
    snprintf(title, sizeof title, "Track %u", (unsigned)track);
    const int x0 = X0(), W = windowWidth;
    AddToPanel(new Label(x0, 10, title, kWhite));
    PanelButton(x0, 30, 100, "Move Track Up", kWhite, MoveTrackUp);
    PanelButton(x0, 55, 115, "Move Track Down", kWhite, MoveTrackDown);
    PanelButton(x0, 80, 122, "Insert New Track", kWhite, InsertNewTrack);
    PanelButton(W - 100, 105, 95, "Delete Track", kRed, DeleteTrackCommand);
    PanelButton(x0, 105, 120, "Hide/Show Track", kWhite, HideShowTrack);
    PanelButton(x0, 130, 100, "Add New Event", kWhite, AddNewEvent);
    AddTrackNameField(track);
}

void MoveTrackUp(int, int, int) {
    EditorApp* app = App();
    const int p = AppEditorScreen().panelTrack;
    if (!app || p < 1) return;
    EditStep step("Move Track Up");
    if (!app->SwapTracks((uint32_t)p, (uint32_t)(p - 1))) return;
    RebuildRows();
    app->editorScreen.SelectTrack(p - 1);
}

void MoveTrackDown(int, int, int) {
    EditorApp* app = App();
    const int p = AppEditorScreen().panelTrack;
    if (!app || p < 0) return;
    EditStep step("Move Track Down");
    if (!app->SwapTracks((uint32_t)p, (uint32_t)p + 1)) return;
    RebuildRows();
    app->editorScreen.SelectTrack(p + 1);
}

void InsertNewTrack(int, int, int) {
    EditorApp* app = App();
    if (!app) return;
    const int p = app->editorScreen.panelTrack;
    int i = p != -1 ? p : (int)app->TrackCount() - 1;
    if (i < 0) i = 0; // a demo without tracks gets its first one
    EditStep step("Insert New Track");
    if (!app->InsertTrack((uint32_t)i)) return;
    RebuildRows();
    app->editorScreen.SelectTrack(i);
}

void DeleteTrackCommand(int, int, int) {
    EditorApp* app = App();
    const int p = AppEditorScreen().panelTrack;
    if (!app || p < 0) return;
    EditStep step("Delete Track");
    if (!app->DeleteTrack((uint32_t)p)) return;
    RebuildRows();
    app->editorScreen.SelectTrack(-1);
}

void HideShowTrack(int, int, int) {
    EditorApp* app = App();
    const int p = AppEditorScreen().panelTrack;
    if (!app || p < 0) return;
    EditStep step("Hide/Show Track");
    app->SetTrackHidden((uint32_t)p, !app->GetTrackHidden((uint32_t)p));
}

void AddNewEvent(int, int, int) {
    EditorApp* app = App();
    if (!app) return;
    const int p = app->editorScreen.panelTrack;
    if (!TrackExists(p)) return;
    if (!ChooseFunction("Select New Event:")) return;
    // The dialog ran its own loop; look again before using the track.
    if (!TrackExists(p) || app->editorScreen.panelTrack != p) return;
    EditStep step("Add New Event");
    const int32_t n = app->AddEvent((uint32_t)p, app->editorScreen.PanelTrackMarkerTime(),
                                    (uint32_t)Dialogs().chosenLibrary, (uint32_t)Dialogs().chosenFunction);
    if (n == -1) return;
    RebuildRows();
    app->editorScreen.SelectEvent(p, n);
}

// [SECTION] Event panel

std::vector<ParamRow> EventParamRows(uint32_t track, uint32_t event) {
    std::vector<ParamRow> rows;
    EditorApp* app = App();
    if (!app) return rows;
    const uint32_t n = app->EventParamCount(track, event);
    int y = 55;
    for (uint32_t i = 0; i < n;) {
        const char* name = app->EventParamName(track, event, i);
        if (!strcmp(name, "ImageNr")) {
            rows.push_back({ParamRow::kImage, i, y});
            i += 1;
            y += 17;
        } else if (!strcmp(name, "Red")) {
            rows.push_back({ParamRow::kColour, i, y});
            i += 3;
            y += 51;
        } else {
            rows.push_back({ParamRow::kNumber, i, y});
            i += 1;
            y += 17;
        }
    }
    return rows;
}

namespace {

void AddImageRow(EditorApp& app, uint32_t track, uint32_t event, const ParamRow& row) {
    const int C0 = C(), y = row.y;
    AddToPanel(new Label(C0 + 20, y, app.EventParamName(track, event, row.param), kWhite));
    const uint32_t v = (uint32_t)app.EventStartValue(track, event, row.param);
    const uint32_t kind = app.ImageKind(v);
    AddToPanel(new Label(C0 + 95, y, app.ImagePath(v), kind == 2 || kind == 3 ? kWhite : kRed));
    if (kind % 2 == 1) AddToPanel(new Label(C0 + 290, y, "Complex", kWhite));
    AddToPanel(
        new Button(windowWidth - 58, y - 5, 52, 19, kFrameColour, "Change", kWhite, ChooseImage, nullptr));
}

// A colour row binds red, green and blue from "Red" on; channels the event does
// not have stay unbound (the picker shows them as 0 and ignores presses on them).
void AddColourRow(DemoEvent& e, const ParamRow& row, int barLength) {
    const int C0 = C(), y = row.y;
    int* starts[3] = {nullptr, nullptr, nullptr};
    int* ends[3] = {nullptr, nullptr, nullptr};
    for (uint32_t k = 0; k < 3; k++) {
        const uint32_t i = row.param + k;
        if (i < e.paramCount && e.startValues && e.endValues) {
            starts[k] = &e.startValues[i];
            ends[k] = &e.endValues[i];
        }
    }
    AddToPanel(new Label(C0 + 20, y + 7, "StartColor", kWhite));
    AddToPanel(new Label(C0 + 20, y + 34, "EndColor", kWhite));
    ColourPicker* start = new ParamColourPicker(C0 + 95, y - 1, starts[0], starts[1], starts[2]);
    ColourPicker* end = new ParamColourPicker(C0 + 95, y + 26, ends[0], ends[1], ends[2]);
    start->SetBarLength(barLength);
    end->SetBarLength(barLength);
    AddToPanel(start);
    AddToPanel(end);
}

void AddNumberRow(EditorApp& app, uint32_t track, uint32_t event, DemoEvent& e, const ParamRow& row) {
    const int C0 = C(), y = row.y;
    AddToPanel(new Label(C0 + 20, y, app.EventParamName(track, event, row.param), kWhite));
    if (row.param >= e.paramCount || !e.startValues || !e.endValues) return;
    const char* name = app.EventParamName(track, event, row.param);
    AddToPanel(new ParamField(C0 + 115, y, 60, &e.startValues[row.param], kWhite, name));
    AddToPanel(new ParamField(C0 + 225, y, 60, &e.endValues[row.param], kWhite, name));
}

} // namespace

void BuildEventPanel(int track, int event) {
    EditorApp* app = App();
    if (!app || !EventExists(track, event)) return;
    const uint32_t t = (uint32_t)track, e = (uint32_t)event;
    DemoEvent* record = app->GetEvent(t, e);
    const int W = windowWidth, C0 = C(), x0 = X0();
    EditorScreen& screen = app->editorScreen;
    const EventPanelLayout layout = LayoutEventPanel(t, e, screen.paramFirstRow);
    screen.paramFirstRow = layout.firstRow;

    AddToPanel(new Label(x0, 8, "Event:", kWhite));
    PanelButton(C0 + 55, 2, 120, app->EventFunctionName(t, e), kWhite, ChangeEffectCommand);
    EventTimeEditor* times = new EventTimeEditor(t, e, kWhite);
    AddToPanel(times);
    ParamGraph* graph = new ParamGraph(t, e);
    graph->rowsGiven = true;
    if (app->EventParamCount(t, e) != 0) {
        AddToPanel(new Label(x0, 40, "Parameters:", kWhite));
        for (const ParamRow& row : layout.rows) {
            if (row.kind == ParamRow::kImage)
                AddImageRow(*app, t, e, row);
            else if (row.kind == ParamRow::kColour)
                AddColourRow(*record, row, layout.pickerBar);
            else
                AddNumberRow(*app, t, e, *record, row);
            if (row.kind == ParamRow::kNumber) graph->rows.push_back({row.param, row.y});
        }
        if (layout.paged) {
            char shown[64];
            const int last = layout.firstRow + (int)layout.rows.size();
            snprintf(shown, sizeof shown, "Rows %d-%d of %d", layout.firstRow + 1, last, layout.totalRows);
            AddToPanel(new Label(C0 + 20, layout.pagerY + 1, shown, kWhite));
            const PanelRect& up = layout.pagerUp;
            const PanelRect& down = layout.pagerDown;
            AddToPanel(new Button(up.x, up.y, up.w, up.h, kFrameColour, "Up", kWhite, ParamRowsUp, nullptr));
            AddToPanel(new Button(down.x, down.y, down.w, down.h, kFrameColour, "Down", kWhite, ParamRowsDown,
                                  nullptr));
        }
    }
    times->graph = graph;
    AddToPanel(graph);
    if (!app->EventContinues(t, e))
        PanelButton(W - 145, 4, 140, "Add Continuing Effect", kLightGreen, AddContinuingEffect);
    auto place = [](const PanelRect& r, const char* label, uint32_t colour, ClickCallback callback) {
        AddToPanel(new Button(r.x, r.y, r.w, r.h, kFrameColour, label, colour, callback, nullptr));
    };
    place(layout.prev, "Prev Event", kWhite, PrevEvent);
    place(layout.next, "Next Event", kWhite, NextEvent);
    place(layout.hideShow, "Hide/Show Event", kWhite, HideShowEvent);
    place(layout.deleteEvent, "Delete Event", kRed, DeleteEventCommand);
    place(layout.moveUp, "Move Track Up", kWhite, MoveEventUp);
    place(layout.moveDown, "Move Track Down", kWhite, MoveEventDown);
    // The unit of both time fields, right of the length field: they hold
    // milliseconds / 10.
    AddToPanel(new Label(x0 + 220, 25, "1/100 s", kWhite));
}

namespace {
// Shows the next or the previous page of the selected event's parameter rows.
void PageParamRows(int direction) {
    EditorScreen& screen = AppEditorScreen();
    const int t = screen.selectedTrack, e = screen.selectedEvent;
    if (!EventExists(t, e)) return;
    const EventPanelLayout now = LayoutEventPanel((uint32_t)t, (uint32_t)e, screen.paramFirstRow);
    const int step = now.rows.empty() ? 1 : (int)now.rows.size();
    int first = now.firstRow + direction * step;
    if (first >= now.totalRows) return;
    if (first < 0) first = 0;
    screen.paramFirstRow = first;
    screen.panelGroup->clear();
    BuildEventPanel(t, e);
}
} // namespace

void ParamRowsUp(int, int, int) {
    PageParamRows(-1);
}

void ParamRowsDown(int, int, int) {
    PageParamRows(1);
}

void PrevEvent(int, int, int) {
    EditorScreen& screen = AppEditorScreen();
    const int t = screen.selectedTrack, e = screen.selectedEvent;
    if (e > 0 && EventExists(t, e - 1)) screen.SelectEvent(t, e - 1);
}

void NextEvent(int, int, int) {
    EditorScreen& screen = AppEditorScreen();
    const int t = screen.selectedTrack, e = screen.selectedEvent;
    if (e >= 0 && EventExists(t, e + 1)) screen.SelectEvent(t, e + 1);
}

void HideShowEvent(int, int, int) {
    EditorApp* app = App();
    const int t = AppEditorScreen().selectedTrack, e = AppEditorScreen().selectedEvent;
    if (!app || !EventExists(t, e)) return;
    EditStep step("Hide/Show Event");
    app->SetEventHidden((uint32_t)t, (uint32_t)e, !app->GetEventHidden((uint32_t)t, (uint32_t)e));
}

void DeleteEventCommand(int, int, int) {
    EditorApp* app = App();
    const int t = AppEditorScreen().selectedTrack, e = AppEditorScreen().selectedEvent;
    if (!app || !EventExists(t, e)) return;
    EditStep step("Delete Event");
    if (!app->DeleteEvent((uint32_t)t, (uint32_t)e)) return;
    RebuildRows();
    app->editorScreen.SelectEvent(-1, -1);
}

void AddContinuingEffect(int, int, int) {
    EditorApp* app = App();
    const int t = AppEditorScreen().selectedTrack, e = AppEditorScreen().selectedEvent;
    if (!app || !EventExists(t, e)) return;
    EditStep step("Add Continuing Effect");
    const int32_t n = app->AddContinuingEvent((uint32_t)t, (uint32_t)e);
    if (n == -1) return;
    RebuildRows();
    app->editorScreen.SelectEvent(t, n);
}

namespace {
void MoveEventBy(int delta, const char* name) {
    EditorApp* app = App();
    const int t = AppEditorScreen().selectedTrack, e = AppEditorScreen().selectedEvent;
    if (!app || !EventExists(t, e) || !TrackExists(t + delta)) return;
    EditStep step(name);
    const int32_t n = app->MoveEventToTrack((uint32_t)t, (uint32_t)e, (uint32_t)(t + delta));
    if (n == -1) return;
    app->editorScreen.SelectEvent(t + delta, n);
    RebuildRows();
}
} // namespace

void MoveEventUp(int, int, int) {
    MoveEventBy(-1, "Move Event Up");
}

void MoveEventDown(int, int, int) {
    MoveEventBy(1, "Move Event Down");
}

void ChangeEffectCommand(int, int, int) {
    EditorApp* app = App();
    const int t = AppEditorScreen().selectedTrack, e = AppEditorScreen().selectedEvent;
    if (!app || !EventExists(t, e)) return;
    if (!ChooseFunction("Change effect to:")) return;
    if (!EventExists(t, e)) return;
    EditStep step("Change Effect");
    app->ChangeEffect((uint32_t)t, (uint32_t)e, (uint32_t)Dialogs().chosenLibrary,
                      (uint32_t)Dialogs().chosenFunction);
    app->editorScreen.SelectEvent(t, e);
}

void ChooseImage(int px, int py, int) {
    const EditorScreen& screen = AppEditorScreen();
    const int t = screen.selectedTrack, e = screen.selectedEvent;
    if (!EventExists(t, e)) return;
    // The "Change" button of each "ImageNr" row shown spans (W - 58, y - 5, 52 x 19).
    for (const ParamRow& row : LayoutEventPanel((uint32_t)t, (uint32_t)e, screen.paramFirstRow).rows) {
        if (row.kind != ParamRow::kImage) continue;
        const int bx = windowWidth - 58, by = row.y - 5;
        if (px >= bx && px <= bx + 52 && py >= by && py <= by + 19) {
            ChooseImageFor(row.param);
            return;
        }
    }
}

// [SECTION] Demo information panel

void BuildDemoInfoPanel() {
    EditorApp* app = App();
    WidgetGroup* panel = AppEditorScreen().panelGroup;
    if (!app || !panel) return;
    panel->clear();
    const int x0 = X0(), fx = windowWidth / 2 + 100, fw = windowWidth / 2 - 110;
    AddToPanel(new Label(x0, 10, "Author:", kWhite));
    AddToPanel(new TextNotifyField(
        fx, 10, fw, app->GetAuthor(), [](const char* text) {
            EditStep step("Author");
            App()->SetAuthor(text);
        }, kWhite));
    AddToPanel(new Label(x0, 30, "Group:", kWhite));
    AddToPanel(new TextNotifyField(
        fx, 30, fw, app->GetGroup(), [](const char* text) {
            EditStep step("Group");
            App()->SetGroup(text);
        }, kWhite));
    AddToPanel(new Label(x0, 50, "Extra Info:", kWhite));
    AddToPanel(new TextNotifyField(
        fx, 50, fw, app->GetExtraInfo(), [](const char* text) {
            EditStep step("Extra Info");
            App()->SetExtraInfo(text);
        }, kWhite));
    AddToPanel(new Label(x0, 75, "Music:", kWhite));
    AddToPanel(new TextNotifyField(
        fx, 75, fw, app->GetMusicFile(), [](const char* text) {
            EditStep step("Music");
            App()->SetMusicFile(text);
        }, kWhite));
    AddToPanel(new Label(x0, 100, "Duration:", kWhite));
    AddToPanel(new UIntNotifyField(
        fx, 100, fw, app->GetRunningTime(), [](int value) {
            EditStep step("Duration");
            App()->SetRunningTime((uint32_t)value);
        },
        kWhite));
    AddToPanel(new Label(x0, 125, "Image Memory Usage in KB:", kWhite));
    AddToPanel(new NumberLabel(windowWidth / 2 + 175, 130, kWhite, nullptr,
                               (int)(app->ImageMemoryEstimate() / 1024)));
    AddTempoFields();
    AddToPanel(new Label(fx - 24, 100, "ms", kWhite)); // the unit of the duration
}
