// Pushes real SDL events into the queue, for tests that drive a GuiScreen's pump.
#pragma once

// Keys: an SDL key sym and the translated character (0 for none).
void PushKeyDown(int sym, int unicode = 0);
// The same with modifiers held (SDL's KMOD_ bits), as the event carries them.
void PushKeyDownWith(int sym, int unicode, int mods);
void PushMouseDown(int button, int x, int y);
void PushMouseUp(int button, int x, int y);
// A press and its release, queued together.
void PushClick(int x, int y, int button = 1);
void PushQuitEvent();
// The pointer moving to (x, y), as while a button is held for a drag.
void PushMouseMotion(int x, int y);
// One wheel notch at (x, y): +1 up (away from the user), -1 down.
void PushWheel(int direction, int x, int y);
// Drops whatever is still queued.
void DrainEvents();
