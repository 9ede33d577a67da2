// BigFont.txt's reading step on any bytes.
#include <cctype>
#include <string>

#include "fuzz_input.h"
#include "list_checks.h"
#include "list_parsers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ListReader list(OpenInput(data, size));
    size_t glyphs = 0;
    try {
        ParseGlyphMap(list, [&](const std::string& path, int character) {
            CheckListPath(path);
            // The character is one byte, the first non-blank one after the path.
            FUZZ_CHECK(character >= 0 && character <= 255);
            FUZZ_CHECK(!isspace(character));
            glyphs++;
            return glyphs < (size_t)kTextureSlots;
        });
    } catch (const BasicException& e) {
        CheckRefusal(e);
    }
    FUZZ_CHECK(glyphs * 3 <= size); // a character, a blank and the glyph's character each
    return 0;
}
