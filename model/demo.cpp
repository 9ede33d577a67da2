// Release and linking of the demo records.
#include "demo.h"

#include <cstring>

char* CopyString(const char* text) {
    if (!text) return nullptr;
    size_t n = strlen(text);
    char* copy = new char[n + 1];
    memcpy(copy, text, n + 1);
    return copy;
}

void FreeString(char*& text) {
    delete[] text;
    text = nullptr;
}

void ReleaseEvent(DemoEvent& e) {
    FreeString(e.functionName);
    FreeString(e.libraryFileName);
    delete[] e.startValues;
    delete[] e.endValues;
    e.startValues = e.endValues = nullptr;
    e.paramCount = 0;
    e.startTime = e.endTime = 0;
    e.effect = nullptr;
}

void ReleaseDemo(DemoStruct& demo) {
    for (uint32_t l = 0; l < demo.libraryCount && demo.libraries; l++) {
        EffectLibrary& lib = demo.libraries[l];
        for (uint32_t f = 0; f < lib.functionCount && lib.functions; f++) {
            EffectFunction& fn = lib.functions[f];
            for (uint32_t p = 0; p < fn.paramCount && fn.paramNames; p++)
                FreeString(fn.paramNames[p]);
            delete[] fn.paramNames;
            fn.paramNames = nullptr;
            FreeString(fn.name);
        }
        delete[] lib.functions;
        lib.functions = nullptr;
        lib.functionCount = 0;
        FreeString(lib.fileName);
        lib.init = nullptr;
        lib.beginNewFrame = nullptr;
        lib.quit = nullptr;
        lib.setRenderTime = nullptr;
        lib.handle = nullptr;
    }
    delete[] demo.libraries;
    demo.libraries = nullptr;
    demo.libraryCount = 0;

    for (uint32_t t = 0; t < demo.trackCount && demo.tracks; t++) {
        DemoTrack& track = demo.tracks[t];
        for (uint32_t e = 0; e < track.eventCount && track.events; e++)
            ReleaseEvent(track.events[e]);
        delete[] track.events;
        track.events = nullptr;
        track.eventCount = 0;
        FreeString(track.name);
    }
    delete[] demo.tracks;
    demo.tracks = nullptr;
    demo.trackCount = 0;

    FreeString(demo.inputMusicFile);
    FreeString(demo.author);
    FreeString(demo.group);
    FreeString(demo.extraInfo);

    for (uint32_t m = 0; m < demo.markerCount && demo.markers; m++)
        FreeString(demo.markers[m].name);
    delete[] demo.markers;
    demo.markers = nullptr;
    demo.markerCount = 0;
    demo.tempo = DemoTempo();
    demo.hasLoopRange = false;
    demo.loopIn = demo.loopOut = 0;
}

static bool SameText(const char* a, const char* b) {
    if (!a || !b) return a == b;
    return strcmp(a, b) == 0;
}

void LinkEvents(DemoEvent& earlier, const DemoEvent& later) {
    bool links = SameText(earlier.functionName, later.functionName) &&
                 SameText(earlier.libraryFileName, later.libraryFileName) &&
                 earlier.endTime == later.startTime && later.paramCount >= earlier.paramCount;
    for (uint32_t i = 0; links && i < earlier.paramCount; i++)
        links = earlier.endValues[i] == later.startValues[i];
    earlier.continuesIntoNext = links;
}
