// Placeholder for Fenk: exports the entry points, but no effect is built yet, so
// initialisation refuses to start.
#include "basic_exception.h"

extern "C" int Vorlen_Init(void*, void*) {
    throw BasicException("Fenk is a placeholder: its effects are not built yet.");
}
extern "C" int Vorlen_BeginNewFrame(int) {
    return 1;
}
extern "C" int Vorlen_Quit() {
    return 1;
}
