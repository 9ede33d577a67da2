// Trellic, the demo editor and player: everything but the entry point lives in
// the TrellicEditor library.
#include <cstdio>

#include <SDL/SDL.h>

#include "app.h"
#include "standalone.h"

int main(int argc, char** argv) {
    CommandLine options;
    std::string error;
    if (!ParseCommandLine(argc, argv, options, error)) {
        fprintf(stderr, "Trellic: %s\n%s", error.c_str(), UsageText());
        return kExitUsage;
    }
    switch (options.mode) {
    case RunMode::Play:
        return RunPlayer(options);
    case RunMode::Render:
        return RunRender(options);
    case RunMode::Editor:
        break;
    }
    return RunEditor();
}
