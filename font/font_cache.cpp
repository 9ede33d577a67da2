// The editor's font cache: one Font per (file name, pixel size) pair shared by
// every text widget, reference counted, at most FontCache::kCapacity at a time.
#include "font.h"

#include <cstring>

#include "basic_exception.h"

FontCache& FontCache::Instance() {
    static FontCache cache;
    return cache;
}

void FontCache::destroyAll() {
    for (unsigned i = 0; i < kCapacity; ++i) {
        delete fonts[i];
        fonts[i] = nullptr;
        referenceCounts[i] = 0;
    }
    count = 0;
}

void FontCache::addUser() {
    // Fonts acquired while nobody was a user would otherwise be lost here.
    if (users == 0) destroyAll();
    ++users;
}

void FontCache::removeUser() {
    if (users <= 0) return;
    if (--users == 0) destroyAll();
}

Font* FontCache::acquire(const char* fileName, int pixelSize) {
    if (!fileName) fileName = "";
    for (unsigned i = 0; i < count; ++i) {
        if (fonts[i]->pixelSize() == pixelSize && std::strcmp(fonts[i]->fileName(), fileName) == 0) {
            ++referenceCounts[i];
            return fonts[i];
        }
    }
    if (count >= kCapacity) throw BasicException("Too much fonts used simultaneously!\n");
    Font* font = new Font(fileName, pixelSize);
    fonts[count] = font;
    referenceCounts[count] = 1;
    ++count;
    return font;
}

void FontCache::release(Font* font) {
    if (!font) return;
    for (unsigned i = 0; i < count; ++i) {
        if (fonts[i] != font) continue;
        if (--referenceCounts[i] > 0) return;
        delete font;
        unsigned last = count - 1;
        fonts[i] = fonts[last];
        referenceCounts[i] = referenceCounts[last];
        fonts[last] = nullptr;
        referenceCounts[last] = 0;
        count = last;
        return;
    }
}
