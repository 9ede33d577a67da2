// Test plug-in with the optional Vorlen_SetRenderTime export: every entry point
// and its one effect append a line to "calls.log" in the working directory, so
// a test can read what a program run called, and in which order.
#include <cstdint>
#include <cstdio>

namespace {
void Log(const char* what, int32_t value) {
    FILE* f = fopen("calls.log", "a");
    if (!f) return;
    fprintf(f, "%s %d\n", what, (int)value);
    fclose(f);
}
} // namespace

extern "C" {
int Vorlen_Init(void*, void*) {
    Log("init", 0);
    return 1;
}
int Vorlen_BeginNewFrame(int32_t value) {
    Log("begin", value);
    return 1;
}
int Vorlen_Quit() {
    return 1;
}
int Vorlen_SetRenderTime(int32_t demoTimeMs) {
    Log("time", demoTimeMs);
    return 1;
}
int Mark(int32_t value) {
    Log("mark", value);
    return 1;
}
}
