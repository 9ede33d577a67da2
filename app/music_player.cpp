// MusicPlayer: the demo's music, decoded in the background and played through
// the music hook from any position, sample-exact for every format; the clock
// while it sounds; the status message when the file cannot be read.
#include "app.h"

#include <SDL/SDL.h>

namespace {
// A finished decode wakes a main loop that waits for events.
void WakeMainLoop() {
    if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
    SDL_Event event = {};
    event.type = SDL_USEREVENT;
    SDL_PushEvent(&event);
}

int AppVolume() {
    EditorApp* app = App();
    if (!app) return MIX_MAX_VOLUME;
    return app->volume > (uint32_t)MIX_MAX_VOLUME ? MIX_MAX_VOLUME : (int)app->volume;
}
} // namespace

MusicPlayer::MusicPlayer() : playing(false), position(0) {}

MusicPlayer::~MusicPlayer() {
    Unload();
}

void MusicPlayer::Unload() {
    output.Detach();
    load.reset();
    wantSound = false;
    reported = false;
}

void MusicPlayer::Load(const char* path) {
    Unload();
    if (!path || !path[0]) return;
    load.reset(new MusicLoad(path, WakeMainLoop));
}

const char* MusicPlayer::Update() {
    if (!load) return nullptr;
    if (load->Failed()) {
        if (reported) return nullptr;
        reported = true;
        message = "Music: cannot read " + load->Path() + ": " + load->Error();
        return message.c_str();
    }
    if (load->IsDecoded() && !output.Attached() && output.Attach(load->Clip())) {
        output.SetVolume(AppVolume());
        if (wantSound) Play(true, position);
    }
    return nullptr;
}

void MusicPlayer::Play(bool start, uint32_t positionMs) {
    wantSound = start;
    if (!start) {
        output.Stop();
        return;
    }
    if (!output.Attached()) Update();
    if (!output.Attached()) return; // silent until (or unless) the decode is done
    output.Start(positionMs);
    clock.Restart(positionMs);
    Mix_VolumeMusic(AppVolume());
    output.SetVolume(AppVolume());
}

void MusicPlayer::ApplyVolume() {
    if (!output.Attached()) return;
    Mix_VolumeMusic(AppVolume());
    output.SetVolume(AppVolume());
}

bool MusicPlayer::AudioPosition(uint32_t& ms) {
    if (!output.Running()) return false;
    double t = clock.Position(output.Progress(), SteadyMicroseconds());
    ms = t >= 4294967295.0 ? 4294967295u : (uint32_t)t;
    return true;
}

std::shared_ptr<const PeakTable> MusicPlayer::Peaks() const {
    return load ? load->Peaks() : nullptr;
}

std::unique_ptr<TempoDetection> MusicPlayer::StartTempoDetection() const {
    ClipPtr clip = load ? load->Clip() : nullptr;
    if (!clip) return nullptr;
    return std::unique_ptr<TempoDetection>(new TempoDetection(clip, WakeMainLoop));
}
