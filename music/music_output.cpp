// Playing a decoded clip through SDL_mixer's music hook. Positions are exact:
// output frame n of a start at source frame s plays source position
// s + n * sourceRate / deviceRate, kept as an integer ratio so nothing drifts;
// between source frames, 4-point Catmull-Rom interpolation (which passes
// through the samples, so equal rates copy them unchanged).
#include "music.h"

#include <cmath>

#include <SDL/SDL.h>
#include <SDL/SDL_mixer.h>

namespace {
MusicOutput* hooked = nullptr; // the output that owns the hook

void MusicHook(void* output, Uint8* stream, int bytes) {
    static_cast<MusicOutput*>(output)->Fill(stream, bytes);
}

uint32_t BytesPerSample(uint16_t format) {
    return (format & 0xFF) / 8;
}

float CatmullRom(float p0, float p1, float p2, float p3, float x) {
    return p1 + 0.5f * x * (p2 - p0 + x * (2 * p0 - 5 * p1 + 4 * p2 - p3 + x * (3 * (p1 - p2) + p3 - p0)));
}

int Clamp16(float v) {
    long s = std::lrint(v);
    return s > 32767 ? 32767 : s < -32768 ? -32768 : (int)s;
}

void Store(uint8_t* at, uint16_t format, int value) {
    switch (format) {
    case AUDIO_S16LSB:
    case AUDIO_U16LSB: {
        uint16_t v = (uint16_t)(format == AUDIO_U16LSB ? value + 32768 : value);
        at[0] = (uint8_t)v;
        at[1] = (uint8_t)(v >> 8);
        break;
    }
    case AUDIO_S16MSB:
    case AUDIO_U16MSB: {
        uint16_t v = (uint16_t)(format == AUDIO_U16MSB ? value + 32768 : value);
        at[0] = (uint8_t)(v >> 8);
        at[1] = (uint8_t)v;
        break;
    }
    case AUDIO_S8:
        at[0] = (uint8_t)(int8_t)(value >> 8);
        break;
    case AUDIO_U8:
        at[0] = (uint8_t)((value >> 8) + 128);
        break;
    }
}
} // namespace

MusicOutput::~MusicOutput() {
    Detach();
}

uint64_t MusicOutput::StartFrame(double ms, uint32_t rate) {
    if (!(ms > 0)) return 0;
    return (uint64_t)std::floor(ms * rate / 1000.0 + 1e-9);
}

bool MusicOutput::Attach(ClipPtr newClip) {
    Detach();
    int frequency = 0, channels = 0;
    Uint16 format = 0;
    if (!newClip || !Mix_QuerySpec(&frequency, &format, &channels) || frequency <= 0 || channels <= 0)
        return false;
    if (BytesPerSample(format) != 1 && BytesPerSample(format) != 2) return false;
    SDL_LockAudio();
    clip = std::move(newClip);
    deviceRate = (uint32_t)frequency;
    deviceChannels = (uint32_t)channels;
    deviceFormat = format;
    running = false;
    progress = HookProgress();
    progress.rate = deviceRate;
    SDL_UnlockAudio();
    // Only one output can own the hook; a newer one takes it over.
    if (hooked && hooked != this) {
        SDL_LockAudio();
        hooked->attached = false;
        hooked->running = false;
        SDL_UnlockAudio();
    }
    hooked = this;
    Mix_HookMusic(MusicHook, this);
    attached = true;
    return true;
}

void MusicOutput::Detach() {
    if (attached && hooked == this) {
        Mix_HookMusic(nullptr, nullptr);
        hooked = nullptr;
    }
    attached = false;
    running = false;
    clip.reset();
}

void MusicOutput::Start(double ms) {
    if (!attached) return;
    SDL_LockAudio();
    startFrame = StartFrame(ms, clip->rate);
    progress = HookProgress();
    progress.rate = deviceRate;
    running = true;
    SDL_UnlockAudio();
}

void MusicOutput::Stop() {
    SDL_LockAudio();
    running = false;
    SDL_UnlockAudio();
}

void MusicOutput::SetVolume(int v) {
    volume.store(v < 0 ? 0 : v > MIX_MAX_VOLUME ? MIX_MAX_VOLUME : v);
}

HookProgress MusicOutput::Progress() const {
    SDL_LockAudio();
    HookProgress p = progress;
    SDL_UnlockAudio();
    return p;
}

void MusicOutput::Fill(uint8_t* stream, int bytes) {
    if (!running || !clip || bytes <= 0) return;
    uint32_t frameBytes = BytesPerSample(deviceFormat) * deviceChannels;
    uint32_t frames = (uint32_t)bytes / frameBytes;
    progress.framesBefore += progress.framesInCall;
    progress.framesInCall = frames;
    progress.callTimeUs = SteadyMicroseconds();
    WriteFrames(stream, frames);
}

void MusicOutput::WriteFrames(uint8_t* stream, uint32_t frames) {
    const uint64_t clipFrames = clip->FrameCount();
    const uint32_t srcChannels = clip->channels, srcRate = clip->rate;
    const int16_t* s = clip->samples.data();
    const float gain = volume.load() / (float)MIX_MAX_VOLUME;
    const uint32_t sampleBytes = BytesPerSample(deviceFormat);
    auto at = [&](int64_t frame, uint32_t channel) -> float {
        if (frame < 0 || (uint64_t)frame >= clipFrames) return 0.0f;
        return s[(size_t)frame * srcChannels + channel];
    };
    for (uint32_t i = 0; i < frames; i++) {
        uint64_t n = progress.framesBefore + i;
        // n * srcRate stays far below 2^64 for any demo (centuries at 768 kHz).
        uint64_t scaled = n * srcRate;
        int64_t frame = (int64_t)(startFrame + scaled / deviceRate);
        uint64_t remainder = scaled % deviceRate;
        if ((uint64_t)frame >= clipFrames) {
            // Past the end: the stream holds the mixer's silence already.
            stream += (size_t)(frames - i) * sampleBytes * deviceChannels;
            break;
        }
        float x = remainder / (float)deviceRate;
        float value[2];
        for (uint32_t c = 0; c < srcChannels; c++)
            value[c] = remainder == 0 ? at(frame, c)
                                      : CatmullRom(at(frame - 1, c), at(frame, c), at(frame + 1, c),
                                                   at(frame + 2, c), x);
        if (srcChannels == 1) value[1] = value[0];
        for (uint32_t c = 0; c < deviceChannels; c++) {
            int v = 0;
            if (deviceChannels == 1)
                v = Clamp16((value[0] + value[1]) * 0.5f * gain);
            else if (c < 2)
                v = Clamp16(value[c] * gain);
            Store(stream, deviceFormat, v);
            stream += sampleBytes;
        }
    }
}
