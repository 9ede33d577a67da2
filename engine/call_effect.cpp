// CallEffect: one direct call per argument count, since effects are plain
// functions taking 0 to 16 int32 arguments.
#include "engine.h"

namespace {
typedef int32_t A;
typedef int (*P0)();
typedef int (*P1)(A);
typedef int (*P2)(A, A);
typedef int (*P3)(A, A, A);
typedef int (*P4)(A, A, A, A);
typedef int (*P5)(A, A, A, A, A);
typedef int (*P6)(A, A, A, A, A, A);
typedef int (*P7)(A, A, A, A, A, A, A);
typedef int (*P8)(A, A, A, A, A, A, A, A);
typedef int (*P9)(A, A, A, A, A, A, A, A, A);
typedef int (*P10)(A, A, A, A, A, A, A, A, A, A);
typedef int (*P11)(A, A, A, A, A, A, A, A, A, A, A);
typedef int (*P12)(A, A, A, A, A, A, A, A, A, A, A, A);
typedef int (*P13)(A, A, A, A, A, A, A, A, A, A, A, A, A);
typedef int (*P14)(A, A, A, A, A, A, A, A, A, A, A, A, A, A);
typedef int (*P15)(A, A, A, A, A, A, A, A, A, A, A, A, A, A, A);
typedef int (*P16)(A, A, A, A, A, A, A, A, A, A, A, A, A, A, A, A);
// Through void(*)(void): the one function pointer type any other converts to quietly.
typedef void (*Generic)(void);
#define AS(T) ((T)(Generic)entry)
} // namespace

unsigned char CallEffect(EffectProc entry, uint32_t count, const int32_t* a) {
    if (!entry || count > kMaxEffectArgs) return 0;
    int r = 0;
    switch (count) {
    case 0:
        r = AS(P0)();
        break;
    case 1:
        r = AS(P1)(a[0]);
        break;
    case 2:
        r = AS(P2)(a[0], a[1]);
        break;
    case 3:
        r = AS(P3)(a[0], a[1], a[2]);
        break;
    case 4:
        r = AS(P4)(a[0], a[1], a[2], a[3]);
        break;
    case 5:
        r = AS(P5)(a[0], a[1], a[2], a[3], a[4]);
        break;
    case 6:
        r = AS(P6)(a[0], a[1], a[2], a[3], a[4], a[5]);
        break;
    case 7:
        r = AS(P7)(a[0], a[1], a[2], a[3], a[4], a[5], a[6]);
        break;
    case 8:
        r = AS(P8)(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7]);
        break;
    case 9:
        r = AS(P9)(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8]);
        break;
    case 10:
        r = AS(P10)(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8], a[9]);
        break;
    case 11:
        r = AS(P11)(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8], a[9], a[10]);
        break;
    case 12:
        r = AS(P12)(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8], a[9], a[10], a[11]);
        break;
    case 13:
        r = AS(P13)(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8], a[9], a[10], a[11], a[12]);
        break;
    case 14:
        r = AS(P14)(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8], a[9], a[10], a[11], a[12], a[13]);
        break;
    case 15:
        r = AS(P15)(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8], a[9], a[10], a[11], a[12], a[13],
                    a[14]);
        break;
    case 16:
        r = AS(P16)(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8], a[9], a[10], a[11], a[12], a[13],
                    a[14], a[15]);
        break;
    }
    return (unsigned char)(r & 0xFF);
}
