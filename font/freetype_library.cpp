// The FreeType library handle shared by every Font of this deliverable, created
// by the first load and released when the count of loads returns to zero.
#include "font_internal.h"

#include "basic_exception.h"

namespace {
FT_Library gLibrary = nullptr;
int gLoadCount = 0;
} // namespace

FT_Library AcquireFreeTypeLibrary() {
    if (!gLibrary) {
        FT_Error error = FT_Init_FreeType(&gLibrary);
        if (error) {
            gLibrary = nullptr;
            throw BasicException::Format("Could not initialize FreeType2 Library: Error %d\n", (int)error);
        }
    }
    ++gLoadCount;
    return gLibrary;
}

void ReleaseFreeTypeLibrary() {
    if (gLoadCount > 0) --gLoadCount;
    if (gLoadCount == 0 && gLibrary) {
        FT_Done_FreeType(gLibrary);
        gLibrary = nullptr;
    }
}

int FreeTypeLoadCount() {
    return gLoadCount;
}
bool FreeTypeLibraryHeld() {
    return gLibrary != nullptr;
}
