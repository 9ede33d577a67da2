// Playback in the editor with the loop range: while looping is on and the
// position is inside the range, reaching its out starts it again at its in,
// the music included (the hook restarts there, sample-exact).
#include "app.h"

void AdvanceEditorPlayback(MusicPlayer& music, const DemoStruct& demo, bool looping, uint32_t elapsed,
                           uint32_t& lastPosition) {
    const bool inRange = looping && demo.hasLoopRange && demo.loopIn < demo.loopOut &&
                         music.position >= demo.loopIn && music.position < demo.loopOut;
    if (!inRange) {
        AdvancePlayback(music, demo.runningTime, elapsed, lastPosition);
        return;
    }
    // The range's out stands in for the demo's end; where playback would stop
    // there, it wraps instead.
    const uint32_t out = demo.loopOut < demo.runningTime ? demo.loopOut : demo.runningTime;
    AdvancePlayback(music, out, elapsed, lastPosition);
    if (music.playing) return;
    music.playing = true;
    music.position = demo.loopIn;
    music.Play(true, demo.loopIn);
    lastPosition = demo.loopIn;
}
