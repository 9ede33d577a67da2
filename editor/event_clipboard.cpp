// The event clipboard and the paste that puts a copy into a track through the
// demo operations, found again by the effect's library and function names.
#include "event_clipboard.h"

#include <cstring>
#include <string>
#include <vector>

#include "app.h"

namespace {

struct ClipboardEvent {
    bool full = false;
    std::string library, function;
    uint32_t length = 0; // ms
    bool hidden = false;
    std::vector<int32_t> startValues, endValues;
};

ClipboardEvent gClipboard;

bool Capture(uint32_t track, uint32_t event, ClipboardEvent& out) {
    EditorApp* app = App();
    const DemoEvent* e = app ? app->GetEvent(track, event) : nullptr;
    if (!e) return false;
    out.full = true;
    out.library = e->libraryFileName ? e->libraryFileName : "";
    out.function = e->functionName ? e->functionName : "";
    out.length = e->endTime >= e->startTime ? e->endTime - e->startTime : 0;
    out.hidden = e->hidden;
    out.startValues.assign(e->startValues, e->startValues + (e->startValues ? e->paramCount : 0));
    out.endValues.assign(e->endValues, e->endValues + (e->endValues ? e->paramCount : 0));
    return true;
}

bool FindEffect(const ClipboardEvent& c, uint32_t& lib, uint32_t& fn) {
    EditorApp* app = App();
    for (lib = 0; lib < app->LibraryCount(); lib++) {
        if (c.library != app->LibraryName(lib)) continue;
        for (fn = 0; fn < app->FunctionCount(lib); fn++)
            if (c.function == app->FunctionName(lib, fn)) return true;
    }
    return false;
}

// Inserts `c` into `track` at `time` as one undo step named `name` and selects it.
bool Insert(const ClipboardEvent& c, uint32_t track, uint32_t time, const char* name) {
    EditorApp* app = App();
    uint32_t lib = 0, fn = 0;
    if (!app || !c.full || track >= app->TrackCount()) return false;
    if (!FindEffect(c, lib, fn)) {
        app->editorScreen.SetStatus("The copied event's effect is not in this demo");
        return true;
    }
    app->RecordEdit(name);
    const int32_t index = app->AddEvent(track, time, lib, fn);
    DemoEvent* e = index < 0 ? nullptr : app->GetEvent(track, (uint32_t)index);
    if (!e) {
        app->DropEditIfUnchanged();
        return true;
    }
    const uint64_t end = (uint64_t)time + c.length;
    e->endTime = end > UINT32_MAX ? UINT32_MAX : (uint32_t)end;
    e->hidden = c.hidden;
    for (uint32_t i = 0; i < e->paramCount && i < c.startValues.size() && i < c.endValues.size(); i++) {
        e->startValues[i] = c.startValues[i];
        e->endValues[i] = c.endValues[i];
    }
    const int32_t sorted = app->SortTrackEvents(track, index);
    app->editorScreen.RebuildTrackRows(*app);
    app->editorScreen.SelectEvent((int)track, sorted);
    return true;
}

// The selected event, copied; false when none is selected.
bool CaptureSelected(ClipboardEvent& c) {
    EditorApp* app = App();
    if (!app) return false;
    const EditorScreen& s = app->editorScreen;
    if (s.selectedTrack < 0 || s.selectedEvent < 0) return false;
    return Capture((uint32_t)s.selectedTrack, (uint32_t)s.selectedEvent, c);
}

} // namespace

bool CopySelectedEvent() {
    ClipboardEvent c;
    if (!CaptureSelected(c)) return false;
    gClipboard = c;
    EditorApp* app = App();
    app->editorScreen.SetStatus("Event copied");
    return true;
}

bool PasteEvent() {
    EditorApp* app = App();
    if (!app || !gClipboard.full) return false;
    const EditorScreen& s = app->editorScreen;
    const int track = s.selectedTrack >= 0 ? s.selectedTrack : s.panelTrack;
    if (track < 0) return false;
    return Insert(gClipboard, (uint32_t)track, app->music.position, "Paste Event");
}

bool DuplicateSelectedEvent() {
    ClipboardEvent c;
    if (!CaptureSelected(c)) return false;
    EditorApp* app = App();
    const EditorScreen& s = app->editorScreen;
    const uint32_t after = app->EventEnd((uint32_t)s.selectedTrack, (uint32_t)s.selectedEvent);
    return Insert(c, (uint32_t)s.selectedTrack, after, "Duplicate Event");
}
