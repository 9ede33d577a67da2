#include "music_test_support.h"

#include <cmath>

#include <SDL/SDL.h>
#include <SDL/SDL_mixer.h>
#include <gtest/gtest.h>

std::vector<int16_t> CounterSignal(uint32_t frames) {
    std::vector<int16_t> s;
    for (uint32_t i = 0; i < frames; i++) {
        s.push_back((int16_t)(i % 16384));
        s.push_back((int16_t)(i / 16384));
    }
    return s;
}

uint32_t CounterIndex(int16_t left, int16_t right) {
    return (uint32_t)right * 16384 + (uint32_t)left;
}

std::vector<int16_t> ChirpSignal(uint32_t frames, uint32_t rate) {
    std::vector<int16_t> s;
    for (uint32_t i = 0; i < frames; i++) {
        double t = (double)i / rate;
        s.push_back((int16_t)std::lrint(16384 * std::sin(2 * M_PI * (200 * t + 150 * t * t))));
    }
    return s;
}

void WriteSound(const std::string& path, int format, uint32_t rate, uint32_t channels,
                const std::vector<int16_t>& samples) {
    ASSERT_TRUE(EncodeAudioFile(path, format, rate, channels, samples)) << path << ": " << sf_strerror(nullptr);
}

MixerDevice::MixerDevice(int rate) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return;
    open = Mix_OpenAudio(rate, AUDIO_S16SYS, 2, 1024) == 0;
}

MixerDevice::~MixerDevice() {
    if (open) Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

static void CaptureStream(void* capture, Uint8* stream, int bytes) {
    OutputCapture* c = static_cast<OutputCapture*>(capture);
    if (!c->output.Running()) return;
    const int16_t* s = reinterpret_cast<const int16_t*>(stream);
    c->samples.insert(c->samples.end(), s, s + bytes / 2);
}

OutputCapture::OutputCapture(const MusicOutput& out) : output(out) {
    Mix_SetPostMix(CaptureStream, this);
}

OutputCapture::~OutputCapture() {
    Mix_SetPostMix(nullptr, nullptr);
}

std::vector<int16_t> OutputCapture::Take(uint32_t frames) {
    for (int waited = 0; waited < 5000; waited += 10) {
        SDL_LockAudio();
        bool enough = samples.size() >= (size_t)frames * 2;
        SDL_UnlockAudio();
        if (enough) break;
        SDL_Delay(10);
    }
    SDL_LockAudio();
    std::vector<int16_t> out(samples.begin(), samples.begin() + std::min(samples.size(), (size_t)frames * 2));
    SDL_UnlockAudio();
    return out;
}
