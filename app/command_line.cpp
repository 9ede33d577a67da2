// Trellic's command line: no options run the editor; --play and --render run
// the standalone player and the headless renderer.
#include "standalone.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

bool ParseUnsigned(const char* text, uint32_t& out) {
    if (!text || !*text) return false;
    char* end = nullptr;
    errno = 0;
    unsigned long long v = strtoull(text, &end, 10);
    if (errno || *end || text[0] == '-' || v > 0xFFFFFFFFull) return false;
    out = (uint32_t)v;
    return true;
}

bool ParseSize(const char* text, int& w, int& h) {
    uint32_t a = 0, b = 0;
    const char* x = text ? strchr(text, 'x') : nullptr;
    if (!x) return false;
    std::string first(text, x - text);
    if (!ParseUnsigned(first.c_str(), a) || !ParseUnsigned(x + 1, b)) return false;
    if (a < 1 || b < 1 || a > 16384 || b > 16384) return false;
    w = (int)a;
    h = (int)b;
    return true;
}

} // namespace

const char* UsageText() {
    return "usage: Trellic                        run the editor in the current directory\n"
           "       Trellic --play [FILE] [--size WxH] [--fullscreen] [--from MS] [--loop]\n"
           "       Trellic --render FILE (--out DIR | --video FILE.mp4) [--fps N] [--from MS] [--to MS]\n"
           "               [--size WxH]\n";
}

bool ParseCommandLine(int argc, char** argv, CommandLine& out, std::string& error) {
    out = CommandLine();
    bool renderFileGiven = false;
    for (int i = 1; i < argc; i++) {
        std::string arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        auto needValue = [&](const char* what) {
            if (!value) error = arg + " needs " + what;
            return value != nullptr;
        };
        if (arg == "--play") {
            out.mode = RunMode::Play;
            if (value && value[0] != '-') out.demoFile = argv[++i];
        } else if (arg == "--render") {
            out.mode = RunMode::Render;
            if (!needValue("a demo file")) return false;
            out.demoFile = argv[++i];
            renderFileGiven = true;
        } else if (arg == "--out") {
            if (!needValue("a folder")) return false;
            out.outDir = argv[++i];
        } else if (arg == "--video") {
            if (!needValue("a file name")) return false;
            out.videoFile = argv[++i];
        } else if (arg == "--size") {
            if (!needValue("WxH")) return false;
            if (!ParseSize(argv[++i], out.width, out.height)) {
                error = "--size takes WIDTHxHEIGHT, each 1 to 16384, e.g. 640x480";
                return false;
            }
        } else if (arg == "--fps") {
            uint32_t fps = 0;
            if (!needValue("a number")) return false;
            if (!ParseUnsigned(argv[++i], fps) || fps < 1 || fps > 1000) {
                error = "--fps takes a whole number from 1 to 1000";
                return false;
            }
            out.fps = (int)fps;
        } else if (arg == "--from" || arg == "--to") {
            uint32_t ms = 0;
            if (!needValue("milliseconds")) return false;
            if (!ParseUnsigned(argv[++i], ms)) {
                error = arg + " takes milliseconds (a whole number)";
                return false;
            }
            if (arg == "--from") {
                out.fromMs = ms;
            } else {
                out.hasTo = true;
                out.toMs = ms;
            }
        } else if (arg == "--fullscreen") {
            out.fullscreen = true;
        } else if (arg == "--loop") {
            out.loop = true;
        } else {
            error = "unknown option " + arg;
            return false;
        }
    }
    if (out.mode == RunMode::Editor && argc > 1) {
        error = "options need --play or --render";
        return false;
    }
    if (out.mode == RunMode::Render) {
        if (!renderFileGiven) out.demoFile = "Fenk.xml";
        if (out.outDir.empty() && out.videoFile.empty()) {
            error = "--render needs --out DIR or --video FILE.mp4";
            return false;
        }
        if (out.hasTo && out.toMs < out.fromMs) {
            error = "--to comes before --from";
            return false;
        }
    }
    return true;
}
