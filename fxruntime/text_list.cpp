// The text list of TextList.txt: fonts and texts for DisplayText.
#include "fxruntime_internal.h"

void LoadTextList() {}
void ReleaseTextList() {}
Font* GetTextFont(long) {
    return nullptr;
}
const char* GetText(long) {
    return nullptr;
}
int TextFontCount() {
    return 0;
}
int TextCount() {
    return 0;
}
