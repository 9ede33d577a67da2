// Builds demos in memory for tests, owning strings and arrays the way the
// reader does, so ReleaseDemo frees them.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "demo.h"

struct FunctionSpec {
    std::string name;
    std::vector<std::string> params;
};

// A zeroed demo record (no tracks, no libraries).
DemoStruct EmptyDemo();
void AddLibrary(DemoStruct& demo, const std::string& fileName, const std::vector<FunctionSpec>& functions);
// Appends a track and returns its index.
uint32_t AddTrack(DemoStruct& demo);
// Appends an event to `track` and returns its index. Values: start and end per parameter.
uint32_t AddEvent(DemoStruct& demo, uint32_t track, const std::string& library, const std::string& function,
                  uint32_t start, uint32_t end, const std::vector<int32_t>& startValues,
                  const std::vector<int32_t>& endValues);
// Calls LinkEvents on each neighbouring pair of every track, as the reader does.
void LinkAll(DemoStruct& demo);
