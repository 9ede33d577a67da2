// Runs the built Trellic in a scratch directory and collects what it said.
#pragma once

#include <string>

#include "scratch_dir.h"

struct ProgramResult {
    int code; // exit code, -1 when it did not exit normally
    std::string out, err;
};

// `env` goes before the program (e.g. "env -u DISPLAY").
ProgramResult RunTrellic(const ScratchDir& dir, const std::string& args, const std::string& env = "");
