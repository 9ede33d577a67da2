// Music for the tests: recognisable signals written as real files, and a
// capture of what SDL_mixer hands to the (dummy) audio device.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <sndfile.h>

#include "music.h"

// Stereo frames that carry their own index: left = i % 16384, right = i / 16384.
std::vector<int16_t> CounterSignal(uint32_t frames);
// The frame index a counter frame carries.
uint32_t CounterIndex(int16_t left, int16_t right);
// A mono chirp, 200 Hz rising by 300 Hz a second, amplitude 0.5: no stretch
// of it looks like any other, so a lossy copy still shows where it came from.
std::vector<int16_t> ChirpSignal(uint32_t frames, uint32_t rate);
// Writes `samples` with libsndfile's `format`; fails the test when it cannot.
void WriteSound(const std::string& path, int format, uint32_t rate, uint32_t channels,
                const std::vector<int16_t>& samples);

// Opens SDL's audio (dummy driver) through SDL_mixer at `rate`, stereo 16-bit,
// 1024-frame buffers; closes it again when it goes.
class MixerDevice {
  public:
    explicit MixerDevice(int rate = 22050);
    ~MixerDevice();
    bool open = false;
};

// Records the device's stream from the first buffer in which `output` runs.
class OutputCapture {
  public:
    explicit OutputCapture(const MusicOutput& output);
    ~OutputCapture();
    // Waits (at most a few seconds) until `frames` stereo frames were captured
    // and returns them interleaved.
    std::vector<int16_t> Take(uint32_t frames);

    const MusicOutput& output;
    std::vector<int16_t> samples; // written on the audio thread under its lock
};
