#include "demo_builder.h"

#include <cstring>

DemoStruct EmptyDemo() {
    DemoStruct d;
    memset(&d, 0, sizeof d);
    return d;
}

template <typename T> static void Grow(T*& array, uint32_t& count) {
    T* bigger = new T[count + 1]();
    for (uint32_t i = 0; i < count; i++)
        bigger[i] = array[i];
    delete[] array;
    array = bigger;
    count++;
}

void AddLibrary(DemoStruct& demo, const std::string& fileName, const std::vector<FunctionSpec>& functions) {
    Grow(demo.libraries, demo.libraryCount);
    EffectLibrary& lib = demo.libraries[demo.libraryCount - 1];
    lib.fileName = CopyString(fileName.c_str());
    for (const FunctionSpec& declared : functions) {
        Grow(lib.functions, lib.functionCount);
        EffectFunction& fn = lib.functions[lib.functionCount - 1];
        fn.name = CopyString(declared.name.c_str());
        fn.paramCount = (uint32_t)declared.params.size();
        if (fn.paramCount) {
            fn.paramNames = new char*[fn.paramCount]();
            for (uint32_t p = 0; p < fn.paramCount; p++)
                fn.paramNames[p] = CopyString(declared.params[p].c_str());
        }
    }
}

uint32_t AddTrack(DemoStruct& demo) {
    Grow(demo.tracks, demo.trackCount);
    return demo.trackCount - 1;
}

uint32_t AddEvent(DemoStruct& demo, uint32_t track, const std::string& library, const std::string& function,
                  uint32_t start, uint32_t end, const std::vector<int32_t>& startValues,
                  const std::vector<int32_t>& endValues) {
    DemoTrack& t = demo.tracks[track];
    Grow(t.events, t.eventCount);
    DemoEvent& e = t.events[t.eventCount - 1];
    e.libraryFileName = CopyString(library.c_str());
    e.functionName = CopyString(function.c_str());
    e.startTime = start;
    e.endTime = end;
    e.paramCount = (uint32_t)startValues.size();
    if (e.paramCount) {
        e.startValues = new int32_t[e.paramCount];
        e.endValues = new int32_t[e.paramCount];
        for (uint32_t i = 0; i < e.paramCount; i++) {
            e.startValues[i] = startValues[i];
            e.endValues[i] = i < endValues.size() ? endValues[i] : startValues[i];
        }
    }
    return t.eventCount - 1;
}

void LinkAll(DemoStruct& demo) {
    for (uint32_t t = 0; t < demo.trackCount; t++)
        for (uint32_t e = 1; e < demo.tracks[t].eventCount; e++)
            LinkEvents(demo.tracks[t].events[e - 1], demo.tracks[t].events[e]);
}
