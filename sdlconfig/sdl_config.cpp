#include "sdl_config.h"

#include <cstring>

#include <SDL/SDL.h>

void SDL_Config_DefaultConfig(SDL_Config* config) {
    memset(config, 0, sizeof *config);
    config->subsystems = SDL_INIT_TIMER | SDL_INIT_AUDIO | SDL_INIT_VIDEO;
    config->width = 640;
    config->height = 480;
    config->bitsPerPixel = 0;
    config->videoFlags = 0;
    strncpy(config->caption, "Trellic", sizeof config->caption - 1);
}
