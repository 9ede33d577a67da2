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
// Parameter values of `event` at t; previous/next are its neighbours or null.
void EvaluateParams(uint32_t t, const DemoEvent* previous, const DemoEvent& event, const DemoEvent* next,
                    int32_t* out);
