// The editor's keyboard commands for editing the demo.
#include "editor.h"

bool HandleEditingKey(int, int) {
    return false;
}
