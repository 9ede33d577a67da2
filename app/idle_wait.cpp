// The idle wait: SDL_WaitEvent, with a one-shot SDL timer that posts an event
// at the next wake-up time. Without SDL's timer the wait sleeps in short steps
// and looks at the queue between them.
#include "idle_wait.h"

#include <SDL/SDL.h>

#include "app.h"

namespace {

bool gWakePending = false;
uint32_t gWakeAt = 0;

const int kWakeCode = 0x57414B45; // SDL_USEREVENT code of the timer's event
const uint32_t kPollStep = 5;     // ms, without a timer

Uint32 PostWake(Uint32, void*) {
    SDL_Event event;
    event.type = SDL_USEREVENT;
    event.user.type = SDL_USEREVENT;
    event.user.code = kWakeCode;
    event.user.data1 = event.user.data2 = nullptr;
    SDL_PushEvent(&event);
    return 0; // once
}

bool EventWaiting() {
    SDL_PumpEvents();
    SDL_Event event;
    return SDL_PeepEvents(&event, 1, SDL_PEEKEVENT, SDL_ALLEVENTS) > 0;
}

// Ticks compare as a circle: `a` is at or after `b`.
bool Reached(uint32_t a, uint32_t b) {
    return (int32_t)(a - b) >= 0;
}

} // namespace

void WakeEditorAt(uint32_t ticks) {
    if (!gWakePending || Reached(gWakeAt, ticks)) gWakeAt = ticks;
    gWakePending = true;
}

void WakeEditorIn(uint32_t ms) {
    WakeEditorAt(SDL_GetTicks() + ms);
}

bool EditorAnimating(const EditorApp& app) {
    if (app.demoLoaded && app.music.playing) return true;
    const MouseState& mouse = SharedMouseState();
    return mouse.held && mouse.button != SDL_BUTTON_LEFT;
}

void WaitForEditorWork() {
    const uint32_t now = SDL_GetTicks();
    uint32_t deadline = now + kMaxIdleWait;
    if (gWakePending && !Reached(gWakeAt, deadline)) deadline = gWakeAt;
    if (gWakePending && Reached(now, gWakeAt)) {
        gWakePending = false;
        return;
    }
    if (EventWaiting()) return;
    const uint32_t timeout = deadline - now;
    SDL_TimerID timer = SDL_WasInit(SDL_INIT_TIMER) ? SDL_AddTimer(timeout, PostWake, nullptr) : nullptr;
    if (timer) {
        SDL_WaitEvent(nullptr);
        SDL_RemoveTimer(timer);
    } else {
        while (!EventWaiting() && !Reached(SDL_GetTicks(), deadline))
            SDL_Delay(kPollStep);
    }
    if (gWakePending && Reached(SDL_GetTicks(), gWakeAt)) gWakePending = false;
}
