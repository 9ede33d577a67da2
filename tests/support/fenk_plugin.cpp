#include "fenk_plugin.h"

#include <cstdint>
#include <vector>

#include <SDL/SDL.h>
#include <SDL/SDL_loadso.h>
#include <gtest/gtest.h>

#include "engine.h"

std::string FenkPlugin::Path() {
    return TRELLIC_BIN_DIR "/libFenk.so";
}

FenkPlugin::FenkPlugin() : handle(SDL_LoadObject(Path().c_str())) {
    if (!handle) ADD_FAILURE() << "could not load " << Path() << ": " << SDL_GetError();
}

FenkPlugin::~FenkPlugin() {
    if (handle) SDL_UnloadObject(handle);
}

void* FenkPlugin::Find(const char* name) const {
    return handle ? SDL_LoadFunction(handle, name) : nullptr;
}

int FenkPlugin::Init() const {
    auto init = Get<VorlenInitProc>("Vorlen_Init");
    if (!init) {
        ADD_FAILURE() << "no Vorlen_Init";
        return 0;
    }
    SDL_Surface* none[1] = {nullptr};
    return init(none, none);
}

int FenkPlugin::Quit() const {
    auto quit = Get<VorlenQuitProc>("Vorlen_Quit");
    return quit ? quit() : 0;
}

int FenkPlugin::Call(const char* name, std::initializer_list<int> args) const {
    EffectProc effect = Get<EffectProc>(name);
    if (!effect) return -1;
    std::vector<int32_t> values(args.begin(), args.end());
    return CallEffect(effect, (uint32_t)values.size(), values.data());
}
