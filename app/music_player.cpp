// MusicPlayer: the demo's music through SDL_mixer, played once from a position
// (Ogg Vorbis can seek; other formats start from their beginning).
#include "app.h"

MusicPlayer::MusicPlayer() : playing(false), position(0), musicHandle(nullptr) {}

MusicPlayer::~MusicPlayer() {
    Unload();
}

void MusicPlayer::Unload() {
    if (!musicHandle) return;
    Mix_HaltMusic();
    Mix_FreeMusic(musicHandle);
    musicHandle = nullptr;
}

void MusicPlayer::Load(const char* path) {
    Unload();
    int frequency = 0, channels = 0;
    Uint16 format = 0;
    // Without an open audio device the editor runs silent.
    if (!path || !Mix_QuerySpec(&frequency, &format, &channels)) return;
    musicHandle = Mix_LoadMUS(path);
}

static int AppVolume() {
    EditorApp* app = App();
    if (!app) return MIX_MAX_VOLUME;
    return app->volume > (uint32_t)MIX_MAX_VOLUME ? MIX_MAX_VOLUME : (int)app->volume;
}

void MusicPlayer::Play(bool start, uint32_t positionMs) {
    if (!start) {
        Mix_HaltMusic();
        return;
    }
    if (!musicHandle) return;
    if (Mix_PlayMusic(musicHandle, 0) != 0) return;
    if (Mix_GetMusicType(nullptr) == MUS_OGG) Mix_SetMusicPosition(positionMs * 0.001);
    Mix_VolumeMusic(AppVolume());
}

void MusicPlayer::ApplyVolume() {
    if (musicHandle) Mix_VolumeMusic(AppVolume());
}
