// The contract between Trellic and an effect library: the entry points Trellic
// looks up by name, the contract version, and the macros that export them.
// An effect library includes this one header; it brings BasicException (how a
// library reports a failure) and OGLState (how it changes GL state) along.
#pragma once

#include <cstdint>

#include "basic_exception.h"
#include "oglstate.h"

struct SDL_Surface;

// The version of the contract this header describes. Trellic refuses a library
// that reports a newer one through Vorlen_ContractVersion.
#define VORLEN_CONTRACT_VERSION 1

// Gives a function C linkage and default visibility, so that Trellic finds it
// by its plain name even when the library hides everything else.
#define VORLEN_EXPORT extern "C" __attribute__((visibility("default")))

// Declares an effect: VORLEN_EFFECT(Glow)(int32_t x, int32_t y) { ...; return 1; }
// Up to 16 int32_t parameters; a result whose low byte is 0 fails the frame.
#define VORLEN_EFFECT(name) VORLEN_EXPORT int name

// Required. Called with Trellic's GL context current each time a demo naming
// the library is loaded or reloaded: two output surfaces, then the demo's input
// surfaces (both arrays Trellic's). 0 or a thrown BasicException fails the load.
VORLEN_EXPORT int Vorlen_Init(SDL_Surface** outputs, SDL_Surface** inputs);
// Required. Called with 0 before each frame's effects; the result is ignored.
VORLEN_EXPORT int Vorlen_BeginNewFrame(int32_t value);
// Required. Releases what the library holds; called before the library is
// unloaded (reload, or a newly loaded demo that no longer names it).
VORLEN_EXPORT int Vorlen_Quit(void);

// Optional. The contract version the library was written for; without this
// export a library counts as version 1.
VORLEN_EXPORT int Vorlen_ContractVersion(void);
// Optional. Called by the renderer (--render) before each frame with the frame's
// demo time, so an effect can follow demo time instead of the wall clock.
VORLEN_EXPORT int Vorlen_SetRenderTime(int32_t demoTimeMs);
