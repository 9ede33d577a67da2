// Tempo detection: aubio's beat tracker marks the beats of the mono mix, then
// one steady grid (period and phase) is fitted through them by least squares,
// dropping beats far off the grid, so a clean track gives its tempo to a small
// fraction of a beat per minute.
#include "music.h"

#include <algorithm>
#include <cmath>

#include <aubio/aubio.h>

namespace {
// aubio's tracker is tuned for a hop of about 11.6 ms (512 frames at 44.1 kHz);
// at other rates a hop of the same duration keeps it on the beat rather than on
// every other one.
uint32_t HopFor(uint32_t rate) {
    uint32_t hop = 32;
    while (hop < 4096 && hop * 2 <= rate / 64)
        hop *= 2;
    return hop;
}

std::vector<double> TrackBeats(const AudioClip& clip, const std::atomic<bool>* cancel) {
    std::vector<double> beats;
    const uint32_t kHop = HopFor(clip.rate);
    aubio_tempo_t* tempo = new_aubio_tempo("default", 2 * kHop, kHop, clip.rate);
    if (!tempo) return beats;
    fvec_t* in = new_fvec(kHop);
    fvec_t* out = new_fvec(2);
    const uint64_t frames = clip.FrameCount();
    const uint32_t channels = clip.channels;
    for (uint64_t f = 0; f < frames; f += kHop) {
        if (cancel && cancel->load(std::memory_order_relaxed)) {
            beats.clear();
            break;
        }
        for (uint32_t i = 0; i < kHop; i++) {
            float v = 0;
            if (f + i < frames) {
                const int16_t* s = &clip.samples[(size_t)(f + i) * channels];
                for (uint32_t c = 0; c < channels; c++)
                    v += s[c];
                v /= 32768.0f * channels;
            }
            fvec_set_sample(in, v, i);
        }
        aubio_tempo_do(tempo, in, out);
        if (fvec_get_sample(out, 0) != 0) beats.push_back(aubio_tempo_get_last_ms(tempo));
    }
    del_fvec(out);
    del_fvec(in);
    del_aubio_tempo(tempo);
    return beats;
}

// Least squares of beats[i] = phase + n[i] * period over the beats kept.
bool FitGrid(const std::vector<double>& beats, const std::vector<double>& n, const std::vector<bool>& keep,
             double& phase, double& period) {
    double sn = 0, st = 0, snn = 0, snt = 0, count = 0;
    for (size_t i = 0; i < beats.size(); i++) {
        if (!keep[i]) continue;
        sn += n[i];
        st += beats[i];
        snn += n[i] * n[i];
        snt += n[i] * beats[i];
        count++;
    }
    double d = count * snn - sn * sn;
    if (count < 2 || d <= 0) return false;
    period = (count * snt - sn * st) / d;
    phase = (st - period * sn) / count;
    return period > 0;
}
} // namespace

TempoEstimate DetectTempo(const AudioClip& clip, const std::atomic<bool>* cancel) {
    TempoEstimate result;
    if (clip.rate == 0 || clip.channels == 0) return result;
    std::vector<double> beats = TrackBeats(clip, cancel);
    if (beats.size() < 4) return result;

    // A first guess from the median gap, then every beat numbered on that grid.
    std::vector<double> gaps;
    for (size_t i = 1; i < beats.size(); i++)
        gaps.push_back(beats[i] - beats[i - 1]);
    std::nth_element(gaps.begin(), gaps.begin() + gaps.size() / 2, gaps.end());
    double period = gaps[gaps.size() / 2];
    if (!(period > 0)) return result;
    double phase = beats[0];
    std::vector<double> n(beats.size());
    std::vector<bool> keep(beats.size(), true);
    for (int pass = 0; pass < 4; pass++) {
        for (size_t i = 0; i < beats.size(); i++)
            n[i] = std::round((beats[i] - phase) / period);
        if (!FitGrid(beats, n, keep, phase, period)) return result;
        // Beats more than a tenth of a beat off the grid are the tracker's
        // stumbles (its first seconds, breaks); leave them out of the next fit.
        for (size_t i = 0; i < beats.size(); i++)
            keep[i] = std::fabs(beats[i] - (phase + n[i] * period)) < period * 0.1;
    }
    uint32_t kept = (uint32_t)std::count(keep.begin(), keep.end(), true);
    if (kept < 4) return result;
    result.found = true;
    result.beatsPerMinute = 60000.0 / period;
    result.firstBeatMs = phase - std::floor(phase / period) * period;
    result.beatCount = kept;
    return result;
}
