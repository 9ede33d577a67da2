// The editor's keyboard commands for editing the demo.
#include "editor.h"

#include <SDL/SDL.h>

bool HandleEditingKey(int sym, int) {
    if (sym == SDLK_F5) { // after rebuilding an effect library
        ReloadLibrariesCommand(0, 0, 0);
        return true;
    }
    return false;
}
