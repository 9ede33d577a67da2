// Playback engine: binds a demo's events to the effect libraries it names, and
// evaluates and draws one frame of a bound demo.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "demo.h"

struct SDL_Config;
struct SDL_Surface;

// Most input surfaces a demo may ask for; beyond it surface creation fails.
const uint32_t kMaxInputSurfaces = 64;
// Most arguments an effect can be called with.
const uint32_t kMaxEffectArgs = 16;

// Binding steps, run in this order on a freshly read demo: 0 or -1.
// BindLibraries throws BasicException, naming the library and both versions,
// for a library written for a newer plug-in contract than this program knows.
int BindLibraries(DemoStruct& demo);
// BindLibraries' work for one library: 0, or -1 with the one-line reason in
// `error` (what BindLibraries writes to standard error). Throws as it does.
int BindLibrary(EffectLibrary& library, std::string& error);
int MatchEvents(DemoStruct& demo);
int CreateSurfaces(DemoStruct& demo, const SDL_Config& videoConfig, SDL_Surface* screen);
// With `tried`, the number of libraries whose Vorlen_Init was called (the
// failing one included) is kept there, also when one throws.
int InitLibraries(DemoStruct& demo, uint32_t* tried = nullptr);

// Undoing the binding, so that a rebuilt library can be read again.
// Calls Vorlen_Quit once per loaded module among the first `count` libraries,
// except modules that `keep` (may be null) has loaded too; what a library
// throws is reported on standard error. Makes the current GL state record
// current again afterwards, whatever the libraries did to it.
void QuitLibraries(DemoStruct& demo, uint32_t count, const DemoStruct* keep);
// Unloads every library handle of the demo and clears its entry points, its
// functions' entries and its events' effects, so nothing can call into an
// unloaded module. With `stillLoaded`, the paths of modules that stay mapped
// (something else holds them, so their file is not read again) go there.
void UnloadLibraries(DemoStruct& demo, std::vector<std::string>* stillLoaded = nullptr);

// Calls `entry` with `count` arguments from `args`; returns the result byte, or 0
// without calling when count is above 16 or there is no entry.
unsigned char CallEffect(EffectProc entry, uint32_t count, const int32_t* args);

// Draws the demo at time t (ms): true when every called effect succeeded.
// BasicException raised by an effect passes through.
bool RenderFrame(DemoStruct& demo, uint32_t t);

// What the player and the renderer keep between frames of a demo that does
// not change under them: per track, where the previous frame found its active
// event, so that the next frame finds it in a few steps (or by binary search
// after a jump) instead of walking the track from its start; and a compact copy
// of each event's times, effect and parameter curves, worked out once and laid
// out so that one event's needs sit together in memory. A track whose event
// array or count changed is taken in again by itself; after changing times,
// values or hidden flags in place, call Forget.
union PlanEntry;
class FrameCursors {
  public:
    FrameCursors();
    ~FrameCursors();
    // The index of track i's active event at t, or -1: exactly the event the
    // walk of RenderFrame(demo, t) finds.
    int32_t ActiveEvent(const DemoStruct& demo, uint32_t i, uint32_t t);
    void Forget();

  private:
    friend bool RenderFrame(DemoStruct& demo, uint32_t t, FrameCursors& cursors);
    struct Stop {
        uint32_t reach; // the latest endTime among this event and those before it
        uint32_t entry; // where the event's copy starts in `plan`
    };
    struct Track {
        const DemoEvent* events = nullptr;
        uint32_t eventCount = 0;
        std::vector<Stop> stops;      // per event
        std::vector<PlanEntry> plan;  // per event: its copy, then its curves
        uint32_t at = 0;              // where the previous search ended
    };
    void TakeIn(Track& track, const DemoTrack& source);
    // The first event of track i whose endTime reaches t (where the walk stops), or -1.
    int32_t FirstReaching(const DemoStruct& demo, uint32_t i, uint32_t t);
    // The copy of track i's event j, its curves following.
    const PlanEntry* Entry(uint32_t i, uint32_t j) const;
    std::vector<Track> tracks;
    std::vector<int32_t> active; // per frame, kept to spare an allocation
};
// RenderFrame finding the active events through `cursors`: the same calls with
// the same values as RenderFrame(demo, t).
bool RenderFrame(DemoStruct& demo, uint32_t t, FrameCursors& cursors);
// Parameter values of `event` at t; previous/next are its neighbours or null.
void EvaluateParams(uint32_t t, const DemoEvent* previous, const DemoEvent& event, const DemoEvent* next,
                    int32_t* out);
