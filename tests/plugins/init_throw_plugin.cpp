// Test plug-in whose initialisation throws a BasicException across the boundary.
#include "basic_exception.h"

#define EXPORT __attribute__((visibility("default")))
extern "C" EXPORT int Vorlen_Init(void*, void*) {
    throw BasicException::Format("Init of %s refused: %d", "InitThrowPlugin", 42);
}
extern "C" EXPORT int Vorlen_BeginNewFrame(int) {
    return 1;
}
extern "C" EXPORT int Vorlen_Quit() {
    return 1;
}
extern "C" EXPORT int Effect0() {
    return 1;
}
