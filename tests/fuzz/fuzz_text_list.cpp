// TextList.txt's reading step on any bytes.
#include <string>

#include "fuzz_input.h"
#include "list_checks.h"
#include "list_parsers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ListReader list(OpenInput(data, size));
    size_t fonts = 0, texts = 0, textBytes = 0;
    bool ended = false; // a text cut short by the end of the file is the last
    try {
        ParseTextList(
            list,
            [&](const std::string& path) {
                FUZZ_CHECK(texts == 0); // every font comes before every text
                CheckListPath(path);
                fonts++;
            },
            [&](const std::string& text) {
                FUZZ_CHECK(!ended);
                FUZZ_CHECK(text.size() <= (size_t)kMaxTextLength);
                size_t feed = text.find('\n');
                FUZZ_CHECK(feed == std::string::npos || feed == text.size() - 1);
                if (feed == std::string::npos && text.size() < (size_t)kMaxTextLength) ended = true;
                texts++;
                textBytes += text.size();
            });
    } catch (const BasicException& e) {
        CheckRefusal(e);
    }
    FUZZ_CHECK(fonts * 2 <= size);
    FUZZ_CHECK(textBytes <= size);
    // Each text but an empty last one takes at least one byte of the file.
    FUZZ_CHECK(texts <= textBytes + 1);
    return 0;
}
