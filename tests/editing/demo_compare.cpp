#include "demo_compare.h"

#include <cstdint>
#include <sstream>

namespace {

const char* Text(const char* s) {
    return s ? s : "<none>";
}

void DumpEvent(std::ostringstream& out, const DemoEvent& e) {
    out << "  event " << e.startTime << ".." << e.endTime << " " << Text(e.libraryFileName) << ":"
        << Text(e.functionName) << " effect=" << (uintptr_t)e.effect << " hidden=" << e.hidden
        << " continues=" << e.continuesIntoNext << " params=" << e.paramCount << " arrays=" << e.startValues
        << "," << e.endValues << "\n   ";
    for (uint32_t p = 0; p < e.paramCount && e.startValues && e.endValues; p++)
        out << " " << e.startValues[p] << "/" << e.endValues[p];
    out << "\n";
}

} // namespace

std::string DumpDemo(const DemoStruct& demo) {
    std::ostringstream out;
    out << "running=" << demo.runningTime << " gl=" << demo.useOpenGL << " inputs=" << demo.inputSurfaceCount
        << " music=" << Text(demo.inputMusicFile) << " author=" << Text(demo.author)
        << " group=" << Text(demo.group) << " extra=" << Text(demo.extraInfo) << "\n";
    out << "libraries=" << demo.libraryCount << " at " << demo.libraries << "\n";
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
    out << "tracks=" << demo.trackCount << " at " << demo.tracks << "\n";
    for (uint32_t t = 0; t < demo.trackCount; t++) {
        const DemoTrack& track = demo.tracks[t];
        out << " track hidden=" << track.hidden << " events=" << track.eventCount << " at " << track.events
            << "\n";
        for (uint32_t e = 0; e < track.eventCount; e++)
            DumpEvent(out, track.events[e]);
    }
    return out.str();
}
