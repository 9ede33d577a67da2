// TextWidget and the static text widgets: Label, Button and NumberLabel. Every
// text widget registers with the FontCache and holds one shared font.
#include "gui.h"

#include <cstdio>
#include <cstring>

#include "basic_exception.h"
#include "font.h"

TextWidget::TextWidget(int x_, int y_, int w_, int h_, uint32_t colour_, ClickCallback primary_,
                       ClickCallback secondary_)
    : Widget(x_, y_, w_, h_, primary_, secondary_), colour(colour_), font(nullptr) {
    FontCache& cache = FontCache::Instance();
    cache.addUser();
    try {
        font = cache.acquire(kDefaultFontFile, kDefaultPixelSize);
    } catch (...) {
        cache.removeUser();
        throw;
    }
}

TextWidget::~TextWidget() {
    FontCache& cache = FontCache::Instance();
    cache.release(font);
    cache.removeUser();
}

void TextWidget::setColour(uint32_t c) {
    colour = c;
}

void TextWidget::setFont(const char* fileName, int pixelSize) {
    Font* fresh = FontCache::Instance().acquire(fileName, pixelSize);
    FontCache::Instance().release(font);
    font = fresh;
}

void TextWidget::setFontFile(const char* fileName) {
    setFont(fileName, font->pixelSize());
}

void TextWidget::setFontSize(int pixelSize) {
    // The name must outlive the release of the font that holds it.
    char name[Font::kFileNameSize];
    snprintf(name, sizeof name, "%s", font->fileName());
    setFont(name, pixelSize);
}

int TextWidget::pixelSize() const {
    return font->pixelSize();
}

static char* CopyText(const char* text) {
    if (!text) return nullptr;
    size_t n = strlen(text);
    char* copy = new char[n + 1];
    memcpy(copy, text, n + 1);
    return copy;
}

Label::Label(int x_, int y_, const char* text_, bool copy, uint32_t colour_)
    : TextWidget(x_, y_, 0, 0, colour_, nullptr, nullptr), text(nullptr), ownsText(copy) {
    text = copy ? CopyText(text_) : const_cast<char*>(text_);
}

Label::Label(int x_, int y_, const char* text_, uint32_t colour_) : Label(x_, y_, text_, true, colour_) {}

Label::~Label() {
    if (ownsText) delete[] text;
}

void Label::draw() {
    if (text) font->drawText(x, y, text, colour, true, 0.0f);
}

Button::Button(int x_, int y_, int w_, int h_, uint32_t frameColour_, const char* label_, uint32_t textColour,
               ClickCallback primary_, ClickCallback secondary_)
    : TextWidget(x_, y_, w_, h_, textColour, primary_, secondary_), frameColour(frameColour_) {
    snprintf(label, sizeof label, "%s", label_ ? label_ : "");
    if (h == 0) h = font->pixelSize() + 8;
}

void Button::draw() {
    drawFrame(x, y, w, h, frameColour);
    font->drawText(x + 5, y + h / 2 - font->pixelSize() / 2 + 2, label, colour, true, 0.0f);
}

NumberLabel::NumberLabel(int x_, int y_, uint32_t colour_, const int* source_, int storedValue_)
    : TextWidget(x_, y_, 0, 0, colour_, nullptr, nullptr), source(source_), storedValue(storedValue_) {}

void NumberLabel::draw() {
    char number[16];
    snprintf(number, sizeof number, "%d", Value());
    font->drawText(x + 5, y + h / 2 - font->pixelSize() / 2 + 2, number, colour, true, 0.0f);
}
