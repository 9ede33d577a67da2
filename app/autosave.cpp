// Autosave and recovery: unsaved changes are written every minute to
// NAME.autosave beside the demo (through the same temporary file and rename as
// a save), removed by a save or a discard, and offered back after a crash.
#include "app.h"
#include "idle_wait.h"

#include <cstdio>
#include <ctime>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool ModifiedTime(const std::string& path, struct timespec& time) {
    struct stat st;
    if (stat(path.c_str(), &st) != 0) return false;
    time = st.st_mtim;
    return true;
}

bool Newer(const struct timespec& a, const struct timespec& b) {
    return a.tv_sec > b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec > b.tv_nsec);
}

} // namespace

std::string EditorApp::AutosavePath() const {
    return demoFileName.empty() ? std::string() : demoFileName + ".autosave";
}

void EditorApp::RemoveAutosave() {
    const std::string path = AutosavePath();
    if (!path.empty()) unlink(path.c_str());
    autosavedRevision = ~(uint64_t)0;
    autosaveDueAt = 0;
}

void EditorApp::AutosaveIfDue(uint32_t nowMs) {
    if (!demo || demoFileName.empty() || !undo.IsModified()) {
        autosaveDueAt = 0;
        return;
    }
    // The first unsaved change starts the clock.
    if (autosaveDueAt == 0) {
        autosaveDueAt = nowMs + autosaveIntervalMs;
        if (autosaveDueAt == 0) autosaveDueAt = 1;
        WakeEditorAt(autosaveDueAt); // an idle editor must still write it
        return;
    }
    if ((int32_t)(nowMs - autosaveDueAt) < 0) {
        WakeEditorAt(autosaveDueAt);
        return;
    }
    autosaveDueAt = nowMs + autosaveIntervalMs;
    if (autosaveDueAt == 0) autosaveDueAt = 1;
    if (undo.Revision() == autosavedRevision) return; // written already
    if (SaveDemoFile(AutosavePath().c_str(), demo))
        autosavedRevision = undo.Revision();
    else
        editorScreen.SetStatus("Autosave failed: the demo could not be written beside its file!");
}

bool EditorApp::OfferRecovery() {
    const std::string path = AutosavePath();
    struct timespec autosaved, saved;
    if (!demo || path.empty() || !ModifiedTime(path, autosaved)) return false;
    if (ModifiedTime(demoFileName, saved) && !Newer(autosaved, saved)) return false;

    char when[8] = "";
    time_t seconds = autosaved.tv_sec;
    struct tm local;
    if (localtime_r(&seconds, &local)) strftime(when, sizeof when, "%H:%M", &local);
    char question[64];
    snprintf(question, sizeof question, "Recover unsaved changes from %s?", when);
    if (AskQuestion(question, {"Recover", "Ignore"}) != 0) return false;

    OwnedDemo recovered(new DemoStruct());
    try {
        LoadDemoFile(path.c_str(), *recovered, true);
    } catch (const BasicException& e) {
        std::string message = std::string("The autosave could not be read: ") + e.GetMessage();
        editorScreen.SetStatus(message.c_str());
        return false;
    } catch (...) {
        editorScreen.SetStatus("The autosave could not be read!");
        return false;
    }
    // One step, so that an undo brings back the demo as its file holds it.
    EditStep step("Recover");
    ApplyDemoContent(*demo, CaptureDemoContent(*recovered));
    autosavedRevision = undo.Revision();
    char status[64];
    snprintf(status, sizeof status, "Recovered unsaved changes from %s", when);
    editorScreen.SetStatus(status);
    return true;
}
