// The text list of TextList.txt: the fonts (loaded at pixel size 31) and the
// texts that DisplayText draws, by index. Emptied before every load.
#include <string>
#include <vector>

#include "font.h"
#include "fxruntime_internal.h"
#include "list_parsers.h"

namespace {
// Tables grow as entries load, so a huge declared count allocates nothing.
std::vector<Font*> gFonts;
std::vector<char*> gTexts;

char* CopyText(const std::string& text) {
    char* copy = new char[text.size() + 1];
    text.copy(copy, text.size());
    copy[text.size()] = 0;
    return copy;
}
} // namespace

void LoadTextList() {
    ReleaseTextList();
    ListReader list("TextList.txt");
    if (!list.IsOpen()) return;

    ParseTextList(
        list,
        [](const std::string& path) {
            try {
                gFonts.push_back(new Font(path.c_str(), kTextFontPixelSize));
            } catch (...) {
                throw BasicException::Format("Could not load font %s !", path.c_str());
            }
        },
        [](const std::string& text) { gTexts.push_back(CopyText(text)); });
}

void ReleaseTextList() {
    for (Font* font : gFonts)
        delete font;
    for (char* text : gTexts)
        delete[] text;
    gFonts.clear();
    gTexts.clear();
}

Font* GetTextFont(long index) {
    return index >= 0 && index < (long)gFonts.size() ? gFonts[index] : nullptr;
}
const char* GetText(long index) {
    return index >= 0 && index < (long)gTexts.size() ? gTexts[index] : nullptr;
}
int TextFontCount() {
    return (int)gFonts.size();
}
int TextCount() {
    return (int)gTexts.size();
}
