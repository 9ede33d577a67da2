// Drift between the audio and the picture's clock over a long playback: plays
// generated music through the real MusicPlayer and SDL_mixer (the dummy audio
// driver paces itself in real time), advances the clock 60 times a second as
// the editor's loop does, and compares the two in two ways:
// - at every mixer callback, where the audio position is known exactly (the
//   frames handed before it), against the picture's clock at that instant
//   (between the frames around it);
// - at every frame, against a straight line through the callbacks before and
//   after it: this also counts the driver's own jitter, since a callback that
//   comes late makes the line slower than the sound ever was.
// The tick counter that the editor used to run on is measured beside it.
// Usage: bench_music_drift [SECONDS]   (default 600)
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <SDL/SDL.h>
#include <SDL/SDL_mixer.h>
#include <sndfile.h>
#include <unistd.h>

#include "app.h"

namespace {
const double kTargetMs = 16.0; // one frame at 60 Hz

struct Callback {
    int64_t us;
    uint64_t frames; // handed before this callback
};

struct Log {
    bool armed = false;
    uint64_t frames = 0;
    std::vector<Callback> calls;
} hookLog;

void RecordCallback(void*, Uint8*, int bytes) {
    if (!hookLog.armed) return;
    hookLog.calls.push_back({SteadyMicroseconds(), hookLog.frames});
    hookLog.frames += (uint64_t)bytes / 4; // 16-bit stereo
}

// The audio position (ms since the start) at `us`, between the callbacks around it.
double AudioAt(int64_t us, int rate) {
    const std::vector<Callback>& c = hookLog.calls;
    auto after = std::upper_bound(c.begin(), c.end(), us, [](int64_t t, const Callback& k) { return t < k.us; });
    if (after == c.begin()) return 0;
    if (after == c.end()) return c.back().frames * 1000.0 / rate;
    const Callback& a = *(after - 1);
    const Callback& b = *after;
    double x = b.us > a.us ? (double)(us - a.us) / (b.us - a.us) : 0;
    return (a.frames + x * (b.frames - a.frames)) * 1000.0 / rate;
}

std::string WriteMusic(int seconds) {
    std::vector<int16_t> tone((size_t)22050 * seconds);
    for (size_t i = 0; i < tone.size(); i++)
        tone[i] = (int16_t)(4000 * std::sin(i * 2 * M_PI * 220 / 22050));
    char dir[] = "/tmp/trellic-drift-XXXXXX";
    if (!mkdtemp(dir)) return "";
    std::string path = std::string(dir) + "/music.wav";
    if (!EncodeAudioFile(path, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 22050, 1, tone)) return "";
    return path;
}
} // namespace

