// Track names: the track panel's field and the undoable rename behind it. The
// timeline shows a name at the left end of its track's row.
#include "panels.h"

#include <cstring>

#include "app.h"
#include "gui.h"

namespace {

const uint32_t kWhite = 0xFFFFFFFF;

void NameEdited(const char* text) {
    RenameTrack(AppEditorScreen().panelTrack, text);
}

} // namespace

void AddTrackNameField(int track) {
    EditorApp* app = App();
    WidgetGroup* panel = AppEditorScreen().panelGroup;
    if (!app || !panel || track < 0 || (uint32_t)track >= app->TrackCount()) return;
    const char* name = app->demo->tracks[track].name;
    const int x0 = windowWidth / 2 + 10;
    panel->add(new Label(x0 + 70, 10, "Name:", kWhite));
    panel->add(new TextNotifyField(x0 + 115, 10, windowWidth / 2 - 135, name ? name : "", NameEdited, kWhite));
}

bool RenameTrack(int track, const char* name) {
    EditorApp* app = App();
    if (!app || !app->demo || track < 0 || (uint32_t)track >= app->TrackCount()) return false;
    DemoTrack& t = app->demo->tracks[track];
    const char* text = name ? name : "";
    const char* old = t.name ? t.name : "";
    if (strcmp(text, old) == 0) return false;
    app->RecordEdit("Rename Track");
    FreeString(t.name);
    // A file without names saves as it always did: no name is no attribute.
    if (text[0]) t.name = DemoOperations::CopyText(text);
    return true;
}
