// What the fuzz targets share: the libFuzzer entry point they each define, the
// input opened as a list stream, and a check that stops the run when a reader
// breaks one of its promises.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

// The input as a read-only stream over the fuzzer's own bytes (no copy);
// never null, also for an empty input.
inline FILE* OpenInput(const uint8_t* data, size_t size) {
    static char empty = 0;
    void* bytes = size ? (void*)data : (void*)&empty;
    FILE* stream = fmemopen(bytes, size, "r");
    if (!stream) abort();
    return stream;
}

// A broken promise is a finding like a crash: report it and abort, so the
// fuzzer keeps the input and the corpus replay fails on it.
#define FUZZ_CHECK(condition)                                                                   \
    do {                                                                                        \
        if (!(condition)) {                                                                     \
            fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);    \
            abort();                                                                            \
        }                                                                                       \
    } while (0)
