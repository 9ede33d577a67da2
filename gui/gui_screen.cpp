// GuiScreen: a top-level container that drains SDL's event queue once per frame
// and turns presses and keys into focus changes, clicks and key calls. The mouse
// state is shared by every screen, so a press seen by one screen's pump is known
// to the next one's.
#include "gui.h"
#include "gui_internal.h"

#include <SDL/SDL.h>

namespace {
MouseState gMouse = {false, false, 0, 0, 0, false, 0, 0};
PointerDrag* gDrag = nullptr;
int gKeyMods = 0;

void EndDrag(int x, int y) {
    PointerDrag* drag = gDrag;
    gDrag = nullptr;
    drag->release(x, y);
    delete drag;
}
} // namespace

PointerDrag::~PointerDrag() {}

void BeginPointerDrag(PointerDrag* drag) {
    CancelPointerDrag();
    gDrag = drag;
    if (gDrag && !gMouse.leftDown) EndDrag(gMouse.upX, gMouse.upY);
}

bool PointerDragActive() {
    return gDrag != nullptr;
}

void CancelPointerDrag() {
    delete gDrag;
    gDrag = nullptr;
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

bool GuiScreen::wheel(int, int, int) {
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
            if ((event.button.button == SDL_BUTTON_WHEELUP || event.button.button == SDL_BUTTON_WHEELDOWN) &&
                wheel(event.button.x, event.button.y, event.button.button == SDL_BUTTON_WHEELUP ? 1 : -1))
                break;
            if (event.button.button == SDL_BUTTON_LEFT) gMouse.leftDown = true;
            gMouse.button = event.button.button;
            gMouse.x = event.button.x;
            gMouse.y = event.button.y;
            grabFocus(gMouse.x, gMouse.y);
            gMouse.held = true;
            gMouse.pressedSincePoll = true;
            break;
        case SDL_MOUSEBUTTONUP:
            gMouse.held = false;
            if (event.button.button == SDL_BUTTON_LEFT) {
                gMouse.leftDown = false;
                gMouse.upX = event.button.x;
                gMouse.upY = event.button.y;
                if (gDrag) {
                    redrawRequested = true;
                    EndDrag(event.button.x, event.button.y);
                }
            }
            break;
        case SDL_MOUSEMOTION:
            if (gDrag) {
                redrawRequested = true;
                gDrag->move(event.motion.x, event.motion.y);
            }
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
