// Test plug-in that declares the plug-in contract version DECLARED_VERSION.
#include "trellic/effect_sdk.h"

VORLEN_EXPORT int Vorlen_ContractVersion(void) {
    return DECLARED_VERSION;
}
VORLEN_EXPORT int Vorlen_Init(SDL_Surface**, SDL_Surface**) {
    return 1;
}
VORLEN_EXPORT int Vorlen_BeginNewFrame(int32_t) {
    return 1;
}
VORLEN_EXPORT int Vorlen_Quit(void) {
    return 1;
}
VORLEN_EFFECT(Nothing)(int32_t) {
    return 1;
}
