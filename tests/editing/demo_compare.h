// A full text dump of a demo in memory, for checking that an edit changed
// nothing (or exactly what it should): every count, time, flag, text, value and
// the identity of every array.
#pragma once

#include <string>

#include "demo.h"

std::string DumpDemo(const DemoStruct& demo);
// Only what a demo file keeps: no hidden or link flags, entry points or array identities.
std::string DumpDemoContent(const DemoStruct& demo);
