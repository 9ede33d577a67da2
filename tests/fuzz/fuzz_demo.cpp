// The demo file reader on any bytes, written to a file of its own since the
// reader reads by path. Both reading modes run on every input.
#include <unistd.h>

#include <string>

#include <xercesc/util/PlatformUtils.hpp>

#include "demo.h"
#include "fuzz_input.h"

namespace {
// One scratch file per process, removed at exit.
class InputFile {
  public:
    InputFile() {
        const char* tmp = getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/trellic-fuzz-demo-XXXXXX";
        int fd = mkstemp(&pattern[0]);
        if (fd < 0) abort();
        close(fd);
        path = pattern;
    }
    ~InputFile() { unlink(path.c_str()); }
    void Write(const uint8_t* data, size_t size) {
        FILE* f = fopen(path.c_str(), "wb");
        if (!f) abort();
        if (size && fwrite(data, 1, size, f) != size) abort();
        if (fclose(f) != 0) abort();
    }
    std::string path;
};

void CheckText(const char* text) {
    FUZZ_CHECK(text != nullptr);
}

// What the rest of the program relies on after a load that did not raise.
void CheckLoaded(const DemoStruct& demo, size_t size) {
    FUZZ_CHECK((demo.libraryCount == 0) == (demo.libraries == nullptr));
    for (uint32_t l = 0; l < demo.libraryCount; l++) {
        const EffectLibrary& lib = demo.libraries[l];
        CheckText(lib.fileName);
        FUZZ_CHECK((lib.functionCount == 0) == (lib.functions == nullptr));
        for (uint32_t f = 0; f < lib.functionCount; f++) {
            CheckText(lib.functions[f].name);
            FUZZ_CHECK(lib.functions[f].paramCount == 0 || lib.functions[f].paramNames != nullptr);
        }
    }
    CheckText(demo.inputMusicFile);
    FUZZ_CHECK((demo.trackCount == 0) == (demo.tracks == nullptr));
    FUZZ_CHECK(demo.trackCount <= size); // every track is an element in the file
    for (uint32_t t = 0; t < demo.trackCount; t++) {
        const DemoTrack& track = demo.tracks[t];
        FUZZ_CHECK((track.eventCount == 0) == (track.events == nullptr));
        for (uint32_t e = 0; e < track.eventCount; e++) {
            const DemoEvent& ev = track.events[e];
            CheckText(ev.libraryFileName);
            CheckText(ev.functionName);
            FUZZ_CHECK(ev.startTime % 10 == 0 && ev.endTime % 10 == 0);
            FUZZ_CHECK(ev.paramCount == 0 || (ev.startValues && ev.endValues));
            if (e + 1 == track.eventCount) FUZZ_CHECK(!ev.continuesIntoNext);
        }
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The reader initialises and terminates the XML library on every load;
    // holding one initialisation here for the whole run makes those counted
    // no-ops, so inputs run many times faster and the reader is unchanged.
    static bool xmlReady = (xercesc::XMLPlatformUtils::Initialize(), true);
    (void)xmlReady;
    static InputFile file;
    file.Write(data, size);
    for (bool descriptive : {true, false}) {
        DemoStruct demo = {};
        try {
            LoadDemoFile(file.path.c_str(), demo, descriptive);
            CheckLoaded(demo, size);
        } catch (const BasicException& e) {
            FUZZ_CHECK(e.GetMessage()[0] != 0); // a refused file says why
        }
        ReleaseDemo(demo);
    }
    return 0;
}
