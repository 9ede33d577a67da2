// The reading steps of ImageList.txt, AnimList.txt, BigFont.txt and TextList.txt.
#include "list_parsers.h"

#include "fxruntime.h"

void ParseImageList(ListReader& list, const std::function<bool(const std::string& path, long complex)>& image) {
    std::string path;
    long complex = 0;
    while (list.ReadToken(path) && list.ReadLong(complex)) {
        CheckPathLength(path, "ImageList.txt");
        if (!image(path, complex)) break;
    }
}

namespace {
// Reads "path duration" pairs until one does not convert; `ender` gets the
// token that ended the list (empty at end of file).
void ReadFrames(ListReader& list, const std::function<void(const std::string& path, long duration)>& frame,
                std::string& ender) {
    std::string path;
    long duration = 0;
    for (;;) {
        if (!list.ReadToken(path)) {
            ender.clear();
            return;
        }
        if (!list.ReadLong(duration)) {
            ender = path;
            return;
        }
        CheckPathLength(path, "AnimList.txt");
        frame(path, duration);
    }
}

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
} // namespace

void ParseAnimList(ListReader& list, const std::function<void()>& beginAnimation,
                   const std::function<void(const std::string& path, long duration)>& frame) {
    std::string token;
    while (list.ReadToken(token)) {
        if (token != "BEGIN") continue;
        beginAnimation();
        std::string ender;
        ReadFrames(list, frame, ender);
        if (ender != "END") break;
    }
}

void ParseGlyphMap(ListReader& list, const std::function<bool(const std::string& path, int character)>& glyph) {
    std::string path;
    int character = 0;
    while (list.ReadToken(path)) {
        list.SkipSpace();
        if (!list.ReadChar(character)) break;
        CheckPathLength(path, "BigFont.txt");
        if (!glyph(path, character)) break;
    }
}

void ParseTextList(ListReader& list, const std::function<void(const std::string& path)>& font,
                   const std::function<void(const std::string& text)>& text) {
    long fontCount = 0;
    if (!list.ReadLong(fontCount)) return;
    std::string path;
    for (long fonts = 0; fonts < fontCount && list.ReadToken(path); fonts++) {
        CheckPathLength(path, "TextList.txt");
        font(path);
    }

    long textCount = 0;
    if (!list.ReadLong(textCount)) return;
    list.SkipSpace();
    std::string entry;
    for (long texts = 0; texts < textCount; texts++) {
        bool more = ReadText(list, entry);
        text(entry);
        if (!more) break;
    }
}
