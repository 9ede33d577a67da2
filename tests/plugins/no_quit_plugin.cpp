// Test plug-in without Vorlen_Quit: binding must refuse it.
extern "C" int Vorlen_Init(void*, void*) {
    return 1;
}
extern "C" int Vorlen_BeginNewFrame(int) {
    return 1;
}
extern "C" int Effect0() {
    return 1;
}
