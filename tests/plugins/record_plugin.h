// What the recording test plug-in remembers about the calls it received.
#pragma once

#include <cstdint>

struct RecordedCall {
    char name[32];
    int argc;
    int32_t args[17];
};

struct RecorderLog {
    int initCount;
    void* lastOutputs;
    void* lastInputs;
    int beginCount;
    int lastBeginValue;
    int quitCount;
    int callCount;
    RecordedCall calls[256];
};

// Exported by the plug-in: extern "C" RecorderLog* Recorder_Log(); void Recorder_Reset();
