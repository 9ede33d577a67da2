// Test plug-in whose initialisation reports failure.
extern "C" int Vorlen_Init(void*, void*) {
    return 0;
}
extern "C" int Vorlen_BeginNewFrame(int) {
    return 1;
}
extern "C" int Vorlen_Quit() {
    return 1;
}
extern "C" int Effect0() {
    return 1;
}
