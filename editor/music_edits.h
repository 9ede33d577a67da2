// Edits of the demo's musical settings: the tempo, the named markers (kept in
// time order) and the loop range. Plain model edits without any window; the
// editor records an undo step before calling them.
#pragma once

#include <cstdint>
#include <string>

#include "demo.h"

// Stores the tempo; beats per minute outside 0 or [1, 1000] and beats per bar
// above 64 are refused (false, nothing changed).
bool SetDemoTempo(DemoStruct& demo, double beatsPerMinute, uint32_t firstBeat, uint32_t beatsPerBar);

// Most markers a demo keeps; beyond it "M" adds nothing.
const uint32_t kMaxMarkers = 10000;

// Adds a marker at `time` after any others at that time; returns its index, or
// -1 when the demo already holds kMaxMarkers. A null or empty name is refused.
int32_t AddDemoMarker(DemoStruct& demo, uint32_t time, const char* name);
bool RemoveDemoMarker(DemoStruct& demo, uint32_t index);
// Renames a marker; an empty name is refused (a marker is found by its name).
bool RenameDemoMarker(DemoStruct& demo, uint32_t index, const char* name);
// "Marker N" for the smallest N no marker is called yet.
std::string NewMarkerName(const DemoStruct& demo);
// The last marker strictly before t, the first strictly after t; -1 when none.
int32_t PreviousMarker(const DemoStruct& demo, uint32_t t);
int32_t NextMarker(const DemoStruct& demo, uint32_t t);

// The loop range's in and out. Setting one end keeps in < out: when the other
// end is missing or on the wrong side it moves to the demo's start (in) or its
// running time (out). False when no range can be made there (nothing changed).
bool SetLoopIn(DemoStruct& demo, uint32_t t);
bool SetLoopOut(DemoStruct& demo, uint32_t t);
