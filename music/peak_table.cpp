// The waveform's peak table: min/max per 16-frame block over every channel,
// then levels of 4, 16, 64... of those, so a column of any width is a handful of
// look-ups.
#include "music.h"

#include <algorithm>
#include <cmath>

PeakTable::PeakTable(ClipPtr c) : clip(std::move(c)) {
    const uint64_t frames = clip->FrameCount();
    const uint32_t channels = clip->channels;
    std::vector<Entry> base((size_t)((frames + kBaseBlock - 1) / kBaseBlock));
    const int16_t* s = clip->samples.data();
    for (size_t b = 0; b < base.size(); b++) {
        uint64_t end = std::min<uint64_t>((b + 1) * (uint64_t)kBaseBlock, frames) * channels;
        int16_t lo = 32767, hi = -32768;
        for (uint64_t i = b * (uint64_t)kBaseBlock * channels; i < end; i++) {
            lo = std::min(lo, s[i]);
            hi = std::max(hi, s[i]);
        }
        base[b] = {lo, hi};
    }
    levels.push_back(std::move(base));
    while (levels.back().size() > kFanout) {
        const std::vector<Entry>& below = levels.back();
        std::vector<Entry> up((below.size() + kFanout - 1) / kFanout);
        for (size_t b = 0; b < up.size(); b++) {
            Entry e = below[b * kFanout];
            for (size_t i = b * kFanout + 1; i < std::min(below.size(), (b + 1) * kFanout); i++) {
                e.min = std::min(e.min, below[i].min);
                e.max = std::max(e.max, below[i].max);
            }
            up[b] = e;
        }
        levels.push_back(std::move(up));
    }
}

void PeakTable::AddFrames(uint64_t frame0, uint64_t frame1, int& lo, int& hi) const {
    const int16_t* s = clip->samples.data();
    for (uint64_t i = frame0 * clip->channels; i < frame1 * clip->channels; i++) {
        lo = std::min<int>(lo, s[i]);
        hi = std::max<int>(hi, s[i]);
    }
}

PeakRange PeakTable::Range(uint64_t f0, uint64_t f1) const {
    f1 = std::min(f1, clip->FrameCount());
    PeakRange r;
    if (f0 >= f1) return r;
    int lo = 32767, hi = -32768;
    // The ragged ends come from the samples, the aligned middle from the levels.
    uint64_t head = std::min(f1, (f0 + kBaseBlock - 1) / kBaseBlock * kBaseBlock);
    AddFrames(f0, head, lo, hi);
    f0 = head;
    uint64_t tail = std::max(f0, f1 / kBaseBlock * kBaseBlock);
    AddFrames(tail, f1, lo, hi);
    uint64_t b0 = f0 / kBaseBlock, b1 = tail / kBaseBlock;
    auto add = [&](const Entry& e) {
        lo = std::min<int>(lo, e.min);
        hi = std::max<int>(hi, e.max);
    };
    for (size_t level = 0; b0 < b1; level++) {
        const std::vector<Entry>& entries = levels[level];
        if (level + 1 == levels.size()) {
            for (uint64_t b = b0; b < b1; b++)
                add(entries[b]);
            break;
        }
        while (b0 < b1 && b0 % kFanout) add(entries[b0++]);
        while (b1 > b0 && b1 % kFanout) add(entries[--b1]);
        b0 /= kFanout;
        b1 /= kFanout;
    }
    r.valid = true;
    r.min = lo / 32768.0f;
    r.max = hi / 32768.0f;
    return r;
}

PeakRange PeakTable::RangeMs(double t0, double t1) const {
    if (!(t0 < t1) || t1 <= 0) return PeakRange();
    double rate = clip->rate;
    uint64_t f0 = t0 <= 0 ? 0 : (uint64_t)std::floor(t0 * rate / 1000.0);
    double end = std::floor(t1 * rate / 1000.0);
    uint64_t f1 = end > 1e18 ? UINT64_MAX : (uint64_t)end;
    return Range(f0, std::max(f1, f0 + 1));
}

std::vector<PeakRange> PeakTable::Columns(double startMs, double msPerColumn, size_t columns) const {
    std::vector<PeakRange> out(columns);
    if (!(msPerColumn > 0)) return out;
    for (size_t i = 0; i < columns; i++)
        out[i] = RangeMs(startMs + i * msPerColumn, startMs + (i + 1) * msPerColumn);
    return out;
}

size_t PeakTable::MemoryBytes() const {
    size_t bytes = 0;
    for (const std::vector<Entry>& level : levels)
        bytes += level.size() * sizeof(Entry);
    return bytes;
}
