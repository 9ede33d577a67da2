// Promises every list reading step keeps about what it hands on.
#pragma once

#include <cctype>
#include <string>

#include "fuzz_input.h"
#include "fxruntime.h"

// A path handed to a loader fits a name field and is one non-blank token.
inline void CheckListPath(const std::string& path) {
    FUZZ_CHECK(!path.empty());
    FUZZ_CHECK(path.size() <= (size_t)kMaxPathLength);
    for (char c : path)
        FUZZ_CHECK(!isspace((unsigned char)c));
}

// A refused list says why.
inline void CheckRefusal(const BasicException& e) {
    FUZZ_CHECK(e.GetMessage()[0] != 0);
}
