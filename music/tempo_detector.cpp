// Tempo detection in two steps. aubio's beat tracker gives the beat's rough
// length; its beats cannot give more, since its period is a whole number of
// analysis hops and its beats slip and catch up. Then a comb of evenly spaced
// teeth is slid over the whole onset curve (aubio's spectral flux) for lengths
// within 3 % of that one and for every phase: the comb that collects the most
// onset strength gives the tempo to a small fraction of a beat per minute, and
// its phase the first beat.
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

struct Analysis {
    std::vector<double> beats; // ms, from the tracker
    std::vector<float> onset;  // spectral flux per hop
    double hopMs = 0;
};

bool Analyse(const AudioClip& clip, const std::atomic<bool>* cancel, Analysis& a) {
    const uint32_t hop = HopFor(clip.rate), window = 2 * hop;
    a.hopMs = hop * 1000.0 / clip.rate;
    aubio_tempo_t* tempo = new_aubio_tempo("default", window, hop, clip.rate);
    aubio_pvoc_t* pvoc = new_aubio_pvoc(window, hop);
    aubio_specdesc_t* flux = new_aubio_specdesc("specflux", window);
    fvec_t* in = new_fvec(hop);
    fvec_t* out = new_fvec(2);
    fvec_t* flux1 = new_fvec(1);
    cvec_t* spectrum = new_cvec(window);
    bool ok = tempo && pvoc && flux && in && out && flux1 && spectrum;
    const uint64_t frames = clip.FrameCount();
    const uint32_t channels = clip.channels;
    for (uint64_t f = 0; ok && f < frames; f += hop) {
        if (cancel && cancel->load(std::memory_order_relaxed)) ok = false;
        for (uint32_t i = 0; ok && i < hop; i++) {
            float v = 0;
            if (f + i < frames) {
                const int16_t* s = &clip.samples[(size_t)(f + i) * channels];
                for (uint32_t c = 0; c < channels; c++)
                    v += s[c];
                v /= 32768.0f * channels;
            }
            fvec_set_sample(in, v, i);
        }
        if (!ok) break;
        aubio_tempo_do(tempo, in, out);
        if (fvec_get_sample(out, 0) != 0) a.beats.push_back(aubio_tempo_get_last_ms(tempo));
        aubio_pvoc_do(pvoc, in, spectrum);
        aubio_specdesc_do(flux, spectrum, flux1);
        a.onset.push_back(fvec_get_sample(flux1, 0));
    }
    if (spectrum) del_cvec(spectrum);
    if (flux1) del_fvec(flux1);
    if (out) del_fvec(out);
    if (in) del_fvec(in);
    if (flux) del_aubio_specdesc(flux);
    if (pvoc) del_aubio_pvoc(pvoc);
    if (tempo) del_aubio_tempo(tempo);
    return ok;
}

// The onset strength collected by a comb of teeth `period` ms apart from `phase`.
double CombScore(const std::vector<float>& onset, double hopMs, double phase, double period) {
    double score = 0;
    const double last = (double)onset.size() - 1;
    for (double t = phase; t / hopMs < last; t += period) {
        double x = t / hopMs;
        size_t k = (size_t)x;
        double w = x - k;
        score += onset[k] * (1 - w) + onset[k + 1] * w;
    }
    return score;
}
} // namespace

TempoEstimate DetectTempo(const AudioClip& clip, const std::atomic<bool>* cancel) {
    TempoEstimate result;
    if (clip.rate == 0 || clip.channels == 0 || clip.FrameCount() == 0) return result;
    Analysis a;
    if (!Analyse(clip, cancel, a) || a.beats.size() < 4) return result;

    std::vector<double> gaps;
    for (size_t i = 1; i < a.beats.size(); i++)
        gaps.push_back(a.beats[i] - a.beats[i - 1]);
    std::nth_element(gaps.begin(), gaps.begin() + gaps.size() / 2, gaps.end());
    const double rough = gaps[gaps.size() / 2];
    if (!(rough > 0)) return result;

    // Coarse to fine: lengths within 3 %, then around the best at ever finer steps.
    double bestPeriod = rough, bestPhase = 0, best = -1;
    auto search = [&](double from, double to, double step) {
        for (double period = from; period <= to; period += step) {
            for (double phase = 0; phase < period; phase += a.hopMs / 4) {
                if (cancel && cancel->load(std::memory_order_relaxed)) return;
                double score = CombScore(a.onset, a.hopMs, phase, period);
                if (score > best) best = score, bestPeriod = period, bestPhase = phase;
            }
        }
    };
    search(rough * 0.97, rough * 1.03, rough * 0.001);
    for (double step = rough * 0.0002; step > rough * 1e-6; step /= 5) {
        double centre = bestPeriod;
        search(centre - 5 * step, centre + 5 * step, step);
    }
    if (cancel && cancel->load()) return result;
    if (!(best > 0)) return result;

    // The flux of a hop describes the window that ends with it; an onset shows
    // half a hop after it happened.
    double first = bestPhase - a.hopMs * 0.5;
    first -= std::floor(first / bestPeriod) * bestPeriod;
    // A beat within a hop before 0 is the beat at 0, as exactly as the hops tell.
    if (bestPeriod - first < a.hopMs) first = 0;
    result.found = true;
    result.beatsPerMinute = 60000.0 / bestPeriod;
    result.firstBeatMs = first;
    result.beatCount = (uint32_t)a.beats.size();
    return result;
}
