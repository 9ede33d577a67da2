// SDL_Config: defaults, the "VorlenEdit.ini" reader and window opening.
//
// "VorlenEdit.ini" holds one setting per line as `key = value`. Blank lines and
// lines starting with '#' or ';' are ignored; spaces around key and value are
// too. Keys (all optional, each overrides the default):
//   width      = window width in pixels, 1..16384           (default 640)
//   height     = window height in pixels, 1..16384          (default 480)
//   bpp        = colour depth: 0 (desktop), 8, 15, 16, 24, 32 (default 0)
//   fullscreen = 0 or 1                                      (default 0)
//   caption    = window title, up to 127 characters          (default Trellic)
// An unknown key, a bad value, a line without '=' or a line over 255 characters
// makes the whole file fail.
#include "sdl_config.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
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

namespace {
const size_t kMaxLine = 255;             // characters, line break not counted
const int kLineSize = (int)kMaxLine + 4; // carriage return, line feed, NUL, one to detect overflow

char* Trim(char* s) {
    while (*s && isspace((unsigned char)*s))
        s++;
    char* end = s + strlen(s);
    while (end > s && isspace((unsigned char)end[-1]))
        *--end = 0;
    return s;
}

// A whole decimal number in [lo, hi].
bool ParseInt(const char* text, long lo, long hi, long* out) {
    if (!*text) return false;
    char* end = nullptr;
    errno = 0;
    long v = strtol(text, &end, 10);
    if (errno != 0 || *end != 0 || v < lo || v > hi) return false;
    *out = v;
    return true;
}

// Applies one `key = value`; null on success, else what was wrong.
const char* ApplySetting(const char* key, const char* value, SDL_Config* config) {
    long v = 0;
    if (strcmp(key, "width") == 0) {
        if (!ParseInt(value, 1, 16384, &v)) return "width must be a number from 1 to 16384";
        config->width = (int)v;
    } else if (strcmp(key, "height") == 0) {
        if (!ParseInt(value, 1, 16384, &v)) return "height must be a number from 1 to 16384";
        config->height = (int)v;
    } else if (strcmp(key, "bpp") == 0) {
        if (!ParseInt(value, 0, 32, &v) || (v != 0 && v != 8 && v != 15 && v != 16 && v != 24 && v != 32))
            return "bpp must be 0, 8, 15, 16, 24 or 32";
        config->bitsPerPixel = (int)v;
    } else if (strcmp(key, "fullscreen") == 0) {
        if (!ParseInt(value, 0, 1, &v)) return "fullscreen must be 0 or 1";
        if (v)
            config->videoFlags |= SDL_FULLSCREEN;
        else
            config->videoFlags &= ~(uint32_t)SDL_FULLSCREEN;
    } else if (strcmp(key, "caption") == 0) {
        if (strlen(value) >= sizeof config->caption) return "caption is longer than 127 characters";
        snprintf(config->caption, sizeof config->caption, "%s", value);
    } else {
        return "unknown key";
    }
    return nullptr;
}
} // namespace

int SDL_Config_LoadConfig(const char* path, SDL_Config* config) {
    FILE* f = fopen(path, "r");
    if (!f) return 0;
    // Settings go to a copy first so a bad file changes nothing.
    SDL_Config read = *config;
    char line[kLineSize];
    int lineNumber = 0;
    const char* problem = nullptr;
    while (!problem && fgets(line, sizeof line, f)) {
        lineNumber++;
        size_t length = strlen(line);
        bool whole = length > 0 && line[length - 1] == '\n';
        if (whole) line[--length] = 0;
        if (length > 0 && line[length - 1] == '\r') line[--length] = 0;
        if (length > kMaxLine || (!whole && !feof(f))) {
            problem = "line is longer than 255 characters";
            break;
        }
        char* text = Trim(line);
        if (*text == 0 || *text == '#' || *text == ';') continue;
        char* equals = strchr(text, '=');
        if (!equals) {
            problem = "expected key = value";
            break;
        }
        *equals = 0;
        problem = ApplySetting(Trim(text), Trim(equals + 1), &read);
    }
    fclose(f);
    if (problem) {
        fprintf(stderr, "%s:%d: %s\n", path, lineNumber, problem);
        return -1;
    }
    *config = read;
    return 0;
}

SDL_Surface* SDL_Config_Init(SDL_Config* config) {
    uint32_t wanted = config->subsystems;
    if (SDL_Init(wanted & ~(uint32_t)SDL_INIT_AUDIO) != 0) {
        fprintf(stderr, "SDL_Config: could not start SDL: %s\n", SDL_GetError());
        return nullptr;
    }
    if ((wanted & SDL_INIT_AUDIO) && SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        fprintf(stderr, "SDL_Config: no audio (%s), going on without sound\n", SDL_GetError());
    SDL_WM_SetCaption(config->caption, config->caption);
    if (config->videoFlags & SDL_OPENGL) {
        SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    }
    SDL_Surface* screen =
        SDL_SetVideoMode(config->width, config->height, config->bitsPerPixel, config->videoFlags);
    if (!screen)
        fprintf(stderr, "SDL_Config: could not open a %dx%d window: %s\n", config->width, config->height,
                SDL_GetError());
    return screen;
}
