// GuiScreen: a top-level container that drains SDL's event queue once per frame
// and turns presses and keys into focus changes, clicks and key calls. The mouse
// state is shared by every screen, so a press seen by one screen's pump is known
// to the next one's.
#include "gui.h"
#include "gui_internal.h"

#include <SDL/SDL.h>

namespace {
MouseState gMouse = {false, false, 0, 0, 0};
int gKeyMods = 0;
}

int KeyEventMods() {
    return gKeyMods;
}

MouseState& SharedMouseState() {
    return gMouse;
}

GuiScreen::GuiScreen(uint16_t quitKey_) : quitKey(quitKey_) {}

bool GuiScreen::shortcut(int, int) {
    return false;
}

bool GuiScreen::pollEvents() {
    DispatchGuard guard;
    bool quit = false;
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        switch (event.type) {
        case SDL_KEYDOWN:
            redrawRequested = true;
            gKeyMods = event.key.keysym.mod;
            if (!key(event.key.keysym.sym, event.key.keysym.unicode) &&
                !shortcut(event.key.keysym.sym, event.key.keysym.unicode) && event.key.keysym.sym == quitKey)
                quit = true;
            break;
        case SDL_MOUSEBUTTONDOWN:
            redrawRequested = true;
            gMouse.button = event.button.button;
            gMouse.x = event.button.x;
            gMouse.y = event.button.y;
            grabFocus(gMouse.x, gMouse.y);
            gMouse.held = true;
            gMouse.pressedSincePoll = true;
            break;
        case SDL_MOUSEBUTTONUP:
            gMouse.held = false;
            break;
        case SDL_QUIT:
            redrawRequested = true;
            quit = true;
            break;
        default:
            break;
        }
    }
    if (gMouse.held || gMouse.pressedSincePoll) {
        // A left press clicks once; other buttons repeat at every poll while held.
        if (gMouse.button == SDL_BUTTON_LEFT) gMouse.held = false;
        click(gMouse.x, gMouse.y, gMouse.button);
        redrawRequested = true;
    }
    gMouse.pressedSincePoll = false;
    return quit;
}
