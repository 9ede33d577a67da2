// Frames on demand: while the demo is paused and nothing moves, the editor's
// loop sleeps until an SDL event arrives (input, a finished music decode) or a
// time something asked to be woken at (an autosave, an animation), instead of
// drawing the same picture again and again.
#pragma once

#include <cstdint>

class EditorApp;

// Asks for a frame at SDL tick `ticks` (the earliest request wins).
void WakeEditorAt(uint32_t ticks);
// Asks for a frame `ms` from now.
void WakeEditorIn(uint32_t ms);
// The loop must go on drawing without waiting: the demo plays, or a mouse
// button other than the left is held (it clicks at every frame).
bool EditorAnimating(const EditorApp& app);
// Sleeps until an event is queued, a requested wake-up time comes, or
// kMaxIdleWait ms have passed. Returns at once when an event is waiting.
void WaitForEditorWork();

const uint32_t kMaxIdleWait = 5000; // ms: a frame at least this often anyway
