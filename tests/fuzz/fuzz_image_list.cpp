// ImageList.txt's reading step on any bytes.
#include <string>

#include "fuzz_input.h"
#include "list_checks.h"
#include "list_parsers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ListReader list(OpenInput(data, size));
    size_t images = 0;
    try {
        ParseImageList(list, [&](const std::string& path, long) {
            CheckListPath(path);
            images++;
            return images < (size_t)kTextureSlots; // stops where a full table would
        });
    } catch (const BasicException& e) {
        CheckRefusal(e);
    }
    // An entry is at least a character, a blank and a digit.
    FUZZ_CHECK(images * 3 <= size);
    return 0;
}
