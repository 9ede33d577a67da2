// The editor's undo history: before every edit the editable content of the demo
// (tracks, events, settings, summary, tempo, markers, loop range) is recorded
// as one step; undo and redo swap it back in. Tracks that an edit left alone are
// shared between steps, so a step costs about what it changed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "demo.h"

// The editor's selection, kept with each step so that an undo shows what changed.
struct EditSelection {
    int track = -1;      // event panel: track of the selected event
    int event = -1;      // event panel: the selected event
    int panelTrack = -1; // track panel
};

// The editable content of a demo at one moment. Opaque: made and applied only here.
struct DemoContent {
    std::vector<uint8_t> settings;                               // everything but the tracks
    std::vector<std::shared_ptr<const std::vector<uint8_t>>> tracks; // one blob per track
    size_t Bytes() const;
};

// Reads the content of `demo`, sharing the blobs of `previous` that are unchanged.
DemoContent CaptureDemoContent(const DemoStruct& demo, const DemoContent* previous = nullptr);
// Replaces the content of `demo` with `content`. Events are bound again by their
// library and function names to the demo's libraries (null when none matches),
// so a step recorded before a library reload never calls a stale entry point.
void ApplyDemoContent(DemoStruct& demo, const DemoContent& content);
bool SameDemoContent(const DemoContent& a, const DemoContent& b);

class UndoHistory {
  public:
    static constexpr size_t kMaxSteps = 200;
    static constexpr size_t kMaxBytes = 256u << 20;// undo and redo together

    // Before an edit: records the demo as it is now under `name` and drops the redo steps.
    void Record(const DemoStruct& demo, const char* name, const EditSelection& selection);
    // After an edit that may have changed nothing (a press on a picker without a
    // move, a field committed unchanged): forgets the step just recorded when the
    // demo equals it. True when the step was dropped.
    bool DropIfUnchanged(const DemoStruct& demo);

    bool CanUndo() const { return !undoSteps.empty(); }
    bool CanRedo() const { return !redoSteps.empty(); }
    // Name of the step the next undo or redo acts on; "" when none.
    const char* UndoName() const;
    const char* RedoName() const;

    // Restores the demo to before the last edit. `selection` is the selection
    // now (kept for the redo) and becomes the one to show; `name` the step's name.
    bool Undo(DemoStruct& demo, EditSelection& selection, std::string& name);
    bool Redo(DemoStruct& demo, EditSelection& selection, std::string& name);
    // Loading a demo starts a new history.
    void Clear();

    // Unsaved changes: the demo differs from the state last marked saved.
    void MarkSaved() { savedRevision = revision; }
    bool IsModified() const { return revision != savedRevision; }
    // Forces the modified state (a recovered autosave is unsaved from the start).
    void MarkModified() { savedRevision = ~(uint64_t)0; }
    // Names the demo's state: equal revisions mean equal content (autosave skips a write).
    uint64_t Revision() const { return revision; }

    size_t StepCount() const { return undoSteps.size(); }
    size_t Bytes() const;

  private:
    struct Step {
        std::string name;
        DemoContent content;
        EditSelection selection;
        uint64_t revision; // the revision the content belongs to
    };
    void Trim();
    const DemoContent* Newest() const;

    std::vector<Step> undoSteps; // oldest first
    std::vector<Step> redoSteps; // next redo last
    std::vector<Step> stashedRedo; // what the last Record dropped, until it is kept
    uint64_t revision = 0;       // of the demo as it is now
    uint64_t nextRevision = 1;
    uint64_t savedRevision = 0;
};