int main(int argc, char** argv) {
    int seconds = argc > 1 ? atoi(argv[1]) : 600;
    if (seconds < 1) seconds = 600;
    if (SDL_Init(SDL_INIT_AUDIO | SDL_INIT_TIMER) != 0 || Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024) != 0) {
        fprintf(stderr, "bench_music_drift: no audio device: %s\n", SDL_GetError());
        return 1;
    }
    int rate = 0, channels = 0;
    Uint16 format = 0;
    Mix_QuerySpec(&rate, &format, &channels);
    std::string path = WriteMusic(seconds + 5);
    if (path.empty()) {
        fprintf(stderr, "bench_music_drift: cannot write the music\n");
        return 1;
    }
    int code = 0;
    {
        MusicPlayer music;
        music.Load(path.c_str());
        while (!music.HasMusic()) {
            if (music.Update()) return 1;
            SDL_Delay(10);
        }
        Mix_SetPostMix(RecordCallback, nullptr);
        const uint32_t runningTime = (uint32_t)(seconds + 5) * 1000;
        uint32_t lastPosition = 0;
        SDL_LockAudio();
        music.playing = true;
        music.position = 0;
        music.Play(true, 0);
        hookLog.armed = true;
        SDL_UnlockAudio();
        const int64_t startUs = SteadyMicroseconds();
        const uint32_t startTicks = SDL_GetTicks();
        uint32_t lastTicks = startTicks;

        struct Frame {
            int64_t us;
            double picture, ticks;
        };
        std::vector<Frame> frames;
        size_t preempted = 0;
        for (int n = 1;; n++) {
            // A frame every 1/60 s, as a display's refresh would pace it.
            int64_t due = startUs + (int64_t)(n * 1e6 / 60);
            int64_t now = SteadyMicroseconds();
            if (due > now) usleep((useconds_t)(due - now));
            uint32_t ticks = SDL_GetTicks();
            int64_t before = SteadyMicroseconds();
            AdvancePlayback(music, runningTime, ticks - lastTicks, lastPosition);
            int64_t after = SteadyMicroseconds();
            lastTicks = ticks;
            // A frame whose thread was preempted while it read the clock has no
            // one instant to compare at; it is left out (and counted).
            if (after - before > 1000) {
                preempted++;
                continue;
            }
            frames.push_back({(before + after) / 2, (double)music.position, (double)(ticks - startTicks)});
            if (music.position >= (uint32_t)seconds * 1000) break;
        }
        SDL_LockAudio();
        hookLog.armed = false;
        SDL_UnlockAudio();
        Mix_SetPostMix(nullptr, nullptr);

        double worst = 0, sum = 0, worstTicks = 0, lastDrift = 0;
        std::vector<double> drifts;
        for (const Frame& f : frames) {
            if (f.us >= hookLog.calls.back().us) break; // no line beyond the last callback
            double audio = AudioAt(f.us, rate);
            double drift = f.picture - audio;
            drifts.push_back(std::fabs(drift));
            worst = std::max(worst, std::fabs(drift));
            sum += std::fabs(drift);
            worstTicks = std::max(worstTicks, std::fabs(f.ticks - audio));
            lastDrift = drift;
        }
        std::sort(drifts.begin(), drifts.end());
        // At the callbacks.
        std::vector<double> exact;
        size_t j = 0;
        for (const Callback& c : hookLog.calls) {
            while (j + 1 < frames.size() && frames[j + 1].us <= c.us) j++;
            if (j + 1 >= frames.size() || frames[j].us > c.us) continue;
            const Frame& a = frames[j];
            const Frame& b = frames[j + 1];
            double picture = a.picture + (b.picture - a.picture) * (double)(c.us - a.us) / (b.us - a.us);
            exact.push_back(std::fabs(picture - c.frames * 1000.0 / rate));
        }
        std::sort(exact.begin(), exact.end());
        double worstExact = exact.empty() ? 0 : exact.back();
        size_t over = (size_t)std::count_if(drifts.begin(), drifts.end(), [](double d) { return d > kTargetMs; });
        const Callback& last = hookLog.calls.back();
        double pace = (last.frames * 1e6 / rate) / (double)(last.us - hookLog.calls.front().us);
        printf("%d s of playback at %d Hz (music at 22050 Hz), %zu frames (%zu more left out: preempted while"
               " reading the clock), %zu mixer callbacks\n",
               seconds, rate, frames.size(), preempted, hookLog.calls.size());
        printf("audio driver \"%s\" runs at %.4f x real time\n", getenv("SDL_AUDIODRIVER") ? getenv("SDL_AUDIODRIVER") : "default",
               pace);
        printf("picture clock - audio position at the %zu callbacks: max %.2f ms, 99.9th percentile %.2f ms\n",
               exact.size(), worstExact, exact.empty() ? 0 : exact[exact.size() * 999 / 1000]);
        printf("  ratio to the 16 ms target: %.3f %s\n", worstExact / kTargetMs,
               worstExact <= kTargetMs ? "(ok)" : "(TOO MUCH)");
        printf("picture clock - line through the callbacks, per frame: max %.2f ms, mean %.2f ms, at the end %.2f ms\n",
               worst, sum / drifts.size(), lastDrift);
        printf("  99.9th percentile %.2f ms; %zu of %zu frames more than 16 ms off\n",
               drifts[drifts.size() * 999 / 1000], over, drifts.size());
        printf("tick counter - audio position (the old clock): max %.2f ms\n", worstTicks);
        code = worstExact <= kTargetMs ? 0 : 3;
    }
    unlink(path.c_str());
    rmdir(path.substr(0, path.rfind('/')).c_str());
    Mix_CloseAudio();
    SDL_Quit();
    return code;
}
