#include "demo_compare.h"

#include <cstdint>
#include <sstream>

namespace {

const char* Text(const char* s) {
    return s ? s : "<none>";
}

void DumpEvent(std::ostringstream& out, const DemoEvent& e, bool full) {
    out << "  event " << e.startTime << ".." << e.endTime << " " << Text(e.libraryFileName) << ":"
        << Text(e.functionName) << " params=" << e.paramCount;
    if (full)
        out << " effect=" << (uintptr_t)e.effect << " hidden=" << e.hidden
            << " continues=" << e.continuesIntoNext << " arrays=" << e.startValues << "," << e.endValues;
    out << "\n   ";
    for (uint32_t p = 0; p < e.paramCount && e.startValues && e.endValues; p++)
        out << " " << e.startValues[p] << "/" << e.endValues[p];
    out << "\n";
}

std::string Dump(const DemoStruct& demo, bool full) {
    std::ostringstream out;
    out << "running=" << demo.runningTime << " gl=" << demo.useOpenGL << " inputs=" << demo.inputSurfaceCount
        << " music=" << Text(demo.inputMusicFile) << " author=" << Text(demo.author)
        << " group=" << Text(demo.group) << " extra=" << Text(demo.extraInfo) << "\n";
    out << "libraries=" << demo.libraryCount;
    if (full) out << " at " << demo.libraries;
    out << "\n";
    for (uint32_t l = 0; l < demo.libraryCount; l++) {
        const EffectLibrary& lib = demo.libraries[l];
        out << " library " << Text(lib.fileName) << " functions=" << lib.functionCount << "\n";
        for (uint32_t f = 0; f < lib.functionCount; f++) {
            const EffectFunction& fn = lib.functions[f];
            out << "  function " << Text(fn.name) << " (";
            for (uint32_t p = 0; p < fn.paramCount; p++)
                out << (p ? "," : "") << Text(fn.paramNames ? fn.paramNames[p] : nullptr);
            out << ")\n";
        }
    }
    out << "tracks=" << demo.trackCount;
    if (full) out << " at " << demo.tracks;
    out << "\n";
    for (uint32_t t = 0; t < demo.trackCount; t++) {
        const DemoTrack& track = demo.tracks[t];
        out << " track events=" << track.eventCount;
        if (full) out << " hidden=" << track.hidden << " at " << track.events;
        out << "\n";
        for (uint32_t e = 0; e < track.eventCount; e++)
            DumpEvent(out, track.events[e], full);
    }
    return out.str();
}

} // namespace

std::string DumpDemo(const DemoStruct& demo) {
    return Dump(demo, true);
}

std::string DumpDemoContent(const DemoStruct& demo) {
    return Dump(demo, false);
}
