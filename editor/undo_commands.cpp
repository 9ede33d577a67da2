// The editor's side of undo: recording a step before each edit, and undoing or
// redoing one with the widgets rebuilt and the changed track or event selected.
#include "app.h"

#include <string>

namespace {

EditSelection CurrentSelection(const EditorScreen& s) {
    EditSelection sel;
    sel.track = s.selectedTrack;
    sel.event = s.selectedEvent;
    sel.panelTrack = s.panelTrack;
    return sel;
}

// Shows the demo as a step left it: rows rebuilt, its selection shown when it
// still names something.
void ShowStep(EditorApp& app, const EditSelection& sel, const std::string& status) {
    EditorScreen& s = app.editorScreen;
    s.RebuildTrackRows(app);
    bool event = sel.track >= 0 && sel.event >= 0 && (uint32_t)sel.track < app.TrackCount() &&
                 (uint32_t)sel.event < app.EventCount((uint32_t)sel.track);
    if (event)
        s.SelectEvent(sel.track, sel.event);
    else if (sel.panelTrack >= 0 && (uint32_t)sel.panelTrack < app.TrackCount())
        s.SelectTrack(sel.panelTrack);
    else
        s.SelectTrack(-1);
    s.SetStatus(status.c_str());
}

} // namespace

void EditorApp::RecordEdit(const char* name) {
    if (demo) undo.Record(*demo, name, CurrentSelection(editorScreen));
}

void EditorApp::DropEditIfUnchanged() {
    if (demo) undo.DropIfUnchanged(*demo);
}

bool EditorApp::UndoEdit() {
    if (!demo) return false;
    EditSelection sel = CurrentSelection(editorScreen);
    std::string name;
    if (!undo.Undo(*demo, sel, name)) return false;
    ShowStep(*this, sel, "Undo: " + name);
    return true;
}

bool EditorApp::RedoEdit() {
    if (!demo) return false;
    EditSelection sel = CurrentSelection(editorScreen);
    std::string name;
    if (!undo.Redo(*demo, sel, name)) return false;
    ShowStep(*this, sel, "Redo: " + name);
    return true;
}

EditStep::EditStep(const char* name) {
    if (EditorApp* app = App()) app->RecordEdit(name);
}

EditStep::~EditStep() {
    if (EditorApp* app = App()) app->DropEditIfUnchanged();
}
