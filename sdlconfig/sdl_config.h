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
