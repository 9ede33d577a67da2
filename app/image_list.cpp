// The host's copy of the effects library's image list: paths, whether each
// file is present and complex, and an estimate of the memory they take.
#include "app.h"

#include <cctype>
#include <cstdio>

#include <SDL/SDL_image.h>

void EditorApp::ReadImageList(const char* path) {
    imageCount = 0;
    imageMemory = 0;
    FILE* f = fopen(path, "r");
    if (!f) return;
    char token[kImagePathSize];
    long complexFlag = 0;
    while (imageCount < kMaxImages && fscanf(f, "%127s", token) == 1) {
        // A longer path is kept cut (it keeps its index); skip the rest of it.
        int c = fgetc(f);
        while (c != EOF && !isspace(c))
            c = fgetc(f);
        if (fscanf(f, "%ld", &complexFlag) != 1) break;
        snprintf(imagePaths[imageCount], kImagePathSize, "%s", token);
        uint32_t kind = 0;
        FILE* image = fopen(token, "rb");
        if (image) {
            kind = 2;
            fclose(image);
        }
        if (complexFlag != 0) kind += 1;
        imageKinds[imageCount] = kind;
        imageCount++;
    }
    fclose(f);
}

const char* EditorApp::ImagePath(uint32_t i) const {
    if (i < imageCount) return imagePaths[i];
    return "Image number is too high!";
}

uint32_t EditorApp::ImageKind(uint32_t i) const {
    return i < imageCount ? imageKinds[i] : 0;
}

uint32_t EditorApp::ImageMemoryEstimate() {
    if (imageMemory != 0) return imageMemory;
    uint64_t sum = 0;
    for (uint32_t i = 0; i < imageCount; i++) {
        SDL_Surface* s = IMG_Load(imagePaths[i]);
        if (!s) continue;
        uint64_t bytes = (uint64_t)s->w * (uint64_t)s->h * 4u;
        if (imageKinds[i] == 3) bytes *= 2;
        sum += bytes;
        SDL_FreeSurface(s);
    }
    // Pictures beyond 4 GiB together are reported as 4 GiB.
    imageMemory = sum > 0xFFFFFFFFu ? 0xFFFFFFFFu : (uint32_t)sum;
    return imageMemory;
}
