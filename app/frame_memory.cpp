// KeepMemoryBetweenFrames: malloc's thresholds for a program that draws
// hundreds of frames a second. A software GL driver allocates its bins and
// vertex buffers per frame; with the default thresholds the freed top of the
// heap goes back to the system and every frame faults the same pages in again.
#include "app.h"

#include <malloc.h>

void KeepMemoryBetweenFrames() {
#if defined(__GLIBC__)
    // Blocks up to 32 MB come from the heap (a decoded song or a video frame
    // above that still gets its own mapping), and up to 64 MB of free heap top
    // stays with the process.
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 64 << 20);
#endif
}
