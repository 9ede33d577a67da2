// SDL_Config: the video configuration of the editor. Defaults, "VorlenEdit.ini"
// (key = value lines, see sdl_config.cpp) and opening the window.
#pragma once

#include <cstdint>

struct SDL_Surface;

struct SDL_Config {
    uint32_t subsystems; // SDL_Init flags
    int width;           // window width, pixels
    int height;          // window height, pixels
    int bitsPerPixel;    // 0: the desktop's depth
    uint32_t videoFlags; // SDL_SetVideoMode flags
    char caption[128];   // window title
};

// Fills the defaults: timer, audio and video; 640 x 480; desktop depth; no flags.
void SDL_Config_DefaultConfig(SDL_Config* config);
// Reads `path` over the values in `config`. A missing file changes nothing and
// returns 0; a malformed one returns -1 after one line on standard error naming
// the file and the line.
int SDL_Config_LoadConfig(const char* path, SDL_Config* config);
// Starts the listed SDL subsystems and opens the window: the window surface, or
// null (with SDL's reason on standard error). Audio is optional: when no audio
// device can be started the rest goes on without it.
SDL_Surface* SDL_Config_Init(SDL_Config* config);
