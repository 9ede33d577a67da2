// 16-bit PCM WAV files from the music generators, for the Ogg encoder.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// Interleaved samples; false when the file cannot be written.
inline bool WriteWav16(const std::string& path, uint32_t rate, uint16_t channels,
                       const std::vector<int16_t>& samples) {
    std::vector<uint8_t> out;
    auto put16 = [&](uint32_t v) {
        out.push_back((uint8_t)v);
        out.push_back((uint8_t)(v >> 8));
    };
    auto put32 = [&](uint32_t v) {
        put16(v & 0xFFFF);
        put16(v >> 16);
    };
    const uint32_t dataBytes = (uint32_t)(samples.size() * 2);
    out.insert(out.end(), {'R', 'I', 'F', 'F'});
    put32(36 + dataBytes);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put32(16);
    put16(1); // PCM
    put16(channels);
    put32(rate);
    put32(rate * channels * 2);
    put16(channels * 2);
    put16(16);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    put32(dataBytes);
    for (int16_t s : samples)
        put16((uint16_t)s);
    FILE* file = fopen(path.c_str(), "wb");
    if (!file) return false;
    bool ok = fwrite(out.data(), 1, out.size(), file) == out.size();
    return fclose(file) == 0 && ok;
}
