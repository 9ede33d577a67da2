// Demos and screens the timeline tests share: a generated demo of many tracks
// and events written with the recording plug-in and opened through the editor,
// and read-back of a window region.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "editor_fixture.h"

// Writes `fileName` with `tracks` tracks of `events` events each, every event
// `length` ms long and `pitch` ms after the previous (track k starts k * shift
// ms later), running time `runningTime`, and opens it in the editor.
void OpenGeneratedDemo(EditorFixture& f, const std::string& fileName, uint32_t tracks, uint32_t events,
                       uint32_t length, uint32_t pitch, uint32_t shift, uint32_t runningTime);
// One pass of the editor: pump the events, draw the interface.
void PumpEditor(); // in tests/editing/safety_helpers.cpp
// RGB bytes of the window region (x, y, w, h), rows from the top.
std::vector<uint8_t> ReadRegion(int x, int y, int w, int h, int windowHeight);
