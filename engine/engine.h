// Playback engine: binds a demo's events to the effect libraries it names, and
// evaluates and draws one frame of a bound demo.
#pragma once

#include <cstdint>

#include "demo.h"

struct SDL_Config;
struct SDL_Surface;

// Most input surfaces a demo may ask for; beyond it surface creation fails.
const uint32_t kMaxInputSurfaces = 64;
// Most arguments an effect can be called with.
const uint32_t kMaxEffectArgs = 16;

// Binding steps, run in this order on a freshly read demo: 0 or -1.
int BindLibraries(DemoStruct& demo);
int MatchEvents(DemoStruct& demo);
int CreateSurfaces(DemoStruct& demo, const SDL_Config& videoConfig, SDL_Surface* screen);
int InitLibraries(DemoStruct& demo);

// Calls `entry` with `count` arguments from `args`; returns the result byte, or 0
// without calling when count is above 16 or there is no entry.
unsigned char CallEffect(EffectProc entry, uint32_t count, const int32_t* args);

// Draws the demo at time t (ms): true when every called effect succeeded.
// BasicException raised by an effect passes through.
bool RenderFrame(DemoStruct& demo, uint32_t t);
// Parameter values of `event` at t; previous/next are its neighbours or null.
void EvaluateParams(uint32_t t, const DemoEvent* previous, const DemoEvent& event, const DemoEvent* next,
                    int32_t* out);
