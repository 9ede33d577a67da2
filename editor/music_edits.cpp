// Tempo, marker and loop range edits of the demo record.
#include "music_edits.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "demo_operations.h"

bool SetDemoTempo(DemoStruct& demo, double beatsPerMinute, uint32_t firstBeat, uint32_t beatsPerBar) {
    const bool none = beatsPerMinute == 0;
    if (!none && !(std::isfinite(beatsPerMinute) && beatsPerMinute >= 1 && beatsPerMinute <= 1000))
        return false;
    if (beatsPerBar > 64) return false;
    demo.tempo.beatsPerMinute = beatsPerMinute;
    demo.tempo.firstBeat = firstBeat;
    demo.tempo.beatsPerBar = beatsPerBar;
    return true;
}

int32_t AddDemoMarker(DemoStruct& demo, uint32_t time, const char* name) {
    if (!name || !name[0]) return -1;
    const uint32_t n = demo.markers ? demo.markerCount : 0;
    if (n >= kMaxMarkers) return -1;
    uint32_t at = 0;
    while (at < n && demo.markers[at].time <= time)
        at++;
    DemoMarker* grown = new DemoMarker[n + 1]();
    for (uint32_t i = 0; i < at; i++)
        grown[i] = demo.markers[i];
    grown[at].time = time;
    grown[at].name = DemoOperations::CopyText(name);
    for (uint32_t i = at; i < n; i++)
        grown[i + 1] = demo.markers[i];
    delete[] demo.markers;
    demo.markers = grown;
    demo.markerCount = n + 1;
    return (int32_t)at;
}

bool RemoveDemoMarker(DemoStruct& demo, uint32_t index) {
    if (!demo.markers || index >= demo.markerCount) return false;
    FreeString(demo.markers[index].name);
    for (uint32_t i = index; i + 1 < demo.markerCount; i++)
        demo.markers[i] = demo.markers[i + 1];
    demo.markerCount--;
    if (demo.markerCount == 0) {
        delete[] demo.markers;
        demo.markers = nullptr;
    }
    return true;
}

bool RenameDemoMarker(DemoStruct& demo, uint32_t index, const char* name) {
    if (!demo.markers || index >= demo.markerCount || !name || !name[0]) return false;
    char* copy = DemoOperations::CopyText(name);
    FreeString(demo.markers[index].name);
    demo.markers[index].name = copy;
    return true;
}

std::string NewMarkerName(const DemoStruct& demo) {
    const uint32_t n = demo.markers ? demo.markerCount : 0;
    // Among n markers one of the numbers 1..n+1 is free.
    for (uint32_t k = 1;; k++) {
        char name[32];
        snprintf(name, sizeof name, "Marker %u", k);
        bool used = false;
        for (uint32_t i = 0; i < n && !used; i++)
            used = demo.markers[i].name && !strcmp(demo.markers[i].name, name);
        if (!used) return name;
    }
}

int32_t PreviousMarker(const DemoStruct& demo, uint32_t t) {
    int32_t found = -1;
    for (uint32_t i = 0; demo.markers && i < demo.markerCount && demo.markers[i].time < t; i++)
        found = (int32_t)i;
    return found;
}

int32_t NextMarker(const DemoStruct& demo, uint32_t t) {
    for (uint32_t i = 0; demo.markers && i < demo.markerCount; i++)
        if (demo.markers[i].time > t) return (int32_t)i;
    return -1;
}

bool SetLoopIn(DemoStruct& demo, uint32_t t) {
    uint32_t out = demo.hasLoopRange ? demo.loopOut : demo.runningTime;
    if (out <= t) out = demo.runningTime;
    if (out <= t) return false;
    demo.hasLoopRange = true;
    demo.loopIn = t;
    demo.loopOut = out;
    return true;
}

bool SetLoopOut(DemoStruct& demo, uint32_t t) {
    uint32_t in = demo.hasLoopRange ? demo.loopIn : 0;
    if (in >= t) in = 0;
    if (in >= t) return false;
    demo.hasLoopRange = true;
    demo.loopIn = in;
    demo.loopOut = t;
    return true;
}
