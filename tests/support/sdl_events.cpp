#include "sdl_events.h"

#include <SDL/SDL.h>
#include <gtest/gtest.h>

static void Push(SDL_Event& e) {
    if (SDL_PushEvent(&e) != 0) ADD_FAILURE() << "SDL_PushEvent failed: " << SDL_GetError();
}

void PushKeyDown(int sym, int unicode) {
    // The modifiers held now travel with the key, as they do from a keyboard.
    PushKeyDownWith(sym, unicode, SDL_GetModState());
}

void PushKeyDownWith(int sym, int unicode, int mods) {
    SDL_Event e;
    memset(&e, 0, sizeof e);
    e.type = SDL_KEYDOWN;
    e.key.type = SDL_KEYDOWN;
    e.key.state = SDL_PRESSED;
    e.key.keysym.sym = (SDLKey)sym;
    e.key.keysym.unicode = (Uint16)unicode;
    e.key.keysym.mod = (SDLMod)mods;
    Push(e);
}

static void PushButton(Uint8 type, int button, int x, int y) {
    SDL_Event e;
    memset(&e, 0, sizeof e);
    e.type = type;
    e.button.type = type;
    e.button.button = (Uint8)button;
    e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.button.x = (Uint16)x;
    e.button.y = (Uint16)y;
    Push(e);
}

void PushMouseDown(int button, int x, int y) {
    PushButton(SDL_MOUSEBUTTONDOWN, button, x, y);
}
void PushMouseUp(int button, int x, int y) {
    PushButton(SDL_MOUSEBUTTONUP, button, x, y);
}

void PushClick(int x, int y, int button) {
    PushMouseDown(button, x, y);
    PushMouseUp(button, x, y);
}

void PushQuitEvent() {
    SDL_Event e;
    memset(&e, 0, sizeof e);
    e.type = SDL_QUIT;
    Push(e);
}

void DrainEvents() {
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
    }
}

void PushMouseMotion(int x, int y) {
    SDL_Event e;
    memset(&e, 0, sizeof e);
    e.type = SDL_MOUSEMOTION;
    e.motion.type = SDL_MOUSEMOTION;
    e.motion.x = (Uint16)x;
    e.motion.y = (Uint16)y;
    Push(e);
}

void PushWheel(int direction, int x, int y) {
    const int button = direction > 0 ? SDL_BUTTON_WHEELUP : SDL_BUTTON_WHEELDOWN;
    PushButton(SDL_MOUSEBUTTONDOWN, button, x, y);
    PushButton(SDL_MOUSEBUTTONUP, button, x, y);
}
