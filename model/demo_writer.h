// The demo file's bytes, for the saver and for tools that compare or time them.
#pragma once

#include <string>

#include "demo.h"

// The whole file as it would be saved; `replaced` counts control characters
// XML cannot hold, written as '?'.
std::string WriteDemoXml(const DemoStruct& demo, uint32_t& replaced);
