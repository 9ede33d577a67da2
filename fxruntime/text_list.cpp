// The text list of TextList.txt: the fonts (loaded at pixel size 31) and the
// texts that DisplayText draws, by index. Emptied before every load.
#include <string>
#include <vector>

#include "font.h"
#include "fxruntime_internal.h"

namespace {
// Tables grow as entries load, so a huge declared count allocates nothing.
std::vector<Font*> gFonts;
std::vector<char*> gTexts;

// One text: up to and including the next line feed, or kMaxTextLength
// characters; false when the file ended while reading it.
bool ReadText(ListReader& list, std::string& text) {
    text.clear();
    int c = 0;
    while (text.size() < (size_t)kMaxTextLength) {
        if (!list.ReadChar(c)) return false;
        text.push_back((char)c);
        if (c == '\n') break;
    }
    return true;
}

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

    long fontCount = 0;
    if (!list.ReadLong(fontCount)) return;
    std::string path;
    while ((long)gFonts.size() < fontCount && list.ReadToken(path)) {
        CheckPathLength(path, "TextList.txt");
        try {
            gFonts.push_back(new Font(path.c_str(), kTextFontPixelSize));
        } catch (...) {
            throw BasicException::Format("Could not load font %s !", path.c_str());
        }
    }

    long textCount = 0;
    if (!list.ReadLong(textCount)) return;
    list.SkipSpace();
    std::string text;
    while ((long)gTexts.size() < textCount) {
        bool more = ReadText(list, text);
        gTexts.push_back(CopyText(text));
        if (!more) break;
    }
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
