// Decoding a music file into memory with libsndfile (WAV, FLAC, Ogg Vorbis,
// Opus, MP3 and the rest of what Debian's build reads), in blocks, refusing
// files whose decoded samples would pass the memory limit.
#include "music.h"

#include <cmath>
#include <cstdio>

#include <sndfile.h>
#include <sys/stat.h>

namespace {
const sf_count_t kBlockFrames = 8192;
const int kMaxRate = 768000;

int16_t ToSample(float v) {
    if (!(v == v)) return 0; // NaN from a broken float file
    float s = v * 32768.0f;
    if (s > 32767.0f) return 32767;
    if (s < -32768.0f) return -32768;
    return (int16_t)std::lrint(s);
}

std::string LimitText(uint64_t maxBytes) {
    char text[96];
    snprintf(text, sizeof text, "longer than the %llu MiB that decoded music may take",
             (unsigned long long)(maxBytes >> 20));
    return text;
}
} // namespace

ClipPtr DecodeAudioFile(const std::string& path, std::string& error, const std::atomic<bool>* cancel,
                        uint64_t maxBytes) {
    // Opening a FIFO would wait for a writer forever, and a device never ends.
    struct stat st;
    if (stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
        error = "not a regular file";
        return nullptr;
    }
    SF_INFO info = {};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file) {
        error = sf_strerror(nullptr);
        return nullptr;
    }
    struct Closer {
        SNDFILE* f;
        ~Closer() { sf_close(f); }
    } closer{file};

    if (info.channels < 1 || info.samplerate < 1 || info.samplerate > kMaxRate) {
        error = "unsupported sample rate or channel count";
        return nullptr;
    }
    auto clip = std::make_shared<AudioClip>();
    clip->rate = (uint32_t)info.samplerate;
    clip->channels = info.channels == 2 ? 2 : 1;
    const uint64_t maxSamples = maxBytes / sizeof(int16_t);
    // The header's length is only a hint (streams may not know it, a hostile
    // file may lie): reserve what it claims within the limit, then read to the end.
    if (info.frames > 0 && (uint64_t)info.frames * clip->channels <= maxSamples)
        clip->samples.reserve((size_t)info.frames * clip->channels);

    const int inChannels = info.channels;
    std::vector<float> block((size_t)kBlockFrames * inChannels);
    for (;;) {
        if (cancel && cancel->load(std::memory_order_relaxed)) {
            error = "cancelled";
            return nullptr;
        }
        sf_count_t got = sf_readf_float(file, block.data(), kBlockFrames);
        if (got <= 0) break;
        if (clip->samples.size() + (uint64_t)got * clip->channels > maxSamples) {
            error = LimitText(maxBytes);
            return nullptr;
        }
        const float* in = block.data();
        for (sf_count_t i = 0; i < got; i++, in += inChannels) {
            if (inChannels <= 2) {
                for (int c = 0; c < inChannels; c++)
                    clip->samples.push_back(ToSample(in[c]));
            } else {
                float sum = 0;
                for (int c = 0; c < inChannels; c++)
                    sum += in[c];
                clip->samples.push_back(ToSample(sum / inChannels));
            }
        }
    }
    if (sf_error(file) != SF_ERR_NO_ERROR) {
        error = sf_strerror(file);
        return nullptr;
    }
    if (clip->samples.empty()) {
        error = "the file holds no sound";
        return nullptr;
    }
    clip->samples.shrink_to_fit();
    return clip;
}

bool EncodeAudioFile(const std::string& path, int format, uint32_t rate, uint32_t channels,
                     const std::vector<int16_t>& samples) {
    if (channels == 0) return false;
    SF_INFO info = {};
    info.samplerate = (int)rate;
    info.channels = (int)channels;
    info.format = format;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file) return false;
    sf_count_t frames = (sf_count_t)(samples.size() / channels);
    bool ok = sf_writef_short(file, samples.data(), frames) == frames;
    return sf_close(file) == 0 && ok;
}
