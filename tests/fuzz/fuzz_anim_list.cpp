// AnimList.txt's reading step on any bytes.
#include <string>

#include "fuzz_input.h"
#include "list_checks.h"
#include "list_parsers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ListReader list(OpenInput(data, size));
    size_t animations = 0, frames = 0;
    try {
        ParseAnimList(
            list, [&] { animations++; },
            [&](const std::string& path, long) {
                FUZZ_CHECK(animations > 0); // a frame belongs to an animation
                CheckListPath(path);
                frames++;
            });
    } catch (const BasicException& e) {
        CheckRefusal(e);
    }
    FUZZ_CHECK(animations * 5 <= size); // "BEGIN" each
    FUZZ_CHECK(frames * 3 <= size);     // a character, a blank and a digit each
    return 0;
}
