// Trellic, the demo editor and player: everything but the entry point lives in
// the TrellicEditor library.
#include <SDL/SDL.h>

#include "app.h"

int main(int, char**) {
    return RunEditor();
}
