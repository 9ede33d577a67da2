// The playback clock while music sounds: derived from the frames the hook has
// handed to the device, not from a wall clock of its own, so it cannot drift
// away from the sound however long the demo plays.
#include "music.h"

#include <algorithm>
#include <chrono>

int64_t SteadyMicroseconds() {
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void PlaybackClock::Restart(double startMs) {
    start = startMs;
    last = startMs;
}

double PlaybackClock::Position(const HookProgress& p, int64_t nowUs) {
    if (p.rate == 0 || p.callTimeUs < 0) return last;
    // Between hook calls the device plays the frames of the latest call: move
    // through them at the device's rate, but never past them.
    double sinceCall = std::max<int64_t>(0, nowUs - p.callTimeUs) * 1e-6 * p.rate;
    double frames = p.framesBefore + std::min<double>(sinceCall, p.framesInCall);
    last = std::max(last, start + frames * 1000.0 / p.rate);
    return last;
}
