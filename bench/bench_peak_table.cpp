// The waveform's peak table on 10 minutes of 44.1 kHz stereo: building it once,
// and answering a 700-column strip at every zoom from the whole demo down to
// 2 ms a column. Target: a strip in under 1 ms, so a redraw at 60 frames a
// second spends under 6 % of its frame on the waveform.
#include <chrono>
#include <cstdio>
#include <random>

#include "music.h"

namespace {
double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}
} // namespace

int main() {
    auto clip = std::make_shared<AudioClip>();
    clip->rate = 44100;
    clip->channels = 2;
    clip->samples.resize((size_t)44100 * 600 * 2);
    std::mt19937 random(1);
    for (int16_t& s : clip->samples)
        s = (int16_t)(random() % 50001 - 25000);

    auto start = std::chrono::steady_clock::now();
    PeakTable table(clip);
    double build = Seconds(start);
    printf("build: %.1f ms for %.0f s of music, table %.2f MiB (samples %.0f MiB)\n", build * 1000,
           clip->DurationMs() / 1000, table.MemoryBytes() / 1048576.0, clip->samples.size() * 2 / 1048576.0);

    const double kTargetMs = 1.0;
    printf("%14s %12s %8s\n", "ms per column", "strip ms", "ratio");
    for (double msPerColumn : {600000.0 / 700, 100.0, 20.0, 2.0}) {
        const int repeats = 200;
        double checksum = 0;
        start = std::chrono::steady_clock::now();
        for (int r = 0; r < repeats; r++) {
            double from = msPerColumn * 700 >= 600000 ? 0 : (r * 2999.0);
            for (const PeakRange& p : table.Columns(from, msPerColumn, 700))
                checksum += p.max - p.min;
        }
        double ms = Seconds(start) * 1000 / repeats;
        printf("%14.2f %12.4f %8.3f%s\n", msPerColumn, ms, ms / kTargetMs, checksum > 0 ? "" : " (no data?)");
    }
    return 0;
}
