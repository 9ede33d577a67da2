// The editor's operations on the current demo: queries that always answer
// (fixed texts or 0 for what does not exist), setters of the descriptive texts,
// and the structural edits of tracks and events. EditorApp inherits them, so the
// screens, panels and timeline widgets reach the demo only through these.
#pragma once

#include <cstdint>

#include "demo.h"

// Texts the queries answer with when there is nothing to show.
extern const char* const kNoTrackOrEventText; // "Couldn't find track or event!"
extern const char* const kNoNameText;         // "No Name"
extern const char* const kNoMusicText;        // "No music selected!"
extern const char* const kUnknownText;        // "Unknown"
extern const char* const kNoCommentText;      // "No comment..."

// Length of a new event (ms) and the most characters a stored text keeps.
const uint32_t kNewEventLength = 1000;
const uint32_t kMaxTextLength = 255;

// Indices of an event's position parameters; `found` when both exist.
struct PositionParams {
    uint32_t x;
    uint32_t y;
    bool found;
};

class DemoOperations {
  public:
    DemoOperations() = default;
    // With ownsDemo set the demo is released and freed here, after every member
    // of a derived class is gone.
    ~DemoOperations();
    DemoOperations(const DemoOperations&) = delete;
    DemoOperations& operator=(const DemoOperations&) = delete;

    DemoStruct* demo = nullptr;
    bool ownsDemo = false;
    // Makes `next` the demo, releasing and freeing the previous one when owned.
    void ReplaceDemo(DemoStruct* next);

    // Demo-level queries and setters; all answer without a demo.
    uint32_t GetRunningTime() const;
    void SetRunningTime(uint32_t ms);
    const char* GetMusicFile() const;
    const char* GetAuthor() const;
    const char* GetGroup() const;
    const char* GetExtraInfo() const;
    void SetMusicFile(const char* text);
    void SetAuthor(const char* text);
    void SetGroup(const char* text);
    void SetExtraInfo(const char* text);
    uint32_t TrackCount() const;
    uint32_t LibraryCount() const;
    const char* LibraryName(uint32_t lib) const;
    uint32_t FunctionCount(uint32_t lib) const;
    const char* FunctionName(uint32_t lib, uint32_t fn) const;
    uint32_t FunctionParamCount(uint32_t lib, uint32_t fn) const;
    bool GetTrackHidden(uint32_t track) const;
    void SetTrackHidden(uint32_t track, bool flag);
    bool GetEventHidden(uint32_t track, uint32_t event) const;
    void SetEventHidden(uint32_t track, uint32_t event, bool flag);

    // Per-track and per-event queries.
    uint32_t EventCount(uint32_t track) const;
    uint32_t EventStart(uint32_t track, uint32_t event) const;
    uint32_t EventEnd(uint32_t track, uint32_t event) const;
    const char* EventFunctionName(uint32_t track, uint32_t event) const;
    uint32_t EventParamCount(uint32_t track, uint32_t event) const;
    int32_t EventStartValue(uint32_t track, uint32_t event, uint32_t param) const;
    int32_t EventEndValue(uint32_t track, uint32_t event, uint32_t param) const;
    const char* EventParamName(uint32_t track, uint32_t event, uint32_t param) const;
    DemoEvent* GetEvent(uint32_t track, uint32_t event) const;
    int32_t EventValueAt(uint32_t track, uint32_t event, uint32_t param, uint32_t t) const;
    PositionParams FindPositionParams(uint32_t track, uint32_t event) const;
    bool EventContinues(uint32_t track, uint32_t event);

    // Structural edits. A failing call (false or -1) changes nothing.
    bool InsertTrack(uint32_t index);
    bool DeleteTrack(uint32_t track);
    bool SwapTracks(uint32_t a, uint32_t b);
    int32_t AddEvent(uint32_t track, uint32_t time, uint32_t lib, uint32_t fn);
    int32_t AddContinuingEvent(uint32_t track, uint32_t event);
    bool DeleteEvent(uint32_t track, uint32_t event);
    int32_t MoveEventToTrack(uint32_t track, uint32_t event, uint32_t target);
    bool ChangeEffect(uint32_t track, uint32_t event, uint32_t lib, uint32_t fn);
    bool RelinkEvent(uint32_t track, uint32_t event);
    // Orders the track's events by start time; returns where `selected` went.
    int32_t SortTrackEvents(uint32_t track, int32_t selected);

    // Support operations.
    const EffectFunction* FindFunction(const char* name) const;
    static int32_t DefaultParamValue(const char* name);
    // A new model string (free with FreeString) of at most 255 characters.
    static char* CopyText(const char* text);

  private:
    DemoTrack* Track(uint32_t track) const;
    DemoEvent* Event(uint32_t track, uint32_t event) const;
    const EffectFunction* Function(uint32_t lib, uint32_t fn) const;
    void SetText(char*& field, const char* text);
};
