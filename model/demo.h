// The demo in memory: plain records with public fields, edited in place by the
// reader, the plug-in host, frame evaluation and the editor. Strings and arrays
// are heap-allocated and owned by the record that holds them.
#pragma once

#include <cstdint>

#include "basic_exception.h"

struct SDL_Surface;

// Entry points of an effect library. Results are taken as their low byte:
// nonzero is success.
typedef int (*EffectProc)(); // called through CallEffect with 0..16 int32 arguments
typedef int (*VorlenInitProc)(SDL_Surface** outputs, SDL_Surface** inputs);
typedef int (*VorlenBeginNewFrameProc)(int32_t value);
typedef int (*VorlenQuitProc)();
// Optional exports (absent = null).
typedef int (*VorlenSetRenderTimeProc)(int32_t demoTimeMs); // the renderer's frame time
typedef int (*VorlenContractVersionProc)();

struct DemoEvent {
    uint32_t paramCount;
    uint32_t startTime; // ms
    uint32_t endTime;   // ms, inclusive
    EffectProc effect;
    char* libraryFileName;
    char* functionName;
    int32_t* startValues;
    int32_t* endValues;
    bool hidden;
    bool continuesIntoNext;
};

struct DemoTrack {
    uint32_t eventCount;
    DemoEvent* events;
    bool hidden;
    char* name; // optional label shown in the timeline; null = none
};

struct EffectFunction {
    uint32_t paramCount;
    EffectProc entry;
    char* name;
    char** paramNames; // paramCount entries, each may be null
};

struct EffectLibrary {
    char* fileName;
    uint32_t functionCount;
    EffectFunction* functions;
    VorlenInitProc init;
    VorlenBeginNewFrameProc beginNewFrame;
    VorlenQuitProc quit;
    VorlenSetRenderTimeProc setRenderTime; // optional: null when the library lacks it
    void* handle;
};

// The demo's musical grid; optional in the file (beatsPerMinute 0 = no tempo).
struct DemoTempo {
    double beatsPerMinute;
    uint32_t firstBeat;   // ms, time of the first beat
    uint32_t beatsPerBar; // 0 counts as 4
};

// A named place on the timeline.
struct DemoMarker {
    uint32_t time; // ms
    char* name;
};

struct DemoStruct {
    uint32_t trackCount;
    DemoTrack* tracks;
    uint32_t runningTime; // ms
    bool useOpenGL;
    uint32_t inputSurfaceCount;
    SDL_Surface** inputSurfaces;
    uint32_t outputSurfaceCount;
    SDL_Surface** outputSurfaces;
    uint32_t libraryCount;
    EffectLibrary* libraries;
    char* inputMusicFile;
    char* author;
    char* group;
    char* extraInfo;
    // Optional content; a file without it leaves these zero.
    DemoTempo tempo;
    uint32_t markerCount;
    DemoMarker* markers; // ordered by time
    bool hasLoopRange;
    uint32_t loopIn, loopOut; // ms
};

// Frees everything the demo owns except the surfaces; libraries stay loaded.
void ReleaseDemo(DemoStruct& demo);
// Sets earlier.continuesIntoNext when `later` continues `earlier` exactly.
void LinkEvents(DemoEvent& earlier, const DemoEvent& later);

// Strings of the model: a heap copy (null stays null) and its release.
char* CopyString(const char* text);
void FreeString(char*& text);
// Releases an event's strings and value arrays and zeroes its times and count.
void ReleaseEvent(DemoEvent& event);

// Reads the demo file at `path` into the empty `demo`; throws BasicException.
void LoadDemoFile(const char* path, DemoStruct& demo, bool withDescriptiveData);
// What a save should do besides writing the file.
struct SaveOptions {
    bool keepBackup = false; // the file being replaced stays as NAME.bak
};
// What a save had to tell its caller.
struct SaveReport {
    uint32_t replacedCharacters = 0; // text characters the file cannot hold, written as '?'
};
// Writes `demo` to `path` through a temporary file; false (and a report on
// standard error) on failure, leaving any existing file untouched.
bool SaveDemoFile(const char* path, const DemoStruct* demo, const SaveOptions* options = nullptr,
                  SaveReport* report = nullptr);
