// Synthesises the showcase's music, the same bytes on every run: 56 bars of
// 4/4 at 128 beats a minute (1.875 s a bar, 105 s in all) in A minor over
// Am-F-C-G, in sections a demo can be cut to. Writes a 44.1 kHz stereo WAV for
// the Ogg encoder and a text file listing the tempo and the sections in ms.
// Usage: showcase_music WAV_FILE SECTIONS_TXT
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "wav_writer.h"

namespace {
const int kRate = 44100;
const double kBpm = 128;
const double kBeat = 60.0 / kBpm;
const double kBar = 4 * kBeat;
const int kBars = 56;
const double kPi = 3.14159265358979323846;

struct Section {
    const char* name;
    int firstBar, bars;
};
// Intro: pad and a filtered arpeggio opening up; groove: drums and bass; build:
// a snare roll and a rising sweep; drop: everything with the lead; break: pad
// and lead alone; second drop; outro: the beat thins out under the last chord.
const Section kSections[] = {{"intro", 0, 8},  {"groove", 8, 8}, {"build", 16, 4}, {"drop", 20, 16},
                             {"break", 36, 8}, {"drop2", 44, 8}, {"outro", 52, 4}};

const int kChords[4][3] = {{57, 60, 64}, {53, 57, 60}, {48, 52, 55}, {55, 59, 62}}; // Am F C G
const int kBassRoots[4] = {33, 29, 36, 31};                                         // A1 F1 C2 G1

struct Note {
    double beat, length;
    int midi;
};
// Two four-bar phrases of the lead (beats from the phrase's start).
const Note kPhraseA[] = {{0, 1, 76},   {1, .5, 72},  {1.5, .5, 74}, {2, 1, 76},  {3, 1, 81},  {4, 1.5, 81},
                         {5.5, .5, 79}, {6, 1, 77},   {7, 1, 76},    {8, 1, 76},  {9, 1, 79},  {10, 1, 84},
                         {11, 1, 79},  {12, 1.5, 74}, {13.5, .5, 71}, {14, 1, 74}, {15, 1, 79}};
const Note kPhraseB[] = {{0, 1, 81},  {1, .5, 79},   {1.5, .5, 76}, {2, 1, 74},  {3, 1, 76},  {4, 2, 72},
                         {6, 1, 69},  {7, 1, 72},    {8, 1.5, 76},  {9.5, .5, 74}, {10, 1, 72}, {11, 1, 76},
                         {12, 2, 74}, {14, 2, 69}};

double Freq(double midi) {
    return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

uint32_t noiseState = 0x9E3779B9u;
double Noise() {
    noiseState ^= noiseState << 13;
    noiseState ^= noiseState >> 17;
    noiseState ^= noiseState << 5;
    return noiseState / 2147483648.0 - 1.0;
}

// Band-limited sawtooth step (PolyBLEP): a saw without the worst of its aliasing.
double PolyBlep(double t, double dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1;
    }
    if (t > 1 - dt) {
        t = (t - 1) / dt;
        return t * t + t + t + 1;
    }
    return 0;
}

struct OnePole {
    double y = 0;
    double Low(double x, double cutoff) {
        double a = 1 - std::exp(-2 * kPi * std::min(cutoff, kRate * 0.45) / kRate);
        y += a * (x - y);
        return y;
    }
};

struct Mix {
    std::vector<float> left, right;
    explicit Mix(size_t frames) : left(frames), right(frames) {}
    void Add(size_t i, double v, double pan) { // pan -1..1
        if (i >= left.size()) return;
        left[i] += (float)(v * std::sqrt(0.5 * (1 - pan)));
        right[i] += (float)(v * std::sqrt(0.5 * (1 + pan)));
    }
};

size_t At(double seconds) {
    return (size_t)std::llround(seconds * kRate);
}

bool InSection(int bar, const char* name) {
    for (const Section& s : kSections)
        if (std::string(s.name) == name) return bar >= s.firstBar && bar < s.firstBar + s.bars;
    return false;
}

void Kick(Mix& mix, double t, double gain) {
    double phase = 0;
    for (size_t i = 0; i < At(0.35); i++) {
        double s = (double)i / kRate;
        phase += 2 * kPi * (48 + 110 * std::exp(-s * 30)) / kRate;
        mix.Add(At(t) + i, gain * std::sin(phase) * std::exp(-s * 9), 0);
    }
}

void Clap(Mix& mix, double t, double gain) {
    OnePole low, band;
    for (size_t i = 0; i < At(0.25); i++) {
        double s = (double)i / kRate;
        double env = std::exp(-s * 18);
        for (double burst : {0.0, 0.011, 0.022})
            if (s >= burst && s < burst + 0.01) env = std::max(env, 1.0 - (s - burst) * 60);
        double n = Noise();
        double v = low.Low(n, 2500) - band.Low(n, 700);
        mix.Add(At(t) + i, gain * 2.5 * v * env, 0.1);
    }
}

void Hat(Mix& mix, double t, double gain, bool open) {
    OnePole low;
    double decay = open ? 12 : 55;
    for (size_t i = 0; i < At(open ? 0.3 : 0.08); i++) {
        double s = (double)i / kRate;
        double n = Noise();
        mix.Add(At(t) + i, gain * (n - low.Low(n, 7000)) * std::exp(-s * decay), 0.35);
    }
}

// A saw voice through a two-pole low-pass whose cutoff follows the envelope.
void Saw(Mix& mix, double t, double length, double midi, double gain, double pan, double cutoff,
         double detune = 0, double attack = 0.005, double release = 0.08) {
    OnePole a, b;
    double phase = std::fmod(midi * 0.618, 1.0);
    double dt = Freq(midi + detune) / kRate;
    size_t n = At(length + release);
    for (size_t i = 0; i < n; i++) {
        double s = (double)i / kRate;
        double env = std::min(1.0, s / attack) * (s < length ? 1.0 : std::max(0.0, 1 - (s - length) / release));
        double saw = 2 * phase - 1 - PolyBlep(phase, dt);
        phase += dt;
        if (phase >= 1) phase -= 1;
        double f = cutoff * (0.4 + 0.6 * std::exp(-s * 6));
        mix.Add(At(t) + i, gain * env * b.Low(a.Low(saw, f), f), pan);
    }
}

// A soft square pluck for the arpeggio.
void Pluck(Mix& mix, double t, double midi, double gain, double pan, double cutoff) {
    OnePole a;
    double phase = 0, dt = Freq(midi) / kRate;
    for (size_t i = 0; i < At(0.2); i++) {
        double s = (double)i / kRate;
        double sq = phase < 0.5 ? 1 : -1;
        phase += dt;
        if (phase >= 1) phase -= 1;
        mix.Add(At(t) + i, gain * a.Low(sq, cutoff) * std::exp(-s * 16), pan);
    }
}

void Sweep(Mix& mix, double t, double length, double gain) {
    OnePole low, high;
    for (size_t i = 0; i < At(length); i++) {
        double x = (double)i / At(length);
        double n = Noise();
        double cutoff = 300 + 9000 * x * x;
        double v = low.Low(n, cutoff) - high.Low(n, cutoff * 0.5);
        mix.Add(At(t) + i, gain * x * v, std::sin(x * 12) * 0.5);
    }
}

// Ping-pong echo of a bus at three sixteenths, into the mix.
void Echo(const Mix& bus, Mix& mix, double feedback) {
    size_t delay = At(kBeat * 0.75);
    std::vector<float> l(bus.left), r(bus.right);
    for (size_t i = delay; i < l.size(); i++) {
        l[i] += (float)(feedback * r[i - delay]);
        r[i] += (float)(feedback * l[i - delay]);
    }
    OnePole dl, dr;
    for (size_t i = 0; i < l.size(); i++) {
        mix.left[i] += bus.left[i] + (float)(0.5 * dl.Low(l[i] - bus.left[i], 3500));
        mix.right[i] += bus.right[i] + (float)(0.5 * dr.Low(r[i] - bus.right[i], 3500));
    }
}

void Phrase(Mix& bus, double barStart, const Note* notes, size_t count, double gain, double cutoff) {
    for (size_t k = 0; k < count; k++) {
        const Note& n = notes[k];
        double t = barStart + n.beat * kBeat, len = n.length * kBeat * 0.9;
        Saw(bus, t, len, n.midi, gain, -0.15, cutoff, -0.08, 0.01, 0.15);
        Saw(bus, t, len, n.midi, gain, 0.15, cutoff, 0.08, 0.01, 0.15);
    }
}

void Fail(const std::string& what) {
    fprintf(stderr, "showcase_music: %s\n", what.c_str());
    exit(1);
}
} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: showcase_music WAV_FILE SECTIONS_TXT\n");
        return 2;
    }
    const size_t frames = At(kBars * kBar + 2.5); // the last chord rings out
    Mix mix(frames), echoBus(frames);

    for (int bar = 0; bar < kBars; bar++) {
        const double t0 = bar * kBar;
        const int* chord = kChords[bar % 4];
        const bool drop = InSection(bar, "drop") || InSection(bar, "drop2");
        const bool groove = InSection(bar, "groove");
        const bool intro = InSection(bar, "intro"), build = InSection(bar, "build");
        const bool brk = InSection(bar, "break"), outro = InSection(bar, "outro");

        // Pad: the chord, held, wider and brighter in the drops.
        double padGain = outro ? 0.05 * (1 - (bar - 52) / 5.0) : brk ? 0.1 : 0.045;
        double padCut = intro ? 600 + 250 * bar : drop ? 2500 : 1500;
        double padLen = bar == kBars - 1 ? kBar + 1.0 : kBar;
        for (int k = 0; k < 3; k++) {
            Saw(mix, t0, padLen, chord[k], padGain, -0.6, padCut, -0.1, 0.3, 0.5);
            Saw(mix, t0, padLen, chord[k], padGain, 0.6, padCut, 0.1, 0.3, 0.5);
        }

        // Drums.
        bool kicks = groove || drop || outro || (build && bar < 19);
        for (int beat = 0; beat < 4; beat++) {
            double tb = t0 + beat * kBeat;
            if (kicks) Kick(mix, tb, 0.9);
            if ((groove || drop) && beat % 2 == 1) Clap(echoBus, tb, drop ? 0.35 : 0.3);
            if (groove || drop || outro || (intro && bar >= 4)) Hat(mix, tb + kBeat / 2, 0.18, drop);
            if (drop) {
                Hat(mix, tb + kBeat / 4, 0.07, false);
                Hat(mix, tb + 3 * kBeat / 4, 0.07, false);
            }
        }
        if (build) {
            // The roll doubles each bar: quarters, eighths, sixteenths, thirty-seconds.
            int hits = 4 << (bar - 16);
            for (int h = 0; h < hits; h++)
                Clap(mix, t0 + h * kBar / hits, 0.12 + 0.1 * (bar - 16 + (double)h / hits) / 4);
        }
        if (bar == 16) Sweep(mix, t0, 4 * kBar, 0.5);

        // Bass: rolling sixteenths between the kicks, ducking under each of them.
        if (groove || drop) {
            int root = kBassRoots[bar % 4];
            for (int s = 0; s < 16; s++) {
                if (s % 4 == 0) continue;
                int note = root + (s % 4 == 3 && drop ? 12 : 0);
                Saw(mix, t0 + s * kBeat / 4, kBeat / 4 * 0.8, note, s % 4 == 2 ? 0.3 : 0.22, 0,
                    drop ? 1400 : 900);
            }
        }

        // Arpeggio: chord tones in sixteenths over two octaves, opening up in the intro.
        if (intro || groove || drop || build) {
            double cutoff = intro ? 400 + 400 * bar : drop ? 4000 : 2200;
            double gain = intro ? 0.04 + 0.01 * bar : 0.09;
            for (int s = 0; s < 16; s++) {
                int note = chord[s % 3] + 12 * (1 + (s / 3) % 2);
                Pluck(echoBus, t0 + s * kBeat / 4, note, gain, s % 2 ? 0.5 : -0.5, cutoff);
            }
        }

        // Lead: phrase A then B over each four bars of the drops, A softly in the break.
        if ((drop || brk) && bar % 4 == 0) {
            bool second = (bar / 4) % 2 == 1;
            if (brk)
                Phrase(echoBus, t0, kPhraseA, sizeof kPhraseA / sizeof *kPhraseA, 0.09, 2200);
            else if (second)
                Phrase(echoBus, t0, kPhraseB, sizeof kPhraseB / sizeof *kPhraseB, 0.07, 3200);
            else
                Phrase(echoBus, t0, kPhraseA, sizeof kPhraseA / sizeof *kPhraseA, 0.07, 3200);
        }
    }
    Echo(echoBus, mix, 0.45);

    // Master: gentle saturation, then the peak to -1 dB.
    double peak = 0;
    for (size_t i = 0; i < frames; i++) {
        mix.left[i] = (float)std::tanh(mix.left[i]);
        mix.right[i] = (float)std::tanh(mix.right[i]);
        peak = std::max(peak, (double)std::max(std::fabs(mix.left[i]), std::fabs(mix.right[i])));
    }
    double scale = peak > 0 ? 0.89 / peak : 1;
    std::vector<int16_t> samples;
    for (size_t i = 0; i < frames; i++) {
        samples.push_back((int16_t)std::lrint(mix.left[i] * scale * 32767));
        samples.push_back((int16_t)std::lrint(mix.right[i] * scale * 32767));
    }
    if (!WriteWav16(argv[1], kRate, 2, samples)) Fail(std::string("cannot write ") + argv[1]);

    FILE* text = fopen(argv[2], "w");
    if (!text) Fail(std::string("cannot write ") + argv[2]);
    fprintf(text, "# The showcase's music, made by tools/showcase_music.cpp\n");
    fprintf(text, "tempo %g beats a minute, 4 beats a bar, first beat at 0 ms\n", kBpm);
    fprintf(text, "beat %.4f ms, bar %.4f ms, %d bars, %.0f ms with the last chord's ring\n", kBeat * 1000,
            kBar * 1000, kBars, frames * 1000.0 / kRate);
    fprintf(text, "chords, a bar each, over and over: Am F C G\n");
    fprintf(text, "section  bars    from ms   to ms\n");
    for (const Section& s : kSections)
        fprintf(text, "%-8s %2d-%-2d  %7.0f  %7.0f\n", s.name, s.firstBar + 1, s.firstBar + s.bars,
                s.firstBar * kBar * 1000, (s.firstBar + s.bars) * kBar * 1000);
    fclose(text);
    return 0;
}
