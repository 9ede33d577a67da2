// The plug-in's entry points: Vorlen_Init loads the demo's images, animations,
// texts and bitmap font into the runtime's tables; Vorlen_Quit releases them.
#include <GL/glew.h>

#include "effects.h"
#include "fxruntime_internal.h"
#include "list_parsers.h"
#include "oglstate.h"
#include "trellic/effect_sdk.h"

namespace {
void* gOutputs = nullptr; // the host's arrays, kept for it but never read
void* gInputs = nullptr;
int gFrameValue = 0;
} // namespace

void LoadImageList() {
    ListReader list("ImageList.txt");
    if (!list.IsOpen())
        throw BasicException("Couldn't open the ImageList, which would cause one very boring demo :(");
    ParseImageList(list, [](const std::string& path, long complex) {
        int index;
        try {
            index = CreateTextureFromFile(path.c_str(), complex != 0);
        } catch (...) {
            throw BasicException::Format("Could not load image %s !", path.c_str());
        }
        return index < kTextureSlots;
    });
}

extern "C" FENK_EXPORT int Vorlen_Init(SDL_Surface** outputs, SDL_Surface** inputs) {
    gOutputs = outputs;
    gInputs = inputs;
    Clear();
    CheckDriverSupport(QueryDriverSupport());
    LoadImageList();
    LoadAnimList();
    LoadTextList();
    glShadeModel(GL_SMOOTH);
    BuildBigFont();
    return 1;
}

extern "C" FENK_EXPORT int Vorlen_BeginNewFrame(int32_t value) {
    gFrameValue = value;
    return 1;
}

// Only the renderer calls this, before each frame: what the library counts per
// second then follows the demo's clock, so renders repeat exactly.
extern "C" FENK_EXPORT int Vorlen_SetRenderTime(int32_t demoTimeMs) {
    CountRenderFrame(demoTimeMs);
    return 1;
}

extern "C" FENK_EXPORT int Vorlen_Quit() {
    DeleteBigFont();
    ReleaseTextList();
    ReleaseAnimations();
    ReleaseTextures();
    // The table no longer holds the font image; a later Vorlen_Init loads it anew.
    ForgetBigFont();
    OGLState::SetState(nullptr);
    return 1;
}
