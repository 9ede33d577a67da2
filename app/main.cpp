// Trellic, the demo editor and player: everything but the entry point lives in
// the TrellicEditor library.
#include <cstdio>

#include <SDL/SDL.h>

#include "app.h"
#include "standalone.h"

int main(int argc, char** argv) {
    KeepMemoryBetweenFrames();
    CommandLine options;
    std::string error;
    if (!ParseCommandLine(argc, argv, options, error)) {
        fprintf(stderr, "Trellic: %s\n%s(Trellic --help says more)\n", error.c_str(), UsageFor(options.mode));
        return kExitUsage;
    }
    switch (options.mode) {
    case RunMode::Help:
        fputs(HelpText(), stdout);
        return kExitOk;
    case RunMode::Version:
        printf("Trellic %s\n", TRELLIC_VERSION);
        return kExitOk;
    case RunMode::Play:
        return RunPlayer(options);
    case RunMode::Render:
        return RunRender(options);
    case RunMode::Editor:
        break;
    }
    return RunEditor(options.editorFileGiven ? options.demoFile.c_str() : nullptr);
}
