// Trellic's command line: no options (or a demo file) run the editor; --play
// and --render run the standalone player and the headless renderer; --help and
// --version answer and exit. Times may name the demo's markers, which are
// looked up once the demo is loaded.
#include "standalone.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "demo.h"

namespace {

bool ParseUnsigned(const char* text, uint32_t& out) {
    if (!text || !*text) return false;
    for (const char* c = text; *c; c++)
        if (*c < '0' || *c > '9') return false;
    char* end = nullptr;
    errno = 0;
    unsigned long long v = strtoull(text, &end, 10);
    if (errno || *end || v > 0xFFFFFFFFull) return false;
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

const char* kEditorUsage = "usage: Trellic [FILE]\n";
const char* kPlayUsage = "usage: Trellic --play [FILE] [--size WxH] [--fullscreen] [--from MS|MARKER] [--loop]\n";
const char* kRenderUsage = "usage: Trellic --render FILE (--out DIR | --video FILE.mp4) [--fps N]\n"
                           "                [--from MS|MARKER] [--to MS|MARKER] [--loop-range] [--size WxH]\n"
                           "                [--png-level 0-9]\n";

const char* kHelp =
    "Trellic makes and plays real-time OpenGL demos.\n"
    "\n"
    "  Trellic [FILE]        the editor, in the current directory (the demo's folder);\n"
    "                        FILE is loaded at once\n"
    "  Trellic --play [FILE] plays the demo (default Fenk.xml) over the whole window\n"
    "      --size WxH        window size instead of the configured one\n"
    "      --fullscreen      full screen\n"
    "      --from MS|MARKER  start at MS milliseconds or at the demo's marker of that name\n"
    "      --loop            start again at the end (Escape or F10 quits)\n"
    "  Trellic --render FILE draws frames at fixed times, without a display if need be\n"
    "      --out DIR         numbered PNG files: frame_000300.png is the frame at 10 s at 30 fps\n"
    "      --video FILE.mp4  a video with the demo's music, through ffmpeg\n"
    "      --fps N           frames per second (default 30)\n"
    "      --from, --to      the range, in milliseconds or marker names (default: the whole demo)\n"
    "      --loop-range      the demo's stored loop range\n"
    "      --size WxH        frame size instead of the configured one\n"
    "      --png-level N     zlib level of the PNG files, 0 (none) to 9 (smallest); default 1\n"
    "  Trellic --help        this text\n"
    "  Trellic --version     the version\n"
    "\n"
    "Exit codes: 0 done; 1 the configuration, the window or OpenGL failed; 2 a bad command line;\n"
    "3 the demo did not load; 4 an effect failed; 5 a frame or the video could not be written.\n";

} // namespace

const char* UsageText() {
    return "usage: Trellic [FILE]                 run the editor in the current directory, FILE loaded\n"
           "       Trellic --play [FILE] [--size WxH] [--fullscreen] [--from MS|MARKER] [--loop]\n"
           "       Trellic --render FILE (--out DIR | --video FILE.mp4) [--fps N] [--from MS|MARKER]\n"
           "               [--to MS|MARKER] [--loop-range] [--size WxH] [--png-level 0-9]\n"
           "       Trellic --help | --version\n";
}

const char* UsageFor(RunMode mode) {
    switch (mode) {
    case RunMode::Play:
        return kPlayUsage;
    case RunMode::Render:
        return kRenderUsage;
    case RunMode::Editor:
        return kEditorUsage;
    default:
        return UsageText();
    }
}

const char* HelpText() {
    return kHelp;
}

bool ParseCommandLine(int argc, char** argv, CommandLine& out, std::string& error) {
    out = CommandLine();
    bool renderFileGiven = false;
    bool optionSeen = false;
    std::string renderOnly, playOnly; // the first option of the other mode, if any
    // The mode decides which usage line a mistake shows, whatever comes first.
    for (int i = 1; i < argc; i++) {
        if (strcmp(argv[i], "--play") == 0) out.mode = RunMode::Play;
        if (strcmp(argv[i], "--render") == 0) out.mode = RunMode::Render;
    }
    for (int i = 1; i < argc; i++) {
        std::string arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        auto needValue = [&](const char* what) {
            if (!value) error = arg + " needs " + what;
            return value != nullptr;
        };
        if (arg == "--help" || arg == "-h") {
            out.mode = RunMode::Help;
            return true;
        }
        if (arg == "--version") {
            out.mode = RunMode::Version;
            return true;
        }
        if (arg.compare(0, 1, "-") != 0 || arg == "-") {
            // A bare word is the editor's demo file.
            if (out.mode != RunMode::Editor || out.editorFileGiven) {
                error = "unexpected argument " + arg;
                return false;
            }
            out.demoFile = arg;
            out.editorFileGiven = true;
            continue;
        }
        optionSeen = true;
        if (renderOnly.empty() && (arg == "--out" || arg == "--video" || arg == "--fps" || arg == "--to" ||
                                   arg == "--loop-range" || arg == "--png-level"))
            renderOnly = arg;
        if (playOnly.empty() && (arg == "--fullscreen" || arg == "--loop")) playOnly = arg;
        if (arg == "--play") {
            if (value && value[0] != '-') out.demoFile = argv[++i];
        } else if (arg == "--render") {
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
        } else if (arg == "--png-level") {
            uint32_t level = 0;
            if (!needValue("a number")) return false;
            if (!ParseUnsigned(argv[++i], level) || level > 9) {
                error = "--png-level takes a zlib level from 0 (none) to 9 (smallest)";
                return false;
            }
            out.pngLevel = (int)level;
        } else if (arg == "--from" || arg == "--to") {
            if (!needValue("milliseconds or a marker's name")) return false;
            const char* text = argv[++i];
            uint32_t ms = 0;
            // Anything but a plain number names a marker; it is looked up in the demo.
            bool isNumber = ParseUnsigned(text, ms);
            if (!isNumber && (!*text || text[0] == '-')) {
                error = arg + " takes milliseconds (a whole number) or a marker's name";
                return false;
            }
            if (arg == "--from") {
                out.fromMs = ms;
                out.fromMarker = isNumber ? "" : text;
            } else {
                out.hasTo = true;
                out.toMs = ms;
                out.toMarker = isNumber ? "" : text;
            }
        } else if (arg == "--loop-range") {
            out.loopRange = true;
        } else if (arg == "--fullscreen") {
            out.fullscreen = true;
        } else if (arg == "--loop") {
            out.loop = true;
        } else {
            error = "unknown option " + arg;
            return false;
        }
    }
    if (out.mode == RunMode::Editor && optionSeen) {
        error = "options need --play or --render";
        return false;
    }
    if (out.mode == RunMode::Play && !renderOnly.empty()) {
        error = renderOnly + " is for --render";
        return false;
    }
    if (out.mode == RunMode::Render && !playOnly.empty()) {
        error = playOnly + " is for --play";
        return false;
    }
    if (out.mode == RunMode::Render) {
        if (!renderFileGiven) out.demoFile = "Fenk.xml";
        if (out.outDir.empty() && out.videoFile.empty()) {
            error = "--render needs --out DIR or --video FILE.mp4";
            return false;
        }
        if (out.loopRange && (out.fromMs || !out.fromMarker.empty() || out.hasTo)) {
            error = "--loop-range takes the place of --from and --to";
            return false;
        }
        if (out.hasTo && out.fromMarker.empty() && out.toMarker.empty() && out.toMs < out.fromMs) {
            error = "--to comes before --from";
            return false;
        }
    }
    return true;
}

namespace {
bool FindMarker(const DemoStruct& demo, const std::string& name, uint32_t& time) {
    for (uint32_t m = 0; m < demo.markerCount; m++) {
        if (demo.markers[m].name && name == demo.markers[m].name) {
            time = demo.markers[m].time;
            return true;
        }
    }
    return false;
}

std::string MarkerList(const DemoStruct& demo) {
    if (demo.markerCount == 0) return "it has no markers";
    std::string list = "its markers:";
    for (uint32_t m = 0; m < demo.markerCount; m++) {
        if (list.size() > 200) return list + " ...";
        list += std::string(m ? ", \"" : " \"") + (demo.markers[m].name ? demo.markers[m].name : "") + "\"";
    }
    return list;
}
} // namespace

bool ResolveRange(const DemoStruct& demo, CommandLine& options, std::string& error) {
    if (options.loopRange) {
        if (!demo.hasLoopRange || demo.loopOut <= demo.loopIn) {
            error = "the demo has no loop range (set its in and out in the editor with I and O)";
            return false;
        }
        // The out point is where playback wraps to the in point: the range stops short of it.
        options.fromMs = demo.loopIn;
        options.hasTo = true;
        options.toMs = demo.loopOut - 1;
        return true;
    }
    const std::string* names[] = {&options.fromMarker, &options.toMarker};
    uint32_t* times[] = {&options.fromMs, &options.toMs};
    for (int k = 0; k < 2; k++) {
        if (names[k]->empty()) continue;
        if (!FindMarker(demo, *names[k], *times[k])) {
            error = std::string(k == 0 ? "--from" : "--to") + ": the demo has no marker \"" + *names[k] + "\" (" +
                    MarkerList(demo) + ")";
            return false;
        }
    }
    if (options.hasTo && options.toMs < options.fromMs) {
        error = "--to comes before --from (" + std::to_string(options.toMs) + " ms before " +
                std::to_string(options.fromMs) + " ms)";
        return false;
    }
    return true;
}
